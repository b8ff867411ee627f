#include "reader/screens/CustomButton.h"

#include <gtest/gtest.h>

#include "platform/graphics/FixedTextMeasurer.h"
#include "platform/ui/Button.h"
#include "tests/support/ExpectedFile.h"
#include "tests/support/ViewTreeText.h"

namespace {

Item story(std::string title, std::string summary = "Tóm tắt") {
  Item item;
  item.title = std::move(title);
  item.description = std::move(summary);
  item.pubDate = "Tue, 6 Dec 2011 02:30:00 AM";
  return item;
}

// A headline of `count` four-letter words (five characters with the blank).
std::string words(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += i ? " word" : "word";
  return text;
}

}  // namespace

// Every tile type with a short story, a two-line headline and one longer than the type's lines
// (title 10 points a character, 30 a line; summary 7.5 and 23): the headline keeps whole lines,
// the summary (wide types) gets what the headline leaves above the date, narrow types have two
// separators, an unknown type two unplaced labels; the tile's own place is the caller's.
TEST(CustomButtonTest, EveryTypeWithShortAndLongStories) {
  auto previous =
      graphics::TextMeasurer::setCurrent(std::make_shared<graphics::FixedTextMeasurer>(0.5, 1.5));
  std::string tiles;
  for (const char* type : {"big", "medium", "small", "zero", "one", "right", "huge"}) {
    for (const Item& item :
         {story("Tin"), story(words(12), words(40)), story(words(40), words(50))}) {
      tiles += testing_support::ViewTreeText::dump(
          *CustomButton().getCustomButtonWithItem(item, type, 7, 9));
    }
  }
  graphics::TextMeasurer::setCurrent(previous);
  EXPECT_TRUE(
      testing_support::ExpectedFile::matches("tests/reader/screens/expected/tiles.txt", tiles));
}
