#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/RunLoop.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Transform.h"

namespace ui {

class View;

struct AnimationOptions {
  // Seconds before the change starts; the old values stay on screen until then.
  double delay = 0;
  // Start from what is on screen now when a running animation moves the same property;
  // otherwise start from that animation's end value.
  bool beginFromCurrentState = false;
};

// Animates the changes that `changes` makes to views' frames, bounds origins (scroll offsets),
// alpha and transforms over `duration` seconds, frame by frame on the main run loop: the values
// pass through the linear interpolation and end exactly at what `changes` set. `completion`
// runs at the end with true, or with false when other animations or direct settings took over
// every property it moved. An animation whose view is destroyed is dropped, completion and all.
void animate(double duration, const std::function<void()>& changes,
             std::function<void(bool finished)> completion = {}, AnimationOptions options = {});

// Runs the view animations. The view setters report to it; tests and the shell reach it through
// ui::animate and the run loop.
class Animator {
 public:
  static Animator& shared();

  enum class Property { Frame, BoundsOrigin, Alpha, Transform };

  void animate(double duration, const std::function<void()>& changes,
               std::function<void(bool)> completion, AnimationOptions options);
  // Stops every animation of `view` where it stands; their completions run with false.
  void cancelAnimations(View& view);
  bool isAnimating(const View& view) const;
  size_t runningCount() const { return animations_.size(); }

  // From View: a property is about to change through its public setter.
  void willChange(View& view, Property property);
  // From View's destructor.
  void viewDestroyed(View& view);

 private:
  Animator();

  struct Value {
    graphics::Rect rect;
    graphics::Point point;
    double number = 0;
    Transform transform;
  };
  struct Track {
    View* view;
    Property property;
    Value from, to;
  };
  struct Animation {
    std::uint64_t id = 0;
    double start = 0, duration = 0;
    bool beginFromCurrentState = false;
    std::vector<Track> tracks;
    std::vector<View*> views;  // every view it moved, for cancellation on destruction
    bool tookOver = false;     // some track was taken over or cut short
    std::function<void(bool)> completion;
    base::Timer endTimer;
  };

  static Value read(const View& view, Property property);
  static void apply(View& view, Property property, const Value& value);
  static Value interpolate(Property property, const Value& from, const Value& to, double t);
  Track* runningTrack(const View& view, Property property);
  void removeTracks(const View& view, Property property);
  void step();
  void finish(std::uint64_t id);
  void stopFramesIfIdle();

  std::vector<std::unique_ptr<Animation>> animations_;
  Animation* collecting_ = nullptr;
  std::uint64_t nextId_ = 1;
  base::Timer frameTimer_;
};

}  // namespace ui
