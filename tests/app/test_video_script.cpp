// Video scripts as text: the reader's fields and its refusals, the interpolation between key
// frames (rising, falling, negative, reversed and repeated frame numbers), the movie sizes, the
// crop to the movie's shape, the movie's file name and the player's time and step arithmetic.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/VideoPlayerTime.h"
#include "app/VideoScript.h"

namespace {
std::string Script(const std::string& Pattern, const std::string& Count,
                   const std::vector<std::string>& Keys) {
  std::string S = "Pattern = " + Pattern + "\r\nKey frames = " + Count + "\r\n";
  for (const std::string& K : Keys) S += "Frame = " + K + "\r\n";
  return S;
}

std::vector<Integer> Column(const TFrameTable& T, Integer Param) {
  return T.Values[Param - 1];
}

TEST(VideoScriptTest, TwirlExampleRisesByOneAndHoldsTheSecondParameter) {
  const TVideoScript S = ReadScript(Script("3", "2", {"0, 10, 20, 0, 0, 0, 0", "10, 20, 20, 0, 0, 0, 0"}));
  EXPECT_FALSE(S.DataInvalid());
  EXPECT_EQ(S.PatternType(), 2);  // "Twirling spiral"
  EXPECT_EQ(S.DatasetCount, 2);
  const TFrameTable T = InterpolateFrames(S);
  EXPECT_EQ(T.LastFrame, 10);
  ASSERT_EQ(Column(T, 1).size(), 11u);
  for (Integer F = 0; F <= 10; ++F) {
    EXPECT_EQ(Column(T, 1)[F], 10 + F) << F;
    EXPECT_EQ(Column(T, 2)[F], 20) << F;
    EXPECT_EQ(Column(T, 6)[F], 0) << F;
  }
}

TEST(VideoScriptTest, InterpolationCutsTowardsZeroUpDownAndBelowZero) {
  // Steps of 10/3: rounding instead of cutting, or cutting downwards, would change them.
  const TVideoScript S = ReadScript(Script("1", "2", {"0, 0, 10, 0, -2, 7, 7", "3, 10, 0, -10, 2, 7, -7"}));
  const TFrameTable T = InterpolateFrames(S);
  EXPECT_EQ(Column(T, 1), (std::vector<Integer>{0, 3, 6, 10}));     // up
  EXPECT_EQ(Column(T, 2), (std::vector<Integer>{10, 6, 3, 0}));     // down
  EXPECT_EQ(Column(T, 3), (std::vector<Integer>{0, -3, -6, -10}));  // below zero
  EXPECT_EQ(Column(T, 4), (std::vector<Integer>{-2, 0, 0, 2}));     // through zero
  EXPECT_EQ(Column(T, 5), (std::vector<Integer>{7, 7, 7, 7}));
  EXPECT_EQ(Column(T, 6), (std::vector<Integer>{7, 2, -2, -7}));
}

TEST(VideoScriptTest, FallingFrameNumbersWriteNothingAndTheLaterKeyFrameHoldsASharedFrame) {
  // 0 -> 6 is cut off at the last frame 3; 6 -> 3 falls and leaves frame 3 as the first pair made it.
  TFrameTable T =
      InterpolateFrames(ReadScript(Script("1", "3", {"0,10,0,0,0,0,0", "6,40,0,0,0,0,0", "3,99,0,0,0,0,0"})));
  EXPECT_EQ(T.LastFrame, 3);
  EXPECT_EQ(Column(T, 1), (std::vector<Integer>{10, 15, 20, 25}));
  // Two key frames on frame 5: no division by zero; the later one holds and leads on.
  T = InterpolateFrames(ReadScript(
      Script("1", "4", {"0,10,0,0,0,0,0", "5,20,0,0,0,0,0", "5,30,0,0,0,0,0", "10,40,0,0,0,0,0"})));
  EXPECT_EQ(Column(T, 1), (std::vector<Integer>{10, 12, 14, 16, 18, 30, 32, 34, 36, 38, 40}));
  T = InterpolateFrames(ReadScript(Script("1", "3", {"0,10,0,0,0,0,0", "2,20,0,0,0,0,0", "2,30,0,0,0,0,0"})));
  EXPECT_EQ(Column(T, 1), (std::vector<Integer>{10, 15, 30}));
}

TEST(VideoScriptTest, OneKeyFrameOrNoneLeavesEveryValueZero) {
  TFrameTable T = InterpolateFrames(ReadScript(Script("2", "1", {"4, 50, 50, 50, 50, 50, 50"})));
  EXPECT_EQ(T.LastFrame, 4);
  EXPECT_EQ(Column(T, 3), (std::vector<Integer>{0, 0, 0, 0, 0}));
  T = InterpolateFrames(ReadScript(Script("2", "0", {})));
  EXPECT_EQ(T.LastFrame, 0);
  EXPECT_EQ(Column(T, 1).size(), 1u);
}

struct TReadCase {
  const char* Name;
  std::string Text;
  Integer PatternType;
  bool PatternInvalid;
  Integer DatasetCount;
  Integer FirstInvalidRow;
  std::vector<Integer> FirstRow;  // frame number and P1..P6 of key frame 0
};

TEST(VideoScriptTest, ReaderFieldsAndRefusals) {
  const std::vector<TReadCase> Cases = {
      {"blanks round the numbers",
       "a=10\nb= 1 \nk=  0 ,1, 2,3 ,4,5 , 6  \n",
       9,
       false,
       1,
       -1,
       {0, 1, 2, 3, 4, 5, 6}},
      {"lone CR lines", "a=1\rb=1\rk=0,1,2,3,4,5,6\r", 0, false, 1, -1, {0, 1, 2, 3, 4, 5, 6}},
      {"a letter reads as 0",
       "a=1\nb=2\nk=0,1,x,3,4,5,6\nk=1,1,2,3,4,5,6\n",
       0,
       false,
       2,
       0,
       {0, 1, 0, 3, 4, 5, 6}},
      {"too few commas", "a=1\nb=1\nk=0,1,2,3\n", 0, false, 1, 0, {0, 1, 2, 0, 0, 0, 0}},
      {"no equals sign: the line is the value",
       "1\n1\n0,1,2,3,4,5,6\n",
       0,
       false,
       1,
       -1,
       {0, 1, 2, 3, 4, 5, 6}},
      {"equals sign first is not searched", "=4\n1\n0,1,2,3,4,5,6\n", 0, true, 1, -1, {0, 1, 2, 3, 4, 5, 6}},
      {"pattern outside 1..10", "a=11\nb=1\nk=0,1,2,3,4,5,6\n", 0, true, 1, -1, {0, 1, 2, 3, 4, 5, 6}},
      {"file ends before the count", "a=1\nb=3\nk=0,1,2,3,4,5,6\n", 0, false, 1, 1, {0, 1, 2, 3, 4, 5, 6}},
      {"negative count", "a=1\nb=-4\n", 0, false, 0, -1, {0, 0, 0, 0, 0, 0, 0}},
      {"frame number past the limit",
       "a=1\nb=1\nk=1000000,1,2,3,4,5,6\n",
       0,
       false,
       1,
       0,
       {0, 1, 2, 3, 4, 5, 6}},
      {"too few commas and a frame past the limit",
       "a=1\nb=1\nk=99983647,1\n",
       0,
       false,
       1,
       0,
       {0, 0, 0, 0, 0, 0, 0}},
      {"negative frame number", "a=1\nb=1\nk=-1,1,2,3,4,5,6\n", 0, false, 1, 0, {0, 1, 2, 3, 4, 5, 6}},
      {"empty file", "", 0, true, 0, -1, {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const TReadCase& C : Cases) {
    const TVideoScript S = ReadScript(C.Text);
    EXPECT_EQ(S.PatternType(), C.PatternType) << C.Name;
    EXPECT_EQ(S.PatternInvalid, C.PatternInvalid) << C.Name;
    EXPECT_EQ(S.DatasetCount, C.DatasetCount) << C.Name;
    EXPECT_EQ(S.FirstInvalidRow, C.FirstInvalidRow) << C.Name;
    for (Integer M = 0; M < 7; ++M) EXPECT_EQ(S.ScriptData[M][0], C.FirstRow[M]) << C.Name << " field " << M;
  }
}

TEST(VideoScriptTest, KeyFrameCountIsBoundedByTheTable) {
  std::string Text = "a=1\nb=150\n";
  for (Integer R = 0; R < 150; ++R) Text += "k=" + std::to_string(R) + ",1,2,3,4,5,6\n";
  const TVideoScript S = ReadScript(Text);
  EXPECT_EQ(S.DatasetCount, MaxKeyFrames);
  EXPECT_EQ(S.LastFrame(), MaxKeyFrames - 1);
}

TEST(VideoScriptTest, SizeTableAndCaptions) {
  EXPECT_EQ(VideoSizeCaption(0), "240 x 180 (4:3)");
  EXPECT_EQ(VideoSizeCaption(2), "400 x 300 (4:3)");
  EXPECT_EQ(VideoSizeCaption(9), "1920 x 1440 (4:3)");
  EXPECT_EQ(VideoSizeCaption(14), "600 x 338 (16:9)");
  EXPECT_EQ(VideoSizeCaption(19), "1920 x 1080 (16:9)");
}

TEST(VideoScriptTest, CropKeepsThePicturesMiddleInTheMoviesShape) {
  struct TCase {
    Integer W, H, VW, VH;
    TCropArea Want;
  };
  const TCase Cases[] = {
      {1000, 1000, 640, 480, {0, 125, 1000, 750}},     // square: full width
      {600, 800, 640, 480, {0, 175, 600, 450}},        // portrait: full width
      {2000, 1000, 1920, 1080, {111, 0, 1777, 1000}},  // wider than 16:9: full height
      {1000, 700, 640, 480, {33, 0, 933, 700}},        // a little wider than 4:3: full height
      {1920, 1080, 1920, 1080, {0, 0, 1920, 1080}},    // the movie's own shape keeps every pixel
      {1001, 667, 1001, 667, {0, 0, 1001, 667}},
  };
  for (const TCase& C : Cases) {
    const TCropArea A = VideoCropArea(C.W, C.H, C.VW, C.VH);
    EXPECT_EQ(A.Left, C.Want.Left) << C.W << "x" << C.H;
    EXPECT_EQ(A.Top, C.Want.Top) << C.W << "x" << C.H;
    EXPECT_EQ(A.Width, C.Want.Width) << C.W << "x" << C.H;
    EXPECT_EQ(A.Height, C.Want.Height) << C.W << "x" << C.H;
  }
}

TEST(VideoScriptTest, MovieNameGetsAviUnlessItEndsInExactlyAvi) {
  EXPECT_EQ(MovieSaveName("/r/movie"), "/r/movie.avi");
  EXPECT_EQ(MovieSaveName("/r/movie.avi"), "/r/movie.avi");
  EXPECT_EQ(MovieSaveName("/r/movie.AVI"), "/r/movie.AVI.avi");
  EXPECT_EQ(MovieSaveName("/r/movie.avi.bak"), "/r/movie.avi.bak.avi");
}

TEST(VideoPlayerTimeTest, LengthTextInMinutesSecondsAndHundredths) {
  EXPECT_EQ(secs2str(0), "00.00,00");
  EXPECT_EQ(secs2str(654'000'000), "01.05,40");
  EXPECT_EQ(secs2str(1'254'000'000), "02.05,40");
  EXPECT_EQ(secs2str(99'990'000), "00.09,99");
  // Past the 32-bit count of 214.7 seconds.
  EXPECT_EQ(secs2str(300 * UnitsPerSecond), "05.00,00");
  EXPECT_EQ(secs2str(3725 * UnitsPerSecond + 5'000'000), "62.05,50");
  EXPECT_EQ(secs2str(-1), "00.00,00");
}

TEST(VideoPlayerTimeTest, StepsAndClampsStayInsideTheMovie) {
  // 11 frames at 25 fps.
  const Int64 Duration = 11 * 400'000;
  const double D = FrameDurationOf(Duration, 11);
  EXPECT_DOUBLE_EQ(D, 400'000);
  EXPECT_EQ(StepPosition(0, D, 1), 400'000);
  EXPECT_EQ(StepPosition(4'000'000, D, -10), 0);
  EXPECT_EQ(StepPosition(400'000, D, -1), 0);
  // Back from the first frame asks for a place before the start: the movie stays at its start.
  EXPECT_EQ(ClampPosition(StepPosition(0, D, -1), Duration), 0);
  EXPECT_EQ(ClampPosition(StepPosition(0, D, -10), Duration), 0);
  EXPECT_EQ(ClampPosition(StepPosition(4'000'000, D, 10), Duration), Duration);
  EXPECT_EQ(FrameAtPosition(Duration, D), 11);
  EXPECT_EQ(FrameAtPosition(600'000, D), 2);    // 1.5 rounds to the even 2
  EXPECT_EQ(FrameAtPosition(1'000'000, D), 2);  // 2.5 rounds to the even 2
  EXPECT_EQ(FrameAtPosition(1'000'001, D), 3);
  // 30000/1001 fps: a step of ten frames rounds 3336666.67 to 3336667.
  const double Ntsc = FrameDurationOf(333'666'667, 100);
  EXPECT_EQ(StepPosition(0, Ntsc, 10), 33'366'667);
  // A movie of no frames.
  EXPECT_EQ(FrameDurationOf(Duration, 0), 0);
  EXPECT_EQ(FrameAtPosition(Duration, 0), 0);
  EXPECT_EQ(StepPosition(800'000, 0, -10), 800'000);
}
}  // namespace
