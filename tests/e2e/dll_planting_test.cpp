// DLLs planted beside Installer.exe. The installer runs elevated, often from a folder that
// users can write to; a DLL put there under the name of a system DLL must never be loaded,
// neither through an import nor on demand. Canaries (tests/e2e/programs/canary_dll.cpp) are
// copied beside the program under the names of the DLLs it and its DLLs load, and Wine is
// told to prefer such native files over its own DLLs of those names: then Wine searches for
// them as Windows searches for DLLs that are not "known" DLLs, the program's folder first. A
// canary records every load in canary-journal.txt beside it.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "harness/install_test.h"
#include "harness/release_folder.h"

namespace e2e {
namespace {

using std::chrono::seconds;

// The DLLs that the program, or a DLL it loads, loads by name on the roads below (seen with
// WINEDEBUG=+loaddll), those the program loads on demand (riched20 with usp10, winmm with
// msacm32, windowscodecs, taskschd with xmllite), and those Windows' own DLLs load for it (dwmapi,
// cryptbase). Among them ole32 (with combase and rpcrt4) and msimg32, which Wine's imm32, X11
// driver and uxtheme load through delayed imports along the search path the process started with,
// the program's folder first, whatever the program has set since: the program loads them from the
// system folder before its first window. Not planted: KERNEL32 and msvcrt, the two DLLs the program
// imports directly, and the kernelbase and ntdll beneath them, known DLLs on Windows, loaded
// before the program's first line. (Checked once with a canary under every DLL name of Wine's
// system folder: no other was loaded on these roads.)
const std::vector<std::string> kPlantedNames = {
    "advapi32", "combase",       "comctl32", "cryptbase", "dwmapi",   "gdi32",
    "imm32",    "msacm32",       "msimg32",  "ole32",     "oleaut32", "propsys",
    "riched20", "rpcrt4",        "sechost",  "shcore",    "shell32",  "shlwapi",
    "taskschd", "ucrtbase",      "user32",   "usp10",     "uxtheme",  "version",
    "win32u",   "windowscodecs", "winmm",    "xmllite",   "zlib1",
};

const char kCanaryJournal[] = "canary-journal.txt";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "  " + line + "\n";
  return text.empty() ? "  (none)\n" : text;
}

// One canary load: the canary's path and the program that loaded it.
struct CanaryLoad {
  std::string dll;
  std::string program;
};

std::vector<CanaryLoad> ReadCanaryJournal(const fs::path& folder) {
  std::vector<CanaryLoad> loads;
  std::ifstream in(folder / kCanaryJournal, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) continue;
    const std::size_t tab = line.find('\t');
    loads.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)});
  }
  return loads;
}

std::vector<std::string> Describe(const std::vector<CanaryLoad>& loads) {
  std::vector<std::string> lines;
  for (const CanaryLoad& load : loads) lines.push_back(load.dll + " loaded by " + load.program);
  return lines;
}

// The modules that Wine's +loaddll channel reports loaded, in order: "C:\windows\...\x.dll".
std::vector<std::string> LoadedModules(const std::string& output) {
  std::vector<std::string> modules;
  std::istringstream lines(output);
  const std::string marker = "Loaded L\"";
  for (std::string line; std::getline(lines, line);) {
    if (line.find(":loaddll:") == std::string::npos) continue;
    const std::size_t at = line.find(marker);
    if (at == std::string::npos) continue;
    const std::size_t end = line.find('"', at + marker.size());
    if (end == std::string::npos) continue;
    std::string escaped = line.substr(at + marker.size(), end - at - marker.size());
    std::string path;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
      if (escaped[i] == '\\' && i + 1 < escaped.size()) ++i;  // "\\" stands for one
      path += escaped[i];
    }
    modules.push_back(path);
  }
  return modules;
}

