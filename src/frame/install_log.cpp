#include "frame/install_log.h"

#include "frame/state_folder.h"
#include "platform/system.h"

namespace frame {

namespace {

constexpr char kFileName[] = "Installer.log";
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::uint64_t kMaxSize = 1 << 20;

}  // namespace

std::string InstallLog::DefaultPath() const {
  if (!system_.IsElevated()) return system_.TemporaryFolder() + kFileName;
  return system_.CommonDataFolder() + kProgramName + "\\" + kFileName;
}

void InstallLog::Place(const std::string& given) {
  path_ = given.empty() ? DefaultPath() : system_.AbsolutePath(given);
  const std::size_t folder_end = path_.find_last_of('\\');
  if (folder_end != std::string::npos) MakeFolder(system_, path_.substr(0, folder_end));
  if (system_.FileSize(path_).value_or(0) > kMaxSize) system_.RenameFile(path_, path_ + ".old");
}

void InstallLog::Write(const std::string& line) {
  WriteLines({line});
}

// UTF-8 with a byte-order mark, so that Notepad shows the German texts.
void InstallLog::WriteLines(const std::vector<std::string>& lines) {
  const std::string time = system_.LocalTimeText();
  std::string record;
  for (const std::string& line : lines) record += time + "  " + line + "\r\n";
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

}  // namespace frame
