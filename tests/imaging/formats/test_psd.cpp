// The PSD reader: files built byte by byte for the header test, the merged picture in each colour
// mode, resources, layers with masks, and malformed files whose claims the data cannot back.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/formats/iepsdcursor.h"
#include "tests/imaging/formats/PsdTestSupport.h"

namespace {

std::vector<Byte> Raw(std::vector<Byte> Head, const std::vector<Byte>& Resources,
                      const std::vector<Byte>& LayerSection, const std::vector<Byte>& Merged) {
  TPsdBytes F;
  F.Bytes(Head).U32(0).Block(Resources);
  if (LayerSection.empty())
    F.U32(0);
  else
    F.Bytes(LayerSection);
  F.U16(0).Bytes(Merged);
  return F.B;
}

TEST(PsdIsFile, AcceptsVersionOneHeadersInRangeAndKeepsPosition) {
  struct TCase {
    TPsdBytes Bytes;
    bool Expected;
  } Cases[] = {
      {PsdHeader(3, 1, 1, 8, 3), true},   {PsdHeader(24, 1, 1, 16, 9), true},
      {PsdHeader(1, 1, 1, 1, 0), true},   {PsdHeader(3, 1, 1, 8, 3, 2), false},
      {PsdHeader(0, 1, 1, 8, 3), false},  {PsdHeader(25, 1, 1, 8, 3), false},
      {PsdHeader(3, 1, 1, 0, 3), false},  {PsdHeader(3, 1, 1, 17, 3), false},
      {PsdHeader(3, 1, 1, 8, 10), false},
  };
  for (auto& C : Cases) {
    TMemoryStream S;
    LoadBytes(S, C.Bytes.B);
    EXPECT_EQ(PsdIsFile(&S), C.Expected) << int(C.Bytes.B[13]) << " " << int(C.Bytes.B[23]);
    EXPECT_EQ(S.GetPosition(), 0);
  }
  TMemoryStream Short;
  LoadBytes(Short, {'8', 'B', 'P', 'S', 0, 1});
  EXPECT_FALSE(PsdIsFile(&Short));
}

TEST(PsdRead, RgbWithAlphaRawAndPackedGiveTheSamePixels) {
  // 2 x 1 RGBA: red (255,0,0,a=128) and (1,2,3,a=255).
  const std::vector<Byte> Planes = {255, 1, 0, 2, 0, 3, 128, 255};
  TPsdRead A;
  A.Load(Raw(PsdHeader(4, 1, 2, 8, 3).B, {}, {}, Planes));
  // Packed: one count per row of each channel, each row a literal packet of two bytes.
  TPsdBytes Packed;
  Packed.Bytes(PsdHeader(4, 1, 2, 8, 3).B).U32(0).U32(0).U32(0).U16(1);
  for (Integer C = 0; C < 4; ++C) Packed.U16(3);
  for (Integer C = 0; C < 4; ++C) Packed.U8(1).U8(Planes[2 * C]).U8(Planes[2 * C + 1]);
  TPsdRead B;
  B.Load(Packed.B);
  for (TPsdRead* R : {&A, &B}) {
    ASSERT_FALSE(R->P.Aborting);
    ASSERT_EQ(R->Bitmap.GetPixelFormat(), ie24RGB);
    EXPECT_EQ(R->Bitmap.GetPixel24(0, 0), (TIERGBTriple{0, 0, 255}));
    EXPECT_EQ(R->Bitmap.GetPixel24(1, 0), (TIERGBTriple{3, 2, 1}));
    ASSERT_TRUE(R->Bitmap.HasAlphaChannel());
    EXPECT_EQ(R->Bitmap.GetAlpha(0, 0), 128);
    EXPECT_EQ(R->Bitmap.GetAlpha(1, 0), 255);
    EXPECT_EQ(R->Params.Width, 2);
    EXPECT_EQ(R->Params.SamplesPerPixel, 4);
    EXPECT_EQ(R->Params.DpiX, 96);
  }
}

TEST(PsdRead, OneBitRowsOfWidthTenReadEveryPixelWithSetBitsBlack) {
  // Row 0: the first and the tenth pixel black; row 1: all white.
  TPsdRead R;
  R.Params.NativePixelFormat = true;
  R.Load(Raw(PsdHeader(1, 2, 10, 1, 0).B, {}, {}, {0x80, 0x40, 0x00, 0x00}));
  ASSERT_FALSE(R.P.Aborting);
  ASSERT_EQ(R.Bitmap.GetPixelFormat(), ie1g);
  for (Integer X = 0; X < 10; ++X) {
    EXPECT_EQ(R.Bitmap.GetPixelRGB(X, 0).rgbtRed, (X == 0 || X == 9) ? 0 : 255) << X;
    EXPECT_EQ(R.Bitmap.GetPixelRGB(X, 1).rgbtRed, 255) << X;
  }
}

TEST(PsdRead, SixteenBitSamplesAndLabOffsetsReachTheirPixelFormats) {
  TPsdRead Grey;
  Grey.Params.NativePixelFormat = true;
  Grey.Load(Raw(PsdHeader(1, 1, 1, 16, 1).B, {}, {}, {0x12, 0x34}));
  ASSERT_EQ(Grey.Bitmap.GetPixelFormat(), ie16g);
  EXPECT_EQ(Grey.Bitmap.GetPixel16(0, 0), 0x1234);

  TPsdRead Lab;
  Lab.Params.NativePixelFormat = true;
  Lab.Load(Raw(PsdHeader(3, 1, 1, 8, 9).B, {}, {}, {200, 128 + 10, 128 - 20}));
  ASSERT_EQ(Lab.Bitmap.GetPixelFormat(), ieCIELab);
  const auto* P = static_cast<const TIECIELabPixel*>(Lab.Bitmap.GetScanline(0));
  EXPECT_EQ(*P, (TIECIELabPixel{200, 10, -20}));

  TPsdRead Cmyk;
  Cmyk.Params.NativePixelFormat = true;
  Cmyk.Load(Raw(PsdHeader(4, 1, 1, 16, 4).B, {}, {}, {0x10, 0xFF, 0x20, 0, 0x30, 0, 0x40, 0}));
  ASSERT_EQ(Cmyk.Bitmap.GetPixelFormat(), ieCMYK);
  const auto* C = static_cast<const Byte*>(Cmyk.Bitmap.GetScanline(0));
  EXPECT_EQ(std::vector<Byte>(C, C + 4), (std::vector<Byte>{0x10, 0x20, 0x30, 0x40}));
}

TEST(PsdRead, IndexedTransparentIndexGivesAlphaZeroExactlyThere) {
  std::vector<Byte> Map(768);
  Map[5] = 200;        // red of index 5
  Map[256 + 7] = 100;  // green of index 7
  TPsdBytes F;
  F.Bytes(PsdHeader(1, 1, 3, 8, 2).B)
      .Block(Map)
      .Block(PsdResource(1047, {0, 7}))
      .U32(0)
      .U16(0)
      .U8(5)
      .U8(7)
      .U8(5);
  TPsdRead Native;
  Native.Params.NativePixelFormat = true;
  Native.Load(F.B);
  ASSERT_FALSE(Native.P.Aborting);
  ASSERT_EQ(Native.Bitmap.GetPixelFormat(), ie8p);
  EXPECT_EQ(Native.Bitmap.GetAlpha(0, 0), 255);
  EXPECT_EQ(Native.Bitmap.GetAlpha(1, 0), 0);
  EXPECT_EQ(Native.Bitmap.GetAlpha(2, 0), 255);
  TPsdRead Rgb;
  Rgb.Load(F.B);
  ASSERT_EQ(Rgb.Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Rgb.Bitmap.GetPixel24(0, 0), (TIERGBTriple{0, 0, 200}));
  EXPECT_EQ(Rgb.Bitmap.GetPixel24(1, 0), (TIERGBTriple{0, 100, 0}));
  EXPECT_EQ(Rgb.Bitmap.GetAlpha(1, 0), 0);
}

TEST(PsdRead, ResolutionResourceSetsTheDpiAndUnknownResourcesAreSkipped) {
  TPsdBytes Res;
  Res.U32(72 * 65536).U16(1).U16(1).U32(150 * 65536 + 30000).U16(1).U16(1);
  std::vector<Byte> Resources = PsdResource(2000, {1, 2, 3});
  const std::vector<Byte> Dpi = PsdResource(1005, Res.B);
  Resources.insert(Resources.end(), Dpi.begin(), Dpi.end());
  const std::vector<Byte> Xmp = PsdResource(1060, {'<', 'x', '/', '>'});
  Resources.insert(Resources.end(), Xmp.begin(), Xmp.end());
  TPsdRead R;
  R.Load(Raw(PsdHeader(1, 1, 1, 8, 1).B, Resources, {}, {9}));
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_EQ(R.Params.DpiX, 72);
  EXPECT_EQ(R.Params.DpiY, 150);
  EXPECT_EQ(R.Params.XmpInfo, "<x/>");
}

// Two layers: "bg" 2 x 1 at (0, 0) and "top" 1 x 1 at (1, 0), hidden, half opaque, with a 1 x 2
// user mask at (3, 4); a third layer with an empty rectangle.
std::vector<Byte> LayeredFile() {
  TPsdTestLayer Bg;
  Bg.Bottom = 1, Bg.Right = 2, Bg.Name = "bg";
  Bg.Channels = {{0, PsdRawChannel({10, 11})}, {1, PsdRawChannel({20, 21})}, {2, PsdRawChannel({30, 31})}};
  TPsdTestLayer Top;
  Top.Left = 1, Top.Bottom = 1, Top.Right = 2, Top.Name = "top", Top.Flags = 2, Top.Opacity = 128;
  Top.Clipping = 1;
  Top.Channels = {{-1, PsdRawChannel({77})},
                  {0, PsdRawChannel({1})},
                  {1, PsdRawChannel({2})},
                  {2, PsdRawChannel({3})},
                  {-2, PsdRawChannel({40, 50})}};
  Top.HasMask = true, Top.MaskTop = 4, Top.MaskLeft = 3, Top.MaskBottom = 6, Top.MaskRight = 4;
  TPsdTestLayer Empty;
  Empty.Top = 5, Empty.Bottom = 5, Empty.Right = 3, Empty.Name = "none";
  Empty.Channels = {{0, PsdRawChannel({})}};
  return Raw(PsdHeader(3, 1, 2, 8, 3).B, {}, PsdLayerSection({Bg, Top, Empty}), {5, 6, 7, 8, 9, 10});
}

TEST(PsdRead, LayersWithMasksAreReadInsteadOfTheMergedPictureAndEmptyOnesDropped) {
  TPsdRead R;
  R.Load(LayeredFile(), /*LoadLayers=*/true);
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_TRUE(R.Bitmap.IsEmpty());
  ASSERT_EQ(R.Layers.size(), 2u);
  const TIEPsdLayer& Bg = R.Layers[0];
  EXPECT_EQ(Bg.Name, "bg");
  EXPECT_TRUE(Bg.Visible);
  EXPECT_TRUE(Bg.ClipToBackground);
  EXPECT_EQ(Bg.Bitmap->GetPixel24(1, 0), (TIERGBTriple{31, 21, 11}));
  EXPECT_FALSE(Bg.Mask);
  const TIEPsdLayer& Top = R.Layers[1];
  EXPECT_EQ(Top.Name, "top");
  EXPECT_EQ(Top.PosX, 1);
  EXPECT_EQ(Top.PosY, 0);
  EXPECT_EQ(Top.Transparency, 128);
  EXPECT_FALSE(Top.Visible);
  EXPECT_FALSE(Top.ClipToBackground);
  EXPECT_EQ(Top.Bitmap->GetPixel24(0, 0), (TIERGBTriple{3, 2, 1}));
  EXPECT_EQ(Top.Bitmap->GetAlpha(0, 0), 77);
  ASSERT_TRUE(Top.Mask);
  EXPECT_EQ(Top.MaskX, 3);
  EXPECT_EQ(Top.MaskY, 4);
  EXPECT_EQ(Top.Mask->GetWidth(), 1);
  EXPECT_EQ(Top.Mask->GetHeight(), 2);
  EXPECT_EQ(Top.Mask->GetPixel8(0, 1), 50);
}

TEST(PsdRead, WithoutLoadingLayersTheMergedPictureIsReadAndOnlyASingleLayerListed) {
  TPsdRead Many;
  Many.Load(LayeredFile(), /*LoadLayers=*/false);
  ASSERT_FALSE(Many.P.Aborting);
  EXPECT_TRUE(Many.Layers.empty());
  EXPECT_EQ(Many.Bitmap.GetPixel24(1, 0), (TIERGBTriple{10, 8, 6}));

  TPsdTestLayer Only;
  Only.Bottom = 1, Only.Right = 1;
  Only.Channels = {{0, PsdRawChannel({1})}, {1, PsdRawChannel({2})}, {2, PsdRawChannel({3})}};
  TPsdRead One;
  One.Load(Raw(PsdHeader(3, 1, 1, 8, 3).B, {}, PsdLayerSection({Only}), {4, 5, 6}), false);
  ASSERT_EQ(One.Layers.size(), 1u);
  EXPECT_EQ(One.Bitmap.GetPixel24(0, 0), (TIERGBTriple{6, 5, 4}));
}

TEST(PsdRead, ClaimsTheDataCannotBackAbortWithoutHugeAllocations) {
  const std::vector<Byte> Layered = LayeredFile();
  std::vector<Byte> LongResources = Raw(PsdHeader(1, 1, 1, 8, 1).B, {}, {}, {0});
  LongResources[26 + 4 + 3] = 0x7F;  // resource section longer than the file
  std::vector<Byte> ManyLayers = Layered;
  ManyLayers[26 + 4 + 4 + 4 + 4] = 0x7F;  // layer count 0x7F03
  std::vector<Byte> LongChannel = Layered;
  LongChannel[26 + 4 + 4 + 4 + 4 + 2 + 16 + 2 + 2] = 0x70;  // first channel 0x70000008 bytes
  TPsdBytes HugePacked;
  HugePacked.Bytes(PsdHeader(3, 30000, 30000, 8, 3).B).U32(0).U32(0).U32(0).U16(1).U16(2).U16(2);
  // Row counts for two thousand million rows of 24 channels, with none of them in the file.
  TPsdBytes ManyRows;
  ManyRows.Bytes(PsdHeader(24, 0x7FFFFFFF, 1, 8, 3).B).U32(0).U32(0).U32(0).U16(1).U16(2);
  const std::vector<std::vector<Byte>> Cases = {
      ManyRows.B,    Raw(PsdHeader(3, 30000, 30000, 8, 3).B, {}, {}, {1, 2, 3}),
      HugePacked.B,  Raw(PsdHeader(3, 2, 2, 8, 3).B, {}, {}, {1, 2, 3}),
      LongResources, ManyLayers,
      LongChannel,   PsdHeader(3, 1, 1, 8, 3, 2).B,
  };
  for (size_t I = 0; I < Cases.size(); ++I) {
    TPsdRead R;
    R.Load(Cases[I], true);
    EXPECT_TRUE(R.P.Aborting) << I;
    EXPECT_LE(static_cast<Int64>(R.Bitmap.GetWidth()) * R.Bitmap.GetHeight(), 4) << I;
  }
}

TEST(PsdUnpackRow, PacketsStopAtTheEndOfInputAndRow) {
  struct TCase {
    std::vector<Byte> In;
    std::vector<Byte> Out;
  } Cases[] = {
      {{0x02, 1, 2, 3, 0xFE, 9}, {1, 2, 3, 9, 9, 9}},
      {{0x80, 0x00, 4, 0xFD, 7}, {4, 7, 7, 7, 7, 0}},
      {{0x09, 1, 2}, {1, 2, 0, 0, 0, 0}},
      {{0x81, 5}, {5, 5, 5, 5, 5, 5}},
      {{0xFF}, {0, 0, 0, 0, 0, 0}},
  };
  for (const TCase& C : Cases) {
    std::vector<Byte> Out(6, 0);
    PsdUnpackRow(C.In.data(), static_cast<Integer>(C.In.size()), Out.data(), 6);
    EXPECT_EQ(Out, C.Out);
  }
}

}  // namespace
