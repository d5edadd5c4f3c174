#include "release/os_identity.h"

#include <gtest/gtest.h>

namespace {

using release::OsIndex;

int Identify(int platform, int major, int minor, const char* service_pack = "") {
  return static_cast<int>(release::IdentifyOS({platform, major, minor, service_pack}));
}

TEST(IdentifyOS, KnownSystems) {
  EXPECT_EQ(Identify(1, 4, 0), 0);
  EXPECT_EQ(Identify(1, 4, 10, " B"), 1);
  EXPECT_EQ(Identify(1, 4, 10, "A "), 2);
  EXPECT_EQ(Identify(1, 4, 90), 3);
  EXPECT_EQ(Identify(2, 4, 0, "Service Pack 6"), 4);
  EXPECT_EQ(Identify(2, 3, 51), 4);
  EXPECT_EQ(Identify(2, 5, 0), 5);
  EXPECT_EQ(Identify(2, 5, 1, "Service Pack 3"), 6);
  EXPECT_EQ(Identify(2, 5, 2), 7);
  EXPECT_EQ(Identify(2, 6, 0), 8);
  EXPECT_EQ(Identify(2, 6, 1, "Service Pack 1"), 9);
}

TEST(IdentifyOS, TodaysSystemsFollowWindows7) {
  EXPECT_EQ(Identify(2, 6, 2), 10);
  EXPECT_EQ(Identify(2, 6, 3), 11);
  EXPECT_EQ(Identify(2, 10, 0), 12);
}

TEST(IdentifyOS, NtVersionsAfterWindows10FollowWindows10) {
  EXPECT_EQ(Identify(2, 10, 1), 12);
  EXPECT_EQ(Identify(2, 10, 99), 12);
  EXPECT_EQ(Identify(2, 11, 0), 12);
  EXPECT_EQ(Identify(2, 12, 3), 12);
}

TEST(IdentifyOS, Windows98WithoutServicePackTextIsPlain98) {
  EXPECT_EQ(Identify(1, 4, 10, ""), 1);
  EXPECT_EQ(Identify(1, 4, 10, "a"), 1);  // the test is case-sensitive
}

TEST(IdentifyOS, EverythingElseIsUnknown) {
  EXPECT_EQ(Identify(2, 6, 4), -1);
  EXPECT_EQ(Identify(2, 7, 0), -1);
  EXPECT_EQ(Identify(2, 9, 5), -1);
  EXPECT_EQ(Identify(2, 5, 3), -1);
  EXPECT_EQ(Identify(1, 4, 1), -1);
  EXPECT_EQ(Identify(1, 10, 0), -1);  // only NT versions go on past Windows 10
  EXPECT_EQ(Identify(1, 5, 0), -1);
  EXPECT_EQ(Identify(0, 3, 10), -1);
  EXPECT_EQ(Identify(3, 5, 1), -1);
}

TEST(IdentifyOS, NamesFollowTheIndex) {
  EXPECT_EQ(release::OsName(OsIndex::Windows95), "Microsoft Windows 95");
  EXPECT_EQ(release::OsName(OsIndex::Windows98SE), "Microsoft Windows 98 SE");
  EXPECT_EQ(release::OsName(OsIndex::WindowsXP), "Microsoft Windows XP");
  EXPECT_EQ(release::OsName(OsIndex::Windows7), "Microsoft Windows 7");
  EXPECT_EQ(release::OsName(OsIndex::Windows8), "Microsoft Windows 8");
  EXPECT_EQ(release::OsName(OsIndex::Windows81), "Microsoft Windows 8.1");
  EXPECT_EQ(release::OsName(OsIndex::Windows10), "Microsoft Windows 10");
  EXPECT_EQ(release::OsName(OsIndex::Unknown), "unbekannt");
}

// The log names a system after Windows 10 by its version number, every other one as its index.
TEST(IdentifyOS, SystemNameGivesTheVersionOfSystemsAfterWindows10) {
  const auto name = [](int platform, int major, int minor) {
    return release::SystemName({platform, major, minor, ""});
  };
  EXPECT_EQ(name(2, 10, 1), "Microsoft Windows 10.1");
  EXPECT_EQ(name(2, 11, 0), "Microsoft Windows 11.0");
  EXPECT_EQ(name(2, 10, 0), "Microsoft Windows 10");
  EXPECT_EQ(name(2, 6, 1), "Microsoft Windows 7");
  EXPECT_EQ(name(1, 4, 90), "Microsoft Windows ME");
  EXPECT_EQ(name(2, 6, 4), "unbekannt");
  EXPECT_EQ(name(3, 10, 1), "unbekannt");
}

TEST(IdentifyOS, RulesOfVistaHoldForEveryLaterSystemAndNotForUnknownOnes) {
  for (const OsIndex later : {OsIndex::WindowsVista, OsIndex::Windows7, OsIndex::Windows8,
                              OsIndex::Windows81, OsIndex::Windows10}) {
    EXPECT_TRUE(release::IsVistaOrLater(later)) << static_cast<int>(later);
    EXPECT_TRUE(release::IsXpOrLater(later)) << static_cast<int>(later);
  }
  EXPECT_TRUE(release::IsXpOrLater(OsIndex::WindowsXP));
  EXPECT_FALSE(release::IsVistaOrLater(OsIndex::WindowsServer2003));
  EXPECT_FALSE(release::IsXpOrLater(OsIndex::Windows2000));
  EXPECT_FALSE(release::IsVistaOrLater(OsIndex::Unknown));
  EXPECT_FALSE(release::IsXpOrLater(OsIndex::Unknown));
}

}  // namespace
