// What a screen reader learns of the wizard's pages: the role and name of every visible
// control, asked through AccessibleObjectFromWindow as a reader asks, from another process.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "harness/install_test.h"

namespace e2e {
namespace {

// ROLE_SYSTEM_* of oleacc.h.
constexpr int kRoleGrouping = 0x14;
constexpr int kRoleGraphic = 0x28;
constexpr int kRoleStaticText = 0x29;

struct Heard {
  std::string control;
  std::string kind;  // the window class, "item" for an element of a list
  int role = 0;
  std::string name;
  std::string value;
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// The driver's "accessible" lines: control|class|role|name[|value].
std::vector<Heard> Parse(const std::string& lines) {
  std::vector<Heard> heard;
  for (const std::string& line : Split(lines, '\n')) {
    std::vector<std::string> fields = Split(line, '|');
    fields.resize(5);
    heard.push_back({fields[0], fields[1], std::atoi(fields[2].c_str()), fields[3], fields[4]});
  }
  return heard;
}

class Accessibility : public InstallTest {
 protected:
  // What the page's controls say to a reader, with every label's and image's text checked
  // against what the page shows.
  std::vector<Heard> Ask(const std::string& form) {
    const DriverRun asked = Drive({"accessible " + form});
    EXPECT_TRUE(asked.ok()) << asked.Report();
    if (!asked.ok()) return {};
    const std::vector<Heard> heard = Parse(asked.Value("accessible " + form));
    for (const Heard& control : heard) {
      RecordProperty(form + "." + control.control,
                     control.kind + " " + std::to_string(control.role) + " " + control.name);
    }
    return heard;
  }

  std::string Text(const std::string& form, const std::string& control) {
    const DriverRun run = Drive({TextOf(form, control)});
    EXPECT_TRUE(run.ok()) << run.Report();
    return run.ok() ? run.Value(TextOf(form, control)) : "";
  }

  // Labels are static text named with their text, group boxes groupings named with their
  // caption; pictures are graphics, unnamed unless one stands for the page (`named`: the
  // control whose text names it).
  void ExpectOwnControls(const std::string& form, const std::vector<Heard>& heard,
                         const std::map<std::string, std::string>& named = {}) {
    int labels = 0;
    for (const Heard& control : heard) {
      if (control.kind == "InstallerLabel") {
        ++labels;
        EXPECT_EQ(control.role, kRoleStaticText) << form << "." << control.control;
        EXPECT_EQ(control.name, Text(form, control.control)) << form << "." << control.control;
      } else if (control.control.rfind("GB", 0) == 0) {  // the forms' group boxes
        EXPECT_EQ(control.role, kRoleGrouping) << form << "." << control.control;
        EXPECT_EQ(control.name, Text(form, control.control)) << form << "." << control.control;
      } else if (control.kind == "Button") {
        // Wine's standard objects know no role of Windows' controls; the name they have.
        std::string caption = Text(form, control.control);
        caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
        EXPECT_EQ(control.name, caption) << form << "." << control.control;
      } else if (control.kind == "InstallerImage") {
        EXPECT_EQ(control.role, kRoleGraphic) << form << "." << control.control;
        const auto heading = named.find(control.control);
        EXPECT_EQ(control.name, heading == named.end() ? "" : Text(form, heading->second))
            << form << "." << control.control;
      }
    }
    EXPECT_GT(labels, 0) << form;
  }
};

TEST_F(Accessibility, EveryControlOfThePagesHasItsRoleAndName) {
  InstallRelease release;
  release.texts.allow_advanced = true;
  release.packages = {{"KB1.exe", "/q"}, {"KB2.exe", "/q"}};
  release.packages[0].sleep_ms = 8000;  // the installation page stays while it is asked
  const fs::path exe =
      MakeInstallRelease(work_dir() / "release", release, probe(), work_dir() / "journal.txt");
  WineProgram installer = wine().Start(exe.string(), {});

  ASSERT_TRUE(Drive({WaitFor("TFWillkommen", 30000)}).ok());
  ExpectOwnControls("TFWillkommen", Ask("TFWillkommen"));

  ASSERT_TRUE(Drive({Click("TFWillkommen", "BWeiter"), WaitFor("TFMethode", 10000),
                     Click("TFMethode", "CBAdvancedInstall"), Click("TFMethode", "BWeiter"),
                     WaitFor("TFErweitert", 10000)})
                  .ok());
  ExpectOwnControls("TFErweitert", Ask("TFErweitert"));

  ASSERT_TRUE(Drive({Click("TFErweitert", "BWeiter"), WaitFor("TFStart", 10000)}).ok());
  ExpectOwnControls("TFStart", Ask("TFStart"));

  ASSERT_TRUE(Drive({Click("TFStart", "BWeiter"), WaitFor("TFKopieren", 10000)}).ok());
  ExpectOwnControls("TFKopieren", Ask("TFKopieren"), {{"Image1", "LStatus"}});
  installer.Kill();
}

}  // namespace
}  // namespace e2e
