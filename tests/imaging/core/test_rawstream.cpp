#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iefilebuffer.h"
#include "imaging/core/iestreams.h"
#include "platform/system/Streams.h"

namespace {

using TBytes = std::vector<Byte>;

// New bitmaps go to a temporary file (a size of 0) for one test.
class TFileStorageGuard {
 public:
  TFileStorageGuard() { IEMinFileSizeOverride = 0; }
  ~TFileStorageGuard() { IEMinFileSizeOverride = FOld; }
  TFileStorageGuard(const TFileStorageGuard&) = delete;
  TFileStorageGuard& operator=(const TFileStorageGuard&) = delete;

 private:
  Int64 FOld = IEMinFileSizeOverride;
};

// Every byte of every row, padding included, from a seed: rows stored exactly as held.
void PaintRows(TIEBitmap& Bitmap, Byte Seed) {
  for (Integer Y = 0; Y < Bitmap.GetHeight(); ++Y) {
    Byte* Row = static_cast<Byte*>(Bitmap.GetScanline(Y));
    for (Integer X = 0; X < Bitmap.GetRowLen(); ++X) Row[X] = static_cast<Byte>(Seed + Y * 16 + X);
  }
}

// Copies: a file-backed bitmap has one valid row address at a time.
std::vector<TBytes> Rows(TIEBitmap& Bitmap) {
  std::vector<TBytes> Result;
  for (Integer Y = 0; Y < Bitmap.GetHeight(); ++Y) {
    const Byte* Row = static_cast<const Byte*>(Bitmap.GetScanline(Y));
    Result.emplace_back(Row, Row + Bitmap.GetRowLen());
  }
  return Result;
}

TBytes SaveRaw(TIEBitmap& Bitmap) {
  TMemoryStream Stream;
  Bitmap.SaveRawToStream(nullptr, &Stream);
  const Byte* Data = static_cast<const Byte*>(Stream.GetMemory());
  return TBytes(Data, Data + Stream.GetSize());
}

bool LoadRaw(TIEBitmap& Bitmap, const TBytes& Bytes) {
  TIEMemStream Stream(Bytes.data(), static_cast<Int64>(Bytes.size()));
  return Bitmap.LoadRawFromStream(nullptr, &Stream);
}

void PutLE32(TBytes& Bytes, size_t Offset, Integer Value) {
  IEStoreLE32(Bytes.data() + Offset, static_cast<Cardinal>(Value));
}

// Where the fields of a stream without palette are.
constexpr size_t AtVersion = 12, AtPaletteLength = 16, AtWidth = 20, AtHeight = 24, AtPixelFormat = 28,
                 AtPaletteUsed = 30, AtBitAlignment = 71, HeaderSize = 75;

// A 2 x 2 grey picture that a refused stream must leave as it was.
struct TReader {
  TIEBitmap Bitmap{2, 2, ie8g};
  TReader() { PaintRows(Bitmap, 200); }
  bool Unchanged() {
    TIEBitmap Expected(2, 2, ie8g);
    PaintRows(Expected, 200);
    return Bitmap.GetPixelFormat() == ie8g && Bitmap.GetWidth() == 2 && Rows(Bitmap) == Rows(Expected);
  }
};

}  // namespace

