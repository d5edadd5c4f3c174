#include "frame/unattended_dialogs.h"

namespace frame {

namespace {

// A dialog with one button tells; one with more asks.
bool IsQuestion(const platform::DialogContent& content) {
  return content.buttons.size() > 1;
}

}  // namespace

void UnattendedDialogs::ErrorBox(const std::string& caption, const std::string& text) {
  if (!unattended_) return shown_.ErrorBox(caption, text);
  log_.Write("Fehler (nicht angezeigt): " + text);
}

int UnattendedDialogs::ShowDialog(const platform::DialogContent& content) {
  if (!unattended_ || IsQuestion(content)) return shown_.ShowDialog(content);
  log_.Write(content.caption + " (nicht angezeigt): " + content.text);
  return content.default_result;
}

}  // namespace frame
