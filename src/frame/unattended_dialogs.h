// The dialogs of a run that nobody watches (/silent, or the continuation
// after a restart): a message or an error report goes to the install log and
// the run goes on as after its OK button; a question is still asked. Watched
// runs show every dialog.
#pragma once

#include "frame/install_log.h"
#include "platform/dialogs.h"

namespace frame {

class UnattendedDialogs : public platform::Dialogs {
 public:
  UnattendedDialogs(platform::Dialogs& shown, InstallLog& log) : shown_(shown), log_(log) {}

  bool Unattended() const { return unattended_; }
  void SetUnattended(bool unattended) { unattended_ = unattended; }
  InstallLog& Log() const { return log_; }

  void ErrorBox(const std::string& caption, const std::string& text) override;
  int ShowDialog(const platform::DialogContent& content) override;

 private:
  platform::Dialogs& shown_;
  InstallLog& log_;
  bool unattended_ = false;
};

}  // namespace frame
