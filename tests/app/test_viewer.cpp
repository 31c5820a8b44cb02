// The result viewer: the fit zoom and the slider's range for large and small results, the
// fixed zoom steps and their cursors, switching between result and pattern, panning with the
// mouse, and the click on the main window's result that opens the viewer.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/Viewer.h"
#include "platform/classes/Application.h"
#include "platform/system/Math.h"
#include "platform/user/WindowMessages.h"
#include "raster/RS32_ImgView.h"

namespace {
// Fit on a 1600 x 1000 work area with 35 and 85 pixels of frame room.
TEST(ViewerFit, LargeSmallAndMediumResults) {
  struct TCase {
    Integer W, H;
    Integer FitTrunc;  // Trunc(FitPercent): what "Fit" asks for
    Integer Minimum;
  } Cases[] = {
      {2000, 1000, 78, 39},  // fit 0.7825
      {600, 400, 228, 114},  // fit 2.2875; the slider clamps "Fit" to 200
      {800, 600, 152, 76},   // fit 1.525
  };
  for (const TCase& C : Cases) {
    const Single Fit = ViewerFitScale(1600, 1000, 35, 85, C.W, C.H);
    EXPECT_EQ(static_cast<Integer>(Trunc(Fit * 100)), C.FitTrunc) << C.W;
    EXPECT_EQ(ViewerMinimumZoom(Fit), C.Minimum) << C.W;
  }
  EXPECT_FLOAT_EQ(ViewerFitScale(1600, 1000, 35, 85, 2000, 1000), 0.7825f);
}

TEST(ViewerFit, TinyResultKeepsARangeAndWideFramesDoNotWrap) {
  // Half of a fit of 8 would be 400 %, above the slider's 200: the range starts at 100 %.
  EXPECT_EQ(ViewerMinimumZoom(8.0f), 100);
  EXPECT_EQ(ViewerMinimumZoom(4.0f), 200);
  EXPECT_EQ(ViewerFrameRoom(1200, 900), 325);
  EXPECT_EQ(ViewerFrameRoom(859, 855), 29);
}

class ViewerWindow : public TMosaicTest {
 protected:
  void SetUp() override {
    TMosaicTest::SetUp();
    Application->CreateForm(Form2);
    Viewer.reset(Form2);
  }
  void TearDown() override {
    Viewer.reset();
    Form2 = nullptr;
    TMosaicTest::TearDown();
  }
  void Open(Integer W, Integer H) {
    ResultBitmap->Assign(
        MakeBitmap(W, H, [](Integer X, Integer Y) { return Rgb(X % 256, Y % 256, 7); }).get());
    Form->ShowViewer(nullptr);
    RunUntilIdle();
  }
  void Press(Integer Index) {
    Viewer->ZoomButtons[Index]->Click();
    RunUntilIdle();
  }
  std::unique_ptr<TForm2> Viewer;
};
}  // namespace

TEST_F(ViewerWindow, OpensAtOneHundredPercentWithTheRangeFromHalfTheFit) {
  Open(3000, 2000);
  EXPECT_TRUE(Viewer->GetVisible());
  EXPECT_EQ(Viewer->ImgViewer->GetBitmap()->GetWidth(), 3000);
  EXPECT_EQ(Viewer->ImgViewer->GetScale(), 1.0f);
  EXPECT_EQ(Viewer->Label2->GetCaption(), "100%");
  EXPECT_GT(FitPercent, 0);
  EXPECT_EQ(Viewer->GaugeBar1->GetMin(), static_cast<Integer>(Trunc(FitPercent / 100 * 50)));
  EXPECT_TRUE(Viewer->RadioButton1->GetChecked());
}

TEST_F(ViewerWindow, SmallResultStartsAtTheMinimumAndCanStillZoom) {
  Open(20, 10);  // a fit far above 400 %
  EXPECT_EQ(Viewer->GaugeBar1->GetMin(), 100);
  EXPECT_EQ(Viewer->ImgViewer->GetScale(), 1.0f);
  Press(6);  // "Max"
  EXPECT_EQ(Viewer->ImgViewer->GetScale(), 2.0f);
  EXPECT_EQ(Viewer->Label2->GetCaption(), "200%");
}

