#include <gtest/gtest.h>

#include "finish/finish_page.h"
#include "release_fixture.h"

namespace {

class MainForm : public test::ReleaseFixture {
 protected:
  void SetContinuation(const std::string& text) { system.files[ContinuationPath()] = text; }

  bool Checked(int row) const { return Pages().FErweitert->LVDateien.ItemChecked(row); }
  bool WizardShown() const { return Pages().FWillkommen->Visible(); }
  bool InstallationShown() const { return Pages().FKopieren->Visible(); }
};

TEST_F(MainForm, StartUpLoadsTheReleaseAndArmsTheStartTimer) {
  UseStandardRelease();
  system.version = {2, 5, 1, "Service Pack 3"};
  app::TFMain& main = Start();
  EXPECT_EQ(application.Title(), "Demo Pack");
  EXPECT_EQ(main.context.CurrentOSIndex, release::OsIndex::WindowsXP);
  EXPECT_EQ(main.context.Words[release::kWordRestore], "W70");
  EXPECT_EQ(main.context.Packages[3].Name, "Three");
  EXPECT_TRUE(main.TStart.Enabled());
  EXPECT_EQ(main.MIWiederherstellen.Caption(), "W70");
  EXPECT_EQ(main.MIAbbrechen.Caption(), "W5");
  EXPECT_FALSE(main.Visible());
  EXPECT_FALSE(WizardShown());
  EXPECT_TRUE(dialogs.error_boxes.empty());
}

// The log's line about the release: no blank stands for a missing version, and one package is
// not "Pakete".
TEST_F(MainForm, LogNamesTheReleaseWithoutAVersionAndItsPackages) {
  UseStandardRelease();
  Start();
  const std::string& log = system.files["C:\\Temp\\Installer.log"];
  EXPECT_NE(log.find("  Release Demo Pack, 3 Pakete, "), std::string::npos) << log;
}

TEST_F(MainForm, LogNamesTheReleaseWithItsVersionAndItsOnePackage) {
  UseStandardRelease();
  SetSettings("[Main]\nName=Pack\nVersion=2.0\nFiles=1\n[File1]\nName=One\n");
  Start();
  const std::string& log = system.files["C:\\Temp\\Installer.log"];
  EXPECT_NE(log.find("  Release Pack 2.0, 1 Paket, "), std::string::npos) << log;
}

// A system after Windows 10 is named by its version; it takes the index of Windows 10.
TEST_F(MainForm, LogNamesASystemAfterWindows10ByItsVersion) {
  UseStandardRelease();
  system.version = {2, 10, 1, ""};
  Start();
  const std::string& log = system.files["C:\\Temp\\Installer.log"];
  EXPECT_NE(log.find(", Microsoft Windows 10.1 (Index 12), "), std::string::npos) << log;
}

TEST_F(MainForm, FromWindowsXpOnTheTrayShowsTheProgramIcon) {
  UseStandardRelease();
  for (const auto& [version, expect_xp_list] :
       std::vector<std::pair<platform::OsVersion, bool>>{{{2, 5, 0, ""}, false},
                                                         {{2, 5, 1, ""}, true},
                                                         {{2, 10, 0, ""}, true},
                                                         {{2, 11, 0, ""}, true},
                                                         {{2, 6, 4, ""}, false}}) {
    system.version = version;
    test::Program fresh{system};
    app::TFMain& main = fresh.Start();
    EXPECT_EQ(main.TrayIcon.IconList(), expect_xp_list ? &main.ILTrayIconsXP : &main.ILTrayIcons);
    EXPECT_EQ(main.ILTrayIconsXP.Count(), 1);
    EXPECT_EQ(main.ILTrayIcons.Count(), 17);
    EXPECT_FALSE(main.TrayIcon.IconVisible());
    main.TrayIcon.SetIconIndex(16);
    EXPECT_EQ(main.TrayIcon.Picture()->Height(), expect_xp_list ? 32 : 16);
  }
}

// The report says it in the release's words, or in the built-in German ones.
TEST_F(MainForm, ABadFilesValueEndsTheProgramAfterOneReport) {
  struct Case {
    std::string files, words, report;
  };
  for (const Case& c : std::vector<Case>{{"abc", "", "'abc' ist kein gültiger Integerwert."},
                                         {"abc", "126=Not a number: %s\n", "Not a number: abc."},
                                         {"1001", "", "Fehler bei Bereichsprüfung."},
                                         {"1001", "127=Out of range\n", "Out of range."}}) {
    SCOPED_TRACE(c.files + " " + c.words);
    test::Program program{system};
    SetSettings("[Main]\nName=Broken\nFiles=" + c.files + "\n");
    SetLanguage("[Words]\n" + c.words);
    app::TFMain& main = program.Start();
    ASSERT_EQ(program.dialogs.error_boxes.size(), 1u);
    EXPECT_EQ(program.dialogs.error_boxes[0].caption, "Installer");
    EXPECT_EQ(program.dialogs.error_boxes[0].text, c.report);
    EXPECT_TRUE(program.application.Terminated());
    EXPECT_EQ(program.application.ExitCode(), 1);
    EXPECT_FALSE(main.TStart.Enabled());
    EXPECT_EQ(main.context.forms.FWillkommen, nullptr);
  }
}

TEST_F(MainForm, StartDecisionWaitsForEveryForm) {
  UseStandardRelease();
  system.arguments = {"/silent"};
  app::TFMain& main = application.CreateForm<app::TFMain>(application, system, quiet);
  main.TStart.Tick();  // as inside an error report while the pages are still being made
  EXPECT_TRUE(main.TStart.Enabled());
  EXPECT_EQ(main.context.forms.FKopieren, nullptr);
}

TEST_F(MainForm, TimerFiresOnceAndShowsTheWelcomePage) {
  UseStandardRelease();
  app::TFMain& main = StartAndDecide();
  EXPECT_FALSE(main.TStart.Enabled());
  EXPECT_TRUE(WizardShown());
  EXPECT_FALSE(InstallationShown());
}

TEST_F(MainForm, SilentOnlyAsExactFirstArgument) {
  UseStandardRelease();
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"/SILENT"}, {"/x", "/silent"}, {"silent"}}) {
    system.arguments = args;
    test::Program fresh{system};
    app::TFMain& main = fresh.Start();
    main.TStart.Tick();
    EXPECT_TRUE(main.context.forms.FWillkommen->Visible()) << args.back();
    EXPECT_FALSE(main.context.forms.FKopieren->Visible()) << args.back();
  }
}

