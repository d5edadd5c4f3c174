#include "fake_system.h"

#include <algorithm>
#include <cctype>

#include "release/errors.h"
#include "release/text_encoding.h"

namespace test {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned bytes decode as U+FFFD.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

constexpr char kNotFound[] = "Das System kann die angegebene Datei nicht finden.";

class FakePicture : public platform::Picture {
 public:
  FakePicture(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }

 private:
  int width_, height_;
};

}  // namespace
// --- The program and the system it runs on ---

std::string FakeSystem::DecodeAnsi(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    release::AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
  }
  return out;
}

// --- Folders and paths ---

std::string FakeSystem::WindowsFolder() {
  if (windows_folder.empty())
    throw std::runtime_error("Das System kann den angegebenen Pfad nicht finden");
  return windows_folder;
}

// %NAME% in any letter case; an unknown variable stays as it is.
std::string FakeSystem::NativePath(const std::string& path) {
  std::string result;
  std::size_t from = 0;
  for (std::size_t open = path.find('%'); open != std::string::npos; open = path.find('%', from)) {
    const std::size_t close = path.find('%', open + 1);
    if (close == std::string::npos) break;
    std::string name = path.substr(open + 1, close - open - 1);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto value = environment.find(name);
    result += path.substr(from, open - from) +
              (value != environment.end() ? value->second : path.substr(open, close - open + 1));
    from = close + 1;
  }
  return result + path.substr(from);
}

std::string FakeSystem::AbsolutePath(const std::string& path) {
  const bool absolute = path.rfind("\\\\", 0) == 0 || path.find(":\\") == 1;
  return absolute ? path : current_folder + path;
}

bool FakeSystem::CreateFolder(const std::string& path) {
  if (writes_fail || ReadOnly(path)) return false;
  folders.insert(path);
  Written();
  return true;
}

void FakeSystem::ClearFolder(const std::string& mask) {
  cleared_masks.push_back(mask);
  const std::string folder = mask.find('*') == std::string::npos
                                 ? (mask.back() == '\\' ? mask : mask + "\\")
                                 : mask.substr(0, mask.rfind('\\') + 1);
  for (auto it = files.begin(); it != files.end();) {  // a held file stays, as on Windows
    const bool gone = it->first.rfind(folder, 0) == 0 && !held_files.count(it->first);
    it = gone ? files.erase(it) : std::next(it);
  }
  Written();
}

bool FakeSystem::FolderWritable(const std::string& folder) {
  return !ReadOnly(folder);
}

platform::System::DriveKind FakeSystem::KindOfDrive(const std::string& path) {
  for (const auto& [start, kind] : drive_kinds) {
    if (path.rfind(start, 0) == 0) return kind;
  }
  return DriveKind::Fixed;
}

std::optional<platform::System::FolderAccess> FakeSystem::QueryFolderAccess(
    const std::string& folder) {
  if (!FolderExists(folder)) return std::nullopt;
  const auto it = folder_access.find(folder);
  if (it != folder_access.end()) return it->second;
  return FolderAccess{"VORDEFINIERT\\Administratoren", true, false};
}

bool FakeSystem::CreateProtectedFolder(const std::string& path) {
  if (!CreateFolder(path)) return false;
  protected_folders.insert(path);
  return true;
}

bool FakeSystem::ProtectFolder(const std::string& path) {
  if (writes_fail) return false;
  protected_folders.insert(path);
  if (!untakeable_folders.count(path)) folder_access.erase(path);
  return true;
}

bool FakeSystem::ReadOnly(const std::string& path) const {
  for (const std::string& folder : read_only_folders) {
    if (path.rfind(folder, 0) == 0) return true;
  }
  return false;
}

// --- Files ---

bool FakeSystem::Away(const std::string& path) const {
  for (const std::string& start : away) {
    if (path.rfind(start, 0) == 0) return true;
  }
  return false;
}

std::optional<std::uint64_t> FakeSystem::FileSize(const std::string& path) {
  const auto it = files.find(path);
  if (it == files.end() || hidden_files.count(path) || Away(path)) return std::nullopt;
  return it->second.size();
}

