#pragma once
#include <memory>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/ui/TableViewCellControl.h"
#include "platform/ui/TableViewCellEditingStyle.h"
#include "platform/ui/View.h"

namespace ui {

class Label;
class ImageView;

// Layout of a cell's built-in labels, in the device's order.
enum class TableViewCellStyle {
  Default,   // image at the left, one text label
  Value1,    // text at the left, detail at the right
  Value2,    // blue detail-style text, then detail
  Subtitle,  // text label above a smaller gray detail label
};

// The standard control at a cell's right end, in the device's order.
enum class TableViewCellAccessoryType {
  None,
  DisclosureIndicator,
  DetailDisclosureButton,
  Checkmark,
};

// How a selected cell looks: no change, or the blue or gray selected background.
enum class TableViewCellSelectionStyle { None, Blue, Gray };

enum class TableViewCellSeparatorStyle { None, SingleLine };

// One row of a table. The cell's own views: the background view at the back, the content view
// holding the image view, text label and detail label (made on first use), and the accessory at
// the right. In editing mode the table gives it an editing style and, for movable rows, a
// reorder control; the content moves right to make room for the editing control.
class TableViewCell : public View {
 public:
  static constexpr double kEditingControlWidth = 32;
  static constexpr double kReorderControlWidth = 32;
  static constexpr double kAccessoryWidth = 20;
  static constexpr double kDetailButtonWidth = 29;
  static constexpr double kDeleteConfirmationWidth = 64;

  explicit TableViewCell(TableViewCellStyle style = TableViewCellStyle::Default,
                         std::string reuseIdentifier = {});
  ~TableViewCell() override;

  std::string_view className() const override { return "TableViewCell"; }

  TableViewCellStyle style() const { return style_; }
  const std::string& reuseIdentifier() const { return reuseIdentifier_; }

  View* contentView() const { return contentView_.get(); }
  Label* textLabel();
  // nullptr for the default style, which has no detail label.
  Label* detailTextLabel();
  ImageView* imageView();

  TableViewCellAccessoryType accessoryType() const { return accessoryType_; }
  void setAccessoryType(TableViewCellAccessoryType type);
  // A custom accessory replaces the standard one.
  View* accessoryView() const { return accessoryView_.get(); }
  void setAccessoryView(ViewPtr view);
  // Shown instead of the accessory while editing.
  TableViewCellAccessoryType editingAccessoryType() const { return editingAccessoryType_; }
  void setEditingAccessoryType(TableViewCellAccessoryType type);
  View* editingAccessoryView() const { return editingAccessoryView_.get(); }
  void setEditingAccessoryView(ViewPtr view);

  View* backgroundView() const { return backgroundView_.get(); }
  void setBackgroundView(ViewPtr view);
  // Shown over the background view while the cell is selected or highlighted.
  View* selectedBackgroundView() const { return selectedBackgroundView_.get(); }
  void setSelectedBackgroundView(ViewPtr view);
  TableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
  void setSelectionStyle(TableViewCellSelectionStyle style) { selectionStyle_ = style; }

  bool isSelected() const { return selected_; }
  virtual void setSelected(bool selected, bool animated);
  void setSelected(bool selected) { setSelected(selected, false); }
  bool isHighlighted() const { return highlighted_; }
  virtual void setHighlighted(bool highlighted, bool animated);

  bool isEditing() const { return editing_; }
  virtual void setEditing(bool editing, bool animated);
  // Set by the table from its delegate and data source for the row the cell shows.
  TableViewCellEditingStyle editingStyle() const { return editingStyle_; }
  void setEditingStyle(TableViewCellEditingStyle style);
  bool showsReorderControl() const { return showsReorderControl_; }
  void setShowsReorderControl(bool shows);
  bool shouldIndentWhileEditing() const { return shouldIndentWhileEditing_; }
  void setShouldIndentWhileEditing(bool indent);
  // Whether the delete (or insert) control and the reorder handle are on screen now.
  bool showsEditingControl() const;
  bool showsReorderHandle() const {
    return editing_ && showsReorderControl_ && !showsDeleteConfirmation_;
  }
  // The red "Delete" button that a tap on the delete control reveals; it stands in for the
  // reorder handle. Only a tap on it deletes the row.
  bool showsDeleteConfirmation() const { return showsDeleteConfirmation_; }
  void setShowsDeleteConfirmation(bool shows);
  // Where the "Delete" button lies in the cell; empty while it is not shown.
  graphics::Rect deleteConfirmationFrame() const;

  // Set by the table: the line drawn along the cell's bottom edge.
  void setSeparator(TableViewCellSeparatorStyle style, const graphics::Color& color);

  // Called by dequeueReusableCellWithIdentifier before the cell is handed out again: clears
  // selection, highlight and editing state. Subclasses reset their own state and call this.
  virtual void prepareForReuse();

 protected:
  void layoutSubviews() override;

 private:
  // Labels and image views inside the content view show their highlighted look with the cell.
  void highlightContent(View* view, bool on);
  void updateSelectionLook();
  // Adds or removes the standard controls the current state shows.
  void updateControls();
  void setControl(std::shared_ptr<TableViewCellControl>& slot, bool shown,
                  TableViewCellControl::Kind kind);

  TableViewCellStyle style_;
  std::string reuseIdentifier_;
  std::shared_ptr<View> contentView_;
  std::shared_ptr<Label> textLabel_;
  std::shared_ptr<Label> detailTextLabel_;
  std::shared_ptr<ImageView> imageView_;
  TableViewCellAccessoryType accessoryType_ = TableViewCellAccessoryType::None;
  ViewPtr accessoryView_;
  TableViewCellAccessoryType editingAccessoryType_ = TableViewCellAccessoryType::None;
  ViewPtr editingAccessoryView_;
  ViewPtr backgroundView_;
  ViewPtr selectedBackgroundView_;
  ViewPtr defaultSelectedBackground_;
  std::shared_ptr<TableViewCellControl> accessoryControl_;
  std::shared_ptr<TableViewCellControl> editingControl_;
  std::shared_ptr<TableViewCellControl> reorderControl_;
  std::shared_ptr<TableViewCellControl> confirmationControl_;
  ViewPtr separator_;
  TableViewCellSelectionStyle selectionStyle_ = TableViewCellSelectionStyle::Blue;
  bool selected_ = false;
  bool highlighted_ = false;
  bool editing_ = false;
  TableViewCellEditingStyle editingStyle_ = TableViewCellEditingStyle::None;
  bool showsReorderControl_ = false;
  bool showsDeleteConfirmation_ = false;
  bool shouldIndentWhileEditing_ = true;
  TableViewCellSeparatorStyle separatorStyle_ = TableViewCellSeparatorStyle::None;
  graphics::Color separatorColor_ = graphics::Color::rgb(224, 224, 224);
};

using TableViewCellPtr = std::shared_ptr<TableViewCell>;

}  // namespace ui
