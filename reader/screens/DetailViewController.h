#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/WebViewDelegate.h"
#include "reader/model/Item.h"
#include "reader/screens/ReaderScreen.h"
#include "reader/screens/SavedStoryList.h"

namespace ui {
class WebView;
}

// The article reader: a story's full page (or the site's tools page) in a web view, with back
// and forward through the pages visited, reload, and a toggle that saves the page on screen as
// a story under its own address and title. Only web (http, https) addresses are loaded.
class DetailViewController : public ReaderScreen, public ui::WebViewDelegate {
 public:
  // initWithData:withIndex:withLandscape:; the flag is set for anything but "NO".
  DetailViewController(std::vector<ItemPtr> stories, int index, const std::string& landscape);
  ~DetailViewController() override;

  // The saved-stories list to work on, shared with the screen that opens this one. Without
  // one the screen starts from the stored list.
  void setBookmarkInArray(SavedStoryListPtr list) { bookmarkInArray = std::move(list); }

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                        double duration) override;

  void setupTheView();
  // Loads the story at the index.
  void loadData();
  void checkStatus();
  void preButtonPush();
  void nextButtonPush();
  // Reloads the page unless it is loading (also on "reload"); with no page on screen, loads the
  // story's address again.
  void refreshButtonPush();
  void backButtonPush() override;
  void checkBookmarkButtonState();
  void bookmarkButtonPush();
  // Offers the story on screen to the share services.
  void shareButtonPush();

  void webViewDidStartLoad(ui::WebView& webView) override;
  void webViewDidFinishLoad(ui::WebView& webView) override;
  void didFailLoadWithError(ui::WebView& webView, const net::Error& error) override;
  // A title that arrives after the load finished replaces the shown page's title.
  void webViewDidChangeTitle(ui::WebView& webView) override;

  // The address as it will be loaded: blanks and non-ASCII letters escaped; nothing when it is
  // not an http or https address (the site's tools page is always accepted).
  static std::optional<std::string> loadableAddress(const std::string& link);

  ui::WebView* webView() const { return myWebView.get(); }
  const ItemPtr& currentItem() const { return _currItem; }
  const SavedStoryListPtr& savedStories() const { return bookmarkInArray; }
  ui::Label* titleLabel() const { return headerLbl.get(); }
  ui::Button* bookmarkButton() const { return myBookmarkButton.get(); }
  ui::Button* previousButton() const { return preBtn.get(); }
  ui::Button* nextButton() const { return nextBtn.get(); }
  ui::Button* refreshButton() const { return refreshB.get(); }
  ui::Button* shareButton() const { return shareB.get(); }

 private:
  void applyFrames();
  // The story's address as it is loaded, or nothing for one the reader does not load.
  std::optional<std::string> storyAddress() const;

  std::vector<ItemPtr> dataInArray;
  SavedStoryListPtr bookmarkInArray;
  int itemIndex;
  std::shared_ptr<ui::WebView> myWebView;
  std::shared_ptr<ui::ImageView> footerView;
  std::shared_ptr<ui::Button> myBookmarkButton, backB, refreshB, _bookmarkBtn, preBtn, nextBtn,
      shareB;
  ItemPtr _currItem;
  // The page on screen, as it was when it finished loading: a failed load leaves it on screen,
  // so the toggle goes back to it.
  ItemPtr shownItem_;
  base::ObserverToken reloadObservation_;
};