std::optional<std::string> FakeSystem::ReadFileBytes(const std::string& path) {
  const auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

platform::Result<platform::FileHold> FakeSystem::ReadFileInBlocks(const std::string& path,
                                                                  const platform::BlockSink& sink) {
  using Failed = platform::Result<platform::FileHold>;
  block_reads.push_back(path);
  if (const auto failure = read_failures.find(path); failure != read_failures.end()) {
    return Failed::Failed(failure->second);
  }
  const auto it = files.find(path);
  if (it == files.end()) return Failed::Failed("Die Datei fehlt");
  const std::string_view bytes = it->second;
  for (std::size_t at = 0; at < bytes.size(); at += read_block_size) {
    sink(bytes.substr(at, read_block_size));
  }
  held_files.insert(path);
  return {
      platform::FileHold(this, [this, path](void*) { held_files.erase(held_files.find(path)); }),
      {}};
}

platform::Result<std::string> FakeSystem::ReadFilePart(const std::string& path,
                                                       std::uint64_t offset, std::size_t count) {
  const auto it = files.find(path);
  if (it == files.end() || Away(path))
    return platform::Result<std::string>::Failed("Die Datei fehlt");
  if (offset >= it->second.size()) return {std::string(), {}};
  return {it->second.substr(offset, count), {}};
}

platform::Result<platform::FileHold> FakeSystem::CopyFileFrom(const std::string& from,
                                                              const std::string& to,
                                                              std::uint64_t offset,
                                                              const platform::BlockSink& sink) {
  using Held = platform::Result<platform::FileHold>;
  const auto it = files.find(from);
  if (it == files.end() || Away(from))
    return Held::Failed("Der Netzwerkpfad wurde nicht gefunden.");
  if (writes_fail || ReadOnly(to)) return Held::Failed("Zugriff verweigert");
  Copy& copy = copies.emplace_back(Copy{from, to, offset, 0});
  std::string& target = files[to];
  target.resize(std::min<std::size_t>(target.size(), offset));
  std::uint64_t end = it->second.size();
  const auto broken = copy_breaks.find(from);
  if (broken != copy_breaks.end()) end = std::min(end, broken->second);
  for (std::uint64_t at = offset; at < end; at += read_block_size) {
    const std::string block =
        it->second.substr(at, std::min<std::uint64_t>(read_block_size, end - at));
    target += block;
    copy.bytes += block.size();
    sink(block);
  }
  if (end < it->second.size()) {
    copy_breaks.erase(broken);
    return Held::Failed("Der Netzwerkpfad wurde nicht gefunden.");
  }
  held_files.insert(to);
  return {platform::FileHold(this, [this, to](void*) { held_files.erase(held_files.find(to)); }),
          {}};
}

platform::Result<std::vector<std::string>> FakeSystem::FilesUnder(const std::string& folder) {
  const std::string start = folder.back() == '\\' ? folder : folder + "\\";
  if (Away(start)) return platform::Result<std::vector<std::string>>::Failed("nicht erreichbar");
  std::vector<std::string> found;
  for (const auto& [path, bytes] : files) {
    if (path.rfind(start, 0) == 0) found.push_back(path.substr(start.size()));
  }
  return {std::move(found), {}};
}

bool FakeSystem::WriteHiddenFile(const std::string& path, const std::string& bytes) {
  if (writes_fail || ReadOnly(path)) return false;
  files[path] = bytes;
  hidden_files.insert(path);
  Written();
  return true;
}

platform::Status FakeSystem::AppendToFile(const std::string& path, const std::string& bytes) {
  if (writes_fail || ReadOnly(path)) return platform::Status::Failed("Zugriff verweigert");
  files[path] += bytes;
  return {};
}

bool FakeSystem::RenameFile(const std::string& from, const std::string& to) {
  const auto it = files.find(from);
  if (it == files.end() || ReadOnly(from) || ReadOnly(to)) return false;
  files[to] = it->second;
  files.erase(from);
  Written();
  return true;
}

bool FakeSystem::DuplicateFile(const std::string& from, const std::string& to) {
  const auto it = files.find(from);
  if (it == files.end() || writes_fail || ReadOnly(to)) return false;
  files[to] = it->second;
  hidden_files.erase(to);
  Written();
  return true;
}

bool FakeSystem::RemoveFile(const std::string& path) {
  if (files.erase(path) == 0) return false;
  Written();
  return true;
}

void FakeSystem::RecycleFile(const std::string& path) {
  recycled.push_back(path);
  files.erase(path);
  Written();
}

// --- The registry ---

std::vector<std::string> FakeSystem::MachineSubkeys(const std::string& key) {
  const auto it = machine_keys.find(key);
  return it == machine_keys.end() ? std::vector<std::string>{} : it->second;
}

platform::Status FakeSystem::WriteRegistryValues(bool machine_wide, const std::string& key,
                                                 const RegistryValues& values) {
  if (!registry_failure.empty()) return platform::Status::Failed(registry_failure);
  auto& written = registry[(machine_wide ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\") + key];
  for (const auto& [name, data] : values) written[name] = data;
  Written();
  return {};
}

bool FakeSystem::WriteRunOnce(const std::string& name, const std::string& command,
                              bool machine_wide) {
  if (writes_fail) return false;
  EraseRunOnce(name, machine_wide);  // a value of that name is replaced, as in the registry
  run_once.push_back({name, command, machine_wide});
  Written();
  return true;
}

void FakeSystem::DeleteRunOnce(const std::string& name, bool machine_wide) {
  if (EraseRunOnce(name, machine_wide)) Written();
}

bool FakeSystem::EraseRunOnce(const std::string& name, bool machine_wide) {
  const auto gone =
      std::remove_if(run_once.begin(), run_once.end(), [&](const RunOnceValue& value) {
        return value.name == name && value.machine_wide == machine_wide;
      });
  if (gone == run_once.end()) return false;
  run_once.erase(gone, run_once.end());
  return true;
}

// --- What is installed ---

platform::Result<std::vector<std::string>> FakeSystem::MachineSubkeyNames(const std::string& key) {
  if (const auto denied = unreadable_keys.find(key); denied != unreadable_keys.end()) {
    return platform::Result<std::vector<std::string>>::Failed(denied->second);
  }
  if (const auto names = machine_keys.find(key); names != machine_keys.end()) {
    return {names->second, {}};
  }
  if (machine_values.count(key)) return {std::vector<std::string>{}, {}};
  return platform::Result<std::vector<std::string>>::Failed(kNotFound);
}

platform::Result<platform::System::ValueData> FakeSystem::MachineValue(const std::string& key,
                                                                       const std::string& name) {
  using Found = platform::Result<ValueData>;
  const auto subkeys = MachineSubkeyNames(key);
  if (!subkeys.value) return Found::Failed(subkeys.reason);
  const auto values = machine_values.find(key);
  if (values != machine_values.end()) {
    if (const auto value = values->second.find(name); value != values->second.end()) {
      return {value->second, {}};
    }
  }
  return Found::Failed(kNotFound);
}

platform::Result<std::uint64_t> FakeSystem::FileVersion(const std::string& path) {
  using Found = platform::Result<std::uint64_t>;
  if (!FileExists(path)) return Found::Failed(kNotFound);
  const auto version = file_versions.find(path);
  if (version != file_versions.end()) return {version->second, {}};
  return Found::Failed("Die Datei hat keine Versionsangabe.");
}

platform::Result<bool> FakeSystem::MsiProductInstalled(const std::string& product_code) {
  if (!msi_failure.empty()) return platform::Result<bool>::Failed(msi_failure);
  return {msi_products.count(product_code) != 0, {}};
}

// --- Processes and the worker ---

platform::ProcessResult FakeSystem::RunHiddenAndWait(const std::string& command_line,
                                                     const std::string& working_folder,
                                                     const std::function<void()>& meanwhile) {
  for (const std::string& key : start_failures) {
    if (command_line.find(key) != std::string::npos) {
      return {false, 0, "Das System kann die angegebene Datei nicht finden."};
    }
  }
  runs.push_back({command_line, working_folder, held_files});
  if (meanwhile) meanwhile();
  for (const auto& [key, code] : exit_codes) {
    if (command_line.find(key) != std::string::npos) return {true, code, {}};
  }
  return {true, 0, {}};
}

void FakeSystem::StartWorker(std::function<void()> body, bool low_priority,
                             std::function<void()> finished) {
  workers.push_back({std::move(body), low_priority, std::move(finished)});
}

bool FakeSystem::FinishWorker() {
  if (workers.empty()) return false;
  Worker worker = std::move(workers.front());
  workers.pop_front();
  try {
    worker.body();
  } catch (const std::exception&) {
    // A failed body still hands over to its handler.
  }
  worker.finished();
  return true;
}

// --- Pictures and sounds ---

std::shared_ptr<const platform::Picture> FakeSystem::LoadPicture(const std::string& path) {
  if (!FileExists(path)) throw release::FileNotOpened(path);
  pictures_loaded.push_back(path);
  return std::make_shared<FakePicture>(10, 20);
}

std::shared_ptr<const platform::Picture> FakeSystem::ProgramIcon() {
  return std::make_shared<FakePicture>(32, 32);
}

std::shared_ptr<const platform::Picture> FakeSystem::BannerPicture() {
  return std::make_shared<FakePicture>(437, 60);
}

std::shared_ptr<const platform::Picture> FakeSystem::ProgressPicture(int state) {
  return std::make_shared<FakePicture>(16, state);  // the height tells the state apart
}

// --- The session, its rights and the lock ---

bool FakeSystem::AcquireInstallLock(int wait_ms) {
  install_lock_waits.push_back(wait_ms);
  return install_lock_free;
}

// --- The restart and the continuation at the next system start ---

platform::Status FakeSystem::RequestRestart() {
  ++restart_requests;
  if (!restart_accepted) return platform::Status::Failed("Zugriff verweigert");
  return {};
}

platform::Status FakeSystem::RegisterBootTask(const std::string& name, const std::string& program,
                                              const std::string& arguments) {
  if (!boot_task_failure.empty()) return platform::Status::Failed(boot_task_failure);
  boot_tasks[name] = {program, arguments};
  Written();
  return {};
}

void FakeSystem::DeleteBootTask(const std::string& name) {
  if (boot_tasks.erase(name) != 0) Written();
}

FakeSystem::DurableState FakeSystem::Durable() const {
  return {files, hidden_files, folders, registry, run_once, boot_tasks, runs};
}

void FakeSystem::RestoreDurable(const DurableState& state) {
  files = state.files;
  hidden_files = state.hidden_files;
  folders = state.folders;
  registry = state.registry;
  run_once = state.run_once;
  boot_tasks = state.boot_tasks;
  runs = state.runs;
}

}  // namespace test
