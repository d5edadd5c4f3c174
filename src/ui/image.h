// A picture; with kAutoSize it takes the picture's size.
#pragma once

#include <memory>

#include "platform/picture.h"
#include "ui/control.h"

namespace ui {

class Image : public Control {
 public:
  Image(Control& parent, std::string name, Rect bounds, Options options = kNoOptions)
      : Control(ControlKind::Image, &parent.Owner(), &parent, std::move(name), bounds, "",
                options) {}

  const std::shared_ptr<const platform::Picture>& Picture() const { return picture_; }
  void SetPicture(std::shared_ptr<const platform::Picture> picture) {
    picture_ = std::move(picture);
    if (picture_ && Has(kAutoSize)) {
      SetBounds({Bounds().left, Bounds().top, picture_->Width(), picture_->Height()});
    }
    Changed(Change::Picture);
  }

  // A picture that stands for its page is named after the page's heading for
  // screen readers; one without a heading is decoration.
  const Control* Heading() const { return heading_; }
  void NameAfter(const Control& heading) { heading_ = &heading; }

 private:
  std::shared_ptr<const platform::Picture> picture_;
  const Control* heading_ = nullptr;
};

}  // namespace ui
