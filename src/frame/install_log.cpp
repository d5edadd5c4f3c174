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

// UTF-8 with a byte-order mark, so that Notepad shows the German texts.
void InstallLog::Write(const std::string& line) {
  const std::string record = system_.LocalTimeText() + "  " + line + "\r\n";
  const std::string start = system_.FileExists(path_) ? "" : kByteOrderMark;
  std::string reason;
  if (!system_.AppendToFile(path_, start + record, reason)) {
    system_.DebugOutput("Installationsprotokoll " + path_ + " nicht beschreibbar (" + reason +
                        "): " + record);
  }
}

}  // namespace frame
