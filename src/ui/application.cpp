#include "ui/application.h"

#include "platform/dialogs.h"

namespace ui {

Application::Application(platform::Dialogs& dialogs, Backend* backend)
    : dialogs_(dialogs), backend_(backend) {}

// Forms go in the reverse order of their creation, the main form last.
Application::~Application() {
  while (!forms_.empty()) forms_.pop_back();
}

void Application::SetTitle(std::string title) {
  title_ = std::move(title);
  if (backend_) backend_->SetApplicationTitle(title_);
}

void Application::HideApplicationButton() {
  if (backend_) backend_->HideApplicationButton();
}

int Application::Run() {
  if (backend_ && !terminated_) backend_->Run();
  return exit_code_;
}

void Application::RunModal(Form& form) {
  if (backend_) backend_->RunModal(form);
}

void Application::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  if (backend_) backend_->Quit();
}

void Application::Terminate(int exit_code) {
  if (terminated_) return;
  exit_code_ = exit_code;
  Terminate();
}

void Application::ShowException(const std::exception& e) {
  std::string text = e.what();
  OnErrorText.Raise(e, text);
  if (text.empty() || text.back() != '.') text += '.';
  dialogs_.ErrorBox(title_, text);
}

bool Application::QueryEndSession() {
  bool may_end = true;
  if (OnQueryEndSession.Bound()) {
    OnQueryEndSession.Raise(may_end);
  } else {
    may_end = VisibleFormsMayClose();
  }
  return may_end;
}

bool Application::VisibleFormsMayClose() {
  for (const auto& form : forms_) {
    if (form->Visible() && !form->CloseQuery()) return false;
  }
  return true;
}

void Application::FlashApplicationWindow() {
  if (backend_) backend_->FlashApplicationWindow();
}

void Application::AnimateCaption(const Form& form, const Rect& from, const Rect& to) {
  if (backend_) backend_->AnimateCaption(form, from, to);
}

Point Application::ScreenSize() const {
  return backend_ ? backend_->ScreenSize() : Point{1024, 768};
}

Point Application::OuterSize(const Form& form) const {
  return backend_ ? backend_->OuterSize(form) : Point{form.Bounds().width, form.Bounds().height};
}

}  // namespace ui
