// A release whose packages really install under Wine: copies of the probe package (and other
// package files) under Data, the package table and the option defaults in Settings.ini.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "harness/release_texts.h"

namespace e2e {

namespace fs = std::filesystem;

struct TestPackage {
  TestPackage(std::string file_, std::string parameters_, std::string logfile_ = {})
      : file(std::move(file_)), parameters(std::move(parameters_)), logfile(std::move(logfile_)) {}

  std::string file;  // File=, below Data ("Unterordner\\KB2.exe")
  std::string parameters;
  std::string logfile;             // Logfile=; a probe leaves this log in the Windows folder
  bool restart = false;            // Restart=1
  bool link = true;                // Link= an address made from the package's number
  unsigned sleep_ms = 0;           // how long the probe runs
  std::string detect;              // Detect=, when not empty
  std::string sha256;              // Sha256=, when not empty
  std::optional<fs::path> source;  // the file of a package that is no probe (not .exe)
  std::string Name() const;        // Name=, made from the file name
  std::string FileName() const;    // "KB2.exe"
};

struct InstallOptions {
  bool auto_reboot = false;
  bool minimize = false;
  bool delete_logs = false;
  bool low_priority = false;
};

struct InstallRelease {
  ReleaseSettings texts;  // name, text blocks, AllowAdvanced; its package count is not used
  InstallOptions defaults;
  std::vector<TestPackage> packages;
  std::string language = LanguageText();  // Language.ini, UTF-8

  std::string SettingsText() const;
  // The file names of the probe packages (the .exe ones) in table order.
  std::vector<std::string> ProbeNames() const;
};

// The web link of package `number` (from 1) that has one.
std::string PackageLink(int number);

// Makes `folder` (emptied first) the release, with every probe recording its runs in `journal`;
// returns the path of its Installer.exe.
fs::path MakeInstallRelease(const fs::path& folder, const InstallRelease& release,
                            const fs::path& probe, const fs::path& journal);

// Where a package of a release made in `folder` lies on this machine.
fs::path DataFileOf(const fs::path& folder, const TestPackage& package);

// The size of a file as the status line shows it with German settings: "635,76 KB".
std::string GermanSizeText(std::uint64_t bytes);

// The status line while package `number` of `total` installs: word 68, the counter, the size.
std::string StatusLine(int number, int total, const fs::path& package);

}  // namespace e2e
