// Sha256= written into Settings.ini by release-check: the new values where
// the installer reads them, and every other byte of the file as it was.
#include "check/checksum_update.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace {

using check::ChecksumChange;
using Kind = check::ChecksumChange::Kind;

const std::string kOne(64, '1'), kTwo(64, '2'), kThree(64, '3');

struct Result {
  std::string bytes;
  std::vector<ChecksumChange> changes;
};

// The file's bytes decoded as the installer decodes them (Windows-1252
// without a byte-order mark), then the checksums set.
Result Set(const std::string& bytes, const std::map<int, std::string>& sha256) {
  test::FakeSystem system;
  std::vector<release::IniLine> outline;
  release::IniFile::Decode(
      bytes, [&system](std::string_view ansi) { return system.DecodeAnsi(ansi); }, &outline);
  Result result;
  result.bytes = check::SetChecksums(bytes, outline, sha256, result.changes);
  return result;
}

// The installer reads the new values, and every other key as before.
void ExpectReadAsBefore(const std::string& before, const std::string& after,
                        const std::map<int, std::string>& sha256) {
  test::FakeSystem system;
  const auto decode = [&system](std::string_view ansi) { return system.DecodeAnsi(ansi); };
  std::vector<release::IniLine> old_lines, new_lines;
  release::IniFile::Decode(before, decode, &old_lines);
  const release::IniFile now = release::IniFile::Decode(after, decode, &new_lines);
  for (const auto& [package, value] : sha256) {
    EXPECT_EQ(now.ReadString("File" + std::to_string(package), "Sha256", ""), value) << package;
  }
  for (const release::IniLine& line : old_lines) {
    if (line.kind != release::IniLine::Kind::Key || !line.counts ||
        release::IniFile::FoldName(line.key) == "sha256")
      continue;
    EXPECT_EQ(now.ReadString(line.section, line.key, "(missing)"), line.value)
        << "[" << line.section << "] " << line.key;
  }
}

