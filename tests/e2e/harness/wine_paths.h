// Where the end-to-end tests find things, and the mapping between Linux and Wine paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

// The native build folder (build/native): Wine prefix, scratch folders, screenshots.
fs::path NativeBuildDir();

// The Windows build (build/win64 unless INSTALLER_WINDOWS_BUILD_DIR says otherwise).
fs::path WindowsBuildDir();

// The folder `name` ("wine", "e2e-work", "screenshots") of this run in the native build
// folder. A run of another Windows build than build/win64 keeps folders of its own
// ("wine-win32"), so a 32-bit run never shares a prefix with the 64-bit one.
fs::path RunFolder(const std::string& name);

// A program of the Windows build, e.g. "probe.exe": top folder first, then any subfolder.
// Throws std::runtime_error saying to build the win64 preset when it is missing.
fs::path WindowsProgram(const std::string& file_name);

// A program of the 64-bit Windows build (build/win64), for what stands in for the system's own
// programs, which are 64-bit on 64-bit Windows whatever the build under test is.
fs::path Windows64Program(const std::string& file_name);

// The fields of a program file's PE headers that the tests look at.
struct ProgramHeader {
  std::uint16_t machine = 0;          // of the COFF file header
  std::uint16_t characteristics = 0;  // of the COFF file header
  std::uint32_t checksum = 0;         // CheckSum of the optional header
  std::size_t checksum_at = 0;        // where the CheckSum lies in the file
};

// Nothing when the file is no PE program.
std::optional<ProgramHeader> ReadProgramHeader(const fs::path& file);

// Whether a program file is a 32-bit x86 one (the machine of its PE header).
bool IsI386Program(const fs::path& file);

// The programs of the Windows build the tests run: the installer and the test programs.
const std::vector<std::string>& WindowsTestPrograms();

// Those of `file_names` the Windows build lacks, in the same order.
std::vector<std::string> MissingWindowsPrograms(const std::vector<std::string>& file_names);

// Says which programs the Windows build lacks and the commands that build them.
std::string MissingWindowsBuildMessage(const std::vector<std::string>& missing);

// "/a/b c" -> "Z:\a\b c" (Wine maps Z: to the Linux root).
std::string ToWindowsPath(const fs::path& linux_path);

// "Z:\a\b" -> "/a/b". Other drives are resolved through the prefix's dosdevices links
// ("C:\windows" -> <prefix>/drive_c/windows); without a prefix only Z: is known.
fs::path ToLinuxPath(const std::string& windows_path, const fs::path& prefix = {});

}  // namespace e2e
