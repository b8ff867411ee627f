#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewCellEditingStyle.h"

namespace ui {

class TableView;
class TableViewCell;

// Supplies a table's rows. The table does not own its data source.
class TableViewDataSource {
 public:
  virtual ~TableViewDataSource() = default;

  virtual int numberOfSectionsInTableView(TableView&) { return 1; }
  virtual int numberOfRowsInSection(TableView& tableView, int section) = 0;
  // A cell for the row, typically taken from dequeueReusableCellWithIdentifier and refilled.
  // Returning nullptr is an error: the row is left empty and a line is logged.
  virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                               IndexPath indexPath) = 0;

  virtual std::optional<std::string> titleForHeaderInSection(TableView&, int) {
    return std::nullopt;
  }
  virtual std::optional<std::string> titleForFooterInSection(TableView&, int) {
    return std::nullopt;
  }

  // Editing: whether the row shows an editing control at all.
  virtual bool canEditRowAtIndexPath(TableView&, IndexPath) { return true; }
  // Reordering is off unless the data source says so (and then implements moveRowAtIndexPath).
  virtual bool canMoveRowAtIndexPath(TableView&, IndexPath) { return false; }
  // The user pressed a row's delete (or insert) control. The data source changes its data and
  // then tells the table, e.g. with deleteRowsAtIndexPaths.
  virtual void commitEditingStyle(TableView&, TableViewCellEditingStyle, IndexPath) {}
  // The user dragged a row to another place; the table has already moved it on screen.
  virtual void moveRowAtIndexPath(TableView&, IndexPath, IndexPath) {}
};

}  // namespace ui
