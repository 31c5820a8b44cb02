// The icon writer resizes through the processing library's resampler once that library has
// started: filtered colours, and the alpha channel following the picture.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/ieico.h"
#include "imaging/io/zezudidioparams.h"
#include "imaging/proc/ieprocfilters.h"
#include "imaging/proc/ieresamplebitmap.h"
#include "platform/system/Streams.h"

namespace {

TEST(IcoResample, TheStartUpHandsTheResamplerToTheIconWriter) {
  TZezudIdProcInitialize();
  ASSERT_EQ(IEIcoProcs.ResampleBitmap, &ResampleBitmap);
  // Black and transparent on the left, white and opaque on the right, written at 8 x 2.
  TIEBitmap Picture;
  Picture.Allocate(2, 2, ie24RGB);
  for (Integer Y = 0; Y < 2; ++Y) {
    Picture.SetPixel24(0, Y, TIERGBTriple{0, 0, 0});
    Picture.SetPixel24(1, Y, TIERGBTriple{255, 255, 255});
    Picture.SetAlpha(0, Y, 0);
  }
  TIOParamsVals Params;
  TMemoryStream Stream;
  bool Aborting = false;
  TIEIOProgress Progress;
  Progress.Aborting = &Aborting;
  const std::vector<std::array<Integer, 2>> Sizes{{8, 2}};
  const std::vector<Integer> Bits{32};
  IcoWriteStream(&Stream, &Picture, Params, Progress, Sizes, Bits);
  TZezudIdProcFinalize();
  EXPECT_EQ(IEIcoProcs.ResampleBitmap, nullptr);
  ASSERT_FALSE(Aborting);
  const Byte* Row = static_cast<const Byte*>(Stream.GetMemory()) + 22 + 40;  // the bottom row
  bool Between = false;
  for (Integer X = 0; X < 8; ++X) Between = Between || (Row[4 * X] > 0 && Row[4 * X] < 255);
  EXPECT_TRUE(Between) << "a filtered resize blends the two colours";
  EXPECT_EQ(Row[3], 0);            // the left edge stays transparent
  EXPECT_EQ(Row[4 * 7 + 3], 255);  // and the right one opaque
}

}  // namespace
