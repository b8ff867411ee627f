#include "sharing/services/WebServiceSharers.h"

#include "sharing/services/SHKGoogleReader.h"
#include "sharing/services/SHKInstapaper.h"
#include "sharing/services/SHKPinboard.h"
#include "sharing/services/SHKReadItLater.h"
#include "sharing/services/SHKTumblr.h"

void registerWebServiceSharers() {
  SHKSharer::registerClass("SHKGoogleReader", [] { return std::make_shared<SHKGoogleReader>(); });
  SHKSharer::registerClass("SHKInstapaper", [] { return std::make_shared<SHKInstapaper>(); });
  SHKSharer::registerClass("SHKPinboard", [] { return std::make_shared<SHKPinboard>(); });
  SHKSharer::registerClass("SHKReadItLater", [] { return std::make_shared<SHKReadItLater>(); });
  SHKSharer::registerClass("SHKTumblr", [] { return std::make_shared<SHKTumblr>(); });
}
