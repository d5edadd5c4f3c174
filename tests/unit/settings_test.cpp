#include "release/settings.h"

#include <gtest/gtest.h>

#include "release/errors.h"

namespace {

using release::IniFile;
using release::PackageTable;

TEST(PadKeyNumber, PadsToThreeDigits) {
  EXPECT_EQ(release::PadKeyNumber(1), "001");
  EXPECT_EQ(release::PadKeyNumber(42), "042");
  EXPECT_EQ(release::PadKeyNumber(100), "100");
  EXPECT_EQ(release::PadKeyNumber(1000), "1000");
}

TEST(ReadTextBlock, JoinsLinesWithCarriageReturns) {
  const auto ini = IniFile::Parse(
      "[Lines]\nLicense=3\nPreInstall=0\nPostInstall=-2\n"
      "[License]\nLine001=first\nLine003=third\n"
      "[PreInstall]\nLine001=never read\n"
      "[Orphan]\nLine001=no count\n");
  EXPECT_EQ(release::ReadTextBlock(ini, "License"), "first\r\rthird\r");
  EXPECT_EQ(release::ReadTextBlock(ini, "PreInstall"), "");
  EXPECT_EQ(release::ReadTextBlock(ini, "PostInstall"), "");
  EXPECT_EQ(release::ReadTextBlock(ini, "Orphan"), "");
}

TEST(ReadTextBlock, LineKeysCarryAtLeastThreeDigits) {
  const auto ini = IniFile::Parse(
      "[Lines]\nBlock=1000\n[Block]\nLine7=short key\nLine007=seven\nLine1000=last\n");
  const std::string text = release::ReadTextBlock(ini, "Block");
  EXPECT_EQ(text, std::string(6, '\r') + "seven" + std::string(993, '\r') + "last\r");
}

TEST(ReadTextBlock, CountAboveThousandIsARangeErrorNotAHang) {
  for (const char* count : {"1001", "2000000000", "0x7FFFFFFF"}) {
    const auto ini = IniFile::Parse("[Lines]\nPreInstall=" + std::string(count) + "\n");
    EXPECT_THROW(release::ReadTextBlock(ini, "PreInstall"), release::RangeError) << count;
    EXPECT_THROW(release::LoadSettings(ini), release::RangeError) << count;
  }
}

TEST(LoadSettings, ReadsEveryKey) {
  const auto ini = IniFile::Parse(
      "[Main]\nName=Update Pack\nFiles=2\nVersion=1.2\nCompany=ACME\nWebsite=http://x\n"
      "EMail=a@b\nOSIndex=6\nOSCSDVersion=Service Pack 3\n"
      "[Images]\nImage1=a.bmp\nImage2=b.bmp\nImage3=c.bmp\nImage4=d.bmp\n"
      "[Defaults]\nAutoReboot=1\nMinimize=yes\nDeleteLogs=0x1\nLowPriority=2\nAllowAdvanced=0\n"
      "[Lines]\nPreInstall=1\nPostInstall=2\nLicense=1\n"
      "[PreInstall]\nLine001=Hallo\n[PostInstall]\nLine001=Fertig\nLine002=!\n"
      "[License]\nLine001=GPL\n");
  const release::SetupSettings s = release::LoadSettings(ini);
  EXPECT_EQ(s.Name, "Update Pack");
  EXPECT_EQ(s.Files, "2");
  EXPECT_EQ(s.Version, "1.2");
  EXPECT_EQ(s.Company, "ACME");
  EXPECT_EQ(s.Website, "http://x");
  EXPECT_EQ(s.EMail, "a@b");
  EXPECT_EQ(s.OSIndex, "6");
  EXPECT_EQ(s.OSCSDVersion, "Service Pack 3");
  EXPECT_EQ(s.Image1 + s.Image2 + s.Image3 + s.Image4, "a.bmpb.bmpc.bmpd.bmp");
  EXPECT_TRUE(s.AutoReboot);
  EXPECT_FALSE(s.Minimize);
  EXPECT_TRUE(s.DeleteLogs);
  EXPECT_TRUE(s.LowPriority);
  EXPECT_FALSE(s.AllowAdvanced);
  EXPECT_EQ(s.PreInstall, "Hallo\r");
  EXPECT_EQ(s.PostInstall, "Fertig\r!\r");
  EXPECT_EQ(s.License, "GPL\r");
}

TEST(LoadSettings, MissingFileGivesDefaults) {
  const release::SetupSettings s = release::LoadSettings(IniFile());
  EXPECT_EQ(s.Name, "");
  EXPECT_EQ(s.Files, "");
  EXPECT_FALSE(s.AutoReboot || s.Minimize || s.DeleteLogs || s.LowPriority || s.AllowAdvanced);
  EXPECT_EQ(s.PreInstall + s.PostInstall + s.License, "");
}

TEST(PackageTable, IsNumberedFromOneToThousand) {
  PackageTable table;
  table[1].Name = "first";
  table[1000].Name = "last";
  EXPECT_EQ(table[1].Name, "first");
  EXPECT_EQ(table[1000].Name, "last");
  EXPECT_THROW(table[0], release::RangeError);
  EXPECT_THROW(table[1001], release::RangeError);
}

TEST(LoadPackageTable, FillsEntriesOneToFiles) {
  const auto ini = IniFile::Parse(
      "[File1]\nName=One\nParameters=/q {tmp}\nFile=one.exe\nLink=http://1\nLogfile=one.log\n"
      "Restart=1\n"
      "[File3]\nName=Three\nFile=three.msi\n"
      "[File007]\nName=padded\n"
      "[File4]\nName=beyond Files\n");
  PackageTable table;
  release::LoadPackageTable(ini, "3", table);
  const release::PackageEntry& one = table[1];
  EXPECT_EQ(one.Name, "One");
  EXPECT_EQ(one.Parameters, "/q {tmp}");
  EXPECT_EQ(one.File, "one.exe");
  EXPECT_EQ(one.Link, "http://1");
  EXPECT_EQ(one.Logfile, "one.log");
  EXPECT_EQ(one.Restart, "1");
  const release::PackageEntry& two = table[2];
  EXPECT_EQ(two.Name + two.Parameters + two.File + two.Link + two.Logfile + two.Restart, "");
  EXPECT_EQ(table[3].File, "three.msi");
  EXPECT_EQ(table[4].Name, "");
}

TEST(LoadPackageTable, SectionsCarryNoLeadingZeros) {
  const auto ini = IniFile::Parse("[File007]\nName=padded\n[File7]\nName=plain\n");
  PackageTable table;
  release::LoadPackageTable(ini, "7", table);
  EXPECT_EQ(table[7].Name, "plain");
}

TEST(LoadPackageTable, ZeroOrNegativeCountLeavesTheTableEmpty) {
  const auto ini = IniFile::Parse("[File1]\nName=One\n");
  for (const char* files : {"0", "-4"}) {
    PackageTable table;
    release::LoadPackageTable(ini, files, table);
    EXPECT_EQ(table[1].Name, "") << files;
    EXPECT_EQ(table.Count(), 0) << files;
  }
}

TEST(LoadPackageTable, CountThatIsNoIntegerFailsWithItsText) {
  PackageTable table;
  for (const std::string files : {"abc", "", "3 "}) {
    try {
      release::LoadPackageTable(IniFile(), files, table);
      ADD_FAILURE() << "no error for '" << files << "'";
    } catch (const release::ConvertError& e) {
      EXPECT_EQ(e.what(), "'" + files + "' ist kein gültiger Integerwert");
    }
  }
}

TEST(LoadPackageTable, CountAboveThousandFailsAfterFillingTheTable) {
  std::string text;
  for (int i = 1; i <= 1001; ++i)
    text += "[File" + std::to_string(i) + "]\nName=P" + std::to_string(i) + "\n";
  const auto ini = IniFile::Parse(text);
  PackageTable table;
  try {
    release::LoadPackageTable(ini, "1001", table);
    FAIL() << "no error";
  } catch (const release::RangeError& e) {
    EXPECT_STREQ(e.what(), "Fehler bei Bereichsprüfung");
  }
  EXPECT_EQ(table[1].Name, "P1");
  EXPECT_EQ(table[1000].Name, "P1000");
}

}  // namespace
