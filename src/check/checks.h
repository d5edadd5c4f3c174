// The checks of a release, each adding what it finds to the report.
#pragma once

#include "check/release_files.h"
#include "check/release_view.h"
#include "check/report.h"

namespace check {

// Sections and keys that the installer does not read: misspelt, in another
// form, repeated, outside a section, unknown.
void CheckStructure(const ReleaseView& view, const IniDocument& doc, const ReadLog& reads,
                    Report& report);

// The values the installer reads: cut at 2047 characters, UTF-8 in a file
// read as ANSI, characters that can't be shown. False when the file is UTF-16
// read as ANSI: its lines are no text to look at.
bool CheckText(const IniDocument& doc, const ReadLog& reads, Report& report);

// [Main]: Files, the package sections it asks for, Name, Website; [Defaults].
void CheckMain(const ReleaseView& view, Report& report);

// [Lines] and the text blocks.
void CheckBlocks(const ReleaseView& view, Report& report);

// Each package: its file, kind, parameters, log file, restart, link; twins.
void CheckPackages(const ReleaseView& view, ReleaseFiles& files, Report& report);

// The side pictures, Icon.ico and Readme.txt.
void CheckPictures(const ReleaseView& view, ReleaseFiles& files, Report& report);

// The words of Language.ini.
void CheckWords(const ReleaseView& view, Report& report);

// Installer.exe's Authenticode signature, and that of .msu packages.
void CheckSignatures(const ReleaseView& view, ReleaseFiles& files, Report& report);

}  // namespace check
