#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "reader/model/Item.h"

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
