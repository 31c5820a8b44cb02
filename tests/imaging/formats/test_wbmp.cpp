// The WBMP reader and writer: header bytes, multi-byte sizes, fitting into 255 x 255 and
// ImageMagick as the outside reader.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iewbmp.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"
#include "tests/imaging/formats/NetpbmTestSupport.h"

namespace {

std::vector<Byte> Save(TIEBitmap& Bitmap, bool* Aborted = nullptr) {
  TMemoryStream Stream;
  TTestProgress P;
  TIOParamsVals Params;
  WbmpWriteStream(&Stream, &Bitmap, Params, P.Progress);
  if (Aborted) *Aborted = P.Aborting;
  return StreamBytes(Stream);
}

struct TWbmpRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  TTestProgress P;
  void Load(const std::vector<Byte>& File, bool Preview = false) {
    TMemoryStream Stream;
    LoadBytes(Stream, File);
    WbmpReadStream(&Stream, &Bitmap, Params, P.Progress, Preview);
  }
};

TEST(WbmpMultiByte, SevenBitsPerByteAtMostFour) {
  const struct {
    std::vector<Byte> Bytes;
    Integer Value;
  } Cases[] = {
      {{100}, 100},
      {{0x81, 0x48}, 200},
      {{0x81, 0x80, 0x80, 0x00}, 1 << 21},
      {{0x81, 0x80, 0x80, 0x80, 0x7F}, 1 << 21},  // the fifth byte is not read
  };
  for (const auto& C : Cases) {
    TMemoryStream Stream;
    LoadBytes(Stream, C.Bytes);
    EXPECT_EQ(WbmpReadMultiByte(&Stream), C.Value);
    EXPECT_EQ(Stream.GetPosition(), std::min<Int64>(C.Bytes.size(), 4));
  }
}

TEST(WbmpWrite, HeaderAndRowsUnchanged) {
  TIEBitmap Bits(100, 60, ie1g);
  static_cast<Byte*>(Bits.GetScanline(0))[0] = 0xA5;
  const std::vector<Byte> Out = Save(Bits);
  ASSERT_EQ(Out.size(), 4u + 13 * 60);
  EXPECT_EQ(std::vector<Byte>(Out.begin(), Out.begin() + 4), (std::vector<Byte>{0, 0, 100, 60}));
  EXPECT_EQ(Out[4], 0xA5);  // 1 is white in both

  TWbmpRead R;
  R.Load(Out);
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_EQ(R.Bitmap.GetPixelFormat(), ie1g);
  EXPECT_EQ(static_cast<Byte*>(R.Bitmap.GetScanline(0))[0], 0xA5);
  EXPECT_EQ(R.Params.BitsPerSample, 1);
  EXPECT_EQ(R.Params.FileHeight, 60);
}

TEST(WbmpWrite, WideSizeTakesTwoBytesAndBigPicturesAreFitted) {
  TIEBitmap Wide(200, 100, ie1g);
  const std::vector<Byte> Out = Save(Wide);
  EXPECT_EQ(std::vector<Byte>(Out.begin(), Out.begin() + 5), (std::vector<Byte>{0, 0, 0x81, 0x48, 100}));
  TWbmpRead R;
  R.Load(Out);
  EXPECT_EQ(R.Bitmap.GetWidth(), 200);
  EXPECT_EQ(R.Bitmap.GetHeight(), 100);

  for (const auto& [W, H, FitW, FitH] : {std::array<Integer, 4>{600, 300, 255, 127}, {300, 600, 127, 255}}) {
    TIEBitmap Big(W, H, ie24RGB);
    TWbmpRead Fitted;
    Fitted.Load(Save(Big));
    EXPECT_EQ(Fitted.Bitmap.GetWidth(), FitW);
    EXPECT_EQ(Fitted.Bitmap.GetHeight(), FitH);
    EXPECT_EQ(Big.GetWidth(), W);  // the caller's picture is kept
    EXPECT_EQ(Big.GetPixelFormat(), ie24RGB);
  }
}

