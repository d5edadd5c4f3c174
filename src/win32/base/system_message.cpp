#include "win32/base/system_message.h"

#include "win32/base/wide_text.h"

namespace win32 {

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0) return "Systemfehler. Code: " + std::to_string(error);
  std::wstring message(text, length);
  LocalFree(text);
  while (!message.empty() &&
         (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
    message.pop_back();
  }
  if (!message.empty() && message.back() == L'.') message.pop_back();
  return Narrow(message);
}

}  // namespace win32
