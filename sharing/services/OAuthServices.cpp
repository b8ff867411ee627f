#include "sharing/services/OAuthServices.h"

#include "sharing/services/SHKDelicious.h"

void registerOAuthServices() {
  SHKSharer::registerClass("SHKDelicious", [] { return std::make_shared<SHKDelicious>(); });
}
