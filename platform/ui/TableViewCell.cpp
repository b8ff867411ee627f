#include "platform/ui/TableViewCell.h"

#include <algorithm>

#include "platform/graphics/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace ui {

using graphics::Color;
using graphics::Rect;
using Kind = TableViewCellControl::Kind;

namespace {
constexpr double kPadding = 10;
constexpr double kSeparatorHeight = 1;

std::optional<Kind> accessoryKind(TableViewCellAccessoryType type) {
  switch (type) {
    case TableViewCellAccessoryType::DisclosureIndicator:
      return Kind::DisclosureIndicator;
    case TableViewCellAccessoryType::DetailDisclosureButton:
      return Kind::DetailDisclosureButton;
    case TableViewCellAccessoryType::Checkmark:
      return Kind::Checkmark;
    case TableViewCellAccessoryType::None:
      break;
  }
  return std::nullopt;
}
}  // namespace

TableViewCell::TableViewCell(TableViewCellStyle style, std::string reuseIdentifier)
    : View(Rect{0, 0, 320, 44}),
      style_(style),
      reuseIdentifier_(std::move(reuseIdentifier)),
      contentView_(std::make_shared<View>(Rect{0, 0, 320, 44})) {
  setBackgroundColor(Color::white());
  addSubview(contentView_);
}

TableViewCell::~TableViewCell() = default;

Label* TableViewCell::textLabel() {
  if (!textLabel_) {
    textLabel_ = std::make_shared<Label>();
    textLabel_->setBackgroundColor(Color::clear());
    textLabel_->setFont(
        graphics::Font::boldSystem(style_ == TableViewCellStyle::Default ? 20 : 18));
    textLabel_->setHighlightedTextColor(Color::white());
    textLabel_->setHighlighted(highlighted_ || selected_);
    contentView_->addSubview(textLabel_);
    setNeedsLayout();
  }
  return textLabel_.get();
}

Label* TableViewCell::detailTextLabel() {
  if (style_ == TableViewCellStyle::Default) return nullptr;
  if (!detailTextLabel_) {
    detailTextLabel_ = std::make_shared<Label>();
    detailTextLabel_->setBackgroundColor(Color::clear());
    detailTextLabel_->setFont(graphics::Font::system(14));
    detailTextLabel_->setTextColor(style_ == TableViewCellStyle::Subtitle
                                       ? Color::rgb(128, 128, 128)
                                       : Color::rgb(56, 84, 135));
    if (style_ == TableViewCellStyle::Value1) {
      detailTextLabel_->setTextAlignment(graphics::TextAlignment::Right);
    }
    detailTextLabel_->setHighlightedTextColor(Color::white());
    detailTextLabel_->setHighlighted(highlighted_ || selected_);
    contentView_->addSubview(detailTextLabel_);
    setNeedsLayout();
  }
  return detailTextLabel_.get();
}

ImageView* TableViewCell::imageView() {
  if (!imageView_) {
    imageView_ = std::make_shared<ImageView>();
    imageView_->setHighlighted(highlighted_ || selected_);
    contentView_->insertSubview(imageView_, 0);
    setNeedsLayout();
  }
  return imageView_.get();
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type) {
  accessoryType_ = type;
  updateControls();
}

void TableViewCell::setAccessoryView(ViewPtr view) {
  if (accessoryView_) accessoryView_->removeFromSuperview();
  accessoryView_ = std::move(view);
  updateControls();
}

void TableViewCell::setEditingAccessoryType(TableViewCellAccessoryType type) {
  editingAccessoryType_ = type;
  updateControls();
}

void TableViewCell::setEditingAccessoryView(ViewPtr view) {
  if (editingAccessoryView_) editingAccessoryView_->removeFromSuperview();
  editingAccessoryView_ = std::move(view);
  updateControls();
}

void TableViewCell::setBackgroundView(ViewPtr view) {
  if (backgroundView_) backgroundView_->removeFromSuperview();
  backgroundView_ = std::move(view);
  if (backgroundView_) {
    backgroundView_->setFrame(bounds());
    insertSubview(backgroundView_, 0);
  }
}

