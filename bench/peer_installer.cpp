#include "peer_installer.h"

#include <fstream>
#include <stdexcept>

namespace bench {

namespace {

// Writes `name`.nsi into `folder` with the pages and sections in `body`, and builds `name`.exe.
// makensis runs on Linux: the installer's own path is a Linux one, the paths it runs are not.
fs::path Build(e2e::WineSession& wine, const fs::path& folder, const std::string& name,
               const std::string& body) {
  fs::create_directories(folder);
  const fs::path source = folder / (name + ".nsi");
  const fs::path exe = folder / (name + ".exe");
  fs::remove(exe);
  std::ofstream(source, std::ios::binary) << "Unicode true\n"
                                             "Target amd64-unicode\n"
                                             "!include \"MUI2.nsh\"\n"
                                             "Name \"Peer\"\n"
                                             "OutFile \""
                                          << exe.string()
                                          << "\"\n"
                                             "RequestExecutionLevel admin\n"
                                             "InstallDir \"$TEMP\\peer\"\n"
                                          << body;
  e2e::RunOptions options;
  options.capture_output = true;
  const e2e::RunResult made = wine.RunNative({"makensis", "-V2", source.string()}, options);
  if (made.exit_code != 0 || !fs::exists(exe))
    throw std::runtime_error("makensis " + source.string() + " failed:\n" + made.output);
  return exe;
}

}  // namespace

fs::path MakeWelcomePeer(e2e::WineSession& wine, const fs::path& folder) {
  return Build(wine, folder, "peer-welcome",
               "!insertmacro MUI_PAGE_WELCOME\n"
               "!insertmacro MUI_PAGE_INSTFILES\n"
               "!insertmacro MUI_PAGE_FINISH\n"
               "!insertmacro MUI_LANGUAGE \"German\"\n"
               "Section\nSectionEnd\n");
}

fs::path MakeSequencePeer(e2e::WineSession& wine, const fs::path& folder,
                          const std::vector<std::string>& programs) {
  std::string body =
      "!insertmacro MUI_PAGE_INSTFILES\n"
      "!insertmacro MUI_LANGUAGE \"German\"\n"
      "ShowInstDetails show\n"
      "AutoCloseWindow true\n"
      "Section\n";
  for (const std::string& program : programs) {
    body += "  SetOutPath \"" + program.substr(0, program.rfind('\\')) + "\"\n";
    body += "  ExecWait '\"" + program + "\"'\n";
  }
  return Build(wine, folder, "peer-sequence", body + "SectionEnd\n");
}

}  // namespace bench
