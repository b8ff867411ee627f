#pragma once
#include <gtest/gtest.h>

#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"

// Runs each test on the virtual clock with a fresh application state.
class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::RunLoop::main().reset();
    base::RunLoop::main().setVirtualClock(true);
    ui::Application::shared().reset();
  }
  void TearDown() override {
    base::RunLoop::main().runFor(5);
    base::RunLoop::main().reset();
    base::RunLoop::main().setVirtualClock(false);
    ui::Application::shared().reset();
  }
};
