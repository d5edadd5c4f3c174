#include "frame/install_log.h"

#include "platform/system.h"

namespace frame {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace

std::string InstallLog::Path() const {
  return path_.empty() ? system_.TemporaryFolder() + "Installer.log" : path_;
}

// UTF-8 with a byte-order mark, so that Notepad shows the German texts.
void InstallLog::Write(const std::string& line) {
  const std::string path = Path();
  const std::string start = system_.FileExists(path) ? "" : kByteOrderMark;
  system_.AppendToFile(path, start + system_.LocalTimeText() + "  " + line + "\r\n");
}

}  // namespace frame
