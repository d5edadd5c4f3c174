// A start where nobody sees the windows (a deployment agent as LocalSystem,
// the task of the system start): the run never waits for a person, ends by
// itself with its exit code, and leaves a restart to whoever started it,
// unless the run chose automatic restarts.
#include <gtest/gtest.h>

#include <ostream>

#include "finish/finish_page.h"
#include "finish/restart_prompt.h"
#include "release_fixture.h"

namespace {

const platform::OsVersion kXp{2, 5, 1, "Service Pack 3"};

class UnseenRun : public test::ReleaseFixture {
 protected:
  // Three packages; the first demands a restart.
  void UseReleaseRestartingAfterOne() { UseRelease(3, "", {{1, "Restart=1"}}); }
  std::string Log() { return system.files[main->context.Log().Path()]; }
};

struct Sight {
  const char* name;
  bool desktop_visible;
  unsigned long session;
  bool xp;
  bool seen;
};

std::ostream& operator<<(std::ostream& out, const Sight& sight) {
  return out << sight.name;
}

class Sights : public UnseenRun, public ::testing::WithParamInterface<Sight> {};

TEST_P(Sights, TheWizardShowsOnlyWhereSomebodySeesIt) {
  const Sight sight = GetParam();
  system.desktop_visible = sight.desktop_visible;
  system.session_id = sight.session;
  if (sight.xp) system.version = kXp;
  UseRelease(2);
  StartAndDecide();
  EXPECT_EQ(Pages().FWillkommen->Visible(), sight.seen);
  EXPECT_EQ(Pages().FKopieren->Visible(), !sight.seen);
  EXPECT_EQ(main->context.Unattended(), !sight.seen);
}

INSTANTIATE_TEST_SUITE_P(Stations, Sights,
                         ::testing::Values(Sight{"UsersDesktop", true, 1, false, true},
                                           Sight{"ServiceStation", false, 1, false, false},
                                           // From Vista on, session 0 belongs to the services.
                                           Sight{"SessionZero", true, 0, false, false},
                                           // On XP the first user logs on to session 0.
                                           Sight{"SessionZeroOnXp", true, 0, true, true}),
                         [](const ::testing::TestParamInfo<Sight>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(UnseenRun, AStartWithoutSwitchesInstallsAndLeavesTheRestartToTheAdministrator) {
  system.desktop_visible = false;
  UseReleaseRestartingAfterOne();
  StartAndDecide();
  FinishPackage();  // package 1 demands the restart
  EXPECT_EQ(system.restart_requests, 0);
  EXPECT_FALSE(Pages().Form1->Visible());
  EXPECT_TRUE(main->context.Run().Saved());
  EXPECT_EQ(system.run_once.size(), 1u);
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 3010);
  EXPECT_NE(Log().find("Niemand sieht die Fenster (Sitzung 1, Fensterstation ohne Anzeige): "
                       "unbeaufsichtigt"),
            std::string::npos)
      << Log();
  EXPECT_NE(Log().find("Ohne /silent gestartet, wo niemand die Fenster sieht: wie /silent "
                       "/norestart"),
            std::string::npos)
      << Log();
}

TEST_F(UnseenRun, ACompleteRunEndsByItselfWithZero) {
  system.desktop_visible = false;
  UseRelease(2);
  StartAndDecide();
  FinishPackage();
  FinishPackage();
  EXPECT_TRUE(Pages().FEnde->Visible());
  EXPECT_EQ(system.restart_requests, 0);
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
}

// "/silent" keeps its automatic restart where nobody sees it.
TEST_F(UnseenRun, ASilentRunKeepsItsAutomaticRestart) {
  system.desktop_visible = false;
  system.arguments = {"/silent"};
  UseReleaseRestartingAfterOne();
  StartAndDecide();
  FinishPackage();
  EXPECT_EQ(system.restart_requests, 1);
  EXPECT_FALSE(main->context.Switches.no_restart);
}

// The task of the system start continues a run in session 0: a wizard's
// run, which restarts only when the user says so, would wait for ever at
// the restart prompt or on the finish page; a silent run restarts by itself.
struct Continued {
  const char* name;
  bool auto_reboot;
  int restarts;
  bool terminated;
};

std::ostream& operator<<(std::ostream& out, const Continued& continued) {
  return out << continued.name;
}

class ContinuedUnseen : public UnseenRun, public ::testing::WithParamInterface<Continued> {};

TEST_P(ContinuedUnseen, ARestartWaitsForNobody) {
  const Continued continued = GetParam();
  system.session_id = 0;
  UseRelease(3, "", {{2, "Restart=1"}});
  system.files[ContinuationPath()] =
      std::string("3\r\n") + (continued.auto_reboot ? "1" : "0") + "\r\n0\r\n0\r\n0\r\n1\r\n2\r\n";
  StartAndDecide();
  FinishPackage();  // package 2 demands the restart
  EXPECT_EQ(system.restart_requests, continued.restarts);
  EXPECT_FALSE(Pages().Form1->Visible());
  EXPECT_TRUE(main->context.Run().Saved());
  EXPECT_EQ(application.Terminated(), continued.terminated);
  if (continued.terminated) {
    EXPECT_EQ(application.ExitCode(), 3010);
  }
}

INSTANTIATE_TEST_SUITE_P(Options, ContinuedUnseen,
                         ::testing::Values(Continued{"WizardRun", false, 0, true},
                                           Continued{"AutomaticRestart", true, 1, false}),
                         [](const ::testing::TestParamInfo<Continued>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
