// The program's own message and question dialog, the form "TMessageForm": an
// icon, a text wrapped at half the screen's width, a row of buttons. A form of
// the control layer like every other window: the backend's modal loop shows
// it, and its keys are the form's (Enter presses the focused button, Escape
// the button of escape_result).
#pragma once

#include "platform/dialogs.h"
#include "ui/application.h"

namespace win32 {

class UiBackend;

// Shows the dialog modally, centred on the screen, while the program's other
// windows take no input; returns the result of the answer, escape_result when
// the dialog was closed.
int ShowMessageForm(ui::Application& app, UiBackend& backend,
                    const platform::DialogContent& content);

}  // namespace win32
