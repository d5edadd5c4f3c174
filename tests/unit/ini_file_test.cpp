#include "release/ini_file.h"

#include <gtest/gtest.h>

#include <random>

#include "fake_system.h"

namespace {

using release::IniFile;
using namespace std::string_literals;

std::string Read(const IniFile& ini, const char* section, const char* key) {
  return ini.ReadString(section, key, "<missing>");
}

TEST(IniFile, NamesMatchWithoutRegardToCase) {
  const auto ini = IniFile::Parse("[MaIn]\nNAME=Pack\n");
  EXPECT_EQ(Read(ini, "main", "name"), "Pack");
  EXPECT_EQ(Read(ini, "MAIN", "Name"), "Pack");
}

TEST(IniFile, BlanksAroundNamesAndValuesAreDropped) {
  const auto ini = IniFile::Parse("  [ Main ]  \r\n\t Name \t=  Update  Pack \t\r\n");
  EXPECT_EQ(Read(ini, "Main", "Name"), "Update  Pack");
  // An old editor's end-of-file mark right after the last value.
  EXPECT_EQ(Read(IniFile::Parse("[Main]\r\nName=Pack\x1a"), "Main", "Name"), "Pack");
}

TEST(IniFile, OnePairOfEnclosingQuotesIsDropped) {
  const auto ini = IniFile::Parse(
      "[W]\n"
      "a=\" Status \"\n"
      "b=' Fortschritt '\n"
      "c=\"\"twice\"\"\n"
      "d=\"open\n"
      "e=\"mixed'\n"
      "f=\"\n"
      "g=say \"hi\"\n"
      "h=\"\"\n"
      "i=''\n");
  EXPECT_EQ(Read(ini, "W", "a"), " Status ");
  EXPECT_EQ(Read(ini, "W", "b"), " Fortschritt ");
  EXPECT_EQ(Read(ini, "W", "c"), "\"twice\"");
  EXPECT_EQ(Read(ini, "W", "d"), "\"open");
  EXPECT_EQ(Read(ini, "W", "e"), "\"mixed'");
  EXPECT_EQ(Read(ini, "W", "f"), "\"");
  EXPECT_EQ(Read(ini, "W", "g"), "say \"hi\"");
  EXPECT_EQ(Read(ini, "W", "h"), "");
  EXPECT_EQ(Read(ini, "W", "i"), "");
}

TEST(IniFile, ValueIsCutToItsFirst2047Characters) {
  std::string umlauts;
  for (int i = 0; i < 3000; ++i) umlauts += "\xC3\xA4";  // ä, two bytes in UTF-8
  const auto ini = IniFile::Parse("[S]\nlong=" + std::string(3000, 'x') + "\numlauts=" + umlauts +
                                  "\nquoted=\"" + std::string(2047, 'q') + "\"\n");
  EXPECT_EQ(Read(ini, "S", "long"), std::string(2047, 'x'));
  EXPECT_EQ(Read(ini, "S", "umlauts"), umlauts.substr(0, 2 * 2047));
  EXPECT_EQ(Read(ini, "S", "quoted"), std::string(2047, 'q'));
}

TEST(IniFile, FirstOfTwoEqualKeysAndSectionsWins) {
  const auto ini = IniFile::Parse(
      "[Main]\nName=first\nname=second\n"
      "[main]\nName=third\nVersion=2\n");
  EXPECT_EQ(Read(ini, "Main", "Name"), "first");
  EXPECT_EQ(Read(ini, "Main", "Version"), "<missing>");
}

TEST(IniFile, CommentsAndLinesOutsideSectionsAreIgnored) {
  const auto ini = IniFile::Parse(
      "Name=before any section\n"
      "[Main]\n"
      ";Name=commented\n"
      "  ; Version=1\n"
      "Name=real\n"
      "[Broken\n"
      "Company=still main\n");
  EXPECT_EQ(Read(ini, "Main", "Name"), "real");
  EXPECT_EQ(Read(ini, "Main", "Version"), "<missing>");
  EXPECT_EQ(Read(ini, "Main", ";Name"), "<missing>");
  EXPECT_EQ(Read(ini, "Main", "Company"), "still main");
  EXPECT_EQ(Read(ini, "", "Name"), "<missing>");
}

TEST(IniFile, MissingSectionOrKeyGivesTheDefault) {
  const auto ini = IniFile::Parse("[Main]\nName=x\n");
  EXPECT_EQ(ini.ReadString("Other", "Name", "def"), "def");
  EXPECT_EQ(ini.ReadString("Main", "Other", ""), "");
  EXPECT_EQ(ini.ReadInteger("Main", "Other", 42), 42);
  EXPECT_FALSE(ini.ReadBool("Main", "Other", false));
}

TEST(IniFile, IntegersAreDecimalOrHexadecimal) {
  const auto ini = IniFile::Parse(
      "[N]\ndec=42\nneg=-7\nhex1=0x1F\nhex2=0X1f\nhex3=$ff\nall=0xFFFFFFFF\n"
      "word=abc\nempty=\ntrail=12abc\nbig=2147483648\nquoted=\"12\"\n");
  EXPECT_EQ(ini.ReadInteger("N", "dec", 0), 42);
  EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -7);
  EXPECT_EQ(ini.ReadInteger("N", "hex1", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "hex2", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "hex3", 0), 255);
  EXPECT_EQ(ini.ReadInteger("N", "all", 0), -1);
  EXPECT_EQ(ini.ReadInteger("N", "word", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "empty", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "trail", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "big", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "quoted", 5), 12);
}

