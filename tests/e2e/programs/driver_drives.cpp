#include "driver_drives.h"

#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>
#include <winioctl.h>

#include <string>
#include <vector>

#include "driver_windows.h"
#include "win32/base/wide_text.h"

namespace driver {
namespace {

// Wine's own request to its mount manager (include/ddk/mountmgr.h of Wine 8), which winecfg
// uses to make a drive: the Linux folder follows the structure as a zero-ended string.
constexpr DWORD kDefineUnixDrive =
    CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct UnixDrive {
  ULONG size;
  ULONG type;
  ULONG fs_type;
  DWORD serial;
  ULONGLONG unix_dev;
  WCHAR letter;
  USHORT mount_point_offset;
  USHORT device_offset;
  USHORT label_offset;
};

}  // namespace

std::wstring DriveType(const Args& args) {
  return std::to_wstring(GetDriveTypeW(args[0].c_str()));
}

std::wstring DefineDrive(const Args& args) {
  const bool network = args[2] == L"network";
  if (!network && args[2] != L"none") throw Failure{L"network or none, not " + args[2]};
  const std::string folder = network ? win32::Narrow(args[1]) : std::string();
  std::vector<char> request(sizeof(UnixDrive) + folder.size() + 1, '\0');
  auto* drive = reinterpret_cast<UnixDrive*>(request.data());
  drive->size = static_cast<ULONG>(request.size());
  drive->type = network ? DRIVE_REMOTE : DRIVE_UNKNOWN;
  drive->letter = args[0][0];
  if (network) {
    drive->mount_point_offset = sizeof(UnixDrive);
    folder.copy(request.data() + sizeof(UnixDrive), folder.size());
  }
  HANDLE manager =
      CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE)
    throw Failure{L"no mount manager: " + std::to_wstring(GetLastError())};
  DWORD returned = 0;
  const BOOL defined =
      DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                      nullptr, 0, &returned, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(manager);
  if (!defined) throw Failure{L"the mount manager refused: " + std::to_wstring(error)};
  return L"ok";
}

std::wstring Access(const Args& args) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  std::wstring path = args[0];
  const DWORD read = GetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT, parts, nullptr, nullptr,
                                           nullptr, nullptr, &descriptor);
  if (read != ERROR_SUCCESS) throw Failure{L"GetNamedSecurityInfoW: " + std::to_wstring(read)};
  wchar_t* text = nullptr;
  const BOOL converted = ConvertSecurityDescriptorToStringSecurityDescriptorW(
      descriptor, SDDL_REVISION_1, parts, &text, nullptr);
  LocalFree(descriptor);
  if (!converted) throw Failure{L"no SDDL: " + std::to_wstring(GetLastError())};
  const std::wstring sddl = text;
  LocalFree(text);
  return sddl;
}

}  // namespace driver
