// Kaleidoscope and free drawing: strokes and their symmetric images on both canvases, the
// mapping of the mouse onto the square, submit, erase, the picture area and a build from a
// drawing.
#include <initializer_list>

#include "AppTestSupport.h"
#include "app/Patterns.h"
#include "platform/system/Math.h"

namespace {
const TColor Red = 255, Blue = 16711680, Black = 0, Maroon = 128, Green = 32768, Navy = 8388608,
             Teal = 8421376, Olive = 32896;

class TDrawingTest : public TMosaicTest {
 protected:
  // Type chosen, on a 200 x 200 drawing square (grid 20, nine cells each way).
  void UseDrawing(Byte Type, TbsSkinCheckRadioBox* Symmetry = nullptr) {
    if (SourceLoaded == 0) CellsX = CellsY = 9;
    if (Symmetry != nullptr) Symmetry->SetChecked(true);
    Form->PatternBox->SetItemIndex(Type);
    Form->SelectType(Form->PatternBox);
    ASSERT_EQ(PatternType, Type);
    ASSERT_EQ(PatternSize, 200);
  }
  // Control coordinates of a point of the square, which is shown unscaled.
  TPoint ToControl(TPoint P) {
    const TRect R = Form->Image1->CalcBitmapRect();
    return {R.Left + P.X, R.Top + P.Y};
  }
  // A stroke through Points: pressed at the first, moved through all of them, released.
  void Stroke(std::initializer_list<TPoint> Points) {
    const TPoint First = ToControl(*Points.begin());
    Form->ImageMouseDown(Form->Image1, mbLeft, TShiftState{ssLeft}, First.X, First.Y, nullptr);
    for (const TPoint& P : Points) {
      const TPoint C = ToControl(P);
      Form->ImageMouseMove(Form->Image1, TShiftState{ssLeft}, C.X, C.Y, nullptr);
    }
    const TPoint Last = ToControl(*(Points.end() - 1));
    Form->ImageMouseUp(Form->Image1, mbLeft, TShiftState{}, Last.X, Last.Y, nullptr);
  }
  // Non-white pixels of B within Reach of P.
  static bool HasColourNear(TBitmap* B, TPoint P, TColor C, Integer Reach = 3) {
    for (Integer Y = P.Y - Reach; Y <= P.Y + Reach; ++Y)
      for (Integer X = P.X - Reach; X <= P.X + Reach; ++X)
        if (X >= 0 && Y >= 0 && X < B->GetWidth() && Y < B->GetHeight() && PixelAt(B, X, Y) == C) return true;
    return false;
  }
  // The colour Image1 shows at (X, Y) of its bitmap.
  TColor ShownAt(Integer X, Integer Y) {
    const TColor32 C = Form->Image1->GetBitmap()->Pixel(X, Y);
    return Rgb((C >> 16) & 0xFF, (C >> 8) & 0xFF, C & 0xFF);
  }
  bool ShowsExactly(TBitmap* B) {
    for (Integer Y = 0; Y < B->GetHeight(); ++Y)
      for (Integer X = 0; X < B->GetWidth(); ++X)
        if (ShownAt(X, Y) != PixelAt(B, X, Y)) return false;
    return true;
  }
  static Integer CountNot(TBitmap* B, TColor C) {
    Integer N = 0;
    for (Integer Y = 0; Y < B->GetHeight(); ++Y)
      for (Integer X = 0; X < B->GetWidth(); ++X) N += PixelAt(B, X, Y) != C;
    return N;
  }
};

// The images about the centre (100, 100) of the 200-pixel square of the segment (20, 60) to
// (40, 60): its middle and its end point, in the order of the eight dot colours.
struct TImageOf {
  TPoint Middle, End;
  TColor Colour;
};
const TImageOf Images[8] = {{{30, 60}, {40, 60}, Red},      {{170, 140}, {160, 140}, Blue},
                            {{30, 140}, {40, 140}, Black},  {{170, 60}, {160, 60}, Maroon},
                            {{140, 30}, {140, 40}, Green},  {{60, 170}, {60, 160}, Navy},
                            {{140, 170}, {140, 160}, Teal}, {{60, 30}, {60, 40}, Olive}};

struct TSymmetryCase {
  Byte Type;
  Integer Symmetry;  // 0: 2x, 1: 4x, 2: 8x
  std::initializer_list<Integer> Shown;
};
const TSymmetryCase SymmetryCases[] = {{ptKaleidoscope, 0, {0, 1}},
                                       {ptKaleidoscope, 1, {0, 1, 4, 5}},
                                       {ptKaleidoscope, 2, {0, 1, 2, 3, 4, 5, 6, 7}},
                                       {ptFreeDrawing, 2, {0}}};
}  // namespace

