#include "wizard/steps.h"

#include "engine/install_page.h"
#include "wizard/method_page.h"

namespace wizard {

bool ShowsLicence(const frame::Context& context) {
  return !context.Settings.License.empty();
}

void GoToMethodOrInstallation(frame::PageFrame& current) {
  const frame::Context& context = current.Shared();
  if (context.Settings.AllowAdvanced) {
    current.GoTo(*context.forms.FMethode);
  } else {
    context.forms.FKopieren->StartInstallationFrom(current);
  }
}

}  // namespace wizard
