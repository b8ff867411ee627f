#include "app/shell/ReaderSession.h"

#include "app/servers/LoopbackServers.h"
#include "platform/base/RunLoop.h"
#include "platform/net/NetworkActivityIndicator.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "reader/screens/FeedDownload.h"
#include "reader/screens/NewsSite.h"
#include "reader/screens/VemoAppDelegate.h"
#include "sharing/config/SHKServiceConfig.h"

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
  if (demo_) demo_->stop();
}

bool ReaderSession::chooseSite(const std::string& site, std::string& error) {
  site_ = site.empty() ? SHKServiceConfig::shared().site() : site;
  if (site_.empty()) {
    demo_ = LoopbackServers::startDemoSite(error);
    if (!demo_) {
      error = "could not serve the demo site (" + error + ")";
      return false;
    }
    site_ = demo_->baseUrl();
  }
  NewsSite::setBaseAddress(site_);
  // The demo site's port was taken: stories saved from it in earlier runs are opened here.
  NewsSite::setFormerAddress(usesDemoSite() && demo_->baseUrl() != demo_->preferredBaseUrl()
                                 ? demo_->preferredBaseUrl()
                                 : std::string());
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
  // 0.2 seconds and show the activity indicator meanwhile. Like the window, this lays the views
  // out as the loop turns, so that tables load and cells place their labels before anything
  // reads or draws them.
  ui::Window& root = window();
  loop.runFor(0.45);
  root.layoutIfNeeded();
  bool calm = loop.runUntilCondition(
      [&] {
        root.layoutIfNeeded();
        return !net::NetworkActivityIndicator::shared().visible() && !FeedDownload::busy();
      },
      std::max(0.0, timeout - (loop.now() - start)));
  loop.runFor(extra);
  root.layoutIfNeeded();
  return calm;
}
