// BMP reading and writing of TBitmap: round trips at every depth, the header versions and
// run-length encodings the reader accepts, and malformed files.
#include <filesystem>
#include <fstream>
#include <random>

#include "ClassesTestUtil.h"
#include "platform/classes/BmpFile.h"

namespace {

struct TFormatCase {
  TPixelFormat Format;
  Integer Bpp;
  DWORD Compression;  // as written
};

// Fills every pixel of B with pseudo-random raw values of its depth.
void FillRandom(TBitmap& B, unsigned Seed) {
  std::mt19937 Rng(Seed);
  const TSurface& S = B.GetHandle()->Surface;
  for (Integer Y = 0; Y < S.Height; ++Y)
    for (Integer X = 0; X < S.Width; ++X) PutRawPixel(S, X, Y, Rng() & S.PixelMask());
}

}  // namespace

TEST(Bmp, RoundTripKeepsEveryPixelAtEveryDepth) {
  const TFormatCase Cases[] = {
      {pf1bit, 1, BI_RGB},         {pf4bit, 4, BI_RGB},   {pf8bit, 8, BI_RGB},   {pf15bit, 16, BI_RGB},
      {pf16bit, 16, BI_BITFIELDS}, {pf24bit, 24, BI_RGB}, {pf32bit, 32, BI_RGB},
  };
  for (const TFormatCase& C : Cases) {
    SCOPED_TRACE(C.Bpp);
    TBitmap B;
    B.SetPixelFormat(C.Format);
    B.SetSize(13, 7);  // odd width: row padding and partial bytes
    FillRandom(B, static_cast<unsigned>(C.Format));
    const std::vector<Byte> File = SaveBytes(B);
    // Bottom-up, BITMAPINFOHEADER, masks only for 5-6-5.
    ASSERT_GE(File.size(), 54u);
    EXPECT_EQ(File[0], 'B');
    EXPECT_EQ(File[14], 40);
    EXPECT_EQ(File[22], 7);  // height positive
    EXPECT_EQ(File[28], C.Bpp);
    EXPECT_EQ(File[30], C.Compression);

    TBitmap L;
    LoadBytes(L, File);
    ASSERT_EQ(L.GetPixelFormat(), C.Format);
    ASSERT_EQ(L.GetWidth(), 13);
    ASSERT_EQ(L.GetHeight(), 7);
    for (Integer Y = 0; Y < 7; ++Y)
      for (Integer X = 0; X < 13; ++X) ASSERT_EQ(RawAt(L, X, Y), RawAt(B, X, Y)) << X << "," << Y;
    if (C.Bpp <= 8) {
      EXPECT_EQ(L.GetHandle()->ColorTable, B.GetHandle()->ColorTable);
    }
    EXPECT_EQ(SaveBytes(L), File);
  }
}

TEST(Bmp, DeviceBitmapsSaveAs32BitDibs) {
  TBitmap B;
  B.SetSize(3, 2);
  EXPECT_EQ(B.GetPixelFormat(), pfDevice);
  B.GetCanvas()->SetPixels(1, 0, clRed);
  TBitmap L;
  LoadBytes(L, SaveBytes(B));
  EXPECT_EQ(L.GetPixelFormat(), pf32bit);
  EXPECT_EQ(L.GetHandleType(), bmDIB);
  EXPECT_EQ(PixelAt(L, 1, 0), 0x0000FFu);
  EXPECT_EQ(PixelAt(L, 0, 0), 0xFFFFFFu);
}

TEST(Bmp, ReadsCoreHeaderWithTripleColours) {
  // 3x2, 1 bit: colour 0 red, colour 1 blue; bottom row 1 0 1, top row 0 1 1.
  TBytes H;
  H.U32(12).U16(3).U16(2).U16(1).U16(1);
  TBytes Table;
  Table.Add({0, 0, 255, 255, 0, 0});
  TBytes Pixels;
  Pixels.Add({0xA0, 0, 0, 0, 0x60, 0, 0, 0});
  TBitmap B;
  LoadBytes(B, BmpFile(H, Table, Pixels));
  EXPECT_EQ(B.GetPixelFormat(), pf1bit);
  const COLORREF Red = 0x0000FF, Blue = 0xFF0000;
  const COLORREF Expect[2][3] = {{Red, Blue, Blue}, {Blue, Red, Blue}};
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 3; ++X) EXPECT_EQ(PixelAt(B, X, Y), Expect[Y][X]) << X << "," << Y;
}

