// Shared set-up of the control and form tests: a clock the test advances, and a fresh
// input state and timer limit for every test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/NUV_Forms.h"
#include "platform/NUV_Input.h"
#include "platform/NUV_Messages.h"
#include "platform/NUV_SysUtils.h"

namespace nuv::test {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClock([this] { return static_cast<double>(FMs) / 86400000.0; });
    Input->Reset();
    Input->SetDoubleClickTime(500);
    SetTimerLimit(10000);
    Application->OnException = nullptr;
    Application->OnIdle = nullptr;
    Application->ResetTerminated();
    Application->ProcessMessages();
  }
  void TearDown() override {
    Application->ProcessMessages();
    SetClock({});
  }
  void Advance(int64_t MilliSeconds) { FMs += MilliSeconds; }

 private:
  int64_t FMs = int64_t(46000) * 86400000;
};

}  // namespace nuv::test
