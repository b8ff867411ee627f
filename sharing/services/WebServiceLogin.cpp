#include "sharing/services/WebServiceLogin.h"

#include "platform/base/Localization.h"
#include "platform/ui/NavigationController.h"
#include "sharing/core/SHKActivityIndicator.h"
#include "sharing/core/SHKFormController.h"
#include "sharing/core/SHKSharer.h"

std::shared_ptr<SHKFormController> sharedForm(SHKFormController& form) {
  if (auto* navigation = form.navigationController()) {
    for (const auto& controller : navigation->viewControllers()) {
      if (controller.get() == &form) return std::static_pointer_cast<SHKFormController>(controller);
    }
  }
  return nullptr;
}

void showLoggingIn(const SHKSharer& sharer) {
  if (sharer.quiet()) return;
  SHKActivityIndicator::currentIndicator()->displayActivity(base::localized("Logging In..."));
}

void hideLoggingIn() {
  if (SHKActivityIndicator::exists()) SHKActivityIndicator::currentIndicator()->hide();
}
