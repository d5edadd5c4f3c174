#include "about/web_address.h"

#include <algorithm>
#include <cctype>

#include "platform/system.h"

namespace about {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& start) {
  return text.size() >= start.size() &&
         std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

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

LinkTarget LinkToOpen(const std::string& shown) {
  if (!HasScheme(shown)) return {"http://" + shown, true};
  return {shown, StartsWithNoCase(shown, "http://") || StartsWithNoCase(shown, "https://")};
}

void OpenShownLink(frame::Context& context, const std::string& shown) {
  const LinkTarget target = LinkToOpen(shown);
  if (target.opens) {
    context.System().OpenLink(target.address);
    return;
  }
  context.Log().Write("Link nicht geöffnet: " + target.address +
                      " (nur Adressen mit http:// oder https:// werden geöffnet)");
}

}  // namespace about
