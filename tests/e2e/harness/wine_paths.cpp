#include "harness/wine_paths.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace e2e {

fs::path NativeBuildDir() {
  return E2E_NATIVE_BUILD_DIR;
}

fs::path WindowsBuildDir() {
  const char* configured = std::getenv("INSTALLER_WINDOWS_BUILD_DIR");
  return configured && *configured ? configured : E2E_DEFAULT_WINDOWS_BUILD_DIR;
}

fs::path RunFolder(const std::string& name) {
  const auto folder = [](const fs::path& path) {
    const fs::path normal = path.lexically_normal();
    return normal.has_filename() ? normal : normal.parent_path();
  };
  const fs::path build = folder(WindowsBuildDir());
  if (build == folder(E2E_DEFAULT_WINDOWS_BUILD_DIR)) return NativeBuildDir() / name;
  return NativeBuildDir() / (name + "-" + build.filename().string());
}

namespace {

const char kBuildCommand[] = "cmake --preset win64 && cmake --build --preset win64";

// Top folder first, then any subfolder; empty when the build has no such program.
fs::path FindWindowsProgram(const fs::path& folder, const std::string& file_name) {
  if (fs::is_regular_file(folder / file_name)) return folder / file_name;
  std::error_code error;
  if (fs::is_directory(folder)) {
    auto options = fs::directory_options::skip_permission_denied;
    for (auto it = fs::recursive_directory_iterator(folder, options, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
      if (error) break;
      if (it->is_directory() && it->path().filename() == "CMakeFiles") {
        it.disable_recursion_pending();
      } else if (it->path().filename() == file_name && it->is_regular_file()) {
        return it->path();
      }
    }
  }
  return {};
}

}  // namespace

fs::path WindowsProgram(const std::string& file_name) {
  const fs::path folder = WindowsBuildDir();
  fs::path program = FindWindowsProgram(folder, file_name);
  if (!program.empty()) return program;
  throw std::runtime_error(file_name + " not found in " + folder.string() +
                           ": build the win64 preset first (" + kBuildCommand +
                           "), or point INSTALLER_WINDOWS_BUILD_DIR at the Windows build folder");
}

fs::path Windows64Program(const std::string& file_name) {
  const fs::path folder = E2E_DEFAULT_WINDOWS_BUILD_DIR;
  fs::path program = FindWindowsProgram(folder, file_name);
  if (!program.empty() && !IsI386Program(program)) return program;
  throw std::runtime_error(file_name + " of the 64-bit build not found in " + folder.string() +
                           ": build the win64 preset (" + kBuildCommand + ")");
}

std::optional<ProgramHeader> ReadProgramHeader(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  unsigned char dos[64] = {};
  if (!in.read(reinterpret_cast<char*>(dos), sizeof dos)) return std::nullopt;
  const std::size_t pe =
      dos[0x3c] | dos[0x3d] << 8 | dos[0x3e] << 16 | std::size_t(dos[0x3f]) << 24;
  // The signature, the COFF file header (20 bytes) and the optional header up to its CheckSum.
  unsigned char h[4 + 20 + 68] = {};
  if (!in.seekg(static_cast<std::streamoff>(pe)).read(reinterpret_cast<char*>(h), sizeof h) ||
      !std::equal(h, h + 4, "PE\0\0"))
    return std::nullopt;
  ProgramHeader header;
  header.machine = static_cast<std::uint16_t>(h[4] | h[5] << 8);
  header.characteristics = static_cast<std::uint16_t>(h[22] | h[23] << 8);
  header.checksum_at = pe + 88;
  header.checksum = h[88] | h[89] << 8 | h[90] << 16 | std::uint32_t(h[91]) << 24;
  return header;
}

bool IsI386Program(const fs::path& file) {
  const std::optional<ProgramHeader> header = ReadProgramHeader(file);
  return header && header->machine == 0x14c;
}

const std::vector<std::string>& WindowsTestPrograms() {
  static const std::vector<std::string> programs = {"Installer.exe",     "probe.exe",
                                                    "driver.exe",        "bare_window.exe",
                                                    "release-check.exe", "veto_window.exe"};
  return programs;
}

std::vector<std::string> MissingWindowsPrograms(const std::vector<std::string>& file_names) {
  const fs::path folder = WindowsBuildDir();
  std::vector<std::string> missing;
  for (const std::string& name : file_names) {
    if (FindWindowsProgram(folder, name).empty()) missing.push_back(name);
  }
  return missing;
}

std::string MissingWindowsBuildMessage(const std::vector<std::string>& missing) {
  std::string names;
  for (const std::string& name : missing) names += (names.empty() ? "" : ", ") + name;
  return "The Wine tests run the Windows build, and " + WindowsBuildDir().string() + " lacks " +
         names + ".\nBuild it first:\n  " + kBuildCommand +
         "\nor point INSTALLER_WINDOWS_BUILD_DIR at another Windows build folder.";
}

std::string ToWindowsPath(const fs::path& linux_path) {
  std::string path = fs::absolute(linux_path).lexically_normal().string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

fs::path ToLinuxPath(const std::string& windows_path, const fs::path& prefix) {
  if (windows_path.size() < 2 || windows_path[1] != ':' || !std::isalpha(windows_path[0]))
    throw std::invalid_argument("not an absolute Windows path: " + windows_path);
  std::string rest = windows_path.substr(2);
  for (char& c : rest)
    if (c == '\\') c = '/';
  while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
  char drive = static_cast<char>(std::tolower(windows_path[0]));
  fs::path root;
  if (drive == 'z') {
    root = "/";
  } else if (!prefix.empty()) {
    fs::path link = prefix / "dosdevices" / (std::string(1, drive) + ":");
    if (!fs::is_symlink(link)) throw std::runtime_error("no drive " + link.string());
    root = fs::read_symlink(link);
    if (root.is_relative()) root = link.parent_path() / root;
  } else {
    throw std::invalid_argument("drive unknown without a Wine prefix: " + windows_path);
  }
  return (root / rest).lexically_normal();
}

}  // namespace e2e
