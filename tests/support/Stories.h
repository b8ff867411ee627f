#pragma once
#include <string>
#include <vector>

#include "reader/model/Item.h"

namespace testing_support {

// Story number `i`: "Tin i" at http://example.com/i with a summary and a date, and `picture` as
// its thumbnail (none when empty).
ItemPtr story(int i, const std::string& picture = "");
// Stories 0..count-1 without pictures.
std::vector<ItemPtr> stories(int count);
// One numbered story per entry, each with that picture.
std::vector<ItemPtr> storiesWithPictures(const std::vector<std::string>& pictures);
// A story known only by its link and title.
ItemPtr storyAt(const std::string& link, const std::string& title = "");

}  // namespace testing_support
