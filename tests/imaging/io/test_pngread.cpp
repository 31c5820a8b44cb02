// The PNG reader against files made by plain libpng calls.
#include <gtest/gtest.h>

#include <zlib.h>

#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/pngfilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"
#include "platform/system/StringList.h"
#include "tests/imaging/io/PngTestSupport.h"
#include "tests/imaging/io/ReadLimitsTestSupport.h"

namespace {

struct TPngRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  bool Aborting = false;
  std::vector<Integer> Reports;

  void OnProgress(TObject*, Integer Percent) { Reports.push_back(Percent); }

  void Load(const std::vector<Byte>& File, bool Preview = false) {
    TMemoryStream Stream;
    Stream.Write(File.data(), static_cast<Integer>(File.size()));
    Stream.SetPosition(0);
    TIEIOProgress Progress;
    Progress.Aborting = &Aborting;
    Progress.OnProgress = TIEProgressEvent(this, &TPngRead::OnProgress);
    PngReadStream(&Stream, &Bitmap, Params, Progress, Preview);
  }
};

// Grey ramp rows of the fixture's size at 8 bits.
std::vector<std::vector<Byte>> GreyRows(Integer W, Integer H) {
  std::vector<std::vector<Byte>> Rows(H, std::vector<Byte>(W));
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) Rows[Y][X] = static_cast<Byte>(Y * 40 + X * 10);
  return Rows;
}

// The file with its header's sides and interlace method replaced and the header's CRC made
// right again, so that libpng takes the claim as it is.
std::vector<Byte> WithHeader(std::vector<Byte> File, Cardinal Width, Cardinal Height, bool Interlaced) {
  constexpr size_t Data = 16;  // signature, chunk length and type
  for (int I = 0; I < 4; ++I) {
    File[Data + I] = static_cast<Byte>(Width >> (24 - 8 * I));
    File[Data + 4 + I] = static_cast<Byte>(Height >> (24 - 8 * I));
  }
  File[Data + 12] = Interlaced ? 1 : 0;
  const uLong Crc = crc32(0, File.data() + Data - 4, 17);
  for (int I = 0; I < 4; ++I) File[Data + 13 + I] = static_cast<Byte>(Crc >> (24 - 8 * I));
  return File;
}

TIERGBTriple BGR(Byte R, Byte G, Byte B) {
  return {B, G, R};
}

}  // namespace

