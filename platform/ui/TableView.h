#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TableViewRowAnimation.h"

namespace ui {

class Label;

enum class TableViewStyle { Plain, Grouped };

// Where scrollToRowAtIndexPath puts the row, in the device's order.
enum class TableViewScrollPosition { None, Top, Middle, Bottom };

// A scrolling list of rows in sections. Only the rows in view have cells; a cell that scrolls
// out of view goes to a reuse pool under its reuse identifier, from which the data source takes
// it again with dequeueReusableCellWithIdentifier. The data is read on first need (layout or a
// query) and again on reloadData; insertRows and deleteRows change it row by row, animated.
class TableView : public ScrollView {
 public:
  static constexpr double kDefaultRowHeight = 44;
  static constexpr double kRowAnimationDuration = 0.3;

  explicit TableView(graphics::Rect frame = {}, TableViewStyle style = TableViewStyle::Plain);
  ~TableView() override;

  std::string_view className() const override { return "TableView"; }
  TableViewStyle style() const { return style_; }

  TableViewDataSource* dataSource() const { return dataSource_; }
  void setDataSource(TableViewDataSource* dataSource);
  // The table's delegate is also its scroll view delegate.
  TableViewDelegate* delegate() const { return delegate_; }
  void setDelegate(TableViewDelegate* delegate);

  double rowHeight() const { return rowHeight_; }
  void setRowHeight(double height);
  double sectionHeaderHeight() const { return sectionHeaderHeight_; }
  void setSectionHeaderHeight(double height);
  double sectionFooterHeight() const { return sectionFooterHeight_; }
  void setSectionFooterHeight(double height);
  TableViewCellSeparatorStyle separatorStyle() const { return separatorStyle_; }
  void setSeparatorStyle(TableViewCellSeparatorStyle style);
  const graphics::Color& separatorColor() const { return separatorColor_; }
  void setSeparatorColor(const graphics::Color& color);
  // Fills the table behind the rows and does not scroll.
  View* backgroundView() const { return backgroundView_.get(); }
  void setBackgroundView(ViewPtr view);
  bool allowsSelection() const { return allowsSelection_; }
  void setAllowsSelection(bool allows) { allowsSelection_ = allows; }
  bool allowsSelectionDuringEditing() const { return allowsSelectionDuringEditing_; }
  void setAllowsSelectionDuringEditing(bool allows) { allowsSelectionDuringEditing_ = allows; }

  // Reads every count and height again and rebuilds the visible cells.
  void reloadData();
  int numberOfSections();
  // 0 for a section that does not exist.
  int numberOfRowsInSection(int section);

  // A cell from the reuse pool, prepared for reuse, or nullptr when none is waiting.
  std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);

  // The cells on screen, in row order, and their rows.
  std::vector<TableViewCell*> visibleCells();
  std::vector<IndexPath> indexPathsForVisibleRows();
  // The cell of a row on screen, else nullptr.
  TableViewCell* cellForRowAtIndexPath(IndexPath indexPath);
  std::optional<IndexPath> indexPathForCell(const TableViewCell* cell);
  // The row at a point of the content, if any.
  std::optional<IndexPath> indexPathForRowAtPoint(graphics::Point point);
  // Where a row lies in the content; empty for a row that does not exist.
  graphics::Rect rectForRowAtIndexPath(IndexPath indexPath);
  void scrollToRowAtIndexPath(IndexPath indexPath, TableViewScrollPosition position, bool animated);

  std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
  // Programmatic selection: the delegate hears nothing.
  void selectRowAtIndexPath(std::optional<IndexPath> indexPath, bool animated,
                            TableViewScrollPosition position);
  void deselectRowAtIndexPath(IndexPath indexPath, bool animated);

  bool isEditing() const { return editing_; }
  void setEditing(bool editing, bool animated);

