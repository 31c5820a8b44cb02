// The PNM reader and writer: headers and rasters built by hand, the comment round trip, the
// forms the writer chooses, and ImageMagick as the outside reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iepnm.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/StringList.h"
#include "tests/imaging/formats/FormatsTestSupport.h"
#include "tests/imaging/formats/NetpbmTestSupport.h"

namespace {

std::vector<Byte> Bytes(const std::string& Text) {
  return {Text.begin(), Text.end()};
}

struct TPnmRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  TTestProgress P;

  void Load(const std::vector<Byte>& File, bool Preview = false) {
    TMemoryStream Stream;
    LoadBytes(Stream, File);
    PnmReadStream(&Stream, &Bitmap, Params, P.Progress, Preview);
  }
  TIERGBTriple Pixel(Integer X, Integer Y) { return static_cast<TIERGBTriple*>(Bitmap.GetScanline(Y))[X]; }
  bool White(Integer X, Integer Y) {
    return (static_cast<Byte*>(Bitmap.GetScanline(Y))[X >> 3] & (0x80 >> (X & 7))) != 0;
  }
};

std::string Save(TIEBitmap& Bitmap, TIOParamsVals& Params, bool* Aborted = nullptr) {
  TMemoryStream Stream;
  TTestProgress P;
  PnmWriteStream(&Stream, &Bitmap, Params, P.Progress);
  if (Aborted) *Aborted = P.Aborting;
  const auto Out = StreamBytes(Stream);
  return {Out.begin(), Out.end()};
}

bool IsFile(const std::string& Text) {
  TMemoryStream Stream;
  LoadBytes(Stream, Bytes(Text));
  Stream.SetPosition(1);
  Stream.SetPosition(0);
  const bool Result = PnmIsFile(&Stream);
  EXPECT_EQ(Stream.GetPosition(), 0);
  return Result;
}

TEST(PnmToken, SkipsSeparatorsAndTrimsComments) {
  TMemoryStream Stream;
  LoadBytes(Stream, Bytes("  P6\n#  a note \r\n12x"));
  std::string Token;
  PnmReadToken(&Stream, Token);
  EXPECT_EQ(Token, "P6");
  EXPECT_EQ(Stream.GetPosition(), 5);  // the byte after the token is consumed
  PnmReadToken(&Stream, Token);
  EXPECT_EQ(Token, "#a note");
  PnmReadToken(&Stream, Token);
  EXPECT_EQ(Token, "12x");
  PnmReadToken(&Stream, Token);
  EXPECT_EQ(Token, "");
}

TEST(PnmIsFile, NeedsMagicAndPositiveSize) {
  EXPECT_TRUE(IsFile("P5 4 3"));  // no maximum value needed
  EXPECT_TRUE(IsFile("P1\n# c\n2 2\n"));
  EXPECT_TRUE(IsFile("P4 1 1"));
  EXPECT_FALSE(IsFile("P7 4 3 255"));
  EXPECT_FALSE(IsFile("P5 0 3 255"));
  EXPECT_FALSE(IsFile("P5 4 x 255"));
  EXPECT_FALSE(IsFile("P5 4"));
  EXPECT_FALSE(IsFile("BM 4 3"));
}