TEST(Bmp, ReadsV4AndV5Headers) {
  // V4 (108 bytes), 16-bit 5-6-5 with the masks inside the header; 2x1: red, blue.
  {
    TBytes Pixels;
    Pixels.U16(0xF800).U16(0x001F);
    TBitmap B;
    LoadBytes(B,
              BmpFile(InfoHeader(108, 2, 1, 16, BI_BITFIELDS, 0, 0, {0xF800, 0x07E0, 0x001F}), {}, Pixels));
    EXPECT_EQ(B.GetPixelFormat(), pf16bit);
    EXPECT_EQ(PixelAt(B, 0, 0), 0x0000FFu);
    EXPECT_EQ(PixelAt(B, 1, 0), 0xFF0000u);
  }
  // V5 (124 bytes), 32-bit BI_RGB, top-down: the first row in the file is the top row.
  {
    TBytes Pixels;
    Pixels.U32(0x00FF0000).U32(0x0000FF00).U32(0x000000FF).U32(0x00FFFFFF);
    TBitmap B;
    LoadBytes(B, BmpFile(InfoHeader(124, 2, -2, 32, BI_RGB), {}, Pixels));
    EXPECT_EQ(B.GetPixelFormat(), pf32bit);
    EXPECT_EQ(PixelAt(B, 0, 0), 0x0000FFu);  // red on top
    EXPECT_EQ(PixelAt(B, 1, 1), 0xFFFFFFu);
    // Top-down rows lie at rising addresses.
    EXPECT_EQ(static_cast<Byte*>(B.GetScanLine(1)) - static_cast<Byte*>(B.GetScanLine(0)), 8);
  }
  // 40-byte header with BI_BITFIELDS masks after it, in an unusual order (blue in the low
  // byte's place of red): a custom format that still reads right.
  {
    TBytes Masks;
    Masks.U32(0x000000FF).U32(0x0000FF00).U32(0x00FF0000);
    TBytes Pixels;
    Pixels.U32(0x000000FF);
    TBitmap B;
    LoadBytes(B, BmpFile(InfoHeader(40, 1, 1, 32, BI_BITFIELDS), Masks, Pixels));
    EXPECT_EQ(B.GetPixelFormat(), pfCustom);
    EXPECT_EQ(PixelAt(B, 0, 0), 0x0000FFu);
    TBitmap L;
    LoadBytes(L, SaveBytes(B));  // written with its masks
    EXPECT_EQ(PixelAt(L, 0, 0), 0x0000FFu);
  }
}

TEST(Bmp, DecodesRunLengthEncodings) {
  TBytes Table;
  for (Integer I = 0; I < 16; ++I) Table.Add({I * 10, I * 10, I * 10, 0});
  struct TCase {
    const char* Name;
    Integer Bpp, W, H;
    DWORD Compression;
    std::vector<Byte> Data;
    std::vector<std::vector<Integer>> Top;  // expected indices, top row first
  };
  const TCase Cases[] = {
      // Run, end of line; absolute run of 3 (padded), end of line; delta, run; end of bitmap.
      {"RLE8",
       8,
       4,
       3,
       BI_RLE8,
       {4, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1},
       {{0, 0, 3, 3}, {2, 3, 1, 0}, {1, 1, 1, 1}}},
      // A run alternates its two nibbles; an absolute run of 3 nibbles takes 2 bytes.
      {"RLE4",
       4,
       5,
       2,
       BI_RLE4,
       {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x66, 0, 1},
       {{3, 4, 5, 6, 6}, {1, 2, 1, 2, 1}}},
      // Runs past the row's end are cut; a delta past the last row ends the picture.
      {"RLE8 overruns", 8, 2, 2, BI_RLE8, {9, 5, 0, 0, 0, 2, 0, 9, 7, 7}, {{0, 0}, {5, 5}}},
      // No end-of-bitmap marker: what was decoded stays.
      {"RLE8 unterminated", 8, 2, 2, BI_RLE8, {2, 4}, {{0, 0}, {4, 4}}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TBytes Pixels;
    Pixels.Add(C.Data);
    TBitmap B;
    LoadBytes(B,
              BmpFile(InfoHeader(40, C.W, C.H, C.Bpp, C.Compression, static_cast<DWORD>(C.Data.size()), 16),
                      Table, Pixels));
    for (Integer Y = 0; Y < C.H; ++Y)
      for (Integer X = 0; X < C.W; ++X)
        EXPECT_EQ(RawAt(B, X, Y),
                  static_cast<DWORD>(C.Top[static_cast<std::size_t>(Y)][static_cast<std::size_t>(X)]))
            << X << "," << Y;
    // Saved uncompressed.
    const std::vector<Byte> Saved = SaveBytes(B);
    EXPECT_EQ(Saved[30], BI_RGB);
  }
}

TEST(Bmp, ResourceDataMayLackTheFileHeader) {
  TBytes Data = InfoHeader(40, 1, 1, 24, BI_RGB);
  Data.Add({0x10, 0x20, 0x30, 0});
  TMemoryStream S;
  S.WriteBuffer(Data.D.data(), static_cast<Integer>(Data.Size()));
  S.SetPosition(0);
  HBITMAP H = ReadBmp(&S, TBmpHeader::Optional);
  TBitmap B;
  B.SetHandle(H);
  EXPECT_EQ(PixelAt(B, 0, 0), RGB(0x30, 0x20, 0x10));
  EXPECT_EQ(S.GetPosition(), static_cast<Int64>(Data.Size()));
  // A file needs its header.
  S.SetPosition(0);
  EXPECT_THROW(ReadBmp(&S, TBmpHeader::Required), EInvalidGraphic);
}

TEST(Bmp, LoadingLeavesThePositionAfterThePixels) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(2, 2);
  std::vector<Byte> Data = SaveBytes(B);
  const std::size_t Size = Data.size();
  Data.insert(Data.end(), {1, 2, 3});
  TMemoryStream S;
  S.WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
  S.SetPosition(0);
  TBitmap L;
  L.LoadFromStream(&S);
  EXPECT_EQ(S.GetPosition(), static_cast<Int64>(Size));
}

