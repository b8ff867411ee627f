#include "platform/ui/TableViewController.h"

#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace ui {

TableViewController::TableViewController(TableViewStyle style) : style_(style) {}

TableView& TableViewController::tableView() {
  view();
  return *table_;
}

void TableViewController::loadView() {
  graphics::Size screen = Window::screenSize(Application::shared().statusBarOrientation());
  table_ = std::make_shared<TableView>(graphics::Rect{0, Window::kStatusBarHeight, screen.width,
                                                      screen.height - Window::kStatusBarHeight},
                                       style_);
  table_->setDataSource(this);
  table_->setDelegate(this);
  setView(table_);
}

void TableViewController::viewWillAppear(bool animated) {
  if (!appeared_) {
    appeared_ = true;
    table_->reloadData();
  }
  if (clearsSelection_) {
    if (auto selected = table_->indexPathForSelectedRow()) {
      table_->deselectRowAtIndexPath(*selected, animated);
    }
  }
}

}  // namespace ui
