// A release folder for the end-to-end tests: Installer.exe of the Windows build, and beside it
// the Data folder with Settings.ini, Language.ini and the side pictures.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "harness/release_texts.h"

namespace e2e {

namespace fs = std::filesystem;

struct ReleaseFiles {
  std::string settings = ReleaseSettings().Text();       // UTF-8
  std::optional<std::string> language = LanguageText();  // UTF-8; unset: no language file
  // INI files in Windows-1252, as release authors write them; else UTF-8 with a byte-order mark.
  bool ansi = true;
  std::vector<std::string> pictures = kSidePictures;  // bitmaps written into Data
  bool icon = true;                                   // Data\Icon.ico of the About dialog
  std::optional<std::string> continuation;            // content of rir_eridivu beside the program
};

// UTF-8 to Windows-1252; throws std::invalid_argument for a character it lacks.
std::string ToWindows1252(const std::string& utf8);

// A 24-bit Windows bitmap of one colour (0xRRGGBB) with a darker frame.
std::string BitmapFile(int width, int height, unsigned colour);

// A 16 x 16 icon file of one colour (0xRRGGBB).
std::string IconFile(unsigned colour);

// Makes `folder` (emptied first) a release; returns the path of its Installer.exe.
fs::path MakeRelease(const fs::path& folder, const ReleaseFiles& files = {});

}  // namespace e2e
