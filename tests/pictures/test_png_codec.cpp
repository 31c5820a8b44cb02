// The PNG image data: every colour type and depth, plain and interlaced, against libpng's
// decoding (through ImageMagick); filters; IDAT runs; the writer's filters and chunk sizes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

#include "tests/pictures/PngTestUtil.h"

namespace {
const char* const Fixtures[] = {"c0d1", "c0d2", "c0d4", "c0d8", "c0d16", "c2d8", "c2d16", "c3d1",
                                "c3d2", "c3d4", "c3d8", "c4d8", "c4d16", "c6d8", "c6d16"};

std::string TempPath(const std::string& Name) {
  return "/tmp/tv_png_" + std::to_string(getpid()) + "_" + Name;
}

// The IDAT chunks of a file, in order, as data sizes.
std::vector<Cardinal> IdatSizes(const std::vector<Byte>& File) {
  std::vector<Cardinal> Sizes;
  for (std::size_t Pos = 8; Pos + 8 <= File.size();) {
    const Cardinal Len = Cardinal{File[Pos]} << 24 | Cardinal{File[Pos + 1]} << 16 |
                         Cardinal{File[Pos + 2]} << 8 | File[Pos + 3];
    if (std::string(File.begin() + Pos + 4, File.begin() + Pos + 8) == "IDAT") Sizes.push_back(Len);
    Pos += 12 + Len;
  }
  return Sizes;
}

// The inflated image data of a file written by us.
std::vector<Byte> InflatedData(const std::vector<Byte>& File) {
  std::vector<Byte> Z;
  for (std::size_t Pos = 8; Pos + 8 <= File.size();) {
    const Cardinal Len = Cardinal{File[Pos]} << 24 | Cardinal{File[Pos + 1]} << 16 |
                         Cardinal{File[Pos + 2]} << 8 | File[Pos + 3];
    if (std::string(File.begin() + Pos + 4, File.begin() + Pos + 8) == "IDAT")
      Z.insert(Z.end(), File.begin() + Pos + 8, File.begin() + Pos + 8 + Len);
    Pos += 12 + Len;
  }
  std::vector<Byte> Out;
  std::string Error;
  EXPECT_TRUE(InflateBlock(Z.data(), Z.size(), Out, Error)) << Error;
  return Out;
}

// A 3 x 2 8-bit RGB picture whose raw rows are given.
std::vector<Byte> RgbFile(const std::vector<Byte>& FilteredRows, Byte Interlace = 0, Cardinal W = 3,
                          Cardinal H = 2) {
  return Concat(
      {Signature(), Ihdr(W, H, 8, 2, Interlace), Chunk("IDAT", Deflated(FilteredRows)), Chunk("IEND", {})});
}
}  // namespace

TEST(PngCodec, EveryTypeAndDepthDecodesAsLibpngDoes) {
  for (const char* Name : Fixtures) {
    for (const char* Kind : {"p", "i"}) {
      const std::string File = PngFixture(std::string(Name) + Kind + ".png");
      TPNGObject P;
      LoadPng(P, FileBytes(File));
      EXPECT_EQ(P.InterlaceKind, Kind[0] == 'i' ? 1 : 0);
      ExpectSameAsMagick(P, File, std::string(Name).ends_with("16"));
    }
  }
}

