#include "platform/ui/TableView.h"

#include "platform/graphics/TextMeasurer.h"

#include <algorithm>
#include <set>
#include <string>

#include "platform/base/Log.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Label.h"

namespace ui {

using graphics::Color;
using graphics::Point;
using graphics::Rect;

namespace {
// Grouped tables inset their rows from the sides and leave gaps between sections.
constexpr double kGroupedInset = 10;
constexpr double kGroupedTitleHeight = 36;
constexpr double kPlainSectionHeight = 22;
constexpr double kGroupedSectionGap = 10;

std::string describe(IndexPath p) {
  return "section " + std::to_string(p.section) + " row " + std::to_string(p.row);
}
}  // namespace

TableView::TableView(Rect frame, TableViewStyle style)
    : ScrollView(frame),
      style_(style),
      sectionHeaderHeight_(style == TableViewStyle::Plain ? kPlainSectionHeight
                                                          : kGroupedSectionGap),
      sectionFooterHeight_(style == TableViewStyle::Plain ? kPlainSectionHeight
                                                          : kGroupedSectionGap),
      self_(std::make_shared<TableView*>(this)) {
  if (style == TableViewStyle::Grouped) {
    setBackgroundColor(Color::rgb(197, 204, 212));
  } else {
    setBackgroundColor(Color::white());
  }
}

TableView::~TableView() {
  *self_ = nullptr;
}

void TableView::setDataSource(TableViewDataSource* dataSource) {
  dataSource_ = dataSource;
  loaded_ = false;
  setNeedsLayout();
}

void TableView::setDelegate(TableViewDelegate* delegate) {
  delegate_ = delegate;
  ScrollView::setDelegate(delegate);
  loaded_ = false;
  setNeedsLayout();
}

void TableView::setRowHeight(double height) {
  rowHeight_ = height;
  loaded_ = false;
  setNeedsLayout();
}

void TableView::setSectionHeaderHeight(double height) {
  sectionHeaderHeight_ = height;
  loaded_ = false;
  setNeedsLayout();
}

void TableView::setSectionFooterHeight(double height) {
  sectionFooterHeight_ = height;
  loaded_ = false;
  setNeedsLayout();
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style) {
  separatorStyle_ = style;
  for (auto& [path, cell] : visible_) cell->setSeparator(separatorStyle_, separatorColor_);
}

void TableView::setSeparatorColor(const Color& color) {
  separatorColor_ = color;
  for (auto& [path, cell] : visible_) cell->setSeparator(separatorStyle_, separatorColor_);
}

void TableView::setBackgroundView(ViewPtr view) {
  if (backgroundView_) backgroundView_->removeFromSuperview();
  backgroundView_ = std::move(view);
  if (backgroundView_) {
    backgroundView_->setFrame(bounds());
    insertSubview(backgroundView_, 0);
  }
}

void TableView::ensureLoaded() {
  if (!loaded_) reloadData();
}

void TableView::reloadData() {
  if (tiling_) {
    base::log("TableView: reloadData while making cells is ignored");
    return;
  }
  loaded_ = true;
  confirming_.reset();
  pendingDeletes_.clear();
  pendingInserts_.clear();
  auto outgoing = std::move(outgoing_);
  outgoing_.clear();
  for (auto& cell : outgoing) recycle(cell);
  auto cells = std::move(visible_);
  visible_.clear();
  for (auto& [path, cell] : cells) recycle(cell);

  loadMetrics();
  if (selected_ && !isValid(*selected_)) selected_.reset();
  // Content that shrank below the offset would leave nothing in view.
  Point offset = contentOffset();
  Point max = maximumContentOffset();
  if (offset.y > max.y) setContentOffset({offset.x, max.y});
  tileCells();
}

void TableView::loadMetrics() {
  sections_.clear();
  double y = 0;
  int count = dataSource_ ? std::max(0, dataSource_->numberOfSectionsInTableView(*this)) : 0;
  for (int s = 0; s < count; ++s) {
    Section section;
    section.y = y;
    section.rows = std::max(0, dataSource_->numberOfRowsInSection(*this, s));
    section.headerTitle = dataSource_->titleForHeaderInSection(*this, s);
    section.footerTitle = dataSource_->titleForFooterInSection(*this, s);
    if (style_ == TableViewStyle::Plain) {
      section.headerHeight = section.headerTitle ? sectionHeaderHeight_ : 0;
      section.footerHeight = section.footerTitle ? sectionFooterHeight_ : 0;
    } else {
      section.headerHeight = sectionHeaderHeight_ + (section.headerTitle ? kGroupedTitleHeight : 0);
      section.footerTitleHeight =
          section.footerTitle ? groupedFooterHeight(*section.footerTitle) : 0;
      section.footerHeight = sectionFooterHeight_ + section.footerTitleHeight;
    }
    y += section.headerHeight;
    for (int r = 0; r < section.rows; ++r) {
      double h =
          delegate_ ? delegate_->heightForRowAtIndexPath(*this, IndexPath{s, r}) : rowHeight_;
      section.rowY.push_back(y);
      section.rowHeight.push_back(std::max(0.0, h));
      y += section.rowHeight.back();
    }
    y += section.footerHeight;
    sections_.push_back(std::move(section));
  }
  setContentSize({bounds().width(), y});
  rebuildSectionLabels();
}

// A grouped section's caption wraps rather than being cut: one line keeps the usual height, and
// each further line of the footer font adds its height.
double TableView::groupedFooterHeight(const std::string& text) const {
  const double width = bounds().width() - 4 * kGroupedInset;
  if (width <= 0) return kGroupedTitleHeight;
  auto measurer = graphics::TextMeasurer::current();
  const graphics::Font font = graphics::Font::system(15);
  int lines = measurer->lineCount(text, font, width, graphics::LineBreakMode::WordWrap);
  return kGroupedTitleHeight + std::max(0, lines - 1) * measurer->lineHeight(font);
}

void TableView::rebuildSectionLabels() {
  for (auto& label : sectionLabels_) label->removeFromSuperview();
  sectionLabels_.clear();
  double width = bounds().width();
  auto add = [&](const std::string& text, Rect frame, bool header) {
    auto label = std::make_shared<Label>(frame);
    label->setText(text);
    if (style_ == TableViewStyle::Plain) {
      label->setFont(graphics::Font::boldSystem(18));
      label->setTextColor(Color::white());
      label->setBackgroundColor(Color::rgb(144, 159, 170, 0.9));
    } else {
      label->setFont(header ? graphics::Font::boldSystem(17) : graphics::Font::system(15));
      label->setTextColor(Color::rgb(76, 86, 108));
      label->setBackgroundColor(Color::clear());
      label->setTextAlignment(header ? graphics::TextAlignment::Left
                                     : graphics::TextAlignment::Center);
    }
    addSubview(label);
    sectionLabels_.push_back(std::move(label));
  };
  double inset = style_ == TableViewStyle::Grouped ? 2 * kGroupedInset : 10;
  for (const Section& s : sections_) {
    if (s.headerTitle) {
      double h = style_ == TableViewStyle::Plain ? s.headerHeight : kGroupedTitleHeight;
      add(*s.headerTitle, Rect{inset, s.y + s.headerHeight - h, width - 2 * inset, h}, true);
    }
    if (s.footerTitle) {
      double bottom = s.rowY.empty() ? s.y + s.headerHeight : s.rowY.back() + s.rowHeight.back();
      double h = style_ == TableViewStyle::Plain ? s.footerHeight : s.footerTitleHeight;
      add(*s.footerTitle, Rect{inset, bottom, width - 2 * inset, h}, false);
      if (style_ == TableViewStyle::Grouped) {
        sectionLabels_.back()->setNumberOfLines(0);
        sectionLabels_.back()->setLineBreakMode(graphics::LineBreakMode::WordWrap);
      }
    }
  }
}

int TableView::numberOfSections() {
  ensureLoaded();
  return static_cast<int>(sections_.size());
}

int TableView::numberOfRowsInSection(int section) {
  ensureLoaded();
  if (section < 0 || section >= static_cast<int>(sections_.size())) return 0;
  return sections_[section].rows;
}

bool TableView::isValid(IndexPath p) const {
  return p.section >= 0 && p.section < static_cast<int>(sections_.size()) && p.row >= 0 &&
         p.row < sections_[p.section].rows;
}

Rect TableView::cellFrame(IndexPath p) const {
  const Section& s = sections_[p.section];
  double x = style_ == TableViewStyle::Grouped ? kGroupedInset : 0;
  return Rect{x, s.rowY[p.row], bounds().width() - 2 * x, s.rowHeight[p.row]};
}

Rect TableView::rectForRowAtIndexPath(IndexPath indexPath) {
  ensureLoaded();
  return isValid(indexPath) ? cellFrame(indexPath) : Rect{};
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(
    const std::string& identifier) {
  auto it = reusePool_.find(identifier);
  if (it == reusePool_.end() || it->second.empty()) return nullptr;
  auto cell = std::move(it->second.back());
  it->second.pop_back();
  cell->prepareForReuse();
  return cell;
}

void TableView::recycle(std::shared_ptr<TableViewCell> cell) {
  Animator::shared().cancelAnimations(*cell);
  cell->removeFromSuperview();
  cell->setAlpha(1);
  if (!cell->reuseIdentifier().empty()) {
    reusePool_[cell->reuseIdentifier()].push_back(std::move(cell));
  }
}

std::shared_ptr<TableViewCell> TableView::makeCell(IndexPath indexPath) {
  auto cell = dataSource_->cellForRowAtIndexPath(*this, indexPath);
  if (!cell) {
    base::log("TableView: the data source gave no cell for " + describe(indexPath));
    return nullptr;
  }
  for (auto& [path, shown] : visible_) {
    if (shown == cell) {
      base::log("TableView: the data source gave a cell already on screen for " +
                describe(indexPath));
      return nullptr;
    }
  }
  return cell;
}

void TableView::configureCell(TableViewCell& cell, IndexPath indexPath, bool animated) {
  cell.setSeparator(separatorStyle_, separatorColor_);
  cell.setSelected(selected_ == indexPath, false);
  bool canEdit = dataSource_ && dataSource_->canEditRowAtIndexPath(*this, indexPath);
  TableViewCellEditingStyle style = TableViewCellEditingStyle::None;
  if (canEdit) {
    style = delegate_ ? delegate_->editingStyleForRowAtIndexPath(*this, indexPath)
                      : TableViewCellEditingStyle::Delete;
  }
  cell.setEditingStyle(style);
  cell.setShowsReorderControl(canEdit && dataSource_->canMoveRowAtIndexPath(*this, indexPath));
  cell.setShouldIndentWhileEditing(
      !delegate_ || delegate_->shouldIndentWhileEditingRowAtIndexPath(*this, indexPath));
  cell.setEditing(editing_, animated);
}

Rect TableView::displacedFrame(const Rect& frame, TableViewRowAnimation animation) {
  switch (animation) {
    case TableViewRowAnimation::Left:
      return frame.offsetBy(-frame.width(), 0);
    case TableViewRowAnimation::Right:
      return frame.offsetBy(frame.width(), 0);
    case TableViewRowAnimation::Top:
      return frame.offsetBy(0, -frame.height());
    case TableViewRowAnimation::Bottom:
      return frame.offsetBy(0, frame.height());
    case TableViewRowAnimation::Middle:
      return Rect{frame.x(), frame.midY(), frame.width(), 0};
    case TableViewRowAnimation::Fade:
    case TableViewRowAnimation::None:
      break;
  }
  return frame;
}

void TableView::tileCells(const std::map<IndexPath, TableViewRowAnimation>& incoming,
                          bool animateMoves) {
  if (tiling_ || !dataSource_) return;
  tiling_ = true;
  Rect visibleRect = bounds();
  if (backgroundView_) backgroundView_->setFrame(visibleRect);

  for (auto it = visible_.begin(); it != visible_.end();) {
    if (isValid(it->first) && cellFrame(it->first).intersects(visibleRect)) {
      ++it;
    } else {
      recycle(it->second);
      it = visible_.erase(it);
    }
  }

  for (int s = 0; s < static_cast<int>(sections_.size()); ++s) {
    for (int r = 0; r < sections_[s].rows; ++r) {
      IndexPath path{s, r};
      Rect frame = cellFrame(path);
      if (frame.maxY() <= visibleRect.minY()) continue;
      if (frame.minY() >= visibleRect.maxY()) break;
      if (!frame.intersects(visibleRect)) continue;
      if (auto it = visible_.find(path); it != visible_.end()) {
        TableViewCell& cell = *it->second;
        if (cell.frame() == frame || (reorder_ && reorder_->from == path)) continue;
        if (animateMoves) {
          animate(kRowAnimationDuration, [&cell, frame] { cell.setFrame(frame); });
        } else {
          cell.setFrame(frame);
        }
        continue;
      }
      auto cell = makeCell(path);
      if (!cell) continue;
      configureCell(*cell, path, false);
      auto arriving = incoming.find(path);
      if (arriving != incoming.end() && arriving->second != TableViewRowAnimation::None) {
        cell->setFrame(displacedFrame(frame, arriving->second));
        cell->setAlpha(0);
        TableViewCell* c = cell.get();
        animate(kRowAnimationDuration, [c, frame] {
          c->setFrame(frame);
          c->setAlpha(1);
        });
      } else {
        cell->setFrame(frame);
      }
      // Cells lie above the background view and below the section titles.
      insertSubview(cell, backgroundView_ ? 1 : 0);
      visible_[path] = std::move(cell);
    }
  }
  tiling_ = false;
}

void TableView::layoutSubviews() {
  if (!loaded_) {
    reloadData();
    return;
  }
  setContentSize({bounds().width(), contentSize().height});
  rebuildSectionLabels();
  tileCells();
}

void TableView::boundsOriginDidChange() {
  ScrollView::boundsOriginDidChange();
  if (loaded_) tileCells();
}

std::vector<TableViewCell*> TableView::visibleCells() {
  ensureLoaded();
  std::vector<TableViewCell*> cells;
  for (auto& [path, cell] : visible_) cells.push_back(cell.get());
  return cells;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() {
  ensureLoaded();
  std::vector<IndexPath> paths;
  for (auto& [path, cell] : visible_) paths.push_back(path);
  return paths;
}

TableViewCell* TableView::cellForRowAtIndexPath(IndexPath indexPath) {
  ensureLoaded();
  auto it = visible_.find(indexPath);
  return it == visible_.end() ? nullptr : it->second.get();
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell* cell) {
  ensureLoaded();
  for (auto& [path, shown] : visible_) {
    if (shown.get() == cell) return path;
  }
  return std::nullopt;
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) {
  ensureLoaded();
  for (int s = 0; s < static_cast<int>(sections_.size()); ++s) {
    for (int r = 0; r < sections_[s].rows; ++r) {
      if (cellFrame(IndexPath{s, r}).contains(point)) return IndexPath{s, r};
    }
  }
  return std::nullopt;
}

void TableView::scrollToRowAtIndexPath(IndexPath indexPath, TableViewScrollPosition position,
                                       bool animated) {
  ensureLoaded();
  if (!isValid(indexPath)) return;
  Rect row = cellFrame(indexPath);
  double height = bounds().height();
  double y = contentOffset().y;
  switch (position) {
    case TableViewScrollPosition::None:
      scrollRectToVisible(row, animated);
      return;
    case TableViewScrollPosition::Top:
      y = row.minY();
      break;
    case TableViewScrollPosition::Middle:
      y = row.midY() - height / 2;
      break;
    case TableViewScrollPosition::Bottom:
      y = row.maxY() - height;
      break;
  }
  y = std::clamp(y, 0.0, maximumContentOffset().y);
  setContentOffset({contentOffset().x, y}, animated);
}

void TableView::selectRowAtIndexPath(std::optional<IndexPath> indexPath, bool animated,
                                     TableViewScrollPosition position) {
  ensureLoaded();
  if (selected_) {
    if (TableViewCell* old = cellForRowAtIndexPath(*selected_)) old->setSelected(false, animated);
    selected_.reset();
  }
  if (!indexPath || !isValid(*indexPath)) return;
  selected_ = indexPath;
  if (TableViewCell* cell = cellForRowAtIndexPath(*indexPath)) cell->setSelected(true, animated);
  if (position != TableViewScrollPosition::None) {
    scrollToRowAtIndexPath(*indexPath, position, animated);
  }
}

void TableView::deselectRowAtIndexPath(IndexPath indexPath, bool animated) {
  if (selected_ != indexPath) return;
  selected_.reset();
  if (TableViewCell* cell = cellForRowAtIndexPath(indexPath)) cell->setSelected(false, animated);
}

void TableView::setEditing(bool editing, bool animated) {
  ensureLoaded();
  if (editing == editing_) return;
  editing_ = editing;
  confirming_.reset();
  for (auto& [path, cell] : visible_) configureCell(*cell, path, animated);
}

void TableView::beginUpdates() {
  ++updateDepth_;
}

void TableView::endUpdates() {
  if (updateDepth_ == 0) return;
  if (--updateDepth_ == 0) applyUpdates();
}

void TableView::insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                       TableViewRowAnimation animation) {
  beginUpdates();
  for (IndexPath p : indexPaths) pendingInserts_.push_back(Update{p, animation});
  endUpdates();
}

void TableView::deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                       TableViewRowAnimation animation) {
  beginUpdates();
  for (IndexPath p : indexPaths) pendingDeletes_.push_back(Update{p, animation});
  endUpdates();
}

void TableView::applyUpdates() {
  auto deletes = std::move(pendingDeletes_);
  auto inserts = std::move(pendingInserts_);
  pendingDeletes_.clear();
  pendingInserts_.clear();
  if (!loaded_ || !dataSource_) {
    reloadData();
    return;
  }

  // Check the changes against the counts before and after; any mismatch reloads everything.
  int sectionCount = static_cast<int>(sections_.size());
  std::vector<std::set<int>> deleted(sectionCount), inserted(sectionCount);
  bool consistent = std::max(0, dataSource_->numberOfSectionsInTableView(*this)) == sectionCount;
  for (const Update& d : deletes) {
    consistent = consistent && isValid(d.indexPath) &&
                 deleted[d.indexPath.section].insert(d.indexPath.row).second;
  }
  for (int s = 0; consistent && s < sectionCount; ++s) {
    int newRows = dataSource_->numberOfRowsInSection(*this, s);
    int expected = sections_[s].rows - static_cast<int>(deleted[s].size());
    for (const Update& i : inserts) {
      if (i.indexPath.section == s) ++expected;
    }
    consistent = newRows == expected;
    for (const Update& i : inserts) {
      if (!consistent || i.indexPath.section != s) continue;
      consistent = i.indexPath.row >= 0 && i.indexPath.row < newRows &&
                   inserted[s].insert(i.indexPath.row).second;
    }
  }
  for (const Update& i : inserts) {
    consistent = consistent && i.indexPath.section >= 0 && i.indexPath.section < sectionCount;
  }
  if (!consistent) {
    base::log("TableView: the rows inserted and deleted do not match the data source; reloading");
    reloadData();
    return;
  }

  // Surviving rows keep their order and skip the rows inserted before them.
  std::vector<std::vector<int>> newRowOf(sectionCount);
  for (int s = 0; s < sectionCount; ++s) {
    int next = 0;
    for (int old = 0; old < sections_[s].rows; ++old) {
      if (deleted[s].count(old)) {
        newRowOf[s].push_back(-1);
        continue;
      }
      while (inserted[s].count(next)) ++next;
      newRowOf[s].push_back(next++);
    }
  }
  auto deleteAnimation = [&](IndexPath p) {
    for (const Update& d : deletes) {
      if (d.indexPath == p) return d.animation;
    }
    return TableViewRowAnimation::None;
  };

  std::map<IndexPath, std::shared_ptr<TableViewCell>> moved;
  for (auto& [path, cell] : visible_) {
    int row = newRowOf[path.section][path.row];
    if (row < 0) {
      animateOut(cell, deleteAnimation(path));
    } else {
      moved[IndexPath{path.section, row}] = cell;
    }
  }
  visible_ = std::move(moved);
  if (selected_) {
    int row = newRowOf[selected_->section][selected_->row];
    selected_ =
        row < 0 ? std::nullopt : std::optional<IndexPath>(IndexPath{selected_->section, row});
  }

  loadMetrics();
  Point offset = contentOffset();
  Point max = maximumContentOffset();
  if (offset.y > max.y) setContentOffset({offset.x, max.y});
  std::map<IndexPath, TableViewRowAnimation> incoming;
  bool animated = false;
  for (const Update& i : inserts) {
    incoming[i.indexPath] = i.animation;
    animated = animated || i.animation != TableViewRowAnimation::None;
  }
  for (const Update& d : deletes) animated = animated || d.animation != TableViewRowAnimation::None;
  tileCells(incoming, animated);
}

void TableView::animateOut(std::shared_ptr<TableViewCell> cell, TableViewRowAnimation animation) {
  if (animation == TableViewRowAnimation::None) {
    recycle(std::move(cell));
    return;
  }
  outgoing_.push_back(cell);
  TableViewCell* c = cell.get();
  Rect target = displacedFrame(c->frame(), animation);
  std::weak_ptr<TableView*> table = self_;
  animate(
      kRowAnimationDuration,
      [c, target] {
        c->setFrame(target);
        c->setAlpha(0);
      },
      [table, c](bool) {
        auto alive = table.lock();
        if (!alive || !*alive) return;
        TableView& self = **alive;
        auto it = std::find_if(self.outgoing_.begin(), self.outgoing_.end(),
                               [c](const auto& o) { return o.get() == c; });
        if (it == self.outgoing_.end()) return;
        auto done = std::move(*it);
        self.outgoing_.erase(it);
        self.recycle(std::move(done));
      });
}

bool TableView::tapRowAtIndexPath(IndexPath indexPath) {
  ensureLoaded();
  if (!isValid(indexPath) || !allowsSelection_) return false;
  if (editing_ && !allowsSelectionDuringEditing_) return false;
  if (selected_ && *selected_ != indexPath) {
    IndexPath previous = *selected_;
    deselectRowAtIndexPath(previous, false);
    if (delegate_) delegate_->didDeselectRowAtIndexPath(*this, previous);
  }
  selected_ = indexPath;
  if (TableViewCell* cell = cellForRowAtIndexPath(indexPath)) cell->setSelected(true, false);
  if (delegate_) delegate_->didSelectRowAtIndexPath(*this, indexPath);
  return true;
}

bool TableView::tapAccessoryButtonForRowAtIndexPath(IndexPath indexPath) {
  TableViewCell* cell = cellForRowAtIndexPath(indexPath);
  if (!cell || cell->accessoryView() ||
      cell->accessoryType() != TableViewCellAccessoryType::DetailDisclosureButton) {
    return false;
  }
  if (delegate_) delegate_->accessoryButtonTappedForRowWithIndexPath(*this, indexPath);
  return true;
}

bool TableView::tapEditingControlForRowAtIndexPath(IndexPath indexPath) {
  ensureLoaded();
  if (!editing_ || !isValid(indexPath) || !dataSource_->canEditRowAtIndexPath(*this, indexPath)) {
    return false;
  }
  TableViewCellEditingStyle style = delegate_
                                        ? delegate_->editingStyleForRowAtIndexPath(*this, indexPath)
                                        : TableViewCellEditingStyle::Delete;
  if (style == TableViewCellEditingStyle::None) return false;
  dataSource_->commitEditingStyle(*this, style, indexPath);
  return true;
}

bool TableView::dragRow(IndexPath from, IndexPath to) {
  ensureLoaded();
  if (!editing_ || !isValid(from) || !dataSource_->canEditRowAtIndexPath(*this, from) ||
      !dataSource_->canMoveRowAtIndexPath(*this, from)) {
    return false;
  }
  if (to.section < 0 || to.section >= static_cast<int>(sections_.size())) return false;
  int lastRow = sections_[to.section].rows - (from.section == to.section ? 1 : 0);
  if (to.row < 0 || to.row > lastRow || from == to) return false;

  auto moveTarget = [&](IndexPath p) {
    if (p == from) return to;
    if (p.section == from.section && p.row > from.row) --p.row;
    if (p.section == to.section && p.row >= to.row) ++p.row;
    return p;
  };
  std::map<IndexPath, std::shared_ptr<TableViewCell>> moved;
  for (auto& [path, cell] : visible_) moved[moveTarget(path)] = cell;
  visible_ = std::move(moved);
  if (selected_) selected_ = moveTarget(*selected_);
  std::vector<int> expected;
  for (const Section& s : sections_) expected.push_back(s.rows);
  --expected[from.section];
  ++expected[to.section];

  dataSource_->moveRowAtIndexPath(*this, from, to);

  loadMetrics();
  bool consistent = sections_.size() == expected.size();
  for (size_t s = 0; consistent && s < expected.size(); ++s) {
    consistent = sections_[s].rows == expected[s];
  }
  if (!consistent) {
    base::log("TableView: the row counts changed during a move; reloading");
    reloadData();
    return true;
  }
  tileCells();
  return true;
}

bool TableView::touchBegan(Point point) {
  touchedRow_ = indexPathForRowAtPoint(point);
  if (!touchedRow_) return false;
  TableViewCell* cell = cellForRowAtIndexPath(*touchedRow_);
  if (cell && !confirming_ && cell->showsReorderHandle() &&
      point.x >= cell->frame().maxX() - TableViewCell::kReorderControlWidth) {
    reorder_ = Reorder{*touchedRow_, point.y - cell->frame().y()};
    bringSubviewToFront(cell);
    return true;
  }
  if (cell) cell->setHighlighted(true, false);
  return true;
}

void TableView::touchMoved(Point point) {
  if (!reorder_) return;
  TableViewCell* cell = cellForRowAtIndexPath(reorder_->from);
  if (!cell) return;
  Rect frame = cell->frame();
  const double bottom = std::max(0.0, contentSize().height - frame.height());
  frame.origin.y = std::clamp(point.y - reorder_->grab, 0.0, bottom);
  cell->setFrame(frame);
}

void TableView::touchEnded(Point point, bool inside) {
  if (reorder_) {
    finishReorder(point.y);
    return;
  }
  auto row = touchedRow_;
  touchCancelled();
  if (confirming_) {
    // While a "Delete" button shows, a tap does nothing but put it away, or delete on it.
    IndexPath confirming = *confirming_;
    bool onButton = false;
    if (TableViewCell* cell = cellForRowAtIndexPath(confirming); cell && inside) {
      cell->layoutIfNeeded();
      Point inCell{point.x - cell->frame().x(), point.y - cell->frame().y()};
      onButton = row == confirming && cell->deleteConfirmationFrame().contains(inCell);
    }
    showDeleteConfirmation(std::nullopt);
    if (onButton) tapEditingControlForRowAtIndexPath(confirming);
    return;
  }
  if (!row || !inside || indexPathForRowAtPoint(point) != row) return;
  TableViewCell* cell = cellForRowAtIndexPath(*row);
  double x = cell ? point.x - cell->frame().x() : 0;
  if (cell && cell->showsEditingControl() && x < TableViewCell::kEditingControlWidth) {
    if (cell->editingStyle() == TableViewCellEditingStyle::Delete) {
      showDeleteConfirmation(*row);
    } else {
      tapEditingControlForRowAtIndexPath(*row);
    }
  } else if (cell && !editing_ &&
             cell->accessoryType() == TableViewCellAccessoryType::DetailDisclosureButton &&
             x > cell->frame().width() - TableViewCell::kDetailButtonWidth - 10) {
    tapAccessoryButtonForRowAtIndexPath(*row);
  } else {
    tapRowAtIndexPath(*row);
  }
}

void TableView::touchCancelled() {
  if (reorder_) finishReorder(std::nullopt);
  if (touchedRow_) {
    if (TableViewCell* cell = cellForRowAtIndexPath(*touchedRow_)) {
      cell->setHighlighted(false, false);
    }
  }
  touchedRow_.reset();
}

void TableView::showDeleteConfirmation(std::optional<IndexPath> indexPath) {
  if (confirming_) {
    if (TableViewCell* cell = cellForRowAtIndexPath(*confirming_)) {
      cell->setShowsDeleteConfirmation(false);
    }
  }
  confirming_.reset();
  if (!indexPath) return;
  if (TableViewCell* cell = cellForRowAtIndexPath(*indexPath)) {
    cell->setShowsDeleteConfirmation(true);
    if (cell->showsDeleteConfirmation()) confirming_ = indexPath;
  }
}

void TableView::finishReorder(std::optional<double> y) {
  Reorder reorder = *reorder_;
  reorder_.reset();
  touchedRow_.reset();
  std::optional<IndexPath> to;
  TableViewCell* cell = cellForRowAtIndexPath(reorder.from);
  if (y && cell) {
    // The row whose place the dragged cell's middle lies in, within the row's section.
    const Section& section = sections_[reorder.from.section];
    const double middle = cell->frame().midY();
    int row = 0;
    while (row + 1 < section.rows && middle >= section.rowY[row] + section.rowHeight[row]) ++row;
    to = IndexPath{reorder.from.section, row};
  }
  if (to && *to != reorder.from && dragRow(reorder.from, *to)) return;
  if (cell) cell->setFrame(cellFrame(reorder.from));
}

}  // namespace ui
