// The Detect= rules: their forms read from text, and each kind evaluated
// against the fake system, with what it reads missing or unreadable.
#include "release/detect_rule.h"

#include <gtest/gtest.h>

#include "fake_system.h"
#include "release/detector.h"

namespace {

using release::DetectRule;
using release::Finding;
using release::RuleFault;

constexpr std::uint64_t Version(std::uint64_t a, std::uint64_t b, std::uint64_t c,
                                std::uint64_t d) {
  return a << 48 | b << 32 | c << 16 | d;
}

TEST(DetectRule, EachFormIsRead) {
  const auto update = release::ParseDetectRule("kb2533623");
  EXPECT_EQ(update.fault, RuleFault::None);
  EXPECT_EQ(update.rule.kind, DetectRule::Kind::Update);
  EXPECT_EQ(update.rule.target, "KB2533623");

  const auto msi = release::ParseDetectRule("MSI:{0a1b2c3d-4E5F-6789-abcd-ef0123456789}");
  EXPECT_EQ(msi.rule.kind, DetectRule::Kind::MsiProduct);
  EXPECT_EQ(msi.rule.target, "{0A1B2C3D-4E5F-6789-ABCD-EF0123456789}");

  const auto file = release::ParseDetectRule("file:%SystemRoot%\\System32\\x.dll>=6.1.7601.24000");
  EXPECT_EQ(file.rule.kind, DetectRule::Kind::File);
  EXPECT_EQ(file.rule.target, "%SystemRoot%\\System32\\x.dll");
  EXPECT_EQ(file.rule.least_version, Version(6, 1, 7601, 24000));
  const auto short_version = release::ParseDetectRule("File:C:\\x.dll>=6.1");
  EXPECT_EQ(short_version.rule.least_version, Version(6, 1, 0, 0));
  const auto any_version = release::ParseDetectRule("file:\\\\server\\share\\x.dll");
  EXPECT_EQ(any_version.rule.target, "\\\\server\\share\\x.dll");
  EXPECT_FALSE(any_version.rule.least_version);

  const auto key = release::ParseDetectRule("reg:HKLM\\SOFTWARE\\Vendor\\Key");
  EXPECT_EQ(key.rule.kind, DetectRule::Kind::RegistryKey);
  EXPECT_EQ(key.rule.target, "SOFTWARE\\Vendor\\Key");

  const auto value =
      release::ParseDetectRule("REG:hkey_local_machine\\SOFTWARE\\Vendor\\Key\\Ver=1=2");
  EXPECT_EQ(value.rule.kind, DetectRule::Kind::RegistryValue);
  EXPECT_EQ(value.rule.target, "SOFTWARE\\Vendor\\Key");
  EXPECT_EQ(value.rule.value_name, "Ver");
  EXPECT_EQ(value.rule.data, "1=2");  // only the first "=" parts
  const auto empty_data = release::ParseDetectRule("reg:HKLM\\SOFTWARE\\Key\\Value=");
  EXPECT_EQ(empty_data.rule.kind, DetectRule::Kind::RegistryValue);
  EXPECT_EQ(empty_data.rule.data, "");
}

TEST(DetectRule, EveryMalformedFormIsNamed) {
  const std::pair<const char*, RuleFault> cases[] = {
      {"2533623", RuleFault::UnknownKind},
      {"wmi:Win32_QuickFixEngineering", RuleFault::UnknownKind},
      {"", RuleFault::UnknownKind},
      {"KB", RuleFault::BadUpdateNumber},
      {"KB25336a", RuleFault::BadUpdateNumber},
      {"KB 2533623", RuleFault::BadUpdateNumber},
      {"msi:", RuleFault::BadProductCode},
      {"msi:0A1B2C3D-4E5F-6789-ABCD-EF0123456789", RuleFault::BadProductCode},
      {"msi:{0A1B2C3D-4E5F-6789-ABCD-EF012345678G}", RuleFault::BadProductCode},
      {"msi:{0A1B2C3D4E5F-6789-ABCD-EF0123456789-}", RuleFault::BadProductCode},
      {"file:", RuleFault::BadFilePath},
      {"file:System32\\x.dll", RuleFault::BadFilePath},
      {"file:C:x.dll", RuleFault::BadFilePath},  // relative to the drive's current folder
      {"file:>=1.0", RuleFault::BadFilePath},
      {"file:C:\\x.dll>1.0", RuleFault::BadVersion},
      {"file:C:\\x.dll>=", RuleFault::BadVersion},
      {"file:C:\\x.dll>=1.2.3.4.5", RuleFault::BadVersion},
      {"file:C:\\x.dll>=1..3", RuleFault::BadVersion},
      {"file:C:\\x.dll>=65536", RuleFault::BadVersion},
      {"file:C:\\x.dll>=6.1a", RuleFault::BadVersion},
      {"reg:HKCU\\Software\\Vendor", RuleFault::NotMachineKey},
      {"reg:SOFTWARE\\Vendor", RuleFault::NotMachineKey},
      {"reg:HKLM", RuleFault::NotMachineKey},
      {"reg:HKLM\\", RuleFault::BadKeyPath},
      {"reg:HKLM\\SOFTWARE\\\\Vendor", RuleFault::BadKeyPath},
      {"reg:HKLM\\SOFTWARE\\Vendor\\", RuleFault::BadKeyPath},
      {"reg:HKLM\\Value=1", RuleFault::BadKeyPath},
      {"reg:HKLM\\SOFTWARE\\Key\\=1", RuleFault::BadKeyPath},
  };
  for (const auto& [text, fault] : cases) {
    EXPECT_EQ(release::ParseDetectRule(text).fault, fault) << text;
    EXPECT_FALSE(release::FaultText(fault).empty()) << text;
  }
}

TEST(DetectRule, VersionTextShowsTheFourParts) {
  EXPECT_EQ(release::VersionText(Version(6, 1, 7601, 24000)), "6.1.7601.24000");
  EXPECT_EQ(release::VersionText(Version(65535, 0, 0, 1)), "65535.0.0.1");
}

constexpr char kStore[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";

class Detector : public ::testing::Test {
 protected:
  Finding Evaluate(const std::string& rule, release::OsIndex os = release::OsIndex::Windows7) {
    return release::Detector(system, os).Evaluate(rule);
  }
  // A component-store package key with its CurrentState.
  void StorePackage(const std::string& name, std::uint32_t state) {
    system.machine_keys[kStore].push_back(name);
    system.machine_values[std::string(kStore) + "\\" + name]["CurrentState"] = state;
  }
  test::FakeSystem system;
};

using Result = Finding::Result;

TEST_F(Detector, UpdateIsInstalledWhenAComponentStorePackageSaysSo) {
  StorePackage("Package_for_KB2533623~31bf3856ad364e35~amd64~~6.1.1.0", 112);
  StorePackage("Package_for_KB1000~31bf3856ad364e35~amd64~~6.1.1.0", 80);  // superseded
  StorePackage("Package_1_for_KB1000~31bf3856ad364e35~amd64~~6.1.1.0", 112);
  StorePackage("Package_for_KB20000~31bf3856ad364e35~amd64~~6.1.1.0", 32);  // staged
  StorePackage("Package_for_KB300_x~31bf3856ad364e35~amd64~~6.1.1.0", 112);
  const Finding found = Evaluate("KB2533623");
  EXPECT_EQ(found.result, Result::Installed);
  EXPECT_NE(found.detail.find("Package_for_KB2533623~31bf3856ad364e35"), std::string::npos);
  EXPECT_EQ(Evaluate("KB1000").result, Result::Installed);
  EXPECT_EQ(Evaluate("KB20000").result, Result::NotInstalled);
  EXPECT_EQ(Evaluate("KB2000").result, Result::NotInstalled);  // no "~" after the name
  EXPECT_EQ(Evaluate("KB300").result, Result::NotInstalled);   // "_for_KB300_x~" is another one
  EXPECT_EQ(Evaluate("KB533623").result, Result::NotInstalled);
}

TEST_F(Detector, StoreReadOnceForEveryRule) {
  StorePackage("Package_for_KB1~31bf3856ad364e35~amd64~~6.1.1.0", 112);
  release::Detector detector(system, release::OsIndex::Windows10);
  const auto first = detector.Evaluate("KB1");
  system.machine_keys[kStore].clear();  // what was read stays read
  EXPECT_EQ(first.result, Result::Installed);
  EXPECT_EQ(detector.Evaluate("KB1").result, Result::Installed);
}

TEST_F(Detector, UnreadableStoreOrStateIsNotInstalledWithTheReason) {
  system.unreadable_keys[kStore] = "Zugriff verweigert";
  const Finding store = Evaluate("KB1");
  EXPECT_EQ(store.result, Result::Unreadable);
  EXPECT_NE(store.detail.find("Zugriff verweigert"), std::string::npos);

  system.unreadable_keys.clear();
  StorePackage("Package_for_KB1~31bf3856ad364e35~amd64~~6.1.1.0", 112);
  const std::string second = "Package_for_KB1~31bf3856ad364e35~x86~~6.1.1.0";
  system.machine_keys[kStore].insert(system.machine_keys[kStore].begin(), second);
  system.unreadable_keys[std::string(kStore) + "\\" + second] = "Zugriff verweigert";
  EXPECT_EQ(Evaluate("KB1").result, Result::Installed);  // the next key says so
  system.machine_values[std::string(kStore) + "\\Package_for_KB1~31bf3856ad364e35~amd64~~6.1.1.0"]
                       ["CurrentState"] = std::uint32_t{80};
  const Finding state = Evaluate("KB1");
  EXPECT_EQ(state.result, Result::Unreadable);
  EXPECT_NE(state.detail.find(second + "\\CurrentState: Zugriff verweigert"), std::string::npos);
}

TEST_F(Detector, UpdateOnXpAndTwoThousandIsReadFromTheUpdateRecords) {
  StorePackage("Package_for_KB1~31bf3856ad364e35~x86~~6.1.1.0", 112);  // not looked at there
  system.machine_keys["SOFTWARE\\Microsoft\\Updates"] = {"Windows XP", "DataAccess"};
  system.machine_keys["SOFTWARE\\Microsoft\\Updates\\Windows XP"] = {"SP2", "SP3"};
  system.machine_keys["SOFTWARE\\Microsoft\\Updates\\Windows XP\\SP3"] = {"KB2", "kb3"};
  system.machine_keys["SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix"] = {"KB4", "kb5"};
  for (const auto os : {release::OsIndex::WindowsXP, release::OsIndex::Windows2000}) {
    EXPECT_EQ(Evaluate("KB2", os).result, Result::Installed);
    EXPECT_EQ(Evaluate("KB3", os).result, Result::Installed);
    EXPECT_EQ(Evaluate("KB4", os).result, Result::Installed);
    EXPECT_EQ(Evaluate("KB5", os).result, Result::Installed);
    EXPECT_EQ(Evaluate("KB1", os).result, Result::NotInstalled);
  }
  EXPECT_EQ(Evaluate("KB2", release::OsIndex::WindowsVista).result, Result::NotInstalled);
}

TEST_F(Detector, MsiProductAsWindowsInstallerReportsIt) {
  const std::string code = "{0A1B2C3D-4E5F-6789-ABCD-EF0123456789}";
  system.msi_products.insert(code);
  EXPECT_EQ(Evaluate("msi:" + code).result, Result::Installed);
  EXPECT_EQ(Evaluate("msi:{0a1b2c3d-4e5f-6789-abcd-ef0123456789}").result, Result::Installed);
  EXPECT_EQ(Evaluate("msi:{11111111-4E5F-6789-ABCD-EF0123456789}").result, Result::NotInstalled);
  system.msi_failure = "msi.dll fehlt";
  const Finding failed = Evaluate("msi:" + code);
  EXPECT_EQ(failed.result, Result::Unreadable);
  EXPECT_NE(failed.detail.find("msi.dll fehlt"), std::string::npos);
}

TEST_F(Detector, FileExistsOrHasAtLeastItsVersion) {
  const std::string dll = "C:\\Windows\\System32\\example.dll";
  system.files[dll] = "MZ";
  system.file_versions[dll] = Version(6, 1, 7601, 24000);
  system.files["C:\\Tools\\plain.txt"] = "x";
  EXPECT_EQ(Evaluate("file:%SystemRoot%\\System32\\example.dll").result, Result::Installed);
  EXPECT_EQ(Evaluate("file:%systemroot%\\System32\\example.dll>=6.1.7601.24000").result,
            Result::Installed);
  EXPECT_EQ(Evaluate("file:C:\\Windows\\System32\\example.dll>=6.1.7600").result,
            Result::Installed);
  const Finding older = Evaluate("file:%SystemRoot%\\System32\\example.dll>=6.1.7601.24001");
  EXPECT_EQ(older.result, Result::NotInstalled);
  EXPECT_NE(older.detail.find("6.1.7601.24000"), std::string::npos);
  EXPECT_EQ(Evaluate("file:%SystemRoot%\\System32\\example.dll>=7").result, Result::NotInstalled);

  const Finding missing = Evaluate("file:%SystemRoot%\\System32\\gone.dll");
  EXPECT_EQ(missing.result, Result::Unreadable);
  EXPECT_NE(missing.detail.find("C:\\Windows\\System32\\gone.dll"), std::string::npos);
  EXPECT_EQ(Evaluate("file:%SystemRoot%\\System32\\gone.dll>=1.0").result, Result::Unreadable);
  EXPECT_EQ(Evaluate("file:C:\\Tools\\plain.txt>=1.0").result, Result::Unreadable);  // no version
  EXPECT_EQ(Evaluate("file:C:\\Tools\\plain.txt").result, Result::Installed);
  EXPECT_EQ(Evaluate("file:%NoSuchVariable%\\System32\\example.dll").result, Result::Unreadable);
}

TEST_F(Detector, RegistryKeyExists) {
  system.machine_keys["SOFTWARE\\Vendor"] = {"Key"};
  system.machine_values["SOFTWARE\\Vendor\\Key"]["Version"] = std::string("2.0");
  system.unreadable_keys["SOFTWARE\\Locked"] = "Zugriff verweigert";
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor").result, Result::Installed);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key").result, Result::Installed);
  const Finding missing = Evaluate("reg:HKLM\\SOFTWARE\\Other");
  EXPECT_EQ(missing.result, Result::Unreadable);
  EXPECT_NE(missing.detail.find("HKLM\\SOFTWARE\\Other"), std::string::npos);
  const Finding locked = Evaluate("reg:HKLM\\SOFTWARE\\Locked");
  EXPECT_EQ(locked.result, Result::Unreadable);
  EXPECT_NE(locked.detail.find("Zugriff verweigert"), std::string::npos);
}

