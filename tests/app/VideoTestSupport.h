#pragma once
// The video tests: a main window with its movie player, time on a fake clock, and waiting for
// the player's streaming thread by pumping messages until a condition holds.
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "AppTestSupport.h"
#include "app/VideoPlayer.h"
#include "platform/classes/Application.h"
#include "platform/system/Clock.h"

// Runs shell Command; true when it succeeded.
inline bool RunCommand(const std::string& Command) {
  return std::system(Command.c_str()) == 0;
}

class TVideoTest : public TMosaicTest {
 protected:
  void SetUp() override {
    SetClockSource(&Clock);
    TMosaicTest::SetUp();
    Player = std::make_unique<TForm4>(nullptr);
    RunUntilIdle();
  }
  void TearDown() override {
    Player.reset();
    TMosaicTest::TearDown();
    SetClockSource(nullptr);
  }
  // Pumps the message queue until Done holds; the streaming thread works in real time, so
  // this waits for it, at most a few seconds.
  static bool PumpUntil(const std::function<bool()>& Done) {
    for (Integer I = 0; I < 5000; ++I) {
      Application->ProcessMessages();
      if (Done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
  TFakeClock Clock{1000};
  std::unique_ptr<TForm4> Player;
};
