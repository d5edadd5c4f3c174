// An in-memory stand-in for the operating system: files are a map from
// Windows path to bytes, the ANSI code page is Windows-1252.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

#include "platform/system.h"

namespace test {

// In the order of platform::System, each group's state before its methods.
class FakeSystem : public platform::System {
 public:
  // --- What survives a power cut ---
  // Files and folders, the registry, the run-once values and the tasks.
  struct DurableState;
  DurableState Durable() const;
  void RestoreDurable(const DurableState& state);
  // Called after each write of what survives a power cut; the log's lines
  // are none.
  std::function<void()> on_durable_write;

  // --- The program and the system it runs on ---
  std::vector<std::string> arguments;
  std::string program_folder = "C:\\Release\\";
  platform::OsVersion version{2, 6, 1, "Service Pack 1"};
  std::string computer_name = "PC-A";
  std::vector<std::string> debug_output;
  std::vector<std::string> Arguments() override { return arguments; }
  std::string ProgramPath() override { return program_folder + "Installer.exe"; }
  std::string ProgramFolder() override { return program_folder; }
  platform::OsVersion QueryOsVersion() override { return version; }
  std::string ComputerName() override { return computer_name; }
  platform::NumberSeparators LocaleNumberSeparators() override { return {}; }
  std::string DecodeAnsi(std::string_view bytes) override;
  std::string LocalTimeText() override { return "2026-12-08 12:00:00"; }
  void DebugOutput(const std::string& text) override { debug_output.push_back(text); }

  // --- Folders and paths ---
  std::string windows_folder = "C:\\Windows";
  // Expanded by NativePath, by the variable's name in capitals.
  std::map<std::string, std::string> environment{{"SYSTEMROOT", "C:\\Windows"}};
  std::string temporary_folder = "C:\\Temp\\";
  std::string common_data_folder = "C:\\ProgramData\\";
  // A path from a drive (C:\...) or a share (\\server\...) stays; any other is taken
  // from here.
  std::string current_folder = "C:\\Work\\";
  std::set<std::string> folders;
  std::vector<std::string> cleared_masks;
  std::set<std::string> read_only_folders;  // FolderWritable is false, writes there fail
  // The drive of a path that starts with a key; any other is a fixed disk.
  std::map<std::string, DriveKind> drive_kinds;
  // The access of existing folders (without a trailing backslash); a folder
  // not listed is the administrators' alone.
  std::map<std::string, FolderAccess> folder_access;
  // ProtectFolder reports success and changes nothing, as Wine does for a
  // folder of another Unix user.
  std::set<std::string> untakeable_folders;
  std::set<std::string> protected_folders;  // made or taken over
  std::string WindowsFolder() override;
  std::string SystemProgram(const std::string& name) override {
    return windows_folder + "\\system32\\" + name;
  }
  std::string NativePath(const std::string& path) override;
  std::string TemporaryFolder() override { return temporary_folder; }
  std::string CommonDataFolder() override { return common_data_folder; }
  std::string AbsolutePath(const std::string& path) override;
  bool FolderExists(const std::string& path) override {
    return folders.count(path) != 0 && !Away(path);
  }
  bool CreateFolder(const std::string& path) override;
  void ClearFolder(const std::string& mask) override;
  bool FolderWritable(const std::string& folder) override;
  DriveKind KindOfDrive(const std::string& path) override;
  std::optional<FolderAccess> QueryFolderAccess(const std::string& folder) override;
  bool CreateProtectedFolder(const std::string& path) override;
  bool ProtectFolder(const std::string& path) override;
  // Whether a path lies in a read-only folder.
  bool ReadOnly(const std::string& path) const;

