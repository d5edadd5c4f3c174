// What "release-check --new" and "--add" write with on Windows: files made
// with CREATE_NEW (never replacing one), a copy's blocks written as they are
// read, the folder renamed with MoveFileExW.
#pragma once

#include "check/build_files.h"

namespace win32 {

class WindowsBuildFiles : public check::BuildFiles {
 public:
  check::EntryKind KindOf(const std::string& path) override;
  bool IsEmptyFolder(const std::string& path) override;
  bool ListFiles(const std::string& folder, std::vector<std::string>& files,
                 std::string& reason) override;
  std::unique_ptr<release::ByteSource> Open(const std::string& path, std::string& reason) override;
  bool CopyNew(const std::string& from, const std::string& to, const platform::BlockSink& sink,
               std::string& reason) override;
  bool WriteNew(const std::string& path, const std::string& bytes, std::string& reason) override;
  bool MakeFolder(const std::string& path, std::string& reason) override;
  bool RenameFolder(const std::string& from, const std::string& to, std::string& reason) override;
  void Remove(const std::string& path) override;
  std::string Today() override;
  std::string ProgramFolder() override;
  std::unique_ptr<check::ReleaseFiles> OpenRelease(const std::string& folder) override;
};

}  // namespace win32
