#include "platform/graphics/PangoEngine.h"

#include <fontconfig/fontconfig.h>

#include <climits>
#include <cmath>

namespace graphics {
namespace {

// Kept layouts beyond this count are dropped all at once; a screen's texts fit easily.
constexpr size_t kKeptLayoutLimit = 256;

// What createLayout makes a layout from, but the text.
std::string fontKey(const Font& font) {
  std::string key = font.family();
  key.push_back('\0');
  key.push_back(static_cast<char>((font.bold() ? 1 : 0) | (font.italic() ? 2 : 0)));
  appendToKey(key, font.pointSize());
  return key;
}

}  // namespace

PangoEngine& PangoEngine::shared() {
  static PangoEngine* engine = new PangoEngine();  // lives for the whole process
  return *engine;
}

PangoEngine::PangoEngine() {
  // Loads the font configuration on this thread, before Pango would start a thread of its own
  // to do so: the wait for that thread is invisible to the thread checker.
  FcInit();
  fontMap_ = pango_cairo_font_map_new();
  pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(fontMap_), 72.0);
  context_ = pango_font_map_create_context(fontMap_);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context_, 72.0);
  pango_context_set_round_glyph_positions(context_, FALSE);
  pango_context_set_base_dir(context_, PANGO_DIRECTION_LTR);
  pango_context_set_language(context_, pango_language_from_string("vi"));
}

PangoLayout* PangoEngine::createLayout(const std::string& text, const Font& font, double width,
                                       LineBreakMode mode) {
  PangoLayout* layout = pango_layout_new(context_);
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, font.family().c_str());
  pango_font_description_set_weight(desc, font.bold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(desc, font.italic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(desc, font.pointSize() * PANGO_SCALE);
  pango_layout_set_font_description(layout, desc);
  pango_font_description_free(desc);
  if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
  } else {
    // Broken UTF-8 from outside is shown with replacement characters rather than dropped.
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout, valid, -1);
    g_free(valid);
  }
  if (width > 0) {
    pango_layout_set_width(layout, width * PANGO_SCALE < INT_MAX ? toPango(width) : INT_MAX);
    pango_layout_set_wrap(
        layout, mode == LineBreakMode::CharacterWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
  }
  return layout;
}

}  // namespace graphics

namespace graphics {

PangoLayout* PangoEngine::keptLayout(const std::string& text, const Font& font, double width,
                                     LineBreakMode mode) {
  std::string key = fontKey(font);
  appendToKey(key, width);
  key.push_back(static_cast<char>(mode));
  key += text;
  if (auto it = keptLayouts_.find(key); it != keptLayouts_.end()) return it->second;
  if (keptLayouts_.size() >= kKeptLayoutLimit) {
    for (auto& [_, layout] : keptLayouts_) g_object_unref(layout);
    keptLayouts_.clear();
  }
  PangoLayout* layout = createLayout(text, font, width, mode);
  pango_layout_get_line_count(layout);  // lays it out
  keptLayouts_.emplace(std::move(key), layout);
  return layout;
}

double PangoEngine::lineHeight(const Font& font) {
  std::string key = fontKey(font);
  if (auto it = lineHeights_.find(key); it != lineHeights_.end()) return it->second;
  PangoLayout* layout = createLayout("X", font, 0, LineBreakMode::Clip);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  const double height = std::ceil(fromPango(logical.height));
  lineHeights_.emplace(std::move(key), height);
  return height;
}

}  // namespace graphics

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEMO_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(VEMO_ADDRESS_SANITIZER)
// Fontconfig keeps its configuration and font patterns for the life of the process in
// structures the leak checker cannot follow; those are not leaks of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
#endif

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VEMO_THREAD_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_THREAD__) || defined(VEMO_THREAD_SANITIZER)
// Pango matches fonts on a helper thread and waits for it with GLib's futex-based locks, which
// the thread checker does not see; the hand-over looks like a race but is synchronised.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libpangoft2-1.0.so\nrace:libfontconfig.so\n";
}
#endif
