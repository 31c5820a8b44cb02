// The transition engine on a view: creation through the view's events, timing curves under a
// fake clock, the end of a run, stops by the view; and the frames of the built-in transitions
// and the pan-zoom, worked out by hand from their formulas.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "TransitionTestSupport.h"
#include "imaging/core/ieprocbase.h"
#include "platform/gdi/Painting.h"
#include "platform/user/WindowPaint.h"

namespace {

using TPixelRule = std::function<TIERGBTriple(Integer X, Integer Y)>;

::testing::AssertionResult FrameIs(TBitmap& Frame, Integer W, Integer H, const TPixelRule& Expected) {
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const TIERGBTriple P = PixelOf(Frame, X, Y), E = Expected(X, Y);
      if (!(P == E))
        return ::testing::AssertionFailure()
               << "(" << X << "," << Y << ") is " << +P.rgbtBlue << "/" << +P.rgbtGreen << "/" << +P.rgbtRed
               << ", expected " << +E.rgbtBlue << "/" << +E.rgbtGreen << "/" << +E.rgbtRed;
    }
  return ::testing::AssertionSuccess();
}

TPixelRule From(TBitmap& Source, Integer DX = 0, Integer DY = 0) {
  return [&Source, DX, DY](Integer X, Integer Y) { return PixelOf(Source, X + DX, Y + DY); };
}

COLORREF WindowPixel(TZezudIdView& View, Integer X, Integer Y) {
  HDC DC = GetDC(View.GetHandle());
  const COLORREF C = GetPixel(DC, X, Y);
  ReleaseDC(View.GetHandle(), DC);
  return C;
}

COLORREF AsColor(TIERGBTriple P) {
  return RGB(P.rgbtRed, P.rgbtGreen, P.rgbtBlue);
}

// Records what the view's transition events report.
struct TEventLog {
  struct TPaint {
    TBitmap* Bitmap;
    Integer Step;
    COLORREF Pixel;  // the painted bitmap's pixel (0, 0) at the time of the call
  };
  std::vector<Integer> Steps;
  std::vector<TPaint> Paints;
  Integer Stops = 0;
  TObject* LastSender = nullptr;

  void Step(TObject* Sender, Integer S) {
    LastSender = Sender;
    Steps.push_back(S);
  }
  void Paint(TObject* Sender, TBitmap* Bitmap, TIETransitionEffects*, Integer S) {
    LastSender = Sender;
    Paints.push_back({Bitmap, S, AsColor(PixelOf(*Bitmap, 0, 0))});
  }
  void Stop(TObject* Sender) {
    LastSender = Sender;
    ++Stops;
  }
  void Attach(TZezudIdView& View) {
    View.SetOnTransitionStep(TIETransitionStepEvent(this, &TEventLog::Step));
    View.SetOnTransitionPaint(TIEOnTransitionPaint(this, &TEventLog::Paint));
    View.SetOnTransitionStop(TNotifyEvent(this, &TEventLog::Stop));
  }
};

// ---- The engine ----

TEST_F(TransitionTest, TheFirstTransitionEventMakesAnIdleEngineThatStopIgnores) {
  EXPECT_FALSE(View.GetOnTransitionStop());
  EXPECT_FALSE(View.GetOnTransitionPaint());
  EXPECT_EQ(View.FTransition, nullptr);
  TEventLog Log;
  View.SetOnTransitionStop(TNotifyEvent(&Log, &TEventLog::Stop));
  ASSERT_NE(View.FTransition, nullptr);
  EXPECT_TRUE(View.GetOnTransitionStop());
  EXPECT_FALSE(View.GetOnTransitionStep());
  TIETransitionEffects& E = *View.FTransition;
  EXPECT_FALSE(E.Running);
  EXPECT_EQ(E.TransitionNumber, 0);
  EXPECT_EQ(E.Duration, 1000);
  EXPECT_EQ(E.Timing, 0);
  EXPECT_FALSE(E.UpdateOnStop);
  EXPECT_FALSE(E.Timer->GetEnabled());
  EXPECT_EQ(E.Timer->GetInterval(), 1u);
  for (TBitmap* B : {E.PrevBitmap.get(), E.NextBitmap.get(), E.CurrentBitmap.get()}) {
    EXPECT_EQ(B->GetWidth(), 1);
    EXPECT_EQ(B->GetHeight(), 1);
    EXPECT_EQ(B->GetPixelFormat(), pf24bit);
  }
  const Integer Updates = View.Updates;
  E.Stop();
  E.TimerStep(nullptr);
  EXPECT_EQ(Log.Stops, 0);
  EXPECT_EQ(E.FrameCount, 0);
  EXPECT_EQ(View.Updates, Updates);
  // A second setter keeps the same engine.
  TIETransitionEffects* Engine = View.FTransition.get();
  View.SetOnTransitionStep(TIETransitionStepEvent(&Log, &TEventLog::Step));
  EXPECT_EQ(View.FTransition.get(), Engine);
}