TEST(PngCodec, WhatWeWriteLibpngReadsBack) {
  for (const char* Name : Fixtures) {
    for (const char* Kind : {"p", "i"}) {
      const std::string Source = PngFixture(std::string(Name) + Kind + ".png");
      TPNGObject P;
      LoadPng(P, FileBytes(Source));
      P.FilterSet = pfNone | pfSub | pfUp | pfAverage | pfPaeth;
      const std::string Out = TempPath(std::string(Name) + Kind + ".png");
      WriteFileBytes(Out, SavePng(P));
      EXPECT_EQ(std::system(("pngcheck -q '" + Out + "' >/dev/null").c_str()), 0) << Out;
      // 16-bit samples are written with zero low bytes: compare the high bytes.
      ExpectSameAsMagick(P, Out, false);
      TPNGObject Back;
      LoadPng(Back, FileBytes(Out));
      EXPECT_EQ(Back.InterlaceKind, P.InterlaceKind);
      for (Integer Y = 0; Y < P.GetHeight(); ++Y)
        for (Integer X = 0; X < P.GetWidth(); ++X) {
          const TPixel16 A = OurPixel(P, X, Y), B = OurPixel(Back, X, Y);
          ASSERT_TRUE(A.R[0] == B.R[0] && A.G[0] == B.G[0] && A.B[0] == B.B[0] && A.A[0] == B.A[0])
              << Name << Kind << " " << X << "," << Y;
        }
      std::remove(Out.c_str());
    }
  }
}

TEST(PngCodec, TwoBitGreyShowsFourLevelsAndSavesAsFourBits) {
  // Samples 0, 1, 2, 3 in one row.
  const std::vector<Byte> File =
      Concat({Signature(), Ihdr(4, 1, 2, 0), Chunk("IDAT", Deflated({0, 0x1B})), Chunk("IEND", {})});
  TPNGObject P;
  LoadPng(P, File);
  const Byte Levels[] = {0, 85, 170, 255};
  for (Integer X = 0; X < 4; ++X)
    EXPECT_EQ(P.GetPixelColor(X, 0), static_cast<TColor>(RGB(Levels[X], Levels[X], Levels[X])));
  const std::vector<Byte> Saved = SavePng(P);
  EXPECT_EQ(Saved[8 + 8 + 8], 4);  // IHDR bit depth
  const std::vector<Byte> Raw = InflatedData(Saved);
  ASSERT_EQ(Raw.size(), 3u);  // filter byte + 4 samples of 4 bits
  // Sub filter over one-byte pixels: 0x05, 0xAF minus 0x05.
  EXPECT_EQ(Raw[0], 1);
  EXPECT_EQ(Raw[1], 0x05);
  EXPECT_EQ(Raw[2], static_cast<Byte>(0xAF - 0x05));
}

TEST(PngCodec, AllFiveFiltersGiveTheUnfilteredPixels) {
  // Raw rows of 3 RGB pixels; row 1 holds its bytes through each filter type in turn.
  const std::vector<Byte> R0 = {10, 20, 30, 40, 50, 60, 70, 80, 90};
  const std::vector<Byte> R1 = {200, 7, 99, 1, 255, 128, 3, 60, 250};
  auto Filtered = [&](Byte Type) {
    std::vector<Byte> Out = {0};
    Out.insert(Out.end(), R0.begin(), R0.end());
    Out.push_back(Type);
    for (Integer I = 0; I < 9; ++I) {
      const Byte A = I >= 3 ? R1[I - 3] : 0, B = R0[I], C = I >= 3 ? R0[I - 3] : 0;
      const Byte Pred = Type == 0   ? 0
                        : Type == 1 ? A
                        : Type == 2 ? B
                        : Type == 3 ? (A + B) / 2
                                    : PaethPredict(A, B, C);
      Out.push_back(static_cast<Byte>(R1[I] - Pred));
    }
    return Out;
  };
  for (Byte Type = 0; Type <= 4; ++Type) {
    TPNGObject P;
    LoadPng(P, RgbFile(Filtered(Type)));
    for (Integer X = 0; X < 3; ++X)
      EXPECT_EQ(P.GetPixelColor(X, 1), static_cast<TColor>(RGB(R1[3 * X], R1[3 * X + 1], R1[3 * X + 2])))
          << int(Type) << " " << X;
  }
  // Paeth's ties go to left, then above.
  EXPECT_EQ(PaethPredict(5, 5, 5), 5);
  EXPECT_EQ(PaethPredict(10, 20, 10), 20);
  EXPECT_EQ(PaethPredict(20, 10, 10), 20);
  EXPECT_EQ(PaethPredict(10, 30, 20), 20);  // upper-left exactly predicted
  EXPECT_EQ(PaethPredict(100, 10, 90), 10);
}

