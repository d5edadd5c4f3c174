// What the package cache reads and writes: parts of a file, a copy that goes
// on where it stopped, the files of a folder, the free space of a drive.
#include <windows.h>

#include <memory>

#include "win32/base/file_access.h"
#include "win32/base/handles.h"
#include "win32/base/system_message.h"
#include "win32/base/wide_text.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

using HeldCopy = platform::Result<platform::FileHold>;

bool MoveTo(HANDLE file, std::uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

// The copy, cut at `offset`: made new at 0, else the part already copied.
UniqueHandle OpenCopy(const std::string& to, std::uint64_t offset, std::string& reason) {
  if (offset == 0 && !MakeFoldersAbove(to, reason)) return nullptr;
  UniqueHandle out(CreateFileW(Widen(to).c_str(), GENERIC_WRITE, 0, nullptr,
                               offset == 0 ? CREATE_ALWAYS : OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (out.get() == INVALID_HANDLE_VALUE || !MoveTo(out.get(), offset) || !SetEndOfFile(out.get())) {
    reason = SystemMessage(GetLastError());
    return nullptr;
  }
  return out;
}

}  // namespace

platform::Result<std::string> Win32System::ReadFilePart(const std::string& path,
                                                        std::uint64_t offset, std::size_t count) {
  UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes(count, '\0');
  std::size_t total = 0;
  DWORD done = 0;
  if (file.get() == INVALID_HANDLE_VALUE || !MoveTo(file.get(), offset))
    return platform::Result<std::string>::Failed(SystemMessage(GetLastError()));
  while (total < count) {
    if (!ReadFile(file.get(), bytes.data() + total, static_cast<DWORD>(count - total), &done,
                  nullptr))
      return platform::Result<std::string>::Failed(SystemMessage(GetLastError()));
    if (done == 0) break;
    total += done;
  }
  bytes.resize(total);
  return {std::move(bytes), {}};
}

// The copy is written with nobody else's handle on it, then opened again for
// reading alone: the hold lets the package's installer read it, and nobody
// change it.
platform::Result<platform::FileHold> Win32System::CopyFileFrom(const std::string& from,
                                                               const std::string& to,
                                                               std::uint64_t offset,
                                                               const platform::BlockSink& sink) {
  UniqueHandle in(CreateFileW(Widen(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (in.get() == INVALID_HANDLE_VALUE || !MoveTo(in.get(), offset))
    return HeldCopy::Failed(SystemMessage(GetLastError()));
  std::string reason;
  {
    UniqueHandle out = OpenCopy(to, offset, reason);
    if (!out) return HeldCopy::Failed(reason);
    constexpr DWORD kBlock = 1 << 20;
    const std::unique_ptr<char[]> block(new char[kBlock]);
    for (;;) {
      DWORD done = 0;
      if (!ReadFile(in.get(), block.get(), kBlock, &done, nullptr) ||
          (done > 0 && !WriteAll(out.get(), block.get(), done)))
        return HeldCopy::Failed(SystemMessage(GetLastError()));
      if (done == 0) break;
      sink(std::string_view(block.get(), done));
    }
  }
  HANDLE held = CreateFileW(Widen(to).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) return HeldCopy::Failed(SystemMessage(GetLastError()));
  return {platform::FileHold(held, HandleCloser()), {}};
}

platform::Result<std::vector<std::string>> Win32System::FilesUnder(const std::string& folder) {
  std::vector<std::string> files;
  if (!ListFilesUnder(folder, files))
    return platform::Result<std::vector<std::string>>::Failed(SystemMessage(GetLastError()));
  return {std::move(files), {}};
}

std::optional<std::uint64_t> Win32System::FreeSpace(const std::string& folder) {
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExW(Widen(folder).c_str(), &available, nullptr, nullptr))
    return std::nullopt;
  return available.QuadPart;
}

}  // namespace win32
