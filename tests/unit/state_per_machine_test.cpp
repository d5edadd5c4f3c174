// Where a run keeps its state when many machines start one release: beside
// the program only on a local fixed disk, else on the machine that runs it,
// in a folder that only the administrators may change; a continuation file
// of another machine left alone; and the local starter that the continuation
// registers instead of a program on a share, which waits for the share.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "frame/install_log.h"
#include "frame/own_folder.h"
#include "frame/state_folder.h"
#include "release_fixture.h"

namespace {

using Kind = platform::System::DriveKind;
using Access = platform::System::FolderAccess;

constexpr char kProgram[] = "C:\\Release\\";
constexpr char kMachine[] = "C:\\ProgramData\\UpdatePackages\\Pack\\";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// --- The decision ---

class StateFolder : public ::testing::Test {
 protected:
  std::string Choose() {
    frame::OwnFolder own{system, log};
    if (log.Path().empty()) log.Place("C:\\Logs\\Installer.log", own);
    return frame::ChooseStateFolder(system, log, own, "Pack");
  }
  std::string Log() { return system.files["C:\\Logs\\Installer.log"]; }
  void OnAShare() { system.drive_kinds[kProgram] = Kind::Network; }
  // An existing folder with this access and one file in it.
  void Existing(const std::string& folder, const Access& access, bool marked = false) {
    system.folders.insert(folder);
    system.folder_access[folder] = access;
    system.files[folder + "\\Tool.dll"] = "another program's";
    if (marked) system.files[folder + "\\UpdatePackages.mark"] = "";
  }
  // Made by this program: marked, the administrators'.
  void Ours(const std::string& folder) {
    system.folders.insert(folder);
    system.files[folder + "\\UpdatePackages.mark"] = "";
  }

