#include "about/about_dialog.h"

#include <gtest/gtest.h>

#include "about/web_address.h"
#include "release_fixture.h"

namespace {

class AboutDialog : public test::ReleaseFixture {
 protected:
  void StartWith(const std::string& website) {
    UseStandardRelease();
    std::string settings = system.files[Data("Settings.ini")];
    settings.insert(settings.find("Files=3"),
                    "Version=2.1\nCompany=ACME\nWebsite=" + website + "\n");
    SetSettings(settings);
    StartAndDecide();
  }
  about::TFAbout& About() { return *Pages().FAbout; }
};

TEST_F(AboutDialog, InfoFillsItAndTheWelcomePageWaits) {
  StartWith("www.example.org");
  EXPECT_EQ(About().PC1.ActivePageIndex(), 0);  // the release tab, chosen at creation
  EXPECT_EQ(About().LRName.Caption(), "[unbekannt]");
  Pages().FWillkommen->BInfo.Click();
  EXPECT_TRUE(About().Visible());
  EXPECT_FALSE(Pages().FWillkommen->Enabled());
  EXPECT_EQ(About().LRName.Caption(), "Demo Pack");
  About().BClose.Click();
  EXPECT_FALSE(About().Visible());
  EXPECT_TRUE(Pages().FWillkommen->Enabled());
  EXPECT_TRUE(About().BClose.Enabled());
}

// The release tab from the settings, the installer tab with the installer's own name and
// version, the captions from the words; a later word the file lacks keeps its built-in text.
TEST_F(AboutDialog, FillTextsTakesEveryTextFromTheRelease) {
  StartWith("www.example.org");
  about::TFAbout& about = About();
  about.FillTexts();
  EXPECT_EQ(about.Caption(), "W59 Demo Pack...");
  EXPECT_EQ(about.TSRelease.Caption(), "W60");
  EXPECT_EQ(about.LRName.Caption(), "Demo Pack");
  EXPECT_EQ(about.LRVersion.Caption(), "2.1");
  EXPECT_EQ(about.LRDeveloperT.Caption(), "W64");
  EXPECT_EQ(about.LRDeveloper.Caption(), "ACME");
  EXPECT_EQ(about.LRWebsite.Caption(), "www.example.org");
  EXPECT_EQ(about.BRReadme.Caption(), "W62");
  EXPECT_EQ(about.TSInstaller.Caption(), "W61");
  EXPECT_EQ(about.LProgrammName.Caption(), "Melvane Installer");
  EXPECT_EQ(about.LVersion.Caption(), " 2.04.01e");
  EXPECT_EQ(about.Label2.Caption(), "Ein Installationsprogramm für Update-Pakete.");
  EXPECT_EQ(about.LWebsite.Caption(), "http://installer.invalid");
  EXPECT_EQ(about.BClose.Caption(), "W63");
  EXPECT_FALSE(about.Visible());  // filling shows nothing
}

TEST(LinkToOpen, OnlyWebAddressesOpenAndAnAddressWithoutSchemeGetsHttp) {
  struct Case {
    const char* shown;
    const char* address;
    bool opens;
  };
  for (const Case& c :
       {Case{"https://www.example.org", "https://www.example.org", true},
        Case{"HTTP://www.example.org", "HTTP://www.example.org", true},
        Case{"www.example.org", "http://www.example.org", true},
        Case{"example.org/a://b", "http://example.org/a://b", true},
        Case{"://x", "http://://x", true},
        Case{"ftp://files.example.org", "ftp://files.example.org", false},
        Case{"file://C:/Windows/System32/calc.exe", "file://C:/Windows/System32/calc.exe", false},
        Case{"ms-settings://windowsupdate", "ms-settings://windowsupdate", false},
        Case{"https.evil://x", "https.evil://x", false}}) {
    const about::LinkTarget target = about::LinkToOpen(c.shown);
    EXPECT_EQ(target.address, c.address) << c.shown;
    EXPECT_EQ(target.opens, c.opens) << c.shown;
  }
}

// Escape closes the dialog as its close button does; on the welcome page it
// does nothing, not even ask whether to cancel.
TEST_F(AboutDialog, EscapeClosesTheDialogButNotTheWelcomePage) {
  StartWith("www.example.org");
  Pages().FWillkommen->BInfo.Click();
  About().PressCancel();
  EXPECT_FALSE(About().Visible());
  EXPECT_TRUE(Pages().FWillkommen->Enabled());
  Pages().FWillkommen->PressCancel();
  EXPECT_TRUE(Pages().FWillkommen->Visible());
  EXPECT_TRUE(dialogs.contents.empty());
}

TEST_F(AboutDialog, WebsiteGetsTheHttpPrefixOnlyWithoutASchemeOfItsOwn) {
  StartWith("https://www.example.org");
  Pages().FWillkommen->BInfo.Click();
  About().LRWebsite.MouseMove({1, 1});
  EXPECT_EQ(About().LRWebsite.FontColor(), ui::kRed);
  About().TSRelease.MouseMove({100, 100});
  EXPECT_EQ(About().LRWebsite.FontColor(), ui::kBlue);
  for (const char* address : {"https://www.example.org", "ftp://files.example.org",
                              "www.example.org", "example.org/a://b", "://x"}) {
    About().LRWebsite.SetCaption(address);
    About().LRWebsite.Click();
  }
  EXPECT_EQ(system.links_opened,
            (std::vector<std::string>{"https://www.example.org", "http://www.example.org",
                                      "http://example.org/a://b", "http://://x"}));
  EXPECT_NE(system.files[log.Path()].find(
                "Link nicht geöffnet: ftp://files.example.org (nur Adressen mit http:// oder "
                "https:// werden geöffnet)"),
            std::string::npos);
}

TEST_F(AboutDialog, ReadmeOpensInNotepadBesideTheProgram) {
  StartWith("x");
  Pages().FWillkommen->BInfo.Click();
  About().BRReadme.Click();
  ASSERT_EQ(system.programs_started.size(), 1u);
  EXPECT_EQ(system.programs_started[0].first, "C:\\Windows\\Notepad.exe");
  EXPECT_EQ(system.programs_started[0].second,
            "\"C:\\Windows\\Notepad.exe\" \"C:\\Release\\Readme.txt\"");
}

TEST_F(AboutDialog, MissingIconIsReportedAndTheInstallerTabStays) {
  UseStandardRelease();
  system.files.erase(Data("Icon.ico"));
  StartAndDecide();
  ASSERT_EQ(dialogs.error_boxes.size(), 1u);
  EXPECT_EQ(dialogs.error_boxes[0].text,
            "Datei C:\\Release\\Data\\Icon.ico kann nicht geöffnet werden.");
  EXPECT_EQ(About().PC1.ActivePageIndex(), 1);
}

}  // namespace