TEST_F(TransitionTest, ARunAlreadyOverPaintsFrameZeroThenTheNextPictureAndStopsOnce) {
  auto Prev = TransitionPicture(40, 30, 1), Next = TransitionPicture(40, 30, 2);
  TEventLog Log;
  Log.Attach(View);
  TIETransitionEffects& E =
      RunTransition(View, *Prev, *Next, {.Number = 1, .Duration = 20, .UpdateOnStop = true});
  EXPECT_EQ(View.GetPaintLock(), 1);
  const Integer Updates = View.Updates;
  Time.Clock.Advance(50);
  E.TimerStep(nullptr);
  ASSERT_EQ(Log.Paints.size(), 2u);
  EXPECT_EQ(Log.Steps, std::vector<Integer>{0});
  EXPECT_EQ(Log.Paints[0].Bitmap, E.CurrentBitmap.get());
  EXPECT_EQ(Log.Paints[0].Step, 0);
  EXPECT_EQ(Log.Paints[0].Pixel, AsColor(PixelOf(*Prev, 0, 0)));
  EXPECT_EQ(Log.Paints[1].Bitmap, E.NextBitmap.get());
  EXPECT_EQ(Log.Paints[1].Step, 1024);
  EXPECT_EQ(Log.Paints[1].Pixel, AsColor(PixelOf(*Next, 0, 0)));
  EXPECT_EQ(Log.Stops, 1);
  EXPECT_EQ(Log.LastSender, &View);
  EXPECT_FALSE(E.Running);
  EXPECT_FALSE(E.Timer->GetEnabled());
  EXPECT_EQ(E.FrameCount, 1);
  EXPECT_EQ(E.CurrentBitmap->GetWidth(), 1);
  EXPECT_EQ(E.NextBitmap->GetHeight(), 1);
  EXPECT_EQ(View.GetPaintLock(), 0);
  EXPECT_GT(View.Updates, Updates);
  // The step still follows the clock after the stop (linear, clamped).
  EXPECT_EQ(E.StepValue, 1024);
  E.TimerStep(nullptr);
  EXPECT_EQ(Log.Stops, 1);
}

TEST_F(TransitionTest, WithoutUpdateOnStopTheLastDrawnFrameStaysOnTheView) {
  auto Prev = TransitionPicture(40, 30, 1), Next = TransitionPicture(40, 30, 2);
  TEventLog Log;
  Log.Attach(View);
  TIETransitionEffects& E = RunTransition(View, *Prev, *Next, {.Number = 1, .Duration = 1000});
  const Integer Updates = View.Updates;
  Time.Clock.Advance(500);
  E.TimerStep(nullptr);  // frame 0, step 512 next
  EXPECT_EQ(E.StepValue, 512);
  Time.Clock.Advance(500);
  E.TimerStep(nullptr);  // frame 512, then the end
  ASSERT_EQ(Log.Paints.size(), 2u);
  EXPECT_EQ(Log.Paints[1].Step, 512);
  EXPECT_EQ(Log.Stops, 1);
  EXPECT_EQ(View.Updates, Updates);
  for (const auto& [X, Y] : {std::pair{0, 0}, std::pair{17, 9}, std::pair{39, 29}}) {
    const TIERGBTriple P = PixelOf(*Prev, X, Y), N = PixelOf(*Next, X, Y);
    const TIERGBTriple Half{static_cast<Byte>((P.rgbtBlue + N.rgbtBlue) >> 1),
                            static_cast<Byte>((P.rgbtGreen + N.rgbtGreen) >> 1),
                            static_cast<Byte>((P.rgbtRed + N.rgbtRed) >> 1)};
    EXPECT_EQ(WindowPixel(View, X, Y), AsColor(Half)) << X << "," << Y;
  }
}

TEST_F(TransitionTest, PanZoomNeverPaintsTheNextPictureAtTheEnd) {
  auto Prev = TransitionPicture(40, 30, 1), Next = TransitionPicture(40, 30, 2);
  TIEBitmap Source(80, 60, ie24RGB);
  for (Integer Y = 0; Y < 60; ++Y)
    for (Integer X = 0; X < 80; ++X) Source.SetPixel24(X, Y, TIERGBTriple{0x20, 0x40, 0x60});
  TEventLog Log;
  Log.Attach(View);
  TIETransitionEffects& E = RunTransition(View, *Prev, *Next,
                                          {.Number = 213,
                                           .Duration = 10,
                                           .UpdateOnStop = true,
                                           .PanZoomSource = &Source,
                                           .PanZoomFrom = {0, 0, 40, 30},
                                           .PanZoomTo = {0, 0, 80, 60}});
  Time.Clock.Advance(10);
  E.TimerStep(nullptr);
  ASSERT_EQ(Log.Paints.size(), 1u);
  EXPECT_EQ(Log.Paints[0].Bitmap, E.CurrentBitmap.get());
  EXPECT_EQ(Log.Stops, 1);
  EXPECT_EQ(Log.Paints[0].Pixel, RGB(0x60, 0x40, 0x20));
}

