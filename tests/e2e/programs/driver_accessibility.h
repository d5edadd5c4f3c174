// The driver command about what a screen reader finds on a form.
#pragma once

#include "driver_system.h"

namespace driver {

// accessible <form>: what a screen reader learns of every visible named control of the form
// through AccessibleObjectFromWindow, in window order: one line per control,
// "<control>|<window class>|<role>|<name>", the role as its number (ROLE_SYSTEM_*), an absent
// name as an empty one, "|<value>" added where the object has a value; a list's items follow
// it as "<control>.<n>|item|<role>|<name>".
std::wstring Accessible(const Args& args);

}  // namespace driver
