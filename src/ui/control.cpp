#include "ui/control.h"

#include <algorithm>
#include <stdexcept>

#include "ui/form.h"

namespace ui {

namespace {

// Every control inside a form: shown or not, usable or not, placed by the
// parent's layout.
constexpr Options kChildOptions = kHidden | kDisabled | kDockMask | kAnchorMask;

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Form:
      return "a Form";
    case ControlKind::Panel:
      return "a Panel";
    case ControlKind::Label:
      return "a Label";
    case ControlKind::Button:
      return "a Button";
    case ControlKind::CheckBox:
      return "a CheckBox";
    case ControlKind::RadioButton:
      return "a RadioButton";
    case ControlKind::GroupBox:
      return "a GroupBox";
    case ControlKind::ListView:
      return "a ListView";
    case ControlKind::TabControl:
      return "a TabControl";
    case ControlKind::TabSheet:
      return "a TabSheet";
    case ControlKind::ProgressBar:
      return "a ProgressBar";
    case ControlKind::Image:
      return "an Image";
    case ControlKind::RichText:
      return "a RichText";
  }
  return "a control";
}

void CheckOptions(ControlKind kind, const std::string& name, Options options) {
  if (options & ~AllowedOptions(kind)) {
    throw std::logic_error(name + ": option not allowed for " + KindName(kind));
  }
  if (!(options & kAnchorMask)) return;
  if (!(options & (kAnchorLeft | kAnchorRight))) {
    throw std::logic_error(name + ": anchored neither left nor right");
  }
  if (!(options & (kAnchorTop | kAnchorBottom))) {
    throw std::logic_error(name + ": anchored neither top nor bottom");
  }
}

}  // namespace

Options AllowedOptions(ControlKind kind) {
  switch (kind) {
    // A form is a window of its own: nothing places it inside another.
    case ControlKind::Form:
      return kHidden | kDisabled;
    // The tab control places its sheets and shows the active one.
    case ControlKind::TabSheet:
      return kHidden | kDisabled;
    case ControlKind::Panel:
      return kChildOptions | kLowered | kWhiteBackground;
    case ControlKind::Label:
      return kChildOptions | kBold | kWordWrap | kAutoSize | kAlignRight;
    case ControlKind::Button:
      return kChildOptions | kBold | kNoTabStop | kAutoSize;
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      return kChildOptions | kBold | kChecked | kNoTabStop;
    case ControlKind::GroupBox:
      return kChildOptions | kBold;
    case ControlKind::ListView:
    case ControlKind::TabControl:
    case ControlKind::ProgressBar:
      return kChildOptions;
    case ControlKind::Image:
      return kChildOptions | kAutoSize;
    case ControlKind::RichText:
      return kChildOptions | kVerticalScroll | kNoTabStop;
  }
  return kNoOptions;
}

Control::Control(ControlKind kind, Form* owner, Control* parent, std::string name, Rect bounds,
                 std::string caption, Options options)
    : Component(owner, std::move(name)),
      kind_(kind),
      parent_(parent),
      options_(options),
      bounds_(bounds),
      caption_(std::move(caption)),
      enabled_(!(options & kDisabled)),
      visible_(!(options & kHidden)),
      bold_(options & kBold) {
  CheckOptions(kind, Name(), options);
  if (parent_) parent_->children_.push_back(this);
}

std::vector<Control*> Control::TabOrder() const {
  std::vector<Control*> order = children_;
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->tab_rank_ < b->tab_rank_; });
  return order;
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

bool Control::Showing() const {
  return visible_ && (!parent_ || parent_->Showing());
}

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

void Control::Click() {
  OnClick.Raise();
}

void Control::MouseMove(Point at) {
  OnMouseMove.Raise(at);
}

}  // namespace ui
