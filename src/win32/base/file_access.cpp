#include "win32/base/file_access.h"

#include <windows.h>

#include <memory>

#include "win32/base/handles.h"
#include "win32/base/system_message.h"
#include "win32/base/wide_text.h"

namespace win32 {

namespace {

UniqueHandle OpenToRead(const std::string& path) {
  return UniqueHandle(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Up to `size` bytes from the file's position; fewer at its end.
std::string ReadUpTo(HANDLE file, std::size_t size) {
  std::string bytes(size, '\0');
  DWORD done = 0;
  std::size_t total = 0;
  while (total < bytes.size() &&
         ReadFile(file, bytes.data() + total, static_cast<DWORD>(bytes.size() - total), &done,
                  nullptr) &&
         done > 0) {
    total += done;
  }
  bytes.resize(total);
  return bytes;
}

void List(const std::wstring& folder, const std::string& prefix, std::vector<std::string>& files) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::string relative = prefix + Narrow(name);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        List(folder + L"\\" + name, relative + "\\", files);
    } else {
      files.push_back(relative);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

bool WriteAll(HANDLE file, const char* bytes, std::size_t count) {
  while (count > 0) {
    DWORD done = 0;
    if (!WriteFile(file, bytes, static_cast<DWORD>(count), &done, nullptr) || done == 0)
      return false;
    bytes += done;
    count -= done;
  }
  return true;
}

bool ListFilesUnder(const std::string& folder, std::vector<std::string>& files) {
  std::wstring wide = Widen(folder);
  while (!wide.empty() && (wide.back() == L'\\' || wide.back() == L'/')) wide.pop_back();
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  List(wide, "", files);
  return true;
}

bool MakeFoldersAbove(const std::string& file, std::string& reason) {
  const std::wstring path = Widen(file);
  for (std::size_t at = path.find(L'\\', 1); at != std::wstring::npos;
       at = path.find(L'\\', at + 1)) {
    const std::wstring folder = path.substr(0, at);
    if (folder.empty() || folder.back() == L':' || folder.back() == L'\\' || folder == L"." ||
        folder == L"..")
      continue;
    if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      reason = SystemMessage(GetLastError());
      return false;
    }
  }
  return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  UniqueHandle file = OpenToRead(path);
  if (file.get() == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
  return ReadUpTo(file.get(), static_cast<std::size_t>(size.QuadPart));
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t size) {
  UniqueHandle file = OpenToRead(path);
  if (file.get() == INVALID_HANDLE_VALUE) return std::nullopt;
  return ReadUpTo(file.get(), size);
}

// Large blocks: each read is a call into the system (a round trip to the
// server under Wine), and a package may be a gigabyte. Sharing for reading
// alone: msiexec and wusa open the package again for reading while it is
// held, nobody can write, rename or delete it.
UniqueHandle ReadInBlocks(const std::string& path, const platform::BlockSink& sink,
                          std::string& reason) {
  UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    reason = SystemMessage(GetLastError());
    return nullptr;
  }
  constexpr DWORD kBlock = 1 << 20;
  const std::unique_ptr<char[]> block(new char[kBlock]);
  for (;;) {
    DWORD done = 0;
    if (!ReadFile(file.get(), block.get(), kBlock, &done, nullptr)) {
      reason = SystemMessage(GetLastError());
      return nullptr;
    }
    if (done == 0) return file;
    sink(std::string_view(block.get(), done));
  }
}

bool ReplaceFileContent(const std::string& path, const std::string& bytes, std::string& reason) {
  const std::wstring target = Widen(path);
  const std::wstring temporary = target + L".new";
  bool written;
  {
    UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD done = 0;
    written =
        file.get() != INVALID_HANDLE_VALUE &&
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
        done == bytes.size() && FlushFileBuffers(file.get());
  }
  written = written && ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
  if (!written) {
    reason = SystemMessage(GetLastError());
    DeleteFileW(temporary.c_str());
  }
  return written;
}

std::string DecodeAnsiText(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return Narrow(wide);
}

}  // namespace win32
