#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reader/model/Item.h"

namespace ui {
class Button;
}  // namespace ui

// The saved-stories list a story screen works on. It holds no copy: every question reads the
// stored list and every change reads, changes and writes it back, so screens that were covered
// while another one changed the list neither show nor write an old copy. The lead reader hands
// its list object to the article reader it opens. Stories are told apart by their link, compared
// in one normal form (see comparableLink); a story without a link matches nothing.
class SavedStoryList {
 public:
  // The stored list.
  std::vector<ItemPtr> items() const;
  size_t size() const { return items().size(); }

  // Walks the stored list in order, logging "OLD ITEM LINK = <link>" for each entry looked at,
  // and answers whether an entry has `link`.
  bool containsLink(const std::optional<std::string>& link) const;
  // Appends `story` to the stored list.
  void append(const ItemPtr& story);
  // Removes the first stored entry with `link`, if any.
  void removeFirstWithLink(const std::optional<std::string>& link);
  // A page's title changed after it was saved: entries with `link` that carry `oldTitle` (or no
  // title, for an empty one) take `newTitle`. The list is stored only when an entry changed.
  void retitle(const std::optional<std::string>& link, const std::string& oldTitle,
               const std::string& newTitle);

  // The form links are compared in: escaped as for loading (so a feed's raw link with blanks or
  // non-ASCII letters equals the address the web view reports), escapes in upper-case hex, and
  // scheme and host in lower case.
  static std::string comparableLink(std::string_view link);
  static bool sameLink(const std::optional<std::string>& a, const std::optional<std::string>& b);
};

using SavedStoryListPtr = std::shared_ptr<SavedStoryList>;

// The save button of the story readers: it shows whether the story on screen is in the list,
// and pushing it removes a saved story or saves an unsaved one.
class SaveButton {
 public:
  static constexpr const char* kSavedImage = "fav_activated.png";
  static constexpr const char* kUnsavedImage = "fav_default.png";

  // Shows kSavedImage when `list` holds `link`, kUnsavedImage otherwise.
  static void showState(ui::Button& button, const SavedStoryList& list,
                        const std::optional<std::string>& link);
  // Whether the button shows kSavedImage.
  static bool showsSaved(const ui::Button& button);
};
