#pragma once

namespace ui {

// The control a row shows at its left in editing mode, in the device's order.
enum class TableViewCellEditingStyle {
  None,
  Delete,
  Insert,
};

}  // namespace ui
