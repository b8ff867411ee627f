#include "platform/ui/TableViewDelegate.h"

#include "platform/ui/TableView.h"

namespace ui {

double TableViewDelegate::heightForRowAtIndexPath(TableView& tableView, IndexPath) {
  return tableView.rowHeight();
}

}  // namespace ui
