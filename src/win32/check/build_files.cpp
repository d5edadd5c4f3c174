#include "win32/check/build_files.h"

#include <windows.h>

#include <cstdio>

#include "win32/base/file_access.h"
#include "win32/base/handles.h"
#include "win32/base/system_message.h"
#include "win32/base/wide_text.h"
#include "win32/check/check_files.h"

namespace win32 {

namespace {

std::wstring Path(const std::string& path) {
  std::wstring wide = Widen(path);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

std::string LastReason() {
  return SystemMessage(GetLastError());
}

class FileSource : public release::ByteSource {
 public:
  FileSource(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}
  std::uint64_t Size() const override { return size_; }

 protected:
  bool ReadAt(std::uint64_t offset, std::size_t count, char* out, std::string& reason) override {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN)) {
      reason = LastReason();
      return false;
    }
    while (count > 0) {
      DWORD done = 0;
      if (!ReadFile(file_.get(), out, static_cast<DWORD>(count), &done, nullptr) || done == 0) {
        reason = done == 0 ? "it ended early" : LastReason();
        return false;
      }
      out += done;
      count -= done;
    }
    return true;
  }

 private:
  UniqueHandle file_;
  std::uint64_t size_;
};

}  // namespace

check::EntryKind WindowsBuildFiles::KindOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Path(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return check::EntryKind::Missing;
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? check::EntryKind::Folder : check::EntryKind::File;
}

bool WindowsBuildFiles::IsEmptyFolder(const std::string& path) {
  std::vector<std::string> files;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((Path(path) + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool empty = true;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") empty = false;
  } while (empty && FindNextFileW(search, &found));
  FindClose(search);
  return empty;
}

bool WindowsBuildFiles::ListFiles(const std::string& folder, std::vector<std::string>& files,
                                  std::string& reason) {
  if (KindOf(folder) == check::EntryKind::Folder && ListFilesUnder(Narrow(Path(folder)), files))
    return true;
  reason = "no folder";
  return false;
}

std::unique_ptr<release::ByteSource> WindowsBuildFiles::Open(const std::string& path,
                                                             std::string& reason) {
  HANDLE file = CreateFileW(Path(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  LARGE_INTEGER size;
  if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size)) {
    reason = LastReason();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return nullptr;
  }
  return std::make_unique<FileSource>(file, static_cast<std::uint64_t>(size.QuadPart));
}

bool WindowsBuildFiles::CopyNew(const std::string& from, const std::string& to,
                                const platform::BlockSink& sink, std::string& reason) {
  const std::wstring target = Path(to);
  UniqueHandle in(CreateFileW(Path(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (in.get() == INVALID_HANDLE_VALUE) {
    reason = LastReason();
    return false;
  }
  if (!MakeFoldersAbove(Narrow(target), reason)) return false;
  bool copied = false;
  {
    UniqueHandle out(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (out.get() == INVALID_HANDLE_VALUE) {
      reason = LastReason();
      return false;
    }
    constexpr DWORD kBlock = 1 << 20;
    const std::unique_ptr<char[]> block(new char[kBlock]);
    for (;;) {
      DWORD done = 0;
      if (!ReadFile(in.get(), block.get(), kBlock, &done, nullptr) ||
          (done > 0 && !WriteAll(out.get(), block.get(), done))) {
        reason = LastReason();
        break;
      }
      if (done == 0) {
        copied = true;
        break;
      }
      sink(std::string_view(block.get(), done));
    }
  }
  if (!copied) DeleteFileW(target.c_str());
  return copied;
}

bool WindowsBuildFiles::WriteNew(const std::string& path, const std::string& bytes,
                                 std::string& reason) {
  const std::wstring target = Path(path);
  if (!MakeFoldersAbove(Narrow(target), reason)) return false;
  bool written;
  {
    UniqueHandle out(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out.get() == INVALID_HANDLE_VALUE) {
      reason = LastReason();
      return false;
    }
    written = WriteAll(out.get(), bytes.data(), bytes.size());
    if (!written) reason = LastReason();
  }
  if (!written) DeleteFileW(target.c_str());
  return written;
}

bool WindowsBuildFiles::MakeFolder(const std::string& path, std::string& reason) {
  if (CreateDirectoryW(Path(path).c_str(), nullptr)) return true;
  reason = LastReason();
  return false;
}

bool WindowsBuildFiles::RenameFolder(const std::string& from, const std::string& to,
                                     std::string& reason) {
  // An empty folder in the way goes first; a folder that is not empty stays and refuses the move.
  RemoveDirectoryW(Path(to).c_str());
  if (MoveFileExW(Path(from).c_str(), Path(to).c_str(), 0)) return true;
  reason = LastReason();
  return false;
}

void WindowsBuildFiles::Remove(const std::string& path) {
  const std::wstring wide = Path(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(wide.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((wide + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") Remove(Narrow(wide + L"\\" + name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(wide.c_str());
}

std::string WindowsBuildFiles::Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[16];
  std::snprintf(text, sizeof text, "%04u.%02u.%02u", now.wYear, now.wMonth, now.wDay);
  return text;
}

std::string WindowsBuildFiles::ProgramFolder() {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring folder(path, length);
  const std::size_t slash = folder.find_last_of(L"\\/");
  return Narrow(slash == std::wstring::npos ? L"." : folder.substr(0, slash));
}

std::unique_ptr<check::ReleaseFiles> WindowsBuildFiles::OpenRelease(const std::string& folder) {
  return OpenCheckFolder(folder);
}

}  // namespace win32
