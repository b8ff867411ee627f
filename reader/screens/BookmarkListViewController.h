#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "reader/model/Item.h"
#include "reader/screens/ReaderScreen.h"

namespace ui {
class TableView;
}

// The saved stories, newest first. A row opens the story in the article reader; in edit mode
// rows can be deleted and moved. Every change is stored at once, and the stored list is read
// again whenever the screen comes into view, so changes made meanwhile elsewhere show here.
class BookmarkListViewController : public ReaderScreen,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate {
 public:
  static constexpr double kRowHeight = 60;
  static constexpr const char* kCellIdentifier = "cell";

  // initWithItem:withLandscape:; the list in stored order (oldest first); the flag is set for
  // "YES".
  BookmarkListViewController(std::vector<ItemPtr> saved, const std::string& landscape);
  ~BookmarkListViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation,
                                        double duration) override;

  void setupTheView();
  // The edit button: enters or leaves edit mode.
  void rightButtonPush();
  void saveData();

  int numberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           ui::IndexPath indexPath) override;
  bool canMoveRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;
  void commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style,
                          ui::IndexPath indexPath) override;
  void moveRowAtIndexPath(ui::TableView& tableView, ui::IndexPath from, ui::IndexPath to) override;
  double heightForRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;
  ui::TableViewCellEditingStyle editingStyleForRowAtIndexPath(ui::TableView& tableView,
                                                              ui::IndexPath indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath indexPath) override;

  const std::vector<ItemPtr>& stories() const { return dataInArray; }
  ui::TableView* tableView() const { return myTableView.get(); }
  ui::Button* editButton() const { return myButton.get(); }
  bool editing() const { return isEditing; }

 private:
  void applyFrames();
  // Index in dataInArray of the story shown in `row` (newest on top).
  size_t storyIndexForRow(int row) const;

  std::vector<ItemPtr> dataInArray;
  std::shared_ptr<ui::Button> myButton;
  std::shared_ptr<ui::TableView> myTableView;
  bool isEditing = false;
  std::shared_ptr<ui::Button> backB, _extraToolBtn, rightB;
};