TEST(RawBitmapStream, GoldenBytesOfA3x2Picture) {
  TIEBitmap Bitmap(3, 2, ie24RGB);
  PaintRows(Bitmap, 0x10);
  Bitmap.SetFull(true);
  Bitmap.SetPaletteUsed(16);
  Bitmap.SetRangeMin(1.5);
  Bitmap.SetRangeMax(-2.0);
  const Integer Offsets[4] = {1, -2, 3, 0x01020304};
  for (Integer I = 0; I < 4; ++I) Bitmap.SetChannelOffset(I, Offsets[I]);
  Bitmap.SetAdjustColors(true);
  Bitmap.SetContrast(7);

  const TBytes Golden = {
      'T',  'I',  'E',  'B',  'I',  'T',  'M',  'A',  'P',  'R',  'A',  'W',               // signature
      0,    0,    0,    0,                                                                 // version
      0,    0,    0,    0,                                                                 // palette entries
      3,    0,    0,    0,    2,    0,    0,    0,                                         // width, height
      5,    1,                                                                             // ie24RGB, full
      16,   0,    0,    0,                                                                 // palette used
      0,    0,    0,    0,    0,    0,    0xF8, 0x3F,                                      // range min 1.5
      0,    0,    0,    0,    0,    0,    0,    0xC0,                                      // range max -2.0
      1,    0,    0,    0,    0xFE, 0xFF, 0xFF, 0xFF, 3,    0,    0,    0,    4, 3, 2, 1,  // channel offsets
      1,                                                                                   // adjust colours
      7,    0,    0,    0,                                                                 // contrast
      32,   0,    0,    0,                                                                 // bit alignment
      0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B,  // row 0 (top), padded
      0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B,  // row 1
      0,                                                                       // no alpha channel
  };
  ASSERT_EQ(Golden.size(), 100u);
  EXPECT_EQ(SaveRaw(Bitmap), Golden);

  TBytes Memory(Golden.size(), 0xEE);
  Bitmap.SaveRawToStream(Memory.data(), nullptr);
  EXPECT_EQ(Memory, Golden) << "into memory: the same bytes";

  TIEBitmap Loaded;
  ASSERT_TRUE(Loaded.LoadRawFromStream(Golden.data(), nullptr));
  EXPECT_EQ(Rows(Loaded), Rows(Bitmap));
  EXPECT_TRUE(Loaded.GetFull());
  EXPECT_EQ(Loaded.GetPaletteUsed(), 16);
  EXPECT_EQ(Loaded.GetRangeMin(), 1.5);
  EXPECT_EQ(Loaded.GetRangeMax(), -2.0);
  for (Integer I = 0; I < 4; ++I) EXPECT_EQ(Loaded.GetChannelOffset(I), Offsets[I]);
  EXPECT_TRUE(Loaded.GetAdjustColors());
  EXPECT_EQ(Loaded.GetContrast(), 7);
}

TEST(RawBitmapStream, EveryPixelFormatRoundTripsInMemoryAndFileStorage) {
  for (bool FileBacked : {false, true}) {
    for (Integer F = ie1g; F < IEPixelFormatCount; ++F) {
      const TIEPixelFormat Format = static_cast<TIEPixelFormat>(F);
      SCOPED_TRACE(testing::Message() << "format " << F << (FileBacked ? " in files" : " in memory"));
      std::unique_ptr<TFileStorageGuard> Guard(FileBacked ? new TFileStorageGuard : nullptr);
      TIEBitmap Source(5, 3, Format);
      ASSERT_EQ(Source.GetLocation(), FileBacked ? ieFile : ieMemory);
      PaintRows(Source, static_cast<Byte>(F * 7));
      for (Integer I = 0; I < Source.GetPaletteLen(); ++I)
        Source.SetPaletteColor(
            I, {static_cast<Byte>(I), static_cast<Byte>(255 - I), static_cast<Byte>(I ^ 0x55)});
      const TBytes Bytes = SaveRaw(Source);
      EXPECT_EQ(Bytes.size(), HeaderSize + 3 * Source.GetPaletteLen() + 3 * Source.GetRowLen() + 1);

      TIEBitmap Loaded;
      ASSERT_TRUE(LoadRaw(Loaded, Bytes));
      EXPECT_EQ(Loaded.GetPixelFormat(), Format);
      EXPECT_EQ(Loaded.GetWidth(), 5);
      EXPECT_EQ(Loaded.GetHeight(), 3);
      EXPECT_EQ(Loaded.GetLocation(), FileBacked ? ieFile : ieMemory);
      EXPECT_EQ(Rows(Loaded), Rows(Source));
      EXPECT_EQ(Loaded.GetAccess(), iedRead | iedWrite);
      EXPECT_EQ(Source.GetAccess(), iedRead | iedWrite);
      ASSERT_EQ(Loaded.GetPaletteLen(), Source.GetPaletteLen());
      EXPECT_TRUE(std::equal(Source.GetPaletteBuffer(), Source.GetPaletteBuffer() + Source.GetPaletteLen(),
                             Loaded.GetPaletteBuffer()));
      EXPECT_FALSE(Loaded.HasAlphaChannel());
    }
  }
}

