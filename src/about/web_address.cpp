#include "about/web_address.h"

#include <algorithm>
#include <cctype>

namespace about {

bool HasScheme(const std::string& address) {
  const std::size_t colon = address.find("://");
  if (colon == std::string::npos || colon == 0 ||
      !std::isalpha(static_cast<unsigned char>(address[0]))) {
    return false;
  }
  return std::all_of(address.begin(), address.begin() + colon, [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
  });
}

std::string WebsiteToOpen(const std::string& address) {
  return HasScheme(address) ? address : "http://" + address;
}

}  // namespace about
