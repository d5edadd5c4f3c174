// The release's web site as the About dialog opens it.
#pragma once

#include <string>

namespace about {

// A scheme: a letter, then letters, digits, "+", "-" or ".", then "://".
bool HasScheme(const std::string& address);

// The address handed to the shell: "http://" goes in front of an address
// without a scheme of its own.
std::string WebsiteToOpen(const std::string& address);

}  // namespace about
