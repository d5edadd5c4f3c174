#include "tray/image_list.h"

#include "platform/system.h"

namespace tray {

PicturePtr ImageList::Picture(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return pictures_[index];
}

std::vector<PicturePtr> ProgressPictures(platform::System& system) {
  std::vector<PicturePtr> pictures;
  for (int state = 0; state < kProgressStates; ++state) {
    pictures.push_back(system.ProgressPicture(state));
  }
  return pictures;
}

}  // namespace tray
