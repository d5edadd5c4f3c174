// What the release checker needs of the system: the files of the folder it
// was given, and the system's ANSI code page. Linux implements it with
// std::filesystem and POSIX (check/native_files.h), Windows in src/win32/.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace check {

enum class EntryKind { Missing, File, Folder };

class ReleaseFiles {
 public:
  virtual ~ReleaseFiles() = default;

  // `path` is relative to the folder the checker was given, its parts
  // separated by "\" (or "/"); ".." goes up. Letter case counts as little as
  // it does on Windows.
  virtual EntryKind KindOf(const std::string& path) = 0;
  // Whole content of a file, or nothing when it cannot be read.
  virtual std::optional<std::string> ReadBytes(const std::string& path) = 0;
  // The first `size` bytes of a file (all of it when it is shorter), or
  // nothing when it cannot be read: a header, without reading a whole package.
  virtual std::optional<std::string> ReadStart(const std::string& path, std::size_t size) = 0;
  // A file from start to end in large blocks; false, with the system's
  // reason in `reason`, when it can't be read to its end.
  virtual bool ReadInBlocks(const std::string& path, const platform::BlockSink& sink,
                            std::string& reason) = 0;
  // Replaces a file's content completely or not at all (a new file beside
  // it, then put in its place), keeping its permissions; false, with the
  // system's reason in `reason`, when it can't be written.
  virtual bool ReplaceBytes(const std::string& path, const std::string& bytes,
                            std::string& reason) = 0;
  // Text in the system's ANSI code page, returned as UTF-8.
  virtual std::string DecodeAnsi(std::string_view bytes) = 0;
};

// The files of a folder named on the command line; null when it is no folder.
using FolderOpener = std::function<std::unique_ptr<ReleaseFiles>(const std::string& folder)>;

}  // namespace check