TEST(PnmRead, AsciiGreyScalesByMaximum) {
  TPnmRead R;
  R.Load(Bytes("P2 4 1 15\n15 7 0 40\n"));
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_EQ(R.Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(R.Pixel(0, 0), (TIERGBTriple{255, 255, 255}));
  EXPECT_EQ(R.Pixel(1, 0), (TIERGBTriple{119, 119, 119}));
  EXPECT_EQ(R.Pixel(2, 0), (TIERGBTriple{0, 0, 0}));
  EXPECT_EQ(R.Pixel(3, 0), (TIERGBTriple{255, 255, 255}));  // above the maximum: no wrap-around
  EXPECT_EQ(R.Params.BitsPerSample, 8);
  EXPECT_EQ(R.Params.SamplesPerPixel, 1);
}

TEST(PnmRead, AsciiPixmapInRedGreenBlueOrder) {
  TPnmRead R;
  R.Load(Bytes("P3 2 1 255\n10 20 30 # note\n 40 50\n"));
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_EQ(R.Pixel(0, 0), (TIERGBTriple{30, 20, 10}));
  // A comment inside the raster reads as a sample 0.
  EXPECT_EQ(R.Pixel(1, 0), (TIERGBTriple{50, 40, 0}));
}

TEST(PnmRead, AsciiBitmapZeroIsWhite) {
  TPnmRead R;
  R.Load(Bytes("P1 3 2\n0 1 0\n110"));
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_EQ(R.Bitmap.GetPixelFormat(), ie1g);
  EXPECT_TRUE(R.White(0, 0));
  EXPECT_FALSE(R.White(1, 0));
  EXPECT_TRUE(R.White(2, 0));
  EXPECT_FALSE(R.White(0, 1));
  EXPECT_FALSE(R.White(1, 1));
  EXPECT_TRUE(R.White(2, 1));
}

TEST(PnmRead, RawBitmapReadsWholeBytesPerRow) {
  TPnmRead R;
  std::vector<Byte> File = Bytes("P4 10 2\n");
  File.insert(File.end(), {0x80, 0x40, 0x00, 0xFF});
  R.Load(File);
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_FALSE(R.White(0, 0));
  EXPECT_TRUE(R.White(1, 0));
  EXPECT_FALSE(R.White(9, 0));  // second byte of the first row
  EXPECT_TRUE(R.White(8, 0));
  EXPECT_TRUE(R.White(0, 1));  // the second row starts at the third byte
}

TEST(PnmRead, RawGreyAndPixmapBytes) {
  TPnmRead R;
  std::vector<Byte> Grey = Bytes("P5 2 1 15\n");
  Grey.insert(Grey.end(), {15, 7});
  R.Load(Grey);
  EXPECT_EQ(R.Pixel(0, 0), (TIERGBTriple{255, 255, 255}));
  EXPECT_EQ(R.Pixel(1, 0), (TIERGBTriple{119, 119, 119}));

  TPnmRead Rgb;
  std::vector<Byte> Pix = Bytes("P6 1 1 15\n");
  Pix.insert(Pix.end(), {1, 2, 3});
  Rgb.Load(Pix);
  ASSERT_FALSE(Rgb.P.Aborting);
  EXPECT_EQ(Rgb.Pixel(0, 0), (TIERGBTriple{3, 2, 1}));  // unscaled
}

TEST(PnmRead, SixteenBitSamplesNativeOrNot) {
  std::vector<Byte> Grey = Bytes("P5 1 1 1000\n");
  Grey.insert(Grey.end(), {0x01, 0xF4});  // 500
  TPnmRead G;
  G.Load(Grey);
  EXPECT_EQ(G.Params.BitsPerSample, 16);
  EXPECT_EQ(G.Pixel(0, 0), (TIERGBTriple{127, 127, 127}));
  TPnmRead NativeG;
  NativeG.Params.NativePixelFormat = true;
  NativeG.Load(Grey);
  ASSERT_EQ(NativeG.Bitmap.GetPixelFormat(), ie16g);
  EXPECT_EQ(static_cast<Word*>(NativeG.Bitmap.GetScanline(0))[0], 32767);

  std::vector<Byte> Rgb = Bytes("P6 1 1 65535\n");
  Rgb.insert(Rgb.end(), {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC});
  TPnmRead C;
  C.Load(Rgb);
  EXPECT_EQ(C.Pixel(0, 0), (TIERGBTriple{0x9A, 0x56, 0x12}));
  TPnmRead NativeC;
  NativeC.Params.NativePixelFormat = true;
  NativeC.Load(Rgb);
  ASSERT_EQ(NativeC.Bitmap.GetPixelFormat(), ieRGB48);
  EXPECT_EQ(static_cast<TIERGB48Pixel*>(NativeC.Bitmap.GetScanline(0))[0],
            (TIERGB48Pixel{0x1234, 0x5678, 0x9ABC}));
}

TEST(PnmRead, CommentsAndPreview) {
  TPnmRead R;
  R.Params.PxmComments->Add("old");
  R.Load(Bytes("P6 4 # made here \n3 255\n"), /*Preview=*/true);
  ASSERT_FALSE(R.P.Aborting);
  ASSERT_EQ(R.Params.PxmComments->GetCount(), 1);
  EXPECT_EQ(R.Params.PxmComments->GetStrings(0), "made here");
  EXPECT_EQ(R.Params.Width, 4);
  EXPECT_EQ(R.Params.FileHeight, 3);
  EXPECT_EQ(R.Bitmap.GetWidth(), 0);  // preview fills only the parameters
}

TEST(PnmRead, BadHeadersAbort) {
  struct TCase {
    const char* File;
    bool SizeStored;
  };
  const TCase Cases[] = {
      {"P6 0 3 255\n", false},
      {"P6 3\n", false},
      {"P6 3 2 70000\nxxxxxxxxxxxxxxxxxx", true},
      {"P5 3 2 0\nxxxxxx", true},
      {"P2 3 2 x\n1 1 1 1 1 1", true},
  };
  for (const TCase& C : Cases) {
    TPnmRead R;
    R.Load(Bytes(C.File));
    EXPECT_TRUE(R.P.Aborting) << C.File;
    EXPECT_EQ(R.Params.Width == 3, C.SizeStored) << C.File;
    EXPECT_EQ(R.Bitmap.GetWidth(), 0) << C.File;
  }
}

TEST(PnmRead, HugeSizeOverFewBytesIsRefusedShortFileKeepsRows) {
  TPnmRead Huge;
  Huge.Load(Bytes("P6 100000 100000 255\nabc"));
  EXPECT_TRUE(Huge.P.Aborting);
  EXPECT_EQ(Huge.Bitmap.GetWidth(), 0);

  TPnmRead Short;
  std::vector<Byte> File = Bytes("P5 2 2 255\n");
  File.insert(File.end(), {9, 8, 7});
  Short.Load(File);
  ASSERT_FALSE(Short.P.Aborting);
  EXPECT_EQ(Short.Pixel(0, 1), (TIERGBTriple{7, 7, 7}));
}

TEST(PnmWrite, CommentsWrittenBeforeSize) {
  TPnmRead R;
  std::vector<Byte> File = Bytes("P6 1 # hello\n1 255\n");
  File.insert(File.end(), {1, 2, 3});
  R.Load(File);
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_EQ(Save(R.Bitmap, R.Params), std::string("P6 \n# hello\n1 1 255\n\x01\x02\x03", 23));
}

TEST(PnmWrite, FormFollowsPictureAndParameters) {
  TIEBitmap Rgb(2, 1, ie24RGB);
  static_cast<TIERGBTriple*>(Rgb.GetScanline(0))[0] = {0, 0, 255};
  static_cast<TIERGBTriple*>(Rgb.GetScanline(0))[1] = {255, 255, 255};
  TIOParamsVals P;
  P.BitsPerSample = 8;
  P.SamplesPerPixel = 3;
  EXPECT_EQ(Save(Rgb, P), std::string("P6 2 1 255\n\xFF\x00\x00\xFF\xFF\xFF", 17));
  P.BitsPerSample = 16;
  EXPECT_EQ(Save(Rgb, P), std::string("P6 2 1 65535\n\xFF\xFF\x00\x00\x00\x00\xFF\xFF\xFF\xFF\xFF\xFF", 25));
  P.BitsPerSample = 8;
  P.SamplesPerPixel = 1;
  const std::string Grey = Save(Rgb, P);
  ASSERT_EQ(Grey.size(), 13u);
  EXPECT_EQ(Grey.substr(0, 11), "P5 2 1 255\n");
  EXPECT_EQ(static_cast<Byte>(Grey[12]), 255);
  EXPECT_LT(static_cast<Byte>(Grey[11]), 128);

  // A 1-bit picture is a bitmap whatever the parameters say; set bits are black in the file.
  TIEBitmap Bits(10, 1, ie1g);
  static_cast<Byte*>(Bits.GetScanline(0))[0] = 0xF0;
  static_cast<Byte*>(Bits.GetScanline(0))[1] = 0xC0;
  EXPECT_EQ(Save(Bits, P), std::string("P4 10 1\n\x0F\x3F", 10));

  P.SamplesPerPixel = 3;
  // One bit asked of a colour picture: it is converted, not copied byte for byte.
  TIOParamsVals OneBit;
  OneBit.BitsPerSample = 1;
  OneBit.SamplesPerPixel = 1;
  const std::string Bits1 = Save(Rgb, OneBit);
  ASSERT_EQ(Bits1.size(), 8u);
  EXPECT_EQ(Bits1.substr(0, 7), "P4 2 1\n");
  EXPECT_EQ(static_cast<Byte>(Bits1[7]) & 0xC0, 0x80);  // red is black (a set bit), white is clear
  TIEBitmap Wide(1, 1, ieRGB48);
  static_cast<TIERGB48Pixel*>(Wide.GetScanline(0))[0] = {0x1234, 0x5678, 0x9ABC};
  EXPECT_EQ(Save(Wide, P), std::string("P6 1 1 65535\n\x12\x34\x56\x78\x9A\xBC", 19));
}

TEST(PnmWrite, NoFittingFormFailsShortWriteAborts) {
  TIEBitmap Grey(1, 1, ie8g);
  TIOParamsVals P;
  P.BitsPerSample = 16;
  P.SamplesPerPixel = 1;
  bool Aborted = false;
  EXPECT_EQ(Save(Grey, P, &Aborted), "");
  EXPECT_TRUE(Aborted);

  TIEBitmap Rgb(4, 4, ie24RGB);
  P.BitsPerSample = 8;
  P.SamplesPerPixel = 3;
  TLimitedStream Stream(20);
  TTestProgress Progress;
  PnmWriteStream(&Stream, &Rgb, P, Progress.Progress);
  EXPECT_TRUE(Progress.Aborting);
}

TEST(PnmOracle, ImageMagickReadsWhatWeWrite) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  TIEBitmap Rgb(3, 2, ie24RGB);
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 3; ++X)
      static_cast<TIERGBTriple*>(Rgb.GetScanline(Y))[X] = {Byte(X * 40), Byte(Y * 90), Byte(200)};
  TIOParamsVals P;
  TTempFile File("pic.ppm");
  File.Write(Bytes(Save(Rgb, P)));
  const std::string Out = ShellOutput("convert " + File.Path() + " -depth 8 txt:- 2>/dev/null");
  EXPECT_NE(Out.find("2,1: (200,90,80)"), std::string::npos) << Out;
}

