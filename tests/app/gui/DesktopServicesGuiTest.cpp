#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <optional>

#include "app/gui/DesktopClipboard.h"
#include "app/gui/DesktopLinks.h"

namespace {

GdkClipboard* clipboard() {
  return gdk_display_get_clipboard(gdk_display_get_default());
}

// Reads the clipboard back the way another program would, through GDK.
std::string readClipboardText() {
  std::optional<std::string> read;
  gdk_clipboard_read_text_async(
      clipboard(), nullptr,
      +[](GObject* source, GAsyncResult* result, gpointer data) {
        char* text = gdk_clipboard_read_text_finish(GDK_CLIPBOARD(source), result, nullptr);
        *static_cast<std::optional<std::string>*>(data) = text ? text : "";
        g_free(text);
      },
      &read);
  while (!read) g_main_context_iteration(nullptr, TRUE);
  return *read;
}

TEST(DesktopGuiTest, ClipboardCarriesTextAndImages) {
  ASSERT_TRUE(gtk_init_check());
  DesktopClipboard board;
  board.setString("Bài rất hay nè: http://vemo.vn/\xFF");
  EXPECT_EQ(readClipboardText(), "Bài rất hay nè: http://vemo.vn/\xEF\xBF\xBD");
  EXPECT_EQ(board.string(), "Bài rất hay nè: http://vemo.vn/\xEF\xBF\xBD");

  graphics::ImagePtr picture = graphics::Image::filled({3, 2}, graphics::Color::white());
  board.setImage(picture);
  EXPECT_EQ(board.image(), picture);
  EXPECT_EQ(board.string(), std::nullopt);
  EXPECT_TRUE(
      gdk_content_formats_contain_gtype(gdk_clipboard_get_formats(clipboard()), GDK_TYPE_TEXTURE));

  // Another owner takes the clipboard: nothing of ours is reported any more.
  gdk_clipboard_set_text(clipboard(), "other");
  EXPECT_EQ(board.image(), nullptr);
}

TEST(DesktopGuiTest, ALaunchWithoutHandlerIsReportedAsFailure) {
  ASSERT_TRUE(gtk_init_check());
  EXPECT_FALSE(openWithDesktop("x-vemo-no-such-scheme:42"));
}

}  // namespace
