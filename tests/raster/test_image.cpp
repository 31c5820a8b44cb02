// The image control on the headless screen: placement for every scale mode and alignment,
// repaint modes, back-buffer slack, scale and update rules, and mouse dispatch to layers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RasterScreen.h"
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Forms.h"
#include "platform/system/Clock.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Math.h"
#include "platform/user/WindowMessages.h"
#include "raster/RS32_Image.h"

namespace {
constexpr TColor ImageColor = 0x00604020;  // blue 0x60, green 0x40, red 0x20
constexpr DWORD Background = 0x204060;

// A recognisable colour for every source pixel.
DWORD SourceRGB(Integer X, Integer Y) {
  return (static_cast<DWORD>(10 + 6 * X) << 16) | (static_cast<DWORD>(10 + 20 * Y) << 8) | 0x99;
}

void Fill24(TBitmap& B, Integer W, Integer H) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y) {
    auto* Row = static_cast<Byte*>(B.GetScanLine(Y));
    for (Integer X = 0; X < W; ++X) {
      const DWORD C = SourceRGB(X, Y);
      Row[3 * X] = static_cast<Byte>(C);
      Row[3 * X + 1] = static_cast<Byte>(C >> 8);
      Row[3 * X + 2] = static_cast<Byte>(C >> 16);
    }
  }
}

// The nearest source pixel of a shown extent: Trunc(position x source/shown, as a single).
Integer Nearest(Integer Pos, Integer Shown, Integer Source) {
  if (Shown <= 1) return (Source - 1) / 2;
  const Single Ratio = static_cast<Single>(static_cast<Extended>(Source) / Shown);
  return static_cast<Integer>(Trunc(static_cast<Extended>(Pos) * Ratio));
}

class RasterImage32 : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessScreen();
    NewImage(20, 16);
  }
  void TearDown() override {
    Form.reset();
    RunUntilIdle();
  }
  void NewImage(Integer W, Integer H) {
    Form.reset();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 30, W + 10, H + 10);
    Image = new TImage32(Form.get());
    Image->SetColor(ImageColor);
    Image->SetBounds(0, 0, W, H);
    Image->SetParent(Form.get());
  }
  void Show() {
    Form->Show();
    RunUntilIdle();
  }
  TWindowPixels Shot() { return WindowPixels(Image->GetHandle()); }
  void AssignSource(Integer W, Integer H) {
    TBitmap Source;
    Fill24(Source, W, H);
    Image->GetBitmap()->Assign(&Source);
  }

  std::unique_ptr<TForm> Form;
  TImage32* Image = nullptr;
};
}  // namespace

