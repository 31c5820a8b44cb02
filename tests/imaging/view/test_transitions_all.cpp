// Every row of the transition table, built-in or drawn by its step procedure, run on a view at
// 0, 50 and 100 per cent on a 200 x 100 and a 7 x 5 frame: no crash, no hang, and the frame
// stays the frame's size. The built-in transitions that are not random end on the whole next
// picture.
#include <gtest/gtest.h>

#include <set>

#include "TransitionTestSupport.h"

namespace {

// Built-in numbers whose last frame is not simply the next picture: the fade to the
// background, the random kinds, the wipes whose edge line stays at the border, the pan-zoom.
const std::set<Integer> NotEndingOnNext = {2, 8, 12, 25, 26, 213};

bool ShowsNext(TIETransitionEffects& E, TBitmap& Next, Integer W, Integer H) {
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X)
      if (!(PixelOf(*E.CurrentBitmap, X, Y) == PixelOf(Next, X, Y))) return false;
  return true;
}

class AllTransitions : public TransitionTest,
                       public ::testing::WithParamInterface<std::pair<Integer, Integer>> {};

TEST_P(AllTransitions, EveryRowRunsAtZeroHalfAndFull) {
  const auto [W, H] = GetParam();
  auto Prev = TransitionPicture(W, H, 1), Next = TransitionPicture(W, H, 2);
  TIEBitmap PanZoomSource(W * 2, H * 2, ie24RGB);
  for (Integer Number = 1; Number <= IETransitionCount; ++Number) {
    SCOPED_TRACE(std::string(ExtraTransitionTable[Number - 1].Name) + " (" + std::to_string(Number) + ")");
    TIETransitionEffects& E = RunTransition(View, *Prev, *Next,
                                            {.Number = static_cast<Byte>(Number),
                                             .Duration = 1000,
                                             .PanZoomSource = &PanZoomSource,
                                             .PanZoomFrom = {-W / 2, -H / 2, W, H},
                                             .PanZoomTo = {W / 2, H / 2, W * 2, H * 2}});
    for (Integer Step : {0, 512, 1024}) {
      E.StepValue = Step;
      E.TimerStep(nullptr);
      ASSERT_TRUE(E.Running);
      ASSERT_EQ(E.CurrentBitmap->GetWidth(), W);
      ASSERT_EQ(E.CurrentBitmap->GetHeight(), H);
    }
    if (Number <= 30 && !NotEndingOnNext.contains(Number)) {
      EXPECT_TRUE(ShowsNext(E, *Next, W, H));
    }
    // Rows past 30 draw through the procedure their row points at: the expands end on the next
    // picture too.
    if (Number >= 31 && Number <= 34) {
      EXPECT_TRUE(ShowsNext(E, *Next, W, H));
    }
    E.Stop();
    EXPECT_FALSE(E.Running);
  }
  EXPECT_EQ(View.GetPaintLock(), 0);
}

INSTANTIATE_TEST_SUITE_P(Frames, AllTransitions, ::testing::Values(std::pair{200, 100}, std::pair{7, 5}));

}  // namespace
