#include "reader/screens/ContentView.h"

#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "reader/screens/StoryGrid.h"

void ContentView::remove(ui::View& screenView) {
  for (const auto& subview : screenView.subviews()) {
    if (subview->tag() == kTag) {
      subview->removeFromSuperview();
      return;
    }
  }
}

std::shared_ptr<ui::TableView> ContentView::makeTable(const graphics::Rect& frame,
                                                      ui::TableViewDataSource* dataSource,
                                                      ui::TableViewDelegate* delegate) {
  auto table = std::make_shared<ui::TableView>(frame, ui::TableViewStyle::Plain);
  table->setBackgroundColor(graphics::Color::clear());
  table->setTag(kTag);
  table->setDelegate(delegate);
  table->setDataSource(dataSource);
  table->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  return table;
}

std::shared_ptr<ui::ScrollView> ContentView::makeStoryGrid(const graphics::Rect& frame,
                                                           const std::vector<ItemPtr>& stories,
                                                           bool landscape,
                                                           const std::function<void(int)>& tapped) {
  auto grid = std::make_shared<StoryGrid>(frame, stories, landscape, tapped);
  grid->setTag(kTag);
  grid->setShowsHorizontalScrollIndicator(false);
  grid->setShowsVerticalScrollIndicator(false);
  return grid;
}
