#pragma once
#include "platform/ui/View.h"

namespace ui {

// One of the small standard controls a table cell shows: its accessories at the right, the
// delete or insert control at the left, the reorder handle and the "Delete" button while editing.
class TableViewCellControl : public View {
 public:
  enum class Kind {
    DisclosureIndicator,
    DetailDisclosureButton,
    Checkmark,
    Delete,
    Insert,
    Reorder,
    // The red "Delete" button that confirms a deletion.
    DeleteConfirmation
  };

  TableViewCellControl(Kind kind, graphics::Rect frame);

  std::string_view className() const override { return "TableViewCellControl"; }
  Kind kind() const { return kind_; }
  // The delete control stands upright while its row shows the "Delete" button.
  void setTurned(bool turned);

  void draw(graphics::Painter& painter) const override;

 private:
  Kind kind_;
  bool turned_ = false;
};

}  // namespace ui