TEST(WbmpWrite, ShortWriteFails) {
  TIEBitmap Bits(16, 16, ie1g);
  TLimitedStream Stream(10);
  TTestProgress P;
  TIOParamsVals Params;
  WbmpWriteStream(&Stream, &Bits, Params, P.Progress);
  EXPECT_TRUE(P.Aborting);
}

TEST(WbmpRead, BadHeadersAndHugeSizesAbort) {
  const std::vector<std::vector<Byte>> Files = {
      {0, 1, 8, 1, 0},                          // fixed header 1
      {1, 0, 8, 1, 0},                          // type 1
      {0, 0, 0, 1, 0},                          // width 0
      {0, 0, 0xFF, 0xFF, 0x7F, 0x7F, 1, 2, 3},  // a huge width over three bytes
  };
  for (const auto& File : Files) {
    TWbmpRead R;
    R.Load(File);
    EXPECT_TRUE(R.P.Aborting);
    EXPECT_EQ(R.Bitmap.GetWidth(), 0);
  }
}

TEST(WbmpRead, PreviewFillsOnlyParameters) {
  TWbmpRead R;
  R.Load({0, 0, 9, 2, 0, 0, 0, 0}, /*Preview=*/true);
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_EQ(R.Params.Width, 9);
  EXPECT_EQ(R.Bitmap.GetWidth(), 0);
}

TEST(WbmpOracle, ImageMagickReadsWhatWeWrite) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  TIEBitmap Bits(9, 2, ie1g);
  for (Integer Y = 0; Y < 2; ++Y) {
    static_cast<Byte*>(Bits.GetScanline(Y))[0] = 0;
    static_cast<Byte*>(Bits.GetScanline(Y))[1] = 0;
  }
  static_cast<Byte*>(Bits.GetScanline(1))[1] = 0x80;  // pixel (8, 1) white, the rest black
  TTempFile File("pic.wbmp");
  File.Write(Save(Bits));
  const std::string Out = ShellOutput("convert " + File.Path() + " -depth 8 txt:- 2>/dev/null");
  EXPECT_NE(Out.find("8,1: (255,255,255)"), std::string::npos) << Out;
  EXPECT_NE(Out.find("7,1: (0,0,0)"), std::string::npos) << Out;
}

// Both ways through netpbm's PBM: our WBMP as netpbm reads it, and netpbm's WBMP as we do.
TEST(WbmpOracle, NetpbmAgreesBothWays) {
  if (!NetpbmPresent() || !ToolPresent("wbmptopbm") || !ToolPresent("pbmtowbmp"))
    GTEST_SKIP() << "netpbm is not installed";
  TIEBitmap Bits(13, 4, ie1g);
  TPlainPnm Plain{"P1", 13, 4, 1, {}};
  for (Integer Y = 0; Y < 4; ++Y) {
    Byte* Row = static_cast<Byte*>(Bits.GetScanline(Y));
    Row[0] = static_cast<Byte>(0x3C ^ (Y * 0x45));
    Row[1] = static_cast<Byte>(0xD0 >> Y);
    for (Integer X = 0; X < 13; ++X) Plain.Samples.push_back((Row[X >> 3] & (0x80 >> (X & 7))) ? 0 : 1);
  }
  const TPlainPnm Seen = ParsePlainPnm(NetpbmPipe(Save(Bits), "wbmptopbm | pnmtoplainpnm"));
  EXPECT_EQ(Seen.Width, 13);
  EXPECT_EQ(Seen.Samples, Plain.Samples);

  TWbmpRead R;
  R.Load(NetpbmPipe(Plain.Text(), "pnmtopnm | pbmtowbmp"));
  ASSERT_FALSE(R.P.Aborting);
  ASSERT_EQ(R.Bitmap.GetWidth(), 13);
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 13; ++X) {
      const bool White = static_cast<const Byte*>(R.Bitmap.GetScanline(Y))[X >> 3] & (0x80 >> (X & 7));
      EXPECT_EQ(White, Plain.Samples[static_cast<size_t>(Y * 13 + X)] == 0) << X << "," << Y;
    }
}

}  // namespace