  test::FakeSystem system;
  frame::InstallLog log{system};
};

TEST_F(StateFolder, TheReleaseNameMadeAFolderName) {
  for (const auto& [name, folder] : std::vector<std::pair<std::string, std::string>>{
           {"Pack", "Pack"},
           {"a\\b/c:d*e?f\"g<h>i|j\x01k\x1fl m%n", "a_b_c_d_e_f_g_h_i_j_k_l m_n"},
           {"Pack 2.0. . ", "Pack 2.0"},
           {"", "Installer"},
           {" . ..", "Installer"}}) {
    EXPECT_EQ(frame::ReleaseFolderName(name), folder) << '"' << name << '"';
  }
}

TEST_F(StateFolder, AnExistingContinuationDecidesWhereTheStateIs) {
  EXPECT_EQ(Choose(), kProgram);
  EXPECT_FALSE(system.folders.count("C:\\ProgramData\\UpdatePackages"));  // not made for nothing
  Ours("C:\\ProgramData\\UpdatePackages");
  Ours("C:\\ProgramData\\UpdatePackages\\Pack");
  system.files[std::string(kMachine) + "rir_eridivu"] = "";
  EXPECT_EQ(Choose(), kMachine);  // although the program's is writable
  system.files[std::string(kProgram) + "rir_eridivu"] = "";
  system.read_only_folders = {kProgram};
  EXPECT_EQ(Choose(), kProgram);  // although it is read-only now
}

// A share, a stick or a DVD is not this machine's alone, and may be gone at the next logon.
TEST_F(StateFolder, OnlyALocalFixedDiskThatCanBeWrittenKeepsTheStateBesideTheProgram) {
  for (const Kind kind : {Kind::Network, Kind::Removable, Kind::Optical, Kind::Unknown}) {
    system.drive_kinds[kProgram] = kind;
    EXPECT_EQ(Choose(), kMachine) << static_cast<int>(kind);
  }
  for (const char* made :
       {"C:\\ProgramData\\UpdatePackages", "C:\\ProgramData\\UpdatePackages\\Pack",
        "C:\\ProgramData\\UpdatePackages\\Pack\\data"})
    EXPECT_TRUE(system.folders.count(made)) << made;
  for (const char* marked : {"C:\\ProgramData\\UpdatePackages\\UpdatePackages.mark",
                             "C:\\ProgramData\\UpdatePackages\\Pack\\UpdatePackages.mark"})
    EXPECT_TRUE(system.hidden_files.count(marked)) << marked;
  system.drive_kinds[kProgram] = Kind::Fixed;
  EXPECT_EQ(Choose(), kProgram);
  system.read_only_folders = {kProgram};
  EXPECT_EQ(Choose(), kMachine);
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

// --- The program's own folder ---

// Point 1: a release named like a vendor's or a product's folder ("Dell", "Microsoft"), or a
// folder of the program's name that someone else made: neither emptied, re-owned nor used.
TEST_F(StateFolder, Point1AnotherProgramsFolderIsNeverTouched) {
  const std::string root = "C:\\ProgramData\\UpdatePackages";
  struct Case {
    std::string folder, why;
    Access access;
    bool marked;
    std::string chosen;
  };
  const Access administrators{"VORDEFINIERT\\Administratoren", true, false};
  const Access eve{"PC-A\\eve", false, false};
  const Access everyone{"PC-A\\eve", false, true};
  const std::string fresh_root = "C:\\ProgramData\\UpdatePackages (2)\\Pack\\";
  const std::string fresh_release = "C:\\ProgramData\\UpdatePackages\\Pack (2)\\";
  std::vector<Case> cases;
  cases.push_back(
      {root, "trägt nicht die Marke dieses Programms", administrators, false, fresh_root});
  cases.push_back({root, "gehört PC-A\\eve, nicht den Administratoren", eve, true, fresh_root});
  cases.push_back(
      {root + "\\Pack", "trägt nicht die Marke dieses Programms", everyone, false, fresh_release});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder + ": " + c.why);
    system = test::FakeSystem();
    OnAShare();
    system.elevated = true;
    system.files["C:\\ProgramData\\Pack\\Tool.dll"] = "a vendor's";  // the release's old place
    if (c.folder != root) Ours(root);
    Existing(c.folder, c.access, c.marked);
    system.files.erase("C:\\Logs\\Installer.log");
    EXPECT_EQ(Choose(), c.chosen);
    EXPECT_EQ(system.files[c.folder + "\\Tool.dll"], "another program's");
    EXPECT_EQ(system.files["C:\\ProgramData\\Pack\\Tool.dll"], "a vendor's");
    EXPECT_TRUE(system.cleared_masks.empty());
    EXPECT_FALSE(system.protected_folders.count(c.folder));
    EXPECT_EQ(system.folder_access.count(c.folder), 1u);
    EXPECT_TRUE(Contains(Log(), "Ordner " + c.folder + "\\ " + c.why +
                                    "; er bleibt unberührt, ein neuer Ordner folgt"))
        << Log();
    EXPECT_TRUE(system.FileExists(c.chosen + "UpdatePackages.mark"));
  }
}

// Point 3: what runs elevated lies only in a folder of SYSTEM or the administrators; one of the
// administrator's own account (which the system reports as no trusted owner) could be changed
// by that account's programs that run without elevation.
TEST_F(StateFolder, Point3AFolderOfTheAdministratorsOwnAccountHoldsNothingThatRunsElevated) {
  OnAShare();
  system.elevated = true;
  Ours("C:\\ProgramData\\UpdatePackages");
  Existing("C:\\ProgramData\\UpdatePackages\\Pack", {"PC-A\\admin", false, false}, true);
  EXPECT_EQ(Choose(), "C:\\ProgramData\\UpdatePackages\\Pack (2)\\");
  EXPECT_TRUE(Contains(Log(),
                       "Ordner C:\\ProgramData\\UpdatePackages\\Pack\\ gehört PC-A\\admin, "
                       "nicht den Administratoren; er bleibt unberührt"))
      << Log();
  EXPECT_TRUE(system.cleared_masks.empty());
}

