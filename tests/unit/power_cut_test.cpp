// The power fails at every durable step of a run. A road is played once
// without a cut, and what survives a power cut (files, registry, run-once
// values, tasks) is kept after each of its durable writes. Then, for each of
// them in turn, only that state is left: the machine starts, the task and the
// logon run what was registered, and the run goes on to its end. It must end
// as the run without a cut did, with each package run once, or twice where it
// was running when the power failed, and nothing of its state left.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <map>
#include <memory>

#include "finish/finish_page.h"
#include "release_fixture.h"
#include "win32/portable/command_line.h"

namespace {

using State = test::FakeSystem::DurableState;

// The key that names a package in its command line: "pkg2.exe".
std::string PackageOf(const test::FakeSystem::Run& run) {
  const std::size_t file = run.command_line.find("pkg");
  return run.command_line.substr(file, run.command_line.find(".exe", file) + 4 - file);
}

std::map<std::string, int> RunsByPackage(const std::vector<test::FakeSystem::Run>& runs) {
  std::map<std::string, int> counts;
  for (const auto& run : runs) ++counts[PackageOf(run)];
  return counts;
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.rfind('\\') + 1);
}

// A machine that starts programs and plays what ends them: their packages,
// a restart they ask for, the finish page, the local starter's wait.
class Machine {
 public:
  explicit Machine(test::FakeSystem& system) : system_(system) {}

  // One start of the program, to its end; `first` plays what a user does
  // once it has decided its road.
  void Run(const std::string& command, const std::function<void(app::TFMain&)>& first = {}) {
    std::vector<std::string> words = win32::SplitCommandLine(command);
    if (!system_.FileExists(words[0])) return;  // Windows starts nothing
    system_.program_folder = FolderOf(words[0]);
    words.erase(words.begin());
    system_.arguments = words;
    system_.programs_started.clear();
    test::Program program{system_};
    app::TFMain& main = program.Start();
    main.TStart.Tick();
    if (first) first(main);
    const int restarts = system_.restart_requests;
    for (int step = 0; step < 100 && !program.application.Terminated(); ++step) {
      if (system_.restart_requests > restarts) {  // the session ends for the restart
        program.application.QueryEndSession();
        program.application.SessionEnds();
        break;
      }
      if (system_.FinishWorker()) continue;
      if (main.Starter.Waiting()) {
        main.Starter.TRelease.Tick();
        continue;
      }
      finish::TFEnde* finish = main.context.forms.FEnde;
      if (finish && finish->Visible()) {
        finish->Close();
        continue;
      }
      break;
    }
    system_.workers.clear();  // whatever still ran ends with the program
    exit_code_ = program.application.ExitCode();
    const auto started = system_.programs_started;  // the local starter's program
    for (const auto& [application, command_line] : started) Run(command_line);
  }

  // The machine starts: the task at the system start, then the run-once
  // value at the logon, which Windows deletes before it runs it. False when
  // nothing was registered.
  bool Boot() {
    for (const std::string& path : system_.removed_at_restart) system_.files.erase(path);
    system_.removed_at_restart.clear();
    if (!system_.boot_tasks.empty()) {
      const auto task = system_.boot_tasks.begin()->second;
      Run("\"" + task.program + "\" " + task.arguments);
      return true;
    }
    if (system_.run_once.empty()) return false;
    const std::string command = system_.run_once.front().command;
    system_.run_once.erase(system_.run_once.begin());
    Run(command);
    return true;
  }

  // Boots until nothing is registered.
  void BootToTheEnd() {
    for (int boot = 0; boot < 12 && Boot(); ++boot) {
    }
  }

  int ExitCode() const { return exit_code_; }

 private:
  test::FakeSystem& system_;
  int exit_code_ = -1;
};

class PowerCut;

// A road: the release and the machine, how the run starts and what the user
// does on the way.
struct Road {
  const char* name;
  std::function<void(PowerCut&)> prepare;
  std::string command;
  std::function<void(app::TFMain&)> user;
};

class PowerCut : public test::ReleaseFixture, public ::testing::WithParamInterface<Road> {
 public:
  using test::ReleaseFixture::UseRelease;
  test::FakeSystem& System() { return system; }

 protected:
  std::string RecordOf(const test::FakeSystem& machine) const {
    for (const char* hive : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"}) {
      const auto key =
          machine.registry.find(std::string(hive) + "\\SOFTWARE\\UpdatePackages\\Pack");
      if (key == machine.registry.end()) continue;
      return std::string(hive) + " " +
             std::to_string(std::get<std::uint32_t>(key->second.at("ExitCode"))) + " pending " +
             std::to_string(std::get<std::uint32_t>(key->second.at("ContinuationPending")));
    }
    return "no record";
  }
  static bool IsContinuation(const std::string& path) {
    return path.size() > 11 && path.compare(path.size() - 11, 11, "rir_eridivu") == 0;
  }
  static bool HasContinuation(const test::FakeSystem& machine) {
    for (const auto& [path, bytes] : machine.files) {
      if (IsContinuation(path)) return true;
    }
    return false;
  }
  // What a run may leave: no continuation file, no starter, nothing that
  // starts the program again. (A cut before the first continuation file may
  // leave the files that go beside it, which nothing reads without it and
  // the next run replaces.)
  static std::vector<std::string> LeftOver(const test::FakeSystem& machine) {
    std::vector<std::string> left;
    for (const auto& [path, bytes] : machine.files) {
      const bool state = IsContinuation(path);
      const bool starter = path.rfind("C:\\ProgramData\\", 0) == 0 &&
                           path.find("Installer.exe") != std::string::npos;
      if (state || starter) left.push_back(path);
    }
    for (const auto& value : machine.run_once) left.push_back("RunOnce " + value.command);
    for (const auto& [name, task] : machine.boot_tasks) left.push_back("task " + name);
    return left;
  }
};

