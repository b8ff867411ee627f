#include "reader/screens/SavedStoryList.h"

#include <algorithm>
#include <cctype>

#include "platform/base/Log.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Button.h"
#include "reader/model/Utilities.h"

namespace {
void lowercase(std::string& text, size_t from, size_t to) {
  std::transform(text.begin() + static_cast<long>(from), text.begin() + static_cast<long>(to),
                 text.begin() + static_cast<long>(from),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
}
}  // namespace

std::vector<ItemPtr> SavedStoryList::items() const {
  return Utilities().getBookmarkItem();
}

bool SavedStoryList::containsLink(const std::optional<std::string>& link) const {
  for (const ItemPtr& item : items()) {
    base::log("OLD ITEM LINK = " + item->link.value_or("(null)"));
    if (sameLink(item->link, link)) return true;
  }
  return false;
}

void SavedStoryList::append(const ItemPtr& story) {
  std::vector<ItemPtr> stored = items();
  stored.push_back(story);
  Utilities().setBookmarkItem(stored);
}

void SavedStoryList::removeFirstWithLink(const std::optional<std::string>& link) {
  std::vector<ItemPtr> stored = items();
  auto it = std::find_if(stored.begin(), stored.end(),
                         [&](const ItemPtr& item) { return sameLink(item->link, link); });
  if (it == stored.end()) return;
  stored.erase(it);
  Utilities().setBookmarkItem(stored);
}

void SavedStoryList::retitle(const std::optional<std::string>& link, const std::string& oldTitle,
                             const std::string& newTitle) {
  if (oldTitle == newTitle) return;
  std::vector<ItemPtr> stored = items();
  bool changed = false;
  for (const ItemPtr& item : stored) {
    if (sameLink(item->link, link) && item->title.value_or("") == oldTitle) {
      item->title = newTitle;
      changed = true;
    }
  }
  if (changed) Utilities().setBookmarkItem(stored);
}

std::string SavedStoryList::comparableLink(std::string_view link) {
  std::string text = net::escapeAddress(link);
  const size_t schemeEnd = text.find("://");
  if (schemeEnd != std::string::npos && schemeEnd > 0 &&
      std::all_of(text.begin(), text.begin() + static_cast<long>(schemeEnd), [](unsigned char c) {
        return std::isalnum(c) || c == '+' || c == '-' || c == '.';
      })) {
    lowercase(text, 0, schemeEnd);
    const size_t authority = schemeEnd + 3;
    size_t authorityEnd = text.find_first_of("/?#", authority);
    if (authorityEnd == std::string::npos) authorityEnd = text.size();
    // The user information before "@" keeps its case; the port is digits.
    const size_t at = text.rfind('@', authorityEnd);
    lowercase(text, at != std::string::npos && at >= authority ? at + 1 : authority, authorityEnd);
  }
  // escapeAddress leaves every "%" followed by two hexadecimal digits.
  for (size_t i = 0; i + 2 < text.size(); ++i) {
    if (text[i] != '%') continue;
    text[i + 1] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
    text[i + 2] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 2])));
    i += 2;
  }
  return text;
}

bool SavedStoryList::sameLink(const std::optional<std::string>& a,
                              const std::optional<std::string>& b) {
  if (!a || !b) return false;
  return *a == *b || comparableLink(*a) == comparableLink(*b);
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
