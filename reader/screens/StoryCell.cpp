#include "reader/screens/StoryCell.h"

#include <algorithm>

#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "reader/screens/ThumbnailCache.h"

namespace {

const graphics::Color kTextColor = graphics::Color::rgb(86, 74, 75);
const graphics::Color kDateColor = graphics::Color::rgb(155, 146, 141);
constexpr double kThumbnailShift = 85;

std::shared_ptr<ui::Label> makeTextLabel(int tag, const graphics::Font& font,
                                         graphics::LineBreakMode mode) {
  auto label = std::make_shared<ui::Label>();
  label->setTag(tag);
  label->setBackgroundColor(graphics::Color::clear());
  label->setTextColor(kTextColor);
  label->setFont(font);
  label->setNumberOfLines(4);
  label->setTextAlignment(graphics::TextAlignment::Left);
  label->setHighlightedTextColor(graphics::Color::white());
  label->setLineBreakMode(mode);
  return label;
}

graphics::Font titleFont() {
  return graphics::Font::named("TimesNewRomanPS-BoldMT", 20);
}

}  // namespace

StoryCell::StoryCell() : ui::TableViewCell(ui::TableViewCellStyle::Default, kReuseIdentifier) {
  setAccessoryType(ui::TableViewCellAccessoryType::None);
  ui::View* content = contentView();
  content->addSubview(makeTextLabel(kTitleTag, titleFont(), graphics::LineBreakMode::WordWrap));
  content->addSubview(makeTextLabel(kSummaryTag, graphics::Font::named("TimesNewRomanPSMT", 15),
                                    graphics::LineBreakMode::TailTruncation));

  auto mark = std::make_shared<ui::ImageView>(graphics::Rect{5, 100, 16, 15});
  mark->setTag(kMarkTag);
  mark->setImage(graphics::Image::named("xl.png"));
  content->addSubview(mark);

  auto date = std::make_shared<ui::Label>(graphics::Rect{5, 97, 284, 20});
  date->setTag(kDateTag);
  date->setBackgroundColor(graphics::Color::clear());
  date->setNumberOfLines(1);
  date->setFont(graphics::Font::boldSystem(11));
  date->setTextColor(kDateColor);
  date->setTextAlignment(graphics::TextAlignment::Left);
  date->setHighlightedTextColor(graphics::Color::white());
  content->addSubview(date);

  auto thumbnail = std::make_shared<ui::ImageView>(graphics::Rect{5, 10, 80, 80});
  thumbnail->setTag(kThumbnailTag);
  content->addSubview(thumbnail);
}

void StoryCell::fill(const Item& story, ThumbnailCache& cache, bool landscape) {
  setBackgroundView(std::make_shared<ui::ImageView>(graphics::Image::named("cell_normal.png")));
  setSelectedBackgroundView(
      std::make_shared<ui::ImageView>(graphics::Image::named("cell_focus.png")));

  auto* thumbnail = static_cast<ui::ImageView*>(contentView()->viewWithTag(kThumbnailTag));
  double shift = 0;
  const std::string imgLink = story.imgLink.value_or("");
  graphics::ImagePtr picture = imgLink.empty() ? nullptr : cache.imageFor(imgLink);
  if (picture) {
    thumbnail->setImage(picture);
    shift = kThumbnailShift;
  } else if (!imgLink.empty()) {
    // Still loading (or failed): the placeholder.
    thumbnail->setImage(graphics::Image::named("icon_default.png"));
    cache.load(imgLink);
  } else {
    // No picture at all: an empty thumbnail, also on a reused cell that showed one.
    thumbnail->setImage(nullptr);
  }

  double width = (landscape ? 460 : 300) - shift;
  const std::string title = story.title.value_or("");
  auto* titleLabel = static_cast<ui::Label*>(contentView()->viewWithTag(kTitleTag));
  double height = graphics::TextMeasurer::current()
                      ->measure(title, titleFont(), {width, 9999}, titleLabel->lineBreakMode())
                      .height;
  titleLabel->setFrame({shift + 5, 5, width, height});
  titleLabel->setText(title);

  auto* summary = static_cast<ui::Label*>(contentView()->viewWithTag(kSummaryTag));
  // A headline taller than the row leaves the summary no room rather than a negative height.
  summary->setFrame({shift + 5, height + 5, width, std::max(0.0, 97 - (height + 5))});
  summary->setText(story.description.value_or(""));

  auto* date = static_cast<ui::Label*>(contentView()->viewWithTag(kDateTag));
  date->setText(story.pubDate.value_or(""));
}
