// The DCX container: the content test, page choice and page lengths on reading, and pages
// inserted or appended on writing.
#include <gtest/gtest.h>

#include "imaging/core/iestreams.h"
#include "tests/imaging/io/PcxTestSupport.h"

namespace {

// A one-row 8-bit page whose only pixel indexes entry 1 of its palette, which is Grey.
std::vector<Byte> GreyPage(Byte Grey) {
  TPcxFile File;
  File.XMax = 0;
  File.BytesPerLine = 2;
  File.Data = {1, 0, 12};
  File.Data.resize(File.Data.size() + 768);
  for (Integer I = 0; I < 3; ++I) File.Data[3 + 3 + I] = Grey;
  return File.Bytes();
}

std::vector<Byte> Container(const std::vector<std::vector<Byte>>& Pages, bool Reversed = false) {
  std::vector<Byte> Out(4 + 4 * (Pages.size() + 1), 0);
  IEStoreLE32(Out.data(), DcxMagic);
  std::vector<Cardinal> Offsets;
  for (const auto& Page : Pages) {
    Offsets.push_back(static_cast<Cardinal>(Out.size()));
    Out.insert(Out.end(), Page.begin(), Page.end());
  }
  if (Reversed) std::reverse(Offsets.begin(), Offsets.end());
  for (size_t I = 0; I < Offsets.size(); ++I) IEStoreLE32(&Out[4 + 4 * I], Offsets[I]);
  return Out;
}

struct TDcxPage {
  bool Aborting = false;
  Integer Index = -1;
  Integer Count = 0;
  Integer Grey = -1;
};

TDcxPage ReadPage(TMemoryStream& Stream, Integer Index) {
  TPcxRead R;
  R.Params.DcxImageIndex = Index;
  TTestProgress P;
  Stream.SetPosition(0);
  DcxReadStream(&Stream, &R.Bitmap, R.Params, P.Progress, false);
  TDcxPage Page{P.Aborting, R.Params.ImageIndex, R.Params.ImageCount, -1};
  if (!P.Aborting && R.Bitmap.GetWidth() > 0) Page.Grey = R.Bitmap.GetPixel24(0, 0).rgbtRed;
  return Page;
}

// Writes a one-pixel picture of Grey as page Index.
bool WritePage(TMemoryStream& Stream, Byte Grey, Integer Index) {
  TIEBitmap Picture(1, 1, ie24RGB);
  Picture.SetPixel24(0, 0, TIERGBTriple{Grey, Grey, Grey});
  TIOParamsVals Params;
  Params.DcxImageIndex = Index;
  TTestProgress P;
  DcxWriteStream(&Stream, &Picture, Params, P.Progress);
  return !P.Aborting;
}

std::vector<Integer> Greys(TMemoryStream& Stream) {
  std::vector<Integer> Result;
  const Integer Count = ReadPage(Stream, 0).Count;
  for (Integer I = 0; I < Count; ++I) Result.push_back(ReadPage(Stream, I).Grey);
  return Result;
}

}  // namespace

TEST(Dcx, ContentTestChecksMagicAndOffsetsAndRestoresThePosition) {
  struct TCase {
    const char* Name;
    std::vector<Byte> Bytes;
    bool IsDcx;
  };
  std::vector<Byte> Outside = Container({GreyPage(5)});
  IEStoreLE32(&Outside[4], static_cast<Cardinal>(Outside.size()));
  std::vector<Byte> WrongMagic = Container({GreyPage(5)});
  WrongMagic[0] ^= 1;
  const TCase Cases[] = {
      {"two pages", Container({GreyPage(5), GreyPage(6)}), true},
      {"empty table", Container({}), true},
      {"offset at the stream's end", Outside, false},
      {"wrong magic", WrongMagic, false},
      {"table cut by the stream's end", {0xB1, 0x68, 0xDE, 0x3A, 9, 0, 0, 0}, false},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TMemoryStream Stream;
    LoadBytes(Stream, Case.Bytes);
    Stream.SetPosition(1);
    EXPECT_FALSE(DcxIsFile(&Stream));
    Stream.SetPosition(0);
    EXPECT_EQ(DcxIsFile(&Stream), Case.IsDcx);
    EXPECT_EQ(Stream.GetPosition(), 0);
  }
}

TEST(Dcx, ReadsTheChosenPageClampedWithItsOwnLength) {
  TMemoryStream Stream;
  // Table in reverse order: each page still ends at the next higher offset, so each 8-bit
  // page finds its own trailing palette.
  LoadBytes(Stream, Container({GreyPage(10), GreyPage(20), GreyPage(30)}, /*Reversed=*/true));
  EXPECT_EQ(ReadPage(Stream, 0).Grey, 30);
  EXPECT_EQ(ReadPage(Stream, 2).Grey, 10);
  const TDcxPage Past = ReadPage(Stream, 7);
  EXPECT_EQ(Past.Grey, 10);
  EXPECT_EQ(Past.Index, 2) << "the index is clamped and stored back";
  EXPECT_EQ(Past.Count, 3);
  EXPECT_EQ(ReadPage(Stream, -4).Index, 0);
}

TEST(Dcx, ATableOf1024PagesWithoutEndHas1024Pages) {
  const std::vector<Byte> Page = GreyPage(77);
  std::vector<Byte> Bytes(4 + 4 * 1024, 0);
  IEStoreLE32(Bytes.data(), DcxMagic);
  for (Integer I = 0; I < 1024; ++I) IEStoreLE32(&Bytes[4 + 4 * I], static_cast<Cardinal>(Bytes.size()));
  Bytes.insert(Bytes.end(), Page.begin(), Page.end());
  TMemoryStream Stream;
  LoadBytes(Stream, Bytes);
  const TDcxPage Last = ReadPage(Stream, 5000);
  EXPECT_FALSE(Last.Aborting);
  EXPECT_EQ(Last.Index, 1023);
  EXPECT_EQ(Last.Grey, 77);
}

TEST(Dcx, AnEmptyTableHasNothingToRead) {
  TMemoryStream Stream;
  LoadBytes(Stream, Container({}));
  EXPECT_TRUE(ReadPage(Stream, 0).Aborting);
}

TEST(Dcx, WritingInsertsBeforeTheIndexedPageOrAppends) {
  TMemoryStream Stream;
  ASSERT_TRUE(WritePage(Stream, 10, 0));
  EXPECT_EQ(Greys(Stream), (std::vector<Integer>{10}));
  ASSERT_TRUE(WritePage(Stream, 20, 0));
  EXPECT_EQ(Greys(Stream), (std::vector<Integer>{20, 10}));
  ASSERT_TRUE(WritePage(Stream, 30, 2));
  EXPECT_EQ(Greys(Stream), (std::vector<Integer>{20, 10, 30}));
  ASSERT_TRUE(WritePage(Stream, 40, 1));
  EXPECT_EQ(Greys(Stream), (std::vector<Integer>{20, 40, 10, 30}));
  const std::vector<Byte> Before = StreamBytes(Stream);
  EXPECT_FALSE(WritePage(Stream, 50, 5)) << "an index past the end has no place for the page";
  EXPECT_EQ(StreamBytes(Stream), Before);
}

TEST(Dcx, AStreamThatIsNoContainerIsLeftAlone) {
  TMemoryStream Stream;
  const std::vector<Byte> Other = GreyPage(3);
  LoadBytes(Stream, Other);
  EXPECT_FALSE(WritePage(Stream, 10, 0));
  EXPECT_EQ(StreamBytes(Stream), Other);
}
