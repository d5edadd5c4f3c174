// Texts as releases write them, shown as written: an '&' in a link, a package's name and file,
// the welcome text, the distributor and the web site is a character, not an access key; a
// long download link wraps within the details dialog; and the buttons of the About and details
// dialogs fit words longer than "OK" and "Readme" (the tests' words 62 and 63). Read from the
// screen, since a label's window text says what it holds, not what it drew.
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "harness/install_test.h"

namespace e2e {
namespace {

const std::string kAmpersandLink = "https://example.org/kb?id=1&lang=de";

// 120 characters without a blank, as download links are.
std::string LongLink() {
  std::string link =
      "https://download.example.org/pub/updates/windows6.1-kb4012212-x64?id=4012212&"
      "lang=de-de&file=";
  link.append(120 - link.size(), 'a');
  return link;
}

class ReleaseTexts : public InstallTest {
 protected:
  // Two packages with an '&' in the first one's file, name and link and a long link of the
  // second; '&' in the welcome text, the distributor and the web site.
  fs::path MakeRelease() {
    InstallRelease release;
    release.texts.allow_advanced = true;
    release.texts.pre_install = {"Updates für Büro & Verwaltung"};
    release.packages = {{"KB1&2.exe", "/q"}, {"KB3.exe", "/q"}};
    const fs::path exe =
        MakeInstallRelease(work_dir() / "release", release, probe(), work_dir() / "journal.txt");
    const fs::path settings = work_dir() / "release" / "Data" / "Settings.ini";
    std::string text = ReadFile(settings);
    Replace(text, "Link=" + PackageLink(1), "Link=" + kAmpersandLink);
    Replace(text, "Link=" + PackageLink(2), "Link=" + LongLink());
    ReplaceLine(text, "Company=", "Schmidt & Partner");
    ReplaceLine(text, "Website=", "https://example.org/?a=1&b=2");
    std::ofstream(settings, std::ios::binary) << text;
    return exe;
  }

  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  }
  // The value of the line that starts with `key`, whatever its encoding.
  static void ReplaceLine(std::string& text, const std::string& key, const std::string& value) {
    const std::size_t at = text.find("\n" + key);
    ASSERT_NE(at, std::string::npos) << key;
    const std::size_t start = at + 1 + key.size();
    text.replace(start, text.find('\r', start) - start, value);
  }

