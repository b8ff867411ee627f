#pragma once

// One request for an advertisement, handed to AdBannerView::loadRequest. The house banner needs
// no targeting, so a request carries nothing beyond the fact that it was made.
class AdRequest {
 public:
  // A new request, as the screens make one for each load.
  static AdRequest request() { return AdRequest(); }

 private:
  AdRequest() = default;
};
