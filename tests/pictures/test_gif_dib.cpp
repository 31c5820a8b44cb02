// The GIF unit's shared routines: row sizes, stream sub-blocks and the DIB reader and writer.
#include <gtest/gtest.h>

#include <cstring>

#include "pictures/GIFImageDIB.h"
#include "platform/system/LastError.h"
#include "tests/platform/classes/ClassesTestUtil.h"

namespace {
std::vector<Byte> StreamBytes(TMemoryStream& S) {
  const Byte* P = static_cast<const Byte*>(S.GetMemory());
  return std::vector<Byte>(P, P + S.GetSize());
}

void Fill(TMemoryStream& S, const std::vector<Byte>& Data) {
  S.WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
  S.SetPosition(0);
}

HPALETTE MakePalette(std::initializer_list<COLORREF> Colors) {
  LOGPALETTE Pal;
  Pal.palVersion = 0x300;
  Pal.palNumEntries = static_cast<WORD>(Colors.size());
  Integer I = 0;
  for (COLORREF C : Colors) Pal.palPalEntry[I++] = {GetRValue(C), GetGValue(C), GetBValue(C), 0};
  return CreatePalette(&Pal);
}
}  // namespace

TEST(GIFRoutines, RowSizesAndColourBits) {
  EXPECT_EQ(AlignedRowBytes(3, 8, 32), 4u);
  EXPECT_EQ(AlignedRowBytes(3, 24, 32), 12u);
  EXPECT_EQ(AlignedRowBytes(1, 1, 32), 4u);
  EXPECT_EQ(AlignedRowBytes(32, 1, 32), 4u);
  EXPECT_EQ(AlignedRowBytes(33, 1, 32), 8u);
  EXPECT_EQ(AlignedRowBytes(0, 8, 32), 0u);
  const Integer Expected[][2] = {{0, 0}, {1, 1}, {2, 1},   {3, 2},   {4, 2},  {5, 3},
                                 {8, 3}, {9, 4}, {128, 7}, {129, 8}, {256, 8}};
  for (const auto& [Colors, Bits] : Expected) EXPECT_EQ(BitsForColorCount(Colors), Bits) << Colors;
}

TEST(GIFRoutines, SubBlockStringsSplitAt255AndReadBackOnePerBlock) {
  TStringList L;
  L.Add("ab");
  L.Add("");
  TMemoryStream S;
  WriteSubBlockStrings(&S, &L);
  EXPECT_EQ(StreamBytes(S), (std::vector<Byte>{2, 0x61, 0x62, 0}));

  // 300 bytes go as 255 + 45; reading them back gives two strings.
  TStringList Long;
  Long.Add(std::string(300, 'x'));
  TMemoryStream S2;
  WriteSubBlockStrings(&S2, &Long);
  const std::vector<Byte> B = StreamBytes(S2);
  ASSERT_EQ(B.size(), 1u + 255 + 1 + 45 + 1);
  EXPECT_EQ(B[0], 255);
  EXPECT_EQ(B[256], 45);
  EXPECT_EQ(B.back(), 0);
  S2.SetPosition(0);
  TStringList Back;
  Back.Add("old");
  ReadSubBlockStrings(&S2, &Back);
  ASSERT_EQ(Back.GetCount(), 2);
  EXPECT_EQ(Back.GetStrings(0), std::string(255, 'x'));
  EXPECT_EQ(Back.GetStrings(1), std::string(45, 'x'));
  EXPECT_EQ(S2.GetPosition(), S2.GetSize());
}

TEST(GIFRoutines, SubBlockReadingCutsAtZeroEndsQuietlyAndFailsOnShortBlocks) {
  TMemoryStream S;
  Fill(S, {3, 'a', 0, 'b', 1, 'c'});  // no terminator: the end of the stream closes the list
  TStringList L;
  ReadSubBlockStrings(&S, &L);
  ASSERT_EQ(L.GetCount(), 2);
  EXPECT_EQ(L.GetStrings(0), "a");
  EXPECT_EQ(L.GetStrings(1), "c");

  TMemoryStream Short;
  Fill(Short, {5, 'a', 'b'});
  try {
    ReadSubBlockStrings(&Short, &L);
    FAIL();
  } catch (const GIFException& E) {
    EXPECT_EQ(E.GetMessage(), "Premature end of data");
  }
  Byte Buf[4];
  TMemoryStream Two;
  Fill(Two, {1, 2});
  EXPECT_THROW(ReadExact(&Two, Buf, 3), GIFException);
  EXPECT_EQ(ReadStreamByte(&Two), 0);  // at the end
}

TEST(GIFRoutines, CheckGDIResultPassesValuesAndReportsFailures) {
  EXPECT_EQ(CheckGDIResult(7), 7);
  SetLastError(0);
  try {
    CheckGDIResult(0);
    FAIL();
  } catch (const EOutOfResources& E) {
    EXPECT_EQ(E.GetMessage(), "Out of system resources");
  }
  SetLastError(ERROR_ACCESS_DENIED);
  try {
    CheckGDIResult(0);
    FAIL();
  } catch (const EOutOfResources& E) {
    EXPECT_NE(E.GetMessage(), "Out of system resources");
    EXPECT_FALSE(E.GetMessage().empty());
  }
  SetLastError(0);
}

