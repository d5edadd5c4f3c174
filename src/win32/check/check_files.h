// The release checker's file access on Windows: the installer's own file
// reading and ANSI decoding (win32/file_access.h).
#pragma once

#include <memory>
#include <string>

#include "check/release_files.h"

namespace win32 {

class CheckFiles : public check::ReleaseFiles {
 public:
  // `folder` in UTF-8.
  explicit CheckFiles(std::string folder);

  check::EntryKind KindOf(const std::string& path) override;
  std::optional<std::string> ReadBytes(const std::string& path) override;
  std::optional<std::string> ReadStart(const std::string& path, std::size_t size) override;
  bool ReadInBlocks(const std::string& path, const platform::BlockSink& sink,
                    std::string& reason) override;
  bool ReplaceBytes(const std::string& path, const std::string& bytes,
                    std::string& reason) override;
  std::string DecodeAnsi(std::string_view bytes) override;

 private:
  std::string PathOf(const std::string& path) const;

  std::string folder_;  // ends in a backslash
};

// The files of a folder; null when it is no folder.
std::unique_ptr<check::ReleaseFiles> OpenCheckFolder(const std::string& folder);

}  // namespace win32
