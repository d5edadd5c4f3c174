// Which packages the system has installed already, by their Detect= rules:
// evaluated once at start on the worker, so that the welcome page waits for
// nothing; the advanced page and the installation ask for the result when
// they need it, and only then wait for it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace release {
class PackageTable;
struct Finding;
}  // namespace release

namespace frame {

class Choices;
class Context;

class Detection {
 public:
  Detection(const release::PackageTable& packages, Choices& choices)
      : packages_(packages), choices_(choices) {}

  // Evaluates the rules of the release's packages on the worker, and logs
  // what they found; a release without rules has nothing to evaluate. The
  // worker runs nothing else meanwhile: the installation waits for the end.
  void Start(Context& context);
  // Runs `then` once every rule is evaluated: at once when they are, else at
  // the worker's end. Before the first `then`, the packages found installed
  // are left out of the choices.
  void WhenEvaluated(std::function<void()> then);
  // Package `number` was found installed (never before the evaluation's end).
  bool FoundInstalled(int number) const;

 private:
  struct Rule {
    int number;
    std::string text;
  };
  void Evaluated(Context& context, const std::vector<Rule>& rules,
                 const std::vector<release::Finding>& findings);

  const release::PackageTable& packages_;
  Choices& choices_;
  bool evaluated_ = true;  // until a rule is to be evaluated
  bool left_out_ = false;
  std::vector<bool> installed_;  // by package number - 1
  std::vector<std::function<void()>> waiting_;
};

}  // namespace frame
