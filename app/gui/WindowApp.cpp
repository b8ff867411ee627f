#include "app/gui/WindowApp.h"

#include <gtk/gtk.h>

#include <ostream>

#include "app/gui/DesktopClipboard.h"
#include "app/gui/DesktopLinks.h"
#include "app/gui/HomeScreenWarmUp.h"
#include "app/gui/LazyWebKitCookieJar.h"
#include "app/gui/MainWindow.h"
#include "app/gui/RunLoopPump.h"
#include "app/gui/WebKitModule.h"
#include "app/shell/ReaderSession.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/WebEngine.h"
#include "sharing/core/SHKOfflineQueueFlusher.h"

int WindowApp::run(const ShellOptions& options) {
  if (!gtk_init_check()) {
    err_ << "vemo: no display to open the window on. Run `vemo demo-report` to see the screens\n"
            "without one, or `xvfb-run -a vemo` for a virtual display.\n";
    return 1;
  }
  // After GTK's start, which loads the font configuration itself.
  HomeScreenWarmUp warmUp;
  ReaderSession session;
  std::string error;
  if (!session.chooseSite(options.site, error)) {
    err_ << "vemo: " << error << "\n";
    return 1;
  }
  // WebKit loads with the first web view (or the first use of its cookie jar); its module must be
  // there for that.
  if (WebKitModule::file().empty()) {
    err_ << "vemo: the web engine's module libvemo-webkit.so is missing: it belongs next to the "
            "program or in the library folder installed with it (lib/vemo).\n";
    return 1;
  }
  ui::WebEngine::setFactory([] { return WebKitModule::load().makeEngine(); });
  LazyWebKitCookieJar cookies;
  ui::WebCookieJar::setShared(&cookies);
  ui::Application::shared().setOpenURLHandler(openWithDesktop);
  ui::Pasteboard::setGeneral(std::make_unique<DesktopClipboard>());

  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  {
    MainWindow window(session, options.scale > 0 ? options.scale : 1);
    g_signal_connect_swapped(window.window(), "close-request", G_CALLBACK(+[](GMainLoop* l) {
                               g_main_loop_quit(l);
                               return FALSE;
                             }),
                             loop);
    RunLoopPump pump(base::RunLoop::main(), [&window] { window.refresh(); });
    // The window exists before the delegate hears didFinishLaunchingWithOptions.
    session.launch();
    // Shares kept while offline go out now and whenever the network comes back.
    SHKOfflineQueueFlusher flusher;
    window.refresh();
    window.present();
    pump.start();
    g_main_loop_run(loop);
    ui::Application::shared().setOpenURLHandler(nullptr);
    ui::Pasteboard::setGeneral(nullptr);
  }
  g_main_loop_unref(loop);
  ui::WebEngine::setFactory(nullptr);
  ui::WebCookieJar::setShared(nullptr);
  return 0;
}
