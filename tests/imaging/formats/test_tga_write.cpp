// The TGA writer: packet layout, the header of every depth, the extension area and footer,
// round trips through the reader, short writes, and ImageMagick as an outside reader.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/formats/ietgafil.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/DateTime.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

std::vector<Byte> Pack(const std::vector<Byte>& Pixels) {
  std::vector<Byte> Out(Pixels.size() * 2 + 2);
  Out.resize(
      static_cast<size_t>(TgaPackRow(Pixels.data(), static_cast<Integer>(Pixels.size()), 1, Out.data())));
  return Out;
}

TEST(TgaPackRow, PacketsFollowTheRunAndRawRules) {
  std::vector<Byte> Equal(130, 7);
  EXPECT_EQ(Pack(Equal), (std::vector<Byte>{0xFF, 7, 0x81, 7}));
  EXPECT_EQ(Pack({1, 2, 3, 3}), (std::vector<Byte>{0x01, 1, 2, 0x81, 3}));
  EXPECT_EQ(Pack({5, 5, 9}), (std::vector<Byte>{0x81, 5, 0x00, 9}));
  EXPECT_EQ(Pack({1, 2, 3}), (std::vector<Byte>{0x02, 1, 2, 3}));
  // A raw packet stops at 127 pixels unless the row's last pixel follows.
  std::vector<Byte> Ramp(128), Longer(129);
  for (size_t I = 0; I < Longer.size(); ++I) (I < 128 ? Ramp[I] : Ramp[0]) = Longer[I] = Byte(I);
  EXPECT_EQ(Pack(Ramp)[0], 127);
  EXPECT_EQ(Pack(Ramp).size(), 129u);
  const auto L = Pack(Longer);
  EXPECT_EQ(L[0], 126);
  EXPECT_EQ(L[128], 0x01);
  // Three-byte pixels compare whole colours.
  const Byte Rgb[] = {1, 2, 3, 1, 2, 3, 1, 2, 4};
  Byte Out[16];
  ASSERT_EQ(TgaPackRow(Rgb, 3, 3, Out), 8);
  EXPECT_EQ(Out[0], 0x81);
  EXPECT_EQ(Out[4], 0x00);
  EXPECT_EQ(Out[7], 4);
}

void Fill(TIEBitmap& B, Integer W, Integer H) {
  B.Allocate(W, H, ie24RGB);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X)
      B.SetPixel24(X, Y, {Byte(X < 2 ? 200 : 10), Byte(30 * Y), Byte(X == 3 ? 255 : 40)});
}

std::vector<Byte> Save(TIEBitmap& B, TIOParamsVals& P, TIEMask* Mask = nullptr) {
  TMemoryStream S;
  TTestProgress Progress;
  TgaWriteStream(&S, &B, P, Progress.Progress, Mask);
  EXPECT_FALSE(Progress.Aborting);
  return StreamBytes(S);
}

struct TLoaded {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  std::unique_ptr<TIEMask> Alpha;
  bool Aborting = false;
};

std::unique_ptr<TLoaded> Load(const std::vector<Byte>& File) {
  auto L = std::make_unique<TLoaded>();
  TMemoryStream S;
  LoadBytes(S, File);
  TTestProgress P;
  TgaReadStream(&S, &L->Bitmap, L->Params, P.Progress, false, L->Alpha, false);
  L->Aborting = P.Aborting;
  return L;
}

void ExpectSame(TIEBitmap& A, TIEBitmap& B) {
  ASSERT_EQ(A.GetWidth(), B.GetWidth());
  ASSERT_EQ(A.GetHeight(), B.GetHeight());
  for (Integer Y = 0; Y < A.GetHeight(); ++Y)
    for (Integer X = 0; X < A.GetWidth(); ++X)
      ASSERT_EQ(A.GetPixel24(X, Y), B.GetPixel24(X, Y)) << X << "," << Y;
}

TEST(TgaWrite, TrueColourRoundTripsPackedAndRawWithExtension) {
  for (bool Packed : {true, false}) {
    TIEBitmap B;
    Fill(B, 5, 3);
    TIOParamsVals P;
    P.TgaCompressed = Packed;
    P.TgaDescriptor = "desc";
    P.TgaAuthor = std::string(50, 'a');
    P.TgaImageName = "job";
    P.TgaDate = EncodeDateTime(2019, 12, 31, 23, 59, 58, 0);
    P.TgaBackground = {1, 2, 3};
    P.TgaAspectRatio = 1.5;
    P.TgaGamma = 1.8;
    P.TgaXPos = 7;
    const auto F = Save(B, P);
    EXPECT_EQ(F[2], Packed ? 10 : 2);
    EXPECT_EQ(F[16], 24);
    EXPECT_EQ(F[17], 0x20);
    EXPECT_EQ(F[0], 5);
    const std::string Tail(F.end() - 18, F.end());
    EXPECT_EQ(Tail, std::string("TRUEVISION-XFILE.") + '\0');
    auto L = Load(F);
    ASSERT_FALSE(L->Aborting);
    ExpectSame(B, L->Bitmap);
    EXPECT_EQ(L->Params.TgaDescriptor, "desc");
    EXPECT_EQ(L->Params.TgaAuthor, std::string(40, 'a'));
    EXPECT_EQ(L->Params.TgaImageName, "job");
    EXPECT_EQ(L->Params.TgaDate, P.TgaDate);
    EXPECT_EQ(L->Params.TgaBackground, (TIERGBTriple{1, 2, 3}));
    EXPECT_DOUBLE_EQ(L->Params.TgaAspectRatio, 1.5);
    EXPECT_DOUBLE_EQ(L->Params.TgaGamma, 1.8);
    EXPECT_EQ(L->Params.TgaXPos, 7);
  }
}

