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
      {"wait TFWillkommen 30000", "caption TFWillkommen", "text TFWillkommen LText",
       "text TFWillkommen LStatus", "text TFWillkommen BWeiter", "text TFWillkommen BZurueck",
       "text TFWillkommen BAbbrechen", "text TFWillkommen BInfo", "enabled TFWillkommen BZurueck",
       "enabled TFWillkommen BWeiter", "visible TFWillkommen ILinks", "rect TFWillkommen", "screen",
       "shown TFMain", "shown TFMethode"});
  ASSERT_TRUE(run.ok()) << run.Report();
  wine().Screenshot("WizardStart-welcome");

  EXPECT_EQ(run.Value("caption TFWillkommen"), settings.name);
  EXPECT_EQ(run.Value("text TFWillkommen LText"), JoinedBlock(settings.pre_install));
  EXPECT_EQ(run.Value("text TFWillkommen LStatus"), Word(7));
  EXPECT_EQ(run.Value("text TFWillkommen BWeiter"), Word(2));
  EXPECT_EQ(run.Value("text TFWillkommen BZurueck"), Word(1));
  EXPECT_EQ(run.Value("text TFWillkommen BAbbrechen"), Word(5));
  EXPECT_EQ(run.Value("text TFWillkommen BInfo"), Word(3));
  EXPECT_EQ(run.Value("enabled TFWillkommen BZurueck"), "0");
  EXPECT_EQ(run.Value("enabled TFWillkommen BWeiter"), "1");
  EXPECT_EQ(run.Value("visible TFWillkommen ILinks"), "1");
  EXPECT_EQ(run.Value("shown TFMain"), "0");
  EXPECT_EQ(run.Value("shown TFMethode"), "0");

  ScreenRect page = ParseRect(run.Value("rect TFWillkommen"));
  int width = 0, height = 0;
  std::istringstream(run.Value("screen")) >> width >> height;
  EXPECT_NEAR(page.left + page.right, width, 1) << run.Value("rect TFWillkommen");
  EXPECT_NEAR(page.top + page.bottom, height, 1) << run.Value("rect TFWillkommen");
  installer.Kill();
}

TEST_F(WizardStart, Utf8ReleaseFilesShowTheSameTexts) {
  ReleaseSettings settings;
  ReleaseFiles files;
  files.settings = settings.Text();
  files.ansi = false;
  WineProgram installer = StartRelease(files);

  DriverRun run = Drive({"wait TFWillkommen 30000", "caption TFWillkommen",
                         "text TFWillkommen LText", "text TFWillkommen BInfo"});
  ASSERT_TRUE(run.ok()) << run.Report();
  EXPECT_EQ(run.Value("caption TFWillkommen"), settings.name);
  EXPECT_EQ(run.Value("text TFWillkommen LText"), JoinedBlock(settings.pre_install));
  EXPECT_EQ(run.Value("text TFWillkommen BInfo"), Word(3));
  installer.Kill();
}

TEST_F(WizardStart, CancelAsksAndOnlyYesEndsTheProgram) {
  WineProgram installer = StartRelease();

  DriverRun asked =
      Drive({"wait TFWillkommen 30000", "click TFWillkommen BAbbrechen", "wait TMessageForm 10000",
             "caption TMessageForm", "text TMessageForm Message", "text TMessageForm Yes",
             "text TMessageForm No"});
  ASSERT_TRUE(asked.ok()) << asked.Report();
  wine().Screenshot("WizardStart-cancel-question");
  EXPECT_EQ(asked.Value("caption TMessageForm"), "Bestätigen");
  EXPECT_EQ(asked.Value("text TMessageForm Message"), Word(55));
  EXPECT_EQ(asked.Value("text TMessageForm Yes"), "&Ja");
  EXPECT_EQ(asked.Value("text TMessageForm No"), "&Nein");

  // No, and Escape, both keep the page.
  DriverRun refused =
      Drive({"click TMessageForm No", "gone TMessageForm 5000", "shown TFWillkommen",
             "click TFWillkommen BAbbrechen", "wait TMessageForm 10000", "key TMessageForm escape",
             "gone TMessageForm 5000", "shown TFWillkommen"});
  ASSERT_TRUE(refused.ok()) << refused.Report();
  EXPECT_EQ(refused.Values("shown TFWillkommen"), (std::vector<std::string>{"1", "1"}));
  EXPECT_TRUE(installer.Running());

  DriverRun agreed = Drive({"click TFWillkommen BAbbrechen", "wait TMessageForm 10000",
                            "click TMessageForm Yes", "gone TFWillkommen 10000"});
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

  DriverRun report = Drive(
      {"wait #32770 30000", "caption #32770", "boxtext", "shown TFWillkommen", "shown TFMain"});
  ASSERT_TRUE(report.ok()) << report.Report();
  wine().Screenshot("WizardStart-error-report");
  EXPECT_EQ(report.Value("caption #32770"), "Installer");
  EXPECT_EQ(report.Value("boxtext"), "'abc' ist kein gültiger Integerwert.");
  EXPECT_EQ(report.Value("shown TFWillkommen"), "0");
  EXPECT_EQ(report.Value("shown TFMain"), "0");

  DriverRun confirmed = Drive({"click #32770 #1", "gone #32770 5000", "shown TFWillkommen"});
  ASSERT_TRUE(confirmed.ok()) << confirmed.Report();
  EXPECT_EQ(confirmed.Value("shown TFWillkommen"), "0");
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

  DriverRun message =
      Drive({"wait TMessageForm 30000", "caption TMessageForm", "text TMessageForm Message",
             "text TMessageForm OK", "shown TFWillkommen"});
  ASSERT_TRUE(message.ok()) << message.Report();
  wine().Screenshot("WizardStart-continuation-message");
  EXPECT_EQ(message.Value("caption TMessageForm"), "Informationen");
  const fs::path aside = exe_.parent_path() / "rir_eridivu.bad";
  EXPECT_EQ(message.Value("text TMessageForm Message"),
            "'zwei' ist kein gültiger Integerwert\nDie Datei zur Fortsetzung der Installation "
            "ist unlesbar: " +
                ToWindowsPath(exe_.parent_path() / "rir_eridivu") + "\nSie wurde umbenannt in " +
                ToWindowsPath(aside) + ".");
  EXPECT_EQ(message.Value("text TMessageForm OK"), "OK");
  EXPECT_EQ(message.Value("shown TFWillkommen"), "0");

  DriverRun wizard = Drive({"click TMessageForm OK", "gone TMessageForm 5000",
                            "wait TFWillkommen 10000", "shown TFKopieren"});
  ASSERT_TRUE(wizard.ok()) << wizard.Report();
  EXPECT_EQ(wizard.Value("shown TFKopieren"), "0");
  EXPECT_FALSE(fs::exists(exe_.parent_path() / "rir_eridivu"));
  EXPECT_TRUE(fs::exists(aside));
  installer.Kill();
}

