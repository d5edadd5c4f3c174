// The installation choices live in the controls of the method and advanced
// pages; this is the one rule for counting the chosen packages.
#pragma once

#include <string>

#include "ui/list_view.h"

namespace wizard {

// Checked rows among rows 0 to Files - 1, with Files converted at each count.
int CountChosenPackages(const ui::ListView& list, const std::string& files);

}  // namespace wizard