// Those of `modules` that lie directly in `folder`, other than the program `exe` itself.
std::vector<std::string> ModulesFrom(const std::vector<std::string>& modules,
                                     const fs::path& folder, const fs::path& exe) {
  const std::string prefix = Lower(ToWindowsPath(folder)) + "\\";
  std::vector<std::string> found;
  for (const std::string& module : modules) {
    const std::string path = Lower(module);
    if (path.rfind(prefix, 0) != 0 || path.find('\\', prefix.size()) != std::string::npos) continue;
    if (path != Lower(ToWindowsPath(exe))) found.push_back(module);
  }
  return found;
}

class DllPlanting : public InstallTest {
 protected:
  // Puts a canary under every planted name into `folder`; an old journal goes.
  static void PlantCanaries(const fs::path& folder) {
    const fs::path canary = WindowsProgram("canary.dll");
    for (const std::string& name : kPlantedNames)
      fs::copy_file(canary, folder / (name + ".dll"), fs::copy_options::overwrite_existing);
    fs::remove(folder / kCanaryJournal);
  }

  // Wine prefers a native DLL of the planted names, as Windows knows no built-in ones; with
  // the loader's trace of every module loaded.
  RunOptions PlantedRun() {
    std::string names;
    for (const std::string& name : kPlantedNames) names += (names.empty() ? "" : ",") + name;
    RunOptions options;
    options.env["WINEDLLOVERRIDES"] =
        wine().Environment().at("WINEDLLOVERRIDES") + ";" + names + "=n,b";
    options.env["WINEDEBUG"] = "-all,+loaddll";
    options.capture_output = true;
    return options;
  }
};

// The canary itself: a program that loads each name with Windows' ordinary search, which
// begins in the program's own folder, gets the canary every time, and the canary records it.
// Without this the two tests below could pass with canaries that never record a load.
TEST_F(DllPlanting, EveryCanaryIsLoadedByAProgramThatSearchesItsOwnFolder) {
  const fs::path folder = work_dir() / "plain";
  fs::create_directories(folder);
  const fs::path loader = folder / "load_by_name.exe";
  fs::copy_file(WindowsProgram("load_by_name.exe"), loader);
  PlantCanaries(folder);

  std::vector<std::string> args;
  for (const std::string& name : kPlantedNames) args.push_back(name + ".dll");
  RunOptions options = PlantedRun();
  const RunResult run = wine().Run(loader.string(), args, options);
  ASSERT_FALSE(run.timed_out);
  ASSERT_EQ(run.exit_code, 0) << run.output;

  const std::vector<CanaryLoad> loads = ReadCanaryJournal(folder);
  std::vector<std::string> recorded;
  for (const CanaryLoad& load : loads) {
    EXPECT_EQ(Lower(load.program), Lower(ToWindowsPath(loader))) << load.dll;
    recorded.push_back(Lower(load.dll));
  }
  std::vector<std::string> expected;
  for (const std::string& name : kPlantedNames)
    expected.push_back(Lower(ToWindowsPath(folder / (name + ".dll"))));
  std::sort(recorded.begin(), recorded.end());
  EXPECT_EQ(recorded, expected) << "loaded:\n" << Joined(Describe(loads)) << run.output;

  // The program's own account and Wine's trace agree with the journal.
  for (const std::string& name : kPlantedNames) {
    const std::string line = name + ".dll = " + ToWindowsPath(folder / (name + ".dll"));
    EXPECT_NE(Lower(run.output).find(Lower(line)), std::string::npos) << line;
  }
  EXPECT_EQ(ModulesFrom(LoadedModules(run.output), folder, loader).size(), kPlantedNames.size());
}

