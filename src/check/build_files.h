// What "release-check --new" and "--add" need of the system beyond reading a
// release: the package folder's files, copies that never replace a file,
// folders made and renamed, today's date. Paths are UTF-8, as given on the
// command line, joined with "/". Linux implements it in check/native_files.h,
// Windows in src/win32/check/.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "check/release_files.h"
#include "release/byte_source.h"

namespace check {

class BuildFiles {
 public:
  virtual ~BuildFiles() = default;

  virtual EntryKind KindOf(const std::string& path) = 0;
  virtual bool IsEmptyFolder(const std::string& path) = 0;
  // The files under a folder and its sub-folders, relative to it, "\" between
  // the parts; false, with the reason, when it can't be listed.
  virtual bool ListFiles(const std::string& folder, std::vector<std::string>& files,
                         std::string& reason) = 0;
  // A file to read parts of; null, with the reason, when it can't be opened.
  virtual std::unique_ptr<release::ByteSource> Open(const std::string& path,
                                                    std::string& reason) = 0;
  // Makes `to` (with the folders it needs), never replacing a file, with the
  // bytes of `from`, read once from start to end; each block also goes to
  // `sink`. False, with the reason, when it fails (a part written is removed).
  virtual bool CopyNew(const std::string& from, const std::string& to,
                       const platform::BlockSink& sink, std::string& reason) = 0;
  // A new file (with the folders it needs) holding `bytes`; never replaces one.
  virtual bool WriteNew(const std::string& path, const std::string& bytes, std::string& reason) = 0;
  virtual bool MakeFolder(const std::string& path, std::string& reason) = 0;
  // Gives a folder a new name; `to` must not exist, or be an empty folder.
  virtual bool RenameFolder(const std::string& from, const std::string& to,
                            std::string& reason) = 0;
  // A file, or a folder with all it holds.
  virtual void Remove(const std::string& path) = 0;
  // Today's date, YYYY.MM.DD.
  virtual std::string Today() = 0;
  // The folder of the running program.
  virtual std::string ProgramFolder() = 0;
  // The files of a release folder for reading and checking it.
  virtual std::unique_ptr<ReleaseFiles> OpenRelease(const std::string& folder) = 0;
};

}  // namespace check
