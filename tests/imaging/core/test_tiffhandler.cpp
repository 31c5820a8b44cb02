#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "imaging/core/ietiffhandler.h"
#include "tests/imaging/core/TiffTestSupport.h"

namespace {

using namespace tifftest;
using namespace std::string_literals;

// One entry of a hand-made file: Value holds the value's bytes in the file's order (in the
// entry when at most 4, else behind the directory); Pieces, when given, are written behind
// the directory and the entry gets their offsets.
struct TFixtureEntry {
  Word Tag;
  Word Type;
  Cardinal Count;
  TBytes Value;
  std::vector<TBytes> Pieces = {};
};
using TFixturePage = std::vector<TFixtureEntry>;

TBytes Short(Word V, bool Big = false) {
  TBytes B;
  AddWord(B, V, Big);
  return B;
}
TBytes Long(Cardinal V, bool Big = false) {
  TBytes B;
  AddDWord(B, V, Big);
  return B;
}

// A TIFF with each page's directory followed by its data; directories on even positions.
TBytes BuildTiff(const std::vector<TFixturePage>& Pages, bool Big = false) {
  const Byte Mark = Big ? 'M' : 'I';
  TBytes Out{Mark, Mark};
  AddWord(Out, 42, Big);
  AddDWord(Out, 8, Big);
  for (std::size_t P = 0; P < Pages.size(); ++P) {
    const auto& Page = Pages[P];
    const std::size_t Directory = Out.size();
    Out.resize(Directory + 2 + 12 * Page.size() + 4);
    IEPutWord(Out.data() + Directory, static_cast<Word>(Page.size()), Big);
    for (std::size_t I = 0; I < Page.size(); ++I) {
      const auto& E = Page[I];
      TBytes Field = E.Value;
      Cardinal Count = E.Count;
      if (!E.Pieces.empty()) {
        Field.clear();
        for (const auto& Piece : E.Pieces) {
          AddDWord(Field, static_cast<Cardinal>(Out.size()), Big);
          Out.insert(Out.end(), Piece.begin(), Piece.end());
        }
        Count = static_cast<Cardinal>(E.Pieces.size());
      }
      if (Field.size() > 4) {
        if (Out.size() % 2) Out.push_back(0);
        const auto At = static_cast<Cardinal>(Out.size());
        Out.insert(Out.end(), Field.begin(), Field.end());
        Field = Long(At, Big);
      }
      Field.resize(4, 0);
      Byte* Entry = Out.data() + Directory + 2 + 12 * I;
      IEPutWord(Entry, E.Tag, Big);
      IEPutWord(Entry + 2, E.Type, Big);
      IEPutDWord(Entry + 4, Count, Big);
      std::copy(Field.begin(), Field.end(), Entry + 8);
    }
    if (Out.size() % 2) Out.push_back(0);
    const Cardinal Next = P + 1 < Pages.size() ? static_cast<Cardinal>(Out.size()) : 0;
    IEPutDWord(Out.data() + Directory + 2 + 12 * Page.size(), Next, Big);
  }
  return Out;
}

void Read(TIETIFFHandler& Handler, const TBytes& File) {
  TMemoryStream Stream;
  Load(Stream, File);
  ASSERT_TRUE(Handler.ReadStream(&Stream));
}

TBytes Write(TIETIFFHandler& Handler, Integer PageIndex = -1) {
  TMemoryStream Stream;
  Handler.WriteStream(&Stream, PageIndex);
  return StreamBytes(Stream);
}

const TBytes* Piece(TIETIFFHandler& Handler, Integer Page, Integer Tag, std::size_t Index) {
  const Integer Entry = Handler.FindTag(Page, Tag);
  if (Entry < 0 || Handler.GetPage(Page)[Entry].Pieces.size() <= Index) return nullptr;
  return &Handler.GetPage(Page)[Entry].Pieces[Index];
}

std::vector<TFixturePage> TwoPages() {
  return {
      {{256, ietSHORT, 1, Short(3)},
       {270, ietASCII, 9, TBytes{'f', 'i', 'r', 's', 't', ' ', 'p', 'g', 0}},
       {273, ietLONG, 1, {}, {TBytes{1, 2, 3}}},
       {279, ietLONG, 1, Long(3)}},
      {{256, ietSHORT, 1, Short(2)},
       {273, ietLONG, 2, {}, {TBytes{7, 8}, TBytes{9, 10, 11}}},
       {279, ietSHORT, 2, TBytes{2, 0, 3, 0}}},
  };
}

void ExpectTwoPages(TIETIFFHandler& Handler) {
  ASSERT_EQ(Handler.GetPageCount(), 2);
  EXPECT_EQ(Handler.GetIntegerByCode(Handler.GetPage(0), 256, 0), 3);
  const auto& Description = Handler.GetPage(0)[Handler.FindTag(0, 270)];
  EXPECT_EQ(std::string(Description.Data.begin(), Description.Data.end()), "first pg\0"s);
  ASSERT_NE(Piece(Handler, 0, 273, 0), nullptr);
  EXPECT_EQ(*Piece(Handler, 0, 273, 0), (TBytes{1, 2, 3}));
  ASSERT_NE(Piece(Handler, 1, 273, 1), nullptr);
  EXPECT_EQ(*Piece(Handler, 1, 273, 0), (TBytes{7, 8}));
  EXPECT_EQ(*Piece(Handler, 1, 273, 1), (TBytes{9, 10, 11}));
}

TEST(TIFFHandler, TwoPageFileWrittenBackKeepsTagsAndDataWithPageTwoAfterPageOnesData) {
  TIETIFFHandler Handler;
  Read(Handler, BuildTiff(TwoPages()));
  ExpectTwoPages(Handler);

  const TBytes Written = Write(Handler);
  TIETIFFHandler Again;
  Read(Again, Written);
  ExpectTwoPages(Again);
  // Page 1: 4 entries, then the description and the 3 strip bytes; page 2 next, even.
  const Cardinal First = IEGetDWord(Written.data() + 4, false);
  EXPECT_EQ(First, 8u);
  const Cardinal Second = IEGetDWord(Written.data() + First + 2 + 4 * 12, false);
  EXPECT_EQ(Second, First + 2 + 4 * 12 + 4 + 9 + 3);
}

TEST(TIFFHandler, OnePageOfSeveralIsWrittenAlone) {
  TIETIFFHandler Handler;
  Read(Handler, BuildTiff(TwoPages()));
  TIETIFFHandler Page;
  Read(Page, Write(Handler, 1));
  ASSERT_EQ(Page.GetPageCount(), 1);
  EXPECT_EQ(Page.GetIntegerByCode(Page.GetPage(0), 256, 0), 2);
}

TEST(TIFFHandler, BigEndianTagsAreSortedByNumberAndStayBigEndian) {
  // 0x0110 sorts after 0x0103 as a number, before it as little-endian bytes read wrongly.
  TIETIFFHandler Handler;
  Read(Handler, BuildTiff({{{0x0110, ietSHORT, 1, Short(5, true)},
                            {0x0103, ietSHORT, 1, Short(1, true)},
                            {0x0201, ietLONG, 1, Long(0x01020304, true)}}},
                          true));
  ASSERT_TRUE(Handler.GetBigEndian());
  const auto& Page = Handler.GetPage(0);
  ASSERT_EQ(Page.size(), 3u);
  EXPECT_EQ(Page[0].Tag, 0x0103);
  EXPECT_EQ(Page[1].Tag, 0x0110);
  EXPECT_EQ(Page[2].Tag, 0x0201);
  EXPECT_EQ(Handler.GetValue(Page, 1, 0), 5);
  EXPECT_EQ(Handler.GetValue(Page, 2, 0), 0x01020304);
  const TBytes Written = Write(Handler);
  EXPECT_EQ(Written[0], 'M');
  EXPECT_EQ(IEGetWord(Written.data() + 8 + 2, true), 0x0103);
}

TEST(TIFFHandler, ExifThumbnailPageGetsStripOffsetsAtTheFirstScanOnlyWhileWriting) {
  const TBytes Jpeg{0xFF, 0xD8, 0xFF, 0xDB, 0, 2, 0xFF, 0xDA, 0, 0, 0xFF, 0xD9};
  TIETIFFHandler Handler;
  Read(Handler, BuildTiff({{{259, ietSHORT, 1, Short(6)},
                            {513, ietLONG, 1, {}, {Jpeg}},
                            {514, ietLONG, 1, Long(static_cast<Cardinal>(Jpeg.size()))}}}));
  ASSERT_EQ(Handler.GetPage(0).size(), 3u);
  const TBytes Written = Write(Handler);
  ASSERT_EQ(IEGetWord(Written.data() + 8, false), 4);
  const Byte* Last = Written.data() + 8 + 2 + 3 * 12;
  EXPECT_EQ(IEGetWord(Last, false), 273);
  const Cardinal JpegAt = IEGetDWord(Written.data() + 8 + 2 + 12 + 8, false);
  EXPECT_EQ(IEGetDWord(Last + 8, false), JpegAt + 6);
  EXPECT_EQ(Written[JpegAt + 6], 0xFF);
  EXPECT_EQ(Written[JpegAt + 7], 0xDA);
  EXPECT_EQ(Handler.GetPage(0).size(), 3u);
  EXPECT_EQ(Handler.FindTag(0, 273), -1);
}

TEST(TIFFHandler, OldStyleJpegPageKeepsOnlyItsInterchangeStream) {
  TIETIFFHandler Handler;
  Read(Handler, BuildTiff({{{259, ietSHORT, 1, Short(6)},
                            {273, ietLONG, 1, {}, {TBytes{1, 2}}},
                            {279, ietLONG, 1, Long(2)},
                            {513, ietLONG, 1, {}, {TBytes{0xFF, 0xD8}}},
                            {514, ietLONG, 1, Long(2)},
                            {519, ietLONG, 1, Long(0)},
                            {520, ietLONG, 1, Long(0)},
                            {521, ietLONG, 1, Long(0)}}}));
  for (Integer Tag : {273, 519, 520, 521}) EXPECT_EQ(Handler.FindTag(0, Tag), -1) << Tag;
  for (Integer Tag : {259, 279, 513, 514}) EXPECT_GE(Handler.FindTag(0, Tag), 0) << Tag;
}

TEST(TIFFHandler, LookupsOfAbsentTagsAndPages) {
  TIETIFFHandler Handler;
  Read(Handler, BuildTiff(TwoPages()));
  EXPECT_EQ(Handler.GetIntegerByCode(Handler.GetPage(0), 999, 0), 0);
  EXPECT_EQ(Handler.FindTag(2, 256), -1);
  EXPECT_EQ(Handler.FindTag(-1, 256), -1);
  EXPECT_EQ(Handler.GetValue(Handler.GetPage(0), 0, 1), 0);  // past the entry's count
  Integer OffsetTag = 0, LengthTag = 0;
  Handler.GetOffsetLengthTags(48320, OffsetTag, LengthTag);  // only for version 444
  EXPECT_EQ(OffsetTag, -1);
  Handler.GetOffsetLengthTags(324, OffsetTag, LengthTag);
  EXPECT_EQ(LengthTag, 325);
}

TEST(TIFFHandler, SetValueStoresEachTypeInTheFilesByteOrder) {
  TIETIFFHandler Handler;
  Handler.SetBigEndian(true);
  TIETIFFTagList List;
  Handler.SetValue(List, 282, 0.5, ietRATIONAL);
  Handler.SetValue(List, 274, Int64{6}, ietSHORT);
  Handler.SetValue(List, 305, "Tilvarok"s, ietASCII);
  Handler.SetValue(List, 274, Int64{3}, ietSHORT);  // replaces, appended last
  ASSERT_EQ(List.size(), 3u);
  EXPECT_EQ(IEGetDWord(List[0].Data.data(), true), 5000u);
  EXPECT_EQ(IEGetDWord(List[0].Data.data() + 4, true), 10000u);
  EXPECT_EQ(List[1].Count, 9u);
  EXPECT_EQ(List[1].Data.back(), 0);
  EXPECT_EQ(List[2].Tag, 274);
  EXPECT_EQ(List[2].Value[1], 3);
  EXPECT_EQ(Handler.GetValue(List, 2, 0), 3);
}

TEST(TIFFHandler, CopyTagCopiesSubDirectoriesDeeplyAndOnlyBetweenOneByteOrder) {
  // The EXIF directory sits right after the page's directory (8 + 2 + 2 * 12 + 4 = 38).
  auto Build = [](bool Big) {
    TBytes File = BuildTiff({{{256, ietSHORT, 1, Short(1, Big)}, {34665, ietLONG, 1, Long(38, Big)}}}, Big);
    AddDirectory(File, {{37383, ietSHORT, 1, InlineShort(2, Big)}}, 0, Big);
    return File;
  };
  TIETIFFHandler Source, Little, Big;
  Read(Source, Build(false));
  Read(Big, Build(true));
  Little.InsertPage(0);
  Little.CopyTag(0, Source.FindTag(0, 34665), 0, Source);
  ASSERT_EQ(Little.FindTag(0, 34665), 0);
  Source.GetPage(0)[Source.FindTag(0, 34665)].SubIFD->clear();
  const auto& Copied = *Little.GetPage(0)[0].SubIFD;
  ASSERT_EQ(Copied.size(), 1u);
  EXPECT_EQ(Little.GetValue(Copied, 0, 0), 2);

  Big.CopyTag(0, Little.FindTag(0, 34665), 0, Little);
  EXPECT_EQ(Big.GetValue(*Big.GetPage(0)[Big.FindTag(0, 34665)].SubIFD, 0, 0), 2);
  Big.DeleteTag(0, Big.FindTag(0, 34665));
  Big.CopyTag(0, Little.FindTag(0, 34665), 0, Little);
  EXPECT_EQ(Big.FindTag(0, 34665), -1);

  // Written and read again, the sub-directory keeps its entry.
  TIETIFFHandler Again;
  Read(Again, Write(Little));
  const auto& Nested = *Again.GetPage(0)[Again.FindTag(0, 34665)].SubIFD;
  EXPECT_EQ(Again.GetValue(Nested, 0, 0), 2);
}

TEST(TIFFHandler, HostileStructuresAreReadWithinTheFile) {
  // Pages A -> B -> A, a sub-directory pointing at its own page, a value claiming the whole
  // file and many strips that all claim the whole file.
  TBytes Loop = BuildTiff(TwoPages());
  const Cardinal Second = IEGetDWord(Loop.data() + 8 + 2 + 4 * 12, false);
  IEPutDWord(Loop.data() + Second + 2 + 3 * 12, 8, false);
  TBytes SelfExif = BuildTiff({{{34665, ietLONG, 1, Long(8)}}});
  TBytes Huge = BuildTiff(
      {{{256, ietSHORT, 1, Short(1)}, {270, ietASCII, 0x10000000, Long(8)}, {271, ietSHORT, 1, Short(1)}}});
  TBytes Strips =
      BuildTiff({{{273, ietLONG, 4000, TBytes(16000, 0)}, {279, ietLONG, 4000, TBytes(16000, 0xFF)}}});
  {
    TIETIFFHandler Handler;
    Read(Handler, Loop);
    EXPECT_EQ(Handler.GetPageCount(), 2);
  }
  {
    TIETIFFHandler Handler;
    Read(Handler, SelfExif);
    EXPECT_EQ(Handler.GetPageCount(), 1);
  }
  {
    TIETIFFHandler Handler;
    Read(Handler, Huge);
    ASSERT_EQ(Handler.GetPageCount(), 1);
    EXPECT_EQ(Handler.GetPage(0).size(), 1u);  // reading stopped at the oversized value
  }
  {
    TIETIFFHandler Handler;
    Read(Handler, Strips);
    std::size_t Held = 0;
    for (const auto& Piece : Handler.GetPage(0)[0].Pieces) Held += Piece.size();
    EXPECT_LE(Held, 2 * Strips.size() + 65536);
  }
}

TEST(TIFFHandler, NotATiffAndMissingFilesAreRefused) {
  TIETIFFHandler Handler;
  TMemoryStream Stream;
  Load(Stream, TBytes{'I', 'M', 42, 0, 8, 0, 0, 0});
  EXPECT_FALSE(Handler.ReadStream(&Stream));
  EXPECT_FALSE(Handler.ReadFile("/nonexistent/folder/file.tif"));
}

TEST(TIFFHandler, FileWrittenAndReadByName) {
  const auto Name = (std::filesystem::temp_directory_path() / "tv-tiffhandler-test.tif").string();
  TIETIFFHandler Handler;
  Read(Handler, BuildTiff(TwoPages()));
  Handler.WriteFile(Name, -1);
  TIETIFFHandler Again(Name);
  std::filesystem::remove(Name);
  ExpectTwoPages(Again);
}

}  // namespace
