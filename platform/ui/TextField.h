#pragma once
#include <string>

#include "platform/graphics/TextStyle.h"
#include "platform/ui/Control.h"

namespace ui {

class TextField;

// Told about a text field's editing; every method is optional. Not owned by the field.
class TextFieldDelegate {
 public:
  virtual ~TextFieldDelegate() = default;
  // Asked before the field takes the focus; false keeps it from editing.
  virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
  virtual void textFieldDidBeginEditing(TextField&) {}
  // The return key was pressed; the answer is passed back to the keyboard.
  virtual bool textFieldShouldReturn(TextField&) { return true; }
  virtual void textFieldDidEndEditing(TextField&) {}
  // The user changed the text (not sent for setText).
  virtual void textFieldDidChange(TextField&) {}
};

enum class TextBorderStyle { None, Line, Bezel, RoundedRect };

// One line of editable text. A tap makes it the first responder; the desktop shell then lays a
// native entry over it and reports the user's typing through editText and the return key through
// returnKeyPressed. It draws its text (bullets for secure entry), or the placeholder in grey when
// the text is empty, centred vertically.
class TextField : public Control {
 public:
  explicit TextField(graphics::Rect frame = {});

  std::string_view className() const override { return "TextField"; }

  const std::string& text() const { return text_; }
  // Sets the text as the program's own change: the delegate is not told.
  void setText(std::string text) { text_ = std::move(text); }
  // Sets the text as the user's edit: the delegate hears textFieldDidChange when it changed.
  void editText(std::string text);
  const std::string& placeholder() const { return placeholder_; }
  void setPlaceholder(std::string placeholder) { placeholder_ = std::move(placeholder); }
  const graphics::Font& font() const { return font_; }
  void setFont(const graphics::Font& font) { font_ = font; }
  const graphics::Color& textColor() const { return textColor_; }
  void setTextColor(const graphics::Color& color) { textColor_ = color; }
  graphics::TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(graphics::TextAlignment alignment) { alignment_ = alignment; }
  bool isSecureTextEntry() const { return secure_; }
  void setSecureTextEntry(bool secure) { secure_ = secure; }
  TextBorderStyle borderStyle() const { return borderStyle_; }
  void setBorderStyle(TextBorderStyle style) { borderStyle_ = style; }

  TextFieldDelegate* delegate() const { return delegate_; }
  void setDelegate(TextFieldDelegate* delegate) { delegate_ = delegate; }

  // The return key: asks the delegate, true when it has none.
  bool returnKeyPressed();
  bool isEditing() const { return isFirstResponder(); }

  // What the field shows: the text, one bullet per character when secure; empty when the text
  // is empty (the placeholder is drawn instead).
  std::string displayText() const;
  // Where the text is drawn, in bounds coordinates: the bounds less the border's margins.
  graphics::Rect textRect() const;

  static constexpr const char* kBullet = "\u2022";

  bool canBecomeFirstResponder() const override { return isEnabled(); }
  void touchEnded(graphics::Point point, bool inside) override;
  void draw(graphics::Painter& painter) const override;

 protected:
  bool shouldBecomeFirstResponder() override;
  void didBecomeFirstResponder() override;
  void didResignFirstResponder() override;

 private:
  std::string text_;
  std::string placeholder_;
  graphics::Font font_;
  graphics::Color textColor_ = graphics::Color::black();
  graphics::TextAlignment alignment_ = graphics::TextAlignment::Left;
  bool secure_ = false;
  TextBorderStyle borderStyle_ = TextBorderStyle::None;
  TextFieldDelegate* delegate_ = nullptr;
};

}  // namespace ui
