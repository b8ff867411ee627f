#include "reader/screens/ScreenFactory.h"

ScreenFactory& ScreenFactory::shared() {
  static ScreenFactory factory;
  return factory;
}
