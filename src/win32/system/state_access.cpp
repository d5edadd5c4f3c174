// Where a run keeps its state: the kind of drive the program lies on, the
// computer's name, the local copy of the program, and the access list of the
// per-machine state folder. A program file there is started elevated at the
// next logon, so only SYSTEM and the administrators may change that folder.
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include <memory>
#include <optional>
#include <vector>

#include "win32/base/handles.h"
#include "win32/base/wide_text.h"
#include "win32/system/privileges.h"
#include "win32/system/win32_system.h"

namespace win32 {

namespace {

// Owner the administrators; SYSTEM and the administrators may do anything, users
// may read and run; nothing is inherited from above (ProgramData lets users
// make folders and files), and all of it goes down to what the folder holds.
constexpr wchar_t kAdministratorsOnly[] =
    L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

// Any right that changes the folder, what it holds, or who may.
constexpr ACCESS_MASK kChangingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                        FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | DELETE |
                                        WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

struct LocalFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};
using LocalMemory = std::unique_ptr<void, LocalFreer>;

LocalMemory AdministratorsOnly() {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ConvertStringSecurityDescriptorToSecurityDescriptorW(kAdministratorsOnly, SDDL_REVISION_1,
                                                       &descriptor, nullptr);
  return LocalMemory(descriptor);
}

// The user of this process's token, copied; empty when it can't be read.
std::vector<BYTE> ProcessUser() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  UniqueHandle closer(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size)) return {};
  const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
  return std::vector<BYTE>(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid));
}

// SYSTEM and the administrators. What is started elevated must be theirs
// alone: the user this program runs as is no owner to trust, since that
// user's programs without administrator rights could change it. On a system
// that gives every file that user's account (Wine: even the Windows folder),
// owners are not kept apart, and that account stands for the administrators.
bool Trusted(PSID sid, const std::vector<BYTE>& user_owning_everything) {
  return IsWellKnownSid(sid, WinLocalSystemSid) ||
         IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
         (!user_owning_everything.empty() &&
          EqualSid(sid, const_cast<BYTE*>(user_owning_everything.data())));
}

struct Owner {
  PSID sid = nullptr;
  LocalMemory descriptor;
};

// The owner of a file or folder, or none when it can't be read.
std::optional<Owner> OwnerOf(const std::wstring& path, PACL* dacl = nullptr) {
  Owner owner;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  std::wstring name = path;
  const SECURITY_INFORMATION wanted =
      OWNER_SECURITY_INFORMATION | (dacl ? DACL_SECURITY_INFORMATION : 0);
  if (GetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, wanted, &owner.sid, nullptr, dacl, nullptr,
                            &descriptor) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  owner.descriptor.reset(descriptor);
  return owner;
}

// This process's user when the Windows folder is that user's too; else empty.
std::vector<BYTE> UserOwningEverything() {
  std::vector<BYTE> user = ProcessUser();
  wchar_t windows[MAX_PATH];
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  const auto owner = length > 0 && length < MAX_PATH ? OwnerOf(windows) : std::optional<Owner>();
  if (user.empty() || !owner || !EqualSid(owner->sid, user.data())) return {};
  return user;
}

std::string AccountName(PSID sid) {
  wchar_t name[256], domain[256];
  DWORD name_size = 256, domain_size = 256;
  SID_NAME_USE use;
  if (LookupAccountSidW(nullptr, sid, name, &name_size, domain, &domain_size, &use)) {
    return Narrow(domain_size > 0 ? std::wstring(domain) + L"\\" + name : std::wstring(name));
  }
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(sid, &text)) return "?";
  LocalMemory freer(text);
  return Narrow(text);
}

// A missing list lets everyone do anything. CREATOR OWNER stands for whoever
// makes a file inside: this program, when it makes one.
bool OthersMayChange(PACL dacl, const std::vector<BYTE>& user_owning_everything) {
  if (dacl == nullptr) return true;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(dacl, i, &entry)) return true;
    const auto* header = static_cast<ACE_HEADER*>(entry);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    const PSID sid = const_cast<DWORD*>(&allowed->SidStart);
    if ((allowed->Mask & kChangingRights) && !Trusted(sid, user_owning_everything) &&
        !IsWellKnownSid(sid, WinCreatorOwnerSid)) {
      return true;
    }
  }
  return false;
}

}  // namespace

platform::System::DriveKind Win32System::KindOfDrive(const std::string& path) {
  if (path.rfind("\\\\", 0) == 0) return DriveKind::Network;
  const std::wstring root = Widen(path.substr(0, 3));
  switch (GetDriveTypeW(root.c_str())) {
    case DRIVE_FIXED:
    case DRIVE_RAMDISK:
      return DriveKind::Fixed;
    case DRIVE_REMOTE:
      return DriveKind::Network;
    case DRIVE_REMOVABLE:
      return DriveKind::Removable;
    case DRIVE_CDROM:
      return DriveKind::Optical;
    default:
      return DriveKind::Unknown;
  }
}

std::string Win32System::ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(name, &size) ? Narrow(std::wstring_view(name, size)) : std::string();
}

// A file left there keeps its own access list when it is overwritten: the
// copy is made anew instead, beside it, and takes its place whole, so that a
// power cut leaves the old file or the new one, never half of it.
bool Win32System::DuplicateFile(const std::string& from, const std::string& to) {
  const std::wstring target = Widen(to);
  const std::wstring copy = target + L".new";
  SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(copy.c_str());
  if (!CopyFileW(Widen(from).c_str(), copy.c_str(), TRUE)) return false;
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (MoveFileExW(copy.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(copy.c_str());
  return false;
}

std::optional<platform::System::FolderAccess> Win32System::QueryFolderAccess(
    const std::string& folder) {
  PACL dacl = nullptr;
  const auto owner = OwnerOf(Widen(folder), &dacl);
  if (!owner) return std::nullopt;
  const std::vector<BYTE> user = UserOwningEverything();
  return FolderAccess{AccountName(owner->sid), Trusted(owner->sid, user),
                      OthersMayChange(dacl, user)};
}

bool Win32System::CreateProtectedFolder(const std::string& path) {
  const LocalMemory descriptor = AdministratorsOnly();
  if (!descriptor) return false;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
  return CreateDirectoryW(Widen(path).c_str(), &attributes) != FALSE;
}

// Setting another owner needs the right to take ownership, and the right to
// restore files when the folder's list does not let the administrators in.
bool Win32System::ProtectFolder(const std::string& path) {
  const LocalMemory descriptor = AdministratorsOnly();
  PSID owner = nullptr;
  PACL dacl = nullptr;
  BOOL present = FALSE, defaulted = FALSE;
  if (!descriptor || !GetSecurityDescriptorOwner(descriptor.get(), &owner, &defaulted) ||
      !GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted)) {
    return false;
  }
  for (const wchar_t* privilege : {SE_TAKE_OWNERSHIP_NAME, SE_RESTORE_NAME}) {
    SetPrivilege(privilege, true);
  }
  std::wstring name = Widen(path);
  const DWORD result = SetNamedSecurityInfoW(
      name.data(), SE_FILE_OBJECT,
      OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
      owner, nullptr, dacl, nullptr);
  for (const wchar_t* privilege : {SE_TAKE_OWNERSHIP_NAME, SE_RESTORE_NAME}) {
    SetPrivilege(privilege, false);
  }
  return result == ERROR_SUCCESS;
}

}  // namespace win32
