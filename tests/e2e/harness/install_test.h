// The fixture of the tests that let the real Installer.exe install packages under Wine: a
// fresh release per attempt, the probes' journal, the run-once value, the end of the session,
// and one more attempt when Wine lost a probe's start.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "harness/install_release.h"
#include "harness/ui_driver.h"
#include "harness/wine_test.h"

namespace e2e {

// The data of a value of the prefix's registry as `reg query` shows it ("0x643" for a
// REG_DWORD, "a\0b" for a REG_MULTI_SZ), or nothing when there is no such value of that type;
// `env` adds to the environment of `reg` (another machine's WINEPREFIX).
std::optional<std::string> QueryRegistryValue(WineSession& wine, const std::string& key,
                                              const std::string& name,
                                              const std::string& type = "REG_SZ",
                                              const std::map<std::string, std::string>& env = {});

class InstallTest : public WineTest {
 protected:
  using Attempt = std::function<void(const fs::path& folder)>;

  // Runs `attempt` in a fresh folder. Wine fails about one process start in 2000 with error
  // 1359, and the installer passes such a package over silently, as it must with any package
  // that cannot start. So when an attempt fails and its journal lacks exactly one of the
  // `expected` probes while the others ran in table order (`table`: every probe of the
  // release), that start was lost: the attempt's failures are dropped and it runs once more.
  // Every other failure is reported as it happened.
  void RetryOnLostStart(const std::vector<std::string>& table,
                        const std::vector<std::string>& expected, const Attempt& attempt);

  DriverRun Drive(const std::vector<std::string>& commands) { return e2e::Drive(wine(), commands); }

  static fs::path JournalOf(const fs::path& folder) { return folder / "journal.txt"; }
  // Polls until the journal has `count` runs; false when it has not after `timeout`.
  static bool WaitForJournal(const fs::path& journal, std::size_t count,
                             std::chrono::milliseconds timeout);
  static std::vector<std::string> FileNames(const std::vector<ProbeRun>& runs);
  static std::string ReadFile(const fs::path& path);  // empty when missing

  // Where an elevated run logs when no "/log" names a file; Wine runs every program elevated.
  static constexpr const char* kInstallLog = "C:\\ProgramData\\UpdatePackages\\Installer.log";
  // The command a run-once value of `exe` holds: its quoted path, the switches it carries
  // (" /norestart"), always the absolute path of the run's log, and its mark, the run's
  // continuation file in `state_folder` (ending in a backslash), by default beside `exe`.
  static std::string RunOnceCommand(const fs::path& exe, const std::string& switches = "",
                                    const std::string& log = kInstallLog,
                                    const std::string& state_folder = "");
  // The logon: starts a run-once command as Windows does, the quoted program with its
  // arguments; `env` as for QueryRegistryValue.
  WineProgram StartRunOnce(const std::string& command,
                           const std::map<std::string, std::string>& env = {});
  // The data of the value "rir Eridivu" under HKLM's RunOnce key, as `reg query` shows it.
  std::optional<std::string> RunOnceValue();
  // Wine's restart runs HKLM's run-once values itself, and holds every program started from
  // outside until they have ended: no driver could watch the run going on. A test that plays
  // the logon itself takes the value away before the restart; and one left behind would start
  // an old release at the next restart request of any test.
  void ForgetRunOnce();
  // A restart request ends every program with a window: a shown bare window tells whether
  // the session ended.
  WineProgram StartSentinel();
  // True when the sentinel ends within `timeout`: the session has ended. Then waits (as long
  // again) until Wine has ended the processes left, which would otherwise take with them what
  // a test starts next, as a logon.
  bool SessionEnded(WineProgram& sentinel, std::chrono::milliseconds timeout);
  // Presses the restart prompt's restart button: the request ends the installer and the
  // session (checked with a sentinel).
  void RestartFromThePrompt(WineProgram& installer);
  // $HOME/.local/share/Trash/files of the harness.
  fs::path TrashFiles();
  // A package's log in the Windows folder, and what an earlier run left in the trash: the
  // shell would give a second copy there another name.
  void ForgetLog(const std::string& name);
  // The screen's dots per inch, which Wine reads at each program's start.
  void SetDpi(int dpi);

 private:
  void RunAttempt(const fs::path& folder, const Attempt& attempt);
  // Installers that no test handle ends (a failed test may leave one): ended by their windows.
  void EndLeftoverInstallers();
};

}  // namespace e2e
