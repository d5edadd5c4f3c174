#include "ui/form.h"

#include "ui/application.h"

namespace ui {

Form::Form(Application& app, std::string form_name, Rect bounds, std::string caption,
           FormStyle style)
    : Control(ControlKind::Form, this, nullptr, std::move(form_name), bounds, std::move(caption),
              kHidden),
      app_(app),
      style_(style) {}

void Form::SetAppWindow() {
  if (app_window_) return;
  app_window_ = true;
  Changed(Change::Style);
}

void Form::SetTaskbarProgress(TaskbarProgress progress) {
  if (progress == progress_) return;
  progress_ = progress;
  Changed(Change::TaskbarProgress);
}

void Form::SetPosition(int left, int top) {
  SetBounds({left, top, Bounds().width, Bounds().height});
}

void Form::Moved(int left, int top) {
  StoreBounds({left, top, Bounds().width, Bounds().height});
}

void Form::CentreOnScreen() {
  const Point screen = app_.ScreenSize();
  const Point outer = app_.OuterSize(*this);
  SetPosition((screen.x - outer.x) / 2, (screen.y - outer.y) / 2);
}

void Form::Show() {
  if (!shown_before_ && style_.centered) CentreOnScreen();
  shown_before_ = true;
  const bool was_visible = Visible();
  SetVisible(true);
  Changed(Change::Front);
  // After coming to the front, so that a window this form opens in its
  // OnShow stays above it.
  if (!was_visible) OnShow.Raise();
}

void Form::ShowModal() {
  Show();
  app_.RunModal(*this);
}

void Form::Close() {
  if (!CloseQuery()) return;
  CloseAction action = CloseAction::Hide;
  OnClose.Raise(action);
  if (this == app_.MainForm()) {
    app_.Terminate();
  } else if (action == CloseAction::Hide) {
    Hide();
  }
}

void Form::PressCancel() {
  if (cancel_button_ && cancel_button_->Showing() && cancel_button_->Enabled())
    cancel_button_->Click();
}

bool Form::CloseQuery() {
  bool can_close = true;
  OnCloseQuery.Raise(can_close);
  return can_close;
}

}  // namespace ui
