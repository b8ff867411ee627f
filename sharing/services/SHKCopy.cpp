#include "sharing/services/SHKCopy.h"

#include "platform/base/Localization.h"
#include "platform/ui/Pasteboard.h"
#include "sharing/core/SHKActivityIndicator.h"

void SHKCopy::registerService() {
  SHKSharer::registerClass(kClassName, [] { return std::make_shared<SHKCopy>(); });
}

std::string SHKCopy::sharerTitle() const {
  return base::localized("Copy");
}

bool SHKCopy::send() {
  if (item()->shareType() == SHKShareTypeURL && item()->url())
    ui::Pasteboard::general().setString(item()->url()->absoluteString());
  else
    ui::Pasteboard::general().setImage(item()->image());
  SHKActivityIndicator::currentIndicator()->displayCompleted(base::localized("Copied!"));
  setQuiet(true);
  sendDidFinish();
  return true;
}
