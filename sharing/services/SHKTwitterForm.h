#pragma once
#include <memory>

#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"

class SHKTwitter;

// The compose screen: the status in a text view, a counter of the characters left at its
// bottom-right corner (140, or 115 with a picture; red below 0), Cancel and "Send to Twitter".
class SHKTwitterForm : public ui::ViewController, public ui::TextViewDelegate {
 public:
  static constexpr int kLimit = 140;
  static constexpr int kLimitWithPicture = 115;

  explicit SHKTwitterForm(std::shared_ptr<SHKTwitter> delegate);
  ~SHKTwitterForm() override;

  std::shared_ptr<SHKTwitter> delegate() const { return delegate_.lock(); }
  const std::shared_ptr<ui::TextView>& textView() const { return textView_; }
  const std::shared_ptr<ui::Label>& counter() const { return counter_; }
  bool hasAttachment() const { return hasAttachment_; }
  void setHasAttachment(bool attachment) { hasAttachment_ = attachment; }
  int limit() const { return hasAttachment_ ? kLimitWithPicture : kLimit; }

  void loadView() override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

  void updateCounter();
  void layoutCounter();
  void save();
  void cancel();

  void textViewDidBeginEditing(ui::TextView&) override { updateCounter(); }
  void textViewDidChange(ui::TextView&) override { updateCounter(); }
  void textViewDidEndEditing(ui::TextView&) override { updateCounter(); }

 private:
  // Weak: the service holds this screen in its navigation stack.
  std::weak_ptr<SHKTwitter> delegate_;
  std::shared_ptr<ui::TextView> textView_;
  std::shared_ptr<ui::Label> counter_;
  bool hasAttachment_ = false;
};
