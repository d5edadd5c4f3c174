// Drives the installer's windows for the end-to-end tests; several commands per run, because
// each start of a program under Wine costs a good part of a second.
//
//   driver.exe <command> [; <command>]...
//
//   wait <form> <ms>            until a visible window of class <form> exists
//   gone <form> <ms>            until no visible window of class <form> exists
//   shown <form>                1 when a visible <form> exists now, else 0
//   caption <form>              the window's title
//   rect <form>                 its screen rectangle: left top right bottom
//   screen                      the screen's width and height
//   text <form> <control>       WM_GETTEXT of the control (a label's or button's caption)
//   checked <form> <control>    BM_GETCHECK: 0, 1 or 2
//   enabled <form> <control>    1 or 0
//   waitenabled <form> <control> <ms>  until the control is enabled
//   visible <form> <control>    1 or 0
//   click <form> <control>      posts the click, so a modal dialog it opens cannot block us
//   key <form> enter|escape     posts the key to the focused control of <form>
//   press <form> <key>          presses a key as the keyboard would: tab, shift+tab, ctrl+tab,
//                               space, down, up, right, left, home, enter, escape, apps,
//                               shift+f10
//   focus <form>                the name of the control with the keyboard focus (waits up to
//                               5 s for a focus to appear), - for none
//   rowchecked <form> <list> <row>  1 when the list view's row (from 0) is checked, else 0
//   rowtext <form> <list> <row>  the text of the list view's row (from 0)
//   boxtext                     the text of the visible standard message box (class #32770)
//   launch <program> <form> <ms>  starts <program>; milliseconds until its visible <form>
//   launchwith <program> <argument> <form> <ms>  the same with one command-line argument
//   kill                        ends the program started by launch
//   position <form> <control>   a progress bar's position
//   exists, absent, attributes, terminate, memory, traynotify, roundtrips: see driver_system.h
//   drivetype, definedrive, access: see driver_drives.h
//   drawn, fits, bounds: see driver_texts.h
//   maximize, dpi, awareness: see driver_pages.h
//   accessible: see driver_accessibility.h; layout: see driver_layout.h
//
// <control> is a control name, or #<id> for an item of a standard dialog (#1 is OK).
// Each result is one UTF-8 line "<command> = <value>", with backslash, CR, LF and TAB written
// as \\ \r \n \t. The first command that fails prints "error: <command>: <why>" and the driver
// exits with 1; 0 means every command succeeded.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "driver_accessibility.h"
#include "driver_drives.h"
#include "driver_layout.h"
#include "driver_pages.h"
#include "driver_system.h"
#include "driver_texts.h"
#include "driver_windows.h"
#include "win32/base/wide_text.h"

