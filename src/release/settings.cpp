#include "release/settings.h"

#include "release/errors.h"
#include "release/integer_text.h"

namespace release {

PackageEntry& PackageTable::operator[](int number) {
  if (number < 1 || number > kCapacity) throw RangeError();
  if (static_cast<std::size_t>(number) > entries_.size()) entries_.resize(number);
  return entries_[number - 1];
}

const PackageEntry& PackageTable::operator[](int number) const {
  static const PackageEntry kEmpty;
  if (number < 1 || number > kCapacity) throw RangeError();
  return static_cast<std::size_t>(number) > entries_.size() ? kEmpty : entries_[number - 1];
}

std::string PadKeyNumber(int n) {
  std::string text;
  if (n < 100) text += '0';
  if (n < 10) text += '0';
  return text + std::to_string(n);
}

std::string ReadTextBlock(const Profile& ini, const std::string& block) {
  const int count = ini.ReadInteger("Lines", block, 0);
  if (count > kMaxBlockLines) throw RangeError();
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += ini.ReadString(block, "Line" + PadKeyNumber(i), "");
    text += '\r';
  }
  return text;
}

SetupSettings LoadSettings(const Profile& ini) {
  SetupSettings s;
  s.PreInstall = ReadTextBlock(ini, "PreInstall");
  s.PostInstall = ReadTextBlock(ini, "PostInstall");
  s.License = ReadTextBlock(ini, "License");

  s.Name = ini.ReadString("Main", "Name", "");
  s.Files = ini.ReadString("Main", "Files", "");
  s.Version = ini.ReadString("Main", "Version", "");
  s.Company = ini.ReadString("Main", "Company", "");
  s.Website = ini.ReadString("Main", "Website", "");
  s.EMail = ini.ReadString("Main", "EMail", "");
  s.Image1 = ini.ReadString("Images", "Image1", "");
  s.Image2 = ini.ReadString("Images", "Image2", "");
  s.Image3 = ini.ReadString("Images", "Image3", "");
  s.Image4 = ini.ReadString("Images", "Image4", "");
  s.OSIndex = ini.ReadString("Main", "OSIndex", "");
  s.OSCSDVersion = ini.ReadString("Main", "OSCSDVersion", "");

  s.AutoReboot = ini.ReadBool("Defaults", "AutoReboot", false);
  s.Minimize = ini.ReadBool("Defaults", "Minimize", false);
  s.DeleteLogs = ini.ReadBool("Defaults", "DeleteLogs", false);
  s.LowPriority = ini.ReadBool("Defaults", "LowPriority", false);
  s.AllowAdvanced = ini.ReadBool("Defaults", "AllowAdvanced", false);
  return s;
}

void LoadPackageTable(const Profile& ini, const std::string& files, PackageTable& table) {
  const int count = StrToInt(files);
  for (int i = 1; i <= count; ++i) {
    const std::string section = "File" + std::to_string(i);
    PackageEntry& entry = table[i];
    entry.Name = ini.ReadString(section, "Name", "");
    entry.Parameters = ini.ReadString(section, "Parameters", "");
    entry.File = ini.ReadString(section, "File", "");
    entry.Link = ini.ReadString(section, "Link", "");
    entry.Logfile = ini.ReadString(section, "Logfile", "");
    entry.Restart = ini.ReadString(section, "Restart", "");
    entry.Sha256 = ini.ReadString(section, "Sha256", "");
    entry.Detect = ini.ReadString(section, "Detect", "");
  }
  table.count_ = count > 0 ? count : 0;
}

}  // namespace release
