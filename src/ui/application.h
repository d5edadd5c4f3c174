// The application: its title, its forms in the order of their creation, the
// message loop, and the error report for errors that escape a handler.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/backend.h"
#include "ui/form.h"

namespace platform {
class Dialogs;
}

namespace ui {

class Application {
 public:
  explicit Application(platform::Dialogs& dialogs, Backend* backend = nullptr);
  ~Application();

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);
  // The application's hidden window leaves the taskbar to the pages.
  void HideApplicationButton();

  // Creates a form, runs its OnCreate under the error report, then gives it
  // windows. The first form created is the main form.
  template <typename F, typename... Args>
  F& CreateForm(Args&&... args) {
    auto form = std::make_unique<F>(std::forward<Args>(args)...);
    F& created = *form;
    forms_.push_back(std::move(form));
    if (!main_form_) main_form_ = &created;
    Guard([&] { created.OnCreate.Raise(); });
    if (backend_) backend_->Realize(created);
    return created;
  }

  Form* MainForm() const { return main_form_; }

  // Runs the message loop until Terminate; returns the exit code.
  int Run();
  // Ends the message loop with the exit code set last (0 unless set).
  void Terminate();
  void Terminate(int exit_code);
  void SetExitCode(int exit_code) { exit_code_ = exit_code; }
  // The message loop of a modal form; returns when the form is hidden.
  void RunModal(Form& form);
  bool Terminated() const { return terminated_; }
  int ExitCode() const { return exit_code_; }

  // Runs an event from outside (a window message, a timer, a form's
  // creation); an error that escapes it is shown by ShowException.
  template <typename Action>
  void Guard(Action&& action) {
    try {
      action();
    } catch (const std::exception& e) {
      ShowException(e);
    }
  }

  // The error report: the text with a full stop, the title as caption.
  void ShowException(const std::exception& e);
  // The report's text of an error, when bound: it may say in the
  // release's words what the error says itself.
  Event<const std::exception&, std::string&> OnErrorText;

  // The end of the session (a log-off, a restart), asked once for the whole
  // program: OnQueryEndSession decides when bound, else every visible form's
  // close query; true lets the session end.
  bool QueryEndSession();
  bool VisibleFormsMayClose();
  // Another program refused the end of the session that this one agreed to.
  void SessionEndCancelled() { OnSessionEndCancelled.Raise(); }
  // The session ends now: the program has its last word (the exit code).
  void SessionEnds() { OnSessionEnds.Raise(); }
  Event<bool&> OnQueryEndSession;
  Event<> OnSessionEndCancelled;
  Event<> OnSessionEnds;

  void FlashApplicationWindow();
  // Screen rectangles as left, top, width, height.
  void AnimateCaption(const Form& form, const Rect& from, const Rect& to);

  Point ScreenSize() const;
  Point OuterSize(const Form& form) const;

 private:
  platform::Dialogs& dialogs_;
  Backend* backend_;
  std::string title_;
  std::vector<std::unique_ptr<Form>> forms_;
  Form* main_form_ = nullptr;
  bool terminated_ = false;
  int exit_code_ = 0;
};

}  // namespace ui
