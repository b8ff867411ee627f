#include "platform/ui/Animator.h"

#include <algorithm>

#include "platform/ui/View.h"

namespace ui {

namespace {
constexpr double kFrameInterval = 1.0 / 60;

double mix(double a, double b, double t) {
  return a + (b - a) * t;
}
}  // namespace

void animate(double duration, const std::function<void()>& changes,
             std::function<void(bool)> completion, AnimationOptions options) {
  Animator::shared().animate(duration, changes, std::move(completion), options);
}

Animator& Animator::shared() {
  static Animator animator;
  return animator;
}

// The main loop must outlive the animator, whose timers it holds: make it first.
Animator::Animator() {
  base::RunLoop::main();
}

Animator::Value Animator::read(const View& view, Property property) {
  Value v;
  switch (property) {
    case Property::Frame:
      v.rect = view.frame_;
      break;
    case Property::BoundsOrigin:
      v.point = view.boundsOrigin_;
      break;
    case Property::Alpha:
      v.number = view.alpha_;
      break;
    case Property::Transform:
      v.transform = view.transform_;
      break;
  }
  return v;
}

void Animator::apply(View& view, Property property, const Value& value) {
  switch (property) {
    case Property::Frame:
      view.applyFrame(value.rect);
      break;
    case Property::BoundsOrigin:
      view.applyBoundsOrigin(value.point);
      break;
    case Property::Alpha:
      view.alpha_ = value.number;
      break;
    case Property::Transform:
      view.transform_ = value.transform;
      break;
  }
}

Animator::Value Animator::interpolate(Property property, const Value& from, const Value& to,
                                      double t) {
  Value v;
  switch (property) {
    case Property::Frame:
      v.rect = graphics::Rect{
          mix(from.rect.x(), to.rect.x(), t), mix(from.rect.y(), to.rect.y(), t),
          mix(from.rect.width(), to.rect.width(), t), mix(from.rect.height(), to.rect.height(), t)};
      break;
    case Property::BoundsOrigin:
      v.point = {mix(from.point.x, to.point.x, t), mix(from.point.y, to.point.y, t)};
      break;
    case Property::Alpha:
      v.number = mix(from.number, to.number, t);
      break;
    case Property::Transform:
      v.transform = {mix(from.transform.rotation, to.transform.rotation, t),
                     mix(from.transform.scale, to.transform.scale, t)};
      break;
  }
  return v;
}

Animator::Track* Animator::runningTrack(const View& view, Property property) {
  for (auto& a : animations_) {
    for (auto& t : a->tracks) {
      if (t.view == &view && t.property == property) return &t;
    }
  }
  return nullptr;
}

void Animator::removeTracks(const View& view, Property property) {
  for (auto& a : animations_) {
    auto it = std::remove_if(a->tracks.begin(), a->tracks.end(), [&](const Track& t) {
      return t.view == &view && t.property == property;
    });
    if (it != a->tracks.end()) {
      a->tracks.erase(it, a->tracks.end());
      a->tookOver = true;
    }
  }
}

void Animator::animate(double duration, const std::function<void()>& changes,
                       std::function<void(bool)> completion, AnimationOptions options) {
  auto animation = std::make_unique<Animation>();
  animation->id = nextId_++;
  animation->duration = std::max(0.0, duration);
  animation->beginFromCurrentState = options.beginFromCurrentState;
  animation->completion = std::move(completion);

  Animation* outer = collecting_;
  collecting_ = animation.get();
  if (changes) changes();
  collecting_ = outer;

  // The changes set the end values; put the start values back until the frames take over.
  for (auto& track : animation->tracks) {
    track.to = read(*track.view, track.property);
    apply(*track.view, track.property, track.from);
  }
  auto& loop = base::RunLoop::main();
  animation->start = loop.now() + std::max(0.0, options.delay);
  std::uint64_t id = animation->id;
  animation->endTimer = base::Timer::once(std::max(0.0, options.delay) + animation->duration,
                                          [this, id] { finish(id); });
  animations_.push_back(std::move(animation));
  // Armed afresh here, so a run loop that was reset between tests still gets its frames.
  frameTimer_ = base::Timer::once(kFrameInterval, [this] { step(); });
}

void Animator::willChange(View& view, Property property) {
  if (!collecting_) {
    // A direct setting wins over any animation of the same property.
    if (runningTrack(view, property)) removeTracks(view, property);
    return;
  }
  for (auto& t : collecting_->tracks) {
    if (t.view == &view && t.property == property) return;  // start value already noted
  }
  Value from = read(view, property);
  if (Track* running = runningTrack(view, property)) {
    if (!collecting_->beginFromCurrentState) from = running->to;
    removeTracks(view, property);
  }
  collecting_->tracks.push_back(Track{&view, property, from, {}});
  if (std::find(collecting_->views.begin(), collecting_->views.end(), &view) ==
      collecting_->views.end()) {
    collecting_->views.push_back(&view);
  }
}

void Animator::step() {
  double now = base::RunLoop::main().now();
  for (auto& a : animations_) {
    if (now < a->start) continue;
    double t = a->duration > 0 ? std::min(1.0, (now - a->start) / a->duration) : 1.0;
    for (auto& track : a->tracks) {
      apply(*track.view, track.property, interpolate(track.property, track.from, track.to, t));
    }
  }
  if (!animations_.empty()) frameTimer_ = base::Timer::once(kFrameInterval, [this] { step(); });
}

void Animator::finish(std::uint64_t id) {
  auto it = std::find_if(animations_.begin(), animations_.end(),
                         [id](const auto& a) { return a->id == id; });
  if (it == animations_.end()) return;
  std::unique_ptr<Animation> done = std::move(*it);
  animations_.erase(it);
  for (auto& track : done->tracks) apply(*track.view, track.property, track.to);
  stopFramesIfIdle();
  bool finished = !done->tookOver || !done->tracks.empty();
  if (done->completion) done->completion(finished);
}

void Animator::cancelAnimations(View& view) {
  std::vector<std::uint64_t> touched;
  for (auto& a : animations_) {
    if (std::find(a->views.begin(), a->views.end(), &view) == a->views.end()) continue;
    std::erase_if(a->tracks, [&](const Track& t) { return t.view == &view; });
    a->tookOver = true;
    if (a->tracks.empty()) touched.push_back(a->id);
  }
  // Animations left with nothing to move end now, reporting that they did not finish.
  for (auto id : touched) finish(id);
}

bool Animator::isAnimating(const View& view) const {
  for (auto& a : animations_) {
    for (auto& t : a->tracks) {
      if (t.view == &view) return true;
    }
  }
  return false;
}

void Animator::viewDestroyed(View& view) {
  std::erase_if(animations_, [&](const auto& a) {
    return std::find(a->views.begin(), a->views.end(), &view) != a->views.end();
  });
  if (collecting_) {
    std::erase_if(collecting_->tracks, [&](const Track& t) { return t.view == &view; });
    std::erase(collecting_->views, &view);
  }
  stopFramesIfIdle();
}

void Animator::stopFramesIfIdle() {
  if (animations_.empty()) frameTimer_.invalidate();
}

}  // namespace ui
