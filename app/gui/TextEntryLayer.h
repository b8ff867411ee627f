#pragma once
#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

namespace ui {
class View;
}

// Gives the focused text field or text view of the view tree a native GTK editor laid over it: a
// GtkEntry for a field (its characters hidden for secure entry), a GtkTextView for a text view, at
// the view's frame and in its font. Typing goes to the view as the user's edit (its delegate hears
// of each change), Enter in a field is its return key, and the view's own text changes go back to
// the editor. The editor losing the keyboard focus resigns the view; the view resigning, hiding,
// leaving the tree or being covered by something above it takes the editor away.
class TextEntryLayer {
 public:
  // `fixed` is the GtkFixed holding the drawing; the editor goes above it. `changed` runs (from
  // the main loop, soon after) whenever the editor changed the view tree, to repaint it.
  TextEntryLayer(GtkWindow* window, GtkWidget* fixed, std::function<void()> changed);
  ~TextEntryLayer();
  TextEntryLayer(const TextEntryLayer&) = delete;
  TextEntryLayer& operator=(const TextEntryLayer&) = delete;

  // Brings the editor in line with the first responder in the tree of `root`, at `zoom` pixels
  // per point.
  void sync(ui::View& root, double zoom);
  // Whether an editor is shown (and the keyboard belongs to it).
  bool isEditing() const { return widget_ != nullptr; }
  // Ends the editing: the edited view resigns the focus (a press elsewhere in the window).
  void endEditing();

 private:
  void create(ui::View& view, bool field);
  void remove();
  void applyFont(ui::View& view, double zoom);
  std::string editorText() const;
  void setEditorText(const std::string& text);
  void scheduleChanged();

  static void onEntryChanged(GtkEditable*, gpointer self);
  static void onActivate(GtkEntry*, gpointer self);
  static void onBufferChanged(GtkTextBuffer*, gpointer self);
  static void onFocusWidget(GObject*, GParamSpec*, gpointer self);

  GtkWindow* window_;
  GtkWidget* fixed_;
  std::function<void()> changed_;
  GtkCssProvider* css_;
  std::string cssText_;
  // The editor: a GtkEntry, or a GtkScrolledWindow around `textView_`.
  GtkWidget* widget_ = nullptr;
  GtkWidget* entry_ = nullptr;
  GtkWidget* textView_ = nullptr;
  std::weak_ptr<ui::View> view_;
  // Set while the layer writes into the editor itself, so the change is not sent back.
  bool updating_ = false;
  guint idle_ = 0;
};
