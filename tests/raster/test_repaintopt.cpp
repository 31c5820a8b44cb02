// Repaint optimizer: dirty rectangles from bitmap areas and layers, and the adaptive levels on
// a fake clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/system/Clock.h"
#include "raster/RS32_RepaintOpt.h"

namespace {
// A layer that paints a rectangle into the buffer.
class TBoxLayer : public TCustomLayer {
 public:
  explicit TBoxLayer(TLayerCollection* C) : TCustomLayer(C) {}
  void DrawOn(TBitmap32* Buffer) override {
    Buffer->FillRectClipped(Box.Left, Box.Top, Box.Right, Box.Bottom, 0xFF00FF00);
  }
  TRect Box{10, 10, 20, 20};
};

std::vector<TRect> Rects(TRectList& List) {
  std::vector<TRect> Out;
  for (Integer I = 0; I < List.GetCount(); ++I) Out.push_back(*List.Items(I));
  return Out;
}

class RasterRepaintOptimizer : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClockSource(&Clock);
    Buffer.SetSize(200, 200);
    Opt.WatchCollection(&Layers);
  }
  void TearDown() override { SetClockSource(nullptr); }
  // What the paint box does for one paint: collect the rectangles, paint the buffer (taking
  // PaintMs on the clock), report the paint.
  std::vector<TRect> Paint(Integer PaintMs) {
    Out.Clear();
    if (Opt.HasChanges()) Opt.BuildRects();
    const std::vector<TRect> Built = Rects(Out);
    Opt.BufferPaintStarting();
    Clock.Advance(PaintMs);
    Opt.BufferPaintFinished();
    return Built;
  }

  TFakeClock Clock{10000};
  TBitmap32 Buffer;
  TRectList Out;
  TLayerCollection Layers{nullptr};
  TMicroTilesRepaintOptimizer Opt{&Buffer, &Out};
};
}  // namespace

TEST_F(RasterRepaintOptimizer, ActivationRepaintsEverything) {
  EXPECT_FALSE(Opt.GetActive());
  Opt.SetActive(true);
  EXPECT_TRUE(Opt.HasChanges());
  EXPECT_EQ(Paint(0), (std::vector<TRect>{MakeRect(0, 0, 200, 200)}));
  EXPECT_FALSE(Opt.HasChanges());

  Opt.AreaChangedHandler(nullptr, MakeRect(10, 10, 20, 20), AreaInfoRect);
  EXPECT_TRUE(Opt.HasChanges());
  EXPECT_EQ(Paint(0), (std::vector<TRect>{MakeRect(10, 10, 20, 20)}));

  // A line area is grown by its width, then walked in 32-pixel steps, each grown by twice the
  // width: (48, 98)-(152, 102) in four steps reaching (180, 103).
  Opt.AreaChangedHandler(nullptr, MakeRect(50, 100, 150, 100), AreaInfoLine | 2);
  TRect Hull = MakeRect(1000, 1000, -1000, -1000);
  for (const TRect& R : Paint(0)) {
    Hull.Left = std::min(Hull.Left, R.Left);
    Hull.Top = std::min(Hull.Top, R.Top);
    Hull.Right = std::max(Hull.Right, R.Right);
    Hull.Bottom = std::max(Hull.Bottom, R.Bottom);
  }
  EXPECT_EQ(Hull, MakeRect(44, 94, 180, 107));

  Opt.SetActive(false);
  Opt.SetActive(true);
  EXPECT_EQ(Paint(0), (std::vector<TRect>{MakeRect(0, 0, 200, 200)}));
  Opt.TargetResized(50, 40);
  EXPECT_EQ(Paint(0), (std::vector<TRect>{MakeRect(0, 0, 50, 40)}));
}

