// The PCX writer: the line coder, the header it writes, round trips at every depth with and
// without run-length coding, a short stream, and ImageMagick as an independent reader and
// writer when it is installed.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>

#include "tests/imaging/io/PcxTestSupport.h"

namespace {

TIERGBTriple Colour(Integer X, Integer Y, Integer Levels) {
  TIERGBTriple C{};
  C.rgbtRed = static_cast<Byte>((X * 37 + Y * 11) % Levels * (255 / (Levels - 1)));
  C.rgbtGreen = static_cast<Byte>((X + Y) % 2 * 200);
  C.rgbtBlue = static_cast<Byte>(Y % 2 * 90);
  return C;
}

// A picture of Levels x 4 colours at most (all of them for Levels 0: a full-colour ramp).
void Paint(TIEBitmap& Bitmap, Integer Width, Integer Height, Integer Levels) {
  Bitmap.Allocate(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X) {
      TIERGBTriple C = Colour(X, Y, Levels ? Levels : 256);
      if (!Levels) C.rgbtBlue = static_cast<Byte>(X * 3 + Y);
      Bitmap.SetPixel24(X, Y, C);
    }
}

void PaintBits(TIEBitmap& Bitmap, Integer Width, Integer Height) {
  Bitmap.Allocate(Width, Height, ie1g);
  for (Integer Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<Byte*>(Bitmap.GetScanline(Y));
    for (Integer X = 0; X < Width; ++X)
      if ((X * X + Y) % 3 == 0) Row[X / 8] |= static_cast<Byte>(0x80 >> (X % 8));
  }
}

void ExpectSamePixels(TIEBitmap& Written, TIEBitmap& Read) {
  ASSERT_EQ(Read.GetWidth(), Written.GetWidth());
  ASSERT_EQ(Read.GetHeight(), Written.GetHeight());
  ASSERT_EQ(Read.GetPixelFormat(), Written.GetPixelFormat());
  for (Integer Y = 0; Y < Written.GetHeight(); ++Y)
    for (Integer X = 0; X < Written.GetWidth(); ++X) {
      if (Written.GetPixelFormat() == ie1g)
        ASSERT_EQ(Bit1(Read, X, Y), Bit1(Written, X, Y)) << X << "," << Y;
      else
        ASSERT_EQ(Read.GetPixel24(X, Y), Written.GetPixel24(X, Y)) << X << "," << Y;
    }
}

}  // namespace

