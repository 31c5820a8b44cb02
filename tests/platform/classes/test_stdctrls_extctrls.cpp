// Panels, bevels, splitters, images, paint boxes and radio groups.
#include "StdCtrlsTestSupport.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ExtCtrls.h"

namespace {

using TExtCtrlsTest = TStdCtrlsTest;

struct TPaintLog {
  Integer Paints = 0;
  void Paint(TObject* Sender) {
    ++Paints;
    auto* Box = static_cast<TPaintBox*>(Sender);
    Box->GetCanvas()->GetBrush()->SetColor(clRed);
    Box->GetCanvas()->FillRect(Rect(0, 0, 10, 10));
  }
};

}  // namespace

TEST_F(TExtCtrlsTest, PanelInTheClassicLook) {
  auto* Panel = Add<TPanel>("Panel", Bounds(10, 10, 120, 60));
  EXPECT_EQ(Panel->GetCaption(), "Panel");
  Panel->SetCaption("");
  Panel->SetBevelInner(bvLowered);
  Panel->SetBevelWidth(2);
  Pump();
  TControlShot P = ShotOf(Panel);
  const DWORD Light = ScreenColor(clBtnHighlight), Shadow = ScreenColor(clBtnShadow),
              Face = ScreenColor(clBtnFace);
  // Outer raised bevel (2 pixels), then the inner lowered one, then the face.
  for (const auto& [X, Y, Expected] :
       {std::tuple{0, 0, Light}, std::tuple{1, 1, Light}, std::tuple{119, 59, Shadow},
        std::tuple{118, 30, Shadow}, std::tuple{0, 58, Light}, std::tuple{0, 59, Shadow},
        std::tuple{119, 0, Shadow}, std::tuple{2, 2, Shadow}, std::tuple{3, 20, Shadow},
        std::tuple{117, 57, Light}, std::tuple{4, 4, Face}, std::tuple{60, 30, Face}})
    EXPECT_EQ(P(X, Y), Expected) << X << "," << Y;

  // Children align inside the bevels and the border width.
  Panel->SetBorderWidth(3);
  auto* Child = Add<TPanel>("Child", Bounds(0, 0, 10, 10), Panel);
  Child->SetAlign(alClient);
  EXPECT_EQ(Child->GetBoundsRect(), Rect(7, 7, 113, 53));

  // The caption (glyphs are smoothed: every pixel that is not the face) is centred.
  Child->SetAlign(alNone);
  Child->SetVisible(false);
  Panel->SetBorderWidth(0);
  Panel->SetCaption("W");
  Panel->GetFont()->SetColor(clBlack);
  Pump();
  P = ShotOf(Panel);
  Integer MinX = 1000, MaxX = -1;
  for (Integer X = 4; X < 116; ++X)
    for (Integer Y = 4; Y < 56; ++Y)
      if (P(X, Y) != Face) {
        MinX = std::min(MinX, X);
        MaxX = std::max(MaxX, X);
      }
  ASSERT_GE(MaxX, 0);
  EXPECT_NEAR((MinX + MaxX) / 2.0, 60, 1);
  EXPECT_LT(MaxX - MinX, 20);
}

TEST_F(TExtCtrlsTest, BevelShapes) {
  auto* Bevel = Add<TBevel>("Bevel", Bounds(10, 10, 40, 30));
  const DWORD Light = ScreenColor(clBtnHighlight), Shadow = ScreenColor(clBtnShadow);
  struct TCase {
    TBevelShape Shape;
    TBevelStyle Style;
    TPoint A;
    DWORD ColorA;
    TPoint B;
    DWORD ColorB;
  };
  for (const TCase& C : {TCase{bsBox, bsLowered, {0, 0}, Shadow, {39, 29}, Light},
                         TCase{bsBox, bsRaised, {0, 15}, Light, {39, 15}, Shadow},
                         TCase{bsFrame, bsLowered, {0, 0}, Shadow, {1, 1}, Light},
                         TCase{bsTopLine, bsLowered, {20, 0}, Shadow, {20, 1}, Light},
                         TCase{bsBottomLine, bsRaised, {20, 28}, Light, {20, 29}, Shadow},
                         TCase{bsLeftLine, bsLowered, {0, 10}, Shadow, {1, 10}, Light},
                         TCase{bsRightLine, bsLowered, {38, 10}, Shadow, {39, 10}, Light}}) {
    Bevel->SetShape(C.Shape);
    Bevel->SetStyle(C.Style);
    Pump();
    const TControlShot P = ShotOf(Bevel);
    EXPECT_EQ(P(C.A.X, C.A.Y), C.ColorA) << C.Shape;
    EXPECT_EQ(P(C.B.X, C.B.Y), C.ColorB) << C.Shape;
  }
}

