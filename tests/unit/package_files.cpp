#include "package_files.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "release/compound_file.h"
#include "release/msi_reader.h"

namespace package_test {

namespace {

void Run(const fs::path& folder, const std::string& command) {
  const std::string line = "cd '" + folder.string() + "' && " + command + " >tool.log 2>&1";
  if (std::system(line.c_str()) != 0)
    throw std::runtime_error(command + " failed: " + ReadAll(folder / "tool.log"));
}

// Bytes that compress a little but not to nothing: MSZIP blocks with back references.
std::string Filler(std::size_t size) {
  std::string bytes;
  unsigned state = 12345;
  while (bytes.size() < size) {
    state = state * 1103515245 + 12345;
    bytes += "Zeile " + std::to_string(state % 1000) + " der Nutzlast\r\n";
  }
  return bytes;
}

std::string Utf16(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (const char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

void MakeMsu(const fs::path& folder, const std::string& name, const std::string& inner,
             const std::string& properties, bool mszip) {
  const fs::path work = folder / (name + ".d");
  fs::create_directories(work);
  WriteAll(work / (inner + ".cab"), Filler(300000));
  WriteAll(work / (inner + "-pkgProperties.txt"), properties);
  Run(work, std::string("gcab -c ") + (mszip ? "-z " : "") + "'../" + name + "' '" + inner +
                ".cab' '" + inner + "-pkgProperties.txt'");
}

// The disks of a product made by MakeMsi, whose files lie on disk 1.
const char kEmbeddedCabinet[] = "<Media Id=\"1\" Cabinet=\"a.cab\" EmbedCab=\"yes\"/>\n";
const char kCabinetsBeside[] =
    "<Media Id=\"4\" Cabinet=\"Datentr\xC3\xA4ger 4.cab\" EmbedCab=\"no\"/>\n"
    "<Media Id=\"1\" Cabinet=\"disk1.cab\" EmbedCab=\"no\"/>\n"
    "<Media Id=\"2\" Cabinet=\"inner.cab\" EmbedCab=\"yes\"/>\n";

void MakeMsi(const fs::path& folder, const std::string& name, const std::string& product,
             int code_page, const std::string& code, const std::string& media) {
  const std::string wxs =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">\n"
      "<Product Id=\"" +
      code + "\" Name=\"" + product +
      "\" Version=\"2.5.1\" Manufacturer=\"Beispiel\" "
      "Language=\"1031\" Codepage=\"" +
      std::to_string(code_page) +
      "\" UpgradeCode=\"{87654321-4321-4321-4321-CBA987654321}\">\n"
      "<Package InstallerVersion=\"200\" Compressed=\"yes\" SummaryCodepage=\"" +
      std::to_string(code_page) + "\"/>\n" + media +
      "<Directory Id=\"TARGETDIR\" Name=\"SourceDir\"><Directory "
      "Id=\"ProgramFilesFolder\"><Directory Id=\"D\" Name=\"T\">\n"
      "<Component Id=\"C\" Guid=\"{11111111-2222-3333-4444-555555555555}\"><File Id=\"F\" "
      "Source=\"" +
      name +
      ".wxs\"/></Component>\n"
      "</Directory></Directory></Directory>\n"
      "<Feature Id=\"Main\" Level=\"1\"><ComponentRef Id=\"C\"/></Feature>\n"
      "</Product></Wix>\n";
  WriteAll(folder / (name + ".wxs"), wxs);
  Run(folder, "wixl -o '" + name + "' '" + name + ".wxs'");
}

// Changes a database made by wixl with msibuild's SQL.
void Query(const fs::path& msi, const std::string& query) {
  Run(msi.parent_path(), "msibuild '" + msi.filename().string() + "' -q '" + query + "'");
}

// wixl writes the neutral code page 0 into the string pool whatever the
// source says, and its strings in Windows-1252: the pool's code page is set
// afterwards. "Ã¶" in Windows-1252 is "ö" in UTF-8, so a name of such pairs
// reads right only where the reader honours the code page 65001.
void SetCodePage(const fs::path& msi, unsigned code_page) {
  std::string bytes = ReadAll(msi);
  const std::size_t at = StreamAt(bytes, "_StringPool", 32);
  bytes[at] = static_cast<char>(code_page & 0xFF);
  bytes[at + 1] = static_cast<char>(code_page >> 8);
  WriteAll(msi, bytes);
}

// Where `part` lies in `bytes`, which hold it once.
std::size_t FindOnce(const std::string& bytes, const std::string& part, const std::string& what) {
  const std::size_t at = bytes.find(part);
  if (at == std::string::npos || bytes.find(part, at + 1) != std::string::npos)
    throw std::runtime_error(what + " is not found once");
  return at;
}

void MakeExe(const fs::path& folder, const std::string& name, const std::string& triple) {
  WriteAll(folder / "probe.c", "int main(void) { return 0; }\n");
  WriteAll(folder / "version.rc",
           "1 VERSIONINFO\nFILEVERSION 3,1,4,1\nPRODUCTVERSION 3,1,4,1\nBEGIN\n"
           "BLOCK \"StringFileInfo\"\nBEGIN\nBLOCK \"040704b0\"\nBEGIN\n"
           "VALUE \"FileDescription\", \"Messwerkzeug f\\374r Pr\\374fer\"\n"
           "VALUE \"ProductName\", \"Messwerkzeug\"\nVALUE \"FileVersion\", \"3.1.4.1\"\nEND\nEND\n"
           "BLOCK \"VarFileInfo\"\nBEGIN\nVALUE \"Translation\", 0x407, 1200\nEND\nEND\n");
  Run(folder, triple + "-windres -c 1252 version.rc -O coff -o version-" + triple + ".o && " +
                  triple + "-gcc -Os -s -o '" + name + "' probe.c version-" + triple + ".o");
}

void MakeNsis(const fs::path& folder, const std::string& name) {
  WriteAll(folder / "setup.nsi", "Unicode true\nName \"Notizblock\"\nOutFile \"" + name +
                                     "\"\nVIProductVersion \"2.4.0.0\"\n"
                                     "VIAddVersionKey \"FileDescription\" \"Notizblock Setup\"\n"
                                     "VIAddVersionKey \"FileVersion\" \"2.4.0.0\"\n"
                                     "Section\nSectionEnd\n");
  Run(folder, "makensis -V1 setup.nsi");
}

std::unique_ptr<MadeFiles> MakeAll() {
  auto made = std::make_unique<MadeFiles>();
  made->folder = fs::temp_directory_path() / ("package-files-" + std::to_string(::getpid()));
  fs::remove_all(made->folder);
  fs::create_directories(made->folder);
  const fs::path& f = made->folder;
  made->msu_stored = f / "windows10.0-kb5034441-x64_0123456789abcdef.msu";
  MakeMsu(f, made->msu_stored.filename(), "Windows10.0-KB5034441-x64",
          "ApplicabilityInfo=\"Windows 10.0 Client SKUs\"\r\nApplies to=\"Security Update\"\r\n"
          "KB Article Number=\"5034441\"\r\n"
          "Processor Architecture=\"amd64\"\r\nProduct Name=\"Windows 10.0\"\r\n",
          false);
  made->msu_mszip = f / "windows6.1-kb2533623-x86.msu";
  MakeMsu(f, made->msu_mszip.filename(), "Windows6.1-KB2533623-x86",
          Utf16("KB Article Number=\"2533623\"\r\nProcessor Architecture=\"x86\"\r\nProduct "
                "Name=\"Windows 6.1\"\r\n"),
          true);
  made->msu_renamed_ssu = f / "stack-update.msu";
  MakeMsu(f, made->msu_renamed_ssu.filename(), "Windows10.0-KB5031539-x64",
          Utf16("Applies to=\"Servicing Stack Update\"\r\nKB Article Number=\"5031539\"\r\n"
                "Processor Architecture=\"amd64\"\r\nProduct Name=\"Windows 10.0\"\r\n"),
          true);
  made->msi_1252 = f / "Pruefwerkzeug.msi";
  MakeMsi(f, made->msi_1252.filename(), "Prüfwerkzeug &amp; Co", 1252,
          "{12345678-1234-1234-1234-123456789ABC}", kEmbeddedCabinet);
  SetCodePage(made->msi_1252, 1252);
  made->msi_65001 = f / "Groessenmesser.msi";
  MakeMsi(f, made->msi_65001.filename(), "GrÃ¶ÃŸenmesser &amp; Co", 65001,
          "{ABCDEF01-2345-6789-ABCD-EF0123456789}", kEmbeddedCabinet);
  SetCodePage(made->msi_65001, 65001);
  made->msi_external = f / "Teilwerk.msi";
  MakeMsi(f, made->msi_external.filename(), "Teilwerk", 1252,
          "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}", kCabinetsBeside);
  Query(made->msi_external, "INSERT INTO `Media` (`DiskId`, `LastSequence`) VALUES (3, 1)");
  SetCodePage(made->msi_external, 1252);
  made->msi_no_media = f / "Ohnemedien.msi";
  MakeMsi(f, made->msi_no_media.filename(), "Ohnemedien", 1252,
          "{1A2B3C4D-5E6F-7A8B-9C0D-E1F2A3B4C5D6}", kEmbeddedCabinet);
  Query(made->msi_no_media, "DROP TABLE `Media`");
  made->exe64 = f / "messwerkzeug64.exe";
  MakeExe(f, made->exe64.filename(), "x86_64-w64-mingw32");
  made->exe32 = f / "messwerkzeug32.exe";
  MakeExe(f, made->exe32.filename(), "i686-w64-mingw32");
  made->nsis = f / "Notizblock-Setup.exe";
  MakeNsis(f, made->nsis.filename());
  return made;
}

}  // namespace

const MadeFiles& Made() {
  static const std::unique_ptr<MadeFiles> made = MakeAll();
  return *made;
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

std::size_t StreamAt(const std::string& msi, const std::string& table, std::size_t length) {
  release::MemorySource source(msi);
  release::CompoundFile file(source);
  const std::string stream = file.Stream(release::MsiStreamName(table)).value();
  return FindOnce(msi, stream.substr(0, length), "the stream of " + table);
}

std::size_t EntryAt(const std::string& msi, const std::string& table) {
  std::string name;
  for (const char16_t c : release::MsiStreamName(table) + u'\0') {
    name += static_cast<char>(c & 0xFF);
    name += static_cast<char>(c >> 8);
  }
  return FindOnce(msi, name, "the directory entry of " + table);
}

}  // namespace package_test
