// The JPEG 2000 writer: lossless and lossy round trips through the reader, sample sizes, the
// coding options in the code stream, opacity, refusals and failed writes, and ImageMagick as an
// outside reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "imaging/core/iecolorspace.h"
#include "imaging/core/ieprocbase.h"
#include "tests/imaging/formats/Jpeg2000TestSupport.h"

namespace {

// Every channel different and not smooth, so that only lossless coding gives it back exactly.
void FillNoisy(TIEBitmap& B, Integer W, Integer H) {
  B.Allocate(W, H, ie24RGB);
  Cardinal Seed = 12345;
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      Seed = Seed * 1103515245u + 12345u;
      B.SetPixel24(X, Y, {Byte(X * 7 + Y), Byte(Seed >> 24), Byte((Y * 11) ^ X)});
    }
}

void FillSmooth(TIEBitmap& B, Integer W, Integer H) {
  B.Allocate(W, H, ie24RGB);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) B.SetPixel24(X, Y, {Byte(X * 2), Byte(Y * 2), Byte(X + Y)});
}

void ExpectSamePixels(TIEBitmap& A, TIEBitmap& B) {
  ASSERT_EQ(A.GetWidth(), B.GetWidth());
  ASSERT_EQ(A.GetHeight(), B.GetHeight());
  for (Integer Y = 0; Y < A.GetHeight(); ++Y)
    for (Integer X = 0; X < A.GetWidth(); ++X)
      ASSERT_EQ(A.GetPixel24(X, Y), B.GetPixel24(X, Y)) << X << "," << Y;
}

double MeanError(TIEBitmap& A, TIEBitmap& B) {
  double Sum = 0;
  for (Integer Y = 0; Y < A.GetHeight(); ++Y)
    for (Integer X = 0; X < A.GetWidth(); ++X) {
      const TIERGBTriple P = A.GetPixel24(X, Y), Q = B.GetPixel24(X, Y);
      Sum += std::abs(P.rgbtRed - Q.rgbtRed) + std::abs(P.rgbtGreen - Q.rgbtGreen) +
             std::abs(P.rgbtBlue - Q.rgbtBlue);
    }
  return Sum / (3.0 * A.GetWidth() * A.GetHeight());
}

bool IsJp2(const std::vector<Byte>& File) {
  TMemoryStream S;
  LoadBytes(S, File);
  return Jpeg2000IsJp2File(&S);
}

// The progression order byte of the code stream's COD segment.
Integer ProgressionOrder(const std::vector<Byte>& File) {
  for (size_t I = 0; I + 5 < File.size(); ++I)
    if (File[I] == 0xFF && File[I + 1] == 0x52) return File[I + 5];
  return -1;
}

TEST(Jpeg2000Write, LosslessRoundTripsOfBothContainers) {
  TIEBitmap B;
  FillNoisy(B, 37, 21);  // odd sizes: partial code blocks and resolution levels
  for (Integer Format : {0, 1}) {
    TIOParamsVals P;
    const std::vector<Byte> File = SaveJ2k(B, P, Format);
    EXPECT_EQ(IsJp2(File), Format == 0);
    auto L = LoadJ2k(File);
    ASSERT_FALSE(L->Aborting);
    EXPECT_EQ(L->Params.BitsPerSample, 8);
    EXPECT_EQ(L->Params.SamplesPerPixel, 3);
    ExpectSamePixels(B, L->Bitmap);
  }
}

TEST(Jpeg2000Write, GreyFromColourAndOneBitPictures) {
  TIEBitmap B;
  FillNoisy(B, 9, 5);
  TIOParamsVals P;
  P.J2000ColorSpace = 0;
  auto L = LoadJ2k(SaveJ2k(B, P, 0));
  ASSERT_FALSE(L->Aborting);
  EXPECT_EQ(L->Params.SamplesPerPixel, 1);
  for (Integer Y = 0; Y < 5; ++Y)
    for (Integer X = 0; X < 9; ++X) {
      const TIERGBTriple C = B.GetPixel24(X, Y);
      const auto G = static_cast<Byte>(
          (C.rgbtRed * IEGrayWeightR + C.rgbtGreen * IEGrayWeightG + C.rgbtBlue * IEGrayWeightB) / 100);
      ASSERT_EQ(L->Bitmap.GetPixel24(X, Y), (TIERGBTriple{G, G, G})) << X << "," << Y;
    }

  TIEBitmap Bits;
  Bits.Allocate(13, 3, ie1g);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 13; ++X) IESetBit(static_cast<Byte*>(Bits.GetScanline(Y)), X, (X + Y) % 3 == 0);
  TIOParamsVals OneBit;
  OneBit.BitsPerSample = 8;
  OneBit.J2000ColorSpace = 1;
  L = LoadJ2k(SaveJ2k(Bits, OneBit, 1));
  EXPECT_EQ(OneBit.BitsPerSample, 1);
  EXPECT_EQ(OneBit.J2000ColorSpace, 0);
  ASSERT_FALSE(L->Aborting);
  ASSERT_EQ(L->Bitmap.GetPixelFormat(), ie1g);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 13; ++X)
      EXPECT_EQ(IEGetBit(static_cast<Byte*>(L->Bitmap.GetScanline(Y)), X), (X + Y) % 3 == 0);
}

