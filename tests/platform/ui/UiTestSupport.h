#pragma once
#include <gtest/gtest.h>

#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"

// Runs each test on the virtual clock with a fresh application state.
class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loop.reset();
    loop.setVirtualClock(true);
    ui::Application::shared().reset();
  }
  void TearDown() override {
    loop.runFor(5);
    loop.reset();
    loop.setVirtualClock(false);
    ui::Application::shared().reset();
  }
  base::RunLoop& loop = base::RunLoop::main();
};