TEST(PcxWrite, LineCoderRunsLiteralsAndPadding) {
  struct TCase {
    const char* Name;
    std::vector<Byte> Source;
    Integer Count, Stride, Start;
    std::vector<Byte> Expected;
  };
  const TCase Cases[] = {
      {"run of three, odd count padded", {1, 1, 1}, 3, 1, 0, {0xC3, 1, 0}},
      {"single high byte is coded", {0xC5, 2}, 2, 1, 0, {0xC1, 0xC5, 2}},
      {"runs end at 63", std::vector<Byte>(70, 7), 70, 1, 0, {0xFF, 7, 0xC7, 7}},
      {"every third byte from the third", {1, 2, 3, 1, 2, 3}, 2, 3, 2, {0xC2, 3}},
      {"different literals", {5, 6}, 2, 1, 0, {5, 6}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    std::vector<Byte> Out(2 * Case.Count + 1);
    Out.resize(PcxEncodeLine(Out.data(), Case.Source.data(), Case.Count, Case.Stride, Case.Start));
    EXPECT_EQ(Out, Case.Expected);
  }
}

TEST(PcxWrite, RoundTripsAtEveryDepth) {
  struct TCase {
    const char* Name;
    Integer Bits, Samples, Levels;  // Levels 0: a 1-bit picture
  };
  const TCase Cases[] = {
      {"1 bit", 1, 1, 0},
      {"4 bits", 4, 1, 4},
      {"8 bits", 8, 1, 32},
      {"24 bits", 8, 3, 256},
      {"24 bits from 4 samples", 8, 4, 256},
  };
  for (const TCase& Case : Cases)
    for (Integer Width : {7, 16, 131})
      for (Byte Compression : {Byte(1), Byte(0)}) {
        SCOPED_TRACE(std::string(Case.Name) + " width " + std::to_string(Width) + " rle " +
                     std::to_string(Compression));
        TIEBitmap Picture;
        if (Case.Levels)
          Paint(Picture, Width, 5, Case.Levels == 256 ? 0 : Case.Levels);
        else
          PaintBits(Picture, Width, 5);
        TIOParamsVals Params;
        Params.BitsPerSample = Case.Bits;
        Params.SamplesPerPixel = Case.Samples;
        Params.PcxCompression = Compression;
        bool Aborting = false;
        const std::vector<Byte> File = WritePcxBytes(Picture, Params, &Aborting);
        ASSERT_FALSE(Aborting);
        EXPECT_EQ(Params.SamplesPerPixel, std::min(Case.Samples, 3));
        TPcxRead R;
        ReadPcxBytes(File, R);
        ASSERT_FALSE(R.Aborting);
        ExpectSamePixels(Picture, R.Bitmap);
        EXPECT_EQ(R.Params.BitsPerSample, Case.Bits);
      }
}

TEST(PcxWrite, HeaderFieldsAndEvenLinesOfAnOddWidth) {
  TIEBitmap Picture;
  Paint(Picture, 5, 2, 0);
  TIOParamsVals Params;
  Params.PcxCompression = 0;
  Params.PcxVersion = 0x103;
  Params.SetDpiX(70000);
  Params.SetDpiY(150);
  const std::vector<Byte> File = WritePcxBytes(Picture, Params);
  ASSERT_EQ(File.size(), 128u + 2 * 3 * 6);
  EXPECT_EQ(File[0], 10);
  EXPECT_EQ(File[1], 3) << "the version's low byte";
  EXPECT_EQ(File[2], 0);
  EXPECT_EQ(File[3], 8);
  EXPECT_EQ(File[8] | File[9] << 8, 4);
  EXPECT_EQ(File[12] | File[13] << 8, 70000 & 0xFFFF);
  EXPECT_EQ(File[14] | File[15] << 8, 150);
  EXPECT_EQ(File[65], 3);
  EXPECT_EQ(File[66] | File[67] << 8, 6) << "width 5 gives 6 bytes a line";
  EXPECT_EQ(File[68], 0) << "palette information of a 24-bit picture";
  for (size_t Line = 0; Line < 6; ++Line) EXPECT_EQ(File[128 + Line * 6 + 5], 0) << Line;
  EXPECT_EQ(File[128], Picture.GetPixel24(0, 0).rgbtRed) << "red plane first";
}

TEST(PcxWrite, EightBitsEndWithTheMarkedPalette) {
  TIEBitmap Picture;
  Paint(Picture, 4, 4, 4);
  TIOParamsVals Params;
  Params.SamplesPerPixel = 1;
  const std::vector<Byte> File = WritePcxBytes(Picture, Params);
  ASSERT_GT(File.size(), 128u + 769u);
  EXPECT_EQ(File[File.size() - 769], 12);
  EXPECT_EQ(File[68], 1);
}

TEST(PcxWrite, AShortStreamFailsTheWrite) {
  TIEBitmap Picture;
  Paint(Picture, 40, 40, 0);
  TIOParamsVals Params;
  TLimitedStream Stream(300);
  TTestProgress P;
  PcxWriteStream(&Stream, &Picture, Params, P.Progress);
  EXPECT_TRUE(P.Aborting);
  EXPECT_LE(Stream.GetSize(), 300);

  TIEBitmap Empty;
  bool Aborting = false;
  EXPECT_TRUE(WritePcxBytes(Empty, Params, &Aborting).empty());
  EXPECT_TRUE(Aborting) << "a header cannot describe an empty picture";
}

TEST(PcxWrite, ImageMagickReadsWhatWeWriteAndWeReadWhatItWrites) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  for (Integer Samples : {3, 1}) {
    SCOPED_TRACE(Samples);
    TIEBitmap Picture;
    Paint(Picture, 9, 6, Samples == 3 ? 0 : 16);
    TIOParamsVals Params;
    Params.SamplesPerPixel = Samples;
    TTempFile Ours("ours.pcx");
    Ours.Write(WritePcxBytes(Picture, Params));
    // Plain PPM: "P3 w h max" then red, green, blue of every pixel.
    const std::string Ppm = ShellOutput("convert '" + Ours.Path() + "' -compress none ppm:- 2>/dev/null");
    std::istringstream In(Ppm);
    std::string Magic;
    Integer W = 0, H = 0, Max = 0;
    In >> Magic >> W >> H >> Max;
    ASSERT_EQ(Magic, "P3");
    ASSERT_EQ(W, 9);
    ASSERT_EQ(H, 6);
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 0; X < W; ++X) {
        Integer R = 0, G = 0, B = 0;
        In >> R >> G >> B;
        const TIERGBTriple C = Picture.GetPixel24(X, Y);
        ASSERT_EQ((std::array<Integer, 3>{R, G, B}),
                  (std::array<Integer, 3>{C.rgbtRed, C.rgbtGreen, C.rgbtBlue}))
            << X << "," << Y;
      }

    TTempFile Theirs("theirs.pcx");
    ShellOutput("convert '" + Ours.Path() + "' '" + Theirs.Path() + "' 2>/dev/null");
    TPcxRead R;
    ReadPcxBytes(Theirs.Read(), R);
    ASSERT_FALSE(R.Aborting);
    ExpectSamePixels(Picture, R.Bitmap);
  }
}

namespace {

struct TPercentLog {
  std::vector<Integer> Seen;
  void OnProgress(TObject*, Integer Percent) { Seen.push_back(Percent); }
};

}  // namespace

TEST(PcxWrite, TheWriterReportsEveryRowAndTheReaderEveryNewPercent) {
  TIEBitmap Picture;
  Paint(Picture, 3, 300, 0);
  TIOParamsVals Params;
  TPercentLog Written;
  TTestProgress P;
  P.Progress.OnProgress = TIEProgressEvent(&Written, &TPercentLog::OnProgress);
  TMemoryStream Stream;
  PcxWriteStream(&Stream, &Picture, Params, P.Progress);
  ASSERT_EQ(Written.Seen.size(), 300u);
  EXPECT_EQ(Written.Seen[2], 0);
  EXPECT_EQ(Written.Seen[299], 99);

  TPercentLog Read;
  TTestProgress Q;
  Q.Progress.OnProgress = TIEProgressEvent(&Read, &TPercentLog::OnProgress);
  TPcxRead R;
  Stream.SetPosition(0);
  PcxReadStream(&Stream, &R.Bitmap, R.Params, Stream.GetSize(), Q.Progress, false);
  ASSERT_EQ(Read.Seen.size(), 100u);
  for (Integer I = 0; I < 100; ++I) EXPECT_EQ(Read.Seen[I], I);
}