  // --- Files ---
  std::map<std::string, std::string> files;
  // Files are handed over in blocks of `read_block_size` bytes; each path read
  // so is noted, and one in `read_failures` fails with its reason.
  std::size_t read_block_size = 1 << 20;
  std::vector<std::string> block_reads;
  std::map<std::string, std::string> read_failures;
  std::set<std::string> hidden_files;
  bool writes_fail = false;
  std::vector<std::string> recycled;
  // Paths under these are away (a share that is gone): nothing there is found or read.
  std::set<std::string> away;
  // A copy from such a source stops after that many bytes of it, once.
  std::map<std::string, std::uint64_t> copy_breaks;
  struct Copy {
    std::string from, to;
    std::uint64_t offset = 0, bytes = 0;  // where it began, what it copied
  };
  std::vector<Copy> copies;
  std::uint64_t free_space = std::uint64_t{1} << 40;
  bool Away(const std::string& path) const;
  bool FileExists(const std::string& path) override {
    return files.count(path) != 0 && !Away(path);
  }
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  std::optional<std::string> ReadFileBytes(const std::string& path) override;
  // Files held by the holds that ReadFileInBlocks gave out and that still live.
  std::multiset<std::string> held_files;
  platform::Result<platform::FileHold> ReadFileInBlocks(const std::string& path,
                                                        const platform::BlockSink& sink) override;
  platform::Result<std::string> ReadFilePart(const std::string& path, std::uint64_t offset,
                                             std::size_t count) override;
  platform::Result<platform::FileHold> CopyFileFrom(const std::string& from, const std::string& to,
                                                    std::uint64_t offset,
                                                    const platform::BlockSink& sink) override;
  platform::Result<std::vector<std::string>> FilesUnder(const std::string& folder) override;
  std::optional<std::uint64_t> FreeSpace(const std::string&) override { return free_space; }
  bool WriteHiddenFile(const std::string& path, const std::string& bytes) override;
  platform::Status AppendToFile(const std::string& path, const std::string& bytes) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  bool DuplicateFile(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override;
  std::set<std::string> removed_at_restart;
  void RemoveAtRestart(const std::string& path) override { removed_at_restart.insert(path); }
  void RecycleFile(const std::string& path) override;

  // --- The registry ---
  std::map<std::string, std::vector<std::string>> machine_keys;
  // The keys written, by "HKEY_LOCAL_MACHINE\<key>" or "HKEY_CURRENT_USER\<key>",
  // each with its values by name.
  std::map<std::string, std::map<std::string, RegistryData>> registry;
  std::string registry_failure;  // when set: every write fails with this reason
  struct RunOnceValue {
    std::string name, command;
    bool machine_wide;
  };
  std::vector<RunOnceValue> run_once;
  std::vector<std::string> MachineSubkeys(const std::string& key) override;
  platform::Status WriteRegistryValues(bool machine_wide, const std::string& key,
                                       const RegistryValues& values) override;
  bool WriteRunOnce(const std::string& name, const std::string& command,
                    bool machine_wide) override;
  void DeleteRunOnce(const std::string& name, bool machine_wide) override;

  // --- What is installed ---
  // A key exists when it has subkeys listed in machine_keys or values here.
  std::map<std::string, std::map<std::string, ValueData>> machine_values;
  // Keys that can't be read, with the reason.
  std::map<std::string, std::string> unreadable_keys;
  // Versions of files in `files`; a file not listed has no version resource.
  std::map<std::string, std::uint64_t> file_versions;
  std::set<std::string> msi_products;  // installed, by product code
  std::string msi_failure;             // when set, Windows Installer can't be asked
  platform::Result<std::vector<std::string>> MachineSubkeyNames(const std::string& key) override;
  platform::Result<ValueData> MachineValue(const std::string& key,
                                           const std::string& name) override;
  platform::Result<std::uint64_t> FileVersion(const std::string& path) override;
  platform::Result<bool> MsiProductInstalled(const std::string& product_code) override;

  // --- Processes and the worker ---
  struct Run {
    std::string command_line, working_folder;
    std::multiset<std::string> held_files;  // while it ran
  };
  std::vector<Run> runs;
  // The exit code of a package whose command line holds the key; 0 else.
  std::map<std::string, std::uint32_t> exit_codes;
  // Command lines holding such a key are not started.
  std::set<std::string> start_failures;
  struct Worker {
    std::function<void()> body;
    bool low_priority;
    std::function<void()> finished;
  };
  std::deque<Worker> workers;  // started, not yet finished
  std::vector<std::pair<std::string, std::string>> programs_started;
  std::vector<std::string> links_opened;
  platform::ProcessResult RunHiddenAndWait(const std::string& command_line,
                                           const std::string& working_folder,
                                           const std::function<void()>& meanwhile) override;
  void StartWorker(std::function<void()> body, bool low_priority,
                   std::function<void()> finished) override;
  // Runs the oldest started worker to its end, then its handler, as the
  // main thread would; false when none is running.
  bool FinishWorker();
  void StartProgram(const std::string& application, const std::string& command_line) override {
    programs_started.emplace_back(application, command_line);
  }
  void OpenLink(const std::string& address) override { links_opened.push_back(address); }

  // --- Pictures and sounds ---
  std::vector<std::string> pictures_loaded;
  std::vector<std::string> sounds;  // aliases played, in order
  // Any existing file is a picture of 10 x 20 pixels.
  std::shared_ptr<const platform::Picture> LoadPicture(const std::string& path) override;
  std::shared_ptr<const platform::Picture> ProgramIcon() override;
  std::shared_ptr<const platform::Picture> BannerPicture() override;
  std::shared_ptr<const platform::Picture> ProgressPicture(int state) override;
  void PlaySoundAlias(const std::string& alias) override { sounds.push_back(alias); }

  // --- The session, its rights and the lock ---
  bool elevated = false;
  bool local_system = false;
  bool desktop_visible = true;
  unsigned long session_id = 1;
  bool install_lock_free = true;
  std::vector<int> install_lock_waits;  // the wait of each AcquireInstallLock
  bool IsElevated() override { return elevated; }
  bool IsLocalSystem() override { return local_system; }
  bool DesktopVisible() override { return desktop_visible; }
  unsigned long SessionId() override { return session_id; }
  bool AcquireInstallLock(int wait_ms) override;

  // --- The restart and the continuation at the next system start ---
  int restart_requests = 0;
  bool restart_accepted = true;
  struct BootTask {
    std::string program, arguments;
  };
  std::map<std::string, BootTask> boot_tasks;  // by name
  std::string boot_task_failure;               // RegisterBootTask fails with it when set
  platform::Status RequestRestart() override;
  platform::Status RegisterBootTask(const std::string& name, const std::string& program,
                                    const std::string& arguments) override;
  void DeleteBootTask(const std::string& name) override;

 private:
  bool EraseRunOnce(const std::string& name, bool machine_wide);
  void Written() const {
    if (on_durable_write) on_durable_write();
  }
};

struct FakeSystem::DurableState {
  std::map<std::string, std::string> files;
  std::set<std::string> hidden_files, folders;
  std::map<std::string, std::map<std::string, RegistryData>> registry;
  std::vector<RunOnceValue> run_once;
  std::map<std::string, BootTask> boot_tasks;
  std::vector<Run> runs;  // the packages that ran to their end so far
};

}  // namespace test
