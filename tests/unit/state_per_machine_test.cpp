// Where a run keeps its state when many machines start one release: beside
// the program only on a local fixed disk, else on the machine that runs it,
// in a folder that only the administrators may change; a continuation file
// of another machine left alone; and the local starter that the continuation
// registers instead of a program on a share, which waits for the share.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "frame/install_log.h"
#include "frame/state_folder.h"
#include "release_fixture.h"

namespace {

using Kind = platform::System::DriveKind;
using Access = platform::System::FolderAccess;

constexpr char kProgram[] = "C:\\Release\\";
constexpr char kMachine[] = "C:\\ProgramData\\Pack\\";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// --- The decision ---

class StateFolder : public ::testing::Test {
 protected:
  std::string Choose() {
    if (log.Path().empty()) log.Place("C:\\Logs\\Installer.log");
    return frame::ChooseStateFolder(system, log, "Pack");
  }
  std::string Log() { return system.files["C:\\Logs\\Installer.log"]; }
  void OnAShare() { system.drive_kinds[kProgram] = Kind::Network; }
  // An existing folder of the release under ProgramData with this access.
  void Existing(const std::string& folder, const Access& access) {
    system.folders.insert(folder);
    system.folder_access[folder] = access;
  }

  test::FakeSystem system;
  frame::InstallLog log{system};
};

TEST_F(StateFolder, FallbackIsTheReleaseNameMadeAFolderName) {
  EXPECT_EQ(frame::FallbackStateFolder(system, "Pack"), kMachine);
  EXPECT_EQ(frame::FallbackStateFolder(system, "a\\b/c:d*e?f\"g<h>i|j\x01k\x1fl m"),
            "C:\\ProgramData\\a_b_c_d_e_f_g_h_i_j_k_l m\\");
  EXPECT_EQ(frame::FallbackStateFolder(system, "Pack 2.0. . "), "C:\\ProgramData\\Pack 2.0\\");
  for (const char* nameless : {"", " . .."}) {
    EXPECT_EQ(frame::FallbackStateFolder(system, nameless), "C:\\ProgramData\\Installer\\")
        << '"' << nameless << '"';
  }
}

TEST_F(StateFolder, AnExistingContinuationDecidesWhereTheStateIs) {
  EXPECT_EQ(Choose(), kProgram);
  system.files[std::string(kMachine) + "rir_eridivu"] = "";
  EXPECT_EQ(Choose(), kMachine);  // although the program's is writable
  system.files[std::string(kProgram) + "rir_eridivu"] = "";
  system.read_only_folders = {kProgram};
  EXPECT_EQ(Choose(), kProgram);  // although it is read-only now
}

TEST_F(StateFolder, ReadOnlyProgramFolderGetsTheFallbackWithItsDataFolder) {
  system.read_only_folders = {kProgram};
  EXPECT_EQ(Choose(), kMachine);
  EXPECT_TRUE(system.folders.count("C:\\ProgramData\\Pack"));
  EXPECT_TRUE(system.folders.count("C:\\ProgramData\\Pack\\data"));
}

// A share, a stick or a DVD is not this machine's alone, and may be gone at the next logon.
TEST_F(StateFolder, OnlyALocalFixedDiskKeepsTheStateBesideTheProgram) {
  for (const Kind kind : {Kind::Network, Kind::Removable, Kind::Optical, Kind::Unknown}) {
    system.drive_kinds[kProgram] = kind;
    EXPECT_EQ(Choose(), kMachine) << static_cast<int>(kind);
  }
  EXPECT_TRUE(system.folders.count("C:\\ProgramData\\Pack\\data"));
  system.drive_kinds[kProgram] = Kind::Fixed;
  EXPECT_EQ(Choose(), kProgram);
}

TEST_F(StateFolder, AContinuationBesideAProgramOnAShareCountsOnlyForTheMachineItNames) {
  OnAShare();
  const std::string file = std::string(kProgram) + "rir_eridivu";
  system.files[file] = "3\r\n0\r\n0\r\n0\r\n0\r\n2\r\n";
  EXPECT_FALSE(frame::OwnContinuationBesideProgram(system));
  EXPECT_EQ(Choose(), kMachine);
  EXPECT_TRUE(Contains(Log(),
                       "Fortsetzungsdatei C:\\Release\\rir_eridivu gehört nicht zu diesem "
                       "Computer (kein Computer vermerkt); sie bleibt unberührt"))
      << Log();
  system.files[file + ".computer"] = "PC-B";
  EXPECT_EQ(Choose(), kMachine);
  EXPECT_TRUE(Contains(Log(), "(vermerkt: PC-B)")) << Log();
  EXPECT_EQ(system.files[file], "3\r\n0\r\n0\r\n0\r\n0\r\n2\r\n");  // left as it was

  system.computer_name = "PC-B";
  EXPECT_TRUE(frame::OwnContinuationBesideProgram(system));
  EXPECT_EQ(Choose(), kProgram);
  system.files.erase(file + ".computer");
  system.drive_kinds.clear();  // on a local fixed disk the file is this machine's anyway
  EXPECT_TRUE(frame::OwnContinuationBesideProgram(system));
}

// --- The folder belongs to the administrators ---

TEST_F(StateFolder, WithAdministratorRightsTheFoldersMadeAreTheAdministratorsAlone) {
  OnAShare();
  system.elevated = true;
  EXPECT_EQ(Choose(), kMachine);
  EXPECT_TRUE(system.protected_folders.count("C:\\ProgramData\\Pack"));
  EXPECT_TRUE(system.protected_folders.count("C:\\ProgramData\\Pack\\data"));
  EXPECT_TRUE(system.protected_folders.count("C:\\Logs"));  // the log's folder too
  // One that this run's user made before gets the access list again.
  system.protected_folders.clear();
  EXPECT_EQ(Choose(), kMachine);
  EXPECT_TRUE(system.protected_folders.count("C:\\ProgramData\\Pack"));
  EXPECT_FALSE(Contains(Log(), "übernommen")) << Log();

  test::FakeSystem standard_user;
  standard_user.drive_kinds[kProgram] = Kind::Network;
  frame::InstallLog user_log{standard_user};
  user_log.Place("C:\\Logs\\Installer.log");
  EXPECT_EQ(frame::ChooseStateFolder(standard_user, user_log, "Pack"), kMachine);
  EXPECT_TRUE(standard_user.folders.count("C:\\ProgramData\\Pack\\data"));
  EXPECT_TRUE(standard_user.protected_folders.empty());
}

// A user who made the folder before the first run could swap the program copied into it.
TEST_F(StateFolder, AFolderThatOthersOwnOrMayChangeIsTakenOverAndEmptied) {
  OnAShare();
  system.elevated = true;
  for (const auto& [access, why] : std::vector<std::pair<Access, std::string>>{
           {{"PC-A\\eve", false, false}, "gehört PC-A\\eve, nicht den Administratoren"},
           {{"VORDEFINIERT\\Administratoren", true, true},
            "dürfen auch andere als die Administratoren ändern"}}) {
    Existing("C:\\ProgramData\\Pack", access);
    system.files[std::string(kMachine) + "Installer.exe"] = "planted";
    system.files[std::string(kMachine) + "rir_eridivu"] = "1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";
    EXPECT_EQ(Choose(), kMachine);  // its continuation was not taken for this run's
    EXPECT_TRUE(Contains(Log(), "Ordner C:\\ProgramData\\Pack\\: " + why)) << Log();
    EXPECT_TRUE(system.protected_folders.count("C:\\ProgramData\\Pack"));
    EXPECT_TRUE(system.folder_access.empty());
    EXPECT_FALSE(system.FileExists(std::string(kMachine) + "Installer.exe"));
    EXPECT_FALSE(system.FileExists(std::string(kMachine) + "rir_eridivu"));
    EXPECT_TRUE(system.folders.count("C:\\ProgramData\\Pack\\data"));
  }
  EXPECT_TRUE(Contains(Log(),
                       "Ordner C:\\ProgramData\\Pack\\ übernommen: er gehört den "
                       "Administratoren, nur sie und SYSTEM dürfen ihn ändern; sein "
                       "Inhalt wurde gelöscht"))
      << Log();
}

TEST_F(StateFolder, AFolderThatCannotBeTakenOverGivesWayToAFreshOneThatIsFoundAgain) {
  OnAShare();
  system.elevated = true;
  Existing("C:\\ProgramData\\Pack", {"PC-A\\eve", false, false});
  system.untakeable_folders = {"C:\\ProgramData\\Pack"};
  const std::string fresh = "C:\\ProgramData\\Pack (2)\\";
  EXPECT_EQ(Choose(), fresh);
  EXPECT_TRUE(Contains(Log(),
                       "Ordner C:\\ProgramData\\Pack\\ lässt sich nicht übernehmen; ein "
                       "neuer Ordner folgt"))
      << Log();
  EXPECT_TRUE(system.protected_folders.count("C:\\ProgramData\\Pack (2)\\data"));

  system.files[fresh + "rir_eridivu"] = "";
  system.drive_kinds.clear();  // even a program on a local disk goes on with it
  EXPECT_EQ(Choose(), fresh);
  system.files[std::string(kMachine) + "rir_eridivu"] = "";  // planted in the foreign one
  EXPECT_EQ(Choose(), fresh);
}

TEST_F(StateFolder, WhenNoFolderCanBeTakenOverTheRunSaysSoAndKeepsTheFirst) {
  OnAShare();
  system.elevated = true;
  for (int number = 1; number <= 10; ++number) {
    const std::string folder =
        "C:\\ProgramData\\Pack" + (number == 1 ? "" : " (" + std::to_string(number) + ")");
    Existing(folder, {"PC-A\\eve", false, false});
    system.untakeable_folders.insert(folder);
  }
  EXPECT_EQ(Choose(), kMachine);
  EXPECT_TRUE(Contains(Log(),
                       "Kein Ordner für den Zustand der Installation, den nur die "
                       "Administratoren ändern dürfen; es bleibt C:\\ProgramData\\Pack\\"))
      << Log();
}

// --- The whole program on a share ---

class StatePerMachine : public test::ReleaseFixture {
 protected:
  static constexpr const char* kLog = "C:\\Temp\\Installer.log";
  static constexpr const char* kStarterCommand =
      "\"C:\\ProgramData\\Pack\\Installer.exe\" /norestart \"/log:C:\\Temp\\Installer.log\" "
      "/release:\"C:\\Release\"";
  // The silent run's options (automatic restart on), packages 2 and 3 still to run.
  static constexpr const char* kHandedOver = "3\r\n1\r\n0\r\n0\r\n0\r\n1\r\n2\r\n";

