// The platform services on real Windows.
#pragma once

#include "platform/system.h"
#include "win32/system/worker_thread.h"

namespace win32 {

class Win32System : public platform::System {
 public:
  std::string ProgramFolder() override;
  std::optional<std::string> ReadFileBytes(const std::string& path) override;
  std::string DecodeAnsi(std::string_view bytes) override;
  bool ReadFileInBlocks(const std::string& path, const platform::BlockSink& sink,
                        std::string& reason) override;
  platform::OsVersion QueryOsVersion() override;
  std::vector<std::string> Arguments() override;
  bool FileExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  void PlaySoundAlias(const std::string& alias) override;
  void OpenLink(const std::string& address) override;
  void StartProgram(const std::string& application, const std::string& command_line) override;
  std::shared_ptr<const platform::Picture> LoadPicture(const std::string& path) override;
  // Nothing when the program has no such resource.
  std::shared_ptr<const platform::Picture> ProgramIcon() override;
  std::shared_ptr<const platform::Picture> BannerPicture() override;
  std::shared_ptr<const platform::Picture> ProgressPicture(int state) override;

  std::string ProgramPath() override;
  std::string WindowsFolder() override;
  // Sysnative for a 32-bit program on 64-bit Windows, where it exists.
  std::string SystemProgram(const std::string& file_name) override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  void ClearFolder(const std::string& mask) override;
  void RecycleFile(const std::string& path) override;
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  bool WriteHiddenFile(const std::string& path, const std::string& bytes) override;
  platform::NumberSeparators LocaleNumberSeparators() override;
  std::vector<std::string> MachineSubkeys(const std::string& key) override;
  bool WriteRunOnce(const std::string& name, const std::string& command,
                    bool machine_wide) override;
  bool IsElevated() override;

  // --- The record for deployment tools ---
  bool WriteRegistryValues(bool machine_wide, const std::string& key, const RegistryValues& values,
                           std::string& reason) override;

  // --- What is installed, as the 64-bit system sees it ---
  std::optional<std::vector<std::string>> MachineSubkeyNames(const std::string& key,
                                                             std::string& reason) override;
  std::optional<ValueData> MachineValue(const std::string& key, const std::string& name,
                                        std::string& reason) override;
  // %ProgramFiles% and System32 name the 64-bit folders in a 32-bit program too.
  std::string NativePath(const std::string& path) override;
  std::optional<std::uint64_t> FileVersion(const std::string& path, std::string& reason) override;
  bool MsiProductInstalled(const std::string& product_code, std::string& reason) override;

  platform::ProcessResult RunHiddenAndWait(const std::string& command_line,
                                           const std::string& working_folder) override;
  void StartWorker(std::function<void()> body, bool low_priority,
                   std::function<void()> finished) override;
  bool RequestRestart(std::string& reason) override;

  std::string TemporaryFolder() override;
  std::string CommonDataFolder() override;
  bool FolderWritable(const std::string& folder) override;
  bool AppendToFile(const std::string& path, const std::string& bytes,
                    std::string& reason) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  void DeleteRunOnce(const std::string& name, bool machine_wide) override;

  // --- The continuation at the next system start ---
  bool IsLocalSystem() override;
  // Task Scheduler 2.0 (Windows Vista and later) through COM.
  bool RegisterBootTask(const std::string& name, const std::string& program,
                        const std::string& arguments, std::string& reason) override;
  void DeleteBootTask(const std::string& name) override;

  std::string AbsolutePath(const std::string& path) override;
  void DebugOutput(const std::string& text) override;
  std::string LocalTimeText() override;
  bool AcquireInstallLock(int wait_ms) override;

  // --- Where a run keeps its state ---
  DriveKind KindOfDrive(const std::string& path) override;
  std::string ComputerName() override;
  bool DuplicateFile(const std::string& from, const std::string& to) override;
  std::optional<FolderAccess> QueryFolderAccess(const std::string& folder) override;
  bool CreateProtectedFolder(const std::string& path) override;
  bool ProtectFolder(const std::string& path) override;
  bool DesktopVisible() override;
  unsigned long SessionId() override;

 private:
  WorkerThreads workers_;
};

}  // namespace win32