TEST(IniFile, BooleansAreIntegers) {
  const auto ini = IniFile::Parse("[D]\nyes=yes\ntwo=2\nhex=0x1\nzero=0\ntrue=true\n");
  EXPECT_FALSE(ini.ReadBool("D", "yes", false));
  EXPECT_TRUE(ini.ReadBool("D", "two", false));
  EXPECT_TRUE(ini.ReadBool("D", "hex", false));
  EXPECT_FALSE(ini.ReadBool("D", "zero", true));
  EXPECT_FALSE(ini.ReadBool("D", "true", false));
}

TEST(IniFileOutline, EachLineAsTheReaderTookIt) {
  std::vector<release::IniLine> outline;
  const auto ini = IniFile::Parse(
      "Name=outside\r\n"
      "; a comment\r\n"
      "\r\n"
      " [ Main ] \r\n"
      "Name = \" Pack \" \r\n"
      "name=second\r\n"
      "Files\r\n"
      "[Broken\r\n"
      "Version=2\r\n"
      "[MAIN]\r\n"
      "Company=ignored\r\n",
      &outline);
  using Kind = release::IniLine::Kind;
  ASSERT_EQ(outline.size(), 9u);
  EXPECT_EQ(outline[0].kind, Kind::Outside);
  EXPECT_EQ(outline[0].line, 1);
  EXPECT_FALSE(outline[0].counts);

  EXPECT_EQ(outline[1].kind, Kind::Section);
  EXPECT_EQ(outline[1].line, 4);
  EXPECT_EQ(outline[1].section, "Main");
  EXPECT_TRUE(outline[1].counts);

  const release::IniLine& name = outline[2];
  EXPECT_EQ(name.kind, Kind::Key);
  EXPECT_EQ(name.line, 5);
  EXPECT_EQ(name.section, "Main");
  EXPECT_EQ(name.key, "Name");
  EXPECT_EQ(name.value, " Pack ");
  EXPECT_EQ(name.value, Read(ini, "Main", "Name"));
  EXPECT_TRUE(name.has_equals);
  EXPECT_TRUE(name.quoted);
  EXPECT_TRUE(name.blanks_dropped);
  EXPECT_FALSE(name.cut);
  EXPECT_TRUE(name.counts);

  EXPECT_EQ(outline[3].key, "name");  // the second one: ReadString does not give it
  EXPECT_EQ(outline[3].value, "second");
  EXPECT_FALSE(outline[3].counts);
  EXPECT_FALSE(outline[3].blanks_dropped);

  EXPECT_EQ(outline[4].key, "Files");  // no "=": a key without a value
  EXPECT_FALSE(outline[4].has_equals);
  EXPECT_EQ(Read(ini, "Main", "Files"), "");

  EXPECT_EQ(outline[5].kind, Kind::BrokenSection);
  EXPECT_EQ(outline[5].section, "Broken");
  EXPECT_EQ(outline[6].section, "Main");  // the broken line leaves the key in [Main]
  EXPECT_TRUE(outline[6].counts);
  EXPECT_EQ(Read(ini, "Main", "Version"), "2");

  EXPECT_EQ(outline[7].kind, Kind::Section);  // repeated, ignored with its keys
  EXPECT_EQ(outline[7].section, "MAIN");
  EXPECT_FALSE(outline[7].counts);
  EXPECT_FALSE(outline[8].counts);
  EXPECT_EQ(Read(ini, "Main", "Company"), "<missing>");
}

TEST(IniFileOutline, CutValuesAreMarked) {
  std::vector<release::IniLine> outline;
  IniFile::Parse("[S]\nlong=" + std::string(2048, 'x') + "\nfull=" + std::string(2047, 'y') + "\n",
                 &outline);
  ASSERT_EQ(outline.size(), 3u);
  EXPECT_TRUE(outline[1].cut);
  EXPECT_EQ(outline[1].value, std::string(2047, 'x'));
  EXPECT_FALSE(outline[2].cut);
}