void TableViewCell::setSelectedBackgroundView(ViewPtr view) {
  if (selectedBackgroundView_) selectedBackgroundView_->removeFromSuperview();
  selectedBackgroundView_ = std::move(view);
  updateSelectionLook();
}

void TableViewCell::setSelected(bool selected, bool /*animated*/) {
  selected_ = selected;
  updateSelectionLook();
}

void TableViewCell::setHighlighted(bool highlighted, bool /*animated*/) {
  highlighted_ = highlighted;
  updateSelectionLook();
}

void TableViewCell::updateSelectionLook() {
  bool on = (selected_ || highlighted_) && selectionStyle_ != TableViewCellSelectionStyle::None;
  highlightContent(contentView_.get(), on);
  ViewPtr shown = selectedBackgroundView_;
  if (!shown && on) {
    if (!defaultSelectedBackground_) defaultSelectedBackground_ = std::make_shared<View>();
    defaultSelectedBackground_->setBackgroundColor(
        selectionStyle_ == TableViewCellSelectionStyle::Gray ? Color::rgb(180, 180, 180)
                                                             : Color::rgb(3, 115, 238));
    shown = defaultSelectedBackground_;
  }
  for (const ViewPtr& v : {selectedBackgroundView_, defaultSelectedBackground_}) {
    if (v && (v != shown || !on) && v->superview() == this) v->removeFromSuperview();
  }
  if (on && shown && shown->superview() != this) {
    shown->setFrame(bounds());
    insertSubview(shown, backgroundView_ ? 1 : 0);
  }
}

void TableViewCell::highlightContent(View* view, bool on) {
  for (const ViewPtr& child : view->subviews()) {
    if (auto* label = dynamic_cast<Label*>(child.get())) label->setHighlighted(on);
    if (auto* image = dynamic_cast<ImageView*>(child.get())) image->setHighlighted(on);
    highlightContent(child.get(), on);
  }
}

void TableViewCell::setEditing(bool editing, bool /*animated*/) {
  editing_ = editing;
  if (!editing) showsDeleteConfirmation_ = false;
  updateControls();
}

void TableViewCell::setShowsDeleteConfirmation(bool shows) {
  showsDeleteConfirmation_ =
      shows && showsEditingControl() && editingStyle_ == TableViewCellEditingStyle::Delete;
  updateControls();
}

Rect TableViewCell::deleteConfirmationFrame() const {
  return confirmationControl_ ? confirmationControl_->frame() : Rect{};
}

void TableViewCell::setEditingStyle(TableViewCellEditingStyle style) {
  editingStyle_ = style;
  updateControls();
}

void TableViewCell::setShowsReorderControl(bool shows) {
  showsReorderControl_ = shows;
  updateControls();
}

void TableViewCell::setShouldIndentWhileEditing(bool indent) {
  shouldIndentWhileEditing_ = indent;
  setNeedsLayout();
}

bool TableViewCell::showsEditingControl() const {
  return editing_ && editingStyle_ != TableViewCellEditingStyle::None;
}

void TableViewCell::setSeparator(TableViewCellSeparatorStyle style, const Color& color) {
  separatorStyle_ = style;
  separatorColor_ = color;
  updateControls();
}

void TableViewCell::setControl(std::shared_ptr<TableViewCellControl>& slot, bool shown, Kind kind) {
  if (slot && (!shown || slot->kind() != kind)) {
    slot->removeFromSuperview();
    slot.reset();
  }
  if (shown && !slot) {
    slot = std::make_shared<TableViewCellControl>(kind, Rect{});
    addSubview(slot);
  }
}

