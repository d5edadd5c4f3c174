// A top-level window: a page, a dialog or the hidden main form.
#pragma once

#include <vector>

#include "ui/button.h"
#include "ui/control.h"

namespace ui {

class Application;

// What closing a form does after its OnClose: hide it, or leave it as it is.
enum class CloseAction { Hide, None };

enum class BorderStyle { Single, Dialog, Sizeable };

struct FormStyle {
  BorderStyle border = BorderStyle::Single;
  bool system_menu = true;  // with the close box
  bool minimize_box = true;
  bool maximize_box = false;
  bool centered = false;  // centred on the screen at the first showing
  bool stay_on_top = false;
};

// A dialog frame with the close box only, centred at its first showing.
inline FormStyle DialogStyle(bool stay_on_top) {
  FormStyle style;
  style.border = BorderStyle::Dialog;
  style.minimize_box = false;
  style.centered = true;
  style.stay_on_top = stay_on_top;
  return style;
}

// What a form's taskbar button shows of a task under way (from Windows 7 on).
enum class TaskbarState { None, Normal, Error };
struct TaskbarProgress {
  TaskbarState state = TaskbarState::None;
  int percent = 0;
  bool operator==(const TaskbarProgress& other) const {
    return state == other.state && percent == other.percent;
  }
};

class Form : public Control {
 public:
  // `form_name` is the window class name under which the form can be found;
  // `bounds` holds the designed screen position and the client size.
  Form(Application& app, std::string form_name, Rect bounds, std::string caption, FormStyle style);

  Application& App() const { return app_; }
  const FormStyle& Style() const { return style_; }

  // Extended window style exactly WS_EX_APPWINDOW: a taskbar button of its own.
  bool AppWindow() const { return app_window_; }
  void SetAppWindow();

  const TaskbarProgress& Progress() const { return progress_; }
  void SetTaskbarProgress(TaskbarProgress progress);

  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  void SetPosition(int left, int top);
  // Where the user or the system moved the window; tells no peer.
  void Moved(int left, int top);

  // Makes the form visible and brings it to the front.
  void Show();
  // Moves the form to the middle of the screen.
  void CentreOnScreen();
  void Hide() { SetVisible(false); }
  // Shows the form and waits until it is hidden again, while the other
  // windows of the program take no input. Without a backend nobody can
  // answer, so it returns at once with the form still visible.
  void ShowModal();
  // Asks OnCloseQuery; when allowed runs OnClose and hides the form (unless
  // OnClose chose CloseAction::None). Closing the application's main form
  // ends the application.
  void Close();
  // Asks OnCloseQuery alone, as the end of a session does.
  bool CloseQuery();

  // The button that Escape presses, as Windows' dialogs do with their Cancel
  // button; a form without one ignores Escape.
  void SetCancelButton(Button& button) { cancel_button_ = &button; }
  // Escape: the cancel button's click, while it is showing and enabled.
  void PressCancel();

  void AddComponent(Component* component) { components_.push_back(component); }
  const std::vector<Component*>& Components() const { return components_; }

  Event<> OnCreate;
  Event<> OnShow;
  Event<bool&> OnCloseQuery;
  Event<CloseAction&> OnClose;

 private:
  Application& app_;
  FormStyle style_;
  bool app_window_ = false;
  TaskbarProgress progress_;
  bool shown_before_ = false;
  Button* cancel_button_ = nullptr;
  std::vector<Component*> components_;
};

}  // namespace ui
