#include "reader/screens/DetailViewController.h"

#include <algorithm>
#include <cctype>

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/WebView.h"
#include "reader/model/ColorText.h"
#include "reader/screens/NewsSite.h"
#include "reader/screens/StoryShare.h"

namespace {
std::string lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}
}  // namespace

DetailViewController::DetailViewController(std::vector<ItemPtr> stories, int index,
                                           const std::string& landscape)
    : dataInArray(std::move(stories)), itemIndex(index) {
  _landscape = landscape != "NO";
}

DetailViewController::~DetailViewController() {
  if (myWebView) myWebView->setDelegate(nullptr);
  base::log("DETAIL VIEW DEALLOC");
}

void DetailViewController::viewDidLoad() {
  _currItem = std::make_shared<Item>();
  if (!bookmarkInArray) bookmarkInArray = std::make_shared<SavedStoryList>();
  reloadObservation_ = base::NotificationCenter::defaultCenter().addObserver(
      kReloadNotification, [this](const base::Notification&) { refreshButtonPush(); });
  base::log("detailviewcontroller");
  setupTheView();
  observeLandscape();
  loadData();
}

void DetailViewController::setupTheView() {
  prepareScreenView();
  headerView = makeHeaderBar();
  // The page lies under the footer and its buttons.
  myWebView = std::make_shared<ui::WebView>(graphics::Rect{0, 44, 320, 460});
  myWebView->setMultipleTouchEnabled(true);
  myWebView->setScalesPageToFit(true);
  myWebView->setContentMode(graphics::ContentMode::ScaleAspectFill);
  myWebView->setDelegate(this);
  view()->addSubview(myWebView);
  backB = makeImageButton("exit.png", {0, 0, 40, 40}, [this] { backButtonPush(); });
  headerLbl = makeHeaderLabel({40, 0, 240, 44});
  headerLbl->setTextColor(toUIColor("#993333"));
  headerLbl->setShadowColor(graphics::Color::white());
  headerLbl->setShadowOffset({0, 1});
  headerLbl->setAlpha(0.8);
  refreshB = makeImageButton("web_refresh.png", {276, 0, 40, 40}, [this] { refreshButtonPush(); });
  footerView = makeFooterBar(416);
  view()->addSubview(footerView);
  shareB = makeImageButton(
      "share_default.png", {5, 416, 44, 44}, [this] { shareButtonPush(); }, true);
  _bookmarkBtn = makeImageButton(SaveButton::kUnsavedImage, {55, 418, 40, 40},
                                 [this] { bookmarkButtonPush(); });
  myBookmarkButton = _bookmarkBtn;
  preBtn = makeImageButton("web_back.png", {227, 420, 40, 40}, [this] { preButtonPush(); });
  nextBtn = makeImageButton("web_forward.png", {270, 420, 40, 40}, [this] { nextButtonPush(); });
  checkBookmarkButtonState();
}

void DetailViewController::applyFrames() {
  headerView->setFrame({0, 0, screenWidth(), kHeaderHeight});
  backB->setFrame({0, 0, 40, 40});
  if (_landscape) {
    headerLbl->setFrame({40, 0, 400, 44});
    refreshB->setFrame({436, 0, 40, 40});
    footerView->setFrame({0, 256, 480, 44});
    shareB->setFrame({5, 256, 44, 44});
    _bookmarkBtn->setFrame({55, 256, 40, 40});
    preBtn->setFrame({387, 260, 40, 40});
    nextBtn->setFrame({430, 260, 40, 40});
    myWebView->setFrame({0, 44, 480, 256});
  } else {
    headerLbl->setFrame({40, 0, 240, 44});
    refreshB->setFrame({276, 0, 40, 40});
    footerView->setFrame({0, 416, 320, 44});
    shareB->setFrame({5, 416, 44, 44});
    _bookmarkBtn->setFrame({55, 418, 40, 40});
    preBtn->setFrame({227, 420, 40, 40});
    nextBtn->setFrame({270, 420, 40, 40});
    myWebView->setFrame({0, 44, 320, 416});
  }
}

std::optional<std::string> DetailViewController::loadableAddress(const std::string& link) {
  const std::string escaped = net::escapeAddress(link);
  if (escaped == net::escapeAddress(NewsSite::address(NewsSite::kToolsPath))) return escaped;
  auto url = net::Url::parse(escaped);
  if (!url || url->host().empty()) return std::nullopt;
  const std::string scheme = lowercase(url->scheme());
  if (scheme != "http" && scheme != "https") return std::nullopt;
  return escaped;
}

std::optional<std::string> DetailViewController::storyAddress() const {
  if (itemIndex < 0 || static_cast<size_t>(itemIndex) >= dataInArray.size()) return std::nullopt;
  // A story saved from the demo site in an earlier run may name the site's former address.
  return loadableAddress(
      NewsSite::resolve(dataInArray[static_cast<size_t>(itemIndex)]->link.value_or("")));
}