TEST(PngRead, RgbaGivesColourAndAlphaChannel) {
  TPngFixture F;
  F.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
  F.Rows.assign(F.Height, {});
  for (Integer Y = 0; Y < F.Height; ++Y)
    for (Integer X = 0; X < F.Width; ++X)
      F.Rows[Y].insert(F.Rows[Y].end(), {Byte(X * 50), Byte(Y * 60), 7, Byte(X + Y * 10)});
  TPngRead R;
  R.Load(EncodePng(F));
  ASSERT_FALSE(R.Aborting);
  ASSERT_EQ(R.Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(R.Params.SamplesPerPixel, 4);
  EXPECT_EQ(R.Params.BitsPerSample, 8);
  ASSERT_TRUE(R.Bitmap.HasAlphaChannel());
  EXPECT_FALSE(R.Bitmap.GetAlphaChannel()->GetFull());
  EXPECT_EQ(R.Bitmap.GetPixel24(3, 2), BGR(150, 120, 7));
  EXPECT_EQ(R.Bitmap.GetAlpha(3, 2), 23);
  EXPECT_EQ(R.Bitmap.GetAlpha(0, 0), 0);

  // An opaque picture of the same size loaded into the same bitmap leaves no alpha behind.
  F.ColorType = PNG_COLOR_TYPE_RGB;
  for (auto& Row : F.Rows) Row.resize(static_cast<size_t>(F.Width) * 3);
  R.Load(EncodePng(F));
  EXPECT_FALSE(R.Bitmap.HasAlphaChannel());
}

TEST(PngRead, GreyDependsOnNativePixelFormat) {
  TPngFixture F;
  F.ColorType = PNG_COLOR_TYPE_GRAY;
  F.Rows = GreyRows(F.Width, F.Height);
  TPngRead Expanded;
  Expanded.Load(EncodePng(F));
  ASSERT_EQ(Expanded.Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Expanded.Bitmap.GetPixel24(3, 2), BGR(110, 110, 110));
  EXPECT_EQ(Expanded.Params.SamplesPerPixel, 1);

  TPngRead Native;
  Native.Params.NativePixelFormat = true;
  Native.Load(EncodePng(F));
  ASSERT_EQ(Native.Bitmap.GetPixelFormat(), ie8g);
  EXPECT_EQ(Native.Bitmap.GetPixel8(3, 2), 110);

  F.BitDepth = 16;
  for (auto& Row : F.Rows) {  // big-endian samples 0xVV01
    std::vector<Byte> Wide;
    for (Byte V : Row) Wide.insert(Wide.end(), {V, 1});
    Row = Wide;
  }
  TPngRead Native16;
  Native16.Params.NativePixelFormat = true;
  Native16.Load(EncodePng(F));
  ASSERT_EQ(Native16.Bitmap.GetPixelFormat(), ie16g);
  EXPECT_EQ(Native16.Bitmap.GetPixel16(3, 2), 110 * 256 + 1);
  EXPECT_EQ(Native16.Params.BitsPerSample, 16);
}

TEST(PngRead, PalettesAndOneBitPictures) {
  TPngFixture F;
  F.ColorType = PNG_COLOR_TYPE_PALETTE;
  F.BitDepth = 4;
  for (int I = 0; I < 16; ++I) F.Palette.push_back({Byte(I * 16), Byte(255 - I), Byte(I)});
  F.Rows.assign(F.Height, {0x01, 0x23});  // indices 0 1 2 3 in every row
  TPngRead Four;
  Four.Load(EncodePng(F));
  ASSERT_EQ(Four.Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Four.Bitmap.GetPixel24(3, 1), BGR(48, 252, 3));
  EXPECT_EQ(Four.Params.GetColorMapCount(), 16);
  EXPECT_EQ(Four.Params.ColorMap[3], BGR(48, 252, 3));

  F.BitDepth = 1;
  F.Palette = {{200, 10, 20}, {5, 6, 250}};
  F.Rows.assign(F.Height, {0x50});  // 0 1 0 1
  TPngRead OnePalette;
  OnePalette.Load(EncodePng(F));
  ASSERT_EQ(OnePalette.Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(OnePalette.Bitmap.GetPixel24(0, 0), BGR(200, 10, 20));
  EXPECT_EQ(OnePalette.Bitmap.GetPixel24(1, 2), BGR(5, 6, 250));

  F.ColorType = PNG_COLOR_TYPE_GRAY;
  F.Palette.clear();
  TPngRead OneGrey;
  OneGrey.Load(EncodePng(F));
  ASSERT_EQ(OneGrey.Bitmap.GetPixelFormat(), ie1g);
  EXPECT_EQ(static_cast<Byte*>(OneGrey.Bitmap.GetScanline(1))[0] & 0xF0, 0x50);
}

TEST(PngRead, PaletteTransparencyBecomesAlpha) {
  TPngFixture F;
  F.ColorType = PNG_COLOR_TYPE_PALETTE;
  F.Palette = {{1, 2, 3}, {4, 5, 6}};
  F.Transparency = {0};
  F.Rows.assign(F.Height, {0, 1, 0, 1});
  TPngRead R;
  R.Load(EncodePng(F));
  ASSERT_TRUE(R.Bitmap.HasAlphaChannel());
  EXPECT_EQ(R.Bitmap.GetAlpha(0, 0), 0);
  EXPECT_EQ(R.Bitmap.GetAlpha(1, 0), 255);
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 0), BGR(4, 5, 6));
}

TEST(PngRead, InterlacedPictureCompleteWithProgressOverSevenPasses) {
  TPngFixture F;
  F.Width = 9;
  F.Height = 10;
  F.ColorType = PNG_COLOR_TYPE_GRAY;
  F.Interlaced = true;
  F.Rows = GreyRows(F.Width, F.Height);
  TPngRead R;
  R.Load(EncodePng(F));
  ASSERT_FALSE(R.Aborting);
  EXPECT_TRUE(R.Params.PngInterlaced);
  for (Integer Y = 0; Y < F.Height; ++Y)
    for (Integer X = 0; X < F.Width; ++X) ASSERT_EQ(R.Bitmap.GetPixel24(X, Y).rgbtRed, F.Rows[Y][X]);
  ASSERT_FALSE(R.Reports.empty());
  EXPECT_EQ(R.Reports.front(), 1);  // Trunc(1 x 100 / 70)
  EXPECT_EQ(R.Reports.back(), 100);
}