// Step after a tick at Elapsed ms of a Duration ms run, for each curve.
TEST_F(TransitionTest, TheTimingCurvesGiveTheirSteps) {
  struct TCase {
    Byte Timing;
    Integer Elapsed;
    Integer Step;
  } Cases[] = {
      {0, 0, 0},      {0, 500, 512},  {0, 999, 1022}, {0, 250, 256},
      {1, 0, 6},      {1, 500, 82},   {1, 999, 998},  // e^(5t - 2.718) / 10 x 1024
      {2, 0, 0},      {2, 5, 0},      {2, 100, 556},  {2, 500, 886},
      {2, 900, 1006}, {2, 990, 1024},  // (ln 10t + 2.718) / 5
      {3, 500, 77},                    // an unknown curve leaves the step alone
  };
  auto Prev = TransitionPicture(8, 8, 1), Next = TransitionPicture(8, 8, 2);
  for (const TCase& C : Cases) {
    TIETransitionEffects& E =
        RunTransition(View, *Prev, *Next, {.Number = 1, .Duration = 1000, .Timing = C.Timing});
    E.StepValue = 77;
    Time.Clock.Advance(C.Elapsed);
    E.TimerStep(nullptr);
    EXPECT_EQ(E.StepValue, C.Step) << "timing " << +C.Timing << " at " << C.Elapsed;
    E.Stop();
  }
}

TEST_F(TransitionTest, ADurationOfZeroOrLessEndsAtTheFirstTick) {
  auto Prev = TransitionPicture(8, 8, 1), Next = TransitionPicture(8, 8, 2);
  TEventLog Log;
  Log.Attach(View);
  for (Integer Duration : {0, -5}) {
    TIETransitionEffects& E = RunTransition(View, *Prev, *Next, {.Number = 1, .Duration = Duration});
    E.TimerStep(nullptr);
    EXPECT_FALSE(E.Running) << Duration;
    EXPECT_EQ(E.StepValue, 1024) << Duration;
  }
  EXPECT_EQ(Log.Stops, 2);
}

TEST(TransitionClock, ARunAcrossTheWrapOfTheTickCounterEndsOnTime) {
  TFakeClockInstalled Time(0x100000000ULL - 100);
  TViewOnForm<TTransitionView> OnForm;
  auto Prev = TransitionPicture(8, 8, 1), Next = TransitionPicture(8, 8, 2);
  TEventLog Log;
  Log.Attach(*OnForm.View);
  TIETransitionEffects& E = RunTransition(*OnForm.View, *Prev, *Next, {.Number = 1, .Duration = 300});
  EXPECT_GT(E.StartTick, 0xFFFFFF00u);
  Time.Clock.Advance(200);
  E.TimerStep(nullptr);
  EXPECT_TRUE(E.Running);
  EXPECT_EQ(E.StepValue, 682);
  Time.Clock.Advance(99);
  E.TimerStep(nullptr);
  EXPECT_TRUE(E.Running);
  Time.Clock.Advance(1);
  E.TimerStep(nullptr);
  EXPECT_FALSE(E.Running);
  EXPECT_EQ(Log.Stops, 1);
}

TEST_F(TransitionTest, TheTimerDrivesARunThroughTheMessageLoopUntilItsDurationIsUp) {
  auto Prev = TransitionPicture(30, 20, 1), Next = TransitionPicture(30, 20, 2);
  TEventLog Log;
  Log.Attach(View);
  TIETransitionEffects& E =
      RunTransition(View, *Prev, *Next, {.Number = 1, .Duration = 200, .UpdateOnStop = true});
  Integer Elapsed = 0;
  while (Log.Stops == 0 && Elapsed < 1000) {
    Time.Clock.Advance(20);
    Elapsed += 20;
    Application->ProcessMessages();
  }
  EXPECT_EQ(Log.Stops, 1);
  EXPECT_GE(Elapsed, 200);
  EXPECT_LE(Elapsed, 240);
  ASSERT_GE(Log.Steps.size(), 5u);
  EXPECT_EQ(Log.Steps.front(), 0);
  for (std::size_t I = 1; I < Log.Steps.size(); ++I) EXPECT_GT(Log.Steps[I], Log.Steps[I - 1]);
  // Each frame is reported after its step, with the same step; the next picture comes last.
  ASSERT_EQ(Log.Paints.size(), Log.Steps.size() + 1);
  for (std::size_t I = 0; I < Log.Steps.size(); ++I) EXPECT_EQ(Log.Paints[I].Step, Log.Steps[I]);
  EXPECT_EQ(Log.Paints.back().Step, 1024);
  EXPECT_EQ(E.FrameCount, static_cast<Integer>(Log.Steps.size()));
  // Nothing more once stopped.
  Time.Clock.Advance(100);
  Application->ProcessMessages();
  EXPECT_EQ(Log.Stops, 1);
  EXPECT_EQ(E.FrameCount, static_cast<Integer>(Log.Steps.size()));
}

