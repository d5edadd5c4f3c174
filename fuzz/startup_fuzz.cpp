// The whole program on the unit tests' fake system, from its start to its end: the release's
// files, a continuation file and its failures file come from the input, the start decision takes
// its road, and the pages are clicked through while every package runs to its end. One package
// runs at a time, and errors end in the error report or the log, never out of the program.
//
// The input, parts separated by form feeds: switches, Settings.ini, Language.ini, the
// continuation file, its failures file (an empty part: no such file). The switches' first byte
// holds bits: 1 /silent, 2 /norestart, 4 elevated, 8 the program's folder can't be written,
// 16 every question answered yes, 32 another installer holds the lock, 64 the release's packages
// and pictures exist, 128 the first running package is cancelled. The second byte chooses the
// Windows version, the third: 1 the session ends while a package runs, 2 "Jetzt nicht neu
// starten" is ticked on the finish page.
#include <cstddef>
#include <cstdint>
#include <string>

#include "about/about_dialog.h"
#include "engine/install_page.h"
#include "finish/auto_reboot.h"
#include "finish/finish_page.h"
#include "frame/continuation.h"
#include "fuzz_input.h"
#include "release_fixture.h"
#include "wizard/summary_page.h"

namespace {

enum Switch : unsigned {
  kSilent = 1,
  kNoRestart = 2,
  kElevated = 4,
  kReadOnlyFolder = 8,
  kAnswerYes = 16,
  kLockBusy = 32,
  kFilesPresent = 64,
  kCancelFirst = 128,
  kEndSession = 1 << 8,
  kNoRestartTicked = 1 << 9,
};

constexpr const char* kFolder = "C:\\Release\\";
constexpr int kMaxSteps = 3000;

const platform::OsVersion kVersions[] = {
    {2, 5, 1, "Service Pack 3"},
    {2, 6, 0, "Service Pack 2"},
    {2, 6, 1, "Service Pack 1"},
    {2, 10, 0, ""},
    {1, 4, 10, ""},
};

std::string Data(const std::string& name) {
  return std::string(kFolder) + "Data\\" + name;
}

// Every file that the release names: packages and pictures.
void AddNamedFiles(test::FakeSystem& system, std::string_view settings_bytes) {
  const release::IniFile ini = release::IniFile::Parse(fuzz::Decoded(settings_bytes));
  for (const char* image : {"Image1", "Image2", "Image3", "Image4"})
    system.files[Data(ini.ReadString("Images", image, ""))] = "BM";
  const int count = std::min(ini.ReadInteger("Main", "Files", 0), release::PackageTable::kCapacity);
  for (int i = 1; i <= count; ++i)
    system.files[Data(ini.ReadString("File" + std::to_string(i), "File", ""))] = "MZ";
}

void AddFile(test::FakeSystem& system, const std::string& path, std::string_view bytes) {
  if (!bytes.empty()) system.files[path] = std::string(bytes);
}

unsigned SetUp(test::FakeSystem& system, std::string_view input) {
  const auto parts = fuzz::Parts(input, 5);
  const std::string_view switches = parts[0];
  const unsigned flags = (switches.size() > 0 ? static_cast<unsigned char>(switches[0]) : 0) |
                         (switches.size() > 2 ? static_cast<unsigned char>(switches[2]) << 8 : 0);
  if (switches.size() > 1)
    system.version = kVersions[static_cast<unsigned char>(switches[1]) % std::size(kVersions)];
  if (flags & kSilent) system.arguments.push_back("/silent");
  if (flags & kNoRestart) system.arguments.push_back("/norestart");
  system.elevated = flags & kElevated;
  if (flags & kReadOnlyFolder) system.read_only_folders.insert(kFolder);
  system.install_lock_free = !(flags & kLockBusy);
  system.files[Data("Icon.ico")] = "BM";
  if (flags & kFilesPresent) AddNamedFiles(system, parts[1]);
  AddFile(system, Data("Settings.ini"), parts[1]);
  AddFile(system, Data("Language.ini"), parts[2]);
  const std::string continuation = std::string(kFolder) + frame::kContinuationFileName;
  AddFile(system, continuation, parts[3]);
  AddFile(system, continuation + frame::kFailuresFileSuffix, parts[4]);
  return flags;
}

class Run {
 public:
  Run(test::Program& program, unsigned flags)
      : program_(program), app_(program.application), flags_(flags) {
    program.dialogs.answer = flags & kAnswerYes;
  }

  void ToTheEnd() {
    app::TFMain& main = program_.Start();
    forms_ = &main.context.forms;
    if (!app_.Terminated()) app_.Guard([&] { main.TStart.Tick(); });
    for (int step = 0; step < kMaxSteps && !app_.Terminated(); ++step) {
      fuzz::Require(program_.system.workers.size() <= 1, "one package runs at a time");
      if (!(program_.system.workers.empty() ? Click() : FinishPackage())) return;
    }
  }

 private:
  bool FinishPackage() {
    if (!package_seen_) {
      package_seen_ = true;
      if (flags_ & kCancelFirst) app_.Guard([&] { forms_->FKopieren->BAbbrechen.Click(); });
      if ((flags_ & kEndSession) && !app_.QueryEndSession()) app_.SessionEndCancelled();
    }
    app_.Guard([&] { program_.system.FinishWorker(); });
    return true;
  }

  // What a user does next on the visible page; false when nothing is left to do.
  bool Click() {
    if (forms_->FAutoReboot->Visible())
      return Press(*forms_->FAutoReboot, forms_->FAutoReboot->Button1);
    if (forms_->FEnde->Visible()) {
      if (flags_ & kNoRestartTicked) forms_->FEnde->CBNichtNeustarten.Click();
      return Press(*forms_->FEnde, forms_->FEnde->BAbbrechen);
    }
    if (forms_->FLizenz->Visible()) forms_->FLizenz->CBAnnehmen.Click();
    for (frame::PageFrame* page : {static_cast<frame::PageFrame*>(forms_->FWillkommen),
                                   static_cast<frame::PageFrame*>(forms_->FLizenz),
                                   static_cast<frame::PageFrame*>(forms_->FMethode),
                                   static_cast<frame::PageFrame*>(forms_->FErweitert),
                                   static_cast<frame::PageFrame*>(forms_->FStart)}) {
      if (page->Visible()) return Press(*page, page->BWeiter);
    }
    return false;
  }

  // False when the button can't be pressed, or pressing it changed nothing.
  bool Press(const ui::Form& page, ui::Button& button) {
    if (!button.Enabled() || !button.Visible()) return false;
    const std::size_t runs = program_.system.runs.size();
    app_.Guard([&] { button.Click(); });
    return !page.Visible() || !program_.system.workers.empty() ||
           program_.system.runs.size() != runs;
  }

  test::Program& program_;
  ui::Application& app_;
  unsigned flags_;
  const frame::Forms* forms_ = nullptr;
  bool package_seen_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  test::FakeSystem system;
  system.program_folder = kFolder;
  const unsigned flags = SetUp(system, {reinterpret_cast<const char*>(data), size});
  test::Program program{system};
  Run(program, flags).ToTheEnd();
  const auto log = system.files.find(program.log.Path());
  fuzz::Require(log == system.files.end() || fuzz::IsUtf8(log->second), "the log is UTF-8");
  return 0;
}
