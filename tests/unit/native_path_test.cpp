#include "win32/portable/native_path.h"

#include <gtest/gtest.h>

namespace {

TEST(NativePath, ProgramFilesVariablesNameTheSixtyFourBitFolders) {
  EXPECT_EQ(win32::SixtyFourBitVariables("%ProgramFiles%\\Vendor\\a.exe"),
            "%ProgramW6432%\\Vendor\\a.exe");
  EXPECT_EQ(win32::SixtyFourBitVariables("%PROGRAMFILES%\\a;%commonprogramfiles%\\b"),
            "%ProgramW6432%\\a;%CommonProgramW6432%\\b");
  EXPECT_EQ(win32::SixtyFourBitVariables("%ProgramFiles(x86)%\\a.exe"),
            "%ProgramFiles(x86)%\\a.exe");
  EXPECT_EQ(win32::SixtyFourBitVariables("%SystemRoot%\\a.dll"), "%SystemRoot%\\a.dll");
}

TEST(NativePath, TheSystemFolderBecomesSysnative) {
  const std::string windows = "C:\\Windows";
  EXPECT_EQ(win32::NativeSystemFolder("C:\\Windows\\System32\\drivers\\x.sys", windows),
            "C:\\Windows\\Sysnative\\drivers\\x.sys");
  EXPECT_EQ(win32::NativeSystemFolder("c:\\windows\\SYSTEM32\\x.dll", windows),
            "C:\\Windows\\Sysnative\\x.dll");
  EXPECT_EQ(win32::NativeSystemFolder("C:\\Windows\\System32", windows), "C:\\Windows\\Sysnative");
  EXPECT_EQ(win32::NativeSystemFolder("C:\\Windows\\System32x\\x.dll", windows),
            "C:\\Windows\\System32x\\x.dll");
  EXPECT_EQ(win32::NativeSystemFolder("C:\\Windows\\SysWOW64\\x.dll", windows),
            "C:\\Windows\\SysWOW64\\x.dll");
  EXPECT_EQ(win32::NativeSystemFolder("D:\\Windows\\System32\\x.dll", windows),
            "D:\\Windows\\System32\\x.dll");
}

}  // namespace
