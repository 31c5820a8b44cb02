#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SelectionTestSupport.h"
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Forms.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/Painting.h"
#include "platform/system/Clock.h"
#include "platform/user/WindowPaint.h"

namespace {

constexpr TColor Grey = 0x808080;

// A grey 24-bit canvas standing in for the view's window.
struct TCanvasBitmap {
  TBitmap Bitmap;
  TCanvasBitmap(Integer Width, Integer Height) {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Width, Height);
    Bitmap.GetCanvas()->GetBrush()->SetColor(Grey);
    Bitmap.GetCanvas()->FillRect({0, 0, Width, Height});
  }
  // 'b' black, 'w' white, '.' untouched, along a row or a column.
  std::string Row(Integer Y, Integer X1, Integer X2) {
    std::string Text;
    for (Integer X = X1; X <= X2; ++X) Text += Code(Bitmap.GetCanvas()->GetPixels(X, Y));
    return Text;
  }
  std::string Column(Integer X, Integer Y1, Integer Y2) {
    std::string Text;
    for (Integer Y = Y1; Y <= Y2; ++Y) Text += Code(Bitmap.GetCanvas()->GetPixels(X, Y));
    return Text;
  }
  static char Code(TColor C) { return C == 0 ? 'b' : (C == 0xFFFFFF ? 'w' : '.'); }
};

struct TVertexLog {
  std::vector<std::string> Lines;
  void Vertex(TObject*, TCanvas*, Integer Index, TPoint P) {
    Lines.push_back(std::to_string(Index) + ":" + std::to_string(P.X) + "," + std::to_string(P.Y));
  }
};

TEST(SelectionDrawing, RectangleAntsRunAroundInsideTheRightAndBottomEdges) {
  TSelectionView View;
  View.SetPicture(40, 30);
  View.Select(4, 4, 20, 12);
  View.FRectSelecting = true;  // while dragging the outline is drawn from the polygon
  TCanvasBitmap Screen(40, 30);
  TIESelPolygon& P = *View.GetSelectionPolygon();
  P.Canvas = Screen.Bitmap.GetCanvas();
  TVertexLog Log;
  View.OnDrawPolygon = TIEOnDrawPolygon(&Log, &TVertexLog::Vertex);
  View.DrawSelection(nullptr, false);
  EXPECT_EQ(".bbbbwwwwbbbbwwww.", Screen.Row(4, 3, 20));
  // The right side goes on with the phase: three white above, one more white, then black.
  EXPECT_EQ(".wbbbbwww.", Screen.Column(19, 3, 12));
  // The bottom side runs leftward from the corner.
  EXPECT_EQ("wwbbbbwwwwbbbbww", Screen.Row(11, 4, 19));
  EXPECT_EQ((std::vector<std::string>{"1:19,4", "2:19,11", "3:4,11", "0:4,4"}), Log.Lines);

  // The timer's tick shifts where the pattern starts.
  TCanvasBitmap Shifted(40, 30);
  P.Canvas = Shifted.Bitmap.GetCanvas();
  P.AntsTick = 3;
  View.DrawSelection(nullptr, false);
  EXPECT_EQ("bwwwwbbbb", Shifted.Row(4, 4, 12));
}

TEST(SelectionDrawing, OpenPolygonWhileDrawingClosedAfterwards) {
  TSelectionView View;
  View.SetPicture(40, 30);
  const TPoint Points[] = {{2, 2}, {12, 2}, {12, 8}};
  for (const TPoint& Point : Points) View.AddSelectionPoint(Point.X, Point.Y);
  View.FPolySelecting = true;
  TCanvasBitmap Open(40, 30);
  View.GetSelectionPolygon()->Canvas = Open.Bitmap.GetCanvas();
  TVertexLog Log;
  View.OnDrawPolygon = TIEOnDrawPolygon(&Log, &TVertexLog::Vertex);
  View.DrawSelection(nullptr, false);
  EXPECT_EQ((std::vector<std::string>{"0:2,2", "1:12,2"}), Log.Lines);
  EXPECT_EQ('.', TCanvasBitmap::Code(Open.Bitmap.GetCanvas()->GetPixels(7, 5)));  // no closing diagonal

  View.FPolySelecting = false;
  View.GetSelectionMask()->Empty();  // the outline of a finished polygon without a mask
  TCanvasBitmap Closed(40, 30);
  View.GetSelectionPolygon()->Canvas = Closed.Bitmap.GetCanvas();
  Log.Lines.clear();
  View.DrawSelection(nullptr, false);
  EXPECT_EQ((std::vector<std::string>{"0:2,2", "1:12,2", "2:12,8"}), Log.Lines);
}

