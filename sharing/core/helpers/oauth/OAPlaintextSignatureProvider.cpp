#include "sharing/core/helpers/oauth/OAPlaintextSignatureProvider.h"

std::string OAPlaintextSignatureProvider::signClearText(std::string_view /*text*/,
                                                        std::string_view secret) const {
  return std::string(secret);
}
