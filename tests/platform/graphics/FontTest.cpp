#include "platform/graphics/Font.h"

#include <gtest/gtest.h>

#include "platform/graphics/PangoEngine.h"

using graphics::Font;
using graphics::PangoEngine;

namespace {

// The family and weight of the face Pango actually used for the first glyphs of `text`.
std::string usedFace(const Font& font, const std::string& text) {
  auto& engine = PangoEngine::shared();
  auto lock = engine.lock();
  PangoLayout* layout = engine.createLayout(text, font, 0, graphics::LineBreakMode::Clip);
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
  const std::pair<Font, const char*> rows[] = {
      {Font::named("TimesNewRomanPS-BoldMT", 20), "Liberation Serif Bold"},
      {Font::named("TimesNewRomanPSMT", 15), "Liberation Serif"},
      {Font::system(17), "Liberation Sans"},
      {Font::boldSystem(11).withSize(20), "Liberation Sans Bold"},
      {Font::named("Courier", 12), "Liberation Mono"},
      {Font::named("TimesNewRomanPS-ItalicMT", 12), "Liberation Serif Italic"},
      {Font::named("NoSuchFont-Heavy", 13), "Liberation Sans"},
  };
  for (const auto& [font, face] : rows) EXPECT_EQ(usedFace(font, "Đường phố Hà Nội"), face);
}

}  // namespace