// Only the program's own folder, marked and the administrators', is re-owned and emptied when
// others may change it: what others put there goes.
TEST_F(StateFolder, OnlyAFolderOfItsOwnThatOthersMayChangeIsReownedAndEmptied) {
  OnAShare();
  system.elevated = true;
  Ours("C:\\ProgramData\\UpdatePackages");
  Existing("C:\\ProgramData\\UpdatePackages\\Pack", {"VORDEFINIERT\\Administratoren", true, true},
           true);
  EXPECT_EQ(Choose(), kMachine);
  EXPECT_TRUE(system.protected_folders.count("C:\\ProgramData\\UpdatePackages\\Pack"));
  EXPECT_EQ(system.cleared_masks, std::vector<std::string>{std::string(kMachine) + "*.*"});
  EXPECT_TRUE(Contains(
      Log(), "Ordner " + std::string(kMachine) + " dieses Programms durften auch andere ändern"))
      << Log();
}

TEST_F(StateFolder, WithAdministratorRightsTheFoldersMadeAreTheAdministratorsAlone) {
  OnAShare();
  system.elevated = true;
  EXPECT_EQ(Choose(), kMachine);
  for (const char* made :
       {"C:\\ProgramData\\UpdatePackages", "C:\\ProgramData\\UpdatePackages\\Pack",
        "C:\\ProgramData\\UpdatePackages\\Pack\\data", "C:\\Logs"})
    EXPECT_TRUE(system.protected_folders.count(made)) << made;

  test::FakeSystem standard_user;
  standard_user.drive_kinds[kProgram] = Kind::Network;
  frame::InstallLog user_log{standard_user};
  frame::OwnFolder own{standard_user, user_log};
  user_log.Place("C:\\Logs\\Installer.log", own);
  EXPECT_EQ(frame::ChooseStateFolder(standard_user, user_log, own, "Pack"), kMachine);
  EXPECT_TRUE(standard_user.folders.count("C:\\ProgramData\\UpdatePackages\\Pack\\data"));
  EXPECT_TRUE(standard_user.protected_folders.empty());
}

// Ten names are tried, the first and the fresh ones beside it: the tenth is used, and a run's
// state is found in it; when it is taken too, no eleventh is made and the state stays in the
// temporary folder.
TEST_F(StateFolder, TheTenthNameIsTheLastOneTried) {
  const auto name = [](const std::string& parent, const std::string& folder, int number) {
    const std::string numbered = frame::NumberedFolder(parent, folder, number);
    return numbered.substr(0, numbered.size() - 1);
  };
  const std::string tenth = name("C:\\ProgramData\\", "UpdatePackages", 10);
  struct Case {
    int taken;                   // names of the program's own folder that are someone else's
    bool run_in_tenth;           // the tenth holds the release's names, a run's state in its tenth
    std::string chosen, logged;  // the state folder, and a line of the log
  };
  for (const Case& c : std::vector<Case>{
           {9, false, tenth + "\\Pack\\",
            "Ordner C:\\ProgramData\\UpdatePackages (9)\\ trägt nicht die Marke"},
           {9, true, tenth + "\\Pack (10)\\", ""},
           {10, false, system.temporary_folder,
            "Kein Ordner C:\\ProgramData\\UpdatePackages\\ dieses Programms zu haben"}}) {
    SCOPED_TRACE(std::to_string(c.taken) + (c.run_in_tenth ? " with a run" : ""));
    system = test::FakeSystem();
    OnAShare();
    system.elevated = true;
    for (int number = 1; number <= c.taken; ++number)
      Existing(name("C:\\ProgramData\\", "UpdatePackages", number), {"PC-A\\eve", false, false});
    if (c.run_in_tenth) {
      Ours(tenth);
      for (int number = 1; number <= 10; ++number) Ours(name(tenth + "\\", "Pack", number));
      system.files[c.chosen + "rir_eridivu"] = "3\r\n0\r\n0\r\n0\r\n0\r\n2\r\n";
    }
    EXPECT_EQ(Choose(), c.chosen);
    EXPECT_FALSE(system.FolderExists(name("C:\\ProgramData\\", "UpdatePackages", 11)));
    EXPECT_FALSE(system.FolderExists(name(tenth + "\\", "Pack", 11)));
    EXPECT_TRUE(Contains(Log(), c.logged)) << Log();
  }
}