TEST(RawBitmapStream, An8pPictureKeepsAll256PaletteEntries) {
  TIEBitmap Source(2, 1, ie8p);
  for (Integer I = 0; I < 256; ++I)
    Source.SetPaletteColor(I, {static_cast<Byte>(I), static_cast<Byte>(I / 2), static_cast<Byte>(255 - I)});
  const TBytes Bytes = SaveRaw(Source);
  ASSERT_EQ(Bytes.size(), HeaderSize + 768 + 4 + 1);
  EXPECT_EQ(Bytes[AtPaletteLength], 0);
  EXPECT_EQ(Bytes[AtPaletteLength + 1], 1) << "256 entries";
  EXPECT_EQ(Bytes[20 + 3 * 200], 200) << "blue first";
  EXPECT_EQ(Bytes[20 + 3 * 200 + 2], 55) << "red last";
  TIEBitmap Loaded;
  ASSERT_TRUE(LoadRaw(Loaded, Bytes));
  for (Integer I = 0; I < 256; ++I) {
    TIERGBTriple Got, Want;
    Loaded.GetPaletteColor(I, Got);
    Source.GetPaletteColor(I, Want);
    ASSERT_EQ(Got, Want) << "entry " << I;
  }
}

TEST(RawBitmapStream, AnEmptyPictureIsRefused) {
  TIEBitmap Empty;
  const TBytes Bytes = SaveRaw(Empty);
  EXPECT_EQ(Bytes.size(), HeaderSize + 1);
  TReader Reader;
  EXPECT_FALSE(LoadRaw(Reader.Bitmap, Bytes));
  EXPECT_TRUE(Reader.Unchanged());
}

TEST(RawBitmapStream, HeaderAndVersionAreChecked) {
  TIEBitmap Source(2, 2, ie24RGB);
  PaintRows(Source, 1);
  const TBytes Good = SaveRaw(Source);
  for (size_t I = 0; I < 12; ++I) {
    TBytes Bytes = Good;
    Bytes[I] ^= 0x20;  // also the same letter in lower case
    TReader Reader;
    EXPECT_FALSE(LoadRaw(Reader.Bitmap, Bytes)) << "signature character " << I;
    EXPECT_TRUE(Reader.Unchanged());
  }
  TBytes Bytes = Good;
  PutLE32(Bytes, AtVersion, -1);
  TReader Reader;
  EXPECT_FALSE(LoadRaw(Reader.Bitmap, Bytes));
  EXPECT_TRUE(Reader.Unchanged());
  PutLE32(Bytes, AtVersion, 5);
  EXPECT_TRUE(LoadRaw(Reader.Bitmap, Bytes)) << "later versions are read";
  EXPECT_EQ(Rows(Reader.Bitmap), Rows(Source));
}

TEST(RawBitmapStream, TheAlphaChannelAndBothFullFlagsComeBack) {
  struct Case {
    bool PictureFull;
    bool AlphaFull;
  };
  for (const Case C : {Case{true, false}, Case{false, true}}) {
    SCOPED_TRACE(testing::Message() << C.PictureFull << C.AlphaFull);
    TIEBitmap Source(5, 2, ie24RGB);
    PaintRows(Source, 3);
    TIEBitmap* Alpha = Source.GetAlphaChannel();
    if (!C.AlphaFull) PaintRows(*Alpha, 90);
    Alpha->SetFull(C.AlphaFull);
    Source.SetFull(C.PictureFull);
    const TBytes Bytes = SaveRaw(Source);
    EXPECT_EQ(Bytes.size(), HeaderSize + 2 * 16 + 1 + 2 * 8 + 1);

    TIEBitmap Loaded;
    ASSERT_TRUE(LoadRaw(Loaded, Bytes));
    ASSERT_TRUE(Loaded.HasAlphaChannel());
    EXPECT_EQ(Rows(*Loaded.GetAlphaChannel()), Rows(*Alpha));
    EXPECT_EQ(Loaded.GetAlphaChannel()->GetFull(), C.AlphaFull);
    EXPECT_EQ(Loaded.GetFull(), C.PictureFull);
  }
}

