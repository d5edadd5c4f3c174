#include "release_check_fixture.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>

#include "check/native_files.h"
#include "check/release_check.h"
#include "release/settings.h"
#include "release/sha256.h"
#include "release/words.h"

namespace release_check_test {
namespace {

std::string U16(int v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

}  // namespace

std::string U32(int v) {
  return U16(v & 0xFFFF) + U16((v >> 16) & 0xFFFF);
}

// A 24-bit Windows bitmap of the size.
std::string Bitmap(int width, int height) {
  const int stride = (width * 24 + 31) / 32 * 4;
  const std::string info = U32(40) + U32(width) + U32(height) + U16(1) + U16(24) + U32(0) +
                           U32(stride * height) + U32(2835) + U32(2835) + U32(0) + U32(0);
  return "BM" + U32(54 + stride * height) + U32(0) + U32(54) + info +
         std::string(static_cast<std::size_t>(stride) * height, '\x7F');
}

// A Windows icon with one 32-bit image per edge.
std::string Icon(const std::vector<int>& edges) {
  std::string directory = U16(0) + U16(1) + U16(static_cast<int>(edges.size()));
  std::string images;
  std::size_t offset = 6 + 16 * edges.size();
  for (const int edge : edges) {
    const std::string image = U32(40) + U32(edge) + U32(2 * edge) + U16(1) + U16(32) +
                              std::string(24, '\0') + std::string(edge * edge * 4, '\x40');
    directory += std::string(1, static_cast<char>(edge == 256 ? 0 : edge)) +
                 std::string(1, static_cast<char>(edge == 256 ? 0 : edge)) + U16(0) + U16(1) +
                 U16(32) + U32(static_cast<int>(image.size())) + U32(static_cast<int>(offset));
    images += image;
    offset += image.size();
  }
  return directory + images;
}

// The Windows-1252 bytes of UTF-8 text of Latin-1 letters, with CR LF.
std::string Ansi(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == 0xC3) {
      out += static_cast<char>(static_cast<unsigned char>(utf8[++i]) + 0x40);
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += utf8[i];
    }
  }
  return out;
}

const char kSettings[] =
    "[Main]\n"
    "Name=Prüfpaket\n"
    "Files=2\n"
    "Version=1.0\n"
    "Company=Firma\n"
    "Website=https://example.com\n"
    "[Images]\n"
    "Image1=Seite.bmp\n"
    "[Defaults]\n"
    "AutoReboot=0\n"
    "AllowAdvanced=1\n"
    "[Lines]\n"
    "PreInstall=2\n"
    "License=1\n"
    "[PreInstall]\n"
    "Line001=Willkommen\n"
    "Line002=\n"
    "[License]\n"
    "Line001=Lizenz\n"
    "[File1]\n"
    "Name=Sicherheitsupdate\n"
    "File=Updates\\KB1.exe\n"
    "Parameters=/quiet /log:{tmp}\\kb1.log\n"
    "Link=https://example.com/kb1\n"
    "Logfile=KB1.log\n"
    "Restart=1\n"
    "[File2]\n"
    "Name=Werkzeug\n"
    "File=Werkzeug.msi\n"
    "Parameters=/qn\n";

// Every word of the table, the group captions with their blanks.
std::string Words() {
  std::string text = "[Words]\n";
  for (int n = 1; n <= release::WordTable::kCount; ++n) {
    const std::string key = release::PadKeyNumber(n);
    text += key + "=" +
            (n == 41   ? "\" Status \""
             : n == 42 ? "\" Fortschritt \""
                       : "Wort " + key) +
            "\n";
  }
  return text;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

const std::string kMzDigest = release::Sha256Hex("MZ");

void ReleaseCheck::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "release-check-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  root_ = pattern;
  Write("Installer.exe", "MZ");
  Write("Readme.txt", "Lies mich\r\n");
  Write("Data/Settings.ini", Ansi(kSettings));
  Write("Data/Language.ini", Ansi(Words()));
  Write("Data/Seite.bmp", Bitmap(164, 313));
  Write("Data/Icon.ico", Icon({16, 32, 48}));
  Write("Data/Updates/KB1.exe", "MZ");
  Write("Data/Werkzeug.msi", "MSI");
}

void ReleaseCheck::TearDown() {
  fs::remove_all(root_);
}

void ReleaseCheck::Write(const std::string& path, const std::string& bytes) {
  fs::create_directories((root_ / path).parent_path());
  std::ofstream(root_ / path, std::ios::binary) << bytes;
}

std::string ReleaseCheck::ReadBack(const std::string& path) {
  std::ifstream in(root_ / path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ReleaseCheck::Replace(const std::string& path, const std::string& from,
                           const std::string& to) {
  std::string text = ReadBack(path);
  const std::string old_text = Ansi(from), new_text = Ansi(to);
  const std::size_t at = text.find(old_text);
  ASSERT_NE(at, std::string::npos) << from << " not in " << path;
  Write(path, text.replace(at, old_text.size(), new_text));
}

void ReleaseCheck::Append(const std::string& path, const std::string& text) {
  Write(path, ReadBack(path) + Ansi(text));
}

std::vector<Finding> ReleaseCheck::Check(const std::string& folder) {
  check::NativeReleaseFiles files(root_ / folder);
  auto findings = check::CheckRelease(files);
  EXPECT_TRUE(findings.has_value());
  return findings.value_or(std::vector<Finding>());
}

std::multiset<std::string> ReleaseCheck::Ids() {
  std::multiset<std::string> ids;
  for (const Finding& f : Check()) ids.insert(f.id);
  return ids;
}

Finding ReleaseCheck::Only(const std::string& id) {
  const std::vector<Finding> findings = Check();
  std::string all;
  for (const Finding& f : findings) all += check::FormatText(f) + "\n";
  EXPECT_EQ(findings.size(), 1u) << all;
  if (findings.empty()) return {};
  EXPECT_EQ(findings.front().id, id) << all;
  return findings.front();
}

}  // namespace release_check_test
