#include "sharing/services/OAuthServices.h"

#include "sharing/services/SHKDelicious.h"
#include "sharing/services/SHKTwitter.h"

void registerOAuthServices() {
  SHKSharer::registerClass("SHKDelicious", [] { return std::make_shared<SHKDelicious>(); });
  SHKSharer::registerClass("SHKTwitter", [] { return std::make_shared<SHKTwitter>(); });
}
