#include <gtest/gtest.h>

#include "imaging/core/ieblend.h"

namespace {

TIERGBTriple Rgb(Byte R, Byte G, Byte B) {
  TIERGBTriple T;
  T.rgbtRed = R;
  T.rgbtGreen = G;
  T.rgbtBlue = B;
  return T;
}
TIERGBTriple Grey(Byte V) {
  return Rgb(V, V, V);
}
TIERGBTriple Blend(TIERGBTriple Src, TIERGBTriple Dst, Byte Op, Integer Row = 0) {
  IEBlendPixel(&Src, &Dst, Op, Row);
  return Dst;
}

}  // namespace

// Every channel-wise operation on the source 200 over the destination 100 (worked by hand from
// each operation's formula).
TEST(BlendPixel, ChannelOperationsOnOnePair) {
  const Byte Expected[31] = {200, 255, 100, 0,  78,  236, 64,  172, 200, 100, 150, 221, 210, 144, 156, 189,
                             133, 134, 255, 57, 255, 115, 185, 156, 181, 255, 135, 225, 44,  157, 244};
  for (Byte Op = 0; Op < 31; ++Op) EXPECT_EQ(Blend(Grey(200), Grey(100), Op), Grey(Expected[Op])) << int(Op);
}

TEST(BlendPixel, WorkedExamplesAndEdgesOfTheFormulas) {
  struct TCase {
    Byte Op, S, D, Result;
  };
  const TCase Cases[] = {
      {ieboMultiply, 255, 255, 254},
      {ieboScreen, 0, 0, 0},
      {ieboScreen, 128, 128, 191},
      {3, 0, 200, 200},
      {13, 255, 255, 2},
      {14, 0, 128, 2},
      {17, 255, 255, 254},
      {18, 255, 0, 255},
      {19, 0, 255, 0},
      {20, 0, 255, 255},
      {21, 255, 0, 0},
      {22, 255, 0, 255},
      {22, 10, 20, 10},
      {23, 0, 255, 255},
      {24, 255, 3, 255},
      {26, 0, 255, 0},
      {28, 100, 100, 0},
      {ieboInterpolation, 0, 0, 0},
      {ieboInterpolation, 255, 255, 255},
      {30, 0, 100, 0},
      {30, 255, 255, 255},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(Blend(Grey(C.S), Grey(C.D), C.Op), Grey(C.Result))
        << int(C.Op) << " " << int(C.S) << " " << int(C.D);
}

TEST(BlendPixel, SoftLightUsesEachChannelsOwnSource) {
  EXPECT_EQ(Blend(Rgb(250, 128, 10), Grey(200), ieboSoftLight), Rgb(224, 200, 160));
}

TEST(BlendPixel, SingleChannelAndStereoOperations) {
  const TIERGBTriple S = Rgb(50, 60, 70), D = Rgb(100, 150, 200);
  EXPECT_EQ(Blend(S, D, 31), Rgb(50, 150, 200));
  EXPECT_EQ(Blend(S, D, 32), Rgb(100, 60, 200));
  EXPECT_EQ(Blend(S, D, 33), Rgb(100, 150, 70));
  // Grey levels with the weights 21/71/8: destination 143, source 58.
  EXPECT_EQ(Blend(S, D, ieboGrayStereo), Rgb(143, 58, 58));
  EXPECT_EQ(Blend(S, D, 39), Rgb(100, 60, 70));
  EXPECT_EQ(Blend(S, D, ieboRedCyanStereo), Rgb(148, 49, 70));
}

TEST(BlendPixel, RowInterleavingAndUnknownOperations) {
  const TIERGBTriple S = Grey(9), D = Grey(1);
  EXPECT_EQ(Blend(S, D, ieboEvenRows, 2), S);
  EXPECT_EQ(Blend(S, D, ieboEvenRows, 3), D);
  EXPECT_EQ(Blend(S, D, ieboOddRows, 3), S);
  EXPECT_EQ(Blend(S, D, ieboOddRows, 2), D);
  EXPECT_EQ(Blend(S, D, ieboOddRows, -1), S);
  EXPECT_EQ(Blend(S, D, IEBlendOpCount), D);
  EXPECT_EQ(Blend(S, D, 255), D);
}

TEST(BlendPixel, HueFamilyTakesEachComponentFromItsSide) {
  // Hue of pure green onto pure blue; saturation of a grey onto red; hue and saturation of
  // green with the lightness of dark red; hue and lightness of dark green with a grey's zero
  // saturation.
  EXPECT_EQ(Blend(Rgb(0, 255, 0), Rgb(0, 0, 255), ieboHue), Rgb(0, 255, 0));
  EXPECT_EQ(Blend(Grey(200), Rgb(255, 0, 0), 35), Grey(128));
  EXPECT_EQ(Blend(Rgb(0, 255, 0), Rgb(128, 0, 0), 36), Rgb(0, 128, 0));
  EXPECT_EQ(Blend(Rgb(0, 128, 0), Grey(200), 37), Grey(64));
}

TEST(BlendTables, CosineCurve) {
  const auto& T = IEBlendCosineTable();
  EXPECT_EQ(T[0], 0);
  EXPECT_EQ(T[128], 64);
  EXPECT_EQ(T[255], 128);
  EXPECT_EQ(T[100], 43);
  EXPECT_EQ(T[200], 114);
}

TEST(BlendHSL, ConversionsBothWays) {
  double H, S, L;
  IERGBToHSL(H, S, L, 0x808080);
  EXPECT_EQ(H, 0);
  EXPECT_EQ(S, 0);
  IERGBToHSL(H, S, L, 0xFF0000);
  EXPECT_DOUBLE_EQ(H, 0);
  EXPECT_DOUBLE_EQ(S, 1);
  EXPECT_DOUBLE_EQ(L, 0.5);
  IERGBToHSL(H, S, L, 0x0000FF);
  EXPECT_DOUBLE_EQ(H, 2.0 / 3);
  IERGBToHSL(H, S, L, 0xFF00FF);
  EXPECT_DOUBLE_EQ(H, 5.0 / 6);

  TIERGBTriple P;
  IEHSLToRGB(P, 0, 0, 0.5);
  EXPECT_EQ(P, Grey(128));  // 127.5 rounds to the even neighbour
  IEHSLToRGB(P, 0, 1, 0.5);
  EXPECT_EQ(P, Rgb(255, 0, 0));
  TIERGBTriple Q;
  IEHSLToRGB(P, -0.25, 1, 0.5);
  IEHSLToRGB(Q, 0.75, 1, 0.5);
  EXPECT_EQ(P, Q);
  IEHSLToRGB(P, 1.25, 1.5, 0.5);
  IEHSLToRGB(Q, 0.25, 1, 0.5);
  EXPECT_EQ(P, Q);
}