// Samples are round(byte / 255 x (2^bits - 1)); the reader keeps their top 8 bits.
TEST(Jpeg2000Write, SampleSizesScaleTheBytes) {
  struct TCase {
    Integer Bits;
    OPJ_INT32 Sample;  // written for the byte 200
    Byte Read;
  };
  for (const TCase& C :
       {TCase{16, 200 * 257, 200}, TCase{12, 3212, 200}, TCase{4, 12, 192}, TCase{1, 1, 128}}) {
    TIEBitmap B;
    B.Allocate(3, 2, ie24RGB);
    B.Fill(0);
    B.SetPixel24(1, 1, {200, 200, 200});
    TIOParamsVals P;
    P.BitsPerSample = C.Bits;
    const std::vector<Byte> File = SaveJ2k(B, P, 1);
    const auto Image = DecodeToImage(File, false);
    ASSERT_TRUE(Image);
    EXPECT_EQ(Image->comps[0].prec, static_cast<OPJ_UINT32>(C.Bits));
    EXPECT_EQ(Image->comps[1].data[4], C.Sample) << C.Bits;
    auto L = LoadJ2k(File);
    ASSERT_FALSE(L->Aborting);
    EXPECT_EQ(L->Params.BitsPerSample, C.Bits);
    EXPECT_EQ(L->Bitmap.GetPixel24(1, 1), (TIERGBTriple{C.Read, C.Read, C.Read})) << C.Bits;
  }
}

TEST(Jpeg2000Write, RateAndProgressionReachTheCodeStream) {
  TIEBitmap B;
  FillNoisy(B, 64, 64);
  const size_t Raw = 64 * 64 * 3;
  TIOParamsVals P;
  const std::vector<Byte> Lossless = SaveJ2k(B, P, 1);
  EXPECT_EQ(ProgressionOrder(Lossless), 0);  // LRCP
  EXPECT_GT(Lossless.size(), Raw / 2);
  P.J2000Rate = 0.5;
  P.J2000ProgressionOrder = 1;
  const std::vector<Byte> Half = SaveJ2k(B, P, 1);
  EXPECT_EQ(ProgressionOrder(Half), 1);  // RLCP
  EXPECT_LE(Half.size(), Raw / 2 + 64);
  EXPECT_GT(Half.size(), Raw / 4);

  TIEBitmap Smooth;
  FillSmooth(Smooth, 96, 80);
  TIOParamsVals Lossy;
  Lossy.J2000Rate = 0.1;
  const std::vector<Byte> Small = SaveJ2k(Smooth, Lossy, 0);
  EXPECT_LE(Small.size(), 96 * 80 * 3 / 10 + 64);
  auto L = LoadJ2k(Small);
  ASSERT_FALSE(L->Aborting);
  EXPECT_LT(MeanError(Smooth, L->Bitmap), 3.0);
}

TEST(Jpeg2000Write, YCbCrChoiceWritesRgbLikeRgb) {
  TIEBitmap B;
  FillNoisy(B, 10, 10);
  TIOParamsVals Rgb, YCbCr;
  YCbCr.J2000ColorSpace = 2;
  EXPECT_EQ(SaveJ2k(B, Rgb, 0), SaveJ2k(B, YCbCr, 0));
}