TEST(IniFileOutline, TheOutlineDoesNotChangeWhatIsRead) {
  const std::string text =
      "[Main]\nName=a\nname=b\n[main]\nVersion=1\n[File1]\nFile = 'x.exe' \n[Broken\nLink=y\n";
  std::vector<release::IniLine> outline;
  const auto with = IniFile::Parse(text, &outline);
  const auto without = IniFile::Parse(text);
  for (const auto& [section, key] : std::vector<std::pair<const char*, const char*>>{
           {"Main", "Name"}, {"Main", "Version"}, {"File1", "File"}, {"File1", "Link"}}) {
    EXPECT_EQ(Read(with, section, key), Read(without, section, key)) << section << " " << key;
  }
}

TEST(IniFileOutline, DecodeReadsBytesLikeLoad) {
  test::FakeSystem system;
  const std::string bytes =
      "[W]\r\n001=Zur\xFC"
      "ck\r\n";
  system.files["C:\\x.ini"] = bytes;
  std::vector<release::IniLine> outline;
  const auto decoded = IniFile::Decode(
      bytes, [&](std::string_view b) { return system.DecodeAnsi(b); }, &outline);
  EXPECT_EQ(Read(decoded, "W", "001"), "Zurück");
  EXPECT_EQ(Read(IniFile::Load(system, "C:\\x.ini"), "W", "001"), "Zurück");
  ASSERT_EQ(outline.size(), 2u);
  EXPECT_EQ(outline[1].value, "Zurück");
  EXPECT_FALSE(outline[1].blanks_dropped);  // the line's CR is its end, no blank
}

class IniFileLoad : public ::testing::Test {
 protected:
  IniFile Load(const std::string& bytes) {
    system.files["C:\\x.ini"] = bytes;
    return IniFile::Load(system, "C:\\x.ini");
  }
  test::FakeSystem system;
};

TEST_F(IniFileLoad, AnsiTextIsDecodedInTheSystemCodePage) {
  const auto ini = Load("[Words]\n001=Zur\xFC"s + "ck \x84gr\xF6\xDF"s + "e\x93 \x80\n");
  EXPECT_EQ(Read(ini, "Words", "001"), "Zurück „größe“ €");
}

TEST_F(IniFileLoad, ByteOrderMarkSelectsUtf8OrUtf16) {
  EXPECT_EQ(Read(Load("\xEF\xBB\xBF[W]\n001=Zur\xC3\xBC"s + "ck\n"), "W", "001"), "Zurück");

  const std::u16string text = u"[W]\r\n001=Zurück 😀\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char16_t c : text) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  EXPECT_EQ(Read(Load(utf16), "W", "001"), "Zurück 😀");
}

TEST_F(IniFileLoad, MissingFileReadsAsEmpty) {
  const auto ini = IniFile::Load(system, "C:\\nothing.ini");
  EXPECT_EQ(ini.ReadString("Main", "Name", "def"), "def");
}

TEST_F(IniFileLoad, DamagedFilesLoadWithoutFailing) {
  EXPECT_EQ(Read(Load(""), "Main", "Name"), "<missing>");
  EXPECT_EQ(Read(Load("[Main]\nName=cut off in the mid"), "Main", "Name"), "cut off in the mid");
  EXPECT_EQ(Read(Load("\xFF\xFE[\0M\0]\0\n\0x\0=\0y\0z"s), "M", "x"), "y\xEF\xBF\xBD");
  EXPECT_EQ(Read(Load("\xEF\xBB\xBF[M]\nx=a\xC3(\xED\xA0\x80z\n"), "M", "x"),
            "a\xEF\xBF\xBD(\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz");

  std::mt19937 random(7);
  std::string binary(64 * 1024, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  binary += "\n[Main]\nName=after the noise\n";
  EXPECT_EQ(Read(Load(binary), "Main", "Name"), "after the noise");
}

TEST_F(IniFileLoad, HugeFileLoads) {
  std::string huge = "[Main]\nName=first\n";
  const std::string line = "Key=" + std::string(100, 'v') + "\n";
  while (huge.size() < 50u * 1024 * 1024) huge += line;
  huge += "[Tail]\nValue=" + std::string(50u * 1024 * 1024, 'w') + "\n";
  const auto ini = Load(huge);
  EXPECT_EQ(Read(ini, "Main", "Name"), "first");
  EXPECT_EQ(Read(ini, "Main", "Key"), std::string(100, 'v'));
  EXPECT_EQ(Read(ini, "Tail", "Value"), std::string(2047, 'w'));
}

}  // namespace
