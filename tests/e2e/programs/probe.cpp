// A stand-in update package for the end-to-end tests. Copied under any name (KB0001.exe),
// it reads "<own path without extension>.probe" (key=value lines, all optional):
//   journal=<path>   where to record this run (default: %PROBE_JOURNAL%, else
//                    probe-journal.txt beside the exe)
//   sleep_ms=<n>     wait before exiting, after the run is recorded
//   exit_code=<n>    process exit code (decimal or 0x hex)
//   log_file=<name>  a file to leave in the Windows folder, as real packages do
//   record_end=1     also record the end of the run, just before exiting
//   end_session=1    after the wait, ask Windows for a restart (ExitWindowsEx with the shutdown
//                    privilege), as a package that restarts the computer itself, and stay until
//                    the installer has gone with the session
//   kill_installer=1 after the wait, end the program that started it without a word, as a
//                    package that crashes its installer or the machine does
//   change_self=1    try to open its own file to write or delete it: a running program's file
//                    may be renamed or deleted unless someone holds it against that
// Each run appends one UTF-8 line to the journal, fields separated by TAB:
//   sequence, own file name, command line, working folder, show-window value (or -)
// With record_end=1 it appends a second line as its last act, "end", its sequence and its file
// name: any start recorded after that line came after this run was over. Sequences
// count the first kind of line only.
// Exit code 9901 means the journal could not be written, 9902 the log file, 9903 the end, 9904
// the restart was not asked for or the installer was still there a minute later, 9905 its own
// file could be opened to write or delete it (change_self=1), 9906 the installer could not be
// ended (kill_installer=1).
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cstdlib>
#include <map>
#include <string>

namespace {

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size,
                      nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(size, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
  return out;
}

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring WithoutExtension(const std::wstring& path) {
  size_t dot = path.find_last_of(L'.');
  size_t slash = path.find_last_of(L"\\/");
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return path;
  return path.substr(0, dot);
}

std::string ReadWholeFile(HANDLE file) {
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    content.append(buffer, got);
  return content;
}

std::map<std::string, std::string> ReadSideFile(const std::wstring& path) {
  std::map<std::string, std::string> values;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return values;
  std::string content = ReadWholeFile(file);
  CloseHandle(file);
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    start = end + 1;
  }
  return values;
}

std::string Setting(const std::map<std::string, std::string>& values, const char* key) {
  auto found = values.find(key);
  return found == values.end() ? std::string() : found->second;
}

std::wstring JournalPath(const std::map<std::string, std::string>& values,
                         const std::wstring& own_path) {
  std::string configured = Setting(values, "journal");
  if (!configured.empty()) return FromUtf8(configured);
  wchar_t buffer[32768];
  DWORD length = GetEnvironmentVariableW(L"PROBE_JOURNAL", buffer, 32768);
  if (length > 0 && length < 32768) return std::wstring(buffer, length);
  return FolderOf(own_path) + L"probe-journal.txt";
}

std::wstring CurrentFolder() {
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(size, L'\0');
  DWORD length = GetCurrentDirectoryW(size, &folder[0]);
  folder.resize(length);
  return folder;
}

std::string ShowWindowValue() {
  STARTUPINFOW info{};
  info.cb = sizeof info;
  GetStartupInfoW(&info);
  if (!(info.dwFlags & STARTF_USESHOWWINDOW)) return "-";
  return std::to_string(info.wShowWindow);
}

// A tab or line break inside a field would split the record; the journal stays one line per run.
std::string Field(const std::wstring& text) {
  std::string field = ToUtf8(text);
  for (char& c : field)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return field;
}

// Several probes may run at once: exclusive access makes counting and appending one step.
HANDLE OpenJournalExclusively(const std::wstring& path) {
  for (int attempt = 0; attempt < 1000; ++attempt) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
        error != ERROR_LOCK_VIOLATION)
      return INVALID_HANDLE_VALUE;
    Sleep(10);
  }
  return INVALID_HANDLE_VALUE;
}

const char kEndMark[] = "end\t";

// The lines that record a start: all but the end records.
size_t StartRecords(const std::string& content) {
  size_t records = 0;
  size_t start = 0;
  for (size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1)
    records += content.compare(start, sizeof kEndMark - 1, kEndMark) != 0;
  return records;
}

