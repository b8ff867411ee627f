#include "reader/screens/ServiceDetailViewController.h"

#include <algorithm>

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "reader/model/Utilities.h"

namespace {
graphics::Font titleFont() {
  return graphics::Font::named("TimesNewRomanPS-BoldMT", 22);
}
}  // namespace

ServiceDetailViewController::ServiceDetailViewController(std::vector<ItemPtr> stories,
                                                         std::string header,
                                                         const std::string& landscape)
    : StoryListScreen(std::move(stories)), myHeader(std::move(header)) {
  _landscape = landscape != "NO";
}

ServiceDetailViewController::~ServiceDetailViewController() {
  // Ends the header title's chain of animations: its completion sees it was stopped.
  if (myScrollHeader) ui::Animator::shared().cancelAnimations(*myScrollHeader);
  base::log("SERVICE DETAIL VIEW DEALLOC");
}

void ServiceDetailViewController::viewDidLoad() {
  base::log("sapoviewcontroller");
  setupTheView();
  observeLandscape();
  myStyleString = Utilities().getStyleView();
  checkTheStyleView();
}

void ServiceDetailViewController::setupTheView() {
  prepareScreenView();
  headerView = makeHeaderBar();
  headerView->setFrame({0, 0, 320, kHeaderHeight});
  makeImageButton("exit.png", {0, 0, 40, 40}, [this] { backButtonPush(); });
  _styleBtn = makeImageButton(myStyleString == "list" ? "post_box.png" : "post_list.png",
                              {280, 0, 40, 40}, [this] { saveStyleView(); });
  myStyleButton = _styleBtn;
  _extraToolBtn = makeImageButton("tools.png", {40, 0, 40, 40}, [this] { goToExtraToolView(); });
  _extraToolBtn->setBackgroundColor(graphics::Color::clear());
  _bookmarkListBtn =
      makeImageButton("fav_saved.png", {80, 0, 40, 40}, [this] { bookmarkListButtonPush(); });

  titleLbl = makeHeaderLabel({120, 0, 160, 44});
  titleLbl->setFont(titleFont());
  titleLbl->setTextColor(graphics::Color{1, 0, 0, 1});
  titleLbl->setNumberOfLines(1);
  titleLbl->setLineBreakMode(graphics::LineBreakMode::TailTruncation);
  titleLbl->setText(myHeader);
  setupHeaderScroll();
}

void ServiceDetailViewController::setupHeaderScroll() {
  const double width =
      graphics::TextMeasurer::current()
          ->measureLine(myHeader, titleFont(), 9999, graphics::LineBreakMode::TailTruncation)
          .width;
  myScrollHeader = std::make_shared<ui::ScrollView>();
  myScrollHeader->setUserInteractionEnabled(false);
  myScrollHeader->setShowsHorizontalScrollIndicator(false);
  myScrollHeader->setShowsVerticalScrollIndicator(false);
  myScrollHeader->setContentSize({width, 44});
  base::log(base::format("%f", width));
  // Just above the header bar, so that the buttons stay on top of a scrolling title.
  view()->insertSubview(myScrollHeader, 1);

  if (width > titleRoom(false).width()) {
    // The whole title moves into the scroll view and scrolls there.
    titleLbl->removeFromSuperview();
    titleLbl->setFrame({0, 0, width, 44});
    myScrollHeader->addSubview(titleLbl);
  }
  placeHeaderScroll();
  if (titleLbl->superview() == myScrollHeader.get()) scrollHeaderLabel();
}

void ServiceDetailViewController::placeHeaderScroll() {
  const graphics::Rect room = titleRoom(_landscape);
  if (titleLbl->superview() == myScrollHeader.get()) {
    myScrollHeader->setFrame(room);
    return;
  }
  const double width = myScrollHeader->contentSize().width;
  const int x = static_cast<int>(room.width() - width) / 2;
  myScrollHeader->setFrame({room.x() + x, 0, width, 44});
}

void ServiceDetailViewController::scrollHeaderLabel() {
  ui::animate(
      kHeaderScrollSeconds,
      [this] {
        // The room is wider in landscape: a title that fits there does not move.
        const double shown = myScrollHeader->frame().width();
        const double end = std::max(0.0, myScrollHeader->contentSize().width - shown);
        myScrollHeader->scrollRectToVisible({end, 0, shown, 44}, false);
      },
      [this](bool finished) {
        if (finished) resetHeaderLabel();
      });
}

void ServiceDetailViewController::resetHeaderLabel() {
  ui::animate(
      kHeaderScrollSeconds,
      [this] {
        myScrollHeader->scrollRectToVisible({0, 0, myScrollHeader->frame().width(), 44}, false);
      },
      [this](bool finished) {
        if (finished) scrollHeaderLabel();
      });
}

void ServiceDetailViewController::applyHeaderFrames(double landscapeTitleX) {
  // A scrolling title keeps its place inside the header scroll view.
  if (titleLbl->superview() == view().get()) {
    titleLbl->setFrame(_landscape ? graphics::Rect{landscapeTitleX, 0, 300, 44}
                                  : graphics::Rect{120, 0, 160, 44});
  }
  _styleBtn->setFrame({_landscape ? 440.0 : 280.0, 0, 40, 40});
  headerView->setFrame({0, 0, screenWidth(), kHeaderHeight});
  placeHeaderScroll();
}

void ServiceDetailViewController::viewWillAppear(bool /*animated*/) {
  checkTheStyleView();
  applyHeaderFrames(100);
}

void ServiceDetailViewController::willRotateToInterfaceOrientation(
    ui::InterfaceOrientation orientation, double /*duration*/) {
  base::log("rotation mainview");
  setLandscapeForOrientation(orientation);
  checkTheStyleView();
  applyHeaderFrames(120);
  postLandscape();
}
