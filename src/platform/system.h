// The operating-system services the program logic needs. The Windows build
// implements them in src/win32/; unit tests use an in-memory fake.
//
// Errors: a method whose failure the caller reports, on screen or in the log,
// returns it with the system's reason, an action as a Status and a query as a
// Result. A method whose failure counts only as yes or no returns bool, or
// std::optional without a reason; one whose failure is no error returns
// nothing. None throws, except where the framework's error report shows the
// runtime's German message: LoadPicture, WindowsFolder and StartWorker throw
// std::runtime_error.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/number_separators.h"
#include "platform/picture.h"

namespace platform {

// What the system reports about its own version at program start.
struct OsVersion {
  int platform_id = 0;  // 1: Windows 9x family, 2: Windows NT family
  int major = 0;
  int minor = 0;
  std::string service_pack;  // CSD version text, UTF-8
};

// What became of a process started by System::RunHiddenAndWait.
struct ProcessResult {
  bool started = false;
  std::uint32_t exit_code = 0;  // when it was started
  std::string error;            // the system's reason when it was not
};

// Receives a file's content block by block, in order.
using BlockSink = std::function<void(std::string_view block)>;

// A file kept open while this lives, with others kept from writing, replacing
// or deleting it: what was read is what the next reader finds.
using FileHold = std::shared_ptr<void>;

// What an action that can fail reports: done, or the system's reason why not.
struct [[nodiscard]] Status {
  bool ok = true;
  std::string reason;  // when not ok

  static Status Failed(std::string reason) { return {false, std::move(reason)}; }
};

// What a query that can fail reports: the value, or the system's reason why
// there is none.
template <typename T>
struct [[nodiscard]] Result {
  std::optional<T> value;
  std::string reason;  // when there is no value

  static Result Failed(std::string reason) { return {std::nullopt, std::move(reason)}; }
};

class System {
 public:
  virtual ~System() = default;

  // --- The program and the system it runs on -------------------------

  // The command-line arguments, without the program's own path.
  virtual std::vector<std::string> Arguments() = 0;
  // The full path of the program's own file.
  virtual std::string ProgramPath() = 0;
  // Folder of the running program's own file, ending in a backslash.
  virtual std::string ProgramFolder() = 0;
  virtual OsVersion QueryOsVersion() = 0;
  // The computer's name, which the state of a run records.
  virtual std::string ComputerName() = 0;
  virtual NumberSeparators LocaleNumberSeparators() = 0;
  // Text in the system's ANSI code page, returned as UTF-8.
  virtual std::string DecodeAnsi(std::string_view bytes) = 0;
  // The local date and time as "2026-12-08 21:03:05".
  virtual std::string LocalTimeText() = 0;
  // A text for a debugger that listens (OutputDebugString): what can't go anywhere else.
  virtual void DebugOutput(const std::string& text) = 0;

  // --- Folders and paths ----------------------------------------------

  // The Windows folder without a trailing backslash; throws
  // std::runtime_error with the system's message when it cannot be found.
  virtual std::string WindowsFolder() = 0;
  // Full path of a program of the system folder: the native one, also for a
  // 32-bit program on 64-bit Windows.
  virtual std::string SystemProgram(const std::string& file_name) = 0;
  // A path with its environment variables (%SystemRoot%) expanded, naming
  // what a 64-bit program would find there.
  virtual std::string NativePath(const std::string& path) = 0;
  // The user's folder for temporary files, ending in a backslash.
  virtual std::string TemporaryFolder() = 0;
  // The machine's folder for the data of programs, shared by all users
  // (ProgramData), ending in a backslash.
  virtual std::string CommonDataFolder() = 0;
  // A path made absolute against the current folder, as the system resolves it
  // ("..", "/" and a path from the drive's root included); unchanged when it can't be.
  virtual std::string AbsolutePath(const std::string& path) = 0;

  virtual bool FolderExists(const std::string& path) = 0;
  // One level; false when it cannot be created.
  virtual bool CreateFolder(const std::string& path) = 0;
  // Deletes what a mask ("C:\Setup\data\setuptemp\*.*") matches, silently,
  // through the shell.
  virtual void ClearFolder(const std::string& mask) = 0;
  // Whether a file can be made in the folder: tried, then removed.
  virtual bool FolderWritable(const std::string& folder) = 0;