TEST(PnmOracle, WeReadWhatImageMagickWrites) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  for (const char* Options : {"-compress none", ""}) {
    TTempFile File("pic.ppm");
    ShellOutput("convert -size 3x2 xc:'rgb(10,20,30)' -depth 8 " + std::string(Options) + " " + File.Path());
    TPnmRead R;
    R.Load(File.Read());
    ASSERT_FALSE(R.P.Aborting) << Options;
    ASSERT_EQ(R.Bitmap.GetWidth(), 3);
    EXPECT_EQ(R.Pixel(2, 1), (TIERGBTriple{30, 20, 10})) << Options;
  }
}

// Each raw form both ways: what we write, netpbm turns into the plain form we expect, and the
// raw file netpbm makes of that plain form reads back as the picture.
TEST(PnmOracle, NetpbmAgreesOnEveryRawForm) {
  if (!NetpbmPresent()) GTEST_SKIP() << "netpbm is not installed";
  TIEBitmap Rgb(5, 3, ie24RGB), Grey(5, 3, ie24RGB), Bits(11, 3, ie1g);
  TPlainPnm Colour{"P3", 5, 3, 255, {}}, Deep{"P3", 5, 3, 65535, {}}, Grey8{"P2", 5, 3, 255, {}},
      Bitmap{"P1", 11, 3, 1, {}};
  for (Integer Y = 0; Y < 3; ++Y) {
    for (Integer X = 0; X < 5; ++X) {
      const Byte R = Byte(X * 50 + Y), G = Byte(Y * 100 + 7), B = Byte(250 - X * 30),
                 L = Byte(X * 60 + Y * 3);
      static_cast<TIERGBTriple*>(Rgb.GetScanline(Y))[X] = {B, G, R};
      static_cast<TIERGBTriple*>(Grey.GetScanline(Y))[X] = {L, L, L};
      Colour.Samples.insert(Colour.Samples.end(), {R, G, B});
      Deep.Samples.insert(Deep.Samples.end(), {R * 257, G * 257, B * 257});
      Grey8.Samples.push_back(L);
    }
    Byte* Row = static_cast<Byte*>(Bits.GetScanline(Y));
    Row[0] = static_cast<Byte>(0x96 ^ (Y * 0x11));
    Row[1] = static_cast<Byte>(0xA0 >> Y);
    for (Integer X = 0; X < 11; ++X) Bitmap.Samples.push_back((Row[X >> 3] & (0x80 >> (X & 7))) ? 0 : 1);
  }
  const struct {
    TIEBitmap* Picture;
    Integer BitsPerSample, SamplesPerPixel;
    const TPlainPnm* Plain;
  } Cases[] = {{&Rgb, 8, 3, &Colour}, {&Rgb, 16, 3, &Deep}, {&Grey, 8, 1, &Grey8}, {&Bits, 1, 1, &Bitmap}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Plain->Magic + " " + std::to_string(C.Plain->Max));
    TIOParamsVals P;
    P.BitsPerSample = C.BitsPerSample;
    P.SamplesPerPixel = C.SamplesPerPixel;
    const std::string Ours = Save(*C.Picture, P);
    const TPlainPnm Seen = ParsePlainPnm(NetpbmPipe(Bytes(Ours), "pnmtoplainpnm"));
    EXPECT_EQ(Seen.Magic, C.Plain->Magic);
    EXPECT_EQ(Seen.Max, C.Plain->Max);
    EXPECT_EQ(Seen.Samples, C.Plain->Samples);

    const std::vector<Byte> Theirs = NetpbmPipe(C.Plain->Text(), "pnmtopnm");
    ASSERT_GE(Theirs.size(), 2u);
    EXPECT_EQ(Theirs[1], Ours[1]);
    TPnmRead R;
    R.Load(Theirs);
    ASSERT_FALSE(R.P.Aborting);
    ASSERT_EQ(R.Bitmap.GetWidth(), C.Picture->GetWidth());
    for (Integer Y = 0; Y < 3; ++Y)
      for (Integer X = 0; X < C.Picture->GetWidth(); ++X)
        if (C.Picture == &Bits) {
          EXPECT_EQ(R.White(X, Y), Bitmap.Samples[static_cast<size_t>(Y * 11 + X)] == 0) << X << "," << Y;
        } else {
          EXPECT_EQ(R.Pixel(X, Y), C.Picture->GetPixel24(X, Y)) << X << "," << Y;
        }
  }
}

}  // namespace
