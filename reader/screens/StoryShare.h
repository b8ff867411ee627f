#pragma once
#include <cstddef>
#include <string>

#include "reader/model/Item.h"

namespace ui {
class ViewController;
}

// Sharing a story from a reader screen: a short recommendation text handed to the share sheet.
namespace story_share {

inline constexpr const char* kGreeting = "Bài rất hay nè: ";
// Counted in UTF-16 units, as the share services count.
inline constexpr size_t kMaxLength = 160;

// Greeting, line break, link, " : " and the title when the story has one, cut to 160 units
// without splitting a character.
std::string text(const Item& story);

// Shows the share sheet for `story` over `screen` (from its navigation toolbar when it has one).
void present(const Item& story, ui::ViewController& screen);

}  // namespace story_share