  // Drives and expects every command to succeed.
  DriverRun Step(const std::vector<std::string>& commands) {
    DriverRun run = Drive(commands);
    EXPECT_TRUE(run.ok()) << run.Report();
    return run;
  }
};

// The details dialog of the highlighted row, by the list's context menu.
std::vector<std::string> OpenDetails() {
  return {Press("TFErweitert", "apps"), WaitFor("#32768", 5000),       Press("TFErweitert", "down"),
          Press("TFErweitert", "down"), Press("TFErweitert", "enter"), WaitFor("TFDetails", 10000)};
}

TEST_F(ReleaseTexts, AmpersandsAreShownAsWrittenAndALongLinkWrapsInTheDetailsDialog) {
  ForgetRunOnce();
  WineProgram installer = wine().Start(MakeRelease().string(), {});

  const DriverRun welcome = Step(
      {WaitFor("TFWillkommen", 30000), DrawnOf("TFWillkommen", "LText"),
       Click("TFWillkommen", "BInfo"), WaitFor("TFAbout", 10000), TextOf("TFAbout", "LRDeveloper"),
       DrawnOf("TFAbout", "LRDeveloper"), TextOf("TFAbout", "LRWebsite"),
       DrawnOf("TFAbout", "LRWebsite"), TextOf("TFAbout", "BClose"), "layout TFAbout 96",
       Click("TFAbout", "BClose"), WaitGone("TFAbout", 5000)});
  if (welcome.ok()) {
    EXPECT_EQ(welcome.Value(DrawnOf("TFWillkommen", "LText")), "literal");
    EXPECT_EQ(welcome.Value(TextOf("TFAbout", "LRDeveloper")), "Schmidt & Partner");
    EXPECT_EQ(welcome.Value(DrawnOf("TFAbout", "LRDeveloper")), "literal");
    EXPECT_EQ(welcome.Value(TextOf("TFAbout", "LRWebsite")), "https://example.org/?a=1&b=2");
    EXPECT_EQ(welcome.Value(DrawnOf("TFAbout", "LRWebsite")), "literal");
    EXPECT_EQ(welcome.Value(TextOf("TFAbout", "BClose")), Word(release::kWordClose));
    EXPECT_EQ(welcome.Value("layout TFAbout 96"), "");
  }

  std::vector<std::string> first = {
      Click("TFWillkommen", "BWeiter"),        WaitFor("TFMethode", 10000),
      Click("TFMethode", "CBAdvancedInstall"), Click("TFMethode", "BWeiter"),
      WaitFor("TFErweitert", 10000),           Press("TFErweitert", "home")};
  const std::vector<std::string> open = OpenDetails();
  first.insert(first.end(), open.begin(), open.end());
  first.insert(first.end(),
               {TextOf("TFDetails", "LFile"), DrawnOf("TFDetails", "LFile"),
                TextOf("TFDetails", "LName"), DrawnOf("TFDetails", "LName"),
                TextOf("TFDetails", "LWebLink"), DrawnOf("TFDetails", "LWebLink"),
                "layout TFDetails 96", Click("TFDetails", "BClose"), WaitGone("TFDetails", 5000)});
  const DriverRun ampersand = Step(first);
  if (ampersand.ok()) {
    EXPECT_EQ(ampersand.Value(TextOf("TFDetails", "LFile")), "KB1&2.exe");
    EXPECT_EQ(ampersand.Value(DrawnOf("TFDetails", "LFile")), "literal");
    EXPECT_EQ(ampersand.Value(TextOf("TFDetails", "LName")), "Aktualisierung KB1&2 für Windows");
    EXPECT_EQ(ampersand.Value(DrawnOf("TFDetails", "LName")), "literal");
    EXPECT_EQ(ampersand.Value(TextOf("TFDetails", "LWebLink")), kAmpersandLink);
    EXPECT_EQ(ampersand.Value(DrawnOf("TFDetails", "LWebLink")), "literal");
    EXPECT_EQ(ampersand.Value("layout TFDetails 96"), "");
  }

  // The long link: measured with its font and wrapped at its label's width, the text fits the
  // label, the label lies within the dialog, and what it draws is the whole text.
  std::vector<std::string> second = {Press("TFErweitert", "down")};
  second.insert(second.end(), open.begin(), open.end());
  second.insert(second.end(), {TextOf("TFDetails", "LWebLink"), FitsOf("TFDetails", "LWebLink"),
                               DrawnOf("TFDetails", "LWebLink"), RectOf("TFDetails")});
  const DriverRun long_link = Step(second);
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  wine().Screenshot("ReleaseTexts-details-long-link");
  if (long_link.ok()) {
    EXPECT_EQ(long_link.Value(TextOf("TFDetails", "LWebLink")), LongLink());
    int text_width = 0, text_height = 0, width = 0, height = 0, inside = 0;
    std::istringstream(long_link.Value(FitsOf("TFDetails", "LWebLink"))) >> text_width >>
        text_height >> width >> height >> inside;
    EXPECT_GT(text_height, 0);
    EXPECT_LE(text_width, width) << long_link.Value(FitsOf("TFDetails", "LWebLink"));
    EXPECT_LE(text_height, height) << long_link.Value(FitsOf("TFDetails", "LWebLink"));
    EXPECT_EQ(inside, 1) << long_link.Value(FitsOf("TFDetails", "LWebLink"));
    EXPECT_EQ(long_link.Value(DrawnOf("TFDetails", "LWebLink")), "literal");
  }
  installer.Kill();
  ForgetRunOnce();
}

// At 144 dpi the licence page's icon stands at its designed 32 x 32 scaled by one and a half,
// beside the licence text, not over it.
TEST_F(ReleaseTexts, LicenceIconStandsBesideTheTextAt144Dpi) {
  InstallRelease release;
  release.texts.license = {"Lizenzbedingungen des Musterrelease.", "",
                           "Mit der Installation stimmen Sie diesen Bedingungen zu."};
  release.packages = {{"KB1.exe", "/q"}};
  const fs::path exe =
      MakeInstallRelease(work_dir() / "release", release, probe(), work_dir() / "journal.txt");
  SetDpi(144);
  ForgetRunOnce();
  WineProgram installer = wine().Start(exe.string(), {});
  const DriverRun run = Step({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BWeiter"),
                              WaitFor("TFLizenz", 10000), BoundsOf("TFLizenz", "Image1"),
                              BoundsOf("TFLizenz", "RLizenz")});
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  wine().Screenshot("ReleaseTexts-licence-144dpi");
  installer.Kill();
  ForgetRunOnce();
  SetDpi(96);
  if (!run.ok()) return;
  int left = 0, top = 0, right = 0, bottom = 0, text_left = 0;
  std::istringstream(run.Value(BoundsOf("TFLizenz", "Image1"))) >> left >> top >> right >> bottom;
  std::istringstream(run.Value(BoundsOf("TFLizenz", "RLizenz"))) >> text_left;
  EXPECT_EQ(right - left, 48);
  EXPECT_EQ(bottom - top, 48);
  EXPECT_LT(right, text_left) << run.Value(BoundsOf("TFLizenz", "Image1")) << " / "
                              << run.Value(BoundsOf("TFLizenz", "RLizenz"));
}

}  // namespace
}  // namespace e2e
