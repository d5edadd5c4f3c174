// release-check.exe under Wine prints what the Linux program prints: on the demo release
// (assembled by demo/assemble.sh, which runs the Linux checker itself) and on a copy of it with
// a fault of each kind, in a folder with umlauts in its name. The Windows program ends its lines
// with CR LF when its output is a file; the comparison drops the CRs and nothing else.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "harness/wine_test.h"

namespace e2e {
namespace {

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

// Replaces `from` (the release's Windows-1252 bytes) in a file of the release.
void Spoil(const fs::path& file, const std::string& from, const std::string& to) {
  std::string text = ReadFile(file);
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from << " is not in " << file;
  WriteFile(file, text.replace(at, from.size(), to));
}

std::string WithoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

class ReleaseCheck : public WineTest {
 protected:
  // The demo release, in a folder whose name Windows holds only in UTF-16.
  fs::path AssembleDemo() {
    const fs::path release = work_dir() / "Demo Prüfung ä";
    RunOptions options;
    options.capture_output = true;
    options.timeout = std::chrono::seconds(180);
    options.env["RELEASE_CHECK"] = E2E_RELEASE_CHECK;
    const RunResult assembled = wine().RunNative(
        {"/bin/bash", E2E_DEMO_DIR "/assemble.sh", WindowsBuildDir().string(), release.string()},
        options);
    EXPECT_EQ(assembled.exit_code, 0) << assembled.output;
    return release;
  }

  // Both programs on a folder with the same arguments: their exit code and output.
  struct Outputs {
    RunResult native, windows;
  };
  Outputs CheckBoth(const fs::path& folder, const std::vector<std::string>& options) {
    return RunBoth(options, folder, folder);
  }
  // The Linux program on one folder, the Windows program on another.
  Outputs RunBoth(const std::vector<std::string>& options, const fs::path& native_folder,
                  const fs::path& windows_folder) {
    RunOptions capture;
    capture.capture_output = true;
    std::vector<std::string> argv = {E2E_RELEASE_CHECK};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(native_folder.string());
    Outputs outputs{wine().RunNative(argv, capture), {}};
    std::vector<std::string> args = options;
    args.push_back(ToWindowsPath(windows_folder));
    // Wine makes the command line from the Unix arguments in the Unix character set. This
    // machine has no de_DE.UTF-8 locale, so LC_ALL=de_DE.UTF-8 gives ASCII and the umlauts
    // arrive garbled: the character set comes from C.UTF-8, the German user locale from
    // LC_MESSAGES.
    capture.env = {{"LC_ALL", ""}, {"LC_CTYPE", "C.UTF-8"}, {"LC_MESSAGES", "de_DE.UTF-8"}};
    outputs.windows = wine().Run(WindowsProgram("release-check.exe").string(), args, capture);
    EXPECT_FALSE(outputs.windows.timed_out);
    outputs.windows.output = WithoutCarriageReturns(outputs.windows.output);
    return outputs;
  }

