#include "win32/portable/boot_task_xml.h"

namespace win32 {

namespace {

// Text as the content of an element.
std::string Escaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string BootTaskXml(const std::string& program, const std::string& arguments) {
  const std::string arguments_line =
      arguments.empty() ? "" : "      <Arguments>" + Escaped(arguments) + "</Arguments>\n";
  return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
         "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
         "  <Triggers>\n"
         "    <BootTrigger>\n"
         "      <Enabled>true</Enabled>\n"
         "    </BootTrigger>\n"
         "  </Triggers>\n"
         "  <Principals>\n"
         "    <Principal id=\"LocalSystem\">\n"
         "      <UserId>S-1-5-18</UserId>\n"
         "      <RunLevel>HighestAvailable</RunLevel>\n"
         "    </Principal>\n"
         "  </Principals>\n"
         "  <Settings>\n"
         "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
         "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n"
         "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\n"
         "    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>\n"
         "    <Priority>4</Priority>\n"
         "  </Settings>\n"
         "  <Actions Context=\"LocalSystem\">\n"
         "    <Exec>\n"
         "      <Command>" +
         Escaped(program) + "</Command>\n" + arguments_line +
         "    </Exec>\n"
         "  </Actions>\n"
         "</Task>\n";
}

}  // namespace win32
