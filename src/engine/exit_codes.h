// What a package's exit code means, by the codes that Windows Installer and
// the update installer (wusa.exe) use.
#pragma once

#include <cstdint>

namespace engine {

enum class PackageState {
  Installed,
  RestartNeeded,     // installed; the computer must restart before the next package
  RestartStarted,    // installed; the package has begun the restart itself
  AlreadyInstalled,  // nothing to do
  NotApplicable,     // the update does not apply to this system; no failure
  Failed,            // the installer reported an error
  NotStarted,        // missing, of no kind the system runs, or the process not created
};

constexpr std::uint32_t kSuccess = 0;
constexpr std::uint32_t kSuccessRebootRequired = 3010;   // ERROR_SUCCESS_REBOOT_REQUIRED
constexpr std::uint32_t kSuccessRestartRequired = 3011;  // ERROR_SUCCESS_RESTART_REQUIRED
constexpr std::uint32_t kSuccessRebootInitiated = 1641;  // ERROR_SUCCESS_REBOOT_INITIATED
constexpr std::uint32_t kWusaRebootRequired = 0x00240005;
constexpr std::uint32_t kWusaAlreadyInstalled = 0x00240006;
constexpr std::uint32_t kWusaNotApplicable = 0x80240017;  // WU_E_NOT_APPLICABLE
// ERROR_SUCCESS_REBOOT_REQUIRED as an HRESULT, as wusa.exe reports it.
constexpr std::uint32_t kWusaRebootRequiredResult = 0x80070BC2;

// Every code not named here is a failure.
PackageState ClassifyExitCode(std::uint32_t code);

}  // namespace engine
