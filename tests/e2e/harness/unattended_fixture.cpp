#include "harness/unattended_fixture.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace e2e {

std::string RecordText(const std::string& record) {
  constexpr std::size_t kDateAndTime = 21;
  return record.size() > kDateAndTime ? record.substr(kDateAndTime) : std::string();
}

std::vector<std::string> TextsStartingWith(const std::vector<std::string>& records,
                                           const std::string& start) {
  std::vector<std::string> found;
  for (const std::string& record : records) {
    if (RecordText(record).rfind(start, 0) == 0) found.push_back(RecordText(record));
  }
  return found;
}
namespace {

const char kAppDefaults[] = "HKCU\\Software\\Wine\\AppDefaults\\Installer.exe";
const char kSystemVersionKey[] = "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion";
const char kSystemVersionKey32[] =
    "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion";
const char kSystemVersion[] = "CurrentVersion";
const char kByteOrderMark[] = "\xEF\xBB\xBF";

void SetValue(WineSession& wine, const std::string& key, const std::string& name,
              const std::string& data) {
  const RunResult added = wine.Run("reg", {"add", key, "/v", name, "/d", data, "/f"});
  if (added.exit_code != 0)
    throw std::runtime_error("reg add " + key + " " + name + " failed with exit code " +
                             std::to_string(added.exit_code));
}

// "2026-12-08 21:11:40  " at the start of a record.
bool StartsWithDateAndTime(const std::string& record) {
  const std::string pattern = "dddd-dd-dd dd:dd:dd  ";
  if (record.size() <= pattern.size()) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(record[i])) != 0;
    if (pattern[i] == 'd' ? !digit : record[i] != pattern[i]) return false;
  }
  return true;
}

// One file for each value: "HKCU_Software_..._Version.e2e-kept".
std::string KeptFileName(const std::string& key, const std::string& name) {
  std::string file = key + "_" + name + ".e2e-kept";
  std::replace(file.begin(), file.end(), '\\', '_');
  return file;
}

}  // namespace

// The kept file holds "=" and the value before, or nothing when there was none.
KeptRegistryValue::KeptRegistryValue(WineSession& wine, const std::string& key,
                                     const std::string& name, const std::string& data)
    : wine_(wine), key_(key), name_(name), kept_(wine.prefix() / KeptFileName(key, name)) {
  if (fs::exists(kept_)) PutBack();
  const std::optional<std::string> before = QueryRegistryValue(wine_, key_, name_);
  if (!(std::ofstream(kept_, std::ios::binary) << (before ? "=" + *before : "")))
    throw std::runtime_error("cannot write " + kept_.string());
  SetValue(wine_, key_, name_, data);
}

KeptRegistryValue::~KeptRegistryValue() {
  try {
    PutBack();
  } catch (const std::exception& error) {
    ADD_FAILURE() << key_ << "\\" << name_ << " stays changed: " << error.what();
  }
}

void KeptRegistryValue::PutBack() {
  std::ifstream in(kept_, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + kept_.string());
  std::string before;
  std::getline(in, before);
  if (before.empty()) {
    wine_.Run("reg", {"delete", key_, "/v", name_, "/f"});
  } else {
    SetValue(wine_, key_, name_, before.substr(1));
  }
  in.close();
  fs::remove(kept_);
}

InstallerWindowsVersion::InstallerWindowsVersion(WineSession& wine, const std::string& version)
    : KeptRegistryValue(wine, kAppDefaults, "Version", version) {}

ReportedSystemVersion::ReportedSystemVersion(WineSession& wine, const std::string& version)
    : native_view_(wine, kSystemVersionKey, kSystemVersion, version),
      view_of_32_bit_programs_(wine, kSystemVersionKey32, kSystemVersion, version) {}

std::optional<std::string> UnattendedTest::RegistryValue(const std::string& key,
                                                         const std::string& name) {
  return QueryRegistryValue(wine(), key, name);
}

