#include "frame/install_log.h"

#include "platform/system.h"

namespace frame {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::uint64_t kMaxSize = 1 << 20;

}  // namespace

std::string InstallLog::Path() const {
  return path_.empty() ? system_.TemporaryFolder() + "Installer.log" : path_;
}

// UTF-8 with a byte-order mark, so that Notepad shows the German texts.
void InstallLog::Write(const std::string& line) {
  const std::string path = Path();
  if (!kept_small_) {
    kept_small_ = true;
    if (system_.FileSize(path).value_or(0) > kMaxSize) system_.RenameFile(path, path + ".old");
  }
  const std::string start = system_.FileExists(path) ? "" : kByteOrderMark;
  system_.AppendToFile(path, start + system_.LocalTimeText() + "  " + line + "\r\n");
}

}  // namespace frame
