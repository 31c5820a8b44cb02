// The imaging bitmap's storage: row lengths, the choice between memory block, chunks and
// temporary file, row addresses in each, moving between storages and failed allocations.
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>

#include "BitmapTestSupport.h"
#include "imaging/core/iebitmap.h"
#include "platform/classes/Bitmap.h"
#include "platform/gdi/DeviceContext.h"

namespace {

constexpr Int64 LargeSize = 1 << 20;  // above the forced thresholds below

TEST(IEBitmapStorage, RowLengthFollowsWidthBitsAndAlignment) {
  struct TCase {
    Integer Width;
    TIEPixelFormat Format;
    Integer Alignment;
    Int64 RowLen;
  } Cases[] = {
      {1, ie1g, 32, 4},    {33, ie1g, 32, 8},    {1, ie24RGB, 32, 4},  {5, ie24RGB, 32, 16},
      {5, ie24RGB, 8, 15}, {5, ie24RGB, 16, 16}, {3, ieRGB48, 32, 20}, {7, ie8g, 8, 7},
  };
  for (const TCase& C : Cases) {
    TIEBitmap B;
    B.SetLocation(ieMemory);  // only memory takes another alignment
    B.SetBitAlignment(C.Alignment);
    ASSERT_TRUE(B.Allocate(C.Width, 2, C.Format));
    EXPECT_EQ(B.GetRowLen(), C.RowLen) << C.Width << " px, format " << int(C.Format) << ", " << C.Alignment;
  }
  // Width x bits past 32 bits: the length is exact, not wrapped.
  EXPECT_EQ(IEBitmapRowLen(0x40000000, 48, 32), Int64(0x40000000) * 6);
}

TEST(IEBitmapStorage, RowLongerThanTwoGigabytesIsRefused) {
  TIEBitmap B;
  EXPECT_FALSE(B.Allocate(0x7FFFFFFF, 1, ie24RGB));
  EXPECT_TRUE(B.IsEmpty());
  EXPECT_EQ(B.GetWidth(), 0);
  EXPECT_EQ(B.GetRowLen(), 0);
}

TEST(IEBitmapStorage, SizeWithoutPixelsIsRefused) {
  TIEBitmap B;
  EXPECT_FALSE(B.Allocate(0, 10, ie24RGB));
  EXPECT_EQ(B.GetWidth(), 0);
  EXPECT_EQ(B.GetHeight(), 0);
  EXPECT_FALSE(B.Allocate(10, 10, ieNull));
  EXPECT_TRUE(B.IsEmpty());
}

TEST(IEBitmapStorage, MemoryBlockIsBottomUpAndAligned) {
  TIEBitmap B;
  ASSERT_TRUE(B.Allocate(10, 6, ie24RGB));
  EXPECT_EQ(B.GetLocation(), ieMemory);  // asked for a file, too small for one
  Byte* Last = static_cast<Byte*>(B.GetScanline(5));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(Last) % 64, 0u);
  EXPECT_EQ(static_cast<Byte*>(B.GetScanline(0)), Last + B.GetRowLen() * 5);
  EXPECT_EQ(B.GetScanline(0), B.GetScanline(0));
}

TEST(IEBitmapStorage, ThresholdIsAvailableMemoryUnlessOverridden) {
  TIEBitmap Derived;
  const Int64 Available = IEGetMemorySize(true);
  ASSERT_GT(Available, 0);
  // Available memory moves while the test runs: a tenth either way.
  EXPECT_NEAR(static_cast<double>(Derived.GetMinFileSize()), Available / 1.3, Available / 13.0);
  EXPECT_LE(Derived.GetMinFileSize(), static_cast<Int64>(IEGetMemorySize(false) / 1.3));
  TMinFileSizeGuard Override(12345);
  EXPECT_EQ(TIEBitmap().GetMinFileSize(), 12345);
}

