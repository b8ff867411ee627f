#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "app/gui/DesktopClipboard.h"
#include "app/gui/DesktopLinks.h"

namespace {

class DesktopGuiTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(gtk_init_check()); }
};

// Reads the clipboard back the way another program would, through GDK.
std::string readClipboardText() {
  GdkClipboard* clipboard = gdk_display_get_clipboard(gdk_display_get_default());
  struct Read {
    bool done = false;
    std::string text;
  } read;
  gdk_clipboard_read_text_async(
      clipboard, nullptr,
      +[](GObject* source, GAsyncResult* result, gpointer data) {
        auto* r = static_cast<Read*>(data);
        char* text = gdk_clipboard_read_text_finish(GDK_CLIPBOARD(source), result, nullptr);
        r->text = text ? text : "";
        g_free(text);
        r->done = true;
      },
      &read);
  while (!read.done) g_main_context_iteration(nullptr, TRUE);
  return read.text;
}

TEST_F(DesktopGuiTest, ClipboardCarriesTextAndImages) {
  DesktopClipboard board;
  board.setString("Bài rất hay nè: http://vemo.vn/\xFF");
  EXPECT_EQ(readClipboardText(), "Bài rất hay nè: http://vemo.vn/\xEF\xBF\xBD");
  EXPECT_EQ(board.string(), "Bài rất hay nè: http://vemo.vn/\xEF\xBF\xBD");

  graphics::ImagePtr picture = graphics::Image::filled({3, 2}, graphics::Color::white());
  board.setImage(picture);
  EXPECT_EQ(board.image(), picture);
  EXPECT_EQ(board.string(), std::nullopt);
  GdkContentFormats* formats =
      gdk_clipboard_get_formats(gdk_display_get_clipboard(gdk_display_get_default()));
  EXPECT_TRUE(gdk_content_formats_contain_gtype(formats, GDK_TYPE_TEXTURE));

  // Another owner takes the clipboard: nothing of ours is reported any more.
  gdk_clipboard_set_text(gdk_display_get_clipboard(gdk_display_get_default()), "other");
  EXPECT_EQ(board.image(), nullptr);
}

TEST_F(DesktopGuiTest, ALaunchWithoutHandlerIsReportedAsFailure) {
  EXPECT_FALSE(openWithDesktop("x-vemo-no-such-scheme:42"));
}

}  // namespace
