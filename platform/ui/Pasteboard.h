#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Image.h"

namespace ui {

// The general pasteboard the copy action writes to: a string or an image, whichever was put
// there last. Headless it lives in the process; the window installs the desktop's clipboard.
class Pasteboard {
 public:
  virtual ~Pasteboard() = default;

  // The installed pasteboard, else the in-process one.
  static Pasteboard& general();
  // Installs the pasteboard general() answers with; nullptr goes back to the in-process one.
  static void setGeneral(std::unique_ptr<Pasteboard> pasteboard);

  virtual void setString(const std::string& text) = 0;
  virtual void setImage(const graphics::ImagePtr& image) = 0;
  // What this program put there, unless something else was put there since.
  virtual std::optional<std::string> string() const = 0;
  virtual graphics::ImagePtr image() const = 0;
};

}  // namespace ui
