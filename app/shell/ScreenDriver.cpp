#include "app/shell/ScreenDriver.h"

#include "app/shell/ReaderSession.h"
#include "platform/base/RunLoop.h"
#include "platform/net/NetworkActivityIndicator.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Touch.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "reader/screens/MainViewController.h"

namespace {

// The replaceable content view of the list screens and of the lead reader's pager.
constexpr int kStoryViewTag = 999;
constexpr int kPagerTag = 9999;

template <typename Visit>
bool walk(ui::View& view, const Visit& visit) {
  if (view.isHidden()) return false;
  if (visit(view)) return true;
  for (const auto& child : view.subviews()) {
    if (walk(*child, visit)) return true;
  }
  return false;
}

// The view with `tag` below `root` that is a `T`, shown.
template <typename T>
T* findTagged(ui::View& root, int tag) {
  T* found = nullptr;
  walk(root, [&](ui::View& v) {
    if (v.tag() != tag) return false;
    found = dynamic_cast<T*>(&v);
    return found != nullptr;
  });
  return found;
}

}  // namespace

bool ScreenDriver::isShown(const ui::View& view) {
  for (const ui::View* v = &view; v; v = v->superview()) {
    if (v->isHidden() || v->alpha() <= 0) return false;
  }
  return true;
}

ui::Button* ScreenDriver::findButton(ui::View& root, const std::string& image) {
  ui::Button* found = nullptr;
  walk(root, [&](ui::View& v) {
    auto* button = dynamic_cast<ui::Button*>(&v);
    if (!button) return false;
    auto named = [&](const graphics::ImagePtr& i) { return i && i->name() == image; };
    if (named(button->currentImage()) || named(button->currentBackgroundImage())) found = button;
    return found != nullptr;
  });
  return found;
}

ui::WebView* ScreenDriver::findWebView(ui::View& root) {
  ui::WebView* found = nullptr;
  walk(root, [&](ui::View& v) {
    found = dynamic_cast<ui::WebView*>(&v);
    return found != nullptr;
  });
  return found;
}

bool ScreenDriver::fail(std::string message) {
  error_ = std::move(message);
  return false;
}

ui::View* ScreenDriver::topView() const {
  ui::ViewController* top = session_.topScreen();
  return top ? top->view().get() : nullptr;
}

bool ScreenDriver::tapView(ui::View& view) {
  if (!isShown(view)) return fail("the control to tap is hidden");
  graphics::Point centre = view.convertPointToView(view.bounds().center(), nullptr);
  if (!ui::tap(session_.window(), centre)) return fail("the tap was not taken");
  return true;
}

ui::TableView* ScreenDriver::showRow(int tag, int row) {
  ui::View* top = topView();
  auto* table = top ? findTagged<ui::TableView>(*top, tag) : nullptr;
  if (!table) {
    fail("the screen shows no list");
    return nullptr;
  }
  if (row >= table->numberOfRowsInSection(0)) {
    fail("the list has " + std::to_string(table->numberOfRowsInSection(0)) + " rows");
    return nullptr;
  }
  table->scrollRectToVisible(table->rectForRowAtIndexPath({0, row}), false);
  table->layoutIfNeeded();
  if (!isShown(*table)) {
    fail("the list is hidden");
    return nullptr;
  }
  return table;
}

bool ScreenDriver::tapRow(int tag, int row) {
  ui::TableView* table = showRow(tag, row);
  if (!table) return false;
  graphics::Rect rect = table->rectForRowAtIndexPath({0, row});
  graphics::Point centre = table->convertPointToView(rect.center(), nullptr);
  if (!ui::tap(session_.window(), centre)) return fail("the row did not take the tap");
  return true;
}

bool ScreenDriver::waitForHome() {
  base::RunLoop& loop = base::RunLoop::main();
  bool ready = loop.runUntilCondition(
      [&] {
        // A failed download shows its alert: no use waiting longer.
        if (!ui::AlertStack::shared().empty()) return true;
        auto* home = dynamic_cast<MainViewController*>(session_.topScreen());
        return home && !home->stories().empty() &&
               !net::NetworkActivityIndicator::shared().visible();
      },
      20);
  if (ready && !ui::AlertStack::shared().empty()) ready = false;
  if (!ready) return fail("the home feed did not arrive from " + session_.siteAddress());
  session_.settle();
  return true;
}

std::string ScreenDriver::homeStyle() const {
  auto* home = dynamic_cast<MainViewController*>(session_.topScreen());
  return home ? home->styleString() : "";
}