TEST_F(TExtCtrlsTest, SplitterResizesItsNeighbour) {
  auto* Left = Add<TPanel>("Left", Bounds(0, 0, 100, 100));
  Left->SetAlign(alLeft);
  auto* Splitter = Add<TSplitter>("Splitter", Bounds(100, 0, 4, 100));
  Splitter->SetAlign(alLeft);
  auto* Rest = Add<TPanel>("Rest", Bounds(200, 0, 100, 100));
  Rest->SetAlign(alClient);
  Splitter->OnMoved = TNotifyEvent(&Events, &TControlEvents::Change);
  Pump();
  ASSERT_EQ(Splitter->GetLeft(), 100);
  EXPECT_EQ(Splitter->GetCursor(), crHSplit);

  auto Drag = [&](Integer Dx) {
    const TPoint From = At(Splitter, 2, 50);
    ScriptMoveTo(From.X, From.Y);
    ScriptButton(true);
    ScriptMoveTo(From.X + Dx / 2, From.Y);
    ScriptMoveTo(From.X + Dx, From.Y);
    ScriptButton(false);
    Pump();
    Clock.Advance(1000);
  };
  Drag(50);
  EXPECT_EQ(Left->GetWidth(), 150);
  EXPECT_EQ(Splitter->GetLeft(), 150);
  EXPECT_EQ(Rest->GetLeft(), 154);
  EXPECT_EQ(Events.Lines, (TLines{"Change Splitter"}));
  // Not beyond what leaves the rest its minimum size.
  Drag(1000);
  EXPECT_EQ(Left->GetWidth(), 400 - 4 - 30);
  // Below the minimum size the neighbour snaps shut.
  Splitter->SetResizeStyle(rsUpdate);
  Drag(-(Left->GetWidth() - 10));
  EXPECT_EQ(Left->GetWidth(), 0);
  EXPECT_EQ(Splitter->GetLeft(), 0);
}

TEST_F(TExtCtrlsTest, ImageDestinationRectangles) {
  auto* Image = Add<TImage>("Image", Bounds(10, 10, 100, 80));
  TBitmap Bitmap;
  struct TCase {
    Integer W, H;
    bool Stretch, Proportional, Center;
    TRect Expected;
  };
  for (const TCase& C : {TCase{40, 20, false, false, false, Rect(0, 0, 40, 20)},
                         TCase{40, 20, true, false, false, Rect(0, 0, 100, 80)},
                         TCase{40, 20, true, true, false, Rect(0, 0, 100, 50)},
                         TCase{40, 20, false, true, false, Rect(0, 0, 40, 20)},  // fits: not enlarged
                         TCase{200, 100, false, true, false, Rect(0, 0, 100, 50)},
                         TCase{20, 40, true, true, true, Rect(30, 0, 70, 80)},
                         TCase{40, 20, false, false, true, Rect(30, 30, 70, 50)},
                         TCase{300, 30, false, true, true, Rect(0, 35, 100, 45)}}) {
    Bitmap.SetSize(C.W, C.H);
    Image->GetPicture()->SetBitmap(&Bitmap);
    Image->SetStretch(C.Stretch);
    Image->SetProportional(C.Proportional);
    Image->SetCenter(C.Center);
    EXPECT_EQ(Image->DestRect(), C.Expected)
        << C.W << "x" << C.H << " " << C.Stretch << C.Proportional << C.Center;
  }
}

