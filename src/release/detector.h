// Tells by the packages' Detect= rules which of them the system has
// installed. What several rules read is read once per run: the component
// store of Windows Vista and later holds thousands of package keys, and a
// release a thousand rules.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "release/detect_rule.h"
#include "release/os_identity.h"

namespace platform {
class System;
}

namespace release {

// What a rule found.
struct Finding {
  enum class Result {
    Installed,
    NotInstalled,  // the rule was read and does not hold
    Unreadable,    // what it reads is missing or can't be read: taken as not installed
  };
  Result result = Result::NotInstalled;
  std::string detail;  // what matched, or why it could not be read
};

// Reads through `system` and keeps what it read; for one thread at a time.
class Detector {
 public:
  Detector(platform::System& system, OsIndex os) : system_(system), os_(os) {}

  Finding Evaluate(const DetectRule& rule);
  // The rule of a Detect= value; a malformed one can't be read.
  Finding Evaluate(const std::string& text);

 private:
  Finding Update(const std::string& name);
  Finding ServicingPackage(const std::string& name);
  Finding UpdateRecord(const std::string& name);
  Finding MsiProduct(const std::string& code);
  Finding File(const DetectRule& rule);
  Finding RegistryKey(const std::string& key);
  Finding RegistryValue(const DetectRule& rule);

  // The component store's package keys by the update each is for; read at
  // the first rule that needs it.
  struct ServicingStore {
    std::map<std::string, std::vector<std::string>> packages;  // by "KB..." in capitals
    std::string failure;                                       // why the store could not be read
  };
  const ServicingStore& Store();
  // The names of the updates recorded the way of Windows XP and 2000, in capitals.
  const std::set<std::string>& Records();
  // The subkey names of a key; none when it can't be read.
  std::vector<std::string> Subkeys(const std::string& key);

  platform::System& system_;
  OsIndex os_;
  std::optional<ServicingStore> store_;
  std::optional<std::set<std::string>> records_;
};

}  // namespace release
