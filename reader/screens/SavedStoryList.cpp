#include "reader/screens/SavedStoryList.h"

#include <algorithm>

#include "platform/base/Log.h"
#include "reader/model/Utilities.h"

namespace {
bool sameLink(const Item& item, const std::optional<std::string>& link) {
  return link && item.link && *item.link == *link;
}
}  // namespace

std::shared_ptr<SavedStoryList> SavedStoryList::load() {
  return std::make_shared<SavedStoryList>(Utilities().getBookmarkItem());
}

bool SavedStoryList::containsLink(const std::optional<std::string>& link) const {
  for (const ItemPtr& item : items_) {
    base::log("OLD ITEM LINK = " + item->link.value_or("(null)"));
    if (sameLink(*item, link)) return true;
  }
  return false;
}

void SavedStoryList::append(ItemPtr story) {
  items_.push_back(std::move(story));
  store();
}

void SavedStoryList::removeFirstWithLink(const std::optional<std::string>& link) {
  auto it = std::find_if(items_.begin(), items_.end(),
                         [&](const ItemPtr& item) { return sameLink(*item, link); });
  if (it != items_.end()) items_.erase(it);
  store();
}

void SavedStoryList::store() const {
  Utilities().setBookmarkItem(items_);
}
