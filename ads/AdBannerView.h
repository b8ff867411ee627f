#pragma once
#include <string>
#include <string_view>

#include "platform/ui/View.h"

class AdRequest;

namespace ui {
class ViewController;
}

// The advertising banner. It shows the project's own house advertisement, drawn by the view (a
// burgundy strip with the site's slogan), fetches nothing and tracks no one. It counts the
// requests it was given, so callers can tell a reused banner from a new load.
class AdBannerView : public ui::View {
 public:
  static constexpr const char* kSlogan = "Vemo — Tin tức mỗi ngày";
  static constexpr size_t kPublisherIdLength = 15;

  explicit AdBannerView(graphics::Rect frame = {});

  std::string_view className() const override { return "AdBannerView"; }

  // The publisher identifier banners are given: 15 hexadecimal characters, compiled in and
  // replaceable from the configuration.
  static std::string publisherId();
  // Replaces it; refuses (returns false) text that is not 15 hexadecimal characters.
  static bool setPublisherId(std::string id);
  static bool isValidPublisherId(std::string_view id);

  const std::string& adUnitID() const { return adUnitID_; }
  void setAdUnitID(std::string id) { adUnitID_ = std::move(id); }
  // The screen the banner belongs to; not owned.
  ui::ViewController* rootViewController() const { return rootViewController_; }
  void setRootViewController(ui::ViewController* controller) { rootViewController_ = controller; }

  // Starts showing an advertisement; the house advertisement is on screen at once.
  void loadRequest(const AdRequest& request);
  int requestCount() const { return requestCount_; }
  bool hasAdvertisement() const { return requestCount_ > 0; }

  void draw(graphics::Painter& painter) const override;

 private:
  std::string adUnitID_;
  ui::ViewController* rootViewController_ = nullptr;
  int requestCount_ = 0;
};
