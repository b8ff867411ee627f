#pragma once
#include "platform/ui/ViewController.h"

// A plain view controller that turns to every orientation, for host programs that show the
// framework's screens inside their own.
class SHKViewControllerWrapper : public ui::ViewController {
 public:
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
};
