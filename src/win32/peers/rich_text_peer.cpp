#include "win32/peers/rich_text_peer.h"

#include <commctrl.h>
#include <richedit.h>

#include "win32/base/dll_hardening.h"

namespace win32 {

namespace {

// The rich edit class comes with its DLL, loaded once for the whole run.
void LoadRichEdit() {
  static const HMODULE library = LoadSystemLibrary(L"riched20.dll");
  (void)library;
}

}  // namespace

RichTextPeer::RichTextPeer(ui::RichText& text, WindowPeer& parent)
    : WindowPeer(text, parent.Context(), parent.Scale()) {
  LoadRichEdit();
  const DWORD scroll = text.Has(ui::kVerticalScroll) ? WS_VSCROLL : 0;
  const DWORD tab_stop = text.Has(ui::kNoTabStop) ? 0 : WS_TABSTOP;
  CreateChild(parent.Handle(),
              {RICHEDIT_CLASSW,
               ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_DISABLENOSCROLL | scroll | tab_stop,
               WS_EX_CLIENTEDGE});
}

bool RichTextPeer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message != WM_GETDLGCODE) return WindowPeer::HandleMessage(message, wparam, lparam, result);
  // Tab and Enter belong to the form's navigation, not to a text nobody edits.
  result =
      ClassDefault(message, wparam, lparam) & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
  return true;
}

}  // namespace win32