TEST(SelectionDrawing, RubberLineInvertsAndASecondDrawingErasesIt) {
  TSelectionView View;
  View.SetPicture(40, 30);
  View.AddSelectionPoint(5, 5);
  View.FPolySelecting = true;
  View.FRubberPoint = {25, 5};
  TCanvasBitmap Screen(40, 30);
  View.GetSelectionPolygon()->Canvas = Screen.Bitmap.GetCanvas();
  View.DrawRubberLine();
  EXPECT_EQ(TColor(0x7F7F7F), Screen.Bitmap.GetCanvas()->GetPixels(15, 5));  // grey inverted
  EXPECT_EQ(Grey, Screen.Bitmap.GetCanvas()->GetPixels(15, 6));
  View.DrawRubberLine();
  EXPECT_EQ(Grey, Screen.Bitmap.GetCanvas()->GetPixels(15, 5));
  // A lasso draws freehand and has no rubber line.
  View.FLassoSelecting = true;
  View.DrawRubberLine();
  EXPECT_EQ(Grey, Screen.Bitmap.GetCanvas()->GetPixels(15, 5));
}

TEST(SelectionDrawing, SelectionGridDividesTheRectangle) {
  TSelectionView View;
  View.SetPicture(40, 30);
  View.FSelectionGridSize = 3;
  TCanvasBitmap Screen(40, 30);
  View.GetSelectionPolygon()->Canvas = Screen.Bitmap.GetCanvas();
  View.DrawSelectionGrid(0, 0, 30, 20);
  const TColor Line = 0xA0A0A0;
  EXPECT_EQ(Line, Screen.Bitmap.GetCanvas()->GetPixels(10, 15));  // x = 0 + 30 / 3
  EXPECT_EQ(Line, Screen.Bitmap.GetCanvas()->GetPixels(20, 3));
  EXPECT_EQ(Line, Screen.Bitmap.GetCanvas()->GetPixels(25, 6));  // y = Trunc(20 / 3)
  EXPECT_EQ(Line, Screen.Bitmap.GetCanvas()->GetPixels(25, 13));
  EXPECT_EQ(Grey, Screen.Bitmap.GetCanvas()->GetPixels(25, 7));
}

TEST(SelectionDrawing, BackBufferFilledOrMarkedOutside) {
  TSelectionView View;
  View.SetPicture(10, 10);
  View.Select(2, 2, 5, 5);
  View.GetCurrentLayer()->DrawGeometry = {0, 0, 10, 10, 0, 0, 10, 10, {}};
  TIEBitmap Buffer;
  Buffer.SetLocation(ieTBitmap);
  Buffer.Allocate(10, 10, ie24RGB);
  Buffer.Fill(0xFFFFFF);
  View.DrawSelectionOnBackBuffer(&Buffer);  // neither option: nothing
  EXPECT_EQ((TIERGBTriple{255, 255, 255}), Buffer.GetPixel24(3, 3));
  View.SetSelectionOptions(TIESelectionOptions{iesoFilled});
  View.DrawSelectionOnBackBuffer(&Buffer);
  EXPECT_EQ((TIERGBTriple{0, 0, 0}), Buffer.GetPixel24(3, 3));
  EXPECT_EQ((TIERGBTriple{255, 255, 255}), Buffer.GetPixel24(7, 7));

  Buffer.Fill(0xFFFFFF);
  View.FMaskOuterValue = 255;
  View.FMaskOuterColor = 0x0000FF;  // red
  View.SetSelectionOptions(TIESelectionOptions{iesoMarkOuter});
  View.DrawSelectionOnBackBuffer(&Buffer);
  EXPECT_EQ((TIERGBTriple{255, 255, 255}), Buffer.GetPixel24(3, 3));
  EXPECT_EQ((TIERGBTriple{0, 0, 255}), Buffer.GetPixel24(7, 7));
}

// A finished selection: grips around the rectangle and the mask's border, both where the
// painter last put the picture.
struct TShownSelection {
  TSelectionView View;
  TCanvasBitmap Screen{40, 30};
  explicit TShownSelection(TComponent* Owner = nullptr) : View(Owner) {
    View.SetPicture(40, 30);
    View.Select(10, 10, 30, 20);
    View.GetCurrentLayer()->DrawGeometry = {0, 0, 40, 30, 0, 0, 40, 30, {}};
    View.GetSelectionPolygon()->Canvas = Screen.Bitmap.GetCanvas();
  }
  TColor At(Integer X, Integer Y) { return Screen.Bitmap.GetCanvas()->GetPixels(X, Y); }
};

