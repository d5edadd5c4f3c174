#include "harness/install_release.h"

#include <cstdio>
#include <stdexcept>

#include "harness/probe_journal.h"
#include "harness/release_folder.h"
#include "harness/wine_paths.h"

namespace e2e {
namespace {

void Line(std::string& text, const std::string& line) {
  text += line + "\r\n";
}

std::string Flag(bool value) {
  return value ? "1" : "0";
}

std::string DefaultsLines(const InstallOptions& options) {
  std::string text;
  Line(text, "AutoReboot=" + Flag(options.auto_reboot));
  Line(text, "Minimize=" + Flag(options.minimize));
  Line(text, "DeleteLogs=" + Flag(options.delete_logs));
  Line(text, "LowPriority=" + Flag(options.low_priority));
  return text;
}

void PackageSection(std::string& text, int number, const TestPackage& package) {
  Line(text, "[File" + std::to_string(number) + "]");
  Line(text, "Name=" + package.Name());
  Line(text, "File=" + package.file);
  Line(text, "Parameters=" + package.parameters);
  if (package.link) Line(text, "Link=" + PackageLink(number));
  Line(text, "Logfile=" + package.logfile);
  Line(text, "Restart=" + Flag(package.restart));
  if (!package.detect.empty()) Line(text, "Detect=" + package.detect);
  if (!package.sha256.empty()) Line(text, "Sha256=" + package.sha256);
}

bool IsProbe(const TestPackage& package) {
  const std::string& file = package.file;
  return file.size() > 4 && file.compare(file.size() - 4, 4, ".exe") == 0;
}

}  // namespace

std::string PackageLink(int number) {
  return "https://example.org/kb/" + std::to_string(number);
}

std::string TestPackage::FileName() const {
  return file.substr(file.rfind('\\') + 1);
}

std::string TestPackage::Name() const {
  return "Aktualisierung " + fs::path(FileName()).stem().string() + " für Windows";
}

std::string InstallRelease::SettingsText() const {
  ReleaseSettings settings = texts;
  settings.packages = 0;
  settings.files = std::to_string(packages.size());
  std::string text = settings.Text();
  // The first [Defaults] section is the one that counts: the options go into it.
  const std::string section = "[Defaults]\r\n";
  const std::size_t at = text.find(section);
  if (at == std::string::npos) throw std::logic_error("the settings have no [Defaults]");
  text.insert(at + section.size(), DefaultsLines(defaults));
  for (std::size_t i = 0; i < packages.size(); ++i)
    PackageSection(text, static_cast<int>(i) + 1, packages[i]);
  return text;
}

std::vector<std::string> InstallRelease::ProbeNames() const {
  std::vector<std::string> names;
  for (const TestPackage& package : packages)
    if (IsProbe(package)) names.push_back(package.FileName());
  return names;
}

// Package files name their folder with backslashes, as Windows does.
fs::path DataFileOf(const fs::path& folder, const TestPackage& package) {
  std::string relative = package.file;
  for (char& c : relative)
    if (c == '\\') c = '/';
  return folder / "Data" / relative;
}

fs::path MakeInstallRelease(const fs::path& folder, const InstallRelease& release,
                            const fs::path& probe, const fs::path& journal) {
  ReleaseFiles files;
  files.settings = release.SettingsText();
  files.language = release.language;
  const fs::path exe = MakeRelease(folder, files);
  for (const TestPackage& package : release.packages) {
    const fs::path target = DataFileOf(folder, package);
    if (!IsProbe(package)) {
      if (!package.source) throw std::logic_error("no file to copy as " + package.file);
      fs::create_directories(target.parent_path());
      fs::copy_file(*package.source, target, fs::copy_options::overwrite_existing);
      continue;
    }
    ProbeSettings settings;
    settings.journal = ToWindowsPath(journal);
    if (package.sleep_ms) settings.sleep_ms = package.sleep_ms;
    if (!package.logfile.empty()) settings.log_file = package.logfile;
    PlaceProbe(probe, target.parent_path(), target.filename().string(), settings);
  }
  return exe;
}

std::string GermanSizeText(std::uint64_t bytes) {
  static const char* const kUnits[] = {" Bytes", " KB", " MB", " GB"};
  double size = static_cast<double>(bytes);
  int unit = 0;
  while (size / 1024 >= 1 && unit < 3) {
    size /= 1024;
    ++unit;
  }
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.2f", size);
  const std::string plain = digits;
  const std::string whole = plain.substr(0, plain.size() - 3);
  std::string grouped;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) grouped += '.';
    grouped += whole[i];
  }
  return grouped + "," + plain.substr(plain.size() - 2) + kUnits[unit];
}

std::string StatusLine(int number, int total, const fs::path& package) {
  return Word(release::kWordInstallingPackage) + " " + std::to_string(number) + " " +
         Word(release::kWordOf) + " " + std::to_string(total) + " (" +
         GermanSizeText(fs::file_size(package)) + ")";
}

}  // namespace e2e