// Point 2: the default log of an elevated run, which it writes and renames, lies in the
// program's own folder; a folder that a user made first is not used. "/log" is the
// administrator's choice, a folder in it as well as a file.
TEST_F(StateFolder, Point2TheDefaultLogLiesInTheProgramsOwnFolder) {
  struct Case {
    std::string given;
    bool elevated;
    std::string path;
  };
  for (const Case& c :
       std::vector<Case>{{"", true, "C:\\ProgramData\\UpdatePackages\\Installer.log"},
                         {"", false, "C:\\Temp\\Installer.log"},
                         {"C:\\Logs\\", true, "C:\\Logs\\Installer.log"},
                         {"C:\\Logs", true, "C:\\Logs\\Installer.log"},  // a folder that exists
                         {"C:\\Logs\\Run.log", true, "C:\\Logs\\Run.log"},
                         {"D:\\Users Logs\\", false, "D:\\Users Logs\\Installer.log"}}) {
    SCOPED_TRACE(c.given);
    system = test::FakeSystem();
    system.elevated = c.elevated;
    system.folders.insert("C:\\Logs");
    Existing("C:\\ProgramData\\Installer", {"PC-A\\eve", false, true});  // a user's, first
    frame::InstallLog placed{system};
    frame::OwnFolder own{system, placed};
    placed.Place(c.given, own);
    placed.Write("Start");
    EXPECT_EQ(placed.Path(), c.path);
    EXPECT_TRUE(Contains(system.files[c.path], "Start"));
    EXPECT_FALSE(system.FileExists("C:\\ProgramData\\Installer\\Installer.log"));
  }
  // A folder of that name that is someone else's gives way, and the log says so first.
  system = test::FakeSystem();
  system.elevated = true;
  Existing("C:\\ProgramData\\UpdatePackages", {"PC-A\\eve", false, false}, true);
  frame::InstallLog placed{system};
  frame::OwnFolder own{system, placed};
  placed.Place("", own);
  EXPECT_EQ(placed.Path(), "C:\\ProgramData\\UpdatePackages (2)\\Installer.log");
  EXPECT_TRUE(Contains(system.files[placed.Path()],
                       "Ordner C:\\ProgramData\\UpdatePackages\\ "
                       "gehört PC-A\\eve"));
  EXPECT_EQ(system.files.count("C:\\ProgramData\\UpdatePackages\\Installer.log"), 0u);
}

// --- The whole program on a share ---

