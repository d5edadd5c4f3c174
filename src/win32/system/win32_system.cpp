#include "win32/system/win32_system.h"

#include <windows.h>

#include <mmsystem.h>

#include <vector>

#include "release/errors.h"
#include "win32/base/dll_hardening.h"
#include "win32/base/file_access.h"
#include "win32/base/monitor_dpi.h"
#include "win32/base/wide_text.h"
#include "win32/pictures/banner_picture.h"
#include "win32/pictures/picture_files.h"
#include "win32/pictures/progress_pictures.h"
#include "win32/pictures/sized_icon.h"
#include "win32/portable/command_line.h"

namespace win32 {

namespace {

// Nothing when the locale does not say.
std::optional<std::string> LocaleText(LCTYPE item) {
  wchar_t text[16];
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text, 16);
  if (length <= 0) return std::nullopt;
  return Narrow(std::wstring_view(text, length - 1));  // without the zero
}

}  // namespace

std::optional<std::string> Win32System::ReadFileBytes(const std::string& path) {
  return ReadWholeFile(path);
}

platform::Result<platform::FileHold> Win32System::ReadFileInBlocks(
    const std::string& path, const platform::BlockSink& sink) {
  std::string reason;
  UniqueHandle file = ReadInBlocks(path, sink, reason);
  if (!file) return platform::Result<platform::FileHold>::Failed(reason);
  return {platform::FileHold(file.release(), HandleCloser()), {}};
}

std::string Win32System::DecodeAnsi(std::string_view bytes) {
  return DecodeAnsiText(bytes);
}

// GetVersionExW reports no later system than the latest one the manifest lists, so a
// system after Windows 10 would pass for 10.0; RtlGetVersion reports the system's own
// version. It is looked up at run time and GetVersionExW stands in where it fails.
platform::OsVersion Win32System::QueryOsVersion() {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtl_get_version =
      FunctionOf<RtlGetVersionFunction>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!rtl_get_version || rtl_get_version(&info) != 0) GetVersionExW(&info);
  return {static_cast<int>(info.dwPlatformId), static_cast<int>(info.dwMajorVersion),
          static_cast<int>(info.dwMinorVersion), Narrow(info.szCSDVersion)};
}

platform::NumberSeparators Win32System::LocaleNumberSeparators() {
  platform::NumberSeparators separators;
  if (auto thousands = LocaleText(LOCALE_STHOUSAND)) separators.thousands = *thousands;
  if (auto decimal = LocaleText(LOCALE_SDECIMAL)) separators.decimal = *decimal;
  return separators;
}

std::vector<std::string> Win32System::Arguments() {
  std::vector<std::string> words = win32::SplitCommandLine(Narrow(GetCommandLineW()));
  words.erase(words.begin());  // the program's name
  return words;
}

bool Win32System::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32System::RemoveFile(const std::string& path) {
  return DeleteFileW(Widen(path).c_str()) != FALSE;
}

void Win32System::RemoveAtRestart(const std::string& path) {
  MoveFileExW(Widen(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

// winmm.dll is loaded with the first sound: most runs play none before the
// first page shows.
void Win32System::PlaySoundAlias(const std::string& alias) {
  using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
  static const auto play = SystemFunction<PlaySoundFunction>(L"winmm.dll", "PlaySoundW");
  // SND_ASYNC alone: the name is tried as a system sound alias first.
  if (play) play(Widen(alias).c_str(), nullptr, SND_ASYNC);
}

std::shared_ptr<const platform::Picture> Win32System::LoadPicture(const std::string& path) {
  const PictureFileKind kind = PictureFileKindOf(path);
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) throw release::FileNotOpened(path);
  if (kind == PictureFileKind::kBitmap) return BitmapFromFile(path, *bytes);
  return IconFromFileBytes(*bytes);
}

std::shared_ptr<const platform::Picture> Win32System::ProgramIcon() {
  const int edge = IconEdgeAt(96);
  return std::make_shared<SizedIcon>(edge, edge, [](int drawn) {
    return LoadIconOfEdge(GetModuleHandleW(nullptr), L"MAINICON", drawn);
  });
}

std::shared_ptr<const platform::Picture> Win32System::BannerPicture() {
  return JpegResourcePicture(L"BANNER");
}

std::shared_ptr<const platform::Picture> Win32System::ProgressPicture(int state) {
  return ProgressPictureOf(state);
}

void Win32System::StartWorker(std::function<void()> body, bool low_priority,
                              std::function<void()> finished) {
  workers_.Start(std::move(body), low_priority, std::move(finished));
}

}  // namespace win32
