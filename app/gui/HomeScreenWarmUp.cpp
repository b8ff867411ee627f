#include "app/gui/HomeScreenWarmUp.h"

#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/PangoEngine.h"

namespace {

void warmUp() {
  // One size per family and weight: the sizes the screen uses then come from the same matched
  // fonts and open font files.
  const graphics::Font fonts[] = {
      graphics::Font::system(17),
      graphics::Font::boldSystem(20),
      graphics::Font::named("TimesNewRomanPSMT", 15),
      graphics::Font::named("TimesNewRomanPS-BoldMT", 17),
  };
  graphics::PangoEngine& engine = graphics::PangoEngine::shared();
  for (const graphics::Font& font : fonts) {
    auto lock = engine.lock();
    engine.lineHeight(font);
  }
  // The header and footer bars, their buttons and the tiles' highlight.
  for (const char* name :
       {"menu_top_bg640x88.png", "menu_bottom_bg640x98.png", "menu_home.png", "tools.png",
        "fav_saved.png", "web_refresh.png", "post_list.png", "post_box.png", "focus.png"}) {
    graphics::Image::named(name);
  }
}

}  // namespace

HomeScreenWarmUp::HomeScreenWarmUp() : thread_(warmUp) {}

HomeScreenWarmUp::~HomeScreenWarmUp() {
  thread_.join();
}
