// The fixture of the tests of runs that nobody watches and of the system the program believes
// it runs on: the Windows version Wine reports to Installer.exe or to every program, the
// run-once values of both hives, the install log, and a watch for message windows.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "harness/install_test.h"

namespace e2e {

// A registry value of the prefix set for the lifetime of the object. What was there before
// (or that nothing was) is kept in a file of the prefix meanwhile, so that a run killed before
// it put the value back does so first: every other test expects the prefix as it was made.
class KeptRegistryValue {
 public:
  KeptRegistryValue(WineSession& wine, const std::string& key, const std::string& name,
                    const std::string& data);
  ~KeptRegistryValue();
  KeptRegistryValue(const KeptRegistryValue&) = delete;
  KeptRegistryValue& operator=(const KeptRegistryValue&) = delete;

 private:
  void PutBack();

  WineSession& wine_;
  std::string key_;
  std::string name_;
  fs::path kept_;
};

// Wine's per-program Windows version for Installer.exe ("win10", "winxp", ...); normally there
// is none: Windows 7.
class InstallerWindowsVersion : public KeptRegistryValue {
 public:
  InstallerWindowsVersion(WineSession& wine, const std::string& version);
};

// The Windows version that Wine reports to every program of the prefix without a version
// setting of its own (AppDefaults): the registry's CurrentVersion ("10.1"). Wine reads it for a
// 32-bit program from the registry's 32-bit view (Wow6432Node), which a 64-bit prefix keeps
// apart; a system has one version for all its programs, so both views carry it.
class ReportedSystemVersion {
 public:
  ReportedSystemVersion(WineSession& wine, const std::string& version);

 private:
  KeptRegistryValue native_view_;
  KeptRegistryValue view_of_32_bit_programs_;
};

// What a watch for message windows saw.
struct BoxWatch {
  std::string box;       // caption and text of a message window that showed; empty: none did
  bool reached = false;  // the awaited form showed, or the program ended
};

// An install log record's text after its date and time ("YYYY-MM-DD HH:MM:SS  ").
std::string RecordText(const std::string& record);
// The texts of the records whose text starts with `start`.
std::vector<std::string> TextsStartingWith(const std::vector<std::string>& records,
                                           const std::string& start);

class UnattendedTest : public InstallTest {
 protected:
  static constexpr const char* kMachineRunOnce =
      "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
  static constexpr const char* kUserRunOnce =
      "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

  // The data of a REG_SZ value as `reg query` shows it; nothing when there is no such value.
  std::optional<std::string> RegistryValue(const std::string& key, const std::string& name);
  void DeleteRegistryValue(const std::string& key, const std::string& name);
  // The program's run-once value in the user's hive (used where Windows has no user account
  // control, and never run by Wine itself).
  std::optional<std::string> UserRunOnceValue() { return RegistryValue(kUserRunOnce, kRunOnce); }
  void ForgetUserRunOnce() { DeleteRegistryValue(kUserRunOnce, kRunOnce); }

  // The install log of a run without "/log" (kInstallLog).
  fs::path InstallLog() { return wine().ToLinuxPath(kInstallLog); }
  // Before a run whose log is read: the log of earlier runs goes.
  void ForgetInstallLog() { fs::remove(InstallLog()); }
  // The records of the install log: the byte-order mark checked and dropped, split at CR LF.
  // Adds a failure for a missing mark or a record that does not start with date and time.
  std::vector<std::string> InstallLogRecords() { return LogRecords(InstallLog()); }
  // The same for a log in another place ("/log:PATH").
  std::vector<std::string> LogRecords(const fs::path& log);
  static int Occurrences(const std::vector<std::string>& records, const std::string& text);

  // Polls for a visible TMessageForm or standard message box (#32770) until a visible `form`
  // exists (empty: until `program` ends) or `timeout` has passed.
  BoxWatch WatchForBoxes(WineProgram& program, const std::string& form,
                         std::chrono::milliseconds timeout);
  // A silent run's end without the restart: stops the countdown, ticks "Jetzt nicht neu
  // starten" and closes the finish page. Adds a failure when a step fails.
  void EndFinishedSilentRunWithoutRestart();
  // The same for a run without the countdown (automatic restart off).
  void CloseFinishPageWithoutRestart();

  // The lines of a continuation file: run total, the four options, the rows; CR LF after each.
  static std::string ContinuationFile(int total, const std::vector<bool>& options,
                                      const std::vector<int>& rows);

  static constexpr const char* kRunOnce = "rir Eridivu";
};

}  // namespace e2e
