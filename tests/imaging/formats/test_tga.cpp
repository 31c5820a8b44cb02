// The TGA reader: files built byte by byte for every image type, packets across rows, mirrored
// and bottom-up rows, colour maps, alpha and the extension area; ImageMagick as an outside writer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/ietgafil.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/DateTime.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

std::vector<Byte> Header(Byte Type, Integer W, Integer H, Byte Depth, Byte Descriptor, Byte MapType = 0,
                         Integer MapLength = 0, Byte EntryBits = 0, Byte IdLength = 0) {
  return {IdLength,
          MapType,
          Type,
          0,
          0,
          Byte(MapLength),
          Byte(MapLength >> 8),
          EntryBits,
          3,
          0,
          4,
          0,
          Byte(W),
          Byte(W >> 8),
          Byte(H),
          Byte(H >> 8),
          Depth,
          Descriptor};
}

void Append(std::vector<Byte>& A, const std::vector<Byte>& B) {
  A.insert(A.end(), B.begin(), B.end());
}

struct TTgaRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  TTestProgress P;
  std::unique_ptr<TIEMask> Alpha;

  void Load(const std::vector<Byte>& File, bool Preview = false, bool IgnoreAlpha = false) {
    TMemoryStream Stream;
    LoadBytes(Stream, File);
    TgaReadStream(&Stream, &Bitmap, Params, P.Progress, Preview, Alpha, IgnoreAlpha);
  }
  TIERGBTriple At(Integer X, Integer Y) { return Bitmap.GetPixel24(X, Y); }
};

TIERGBTriple RGB(Byte R, Byte G, Byte B) {
  return {B, G, R};
}

TEST(TgaIsFile, AcceptsKnownHeadersOnlyAndKeepsPosition) {
  struct TCase {
    std::vector<Byte> Bytes;
    bool Expected;
  } Cases[] = {
      {Header(2, 1, 1, 24, 0), true},  {Header(10, 1, 1, 32, 0), true}, {Header(1, 1, 1, 8, 0, 1), true},
      {Header(4, 1, 1, 24, 0), false}, {Header(2, 1, 1, 12, 0), false}, {Header(2, 1, 1, 24, 0, 2), false},
      {Header(2, 0, 1, 24, 0), false}, {Header(2, 1, 0, 24, 0), false},
  };
  for (auto& C : Cases) {
    TMemoryStream S;
    LoadBytes(S, C.Bytes);
    EXPECT_EQ(TgaIsFile(&S), C.Expected) << int(C.Bytes[2]) << " " << int(C.Bytes[16]);
    EXPECT_EQ(S.GetPosition(), 0);
  }
  TMemoryStream Short;
  LoadBytes(Short, {0, 0, 2});
  EXPECT_FALSE(TgaIsFile(&Short));
}

