#include "app/shell/ReaderSession.h"

#include "app/shell/SiteConfig.h"
#include "platform/base/RunLoop.h"
#include "platform/net/NetworkActivityIndicator.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "reader/screens/FeedDownload.h"
#include "reader/screens/NewsSite.h"
#include "reader/screens/VemoAppDelegate.h"

ReaderSession::ReaderSession() : delegate_(std::make_unique<VemoAppDelegate>()) {}

ReaderSession::~ReaderSession() {
  ui::Application& app = ui::Application::shared();
  if (delegate_ && app.delegate() == delegate_.get()) {
    app.terminate();
    app.setDelegate(nullptr);
  }
  delegate_.reset();
  // Leaves the process as before launch, so that another session can start in it.
  ui::AlertStack::shared().reset();
  app.reset();
  base::RunLoop::main().reset();
  demo_.stop();
}

bool ReaderSession::chooseSite(const std::string& site, std::string& error) {
  site_ = site.empty() ? SiteConfig::readSite() : site;
  if (site_.empty()) {
    if (!demo_.start()) {
      error = "could not serve the demo site (is the sample-site folder installed?)";
      return false;
    }
    site_ = demo_.baseUrl();
  }
  NewsSite::setBaseAddress(site_);
  return true;
}

void ReaderSession::launch() {
  ui::Application& app = ui::Application::shared();
  app.setDelegate(delegate_.get());
  app.launch();
}

ui::Window& ReaderSession::window() const {
  return *delegate_->window();
}

ui::NavigationController* ReaderSession::navigation() const {
  return delegate_ ? delegate_->viewController() : nullptr;
}

ui::ViewController* ReaderSession::topScreen() const {
  ui::NavigationController* nav = navigation();
  if (!nav) return nullptr;
  ui::ViewController* top = nav->topViewController();
  if (ui::ViewController* modal = nav->modalViewController()) top = modal;
  while (top && top->modalViewController()) top = top->modalViewController();
  return top;
}

bool ReaderSession::settle(double timeout, double extra) {
  base::RunLoop& loop = base::RunLoop::main();
  const double start = loop.now();
  // A push or pop keeps its views in motion for 0.35 seconds; the screens defer their work by
  // 0.2 seconds and show the activity indicator meanwhile.
  loop.runFor(0.45);
  bool calm = loop.runUntilCondition(
      [] { return !net::NetworkActivityIndicator::shared().visible() && !FeedDownload::busy(); },
      std::max(0.0, timeout - (loop.now() - start)));
  loop.runFor(extra);
  return calm;
}
