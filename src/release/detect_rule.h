// A package's Detect= rule: how the installer tells that the package is
// installed already, read from its text once. Which forms there are:
//   KB2533623                          the update as Windows records it
//   msi:{product code}                 Windows Installer knows the product installed
//   file:<path>[>=<version>]           the file exists (with at least that file version)
//   reg:HKLM\<key>                     the key exists
//   reg:HKLM\<key>\<value>=<data>      the value holds that data
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace release {

struct DetectRule {
  enum class Kind { Update, MsiProduct, File, RegistryKey, RegistryValue };
  Kind kind = Kind::Update;
  // The update's name in capitals ("KB2533623"), the product code in
  // capitals, the file's path as written, or the key under HKEY_LOCAL_MACHINE
  // ("SOFTWARE\Vendor\Key").
  std::string target;
  std::string value_name;  // RegistryValue
  std::string data;        // RegistryValue: what the value must hold
  // File: the least file version, its four parts from high to low, 16 bits each.
  std::optional<std::uint64_t> least_version;
};

// What makes a rule's text unusable.
enum class RuleFault {
  None,
  UnknownKind,      // none of KB..., msi:, file:, reg:
  BadUpdateNumber,  // "KB" without digits, or with more than digits
  BadProductCode,   // not {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} in hexadecimal digits
  BadFilePath,      // no path from a drive, a share or an environment variable
  BadVersion,       // after the path, not ">=" and one to four numbers up to 65535
  NotMachineKey,    // a key outside HKLM
  BadKeyPath,       // no key below HKLM, an empty name, no value name before "="
};

struct ParsedRule {
  DetectRule rule;
  RuleFault fault = RuleFault::None;
};

// The rule of a Detect= value; its fault when it has one. Letter case does
// not matter in the kind, the update's name and the root key.
ParsedRule ParseDetectRule(const std::string& text);

// Why a rule is unusable, for the install log.
std::string FaultText(RuleFault fault);

// "6.1.7601.24000" of a packed file version.
std::string VersionText(std::uint64_t version);

}  // namespace release
