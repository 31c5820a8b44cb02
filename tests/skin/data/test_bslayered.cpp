// Layer windows fading in on the fake clock, and the fixed platform answers behind them.
#include <gtest/gtest.h>

#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Timer.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsUtils.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class BsLayeredTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Picture.SetPixelFormat(pf32bit);
    Picture.SetSize(20, 10);
    Picture.GetCanvas()->GetBrush()->SetColor(clRed);
    Picture.GetCanvas()->FillRect(Rect(0, 0, 20, 10));
    Mask.SetPixelFormat(pf32bit);
    Mask.SetSize(20, 10);
    Mask.GetCanvas()->GetBrush()->SetColor(TColor(0x808080));
    Mask.GetCanvas()->FillRect(Rect(0, 0, 20, 10));
  }
  // The alpha after each 25 ms step until the timer stops (at most Limit steps).
  std::vector<Integer> Fade(TbsLayerManager& Manager, Integer Limit = 20) {
    std::vector<Integer> Steps;
    while (Manager.GetTimer()->GetEnabled() && static_cast<Integer>(Steps.size()) < Limit) {
      Wait(25, 25);
      Steps.push_back(Manager.GetCurrentAlpha());
    }
    return Steps;
  }
  TBitmap Picture, Mask;
};

TEST_F(BsLayeredTest, FadesInByTenthsAndStopsAtTheTarget) {
  struct TCase {
    Integer Alpha;
    std::vector<Integer> Steps;
  };
  const std::vector<TCase> Cases{
      {200, {20, 40, 60, 80, 100, 120, 140, 160, 180, 200}},
      {255, {25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}},
      {5, {1, 2, 3, 4, 5}},  // a step of at least 1: the fade ends
      {0, {0}},
  };
  for (const TCase& C : Cases) {
    TbsLayerManager Manager(nullptr);
    Manager.ShowLayer(50, 60, &Picture, &Mask, C.Alpha);
    EXPECT_TRUE(Manager.GetIsVisible());
    EXPECT_EQ(Manager.GetCurrentAlpha(), 0);
    EXPECT_EQ(Fade(Manager), C.Steps) << C.Alpha;
    EXPECT_FALSE(Manager.GetTimer()->GetEnabled());
  }
}

TEST_F(BsLayeredTest, LayerHoldsPremultipliedPixelsAndIsReplacedByTheNextShow) {
  TbsLayerManager Manager(nullptr);
  Manager.ShowLayer(50, 60, &Picture, &Mask, 100);
  TbsLayerWindow* First = Manager.GetLayerWindow();
  ASSERT_NE(First, nullptr);
  EXPECT_EQ(First->GetLeft(), 50);
  EXPECT_EQ(First->GetWidth(), 20);
  // Red at alpha 0x80: red clamped to the alpha.
  EXPECT_EQ(Manager.GetBitmap()->GetPixel(3, 3), 0x80800000u);
  EXPECT_EQ(Manager.GetComponentCount(), 2);  // the timer and the window
  Manager.ShowLayer(10, 10, &Picture, &Mask, 100);
  EXPECT_NE(Manager.GetLayerWindow(), nullptr);
  EXPECT_EQ(Manager.GetComponentCount(), 2);
  Manager.HideLayer();
  EXPECT_FALSE(Manager.GetIsVisible());
  EXPECT_EQ(Manager.GetLayerWindow(), nullptr);
  EXPECT_EQ(Manager.GetBitmap(), nullptr);
  EXPECT_FALSE(Manager.GetTimer()->GetEnabled());
}

TEST_F(BsLayeredTest, FadedLayerShowsOnTheScreen) {
  Mask.GetCanvas()->GetBrush()->SetColor(clWhite);
  Mask.GetCanvas()->FillRect(Rect(0, 0, 20, 10));
  TbsLayerManager Manager(nullptr);
  Manager.ShowLayer(700, 500, &Picture, &Mask, 255);
  Pump();
  const DWORD Before = ScreenPixel(705, 505);
  Fade(Manager);
  Pump();
  EXPECT_EQ(ScreenPixel(705, 505), 0xFF0000u);
  EXPECT_NE(Before, 0xFF0000u);  // at alpha 0 the layer was not yet seen
}

TEST(BsPlatformTest, OneFixedAnswerSet) {
  Integer Major = 0, Minor = 0;
  GetWindowsVersion(Major, Minor);
  EXPECT_EQ(Major, 6);
  EXPECT_EQ(Minor, 1);
  EXPECT_TRUE(IsLayeredWindowAvailable());
  EXPECT_TRUE(IsWindowsXPOrLater());
  EXPECT_TRUE(IsWindowsVistaOrLater());
  EXPECT_TRUE(IsWindows7());
  EXPECT_FALSE(IsDwmCompositionEnabled());
}

}  // namespace