TEST(PngRead, ResolutionBackgroundAndTexts) {
  TPngFixture F;
  F.Rows.assign(F.Height, std::vector<Byte>(F.Width * 3, 9));
  TPngRead Plain;
  Plain.Load(EncodePng(F));
  EXPECT_EQ(Plain.Params.DpiX, 300);
  EXPECT_EQ(Plain.Params.DpiY, 300);
  EXPECT_EQ(Plain.Params.ImageCount, 1);
  EXPECT_EQ(Plain.Params.FileWidth, 4);
  EXPECT_EQ(Plain.Params.FileHeight, 3);

  F.PixelsPerMetre = 2835;
  F.Background = true;
  F.BackgroundColor.red = 255;
  F.BackgroundColor.green = 128;
  F.BackgroundColor.blue = 1;
  F.Texts = {{"Title", "Tiles"}, {"Author", "Me"}};
  TPngRead Full;
  Full.Params.PngTextKeys->Add("stale");
  Full.Load(EncodePng(F), /*Preview=*/true);
  EXPECT_EQ(Full.Params.DpiX, 72);
  EXPECT_EQ(Full.Params.PngBackground, BGR(255, 128, 1));
  ASSERT_EQ(Full.Params.PngTextKeys->GetCount(), 2);
  EXPECT_EQ(Full.Params.PngTextKeys->GetStrings(1), "Author");
  EXPECT_EQ(Full.Params.PngTextValues->GetStrings(0), "Tiles");
  EXPECT_TRUE(Full.Bitmap.IsEmpty());  // preview reads no pixels
}

TEST(PngRead, TruncatedAndCorruptFilesAbort) {
  TPngFixture F;
  F.Width = 200;
  F.Height = 200;  // noise: several IDAT chunks, so early rows decode before the data ends
  F.ColorType = PNG_COLOR_TYPE_GRAY;
  F.Rows.assign(F.Height, {});
  Cardinal Seed = 1;
  for (Integer Y = 0; Y < F.Height; ++Y)
    for (Integer X = 0; X < F.Width; ++X)
      F.Rows[Y].push_back(static_cast<Byte>((Seed = Seed * 1103515245 + 12345) >> 16));
  auto File = EncodePng(F);
  TPngRead Truncated;
  Truncated.Load({File.begin(), File.begin() + static_cast<long>(File.size() * 2 / 3)});
  EXPECT_TRUE(Truncated.Aborting);
  ASSERT_EQ(Truncated.Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Truncated.Bitmap.GetPixel24(5, 1).rgbtRed, F.Rows[1][5]);  // decoded rows stay

  File[20] ^= 0xFF;  // inside IHDR: CRC error
  TPngRead Corrupt;
  Corrupt.Load(File);
  EXPECT_TRUE(Corrupt.Aborting);

  TPngRead Empty;
  Empty.Load({});
  EXPECT_TRUE(Empty.Aborting);
}

// Deflate gives at most 1032 bytes for one, so a picture whose rows need more than that times
// the data after the header is refused before the bitmap asks for memory.
TEST(PngRead, ClaimsBeyondTheDataAreRefusedBeforeAllocating) {
  TPngFixture F;
  F.ColorType = PNG_COLOR_TYPE_GRAY;
  F.Rows = GreyRows(F.Width, F.Height);
  const auto Small = EncodePng(F);
  for (bool Interlaced : {false, true}) {
    SCOPED_TRACE(Interlaced ? "interlaced" : "not interlaced");
    TLargestAllocation Memory(1 << 20);
    TPngRead R;
    R.Load(WithHeader(Small, 60000, 60000, Interlaced));
    EXPECT_TRUE(R.Aborting);
    EXPECT_TRUE(R.Bitmap.IsEmpty());
    EXPECT_LT(Memory.Largest(), 1u << 20);
    EXPECT_EQ(R.Params.FileWidth, 60000);  // the header still reaches the parameters
  }
  // At the bound the bitmap is allocated (and the read then ends at the data's end); one row
  // more is refused. The data counts from the first IDAT chunk's data on.
  const Int64 DataBytes = static_cast<Int64>(Small.size()) - 8 - 25 - 8;
  const auto Rows = static_cast<Cardinal>(DataBytes * 1032 / (1 + F.Width));
  for (Cardinal Extra : {0u, 1u}) {
    TPngRead R;
    R.Load(WithHeader(Small, static_cast<Cardinal>(F.Width), Rows + Extra, false));
    EXPECT_TRUE(R.Aborting);
    EXPECT_EQ(R.Bitmap.IsEmpty(), Extra == 1) << Extra;
  }
}

