#include "reader/screens/ContentView.h"

#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "reader/screens/CustomButton.h"
#include "reader/screens/GridPlacement.h"

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
  auto grid = std::make_shared<ui::ScrollView>(frame);
  grid->setTag(kTag);
  grid->setShowsHorizontalScrollIndicator(false);
  grid->setShowsVerticalScrollIndicator(false);

  CustomButton factory;
  for (size_t i = 0; i < stories.size(); ++i) {
    GridPlacement::Tile place = GridPlacement::tileAt(i, landscape);
    auto tile =
        factory.getCustomButtonWithItem(*stories[i], place.type, static_cast<int>(place.frame.x()),
                                        static_cast<int>(place.frame.y()));
    tile->setFrame(place.frame);
    tile->setBackgroundImage(graphics::Image::named("focus.png"), ui::ControlState::Highlighted);
    tile->setBackgroundImage(graphics::Image::named("focus.png"), ui::ControlState::Selected);
    int tag = static_cast<int>(i);
    tile->setTag(tag);
    tile->addTarget([tapped, tag] { tapped(tag); });
    grid->addSubview(tile);
  }
  grid->setContentSize(GridPlacement::contentSize(stories.size(), landscape));
  return grid;
}
