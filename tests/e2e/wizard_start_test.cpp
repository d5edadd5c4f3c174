// The real Installer.exe under Wine, from its start to the first pages of the wizard, driven
// through its windows by driver.exe.
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "harness/release_folder.h"
#include "harness/ui_driver.h"
#include "harness/wine_test.h"

namespace e2e {
namespace {

using std::chrono::seconds;

const char kErrorInLanguageFile[] = "Error in Language File";

class WizardStart : public WineTest {
 protected:
  // Starts the program of a fresh release; the handle ends it should a test stop early.
  WineProgram StartRelease(const ReleaseFiles& files = {}) {
    exe_ = MakeRelease(work_dir() / "release", files);
    return wine().Start(exe_.string(), {});
  }

  DriverRun Drive(const std::vector<std::string>& commands) { return e2e::Drive(wine(), commands); }

  fs::path exe_;
};

TEST_F(WizardStart, WelcomePageShowsTheReleaseCentredWithItsWords) {
  ReleaseSettings settings;
  ReleaseFiles files;
  files.settings = settings.Text();
  WineProgram installer = StartRelease(files);

  DriverRun run = Drive(
      {WaitFor("TFWillkommen", 30000), CaptionOf("TFWillkommen"), TextOf("TFWillkommen", "LText"),
       TextOf("TFWillkommen", "LStatus"), TextOf("TFWillkommen", "BWeiter"),
       TextOf("TFWillkommen", "BZurueck"), TextOf("TFWillkommen", "BAbbrechen"),
       TextOf("TFWillkommen", "BInfo"), EnabledOf("TFWillkommen", "BZurueck"),
       EnabledOf("TFWillkommen", "BWeiter"), VisibleOf("TFWillkommen", "ILinks"),
       RectOf("TFWillkommen"), "screen", IsShown("TFMain"), IsShown("TFMethode")});
  ASSERT_TRUE(run.ok()) << run.Report();
  wine().Screenshot("WizardStart-welcome");

  EXPECT_EQ(run.Value(CaptionOf("TFWillkommen")), settings.name);
  EXPECT_EQ(run.Value(TextOf("TFWillkommen", "LText")), JoinedBlock(settings.pre_install));
  EXPECT_EQ(run.Value(TextOf("TFWillkommen", "LStatus")), Word(release::kWordWelcomeHeading));
  EXPECT_EQ(run.Value(TextOf("TFWillkommen", "BWeiter")), Word(release::kWordNext));
  EXPECT_EQ(run.Value(TextOf("TFWillkommen", "BZurueck")), Word(release::kWordBack));
  EXPECT_EQ(run.Value(TextOf("TFWillkommen", "BAbbrechen")), Word(release::kWordCancel));
  EXPECT_EQ(run.Value(TextOf("TFWillkommen", "BInfo")), Word(release::kWordAbout));
  EXPECT_EQ(run.Value(EnabledOf("TFWillkommen", "BZurueck")), "0");
  EXPECT_EQ(run.Value(EnabledOf("TFWillkommen", "BWeiter")), "1");
  EXPECT_EQ(run.Value(VisibleOf("TFWillkommen", "ILinks")), "1");
  EXPECT_EQ(run.Value(IsShown("TFMain")), "0");
  EXPECT_EQ(run.Value(IsShown("TFMethode")), "0");

  ScreenRect page = ParseRect(run.Value(RectOf("TFWillkommen")));
  int width = 0, height = 0;
  std::istringstream(run.Value("screen")) >> width >> height;
  EXPECT_NEAR(page.left + page.right, width, 1) << run.Value(RectOf("TFWillkommen"));
  EXPECT_NEAR(page.top + page.bottom, height, 1) << run.Value(RectOf("TFWillkommen"));
  installer.Kill();
}

TEST_F(WizardStart, Utf8ReleaseFilesShowTheSameTexts) {
  ReleaseSettings settings;
  ReleaseFiles files;
  files.settings = settings.Text();
  files.ansi = false;
  WineProgram installer = StartRelease(files);

  DriverRun run = Drive({WaitFor("TFWillkommen", 30000), CaptionOf("TFWillkommen"),
                         TextOf("TFWillkommen", "LText"), TextOf("TFWillkommen", "BInfo")});
  ASSERT_TRUE(run.ok()) << run.Report();
  EXPECT_EQ(run.Value(CaptionOf("TFWillkommen")), settings.name);
  EXPECT_EQ(run.Value(TextOf("TFWillkommen", "LText")), JoinedBlock(settings.pre_install));
  EXPECT_EQ(run.Value(TextOf("TFWillkommen", "BInfo")), Word(release::kWordAbout));
  installer.Kill();
}

TEST_F(WizardStart, CancelAsksAndOnlyYesEndsTheProgram) {
  WineProgram installer = StartRelease();

  DriverRun asked = Drive({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BAbbrechen"),
                           WaitFor("TMessageForm", 10000), CaptionOf("TMessageForm"),
                           TextOf("TMessageForm", "Message"), TextOf("TMessageForm", "Yes"),
                           TextOf("TMessageForm", "No")});
  ASSERT_TRUE(asked.ok()) << asked.Report();
  wine().Screenshot("WizardStart-cancel-question");
  EXPECT_EQ(asked.Value(CaptionOf("TMessageForm")), "Bestätigen");
  EXPECT_EQ(asked.Value(TextOf("TMessageForm", "Message")), Word(release::kWordCloseQuestion));
  EXPECT_EQ(asked.Value(TextOf("TMessageForm", "Yes")), "&Ja");
  EXPECT_EQ(asked.Value(TextOf("TMessageForm", "No")), "&Nein");

  // No, and Escape, both keep the page.
  DriverRun refused = Drive({Click("TMessageForm", "No"), WaitGone("TMessageForm", 5000),
                             IsShown("TFWillkommen"), Click("TFWillkommen", "BAbbrechen"),
                             WaitFor("TMessageForm", 10000), PostKey("TMessageForm", "escape"),
                             WaitGone("TMessageForm", 5000), IsShown("TFWillkommen")});
  ASSERT_TRUE(refused.ok()) << refused.Report();
  EXPECT_EQ(refused.Values(IsShown("TFWillkommen")), (std::vector<std::string>{"1", "1"}));
  EXPECT_TRUE(installer.Running());

  DriverRun agreed = Drive({Click("TFWillkommen", "BAbbrechen"), WaitFor("TMessageForm", 10000),
                            Click("TMessageForm", "Yes"), WaitGone("TFWillkommen", 10000)});
  ASSERT_TRUE(agreed.ok()) << agreed.Report();
  RunResult end = installer.Wait(seconds(10));
  EXPECT_FALSE(end.timed_out) << "the program did not end after Yes";
  EXPECT_EQ(end.exit_code, 1602 & 0xFF);  // ERROR_INSTALL_USEREXIT, as Unix keeps it
  EXPECT_EQ(end.signal, 0);
}

TEST_F(WizardStart, FilesThatIsNoIntegerIsReportedAndEndsTheProgram) {
  ReleaseSettings settings;
  settings.files = "abc";
  ReleaseFiles files;
  files.settings = settings.Text();
  WineProgram installer = StartRelease(files);

  DriverRun report = Drive({WaitFor("#32770", 30000), CaptionOf("#32770"), "boxtext",
                            IsShown("TFWillkommen"), IsShown("TFMain")});
  ASSERT_TRUE(report.ok()) << report.Report();
  wine().Screenshot("WizardStart-error-report");
  EXPECT_EQ(report.Value(CaptionOf("#32770")), "Installer");
  EXPECT_EQ(report.Value("boxtext"), "'abc' ist kein gültiger Integerwert.");
  EXPECT_EQ(report.Value(IsShown("TFWillkommen")), "0");
  EXPECT_EQ(report.Value(IsShown("TFMain")), "0");

  DriverRun confirmed =
      Drive({Click("#32770", "#1"), WaitGone("#32770", 5000), IsShown("TFWillkommen")});
  ASSERT_TRUE(confirmed.ok()) << confirmed.Report();
  EXPECT_EQ(confirmed.Value(IsShown("TFWillkommen")), "0");
  RunResult end = installer.Wait(seconds(10));
  EXPECT_FALSE(end.timed_out) << "the program lives on after a failed start";
  EXPECT_EQ(end.signal, 0);
  EXPECT_NE(end.exit_code, 0);
}

// The file is reported once and set aside, so that the next start is not
// stuck on it.
TEST_F(WizardStart, ContinuationFileWithoutANumberFallsBackToTheWizard) {
  ReleaseFiles files;
  files.continuation = "zwei\r\n1\r\n0\r\n0\r\n0\r\n0\r\n1\r\n";
  WineProgram installer = StartRelease(files);

  DriverRun message = Drive({WaitFor("TMessageForm", 30000), CaptionOf("TMessageForm"),
                             TextOf("TMessageForm", "Message"), TextOf("TMessageForm", "OK"),
                             IsShown("TFWillkommen")});
  ASSERT_TRUE(message.ok()) << message.Report();
  wine().Screenshot("WizardStart-continuation-message");
  EXPECT_EQ(message.Value(CaptionOf("TMessageForm")), "Informationen");
  const fs::path aside = exe_.parent_path() / "rir_eridivu.bad";
  EXPECT_EQ(message.Value(TextOf("TMessageForm", "Message")),
            "'zwei' ist kein gültiger Integerwert\nDie Datei zur Fortsetzung der Installation "
            "ist unlesbar: " +
                ToWindowsPath(exe_.parent_path() / "rir_eridivu") + "\nSie wurde umbenannt in " +
                ToWindowsPath(aside) + ".");
  EXPECT_EQ(message.Value(TextOf("TMessageForm", "OK")), "OK");
  EXPECT_EQ(message.Value(IsShown("TFWillkommen")), "0");

  DriverRun wizard = Drive({Click("TMessageForm", "OK"), WaitGone("TMessageForm", 5000),
                            WaitFor("TFWillkommen", 10000), IsShown("TFKopieren")});
  ASSERT_TRUE(wizard.ok()) << wizard.Report();
  EXPECT_EQ(wizard.Value(IsShown("TFKopieren")), "0");
  EXPECT_FALSE(fs::exists(exe_.parent_path() / "rir_eridivu"));
  EXPECT_TRUE(fs::exists(aside));
  installer.Kill();
}

TEST_F(WizardStart, WithoutLanguageFileEveryWordIsTheFallback) {
  ReleaseFiles files;
  files.language.reset();
  WineProgram installer = StartRelease(files);

  DriverRun run = Drive({WaitFor("TFWillkommen", 30000), TextOf("TFWillkommen", "BWeiter"),
                         TextOf("TFWillkommen", "BAbbrechen"), TextOf("TFWillkommen", "BInfo"),
                         TextOf("TFWillkommen", "BZurueck"), TextOf("TFWillkommen", "LStatus"),
                         Click("TFWillkommen", "BAbbrechen"), WaitFor("TMessageForm", 10000),
                         TextOf("TMessageForm", "Message"), Click("TMessageForm", "No"),
                         WaitGone("TMessageForm", 5000)});
  ASSERT_TRUE(run.ok()) << run.Report();
  for (const char* control : {"BWeiter", "BAbbrechen", "BInfo", "BZurueck", "LStatus"})
    EXPECT_EQ(run.Value(TextOf("TFWillkommen", control)), kErrorInLanguageFile) << control;
  EXPECT_EQ(run.Value(TextOf("TMessageForm", "Message")), kErrorInLanguageFile);
  installer.Kill();
}

TEST_F(WizardStart, NextAndBackKeepTheWizardInOnePlace) {
  ReleaseSettings settings;
  settings.allow_advanced = true;
  ReleaseFiles files;
  files.settings = settings.Text();
  WineProgram installer = StartRelease(files);

  DriverRun run = Drive({WaitFor("TFWillkommen", 30000), RectOf("TFWillkommen"),
                         Click("TFWillkommen", "BWeiter"), WaitFor("TFMethode", 10000),
                         WaitGone("TFWillkommen", 5000), RectOf("TFMethode"),
                         CaptionOf("TFMethode"), CheckedOf("TFMethode", "CBAutomaticInstall"),
                         CheckedOf("TFMethode", "CBAdvancedInstall")});
  ASSERT_TRUE(run.ok()) << run.Report();
  wine().Screenshot("WizardStart-method");
  DriverRun back = Drive({Click("TFMethode", "BZurueck"), WaitFor("TFWillkommen", 10000),
                          WaitGone("TFMethode", 5000), RectOf("TFWillkommen")});
  ASSERT_TRUE(back.ok()) << back.Report();

  EXPECT_EQ(run.Value(CaptionOf("TFMethode")), settings.name);
  EXPECT_EQ(run.Value(CheckedOf("TFMethode", "CBAutomaticInstall")), "1");  // the preset choice
  EXPECT_EQ(run.Value(CheckedOf("TFMethode", "CBAdvancedInstall")), "0");
  ScreenRect welcome = ParseRect(run.Value(RectOf("TFWillkommen")));
  ScreenRect method = ParseRect(run.Value(RectOf("TFMethode")));
  EXPECT_EQ(method.left, welcome.left);
  EXPECT_EQ(method.top, welcome.top);
  // Both pages have the same frame, so the wizard looks like one window.
  EXPECT_EQ(method.right - method.left, welcome.right - welcome.left);
  EXPECT_EQ(method.bottom - method.top, welcome.bottom - welcome.top);
  ScreenRect returned = ParseRect(back.Value(RectOf("TFWillkommen")));
  EXPECT_EQ(returned.left, method.left);
  EXPECT_EQ(returned.top, method.top);
  installer.Kill();
}

TEST_F(WizardStart, InfoOpensTheAboutDialogWhileTheWelcomePageWaits) {
  ReleaseSettings settings;
  ReleaseFiles files;
  files.settings = settings.Text();
  WineProgram installer = StartRelease(files);

  DriverRun run = Drive({WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BInfo"),
                         WaitFor("TFAbout", 10000), CaptionOf("TFAbout"),
                         TextOf("TFAbout", "LRName"), TextOf("TFAbout", "BClose"),
                         VisibleOf("TFAbout", "IDLogo"), EnabledOf("TFWillkommen", "BWeiter")});
  ASSERT_TRUE(run.ok()) << run.Report();
  wine().Screenshot("WizardStart-about");
  // The welcome page takes no input until the dialog closes.
  DriverRun blocked = Drive({Click("TFWillkommen", "BInfo")});
  EXPECT_FALSE(blocked.ok());
  DriverRun closed = Drive({Click("TFAbout", "BClose"), WaitGone("TFAbout", 5000),
                            Click("TFWillkommen", "BInfo"), WaitFor("TFAbout", 10000)});
  ASSERT_TRUE(closed.ok()) << closed.Report();

  EXPECT_EQ(run.Value(CaptionOf("TFAbout")),
            Word(release::kWordAboutCaption) + " " + settings.name + "...");
  EXPECT_EQ(run.Value(TextOf("TFAbout", "LRName")), settings.name);
  EXPECT_EQ(run.Value(TextOf("TFAbout", "BClose")), Word(release::kWordClose));
  EXPECT_EQ(run.Value(VisibleOf("TFAbout", "IDLogo")), "1");
  installer.Kill();
}

}  // namespace
}  // namespace e2e
