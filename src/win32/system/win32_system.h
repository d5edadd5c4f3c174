// The platform services on real Windows.
#pragma once

#include "platform/system.h"
#include "win32/system/worker_thread.h"

namespace win32 {

// In the order of platform::System.
class Win32System : public platform::System {
 public:
  // --- The program and the system it runs on ---
  std::vector<std::string> Arguments() override;
  std::string ProgramPath() override;
  std::string ProgramFolder() override;
  platform::OsVersion QueryOsVersion() override;
  std::string ComputerName() override;
  platform::NumberSeparators LocaleNumberSeparators() override;
  std::string DecodeAnsi(std::string_view bytes) override;
  std::string LocalTimeText() override;
  void DebugOutput(const std::string& text) override;

  // --- Folders and paths ---
  std::string WindowsFolder() override;
  // Sysnative for a 32-bit program on 64-bit Windows, where it exists.
  std::string SystemProgram(const std::string& file_name) override;
  // %ProgramFiles% and System32 name the 64-bit folders in a 32-bit program too.
  std::string NativePath(const std::string& path) override;
  std::string TemporaryFolder() override;
  std::string CommonDataFolder() override;
  std::string AbsolutePath(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  void ClearFolder(const std::string& mask) override;
  bool FolderWritable(const std::string& folder) override;
  DriveKind KindOfDrive(const std::string& path) override;
  std::optional<FolderAccess> QueryFolderAccess(const std::string& folder) override;
  bool CreateProtectedFolder(const std::string& path) override;
  bool ProtectFolder(const std::string& path) override;

  // --- Files ---
  bool FileExists(const std::string& path) override;
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  std::optional<std::string> ReadFileBytes(const std::string& path) override;
  platform::Result<platform::FileHold> ReadFileInBlocks(const std::string& path,
                                                        const platform::BlockSink& sink) override;
  platform::Result<std::string> ReadFilePart(const std::string& path, std::uint64_t offset,
                                             std::size_t count) override;
  platform::Result<platform::FileHold> CopyFileFrom(const std::string& from, const std::string& to,
                                                    std::uint64_t offset,
                                                    const platform::BlockSink& sink) override;
  platform::Result<std::vector<std::string>> FilesUnder(const std::string& folder) override;
  std::optional<std::uint64_t> FreeSpace(const std::string& folder) override;
  bool WriteHiddenFile(const std::string& path, const std::string& bytes) override;
  platform::Status AppendToFile(const std::string& path, const std::string& bytes) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  bool DuplicateFile(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override;
  void RemoveAtRestart(const std::string& path) override;
  void RecycleFile(const std::string& path) override;

  // --- The registry ---
  std::vector<std::string> MachineSubkeys(const std::string& key) override;
  platform::Status WriteRegistryValues(bool machine_wide, const std::string& key,
                                       const RegistryValues& values) override;
  bool WriteRunOnce(const std::string& name, const std::string& command,
                    bool machine_wide) override;
  void DeleteRunOnce(const std::string& name, bool machine_wide) override;

  // --- What is installed, as the 64-bit system sees it ---
  platform::Result<std::vector<std::string>> MachineSubkeyNames(const std::string& key) override;
  platform::Result<ValueData> MachineValue(const std::string& key,
                                           const std::string& name) override;
  platform::Result<std::uint64_t> FileVersion(const std::string& path) override;
  platform::Result<bool> MsiProductInstalled(const std::string& product_code) override;

  // --- Processes and the worker ---
  platform::ProcessResult RunHiddenAndWait(const std::string& command_line,
                                           const std::string& working_folder,
                                           const std::function<void()>& meanwhile) override;
  void StartWorker(std::function<void()> body, bool low_priority,
                   std::function<void()> finished) override;
  void StartProgram(const std::string& application, const std::string& command_line) override;
  void OpenLink(const std::string& address) override;

  // --- Pictures and sounds ---
  std::shared_ptr<const platform::Picture> LoadPicture(const std::string& path) override;
  // Nothing when the program has no such resource.
  std::shared_ptr<const platform::Picture> ProgramIcon() override;
  std::shared_ptr<const platform::Picture> BannerPicture() override;
  std::shared_ptr<const platform::Picture> ProgressPicture(int state) override;
  void PlaySoundAlias(const std::string& alias) override;

  // --- The session, its rights and the lock ---
  bool IsElevated() override;
  bool IsLocalSystem() override;
  bool DesktopVisible() override;
  unsigned long SessionId() override;
  bool AcquireInstallLock(int wait_ms) override;

  // --- The restart and the continuation at the next system start ---
  platform::Status RequestRestart() override;
  // Task Scheduler 2.0 (Windows Vista and later) through COM.
  platform::Status RegisterBootTask(const std::string& name, const std::string& program,
                                    const std::string& arguments) override;
  void DeleteBootTask(const std::string& name) override;

 private:
  WorkerThreads workers_;
};

}  // namespace win32
