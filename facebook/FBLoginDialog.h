#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "facebook/FBDialog.h"
#include "facebook/FBRequestDelegate.h"

// The log-in page. Its success address carries an auth token, which the dialog exchanges for a
// session (facebook.auth.getSession, or the session proxy); the session then begins, is saved
// and tells its delegates about the log-in.
class FBLoginDialog : public FBDialog, protected FBRequestDelegate {
 public:
  explicit FBLoginDialog(std::shared_ptr<FBSession> session = nullptr);
  ~FBLoginDialog() override;

  std::string_view className() const override { return "FBLoginDialog"; }

  // The text after "auth_token=" in the query of `url`, up to the next "&"; nothing when the
  // query has no such parameter or it is empty.
  static std::optional<std::string> authToken(std::string_view url);

  void connectToGetSession(const std::string& token);
  const std::shared_ptr<FBRequest>& getSessionRequest() const { return getSessionRequest_; }

 protected:
  void load() override { loadLoginPage(); }
  void loadLoginPage();
  void dialogDidSucceed(const net::Url& url) override;
  void dialogWillDisappear() override;

  void requestDidLoad(FBRequest& request, const FBValue& result) override;
  void requestDidFailWithError(FBRequest& request, const FBError& error) override;

 private:
  std::shared_ptr<FBRequest> getSessionRequest_;
};
