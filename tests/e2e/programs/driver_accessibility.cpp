#include "driver_accessibility.h"

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <oleacc.h>

#include <string>

#include "driver_windows.h"

namespace driver {
namespace {

// COM on the driver's thread for one command.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComScope() {
    if (initialized_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialized_;
};

std::wstring Taken(BSTR text) {
  std::wstring taken = text ? text : L"";
  SysFreeString(text);
  return taken;
}

VARIANT Child(long id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

std::wstring Describe(IAccessible& object, long id) {
  const VARIANT child = Child(id);
  VARIANT role;
  VariantInit(&role);
  std::wstring line = L"?";
  if (SUCCEEDED(object.get_accRole(child, &role)) && role.vt == VT_I4) {
    line = std::to_wstring(role.lVal);
  }
  VariantClear(&role);
  BSTR name = nullptr;
  object.get_accName(child, &name);
  line += L"|" + Taken(name);
  BSTR value = nullptr;
  if (object.get_accValue(child, &value) == S_OK && value) line += L"|" + Taken(value);
  return line;
}

// The items of a list view are elements of the list's object, numbered from 1.
std::wstring DescribeItems(IAccessible& list, const std::wstring& control) {
  long count = 0;
  if (FAILED(list.get_accChildCount(&count))) return {};
  std::wstring lines;
  for (long item = 1; item <= count; ++item) {
    lines += L"\n" + control + L"." + std::to_wstring(item) + L"|item|" + Describe(list, item);
  }
  return lines;
}

}  // namespace

std::wstring Accessible(const Args& args) {
  const ComScope com;
  std::wstring lines;
  for (HWND window : VisibleControls(RequireForm(args[0]))) {
    const std::wstring control = ControlNameOf(window);
    lines += (lines.empty() ? L"" : L"\n") + control + L"|" + ClassOf(window) + L"|";
    IAccessible* object = nullptr;
    const HRESULT found = AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                                     reinterpret_cast<void**>(&object));
    if (FAILED(found)) {
      lines += L"error " + std::to_wstring(static_cast<unsigned long>(found));
      continue;
    }
    lines += Describe(*object, CHILDID_SELF);
    if (ClassOf(window) == WC_LISTVIEWW) lines += DescribeItems(*object, control);
    object->Release();
  }
  return lines;
}

}  // namespace driver
