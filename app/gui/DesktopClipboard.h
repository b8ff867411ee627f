#pragma once
#include <gdk/gdk.h>

#include "platform/ui/Pasteboard.h"

// The desktop's clipboard on the default display. Reading answers only with what this program
// put there and still holds; another program's content is not read.
class DesktopClipboard : public ui::Pasteboard {
 public:
  DesktopClipboard();
  ~DesktopClipboard() override;
  DesktopClipboard(const DesktopClipboard&) = delete;
  DesktopClipboard& operator=(const DesktopClipboard&) = delete;

  void setString(const std::string& text) override;
  void setImage(const graphics::ImagePtr& image) override;
  std::optional<std::string> string() const override;
  graphics::ImagePtr image() const override;

 private:
  bool stillOurs() const;
  void holdContent();

  GdkClipboard* clipboard_;
  // What was put there last, and the content that holds it (a reference).
  GdkContentProvider* content_ = nullptr;
  std::optional<std::string> string_;
  graphics::ImagePtr image_;
};
