#include "harness/wine_test.h"

#include <memory>
#include <stdexcept>

namespace e2e {
namespace {

std::unique_ptr<WineSession>& Session() {
  static std::unique_ptr<WineSession> session;
  return session;
}

std::string& StartError() {
  static std::string error;
  return error;
}

}  // namespace

WineSession& SharedWineSession() {
  if (!StartError().empty())
    throw std::runtime_error("the Wine session could not start: " + StartError());
  if (!Session()) {
    try {
      Session() = std::make_unique<WineSession>();
    } catch (const std::exception& error) {
      StartError() = error.what();
      throw;
    }
  }
  return *Session();
}

void StopSharedWineSession() {
  Session().reset();
}

void WineTest::SetUp() {
  SharedWineSession();  // first: its lock also keeps a second test process out of our folders
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  work_dir_ = RunFolder("e2e-work") / info->test_suite_name() / info->name();
  fs::remove_all(work_dir_);
  fs::create_directories(work_dir_);
}

}  // namespace e2e
