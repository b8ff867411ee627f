#pragma once
#include "sharing/core/SHKShareMenu.h"

// The share menu a host program customizes.
class SHKCustomShareMenu : public SHKShareMenu {
 public:
  using SHKShareMenu::SHKShareMenu;
};