TEST(PngCodec, InterlacedFirstRowsOfPassesSeeAZeroRowAbove) {
  // A 1 x 1 interlaced image holds pass 1 alone; filtered Up against an all-zero row.
  const std::vector<Byte> File = RgbFile({2, 11, 22, 33}, 1, 1, 1);
  TPNGObject P;
  LoadPng(P, File);
  EXPECT_EQ(P.GetPixelColor(0, 0), static_cast<TColor>(RGB(11, 22, 33)));
  TPNGObject Fixture;
  LoadPng(Fixture, FileBytes(PngFixture("adam7_1x1.png")));
  ExpectSameAsMagick(Fixture, PngFixture("adam7_1x1.png"), false);
}

TEST(PngCodec, ImageDataRunsOverSeveralIdatChunks) {
  const std::vector<Byte> Raw = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 9, 8, 7, 6, 5, 4, 3, 2, 1};
  const std::vector<Byte> Z = Deflated(Raw);
  ASSERT_GT(Z.size(), 20u);
  auto Part = [&](std::size_t From, std::size_t To) {
    return Chunk("IDAT", std::vector<Byte>(Z.begin() + From, Z.begin() + std::min(To, Z.size())));
  };
  const std::vector<Byte> Head = Concat({Signature(), Ihdr(3, 2, 8, 2)});
  TPNGObject One, Three;
  LoadPng(One, Concat({Head, Chunk("IDAT", Z), Chunk("IEND", {})}));
  LoadPng(Three, Concat({Head, Part(0, 10), Part(10, 20), Part(20, Z.size()), Chunk("IEND", {})}));
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 3; ++X) EXPECT_EQ(One.GetPixelColor(X, Y), Three.GetPixelColor(X, Y));
  EXPECT_EQ(Three.GetChunks()->GetCount(), 3u);  // IHDR, IDAT, IEND

  TPNGObject Broken;
  try {
    LoadPng(Broken,
            Concat({Head, Part(0, 10), Chunk("tEXt", {'a', 0, 'b'}), Part(10, Z.size()), Chunk("IEND", {})}));
    FAIL();
  } catch (const EPNGMissingMultipleIDAT& E) {
    EXPECT_STREQ(E.what(),
                 "This \"Portable Network Graphics\" image is invalid because it has missing image parts.");
  }
  // A bad CRC on a later chunk of the run is found too.
  std::vector<Byte> BadCrc = Part(10, Z.size());
  BadCrc.back() ^= 1;
  EXPECT_THROW(LoadPng(Broken, Concat({Head, Part(0, 10), BadCrc, Chunk("IEND", {})})), EPngInvalidCRC);
}

TEST(PngCodec, BrokenDeflateDataReportsZlibsText) {
  // A stored-block header with a reserved block type (3).
  const std::vector<Byte> Z = {0x78, 0x9C, 0x07, 0, 0, 0};
  TPNGObject P;
  try {
    LoadPng(P, Concat({Signature(), Ihdr(3, 2, 8, 2), Chunk("IDAT", Z), Chunk("IEND", {})}));
    FAIL();
  } catch (const EPNGZLIBError& E) {
    const std::string M = E.what();
    EXPECT_EQ(
        M.rfind(
            "Could not decompress the image because it contains invalid compressed data.\r\n Description: ",
            0),
        0u);
    EXPECT_TRUE(M.ends_with("data error (-3)")) << M;
  }
  EXPECT_FALSE(P.Empty());  // the chunks made stay
}

TEST(PngCodec, DataEndingEarlyKeepsTheRowsDecoded) {
  // The stream ends inside the IDAT data: the decoded rows stay, the rest is zero.
  const std::vector<Byte> Z = Deflated({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 9, 8, 7, 6, 5, 4, 3, 2, 1});
  std::vector<Byte> File = Concat({Signature(), Ihdr(3, 2, 8, 2), Chunk("IDAT", Z)});
  File.resize(File.size() - 4 - 3);
  TPNGObject P;
  EXPECT_THROW(LoadPng(P, File), EPngInvalidCRC);
  EXPECT_EQ(P.GetWidth(), 3);
}

