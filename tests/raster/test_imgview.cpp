// The image view with scroll bars: where the bitmap lies for centred and scrolled pictures, the
// scroll ranges with a margin, hidden bars, and scrolling that stops at the range ends.
#include <gtest/gtest.h>

#include <memory>

#include "RasterScreen.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/system/Exceptions.h"
#include "platform/user/WindowMessages.h"
#include "raster/RS32_ImgView.h"

namespace {
// Bars of 16 pixels: a view of 616 x 416 has a 600 x 400 viewport.
constexpr Integer Bar = 16;

class RasterImgView32 : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessScreen();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(10, 10, 700, 500);
    View = new TImgView32(Form.get());
    View->SetParent(Form.get());
    View->GetScrollBars()->SetSize(Bar);
    View->SetBounds(0, 0, 600 + Bar, 400 + Bar);
    View->OnScroll = TNotifyEvent(this, &RasterImgView32::Scrolled);
    // The bars take their lengths from their windows' sizes.
    Form->Show();
    RunUntilIdle();
  }
  void TearDown() override {
    Form.reset();
    RunUntilIdle();
  }
  void Picture(Integer W, Integer H) { View->GetBitmap()->SetSize(W, H); }
  void Scrolled(TObject*) { ++Scrolls; }

  std::unique_ptr<TForm> Form;
  TImgView32* View = nullptr;
  Integer Scrolls = 0;
};
}  // namespace

TEST_F(RasterImgView32, NarrowPictureIsCentredWhateverTheBar) {
  Picture(400, 300);
  EXPECT_EQ(View->GetOffsetX(), 100);
  View->GetHorzBar()->SetScrollPos(50);
  View->Scroll(0, 0);
  EXPECT_EQ(View->GetOffsetX(), 100);
  // Not centred: the offset follows the bar, which cannot leave 0 for a short content.
  View->SetCentered(false);
  View->Scroll(30, 0);
  EXPECT_EQ(View->GetHorzBar()->GetScrollPos(), 0);
  EXPECT_EQ(View->GetOffsetX(), 0);
}

TEST_F(RasterImgView32, WidePictureScrollsOverItsWholeWidth) {
  Picture(1000, 300);
  EXPECT_EQ(View->GetHorzBar()->GetContentLength(), 1000);
  View->CenterOn(500, 150);
  EXPECT_EQ(View->GetHorzBar()->GetScrollPos(), 200);
  EXPECT_EQ(View->GetOffsetX(), -200);
  EXPECT_EQ(View->CalcBitmapRect().Left, -200);
  // Dragging past the end stops at it, and a programmatic scroll is not reported.
  View->Scroll(1000, 0);
  EXPECT_EQ(View->GetHorzBar()->GetScrollPos(), 400);
  View->Scroll(5, 0);
  EXPECT_EQ(View->GetHorzBar()->GetScrollPos(), 400);
  EXPECT_EQ(View->GetOffsetX(), -400);
  EXPECT_EQ(Scrolls, 0);
}

TEST_F(RasterImgView32, OverSizeAddsAScaledMarginBeforeThePicture) {
  View->SetCentered(false);
  View->SetOverSize(10);
  Picture(500, 300);
  View->SetScale(2);
  EXPECT_EQ(View->GetHorzBar()->GetContentLength(), 1000 + 40);
  View->Scroll(-1000, -1000);
  EXPECT_EQ(View->GetOffsetX(), 20);
  EXPECT_EQ(View->GetOffsetY(), 20);
}

TEST_F(RasterImgView32, AutoBarsHideForAFittingPicture) {
  View->GetScrollBars()->SetVisibility(svAuto);
  Picture(200, 100);
  EXPECT_FALSE(View->BarsShown());
  EXPECT_EQ(View->EffectiveBarSize(), 0);
  EXPECT_EQ(View->ViewportRect().Right, 600 + Bar);
  EXPECT_FALSE(View->GetHorzBar()->GetVisible());
  // Zoomed past the viewport they come back.
  View->SetScale(4);
  EXPECT_TRUE(View->BarsShown());
  EXPECT_TRUE(View->GetVertBar()->GetVisible());
}

TEST_F(RasterImgView32, UserMovesOfABarPlaceThePictureAndReportIt) {
  Picture(1000, 300);
  TCustomRangeBar* H = View->GetHorzBar();
  const Single Before = H->GetScrollPos();
  // A click on the track after the thumb pages by the visible length.
  const TRect Thumb = H->ThumbRect();
  const TPoint P = H->ClientToScreen({Thumb.Right + 5, 5});
  ScreenClick(P.X, P.Y);
  RunUntilIdle();
  EXPECT_EQ(Before, 200);
  EXPECT_EQ(H->GetScrollPos(), 400);  // 200 + 600, clamped
  EXPECT_EQ(View->GetOffsetX(), -H->GetScrollPos());
  EXPECT_EQ(Scrolls, 1);
}

TEST_F(RasterImgView32, ScrollPropertiesSetBothBarsAndCannotBeCopied) {
  View->GetScrollBars()->SetIncrement(20);
  View->GetScrollBars()->SetStyle(rbsMac);
  EXPECT_EQ(View->GetVertBar()->GetIncrement(), 20);
  EXPECT_EQ(View->GetVertBar()->GetStyle(), rbsMac);
  TImgView32 Other(nullptr);
  try {
    View->SetScrollBars(Other.GetScrollBars());
    FAIL() << "copied";
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.GetMessage(), "Cannot assign a TIVScrollProperties to a TIVScrollProperties");
  }
}
