#include "reader/screens/SapoPage.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Strings.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "reader/model/ColorText.h"
#include "reader/screens/ReaderScreen.h"

namespace {

using graphics::Font;
using graphics::LineBreakMode;
using graphics::Rect;

constexpr graphics::Color kTextColor = graphics::Color::rgb(86, 74, 75);
constexpr graphics::Color kGrey{0.4, 0.4, 0.4, 1};
const char* const kHeadlineFont = "TimesNewRomanPS-BoldMT";
const char* const kSummaryFont = "TimesNewRomanPSMT";

double measuredHeight(const std::string& text, const Font& font, double width, double height,
                      LineBreakMode mode) {
  return graphics::TextMeasurer::current()
      ->measure(text, font, {width, std::max(0.0, height)}, mode)
      .height;
}

std::shared_ptr<ui::Label> makeLabel(const std::string& text, const Font& font,
                                     const graphics::Color& color, LineBreakMode mode) {
  auto label = std::make_shared<ui::Label>();
  label->setText(text);
  label->setFont(font);
  label->setTextColor(color);
  label->setTextAlignment(graphics::TextAlignment::Left);
  label->setNumberOfLines(999);
  label->setLineBreakMode(mode);
  label->setBackgroundColor(graphics::Color::clear());
  return label;
}

void addWhiteShadow(ui::Label& label) {
  label.setShadowColor(graphics::Color::white());
  label.setShadowOffset({0, 1});
}

// The two-line frame around the picture: white inside, light grey outside.
void addPictureFrame(ui::View& page, const Rect& p) {
  const graphics::Color grey = toUIColor("#dddddd");
  const Rect lines[] = {
      {p.x() - 1, p.y() - 1, 1, p.height() + 2},
      {p.x() - 1, p.y() - 1, p.width() + 2, 1},
      {p.x() + p.width() + 1, p.y() - 1, 1, p.height() + 2},
      {p.x() - 1, p.y() + p.height() + 1, p.width() + 2, 1},
      {p.x() - 2, p.y() - 2, 1, p.height() + 4},
      {p.x() - 2, p.y() - 2, p.width() + 4, 1},
      {p.x() + p.width() + 2, p.y() - 2, 1, p.height() + 4},
      {p.x() - 2, p.y() + p.height() + 2, p.width() + 4, 1},
  };
  for (size_t i = 0; i < 8; ++i) {
    auto line = std::make_shared<ui::View>(lines[i]);
    line->setBackgroundColor(i < 4 ? graphics::Color::white() : grey);
    page.addSubview(line);
  }
}

}  // namespace

graphics::Size SapoPage::pageSize(bool landscape) {
  return landscape ? graphics::Size{480, 212} : graphics::Size{320, 372};
}

std::shared_ptr<ui::View> SapoPage::make(const Item& story, int index, int count,
                                         const graphics::ImagePtr& picture, bool landscape,
                                         std::function<void()> openArticle) {
  const graphics::Size size = pageSize(landscape);
  auto page = std::make_shared<ui::View>(Rect{index * size.width, 0, size.width, size.height});
  page->setBackgroundColor(graphics::Color::clear());

  const std::string title = story.title.value_or("");
  const std::string date = story.pubDate.value_or("");
  const std::string summary = story.description.value_or("");
  const Font headlineFont = Font::named(kHeadlineFont, 26);
  const Font dateFont = Font::named(kHeadlineFont, landscape ? 14 : 12);
  const Font summaryFont = Font::named(kSummaryFont, 20);

  auto headline = makeLabel(title, headlineFont, kTextColor, LineBreakMode::WordWrap);
  addWhiteShadow(*headline);
  auto headlineButton = std::make_shared<ui::Button>();
  headlineButton->setBackgroundColor(graphics::Color::clear());
  headlineButton->addTarget(std::move(openArticle));
  auto dateLabel = makeLabel(date, dateFont, kGrey, LineBreakMode::TailTruncation);
  addWhiteShadow(*dateLabel);
  auto summaryLabel = makeLabel(summary, summaryFont, kTextColor, LineBreakMode::TailTruncation);

  auto counter =
      std::make_shared<ui::Label>(landscape ? Rect{10, 185, 460, 30} : Rect{10, 299, 300, 30});
  counter->setText(base::format(kCounterFormat, index + 1, count));
  counter->setFont(Font::boldSystem(11));
  counter->setTextColor(kGrey);
  counter->setTextAlignment(graphics::TextAlignment::Left);
  counter->setLineBreakMode(LineBreakMode::TailTruncation);
  addWhiteShadow(*counter);
  counter->setBackgroundColor(ReaderScreen::backgroundColor());

  auto pictureView = std::make_shared<ui::ImageView>(Rect{10, 15, 100, 100});
  pictureView->setTag(index);

  const double textWidth = landscape ? 460 : 300;
  if (!picture) {
    const double hT = measuredHeight(title, headlineFont, textWidth, landscape ? 120 : 100,
                                     LineBreakMode::WordWrap);
    const double hD = measuredHeight(date, dateFont, textWidth, 120, LineBreakMode::TailTruncation);
    const double room = std::trunc((landscape ? 202 : 362) - hT - hD - 10);
    const double hS =
        measuredHeight(summary, summaryFont, textWidth, room, LineBreakMode::TailTruncation);
    headline->setFrame({10, 10, textWidth, hT});
    dateLabel->setFrame({10, 10 + hT, 300, hD});
    summaryLabel->setFrame({10, 10 + hT + hD, textWidth, hS});
    if (story.imgLink && !story.imgLink->empty()) {
      pictureView->setImage(graphics::Image::named("icon_default.png"));
    }
  } else {
    pictureView->setImage(picture);
    const double hT =
        measuredHeight(title, headlineFont, landscape ? 460 : 180, 120, LineBreakMode::WordWrap);
    headline->setFrame(landscape ? Rect{120, 10, 360, hT} : Rect{120, 0, 180, hT});
    if (!landscape) pictureView->setFrame({10, 10, 100, 100});
    const Rect p = pictureView->frame();
    const Rect d = landscape ? Rect{10, p.y() + p.height() - 30, 460, 80} : Rect{10, 100, 300, 80};
    dateLabel->setFrame(d);
    const double room = std::trunc((landscape ? 216 : 332) - d.y() - d.height());
    const double hS =
        measuredHeight(summary, summaryFont, textWidth, room, LineBreakMode::TailTruncation);
    summaryLabel->setFrame({10, d.y() + d.height() - 30, textWidth, hS});
  }
  headlineButton->setFrame(headline->frame());

  page->addSubview(headline);
  page->addSubview(headlineButton);
  page->addSubview(dateLabel);
  page->addSubview(summaryLabel);
  page->addSubview(counter);
  if (picture) addPictureFrame(*page, pictureView->frame());
  page->addSubview(pictureView);
  return page;
}