TEST_P(PowerCut, AtEveryDurableStepTheRunGoesOnAsIfNothingHappened) {
  const Road& road = GetParam();
  road.prepare(*this);
  system.files["C:\\Release\\Installer.exe"] = "MZ the program";
  const test::FakeSystem before = system;
  std::vector<State> steps;
  system.on_durable_write = [&] { steps.push_back(system.Durable()); };
  Machine whole(system);
  whole.Run(road.command, road.user);
  whole.BootToTheEnd();
  system.on_durable_write = nullptr;
  const int exit_code = whole.ExitCode();
  const std::string record = RecordOf(system);
  const std::map<std::string, int> runs = RunsByPackage(system.runs);
  ASSERT_TRUE(LeftOver(system).empty());
  std::cout << "[ power cut ] " << road.name << ": " << steps.size() << " durable steps\n";

  for (std::size_t cut = 0; cut < steps.size(); ++cut) {
    SCOPED_TRACE("power cut after durable step " + std::to_string(cut + 1) + " of " +
                 std::to_string(steps.size()));
    test::FakeSystem machine = before;
    machine.RestoreDurable(steps[cut]);
    const std::map<std::string, int> ended = RunsByPackage(machine.runs);
    // The run is on disk once its continuation file is; before, what starts
    // it finds no file and ends, and nothing of it runs. (The local
    // starter's copy may be there already, which the next run takes.)
    const bool on_disk = HasContinuation(machine);
    Machine after(machine);
    after.BootToTheEnd();
    if (!on_disk && ended != runs) {
      EXPECT_EQ(RunsByPackage(machine.runs), (std::map<std::string, int>{}));
      for (const std::string& left : LeftOver(machine))
        EXPECT_NE(left.find("\\Installer.exe"), std::string::npos) << left;
      continue;
    }
    EXPECT_EQ(LeftOver(machine), std::vector<std::string>{});
    // A run that had ended but for its clean-up has no exit code to give
    // again; its record tells.
    if (ended != runs) {
      EXPECT_EQ(after.ExitCode(), exit_code);
    }
    EXPECT_EQ(RecordOf(machine), record);
    for (const auto& [package, count] : RunsByPackage(machine.runs)) {
      EXPECT_TRUE(runs.count(package)) << package << " ran, which the run without a cut did not";
      EXPECT_LE(count, 2) << package;
    }
    for (const auto& [package, count] : runs) {
      const int total = RunsByPackage(machine.runs)[package];
      EXPECT_GE(total, 1) << package << " never ran";
      // A package that ended before the cut runs again only when the cut came
      // before its end was on disk.
      if (ended.count(package)) {
        EXPECT_LE(total, ended.at(package) + 1) << package;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    , PowerCut,
    ::testing::Values(
        Road{"SilentWithoutRestart",
             [](PowerCut& f) { f.UseRelease(3); },
             "\"C:\\Release\\Installer.exe\" /silent /norestart",
             {}},
        Road{"SilentWithOneRestart",
             [](PowerCut& f) {
               f.UseRelease(3, "", {{1, "Restart=1"}});
             },
             "\"C:\\Release\\Installer.exe\" /silent /norestart",
             {}},
        Road{"SilentWithTwoRestartsAndAFailure",
             [](PowerCut& f) {
               test::FakeSystem& system = f.System();
               f.UseRelease(4, "", {{1, "Restart=1"}, {3, "Restart=1"}});
               system.exit_codes["pkg2.exe"] = 1603;
             },
             "\"C:\\Release\\Installer.exe\" /silent /norestart",
             {}},
        Road{"WizardWithARestart",
             [](PowerCut& f) {
               f.UseRelease(3, "", {{2, "Restart=1"}});
             },
             "\"C:\\Release\\Installer.exe\" /norestart",
             [](app::TFMain& main) { main.context.forms.FWillkommen->BWeiter.Click(); }},
        Road{"DetectionRuleLeavesOneOut",
             [](PowerCut& f) {
               test::FakeSystem& system = f.System();
               f.UseRelease(3, "", {{1, "Restart=1"}, {2, "Detect=KB2"}});
               const std::string store =
                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based "
                   "Servicing\\Packages";
               const std::string package = "Package_for_KB2~31bf3856ad364e35~amd64~~6.1.1.0";
               system.machine_keys[store] = {package};
               system.machine_values[store + "\\" + package]["CurrentState"] = std::uint32_t{112};
             },
             "\"C:\\Release\\Installer.exe\" /silent /norestart",
             {}},
        Road{"BootTaskAsAdministrator",
             [](PowerCut& f) {
               test::FakeSystem& system = f.System();
               f.UseRelease(3, "", {{1, "Restart=1"}});
               system.elevated = true;
             },
             "\"C:\\Release\\Installer.exe\" /silent /norestart /resume:boot",
             {}},
        Road{"ReleaseOnAShare",
             [](PowerCut& f) {
               test::FakeSystem& system = f.System();
               f.UseRelease(3, "", {{1, "Restart=1"}});
               system.elevated = true;
               system.drive_kinds["C:\\Release\\"] = platform::System::DriveKind::Network;
             },
             "\"C:\\Release\\Installer.exe\" /silent /norestart",
             {}}),
    [](const ::testing::TestParamInfo<Road>& info) { return info.param.name; });

}  // namespace
