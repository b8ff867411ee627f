#pragma once
#include "platform/ui/View.h"

namespace ui {

class ScrollView;

// Told about scrolling; every method is optional. Not owned by the scroll view.
class ScrollViewDelegate {
 public:
  virtual ~ScrollViewDelegate() = default;
  // The content offset changed (drags, animation steps and direct settings alike).
  virtual void scrollViewDidScroll(ScrollView&) {}
  virtual void scrollViewWillBeginDragging(ScrollView&) {}
  // The finger lifted; `decelerate` tells whether the content keeps moving (a paging snap or a
  // fling), in which case scrollViewDidEndDecelerating follows when it stops.
  virtual void scrollViewDidEndDragging(ScrollView&, bool /*decelerate*/) {}
  virtual void scrollViewDidEndDecelerating(ScrollView&) {}
  // An animated setContentOffset or scrollRectToVisible came to rest.
  virtual void scrollViewDidEndScrollingAnimation(ScrollView&) {}
};

// A view whose subviews lie on a content area of `contentSize`, shown through the bounds at
// `contentOffset`. Drags come from the shell (or tests) through beginDrag/dragBy/endDrag.
class ScrollView : public View {
 public:
  explicit ScrollView(graphics::Rect frame = {});
  ~ScrollView() override;

  std::string_view className() const override { return "ScrollView"; }

  graphics::Size contentSize() const { return contentSize_; }
  void setContentSize(graphics::Size size) { contentSize_ = size; }
  graphics::Point contentOffset() const { return bounds().origin; }
  // Moves the content; animated moves take 0.3 seconds and end with
  // scrollViewDidEndScrollingAnimation.
  void setContentOffset(graphics::Point offset, bool animated = false);
  // Scrolls the least distance that shows `rect` (content coordinates), within the content.
  void scrollRectToVisible(const graphics::Rect& rect, bool animated);
  // The largest offset that still shows content: content size minus bounds size, at least 0.
  graphics::Point maximumContentOffset() const;

  bool isPagingEnabled() const { return pagingEnabled_; }
  void setPagingEnabled(bool on) { pagingEnabled_ = on; }
  bool showsHorizontalScrollIndicator() const { return showsHorizontalIndicator_; }
  void setShowsHorizontalScrollIndicator(bool on) { showsHorizontalIndicator_ = on; }
  bool showsVerticalScrollIndicator() const { return showsVerticalIndicator_; }
  void setShowsVerticalScrollIndicator(bool on) { showsVerticalIndicator_ = on; }
  bool bounces() const { return bounces_; }
  void setBounces(bool on) { bounces_ = on; }
  bool isScrollEnabled() const { return scrollEnabled_; }
  void setScrollEnabled(bool on) { scrollEnabled_ = on; }

  ScrollViewDelegate* delegate() const { return delegate_; }
  void setDelegate(ScrollViewDelegate* delegate) { delegate_ = delegate; }

  // A drag by the finger: the content follows the finger, so moving it left (dx < 0) scrolls
  // right. Past the edges the content moves at half speed when bouncing, not at all otherwise.
  // endDrag takes the finger's speed in points per second: with paging the content snaps to
  // the nearest page (or the next one in the direction of a fast fling), without paging a fling
  // glides on; the content then settles within its edges and scrollViewDidEndDecelerating is
  // called once it stops. Returns whether the content decelerates.
  void beginDrag();
  void dragBy(double dx, double dy);
  bool endDrag(graphics::Point velocity = {});
  bool isDragging() const { return dragging_; }
  bool isDecelerating() const { return decelerating_; }

 protected:
  void boundsOriginDidChange() override;

 private:
  graphics::Point clampedOffset(graphics::Point offset) const;
  graphics::Point restingOffset(graphics::Point velocity) const;
  void cancelAnimationsIfDecelerating();

  graphics::Size contentSize_;
  bool pagingEnabled_ = false;
  bool showsHorizontalIndicator_ = true;
  bool showsVerticalIndicator_ = true;
  bool bounces_ = true;
  bool scrollEnabled_ = true;
  bool dragging_ = false;
  bool decelerating_ = false;
  graphics::Point dragStartOffset_;
  ScrollViewDelegate* delegate_ = nullptr;
};

}  // namespace ui