TEST_F(TransitionTest, ResizingOrBlankingTheViewStopsARun) {
  auto Prev = TransitionPicture(30, 20, 1), Next = TransitionPicture(30, 20, 2);
  TEventLog Log;
  Log.Attach(View);
  TIETransitionEffects& E = RunTransition(View, *Prev, *Next, {.Number = 5});
  View.SetBounds(0, 0, 120, 90);
  Application->ProcessMessages();
  EXPECT_FALSE(E.Running);
  EXPECT_EQ(Log.Stops, 1);
  EXPECT_EQ(View.GetPaintLock(), 0);
  RunTransition(View, *Prev, *Next, {.Number = 5});
  View.Blank();
  EXPECT_FALSE(E.Running);
  EXPECT_EQ(Log.Stops, 2);
  // A view freed in the middle of a run takes its engine and timer with it.
  RunTransition(View, *Prev, *Next, {.Number = 7});
}

TEST_F(TransitionTest, AStepHandlerThatStopsTheRunGetsNoFrameDrawn) {
  auto Prev = TransitionPicture(30, 20, 1), Next = TransitionPicture(30, 20, 2);
  struct TStopper {
    TIETransitionEffects* E;
    Integer Paints = 0;
    void Step(TObject*, Integer) { E->Stop(); }
    void Paint(TObject*, TBitmap*, TIETransitionEffects*, Integer) { ++Paints; }
  } Stopper{View.TransitionEngine()};
  View.SetOnTransitionStep(TIETransitionStepEvent(&Stopper, &TStopper::Step));
  View.SetOnTransitionPaint(TIEOnTransitionPaint(&Stopper, &TStopper::Paint));
  for (Byte Number : {1, 17, 25, 213}) {
    TIETransitionEffects& E = RunTransition(View, *Prev, *Next, {.Number = Number});
    E.StepValue = 512;
    E.TimerStep(nullptr);
    EXPECT_FALSE(E.Running);
  }
  EXPECT_EQ(Stopper.Paints, 0);
}

TEST_F(TransitionTest, RowKindsDrawNothingOnBitmapsChangedBehindTheEngine) {
  auto Prev = TransitionPicture(30, 20, 1), Next = TransitionPicture(30, 20, 2);
  for (Byte Number : {1, 2, 17, 21, 25, 26}) {
    TIETransitionEffects& E = RunTransition(View, *Prev, *Next, {.Number = Number});
    E.NextBitmap->SetSize(3, 3);  // its rows are gone
    FrameAt(E, 700);
    EXPECT_TRUE(FrameIs(*E.CurrentBitmap, 30, 20, From(*Prev))) << +Number;
    E.Stop();
  }
}

TEST_F(TransitionTest, ATableRowWithoutProcedureKeepsThePreviousFrameAndStepZeroRestarts) {
  auto Prev = TransitionPicture(30, 20, 1), Next = TransitionPicture(30, 20, 2);
  TIETransitionEffects& E = RunTransition(View, *Prev, *Next, {.Number = 100});
  E.CurrentBitmap->GetCanvas()->GetBrush()->SetColor(clWhite);
  E.CurrentBitmap->GetCanvas()->FillRect(TRect{0, 0, 30, 20});
  auto White = [](Integer, Integer) { return TIERGBTriple{255, 255, 255}; };
  Integer Row = 30;  // the first table row still without a procedure, if any
  while (Row < IETransitionCount && ExtraTransitionTable[Row].Proc != nullptr) ++Row;
  if (Row < IETransitionCount) E.DrawExtraTransition(Row + 1, 600);
  E.DrawExtraTransition(0, 600);    // no such row
  E.DrawExtraTransition(215, 600);  // nor this
  EXPECT_TRUE(FrameIs(*E.CurrentBitmap, 30, 20, White));
  E.DrawExtraTransition(100, 0);
  EXPECT_TRUE(FrameIs(*E.CurrentBitmap, 30, 20, From(*Prev)));
}