TEST(PngCodec, FilterChoiceFollowsTheAllowedSet) {
  TPNGObject P;
  LoadPng(P, FileBytes(PngFixture("c2d8p.png")));
  auto RowFilters = [&](Byte Set) {
    P.FilterSet = Set;
    const std::vector<Byte> Raw = InflatedData(SavePng(P));
    const std::size_t RowLength = 13 * 3;
    std::vector<Byte> Types;
    for (std::size_t Pos = 0; Pos < Raw.size(); Pos += RowLength + 1) Types.push_back(Raw[Pos]);
    EXPECT_EQ(Types.size(), 11u);
    return Types;
  };
  for (Byte T : RowFilters(pfNone)) EXPECT_EQ(T, 0);
  for (Byte T : RowFilters(pfUp)) EXPECT_EQ(T, 2);
  for (Byte T : RowFilters(pfSub)) EXPECT_EQ(T, 1);
  for (Byte T : RowFilters(0)) EXPECT_EQ(T, 0);

  // A row of equal bytes scores the most already with None, and ties go to the lower type.
  TPNGObject Flat;
  LoadPng(Flat, RgbFile({0, 5, 5, 5, 5, 5, 5, 5, 5, 5, 0, 5, 5, 5, 5, 5, 5, 5, 5, 5}));
  Flat.FilterSet = pfNone | pfSub | pfUp | pfAverage | pfPaeth;
  const std::vector<Byte> Raw = InflatedData(SavePng(Flat));
  EXPECT_EQ(Raw[0], 0);
  EXPECT_EQ(Raw[10], 0);
}

TEST(PngCodec, IdatChunksHoldTheLimitEachButTheLast) {
  // Noise does not compress: 400 x 400 RGB gives about 480000 bytes.
  TPNGObject P;
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(400, 400);
  Cardinal X = 12345;
  for (Integer Y = 0; Y < 400; ++Y) {
    auto* Row = static_cast<Byte*>(B.GetScanLine(Y));
    for (Integer I = 0; I < 1200; ++I) Row[I] = static_cast<Byte>((X = X * 1103515245 + 12345) >> 16);
  }
  P.Assign(&B);
  P.SetIdatLimit(1000);
  EXPECT_EQ(P.GetIdatLimit(), 65535);
  P.SetIdatLimit(100000);
  EXPECT_EQ(P.GetIdatLimit(), 100000);
  P.SetIdatLimit(65535);
  P.FilterSet = pfNone;
  const std::vector<Cardinal> Sizes = IdatSizes(SavePng(P));
  ASSERT_GE(Sizes.size(), 2u);
  for (std::size_t I = 0; I + 1 < Sizes.size(); ++I) EXPECT_EQ(Sizes[I], 65535u);
  EXPECT_GT(Sizes.back(), 0u);
  EXPECT_LE(Sizes.back(), 65535u);
  EXPECT_EQ(Sizes.size(), 8u);  // 481601 raw bytes, stored: just over 7 x 65535
}

TEST(PngCodec, SixteenBitRgbKeepsItsHighBytesAndWritesZeroLowBytes) {
  TPNGObject P;
  LoadPng(P, FileBytes(PngFixture("c2d16p.png")));
  P.FilterSet = pfNone;
  const std::vector<Byte> Raw = InflatedData(SavePng(P));
  const std::size_t RowLength = 13 * 6;
  ASSERT_EQ(Raw.size(), (RowLength + 1) * 11);
  const Byte* Dib = P.PixelRow(0);
  EXPECT_EQ(Raw[1], Dib[2]);  // red high byte
  for (std::size_t I = 2; I <= RowLength; I += 2) EXPECT_EQ(Raw[I], 0) << I;
}
