#include "app/gui/DesktopLinks.h"

#include <gtk/gtk.h>

#include "platform/base/Log.h"

bool openWithDesktop(const std::string& url) {
  GdkDisplay* display = gdk_display_get_default();
  GdkAppLaunchContext* context = display ? gdk_display_get_app_launch_context(display) : nullptr;
  GError* error = nullptr;
  bool launched = g_app_info_launch_default_for_uri(
      url.c_str(), context ? G_APP_LAUNCH_CONTEXT(context) : nullptr, &error);
  if (!launched) {
    base::Log::write(std::string("OPEN URL FAILED = ") + (error ? error->message : "unknown"));
    g_clear_error(&error);
  }
  if (context) g_object_unref(context);
  return launched;
}
