#include "platform/ui/AlertViewDelegate.h"

#include "platform/ui/AlertStack.h"

namespace ui {

AlertViewDelegate::~AlertViewDelegate() {
  AlertStack::shared().forgetDelegate(this);
}

}  // namespace ui