TEST(SelectionDrawing, GripsAtTheCornersAndSidesOfASizeableRectangle) {
  TShownSelection S;
  S.View.DrawSelection(&S.View, false);
  const TColor GripFill = 0xBAFFFF;
  EXPECT_EQ(GripFill, S.At(8, 8));    // top-left corner, outside the selection
  EXPECT_EQ(GripFill, S.At(20, 7));   // middle of the top side
  EXPECT_EQ(GripFill, S.At(31, 21));  // bottom-right
  EXPECT_EQ(Grey, S.At(20, 3));
  // The border runs along the mask's edge; inside stays as it was.
  EXPECT_NE(Grey, S.At(15, 10));
  EXPECT_EQ(Grey, S.At(15, 15));

  TShownSelection NoSides;
  NoSides.View.FSelSideGrips = false;
  NoSides.View.DrawSelection(&NoSides.View, false);
  EXPECT_EQ(GripFill, NoSides.At(8, 8));
  EXPECT_EQ(Grey, NoSides.At(20, 7));

  TShownSelection Fixed;
  Fixed.View.SetSelectionOptions(TIESelectionOptions{iesoAnimated, iesoMoveable});
  Fixed.View.DrawSelection(&Fixed.View, false);
  EXPECT_EQ(Grey, Fixed.At(8, 8));
}

TEST(SelectionDrawing, TheBorderWaitsWhileScrolling) {
  TShownSelection S;
  S.View.FBorderDelay = 2;
  S.View.SetSelectionOptions(TIESelectionOptions{iesoAnimated, iesoMoveable});  // no grips either
  S.View.DrawSelection(&S.View, false);
  EXPECT_EQ(Grey, S.At(15, 10));
}

// Every reading of the clock finds it 100 ms later: drawing the border takes 100 ms.
class TSlowClock : public TClockSource {
 public:
  Int64 MonotonicNanoseconds() override { return FNanoseconds += 100'000'000; }
  TDateTime WallClockNow() override { return 36526.0; }
  void SleepFor(DWORD) override {}

 private:
  Int64 FNanoseconds = 0;
};

TEST(SelectionDrawing, ASlowBorderSlowsTheTimerDown) {
  auto Form = std::make_unique<TForm>(nullptr);
  TShownSelection S(Form.get());
  TSlowClock Clock;
  SetClockSource(&Clock);
  S.View.DrawSelection(&S.View, false);
  SetClockSource(nullptr);
  // Five times the drawing time with the default rate of -20, never below 210 ms.
  EXPECT_EQ(500u, S.View.GetSelectionTimer()->GetInterval());
}

TEST(SelectionDrawing, TimerTicksMoveTheAntsThroughTheMessageLoop) {
  TFakeClock Clock(1000);
  SetClockSource(&Clock);
  {
    auto Form = std::make_unique<TForm>(nullptr);
    auto* View = new TSelectionView(Form.get());
    View->SetParent(Form.get());
    View->SetPicture(30, 30);
    View->Select(5, 5, 20, 20);
    Application->ProcessMessages();
    const TIESelPolygon& P = *View->GetSelectionPolygon();
    const Integer Start = P.AntsTick;
    Clock.Advance(210);
    Application->ProcessMessages();
    EXPECT_EQ(Start + 1, P.AntsTick);
    Clock.Advance(100);
    Application->ProcessMessages();
    EXPECT_EQ(Start + 1, P.AntsTick);
    Clock.Advance(110);
    Application->ProcessMessages();
    EXPECT_EQ(Start + 2, P.AntsTick);
    Form.reset();
    Application->ProcessMessages();
  }
  SetClockSource(nullptr);
}

TEST(SelectionDrawing, ThePaintedWindowShowsTheBorderAndTheGrips) {
  auto Form = std::make_unique<TForm>(nullptr);
  Form->SetBounds(0, 0, 200, 150);
  auto* View = new TSelectionView(Form.get());
  View->SetBorderStyle(bsNone);
  View->SetScrollBars(ssNone);
  View->SetParent(Form.get());
  View->SetBounds(0, 0, 60, 40);
  Form->Show();
  View->SetPicture(40, 30);
  View->GetIEBitmap()->Fill(Grey);
  View->Update();
  View->Select(5, 5, 35, 25);
  Application->ProcessMessages();
  HDC DC = GetDC(View->GetHandle());
  const auto Pixel = [&](Integer X, Integer Y) { return TColor(GetPixel(DC, X, Y)); };
  // Between the corner grip and the side grip the top edge shows the border's ants.
  std::string Column;
  for (Integer Y = 3; Y <= 7; ++Y) Column += TCanvasBitmap::Code(Pixel(12, Y));
  EXPECT_NE(std::string::npos, Column.find_first_of("bw")) << Column;
  EXPECT_EQ(Grey, Pixel(12, 3));
  EXPECT_EQ(Grey, Pixel(12, 12));
  EXPECT_EQ(TColor(0xBAFFFF), Pixel(3, 3));  // the top-left grip around (5, 5)
  ReleaseDC(View->GetHandle(), DC);
  Form.reset();
  Application->ProcessMessages();
}

}  // namespace
