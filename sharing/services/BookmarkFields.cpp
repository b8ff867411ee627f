#include "sharing/services/BookmarkFields.h"

#include "platform/base/Localization.h"
#include "sharing/core/SHKItem.h"

std::vector<SHKFormFieldSettings> bookmarkFields(const SHKItem& item) {
  return {SHKFormFieldSettings::make(base::localized("Title"), "title", SHKFormFieldSettings::Text,
                                     item.title()),
          SHKFormFieldSettings::make(base::localized("Tags"), "tags", SHKFormFieldSettings::Text,
                                     item.tags()),
          SHKFormFieldSettings::make(base::localized("Notes"), "text", SHKFormFieldSettings::Text,
                                     item.text()),
          SHKFormFieldSettings::make(base::localized("Shared"), "shared",
                                     SHKFormFieldSettings::Switch, "0")};
}