  // Row changes that the data source has already made to its data. Deleted rows are named by
  // their index paths before the change, inserted rows by theirs after it. Between
  // beginUpdates and endUpdates the changes are collected and shown together. When the counts
  // the data source then reports do not match the changes, the table logs the mismatch and
  // reloads everything instead.
  void beginUpdates();
  void endUpdates();
  void insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                              TableViewRowAnimation animation);
  void deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                              TableViewRowAnimation animation);
  // Cells still moving out after a deletion (they are no longer visible cells).
  size_t numberOfRowsAnimatingOut() const { return outgoing_.size(); }

  // What a user's finger does. Each returns whether anything happened.
  // A tap on a row: selects it and tells the delegate (not while editing unless allowed).
  bool tapRowAtIndexPath(IndexPath indexPath);
  // A tap on the row's detail disclosure button.
  bool tapAccessoryButtonForRowAtIndexPath(IndexPath indexPath);
  // Editing mode: the row's delete (or insert) control, confirmed; the data source commits it.
  bool tapEditingControlForRowAtIndexPath(IndexPath indexPath);
  // The row whose "Delete" button shows: a finger on a delete control reveals it, and only a
  // tap on it deletes; any other tap puts it away.
  std::optional<IndexPath> indexPathShowingDeleteConfirmation() const { return confirming_; }
  // Editing mode: drags a movable row by its reorder handle to `to`; the table moves it on
  // screen and then tells the data source.
  bool dragRow(IndexPath from, IndexPath to);

  // A finger on a row highlights it; lifting it on the same row taps the row, its editing
  // control, its "Delete" button or its detail button, whichever is under the finger. A finger
  // on a reorder handle drags the row instead: the row follows it and is moved (dragRow) to
  // where it is let go.
  bool touchBegan(graphics::Point point) override;
  void touchMoved(graphics::Point point) override;
  void touchEnded(graphics::Point point, bool inside) override;
  void touchCancelled() override;
  bool isTrackingTouch() const override { return reorder_.has_value(); }

 protected:
  void layoutSubviews() override;
  void boundsOriginDidChange() override;

 private:
  struct Section {
    int rows = 0;
    double y = 0;  // top of the section (its header)
    double headerHeight = 0;
    double footerHeight = 0;
    std::optional<std::string> headerTitle;
    std::optional<std::string> footerTitle;
    double footerTitleHeight = 0;  // grouped: the caption's height, wrapped to the table's width
    std::vector<double> rowY;
    std::vector<double> rowHeight;
  };
  struct Update {
    IndexPath indexPath;
    TableViewRowAnimation animation;
  };

  void ensureLoaded();
  // Reads the counts, titles and heights and lays out the sections; no cells are touched.
  void loadMetrics();
  void tileCells(const std::map<IndexPath, TableViewRowAnimation>& incoming = {},
                 bool animateMoves = false);
  std::shared_ptr<TableViewCell> makeCell(IndexPath indexPath);
  void configureCell(TableViewCell& cell, IndexPath indexPath, bool animated);
  void recycle(std::shared_ptr<TableViewCell> cell);
  void rebuildSectionLabels();
  double groupedFooterHeight(const std::string& text) const;
  bool isValid(IndexPath indexPath) const;
  graphics::Rect cellFrame(IndexPath indexPath) const;
  void applyUpdates();
  void showDeleteConfirmation(std::optional<IndexPath> indexPath);
  // Ends a reorder drag with the finger at `y`: the row moves to the row under it, if another.
  void finishReorder(std::optional<double> y);
  void animateOut(std::shared_ptr<TableViewCell> cell, TableViewRowAnimation animation);
  static graphics::Rect displacedFrame(const graphics::Rect& frame,
                                       TableViewRowAnimation animation);

  TableViewStyle style_;
  TableViewDataSource* dataSource_ = nullptr;
  TableViewDelegate* delegate_ = nullptr;
  double rowHeight_ = kDefaultRowHeight;
  double sectionHeaderHeight_;
  double sectionFooterHeight_;
  TableViewCellSeparatorStyle separatorStyle_ = TableViewCellSeparatorStyle::SingleLine;
  graphics::Color separatorColor_ = graphics::Color::rgb(224, 224, 224);
  ViewPtr backgroundView_;
  bool allowsSelection_ = true;
  bool allowsSelectionDuringEditing_ = false;

  bool loaded_ = false;
  bool tiling_ = false;
  std::vector<Section> sections_;
  std::map<IndexPath, std::shared_ptr<TableViewCell>> visible_;
  std::map<std::string, std::vector<std::shared_ptr<TableViewCell>>> reusePool_;
  std::vector<std::shared_ptr<TableViewCell>> outgoing_;
  std::vector<std::shared_ptr<Label>> sectionLabels_;
  std::optional<IndexPath> selected_;
  bool editing_ = false;
  std::optional<IndexPath> touchedRow_;
  std::optional<IndexPath> confirming_;
  // A row dragged by its reorder handle, and where the finger holds its cell.
  struct Reorder {
    IndexPath from;
    double grab;
  };
  std::optional<Reorder> reorder_;

  int updateDepth_ = 0;
  std::vector<Update> pendingDeletes_;
  std::vector<Update> pendingInserts_;
  // Lets animation completions notice that the table is gone.
  std::shared_ptr<TableView*> self_;
};

}  // namespace ui
