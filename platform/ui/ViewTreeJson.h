#pragma once
#include <filesystem>
#include <nlohmann/json.hpp>

#include "platform/ui/View.h"

namespace ui {

// A JSON description of a view tree, for tests and for looking at a screen without drawing it.
// Every view has "class", "frame" (in the root's coordinates: x, y, width, height), "tag",
// "hidden", "alpha" and "subviews" in order; labels add "text", "font" (name, size); buttons
// add "titles", "images" and "backgroundImages" by state ("normal", "highlighted", "disabled",
// "selected") and the title "font"; image views add "image" and "highlightedImage"; scroll views
// add "contentSize" and "contentOffset"; navigation bars add "barStyle" ("default", "black")
// and "title", their buttons "title", "style" ("plain", "bordered", "done") and "enabled";
// switches add "on" and "enabled". Images are given by resource name ("" for a downloaded
// picture).
class ViewTreeJson {
 public:
  static nlohmann::json dump(const View& root);
  // The dump, indented by 2, written to a file; false when it cannot be written.
  static bool writeFile(const View& root, const std::filesystem::path& path);
};

}  // namespace ui
