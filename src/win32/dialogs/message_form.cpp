#include "win32/dialogs/message_form.h"

#include "win32/base/window_class.h"

#include "win32/base/control_name.h"
#include "win32/base/thread_windows.h"
#include "win32/dialogs/message_layout.h"

namespace win32 {

namespace {

constexpr wchar_t kClassName[] = L"TMessageForm";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Tahoma 8 pt at the screen's resolution; where Tahoma is missing, the
// system's message font.
HFONT CreateMessageFont(HDC screen) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
  HFONT tahoma = CreateFontIndirectW(&font);
  const HGDIOBJ previous = SelectObject(screen, tahoma);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(screen, LF_FACESIZE, face);
  SelectObject(screen, previous);
  if (lstrcmpiW(face, L"Tahoma") == 0) return tahoma;
  DeleteObject(tahoma);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

class MessageForm {
 public:
  explicit MessageForm(const MessageContent& content)
      : content_(content),
        icon_(LoadIconW(nullptr, content.icon)),
        default_id_(content.default_id),
        result_(content.cancel_id) {}
  ~MessageForm() {
    if (font_) DeleteObject(font_);
  }
  MessageForm(const MessageForm&) = delete;
  MessageForm& operator=(const MessageForm&) = delete;

  int ShowModal();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  MessageLayout Measure();
  void CreateWindows(const MessageLayout& layout);
  HWND CreateChild(const wchar_t* kind, const wchar_t* text, DWORD style, int id, const RECT& at,
                   const wchar_t* name);
  void RunLoop();
  bool IsAnswer(int id) const;
  void SetDefaultButton(int id);
  void Finish(int id);
  void PaintIcon();

  const MessageContent& content_;
  HICON icon_;
  HFONT font_ = nullptr;
  HWND window_ = nullptr;
  HWND focus_ = nullptr;
  RECT icon_rect_{};
  int default_id_;
  int result_;
  bool done_ = false;
};

void RegisterClassOnce() {
  RegisterWindowClass(GetModuleHandleW(nullptr), {kClassName, MessageForm::WindowProc, 0, nullptr,
                                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
}

int MessageForm::ShowModal() {
  ReleaseCapture();
  CreateWindows(Measure());
  if (!window_) return result_;
  DisabledThreadWindows others(window_);
  ShowWindow(window_, SW_SHOW);
  RunLoop();
  others.Restore();
  DestroyWindow(window_);
  return result_;
}

MessageLayout MessageForm::Measure() {
  HDC screen = GetDC(nullptr);
  font_ = CreateMessageFont(screen);
  const HGDIOBJ previous = SelectObject(screen, font_);
  std::vector<const wchar_t*> captions;
  for (const MessageButton& button : content_.buttons) captions.push_back(button.caption.c_str());
  MessageLayout layout =
      MeasureMessage(screen, content_.text, captions, GetSystemMetrics(SM_CXICON),
                     GetSystemMetrics(SM_CXSCREEN) / 2);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return layout;
}

void MessageForm::CreateWindows(const MessageLayout& layout) {
  RegisterClassOnce();
  RECT frame{0, 0, layout.client.cx, layout.client.cy};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
  const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
  window_ =
      CreateWindowExW(kExStyle, kClassName, content_.caption.c_str(), kStyle, left, top, width,
                      height, GetActiveWindow(), nullptr, GetModuleHandleW(nullptr), this);
  if (!window_) return;
  icon_rect_ = layout.icon;
  // The message names files and packages as written: an '&' in them is no access key.
  CreateChild(L"STATIC", content_.text.c_str(), SS_LEFT | SS_NOPREFIX, -1, layout.text, L"Message");
  for (std::size_t i = 0; i < content_.buttons.size(); ++i) {
    const MessageButton& button = content_.buttons[i];
    const DWORD kind = button.id == default_id_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    HWND control = CreateChild(L"BUTTON", button.caption.c_str(), kind | BS_NOTIFY | WS_TABSTOP,
                               button.id, layout.buttons[i], button.name.c_str());
    if (button.id == default_id_) focus_ = control;
  }
}

HWND MessageForm::CreateChild(const wchar_t* kind, const wchar_t* text, DWORD style, int id,
                              const RECT& at, const wchar_t* name) {
  HWND child = CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                               at.right - at.left, at.bottom - at.top, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SetControlName(child, name);
  return child;
}

void MessageForm::RunLoop() {
  MSG message;
  while (!done_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // The program is ending: the outer loop must see the quit as well.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (!IsDialogMessageW(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

LRESULT CALLBACK MessageForm::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form =
        static_cast<MessageForm*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<MessageForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return form ? form->Handle(message, wparam, lparam)
              : DefWindowProcW(window, message, wparam, lparam);
}

LRESULT MessageForm::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (HIWORD(wparam) == BN_SETFOCUS) {
        SetDefaultButton(id);
      } else if (id == IDCANCEL) {
        Finish(content_.cancel_id);
      } else if (HIWORD(wparam) == BN_CLICKED && IsAnswer(id)) {
        Finish(id);
      }
      return 0;
    }
    case DM_GETDEFID:
      return MAKELRESULT(default_id_, DC_HASDEFID);
    case DM_SETDEFID:
      SetDefaultButton(static_cast<int>(wparam));
      return TRUE;
    case WM_CLOSE:
      Finish(content_.cancel_id);
      return 0;
    case WM_ACTIVATE:
      // Keep the focused button across a switch to another window and back.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) focus_ = focus;
      } else {
        SetFocus(focus_);
      }
      return 0;
    case WM_PAINT:
      PaintIcon();
      return 0;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

bool MessageForm::IsAnswer(int id) const {
  for (const MessageButton& button : content_.buttons) {
    if (button.id == id) return true;
  }
  return false;
}

// The focused button is the one Enter presses, and is drawn so.
void MessageForm::SetDefaultButton(int id) {
  if (!IsAnswer(id)) return;
  default_id_ = id;
  for (const MessageButton& button : content_.buttons) {
    const DWORD kind = button.id == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    SendMessageW(GetDlgItem(window_, button.id), BM_SETSTYLE, kind | BS_NOTIFY, TRUE);
  }
}

void MessageForm::Finish(int id) {
  if (done_) return;
  result_ = id;
  done_ = true;
  // The answer may come from a sent message, which GetMessage does not
  // return for: a posted one wakes the loop.
  PostMessageW(nullptr, WM_NULL, 0, 0);
}

void MessageForm::PaintIcon() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  DrawIconEx(dc, icon_rect_.left, icon_rect_.top, icon_, icon_rect_.right - icon_rect_.left,
             icon_rect_.bottom - icon_rect_.top, 0, nullptr, DI_NORMAL);
  EndPaint(window_, &paint);
}

}  // namespace

int ShowMessageForm(const MessageContent& content) {
  MessageForm form(content);
  return form.ShowModal();
}

}  // namespace win32
