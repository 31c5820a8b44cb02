// Pages inserted into existing TIFF files: the place in the chain, the page count returned, and
// chains that are broken, circular or not little-endian.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"
#include "tests/imaging/io/TiffWriteTestSupport.h"

namespace {

// Pages are told apart by their width.
std::unique_ptr<TIEBitmap> PageOfWidth(Integer Width) {
  auto B = std::make_unique<TIEBitmap>(Width, 3, ie24RGB);
  B->Fill(Width * 10);
  return B;
}

TTiffWriteResult AddPage(TMemoryStream& Stream, Integer Width, Integer Index, bool Append = true) {
  auto Page = PageOfWidth(Width);
  TIOParamsVals Params;
  Params.SetImageIndex(Index);
  Stream.SetPosition(0);
  return WriteTiffPage(Stream, Page.get(), Params, Append);
}

// A file of pages of widths 5 and 6.
void TwoPages(TMemoryStream& Stream) {
  ASSERT_EQ(AddPage(Stream, 5, 0, false).Pages, 1);
  ASSERT_EQ(AddPage(Stream, 6, 1).Pages, 2);
}

std::vector<Cardinal> Widths(TMemoryStream& Stream) {
  std::vector<Cardinal> Out;
  for (const TWrittenPage& Page : ParseWrittenTiff(TiffStreamBytes(Stream))) Out.push_back(Page.Value(256));
  return Out;
}

TEST(TiffWriteChain, APageGoesToItsIndexAndTheResultCountsThePages) {
  struct TCase {
    Integer Index;
    std::vector<Cardinal> Widths;
  };
  const TCase Cases[] = {{0, {7, 5, 6}}, {1, {5, 7, 6}}, {2, {5, 6, 7}}, {9, {5, 6, 7}}, {-1, {5, 6, 7}}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Index);
    TMemoryStream Stream;
    TwoPages(Stream);
    const TTiffWriteResult R = AddPage(Stream, 7, C.Index);
    EXPECT_FALSE(R.Aborting);
    EXPECT_EQ(R.Pages, 3);
    EXPECT_EQ(Widths(Stream), C.Widths);
    ExpectTiffinfoAccepts(TiffStreamBytes(Stream));
  }
}

TEST(TiffWriteChain, EveryPageOfAFileBuiltPageByPageReadsBack) {
  TMemoryStream Stream;
  TwoPages(Stream);
  ASSERT_EQ(AddPage(Stream, 7, 0).Pages, 3);
  const std::vector<Byte> File = TiffStreamBytes(Stream);
  const Integer Expected[3] = {7, 5, 6};
  for (Integer Page = 0; Page < 3; ++Page) {
    TIEBitmap Back;
    TIOParamsVals Params;
    const TTiffReadBack R = ReadTiffPage(File, Page, Back, Params);
    ASSERT_FALSE(R.Aborting);
    EXPECT_EQ(R.PageCount, 3);
    EXPECT_EQ(Back.GetWidth(), Expected[Page]);
    EXPECT_EQ(Back.GetPixel24(1, 1).rgbtRed, Expected[Page] * 10);
  }
}

TEST(TiffWriteChain, AppendingToAnEmptyChainMakesTheFirstPage) {
  TMemoryStream Stream;
  const Byte Header[8] = {'I', 'I', 42, 0, 0, 0, 0, 0};
  Stream.Write(Header, 8);
  EXPECT_EQ(AddPage(Stream, 4, 3).Pages, 1);
  EXPECT_EQ(Widths(Stream), std::vector<Cardinal>{4});
}

TEST(TiffWriteChain, OnlyLittleEndianFilesTakeAPage) {
  for (const char* Start : {"MM\0*", "GIF8", ""}) {
    SCOPED_TRACE(Start);
    TMemoryStream Stream;
    Stream.Write(Start, static_cast<Integer>(std::char_traits<char>::length(Start) ? 4 : 0));
    const Int64 Size = Stream.GetSize();
    const TTiffWriteResult R = AddPage(Stream, 4, 0);
    EXPECT_TRUE(R.Aborting);
    EXPECT_EQ(R.Pages, 0);
    EXPECT_EQ(Stream.GetSize(), Size) << "nothing is written";
  }
}

// The next-page field of the directory at Directory.
Int64 NextField(TMemoryStream& Stream, Cardinal Directory) {
  return Directory + 2 + 12 * TiffLE(TiffStreamBytes(Stream), Directory, 2);
}

void PutLong(TMemoryStream& Stream, Int64 Position, Cardinal Value) {
  Byte Bytes[4];
  IEPutDWord(Bytes, Value, false);
  Stream.Seek(Position, soBeginning);
  Stream.Write(Bytes, 4);
}

TEST(TiffWriteChain, ACircularChainEndsWhereItTurnsBack) {
  TMemoryStream Stream;
  TwoPages(Stream);
  const auto Pages = ParseWrittenTiff(TiffStreamBytes(Stream));
  PutLong(Stream, NextField(Stream, Pages[1].Position), Pages[0].Position);
  const TTiffWriteResult R = AddPage(Stream, 7, 5);
  EXPECT_EQ(R.Pages, 3);
  EXPECT_EQ(Widths(Stream), (std::vector<Cardinal>{5, 6, 7}));
}

TEST(TiffWriteChain, ALinkOutOfTheFileOrIntoTheHeaderEndsTheChain) {
  for (Cardinal Broken : {0xFFFFFF00u, 4u, 1u}) {
    SCOPED_TRACE(Broken);
    TMemoryStream Stream;
    TwoPages(Stream);
    const auto Pages = ParseWrittenTiff(TiffStreamBytes(Stream));
    PutLong(Stream, NextField(Stream, Pages[0].Position), Broken);
    const TTiffWriteResult R = AddPage(Stream, 7, 5);
    EXPECT_EQ(R.Pages, 2);
    EXPECT_EQ(Widths(Stream), (std::vector<Cardinal>{5, 7}));
  }
}

TEST(TiffWriteChain, ADirectoryRunningPastTheEndOfTheFileIsNoPage) {
  TMemoryStream Stream;
  TwoPages(Stream);
  const auto Pages = ParseWrittenTiff(TiffStreamBytes(Stream));
  // The last directory claims more entries than the file holds.
  Byte Count[2];
  IEPutWord(Count, 5000, false);
  Stream.Seek(Pages[1].Position, soBeginning);
  Stream.Write(Count, 2);
  const TTiffWriteResult R = AddPage(Stream, 7, 5);
  EXPECT_EQ(R.Pages, 2);
  const std::vector<Byte> File = TiffStreamBytes(Stream);
  EXPECT_EQ(TiffLE(File, NextField(Stream, Pages[0].Position), 4), ParseWrittenTiff(File)[1].Position);
}

}  // namespace