void DetailViewController::loadData() {
  if (itemIndex < 0 || static_cast<size_t>(itemIndex) >= dataInArray.size()) return;
  const std::string link = dataInArray[static_cast<size_t>(itemIndex)]->link.value_or("");
  base::log("LINK = " + link);
  if (auto address = storyAddress()) {
    myWebView->loadRequest(*address);
  } else {
    // Only web pages are shown: other schemes could run script or read local files.
    base::log("not a web address: " + link);
    showAlert(kUpdatingMessage);
  }
  checkStatus();
}

void DetailViewController::checkStatus() {
  nextBtn->setEnabled(myWebView->canGoForward());
  preBtn->setEnabled(myWebView->canGoBack());
}

void DetailViewController::preButtonPush() {
  myWebView->goBack();
  checkStatus();
}

void DetailViewController::nextButtonPush() {
  myWebView->goForward();
  checkStatus();
}

void DetailViewController::refreshButtonPush() {
  if (myWebView->isLoading() || shownItem_) {
    showNetworkActivity(true);
    if (!myWebView->isLoading()) myWebView->reload();
    return;
  }
  // No page on screen to reload (the first load failed or the address was refused): the
  // story's address is loaded again; one the reader does not load leaves the indicator off.
  if (auto address = storyAddress()) {
    showNetworkActivity(true);
    myWebView->loadRequest(*address);
    checkStatus();
  }
}

void DetailViewController::backButtonPush() {
  showNetworkActivity(false);
  ReaderScreen::backButtonPush();
}

void DetailViewController::webViewDidStartLoad(ui::WebView& webView) {
  showNetworkActivity(true);
  auto item = std::make_shared<Item>();
  auto request = webView.request();
  item->link = request ? request->url().absoluteString() : std::string();
  item->title = webView.stringByEvaluatingJavaScriptFromString("document.title");
  _currItem = item;
  base::log("link web view = " + *_currItem->link);
}

void DetailViewController::webViewDidFinishLoad(ui::WebView& webView) {
  showNetworkActivity(false);
  // The address of the page actually loaded: when the load started the web view may still have
  // reported the page before (a followed link) or an address that redirected since.
  if (auto request = webView.request()) _currItem->link = request->url().absoluteString();
  _currItem->title = webView.stringByEvaluatingJavaScriptFromString("document.title");
  shownItem_ = _currItem;
  base::log("hello title = " + *_currItem->title);
  headerLbl->setText(*_currItem->title);
  checkStatus();
  checkBookmarkButtonState();
}

void DetailViewController::webViewDidChangeTitle(ui::WebView& webView) {
  // Only the page on screen: a load in progress takes its title when it finishes.
  if (!shownItem_ || shownItem_ != _currItem) return;
  const std::string previous = _currItem->title.value_or("");
  _currItem->title = webView.stringByEvaluatingJavaScriptFromString("document.title");
  headerLbl->setText(*_currItem->title);
  // The page may have been saved before its title came: the stored story takes it too.
  bookmarkInArray->retitle(_currItem->link, previous, *_currItem->title);
}

void DetailViewController::didFailLoadWithError(ui::WebView& /*webView*/, const net::Error& error) {
  showNetworkActivity(false);
  base::log(error.description());
  // The page that was on screen stays, and so does what the toggle saves.
  _currItem = shownItem_ ? shownItem_ : std::make_shared<Item>();
  showAlert(kUpdatingMessage);
  checkStatus();
}

void DetailViewController::checkBookmarkButtonState() {
  base::log(base::format("CURR ITEM LINK = %s and bookmarkarray count = %d",
                         _currItem->link.value_or("(null)").c_str(),
                         static_cast<int>(bookmarkInArray->size())));
  SaveButton::showState(*myBookmarkButton, *bookmarkInArray, _currItem->link);
  base::log(base::format("BOOK MARK = %d ITEMS", static_cast<int>(bookmarkInArray->size())));
}

void DetailViewController::bookmarkButtonPush() {
  if (SaveButton::showsSaved(*myBookmarkButton)) {
    base::log("active");
    bookmarkInArray->removeFirstWithLink(_currItem->link);
  } else {
    // No page on screen: nothing to save.
    if (!_currItem->link || _currItem->link->empty()) return;
    base::log("add");
    base::log("current iterm title = " + _currItem->title.value_or("(null)") +
              " and link = " + *_currItem->link);
    bookmarkInArray->append(_currItem);
  }
  checkBookmarkButtonState();
}

void DetailViewController::viewWillAppear(bool /*animated*/) {
  applyFrames();
}

void DetailViewController::willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                                            double /*duration*/) {
  setLandscapeForOrientation(orientation);
  applyFrames();
  postLandscape();
}

void DetailViewController::shareButtonPush() {
  story_share::present(*_currItem, *this);
}
