// The addresses the About and details dialogs show as links, and what a click on one opens.
#pragma once

#include <string>

#include "frame/context.h"

namespace about {

// A scheme: a letter, then letters, digits, "+", "-" or ".", then "://".
bool HasScheme(const std::string& address);

// What a click on a shown address hands to the shell. The program runs elevated, so only web
// addresses go there: another scheme (file://, a custom protocol) could start any program that
// claims it.
struct LinkTarget {
  std::string address;  // "http://" in front of an address without a scheme of its own
  bool opens;           // false for any scheme but http:// and https://
};
LinkTarget LinkToOpen(const std::string& shown);

// Opens a web address through the shell, owned by the dialog it was clicked in; logs why any
// other address is not opened.
void OpenShownLink(frame::Context& context, const std::string& shown);

}  // namespace about
