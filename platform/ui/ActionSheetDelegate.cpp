#include "platform/ui/ActionSheetDelegate.h"

#include "platform/ui/AlertStack.h"

namespace ui {

ActionSheetDelegate::~ActionSheetDelegate() {
  AlertStack::shared().forgetDelegate(this);
}

}  // namespace ui
