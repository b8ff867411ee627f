#include "platform/graphics/TextMeasurer.h"

#include <mutex>

#include "platform/graphics/PangoTextMeasurer.h"

namespace graphics {
namespace {

std::mutex gMutex;

std::shared_ptr<const TextMeasurer> pangoMeasurer() {
  static const auto measurer = std::make_shared<const PangoTextMeasurer>();
  return measurer;
}

std::shared_ptr<const TextMeasurer>& currentSlot() {
  static std::shared_ptr<const TextMeasurer> current;
  return current;
}

}  // namespace

std::shared_ptr<const TextMeasurer> TextMeasurer::current() {
  std::lock_guard lock(gMutex);
  if (!currentSlot()) currentSlot() = pangoMeasurer();
  return currentSlot();
}

std::shared_ptr<const TextMeasurer> TextMeasurer::setCurrent(
    std::shared_ptr<const TextMeasurer> m) {
  std::lock_guard lock(gMutex);
  auto previous = currentSlot() ? currentSlot() : pangoMeasurer();
  currentSlot() = m ? std::move(m) : pangoMeasurer();
  return previous;
}

}  // namespace graphics
