#include "win32/base/com.h"

#include "win32/base/dll_hardening.h"

namespace win32 {

const Com& ComFunctions() {
  static const Com com{
      SystemFunction<decltype(Com::initialize)>(L"ole32.dll", "CoInitialize"),
      SystemFunction<decltype(Com::uninitialize)>(L"ole32.dll", "CoUninitialize"),
      SystemFunction<decltype(Com::create_instance)>(L"ole32.dll", "CoCreateInstance")};
  return com;
}

}  // namespace win32
