#include "win32/peers/window_classes.h"

#include <initializer_list>

#include "win32/base/window_class.h"
#include "win32/peers/window_peer.h"

namespace win32 {

void RegisterWindowClasses(HINSTANCE instance) {
  // Drawn whole on every resize: bevels, frames, right-aligned and stretched content.
  for (const wchar_t* name : {kContainerClass, kLabelClass, kImageClass}) {
    RegisterWindowClass(instance, {name, WindowPeer::ClassProcedure, CS_HREDRAW | CS_VREDRAW});
  }
}

}  // namespace win32