TEST(RawBitmapStream, AStreamWithoutAlphaRemovesTheReadersAlphaChannel) {
  TIEBitmap Source(4, 4, ie24RGB);
  PaintRows(Source, 9);
  const TBytes Bytes = SaveRaw(Source);
  TIEBitmap Reader(4, 4, ie24RGB);  // same size and format: the allocation keeps the pixels
  Reader.GetAlphaChannel()->SetPixel8(0, 0, 7);
  ASSERT_TRUE(LoadRaw(Reader, Bytes));
  EXPECT_FALSE(Reader.HasAlphaChannel());
  EXPECT_EQ(Rows(Reader), Rows(Source));
}

TEST(RawBitmapStream, ByteAlignedRowsReadIntoMemoryButNotIntoAFile) {
  TIEBitmap Source(5, 2, ie24RGB);
  Source.SetBitAlignment(8);
  ASSERT_EQ(Source.GetRowLen(), 15);
  PaintRows(Source, 40);
  const TBytes Bytes = SaveRaw(Source);
  ASSERT_EQ(Bytes.size(), HeaderSize + 30 + 1);

  TIEBitmap InMemory(1, 1, ie8g);
  ASSERT_EQ(InMemory.GetLocation(), ieMemory);
  ASSERT_TRUE(LoadRaw(InMemory, Bytes));
  EXPECT_EQ(InMemory.GetBitAlignment(), 8);
  EXPECT_EQ(InMemory.GetRowLen(), 15);
  EXPECT_EQ(Rows(InMemory), Rows(Source));

  // A file keeps 32-bit rows: 16 bytes cannot be filled from rows of 15.
  TFileStorageGuard Guard;
  TReader Reader;
  ASSERT_EQ(Reader.Bitmap.GetLocation(), ieFile);
  EXPECT_FALSE(LoadRaw(Reader.Bitmap, Bytes));
  EXPECT_TRUE(Reader.Unchanged());
}

TEST(RawBitmapStream, ClaimsTheStreamCannotBackAreRefusedBeforeAllocating) {
  TIEBitmap Source(4, 3, ie24RGB);
  PaintRows(Source, 5);
  const TBytes Good = SaveRaw(Source);
  struct Case {
    const char* What;
    size_t Offset;
    Integer Value;
  };
  const Case Cases[] = {
      {"negative width", AtWidth, -4},
      {"width 0", AtWidth, 0},
      {"height 0", AtHeight, 0},
      {"2^31 - 1 rows", AtHeight, 0x7FFFFFFF},
      {"rows beyond the data", AtHeight, 4},
      {"a row beyond 32 bits", AtWidth, 0x40000000},
      {"a wider row than stored", AtWidth, 0x00010000},
      {"negative palette", AtPaletteLength, -1},
      {"257 palette entries", AtPaletteLength, 257},
      {"2^31 - 1 palette entries", AtPaletteLength, 0x7FFFFFFF},
      {"palette used 257", AtPaletteUsed, 257},
      {"palette used -1", AtPaletteUsed, -1},
      {"alignment 0", AtBitAlignment, 0},
      {"alignment 12", AtBitAlignment, 12},
      {"alignment -32", AtBitAlignment, -32},
      {"alignment 2^30", AtBitAlignment, 0x40000000},
  };
  for (const Case& C : Cases) {
    TBytes Bytes = Good;
    PutLE32(Bytes, C.Offset, C.Value);
    TReader Reader;
    EXPECT_FALSE(LoadRaw(Reader.Bitmap, Bytes)) << C.What;
    EXPECT_TRUE(Reader.Unchanged()) << C.What;
  }
  for (Byte Format : {Byte(ieNull), Byte(IEPixelFormatCount), Byte(255)}) {
    TBytes Bytes = Good;
    Bytes[AtPixelFormat] = Format;
    TReader Reader;
    EXPECT_FALSE(LoadRaw(Reader.Bitmap, Bytes)) << "format " << int(Format);
    EXPECT_TRUE(Reader.Unchanged());
  }
}

