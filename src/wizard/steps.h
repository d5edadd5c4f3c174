// A step that more than one wizard page takes.
#pragma once

#include "frame/page_frame.h"

namespace wizard {

// The licence page stands between the welcome and the method page when the
// release has a licence text.
bool ShowsLicence(const frame::Context& context);

// After the welcome: the method page when the release offers the choice,
// else straight into the installation.
void GoToMethodOrInstallation(frame::PageFrame& current);

}  // namespace wizard
