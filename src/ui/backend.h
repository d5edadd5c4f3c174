// What the control objects need from a window system. Without a backend they
// run headless: state changes stay in the objects, and tests play the user.
#pragma once

#include <string>

#include "ui/types.h"

namespace ui {

class Application;
class Form;

class Backend {
 public:
  virtual ~Backend() = default;

  // Creates the windows of a form, its controls and its components.
  virtual void Realize(Form& form) = 0;
  // Runs the message loop until the application is terminated.
  virtual void Run() = 0;
  virtual void Quit() = 0;
  // Runs the message loop while a modal form is visible; the program's
  // other windows take no input meanwhile.
  virtual void RunModal(Form& form) = 0;

  // The application's own hidden window gets no taskbar button of its own;
  // each page window that asks for one has it (Form::SetAppWindow).
  virtual void HideApplicationButton() = 0;
  virtual void SetApplicationTitle(const std::string& title) = 0;

  // Flashes the application's taskbar entry until the program comes to the
  // front.
  virtual void FlashApplicationWindow() = 0;
  // The caption animation of a form's window between two screen rectangles.
  virtual void AnimateCaption(const Form& form, const Rect& from, const Rect& to) = 0;

  virtual Point ScreenSize() = 0;
  // Outer size of a form's window with its frame and caption.
  virtual Point OuterSize(const Form& form) = 0;
};

}  // namespace ui