TEST(TransitionTable, TheTableNamesItsRowsAndFamilies) {
  std::set<std::string> Names;
  for (const TEffect& Row : ExtraTransitionTable) Names.insert(Row.Name);
  EXPECT_EQ(Names.size(), 214u);
  struct TCase {
    Integer Number;
    const char* Name;
    Integer Flags;
  } Cases[] = {{1, "Cross Fade", 256},
               {4, "Fade Out then In", 0},
               {26, "Random Boxes", 270},
               {30, "Expand In to Center", 12},
               {31, "Expand from Left", 12},
               {133, "Wipe diagonal from Top Left", 260},
               {186, "Page Flip", 0},
               {213, "6 Pointed Star Wipe In and Out", 262},
               {214, "Explosion Wipe In and Out", 262}};
  for (const TCase& C : Cases) {
    EXPECT_STREQ(ExtraTransitionTable[C.Number - 1].Name, C.Name);
    EXPECT_EQ(ExtraTransitionTable[C.Number - 1].Flags, C.Flags) << C.Name;
  }
  for (Integer I = 0; I < 30; ++I) EXPECT_EQ(ExtraTransitionTable[I].Proc, nullptr);
}

// ---- Built-in frames ----

class BuiltinFrames : public TransitionTest {
 protected:
  void Start(Byte Number, Integer W = 200, Integer H = 100) {
    Prev = TransitionPicture(W, H, 1);
    Next = TransitionPicture(W, H, 2);
    E = &RunTransition(View, *Prev, *Next, {.Number = Number});
    Width = W;
    Height = H;
  }
  TBitmap& Current() { return *E->CurrentBitmap; }
  ::testing::AssertionResult Shows(const TPixelRule& Rule) { return FrameIs(Current(), Width, Height, Rule); }
  TPixelRule Split(std::function<bool(Integer X, Integer Y)> IsNext) {
    return [this, IsNext](Integer X, Integer Y) {
      return IsNext(X, Y) ? PixelOf(*Next, X, Y) : PixelOf(*Prev, X, Y);
    };
  }

  std::unique_ptr<TBitmap> Prev, Next;
  TIETransitionEffects* E = nullptr;
  Integer Width = 0, Height = 0;
};

Byte Mix(Byte A, Byte B, Integer WeightA, Integer WeightB) {
  return static_cast<Byte>((A * WeightA + B * WeightB) >> 10);
}

TEST_F(BuiltinFrames, CrossFadeMixesEveryByte) {
  Start(1);
  for (Integer S : {0, 300, 512, 1024}) {
    FrameAt(*E, S);
    EXPECT_TRUE(Shows([&](Integer X, Integer Y) {
      const TIERGBTriple P = PixelOf(*Prev, X, Y), N = PixelOf(*Next, X, Y);
      return TIERGBTriple{Mix(P.rgbtBlue, N.rgbtBlue, 1024 - S, S),
                          Mix(P.rgbtGreen, N.rgbtGreen, 1024 - S, S), Mix(P.rgbtRed, N.rgbtRed, 1024 - S, S)};
    })) << S;
  }
}

TEST_F(BuiltinFrames, FadesGoThroughTheViewsBackground) {
  View.SetBackground(0x30A0F0);  // red F0, green A0, blue 30
  const TIERGBTriple Back{0x30, 0xA0, 0xF0};
  auto Faded = [&](TBitmap& Source, Integer BackWeight) -> TPixelRule {
    return [&Source, BackWeight, Back](Integer X, Integer Y) {
      const TIERGBTriple P = PixelOf(Source, X, Y);
      return TIERGBTriple{Mix(Back.rgbtBlue, P.rgbtBlue, BackWeight, 1024 - BackWeight),
                          Mix(Back.rgbtGreen, P.rgbtGreen, BackWeight, 1024 - BackWeight),
                          Mix(Back.rgbtRed, P.rgbtRed, BackWeight, 1024 - BackWeight)};
    };
  };
  Start(2);
  FrameAt(*E, 300);
  EXPECT_TRUE(Shows(Faded(*Prev, 300)));
  FrameAt(*E, 1024);
  EXPECT_TRUE(Shows([&](Integer, Integer) { return Back; }));
  Start(3);
  FrameAt(*E, 300);
  EXPECT_TRUE(Shows(Faded(*Next, 724)));
  FrameAt(*E, 1024);
  EXPECT_TRUE(Shows(From(*Next)));
  Start(4);
  FrameAt(*E, 511);
  EXPECT_TRUE(Shows(Faded(*Prev, 1022)));
  FrameAt(*E, 512);
  EXPECT_TRUE(Shows([&](Integer, Integer) { return Back; }));
  FrameAt(*E, 800);
  EXPECT_TRUE(Shows(Faded(*Next, 1024 - 576)));
}

TEST_F(BuiltinFrames, HorizontalWipesTruncateFromTheLeftAndRoundFromTheRight) {
  Start(5, 3, 4);
  FrameAt(*E, 0);
  FrameAt(*E, 512);
  EXPECT_TRUE(Shows(Split([](Integer X, Integer) { return X < 1; })));
  Start(7, 3, 4);
  FrameAt(*E, 0);
  FrameAt(*E, 512);
  EXPECT_TRUE(Shows(Split([](Integer X, Integer) { return X >= 2; })));
  Start(9, 4, 3);
  FrameAt(*E, 0);
  FrameAt(*E, 512);
  EXPECT_TRUE(Shows(Split([](Integer, Integer Y) { return Y < 2; })));
  Start(11, 4, 3);
  FrameAt(*E, 0);
  FrameAt(*E, 512);
  EXPECT_TRUE(Shows(Split([](Integer, Integer Y) { return Y >= 2; })));
}

