#include "frame/detection.h"

#include <memory>
#include <utility>

#include "frame/context.h"
#include "platform/system.h"
#include "release/detector.h"
#include "ui/application.h"

namespace frame {

void Detection::Start(Context& context) {
  std::vector<Rule> rules;
  for (int n = 1; n <= packages_.Count(); ++n) {
    if (!packages_[n].Detect.empty()) rules.push_back({n, packages_[n].Detect});
  }
  if (rules.empty()) return;
  evaluated_ = false;
  auto findings = std::make_shared<std::vector<release::Finding>>(rules.size());
  platform::System& system = context.System();
  system.StartWorker(
      [&system, os = context.CurrentOSIndex, rules, findings] {
        release::Detector detector(system, os);
        for (std::size_t i = 0; i < rules.size(); ++i) {
          try {
            (*findings)[i] = detector.Evaluate(rules[i].text);
          } catch (const std::exception& e) {
            (*findings)[i] = {release::Finding::Result::Unreadable, e.what()};
          }
        }
      },
      false,
      [this, &context, rules, findings] {
        context.App().Guard([&] { Evaluated(context, rules, *findings); });
      });
}

// One entry in the log for all rules: a line per package found installed or
// whose rule could not be read; a rule that was read and does not hold is
// the common case and says nothing.
void Detection::Evaluated(Context& context, const std::vector<Rule>& rules,
                          const std::vector<release::Finding>& findings) {
  installed_.assign(packages_.Count(), false);
  std::vector<std::string> lines(1);
  int found = 0;
  for (std::size_t i = 0; i < rules.size(); ++i) {
    const int n = rules[i].number;
    const std::string package = PackageInLog(n, packages_[n].Name) + ": ";
    const release::Finding& finding = findings[i];
    if (finding.result == release::Finding::Result::Installed) {
      installed_[n - 1] = true;
      ++found;
      lines.push_back(package + "bereits installiert laut Detect=" + rules[i].text + " (" +
                      finding.detail + ")");
    } else if (finding.result == release::Finding::Result::Unreadable) {
      lines.push_back(package + "Detect=" + rules[i].text +
                      " nicht lesbar, gilt als nicht installiert (" + finding.detail + ")");
    }
  }
  lines[0] = "Erkennungsregeln von " + std::to_string(rules.size()) +
             (rules.size() == 1 ? " Paket" : " Paketen") + " geprüft: " + std::to_string(found) +
             " bereits installiert";
  context.Log().WriteLines(lines);
  evaluated_ = true;
  for (auto& then : std::exchange(waiting_, {})) WhenEvaluated(std::move(then));
}

void Detection::WhenEvaluated(std::function<void()> then) {
  if (!evaluated_) {
    waiting_.push_back(std::move(then));
    return;
  }
  if (!left_out_) {
    left_out_ = true;
    choices_.LeaveOut(installed_);
  }
  then();
}

bool Detection::FoundInstalled(int number) const {
  return number >= 1 && number <= static_cast<int>(installed_.size()) && installed_[number - 1];
}

}  // namespace frame
