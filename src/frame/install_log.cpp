#include "frame/install_log.h"

#include <cstdio>
#include <utility>

#include "frame/own_folder.h"
#include "platform/system.h"

namespace frame {

namespace {

constexpr char kFileName[] = "Installer.log";
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::uint64_t kMaxSize = 1 << 20;

}  // namespace

// A folder that a user made first is no place for what an elevated run
// writes and renames: the program's own folder is.
std::string InstallLog::DefaultPath(OwnFolder& own) const {
  const auto& folder = system_.IsElevated() ? own.Path() : std::nullopt;
  return folder.value_or(system_.TemporaryFolder()) + kFileName;
}

// "/log:C:\Logs\" names a folder, as administrators type it.
std::string InstallLog::GivenPath(const std::string& given) const {
  const std::string path = system_.AbsolutePath(given);
  const bool folder =
      path.empty() || path.back() == '\\' || path.back() == '/' || system_.FolderExists(path);
  if (!folder) return path;
  return path.substr(0, path.find_last_not_of("\\/") + 1) + "\\" + kFileName;
}

void InstallLog::Place(const std::string& given, OwnFolder& own) {
  path_ = given.empty() ? DefaultPath(own) : GivenPath(given);
  const std::size_t folder_end = path_.find_last_of('\\');
  if (folder_end != std::string::npos) MakeFolder(system_, path_.substr(0, folder_end));
  if (system_.FileSize(path_).value_or(0) > kMaxSize) system_.RenameFile(path_, path_ + ".old");
  Append(std::exchange(waiting_, {}));
}

void InstallLog::Write(const std::string& line) {
  WriteLines({line});
}

// UTF-8 with a byte-order mark, so that Notepad shows the German texts.
void InstallLog::WriteLines(const std::vector<std::string>& lines) {
  const std::string time = system_.LocalTimeText();
  std::string record;
  for (const std::string& line : lines) record += time + "  " + line + "\r\n";
  if (path_.empty()) {
    waiting_ += record;
  } else {
    Append(record);
  }
}

void InstallLog::Append(const std::string& record) {
  if (record.empty()) return;
  const std::string start = system_.FileExists(path_) ? "" : kByteOrderMark;
  const platform::Status written = system_.AppendToFile(path_, start + record);
  if (!written.ok) {
    system_.DebugOutput("Installationsprotokoll " + path_ + " nicht beschreibbar (" +
                        written.reason + "): " + record);
  }
}

std::string PackageInLog(int number, const std::string& name) {
  return "Paket " + std::to_string(number) + " (" + name + ")";
}

std::string ExitCodeText(std::uint32_t code) {
  char hex[11];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
  return std::to_string(static_cast<std::int32_t>(code)) + " (" + hex + ")";
}

}  // namespace frame