  StatePerMachine() {
    system.drive_kinds[kFolder] = Kind::Network;
    system.files[std::string(kFolder) + "Installer.exe"] = "MZ the program";
  }

  std::string Log() { return system.files[kLog]; }
  static std::string Machine(const std::string& name) { return kMachine + name; }
  static std::string File(int run_total, const std::string& rows) {
    return std::to_string(run_total) + "\r\n0\r\n0\r\n0\r\n0\r\n" + rows;
  }

  // Three packages, the first demanding a restart: the run stops there (/norestart).
  void HandOver() {
    UseRelease(3, "", {{1, "Restart=1"}});
    system.arguments = {"/silent", "/norestart"};
    StartAndDecide();
    FinishPackage();
  }

  // The logon: Windows deletes the run-once value and starts its command.
  std::unique_ptr<test::Program> StartStarter() {
    system.run_once.clear();
    system.program_folder = kMachine;
    system.arguments = {"/norestart", "/log:C:\\Temp\\Installer.log", "/release:C:\\Release"};
    auto starter = std::make_unique<test::Program>(system);
    starter->Start();
    return starter;
  }
  static app::TFMain& Main(test::Program& program) {
    return *static_cast<app::TFMain*>(program.application.MainForm());
  }
  static void Tick(test::Program& program, int times) {
    for (int i = 0; i < times; ++i) Main(program).Starter.TRelease.Tick();
  }
  void TakeTheReleaseAway() { system.files.erase(std::string(kFolder) + "Installer.exe"); }
  bool StateStays() {
    return system.files[Machine("rir_eridivu")] == kHandedOver &&
           system.FileExists(Machine("Installer.exe"));
  }
};

TEST_F(StatePerMachine, AHandOverFromAShareRegistersALocalStarterThatStartsTheProgramThere) {
  HandOver();
  EXPECT_EQ(system.files[Machine("rir_eridivu")], kHandedOver);
  EXPECT_EQ(system.files[Machine("rir_eridivu.computer")], "PC-A");
  EXPECT_EQ(system.files[Machine("Installer.exe")], "MZ the program");
  EXPECT_EQ(system.files[Machine("Language.ini")], system.files[Data("Language.ini")]);
  for (const auto& [path, bytes] : system.files)
    EXPECT_FALSE(Contains(path, "rir_eridivu") && path.rfind(kFolder, 0) == 0) << path;
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_EQ(system.run_once[0].command, kStarterCommand);

  const auto starter = StartStarter();
  EXPECT_TRUE(starter->application.Terminated());
  EXPECT_EQ(starter->application.ExitCode(), 0);
  EXPECT_EQ(Main(*starter).context.forms.FKopieren, nullptr);  // it loads no release
  using Started = std::pair<std::string, std::string>;
  EXPECT_EQ(system.programs_started,
            (std::vector<Started>{{"C:\\Release\\Installer.exe",
                                   "\"C:\\Release\\Installer.exe\" /norestart "
                                   "\"/log:C:\\Temp\\Installer.log\""}}));
  ASSERT_EQ(system.run_once.size(), 1u);  // registered again until the program there goes on
  EXPECT_EQ(system.run_once[0].command, kStarterCommand);

  // The program on the share finds the run on this machine and finishes it.
  system.program_folder = kFolder;
  system.arguments = {"/norestart", "/log:C:\\Temp\\Installer.log"};
  test::Program continued{system};
  continued.Start().TStart.Tick();
  EXPECT_EQ(Main(continued).context.forms.FKopieren->LKopierDatei.Caption(), "Package 2");
  EXPECT_EQ(system.run_once[0].command, kStarterCommand);
  FinishPackage();
  FinishPackage();
  EXPECT_TRUE(continued.application.Terminated());
  EXPECT_EQ(continued.application.ExitCode(), 0);
  for (const char* name : {"rir_eridivu", "rir_eridivu.computer", "Installer.exe", "Language.ini"})
    EXPECT_FALSE(system.FileExists(Machine(name))) << name;
  EXPECT_TRUE(system.FileExists(std::string(kFolder) + "Installer.exe"));
  EXPECT_TRUE(system.run_once.empty());
}

// It shows the release's words, from the copy beside it.
TEST_F(StatePerMachine, TheStarterWaitsForTheReleaseFolderAndGoesOnWhenItComesBack) {
  HandOver();
  TakeTheReleaseAway();
  system.files[Machine("Language.ini")] = "[Words]\n108=Waiting for %s\n109=Cancel\n";
  const auto starter = StartStarter();
  const app::TFWarten* form = Main(*starter).Starter.WaitForm();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->LWarten.Caption(), "Waiting for C:\\Release\\");
  EXPECT_EQ(form->BAbbrechen.Caption(), "Cancel");
  EXPECT_TRUE(Contains(Log(),
                       "Der Ordner der Installation C:\\Release\\ ist nicht erreichbar; "
                       "warte bis zu 10 Minuten auf ihn"))
      << Log();
  EXPECT_EQ(system.run_once.size(), 1u);  // a kill meanwhile loses nothing
  Tick(*starter, 5);
  EXPECT_FALSE(starter->application.Terminated());
  EXPECT_TRUE(system.programs_started.empty());

