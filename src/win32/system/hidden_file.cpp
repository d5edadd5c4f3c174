// A file that is replaced whole or not at all, such as the continuation file.
#include <windows.h>

#include <algorithm>

#include "win32/base/handles.h"
#include "win32/base/wide_text.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// Complete and on the disk before it takes the target's place. Hidden from
// the start; CREATE_ALWAYS also needs that to overwrite a hidden leftover.
bool WriteTemporary(const std::wstring& path, const std::string& bytes) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN, nullptr));
  return file.get() != INVALID_HANDLE_VALUE && WriteAll(file.get(), bytes) &&
         FlushFileBuffers(file.get());
}

}  // namespace

bool Win32System::WriteHiddenFile(const std::string& path, const std::string& bytes) {
  const std::wstring target = Widen(path);
  const std::wstring temporary = target + L".tmp";
  bool written = WriteTemporary(temporary, bytes);
  if (written) {
    // A read-only target would refuse to be replaced.
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    written = MoveFileExW(temporary.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) &&
              SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  if (!written) DeleteFileW(temporary.c_str());
  return written;
}

}  // namespace win32
