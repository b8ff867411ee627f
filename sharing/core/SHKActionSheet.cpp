#include "sharing/core/SHKActionSheet.h"

#include "platform/base/Localization.h"
#include "platform/base/Log.h"
#include "platform/base/TextFormat.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKSharer.h"

SHKActionSheet::SHKActionSheet() : ui::ActionSheet(base::localized("Share"), nullptr) {}

std::shared_ptr<SHKActionSheet> SHKActionSheet::actionSheetForType(int32_t type) {
  auto sheet = std::make_shared<SHKActionSheet>();
  sheet->item_ = std::make_shared<SHKItem>();
  sheet->item_->setShareType(type);
  for (const std::string& name :
       SHK::favoriteSharersForType(type).value_or(std::vector<std::string>{})) {
    if (!SHKSharer::isRegistered(name)) continue;
    auto sharer = SHKSharer::create(name);
    // A service that cannot share now (mail without an account) gets no button.
    if (!sharer || !sharer->canShare()) continue;
    sheet->addButtonWithTitle(sharer->sharerTitle());
    sheet->sharers_.push_back(name);
  }
  sheet->setCancelButtonIndex(sheet->addButtonWithTitle(base::localized("Cancel")));
  base::log(base::formatText("number button = %d", {sheet->numberOfButtons()}));
  return sheet;
}

std::shared_ptr<SHKActionSheet> SHKActionSheet::actionSheetForItem(std::shared_ptr<SHKItem> item) {
  auto sheet = actionSheetForType(item ? item->shareType() : SHKShareTypeUndefined);
  if (item) sheet->item_ = std::move(item);
  return sheet;
}

void SHKActionSheet::dismissWithClickedButtonIndex(int index, bool animated) {
  auto keep = shared_from_this();
  if (index >= 0 && static_cast<size_t>(index) < sharers_.size())
    SHKSharer::shareItem(sharers_[index], item_);
  ui::ActionSheet::dismissWithClickedButtonIndex(index, animated);
}
