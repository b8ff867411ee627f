#pragma once
#include <memory>

#include "platform/ui/TableViewCell.h"
#include "reader/model/Item.h"

class ThumbnailCache;

// A row of a story list (home screen and category story list), 121 points high: thumbnail,
// headline, summary, site mark and date, found by their tags on reuse.
class StoryCell : public ui::TableViewCell {
 public:
  static constexpr const char* kReuseIdentifier = "cell";
  static constexpr double kRowHeight = 121;
  enum Tag { kTitleTag = 1, kSummaryTag = 2, kMarkTag = 3, kDateTag = 4, kThumbnailTag = 5 };

  StoryCell();

  // Shows `story`. With a cached picture for its imgLink the thumbnail shows it and the text
  // moves right by 85; otherwise the thumbnail shows "icon_default.png" and, when the address is
  // not in the cache at all, its fetch starts. A story without imgLink shows no thumbnail.
  // Text width: 300 (portrait) or 460 (landscape) minus the shift.
  void fill(const Item& story, ThumbnailCache& cache, bool landscape);
};
