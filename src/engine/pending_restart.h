// A restart that Windows already waits for when an installation begins:
// updates installed meanwhile by Windows Update or by hand are not complete
// before it, and packages installed on top of them may fail.
#pragma once

#include <string>

#include "engine/package_command.h"

namespace engine {

// The key under HKEY_LOCAL_MACHINE by which Windows shows that it waits for
// a restart, or the empty text when there is none. Windows keeps such keys
// from Vista on.
std::string PendingRestartKey(const SubkeyLister& subkeys);

}  // namespace engine
