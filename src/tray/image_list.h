// A form's list of small pictures of one size, picked by their index.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "ui/component.h"
#include "ui/form.h"

namespace platform {
class System;
}

namespace tray {

using PicturePtr = std::shared_ptr<const platform::Picture>;

class ImageList : public ui::Component {
 public:
  ImageList(ui::Form& owner, std::string name, std::vector<PicturePtr> pictures = {})
      : Component(&owner, std::move(name)), pictures_(std::move(pictures)) {
    owner.AddComponent(this);
  }

  int Count() const { return static_cast<int>(pictures_.size()); }
  void Clear() { pictures_.clear(); }
  void Add(PicturePtr picture) { pictures_.push_back(std::move(picture)); }
  // Null for an index the list does not have.
  PicturePtr Picture(int index) const;

 private:
  std::vector<PicturePtr> pictures_;
};

// The tray's progress states 0 (nothing done) to 16 (all done), in this order.
constexpr int kProgressStates = 17;
std::vector<PicturePtr> ProgressPictures(platform::System& system);

}  // namespace tray
