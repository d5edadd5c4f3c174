// The task definition handed to the Task Scheduler: the program and its
// arguments are element text, so what XML reserves is escaped.
#include "win32/portable/boot_task_xml.h"

#include <gtest/gtest.h>

namespace {

TEST(BootTaskXml, ProgramAndArgumentsAreEscapedElementText) {
  const std::string xml = win32::BootTaskXml("C:\\Kunden & Partner\\Installer.exe",
                                             "/resume:boot \"/log:C:\\<a>.log\"");
  EXPECT_NE(xml.find("<Command>C:\\Kunden &amp; Partner\\Installer.exe</Command>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<Arguments>/resume:boot \"/log:C:\\&lt;a&gt;.log\"</Arguments>"),
            std::string::npos)
      << xml;
}

TEST(BootTaskXml, NoArgumentsNoElement) {
  const std::string xml = win32::BootTaskXml("C:\\Release\\Installer.exe", "");
  EXPECT_NE(xml.find("<Command>C:\\Release\\Installer.exe</Command>\n    </Exec>"),
            std::string::npos)
      << xml;
  EXPECT_EQ(xml.find("<Arguments>"), std::string::npos) << xml;
}

}  // namespace
