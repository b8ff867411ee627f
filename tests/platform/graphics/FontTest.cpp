#include "platform/graphics/Font.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/graphics/PangoEngine.h"

using graphics::Font;
using graphics::LineBreakMode;
using graphics::PangoEngine;

namespace {

// The family and weight of the face Pango actually used for the first glyphs of `text`.
std::string usedFace(const Font& font, const std::string& text) {
  auto& engine = PangoEngine::shared();
  auto lock = engine.lock();
  PangoLayout* layout = engine.createLayout(text, font, 0, LineBreakMode::Clip);
  PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
  auto* run = static_cast<PangoGlyphItem*>(line->runs->data);
  PangoFontDescription* desc = pango_font_describe(run->item->analysis.font);
  std::string face = pango_font_description_get_family(desc);
  if (pango_font_description_get_weight(desc) >= PANGO_WEIGHT_BOLD) face += " Bold";
  if (pango_font_description_get_style(desc) != PANGO_STYLE_NORMAL) face += " Italic";
  pango_font_description_free(desc);
  g_object_unref(layout);
  return face;
}

TEST(Font, ScreenFontsDrawWithLiberationFaces) {
  const std::string vietnamese = "Đường phố Hà Nội";
  EXPECT_EQ(usedFace(Font::named("TimesNewRomanPS-BoldMT", 20), vietnamese),
            "Liberation Serif Bold");
  EXPECT_EQ(usedFace(Font::named("TimesNewRomanPSMT", 15), vietnamese), "Liberation Serif");
  EXPECT_EQ(usedFace(Font::system(17), vietnamese), "Liberation Sans");
  EXPECT_EQ(usedFace(Font::boldSystem(11), vietnamese), "Liberation Sans Bold");
  EXPECT_EQ(usedFace(Font::named("Arial-BoldMT", 12), "abc"), "Liberation Sans Bold");
  EXPECT_EQ(usedFace(Font::named("Courier", 12), "abc"), "Liberation Mono");
  EXPECT_EQ(usedFace(Font::named("TimesNewRomanPS-ItalicMT", 12), "abc"),
            "Liberation Serif Italic");
}

TEST(Font, UnknownNamesFallBackToSansAndKeepTheirName) {
  Font f = Font::named("NoSuchFont-Heavy", 13);
  EXPECT_EQ(f.name(), "NoSuchFont-Heavy");
  EXPECT_EQ(f.family(), "Liberation Sans");
  EXPECT_FALSE(f.bold());
  EXPECT_EQ(usedFace(f, "abc"), "Liberation Sans");
}

TEST(Font, ResizingKeepsTheFace) {
  Font bigger = Font::boldSystem(11).withSize(20);
  EXPECT_EQ(bigger.pangoDescription(), "Liberation Sans Bold 20px");
  EXPECT_FALSE(Font::system(17) == Font::system(18));
}

}  // namespace
