// A picture of exactly two colours written as a 1-bit PCX keeps both colours in its palette,
// darker first, once the further formats have registered the two-colour conversion.
#include <gtest/gtest.h>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/iefileformats.h"
#include "tests/imaging/io/PcxTestSupport.h"

TEST(PcxTwoColours, ABitPictureKeepsItsTwoColoursDarkerFirst) {
  IEFormatsInstall();
  InitFileFormats();
  TIEBitmap Picture(5, 2, ie24RGB);
  const TIERGBTriple Light{40, 220, 250}, Dark{200, 10, 30};
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 5; ++X) Picture.SetPixel24(X, Y, (X + Y) % 2 ? Dark : Light);
  TIOParamsVals Params;
  Params.BitsPerSample = 1;
  Params.SamplesPerPixel = 1;
  const std::vector<Byte> File = WritePcxBytes(Picture, Params);
  FreeFileFormats();

  TPcxRead R;
  ReadPcxBytes(File, R);
  ASSERT_FALSE(R.Aborting);
  ASSERT_EQ(R.Params.GetColorMapCount(), 2);
  EXPECT_EQ(R.Params.ColorMap[0], Dark);
  EXPECT_EQ(R.Params.ColorMap[1], Light);
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 5; ++X) EXPECT_EQ(Bit1(R.Bitmap, X, Y), (X + Y) % 2 == 0) << X << "," << Y;
}
