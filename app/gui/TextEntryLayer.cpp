#include "app/gui/TextEntryLayer.h"

#include <cmath>
#include <optional>
#include <sstream>

#include "platform/ui/Application.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace {

constexpr const char* kEditorClass = "vemo-text-editor";

// The frame of `view` in root coordinates when it shows on screen and nothing laid on the root
// above its screen overlaps it.
std::optional<graphics::Rect> visibleFrame(const ui::View& root, const ui::View& view) {
  if (&view != &root && !view.isDescendantOf(&root)) return std::nullopt;
  const ui::View* layer = nullptr;
  for (const ui::View* v = &view; v; v = v->superview()) {
    if (v->isHidden() || v->alpha() <= 0.01) return std::nullopt;
    if (v->superview() == &root) layer = v;
  }
  graphics::Point origin = view.convertPointToView(view.bounds().origin, &root);
  graphics::Rect frame{origin.x, origin.y, view.frame().width(), view.frame().height()};
  if (!frame.intersects(root.bounds())) return std::nullopt;
  if (layer) {
    bool above = false;
    for (const auto& child : root.subviews()) {
      if (above && !child->isHidden() && child->alpha() > 0.01 &&
          child->frame().intersects(frame)) {
        return std::nullopt;
      }
      if (child.get() == layer) above = true;
    }
  }
  return frame;
}

int px(double points, double zoom) {
  return static_cast<int>(std::lround(points * zoom));
}

}  // namespace

TextEntryLayer::TextEntryLayer(GtkWindow* window, GtkWidget* fixed, std::function<void()> changed)
    : window_(window), fixed_(fixed), changed_(std::move(changed)), css_(gtk_css_provider_new()) {
  gtk_style_context_add_provider_for_display(gtk_widget_get_display(GTK_WIDGET(window_)),
                                             GTK_STYLE_PROVIDER(css_),
                                             GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_signal_connect(window_, "notify::focus-widget", G_CALLBACK(onFocusWidget), this);
}

TextEntryLayer::~TextEntryLayer() {
  if (idle_) g_source_remove(idle_);
  g_signal_handlers_disconnect_by_data(window_, this);
  remove();
  gtk_style_context_remove_provider_for_display(gtk_widget_get_display(GTK_WIDGET(window_)),
                                                GTK_STYLE_PROVIDER(css_));
  g_object_unref(css_);
}

void TextEntryLayer::sync(ui::View& root, double zoom) {
  ui::View* focused = ui::Application::shared().firstResponder();
  auto* field = dynamic_cast<ui::TextField*>(focused);
  auto* textView = dynamic_cast<ui::TextView*>(focused);
  std::optional<graphics::Rect> frame;
  if (field || textView) frame = visibleFrame(root, *focused);
  if (!frame) {
    remove();
    return;
  }
  if (view_.lock().get() != focused || !widget_) {
    remove();
    create(*focused, field != nullptr);
  }
  gtk_fixed_move(GTK_FIXED(fixed_), widget_, px(frame->x(), zoom), px(frame->y(), zoom));
  gtk_widget_set_size_request(widget_, px(frame->width(), zoom), px(frame->height(), zoom));
  applyFont(*focused, zoom);
  if (field) gtk_entry_set_visibility(GTK_ENTRY(entry_), !field->isSecureTextEntry());
  if (textView) {
    gtk_text_view_set_editable(GTK_TEXT_VIEW(textView_), textView->isEditable());
    const int inset = px(ui::TextView::kTextInset, zoom);
    gtk_text_view_set_left_margin(GTK_TEXT_VIEW(textView_), inset);
    gtk_text_view_set_right_margin(GTK_TEXT_VIEW(textView_), inset);
    gtk_text_view_set_top_margin(GTK_TEXT_VIEW(textView_), inset);
    gtk_text_view_set_bottom_margin(GTK_TEXT_VIEW(textView_), inset);
  }
  const std::string& text = field ? field->text() : textView->text();
  if (editorText() != text) setEditorText(text);
}

void TextEntryLayer::create(ui::View& view, bool field) {
  view_ = view.weak_from_this();
  if (field) {
    entry_ = gtk_entry_new();
    widget_ = entry_;
    g_signal_connect(entry_, "changed", G_CALLBACK(onEntryChanged), this);
    g_signal_connect(entry_, "activate", G_CALLBACK(onActivate), this);
  } else {
    textView_ = gtk_text_view_new();
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(textView_), GTK_WRAP_WORD_CHAR);
    widget_ = gtk_scrolled_window_new();
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(widget_), GTK_POLICY_NEVER,
                                   GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(widget_), textView_);
    g_signal_connect(gtk_text_view_get_buffer(GTK_TEXT_VIEW(textView_)), "changed",
                     G_CALLBACK(onBufferChanged), this);
  }
  gtk_widget_add_css_class(field ? entry_ : textView_, kEditorClass);
  gtk_fixed_put(GTK_FIXED(fixed_), widget_, 0, 0);
  gtk_widget_grab_focus(field ? entry_ : textView_);
}

