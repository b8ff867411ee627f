#pragma once
#include <thread>

// Readies what the home screen's first frame needs and GTK's own start-up does not, on a thread
// of its own while GTK connects to the display: the text engine with the fonts of the screen's
// text (font matching and font files, the costly part of the first measurement in each family)
// and the screen's pictures. Both are shared caches under locks, so the home screen may also
// come first and only find less ready.
class HomeScreenWarmUp {
 public:
  HomeScreenWarmUp();
  // Waits for the thread.
  ~HomeScreenWarmUp();
  HomeScreenWarmUp(const HomeScreenWarmUp&) = delete;
  HomeScreenWarmUp& operator=(const HomeScreenWarmUp&) = delete;

 private:
  std::thread thread_;
};
