// The release description of Data\Settings.ini: the release's texts and
// option defaults, and the numbered package table.
#pragma once

#include <string>
#include <vector>

#include "release/ini_file.h"

namespace release {

struct SetupSettings {
  std::string Name, Files, Version, Company, Website, EMail;
  std::string Image1, Image2, Image3, Image4;
  std::string OSIndex, OSCSDVersion;
  bool AutoReboot = false, Minimize = false, DeleteLogs = false, LowPriority = false,
       AllowAdvanced = false;
  std::string PreInstall, PostInstall, License;
};

struct PackageEntry {
  std::string Name, Parameters, File, Link, Logfile, Restart;
  std::string Sha256;  // the file's checksum, 64 hexadecimal digits; empty: not checked
  // The rule that tells the package installed already; empty for none.
  std::string Detect;
};

// Packages numbered 1 to 1000; entries past the release's `Files` stay empty.
class PackageTable {
 public:
  static constexpr int kCapacity = 1000;

  // Throws RangeError outside 1..1000.
  PackageEntry& operator[](int number);
  const PackageEntry& operator[](int number) const;

  // The release's packages are 1 to Count(); 0 when `Files` is 0 or less.
  int Count() const { return count_; }

 private:
  friend void LoadPackageTable(const Profile& ini, const std::string& files, PackageTable& table);

  // Made up to the highest number asked for: a release seldom has a thousand packages.
  std::vector<PackageEntry> entries_;
  int count_ = 0;
};

// n with leading zeros to three digits: 1 -> "001", 1000 -> "1000".
std::string PadKeyNumber(int n);

// The most lines a text block may have, as the most packages a release may.
constexpr int kMaxBlockLines = PackageTable::kCapacity;

// The lines of a text block, each followed by a carriage return; throws
// RangeError for a count above kMaxBlockLines.
std::string ReadTextBlock(const Profile& ini, const std::string& block);

SetupSettings LoadSettings(const Profile& ini);

// Fills entries 1 to `files` from the sections [File1], [File2], ... and
// takes `files` as the count; throws ConvertError when `files` is not an
// integer, and RangeError after filling entry 1000 when it is larger.
void LoadPackageTable(const Profile& ini, const std::string& files, PackageTable& table);

}  // namespace release
