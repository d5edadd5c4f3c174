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

TEST_F(Switches, HelpShowsTheUsageAndEnds) {
  UseRelease(1);
  system.arguments = {"/?"};
  Start();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, frame::UsageText());
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
  EXPECT_EQ(main->context.forms.FWillkommen, nullptr);  // no page is made
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