void TextEntryLayer::remove() {
  if (!widget_) return;
  // Cleared first: taking the focused editor away moves the window's focus.
  GtkWidget* widget = widget_;
  widget_ = nullptr;
  if (entry_) g_signal_handlers_disconnect_by_data(entry_, this);
  if (textView_) {
    g_signal_handlers_disconnect_by_data(gtk_text_view_get_buffer(GTK_TEXT_VIEW(textView_)), this);
  }
  entry_ = textView_ = nullptr;
  view_.reset();
  gtk_fixed_remove(GTK_FIXED(fixed_), widget);
}

void TextEntryLayer::applyFont(ui::View& view, double zoom) {
  const graphics::Font& font = dynamic_cast<ui::TextField*>(&view)
                                   ? static_cast<ui::TextField&>(view).font()
                                   : static_cast<ui::TextView&>(view).font();
  std::ostringstream css;
  css << "." << kEditorClass << " { font-family: \"" << font.family()
      << "\"; font-size: " << font.pointSize() * zoom
      << "px; font-weight: " << (font.bold() ? "bold" : "normal")
      << "; font-style: " << (font.italic() ? "italic" : "normal")
      << "; min-height: 0; padding-top: 0; padding-bottom: 0; }";
  if (css.str() == cssText_) return;
  cssText_ = css.str();
#if GTK_CHECK_VERSION(4, 12, 0)
  gtk_css_provider_load_from_string(css_, cssText_.c_str());
#else
  gtk_css_provider_load_from_data(css_, cssText_.c_str(), -1);
#endif
}

std::string TextEntryLayer::editorText() const {
  if (entry_) return gtk_editable_get_text(GTK_EDITABLE(entry_));
  if (!textView_) return {};
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(textView_));
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  char* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
  std::string result = text ? text : "";
  g_free(text);
  return result;
}

void TextEntryLayer::setEditorText(const std::string& text) {
  updating_ = true;
  if (entry_) {
    gtk_editable_set_text(GTK_EDITABLE(entry_), text.c_str());
    gtk_editable_set_position(GTK_EDITABLE(entry_), -1);
  } else if (textView_) {
    gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(textView_)), text.c_str(), -1);
  }
  updating_ = false;
}

void TextEntryLayer::endEditing() {
  if (auto view = view_.lock()) view->resignFirstResponder();
  scheduleChanged();
}

// The view tree changes inside GTK's signal handlers; the editor is brought in line (and maybe
// removed) from the main loop afterwards, not inside its own handlers.
void TextEntryLayer::scheduleChanged() {
  if (idle_) return;
  idle_ = g_idle_add(
      +[](gpointer self) -> gboolean {
        auto* layer = static_cast<TextEntryLayer*>(self);
        layer->idle_ = 0;
        if (layer->changed_) layer->changed_();
        return G_SOURCE_REMOVE;
      },
      this);
}

void TextEntryLayer::onEntryChanged(GtkEditable* editable, gpointer self) {
  auto* layer = static_cast<TextEntryLayer*>(self);
  if (layer->updating_) return;
  auto field = std::dynamic_pointer_cast<ui::TextField>(layer->view_.lock());
  if (!field) return;
  field->editText(gtk_editable_get_text(editable));
  layer->scheduleChanged();
}

void TextEntryLayer::onActivate(GtkEntry*, gpointer self) {
  auto* layer = static_cast<TextEntryLayer*>(self);
  auto field = std::dynamic_pointer_cast<ui::TextField>(layer->view_.lock());
  if (!field) return;
  field->returnKeyPressed();
  layer->scheduleChanged();
}

void TextEntryLayer::onBufferChanged(GtkTextBuffer*, gpointer self) {
  auto* layer = static_cast<TextEntryLayer*>(self);
  if (layer->updating_) return;
  auto textView = std::dynamic_pointer_cast<ui::TextView>(layer->view_.lock());
  if (!textView) return;
  textView->editText(layer->editorText());
  layer->scheduleChanged();
}

// The keyboard focus moved within the window: when it left the editor, the view stops editing.
void TextEntryLayer::onFocusWidget(GObject*, GParamSpec*, gpointer self) {
  auto* layer = static_cast<TextEntryLayer*>(self);
  if (!layer->widget_) return;
  GtkWidget* focus = gtk_window_get_focus(layer->window_);
  if (focus && (focus == layer->widget_ || gtk_widget_is_ancestor(focus, layer->widget_))) return;
  layer->endEditing();
}
