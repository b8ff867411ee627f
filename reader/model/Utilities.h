#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "reader/model/Item.h"

namespace store {
class UserDefaults;
}

// The reader's two settings in the user defaults, both stored as keyed archives: the saved
// stories ("BOOKMARK_ITEM", an array of Item, oldest first) and the view style ("STYLE_VIEW",
// "grid" or "list"). Also the conversion of feed dates to display dates. Holds no state.
//
// A stored value that does not decode reads as the default (an empty list, "grid") and is left
// in place; the next write of that setting first moves it to "<key>.corrupt-<unix time>" in the
// same store, so nothing the user saved is lost.
class Utilities {
 public:
  Utilities();  // the standard user defaults
  explicit Utilities(store::UserDefaults& defaults);

  // The saved stories; empty when none are stored (or the stored list does not decode).
  std::vector<ItemPtr> getBookmarkItem() const;
  // Replaces the stored list with `items`; returns whether it was written.
  bool setBookmarkItem(const std::vector<ItemPtr>& items);
  // The view style; "grid" when none is stored, which is then stored too.
  std::string getStyleView();
  // Stores the view style and logs "STYLE = <style>" with the value read back.
  bool setStyleView(const std::string& style);

  // A feed date in EST ("Mon, 05 Dec 2011 14:30:00 EST") as the reader shows it: 12 hours
  // later on a 12-hour clock ("Tue, 6 Dec 2011 02:30:00 AM"). Text it cannot read is returned
  // unchanged.
  static std::string convertTimeWithTime(std::string_view feedDate);

 private:
  // Before `key` is replaced: a stored value that does not decode is moved to a key of its own.
  void keepIfUnreadable(const std::string& key);

  store::UserDefaults& defaults_;
};