// An alpha channel that is not fully opaque travels as a fourth, opacity component; the colours
// still read back whole.
TEST(Jpeg2000Write, TranslucentAlphaBecomesAnOpacityComponent) {
  TIEBitmap B;
  FillNoisy(B, 8, 6);
  TIOParamsVals P;
  const auto Opaque = DecodeToImage(SaveJ2k(B, P, 1), false);
  B.GetAlphaChannel()->Fill(255);
  B.GetAlphaChannel()->SetFull(true);
  EXPECT_EQ(DecodeToImage(SaveJ2k(B, P, 1), false)->numcomps, 3u);
  B.SetAlpha(2, 3, 77);
  B.GetAlphaChannel()->SetFull(false);
  const std::vector<Byte> File = SaveJ2k(B, P, 0);
  const auto Image = DecodeToImage(File, true);
  ASSERT_TRUE(Image);
  ASSERT_EQ(Image->numcomps, 4u);
  EXPECT_TRUE(Image->comps[3].alpha);
  EXPECT_EQ(Image->comps[3].data[3 * 8 + 2], 77);
  EXPECT_EQ(Opaque->numcomps, 3u);
  auto L = LoadJ2k(File);
  ASSERT_FALSE(L->Aborting);
  ExpectSamePixels(B, L->Bitmap);
}

TEST(Jpeg2000Write, RefusedPicturesAndOptionsWriteNothing) {
  TIEBitmap Empty;
  TIEBitmap Grey;
  Grey.Allocate(4, 4, ie8g);
  TIEBitmap B;
  FillNoisy(B, 4, 4);
  struct TCase {
    TIEBitmap* Bitmap;
    Integer Bits;
    Byte Space;
    Integer Format;
  };
  for (const TCase& C : {TCase{&Empty, 8, 1, 0}, TCase{&Grey, 8, 1, 0}, TCase{&B, 0, 1, 0},
                         TCase{&B, 17, 1, 0}, TCase{&B, 8, 3, 0}, TCase{&B, 8, 1, 2}}) {
    TIOParamsVals P;
    P.BitsPerSample = C.Bits;
    P.J2000ColorSpace = C.Space;
    bool Aborting = false;
    EXPECT_TRUE(SaveJ2k(*C.Bitmap, P, C.Format, &Aborting).empty());
    EXPECT_TRUE(Aborting);
  }
}

TEST(Jpeg2000Write, AShortWriteIsAFailure) {
  TIEBitmap B;
  FillNoisy(B, 40, 40);
  TIOParamsVals P;
  TLimitedStream S(100);
  TTestProgress Progress;
  Jpeg2000WriteStream(&S, &B, P, 0, Progress.Progress);
  EXPECT_TRUE(Progress.Aborting);
}

TEST(Jpeg2000Write, WritesAtTheStreamPosition) {
  TIEBitmap B;
  FillNoisy(B, 5, 5);
  TIOParamsVals P;
  TMemoryStream S;
  S.Write("head", 4);
  TTestProgress Progress;
  Jpeg2000WriteStream(&S, &B, P, 0, Progress.Progress);
  ASSERT_FALSE(Progress.Aborting);
  std::vector<Byte> Bytes = StreamBytes(S);
  EXPECT_EQ(std::string(Bytes.begin(), Bytes.begin() + 4), "head");
  auto L = LoadJ2k({Bytes.begin() + 4, Bytes.end()});
  ASSERT_FALSE(L->Aborting);
  ExpectSamePixels(B, L->Bitmap);
}

TEST(Jpeg2000Write, ImageMagickReadsWhatIsWritten) {
  if (!ToolPresent("convert") ||
      ShellOutput("convert -list format 2>/dev/null").find("JP2") == std::string::npos)
    GTEST_SKIP() << "ImageMagick with JPEG 2000 is not installed";
  TIEBitmap B;
  FillNoisy(B, 23, 17);
  for (const auto& [Format, Name] : {std::pair{0, "p.jp2"}, std::pair{1, "p.j2k"}}) {
    TIOParamsVals P;
    TTempFile File(Name);
    File.Write(SaveJ2k(B, P, Format));
    const std::string Rgb = ShellOutput("convert '" + File.Path() + "' -depth 8 rgb:- 2>/dev/null");
    ASSERT_EQ(Rgb.size(), size_t(23 * 17 * 3)) << Name;
    for (Integer Y = 0; Y < 17; ++Y)
      for (Integer X = 0; X < 23; ++X) {
        const TIERGBTriple C = B.GetPixel24(X, Y);
        const size_t At = size_t(Y * 23 + X) * 3;
        ASSERT_EQ(TIERGBTriple({Byte(Rgb[At + 2]), Byte(Rgb[At + 1]), Byte(Rgb[At])}), C)
            << Name << X << "," << Y;
      }
  }
}

}  // namespace