// The welcome page, the About dialog with its rich text, and the question whether to cancel,
// which sounds.
TEST_F(DllPlanting, WizardWithAboutDialogAndQuestionLoadsNoDllFromTheProgramFolder) {
  const fs::path folder = work_dir() / "release";
  const fs::path exe = MakeRelease(folder);
  PlantCanaries(folder);

  WineProgram installer = wine().Start(exe.string(), {}, PlantedRun());
  const DriverRun shown = Drive(
      {WaitFor("TFWillkommen", 30000), Click("TFWillkommen", "BInfo"), WaitFor("TFAbout", 10000),
       Click("TFAbout", "BClose"), WaitGone("TFAbout", 5000), Click("TFWillkommen", "BAbbrechen"),
       WaitFor("TMessageForm", 10000), Click("TMessageForm", "No"), WaitGone("TMessageForm", 5000),
       VisibleOf("TFWillkommen", "BWeiter")});
  const RunResult end = installer.Kill();
  // First what ran: a planted DLL may well have ended the program before its first page.
  EXPECT_EQ(Describe(ReadCanaryJournal(folder)), std::vector<std::string>{})
      << "planted DLLs ran in the installer";
  const std::vector<std::string> modules = LoadedModules(end.output);
  EXPECT_EQ(ModulesFrom(modules, folder, exe), std::vector<std::string>{});
  ASSERT_TRUE(shown.ok()) << shown.Report() << end.output;
  EXPECT_EQ(shown.Value(VisibleOf("TFWillkommen", "BWeiter")), "1");
  // The common controls are the version 6 that the manifest asks for: list views with check
  // boxes, visual styles.
  const auto common_controls_6 = [](const std::string& module) {
    const std::string path = Lower(module);
    return path.find("\\winsxs\\") != std::string::npos &&
           path.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0.") !=
               std::string::npos &&
           path.size() >= 13 && path.compare(path.size() - 13, 13, "\\comctl32.dll") == 0;
  };
  EXPECT_TRUE(std::any_of(modules.begin(), modules.end(), common_controls_6)) << "loaded:\n"
                                                                              << Joined(modules);
}

TEST_F(DllPlanting, SilentRunToItsEndLoadsNoDllFromTheProgramFolder) {
  InstallRelease release;
  release.defaults.delete_logs = true;  // the shell deletes the packages' logs
  release.packages = {{"KB1.exe", "/q", "E2E-DllPlanting-KB1.log"}, {"KB2.exe", "/q"}};
  RetryOnLostStart(release.ProbeNames(), release.ProbeNames(), [&](const fs::path& attempt) {
    const fs::path exe =
        MakeInstallRelease(attempt / "release", release, probe(), JournalOf(attempt));
    const fs::path folder = exe.parent_path();
    PlantCanaries(folder);

    // The log the first package leaves.
    const std::string log_name = release.packages[0].logfile;
    const fs::path log = wine().windows_dir() / log_name;
    ForgetLog(log_name);

    // "/resume:boot": the end of the run removes its task of the Task Scheduler.
    WineProgram installer = wine().Start(exe.string(), {"/silent", "/resume:boot"}, PlantedRun());
    // Every package, the finish page, the countdown and the restart request that ends it.
    RunResult end = installer.Wait(seconds(120));
    const bool ended = !end.timed_out;
    if (!ended) end = installer.Kill();
    EXPECT_EQ(Describe(ReadCanaryJournal(folder)), std::vector<std::string>{})
        << "planted DLLs ran in the installer";
    const std::vector<std::string> modules = LoadedModules(end.output);
    EXPECT_EQ(ModulesFrom(modules, folder, exe), std::vector<std::string>{});
    EXPECT_GT(modules.size(), 10u) << "no trace of the loader:\n" << end.output;
    const auto task_scheduler = [](const std::string& module) {
      return Lower(module).find("\\system32\\taskschd.dll") != std::string::npos;
    };
    EXPECT_TRUE(std::any_of(modules.begin(), modules.end(), task_scheduler))
        << "the Task Scheduler was not asked:\n"
        << Joined(modules);

    // The whole road was taken: the packages ran and the shell took the log away.
    ASSERT_TRUE(ended) << "the silent run did not end";
    EXPECT_EQ(FileNames(ReadProbeJournal(JournalOf(attempt))), release.ProbeNames());
    EXPECT_FALSE(fs::exists(log)) << log;
  });
}

}  // namespace
}  // namespace e2e