TEST(IEBitmapStorage, LargePictureGoesToTemporaryFileWithOneRowAtATime) {
  TTempFolderGuard Folder;
  TMinFileSizeGuard Threshold(1000);
  {
    TIEBitmap B;
    B.SetLocation(ieMemory);
    ASSERT_TRUE(B.Allocate(100, 20, ie24RGB));  // 6000 bytes
    EXPECT_EQ(B.GetLocation(), ieFile);
    const std::string& Name = B.GetFileBuffer()->GetFileName();
    EXPECT_TRUE(std::regex_match(Name, std::regex(".*/IMG-[0-9A-F]{8}\\.tmp"))) << Name;
    EXPECT_TRUE(Folder.Files().empty());  // the name goes at once; the data lives with the handle
    WritePattern(B);
    EXPECT_TRUE(HasPattern(B, B.GetRowLen()));
    // Each call maps the row anew: the previous address is released.
    void* First = B.GetScanline(0);
    static_cast<Byte*>(First)[0] = 0xEE;
    B.GetScanline(1);
    EXPECT_EQ(static_cast<Byte*>(B.GetScanline(0))[0], 0xEE);
    EXPECT_EQ(B.GetFileBuffer()->GetViewCount(), 1);
  }
  EXPECT_TRUE(Folder.Files().empty());
}

TEST(IEBitmapStorage, GetRowKeepsSeveralFileRowsValid) {
  TTempFolderGuard Folder;
  TMinFileSizeGuard Threshold(0);
  TIEBitmap B(8, 4, ie8g);
  ASSERT_EQ(B.GetLocation(), ieFile);
  B.Fill(0);
  Byte* Row1 = static_cast<Byte*>(B.GetRow(1));
  Byte* Row2 = static_cast<Byte*>(B.GetRow(2));
  Row1[0] = 11;
  Row2[0] = 22;
  B.GetScanline(3);  // does not touch the extra views
  Row1[1] = 12;
  B.FreeRow(1);
  B.FreeRow(2);
  EXPECT_EQ(B.GetPixel8(0, 1), 11);
  EXPECT_EQ(B.GetPixel8(1, 1), 12);
  EXPECT_EQ(B.GetPixel8(0, 2), 22);
}

TEST(IEBitmapStorage, ReadOnlyAccessDoesNotWriteRowsBack) {
  TTempFolderGuard Folder;
  TMinFileSizeGuard Threshold(0);
  TIEBitmap B(8, 2, ie8g);
  B.Fill(5);
  B.SetAccess(iedRead);
  static_cast<Byte*>(B.GetScanline(0))[0] = 99;
  B.GetScanline(1);
  B.SetAccess(iedRead | iedWrite);
  EXPECT_EQ(B.GetPixel8(0, 0), 5);
}

TEST(IEBitmapStorage, ChunksHoldThePictureWhenNoSingleBlockCanBeHad) {
  const Integer W = 100, H = 10;
  const UInt64 Size = 300 * H;
  TAllocationFailureGuard Fail([&](UInt64 Bytes) { return Bytes >= Size; });
  TIEBitmap B;
  ASSERT_TRUE(B.Allocate(W, H, ie24RGB));
  EXPECT_EQ(B.GetLocation(), ieMemory);
  EXPECT_EQ(B.GetChunkCount(), 4);
  EXPECT_EQ(B.GetRowsPerChunk(), 3);
  // Rows run top-down inside a chunk.
  EXPECT_EQ(static_cast<Byte*>(B.GetScanline(1)), static_cast<Byte*>(B.GetScanline(0)) + B.GetRowLen());
  WritePattern(B);
  EXPECT_TRUE(HasPattern(B, B.GetRowLen()));
  // A copy of a chunked picture holds the same rows.
  TIEBitmap Copy;
  Copy.Assign(&B);
  EXPECT_TRUE(HasPattern(Copy, Copy.GetRowLen()));
}

TEST(IEBitmapStorage, ChunksBelowTenMegabytesAreNotSplitFurther) {
  // Four chunks cannot be had either: eight would be under 10 MB each, so no chunks.
  TAllocationFailureGuard Fail([](UInt64 Bytes) { return Bytes >= 500; });
  IEAllowFileFallback = false;
  TIEBitmap B;
  EXPECT_FALSE(B.Allocate(100, 100, ie24RGB));
  EXPECT_TRUE(B.IsEmpty());
  EXPECT_EQ(B.GetChunkCount(), 0);
}

