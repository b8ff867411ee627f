#include "tests/support/Stories.h"

#include <memory>

namespace testing_support {

ItemPtr story(int i, const std::string& picture) {
  ItemPtr item = storyAt("http://example.com/" + std::to_string(i), "Tin " + std::to_string(i));
  item->description = "Tóm tắt";
  item->pubDate = "05/12/2011 02:30 AM";
  if (!picture.empty()) item->imgLink = picture;
  return item;
}

std::vector<ItemPtr> stories(int count) {
  return storiesWithPictures(std::vector<std::string>(count));
}

std::vector<ItemPtr> storiesWithPictures(const std::vector<std::string>& pictures) {
  std::vector<ItemPtr> list;
  for (size_t i = 0; i < pictures.size(); ++i) list.push_back(story(int(i), pictures[i]));
  return list;
}

ItemPtr storyAt(const std::string& link, const std::string& title) {
  auto item = std::make_shared<Item>();
  item->link = link;
  item->title = title;
  return item;
}

}  // namespace testing_support
