#include "win32/check/check_files.h"

#include <windows.h>

#include "win32/base/file_access.h"
#include "win32/base/wide_text.h"

namespace win32 {

namespace {

DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str());
}

}  // namespace

CheckFiles::CheckFiles(std::string folder) : folder_(std::move(folder)) {
  for (char& c : folder_) {
    if (c == '/') c = '\\';
  }
  if (folder_.empty() || folder_.back() != '\\') folder_ += '\\';
}

std::string CheckFiles::PathOf(const std::string& path) const {
  std::string full = folder_ + path;
  for (char& c : full) {
    if (c == '/') c = '\\';
  }
  return full;
}

check::EntryKind CheckFiles::KindOf(const std::string& path) {
  const DWORD attributes = AttributesOf(PathOf(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) return check::EntryKind::Missing;
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? check::EntryKind::Folder : check::EntryKind::File;
}

std::optional<std::string> CheckFiles::ReadBytes(const std::string& path) {
  return ReadWholeFile(PathOf(path));
}

std::optional<std::string> CheckFiles::ReadStart(const std::string& path, std::size_t size) {
  return ReadFileStart(PathOf(path), size);
}

bool CheckFiles::ReadInBlocks(const std::string& path, const platform::BlockSink& sink,
                              std::string& reason) {
  return win32::ReadInBlocks(PathOf(path), sink, reason) != nullptr;
}

bool CheckFiles::ReplaceBytes(const std::string& path, const std::string& bytes,
                              std::string& reason) {
  return ReplaceFileContent(PathOf(path), bytes, reason);
}

std::string CheckFiles::DecodeAnsi(std::string_view bytes) {
  return DecodeAnsiText(bytes);
}

std::unique_ptr<check::ReleaseFiles> OpenCheckFolder(const std::string& folder) {
  const DWORD attributes = AttributesOf(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return nullptr;
  return std::make_unique<CheckFiles>(folder);
}

}  // namespace win32