TEST_F(MainForm, SilentRunChoosesEverythingWithAutomaticRestart) {
  UseStandardRelease();
  system.arguments = {"  /silent  ", "ignored"};
  StartAndDecide();
  EXPECT_FALSE(WizardShown());
  EXPECT_TRUE(InstallationShown());
  EXPECT_TRUE(Pages().FErweitert->CBAutoReboot.Checked());
  EXPECT_TRUE(Pages().FMethode->CBAdvancedInstall.Checked());
  EXPECT_FALSE(Pages().FErweitert->CBLoescheLogs.Checked());
  EXPECT_TRUE(Checked(0) && Checked(1) && Checked(2));
  // No page stood before it: it stands where the first page would, centred.
  EXPECT_EQ(Pages().FKopieren->Left(), (1024 - 469) / 2);
  EXPECT_EQ(Pages().FKopieren->Top(), (768 - 413) / 2);
}

TEST_F(MainForm, ContinuationWinsOverSilentAndRestoresTheChoices) {
  UseStandardRelease();
  system.arguments = {"/silent"};
  SetContinuation("10\r\n1\r\n0\r\n1\r\n\r\n2\r\n0\r\n");
  app::TFMain& main = StartAndDecide();
  EXPECT_TRUE(InstallationShown());
  EXPECT_FALSE(WizardShown());
  EXPECT_EQ(main.context.Run().RunTotal(), 10);
  const auto& advanced = *Pages().FErweitert;
  EXPECT_TRUE(advanced.CBAutoReboot.Checked());
  EXPECT_FALSE(advanced.CBMinimieren.Checked());
  EXPECT_TRUE(advanced.CBLoescheLogs.Checked());
  EXPECT_FALSE(advanced.CBNiedrigePrioritaet.Checked());
  EXPECT_TRUE(Checked(0));
  EXPECT_FALSE(Checked(1));
  EXPECT_TRUE(Checked(2));
  EXPECT_TRUE(Pages().FMethode->CBAdvancedInstall.Checked());
  EXPECT_EQ(Pages().FKopieren->Left(), (1024 - 469) / 2);
  EXPECT_TRUE(dialogs.messages.empty());
  // The state lasts until the run is over; Windows removed the run-once
  // value when it started this run, so it is written again.
  EXPECT_TRUE(system.FileExists(ContinuationPath()));
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_EQ(system.run_once[0].command,
            "\"C:\\Release\\Installer.exe\" \"/log:C:\\Temp\\Installer.log\" "
            "\"/continuation:C:\\Release\\rir_eridivu\"");
}

