#pragma once
#include <memory>
#include <string>
#include <vector>

#include "reader/screens/StoryListScreen.h"

namespace ui {
class ScrollView;
}  // namespace ui

// The stories of one category or sub-category, as a list or a grid of tiles by the style kept
// in the settings, under a header with the category's name. A story opens the lead reader with
// every story of the category. A name too wide for the header scrolls to and fro.
class ServiceDetailViewController : public StoryListScreen {
 public:
  static constexpr double kHeaderScrollSeconds = 2.0;

  // The header's room for the title, between the saved-stories button and the style button. A
  // title wider than the portrait room scrolls inside the header scroll view, which fills the
  // room; a narrower one leaves the scroll view empty and centred in it.
  static graphics::Rect titleRoom(bool landscape) {
    return landscape ? graphics::Rect{120, 0, 320, 44} : graphics::Rect{120, 0, 160, 44};
  }

  // initWithServices:withHeader:withLandscape:; the flag is set for anything but "NO".
  ServiceDetailViewController(std::vector<ItemPtr> stories, std::string header,
                              const std::string& landscape);
  ~ServiceDetailViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                        double duration) override;

  void setupTheView();
  // The two halves of the header title's endless scroll.
  void scrollHeaderLabel();
  void resetHeaderLabel();

  const std::string& header() const { return myHeader; }
  ui::ScrollView* headerScrollView() const { return myScrollHeader.get(); }
  ui::Label* titleLabel() const { return titleLbl.get(); }

 protected:
  // An empty category's landscape grid says that it could not be loaded.
  const char* emptyGridMessage(bool landscapeGrid) const override {
    return landscapeGrid ? kCannotConnectMessage : kUpdatingMessage;
  }
  // Every list row filled is logged.
  const char* rowLogLine() const override { return "maximumSize"; }

 private:
  void setupHeaderScroll();
  // Frames the header scroll view in the title's room for the flag.
  void placeHeaderScroll();
  // Header bar, title and style button for the flag; `landscapeTitleX` differs between an
  // appearance and a rotation.
  void applyHeaderFrames(double landscapeTitleX);

  std::string myHeader;
  std::shared_ptr<ui::ScrollView> myScrollHeader;
  std::shared_ptr<ui::Button> _styleBtn, _extraToolBtn, _bookmarkListBtn;
  std::shared_ptr<ui::Label> titleLbl;
};