TEST_F(WizardStart, WithoutLanguageFileEveryWordIsTheFallback) {
  ReleaseFiles files;
  files.language.reset();
  WineProgram installer = StartRelease(files);

  DriverRun run =
      Drive({"wait TFWillkommen 30000", "text TFWillkommen BWeiter", "text TFWillkommen BAbbrechen",
             "text TFWillkommen BInfo", "text TFWillkommen BZurueck", "text TFWillkommen LStatus",
             "click TFWillkommen BAbbrechen", "wait TMessageForm 10000",
             "text TMessageForm Message", "click TMessageForm No", "gone TMessageForm 5000"});
  ASSERT_TRUE(run.ok()) << run.Report();
  for (const char* control : {"BWeiter", "BAbbrechen", "BInfo", "BZurueck", "LStatus"})
    EXPECT_EQ(run.Value(std::string("text TFWillkommen ") + control), kErrorInLanguageFile)
        << control;
  EXPECT_EQ(run.Value("text TMessageForm Message"), kErrorInLanguageFile);
  installer.Kill();
}

TEST_F(WizardStart, NextAndBackKeepTheWizardInOnePlace) {
  ReleaseSettings settings;
  settings.allow_advanced = true;
  ReleaseFiles files;
  files.settings = settings.Text();
  WineProgram installer = StartRelease(files);

  DriverRun run = Drive(
      {"wait TFWillkommen 30000", "rect TFWillkommen", "click TFWillkommen BWeiter",
       "wait TFMethode 10000", "gone TFWillkommen 5000", "rect TFMethode", "caption TFMethode",
       "checked TFMethode CBAutomaticInstall", "checked TFMethode CBAdvancedInstall"});
  ASSERT_TRUE(run.ok()) << run.Report();
  wine().Screenshot("WizardStart-method");
  DriverRun back = Drive({"click TFMethode BZurueck", "wait TFWillkommen 10000",
                          "gone TFMethode 5000", "rect TFWillkommen"});
  ASSERT_TRUE(back.ok()) << back.Report();

  EXPECT_EQ(run.Value("caption TFMethode"), settings.name);
  EXPECT_EQ(run.Value("checked TFMethode CBAutomaticInstall"), "1");  // the preset choice
  EXPECT_EQ(run.Value("checked TFMethode CBAdvancedInstall"), "0");
  ScreenRect welcome = ParseRect(run.Value("rect TFWillkommen"));
  ScreenRect method = ParseRect(run.Value("rect TFMethode"));
  EXPECT_EQ(method.left, welcome.left);
  EXPECT_EQ(method.top, welcome.top);
  // Both pages have the same frame, so the wizard looks like one window.
  EXPECT_EQ(method.right - method.left, welcome.right - welcome.left);
  EXPECT_EQ(method.bottom - method.top, welcome.bottom - welcome.top);
  ScreenRect returned = ParseRect(back.Value("rect TFWillkommen"));
  EXPECT_EQ(returned.left, method.left);
  EXPECT_EQ(returned.top, method.top);
  installer.Kill();
}

TEST_F(WizardStart, InfoOpensTheAboutDialogWhileTheWelcomePageWaits) {
  ReleaseSettings settings;
  ReleaseFiles files;
  files.settings = settings.Text();
  WineProgram installer = StartRelease(files);

  DriverRun run =
      Drive({"wait TFWillkommen 30000", "click TFWillkommen BInfo", "wait TFAbout 10000",
             "caption TFAbout", "text TFAbout LRName", "text TFAbout BClose",
             "visible TFAbout IDLogo", "enabled TFWillkommen BWeiter"});
  ASSERT_TRUE(run.ok()) << run.Report();
  wine().Screenshot("WizardStart-about");
  // The welcome page takes no input until the dialog closes.
  DriverRun blocked = Drive({"click TFWillkommen BInfo"});
  EXPECT_FALSE(blocked.ok());
  DriverRun closed = Drive({"click TFAbout BClose", "gone TFAbout 5000", "click TFWillkommen BInfo",
                            "wait TFAbout 10000"});
  ASSERT_TRUE(closed.ok()) << closed.Report();

  EXPECT_EQ(run.Value("caption TFAbout"), Word(59) + " " + settings.name + "...");
  EXPECT_EQ(run.Value("text TFAbout LRName"), settings.name);
  EXPECT_EQ(run.Value("text TFAbout BClose"), Word(63));
  EXPECT_EQ(run.Value("visible TFAbout IDLogo"), "1");
  installer.Kill();
}

}  // namespace
}  // namespace e2e
