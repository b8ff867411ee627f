#include "platform/ui/Pasteboard.h"

#include "platform/ui/InProcessPasteboard.h"

namespace ui {

namespace {

std::unique_ptr<Pasteboard>& installed() {
  static std::unique_ptr<Pasteboard> pasteboard;
  return pasteboard;
}

}  // namespace

Pasteboard& Pasteboard::general() {
  static InProcessPasteboard inProcess;
  return installed() ? *installed() : inProcess;
}

void Pasteboard::setGeneral(std::unique_ptr<Pasteboard> pasteboard) {
  installed() = std::move(pasteboard);
}

}  // namespace ui
