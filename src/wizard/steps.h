// A step that more than one wizard page takes.
#pragma once

#include "frame/page_frame.h"

namespace wizard {

// After the welcome: the method page when the release offers the choice,
// else straight into the installation.
void GoToMethodOrInstallation(frame::PageFrame& current);

}  // namespace wizard
