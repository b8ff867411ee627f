#include "platform/store/SecretStore.h"

#include <glib.h>

namespace store {

bool isStorableName(const std::string& name) {
  return g_utf8_validate_len(name.data(), name.size(), nullptr);
}

}  // namespace store
