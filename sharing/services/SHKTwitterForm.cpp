#include "sharing/services/SHKTwitterForm.h"

#include <algorithm>

#include "platform/base/Localization.h"
#include "platform/base/Utf16.h"
#include "platform/graphics/Font.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "sharing/core/SHK.h"
#include "sharing/services/SHKTwitter.h"

namespace {

// The strip under the text view that holds the counter. The window lays its own editor over a
// focused text view, which would hide a counter drawn inside the text view's frame.
constexpr double kCounterStrip = 30;

// The screen's view: the text view above the counter's strip, the counter at the bottom-right.
class ComposeView : public ui::View {
 public:
  explicit ComposeView(SHKTwitterForm& form) : form_(form) {}
  void layoutSubviews() override {
    graphics::Rect area = bounds();
    form_.textView()->setFrame({0, 0, area.width(), std::max(0.0, area.height() - kCounterStrip)});
    form_.layoutCounter();
  }

 private:
  SHKTwitterForm& form_;
};

void alert(const char* title, const char* message) {
  std::make_shared<ui::AlertView>(base::localized(title), base::localized(message), nullptr,
                                  base::localized("Close"))
      ->show();
}

}  // namespace

SHKTwitterForm::SHKTwitterForm(std::shared_ptr<SHKTwitter> delegate) : delegate_(delegate) {
  navigationItem().setLeftBarButtonItem(
      ui::BarButtonItem::system(ui::BarButtonSystemItem::Cancel, [this] { cancel(); }));
  navigationItem().setRightBarButtonItem(ui::BarButtonItem::withTitle(
      base::localized("Send to Twitter"), ui::BarButtonItemStyle::Done, [this] { save(); }));
  textView_ = std::make_shared<ui::TextView>();
  textView_->setDelegate(this);
  textView_->setFont(graphics::Font::system(15));
  textView_->setBackgroundColor(graphics::Color::white());
}

SHKTwitterForm::~SHKTwitterForm() {
  textView_->setDelegate(nullptr);
}

void SHKTwitterForm::loadView() {
  auto view = std::make_shared<ComposeView>(*this);
  view->setBackgroundColor(graphics::Color::white());
  view->addSubview(textView_);
  setView(view);
}

void SHKTwitterForm::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  textView_->becomeFirstResponder();
  updateCounter();
}

void SHKTwitterForm::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  SHK::currentHelper().viewWasDismissed();
}

void SHKTwitterForm::updateCounter() {
  if (!counter_) {
    counter_ = std::make_shared<ui::Label>();
    counter_->setBackgroundColor(graphics::Color{0, 0, 0, 0});
    counter_->setFont(graphics::Font::boldSystem(14));
    counter_->setTextAlignment(graphics::TextAlignment::Right);
    view()->addSubview(counter_);
    layoutCounter();
  }
  int left = limit() - static_cast<int>(base::utf16Length(textView_->text()));
  counter_->setText((hasAttachment_ ? base::localized("Image + ") : std::string()) +
                    std::to_string(left));
  counter_->setTextColor(left < 0 ? graphics::Color{1, 0, 0, 1} : graphics::Color::black());
}

void SHKTwitterForm::layoutCounter() {
  if (!counter_) return;
  auto size = view()->bounds().size;
  counter_->setFrame({size.width - 150 - 15, size.height - 15 - 9, 150, 15});
}

void SHKTwitterForm::save() {
  size_t length = base::utf16Length(textView_->text());
  if (length > static_cast<size_t>(limit())) {
    alert("Message is too long", "Twitter posts can only be 140 characters in length.");
    return;
  }
  if (length == 0) {
    alert("Message is empty", "You must enter a message in order to post.");
    return;
  }
  if (auto delegate = delegate_.lock()) delegate->sendForm(*this);
  SHK::currentHelper().hideCurrentViewControllerAnimated(true);
}

void SHKTwitterForm::cancel() {
  SHK::currentHelper().hideCurrentViewControllerAnimated(true);
}
