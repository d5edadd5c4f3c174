#include "fake_system.h"

#include "app/text_encoding.h"

namespace test {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned bytes decode as U+FFFD.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

namespace {

class FakePicture : public platform::Picture {
 public:
  FakePicture(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }

 private:
  int width_, height_;
};

}  // namespace

std::shared_ptr<const platform::Picture> FakeSystem::LoadPicture(const std::string& path) {
  if (!FileExists(path)) throw std::runtime_error("Datei " + path + " kann nicht geöffnet werden");
  pictures_loaded.push_back(path);
  return std::make_shared<FakePicture>(10, 20);
}

std::shared_ptr<const platform::Picture> FakeSystem::ProgramIcon() {
  return std::make_shared<FakePicture>(32, 32);
}

std::shared_ptr<const platform::Picture> FakeSystem::BannerPicture() {
  return std::make_shared<FakePicture>(437, 60);
}

std::shared_ptr<const platform::Picture> FakeSystem::ProgressPicture(int state) {
  return std::make_shared<FakePicture>(16, state);  // the height tells the state apart
}

std::optional<std::string> FakeSystem::ReadFileBytes(const std::string& path) {
  const auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

std::string FakeSystem::DecodeAnsi(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    app::AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
  }
  return out;
}

}  // namespace test
