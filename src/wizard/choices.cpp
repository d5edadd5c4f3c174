#include "wizard/choices.h"

#include "app/integer_text.h"

namespace wizard {

int CountChosenPackages(const ui::ListView& list, const std::string& files) {
  const int count = app::StrToInt(files);
  int chosen = 0;
  for (int k = 0; k < count; ++k) chosen += list.ItemChecked(k) ? 1 : 0;
  return chosen;
}

}  // namespace wizard
