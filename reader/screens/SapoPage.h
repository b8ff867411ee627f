#pragma once
#include <functional>
#include <memory>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "reader/model/Item.h"

namespace ui {
class View;
}

// One page of the lead reader's pager: a story's headline (a tap on it opens the article),
// date, summary, counter and picture. Without a picture the headline runs across the page and
// the picture view shows a placeholder (or nothing when the story has no picture); with one
// the headline sits beside the framed picture and the date and summary move below it.
class SapoPage {
 public:
  static constexpr const char* kCounterFormat = "%02d/%02d Vemo tin tức Việt Nam cập nhật 24 giờ";

  // The pager's page size: 320 × 372 in portrait, 480 × 212 in landscape.
  static graphics::Size pageSize(bool landscape);

  // Page `index` of `count` at (index · W, 0, W, H). `picture` is the story's decoded picture,
  // or nullptr while there is none. `openArticle` runs when the headline is tapped.
  static std::shared_ptr<ui::View> make(const Item& story, int index, int count,
                                        const graphics::ImagePtr& picture, bool landscape,
                                        std::function<void()> openArticle);
};