TEST(GIFRoutines, ReaderConvertsTheCallersBitmap) {
  TBitmap B;
  B.SetPixelFormat(pf8bit);
  B.SetSize(3, 2);
  B.GetCanvas()->GetPixels(1, 1);
  TDIBReader R(&B, pf24bit);
  EXPECT_EQ(B.GetPixelFormat(), pf24bit);
  EXPECT_EQ(R.RowAddress(1), B.GetScanLine(1));
  EXPECT_THROW(R.RowAddress(2), EInvalidGraphicOperation);
}

TEST(GIFRoutines, WriterRejectsFormatsAndSizes) {
  TBitmap B;
  struct Case {
    TPixelFormat Format;
    Integer W, H;
    const char* Message;
  };
  const Case Cases[] = {{pf32bit, 4, 4, "Unsupported PixelFormat"},
                        {pf1bit, 4, 4, "Unsupported PixelFormat"},
                        {pf8bit, 0, 4, "Invalid image dimensions"},
                        {pf24bit, 4, 0, "Invalid image dimensions"}};
  for (const Case& C : Cases) {
    try {
      TDIBWriter W(&B, C.Format, C.W, C.H, nullptr);
      ADD_FAILURE() << C.Message;
    } catch (const GIFException& E) {
      EXPECT_EQ(E.GetMessage(), C.Message);
    }
  }
  EXPECT_TRUE(B.Empty());
}

TEST(GIFRoutines, EightBitWriterStoresRowsBottomUpWithThePalette) {
  TBitmap B;
  B.SetSize(2, 2);
  HPALETTE Pal = MakePalette({0x0000FF, 0x00FF00, 0xFF0000});
  {
    TDIBWriter W(&B, pf8bit, 10, 5, Pal);
    Byte* Row0 = static_cast<Byte*>(W.RowAddress(0));
    Byte* Row1 = static_cast<Byte*>(W.RowAddress(1));
    Byte* Row4 = static_cast<Byte*>(W.RowAddress(4));
    EXPECT_EQ(Row0 - Row1, 12);  // rows of 12 bytes, row 0 last in memory
    EXPECT_EQ(Row0 - Row4, 48);
    EXPECT_THROW(W.RowAddress(5), EInvalidGraphicOperation);
    EXPECT_THROW(W.RowAddress(-1), EInvalidGraphicOperation);
    for (Integer Y = 0; Y < 5; ++Y) std::memset(W.RowAddress(Y), Y % 3, 10);
    Row0[9] = 2;
    EXPECT_EQ(B.GetWidth(), 2);  // untouched until the writer goes
  }
  DeleteObject(Pal);
  ASSERT_EQ(B.GetWidth(), 10);
  ASSERT_EQ(B.GetHeight(), 5);
  EXPECT_EQ(B.GetPixelFormat(), pf8bit);
  EXPECT_EQ(PixelAt(B, 0, 0), 0x0000FFu);
  EXPECT_EQ(PixelAt(B, 9, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(B, 3, 1), 0x00FF00u);
  EXPECT_EQ(PixelAt(B, 3, 2), 0xFF0000u);
  EXPECT_EQ(PixelAt(B, 3, 4), 0x00FF00u);
}

TEST(GIFRoutines, TwentyFourBitWriterAndAnUnusedWriter) {
  TBitmap B;
  {
    TDIBWriter W(&B, pf24bit, 3, 2, nullptr);
    Byte* Row1 = static_cast<Byte*>(W.RowAddress(1));
    EXPECT_EQ(static_cast<Byte*>(W.RowAddress(0)) - Row1, 12);
    Row1[0] = 0x10;  // blue
    Row1[1] = 0x20;
    Row1[2] = 0x30;
  }
  EXPECT_EQ(B.GetPixelFormat(), pf24bit);
  EXPECT_EQ(PixelAt(B, 0, 1), 0x102030u);
  EXPECT_EQ(PixelAt(B, 0, 0), 0u);  // rows never written are black, not leftover memory

  // A writer whose rows were never asked for leaves the bitmap as it was.
  TBitmap Kept;
  Kept.SetSize(4, 4);
  { TDIBWriter W(&Kept, pf8bit, 8, 8, nullptr); }
  EXPECT_EQ(Kept.GetWidth(), 4);
}

TEST(GIFRoutines, WriterOfAnImpossibleSizeFailsAndHoldsNothing) {
  TBitmap B;
  B.SetSize(1, 1);
  {
    TDIBWriter W(&B, pf24bit, 0x7FFFFFFF, 0x7FFFFFFF, nullptr);
    try {
      W.RowAddress(0);
      FAIL();
    } catch (const EOutOfMemory& E) {
      EXPECT_EQ(E.GetMessage(), "Failed to allocate memory for GIF DIB");
    }
  }
  EXPECT_EQ(B.GetWidth(), 1);
}