// `make_line` gets the journal's content and returns the line to append.
template <typename MakeLine>
bool AppendToJournal(const std::wstring& journal, MakeLine make_line) {
  HANDLE file = OpenJournalExclusively(journal);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string line = make_line(ReadWholeFile(file));
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  bool ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
            written == line.size();
  CloseHandle(file);
  return ok;
}

bool LeaveLogFile(const std::string& name, const std::wstring& own_path) {
  wchar_t windows[MAX_PATH];
  UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  std::wstring path = std::wstring(windows, length) + L"\\" + FromUtf8(name);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string text = "Written by " + ToUtf8(own_path) + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return true;
}

// The process that started this one: the installer.
DWORD ParentId() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && parent == 0;
       more = Process32NextW(snapshot, &entry))
    if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  CloseHandle(snapshot);
  return parent;
}

bool AskForRestart() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool enabled = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) &&
                 AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                 GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return enabled &&
         ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_MAJOR_APPLICATION |
                                       SHTDN_REASON_MINOR_INSTALLATION | SHTDN_REASON_FLAG_PLANNED);
}

// Restarts the computer, as a package that does so itself, and stays until the installer has
// gone with the session, as Windows keeps such a package to the end. It has no window, which
// Wine would end at once, one program after another: the installer could see the package end
// before it hears that the session ends. Always false: nobody is left to read the exit code,
// unless the restart was not asked for or the installer is still there after a minute.
bool EndSession() {
  const DWORD parent_id = ParentId();
  HANDLE parent = parent_id ? OpenProcess(SYNCHRONIZE, FALSE, parent_id) : nullptr;
  if (!parent) return false;
  if (AskForRestart()) WaitForSingleObject(parent, 60000);
  CloseHandle(parent);
  return false;
}

// Always false: nobody is left to read the exit code, unless the installer could not be ended.
bool KillInstaller() {
  const DWORD parent_id = ParentId();
  HANDLE parent = parent_id ? OpenProcess(PROCESS_TERMINATE, FALSE, parent_id) : nullptr;
  if (!parent) return false;
  TerminateProcess(parent, 9);
  CloseHandle(parent);
  return false;
}

// Whether another process could change the file: open it to write, or to delete or rename it.
bool CanChange(const std::wstring& path) {
  for (const DWORD access : {static_cast<DWORD>(GENERIC_WRITE), static_cast<DWORD>(DELETE)}) {
    HANDLE file =
        CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    CloseHandle(file);
    return true;
  }
  return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring own_path = OwnPath();
  auto values = ReadSideFile(WithoutExtension(own_path) + L".probe");
  const std::wstring journal = JournalPath(values, own_path);
  const std::string own_name = Field(own_path.substr(FolderOf(own_path).size()));
  size_t sequence = 0;
  // A lost journal line would make a test blame the installer; say so through the exit code.
  if (!AppendToJournal(journal, [&](const std::string& content) {
        sequence = StartRecords(content) + 1;
        return std::to_string(sequence) + '\t' + own_name + '\t' + Field(GetCommandLineW()) + '\t' +
               Field(CurrentFolder()) + '\t' + ShowWindowValue() + '\n';
      }))
    return 9901;
  std::string log_file = Setting(values, "log_file");
  if (!log_file.empty() && !LeaveLogFile(log_file, own_path)) return 9902;
  std::string sleep_ms = Setting(values, "sleep_ms");
  if (!sleep_ms.empty()) Sleep(std::strtoul(sleep_ms.c_str(), nullptr, 10));
  if (Setting(values, "change_self") == "1" && CanChange(own_path)) return 9905;
  if (Setting(values, "end_session") == "1" && !EndSession()) return 9904;
  if (Setting(values, "kill_installer") == "1" && !KillInstaller()) return 9906;
  if (Setting(values, "record_end") == "1" && !AppendToJournal(journal, [&](const std::string&) {
        return kEndMark + std::to_string(sequence) + '\t' + own_name + '\n';
      }))
    return 9903;
  return static_cast<int>(std::strtoul(Setting(values, "exit_code").c_str(), nullptr, 0));
}
