#include "ui/control.h"

#include "ui/form.h"

namespace ui {

Control::Control(Form* owner, Control* parent, std::string name, Rect bounds, std::string caption,
                 Options options)
    : Component(owner, std::move(name)),
      parent_(parent),
      options_(options),
      bounds_(bounds),
      caption_(std::move(caption)),
      enabled_(!(options & kDisabled)),
      visible_(!(options & kHidden)),
      bold_(options & kBold) {
  if (parent_) parent_->children_.push_back(this);
}

void Control::SetBounds(const Rect& bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  Changed(Change::Bounds);
}

void Control::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(Change::Caption);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Change::Enabled);
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(Change::Visible);
}

bool Control::Showing() const { return visible_ && (!parent_ || parent_->Showing()); }

void Control::SetBold(bool bold) {
  if (bold == bold_) return;
  bold_ = bold;
  Changed(Change::Font);
}

void Control::SetFontColor(Color color) {
  if (color == font_color_) return;
  font_color_ = color;
  Changed(Change::Font);
}

void Control::SetCursor(ui::Cursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  Changed(Change::Cursor);
}

void Control::Click() { OnClick.Raise(); }

void Control::MouseMove(Point at) { OnMouseMove.Raise(at); }

}  // namespace ui
