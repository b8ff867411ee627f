#include "platform/ui/HeadlessWebEngine.h"

#include <utility>

namespace ui {

namespace {
net::Error cancelledError() {
  return net::Error(net::Error::kDomain, net::Error::Cancelled, "The load was cancelled");
}
}  // namespace

HeadlessWebEngine::HeadlessWebEngine() : alive_(std::make_shared<bool>(true)) {}

HeadlessWebEngine::~HeadlessWebEngine() {
  *alive_ = false;
}

void HeadlessWebEngine::loadRequest(const net::UrlRequest& request) {
  start(Page{request, {}, {}, {}}, WebViewNavigationType::Other, Kind::New, -1);
}

void HeadlessWebEngine::loadHTMLString(const std::string& html,
                                       const std::optional<net::Url>& baseURL) {
  net::Url url = baseURL ? *baseURL : *net::Url::parse("about:blank");
  start(Page{net::UrlRequest(url), {}, {}, html}, WebViewNavigationType::Other, Kind::New, -1);
}

void HeadlessWebEngine::goBack() {
  if (!canGoBack()) return;
  start(history_[index_ - 1], WebViewNavigationType::BackForward, Kind::History, index_ - 1);
}

void HeadlessWebEngine::goForward() {
  if (!canGoForward()) return;
  start(history_[index_ + 1], WebViewNavigationType::BackForward, Kind::History, index_ + 1);
}

void HeadlessWebEngine::reload() {
  if (index_ < 0) return;
  start(history_[index_], WebViewNavigationType::Reload, Kind::Reload, index_);
}

void HeadlessWebEngine::stopLoading() {
  if (!pending_) return;
  pending_.reset();
  if (client()) client()->engineDidFailLoad(cancelledError());
}

bool HeadlessWebEngine::canGoBack() const {
  return index_ > 0;
}

bool HeadlessWebEngine::canGoForward() const {
  return index_ >= 0 && index_ + 1 < static_cast<int>(history_.size());
}

std::optional<net::UrlRequest> HeadlessWebEngine::currentRequest() const {
  if (pending_) return pending_->page.request;
  if (const Page* page = currentPage()) return page->request;
  return std::nullopt;
}

const HeadlessWebEngine::Page* HeadlessWebEngine::currentPage() const {
  return index_ >= 0 ? &history_[index_] : nullptr;
}

std::string HeadlessWebEngine::evaluateScript(const std::string& script) {
  scripts_.push_back(script);
  const Page* page = currentPage();
  if (!page) return {};
  if (auto it = page->scriptResults.find(script); it != page->scriptResults.end()) {
    return it->second;
  }
  if (script == "document.title") return page->title;
  return {};
}

bool HeadlessWebEngine::navigate(const net::UrlRequest& request, WebViewNavigationType type) {
  return start(Page{request, {}, {}, {}}, type, Kind::New, -1);
}

bool HeadlessWebEngine::clickLink(std::string_view url) {
  auto parsed = net::Url::parse(url);
  if (!parsed) return false;
  return navigate(net::UrlRequest(*parsed), WebViewNavigationType::LinkClicked);
}

bool HeadlessWebEngine::start(Page page, WebViewNavigationType type, Kind kind, int target) {
  std::shared_ptr<bool> alive = alive_;
  if (client() && !client()->engineShouldStartLoad(page.request, type)) return false;
  if (!*alive) return false;

  // A new load cuts the running one short, which its client hears as a cancelled load.
  bool hadPending = pending_.has_value();
  unsigned serial = nextSerial_++;
  started_.push_back(page.request);
  pending_ = Pending{std::move(page), kind, target, serial};
  if (hadPending && client()) {
    client()->engineDidFailLoad(cancelledError());
    if (!*alive) return true;
  }
  // The failure report may itself have started or stopped a load; only announce ours if it runs.
  if (pending_ && pending_->serial == serial && client()) client()->engineDidStartLoad();
  return true;
}

bool HeadlessWebEngine::finishLoad(
    std::optional<std::string> title,
    std::optional<std::map<std::string, std::string>> scriptResults) {
  if (!pending_) return false;
  Pending done = std::move(*pending_);
  pending_.reset();
  if (title) done.page.title = std::move(*title);
  if (scriptResults) done.page.scriptResults = std::move(*scriptResults);
  switch (done.kind) {
    case Kind::New:
      history_.resize(index_ + 1);
      history_.push_back(std::move(done.page));
      index_ = static_cast<int>(history_.size()) - 1;
      break;
    case Kind::History:
    case Kind::Reload:
      // Only finished loads change the list, so the target entry is still there.
      history_[done.target] = std::move(done.page);
      index_ = done.target;
      break;
  }
  if (client()) client()->engineDidFinishLoad();
  return true;
}

bool HeadlessWebEngine::failLoad(const net::Error& error) {
  if (!pending_) return false;
  pending_.reset();
  if (client()) client()->engineDidFailLoad(error);
  return true;
}

bool HeadlessWebEngine::changeTitle(std::string title) {
  if (index_ < 0) return false;
  history_[static_cast<size_t>(index_)].title = std::move(title);
  if (client()) client()->engineDidChangeTitle();
  return true;
}

}  // namespace ui
