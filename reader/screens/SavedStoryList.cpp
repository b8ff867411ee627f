#include "reader/screens/SavedStoryList.h"

#include <algorithm>

#include "platform/base/Log.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
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

void SaveButton::showState(ui::Button& button, const SavedStoryList& list,
                           const std::optional<std::string>& link) {
  if (list.containsLink(link)) {
    button.setImage(graphics::Image::named(kSavedImage));
    base::log("SAVED");
  } else {
    button.setImage(graphics::Image::named(kUnsavedImage));
    base::log("REMOVED");
  }
}

bool SaveButton::showsSaved(const ui::Button& button) {
  auto shown = button.image(ui::ControlState::Normal);
  return shown && shown->name() == kSavedImage;
}