TEST(Bmp, EmptyStreamGivesEmptyBitmapAndEmptyBitmapWritesNothing) {
  TBitmap B;
  B.SetSize(4, 4);
  LoadBytes(B, {});
  EXPECT_TRUE(B.Empty());
  EXPECT_TRUE(SaveBytes(B).empty());
}

// ---- Malformed files ----

namespace {

struct TBadBmp {
  const char* Name;
  std::vector<Byte> Data;
};

std::vector<TBadBmp> BadBmps() {
  TBytes Gray;
  for (Integer I = 0; I < 256; ++I) Gray.Add({I, I, I, 0});
  TBytes Pixels4x4;
  Pixels4x4.Zeros(48);
  std::vector<TBadBmp> Out;
  auto Add = [&Out](const char* Name, std::vector<Byte> Data) { Out.push_back({Name, std::move(Data)}); };

  std::vector<Byte> Truncated = BmpFile(InfoHeader(40, 4, 4, 24, BI_RGB), {}, Pixels4x4);
  Truncated.resize(Truncated.size() - 10);
  Add("truncated_pixels", Truncated);
  std::vector<Byte> ShortHeader = BmpFile(InfoHeader(40, 4, 4, 24, BI_RGB), {}, Pixels4x4);
  ShortHeader.resize(30);
  Add("truncated_header", ShortHeader);
  Add("huge_dimensions", BmpFile(InfoHeader(40, 0x7FFFFFFF, 0x7FFFFFFF, 24, BI_RGB), {}, Pixels4x4));
  Add("huge_area", BmpFile(InfoHeader(40, 65536, 65536, 32, BI_RGB), {}, Pixels4x4));
  Add("large_without_pixels", BmpFile(InfoHeader(40, 10000, 10000, 24, BI_RGB), {}, Pixels4x4));
  Add("huge_top_down", BmpFile(InfoHeader(40, 30000, -30000, 32, BI_RGB), {}, Pixels4x4));
  {
    TBytes F = FileHeader(102, 5000);  // pixels beyond the end
    F.Add(InfoHeader(40, 4, 4, 24, BI_RGB).D).Add(Pixels4x4.D);
    Add("offset_beyond_end", F.D);
  }
  {
    TBytes F = FileHeader(102, 20);  // pixels inside the header
    F.Add(InfoHeader(40, 4, 4, 24, BI_RGB).D).Add(Pixels4x4.D);
    Add("offset_inside_header", F.D);
  }
  {
    TBytes F = FileHeader(0, 0);  // no offset: the table runs past the end
    F.Add(InfoHeader(40, 4, 4, 8, BI_RGB, 0, 0xFFFFFFFF).D).Add(Pixels4x4.D);
    Add("huge_colour_count", F.D);
  }
  Add("no_colour_table", BmpFile(InfoHeader(40, 4, 4, 8, BI_RGB), {}, Pixels4x4));
  {
    TBytes H;
    H.U32(13).Zeros(9);
    Add("header_size_13", BmpFile(H, {}, Pixels4x4));
  }
  {
    TBytes H = InfoHeader(124, 4, 4, 24, BI_RGB);
    H.D[0] = 200;  // a header larger than any version
    Add("header_size_200", BmpFile(H, {}, Pixels4x4));
  }
  Add("bit_count_3", BmpFile(InfoHeader(40, 4, 4, 3, BI_RGB), {}, Pixels4x4));
  Add("bit_count_0", BmpFile(InfoHeader(40, 4, 4, 0, BI_RGB), {}, Pixels4x4));
  Add("zero_width", BmpFile(InfoHeader(40, 0, 4, 24, BI_RGB), {}, Pixels4x4));
  Add("negative_width", BmpFile(InfoHeader(40, -4, 4, 24, BI_RGB), {}, Pixels4x4));
  Add("zero_height", BmpFile(InfoHeader(40, 4, 0, 24, BI_RGB), {}, Pixels4x4));
  Add("min_height", BmpFile(InfoHeader(40, 4, static_cast<Integer>(0x80000000), 24, BI_RGB), {}, Pixels4x4));
  Add("jpeg_compression", BmpFile(InfoHeader(40, 4, 4, 24, BI_JPEG), {}, Pixels4x4));
  Add("rle8_at_4_bits", BmpFile(InfoHeader(40, 4, 4, 4, BI_RLE8, 48), Gray, Pixels4x4));
  Add("rle8_top_down", BmpFile(InfoHeader(40, 4, -4, 8, BI_RLE8, 48), Gray, Pixels4x4));
  {
    TBytes Rle;
    Rle.Add({0, 200, 1, 2, 3});  // an absolute run of 200 with 3 bytes left
    Add("rle8_absolute_past_end", BmpFile(InfoHeader(40, 4, 4, 8, BI_RLE8, 5), Gray, Rle));
  }
  {
    TBytes Rle;
    Rle.Add({1, 1, 0, 2, 5});  // a delta without its second byte
    Add("rle8_delta_past_end", BmpFile(InfoHeader(40, 4, 4, 8, BI_RLE8, 5), Gray, Rle));
  }
  {
    TBytes Rle;
    Rle.Add({4, 1, 0, 1});
    Add("rle8_size_past_end", BmpFile(InfoHeader(40, 4, 4, 8, BI_RLE8, 4000), Gray, Rle));
  }
  {
    TBytes Masks;
    Masks.U32(0xF800).U32(0).U32(0x1F);
    Add("bitfields_zero_mask", BmpFile(InfoHeader(40, 4, 4, 16, BI_BITFIELDS), Masks, Pixels4x4));
  }
  {
    TBytes Masks;
    Masks.U32(0xF80000).U32(0x7E0).U32(0x1F);
    Add("bitfields_16_wide_mask", BmpFile(InfoHeader(40, 4, 4, 16, BI_BITFIELDS), Masks, Pixels4x4));
  }
  Add("bitfields_at_24_bits", BmpFile(InfoHeader(40, 4, 4, 24, BI_BITFIELDS), {}, Pixels4x4));
  {
    TBytes H;
    H.U32(12).U16(4).U16(4).U16(1).U16(32);
    Add("core_32_bits", BmpFile(H, {}, Pixels4x4));
  }
  {
    std::vector<Byte> NotBm = BmpFile(InfoHeader(40, 4, 4, 24, BI_RGB), {}, Pixels4x4);
    NotBm[0] = 'X';
    Add("no_signature", NotBm);
  }
  Add("signature_only", {'B', 'M'});
  return Out;
}

const std::string BmpDataDir = std::string(TILVAROK_TEST_DATA) + "/bmp";

}  // namespace