// The main window's setting (nearest resampler, centred, optimal, scale 1) and every other
// scale mode and alignment, pixel for pixel.
TEST_F(RasterImage32, ScaleModesAndAlignmentsShowExactPixels) {
  struct TCase {
    const char* Name;
    Integer BW, BH;
    TScaleMode Mode;
    TBitmapAlign Align;
    Single Scale;
    Single OffsetX, OffsetY;
    TRect Shown;
  } Cases[] = {
      {"normal, top left", 8, 6, smNormal, baTopLeft, 1, 0, 0, {0, 0, 8, 6}},
      {"normal, centred", 8, 6, smNormal, baCenter, 1, 0, 0, {6, 5, 14, 11}},
      {"optimal, smaller than the view: own size", 8, 6, smOptimal, baCenter, 1, 0, 0, {6, 5, 14, 11}},
      {"optimal, wider than the view: fitted", 40, 10, smOptimal, baCenter, 1, 0, 0, {0, 5, 20, 10}},
      {"stretch", 8, 6, smStretch, baTopLeft, 1, 0, 0, {0, 0, 20, 16}},
      {"resize keeps the proportions", 8, 6, smResize, baCenter, 1, 0, 0, {0, 0, 20, 15}},
      {"scale 1.5 rounds halves to even", 5, 3, smScale, baCenter, 1.5f, 0, 0, {6, 6, 14, 10}},
      {"scale 2", 8, 6, smScale, baTopLeft, 2, 0, 0, {0, 0, 16, 12}},
      {"optimal scaled, fits: scaled", 5, 3, smOptimalScaled, baCenter, 2, 0, 0, {5, 5, 15, 11}},
      {"optimal scaled, too big: fitted", 8, 6, smOptimalScaled, baCenter, 3, 0, 0, {0, 0, 20, 15}},
      {"tiled from the corner", 8, 6, smNormal, baTile, 1, 0, 0, {0, 0, 8, 6}},
      {"custom offset rounds halves to even", 8, 6, smNormal, baCustom, 1, 3.5f, -2.5f, {4, -2, 12, 4}},
      {"centred, one wider than the control", 21, 6, smNormal, baCenter, 1, 0, 0, {0, 5, 21, 11}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    NewImage(20, 16);
    Image->GetBitmap()->SetResamplerClassName("TNearestResampler");
    Image->SetBitmapAlign(C.Align);
    Image->SetScale(C.Scale);
    Image->SetScaleMode(C.Mode);
    Image->SetOffsetX(C.OffsetX);
    Image->SetOffsetY(C.OffsetY);
    AssignSource(C.BW, C.BH);
    Show();
    EXPECT_EQ(Image->GetShownBitmapRect(), C.Shown);
    const TWindowPixels P = Shot();
    ASSERT_EQ(P.Width, 20);
    ASSERT_EQ(P.Height, 16);
    const TRect& R = C.Shown;
    Integer Wrong = 0;
    for (Integer Y = 0; Y < 16; ++Y)
      for (Integer X = 0; X < 20; ++X) {
        DWORD Want = Background;
        if (C.Align == baTile)
          Want = SourceRGB(X % C.BW, Y % C.BH);
        else if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom)
          Want = SourceRGB(Nearest(X - R.Left, R.Width(), C.BW), Nearest(Y - R.Top, R.Height(), C.BH));
        if (P.Pixel(X, Y) != Want && ++Wrong <= 3)
          ADD_FAILURE() << "pixel " << X << "," << Y << ": " << std::hex << P.Pixel(X, Y) << " wanted "
                        << Want;
      }
    EXPECT_EQ(Wrong, 0);
  }
}

TEST_F(RasterImage32, EmptyBitmapShowsTheControlColour) {
  Show();
  const TWindowPixels P = Shot();
  for (DWORD Pixel : P.Pixels) ASSERT_EQ(Pixel, Background);
}

// rmFull repaints the whole control on a change; rmDirect only the changed square grown by the
// resampler's reach plus one.
TEST_F(RasterImage32, RepaintModes) {
  AssignSource(8, 6);
  Show();
  TBitmap32* B = Image->GetBitmap();
  auto Recolour = [B] {
    for (Integer I = 0; I < B->GetWidth() * B->GetHeight(); ++I) B->GetPixels()[I] = 0xFF0000FF;
  };

  Image->SetRepaintMode(rmDirect);
  RunUntilIdle();
  Recolour();
  B->AreaChanged(MakeRect(4, 3, 5, 4), AreaInfoRect);
  RunUntilIdle();
  TWindowPixels P = Shot();
  for (Integer Y = 0; Y < 6; ++Y)
    for (Integer X = 0; X < 8; ++X) {
      const bool Inside = X >= 2 && X < 7 && Y >= 1 && Y < 6;
      EXPECT_EQ(P.Pixel(X, Y), Inside ? 0x0000FFu : SourceRGB(X, Y)) << X << "," << Y;
    }

  Image->SetRepaintMode(rmFull);
  RunUntilIdle();
  Recolour();
  B->Changed();
  RunUntilIdle();
  P = Shot();
  EXPECT_EQ(P.Pixel(0, 0), 0x0000FFu);
  EXPECT_EQ(P.Pixel(7, 5), 0x0000FFu);
  EXPECT_EQ(P.Pixel(8, 0), Background);
}