std::string Utf16(const std::string& latin1) {
  std::string bytes = "\xFF\xFE";
  for (const char c : latin1) {
    // Latin-1 text: each byte is its own UTF-16 unit.
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

TEST(ChecksumUpdate, AnsiWithCrLfCommentsAndKeyOrderKept) {
  const std::string before =
      "; Pr\xFC"
      "fpaket, Windows-1252\r\n"
      "[Main]\r\nFiles=3\r\n"
      "[File1]\r\nName=Gr\xF6\xDF"
      "e\r\nFile=a.exe\r\n; Ende von File1\r\n\r\n"
      "[File2]\r\nSha256=" +
      kThree +
      "\r\nName=Zwei\r\nFile=b.exe\r\n"
      "[File3]\r\nName=Drei\r\nSha256=" +
      kThree + "\r\nFile=c.exe\r\n";
  const std::map<int, std::string> sha256 = {{1, kOne}, {2, kTwo}, {3, kThree}};
  const Result result = Set(before, sha256);
  EXPECT_EQ(result.bytes,
            "; Pr\xFC"
            "fpaket, Windows-1252\r\n"
            "[Main]\r\nFiles=3\r\n"
            "[File1]\r\nName=Gr\xF6\xDF"
            "e\r\nFile=a.exe\r\nSha256=" +
                kOne +
                "\r\n; Ende von File1\r\n\r\n"
                "[File2]\r\nSha256=" +
                kTwo +
                "\r\nName=Zwei\r\nFile=b.exe\r\n"
                "[File3]\r\nName=Drei\r\nSha256=" +
                kThree + "\r\nFile=c.exe\r\n");
  ASSERT_EQ(result.changes.size(), 3u);
  EXPECT_EQ(result.changes[0].kind, Kind::Added);
  EXPECT_EQ(result.changes[0].line, 7);
  EXPECT_EQ(result.changes[1].kind, Kind::Refreshed);
  EXPECT_EQ(result.changes[1].line, 11);  // one line further down than before
  EXPECT_EQ(result.changes[1].before, kThree);
  EXPECT_EQ(result.changes[2].kind, Kind::Unchanged);
  EXPECT_EQ(result.changes[2].line, 16);
  ExpectReadAsBefore(before, result.bytes, sha256);
}

TEST(ChecksumUpdate, Utf8WithAndWithoutByteOrderMarkAndLf) {
  for (const std::string mark : {"\xEF\xBB\xBF", ""}) {
    const std::string before = mark +
                               "[File1]\nName=Gr\xC3\xB6\xC3\x9F"
                               "e \xE2\x82\xAC\nFile=a.exe\n" +
                               "[File2]\nFile=b.exe\nSha256=" + kOne + "\n";
    const Result result = Set(before, {{1, kOne}, {2, kTwo}});
    EXPECT_EQ(result.bytes, mark +
                                "[File1]\nName=Gr\xC3\xB6\xC3\x9F"
                                "e \xE2\x82\xAC\nFile=a.exe\n" +
                                "Sha256=" + kOne + "\n[File2]\nFile=b.exe\nSha256=" + kTwo + "\n")
        << (mark.empty() ? "without" : "with") << " mark";
    ExpectReadAsBefore(before, result.bytes, {{1, kOne}, {2, kTwo}});
  }
}

TEST(ChecksumUpdate, Utf16KeepsItsUnitsAndRefusesACutLastCharacter) {
  const std::string before = Utf16(
      "[File1]\r\nName=Gr\xFC"
      "n\r\nFile=a.exe\r\n[File2]\r\nsha256=x\r\nFile=b.exe\r\n");
  const std::string expected = Utf16(
      "[File1]\r\nName=Gr\xFC"
      "n\r\nFile=a.exe\r\nSha256=" +
      kOne + "\r\n[File2]\r\nsha256=" + kTwo + "\r\nFile=b.exe\r\n");
  EXPECT_EQ(Set(before, {{1, kOne}, {2, kTwo}}).bytes, expected);
  EXPECT_THROW(Set(before + "\x41", {{1, kOne}, {2, kTwo}}), std::invalid_argument);
  ExpectReadAsBefore(before, expected, {{1, kOne}, {2, kTwo}});
}

TEST(ChecksumUpdate, LastLineWithoutLineEnd) {
  // The key added after it becomes the last line, still without a line end.
  EXPECT_EQ(Set("[Main]\r\nFiles=1\r\n[File1]\r\nFile=a.exe", {{1, kOne}}).bytes,
            "[Main]\r\nFiles=1\r\n[File1]\r\nFile=a.exe\r\nSha256=" + kOne);
  EXPECT_EQ(Set("[Main]\nFiles=1\n[File1]\nFile=a.exe", {{1, kOne}}).bytes,
            "[Main]\nFiles=1\n[File1]\nFile=a.exe\nSha256=" + kOne);
  EXPECT_EQ(Set("[File1]", {{1, kOne}}).bytes, "[File1]\r\nSha256=" + kOne);
  EXPECT_EQ(Set("[File1]\r\nSha256=0", {{1, kOne}}).bytes, "[File1]\r\nSha256=" + kOne);
}

// Lines end as their neighbours do in a file of both kinds.
TEST(ChecksumUpdate, MixedLineEndsFollowTheLineBefore) {
  EXPECT_EQ(
      Set("[File1]\nFile=a.exe\r\n[File2]\r\nFile=b.exe\n", {{1, kOne}, {2, kTwo}}).bytes,
      "[File1]\nFile=a.exe\r\nSha256=" + kOne + "\r\n[File2]\r\nFile=b.exe\nSha256=" + kTwo + "\n");
}

TEST(ChecksumUpdate, OddButLegalForms) {
  const std::string before =
      "Sha256=outside any section\r\n"
      "[ file1 ]\r\n"
      "  SHA256 \t=\t 'old value'  \r\n"
      "Sha256=" +
      kThree +
      "\r\n"  // the second of two: not read
      "[FILE2]\r\n"
      ";Sha256=in a comment\r\n"
      "sha256\r\n"  // a key without "=": an empty value
      "[File3\r\n"  // no "]": the keys after it stay in [FILE2]
      "File=c.exe\r\n"
      "[File007]\r\nSha256=not package 7\r\n"
      "[File1]\r\nSha256=repeated section, not read\r\n"
      "[File4]\r\n"
      "File = d = e.exe\r\n";
  const std::map<int, std::string> sha256 = {
      {1, kOne}, {2, kTwo}, {3, kThree}, {4, kThree}, {7, kThree}};
  const Result result = Set(before, sha256);
  EXPECT_EQ(result.bytes,
            "Sha256=outside any section\r\n"
            "[ file1 ]\r\n"
            "  SHA256 \t=\t " +
                kOne +
                "\r\n"
                "Sha256=" +
                kThree +
                "\r\n"
                "[FILE2]\r\n"
                ";Sha256=in a comment\r\n"
                "sha256=" +
                kTwo +
                "\r\n"
                "[File3\r\n"
                "File=c.exe\r\n"
                "[File007]\r\nSha256=not package 7\r\n"
                "[File1]\r\nSha256=repeated section, not read\r\n"
                "[File4]\r\n"
                "File = d = e.exe\r\nSha256=" +
                kThree + "\r\n");
  // Packages 3 and 7 have no section the installer reads.
  ASSERT_EQ(result.changes.size(), 3u);
  EXPECT_EQ(result.changes[0].package, 1);
  EXPECT_EQ(result.changes[0].before, "old value");
  EXPECT_EQ(result.changes[1].package, 2);
  EXPECT_EQ(result.changes[1].kind, Kind::Refreshed);
  EXPECT_EQ(result.changes[1].before, "");
  EXPECT_EQ(result.changes[2].package, 4);
  EXPECT_EQ(result.changes[2].line, 16);
  ExpectReadAsBefore(before, result.bytes, {{1, kOne}, {2, kTwo}, {4, kThree}});
}

TEST(ChecksumUpdate, TheSameChecksumInOtherLetterCaseIsLeftAlone) {
  std::string upper = kOne;
  upper[0] = 'A';
  std::string lower = upper;
  lower[0] = 'a';
  const std::string before = "[File1]\r\nSha256=" + upper + "\r\n";
  const Result result = Set(before, {{1, lower}});
  EXPECT_EQ(result.bytes, before);
  ASSERT_EQ(result.changes.size(), 1u);
  EXPECT_EQ(result.changes[0].kind, Kind::Unchanged);
  EXPECT_EQ(result.changes[0].line, 2);
}

TEST(ChecksumUpdate, NothingToSetLeavesTheFileAsItWas) {
  const std::string before = "\xEF\xBB\xBF[File1]\r\nFile=a.exe\r\n\r\n";
  const Result result = Set(before, {});
  EXPECT_EQ(result.bytes, before);
  EXPECT_TRUE(result.changes.empty());
  EXPECT_EQ(Set("", {{1, kOne}}).bytes, "");
}

}  // namespace

// --add's sections after the last, in each encoding a Settings.ini comes in, with its line
// ends; Files raised in place.
TEST(ExtendIni, AddsSectionsInTheFilesOwnEncoding) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::string before, after;
  };
  const std::string utf16_before = "\xFF\xFE[\0M\0]\0\n\0F\0=\0\x31\0"s;
  const std::string utf16_after =
      "\xFF\xFE[\0M\0]\0\n\0F\0=\0\x32\0\n\0[\0F\0\x32\0]\0\n\0N\0=\0\xFC\0\xA9\x03\n\0"s;
  const Case cases[] = {
      {"ANSI, CR LF", "[M]\r\nF=1\r\n", "[M]\r\nF=2\r\n[F2]\r\nN=\xFC?\r\n"},
      {"UTF-8, LF, no last line end", "\xEF\xBB\xBF[M]\nF=1", "\xEF\xBB\xBF[M]\nF=2\n[F2]\nN=üΩ\n"},
      {"UTF-16, LF", utf16_before, utf16_after},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(check::ExtendIni(c.before, 2, "2", {"[F2]", "N=üΩ"}), c.after) << c.name;
  }
  EXPECT_THROW(check::ExtendIni("\xFF\xFE[\0M"s, 1, "2", {}), std::invalid_argument);
}