TEST(TgaWrite, MaskGivesThirtyTwoBitsUnpackedUnlessOneSample) {
  TIEBitmap B;
  Fill(B, 4, 2);
  TIEMask Mask;
  Mask.AllocateBits(4, 2, 8);
  Mask.Fill(255);
  Mask.GetScanline(1)[2] = 77;
  TIOParamsVals P;
  P.TgaCompressed = true;
  const auto F = Save(B, P, &Mask);
  EXPECT_EQ(F[2], 2);
  EXPECT_EQ(F[16], 32);
  EXPECT_EQ(F[17], 0x28);
  auto L = Load(F);
  ExpectSame(B, L->Bitmap);
  ASSERT_TRUE(L->Alpha);
  EXPECT_EQ(L->Alpha->GetScanline(1)[2], 77);

  TIOParamsVals Grey;
  Grey.SamplesPerPixel = 1;
  Grey.BitsPerSample = 8;
  EXPECT_EQ(Save(B, Grey, &Mask)[16], 8);
}

TEST(TgaWrite, PalettedDepthsWriteTheirMapsOrGreyLevels) {
  TIEBitmap B;
  Fill(B, 5, 3);
  TIOParamsVals P8;
  P8.SamplesPerPixel = 1;
  P8.BitsPerSample = 8;
  const auto F8 = Save(B, P8);
  EXPECT_EQ(F8[1], 1);
  EXPECT_EQ(F8[2], 9);
  EXPECT_EQ(F8[5] | (F8[6] << 8), 256);
  EXPECT_EQ(F8[7], 24);
  ExpectSame(B, Load(F8)->Bitmap);  // few colours: the palette holds them exactly

  TIOParamsVals G;
  G.SamplesPerPixel = 1;
  G.BitsPerSample = 8;
  G.TgaGrayLevel = true;
  G.TgaCompressed = false;
  const auto FG = Save(B, G);
  EXPECT_EQ(FG[1], 0);
  EXPECT_EQ(FG[2], 3);
  EXPECT_EQ(FG[5] | (FG[6] << 8), 256);
  EXPECT_EQ(FG[7], 24);
  // No map data: the pixels follow the one-byte ID field.
  const Integer Grey = IEGrayValue(B.GetPixel24(0, 0));
  EXPECT_EQ(FG[19], Grey);

  TIOParamsVals P4;
  P4.SamplesPerPixel = 1;
  P4.BitsPerSample = 4;
  const auto F4 = Save(B, P4);
  EXPECT_EQ(F4[2], 1);
  EXPECT_EQ(F4[16], 4);
  EXPECT_FALSE(P4.TgaCompressed);
  EXPECT_EQ(F4.size(), 18u + 1 + 16 * 3 + 3 * 3 + 495 + 26);
}

TEST(TgaWrite, OneBitRoundTripsItsBits) {
  TIEBitmap B;
  B.Allocate(10, 2, ie24RGB);
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 10; ++X) B.SetPixel24(X, Y, {});
  B.SetPixel24(3, 1, {255, 255, 255});
  TIOParamsVals P;
  P.SamplesPerPixel = 1;
  P.BitsPerSample = 1;
  const auto F = Save(B, P);
  EXPECT_EQ(F[2], 3);
  EXPECT_EQ(F[16], 1);
  auto L = Load(F);
  ASSERT_EQ(L->Bitmap.GetPixelFormat(), ie1g);
  EXPECT_EQ(static_cast<Byte*>(L->Bitmap.GetScanline(1))[0], 0x10);
}

TEST(TgaWrite, FailuresAreReported) {
  TIEBitmap B;
  Fill(B, 40, 40);
  TIOParamsVals P;
  TLimitedStream Short(100);
  TTestProgress Progress;
  TgaWriteStream(&Short, &B, P, Progress.Progress, nullptr);
  EXPECT_TRUE(Progress.Aborting);

  TIEBitmap Paletted;
  Paletted.Allocate(2, 2, ie8p);
  TMemoryStream S;
  TTestProgress Other;
  TgaWriteStream(&S, &Paletted, P, Other.Progress, nullptr);
  EXPECT_TRUE(Other.Aborting);
  EXPECT_EQ(S.GetSize(), 0);
}

TEST(TgaWrite, ImageMagickReadsWhatWeWrite) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  TIEBitmap B;
  Fill(B, 5, 3);
  TIOParamsVals P;
  TTempFile File("w.tga");
  File.Write(Save(B, P));
  const std::string Out =
      ShellOutput("convert '" + File.Path() + "' -format '%w %h %[pixel:p{3,1}]' info: 2>/dev/null");
  EXPECT_EQ(Out.substr(0, 4), "5 3 ");
  const TIERGBTriple C = B.GetPixel24(3, 1);
  EXPECT_NE(Out.find("(" + std::to_string(C.rgbtRed) + "," + std::to_string(C.rgbtGreen) + "," +
                     std::to_string(C.rgbtBlue) + ")"),
            std::string::npos)
      << Out;
}

}  // namespace
