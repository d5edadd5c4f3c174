#include "engine/package_command.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/size_text.h"

namespace {

using release::OsIndex;

using engine::BuildCommandLine;

const engine::SystemInstallers kInstallers{"C:\\Windows\\system32\\msiexec.exe",
                                           "C:\\Windows\\system32\\wusa.exe"};

TEST(PackageCommand, KindComesFromTheExtensionAlone) {
  EXPECT_EQ(engine::KindOf("C:\\x\\setup.EXE"), engine::PackageKind::Exe);
  EXPECT_EQ(engine::KindOf("C:\\x\\a.Msi"), engine::PackageKind::Msi);
  EXPECT_EQ(engine::KindOf("C:\\x\\b.msu"), engine::PackageKind::Msu);
  EXPECT_EQ(engine::KindOf("C:\\Updates.msi\\tool.exe"), engine::PackageKind::Exe);
  EXPECT_EQ(engine::KindOf("C:\\x\\tool.msi.exe"), engine::PackageKind::Exe);
  // A folder's name never decides the kind, whichever kind it names.
  EXPECT_EQ(engine::KindOf("C:\\x.exe\\p.msi"), engine::PackageKind::Msi);
  EXPECT_EQ(engine::KindOf("C:\\x.msi\\p.msu"), engine::PackageKind::Msu);
  EXPECT_EQ(engine::KindOf("C:\\x\\readme.txt"), engine::PackageKind::Other);
  EXPECT_EQ(engine::KindOf("C:\\x\\exe"), engine::PackageKind::Other);
}

TEST(PackageCommand, CommandLinesPerKindAndSystem) {
  EXPECT_EQ(BuildCommandLine("C:\\S\\Data\\a.exe", "/q", OsIndex::WindowsXP, kInstallers),
            "\"C:\\S\\Data\\a.exe\" /q");
  EXPECT_EQ(BuildCommandLine("C:\\S\\Data\\a.exe", "", OsIndex::Windows7, kInstallers),
            "\"C:\\S\\Data\\a.exe\" ");
  EXPECT_EQ(BuildCommandLine("C:\\S\\Data\\b.msi", "/qn", OsIndex::Windows2000, kInstallers),
            "\"C:\\Windows\\system32\\msiexec.exe\" /i \"C:\\S\\Data\\b.msi\" /qn");
  EXPECT_EQ(BuildCommandLine("C:\\S\\Data\\c.msu", "/quiet", OsIndex::WindowsVista, kInstallers),
            "\"C:\\Windows\\system32\\wusa.exe\" \"C:\\S\\Data\\c.msu\" /quiet");
  for (const OsIndex later : {OsIndex::Windows8, OsIndex::Windows81, OsIndex::Windows10}) {
    EXPECT_EQ(BuildCommandLine("C:\\S\\Data\\c.msu", "/quiet", later, kInstallers),
              "\"C:\\Windows\\system32\\wusa.exe\" \"C:\\S\\Data\\c.msu\" /quiet");
  }
  EXPECT_EQ(BuildCommandLine("C:\\S\\Data\\c.msu", "/quiet", OsIndex::WindowsXP, kInstallers), "");
  EXPECT_EQ(BuildCommandLine("C:\\S\\Data\\c.msu", "/quiet", OsIndex::Unknown, kInstallers), "");
  EXPECT_EQ(BuildCommandLine("C:\\S\\Data\\d.zip", "", OsIndex::Windows7, kInstallers), "");
}

TEST(PackageLog, MsiGetsAVerboseLogUnlessItsParametersAskForOne) {
  const std::string folder = "C:\\Meine Protokolle";
  const engine::LoggedParameters added =
      engine::AddPackageLog("C:\\S\\Data\\Unter\\Paket.msi", "/qn", folder);
  EXPECT_EQ(added.parameters, "/qn /l*v \"C:\\Meine Protokolle\\Paket.msi.log\"");
  EXPECT_EQ(added.log_path, "C:\\Meine Protokolle\\Paket.msi.log");
  EXPECT_EQ(engine::AddPackageLog("C:\\S\\a.MSI", "", folder).parameters,
            "/l*v \"C:\\Meine Protokolle\\a.MSI.log\"");
  // A switch that begins a word, in any letter case; a "/l" inside a value is none.
  EXPECT_EQ(engine::AddPackageLog("C:\\S\\a.msi", "/qn TARGETDIR=C:/lib", folder).log_path,
            "C:\\Meine Protokolle\\a.msi.log");
  for (const char* own :
       {"/qn /l*v C:\\x.log", "/L*V C:\\x.log /qn", "/qn\t/log x.log", "/qn \"/lv\" x.log"}) {
    const engine::LoggedParameters kept = engine::AddPackageLog("C:\\S\\a.msi", own, folder);
    EXPECT_EQ(kept.parameters, own);
    EXPECT_EQ(kept.log_path, "") << own;
  }
}

TEST(PackageLog, MsuGetsAnEventLogUnlessItsParametersAskForOne) {
  const std::string folder = "C:\\Meine Protokolle";
  const engine::LoggedParameters added =
      engine::AddPackageLog("C:\\S\\Data\\KB1.msu", "/quiet /norestart", folder);
  EXPECT_EQ(added.parameters, "/quiet /norestart /log:\"C:\\Meine Protokolle\\KB1.msu.evtx\"");
  EXPECT_EQ(added.log_path, "C:\\Meine Protokolle\\KB1.msu.evtx");
  // wusa.exe has no "/l": only "/log" is its own.
  EXPECT_EQ(engine::AddPackageLog("C:\\S\\KB1.msu", "/quiet /l", folder).log_path,
            "C:\\Meine Protokolle\\KB1.msu.evtx");
  for (const char* own : {"/quiet /log:C:\\x.evtx", "/quiet /LOG:C:\\x.evtx"}) {
    const engine::LoggedParameters kept = engine::AddPackageLog("C:\\S\\KB1.msu", own, folder);
    EXPECT_EQ(kept.parameters, own);
    EXPECT_EQ(kept.log_path, "") << own;
  }
}

TEST(PackageLog, OtherKindsAreLeftAlone) {
  for (const char* path : {"C:\\S\\setup.exe", "C:\\S\\readme.txt"}) {
    const engine::LoggedParameters kept = engine::AddPackageLog(path, "/q", "C:\\Logs");
    EXPECT_EQ(kept.parameters, "/q");
    EXPECT_EQ(kept.log_path, "") << path;
  }
}

TEST(PackageCommand, LongPathsAndParametersKeepTheirFullLength) {
  const std::string path = "C:\\" + std::string(300, 'p') + "\\setup.exe";
  const std::string parameters(400, 'x');
  EXPECT_EQ(BuildCommandLine(path, parameters, OsIndex::Windows7, kInstallers),
            "\"" + path + "\" " + parameters);
}

TEST(PackageCommand, EveryPlaceholderIsReplacedInAnyCase) {
  EXPECT_TRUE(engine::UsesTemporaryFolder("/log:{TMP}\\a.log"));
  EXPECT_TRUE(engine::UsesTemporaryFolder("{tMp}"));
  EXPECT_FALSE(engine::UsesTemporaryFolder("/quiet {tmp"));
  EXPECT_EQ(engine::ReplaceTemporaryFolder("/quiet /log:{TMP}\\a.log /x {tmp}\\b",
                                           "C:\\Setup\\data\\setuptemp"),
            "/quiet /log:C:\\Setup\\data\\setuptemp\\a.log /x C:\\Setup\\data\\setuptemp\\b");
  EXPECT_EQ(engine::ReplaceTemporaryFolder("none", "C:\\t"), "none");
  EXPECT_EQ(engine::ReplaceTemporaryFolder("{tmp}{tmp}", "T"), "TT");
}

TEST(PackageCommand, OnlyWindowsXpLooksForTheRecordedIe7) {
  std::map<std::string, std::vector<std::string>> registry = {
      {"SOFTWARE\\Microsoft\\Updates\\Windows XP", {"SP3", "SP4"}},
      {"SOFTWARE\\Microsoft\\Updates\\Windows XP\\SP3", {"KB1"}},
      {"SOFTWARE\\Microsoft\\Updates\\Windows XP\\SP4", {"Ie7", "KB2"}},
  };
  int searches = 0;
  const engine::SubkeyLister lister = [&](const std::string& key) {
    ++searches;
    const auto it = registry.find(key);
    return it == registry.end() ? std::vector<std::string>{} : it->second;
  };
  const std::string ie7 = "C:\\S\\Data\\IE7-WindowsXP-x86-deu.exe";
  EXPECT_TRUE(engine::RecordedAsInstalled(ie7, OsIndex::WindowsXP, lister));
  EXPECT_FALSE(engine::RecordedAsInstalled("C:\\S\\Data\\WindowsXP-KB1-x86-DEU.exe",
                                           OsIndex::WindowsXP, lister));
  searches = 0;
  EXPECT_FALSE(engine::RecordedAsInstalled(ie7, OsIndex::WindowsVista, lister));
  EXPECT_EQ(searches, 0);
  registry.erase("SOFTWARE\\Microsoft\\Updates\\Windows XP\\SP4");
  EXPECT_FALSE(engine::RecordedAsInstalled(ie7, OsIndex::WindowsXP, lister));
  registry["SOFTWARE\\Microsoft\\Updates\\Windows XP\\SP3"] = {
      "IE7"};  // a group before one without
  EXPECT_TRUE(engine::RecordedAsInstalled(ie7, OsIndex::WindowsXP, lister));
}

TEST(PackageCommand, OnlyLogNamesInsideTheWindowsFolderArePlain) {
  for (const char* plain : {"KB1.log", "Logs\\KB1.log", "a/b.log", "..x.log", "x..\\y.log"}) {
    EXPECT_TRUE(engine::IsPlainLogName(plain)) << plain;
  }
  for (const char* other :
       {"", "C:\\KB1.log", "\\KB1.log", "/KB1.log", "..\\KB1.log", "Logs\\..\\..\\x.log",
        "Logs/../x.log", "\\\\server\\share\\x.log", "D:x.log"}) {
    EXPECT_FALSE(engine::IsPlainLogName(other)) << other;
  }
}

TEST(SizeText, TwoDecimalsWithLocaleSeparatorsAndUnits) {
  const engine::NumberSeparators german;
  EXPECT_EQ(engine::FormatSize(0, german), "0,00 Bytes");
  EXPECT_EQ(engine::FormatSize(123, german), "123,00 Bytes");
  EXPECT_EQ(engine::FormatSize(512ull << 10, german), "512,00 KB");
  EXPECT_EQ(engine::FormatSize(1023, german), "1.023,00 Bytes");
  EXPECT_EQ(engine::FormatSize(1024, german), "1,00 KB");
  EXPECT_EQ(engine::FormatSize(1234567, german), "1,18 MB");
  EXPECT_EQ(engine::FormatSize(3ull << 30, german), "3,00 GB");
  EXPECT_EQ(engine::FormatSize(5000ull << 30, german), "5.000,00 GB");
  EXPECT_EQ(engine::FormatSize(1234567, {",", "."}), "1.18 MB");
}

}  // namespace
