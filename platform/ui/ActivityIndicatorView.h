#pragma once
#include "platform/base/RunLoop.h"
#include "platform/ui/View.h"

namespace ui {

// The device's spinner looks, in its order: large white (37 points), white and gray (20).
enum class ActivityIndicatorViewStyle { WhiteLarge, White, Gray };

// A spinner. While animating its twelve spokes turn a step every 1/12 second; when stopped it
// hides itself unless hidesWhenStopped is off.
class ActivityIndicatorView : public View {
 public:
  static constexpr double kStepSeconds = 1.0 / 12;

  explicit ActivityIndicatorView(
      ActivityIndicatorViewStyle style = ActivityIndicatorViewStyle::White);

  std::string_view className() const override { return "ActivityIndicatorView"; }

  ActivityIndicatorViewStyle style() const { return style_; }
  // Also resizes the view to the style's size, keeping its centre.
  void setStyle(ActivityIndicatorViewStyle style);
  static double sizeForStyle(ActivityIndicatorViewStyle style);

  void startAnimating();
  void stopAnimating();
  bool isAnimating() const { return animating_; }
  bool hidesWhenStopped() const { return hidesWhenStopped_; }
  void setHidesWhenStopped(bool hides);
  // The spoke drawn brightest, 0 to 11.
  int phase() const { return phase_; }

  void draw(graphics::Painter& painter) const override;

 private:
  ActivityIndicatorViewStyle style_;
  bool animating_ = false;
  bool hidesWhenStopped_ = true;
  int phase_ = 0;
  base::Timer timer_;
};

}  // namespace ui
