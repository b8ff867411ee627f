#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ActionSheet.h"
#include "sharing/core/SHKItem.h"

// The share sheet: "Share" over the favourite services of the item's type that can share now
// (at most three, most recent first), then "Cancel". A button starts its service on the item
// before the sheet goes away. Names among the favourites that no service answers to are
// skipped.
class SHKActionSheet : public ui::ActionSheet {
 public:
  static std::shared_ptr<SHKActionSheet> actionSheetForItem(std::shared_ptr<SHKItem> item);
  static std::shared_ptr<SHKActionSheet> actionSheetForType(int32_t type);

  SHKActionSheet();
  std::string_view className() const override { return "SHKActionSheet"; }

  void dismissWithClickedButtonIndex(int index, bool animated) override;

  // The services behind the buttons, in button order.
  const std::vector<std::string>& sharers() const { return sharers_; }
  void setSharers(std::vector<std::string> sharers) { sharers_ = std::move(sharers); }
  const std::shared_ptr<SHKItem>& item() const { return item_; }
  void setItem(std::shared_ptr<SHKItem> item) { item_ = std::move(item); }

 private:
  std::vector<std::string> sharers_;
  std::shared_ptr<SHKItem> item_;
};