namespace driver {
namespace {

// The program started by launch, for kill.
struct Session {
  HANDLE launched = nullptr;
};

DWORD Milliseconds(const std::wstring& text) {
  return static_cast<DWORD>(Number(text));
}

std::wstring Flag(bool value) {
  return value ? L"1" : L"0";
}

HWND UsableControl(const Args& args) {
  HWND control = RequireControl(RequireForm(args[0]), args[1]);
  if (!IsWindowVisible(control)) throw Failure{args[1] + L" is not visible"};
  // A control of a disabled window (a modal dialog is open) takes no input either.
  if (!IsWindowEnabled(control) || !IsWindowEnabled(GetAncestor(control, GA_ROOT)))
    throw Failure{args[1] + L" is disabled"};
  return control;
}

std::wstring Wait(Session&, const Args& args) {
  WaitForForm(args[0], true, Milliseconds(args[1]));
  return L"ok";
}

std::wstring Gone(Session&, const Args& args) {
  WaitForForm(args[0], false, Milliseconds(args[1]));
  return L"ok";
}

std::wstring Shown(Session&, const Args& args) {
  return Flag(FindForm(args[0], true) != nullptr);
}

std::wstring Caption(Session&, const Args& args) {
  return WindowText(RequireForm(args[0]));
}

std::wstring Rect(Session&, const Args& args) {
  RECT r{};
  GetWindowRect(RequireForm(args[0]), &r);
  return std::to_wstring(r.left) + L' ' + std::to_wstring(r.top) + L' ' + std::to_wstring(r.right) +
         L' ' + std::to_wstring(r.bottom);
}

std::wstring Screen(Session&, const Args&) {
  return std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L' ' +
         std::to_wstring(GetSystemMetrics(SM_CYSCREEN));
}

std::wstring Text(Session&, const Args& args) {
  return WindowText(RequireControl(RequireForm(args[0]), args[1]));
}

std::wstring Checked(Session&, const Args& args) {
  return std::to_wstring(Ask(RequireControl(RequireForm(args[0]), args[1]), BM_GETCHECK));
}

std::wstring Position(Session&, const Args& args) {
  return std::to_wstring(Ask(RequireControl(RequireForm(args[0]), args[1]), PBM_GETPOS));
}

std::wstring Enabled(Session&, const Args& args) {
  return Flag(IsWindowEnabled(RequireControl(RequireForm(args[0]), args[1])));
}

// A click is posted: what it enables comes a moment later.
std::wstring WaitEnabled(Session&, const Args& args) {
  HWND control = RequireControl(RequireForm(args[0]), args[1]);
  const DWORD timeout = Milliseconds(args[2]);
  for (DWORD waited = 0; !IsWindowEnabled(control); waited += 20) {
    if (waited >= timeout) throw Failure{args[1] + L" is still disabled"};
    Sleep(20);
  }
  return L"ok";
}

std::wstring Visible(Session&, const Args& args) {
  return Flag(IsWindowVisible(RequireControl(RequireForm(args[0]), args[1])));
}

std::wstring Click(Session&, const Args& args) {
  HWND control = UsableControl(args);
  if (ClassOf(control) == L"Button") {
    PostMessageW(control, BM_CLICK, 0, 0);
  } else {
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(control, WM_LBUTTONUP, 0, centre);
  }
  return L"ok";
}

// The window with the keyboard focus in the thread of `form`, if it is one of the form's.
HWND FocusIn(HWND form) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info)) return nullptr;
  return info.hwndFocus && IsChild(form, info.hwndFocus) ? info.hwndFocus : nullptr;
}

std::wstring Key(Session&, const Args& args) {
  const WPARAM key = args[1] == L"enter" ? VK_RETURN : args[1] == L"escape" ? VK_ESCAPE : 0;
  if (!key) throw Failure{L"unknown key " + args[1]};
  HWND form = RequireForm(args[0]);
  HWND focus = FocusIn(form);
  HWND target = focus ? focus : form;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
  return L"ok";
}

// The named control with the focus (an unnamed inner window answers for its named parent). A
// form that has just appeared gets its focus a moment later: waited for, up to 5 seconds.
std::wstring Focus(Session&, const Args& args) {
  HWND form = RequireForm(args[0]);
  HWND focus = FocusIn(form);
  for (int waited = 0; !focus && waited < 5000; waited += 20) {
    Sleep(20);
    focus = FocusIn(form);
  }
  for (HWND window = focus; window && window != form; window = GetParent(window)) {
    const std::wstring name = ControlNameOf(window);
    if (!name.empty()) return name;
  }
  return L"-";
}

struct PressedKey {
  const wchar_t* name;
  WORD key;
  WORD modifier;  // held down around the key; 0 for none
};

const PressedKey kKeys[] = {
    {L"tab", VK_TAB, 0},
    {L"shift+tab", VK_TAB, VK_SHIFT},
    {L"ctrl+tab", VK_TAB, VK_CONTROL},
    {L"space", VK_SPACE, 0},
    {L"down", VK_DOWN, 0},
    {L"up", VK_UP, 0},
    {L"right", VK_RIGHT, 0},
    {L"left", VK_LEFT, 0},
    {L"home", VK_HOME, 0},
    {L"enter", VK_RETURN, 0},
    {L"escape", VK_ESCAPE, 0},
    {L"apps", VK_APPS, 0},
    {L"shift+f10", VK_F10, VK_SHIFT},
};

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

