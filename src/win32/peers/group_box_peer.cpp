#include "win32/peers/group_box_peer.h"

#include "win32/base/wide_text.h"
#include "win32/peers/accessible_static.h"
#include "win32/peers/colors.h"

namespace win32 {

GroupBoxPeer::GroupBoxPeer(ui::GroupBox& box, WindowPeer& parent)
    : ContainerPeer(box, parent.Context(), parent.Scale()) {
  CreateContainer(parent.Handle());
}

void GroupBoxPeer::Apply(ui::Change what) {
  ContainerPeer::Apply(what);
  if (what == ui::Change::Caption || what == ui::Change::Enabled) {
    InvalidateRect(Handle(), nullptr, TRUE);
  }
}

// A screen reader hears the group's caption, as of a group box of Windows.
bool GroupBoxPeer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_GETOBJECT) {
    const AccessibleLook look{ROLE_SYSTEM_GROUPING, WithoutPrefixes(Widen(GetControl().Caption()))};
    return AnswerAccessibleObject(Handle(), wparam, lparam, look, result);
  }
  return ContainerPeer::HandleMessage(message, wparam, lparam, result);
}

void GroupBoxPeer::Paint(HDC dc, const RECT& client) {
  SelectObject(dc, Font());
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  // The frame's top line runs through the middle of the caption.
  RECT frame = client;
  frame.top += metrics.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);

  const std::wstring caption = Widen(GetControl().Caption());
  if (caption.empty()) return;
  RECT text{client.left + Scale().ToPixels(8), client.top, client.right,
            client.top + metrics.tmHeight};
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ToColorRef(Background()));
  SetTextColor(dc, GetControl().Enabled() ? ToColorRef(GetControl().FontColor())
                                          : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_SINGLELINE | DT_LEFT | DT_TOP);
}

}  // namespace win32
