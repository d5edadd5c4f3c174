// A small release folder made on disk for the release checker's tests: clean, so
// that each test can put one fault into it and see the finding.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "check/finding.h"

namespace release_check_test {

namespace fs = std::filesystem;
using check::Finding;
using check::Severity;
using namespace std::string_literals;

std::string U32(int v);
// A 24-bit Windows bitmap of the size.
std::string Bitmap(int width, int height);
// A Windows icon with one 32-bit image per edge.
std::string Icon(const std::vector<int>& edges);
// The Windows-1252 bytes of UTF-8 text of Latin-1 letters, with CR LF.
std::string Ansi(const std::string& utf8);
// Every word of the table, the group captions with their blanks.
std::string Words();
bool Has(const std::string& text, const std::string& part);

// The clean release's Settings.ini, in UTF-8, and the checksum of its packages' bytes.
extern const char kSettings[];
extern const std::string kMzDigest;

class ReleaseCheck : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void Write(const std::string& path, const std::string& bytes);
  std::string ReadBack(const std::string& path);
  // Replaces the first `from` in a file of the release (both in UTF-8, the
  // file written in Windows-1252 when it is an .ini).
  void Replace(const std::string& path, const std::string& from, const std::string& to);
  void Append(const std::string& path, const std::string& text);

  std::vector<Finding> Check(const std::string& folder = "");
  std::multiset<std::string> Ids();
  // The one finding of the release, which must have this id.
  Finding Only(const std::string& id);

  fs::path root_;
};

}  // namespace release_check_test