TEST_F(ViewerWindow, FixedZoomButtonsSetTheSliderAndTheCursor) {
  Open(3000, 2000);
  const Integer FitZoom = static_cast<Integer>(Trunc(FitPercent));
  struct TCase {
    Integer Button;
    Integer Percent;
    TCursor Cursor;
  } Cases[] = {
      {6, 200, crHandPoint}, {1, 50, crArrow},      {3, 100, crArrow},     {4, 125, crHandPoint},
      {2, 75, crArrow},      {5, 150, crHandPoint}, {0, FitZoom, crArrow},
  };
  for (const TCase& C : Cases) {
    Press(C.Button);
    EXPECT_EQ(Viewer->GaugeBar1->GetPosition(), C.Percent) << C.Button;
    EXPECT_FLOAT_EQ(Viewer->ImgViewer->GetScale(), C.Percent / 100.0f) << C.Button;
    EXPECT_EQ(Viewer->Label2->GetCaption(), std::to_string(C.Percent) + "%");
    EXPECT_EQ(Viewer->ImgViewer->GetCursor(), C.Cursor) << C.Button;
  }
}

TEST_F(ViewerWindow, PatternAndBackKeepTheZoom) {
  PatternBitmap->Assign(MakeBitmap(640, 480, [](Integer, Integer) { return clBlack; }).get());
  Open(1200, 900);
  Press(5);  // 150 %
  Viewer->RadioButton2->SetChecked(true);
  RunUntilIdle();
  EXPECT_EQ(Viewer->ImgViewer->GetBitmap()->GetWidth(), 640);
  EXPECT_EQ(Viewer->ImgViewer->GetScale(), 1.5f);
  EXPECT_FALSE(Viewer->RadioButton1->GetChecked());
  Viewer->RadioButton1->SetChecked(true);
  RunUntilIdle();
  EXPECT_EQ(Viewer->ImgViewer->GetBitmap()->GetWidth(), 1200);
  EXPECT_EQ(Viewer->ImgViewer->GetScale(), 1.5f);
}

TEST_F(ViewerWindow, DraggingPansThePictureWithTheMouse) {
  Open(4000, 3000);
  TImgView32* View = Viewer->ImgViewer;
  const Single X0 = View->GetHorzBar()->GetScrollPos(), Y0 = View->GetVertBar()->GetScrollPos();
  const TPoint From = View->ClientToScreen({300, 300});
  Headless().MoveTo(From.X, From.Y);
  Headless().ButtonDown();
  RunUntilIdle();
  EXPECT_TRUE(Viewer->Dragging);
  EXPECT_EQ(View->GetCursor(), crSizeAll);
  Headless().MoveTo(From.X - 50, From.Y - 30);
  RunUntilIdle();
  Headless().ButtonUp();
  RunUntilIdle();
  // The picture follows the mouse: the view moved right and down by the drag.
  EXPECT_EQ(View->GetHorzBar()->GetScrollPos(), X0 + 50);
  EXPECT_EQ(View->GetVertBar()->GetScrollPos(), Y0 + 30);
  EXPECT_EQ(View->GetOffsetX(), -(X0 + 50));
  EXPECT_FALSE(Viewer->Dragging);
  EXPECT_EQ(View->GetCursor(), crDefault);
}

TEST_F(ViewerWindow, ClickOnTheResultOpensTheViewer) {
  EXPECT_FALSE(Viewer->GetVisible());
  const TPoint P =
      Form->Image1->ClientToScreen({Form->Image1->GetWidth() / 2, Form->Image1->GetHeight() / 2});
  Headless().Click(P.X, P.Y);
  RunUntilIdle();
  EXPECT_TRUE(Viewer->GetVisible());
  EXPECT_EQ(Viewer->ImgViewer->GetBitmap()->GetWidth(), ResultBitmap->GetWidth());
}
