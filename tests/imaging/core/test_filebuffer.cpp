// The temporary-file store: file names and their life, views and their write-back, exclusive
// creation, store-to-store copies and the tagged allocator.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <regex>

#include "BitmapTestSupport.h"
#include "imaging/core/iefilebuffer.h"
#include "platform/system/Exceptions.h"

namespace {

std::string ReadAll(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), {});
}

TEST(IEFileBuffer, AllocatingTwiceReplacesTheFileAndCloseRemovesIt) {
  TTempFolderGuard Folder;
  TIEFileBuffer Buffer;
  ASSERT_TRUE(Buffer.AllocateFile("IMG", true, 100));
  const std::string First = Buffer.GetFileName();
  EXPECT_TRUE(std::regex_match(First, std::regex(".*/IMG-[0-9A-F]{8}\\.tmp"))) << First;
  ASSERT_TRUE(Buffer.AllocateFile("IMG", true, 100));
  EXPECT_NE(Buffer.GetFileName(), First);
  // The system removes a temporary file's name when it is opened: nothing is ever left.
  EXPECT_TRUE(Folder.Files().empty());
  Buffer.Close();
  EXPECT_FALSE(Buffer.IsAllocated());
  EXPECT_TRUE(Folder.Files().empty());
}

TEST(IEFileBuffer, ViewsWriteBackOnlyWithTheWriteBit) {
  TTempFolderGuard Folder;
  TIEFileBuffer Buffer;
  ASSERT_TRUE(Buffer.AllocateFile("IMG", true, 16));
  Byte* WriteOnly = static_cast<Byte*>(Buffer.MapView(2, 4, 4));
  std::memcpy(WriteOnly, "ABCD", 4);
  Buffer.UnmapView(WriteOnly);

  Byte* ReadOnly = static_cast<Byte*>(Buffer.MapView(1, 4, 4));
  EXPECT_EQ(std::memcmp(ReadOnly, "ABCD", 4), 0);
  ReadOnly[0] = 'Z';
  EXPECT_EQ(Buffer.FindView(ReadOnly), 0);
  Buffer.UnmapView(ReadOnly);
  EXPECT_EQ(Buffer.FindView(ReadOnly), -1);
  Byte* Again = static_cast<Byte*>(Buffer.MapView(1, 0, 16));
  EXPECT_EQ(std::memcmp(Again, "\0\0\0\0ABCD\0", 9), 0);
}

TEST(IEFileBuffer, ViewsBeyondTwoGigabytesUseSixtyFourBitOffsets) {
  TTempFolderGuard Folder;
  TIEFileBuffer Buffer;
  const Int64 Far = Int64(5) << 30;
  ASSERT_TRUE(Buffer.AllocateFile("IMG", true, Far + 8));  // sparse
  Byte* View = static_cast<Byte*>(Buffer.MapView(3, Far, 8));
  std::memcpy(View, "far away", 8);
  Buffer.UnmapView(View);
  EXPECT_EQ(std::memcmp(Buffer.MapView(1, Far, 8), "far away", 8), 0);
  Byte* Near = static_cast<Byte*>(Buffer.MapView(1, Far - (Int64(1) << 32), 1));
  EXPECT_EQ(Near[0], 0);  // not the far bytes: no 32-bit wrap
}

TEST(IEFileBuffer, TemporaryFileIsCreatedExclusively) {
  TTempFolderGuard Folder;
  const std::string Taken = Folder.Folder() + "/IMG-00000001.tmp";
  std::ofstream(Taken) << "someone else's";
  try {
    TIETemporaryFileStream Stream(Taken);
    FAIL() << "an existing file was taken over";
  } catch (const EInOutError& E) {
    EXPECT_EQ(E.GetMessage(), "Unable to create " + Taken);
  }
  EXPECT_EQ(ReadAll(Taken), "someone else's");
}

TEST(IEFileBuffer, FolderThatCannotTakeFilesFailsTheAllocation) {
  TTempFolderGuard Folder;
  IETempFolder = Folder.Folder() + "/missing/";
  TIEFileBuffer Buffer;
  EXPECT_FALSE(Buffer.AllocateFile("IMG", true, 10));
  EXPECT_FALSE(Buffer.IsAllocated());
}

TEST(IEFileBuffer, CopyToMovesBytesAtThePositionAndEndsOpenViews) {
  TIEFileBuffer Source, Dest;
  ASSERT_TRUE(Source.AllocateFile("IMG", false, 3 << 20));
  ASSERT_TRUE(Dest.AllocateFile("IMG", false, 3 << 20));
  const Int64 Position = 100, Count = (2 << 20) + 5;  // more than one 1 MB step
  Byte* View = static_cast<Byte*>(Source.MapView(2, Position, Count));
  for (Int64 I = 0; I < Count; ++I) View[I] = static_cast<Byte>(I * 31);
  Source.CopyTo(&Dest, Position, Count);  // the pending view reaches the store first
  EXPECT_EQ(Source.GetViewCount(), 0);
  const Byte* Got = static_cast<const Byte*>(Dest.MapView(1, Position - 1, Count + 2));
  EXPECT_EQ(Got[0], 0);
  bool Same = true;
  for (Int64 I = 0; I < Count; ++I) Same = Same && Got[I + 1] == static_cast<Byte>(I * 31);
  EXPECT_TRUE(Same);
  EXPECT_EQ(Got[Count + 1], 0);
}

TEST(IEFileBuffer, TaggedBlocksKeepHeapAlignmentAndComeFromTheirHeap) {
  struct TCase {
    UInt64 Size;
    bool HeapFails;
    Byte Tag;
  } Cases[] = {{100, false, 0}, {2 << 20, false, 1}, {100, true, 1}};
  for (const TCase& C : Cases) {
    bool HeapAsked = false;
    TAllocationFailureGuard Fail([&](UInt64) {
      // The first request of a small block goes to the program's heap.
      const bool First = !HeapAsked;
      HeapAsked = true;
      return C.HeapFails && First;
    });
    void* Block = IEAutoAlloc(C.Size);
    ASSERT_NE(Block, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(Block) % 16, 0u);
    EXPECT_EQ(static_cast<Byte*>(Block)[-16], C.Tag) << C.Size;
    std::memset(Block, 0xAB, C.Size);
    IEAutoFree(Block);
    EXPECT_EQ(Block, nullptr);
  }
}

TEST(IEFileBuffer, GlobalBlocksAreZeroFilledAndFailuresGiveNil) {
  void* Block = IEGlobalAlloc(64);
  ASSERT_NE(Block, nullptr);
  EXPECT_EQ(static_cast<Byte*>(Block)[63], 0);
  IEGlobalFree(Block);
  EXPECT_EQ(Block, nullptr);
  TAllocationFailureGuard Fail([](UInt64) { return true; });
  EXPECT_EQ(IEGlobalAlloc(64), nullptr);
  EXPECT_EQ(IEAutoAlloc(64), nullptr);
  void* Heap = reinterpret_cast<void*>(1);
  IESafeGetMem(Heap, 64);
  EXPECT_EQ(Heap, nullptr);
}

TEST(IEFileBuffer, MemorySizeReportsTotalAboveAvailable) {
  const Int64 Total = IEGetMemorySize(false);
  EXPECT_GT(Total, 0);
  EXPECT_LE(IEGetMemorySize(true), Total);
}

}  // namespace