// Single-colour pictures compress close to deflate's bound and still load.
TEST(PngRead, HighlyCompressedPictureStillLoads) {
  constexpr Integer Side = 4000;
  TPngFixture F;
  F.Width = F.Height = Side;
  F.ColorType = PNG_COLOR_TYPE_GRAY;
  F.Rows.assign(Side, std::vector<Byte>(Side, 77));
  for (bool Interlaced : {false, true}) {
    SCOPED_TRACE(Interlaced ? "interlaced" : "not interlaced");
    F.Interlaced = Interlaced;
    TPngRead R;
    R.Params.NativePixelFormat = true;
    R.Load(EncodePng(F));
    ASSERT_FALSE(R.Aborting);
    ASSERT_EQ(R.Bitmap.GetPixelFormat(), ie8g);
    ASSERT_EQ(R.Bitmap.GetHeight(), Side);
    EXPECT_EQ(R.Bitmap.GetPixel8(Side - 1, Side - 1), 77);
  }
}

TEST(PngRead, SignatureTestRestoresThePosition) {
  TPngFixture F;
  F.Rows.assign(F.Height, std::vector<Byte>(F.Width * 3));
  const auto File = EncodePng(F);
  TMemoryStream Stream;
  Stream.Write("xy", 2);
  Stream.Write(File.data(), static_cast<Integer>(File.size()));
  Stream.SetPosition(2);
  EXPECT_TRUE(PngIsFile(&Stream));
  EXPECT_EQ(Stream.GetPosition(), 2);
  Stream.SetPosition(0);
  EXPECT_FALSE(PngIsFile(&Stream));
  EXPECT_EQ(Stream.GetPosition(), 0);
}

TEST(PngRead, OtherColourTypesAndDepthsBecomeBgr) {
  struct TCase {
    const char* Name;
    int ColorType, BitDepth;
    std::vector<Byte> Row;  // one file row of 2 pixels
    TIERGBTriple Second;
    Integer Samples;
    int SecondAlpha;  // -1: no alpha channel
  };
  const TCase Cases[] = {
      {"grey 2 bits", PNG_COLOR_TYPE_GRAY, 2, {0x20}, BGR(170, 170, 170), 1, -1},
      {"grey 4 bits", PNG_COLOR_TYPE_GRAY, 4, {0x0F}, BGR(255, 255, 255), 1, -1},
      {"grey with alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8, {1, 2, 90, 200}, BGR(90, 90, 90), 2, 200},
      {"rgb 16 bits",
       PNG_COLOR_TYPE_RGB,
       16,
       {0, 0, 0, 0, 0, 0, 0x12, 0xFF, 0x34, 0, 0x56, 1},
       BGR(0x12, 0x34, 0x56),
       3,
       -1},
      {"rgba 16 bits",
       PNG_COLOR_TYPE_RGB_ALPHA,
       16,
       {0, 0, 0, 0, 0, 0, 0, 0, 0x12, 0, 0x34, 0, 0x56, 0, 0x80, 0},
       BGR(0x12, 0x34, 0x56),
       4,
       0x80},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TPngFixture F;
    F.Width = 2;
    F.Height = 1;
    F.ColorType = C.ColorType;
    F.BitDepth = C.BitDepth;
    F.Rows = {C.Row};
    TPngRead R;
    R.Load(EncodePng(F));
    ASSERT_FALSE(R.Aborting);
    ASSERT_EQ(R.Bitmap.GetPixelFormat(), ie24RGB);
    EXPECT_EQ(R.Bitmap.GetPixel24(1, 0), C.Second);
    EXPECT_EQ(R.Params.SamplesPerPixel, C.Samples);
    EXPECT_EQ(R.Params.BitsPerSample, C.BitDepth);
    EXPECT_EQ(R.Bitmap.HasAlphaChannel(), C.SecondAlpha >= 0);
    if (C.SecondAlpha >= 0) {
      EXPECT_EQ(R.Bitmap.GetAlpha(1, 0), C.SecondAlpha);
    }
  }
}
