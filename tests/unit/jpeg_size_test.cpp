#include "win32/portable/jpeg_size.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

const std::string kStart = "\xFF\xD8";

// A marker segment: FF, the marker, the length (which counts itself), the body.
std::string Segment(unsigned char marker, const std::string& body) {
  const std::size_t length = body.size() + 2;
  return std::string{'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                     static_cast<char>(length & 0xFF)} +
         body;
}

// A frame header of three components: precision, height, width, components.
std::string Frame(unsigned char marker, int width, int height) {
  std::string body{8,
                   static_cast<char>(height >> 8),
                   static_cast<char>(height & 0xFF),
                   static_cast<char>(width >> 8),
                   static_cast<char>(width & 0xFF),
                   3};
  body += std::string(9, '\x11');
  return Segment(marker, body);
}

const std::string kJfif = Segment(0xE0, "JFIF\0\x01\x01\0\0\x01\0\x01\0\0"s);
const std::string kQuantTable = Segment(0xDB, std::string(65, '\x01'));
const std::string kHuffmanTable = Segment(0xC4, std::string(30, '\x02'));
const std::string kScan = Segment(0xDA, std::string(10, '\0')) + "\x12\x34\xFF\xD9"s;

void ExpectSize(const std::string& bytes, int width, int height) {
  const auto size = win32::ReadJpegSize(bytes);
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->width, width);
  EXPECT_EQ(size->height, height);
}

TEST(JpegSize, FrameHeaderAfterOtherSegmentsGivesWidthAndHeight) {
  ExpectSize(kStart + kJfif + kQuantTable + Frame(0xC0, 437, 60) + kHuffmanTable + kScan, 437, 60);
  // Both bytes of each number count, high byte first.
  ExpectSize(kStart + Frame(0xC0, 1920, 1080) + kScan, 1920, 1080);
  ExpectSize(kStart + Frame(0xC0, 0x1234, 0xFEDC), 0x1234, 0xFEDC);
}

TEST(JpegSize, EveryKindOfFrameCountsButTablesDoNot) {
  ExpectSize(kStart + Frame(0xC2, 300, 200) + kScan, 300, 200);  // progressive
  ExpectSize(kStart + Frame(0xC1, 30, 20), 30, 20);              // extended
  ExpectSize(kStart + Frame(0xCF, 3, 2), 3, 2);                  // lossless, arithmetic
  // Huffman tables and arithmetic conditions use numbers of the frame range.
  ExpectSize(kStart + kHuffmanTable + Segment(0xCC, "\x01\x02") + Frame(0xC0, 7, 5), 7, 5);
}

TEST(JpegSize, FillBytesAndMarkersWithoutLengthAreSkipped) {
  ExpectSize(kStart + "\xFF\xFF\xFF" + kJfif.substr(1) + Frame(0xC0, 40, 30), 40, 30);
  ExpectSize(kStart + "\xFF\xD0\xFF\x01" + Frame(0xC0, 40, 30), 40, 30);
}

TEST(JpegSize, NoSizeWithoutAFrameHeaderBeforeTheData) {
  EXPECT_FALSE(win32::ReadJpegSize(""));
  EXPECT_FALSE(win32::ReadJpegSize("\x89PNG\r\n\x1A\n"));
  EXPECT_FALSE(win32::ReadJpegSize(kStart));
  EXPECT_FALSE(win32::ReadJpegSize(kStart + kJfif + kScan + Frame(0xC0, 4, 4)));
  EXPECT_FALSE(win32::ReadJpegSize(kStart + "\xFF\xD9" + Frame(0xC0, 4, 4)));
  // Bytes between segments that are no marker end the search.
  EXPECT_FALSE(win32::ReadJpegSize(kStart + "junk" + Frame(0xC0, 4, 4)));
}

TEST(JpegSize, NoSizeFromCutOrBrokenHeaders) {
  const std::string frame = Frame(0xC0, 437, 60);
  EXPECT_FALSE(win32::ReadJpegSize(kStart + frame.substr(0, 8)));
  EXPECT_FALSE(win32::ReadJpegSize(kStart + kJfif.substr(0, 3)));
  // A segment shorter than its own length field.
  EXPECT_FALSE(win32::ReadJpegSize(kStart + "\xFF\xE0\x00\x01"s + frame));
  // A frame header too short to hold the size.
  EXPECT_FALSE(win32::ReadJpegSize(kStart + Segment(0xC0, "\x08\x00\x3C"s)));
  // The height given later by a DNL marker.
  EXPECT_FALSE(win32::ReadJpegSize(kStart + Frame(0xC0, 437, 0)));
}

}  // namespace
