#pragma once
#include <memory>

#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

namespace ui {

// A screen that is one table, plain or grouped, filling its view. The controller is the
// table's data source and delegate unless others are set. The first time it appears the table
// reads its data; each time it appears the selected row is deselected (animated), so a row
// that led to another screen is not still selected on the way back.
class TableViewController : public ViewController,
                            public TableViewDataSource,
                            public TableViewDelegate {
 public:
  explicit TableViewController(TableViewStyle style = TableViewStyle::Plain);

  TableViewStyle tableViewStyle() const { return style_; }
  // The table (the view, loaded on first use).
  TableView& tableView();

  bool clearsSelectionOnViewWillAppear() const { return clearsSelection_; }
  void setClearsSelectionOnViewWillAppear(bool clears) { clearsSelection_ = clears; }

  void loadView() override;
  void viewWillAppear(bool animated) override;

  int numberOfRowsInSection(TableView&, int) override { return 0; }

 private:
  TableViewStyle style_;
  std::shared_ptr<TableView> table_;
  bool clearsSelection_ = true;
  bool appeared_ = false;
};

}  // namespace ui
