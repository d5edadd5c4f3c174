// The release checker's file access on Linux: std::filesystem, names found
// without regard to letter case as Windows finds them, and Windows-1252 as
// the ANSI code page (that of German and English Windows).
#pragma once

#include <filesystem>

#include "check/build_files.h"
#include "check/release_files.h"

namespace check {

class NativeReleaseFiles : public ReleaseFiles {
 public:
  explicit NativeReleaseFiles(std::filesystem::path folder) : folder_(std::move(folder)) {}

  EntryKind KindOf(const std::string& path) override;
  std::optional<std::string> ReadBytes(const std::string& path) override;
  std::optional<std::string> ReadStart(const std::string& path, std::size_t size) override;
  bool ReadInBlocks(const std::string& path, const platform::BlockSink& sink,
                    std::string& reason) override;
  bool ReplaceBytes(const std::string& path, const std::string& bytes,
                    std::string& reason) override;
  std::string DecodeAnsi(std::string_view bytes) override;

 private:
  std::filesystem::path Resolve(const std::string& path) const;

  std::filesystem::path folder_;
};

// The files of a folder; null when it is no folder.
std::unique_ptr<ReleaseFiles> OpenNativeFolder(const std::string& folder);

// What --new and --add write with on Linux: POSIX files, a copy's blocks
// written as they are read.
class NativeBuildFiles : public BuildFiles {
 public:
  EntryKind KindOf(const std::string& path) override;
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
  std::unique_ptr<ReleaseFiles> OpenRelease(const std::string& folder) override;
};

}  // namespace check
