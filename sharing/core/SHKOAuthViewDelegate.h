#pragma once
#include <map>
#include <optional>
#include <string>

#include "platform/net/Url.h"
#include "sharing/core/SHKError.h"

class SHKOAuthView;

// Hears how the authorisation page ended: the callback was reached (with the parameters of its
// query), the page failed, or the user cancelled.
class SHKOAuthViewDelegate {
 public:
  using QueryParams = std::optional<std::map<std::string, std::string>>;

  virtual ~SHKOAuthViewDelegate() = default;
  virtual void tokenAuthorizeView(SHKOAuthView& view, bool success, const QueryParams& queryParams,
                                  const std::optional<SHKError>& error) = 0;
  virtual void tokenAuthorizeCancelledView(SHKOAuthView& view) = 0;
  // Where the provider sends the browser once the user has decided; never loaded.
  virtual std::optional<net::Url> authorizeCallbackURL() const = 0;
};