TEST_F(TDrawingTest, AStrokeIsRepeatedIntoTheImagesOfItsSymmetryOnBothCanvases) {
  for (const TSymmetryCase& C : SymmetryCases) {
    SCOPED_TRACE(::testing::Message() << "type " << Integer(C.Type) << " symmetry " << C.Symmetry);
    TbsSkinCheckRadioBox* Boxes[3] = {Form->Kal2x, Form->Kal4x, Form->Kal8x};
    UseDrawing(C.Type, Boxes[C.Symmetry]);
    // A fast movement: two points 20 pixels apart give a straight segment.
    Stroke({{20, 60}, {40, 60}});
    bool Shown[8] = {};
    for (Integer I : C.Shown) Shown[I] = true;
    for (Integer I = 0; I < 8; ++I) {
      SCOPED_TRACE(I);
      // The dot of the end point's image in its own colour, the segment's image in black.
      EXPECT_EQ(HasColourNear(DrawingBitmap.get(), Images[I].End, Images[I].Colour), Shown[I]);
      EXPECT_EQ(PixelAt(DrawingHistoryBitmap.get(), Images[I].Middle.X, Images[I].Middle.Y),
                Shown[I] ? clBlack : clWhite);
    }
    EXPECT_EQ(PointCount, 2);
    ASSERT_GE(KaleidoPoints.size(), 2u);
    EXPECT_EQ(KaleidoPoints[0], (TPoint{20, 60}));
    EXPECT_EQ(KaleidoPoints[1], (TPoint{40, 60}));
    EXPECT_EQ(SeedCount, 2);
    EXPECT_EQ(DrawingActive, 0);
    EXPECT_FALSE(Form->UpdateBtn->GetEnabled());
    // After the stroke the view is the history.
    EXPECT_EQ(ShownAt(30, 60), clBlack);
  }
}

TEST_F(TDrawingTest, StrokesAddUpAndEraseClearsTheCanvasesButKeepsThePoints) {
  UseDrawing(ptKaleidoscope, Form->Kal2x);
  Stroke({{20, 60}, {40, 60}});
  Stroke({{60, 20}, {60, 40}, {70, 40}});
  EXPECT_EQ(PixelAt(DrawingHistoryBitmap.get(), 30, 60), clBlack);  // the first stroke stays
  EXPECT_EQ(PixelAt(DrawingHistoryBitmap.get(), 60, 30), clBlack);
  EXPECT_EQ(PixelAt(DrawingHistoryBitmap.get(), 140, 170), clBlack);
  EXPECT_EQ(PointCount, 5);
  EXPECT_EQ(KaleidoPoints[4], (TPoint{70, 40}));

  Form->EraseBtn->Click();
  EXPECT_EQ(CountNot(DrawingBitmap.get(), clWhite), 0);
  EXPECT_EQ(CountNot(DrawingHistoryBitmap.get(), clWhite), 0);
  EXPECT_EQ(PointCount, 5);
  EXPECT_EQ(KaleidoPoints[0], (TPoint{20, 60}));
  EXPECT_EQ(Form->Image1->GetBitmap()->GetWidth(), 200);
}

