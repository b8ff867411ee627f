#pragma once
#include "platform/ui/View.h"

namespace ui {

// One of the small standard controls a table cell shows: its accessories at the right, the
// delete or insert control at the left and the reorder handle while editing.
class TableViewCellControl : public View {
 public:
  enum class Kind {
    DisclosureIndicator,
    DetailDisclosureButton,
    Checkmark,
    Delete,
    Insert,
    Reorder
  };

  TableViewCellControl(Kind kind, graphics::Rect frame);

  std::string_view className() const override { return "TableViewCellControl"; }
  Kind kind() const { return kind_; }

  void draw(graphics::Painter& painter) const override;

 private:
  Kind kind_;
};

}  // namespace ui