  void ExpectSame(const fs::path& folder, const std::vector<std::string>& options, int exit_code) {
    const Outputs both = CheckBoth(folder, options);
    EXPECT_EQ(both.native.exit_code, exit_code) << both.native.output;
    EXPECT_EQ(both.windows.exit_code, exit_code) << both.windows.output;
    EXPECT_EQ(both.windows.output, both.native.output);
  }
};

TEST_F(ReleaseCheck, DemoReleasePassesStrictOnLinuxAndWindows) {
  const fs::path release = AssembleDemo();
  ASSERT_TRUE(fs::exists(release / "Installer.exe"));
  ExpectSame(release, {"--strict"}, 0);
  ExpectSame(release / "Data", {"--strict", "--json"}, 0);
  EXPECT_EQ(CheckBoth(release, {}).windows.output, "release-check: no problems found\n");
}

TEST_F(ReleaseCheck, SpoiltDemoReleaseGivesTheSameFindingsOnLinuxAndWindows) {
  const fs::path release = AssembleDemo();
  const fs::path settings = release / "Data" / "Settings.ini";
  const fs::path language = release / "Data" / "Language.ini";
  Spoil(settings, "Files=8", "Files=10");
  Spoil(settings, "[File7]", "[File007]");
  Spoil(settings, "Website=https://", "Website=");
  Spoil(settings, "License=8", "License=2000000000");
  Spoil(settings, "PreInstall=5", "PreInstall=3");
  Spoil(settings, "AutoReboot=0", "AutoReboot=nein");
  Spoil(settings, "Werkzeuge\\DemoTool.msi", "Werkzeuge\\DemoTool.msu");
  Spoil(settings, "{tmp}\\KB2534366", "{temp}\\KB2534366");
  Spoil(settings, "Restart=1", "Restart=ja");
  Spoil(settings, "Logfile=KB2530548.log", "Logfile=C:\\Logs\\KB2530548.log");
  Spoil(settings, "Company=Beispiel Software GmbH", "Company=Beispiel Software GmbH \x81");
  Spoil(settings, "Parameters=/Q:A /R:N", "Paramters=/Q:A /R:N");
  Spoil(language, "041=\" Status \"", "041= Status ");
  Spoil(language, "081=", "81=");
  Spoil(language, "088=&Nein\r\n", "");
  fs::remove(release / "Data" / "Fertig.bmp");
  WriteFile(release / "Data" / "Methode.bmp", "BM and no more");
  fs::remove(release / "Readme.txt");

  const Outputs text = CheckBoth(release, {});
  EXPECT_EQ(text.native.exit_code, 1);
  EXPECT_EQ(text.windows.exit_code, 1);
  EXPECT_EQ(text.windows.output, text.native.output);
  // Not an agreement on nothing: a line for each fault, and the summary.
  EXPECT_EQ(std::count(text.native.output.begin(), text.native.output.end(), '\n'), 21)
      << text.native.output;

  const Outputs json = CheckBoth(release / "Data", {"--json"});
  EXPECT_EQ(json.windows.exit_code, 1);
  EXPECT_EQ(json.windows.output, json.native.output);
  for (const char* id :
       {"file-sections-missing", "section-form", "lines-above-bound", "package-kind-skipped",
        "tmp-misspelt", "character-not-shown", "key-misspelt", "word-key-form", "word-missing",
        "word-blanks-lost", "picture-missing", "picture-unreadable", "readme-missing",
        "exe-without-parameters"}) {
    EXPECT_NE(json.native.output.find(std::string("\"id\": \"") + id), std::string::npos) << id;
  }
  ExpectSame(release, {"--strict"}, 1);
}

// release-check.exe adds the checksums to the demo release byte for byte as the Linux program
// does, keeping its comments, Windows-1252 and CR LF; the release then passes --strict on both,
// until a package file changes.
TEST_F(ReleaseCheck, ChecksumsAddedByBothProgramsAreTheSameAndTheReleaseThenPassesStrict) {
  const fs::path release = AssembleDemo();
  const fs::path settings = release / "Data" / "Settings.ini";
  WriteFile(settings,
            "; Pr\xFC"
            "fsummen kommen dazu\r\n" +
                ReadFile(settings));
  const std::string before = ReadFile(settings);
  ASSERT_EQ(before.find("Sha256"), std::string::npos);
  const fs::path twin = work_dir() / "Zwilling";
  fs::copy(release, twin, fs::copy_options::recursive);

  const Outputs update = RunBoth({"--update-sha256"}, twin, release);
  EXPECT_EQ(update.windows.exit_code, 0) << update.windows.output;
  EXPECT_EQ(update.windows.output, update.native.output);
  EXPECT_NE(update.windows.output.find("release-check: Sha256 added to 8 packages, refreshed in 0, "
                                       "unchanged in 0\n"),
            std::string::npos)
      << update.windows.output;
  const std::string after = ReadFile(settings);
  EXPECT_EQ(after, ReadFile(twin / "Data" / "Settings.ini"));

  // Without the added lines the file is what it was.
  std::string without = after;
  int added = 0;
  for (std::size_t at; (at = without.find("\r\nSha256=")) != std::string::npos; ++added) {
    without.erase(at, std::string("\r\nSha256=").size() + 64);
  }
  EXPECT_EQ(added, 8);
  EXPECT_EQ(without, before);
  RunOptions capture;
  capture.capture_output = true;
  const RunResult system_sum = wine().RunNative(
      {"sha256sum", (release / "Data" / "Werkzeuge" / "DemoTool.msi").string()}, capture);
  EXPECT_NE(after.find("File=Werkzeuge\\DemoTool.msi\r\n"), std::string::npos);
  EXPECT_NE(after.find("Sha256=" + system_sum.output.substr(0, 64) + "\r\n"), std::string::npos)
      << system_sum.output;

  ExpectSame(release, {"--strict"}, 0);
  std::ofstream(release / "Data" / "Werkzeuge" / "DemoTool.msi", std::ios::binary | std::ios::app)
      << "x";
  const Outputs changed = CheckBoth(release, {"--json"});
  EXPECT_EQ(changed.windows.exit_code, 1);
  EXPECT_EQ(changed.windows.output, changed.native.output);
  EXPECT_NE(changed.windows.output.find("\"id\": \"sha256-mismatch\""), std::string::npos)
      << changed.windows.output;
}

}  // namespace
}  // namespace e2e