// Each step: areas recorded after the last paint, time waited before the rectangles are built,
// the rectangles built (none: the paint is full), the level after building, then the paint's
// length and the state after it.
TEST_F(RasterRepaintOptimizer, AdaptiveLevelsOnAFakeClock) {
  std::vector<TRect> Twelve;
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 4; ++X) Twelve.push_back(Bounds(X * 40 + 5, Y * 64 + 5, 2, 2));
  const TRect A = MakeRect(10, 10, 20, 20);
  struct TStep {
    const char* Name;
    std::vector<TRect> Areas;
    Integer WaitMs;
    Integer WantRects;
    std::vector<TRect> Want;  // checked when not empty
    Integer LevelAfterBuild;
    Integer PaintMs;
    Integer LevelAfterPaint;
    Integer Interval;
  } Steps[] = {
      {"first paint: complete but timed as partial, so slower than no full paint", {}, 0, 1, {}, 0, 10, 1, 0},
      {"level 1 records whole tiles; the first check lowers at once and probes",
       {A},
       0,
       1,
       {MakeRect(0, 0, 32, 32)},
       0,
       5,
       1,
       1000},
      {"slower again: level 2", {MakeRect(50, 50, 60, 60)}, 0, 1, {MakeRect(32, 32, 64, 64)}, 1, 5, 2, 1000},
      {"level 2 repaints in full; the full paint is timed", {A}, 0, 0, {}, 2, 20, 2, 1000},
      {"the timed check lowers to 1; a faster probe keeps it",
       {A},
       1000,
       1,
       {MakeRect(0, 0, 32, 32)},
       1,
       3,
       1,
       1000},
      {"faster partial paints keep the level until the check", {A}, 0, 1, {}, 1, 3, 1, 1000},
      {"the next check lowers to 0", {A}, 1000, 1, {MakeRect(0, 0, 32, 32)}, 0, 3, 0, 1000},
      {"level 0 records exact boxes", {A}, 0, 1, {A}, 0, 3, 0, 1000},
      {"many rectangles slower than full: level 1", Twelve, 0, 12, {}, 0, 30, 1, 1000},
      {"just raised: kept", {A}, 0, 1, {}, 1, 3, 1, 1000},
      {"far fewer rectangles than at the raise: lowered", {A}, 0, 1, {}, 0, 3, 0, 1000},
  };
  Opt.SetActive(true);
  for (const TStep& S : Steps) {
    SCOPED_TRACE(S.Name);
    for (const TRect& R : S.Areas) Opt.AreaChangedHandler(nullptr, R, AreaInfoRect);
    Clock.Advance(S.WaitMs);
    Out.Clear();
    ASSERT_TRUE(Opt.HasChanges());
    Opt.BuildRects();
    EXPECT_EQ(Out.GetCount(), S.WantRects);
    if (!S.Want.empty()) {
      EXPECT_EQ(Rects(Out), S.Want);
    }
    EXPECT_EQ(Opt.GetLevel(), S.LevelAfterBuild);
    Opt.BufferPaintStarting();
    Clock.Advance(S.PaintMs);
    Opt.BufferPaintFinished();
    EXPECT_EQ(Opt.GetLevel(), S.LevelAfterPaint);
    EXPECT_EQ(Opt.GetCheckInterval(), S.Interval);
    EXPECT_FALSE(Opt.GetProbeActive());
  }
  EXPECT_EQ(Opt.GetFullPaintTime(), 20000);
}

TEST_F(RasterRepaintOptimizer, LayersRepaintWhereTheyWereAndAre) {
  Opt.SetAdaptive(false);
  // Before the layer areas are known a layer change is not queued.
  TBoxLayer Loose(nullptr);
  Opt.LayerChangedHandler(&Layers, &Loose);
  EXPECT_EQ(Opt.StaleLayerCount(), 0);
  EXPECT_FALSE(Loose.IsStale());
  auto* L = static_cast<TBoxLayer*>(Layers.AddLayer(&CreateLayer<TBoxLayer>));

  Opt.SetActive(true);
  EXPECT_EQ(Opt.LayerGridCount(), 1);
  Paint(0);
  L->Box = MakeRect(100, 100, 110, 110);
  L->Changed();
  EXPECT_EQ(Opt.StaleLayerCount(), 1);
  EXPECT_TRUE(L->IsStale());
  L->Changed();  // queued once
  EXPECT_EQ(Opt.StaleLayerCount(), 1);
  EXPECT_EQ(Paint(0), (std::vector<TRect>{MakeRect(10, 10, 20, 20), MakeRect(100, 100, 110, 110)}));
  EXPECT_FALSE(L->IsStale());

  // Removing the layer repaints the area it last covered.
  delete L;
  EXPECT_EQ(Opt.LayerGridCount(), 0);
  EXPECT_EQ(Paint(0), (std::vector<TRect>{MakeRect(100, 100, 110, 110)}));

  // Clearing the collection repaints every layer's area and resets the adaptation.
  auto* M = static_cast<TBoxLayer*>(Layers.AddLayer(&CreateLayer<TBoxLayer>));
  M->Box = MakeRect(40, 40, 50, 50);
  M->Changed();
  Paint(0);
  Layers.RemoveAll();
  EXPECT_EQ(Paint(0), (std::vector<TRect>{MakeRect(40, 40, 50, 50)}));
  EXPECT_EQ(Opt.GetCheckInterval(), 1000);

  Opt.UnwatchCollection(&Layers);
  EXPECT_FALSE(Layers.OnListChange);
  EXPECT_FALSE(Layers.OnLayerChange);
}
