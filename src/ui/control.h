// The base of every visible control: its place in the tree of its form, its
// bounds, caption, font and state, and the events every control has.
#pragma once

#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/event.h"
#include "ui/types.h"

namespace ui {

enum class ControlKind {
  Form,
  Panel,
  Label,
  Button,
  CheckBox,
  RadioButton,
  GroupBox,
  ListView,
  TabControl,
  TabSheet,
  ProgressBar,
  Image,
  RichText,
};

// The options a kind of control accepts; any other fails its construction.
Options AllowedOptions(ControlKind kind);

class Control : public Component {
 public:
  ControlKind Kind() const { return kind_; }

  Control* Parent() const { return parent_; }
  const std::vector<Control*>& Children() const { return children_; }

  // Tab moves through a parent's children by rank, and in their declared
  // order within one rank: a frame's button row can come after the controls
  // that a page declares later, without changing how the children are laid out.
  int TabRank() const { return tab_rank_; }
  void SetTabRank(int rank) { tab_rank_ = rank; }
  std::vector<Control*> TabOrder() const;

  Options GetOptions() const { return options_; }
  bool Has(Options option) const { return (options_ & option) != 0; }

  // Declared bounds: for a form its screen position and client size.
  const Rect& Bounds() const { return bounds_; }
  void SetBounds(const Rect& bounds);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible and inside a visible parent.
  bool Showing() const;

  bool Bold() const { return bold_; }
  void SetBold(bool bold);
  Color FontColor() const { return font_color_; }
  void SetFontColor(Color color);
  ui::Cursor GetCursor() const { return cursor_; }
  void SetCursor(ui::Cursor cursor);

  Event<> OnClick;
  Event<Point> OnMouseMove;

  // A click by the user (or by code, as a framework's Click method): the
  // control's own reaction first, then OnClick.
  virtual void Click();
  // The mouse moved over the control, at client coordinates.
  void MouseMove(Point at);

  // For changes that come from the window itself (a label that sized itself
  // to its text) and need no mirroring.
  void StoreBounds(const Rect& bounds) { bounds_ = bounds; }

 protected:
  // Throws std::logic_error for an option `kind` does not accept and for
  // anchors that leave a direction without an edge.
  Control(ControlKind kind, Form* owner, Control* parent, std::string name, Rect bounds,
          std::string caption, Options options);

 private:
  ControlKind kind_;
  Control* parent_;
  std::vector<Control*> children_;
  int tab_rank_ = 0;
  Options options_;
  Rect bounds_;
  std::string caption_;
  bool enabled_;
  bool visible_;
  bool bold_;
  Color font_color_ = kWindowText;
  ui::Cursor cursor_ = ui::Cursor::Default;
};

}  // namespace ui