TEST_F(MainForm, OnlyTheLineOneChecksAnOption) {
  UseStandardRelease();
  Start();
  Pages().FErweitert->CBAutoReboot.SetChecked(true);
  SetContinuation("3\n0\n 1\ntrue\n1 \n");
  main->TStart.Tick();
  const auto& advanced = *Pages().FErweitert;
  EXPECT_FALSE(advanced.CBAutoReboot.Checked());
  EXPECT_FALSE(advanced.CBMinimieren.Checked());
  EXPECT_FALSE(advanced.CBLoescheLogs.Checked());
  EXPECT_FALSE(advanced.CBNiedrigePrioritaet.Checked());
}

TEST_F(MainForm, FiveLineContinuationChecksNothing) {
  UseStandardRelease();
  SetContinuation("3\r\n0\r\n0\r\n0\r\n0\r\n");
  StartAndDecide();
  EXPECT_FALSE(Checked(0) || Checked(1) || Checked(2));
  // The user-defined run finds nothing chosen and ends at once.
  EXPECT_TRUE(system.workers.empty());
  EXPECT_TRUE(Pages().FEnde->Visible());
}

// A file that can't be the state of a run: checked whole, nothing of it
// used, reported once and moved aside, so that the next start goes on.
TEST_F(MainForm, UnreadableContinuationIsReportedOnceAndSetAside) {
  std::string thousand_and_one = "3\n0\n0\n0\n0\n";
  for (int i = 0; i < 1001; ++i) thousand_and_one += "0\n";
  const std::vector<std::pair<std::string, std::string>> files = {
      {"zehn\r\n1\r\n", "'zehn' ist kein gültiger Integerwert"},
      {"3\r\n1\r\n1\r\n0\r\n0\r\n1\r\nx\r\n", "'x' ist kein gültiger Integerwert"},
      {"3\r\n0\r\n0\r\n0\r\n0\r\n7\r\n", "Listenindex überschreitet das Maximum (7)"},
      {"3\r\n0\r\n0\r\n0\r\n0\r\n3\r\n", "Listenindex überschreitet das Maximum (3)"},
      {"3\n0\n0\n0\n0\n1\n\n2\n", "'' ist kein gültiger Integerwert"},  // an empty line
      {"3\r\n0\r\n0\r\n0\r\n0\r\n-1\r\n", "Listenindex überschreitet das Maximum (-1)"},
      {thousand_and_one, "Fehler bei Bereichsprüfung"},
      {"-2147483648\r\n0\r\n0\r\n0\r\n0\r\n", "Fehler bei Bereichsprüfung"},
      {"2147483647\r\n0\r\n0\r\n0\r\n0\r\n0\r\n", "Fehler bei Bereichsprüfung"},
      {"1001\r\n0\r\n0\r\n0\r\n0\r\n0\r\n", "Fehler bei Bereichsprüfung"},    // 1000 at most
      {"1\r\n0\r\n1\r\n0\r\n0\r\n0\r\n2\r\n", "Fehler bei Bereichsprüfung"},  // total < rows
  };
  UseStandardRelease();
  const std::string aside = ContinuationPath() + ".bad";
  for (const auto& [text, reason] : files) {
    SetContinuation(text);
    test::Program first{system};
    app::TFMain& started = first.Start();
    started.TStart.Tick();
    ASSERT_EQ(first.dialogs.messages.size(), 1u) << reason;
    EXPECT_TRUE(first.dialogs.messages[0].information);
    EXPECT_EQ(first.dialogs.messages[0].text,
              reason +
                  "\nDie Datei zur Fortsetzung der Installation ist unlesbar: "
                  "C:\\Release\\rir_eridivu\nSie wurde umbenannt in C:\\Release\\rir_eridivu.bad.");
    EXPECT_FALSE(system.FileExists(ContinuationPath())) << reason;
    EXPECT_EQ(system.files[aside], text);
    const frame::Context& context = started.context;
    EXPECT_TRUE(context.forms.FWillkommen->Visible()) << reason;
    EXPECT_FALSE(context.forms.FKopieren->Visible()) << reason;
    EXPECT_FALSE(context.forms.FMethode->CBAdvancedInstall.Checked()) << reason;
    EXPECT_FALSE(context.forms.FErweitert->CBMinimieren.Checked()) << reason;  // nothing used

    test::Program next{system};
    next.Start().TStart.Tick();
    EXPECT_TRUE(next.dialogs.messages.empty()) << reason;
  }
}