TEST(IEBitmapStorage, FailedMemoryFallsBackToTemporaryFile) {
  TTempFolderGuard Folder;
  TAllocationFailureGuard Fail([](UInt64 Bytes) { return Bytes >= 1000; });
  IEAllowChunks = false;
  TIEBitmap B;
  ASSERT_TRUE(B.Allocate(100, 20, ie24RGB));
  EXPECT_EQ(B.GetLocation(), ieFile);
  EXPECT_TRUE(B.GetFileBuffer()->IsAllocated());
  WritePattern(B);
  EXPECT_TRUE(HasPattern(B, B.GetRowLen()));
}

TEST(IEBitmapStorage, FailedAllocationLeavesAnEmptyBitmap) {
  TIEBitmap B(4, 4, ie8p);
  TAllocationFailureGuard Fail([](UInt64 Bytes) { return Bytes >= 1000; });
  IEAllowChunks = false;
  IEAllowFileFallback = false;
  EXPECT_FALSE(B.Allocate(100, 20, ie8p));
  EXPECT_TRUE(B.IsEmpty());
  EXPECT_EQ(B.GetWidth(), 0);
  EXPECT_EQ(B.GetRowLen(), 0);
  EXPECT_EQ(B.GetPaletteLen(), 0);
  EXPECT_EQ(B.GetScanline(0), nullptr);
}

TEST(IEBitmapStorage, SameAllocateKeepsPixelsUntilLocationChanges) {
  TIEBitmap B(4, 4, ie8g);
  B.Fill(77);
  ASSERT_TRUE(B.Allocate(4, 4, ie8g));
  EXPECT_EQ(B.GetPixel8(2, 2), 77);
  EXPECT_FALSE(B.GetNeedsAllocation());
  B.SetLocation(ieFile);  // too small: comes back to memory, pixels kept
  EXPECT_EQ(B.GetLocation(), ieMemory);
  EXPECT_EQ(B.GetPixel8(2, 2), 77);
  EXPECT_TRUE(B.GetNeedsAllocation());
}

TEST(IEBitmapStorage, SetLocationMovesPixelsPaletteAndAlphaBetweenStorages) {
  TTempFolderGuard Folder;
  TIEBitmap B(30, 7, ie8p);
  WritePattern(B);
  B.SetPaletteColor(3, TIERGBTriple{1, 2, 3});
  B.SetAlpha(1, 1, 9);
  B.SetMinFileSize(0);
  B.SetLocation(ieFile);
  EXPECT_EQ(B.GetLocation(), ieFile);
  EXPECT_TRUE(HasPattern(B, 30));
  B.SetMinFileSize(LargeSize);
  B.SetLocation(ieMemory);
  EXPECT_EQ(B.GetLocation(), ieMemory);
  EXPECT_TRUE(HasPattern(B, 30));
  TIERGBTriple C;
  B.GetPaletteColor(3, C);
  EXPECT_EQ(C, (TIERGBTriple{1, 2, 3}));
  EXPECT_EQ(B.GetAlpha(1, 1), 9);
  EXPECT_TRUE(Folder.Files().empty());
}

TEST(IEBitmapStorage, SetLocationKeepsLargePictureInItsFile) {
  TTempFolderGuard Folder;
  TMinFileSizeGuard Threshold(100);
  TIEBitmap B(20, 20, ie8g);
  ASSERT_EQ(B.GetLocation(), ieFile);
  WritePattern(B);
  const std::string File = B.GetFileBuffer()->GetFileName();
  B.SetLocation(ieMemory);
  EXPECT_EQ(B.GetLocation(), ieFile);
  EXPECT_EQ(B.GetFileBuffer()->GetFileName(), File);  // the same file: nothing copied
  EXPECT_TRUE(HasPattern(B, 20));
}

