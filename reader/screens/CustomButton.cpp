#include "reader/screens/CustomButton.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace {

const graphics::Color kTextColor = graphics::Color::rgb(86, 74, 75);
const graphics::Color kDateColor = graphics::Color::rgb(155, 146, 141);
const graphics::Color kLineColor = graphics::Color::rgb(191, 182, 174);

struct TileLook {
  const char* type;
  double titleSize;
  graphics::Size titleBox;
  int titleLines;
  // Top of the summary's room: its height limit is summaryRoom − title height (none when 0).
  double summaryRoom;
  graphics::Rect dateFrame;
  std::vector<graphics::Rect> separators;
};

// In the order the types are compared; the first equal one decides.
const std::vector<TileLook>& tileLooks() {
  static const std::vector<TileLook> looks = {
      {"big", 20, {310, 80}, 4, 130 - 10, {5, 130, 310, 20}, {{0, 150, 320, 1}}},
      {"medium",
       18,
       {204, 80},
       3,
       130 - 10,
       {5, 130, 204, 20},
       {{0, 150, 214, 1}, {213, 0, 1, 151}}},
      {"small", 16, {97, 100}, 5, 0, {5, 130, 102, 20}, {{0, 150, 107, 1}, {106, 0, 1, 151}}},
      {"zero", 20, {470, 80}, 4, 100 - 20, {5, 80, 470, 20}, {{0, 99, 470, 1}}},
      {"one", 16, {150, 100}, 5, 0, {5, 80, 150, 20}, {{0, 99, 160, 1}, {159, 0, 1, 100}}},
      {"right", 20, {310, 80}, 4, 130 - 10, {5, 130, 310, 20}, {{0, 150, 320, 1}}},
  };
  return looks;
}

const TileLook* lookFor(const std::string& type) {
  for (const TileLook& look : tileLooks()) {
    if (type == look.type) return &look;
  }
  return nullptr;
}

std::shared_ptr<ui::Label> makeLabel(const graphics::Color& color) {
  auto label = std::make_shared<ui::Label>();
  label->setBackgroundColor(graphics::Color::clear());
  label->setTextAlignment(graphics::TextAlignment::Left);
  label->setTextColor(color);
  return label;
}

}  // namespace

std::shared_ptr<ui::Button> CustomButton::getCustomButtonWithItem(const Item& item,
                                                                  const std::string& type,
                                                                  int /*x*/, int /*y*/) {
  auto tile = std::make_shared<ui::Button>();

  auto title = makeLabel(kTextColor);
  title->setLineBreakMode(graphics::LineBreakMode::WordWrap);
  title->setText(item.title.value_or(""));

  auto summary = makeLabel(kTextColor);
  summary->setFont(graphics::Font::named("TimesNewRomanPSMT", 15));
  summary->setNumberOfLines(999);
  summary->setText(item.description.value_or(""));

  auto date = makeLabel(kDateColor);
  date->setFont(graphics::Font::boldSystem(11));
  date->setText(item.pubDate.value_or(""));

  tile->addSubview(title);
  tile->addSubview(date);

  const TileLook* look = lookFor(type);
  if (!look) return tile;

  const auto measurer = graphics::TextMeasurer::current();
  graphics::Font titleFont = graphics::Font::named("TimesNewRomanPS-BoldMT", look->titleSize);
  double titleHeight =
      measurer->measure(title->text(), titleFont, look->titleBox, title->lineBreakMode()).height;
  title->setFrame({5, 5, look->titleBox.width, titleHeight});
  title->setFont(titleFont);
  title->setNumberOfLines(look->titleLines);

  if (look->summaryRoom > 0) {
    int limit = static_cast<int>(std::trunc(look->summaryRoom - titleHeight));
    if (type == "zero") base::log(base::format("%i", limit));
    double height =
        measurer
            ->measure(summary->text(), summary->font(),
                      {look->titleBox.width, static_cast<double>(limit)}, summary->lineBreakMode())
            .height;
    // The measurer gives at least one line; the summary must still stay above the date.
    height = std::min(height, static_cast<double>(std::max(limit, 0)));
    summary->setFrame({5, titleHeight + 5, look->titleBox.width, height});
    tile->addSubview(summary);
  }

  date->setFrame(look->dateFrame);

  for (const graphics::Rect& frame : look->separators) {
    auto line = std::make_shared<ui::View>(frame);
    line->setBackgroundColor(kLineColor);
    tile->addSubview(line);
  }
  return tile;
}
