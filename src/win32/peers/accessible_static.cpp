#include "win32/peers/accessible_static.h"

#include <utility>

#include "win32/base/com.h"
#include "win32/base/dll_hardening.h"

namespace win32 {

namespace {

using ProxyFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using AllocateFunction = BSTR(WINAPI*)(const OLECHAR*);

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// Answers role and name itself and hands everything else to the proxy.
// Interfaces other than IAccessible (IOleWindow, IEnumVARIANT) are the proxy's.
class AccessibleStatic final : public IAccessible {
 public:
  AccessibleStatic(IAccessible* proxy, AccessibleLook look)
      : proxy_(proxy), look_(std::move(look)) {}
  AccessibleStatic(const AccessibleStatic&) = delete;
  AccessibleStatic& operator=(const AccessibleStatic&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return proxy_->QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child)) return proxy_->get_accRole(child, role);
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = look_.role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return proxy_->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = nullptr;
    if (!look_.name) return S_FALSE;
    static const auto allocate =
        SystemFunction<AllocateFunction>(L"oleaut32.dll", "SysAllocString");
    if (!allocate) return E_OUTOFMEMORY;
    *name = allocate(look_.name->c_str());
    return *name ? S_OK : E_OUTOFMEMORY;
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return proxy_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return proxy_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return proxy_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument_error) override {
    return proxy_->Invoke(id, iid, locale, flags, parameters, result, exception, argument_error);
  }

  // The rest of IAccessible, as the proxy answers it.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return proxy_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return proxy_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return proxy_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return proxy_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return proxy_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return proxy_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return proxy_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return proxy_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return proxy_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return proxy_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return proxy_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return proxy_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return proxy_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return proxy_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return proxy_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
    return proxy_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return proxy_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return proxy_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return proxy_->put_accValue(child, value);
  }

 private:
  ~AccessibleStatic() { proxy_->Release(); }

  IAccessible* proxy_;
  AccessibleLook look_;
  LONG references_ = 1;
};

}  // namespace

std::wstring WithoutPrefixes(const std::wstring& text) {
  std::wstring shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;  // "&&" shows one '&'
    shown += text[i];
  }
  return shown;
}

bool AnswerAccessibleObject(HWND window, WPARAM wparam, LPARAM lparam, const AccessibleLook& look,
                            LRESULT& result) {
  if (static_cast<LONG>(lparam) != OBJID_CLIENT) return false;
  static const auto proxy_of =
      SystemFunction<ProxyFunction>(L"oleacc.dll", "CreateStdAccessibleObject");
  static const auto to_lresult =
      SystemFunction<LresultFunction>(L"oleacc.dll", "LresultFromObject");
  // The object reaches the reader's process through COM, which the window's thread keeps from
  // the first question on: the reader may call it any time after.
  static const bool com = ComFunctions().Loaded() && SUCCEEDED(ComFunctions().initialize(nullptr));
  if (!proxy_of || !to_lresult || !com) return false;
  IAccessible* proxy = nullptr;
  if (FAILED(proxy_of(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&proxy)))) {
    return false;
  }
  auto* accessible = new AccessibleStatic(proxy, look);
  result = to_lresult(IID_IAccessible, wparam, accessible);
  accessible->Release();  // LresultFromObject holds its own reference
  return true;
}

}  // namespace win32
