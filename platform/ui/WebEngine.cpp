#include "platform/ui/WebEngine.h"

#include <utility>

#include "platform/ui/HeadlessWebEngine.h"

namespace ui {

namespace {
WebEngine::Factory& factory() {
  static WebEngine::Factory instance;
  return instance;
}
}  // namespace

void WebEngine::setFactory(Factory f) {
  factory() = std::move(f);
}

std::unique_ptr<WebEngine> WebEngine::create() {
  if (factory()) {
    if (auto engine = factory()()) return engine;
  }
  return std::make_unique<HeadlessWebEngine>();
}

}  // namespace ui