class StatePerMachine : public test::ReleaseFixture {
 protected:
  static constexpr const char* kLog = "C:\\Temp\\Installer.log";
  static constexpr const char* kStarterCommand =
      "\"C:\\ProgramData\\UpdatePackages\\Pack\\Installer.exe\" /norestart "
      "\"/log:C:\\Temp\\Installer.log\" "
      "/release:\"C:\\Release\" "
      "\"/continuation:C:\\ProgramData\\UpdatePackages\\Pack\\rir_eridivu\"";
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

// Started by hand without a continuation, it has nothing to keep for the next logon. And a
// "/release:" that names the program's own folder makes no starter, which would wait for itself
// or start itself over and over: the program shows its release.
TEST_F(StatePerMachine, AStarterWithoutAContinuationRegistersNothing) {
  UseRelease(3);
  TakeTheReleaseAway();
  const auto starter = StartStarter();
  EXPECT_TRUE(Main(*starter).Starter.Waiting());
  Main(*starter).Starter.WaitForm()->BAbbrechen.Click();
  EXPECT_TRUE(starter->application.Terminated());
  EXPECT_EQ(starter->application.ExitCode(), 0);
  EXPECT_TRUE(system.run_once.empty());

  system.program_folder = kFolder;
  system.arguments = {"/release:C:\\Release"};
  test::Program own{system};
  own.Start().TStart.Tick();
  EXPECT_FALSE(Main(own).Starter.Active());
  ASSERT_NE(Main(own).context.forms.FWillkommen, nullptr);
  EXPECT_TRUE(Main(own).context.forms.FWillkommen->Visible());
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

// Point 5: at the second hand-over the program on the share uses the starter the machine has;
// the share is away by then, and a copy from it would end the run with 1603.
TEST_F(StatePerMachine, Point5ALaterHandOverUsesTheStarterOnTheMachineWhileTheShareIsAway) {
  UseRelease(3, "", {{1, "Restart=1"}, {2, "Restart=1"}});
  system.arguments = {"/silent", "/norestart"};
  StartAndDecide();
  FinishPackage();
  StartStarter();
  system.program_folder = kFolder;
  system.arguments = {"/norestart", "/log:C:\\Temp\\Installer.log"};
  test::Program continued{system};
  continued.Start().TStart.Tick();
  TakeTheReleaseAway();
  system.run_once.clear();
  FinishPackage();  // package 2 asks for the second restart
  EXPECT_EQ(continued.application.ExitCode(), 3010);
  ASSERT_EQ(system.run_once.size(), 1u);
  EXPECT_EQ(system.run_once[0].command, kStarterCommand);
  EXPECT_EQ(system.files[Machine("rir_eridivu")], "3\r\n1\r\n0\r\n0\r\n0\r\n2\r\n");
  EXPECT_EQ(system.files[Machine("Installer.exe")], "MZ the program");
  EXPECT_FALSE(Contains(Log(), "Nicht kopiert")) << Log();
}

// Point 6: a share gone for good (a release withdrawn, a server renamed) ends the run at the
// third logon that waited for it in vain: recorded as failed, nothing left to start it again.
TEST_F(StatePerMachine, Point6TheStarterGivesTheRunUpAtTheThirdLogon) {
  system.elevated = true;
  HandOver();
  TakeTheReleaseAway();
  for (int logon = 1; logon <= 3; ++logon) {
    SCOPED_TRACE(logon);
    const auto starter = StartStarter();
    EXPECT_TRUE(Contains(Log(), "(Anmeldung " + std::to_string(logon) + " von 3)")) << Log();
    Main(*starter).Starter.WaitForm()->BAbbrechen.Click();
    EXPECT_EQ(starter->application.ExitCode(), logon < 3 ? 3010 : 1603);
    EXPECT_EQ(system.run_once.empty() ? "" : system.run_once.back().command,
              logon < 3 ? kStarterCommand : "");
  }
  for (const char* name : {"rir_eridivu", "rir_eridivu.computer", "rir_eridivu.logons",
                           "Language.ini", "Settings.ini"})
    EXPECT_FALSE(system.FileExists(Machine(name))) << name;
  EXPECT_EQ(system.removed_at_restart, std::set<std::string>{Machine("Installer.exe")});
  const auto& record = system.registry["HKEY_LOCAL_MACHINE\\SOFTWARE\\UpdatePackages\\Pack"];
  EXPECT_EQ(std::get<std::uint32_t>(record.at("ExitCode")), 1603u);
  EXPECT_EQ(std::get<std::uint32_t>(record.at("ContinuationPending")), 0u);
  EXPECT_TRUE(Contains(Log(),
                       "Die Installation wird aufgegeben: Der Ordner der Installation "
                       "C:\\Release\\ war bei drei Anmeldungen nicht erreichbar."))
      << Log();
}

}  // namespace