// rmOptimizer: the optimizer's rectangles are redrawn and copied, nothing else. Paints take no
// time on the fake clock, so the optimizer stays at its exact level.
TEST_F(RasterImage32, OptimizerRepaintsOnlyItsRectangles) {
  TFakeClock Clock(5000);
  SetClockSource(&Clock);
  AssignSource(8, 6);
  Image->SetRepaintMode(rmOptimizer);
  Show();
  TBitmap32* B = Image->GetBitmap();
  // The full paints so far left the whole buffer recorded; the first partial paint takes it.
  B->AreaChanged(MakeRect(0, 0, 1, 1), AreaInfoRect);
  RunUntilIdle();
  for (Integer I = 0; I < B->GetWidth() * B->GetHeight(); ++I) B->GetPixels()[I] = 0xFF0000FF;
  B->AreaChanged(MakeRect(6, 0, 7, 1), AreaInfoRect);
  RunUntilIdle();
  const TWindowPixels P = Shot();
  for (Integer Y = 0; Y < 6; ++Y)
    for (Integer X = 0; X < 8; ++X) {
      const bool Inside = X >= 4 && Y < 3;  // (6, 0, 7, 1) grown by 2
      EXPECT_EQ(P.Pixel(X, Y), Inside ? 0x0000FFu : SourceRGB(X, Y)) << X << "," << Y;
    }
  EXPECT_EQ(static_cast<TMicroTilesRepaintOptimizer*>(Image->GetOptimizer())->GetLevel(), 0);
  SetClockSource(nullptr);
}

TEST_F(RasterImage32, BackBufferKeepsSlack) {
  NewImage(192, 192);
  Show();
  TBitmap32* Buffer = Image->GetBackBuffer();
  EXPECT_EQ(Buffer->GetWidth(), 232);
  struct TStep {
    Integer Width, Want;
  } Steps[] = {{202, 232}, {191, 191}, {192, 232}, {232, 232}, {10, 10}, {0, 10}};
  for (const TStep& S : Steps) {
    Image->SetWidth(S.Width);
    RunUntilIdle();
    EXPECT_EQ(Buffer->GetWidth(), S.Want) << "width " << S.Width;
    EXPECT_EQ(Buffer->GetHeight(), 232);
  }
}

TEST_F(RasterImage32, ScaleAndUpdateRules) {
  Integer Changes = 0;
  struct TCounter {
    Integer* N;
    void Count(TObject*) { ++*N; }
  } Counter{&Changes};
  Image->OnChange = TNotifyEvent(&Counter, &TCounter::Count);
  struct TCase {
    Single Value, Stored;
    Integer Changes;
  } Cases[] = {{0, 0.001f, 1}, {-1, 0.001f, 0}, {2, 2, 1}, {2, 2, 0}, {0.0005f, 0.001f, 1}};
  for (const TCase& C : Cases) {
    Changes = 0;
    Image->SetScale(C.Value);
    EXPECT_EQ(Image->GetScale(), C.Stored) << C.Value;
    EXPECT_EQ(Image->GetScaleY(), C.Stored);
    EXPECT_EQ(Changes, C.Changes) << C.Value;
  }
  Image->BeginUpdate();
  Changes = 0;
  Image->SetScaleMode(smStretch);
  EXPECT_EQ(Changes, 0);
  Image->EndUpdate();
  try {
    Image->EndUpdate();
    FAIL();
  } catch (const EAssertionFailed& E) {
    EXPECT_EQ(E.GetMessage(), "Unpaired EndUpdate call");
  }
  EXPECT_EQ(Image->GetUpdateNesting(), -1);
}

TEST_F(RasterImage32, PlacementAndMapping) {
  NewImage(100, 100);
  Image->SetScaleMode(smResize);
  Image->GetBitmap()->SetSize(200, 100);
  EXPECT_EQ(Image->CalcBitmapSize(), (TSize{100, 50}));

  // A 4000-pixel bitmap at ten times: the 16.16 product leaves 32 bits.
  Image->GetBitmap()->SetSize(4000, 3000);
  Image->SetScaleMode(smScale);
  Image->SetScale(10);
  EXPECT_EQ(Image->BitmapPointToControl({3999, 2999}), (TPoint{39990, 29990}));
  Single SX = 0, SY = 0;
  Image->GetLayerSet()->QueryScale(SX, SY);
  EXPECT_EQ(SX, 10.0f);
  Image->SetBitmapAlign(baCenter);
  Image->GetLayerSet()->QueryShift(SX, SY);
  EXPECT_EQ(SX, (100.0f - 40000.0f) / 2);

  // Absurd scales saturate instead of overflowing.
  Image->SetScale(1e30f);
  const TSize Huge = Image->CalcBitmapSize();
  EXPECT_GT(Huge.cx, 1000000);
  EXPECT_GT(Image->BitmapPointToControl({3999, 0}).X, Image->BitmapPointToControl({0, 0}).X);

  // A tiled bitmap shown without extent has nothing to repaint.
  Image->SetScale(1);
  Image->SetScaleMode(smResize);
  Image->SetBitmapAlign(baTile);
  Image->GetBitmap()->SetSize(4000, 1000);
  Image->SetBounds(0, 0, 1, 100);
  Image->SetRepaintMode(rmDirect);
  Image->GetBitmap()->FillRectClipped(0, 0, 10, 10, 0xFF000000);
  EXPECT_EQ(Image->GetShownBitmapRect(), MakeRect(0, 0, 1, 0));
}

