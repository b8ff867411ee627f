#pragma once
#include <string>
#include <vector>

#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

// Rows of text in sections; cells are reused under "cell" and counted when made anew.
struct TestDataSource : ui::TableViewDataSource, ui::TableViewDelegate {
  std::vector<std::vector<std::string>> sections;
  int cellsMade = 0;
  std::vector<ui::IndexPath> selected;
  bool movable = true;

  static TestDataSource rows(int count) {
    TestDataSource d;
    d.sections.emplace_back();
    for (int i = 0; i < count; ++i) d.sections[0].push_back("r" + std::to_string(i));
    return d;
  }

  int numberOfSectionsInTableView(ui::TableView&) override { return int(sections.size()); }
  int numberOfRowsInSection(ui::TableView&, int s) override { return int(sections[s].size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table,
                                                           ui::IndexPath p) override {
    auto cell = table.dequeueReusableCellWithIdentifier("cell");
    if (!cell) {
      cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "cell");
      ++cellsMade;
    }
    cell->textLabel()->setText(sections[p.section][p.row]);
    return cell;
  }
  bool canMoveRowAtIndexPath(ui::TableView&, ui::IndexPath) override { return movable; }
  void commitEditingStyle(ui::TableView& table, ui::TableViewCellEditingStyle style,
                          ui::IndexPath p) override {
    if (style != ui::TableViewCellEditingStyle::Delete) return;
    sections[p.section].erase(sections[p.section].begin() + p.row);
    table.deleteRowsAtIndexPaths({p}, ui::TableViewRowAnimation::Left);
  }
  void moveRowAtIndexPath(ui::TableView&, ui::IndexPath from, ui::IndexPath to) override {
    std::string moved = sections[from.section][from.row];
    sections[from.section].erase(sections[from.section].begin() + from.row);
    sections[to.section].insert(sections[to.section].begin() + to.row, moved);
  }
  void didSelectRowAtIndexPath(ui::TableView&, ui::IndexPath p) override { selected.push_back(p); }

  // A table of `height` points showing `data`, which is also its delegate.
  static std::shared_ptr<ui::TableView> table(TestDataSource& data, double height = 440) {
    auto table = std::make_shared<ui::TableView>(graphics::Rect{0, 0, 320, height});
    table->setDataSource(&data);
    table->setDelegate(&data);
    return table;
  }

  // The text of every visible cell, in row order.
  static std::vector<std::string> shownTexts(ui::TableView& table) {
    std::vector<std::string> texts;
    for (ui::TableViewCell* cell : table.visibleCells()) texts.push_back(cell->textLabel()->text());
    return texts;
  }
};