  system.files[std::string(kFolder) + "Installer.exe"] = "MZ the program";
  Tick(*starter, 1);
  EXPECT_FALSE(form->Visible());
  ASSERT_EQ(system.programs_started.size(), 1u);
  EXPECT_EQ(system.programs_started[0].first, "C:\\Release\\Installer.exe");
  EXPECT_EQ(starter->application.ExitCode(), 0);
  EXPECT_TRUE(starter->application.Terminated());
}

// Ten minutes, a click on Cancel, or the end of the session: the run waits for the next logon.
TEST_F(StatePerMachine, AReleaseFolderThatStaysAwayLeavesTheRunForTheNextLogon) {
  HandOver();
  TakeTheReleaseAway();
  const int polls = app::ReleaseStarter::kWaitLimitMs / app::ReleaseStarter::kPollMs;
  const std::vector<std::pair<std::string, std::function<void(test::Program&)>>> endings = {
      {"nach 10 Minuten",
       [&](test::Program& starter) {
         Tick(starter, polls - 1);
         EXPECT_FALSE(starter.application.Terminated());
         Tick(starter, 1);
       }},
      {"Warten abgebrochen",
       [](test::Program& starter) { Main(starter).Starter.WaitForm()->BAbbrechen.Click(); }},
      {"die Sitzung endet", [](test::Program& starter) {
         EXPECT_TRUE(starter.application.QueryEndSession());
         starter.application.SessionEnds();
       }}};
  for (const auto& [why, ending] : endings) {
    SCOPED_TRACE(why);
    system.files.erase(kLog);
    const auto starter = StartStarter();
    system.run_once.clear();  // so that only a new registration counts
    ending(*starter);
    EXPECT_EQ(starter->application.ExitCode(), 3010);
    EXPECT_FALSE(Main(*starter).Starter.Waiting());
    EXPECT_FALSE(Main(*starter).Starter.WaitForm()->Visible());
    ASSERT_EQ(system.run_once.size(), 1u);
    EXPECT_EQ(system.run_once[0].command, kStarterCommand);
    EXPECT_TRUE(StateStays());
    EXPECT_TRUE(system.programs_started.empty());
    EXPECT_TRUE(Contains(
        Log(), "Der Ordner der Installation C:\\Release\\ ist nicht erreichbar (" + why + ")"))
        << Log();
    EXPECT_TRUE(Contains(Log(),
                         "Der Ordner der Installation ist nicht erreichbar. Die "
                         "Installation wird nach der nächsten Anmeldung fortgesetzt."))
        << Log();
  }
}