// A real key press, as the keyboard makes it, into the foreground thread: the program's own
// message loop and the keyboard state see it as they would see the user's. Returns once the
// program has had time to take it.
std::wstring Press(Session&, const Args& args) {
  const PressedKey* pressed = nullptr;
  for (const PressedKey& key : kKeys) {
    if (args[1] == key.name) pressed = &key;
  }
  if (!pressed) throw Failure{L"unknown key " + args[1]};
  HWND form = RequireForm(args[0]);
  const DWORD thread = GetWindowThreadProcessId(form, nullptr);
  if (GetWindowThreadProcessId(GetForegroundWindow(), nullptr) != thread) {
    SetForegroundWindow(form);
  }
  std::vector<INPUT> inputs;
  if (pressed->modifier) inputs.push_back(KeyInput(pressed->modifier, false));
  inputs.push_back(KeyInput(pressed->key, false));
  inputs.push_back(KeyInput(pressed->key, true));
  if (pressed->modifier) inputs.push_back(KeyInput(pressed->modifier, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(150);
  Ask(form, WM_NULL);
  return L"ok";
}

// 1 when the row of a list view has its check mark, else 0.
std::wstring RowChecked(Session&, const Args& args) {
  HWND list = RequireControl(RequireForm(args[0]), args[1]);
  const LRESULT state =
      Ask(list, LVM_GETITEMSTATE, static_cast<WPARAM>(Number(args[2])), LVIS_STATEIMAGEMASK);
  return Flag((state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
}

// The text of a list view's row (from 0): the item and the buffer are made in the list's process.
std::wstring RowText(Session&, const Args& args) {
  HWND list = RequireControl(RequireForm(args[0]), args[1]);
  constexpr int kChars = 512;
  RemoteMemory remote(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  LVITEMW item{};
  item.iSubItem = 0;
  item.cchTextMax = kChars;
  item.pszText = reinterpret_cast<wchar_t*>(remote.Address(sizeof(LVITEMW)));
  remote.Write(&item, sizeof item);
  Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(Number(args[2])), remote.Address());
  std::wstring text(kChars, L'\0');
  remote.Read(text.data(), kChars * sizeof(wchar_t), sizeof(LVITEMW));
  return text.substr(0, text.find(L'\0'));
}

BOOL CALLBACK FindMessageText(HWND child, LPARAM param) {
  const bool icon = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
  if (ClassOf(child) != L"Static" || icon) return TRUE;
  *reinterpret_cast<HWND*>(param) = child;
  return FALSE;
}

// The standard message box numbers its text differently on Windows and Wine: take its one
// static control that is not the icon.
std::wstring BoxText(Session&, const Args&) {
  HWND box = FindForm(L"#32770", true);
  if (!box) throw Failure{L"no visible message box"};
  HWND text = nullptr;
  EnumChildWindows(box, FindMessageText, reinterpret_cast<LPARAM>(&text));
  if (!text) throw Failure{L"the message box has no text"};
  return WindowText(text);
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

double ElapsedMs(const LARGE_INTEGER& start) {
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

void EndLaunched(Session& session) {
  if (!session.launched) return;
  TerminateProcess(session.launched, 0);
  WaitForSingleObject(session.launched, 10000);
  CloseHandle(session.launched);
  session.launched = nullptr;
}

// Starts `program` in its own folder; the session owns the process from then on.
DWORD StartProgram(Session& session, const std::wstring& program, const std::wstring& argument) {
  std::wstring command_line = L"\"" + program + L"\"" + (argument.empty() ? L"" : L" " + argument);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      FolderOf(program).c_str(), &startup, &process)) {
    throw Failure{L"cannot start " + program + L": error " + std::to_wstring(GetLastError())};
  }
  CloseHandle(process.hThread);
  session.launched = process.hProcess;
  return process.dwProcessId;
}

// Polled every millisecond or so: the figure is the start-up time of the program.
std::wstring LaunchUntilShown(Session& session, const std::wstring& program,
                              const std::wstring& argument, const std::wstring& form,
                              const std::wstring& timeout_text) {
  EndLaunched(session);
  const DWORD timeout = Milliseconds(timeout_text);
  LARGE_INTEGER start{};
  QueryPerformanceCounter(&start);
  const DWORD process = StartProgram(session, program, argument);
  while (!FindForm(form, true, process)) {
    if (WaitForSingleObject(session.launched, 1) == WAIT_OBJECT_0)
      throw Failure{program + L" ended before showing " + form};
    if (ElapsedMs(start) > timeout) {
      EndLaunched(session);
      throw Failure{L"no visible " + form + L" after " + timeout_text + L" ms"};
    }
  }
  wchar_t figure[32];
  std::swprintf(figure, 32, L"%.1f", ElapsedMs(start));
  return figure;
}

std::wstring Launch(Session& session, const Args& args) {
  return LaunchUntilShown(session, args[0], L"", args[1], args[2]);
}

std::wstring LaunchWith(Session& session, const Args& args) {
  return LaunchUntilShown(session, args[0], args[1], args[2], args[3]);
}

std::wstring Kill(Session& session, const Args&) {
  if (!session.launched) throw Failure{L"no program was launched"};
  EndLaunched(session);
  return L"ok";
}

struct Command {
  const wchar_t* name;
  size_t arguments;
  std::wstring (*run)(Session&, const Args&);
};

// A command of driver_system.h, which needs no session.
template <std::wstring (*Action)(const Args&)>
std::wstring WithoutSession(Session&, const Args& args) {
  return Action(args);
}

const Command kCommands[] = {
    {L"wait", 2, Wait},
    {L"gone", 2, Gone},
    {L"shown", 1, Shown},
    {L"caption", 1, Caption},
    {L"rect", 1, Rect},
    {L"screen", 0, Screen},
    {L"text", 2, Text},
    {L"checked", 2, Checked},
    {L"position", 2, Position},
    {L"enabled", 2, Enabled},
    {L"waitenabled", 3, WaitEnabled},
    {L"visible", 2, Visible},
    {L"click", 2, Click},
    {L"key", 2, Key},
    {L"press", 2, Press},
    {L"focus", 1, Focus},
    {L"rowchecked", 3, RowChecked},
    {L"rowtext", 3, RowText},
    {L"boxtext", 0, BoxText},
    {L"launch", 3, Launch},
    {L"launchwith", 4, LaunchWith},
    {L"kill", 0, Kill},
    {L"exists", 1, WithoutSession<Exists>},
    {L"absent", 2, WithoutSession<Absent>},
    {L"attributes", 1, WithoutSession<Attributes>},
    {L"terminate", 1, WithoutSession<Terminate>},
    {L"memory", 1, WithoutSession<Memory>},
    {L"traynotify", 1, WithoutSession<TrayNotify>},
    {L"roundtrips", 3, WithoutSession<RoundTrips>},
    {L"drivetype", 1, WithoutSession<DriveType>},
    {L"definedrive", 3, WithoutSession<DefineDrive>},
    {L"access", 1, WithoutSession<Access>},
    {L"unseen", 2, WithoutSession<Unseen>},
    {L"drawn", 2, WithoutSession<Drawn>},
    {L"fits", 2, WithoutSession<Fits>},
    {L"bounds", 2, WithoutSession<Bounds>},
    {L"maximize", 1, WithoutSession<Maximize>},
    {L"dpi", 3, WithoutSession<ChangeDpi>},
    {L"awareness", 1, WithoutSession<Awareness>},
    {L"accessible", 1, WithoutSession<Accessible>},
    {L"layout", 2, WithoutSession<Layout>},
};

std::wstring Run(Session& session, const Args& words) {
  for (const Command& command : kCommands) {
    if (words[0] != command.name) continue;
    if (words.size() - 1 != command.arguments) {
      throw Failure{L"takes " + std::to_wstring(command.arguments) + L" arguments"};
    }
    return command.run(session, Args(words.begin() + 1, words.end()));
  }
  throw Failure{L"unknown command"};
}

std::vector<Args> SplitCommands(int argc, wchar_t** argv) {
  std::vector<Args> commands(1);
  for (int i = 1; i < argc; ++i) {
    if (std::wstring(argv[i]) == L";") {
      commands.emplace_back();
    } else {
      commands.back().push_back(argv[i]);
    }
  }
  return commands;
}

std::wstring Joined(const Args& words) {
  std::wstring line;
  for (const std::wstring& word : words) line += (line.empty() ? L"" : L" ") + word;
  return line;
}

std::wstring Escaped(const std::wstring& value) {
  std::wstring out;
  for (wchar_t c : value) {
    switch (c) {
      case L'\\':
        out += L"\\\\";
        break;
      case L'\r':
        out += L"\\r";
        break;
      case L'\n':
        out += L"\\n";
        break;
      case L'\t':
        out += L"\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Straight to the handle: the C runtime would translate the UTF-8 bytes and line ends.
void PrintLine(const std::wstring& line) {
  const std::string bytes = win32::Narrow(line + L"\n");
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

}  // namespace
}  // namespace driver

int wmain(int argc, wchar_t** argv) {
  using namespace driver;
  Session session;
  for (const Args& command : SplitCommands(argc, argv)) {
    try {
      if (command.empty()) throw Failure{L"empty command (see the head of driver.cpp)"};
      PrintLine(Joined(command) + L" = " + Escaped(Run(session, command)));
    } catch (const Failure& failure) {
      PrintLine(L"error: " + Joined(command) + L": " + failure.why);
      return 1;
    }
  }
  return 0;
}
