#include "app/gui/DesktopClipboard.h"

DesktopClipboard::DesktopClipboard()
    : clipboard_(gdk_display_get_clipboard(gdk_display_get_default())) {}

DesktopClipboard::~DesktopClipboard() {
  g_clear_object(&content_);
}

void DesktopClipboard::holdContent() {
  g_clear_object(&content_);
  content_ = gdk_clipboard_get_content(clipboard_);
  if (content_) g_object_ref(content_);
}

void DesktopClipboard::setString(const std::string& text) {
  // The clipboard carries UTF-8; broken sequences become replacement characters.
  gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  gdk_clipboard_set_text(clipboard_, valid);
  string_ = valid;
  g_free(valid);
  image_.reset();
  holdContent();
}

void DesktopClipboard::setImage(const graphics::ImagePtr& image) {
  string_.reset();
  image_.reset();
  g_clear_object(&content_);
  std::string png = image ? image->pngData() : std::string();
  if (png.empty()) return;
  GBytes* bytes = g_bytes_new(png.data(), png.size());
  GdkTexture* texture = gdk_texture_new_from_bytes(bytes, nullptr);
  g_bytes_unref(bytes);
  if (!texture) return;
  gdk_clipboard_set_texture(clipboard_, texture);
  g_object_unref(texture);
  image_ = image;
  holdContent();
}

bool DesktopClipboard::stillOurs() const {
  return content_ && gdk_clipboard_is_local(clipboard_) &&
         gdk_clipboard_get_content(clipboard_) == content_;
}

std::optional<std::string> DesktopClipboard::string() const {
  return stillOurs() ? string_ : std::nullopt;
}

graphics::ImagePtr DesktopClipboard::image() const {
  return stillOurs() ? image_ : nullptr;
}