void TableViewCell::updateControls() {
  // While editing the editing accessory stands in for the ordinary one.
  const ViewPtr& custom = editing_ ? editingAccessoryView_ : accessoryView_;
  const ViewPtr& hidden = editing_ ? accessoryView_ : editingAccessoryView_;
  if (hidden && hidden->superview() == this) hidden->removeFromSuperview();
  if (custom && custom->superview() != this) addSubview(custom);
  auto kind = accessoryKind(editing_ ? editingAccessoryType_ : accessoryType_);
  setControl(accessoryControl_, !custom && kind, kind.value_or(Kind::DisclosureIndicator));
  setControl(editingControl_, showsEditingControl(),
             editingStyle_ == TableViewCellEditingStyle::Insert ? Kind::Insert : Kind::Delete);
  setControl(reorderControl_, showsReorderHandle(), Kind::Reorder);
  setControl(confirmationControl_, showsDeleteConfirmation_, Kind::DeleteConfirmation);
  if (editingControl_) editingControl_->setTurned(showsDeleteConfirmation_);

  bool line = separatorStyle_ == TableViewCellSeparatorStyle::SingleLine;
  if (line && !separator_) {
    separator_ = std::make_shared<View>();
    separator_->setUserInteractionEnabled(false);
  }
  if (separator_) {
    separator_->setBackgroundColor(separatorColor_);
    if (line) {
      addSubview(separator_);  // keeps it on top of everything else
    } else {
      separator_->removeFromSuperview();
    }
  }
  setNeedsLayout();
}

void TableViewCell::prepareForReuse() {
  highlighted_ = false;
  selected_ = false;
  if (showsDeleteConfirmation_) setShowsDeleteConfirmation(false);
  updateSelectionLook();
  setAlpha(1);
}

void TableViewCell::layoutSubviews() {
  Rect b = bounds();
  double w = b.width(), h = b.height();
  if (backgroundView_) backgroundView_->setFrame(b);
  if (selectedBackgroundView_) selectedBackgroundView_->setFrame(b);
  if (defaultSelectedBackground_) defaultSelectedBackground_->setFrame(b);
  if (separator_) separator_->setFrame(Rect{0, h - kSeparatorHeight, w, kSeparatorHeight});

  double left = 0;
  if (editingControl_) {
    editingControl_->setFrame(Rect{0, 0, kEditingControlWidth, h});
    if (shouldIndentWhileEditing_) left = kEditingControlWidth;
  }
  double right = w;
  if (reorderControl_) {
    right -= kReorderControlWidth;
    reorderControl_->setFrame(Rect{right, 0, kReorderControlWidth, h});
  }
  if (confirmationControl_) {
    const double buttonHeight = std::min(h, 30.0);
    right -= kDeleteConfirmationWidth + kPadding;
    confirmationControl_->setFrame(
        Rect{right, (h - buttonHeight) / 2, kDeleteConfirmationWidth, buttonHeight});
  }
  const ViewPtr& custom = editing_ ? editingAccessoryView_ : accessoryView_;
  if (custom) {
    Rect f = custom->frame();
    right -= f.width() + kPadding;
    custom->setFrame(Rect{right, (h - f.height()) / 2, f.width(), f.height()});
  } else if (accessoryControl_) {
    double aw = accessoryControl_->kind() == Kind::DetailDisclosureButton ? kDetailButtonWidth
                                                                          : kAccessoryWidth;
    right -= aw + kPadding;
    accessoryControl_->setFrame(Rect{right, 0, aw, h});
  }
  contentView_->setFrame(Rect{left, 0, std::max(0.0, right - left), h});

  // The built-in labels and image inside the content view.
  double cw = contentView_->frame().width();
  double x = kPadding;
  if (imageView_ && imageView_->image()) {
    graphics::Size size = imageView_->image()->size();
    imageView_->setFrame(Rect{0, (h - size.height) / 2, size.width, size.height});
    x = size.width + kPadding;
  }
  double textWidth = std::max(0.0, cw - x - kPadding);
  bool hasDetail = detailTextLabel_ && !detailTextLabel_->text().empty();
  if (style_ == TableViewCellStyle::Subtitle && hasDetail) {
    double top = (h - 40) / 2;
    if (textLabel_) textLabel_->setFrame(Rect{x, top, textWidth, 22});
    detailTextLabel_->setFrame(Rect{x, top + 22, textWidth, 18});
  } else if ((style_ == TableViewCellStyle::Value1 || style_ == TableViewCellStyle::Value2) &&
             hasDetail) {
    double split = style_ == TableViewCellStyle::Value2 ? 70 : textWidth / 2;
    if (textLabel_) textLabel_->setFrame(Rect{x, 0, split, h});
    detailTextLabel_->setFrame(Rect{x + split + 5, 0, std::max(0.0, textWidth - split - 5), h});
  } else if (textLabel_) {
    textLabel_->setFrame(Rect{x, 0, textWidth, h});
  }
}

}  // namespace ui
