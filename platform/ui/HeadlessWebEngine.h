#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/WebEngine.h"

namespace ui {

// A web engine without pages: it records what it is asked to load and leaves the outcome of each
// load to its driver (a test, or a program running without a display). It keeps a back/forward
// history of the pages that finished loading and answers scripts from a table per page, with
// "document.title" answered by the page's title unless the table says otherwise.
class HeadlessWebEngine : public WebEngine {
 public:
  struct Page {
    net::UrlRequest request;
    std::string title;
    std::map<std::string, std::string> scriptResults;
    std::string html;  // for pages given by loadHTMLString
  };

  HeadlessWebEngine();
  ~HeadlessWebEngine() override;

  void loadRequest(const net::UrlRequest& request) override;
  void loadHTMLString(const std::string& html, const std::optional<net::Url>& baseURL) override;
  void goBack() override;
  void goForward() override;
  void reload() override;
  void stopLoading() override;
  bool canGoBack() const override;
  bool canGoForward() const override;
  bool isLoading() const override { return pending_.has_value(); }
  std::optional<net::UrlRequest> currentRequest() const override;
  std::string evaluateScript(const std::string& script) override;
  void setScalesPageToFit(bool scales) override { scalesPageToFit_ = scales; }

  // Driving the engine. Each returns false when there is no load to end or the navigation was
  // refused.
  // Ends the running load: its page goes on screen with this title and script table. A page
  // loaded again from the history or by reload keeps what it had for what is not given.
  bool finishLoad(std::optional<std::string> title = std::nullopt,
                  std::optional<std::map<std::string, std::string>> scriptResults = std::nullopt);
  // Ends the running load with an error; the page on screen stays.
  bool failLoad(const net::Error& error);
  // A navigation started by the page itself (a link, a form, a redirect).
  bool navigate(const net::UrlRequest& request, WebViewNavigationType type);
  // The user follows a link to `url` on the page on screen (false also for an invalid address).
  bool clickLink(std::string_view url);
  // The page on screen changes its title after it finished loading (false with no page).
  bool changeTitle(std::string title);

  // Every request whose load started, in order (refused navigations are not listed).
  const std::vector<net::UrlRequest>& startedRequests() const { return started_; }
  // Every script evaluated, in order.
  const std::vector<std::string>& evaluatedScripts() const { return scripts_; }
  // The pages of the back/forward list and the index of the one on screen (-1 before the first).
  const std::vector<Page>& history() const { return history_; }
  int currentIndex() const { return index_; }
  const Page* currentPage() const;
  bool scalesPageToFit() const { return scalesPageToFit_; }

 private:
  enum class Kind { New, History, Reload };
  struct Pending {
    Page page;
    Kind kind;
    int target;  // history index for History and Reload loads
    unsigned serial;
  };

  bool start(Page page, WebViewNavigationType type, Kind kind, int target);

  std::vector<Page> history_;
  int index_ = -1;
  std::optional<Pending> pending_;
  unsigned nextSerial_ = 1;
  std::vector<net::UrlRequest> started_;
  std::vector<std::string> scripts_;
  bool scalesPageToFit_ = false;
  // Lets a method notice that a client call destroyed the engine.
  std::shared_ptr<bool> alive_;
};

}  // namespace ui