  // What holds a folder: a local fixed disk, where a run's state may stay
  // beside the program, or something that is not this machine's alone or
  // may be gone at the next logon.
  enum class DriveKind { Fixed, Network, Removable, Optical, Unknown };
  // The kind of the drive of a path's root; a UNC path is on the network.
  virtual DriveKind KindOfDrive(const std::string& path) = 0;
  // Who may change a folder.
  struct FolderAccess {
    std::string owner;  // the owner's account name, for the log
    // SYSTEM or the administrators; on a system that gives every file the
    // user's own account (Wine: even the Windows folder), that account too.
    bool owner_trusted = false;
    bool others_may_write = false;  // anyone else may change it or what it holds
  };
  // Nothing when the folder is missing or its access list can't be read.
  virtual std::optional<FolderAccess> QueryFolderAccess(const std::string& folder) = 0;
  // One level, owned by the administrators, that only SYSTEM and the
  // administrators may change and users may read; false when it can't be made.
  virtual bool CreateProtectedFolder(const std::string& path) = 0;
  // Gives an existing folder that owner and access list; false when refused.
  virtual bool ProtectFolder(const std::string& path) = 0;

  // --- Files ------------------------------------------------------------

  virtual bool FileExists(const std::string& path) = 0;
  // The size of an ordinary file (not hidden, system or a folder).
  virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
  // Whole content of a file, or nothing when it cannot be read.
  virtual std::optional<std::string> ReadFileBytes(const std::string& path) = 0;
  // Reads a file from start to end in large blocks and keeps holding it until
  // the hold is dropped; fails when it can't be read to its end.
  virtual Result<FileHold> ReadFileInBlocks(const std::string& path, const BlockSink& sink) = 0;
  // `count` bytes of a file from `offset` on, fewer where it ends; fails when
  // it can't be read there.
  virtual Result<std::string> ReadFilePart(const std::string& path, std::uint64_t offset,
                                           std::size_t count) = 0;
  // Copies a file from byte `offset` on: the copy is cut there (made, with
  // its folders, when `offset` is 0) and each block goes to `sink` once it is
  // written. At the source's end the copy is held as ReadFileInBlocks holds
  // its file; fails with the system's reason at the first block that can't
  // be read or written, keeping what was written before it.
  virtual Result<FileHold> CopyFileFrom(const std::string& from, const std::string& to,
                                        std::uint64_t offset, const BlockSink& sink) = 0;
  // The files under a folder and its subfolders, as paths relative to it
  // ("Disk1\data.cab"); fails when the folder can't be read.
  virtual Result<std::vector<std::string>> FilesUnder(const std::string& folder) = 0;
  // The bytes that this user may still write to the drive of a folder.
  virtual std::optional<std::uint64_t> FreeSpace(const std::string& folder) = 0;
  // Writes a file completely or not at all (a temporary file, then
  // replaced) and leaves it with the hidden attribute alone.
  virtual bool WriteHiddenFile(const std::string& path, const std::string& bytes) = 0;
  // Appends to a file, making it when missing.
  virtual Status AppendToFile(const std::string& path, const std::string& bytes) = 0;
  // Gives a file another name, replacing a file of that name.
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
  // Copies a file as a new file, replacing one of that name completely or
  // not at all, so that the copy takes the access list of its folder.
  virtual bool DuplicateFile(const std::string& from, const std::string& to) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Removes a file at the next restart of the computer: the running
  // program's own file, which can't go while it runs. Needs administrator
  // rights; a failure is not reported.
  virtual void RemoveAtRestart(const std::string& path) = 0;
  // Moves a file to the recycle bin without asking.
  virtual void RecycleFile(const std::string& path) = 0;

  // --- The registry -----------------------------------------------------

  // Names of the subkeys of a key under HKEY_LOCAL_MACHINE, as the 64-bit
  // system sees it also from a 32-bit program; none when the key cannot be
  // opened.
  virtual std::vector<std::string> MachineSubkeys(const std::string& key) = 0;
  // The data of a registry value: REG_SZ, REG_DWORD or REG_MULTI_SZ.
  using RegistryData = std::variant<std::string, std::uint32_t, std::vector<std::string>>;
  using RegistryValues = std::vector<std::pair<std::string, RegistryData>>;
  // Creates a key (a path such as "SOFTWARE\Vendor\Name") under
  // HKEY_LOCAL_MACHINE, or under HKEY_CURRENT_USER when not `machine_wide`,
  // and writes the values into it: the record for deployment tools. A 32-bit
  // program writes where a 64-bit one does, not into the 32-bit view. Fails
  // when the key or a value could not be written.
  virtual Status WriteRegistryValues(bool machine_wide, const std::string& key,
                                     const RegistryValues& values) = 0;
  // Writes a string value under SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce
  // of HKEY_CURRENT_USER, or of HKEY_LOCAL_MACHINE when `machine_wide`.
  virtual bool WriteRunOnce(const std::string& name, const std::string& command,
                            bool machine_wide) = 0;
  // Removes a value written by WriteRunOnce; a missing value is no error.
  virtual void DeleteRunOnce(const std::string& name, bool machine_wide) = 0;

