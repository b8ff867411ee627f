#include "sharing/services/SHKSafari.h"

#include <cctype>

#include "platform/base/Localization.h"
#include "platform/ui/Application.h"
#include "sharing/core/SHK.h"

void SHKSafari::registerService() {
  SHKSharer::registerClass(kClassName, [] { return std::make_shared<SHKSafari>(); });
}

// The English text is the catalogue key; the shown text may name the desktop's browser.
std::string SHKSafari::sharerTitle() const {
  return base::localized("Open in Safari");
}

bool SHKSafari::send() {
  const auto& url = item()->url();
  std::string scheme = url ? url->scheme() : std::string();
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if ((scheme == "http" || scheme == "https") &&
      ui::Application::shared().openURL(url->absoluteString())) {
    setQuiet(true);
    sendDidFinish();
  } else {
    // Not quiet: the user sees that the link was not opened.
    sendDidFailWithError(SHK::error("The link could not be opened in the browser"));
  }
  return true;
}