void UnattendedTest::DeleteRegistryValue(const std::string& key, const std::string& name) {
  wine().Run("reg", {"delete", key, "/v", name, "/f"});  // mostly not there
}

std::vector<std::string> UnattendedTest::LogRecords(const fs::path& log) {
  std::string text = ReadFile(log);
  std::vector<std::string> records;
  if (text.compare(0, 3, kByteOrderMark) != 0) {
    ADD_FAILURE() << log << " does not start with a UTF-8 byte-order mark:\n" << text;
  } else {
    text.erase(0, 3);
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the install log's last record lacks its CR LF: " << text.substr(start);
      end = text.size();
    }
    records.push_back(text.substr(start, end - start));
    if (!StartsWithDateAndTime(records.back()))
      ADD_FAILURE() << "an install log record without date and time: '" << records.back() << "'";
    start = end + 2;
  }
  return records;
}

int UnattendedTest::Occurrences(const std::vector<std::string>& records, const std::string& text) {
  int found = 0;
  for (const std::string& record : records) found += record.find(text) != std::string::npos;
  return found;
}

BoxWatch UnattendedTest::WatchForBoxes(WineProgram& program, const std::string& form,
                                       std::chrono::milliseconds timeout) {
  BoxWatch watch;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    std::vector<std::string> commands = {Absent("TMessageForm", 400), Absent("#32770", 100)};
    if (!form.empty()) commands.push_back(IsShown(form));
    const DriverRun run = Drive(commands);
    if (run.error.find("became visible") != std::string::npos) {
      const bool standard = run.error.find("#32770") != std::string::npos;
      const DriverRun seen =
          Drive(standard ? std::vector<std::string>{CaptionOf("#32770"), "boxtext"}
                         : std::vector<std::string>{CaptionOf("TMessageForm"),
                                                    TextOf("TMessageForm", "Message")});
      watch.box = seen.ok() ? seen.values.at(0).second + ": " + seen.values.at(1).second
                            : run.error + " (" + seen.Report() + ")";
      return watch;
    }
    if (!form.empty() && run.ok() && run.Value(IsShown(form)) == "1") {
      watch.reached = true;
      return watch;
    }
    if (!program.Running()) {
      watch.reached = form.empty();
      return watch;
    }
  }
  return watch;
}

void UnattendedTest::EndFinishedSilentRunWithoutRestart() {
  const DriverRun ended = Drive({WaitFor("TFEnde", 60000), WaitFor("TFAutoReboot", 10000),
                                 Click("TFAutoReboot", "Button1"), WaitGone("TFAutoReboot", 5000),
                                 Click("TFEnde", "CBNichtNeustarten"),
                                 Click("TFEnde", "BAbbrechen"), WaitGone("TFEnde", 10000)});
  if (!ended.ok()) ADD_FAILURE() << "the finish page did not end the run: " << ended.Report();
}

void UnattendedTest::CloseFinishPageWithoutRestart() {
  const DriverRun ended = Drive({WaitFor("TFEnde", 60000), IsShown("TFAutoReboot"),
                                 Click("TFEnde", "CBNichtNeustarten"),
                                 Click("TFEnde", "BAbbrechen"), WaitGone("TFEnde", 10000)});
  if (!ended.ok()) {
    ADD_FAILURE() << "the finish page did not end the run: " << ended.Report();
    return;
  }
  if (ended.Value(IsShown("TFAutoReboot")) != "0") ADD_FAILURE() << "a countdown ran";
}

std::string UnattendedTest::ContinuationFile(int total, const std::vector<bool>& options,
                                             const std::vector<int>& rows) {
  std::string text = std::to_string(total) + "\r\n";
  for (const bool option : options) text += option ? "1\r\n" : "0\r\n";
  for (const int row : rows) text += std::to_string(row) + "\r\n";
  return text;
}

}  // namespace e2e