TEST_F(TDrawingTest, TheMouseMapsOntoTheSquareShrunkToFitAndDrawingOutsideIsClipped) {
  // Without a source the square follows the window and is taller than the result area.
  Form->PatternBox->SetItemIndex(ptFreeDrawing);
  Form->SelectType(Form->PatternBox);
  const Integer W = Form->Image1->GetWidth(), H = Form->Image1->GetHeight();
  const Extended S =
      Max(Max(static_cast<Extended>(PatternSize) / W, static_cast<Extended>(PatternSize) / H), 1.0L);
  ASSERT_GT(S, 1);
  const TRect R = Form->Image1->CalcBitmapRect();
  Form->ImageMouseDown(Form->Image1, mbLeft, TShiftState{ssLeft}, 0, 0, nullptr);
  Form->ImageMouseMove(Form->Image1, TShiftState{ssLeft}, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2,
                       nullptr);
  EXPECT_NEAR(KaleidoPoints[0].X, PatternSize / 2, S + 1);
  EXPECT_NEAR(KaleidoPoints[0].Y, PatternSize / 2, S + 1);
  // Far outside the control: recorded, but nothing lands on the canvases.
  Form->ImageMouseMove(Form->Image1, TShiftState{ssLeft}, -100000, 100000, nullptr);
  Form->ImageMouseMove(Form->Image1, TShiftState{ssLeft}, 100000, -100000, nullptr);
  // While drawing the view follows the drawing canvas exactly.
  EXPECT_TRUE(Form->Image1->GetBitmap()->GetWidth() == PatternSize && ShowsExactly(DrawingBitmap.get()));
  Form->ImageMouseUp(Form->Image1, mbLeft, TShiftState{}, 0, 0, nullptr);
  EXPECT_EQ(PointCount, 3);
  EXPECT_TRUE(HasColourNear(DrawingBitmap.get(), KaleidoPoints[0], Red));
  // The history holds the outline and the long segment through the square.
  EXPECT_GT(CountNot(DrawingHistoryBitmap.get(), clWhite), 4 * (PatternSize - 1));
}

TEST_F(TDrawingTest, ADragOnTheScreenDrawsAStroke) {
  UseDrawing(ptFreeDrawing);
  const TPoint From = Form->Image1->ClientToScreen(ToControl({50, 100}));
  const TPoint To = Form->Image1->ClientToScreen(ToControl({150, 100}));
  Headless().Drag(From, To, 4);
  RunUntilIdle();
  EXPECT_EQ(DrawingActive, 0);
  ASSERT_EQ(PointCount, 4);
  EXPECT_EQ(KaleidoPoints[3], (TPoint{150, 100}));
  EXPECT_EQ(PixelAt(DrawingHistoryBitmap.get(), 100, 100), clBlack);
  EXPECT_EQ(PixelAt(DrawingHistoryBitmap.get(), 100, 99), clWhite);
}

namespace {
// Inside the small closed square (30..60, 30..60) drawn with 4x and inside its three turns:
// four cells away from the corners and the middle of the drawing.
const TPoint Inside[4] = {{45, 45}, {155, 155}, {155, 45}, {45, 155}};
}  // namespace

TEST_F(TDrawingTest, SubmitWithoutASourceShowsTheRegionsInPatternColours) {
  UseDrawing(ptKaleidoscope, Form->Kal4x);
  Stroke({{30, 30}, {60, 30}, {60, 60}, {30, 60}, {30, 30}});
  Form->SubmitBtn->Click();
  EXPECT_EQ(SeedCount, 5);  // the four cells and the space round them
  EXPECT_TRUE(Form->PatternColors->GetChecked());
  for (const TPoint& P : Inside) {
    const TColor C = PixelAt(ResultBitmap.get(), P.X, P.Y);
    EXPECT_NE(C, clWhite);
    EXPECT_NE(C, clBlack);
  }
  EXPECT_EQ(PixelAt(ResultBitmap.get(), 10, 10), clWhite);
  EXPECT_TRUE(Form->KaleidoColors->GetEnabled());
  EXPECT_TRUE(Form->KaleidoPattern->GetChecked());
  EXPECT_FALSE(Form->UpdateBtn->GetEnabled());
  // The view choice: the colours, then the lines.
  Form->KaleidoColors->SetChecked(true);
  EXPECT_EQ(ShownAt(45, 45), PixelAt(ResultBitmap.get(), 45, 45));
  Form->KaleidoPattern->SetChecked(true);
  EXPECT_EQ(ShownAt(45, 45), clWhite);
  EXPECT_EQ(ShownAt(30, 30), clBlack);
}