TEST_F(TExtCtrlsTest, ImagePaintsItsPictureAndItsCanvasMakesABitmap) {
  auto* Image = Add<TImage>("Image", Bounds(10, 10, 60, 40));
  // The canvas of an empty image: a bitmap of the control's size.
  TCanvas* Canvas = Image->GetCanvas();
  ASSERT_NE(Image->GetPicture()->GetBitmap(), nullptr);
  EXPECT_EQ(Image->GetPicture()->GetWidth(), 60);
  Canvas->GetBrush()->SetColor(clBlue);
  Canvas->FillRect(Rect(0, 0, 60, 40));
  Canvas->GetBrush()->SetColor(clRed);
  Canvas->FillRect(Rect(0, 0, 30, 20));
  Pump();
  TControlShot P = ShotOf(Image);
  EXPECT_EQ(P(5, 5), 0xFF0000u);
  EXPECT_EQ(P(45, 30), 0x0000FFu);
  // Stretched to twice the size: the red quarter covers the top-left 60 x 40.
  Image->SetBounds(10, 10, 120, 80);
  Image->SetStretch(true);
  Pump();
  P = ShotOf(Image);
  EXPECT_EQ(P(58, 38), 0xFF0000u);
  EXPECT_EQ(P(62, 42), 0x0000FFu);
  // AutoSize follows the picture.
  Image->SetStretch(false);
  Image->SetAutoSize(true);
  EXPECT_EQ(Image->GetWidth(), 60);
  EXPECT_EQ(Image->GetHeight(), 40);
  // Another graphic than a bitmap has no canvas to draw on.
  auto* Plain = new TImage(Form);
  EXPECT_EQ(Plain->GetPicture()->GetGraphic(), nullptr);
  delete Plain;
}

TEST_F(TExtCtrlsTest, PaintBoxPaintsThroughOnPaint) {
  auto* Box = Add<TPaintBox>("Box", Bounds(20, 20, 30, 30));
  TPaintLog Log;
  Box->OnPaint = TNotifyEvent(&Log, &TPaintLog::Paint);
  Box->Invalidate();
  Pump();
  EXPECT_GE(Log.Paints, 1);
  EXPECT_EQ(ShotOf(Box)(5, 5), 0xFF0000u);
}

TEST_F(TExtCtrlsTest, RadioGroupMakesAButtonPerItem) {
  auto* Group = Add<TRadioGroup>("Group", Bounds(10, 10, 200, 100));
  Group->OnClick = TNotifyEvent(&Events, &TControlEvents::Click);
  Group->GetItems()->SetCommaText("One,Two,Three");
  EXPECT_EQ(Group->GetControlCount(), 3);
  EXPECT_EQ(Group->GetButton(1)->GetCaption(), "Two");
  EXPECT_EQ(Group->GetItemIndex(), -1);
  // One column: the buttons below each other, all of the width.
  const TRect B0 = Group->GetButton(0)->GetBoundsRect(), B1 = Group->GetButton(1)->GetBoundsRect();
  EXPECT_EQ(B0.Left, 8);
  EXPECT_EQ(B1.Left, 8);
  EXPECT_GT(B1.Top, B0.Top);
  EXPECT_EQ(B0.Width(), 190);

  ClickAt(Group->GetButton(1), 5, B1.Height() / 2);
  EXPECT_EQ(Group->GetItemIndex(), 1);
  EXPECT_TRUE(Group->GetButton(1)->GetChecked());
  EXPECT_EQ(Events.Lines, (TLines{"Click Group"}));
  Group->SetItemIndex(2);
  EXPECT_FALSE(Group->GetButton(1)->GetChecked());
  EXPECT_TRUE(Group->GetButton(2)->GetChecked());
  EXPECT_EQ(Events.Lines.size(), 2u);

  // Two columns: the third button starts the second one.
  Group->SetColumns(2);
  EXPECT_EQ(Group->GetButton(2)->GetLeft(), 8 + 95);
  EXPECT_EQ(Group->GetButton(2)->GetTop(), Group->GetButton(0)->GetTop());
  // Fewer items: fewer buttons, the index kept in range.
  Group->GetItems()->Delete(2);
  EXPECT_EQ(Group->GetControlCount(), 2);
  EXPECT_EQ(Group->GetItemIndex(), 1);
}