TEST(Bmp, MalformedFilesRaiseAndLeaveTheBitmapAlone) {
  for (const TBadBmp& Bad : BadBmps()) {
    SCOPED_TRACE(Bad.Name);
    TBitmap B;
    B.SetSize(2, 3);
    B.GetCanvas()->SetPixels(0, 0, clRed);
    ExpectError<EInvalidGraphic>([&] { LoadBytes(B, Bad.Data); }, "Bitmap image is not valid");
    EXPECT_EQ(B.GetWidth(), 2);
    EXPECT_EQ(B.GetHeight(), 3);
    EXPECT_EQ(PixelAt(B, 0, 0), 0x0000FFu);
  }
}

// Every malformed input kept under tests/data/bmp still raises.
TEST(Bmp, RegressionFilesRaise) {
  Integer Count = 0;
  for (const auto& Entry : std::filesystem::directory_iterator(BmpDataDir)) {
    SCOPED_TRACE(Entry.path().string());
    TBitmap B;
    EXPECT_THROW(B.LoadFromFile(Entry.path().string()), EInvalidGraphic);
    ++Count;
  }
  EXPECT_GE(Count, static_cast<Integer>(BadBmps().size()));
}

// Writes the table above into tests/data/bmp (run with --gtest_also_run_disabled_tests).
TEST(Bmp, DISABLED_WriteRegressionFiles) {
  std::filesystem::create_directories(BmpDataDir);
  for (const TBadBmp& Bad : BadBmps()) {
    std::ofstream F(BmpDataDir + "/" + Bad.Name + ".bmp", std::ios::binary);
    F.write(reinterpret_cast<const char*>(Bad.Data.data()), static_cast<std::streamsize>(Bad.Data.size()));
  }
}
