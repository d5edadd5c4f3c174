#include "harness/release_texts.h"

#include <cstdio>
#include <map>

namespace e2e {
namespace {

// Windows INI files end their lines with CR LF.
void Line(std::string& text, const std::string& line) {
  text += line + "\r\n";
}

std::string Padded(int n) {
  char key[16];
  std::snprintf(key, sizeof key, "%03d", n);
  return key;
}

void Block(std::string& text, const char* section, const std::vector<std::string>& lines) {
  Line(text, std::string("[") + section + "]");
  for (size_t i = 0; i < lines.size(); ++i)
    Line(text, "Line" + Padded(int(i) + 1) + "=" + lines[i]);
}

void Package(std::string& text, int i) {
  const std::string n = std::to_string(i);
  Line(text, "[File" + n + "]");
  Line(text, "Name=Sicherheitsupdate KB" + n + " für Windows");
  Line(text, "File=KB" + n + ".exe");
  Line(text, "Parameters=/quiet /norestart /log:{tmp}\\KB" + n + ".log");
  Line(text, "Link=https://example.org/kb/" + n);
  Line(text, "Logfile=KB" + n + ".log");
  Line(text, "Restart=0");
}

}  // namespace

const std::vector<std::string> kSidePictures = {"Willkommen.bmp", "Methode.bmp", "Start.bmp",
                                                "Ende.bmp"};

std::string ReleaseSettings::Text() const {
  std::string text;
  Line(text, "[Main]");
  Line(text, "Name=" + name);
  Line(text, "Files=" + files.value_or(std::to_string(packages)));
  Line(text, "Version=1.2.3");
  Line(text, "Company=Übungsfirma GmbH");
  Line(text, "Website=https://example.org/");
  Line(text, "[Images]");
  for (size_t i = 0; i < kSidePictures.size(); ++i)
    Line(text, "Image" + std::to_string(i + 1) + "=" + kSidePictures[i]);
  Line(text, "[Defaults]");
  Line(text, std::string("AllowAdvanced=") + (allow_advanced ? "1" : "0"));
  Line(text, "[Lines]");
  Line(text, "PreInstall=" + std::to_string(pre_install.size()));
  Line(text, "PostInstall=" + std::to_string(post_install.size()));
  Line(text, "License=" + std::to_string(license.size()));
  Block(text, "PreInstall", pre_install);
  Block(text, "PostInstall", post_install);
  Block(text, "License", license);
  for (int i = 1; i <= packages; ++i) Package(text, i);
  return text;
}

std::string JoinedBlock(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r";
  return text;
}

std::string Word(release::WordNumber word) {
  static const std::map<int, std::string> kWords = {
      {release::kWordBack, "< Back"},
      {release::kWordNext, "Next >"},
      {release::kWordAbout, "About…"},
      {release::kWordCancel, "Cancel"},
      {release::kWordWelcomeHeading, "Welcome to the Musterrelease"},
      {release::kWordMethodHeading, "Choose the installation method"},
      {release::kWordAutomatic, "Automatic (recommended)"},
      {release::kWordCustom, "Custom"},
      {release::kWordCloseQuestion,
       "Möchten Sie die Installation wirklich abbrechen? – Nichts wird geändert."},
  };
  auto found = kWords.find(word);
  return found != kWords.end() ? found->second : "Word " + Padded(word) + " – übersetzt";
}

std::string LanguageText() {
  std::string text;
  Line(text, "[Words]");
  for (int n = 1; n <= release::WordTable::kOriginalCount; ++n)
    Line(text, Padded(n) + "=" + Word(static_cast<release::WordNumber>(n)));
  return text;
}

}  // namespace e2e
