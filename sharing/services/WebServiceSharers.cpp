#include "sharing/services/WebServiceSharers.h"

#include "sharing/services/SHKInstapaper.h"
#include "sharing/services/SHKPinboard.h"

void registerWebServiceSharers() {
  SHKSharer::registerClass("SHKInstapaper", [] { return std::make_shared<SHKInstapaper>(); });
  SHKSharer::registerClass("SHKPinboard", [] { return std::make_shared<SHKPinboard>(); });
}
