#include "platform/ui/InProcessPasteboard.h"

namespace ui {

void InProcessPasteboard::setString(const std::string& text) {
  string_ = text;
  image_.reset();
}

void InProcessPasteboard::setImage(const graphics::ImagePtr& image) {
  image_ = image;
  string_.reset();
}

}  // namespace ui
