#include "release/detector.h"

#include "platform/system.h"

namespace release {

namespace {

constexpr char kServicingPackages[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";
constexpr char kUpdateRecords[] = "SOFTWARE\\Microsoft\\Updates";
constexpr char kHotfixRecords[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix";
// CurrentState of a package the component store has installed.
constexpr std::uint32_t kPackageInstalled = 112;

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

Finding Installed(std::string detail) {
  return {Finding::Result::Installed, std::move(detail)};
}

Finding NotInstalled(std::string detail) {
  return {Finding::Result::NotInstalled, std::move(detail)};
}

Finding Unreadable(std::string detail) {
  return {Finding::Result::Unreadable, std::move(detail)};
}

// The updates a component-store package key is for: what follows each
// "_for_" up to the next "~" ("Package_for_KB2533623~31bf3856ad364e35~...").
std::vector<std::string> UpdatesOf(const std::string& upper_name) {
  static const std::string kFor = "_FOR_";
  std::vector<std::string> updates;
  for (std::size_t at = upper_name.find(kFor); at != std::string::npos;
       at = upper_name.find(kFor, at + 1)) {
    const std::size_t start = at + kFor.size();
    const std::size_t end = upper_name.find('~', start);
    if (end != std::string::npos && end > start) {
      updates.push_back(upper_name.substr(start, end - start));
    }
  }
  return updates;
}

// Decimal, or hexadecimal after "0x"; up to 32 bits.
std::optional<std::uint32_t> ParseNumber(const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > (hex ? 8u : 10u)) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::string DataText(const platform::System::ValueData& data) {
  if (const auto* text = std::get_if<std::string>(&data)) return "\"" + *text + "\"";
  return std::to_string(std::get<std::uint32_t>(data));
}

bool Holds(const platform::System::ValueData& data, const std::string& expected) {
  if (const auto* text = std::get_if<std::string>(&data)) return *text == expected;
  return ParseNumber(expected) == std::get<std::uint32_t>(data);
}

}  // namespace

Finding Detector::Evaluate(const DetectRule& rule) {
  switch (rule.kind) {
    case DetectRule::Kind::Update:
      return Update(rule.target);
    case DetectRule::Kind::MsiProduct:
      return MsiProduct(rule.target);
    case DetectRule::Kind::File:
      return File(rule);
    case DetectRule::Kind::RegistryKey:
      return RegistryKey(rule.target);
    case DetectRule::Kind::RegistryValue:
      return RegistryValue(rule);
  }
  return Unreadable({});
}

Finding Detector::Evaluate(const std::string& text) {
  const ParsedRule parsed = ParseDetectRule(text);
  if (parsed.fault != RuleFault::None)
    return Unreadable("fehlerhafte Regel: " + FaultText(parsed.fault));
  return Evaluate(parsed.rule);
}

Finding Detector::Update(const std::string& name) {
  return IsVistaOrLater(os_) ? ServicingPackage(name) : UpdateRecord(name);
}

// Installed when one of its package keys says so; a key whose state can't
// be read does not stop the search.
Finding Detector::ServicingPackage(const std::string& name) {
  const ServicingStore& store = Store();
  if (!store.failure.empty()) return Unreadable(store.failure);
  const auto found = store.packages.find(name);
  if (found == store.packages.end()) return NotInstalled("kein Paket im Komponentenspeicher");
  std::string failure;
  for (const std::string& package : found->second) {
    const auto state =
        system_.MachineValue(std::string(kServicingPackages) + "\\" + package, "CurrentState");
    if (!state.value) {
      failure = package + "\\CurrentState: " + state.reason;
    } else if (*state.value == platform::System::ValueData(kPackageInstalled)) {
      return Installed("Komponentenspeicher: " + package);
    }
  }
  if (!failure.empty()) return Unreadable(failure);
  return NotInstalled("kein Paket im Komponentenspeicher mit CurrentState 112");
}

const Detector::ServicingStore& Detector::Store() {
  if (store_) return *store_;
  ServicingStore& store = store_.emplace();
  const auto names = system_.MachineSubkeyNames(kServicingPackages);
  if (!names.value) {
    store.failure = std::string("HKLM\\") + kServicingPackages + ": " + names.reason;
    return store;
  }
  for (const std::string& package : *names.value) {
    for (const std::string& update : UpdatesOf(Upper(package))) {
      store.packages[update].push_back(package);
    }
  }
  return store;
}

Finding Detector::UpdateRecord(const std::string& name) {
  if (Records().count(name)) return Installed("Eintrag der Updates: " + name);
  return NotInstalled("kein Eintrag der Updates");
}

// Updates\<product>\<level>\<update> and Hotfix\<update>. Keys missing
// here are no fault: a system without updates has none of them.
const std::set<std::string>& Detector::Records() {
  if (records_) return *records_;
  std::set<std::string>& records = records_.emplace();
  for (const std::string& name : Subkeys(kHotfixRecords)) records.insert(Upper(name));
  for (const std::string& product : Subkeys(kUpdateRecords)) {
    const std::string product_key = std::string(kUpdateRecords) + "\\" + product;
    for (const std::string& level : Subkeys(product_key)) {
      for (const std::string& name : Subkeys(product_key + "\\" + level)) {
        records.insert(Upper(name));
      }
    }
  }
  return records;
}

std::vector<std::string> Detector::Subkeys(const std::string& key) {
  return system_.MachineSubkeyNames(key).value.value_or(std::vector<std::string>{});
}

Finding Detector::MsiProduct(const std::string& code) {
  const platform::Result<bool> installed = system_.MsiProductInstalled(code);
  if (!installed.value) return Unreadable("Windows Installer: " + installed.reason);
  if (*installed.value) return Installed("Windows Installer");
  return NotInstalled("Windows Installer kennt das Produkt nicht als installiert");
}

Finding Detector::File(const DetectRule& rule) {
  const std::string path = system_.NativePath(rule.target);
  if (!rule.least_version) {
    if (system_.FileExists(path)) return Installed(path + " ist vorhanden");
    return Unreadable(path + " fehlt");
  }
  const auto version = system_.FileVersion(path);
  if (!version.value) return Unreadable(path + ": " + version.reason);
  const std::string comparison = path + " hat Version " + VersionText(*version.value) +
                                 ", verlangt " + VersionText(*rule.least_version);
  if (*version.value >= *rule.least_version) return Installed(comparison);
  return NotInstalled(comparison);
}

Finding Detector::RegistryKey(const std::string& key) {
  const auto subkeys = system_.MachineSubkeyNames(key);
  if (subkeys.value) return Installed("HKLM\\" + key + " ist vorhanden");
  return Unreadable("HKLM\\" + key + ": " + subkeys.reason);
}

Finding Detector::RegistryValue(const DetectRule& rule) {
  const std::string where = "HKLM\\" + rule.target + "\\" + rule.value_name;
  const auto data = system_.MachineValue(rule.target, rule.value_name);
  if (!data.value) return Unreadable(where + ": " + data.reason);
  const std::string found = where + " ist " + DataText(*data.value);
  return Holds(*data.value, rule.data) ? Installed(found) : NotInstalled(found);
}

}  // namespace release
