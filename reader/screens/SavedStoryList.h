#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "reader/model/Item.h"

namespace ui {
class Button;
}  // namespace ui

// The saved-stories list a story screen works on. The lead reader hands its list object to the
// article reader it opens, so both change the same list; every change is written to the
// settings at once. Stories are told apart by their link; a story without one matches nothing.
class SavedStoryList {
 public:
  // The list as stored in the settings.
  static std::shared_ptr<SavedStoryList> load();

  explicit SavedStoryList(std::vector<ItemPtr> items = {}) : items_(std::move(items)) {}

  const std::vector<ItemPtr>& items() const { return items_; }
  size_t size() const { return items_.size(); }

  // Walks the list in order, logging "OLD ITEM LINK = <link>" for each entry looked at, and
  // answers whether an entry has `link`.
  bool containsLink(const std::optional<std::string>& link) const;
  // Appends `story` and stores the list.
  void append(ItemPtr story);
  // Removes the first entry with `link`, if any, and stores the list.
  void removeFirstWithLink(const std::optional<std::string>& link);

 private:
  void store() const;

  std::vector<ItemPtr> items_;
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
