// The checks of the pictures and the files beside them, and the headers of
// bitmaps and icons they read.
#include <gtest/gtest.h>

#include "check/picture_size.h"
#include "release_check_fixture.h"

namespace release_check_test {
namespace {

TEST_F(ReleaseCheck, SidePictureMissing) {
  fs::remove(root_ / "Data" / "Seite.bmp");
  const Finding f = Only("picture-missing");
  EXPECT_EQ(f.section, "Images");
  EXPECT_EQ(f.key, "Image1");
  EXPECT_TRUE(Has(f.message, "the welcome page shows an error box")) << f.message;
}

TEST_F(ReleaseCheck, SidePictureIsAFolder) {
  fs::remove(root_ / "Data" / "Seite.bmp");
  fs::create_directory(root_ / "Data" / "Seite.bmp");
  Only("picture-unreadable");
}

TEST_F(ReleaseCheck, SidePictureUnreadable) {
  Write("Data/Seite.bmp", Bitmap(164, 313).substr(0, 2000));
  EXPECT_TRUE(Has(Only("picture-unreadable").message, "pixels are cut off"));
}

TEST_F(ReleaseCheck, SidePictureOfAnotherKind) {
  Write("Data/Seite.png", "\x89PNG");
  Replace("Data/Settings.ini", "Image1=Seite.bmp", "Image1=Seite.png");
  Only("picture-extension");
}

TEST_F(ReleaseCheck, SidePictureOfAnotherSize) {
  Write("Data/Seite.bmp", Bitmap(150, 300));
  EXPECT_TRUE(Has(Only("picture-size").message, "is 150 × 300 pixels"));
}

TEST_F(ReleaseCheck, SidePictureAsIconHasTheIconsSize) {
  Replace("Data/Settings.ini", "Image1=Seite.bmp", "Image2=Icon.ico");
  const Finding f = Only("picture-size");
  EXPECT_EQ(f.key, "Image2");
  EXPECT_TRUE(Has(f.message, "is 32 × 32 pixels: the method page")) << f.message;
}

TEST_F(ReleaseCheck, SidePictureOutsideData) {
  Write("Seite.bmp", Bitmap(164, 313));
  Replace("Data/Settings.ini", "Image1=Seite.bmp", "Image1=..\\Seite.bmp");
  EXPECT_EQ(Only("picture-path-outside-data").severity, Severity::Warning);
  Replace("Data/Settings.ini", "Image1=..\\Seite.bmp", "Image1=C:\\Bilder\\Seite.bmp");
  EXPECT_EQ(Only("picture-path-absolute").severity, Severity::Error);
}

TEST_F(ReleaseCheck, IconMissing) {
  fs::remove(root_ / "Data" / "Icon.ico");
  const Finding f = Only("icon-missing");
  EXPECT_EQ(f.file, "Data\\Icon.ico");
  EXPECT_EQ(f.severity, Severity::Error);
}

TEST_F(ReleaseCheck, IconUnreadable) {
  Write("Data/Icon.ico", Bitmap(32, 32));
  Only("icon-unreadable");
}

TEST_F(ReleaseCheck, IconWithoutThirtyTwoPixelImage) {
  Write("Data/Icon.ico", Icon({48, 64}));
  EXPECT_TRUE(Has(Only("icon-size").message, "draws its 48 × 48 image")) << Check()[0].message;
}

TEST_F(ReleaseCheck, ReadmeMissing) {
  fs::remove(root_ / "Readme.txt");
  EXPECT_EQ(Only("readme-missing").file, "Readme.txt");
  EXPECT_EQ(check::FormatText(Check("Data").front()), check::FormatText(Check().front()));
}

TEST_F(ReleaseCheck, ReadmeIsAFolder) {
  fs::remove(root_ / "Readme.txt");
  fs::create_directory(root_ / "Readme.txt");
  Only("readme-is-folder");
}

TEST(ReleaseCheckPictures, HeadersOfBitmapsAndIcons) {
  const auto bitmap = check::ReadBitmap(Bitmap(164, 313));
  ASSERT_TRUE(bitmap.size);
  EXPECT_EQ(bitmap.size->width, 164);
  EXPECT_EQ(bitmap.size->height, 313);
  std::string top_down = Bitmap(10, 20);
  top_down.replace(22, 4, U32(-20));
  EXPECT_EQ(check::ReadBitmap(top_down).size->height, 20);
  std::string png_inside = Bitmap(10, 20);
  png_inside.replace(30, 4, U32(5));
  EXPECT_EQ(check::ReadBitmap(png_inside).problem, "a bitmap that holds a PNG image");

  // The image Windows picks: the nearest to 32, the first of two as near; 256 is written as 0.
  EXPECT_EQ(check::ReadIcon(Icon({20, 40, 256}), 32).size->width, 40);
  EXPECT_EQ(check::ReadIcon(Icon({16, 48}), 32).size->width, 16);
  EXPECT_EQ(check::ReadIcon(Icon({256}), 32).size->width, 256);
  std::string damaged = Icon({32});
  damaged.replace(22, 4, U32(0));  // the image's first bytes are no header
  EXPECT_EQ(check::ReadIcon(damaged, 32).problem, "an icon whose image is damaged");
  EXPECT_EQ(check::ReadIcon(Icon({32}).substr(0, 30), 32).problem,
            "an icon whose image is cut off");
}

}  // namespace
}  // namespace release_check_test