TEST(TgaRead, RawTrueColourBottomUpWithoutFooterTakesDefaults) {
  auto F = Header(2, 2, 2, 24, 0, 0, 0, 0, 3);
  Append(F, {'a', 'b', 'c'});
  // Bottom row first.
  Append(F, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  TTgaRead R;
  R.Params.TgaAuthor = "old";
  R.Params.TgaGamma = 1.0;
  R.Load(F);
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_EQ(R.At(0, 1), RGB(3, 2, 1));
  EXPECT_EQ(R.At(1, 1), RGB(6, 5, 4));
  EXPECT_EQ(R.At(0, 0), RGB(9, 8, 7));
  EXPECT_EQ(R.Params.TgaDescriptor, "abc");
  EXPECT_EQ(R.Params.TgaXPos, 3);
  EXPECT_EQ(R.Params.TgaYPos, 4);
  EXPECT_FALSE(R.Params.TgaCompressed);
  EXPECT_EQ(R.Params.TgaAuthor, "");
  EXPECT_EQ(R.Params.TgaGamma, 2.2);
  EXPECT_EQ(R.Params.TgaAspectRatio, 1.0);
  EXPECT_EQ(R.Params.TgaDate, Date());
  EXPECT_EQ(R.Params.BitsPerSample, 8);
  EXPECT_EQ(R.Params.SamplesPerPixel, 3);
  EXPECT_FALSE(R.Alpha);
}

TEST(TgaRead, MirroredBottomUpRowsReverseTheirPixels) {
  auto F = Header(2, 3, 1, 24, 0x10);
  Append(F, {1, 1, 1, 2, 2, 2, 3, 3, 3});
  TTgaRead R;
  R.Load(F);
  EXPECT_EQ(R.At(0, 0), RGB(3, 3, 3));
  EXPECT_EQ(R.At(2, 0), RGB(1, 1, 1));
}

TEST(TgaRead, RunPacketCarriesIntoTheNextRow) {
  // 4 x 2, top-down: raw 2 pixels, then a run of 5 that fills 2 of row 0 and 3 of row 1.
  auto F = Header(10, 4, 2, 24, 0x20);
  Append(F, {0x01, 10, 10, 10, 20, 20, 20, 0x84, 1, 2, 3});
  TTgaRead R;
  R.Load(F);
  ASSERT_FALSE(R.P.Aborting);
  EXPECT_TRUE(R.Params.TgaCompressed);
  EXPECT_EQ(R.At(1, 0), RGB(20, 20, 20));
  for (auto [X, Y] : {std::pair{2, 0}, {3, 0}, {0, 1}, {1, 1}, {2, 1}}) EXPECT_EQ(R.At(X, Y), RGB(3, 2, 1));
  EXPECT_EQ(R.At(3, 1), RGB(0, 0, 0));  // bytes past the data read as 0
}

TEST(TgaRead, RawPacketCarriesIntoTheNextRow) {
  auto F = Header(10, 2, 2, 24, 0x20);
  Append(F, {0x03, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4});
  TTgaRead R;
  R.Load(F);
  EXPECT_EQ(R.At(0, 1), RGB(3, 3, 3));
  EXPECT_EQ(R.At(1, 1), RGB(4, 4, 4));
}

TEST(TgaRead, ColourMapWith16BitEntriesScalesChannelsByEight) {
  // Entry 0: red 31, green 0, blue 1; entry 1: green 2.
  auto F = Header(1, 2, 1, 8, 0x20, 1, 2, 16);
  const Integer E0 = (31 << 10) | 1, E1 = 2 << 5;
  Append(F, {Byte(E0), Byte(E0 >> 8), Byte(E1), Byte(E1 >> 8), 1, 0});
  TTgaRead R;
  R.Load(F);
  EXPECT_EQ(R.At(0, 0), RGB(0, 16, 0));
  EXPECT_EQ(R.At(1, 0), RGB(248, 0, 8));
  ASSERT_EQ(R.Params.GetColorMapCount(), 2);
  EXPECT_EQ(R.Params.ColorMap[1], RGB(0, 16, 0));
  EXPECT_FALSE(R.Params.TgaGrayLevel);
}

TEST(TgaRead, GreyAndOneBitPicturesUseTheirRamps) {
  auto G = Header(3, 2, 1, 8, 0x20);
  Append(G, {0, 200});
  TTgaRead R;
  R.Load(G);
  EXPECT_EQ(R.At(1, 0), RGB(200, 200, 200));
  EXPECT_TRUE(R.Params.TgaGrayLevel);

  auto B = Header(3, 9, 1, 1, 0x20);
  Append(B, {0xA5, 0x80});
  TTgaRead One;
  One.Load(B);
  ASSERT_EQ(One.Bitmap.GetPixelFormat(), ie1g);
  EXPECT_EQ(static_cast<Byte*>(One.Bitmap.GetScanline(0))[0], 0xA5);
  EXPECT_EQ(One.Params.BitsPerSample, 1);
}

std::vector<Byte> Alpha32(Byte A0, Byte A1) {
  auto F = Header(2, 2, 1, 32, 0x28);
  Append(F, {1, 2, 3, A0, 4, 5, 6, A1});
  return F;
}

TEST(TgaRead, ThirtyTwoBitAlphaBecomesTheMask) {
  TTgaRead R;
  R.Load(Alpha32(10, 255));
  ASSERT_TRUE(R.Alpha);
  EXPECT_EQ(R.Alpha->GetScanline(0)[0], 10);
  EXPECT_EQ(R.Alpha->GetScanline(0)[1], 255);
  EXPECT_EQ(R.Params.SamplesPerPixel, 4);

  TTgaRead Zero;
  Zero.Load(Alpha32(0, 0));
  EXPECT_FALSE(Zero.Alpha);

  TTgaRead Full;
  Full.Load(Alpha32(255, 255));
  ASSERT_TRUE(Full.Alpha);
  EXPECT_TRUE(Full.Alpha->GetFull());

  TTgaRead Ignored;
  Ignored.Load(Alpha32(10, 255), false, true);
  EXPECT_FALSE(Ignored.Alpha);
}

TEST(TgaRead, ExtensionAreaFillsTheParameters) {
  auto F = Header(2, 1, 1, 24, 0);
  Append(F, {1, 2, 3});
  const Integer Offset = static_cast<Integer>(F.size());
  std::vector<Byte> E(495, 0);
  E[0] = 0xEF, E[1] = 0x01;
  const std::string Author = "Ann", Name = "Job";
  std::copy(Author.begin(), Author.end(), E.begin() + 2);
  std::copy(Name.begin(), Name.end(), E.begin() + 379);
  auto Put16 = [&](Integer At, Integer V) { E[At] = Byte(V), E[At + 1] = Byte(V >> 8); };
  Put16(367, 5), Put16(369, 17), Put16(371, 2020), Put16(373, 13), Put16(375, 30), Put16(377, 15);
  E[471] = 9, E[472] = 8, E[473] = 7;
  Put16(474, 4), Put16(476, 3), Put16(478, 18), Put16(480, 10);
  Append(F, E);
  Append(F, {Byte(Offset), 0, 0, 0, 0, 0, 0, 0});
  const std::string Sig = "TRUEVISION-XFILE.";
  F.insert(F.end(), Sig.begin(), Sig.end());
  F.push_back(0);
  TTgaRead R;
  R.Load(F);
  EXPECT_EQ(R.Params.TgaAuthor, "Ann");
  EXPECT_EQ(R.Params.TgaImageName, "Job");
  EXPECT_EQ(R.Params.TgaDate, EncodeDateTime(2020, 5, 17, 13, 30, 15, 0));
  EXPECT_EQ(R.Params.TgaBackground, RGB(9, 8, 7));
  EXPECT_DOUBLE_EQ(R.Params.TgaAspectRatio, 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(R.Params.TgaGamma, 1.8);

  // A day the calendar refuses keeps today.
  F[Offset + 369] = 31, F[Offset + 367] = 2;
  TTgaRead Bad;
  Bad.Load(F);
  EXPECT_EQ(Bad.Params.TgaDate, Date());
}

TEST(TgaRead, RefusesWhatItCannotDecode) {
  struct TCase {
    const char* Name;
    std::vector<Byte> File;
  } Cases[] = {
      {"unknown type", Header(5, 1, 1, 24, 0)},
      {"depth 4", Header(1, 2, 1, 4, 0, 1, 0, 24)},
      {"packed 1-bit", Header(11, 8, 1, 1, 0)},
      {"huge claim", Header(2, 60000, 60000, 24, 0)},
      {"huge packed claim", Header(10, 60000, 60000, 24, 0)},
  };
  for (auto& C : Cases) {
    C.File.resize(C.File.size() + 16, 0);
    TTgaRead R;
    R.Load(C.File);
    EXPECT_TRUE(R.P.Aborting) << C.Name;
  }
}

TEST(TgaRead, PreviewFillsParametersOnly) {
  auto F = Header(10, 300, 200, 16, 0);
  TTgaRead R;
  R.Load(F, true);
  EXPECT_FALSE(R.P.Aborting);
  EXPECT_EQ(R.Params.Width, 300);
  EXPECT_EQ(R.Params.Height, 200);
  EXPECT_EQ(R.Params.BitsPerSample, 5);
  EXPECT_EQ(R.Bitmap.GetWidth(), 0);
}

TEST(TgaRead, ReadsWhatImageMagickWrites) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  TTempFile File("m.tga");
  const std::string Cmd = "convert -size 5x3 xc:'#102030' -fill '#C08040' -draw 'point 1,1' -compress RLE '" +
                          File.Path() + "' 2>/dev/null";
  ASSERT_EQ(std::system(Cmd.c_str()), 0);
  TTgaRead R;
  R.Load(File.Read());
  ASSERT_FALSE(R.P.Aborting);
  ASSERT_EQ(R.Bitmap.GetWidth(), 5);
  // The middle row: this writer's row order is not what its reader's pixel listing shows.
  EXPECT_EQ(R.At(1, 1), RGB(0xC0, 0x80, 0x40));
  EXPECT_EQ(R.At(1, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(R.At(4, 2), RGB(0x10, 0x20, 0x30));
}

}  // namespace