TEST_F(TDrawingTest, ASubmitWaitsWhileABuildIsBusy) {
  UseDrawing(ptKaleidoscope, Form->Kal4x);
  // The view choice as a build leaves it: every release submits.
  Form->KaleidoColors->SetEnabled(true);
  Form->KaleidoColors->SetChecked(true);
  // A stroke ended, and the button pressed, while a build runs the message queue: the build's
  // result stays where it is.
  Busy = 1;
  Stroke({{30, 30}, {60, 30}, {60, 60}, {30, 60}, {30, 30}});
  Form->SubmitBtn->Click();
  Busy = 0;
  EXPECT_EQ(PixelAt(DrawingHistoryBitmap.get(), 45, 30), clBlack);
  EXPECT_EQ(PixelAt(ResultBitmap.get(), 45, 30), clWhite);
  Form->SubmitBtn->Click();
  EXPECT_EQ(PixelAt(ResultBitmap.get(), 45, 30), clBlack);
  EXPECT_EQ(SeedCount, 5);
}

TEST_F(TDrawingTest, WithASourceSubmitLeavesTheRegionsWhiteAndUpdateBuildsTheMosaic) {
  Form->NoRim->SetChecked(false);
  const TColor Left = Rgb(200, 40, 40), Right = Rgb(40, 40, 200);
  auto Source = MakeBitmap(200, 200, [&](Integer X, Integer) { return X < 100 ? Left : Right; });
  LoadSource(Source.get());
  UseDrawing(ptKaleidoscope, Form->Kal4x);
  Stroke({{30, 30}, {60, 30}, {60, 60}, {30, 60}, {30, 30}});
  EXPECT_FALSE(Form->UpdateBtn->GetEnabled());
  Form->SubmitBtn->Click();
  EXPECT_EQ(SeedCount, 5);
  EXPECT_FALSE(Form->PatternColors->GetChecked());
  EXPECT_FALSE(Form->FrameOnly->GetChecked());
  for (const TPoint& P : Inside) EXPECT_EQ(PixelAt(ResultBitmap.get(), P.X, P.Y), clWhite);
  ASSERT_TRUE(Form->UpdateBtn->GetEnabled());

  // A parameter change does not build these types; the button does, from the drawing.
  Form->ChangePatternOptions(Form->LineSpin);
  EXPECT_EQ(PixelAt(ResultBitmap.get(), 45, 45), clWhite);
  Form->UpdateBtn->Click();
  EXPECT_TRUE(Form->KaleidoColors->GetChecked());
  EXPECT_EQ(Form->UpdateBtn->GetCaption(), "Update mosaic");
  EXPECT_EQ(PixelAt(ResultBitmap.get(), 45, 45), Left);
  EXPECT_EQ(PixelAt(ResultBitmap.get(), 45, 155), Left);
  EXPECT_EQ(PixelAt(ResultBitmap.get(), 155, 45), Right);
  EXPECT_EQ(PixelAt(ResultBitmap.get(), 155, 155), Right);
}

TEST_F(TDrawingTest, ThePictureAreaFrameAndItsToggleClearTheDrawingInsideOnly) {
  Form->NoRim->SetChecked(false);
  LoadUniform(200, 120, Rgb(90, 90, 90));
  UseDrawing(ptFreeDrawing);
  // The part the crop to 200 x 120 keeps, 10 pixels inside: (10, 50) to (190, 150).
  EXPECT_EQ(PixelAt(DrawingBitmap.get(), 10, 50), clLime);
  EXPECT_EQ(PixelAt(DrawingBitmap.get(), 189, 149), clLime);
  EXPECT_EQ(PixelAt(DrawingBitmap.get(), 100, 49), clWhite);
  Stroke({{80, 100}, {120, 100}});
  ASSERT_TRUE(HasColourNear(DrawingBitmap.get(), {120, 100}, Red));
  const Integer HistoryInk = CountNot(DrawingHistoryBitmap.get(), clWhite);

  Form->ShowPictArea->SetChecked(false);
  EXPECT_EQ(PixelAt(DrawingBitmap.get(), 10, 50), clWhite);
  EXPECT_FALSE(HasColourNear(DrawingBitmap.get(), {120, 100}, Red));
  Form->ShowPictArea->SetChecked(true);
  EXPECT_EQ(PixelAt(DrawingBitmap.get(), 10, 50), clLime);
  EXPECT_EQ(CountNot(DrawingHistoryBitmap.get(), clWhite), HistoryInk);
  EXPECT_EQ(PixelAt(DrawingHistoryBitmap.get(), 100, 100), clBlack);
}
