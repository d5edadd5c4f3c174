// The command line's switches and what they make of a run.
#include "frame/start_options.h"

#include <gtest/gtest.h>

#include "finish/auto_reboot.h"
#include "finish/finish_page.h"
#include "release_fixture.h"
#include "win32/portable/command_line.h"

namespace {

using frame::ParseStartOptions;

TEST(StartOptions, OnlyTheFirstArgumentIsComparedWithSilent) {
  EXPECT_TRUE(ParseStartOptions({" /silent ", "/x"}).silent);
  EXPECT_FALSE(ParseStartOptions({"/SILENT"}).silent);
  EXPECT_FALSE(ParseStartOptions({"/norestart", "/silent"}).silent);
  EXPECT_FALSE(ParseStartOptions({}).silent);
}

TEST(StartOptions, SwitchesAfterIt) {
  const frame::StartOptions all =
      ParseStartOptions({"/silent", "/NoRestart", "/log:C:\\Logs\\my run.log"});
  EXPECT_TRUE(all.no_restart);
  EXPECT_EQ(all.log_path, "C:\\Logs\\my run.log");
  EXPECT_EQ(ParseStartOptions({"/silent", "/log", "D:\\a.log"}).log_path, "D:\\a.log");
  EXPECT_EQ(ParseStartOptions({"/log"}).log_path, "");  // no path follows
  EXPECT_TRUE(ParseStartOptions({"/?"}).help);
  EXPECT_TRUE(ParseStartOptions({"/silent", "/help"}).help);
  EXPECT_FALSE(ParseStartOptions({"/silent"}).no_restart);
  EXPECT_TRUE(ParseStartOptions({"/silent", "/Resume:Boot"}).resume_at_boot);
  EXPECT_FALSE(ParseStartOptions({"/resume"}).resume_at_boot);
}

TEST(StartOptions, TheContinuationCarriesTheSwitchesButSilent) {
  EXPECT_EQ(frame::CarriedSwitches(ParseStartOptions({"/silent"})), "");
  EXPECT_EQ(
      frame::CarriedSwitches(ParseStartOptions({"/silent", "/norestart", "/log:C:\\a b.log"})),
      " /norestart \"/log:C:\\a b.log\"");
  EXPECT_EQ(frame::CarriedSwitches(ParseStartOptions({"/resume:boot", "/log:C:\\a.log"})),
            " /resume:boot \"/log:C:\\a.log\"");
  const frame::StartOptions starter =
      ParseStartOptions({"/norestart", "/release:\\\\server\\updates\\Pack"});
  EXPECT_EQ(starter.release_folder, "\\\\server\\updates\\Pack");
  EXPECT_EQ(frame::CarriedSwitches(starter), " /norestart /release:\"\\\\server\\updates\\Pack\"");
}

// Point 7: what the continuation carries comes back as it was, by the rules by which Windows
// splits a command line: a folder's backslash before a closing quote, blanks, a share, and a
// "%" through the Task Scheduler.
TEST(StartOptions, Point7TheCarriedSwitchesSurviveTheCommandLineWithTrailingBackslashes) {
  struct Case {
    std::string log, release;
  };
  for (const Case& c : std::vector<Case>{{"C:\\Logs\\", "N:\\Pack"},
                                         {"C:\\Log Dateien\\\\", "\\\\server\\share\\"},
                                         {"C:\\a\"b.log", "D:\\100% Updates"},
                                         {"C:\\%TEMP%\\x.log", "C:\\R"}}) {
    frame::StartOptions options;
    options.no_restart = true;
    options.log_path = c.log;
    options.release_folder = c.release;
    for (const bool task : {false, true}) {
      SCOPED_TRACE(c.log + " " + c.release + (task ? " (task)" : ""));
      const std::string switches = frame::CarriedSwitches(options);
      const std::string line =
          "\"C:\\P\\Installer.exe\"" + (task ? frame::ForTaskScheduler(switches) : switches);
      if (task) {
        EXPECT_EQ(line.find('%'), std::string::npos);
      }
      std::vector<std::string> words = win32::SplitCommandLine(line);
      words.erase(words.begin());
      const frame::StartOptions back = ParseStartOptions(words);
      EXPECT_TRUE(back.no_restart);
      EXPECT_EQ(back.log_path, c.log);
      EXPECT_EQ(back.release_folder, c.release);
    }
  }
}

class Switches : public test::ReleaseFixture {};

// In the release's words, a line each; the built-in German ones where a file lacks them.
TEST_F(Switches, HelpShowsTheUsageAndEnds) {
  struct Case {
    std::string words, start, end;
  };
  for (const Case& c : std::vector<Case>{
           {"",
            "Installer.exe [/silent] [/norestart] [/log:Datei] [/resume:boot] "
            "[/release:Ordner]\n\n/silent\tinstalliert alle Pakete ohne Fragen und startet danach "
            "neu\n/norestart\tstartet den Computer nicht neu;",
            "Ordner der Installation und startet dann das Programm darin\n\nRückgabewerte: 0 "
            "installiert, 3010 Neustart nötig, 1641 Neustart begonnen, 1602 abgebrochen, 1603 ein "
            "Paket ist fehlgeschlagen, 1618 ein anderes Installationsprogramm läuft."},
           {"119=Usage\n120=/silent\tall\n121=/norestart\tnone\n122=/log\tlog\n123=/resume\t"
            "boot\n124=/release\tfolder\n125=Exit codes\n",
            "Usage\n\n/silent\tall\n/norestart\tnone\n/log\tlog\n/resume\tboot\n/"
            "release\tfolder\n\n"
            "Exit codes",
            "Exit codes"}}) {
    test::Program program{system};
    UseRelease(1);
    system.files[Data("Language.ini")] += c.words;
    system.arguments = {"/?"};
    app::TFMain& m = program.Start();
    ASSERT_EQ(program.dialogs.messages.size(), 1u);
    const std::string& usage = program.dialogs.messages[0].text;
    EXPECT_EQ(usage.substr(0, c.start.size()), c.start);
    EXPECT_EQ(usage.substr(usage.size() - std::min(usage.size(), c.end.size())), c.end);
    EXPECT_TRUE(program.application.Terminated());
    EXPECT_EQ(program.application.ExitCode(), 0);
    EXPECT_EQ(m.context.forms.FWillkommen, nullptr);  // no page is made
  }
}

TEST_F(Switches, NoRestartEndsAnUnattendedRunByItself) {
  UseRelease(2);
  system.arguments = {"/silent", "/norestart"};
  StartAndDecide();
  while (system.FinishWorker()) {
  }
  EXPECT_FALSE(Pages().FAutoReboot->Visible());
  EXPECT_EQ(system.restart_requests, 0);
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
}

TEST_F(Switches, NoRestartInTheMiddleLeavesTheStateAndEndsWith3010) {
  UseRelease(3, "", {{1, "Restart=1"}});
  system.arguments = {"/silent", "/norestart", "/log:C:\\Logs\\run.log"};
  StartAndDecide();
  FinishPackage();  // package 1 asks for the restart
  EXPECT_EQ(system.restart_requests, 0);
  EXPECT_TRUE(system.workers.empty());
  EXPECT_EQ(system.files[ContinuationPath()], "3\r\n1\r\n0\r\n0\r\n0\r\n1\r\n2\r\n");
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_EQ(system.run_once[0].command,
            "\"C:\\Release\\Installer.exe\" /norestart \"/log:C:\\Logs\\run.log\" "
            "\"/continuation:C:\\Release\\rir_eridivu\"");
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 3010);
  EXPECT_NE(system.files["C:\\Logs\\run.log"].find("/norestart"), std::string::npos);
  EXPECT_FALSE(system.FileExists("C:\\Temp\\Installer.log"));
}

TEST_F(Switches, AWatchedRunWithNoRestartOffersNoRestart) {
  UseRelease(1, "AutoReboot=1");
  system.arguments = {"/norestart"};
  StartAndDecide();
  Pages().FWillkommen->BWeiter.Click();
  FinishPackage();
  finish::TFEnde& finish = *Pages().FEnde;
  ASSERT_TRUE(finish.Visible());
  EXPECT_FALSE(Pages().FAutoReboot->Visible());
  EXPECT_TRUE(finish.CBNichtNeustarten.Checked());
  EXPECT_FALSE(finish.CBNichtNeustarten.Enabled());
  EXPECT_FALSE(application.Terminated());
  finish.Close();
  EXPECT_EQ(system.restart_requests, 0);
  EXPECT_EQ(application.ExitCode(), 0);
}

}  // namespace
