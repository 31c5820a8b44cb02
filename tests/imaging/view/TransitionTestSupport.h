#pragma once
// A view on a form under a fake clock, and the start of a transition run: the library has no
// operation that starts one, so the tests set up what the engine expects of it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ViewCoreTestSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/proc/zezudidproctransitions.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Timer.h"
#include "platform/system/Clock.h"
#include "platform/system/Random.h"

class TTransitionView : public TCountingView {
 public:
  using TCountingView::TCountingView;
  using TZezudIdView::FTransition;
  using TZezudIdView::TransitionEngine;
};

struct TTransitionRun {
  Byte Number = 1;
  Integer Duration = 1000;
  bool UpdateOnStop = false;
  Byte Timing = 0;
  TIEBitmap* PanZoomSource = nullptr;
  TRect PanZoomFrom{};
  TRect PanZoomTo{};
};

// A 24-bit picture whose pixels differ with Seed, so that every source shows.
inline std::unique_ptr<TBitmap> TransitionPicture(Integer Width, Integer Height, Integer Seed) {
  auto Bitmap = std::make_unique<TBitmap>();
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->SetSize(Width, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<Byte*>(Bitmap->GetScanLine(Y));
    for (Integer X = 0; X < Width; ++X) {
      Row[X * 3] = static_cast<Byte>(X * 7 + Y * 3 + Seed * 40);
      Row[X * 3 + 1] = static_cast<Byte>(Y * 11 + Seed * 90);
      Row[X * 3 + 2] = static_cast<Byte>(X * 5 + Seed * 130 + 1);
    }
  }
  return Bitmap;
}

inline TIERGBTriple PixelOf(TBitmap& Bitmap, Integer X, Integer Y) {
  const auto* Row = static_cast<const Byte*>(Bitmap.GetScanLine(Y));
  return TIERGBTriple{Row[X * 3], Row[X * 3 + 1], Row[X * 3 + 2]};
}

// Everything a run needs: the three work bitmaps of the frame size (Current holding Prev),
// their row tables (one block, bottom row lowest), the start tick, the paint lock, the timer.
inline TIETransitionEffects& RunTransition(TTransitionView& View, TBitmap& Prev, TBitmap& Next,
                                           const TTransitionRun& Run) {
  TIETransitionEffects& E = *View.TransitionEngine();
  const Integer W = Prev.GetWidth(), H = Prev.GetHeight();
  auto Take = [W, H](TBitmap& Dest, TBitmap& Source, std::vector<Byte*>& Rows) {
    Dest.Assign(&Source);
    Dest.SetPixelFormat(pf24bit);
    Dest.SetSize(W, H);
    Rows.resize(H);
    for (Integer Y = 0; Y < H; ++Y) Rows[Y] = static_cast<Byte*>(Dest.GetScanLine(Y));
  };
  Take(*E.PrevBitmap, Prev, E.PrevRows);
  Take(*E.NextBitmap, Next, E.NextRows);
  Take(*E.CurrentBitmap, Prev, E.CurrentRows);
  EXPECT_LT(E.CurrentRows[H - 1], E.CurrentRows[0]);
  E.FrameWidth = W;
  E.FrameHeight = H;
  E.TransitionNumber = Run.Number;
  E.Duration = Run.Duration;
  E.UpdateOnStop = Run.UpdateOnStop;
  E.Timing = Run.Timing;
  E.PanZoomSource = Run.PanZoomSource;
  E.PanZoomFrom = Run.PanZoomFrom;
  E.PanZoomTo = Run.PanZoomTo;
  E.RandomDone = 0;
  E.StepValue = 0;
  E.StartTick = static_cast<Cardinal>(GetTickCount());
  View.LockPaint();
  E.Running = true;
  E.Timer->SetEnabled(true);
  return E;
}

// Installs a fake clock (before any window exists) and a fixed random seed.
struct TFakeClockInstalled {
  explicit TFakeClockInstalled(UInt64 Start = 5000) : Clock(Start) {
    SetClockSource(&Clock);
    SetRandSeed(12345);
  }
  ~TFakeClockInstalled() { SetClockSource(nullptr); }
  TFakeClock Clock;
};

// A view of 200 x 150 on a shown form, time frozen until the test moves it.
class TransitionTest : public ::testing::Test {
 protected:
  TFakeClockInstalled Time;
  TViewOnForm<TTransitionView> OnForm;
  TTransitionView& View = *OnForm.View;

  // One frame at Step, with time standing still.
  static void FrameAt(TIETransitionEffects& E, Integer Step) {
    E.StepValue = Step;
    E.TimerStep(nullptr);
  }
};
