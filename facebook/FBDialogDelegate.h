#pragma once
#include <string>

#include "platform/net/Error.h"

class FBDialog;

// Hears how a Facebook panel ends. Every method is optional.
class FBDialogDelegate {
 public:
  virtual ~FBDialogDelegate() = default;
  virtual void dialogDidSucceed(FBDialog&) {}
  virtual void dialogDidCancel(FBDialog&) {}
  virtual void dialogDidFailWithError(FBDialog&, const net::Error&) {}
  // Whether a link the user followed inside the panel opens in the user's browser.
  virtual bool dialogShouldOpenURLInExternalBrowser(FBDialog&, const std::string&) { return true; }
};
