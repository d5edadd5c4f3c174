// The install log: one line per event with its date and time, appended to
// one file that both halves of a run that spans a restart share. Its place is
// fixed at start: the file "/log" names (Installer.log in it when it names a
// folder), else, with administrator rights, Installer.log in the program's
// own folder under ProgramData (the local system account of a deployment and
// the administrator who logs on after the restart can both write there, and
// nobody else), else Installer.log in the user's temporary folder. Writing
// it never fails a run: what can't be written goes to the debugger output
// with the reason. What is written before the log has its place waits for
// it. Above a megabyte when it is placed, the log becomes Installer.log.old
// and starts anew.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {
class System;
}

namespace frame {

class OwnFolder;

class InstallLog {
 public:
  explicit InstallLog(platform::System& system) : system_(system) {}

  // Fixes the log's file: `given` ("/log", may be empty) made absolute
  // against the current folder, else the default place. Makes its folder.
  void Place(const std::string& given, OwnFolder& own);
  // The absolute path; empty before Place.
  const std::string& Path() const { return path_; }
  // Its folder, without a trailing backslash: the packages' own logs go there.
  std::string Folder() const { return path_.substr(0, path_.find_last_of('\\')); }
  void Write(const std::string& line);
  // Several lines of one moment, written at once.
  void WriteLines(const std::vector<std::string>& lines);

 private:
  std::string DefaultPath(OwnFolder& own) const;
  std::string GivenPath(const std::string& given) const;
  void Append(const std::string& record);

  platform::System& system_;
  std::string path_;
  std::string waiting_;  // records written before the log had its place
};

// How the log names a package: "Paket 3 (Name)".
std::string PackageInLog(int number, const std::string& name);

// How the log gives an exit code: in decimal as Windows Installer's codes are
// known, with its sign as tools show the large ones, and beside it in the
// hexadecimal that error tables list: "1603 (0x00000643)",
// "-2145124329 (0x80240017)".
std::string ExitCodeText(std::uint32_t code);

}  // namespace frame