TEST_F(Detector, RegistryValueHoldsTheData) {
  auto& values = system.machine_values["SOFTWARE\\Vendor\\Key"];
  values["Version"] = std::string("2.0");
  values["Empty"] = std::string();
  values["Install"] = std::uint32_t{1};
  values["Mask"] = std::uint32_t{0xFFFFFFFF};
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Version=2.0").result, Result::Installed);
  const Finding other = Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Version=2.00");
  EXPECT_EQ(other.result, Result::NotInstalled);
  EXPECT_NE(other.detail.find("\"2.0\""), std::string::npos);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Empty=").result, Result::Installed);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Install=1").result, Result::Installed);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Install=0x1").result, Result::Installed);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Install=2").result, Result::NotInstalled);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Install=one").result, Result::NotInstalled);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Mask=4294967295").result, Result::Installed);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Mask=0xffffffff").result, Result::Installed);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Mask=4294967296").result,
            Result::NotInstalled);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Missing=1").result, Result::Unreadable);
  EXPECT_EQ(Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Gone\\Version=2.0").result, Result::Unreadable);
  system.unreadable_keys["SOFTWARE\\Vendor\\Key"] = "Zugriff verweigert";
  const Finding locked = Evaluate("reg:HKLM\\SOFTWARE\\Vendor\\Key\\Version=2.0");
  EXPECT_EQ(locked.result, Result::Unreadable);
  EXPECT_NE(locked.detail.find("Zugriff verweigert"), std::string::npos);
}

TEST_F(Detector, MalformedRuleIsUnreadableWithItsFault) {
  const Finding finding = Evaluate("reg:HKCU\\Software\\Vendor");
  EXPECT_EQ(finding.result, Result::Unreadable);
  EXPECT_NE(finding.detail.find(release::FaultText(RuleFault::NotMachineKey)), std::string::npos);
}

}  // namespace