TEST_F(MainForm, UnreadableContinuationThatCannotBeMovedIsDeleted) {
  UseStandardRelease();
  SetContinuation("zehn\r\n");
  system.read_only_folders = {ContinuationPath() + ".bad"};
  StartAndDecide();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "'zehn' ist kein gültiger Integerwert\nDie Datei zur Fortsetzung der Installation ist "
            "unlesbar: C:\\Release\\rir_eridivu\nSie wurde gelöscht.");
  EXPECT_FALSE(system.FileExists(ContinuationPath()));
  EXPECT_TRUE(WizardShown());
}

TEST_F(MainForm, UnreadableContinuationOfASilentStartIsLoggedAndTheRunGoesOn) {
  UseRelease(2);
  system.arguments = {"/silent"};
  SetContinuation("zehn\r\n");
  // The failures of the run that the file belonged to go with it.
  system.files[ContinuationPath() + ".failed"] = "1\t1603\tOld package\t\r\n";
  system.files[ContinuationPath() + ".attempts"] = "1\t1\r\n";
  StartAndDecide();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(dialogs.error_boxes.empty());
  EXPECT_TRUE(InstallationShown());
  const std::string log = system.files["C:\\Temp\\Installer.log"];
  EXPECT_NE(log.find("'zehn' ist kein gültiger Integerwert"), std::string::npos) << log;
  EXPECT_TRUE(system.FileExists(ContinuationPath() + ".bad"));
  EXPECT_FALSE(system.FileExists(ContinuationPath() + ".failed"));
  EXPECT_EQ(system.files[ContinuationPath() + ".attempts"], "0\t1\r\n");  // this run's alone
  while (system.FinishWorker()) {
  }
  EXPECT_EQ(main->context.forms.FEnde->LHinweis->Caption(), "W44");
  EXPECT_EQ(main->context.Run().ExitCode(), 0);
}

TEST_F(MainForm, TrayMenuRestoresTheInstallationPage) {
  UseStandardRelease();
  app::TFMain& main = StartAndDecide();
  main.TrayIcon.SetIconVisible(true);
  main.MIWiederherstellen.Click();
  EXPECT_TRUE(InstallationShown());
  EXPECT_FALSE(main.TrayIcon.IconVisible());
}

}  // namespace