TEST_F(BuiltinFrames, WipesWithALineDrawItRedAtTheEdge) {
  const TIERGBTriple Red{0, 0, 255};
  struct TCase {
    Byte Number;
    Integer Step;
    std::function<bool(Integer X, Integer Y)> IsNext, IsLine;
  } Cases[] = {
      {6, 512, [](Integer X, Integer) { return X < 100; }, [](Integer X, Integer) { return X == 100; }},
      {6, 1024, [](Integer, Integer) { return true; }, [](Integer, Integer) { return false; }},
      {8, 256, [](Integer X, Integer) { return X >= 150; }, [](Integer X, Integer) { return X == 150; }},
      // The last frame keeps the line at the left edge.
      {8, 1024, [](Integer, Integer) { return true; }, [](Integer X, Integer) { return X == 0; }},
      {10, 512, [](Integer, Integer Y) { return Y < 50; }, [](Integer, Integer Y) { return Y == 50; }},
      {12, 1024, [](Integer, Integer) { return true; }, [](Integer, Integer Y) { return Y == 0; }},
  };
  for (const TCase& C : Cases) {
    Start(C.Number);
    FrameAt(*E, 0);
    FrameAt(*E, C.Step);
    EXPECT_TRUE(Shows([&](Integer X, Integer Y) {
      if (C.IsLine(X, Y)) return Red;
      return C.IsNext(X, Y) ? PixelOf(*Next, X, Y) : PixelOf(*Prev, X, Y);
    })) << +C.Number
        << " at " << C.Step;
  }
}

TEST_F(BuiltinFrames, SlidesDrawTheNextPictureComingInFromTheirCorner) {
  // At 256, dx = 150 and dy = 75 of 200 x 100.
  struct TCase {
    Byte Number;
    Integer SignX, SignY;
  } Cases[] = {{13, -1, -1}, {14, 1, -1}, {15, -1, 1}, {16, 1, 1}};
  for (const TCase& C : Cases) {
    Start(C.Number);
    FrameAt(*E, 0);
    FrameAt(*E, 256);
    const Integer OX = C.SignX * 150, OY = C.SignY * 75;
    EXPECT_TRUE(Shows([&](Integer X, Integer Y) {
      const Integer SX = X - OX, SY = Y - OY;
      return SX >= 0 && SX < 200 && SY >= 0 && SY < 100 ? PixelOf(*Next, SX, SY) : PixelOf(*Prev, X, Y);
    })) << +C.Number;
  }
}

TEST_F(BuiltinFrames, PushesAndSlideOutsRebuildEveryRow) {
  // At 256 of 200 x 100: c = 50 for 17/18, 150 for 19/20; n = 25 for 21/22, 75 for 23/24.
  struct TCase {
    Byte Number;
    std::function<TIERGBTriple(TBitmap& P, TBitmap& N, Integer X, Integer Y)> Pixel;
  } Cases[] = {
      {17, [](TBitmap& P, TBitmap& N, Integer X,
              Integer Y) { return X < 50 ? PixelOf(N, 150 + X, Y) : PixelOf(P, X - 50, Y); }},
      {18, [](TBitmap& P, TBitmap& N, Integer X,
              Integer Y) { return X < 50 ? PixelOf(N, X, Y) : PixelOf(P, X - 50, Y); }},
      {19, [](TBitmap& P, TBitmap& N, Integer X,
              Integer Y) { return X < 150 ? PixelOf(P, 50 + X, Y) : PixelOf(N, X - 150, Y); }},
      {20, [](TBitmap& P, TBitmap& N, Integer X,
              Integer Y) { return X < 150 ? PixelOf(P, X, Y) : PixelOf(N, X - 150, Y); }},
      {21, [](TBitmap& P, TBitmap& N, Integer X,
              Integer Y) { return Y < 25 ? PixelOf(N, X, 75 + Y) : PixelOf(P, X, Y - 25); }},
      {22, [](TBitmap& P, TBitmap& N, Integer X,
              Integer Y) { return Y < 25 ? PixelOf(N, X, Y) : PixelOf(P, X, Y - 25); }},
      {23, [](TBitmap& P, TBitmap& N, Integer X,
              Integer Y) { return Y < 75 ? PixelOf(P, X, 25 + Y) : PixelOf(N, X, Y - 75); }},
      {24, [](TBitmap& P, TBitmap& N, Integer X,
              Integer Y) { return Y < 75 ? PixelOf(P, X, 25 + Y) : PixelOf(N, X, Y); }},
  };
  for (const TCase& C : Cases) {
    Start(C.Number);
    FrameAt(*E, 256);
    EXPECT_TRUE(Shows([&](Integer X, Integer Y) { return C.Pixel(*Prev, *Next, X, Y); })) << +C.Number;
  }
}

