#pragma once
#include <optional>
#include <string>
#include <vector>

#include "sharing/core/SHKOAuthSharer.h"

// Saves a link as a Delicious bookmark. Logs in through Yahoo's OAuth: the callback on the
// request-token call, the verifier on the access-token call, PLAINTEXT token calls, and an
// expired token renewed with Yahoo's session handle (once per send).
class SHKDelicious : public SHKOAuthSharer {
 public:
  SHKDelicious();

  std::string sharerTitle() const override { return "Delicious"; }
  bool canShareURL() const override { return true; }

  void tokenRequestModifyRequest(OAMutableURLRequest& request) override;
  void tokenAccessModifyRequest(OAMutableURLRequest& request) override;
  // A callback without a verifier cannot be exchanged: it ends as an authorisation failure.
  void tokenAuthorizeView(SHKOAuthView& view, bool success, const QueryParams& queryParams,
                          const std::optional<SHKError>& error) override;

  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t type) override;
  bool send() override;
  void sendTicketDidFinish(const OAServiceTicket& ticket, const std::string& data);
  void sendTicketDidFail(const std::optional<SHKError>& error);

 private:
  std::string apiBase_;
};
