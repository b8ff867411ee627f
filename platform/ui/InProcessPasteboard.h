#pragma once
#include "platform/ui/Pasteboard.h"

namespace ui {

// Kept in the process (headless runs and tests).
class InProcessPasteboard : public Pasteboard {
 public:
  void setString(const std::string& text) override;
  void setImage(const graphics::ImagePtr& image) override;
  std::optional<std::string> string() const override { return string_; }
  graphics::ImagePtr image() const override { return image_; }

 private:
  std::optional<std::string> string_;
  graphics::ImagePtr image_;
};

}  // namespace ui