TEST_F(RasterImage32, RenderToDrawsTheStagesElsewhere) {
  AssignSource(8, 6);
  Image->SetScaleMode(smStretch);
  TBitmap32 Dest;
  Dest.SetSize(16, 12);
  Dest.Clear(0xFF000000);
  Image->RenderTo(&Dest, MakeRect(0, 0, 16, 12));
  EXPECT_EQ(Dest.Pixel(0, 0) & 0xFFFFFF, SourceRGB(0, 0));
  EXPECT_EQ(Dest.Pixel(15, 11) & 0xFFFFFF, SourceRGB(7, 5));
  EXPECT_EQ(Image->GetRepaintMode(), rmFull);
  EXPECT_FALSE(Image->GetPlacementCurrent());
}

namespace {
class TGrabLayer : public TCustomLayer {
 public:
  explicit TGrabLayer(TLayerCollection* C) : TCustomLayer(C) {}
  bool ContainsPoint(Integer X, Integer Y) override { return X < 10 && Y < 10; }
};

struct TMouseLog {
  std::vector<std::string> Lines;
  void Down(TObject*, TMouseButton, TShiftState, Integer X, Integer Y, TCustomLayer* L) {
    Lines.push_back("down " + std::to_string(X) + "," + std::to_string(Y) + (L ? " layer" : ""));
  }
  void Up(TObject*, TMouseButton, TShiftState, Integer X, Integer Y, TCustomLayer* L) {
    Lines.push_back("up " + std::to_string(X) + "," + std::to_string(Y) + (L ? " layer" : ""));
  }
};
}  // namespace

TEST_F(RasterImage32, MouseGoesThroughTheLayers) {
  TMouseLog Log;
  Image->OnMouseDown = TImgMouseEvent(&Log, &TMouseLog::Down);
  Image->OnMouseUp = TImgMouseEvent(&Log, &TMouseLog::Up);
  TCustomLayer* L = Image->GetLayerSet()->AddLayer(&CreateLayer<TGrabLayer>);
  L->SetOptions(LF_SHOWN | LF_TAKES_MOUSE);
  Show();
  const TPoint Origin = Image->ClientToScreen({0, 0});
  ScreenClick(Origin.X + 3, Origin.Y + 4);
  ScreenClick(Origin.X + 15, Origin.Y + 12);
  RunUntilIdle();
  EXPECT_EQ(Log.Lines,
            (std::vector<std::string>{"down 3,4 layer", "up 3,4 layer", "down 15,12", "up 15,12"}));
  EXPECT_EQ(Image->GetLayerSet()->GetMouseHolder(), nullptr);
}

TEST_F(RasterImage32, MouseEnterAndLeaveFireOnce) {
  struct TCounter {
    Integer Enters = 0, Leaves = 0;
    void Enter(TObject*) { ++Enters; }
    void Leave(TObject*) { ++Leaves; }
  } Counter;
  Image->OnMouseEnter = TNotifyEvent(&Counter, &TCounter::Enter);
  Image->OnMouseLeave = TNotifyEvent(&Counter, &TCounter::Leave);
  Show();
  const TPoint Origin = Image->ClientToScreen({0, 0});
  // The application's loop follows the mouse from control to control.
  ScreenMoveTo(Origin.X + 5, Origin.Y + 5);
  Application->ProcessMessages();
  EXPECT_TRUE(Image->GetMouseInside());
  ScreenMoveTo(Origin.X + 25, Origin.Y + 20);  // onto the form beside the image
  Application->ProcessMessages();
  EXPECT_FALSE(Image->GetMouseInside());
  EXPECT_EQ(Counter.Enters, 1);
  EXPECT_EQ(Counter.Leaves, 1);
}
