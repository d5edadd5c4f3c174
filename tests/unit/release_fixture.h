// A release in the fake file system and the whole program created headless
// on it, for tests that play the user on real forms.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/main_form.h"
#include "app/program.h"
#include "engine/install_page.h"
#include "fake_dialogs.h"
#include "fake_system.h"
#include "frame/unattended_dialogs.h"
#include "ui/application.h"
#include "wizard/advanced_page.h"
#include "wizard/license_page.h"
#include "wizard/method_page.h"
#include "wizard/welcome_page.h"

namespace test {

// The whole program on the fake system, as the Windows entry point makes it:
// its dialogs behind the unattended run's log.
struct Program {
  explicit Program(FakeSystem& system) : system(system) {}

  app::TFMain& Start() { return app::CreateForms(application, system, quiet); }

  FakeSystem& system;
  FakeDialogs dialogs;
  frame::InstallLog log{system};
  frame::UnattendedDialogs quiet{dialogs, log};
  ui::Application application{quiet};
};

class ReleaseFixture : public ::testing::Test {
 protected:
  static constexpr const char* kFolder = "C:\\Release\\";

  ReleaseFixture() {
    system.program_folder = kFolder;
    for (const char* picture : {"side1.bmp", "side2.bmp", "side3.bmp", "side4.bmp", "Icon.ico"}) {
      system.files[std::string(kFolder) + "Data\\" + picture] = "BM";
    }
  }

  void SetSettings(const std::string& text) { system.files[Data("Settings.ini")] = text; }
  void SetLanguage(const std::string& text) { system.files[Data("Language.ini")] = text; }
  static std::string Data(const std::string& name) {
    return std::string(kFolder) + "Data\\" + name;
  }

  // Three packages, pictures for every page, all words "W<n>".
  void UseStandardRelease(bool allow_advanced = false) {
    SetSettings(
        "[Main]\nName=Demo Pack\nFiles=3\n"
        "[Images]\nImage1=side1.bmp\nImage2=side2.bmp\nImage3=side3.bmp\nImage4=side4.bmp\n"
        "[Defaults]\nAllowAdvanced=" +
        std::string(allow_advanced ? "1" : "0") +
        "\n"
        "[Lines]\nPreInstall=2\n[PreInstall]\nLine001=Hallo\nLine002=Welt\n"
        "[File1]\nName=One\n[File2]\nName=Two\n[File3]\nName=Three\n");
    std::string words = "[Words]\n";
    for (int n = 1; n <= 77; ++n)
      words += release::PadKeyNumber(n) + "=W" + std::to_string(n) + "\n";
    SetLanguage(words);
  }

  // `count` packages pkg1.exe ... with the given extra lines per package.
  void UseRelease(int count, const std::string& defaults = "",
                  const std::map<int, std::string>& extra = {}) {
    std::string text = "[Main]\nName=Pack\nFiles=" + std::to_string(count) +
                       "\n[Images]\nImage1=side1.bmp\nImage2=side2.bmp\nImage3=side3.bmp\n"
                       "Image4=side4.bmp\n[Defaults]\n" +
                       defaults + "\n[Lines]\nPostInstall=1\n[PostInstall]\nLine001=Fertig\n";
    for (int i = 1; i <= count; ++i) {
      // The first of two equal keys wins, so the extra lines go first.
      const std::string file = "pkg" + std::to_string(i) + ".exe";
      text += "[File" + std::to_string(i) + "]\n" + (extra.count(i) ? extra.at(i) + "\n" : "") +
              "Name=Package " + std::to_string(i) + "\nFile=" + file + "\nParameters=/q" +
              std::to_string(i) + "\n";
      system.files[Data(file)] = std::string(1234567, 'x');
    }
    UseStandardRelease();  // words W1 ... W77
    SetSettings(text);
  }

  // Lets the running package end, as its worker would.
  void FinishPackage() { ASSERT_TRUE(system.FinishWorker()); }

  static std::string ContinuationPath() { return std::string(kFolder) + "rir_eridivu"; }

  app::TFMain& Start() {
    main = &app::CreateForms(application, system, quiet);
    return *main;
  }

  // Creates the forms and lets the start timer fire once.
  app::TFMain& StartAndDecide() {
    Start();
    main->TStart.Tick();
    return *main;
  }

  const frame::Forms& Pages() const { return main->context.forms; }

  FakeSystem system;
  FakeDialogs dialogs;
  frame::InstallLog log{system};
  frame::UnattendedDialogs quiet{dialogs, log};
  ui::Application application{quiet};
  app::TFMain* main = nullptr;
};

}  // namespace test