// A task at system start runs where nobody sees a window: the log alone tells.
TEST_F(StatePerMachine, AStarterThatNobodyWatchesWaitsWithoutAWindow) {
  HandOver();
  TakeTheReleaseAway();
  system.desktop_visible = false;
  const auto starter = StartStarter();
  EXPECT_EQ(Main(*starter).Starter.WaitForm(), nullptr);
  EXPECT_TRUE(Main(*starter).Starter.Waiting());
  EXPECT_FALSE(Main(*starter).Visible());
  Tick(*starter, app::ReleaseStarter::kWaitLimitMs / app::ReleaseStarter::kPollMs);
  EXPECT_EQ(starter->application.ExitCode(), 3010);
  EXPECT_TRUE(StateStays());
}

// Started by hand without a continuation, it has nothing to keep for the next logon.
TEST_F(StatePerMachine, AStarterWithoutAContinuationRegistersNothing) {
  UseRelease(3);
  TakeTheReleaseAway();
  const auto starter = StartStarter();
  EXPECT_TRUE(Main(*starter).Starter.Waiting());
  Main(*starter).Starter.WaitForm()->BAbbrechen.Click();
  EXPECT_TRUE(starter->application.Terminated());
  EXPECT_EQ(starter->application.ExitCode(), 0);
  EXPECT_TRUE(system.run_once.empty());
}

TEST_F(StatePerMachine, AContinuationOfAnotherMachineBesideTheProgramIsLeftAlone) {
  UseRelease(3);
  system.files[ContinuationPath()] = File(3, "1\r\n2\r\n");
  system.files[ContinuationPath() + ".computer"] = "PC-B";
  StartAndDecide();
  EXPECT_TRUE(Pages().FWillkommen->Visible());
  EXPECT_TRUE(system.workers.empty());
  EXPECT_EQ(system.files[ContinuationPath()], File(3, "1\r\n2\r\n"));
  EXPECT_TRUE(Contains(Log(), "gehört nicht zu diesem Computer (vermerkt: PC-B)")) << Log();

  system.computer_name = "PC-B";
  test::Program machine_b{system};
  machine_b.Start().TStart.Tick();
  EXPECT_EQ(Main(machine_b).context.forms.FKopieren->LKopierDatei.Caption(), "Package 2");
}

}  // namespace
