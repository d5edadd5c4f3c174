#include "win32/portable/native_path.h"

#include <utility>

namespace win32 {

namespace {

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

std::string SixtyFourBitVariables(const std::string& path) {
  static const std::pair<std::string, std::string> kVariables[] = {
      {"%PROGRAMFILES%", "%ProgramW6432%"},
      {"%COMMONPROGRAMFILES%", "%CommonProgramW6432%"},
  };
  std::string result = path;
  for (const auto& [name, native] : kVariables) {
    for (std::size_t at = Upper(result).find(name); at != std::string::npos;
         at = Upper(result).find(name, at + native.size())) {
      result.replace(at, name.size(), native);
    }
  }
  return result;
}

std::string NativeSystemFolder(const std::string& path, const std::string& windows_folder) {
  const std::string folder = windows_folder + "\\System32";
  const bool inside = Upper(path.substr(0, folder.size())) == Upper(folder) &&
                      (path.size() == folder.size() || path[folder.size()] == '\\');
  if (!inside) return path;
  return windows_folder + "\\Sysnative" + path.substr(folder.size());
}

}  // namespace win32
