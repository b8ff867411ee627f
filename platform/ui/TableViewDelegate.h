#pragma once
#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableViewCellEditingStyle.h"

namespace ui {

class TableView;

// Hears selections and shapes rows; every method is optional. Not owned by the table.
class TableViewDelegate : public ScrollViewDelegate {
 public:
  // Height of one row; the table's rowHeight when not overridden.
  virtual double heightForRowAtIndexPath(TableView& tableView, IndexPath indexPath);
  // The user selected a row (a tap, not selectRowAtIndexPath).
  virtual void didSelectRowAtIndexPath(TableView&, IndexPath) {}
  // The user's tap on another row took the selection away from this one.
  virtual void didDeselectRowAtIndexPath(TableView&, IndexPath) {}
  // The user pressed the detail disclosure button of a row.
  virtual void accessoryButtonTappedForRowWithIndexPath(TableView&, IndexPath) {}
  // The control an editable row shows in editing mode.
  virtual TableViewCellEditingStyle editingStyleForRowAtIndexPath(TableView&, IndexPath) {
    return TableViewCellEditingStyle::Delete;
  }
  // Whether the row's content moves right to make room for the editing control.
  virtual bool shouldIndentWhileEditingRowAtIndexPath(TableView&, IndexPath) { return true; }
};

}  // namespace ui
