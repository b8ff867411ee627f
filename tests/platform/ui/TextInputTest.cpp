#include <gtest/gtest.h>

#include "platform/graphics/OffscreenSurface.h"
#include "platform/graphics/Painter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Touch.h"
#include "tests/platform/ui/UiTestSupport.h"

using graphics::Rect;
using Calls = std::vector<std::string>;

namespace {

// Writes down every delegate call the screens use, of the fields and text views it serves, by
// the view's tag.
struct Recorder : ui::TextFieldDelegate, ui::TextViewDelegate {
  void textFieldDidBeginEditing(ui::TextField& f) override { log("didBegin", f); }
  bool textFieldShouldReturn(ui::TextField& f) override { return log("shouldReturn", f), false; }
  void textFieldDidChange(ui::TextField& f) override { log("didChange " + f.text(), f); }
  void textViewDidBeginEditing(ui::TextView& v) override { log("didBegin", v); }
  void textViewDidEndEditing(ui::TextView& v) override { log("didEnd", v); }
  void textViewDidChange(ui::TextView& v) override { log("didChange " + v.text(), v); }
  void log(const std::string& what, const ui::View& v) {
    calls.push_back(std::to_string(v.tag()) + " " + what);
  }
  Calls calls;
};

// A form: two fields and a text view under one another.
class TextInputTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    password->setSecureTextEntry(true);
  }
  // An input view of kind T with `tag`, served by the recorder, in the form.
  template <class T>
  std::shared_ptr<T> input(int tag, Rect frame) {
    auto view = std::make_shared<T>(frame);
    view->setTag(tag);
    view->setDelegate(&recorder);
    root->addSubview(view);
    return view;
  }
  static ui::View* focused() { return ui::Application::shared().firstResponder(); }

  Recorder recorder;
  std::shared_ptr<ui::View> root = std::make_shared<ui::View>(Rect{0, 0, 320, 460});
  std::shared_ptr<ui::TextField> name = input<ui::TextField>(1, {10, 10, 200, 30});
  std::shared_ptr<ui::TextField> password = input<ui::TextField>(2, {10, 50, 200, 30});
  std::shared_ptr<ui::TextView> body = input<ui::TextView>(3, {10, 90, 200, 100});
};

TEST_F(TextInputTest, TapsMoveTheOneFocusBetweenFieldsAndTextViews) {
  // A tap beside the fields (the last one) is not taken and leaves the focus where it is.
  const std::pair<graphics::Point, ui::View*> taps[] = {{{50, 120}, body.get()},
                                                        {{50, 25}, name.get()},
                                                        {{50, 65}, password.get()},
                                                        {{300, 300}, password.get()}};
  for (auto [point, view] : taps) {
    EXPECT_EQ(ui::tap(*root, point), point.y < 300);
    EXPECT_EQ(focused(), view);
  }
  EXPECT_FALSE(name->isFirstResponder() || body->isFirstResponder());
  // The text view ends editing before the field begins.
  EXPECT_EQ(recorder.calls, (Calls{"3 didBegin", "3 didEnd", "1 didBegin", "2 didBegin"}));
}

TEST_F(TextInputTest, ViewsThatMayNotEditGetNoFocus) {
  name->becomeFirstResponder();
  // Disabled fields, read-only text views and plain views do not begin editing.
  recorder.calls.clear();
  password->setEnabled(false);
  ui::tap(*root, {50, 65});
  body->setEditable(false);
  ui::tap(*root, {50, 120});
  EXPECT_FALSE(root->becomeFirstResponder());
  EXPECT_EQ(focused(), name.get());
  EXPECT_TRUE(recorder.calls.empty());

  // Making the focused text view read-only takes the focus away.
  body->setEditable(true);
  body->becomeFirstResponder();
  body->setEditable(false);
  EXPECT_EQ(focused(), nullptr);
}

TEST_F(TextInputTest, LeavingTheTreeOrGoingAwayDropsTheFocus) {
  name->becomeFirstResponder();
  name->removeFromSuperview();
  EXPECT_EQ(focused(), nullptr);

  auto box = std::make_shared<ui::View>(Rect{0, 300, 100, 100});  // removing an ancestor
  root->addSubview(box);
  box->addSubview(password);
  password->becomeFirstResponder();
  box->removeFromSuperview();
  EXPECT_EQ(focused(), nullptr);

  auto lone = std::make_shared<ui::TextField>(Rect{0, 0, 10, 10});
  lone->becomeFirstResponder();
  lone.reset();
  EXPECT_EQ(focused(), nullptr);
}

TEST_F(TextInputTest, OnlyTheUsersEditsAndReturnKeyReachTheDelegate) {
  name->setText("an");
  name->editText("anh");
  name->editText("anh");  // unchanged: no call
  body->editText("Tin mới");
  EXPECT_FALSE(name->returnKeyPressed());  // the delegate's answer
  EXPECT_EQ(recorder.calls, (Calls{"1 didChange anh", "3 didChange Tin mới", "1 shouldReturn"}));
  name->setDelegate(nullptr);
  EXPECT_TRUE(name->returnKeyPressed());
}

TEST_F(TextInputTest, SecureTextIsDrawnAsBullets) {
  password->setText("mật khẩu");
  EXPECT_EQ(password->displayText(), "••••••••");  // one per character, not per byte
  auto bullets = std::make_shared<ui::TextField>(password->frame());
  bullets->setText(password->displayText());
  auto picture = [](const ui::View& view) {
    graphics::OffscreenSurface surface(view.frame().size);
    graphics::Painter painter(surface.context());
    painter.translate(-view.frame().x(), -view.frame().y());
    ui::Renderer::paint(view, painter);
    return surface.snapshot()->pngData();
  };
  EXPECT_EQ(picture(*password), picture(*bullets));
}

}  // namespace
