// The values the installer reads, as text: cut, misread as ANSI, unshowable.
#include "check/checks.h"
#include "check/names.h"
#include "release/text_encoding.h"

namespace check {

namespace {

using release::IniLine;

bool HasHighBytes(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// U+FFFD (a byte that is no character) or a C1 control (a byte the ANSI code
// page leaves unassigned).
bool HasUnshowable(const std::string& value) {
  for (std::size_t i = 0; i + 1 < value.size(); ++i) {
    const auto a = static_cast<unsigned char>(value[i]),
               b = static_cast<unsigned char>(value[i + 1]);
    if (a == 0xC2 && b >= 0x80 && b <= 0x9F) return true;
    if (a == 0xEF && b == 0xBF && i + 2 < value.size() &&
        static_cast<unsigned char>(value[i + 2]) == 0xBD)
      return true;
  }
  return false;
}

// The lines of the file's bytes, split where the reader splits them.
std::vector<std::string_view> RawLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    lines.push_back(bytes.substr(0, end));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  }
  return lines;
}

// The value that a line of UTF-8 means, read by the same reader.
std::string MeantValue(std::string_view raw_line) {
  std::vector<IniLine> outline;
  release::IniFile::Parse("[s]\n" + std::string(raw_line), &outline);
  return outline.size() == 2 ? outline[1].value : std::string();
}

}  // namespace

bool CheckText(const IniDocument& doc, const ReadLog& reads, Report& report) {
  if (!doc.has_bom && doc.bytes.find('\0') != std::string::npos) {
    report.Add("utf16-without-bom", Severity::Error, doc.name, {}, {},
               "the file holds zero bytes but starts with no byte-order mark: the installer reads "
               "it as ANSI text and finds little or nothing in it",
               "save it as UTF-16 LE or UTF-8, each with byte-order mark");
    return false;
  }
  const std::vector<std::string_view> raw = RawLines(doc.bytes);
  // The values in UTF-8 that the installer reads as ANSI text: one finding for the file.
  std::vector<int> misread;
  const IniLine* first_misread = nullptr;
  std::string meant;
  for (const IniLine& line : doc.outline) {
    if (line.kind != IniLine::Kind::Key || !line.counts || !reads.WasRead(line.section, line.key))
      continue;
    if (line.cut) {
      report.AtLine("value-cut", Severity::Error, doc, line,
                    "the value is longer than 2047 characters: the installer reads only the "
                    "first 2047",
                    "shorten it");
    }
    const std::string_view bytes =
        line.line <= static_cast<int>(raw.size()) ? raw[line.line - 1] : std::string_view();
    if (!doc.has_bom && HasHighBytes(bytes) && release::SanitizeUtf8(bytes) == bytes) {
      if (misread.empty()) first_misread = &line, meant = MeantValue(bytes);
      misread.push_back(line.line);
    } else if (HasUnshowable(line.value)) {
      report.AtLine(
          "character-not-shown", Severity::Warning, doc, line,
          "the value holds a character that the installer cannot show: " + Quoted(line.value) +
              (doc.has_bom ? std::string()
                           : " (a byte that the system's ANSI code page leaves empty)"),
          doc.has_bom ? "correct the character"
                      : "write the character in the ANSI code page, or save the file "
                        "as UTF-8 with byte-order mark");
    }
  }
  if (first_misread) {
    const std::size_t n = misread.size();
    report.AtLine("utf8-without-bom", Severity::Error, doc, *first_misread,
                  "the file is UTF-8 without byte-order mark, so the installer reads it in the "
                  "system's ANSI code page: " +
                      (n == 1 ? std::string("the value shows ")
                              : std::to_string(n) + " values are garbled, this one shows ") +
                      Quoted(first_misread->value) + " where the file means " + Quoted(meant),
                  "save the file as UTF-8 with byte-order mark, or in the ANSI code page");
  }
  return true;
}

}  // namespace check
