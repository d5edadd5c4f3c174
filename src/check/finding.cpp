#include "check/finding.h"

#include <cstdio>

#include "release/text_encoding.h"

namespace check {

namespace {

void AppendJsonString(std::string& out, const std::string& text) {
  out += '"';
  for (const char c : release::SanitizeUtf8(text)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

std::string Counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

const char* SeverityName(Severity severity) {
  return severity == Severity::Error ? "error" : "warning";
}

std::string FormatText(const Finding& f) {
  std::string line = f.file;
  if (f.line > 0) line += ":" + std::to_string(f.line);
  if (!f.section.empty()) line += " [" + f.section + "]";
  if (!f.key.empty()) line += " " + f.key;
  line += std::string(": ") + SeverityName(f.severity) + ": " + f.message;
  if (!f.fix.empty()) line += " — fix: " + f.fix;
  // Values come from the release: a line break in one must not break the line.
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return release::SanitizeUtf8(line);
}

std::string FormatJson(const std::vector<Finding>& findings) {
  std::string out = "[";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    out += i == 0 ? "\n  {" : ",\n  {";
    out += "\"id\": ";
    AppendJsonString(out, f.id);
    out += ", \"severity\": ";
    AppendJsonString(out, SeverityName(f.severity));
    out += ", \"file\": ";
    AppendJsonString(out, f.file);
    out += ", \"line\": " + (f.line > 0 ? std::to_string(f.line) : std::string("null"));
    out += ", \"section\": ";
    AppendJsonString(out, f.section);
    out += ", \"key\": ";
    AppendJsonString(out, f.key);
    out += ", \"message\": ";
    AppendJsonString(out, f.message);
    out += ", \"fix\": ";
    AppendJsonString(out, f.fix);
    out += "}";
  }
  out += findings.empty() ? "]\n" : "\n]\n";
  return out;
}

std::string FormatSummary(const std::vector<Finding>& findings) {
  std::size_t errors = 0;
  for (const Finding& f : findings) errors += f.severity == Severity::Error ? 1 : 0;
  if (findings.empty()) return "release-check: no problems found";
  return "release-check: " + Counted(errors, "error", "errors") + ", " +
         Counted(findings.size() - errors, "warning", "warnings");
}

}  // namespace check
