// A picture loaded by the platform: a bitmap, an icon or a decoded image.
#pragma once

namespace platform {

class Picture {
 public:
  virtual ~Picture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

}  // namespace platform