  // --- What is installed, as the 64-bit system sees it ------------------
  // A 32-bit program reads the 64-bit registry view and the native system
  // folder, as a 64-bit program does.

  // The names of the subkeys of a key under HKEY_LOCAL_MACHINE; fails when
  // the key is missing or can't be read.
  virtual Result<std::vector<std::string>> MachineSubkeyNames(const std::string& key) = 0;
  // What a value can be compared with: REG_SZ and REG_EXPAND_SZ as their
  // text (not expanded), REG_DWORD as its number.
  using ValueData = std::variant<std::string, std::uint32_t>;
  // A value of such a key; fails when the key or the value is missing or
  // can't be read, or the value is of another type.
  virtual Result<ValueData> MachineValue(const std::string& key, const std::string& name) = 0;
  // The file version of a file's version resource, its four parts from high
  // to low, 16 bits each; fails when the file is missing or has none.
  virtual Result<std::uint64_t> FileVersion(const std::string& path) = 0;
  // Whether Windows Installer reports a product installed
  // (MsiQueryProductState); fails when Windows Installer can't be asked or
  // refuses the code.
  virtual Result<bool> MsiProductInstalled(const std::string& product_code) = 0;

  // --- Processes and the worker ------------------------------------------

  // Runs a command line with a hidden window in a working folder and waits
  // for its end, without time limit; `meanwhile`, when given, runs on the
  // calling thread once the process has started. Called on a worker thread.
  virtual ProcessResult RunHiddenAndWait(const std::string& command_line,
                                         const std::string& working_folder,
                                         const std::function<void()>& meanwhile) = 0;
  // Runs `body` on a worker thread (at the lowest priority when asked);
  // `finished` runs afterwards on the main thread, also when the body
  // failed. One body at a time: the next is started after the last finished.
  // Throws std::runtime_error with the system's message when no thread can
  // be made.
  virtual void StartWorker(std::function<void()> body, bool low_priority,
                           std::function<void()> finished) = 0;
  // Starts a program and does not wait for it; a failure is not reported.
  virtual void StartProgram(const std::string& application, const std::string& command_line) = 0;
  // Hands an address to the shell ("open") with the active window, the dialog the link was
  // clicked in, as the owner of whatever the shell shows; a failure is not reported.
  virtual void OpenLink(const std::string& address) = 0;

  // --- Pictures and sounds ----------------------------------------------

  // A Windows bitmap (.bmp) or icon (.ico) file, chosen by its extension.
  // Throws the runtime's error, whose message the release's words say
  // (release::WordedError), when the file is missing or not a picture of
  // that kind.
  virtual std::shared_ptr<const Picture> LoadPicture(const std::string& path) = 0;
  // The program's own main icon, and the banner of the installation page.
  virtual std::shared_ptr<const Picture> ProgramIcon() = 0;
  virtual std::shared_ptr<const Picture> BannerPicture() = 0;
  // The tray's progress pictures, 16 x 16: state 0 (nothing done) to 16 (all done).
  virtual std::shared_ptr<const Picture> ProgressPicture(int state) = 0;
  // Starts a system sound by its alias ("SYSTEMERROR", ...) and returns at
  // once; a sound that cannot be played is no error.
  virtual void PlaySoundAlias(const std::string& alias) = 0;

  // --- The session, its rights and the lock ------------------------------

  // The process runs with administrator rights.
  virtual bool IsElevated() = 0;
  // The process runs as LocalSystem (its token's user is S-1-5-18), as the
  // agent of a deployment tool starts it.
  virtual bool IsLocalSystem() = 0;
  // Whether a person can see the program's windows: not in a service's or a
  // task's window station.
  virtual bool DesktopVisible() = 0;
  // The number of the Windows session the process runs in; from Windows
  // Vista on, no user sees session 0.
  virtual unsigned long SessionId() = 0;
  // The lock that lets one installer run at a time on the machine, across
  // users and sessions. Waits up to `wait_ms` milliseconds for it; true when
  // this process holds it from then on, until it ends.
  virtual bool AcquireInstallLock(int wait_ms) = 0;

  // --- The restart and the continuation at the next system start --------

  // Asks Windows to restart the computer (EWX_REBOOT, with the shutdown
  // privilege enabled just for the request); fails when it was refused.
  virtual Status RequestRestart() = 0;
  // Registers a task of the Task Scheduler that runs `program` with
  // `arguments` at the system start as LocalSystem with the highest rights,
  // replacing a task of that name; fails when it can't be.
  virtual Status RegisterBootTask(const std::string& name, const std::string& program,
                                  const std::string& arguments) = 0;
  // Removes such a task; a missing one, or no Task Scheduler, is no error.
  virtual void DeleteBootTask(const std::string& name) = 0;
};

}  // namespace platform
