// The readers of package files on any bytes: the first byte chooses the kind (.msu, .msi or
// .exe by its value modulo 3), the rest is the file. Reading may fail only with a named reason
// (UnreadablePackage); the cabinets an .msi names beside it are UTF-8 names, none embedded;
// what ReadPackage makes of the file always has a name, and its words are valid UTF-8, for they
// go into Settings.ini.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check/cabinet.h"
#include "check/package_facts.h"
#include "check/pe_reader.h"
#include "fuzz_input.h"
#include "release/msi_reader.h"

namespace {

// A reader may fail only with a named reason.
template <typename Read>
void Reads(Read read) {
  try {
    read();
  } catch (const release::UnreadablePackage& e) {
    if (std::string_view(e.what()).empty()) fuzz::Broken("an unnamed reason");
  }
}

void ReadDirectly(int kind, release::ByteSource& source) {
  if (kind == 0) {
    Reads([&] {
      check::Cabinet cabinet(source);
      for (const check::CabinetFile& file : cabinet.Files()) {
        if (cabinet.Extract(file).size() != file.size) fuzz::Broken("a file of another size");
      }
    });
  } else if (kind == 1) {
    Reads([&] { release::ReadMsiProperties(source); });
    Reads([&] {
      for (const std::string& name : release::ReadMsiExternalCabinets(source)) {
        if (name.empty() || name[0] == '#') fuzz::Broken("an embedded or empty cabinet");
        if (release::SanitizeUtf8(name) != name) fuzz::Broken("a cabinet name that is not UTF-8");
      }
    });
  } else {
    Reads([&] { check::ReadProgram(source); });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int kind = data[0] % 3;
  const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
  release::MemorySource source(file);
  ReadDirectly(kind, source);
  static const char* const kNames[] = {"windows10.0-kb5034441-x64_0123.msu", "Werkzeug.msi",
                                       "Setup.exe"};
  const check::PackageFacts facts = check::ReadPackage(kNames[kind], source, kind == 1);
  if (facts.name.empty()) fuzz::Broken("a package without a name");
  for (const std::string* text :
       {&facts.name, &facts.detect, &facts.parameters, &facts.found, &facts.missing}) {
    if (release::SanitizeUtf8(*text) != *text) fuzz::Broken("words that are not UTF-8");
    if (text->find_first_of("\r\n") != std::string::npos) fuzz::Broken("a line break in a value");
  }
  return 0;
}