TEST(IEBitmapStorage, MoveDataToLeavesTheSourceEmptyButUsable) {
  TIEBitmap Source(6, 3, ie24RGB);
  WritePattern(Source);
  Source.SetAlpha(0, 0, 1);
  TIEBitmap Dest(2, 2, ie8g);
  Source.MoveDataTo(&Dest);
  EXPECT_TRUE(Source.IsEmpty());
  EXPECT_EQ(Source.GetPixelFormat(), ieNull);
  EXPECT_FALSE(Source.HasAlphaChannel());
  EXPECT_EQ(Dest.GetWidth(), 6);
  EXPECT_EQ(Dest.GetPixelFormat(), ie24RGB);
  EXPECT_TRUE(HasPattern(Dest, 18));
  EXPECT_EQ(Dest.GetAlpha(0, 0), 1);
  ASSERT_TRUE(Source.Allocate(3, 3, ie8g));
  Source.Fill(4);
  EXPECT_EQ(Source.GetPixel8(2, 2), 4);
}

TEST(IEBitmapStorage, PlatformBitmapHoldsOnlyItsOwnFormats) {
  TIEBitmap B;
  B.SetLocation(ieTBitmap);
  ASSERT_TRUE(B.Allocate(5, 4, ie16g));
  EXPECT_EQ(B.GetPixelFormat(), ie8g);
  EXPECT_EQ(B.GetRowLen(), 8);
  EXPECT_EQ(B.GetScanline(0), B.GetTBitmap()->GetScanLine(0));
  EXPECT_FALSE(B.Allocate(5, 4, ie32f));
  EXPECT_TRUE(B.IsEmpty());
  ASSERT_TRUE(B.Allocate(5, 4, ie24RGB));
  EXPECT_EQ(B.GetTBitmap()->GetPixelFormat(), pf24bit);
  EXPECT_EQ(B.GetLocation(), ieTBitmap);
}

TEST(IEBitmapStorage, EncapsulatedPlatformBitmapStaysTheCallers) {
  TBitmap Platform;
  Platform.SetPixelFormat(pf24bit);
  Platform.SetSize(7, 3);
  {
    TIEBitmap B;
    B.EncapsulateTBitmap(&Platform, true);
    EXPECT_EQ(B.GetLocation(), ieTBitmap);
    EXPECT_EQ(B.GetWidth(), 7);
    EXPECT_EQ(B.GetPixelFormat(), ie24RGB);
    B.Fill(0x0000FF);
    // The bitmap follows the platform bitmap's size.
    Platform.SetSize(9, 3);
    EXPECT_EQ(B.GetWidth(), 9);
    EXPECT_EQ(B.GetScanline(0), Platform.GetScanLine(0));
  }
  EXPECT_EQ(static_cast<Byte*>(Platform.GetScanLine(0))[2], 255);  // red, still alive
}

TEST(IEBitmapStorage, SyncFromPlatformBitmapTellsGreyFromPalette) {
  TIEBitmap B;
  B.SetLocation(ieTBitmap);
  ASSERT_TRUE(B.Allocate(4, 4, ie8g));
  EXPECT_EQ(B.GetPixelFormat(), ie8g);
  ASSERT_TRUE(B.Allocate(4, 4, ie8p));
  B.SetPaletteColor(0, TIERGBTriple{0, 0, 200});
  EXPECT_EQ(B.GetPixelFormat(), ie8p);
  TIERGBTriple C;
  B.GetPaletteColor(0, C);
  EXPECT_EQ(C.rgbtRed, 200);
}

TEST(IEBitmapStorage, CanvasMovesThePictureIntoAnUntransformedPlatformBitmap) {
  TIEBitmap B(3, 2, ie24RGB);
  B.Fill(0x0000FF);
  TCanvas* Canvas = B.GetCanvas();
  ASSERT_NE(Canvas, nullptr);
  EXPECT_EQ(B.GetLocation(), ieTBitmap);
  EXPECT_EQ(B.GetPixel24(2, 1), (TIERGBTriple{0, 0, 255}));
  HDC DC = Canvas->GetHandle();
  SetGraphicsMode(DC, GM_ADVANCED);
  XFORM Shift;
  Shift.eDx = 5;
  SetWorldTransform(DC, &Shift);
  B.GetCanvas();
  XFORM Now;
  GetWorldTransform(DC, &Now);
  EXPECT_EQ(Now.eDx, 0);
}

}  // namespace