TEST_F(BuiltinFrames, CentreWipesAndExpandsCoverTheCentredPart) {
  // At 512 of 200 x 100 the centred part is (50, 25) - (150, 75).
  auto Inside = [](Integer X, Integer Y) { return X >= 50 && X < 150 && Y >= 25 && Y < 75; };
  Start(27);
  FrameAt(*E, 0);
  FrameAt(*E, 512);
  EXPECT_TRUE(Shows(Split(Inside)));
  Start(28);
  FrameAt(*E, 512);
  EXPECT_TRUE(Shows(Split([&](Integer X, Integer Y) { return !Inside(X, Y); })));
  Start(29);
  FrameAt(*E, 0);
  FrameAt(*E, 512);
  EXPECT_TRUE(Shows(
      [&](Integer X, Integer Y) { return Inside(X, Y) ? PixelOf(Current(), X, Y) : PixelOf(*Prev, X, Y); }));
  EXPECT_FALSE(PixelOf(Current(), 100, 50) == PixelOf(*Prev, 100, 50));
  Start(30);
  FrameAt(*E, 512);
  EXPECT_TRUE(Shows(
      [&](Integer X, Integer Y) { return Inside(X, Y) ? PixelOf(Current(), X, Y) : PixelOf(*Next, X, Y); }));
  for (Byte Number : {27, 28, 29, 30}) {
    Start(Number);
    FrameAt(*E, 0);
    FrameAt(*E, 1024);
    EXPECT_TRUE(Shows(From(*Next))) << +Number;
  }
}

TEST_F(BuiltinFrames, RandomPointsAddOnlyTheIncreaseOfTheirTarget) {
  Start(25);
  // Current starts as something else, so that step 0's full copy shows.
  E->CurrentBitmap->GetCanvas()->GetBrush()->SetColor(clWhite);
  E->CurrentBitmap->GetCanvas()->FillRect(TRect{0, 0, 200, 100});
  FrameAt(*E, 0);
  EXPECT_TRUE(Shows(From(*Prev)));
  EXPECT_EQ(E->RandomDone, 0);
  FrameAt(*E, 300);
  // nearest(200 x 300 x (300 / 180) / 1024) = nearest(97.66)
  EXPECT_EQ(E->RandomDone, 98);
  Integer Changed = 0;
  for (Integer Y = 0; Y < 100; ++Y)
    for (Integer X = 0; X < 200; ++X) {
      const TIERGBTriple C = PixelOf(Current(), X, Y);
      ASSERT_TRUE(C == PixelOf(*Prev, X, Y) || C == PixelOf(*Next, X, Y));
      Changed += C == PixelOf(*Next, X, Y);
    }
  EXPECT_GT(Changed, 98 * 100 * 6 / 10);
  EXPECT_LE(Changed, 98 * 100);
  // A lower step copies nothing and lowers the count.
  auto Before = std::make_unique<TBitmap>();
  Before->Assign(&Current());
  FrameAt(*E, 200);
  EXPECT_EQ(E->RandomDone, 43);
  EXPECT_TRUE(Shows(From(*Before)));
}

TEST_F(BuiltinFrames, RandomBoxesCopyWholeAlignedBlocks) {
  Start(26, 203, 101);  // edge blocks are cut by the frame
  FrameAt(*E, 0);
  FrameAt(*E, 700);
  // nearest((203 x 101 div 64) x 700 x (700 / 180) / 1024) = nearest(850.75)
  EXPECT_EQ(E->RandomDone, 851);
  Integer Blocks = 0;
  for (Integer BY = 0; BY < 101; BY += 8)
    for (Integer BX = 0; BX < 203; BX += 8) {
      const bool IsNext = PixelOf(Current(), BX, BY) == PixelOf(*Next, BX, BY);
      Blocks += IsNext;
      for (Integer Y = BY; Y < std::min(BY + 8, 101); ++Y)
        for (Integer X = BX; X < std::min(BX + 8, 203); ++X)
          ASSERT_TRUE(PixelOf(Current(), X, Y) == (IsNext ? PixelOf(*Next, X, Y) : PixelOf(*Prev, X, Y)))
              << X << "," << Y;
    }
  EXPECT_GT(Blocks, 200);
  EXPECT_LE(Blocks, 26 * 13);
}

