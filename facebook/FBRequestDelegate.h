#pragma once
#include "facebook/FBError.h"
#include "facebook/FBValue.h"
#include "platform/net/UrlResponse.h"

class FBRequest;

// Hears how one REST call goes, on the main run loop. Every method is optional.
class FBRequestDelegate {
 public:
  virtual ~FBRequestDelegate() = default;
  // The request is about to go out (it may have waited in the session's queue).
  virtual void requestLoading(FBRequest&) {}
  virtual void requestDidReceiveResponse(FBRequest&, const net::UrlResponse&) {}
  virtual void requestDidFailWithError(FBRequest&, const FBError&) {}
  // The answer's root value: a dictionary, an array, a string or null.
  virtual void requestDidLoad(FBRequest&, const FBValue&) {}
  virtual void requestWasCancelled(FBRequest&) {}
};
