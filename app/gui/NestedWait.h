#pragma once

// Marks the time the shell spends in a nested turn of the GLib loop waiting for WebKit (a script
// result): the reader's run loop and the user's input wait meanwhile, so no screen code runs
// inside the call that is waiting.
class NestedWait {
 public:
  NestedWait() { ++depth_; }
  ~NestedWait() { --depth_; }
  NestedWait(const NestedWait&) = delete;
  NestedWait& operator=(const NestedWait&) = delete;
  static bool active() { return depth_ > 0; }

 private:
  static inline int depth_ = 0;
};