TEST(TransitionFit, FitRectKeepAspectCentresTheFittedSize) {
  struct TCase {
    Integer SW, SH, DW, DH, X, Y, W, H;
  } Cases[] = {
      {150, 100, 200, 100, 25, 0, 150, 100},
      {200, 50, 100, 100, 0, 37, 100, 25},
      {3, 2, 4, 4, 0, 0, 4, 3},  // 2.67 rounds up, offset trunc(0.5) = 0
      {0, 10, 100, 50, 50, 0, 0, 50},
      {10, 10, 0, 50, 0, 0, 0, 0},
      {0, 0, 100, 50, 0, 0, 0, 0},
  };
  for (const TCase& C : Cases) {
    Integer X = -1, Y = -1, W = -1, H = -1;
    FitRectKeepAspect(C.SW, C.SH, C.DW, C.DH, X, Y, W, H);
    EXPECT_EQ((std::vector<Integer>{X, Y, W, H}), (std::vector<Integer>{C.X, C.Y, C.W, C.H}))
        << C.SW << "x" << C.SH << " in " << C.DW << "x" << C.DH;
  }
}

TEST(TransitionPanZoom, OnAPlainViewTheClippedFrameIsFilledWithItsBackground) {
  TFakeClockInstalled Time;
  TIEView Plain(nullptr);
  Plain.SetBackground(0x0000FF);
  TIETransitionEffects E(&Plain);
  E.CurrentBitmap->SetSize(20, 10);
  E.FrameWidth = 20;
  E.FrameHeight = 10;
  TIEBitmap Source(20, 10, ie24RGB);
  for (Integer Y = 0; Y < 10; ++Y)
    for (Integer X = 0; X < 20; ++X) Source.SetPixel24(X, Y, TIERGBTriple{1, 2, 3});
  E.PanZoomSource = &Source;
  E.PanZoomFrom = E.PanZoomTo = TRect{-5, 0, 10, 10};  // clipped to 10 x 10, fitted at (5, 0)
  IEPanZoomStep(E, 0);
  const TIERGBTriple Red{0, 0, 255}, Picture{1, 2, 3};
  for (Integer X = 0; X < 20; ++X)
    EXPECT_TRUE(PixelOf(*E.CurrentBitmap, X, 4) == (X >= 5 && X < 15 ? Picture : Red)) << X;
  // Without a source nothing is drawn.
  E.PanZoomSource = nullptr;
  E.CurrentBitmap->GetCanvas()->GetBrush()->SetColor(clWhite);
  E.CurrentBitmap->GetCanvas()->FillRect(TRect{0, 0, 20, 10});
  IEPanZoomStep(E, 512);
  EXPECT_TRUE(PixelOf(*E.CurrentBitmap, 7, 5) == (TIERGBTriple{255, 255, 255}));
}

class PanZoomFrames : public BuiltinFrames {
 protected:
  void SetUp() override {
    for (Integer Y = 0; Y < 100; ++Y)
      for (Integer X = 0; X < 200; ++X)
        Source.SetPixel24(
            X, Y, TIERGBTriple{static_cast<Byte>(X), static_cast<Byte>(Y * 2), static_cast<Byte>(X ^ Y)});
    View.SetBackground(0x00FF00);
  }
  void StartPanZoom(TRect From, TRect To) {
    Prev = TransitionPicture(200, 100, 1);
    Next = TransitionPicture(200, 100, 2);
    E = &RunTransition(View, *Prev, *Next,
                       {.Number = 213, .PanZoomSource = &Source, .PanZoomFrom = From, .PanZoomTo = To});
    Width = 200;
    Height = 100;
  }
  TIEBitmap Source{200, 100, ie24RGB};
};

TEST_F(PanZoomFrames, AnInsideRectangleIsStretchedOverTheWholeFrame) {
  StartPanZoom({20, 10, 120, 60}, {60, 30, 160, 80});
  FrameAt(*E, 512);  // (40, 20) - (140, 70), twice its size
  EXPECT_TRUE(Shows([&](Integer X, Integer Y) { return Source.GetPixel24(40 + X / 2, 20 + Y / 2); }));
}

TEST_F(PanZoomFrames, AClippedRectangleIsFittedOverTheViewsBackground) {
  StartPanZoom({-50, 0, 150, 100}, {-50, 0, 150, 100});
  FrameAt(*E, 300);  // (0, 0) 150 x 100 fitted at 1:1 into (25, 0) - (175, 100)
  const TIERGBTriple Green{0, 0xFF, 0};
  EXPECT_TRUE(
      Shows([&](Integer X, Integer Y) { return X < 25 || X >= 175 ? Green : Source.GetPixel24(X - 25, Y); }));
}

TEST_F(PanZoomFrames, ARectangleMovesBetweenItsEndsTruncatingEachSide) {
  // Left at 300: trunc(0 - 300 x (-50 / 1024)) = 14; right trunc(100 + 14.6) = 114.
  StartPanZoom({0, 0, 100, 100}, {50, 0, 150, 100});
  FrameAt(*E, 300);
  EXPECT_TRUE(Shows([&](Integer X, Integer Y) { return Source.GetPixel24(14 + X / 2, Y); }));
}

}  // namespace
