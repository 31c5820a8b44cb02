// The JPEG 2000 reader: content tests, the YCbCr tables, component mapping (grey, opacity,
// precision, sub-sampling, YCbCr) and the refusals, over streams made with OpenJPEG here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "imaging/core/hyieutils.h"
#include "imaging/core/ieprocbase.h"
#include "tests/imaging/formats/Jpeg2000TestSupport.h"

namespace {

std::vector<OPJ_INT32> Samples(size_t Count, OPJ_INT32 (*Value)(size_t)) {
  std::vector<OPJ_INT32> V(Count);
  for (size_t I = 0; I < Count; ++I) V[I] = Value(I);
  return V;
}

TEST(Jpeg2000Tests, SignaturesAreRecognisedWithoutConsumingTheStream) {
  struct TCase {
    std::vector<Byte> Bytes;
    bool Jp2;
    bool CodeStream;
  };
  const TCase Cases[] = {
      {{0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A, 0}, true, false},
      {{0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87}, false, false},  // one byte short
      {{0, 0, 0, 13, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A}, false, false},
      {{0xFF, 0x4F, 0xFF, 0x51}, false, true},
      {{0xFF, 0x4F, 0xFF, 0x52, 0, 0}, false, false},
      {{0xFF, 0x4F}, false, false},
  };
  for (const TCase& C : Cases) {
    TMemoryStream S;
    S.Write("ab", 2);
    S.Write(C.Bytes.data(), static_cast<Integer>(C.Bytes.size()));
    S.SetPosition(2);
    EXPECT_EQ(Jpeg2000IsJp2File(&S), C.Jp2);
    EXPECT_EQ(S.GetPosition(), 2);
    EXPECT_EQ(Jpeg2000IsCodeStream(&S), C.CodeStream);
    EXPECT_EQ(S.GetPosition(), 2);
  }
}

TEST(Jpeg2000Tests, YCbCrTablesRoundTheSinglePrecisionFactors) {
  const TJpeg2000YCbCrTables& T = Jpeg2000YCbCr();
  EXPECT_EQ(T.CrR[128], 0);
  EXPECT_EQ(T.CrR[255], 178);  // 1.402 x 127 = 178.05
  EXPECT_EQ(T.CrR[0], -179);   // 1.402 x -128 = -179.46
  EXPECT_EQ(T.CbB[255], 225);  // 1.772 x 127 = 225.04
  EXPECT_EQ(T.CbB[0], -227);   // -226.82
  EXPECT_EQ(T.CrG[255], -91);  // 0.71414 x 127 = 90.70, negated
  EXPECT_EQ(T.CrG[0], 91);
  EXPECT_EQ(T.CbG[255], -44);  // 0.34414 x 127 = 43.71
  EXPECT_EQ(T.CbG[0], 44);     // 44.05
  EXPECT_EQ(T.CbG[130], -1);   // 0.69
}

// A 1-bit grey picture becomes ie1g, an 8-bit one equal bytes, a 12-bit one its top 8 bits;
// an opacity component beside the grey one is left out.
TEST(Jpeg2000Read, GreyPrecisionsAndOpacity) {
  const auto Bits = [](size_t I) { return OPJ_INT32(I % 3 == 0); };
  auto L = LoadJ2k(EncodeComponents({{1, 1, 1, false, Samples(12, Bits)}}, 4, 3, OPJ_CLRSPC_GRAY, false));
  ASSERT_FALSE(L->Aborting);
  ASSERT_EQ(L->Bitmap.GetPixelFormat(), ie1g);
  EXPECT_EQ(L->Params.BitsPerSample, 1);
  EXPECT_EQ(L->Params.SamplesPerPixel, 1);
  for (Integer I = 0; I < 12; ++I)
    EXPECT_EQ(IEGetBit(static_cast<Byte*>(L->Bitmap.GetScanline(I / 4)), I % 4), I % 3 == 0) << I;

  const auto Ramp12 = [](size_t I) { return OPJ_INT32(I * 300 + 5); };
  const auto Opacity = [](size_t) { return OPJ_INT32(9); };
  L = LoadJ2k(
      EncodeComponents({{1, 1, 12, false, Samples(12, Ramp12)}, {1, 1, 8, true, Samples(12, Opacity)}}, 4, 3,
                       OPJ_CLRSPC_GRAY, true));
  ASSERT_FALSE(L->Aborting);
  ASSERT_EQ(L->Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(L->Params.BitsPerSample, 12);
  EXPECT_EQ(L->Params.SamplesPerPixel, 1);
  for (Integer I = 0; I < 12; ++I) {
    const Byte V = static_cast<Byte>((I * 300 + 5) >> 4);
    EXPECT_EQ(L->Bitmap.GetPixel24(I % 4, I / 4), (TIERGBTriple{V, V, V})) << I;
  }
}

// Chroma at half the width and height: picture column x reads chroma sample x / 2.
TEST(Jpeg2000Read, SubsampledComponentsAreSpreadOverThePicture) {
  const auto Luma = [](size_t I) { return OPJ_INT32(10 * I); };
  const auto Chroma = [](size_t I) { return OPJ_INT32(100 + I); };
  // 5 x 3 picture: chroma 3 x 2.
  auto L = LoadJ2k(EncodeComponents({{1, 1, 8, false, Samples(15, Luma)},
                                     {2, 2, 8, false, Samples(6, Chroma)},
                                     {2, 2, 8, false, Samples(6, Chroma)}},
                                    5, 3, OPJ_CLRSPC_UNSPECIFIED, false));
  ASSERT_FALSE(L->Aborting);
  EXPECT_EQ(L->Params.SamplesPerPixel, 3);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 5; ++X) {
      const Byte C = static_cast<Byte>(100 + (Y / 2) * 3 + X / 2);
      EXPECT_EQ(L->Bitmap.GetPixel24(X, Y), (TIERGBTriple{C, C, static_cast<Byte>(10 * (Y * 5 + X))}))
          << X << "," << Y;
    }
}

// A JP2 file in sYCC goes through the YCbCr tables, clamped per channel.
TEST(Jpeg2000Read, YCbCrFileIsConvertedWithTheTables) {
  const auto Y = [](size_t) { return OPJ_INT32(128); };
  const auto Cb = [](size_t) { return OPJ_INT32(0); };
  const auto Cr = [](size_t) { return OPJ_INT32(255); };
  auto L = LoadJ2k(EncodeComponents(
      {{1, 1, 8, false, Samples(16, Y)}, {2, 2, 8, false, Samples(4, Cb)}, {2, 2, 8, false, Samples(4, Cr)}},
      4, 4, OPJ_CLRSPC_SYCC, true));
  ASSERT_FALSE(L->Aborting);
  // red 128 + 178, green 128 + 44 - 91, blue 128 - 227
  EXPECT_EQ(L->Bitmap.GetPixel24(3, 3), (TIERGBTriple{0, 81, 255}));
}

TEST(Jpeg2000Read, PreviewFillsTheParametersOnly) {
  const auto Flat = [](size_t) { return OPJ_INT32(3); };
  auto L = LoadJ2k(EncodeComponents({{1, 1, 8, false, Samples(6, Flat)}}, 3, 2, OPJ_CLRSPC_GRAY, true), true);
  EXPECT_FALSE(L->Aborting);
  EXPECT_EQ(L->Params.Width, 3);
  EXPECT_EQ(L->Params.FileHeight, 2);
  EXPECT_EQ(L->Params.ImageCount, 1);
  EXPECT_EQ(L->Params.DpiX, DefaultDpiX);
  EXPECT_EQ(L->Bitmap.GetWidth(), 0);
}

std::vector<Byte> SmallCodeStream() {
  const auto Flat = [](size_t) { return OPJ_INT32(200); };
  return EncodeComponents({{1, 1, 8, false, Samples(64, Flat)}}, 8, 8, OPJ_CLRSPC_GRAY, false);
}

// SIZ: marker, length, capabilities, then Xsiz, Ysiz, XOsiz, YOsiz, XTsiz, YTsiz.
void ClaimSize(std::vector<Byte>& Stream, Cardinal Side) {
  for (size_t Field : {size_t(8), size_t(12), size_t(24), size_t(28)})
    for (size_t B = 0; B < 4; ++B) Stream[Field + B] = static_cast<Byte>(Side >> (24 - 8 * B));
}

// The JP2 colour box: "colr", method 1, precedence, approximation, then the space.
void SetEnumeratedColourSpace(std::vector<Byte>& File, Byte Space) {
  const std::string Text(File.begin(), File.end());
  const size_t Box = Text.find("colr");
  ASSERT_NE(Box, std::string::npos);
  ASSERT_EQ(File[Box + 4], 1);
  File[Box + 10] = Space;
}

TEST(Jpeg2000Read, RefusalsSetTheAbortFlagAndAllocateNothing) {
  std::vector<Byte> Huge = SmallCodeStream();
  ClaimSize(Huge, 20000);  // 400 million samples
  std::vector<Byte> Cut = SmallCodeStream();
  Cut.resize(20);
  std::vector<Byte> Cmyk =
      EncodeComponents(std::vector<TTestComponent>(4, {1, 1, 8, false, std::vector<OPJ_INT32>(4, 1)}), 2, 2,
                       OPJ_CLRSPC_CMYK, true);
  SetEnumeratedColourSpace(Cmyk, 12);
  std::vector<Byte> Garbage = {0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A, 1, 2, 3, 4, 5};
  for (const std::vector<Byte>* File : {&Huge, &Cut, &Cmyk, &Garbage}) {
    auto L = LoadJ2k(*File);
    EXPECT_TRUE(L->Aborting);
    EXPECT_EQ(L->Bitmap.GetWidth(), 0);
  }
  auto NotJ2k = LoadJ2k({'B', 'M', 0, 0, 0, 0});
  EXPECT_TRUE(NotJ2k->Aborting);
}

// Sub-bands without content cost next to nothing: a plain picture is far smaller than any
// per-byte bound of ordinary formats, and is still read.
TEST(Jpeg2000Read, APlainLargePictureIsNotTakenForAFalseClaim) {
  TIEBitmap Plain;
  Plain.Allocate(3000, 3000, ie24RGB);
  Plain.Fill(0x808080);
  TIOParamsVals P;
  P.J2000ColorSpace = 0;
  const std::vector<Byte> File = SaveJ2k(Plain, P, 0);
  ASSERT_LT(File.size(), 9000000u / 32768);
  auto L = LoadJ2k(File);
  ASSERT_FALSE(L->Aborting);
  EXPECT_EQ(L->Bitmap.GetWidth(), 3000);
  EXPECT_EQ(L->Bitmap.GetPixel24(2999, 2999), (TIERGBTriple{128, 128, 128}));
}

TEST(Jpeg2000Read, ReadsFromTheStreamPositionAndReportsProgress) {
  const std::vector<Byte> File = SmallCodeStream();
  TMemoryStream S;
  S.Write("prefix", 6);
  S.Write(File.data(), static_cast<Integer>(File.size()));
  S.SetPosition(6);
  TIEBitmap B;
  TIOParamsVals P;
  TTestProgress Progress;
  struct TPercents {
    std::vector<Integer> Seen;
    void Progress(TObject*, Integer Percent) { Seen.push_back(Percent); }
  } Percents;
  Progress.Progress.OnProgress = TIEProgressEvent(&Percents, &TPercents::Progress);
  Jpeg2000ReadStream(&S, &B, P, false, Progress.Progress);
  ASSERT_FALSE(Progress.Aborting);
  EXPECT_EQ(B.GetPixel24(7, 7), (TIERGBTriple{200, 200, 200}));
  ASSERT_EQ(Percents.Seen.size(), 8u);
  EXPECT_EQ(Percents.Seen.back(), 100);
}

// ImageMagick's own files, colour and grey, read as ImageMagick itself reads them.
TEST(Jpeg2000Read, ReadsWhatImageMagickWrites) {
  if (!ToolPresent("convert") ||
      ShellOutput("convert -list format 2>/dev/null").find("JP2") == std::string::npos)
    GTEST_SKIP() << "ImageMagick with JPEG 2000 is not installed";
  for (const char* Case :
       {"gradient:red-blue p.jp2", "plasma:fractal -seed 7 p.j2k", "gradient: -colorspace gray p.jp2"}) {
    const std::string Text = Case;
    const size_t Cut = Text.rfind(' ');
    TTempFile File(Text.substr(Cut + 1));
    ASSERT_EQ(std::system(
                  ("convert -size 19x13 " + Text.substr(0, Cut) + " -depth 8 '" + File.Path() + "'").c_str()),
              0);
    const std::string Rgb = ShellOutput("convert '" + File.Path() + "' -depth 8 rgb:- 2>/dev/null");
    ASSERT_EQ(Rgb.size(), size_t(19 * 13 * 3)) << Case;
    auto L = LoadJ2k(File.Read());
    ASSERT_FALSE(L->Aborting) << Case;
    for (Integer Y = 0; Y < 13; ++Y)
      for (Integer X = 0; X < 19; ++X) {
        const size_t At = size_t(Y * 19 + X) * 3;
        ASSERT_EQ(L->Bitmap.GetPixel24(X, Y),
                  (TIERGBTriple{Byte(Rgb[At + 2]), Byte(Rgb[At + 1]), Byte(Rgb[At])}))
            << Case << " " << X << "," << Y;
      }
  }
}

}  // namespace