bool ScreenDriver::chooseStyle(const std::string& style) {
  auto* home = dynamic_cast<MainViewController*>(session_.topScreen());
  if (!home) return fail("the home screen is not on top");
  if (home->styleString() == style) return true;
  ui::Button* button = home->styleButton();
  if (!button || !tapView(*button)) return fail("the style button cannot be tapped");
  session_.settle();
  if (home->styleString() != style) return fail("the style button did not switch to " + style);
  return true;
}

bool ScreenDriver::turnToLandscape() {
  ui::Application::shared().rotate(ui::InterfaceOrientation::LandscapeLeft);
  session_.settle();
  return ui::isLandscape(ui::Application::shared().statusBarOrientation()) ||
         fail("the screen did not turn");
}

bool ScreenDriver::openCategories() {
  ui::View* top = topView();
  ui::Button* menu = top ? findButton(*top, "menu_home.png") : nullptr;
  if (!menu) return fail("the home screen shows no category menu button");
  if (!tapView(*menu)) return false;
  session_.settle();
  if (!ui::AlertStack::shared().empty()) return fail("the category menu could not be loaded");
  return true;
}

bool ScreenDriver::openCategory(int index) {
  ui::ViewController* before = session_.topScreen();
  if (!tapRow(kStoryViewTag, index)) return false;
  session_.settle();
  if (session_.topScreen() == before) return fail("the category did not open");
  return true;
}

bool ScreenDriver::openSubCategories(int index) {
  ui::TableView* table = showRow(kStoryViewTag, index);
  if (!table) return false;
  ui::TableViewCell* cell = table->cellForRowAtIndexPath({0, index});
  ui::Button* button = cell ? findButton(*cell, "subbutton_default.png") : nullptr;
  if (!button) return fail("category " + std::to_string(index) + " has no sub-categories");
  ui::ViewController* before = session_.topScreen();
  if (!tapView(*button)) return false;
  session_.settle();
  if (session_.topScreen() == before) return fail("the sub-categories did not open");
  return true;
}

bool ScreenDriver::openLead(int index) {
  auto* home = dynamic_cast<MainViewController*>(session_.topScreen());
  if (!home) return fail("the home screen is not on top");
  if (index >= static_cast<int>(home->stories().size())) {
    return fail("the home feed has " + std::to_string(home->stories().size()) + " stories");
  }
  if (home->styleString() == "list") {
    if (!tapRow(kStoryViewTag, index)) return false;
  } else {
    auto* grid = findTagged<ui::ScrollView>(*home->view(), kStoryViewTag);
    auto* tile = grid ? findTagged<ui::Control>(*grid, index) : nullptr;
    if (!tile) return fail("the grid shows no tile for story " + std::to_string(index));
    graphics::Point origin = tile->convertPointToView({0, 0}, grid);
    grid->scrollRectToVisible({origin, tile->frame().size}, false);
    if (!tapView(*tile)) return false;
  }
  session_.settle();
  ui::View* top = topView();
  if (session_.topScreen() == home || !top) return fail("the lead reader did not open");
  // The story's picture replaces the placeholder once it arrives.
  auto* pager = findTagged<ui::ScrollView>(*top, kPagerTag);
  if (pager) {
    base::RunLoop::main().runUntilCondition(
        [&] {
          ui::View* now = topView();
          auto* p = now ? findTagged<ui::ScrollView>(*now, kPagerTag) : nullptr;
          bool picture = false;
          if (p) {
            walk(*p, [&](ui::View& v) {
              auto* image = dynamic_cast<ui::ImageView*>(&v);
              picture = image && image->image() && image->image()->name().empty();
              return picture;
            });
          }
          return picture;
        },
        10);
    session_.settle(5, 0.2);
  }
  return true;
}

bool ScreenDriver::openArticle() {
  ui::View* top = topView();
  ui::Button* full = top ? findButton(*top, "web_source.png") : nullptr;
  if (!full) return fail("the lead reader shows no full-article button");
  ui::ViewController* before = session_.topScreen();
  if (!tapView(*full)) return false;
  session_.settle();
  if (session_.topScreen() == before) return fail("the article reader did not open");
  return true;
}

bool ScreenDriver::openSaved() {
  ui::View* top = topView();
  ui::Button* saved = top ? findButton(*top, "fav_saved.png") : nullptr;
  if (!saved) return fail("the screen shows no saved-stories button");
  ui::ViewController* before = session_.topScreen();
  if (!tapView(*saved)) return false;
  session_.settle();
  if (session_.topScreen() == before && ui::AlertStack::shared().empty()) {
    return fail("the saved stories did not open");
  }
  return true;
}
