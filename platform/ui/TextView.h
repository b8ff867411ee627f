#pragma once
#include <string>

#include "platform/graphics/TextStyle.h"
#include "platform/ui/ScrollView.h"

namespace ui {

class TextView;

// Told about a text view's editing; every method is optional. Not owned by the text view.
class TextViewDelegate {
 public:
  virtual ~TextViewDelegate() = default;
  // Asked before the text view takes the focus; false keeps it from editing.
  virtual bool textViewShouldBeginEditing(TextView&) { return true; }
  virtual void textViewDidBeginEditing(TextView&) {}
  virtual void textViewDidEndEditing(TextView&) {}
  // The user changed the text (not sent for setText).
  virtual void textViewDidChange(TextView&) {}
};

// Several lines of text, wrapped at the width and scrolled when taller than the view. When
// editable, a tap makes it the first responder; the desktop shell then lays a native text view
// over it and reports the user's typing through editText. Starts white, with the system font of
// size 17 in black.
class TextView : public ScrollView {
 public:
  // Space between the bounds and the text on every side.
  static constexpr double kTextInset = 8;

  explicit TextView(graphics::Rect frame = {});

  std::string_view className() const override { return "TextView"; }

  const std::string& text() const { return text_; }
  // Sets the text as the program's own change: the delegate is not told.
  void setText(std::string text);
  // Sets the text as the user's edit: the delegate hears textViewDidChange when it changed.
  void editText(std::string text);
  const graphics::Font& font() const { return font_; }
  void setFont(const graphics::Font& font);
  const graphics::Color& textColor() const { return textColor_; }
  void setTextColor(const graphics::Color& color) { textColor_ = color; }
  graphics::TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(graphics::TextAlignment alignment) { alignment_ = alignment; }
  // A text view that is not editable shows its text but never takes the focus (and resigns it
  // when it had it).
  bool isEditable() const { return editable_; }
  void setEditable(bool editable);

  TextViewDelegate* delegate() const { return textDelegate_; }
  void setDelegate(TextViewDelegate* delegate) { textDelegate_ = delegate; }

  bool canBecomeFirstResponder() const override { return editable_; }
  bool touchBegan(graphics::Point point) override;
  void touchEnded(graphics::Point point, bool inside) override;
  void draw(graphics::Painter& painter) const override;

 protected:
  void layoutSubviews() override;
  bool shouldBecomeFirstResponder() override;
  void didBecomeFirstResponder() override;
  void didResignFirstResponder() override;

 private:
  // The content is as tall as the wrapped text and its insets, and as wide as the view.
  void updateContentSize();

  std::string text_;
  graphics::Font font_;
  graphics::Color textColor_ = graphics::Color::black();
  graphics::TextAlignment alignment_ = graphics::TextAlignment::Left;
  bool editable_ = true;
  TextViewDelegate* textDelegate_ = nullptr;
};

}  // namespace ui