TEST(RawBitmapStream, NoAlphaChannelIsMadeForAlphaRowsThatAreMissing) {
  TIEBitmap Source(1 << 20, 1, ie1g);  // 128 KB of bits; an alpha channel of this size takes 1 MB
  TBytes Bytes = SaveRaw(Source);
  ASSERT_EQ(Bytes.back(), 0);
  Bytes.back() = 1;  // claims an alpha channel, then ends
  UInt64 Largest = 0;
  IEAllocationFailureHook = [&](UInt64 Size) {
    Largest = std::max(Largest, Size);
    return false;
  };
  TIEBitmap Reader;
  const bool Loaded = LoadRaw(Reader, Bytes);
  IEAllocationFailureHook = nullptr;
  EXPECT_FALSE(Loaded);
  EXPECT_LT(Largest, UInt64{1} << 20);
  EXPECT_TRUE(Reader.IsEmpty());
}

TEST(RawBitmapStream, AStreamEndingEarlyIsRefusedAndNeverLeavesHalfAPicture) {
  TIEBitmap Source(4, 3, ie24RGB);
  PaintRows(Source, 5);
  Source.GetAlphaChannel()->Fill(128);
  const TBytes Good = SaveRaw(Source);
  for (size_t Length = 0; Length < Good.size(); ++Length) {
    const TBytes Bytes(Good.begin(), Good.begin() + static_cast<std::ptrdiff_t>(Length));
    TReader Reader;
    EXPECT_FALSE(LoadRaw(Reader.Bitmap, Bytes)) << Length << " bytes";
    EXPECT_TRUE(Reader.Unchanged() || Reader.Bitmap.IsEmpty()) << Length << " bytes";
  }
}

TEST(RawBitmapStream, AStreamIsWrittenAtItsPositionAndKeepsWhatFollows) {
  TIEBitmap Source(3, 2, ie24RGB);
  PaintRows(Source, 0x10);
  Source.GetAlphaChannel()->Fill(77);
  const TBytes Raw = SaveRaw(Source);

  // A file stream moves to the new end when it is resized; the rows must still follow the header.
  std::string Pattern = (std::filesystem::temp_directory_path() / "tv-rawstream-XXXXXX").string();
  const int Fd = mkstemp(Pattern.data());
  ASSERT_GE(Fd, 0);
  {
    THandleStream File(Fd);
    File.WriteBuffer("0123456789", 10);
    File.SetPosition(2);
    Source.SaveRawToStream(nullptr, &File);
    EXPECT_EQ(File.GetPosition(), static_cast<Int64>(2 + Raw.size()));
    EXPECT_EQ(File.GetSize(), static_cast<Int64>(2 + Raw.size()));
    File.SetPosition(0);
    TBytes Back(2 + Raw.size());
    File.ReadBuffer(Back.data(), static_cast<Integer>(Back.size()));
    EXPECT_EQ(TBytes(Back.begin(), Back.begin() + 2), (TBytes{'0', '1'}));
    EXPECT_EQ(TBytes(Back.begin() + 2, Back.end()), Raw);
  }
  close(Fd);
  std::filesystem::remove(Pattern);

  // Inside a longer stream nothing beyond the picture changes.
  TMemoryStream Longer;
  const TBytes Tail(500, 0xAB);
  Longer.WriteBuffer(Tail.data(), 500);
  Longer.SetPosition(0);
  Source.SaveRawToStream(nullptr, &Longer);
  EXPECT_EQ(Longer.GetSize(), 500);
  EXPECT_EQ(static_cast<const Byte*>(Longer.GetMemory())[Raw.size()], 0xAB);
  Longer.SetPosition(0);
  TIEBitmap Loaded;
  ASSERT_TRUE(Loaded.LoadRawFromStream(nullptr, &Longer));
  EXPECT_EQ(Longer.GetPosition(), static_cast<Int64>(Raw.size()))
      << "the stream ends where the last field ends";
  EXPECT_EQ(Rows(*Loaded.GetAlphaChannel()), Rows(*Source.GetAlphaChannel()));
}
