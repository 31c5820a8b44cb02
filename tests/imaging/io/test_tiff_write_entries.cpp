// The TIFF writer's entry list (value forms, even positions, sorted directory) and its PackBits
// row coder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/io/tiffilt.h"
#include "platform/system/Streams.h"
#include "tests/imaging/io/TiffWriteTestSupport.h"

namespace {

// A directory of the entries added after one odd byte, behind a minimal header.
struct TEntryFixture {
  TMemoryStream Stream;
  TIELocalProgress Local;
  TTIFFEntryWriter Writer{&Stream, Local.Progress};

  TEntryFixture() {
    const Byte Header[9] = {'I', 'I', 42, 0, 0, 0, 0, 0, 0xEE};
    Stream.Write(Header, 9);
  }
  TWrittenPage Finish() {
    const Int64 Directory = Writer.WriteDirectory(0);
    EXPECT_EQ(Directory % 2, 0);
    Stream.Seek(4, soBeginning);
    Byte Offset[4];
    IEPutDWord(Offset, static_cast<Cardinal>(Directory), false);
    Stream.Write(Offset, 4);
    const auto Pages = ParseWrittenTiff(TiffStreamBytes(Stream));
    EXPECT_EQ(Pages.size(), 1u);
    return Pages.empty() ? TWrittenPage() : Pages[0];
  }
};

TEST(TiffWriteEntries, ValuesThatFitStayInTheEntryAndOthersGoOutOfLineAtEvenPositions) {
  TEntryFixture F;
  F.Writer.AddShort(300, 7);
  F.Writer.AddShorts(301, {1, 65535});
  F.Writer.AddShorts(302, {1, 2, 3});
  F.Writer.AddLong(303, 70000);
  F.Writer.AddLongs(304, {5, 6});
  F.Writer.AddAscii(305, "abc");
  F.Writer.AddAscii(310, "abcd");
  F.Writer.AddAscii(306, "abcde");
  F.Writer.AddAscii(307, "");
  const Byte Block[5] = {9, 8, 7, 6, 5};
  F.Writer.AddBlock(308, 7, Block, 3);
  F.Writer.AddBlock(309, 1, Block, 5);
  const TWrittenPage Page = F.Finish();

  EXPECT_FALSE(Page.Has(307)) << "an empty text is not written";
  struct TExpect {
    Word Tag, Type;
    Cardinal Count;
    bool Inline;
    std::vector<Cardinal> Values;
  };
  const TExpect Cases[] = {
      {300, 3, 1, true, {7}},
      {301, 3, 2, true, {1, 65535}},
      {302, 3, 3, false, {1, 2, 3}},
      {303, 4, 1, true, {70000}},
      {304, 4, 2, false, {5, 6}},
      {305, 2, 4, true, {'a', 'b', 'c', 0}},
      {310, 2, 5, false, {'a', 'b', 'c', 'd', 0}},
      {306, 2, 6, false, {'a', 'b', 'c', 'd', 'e', 0}},
      {308, 7, 3, true, {9, 8, 7}},
      {309, 1, 5, false, {9, 8, 7, 6, 5}},
  };
  for (const TExpect& E : Cases) {
    SCOPED_TRACE(E.Tag);
    ASSERT_TRUE(Page.Has(E.Tag));
    const TWrittenTag& T = Page.Tag(E.Tag);
    EXPECT_EQ(T.Type, E.Type);
    EXPECT_EQ(T.Count, E.Count);
    EXPECT_EQ(T.Values, E.Values);
    if (E.Tag == 300) {
      EXPECT_EQ(T.Field, 7u) << "one SHORT sits in the low half";
    } else if (!E.Inline) {
      EXPECT_EQ(T.Field % 2, 0u) << "out-of-line data starts at an even position";
    }
  }
}

TEST(TiffWriteEntries, RationalsAreFractionsAndNegativeOnesKeepTheirSign) {
  TEntryFixture F;
  F.Writer.AddRational(282, 118.11);
  F.Writer.AddRationals(318, {0.3127, 0.329});
  F.Writer.AddRational(37380, -0.5);
  const TWrittenPage Page = F.Finish();
  const TWrittenTag& X = Page.Tag(282);
  EXPECT_EQ(X.Type, 5);
  EXPECT_EQ(X.Count, 1u);
  EXPECT_EQ(X.Values, (std::vector<Cardinal>{11811, 100}));
  const TWrittenTag& White = Page.Tag(318);
  EXPECT_EQ(White.Count, 2u);
  EXPECT_EQ(White.Values, (std::vector<Cardinal>{3127, 10000, 329, 1000}));
  const TWrittenTag& Bias = Page.Tag(37380);
  EXPECT_EQ(Bias.Type, 10) << "SRATIONAL";
  EXPECT_EQ(static_cast<Integer>(Bias.Values[0]), -1);
  EXPECT_EQ(Bias.Values[1], 2u);
}

TEST(TiffWriteEntries, TheDirectoryIsSortedByTagAndEndsWithTheNextOffset) {
  TMemoryStream Stream;
  TIELocalProgress Local;
  TTIFFEntryWriter Writer(&Stream, Local.Progress);
  const Byte Odd = 0;
  Stream.Write(&Odd, 1);
  Writer.AddShort(300, 1);
  Writer.AddShort(256, 2);
  Writer.AddEntry({280, 4, 1, 99});
  const Int64 Position = Writer.WriteDirectory(0x01020304);
  EXPECT_EQ(Position, 2);
  const std::vector<Byte> F = TiffStreamBytes(Stream);
  ASSERT_EQ(F.size(), 2u + 2 + 3 * 12 + 4);
  EXPECT_EQ(TiffLE(F, 2, 2), 3u);
  EXPECT_EQ(TiffLE(F, 4, 2), 256u);
  EXPECT_EQ(TiffLE(F, 16, 2), 280u);
  EXPECT_EQ(TiffLE(F, 24, 4), 99u);
  EXPECT_EQ(TiffLE(F, 28, 2), 300u);
  EXPECT_EQ(TiffLE(F, 40, 4), 0x01020304u);
}

std::vector<Byte> PackBits(const std::vector<Byte>& Row) {
  TMemoryStream Stream;
  bool Aborting = false;
  TiffPackBits(Row.data(), static_cast<Integer>(Row.size()), &Stream, Aborting);
  EXPECT_FALSE(Aborting);
  return TiffStreamBytes(Stream);
}

std::vector<Byte> UnpackBits(const std::vector<Byte>& Code) {
  std::vector<Byte> Out;
  for (std::size_t I = 0; I < Code.size();) {
    const auto N = static_cast<signed char>(Code[I++]);
    if (N >= 0) {
      Out.insert(Out.end(), Code.begin() + I, Code.begin() + I + N + 1);
      I += N + 1;
    } else if (N != -128) {
      Out.insert(Out.end(), 1 - N, Code[I++]);
    }
  }
  return Out;
}

std::vector<Byte> Repeat(Byte Value, std::size_t Count) {
  return std::vector<Byte>(Count, Value);
}

std::vector<Byte> Join(std::initializer_list<std::vector<Byte>> Parts) {
  std::vector<Byte> Out;
  for (const auto& P : Parts) Out.insert(Out.end(), P.begin(), P.end());
  return Out;
}

std::vector<Byte> Ramp(std::size_t Count) {
  std::vector<Byte> Out(Count);
  for (std::size_t I = 0; I < Count; ++I) Out[I] = static_cast<Byte>(I);
  return Out;
}

TEST(TiffWritePackBits, RunsOfFourOrMoreAreRunsShorterOnesStayLiteral) {
  struct TCase {
    const char* Name;
    std::vector<Byte> Row;
    std::vector<Byte> Code;
  };
  const TCase Cases[] = {
      {"run of 4", Repeat(7, 4), {0xFD, 7}},
      {"run of 3 is literal", Repeat(7, 3), {2, 7, 7, 7}},
      {"literal then run", Join({{1, 2}, Repeat(9, 5)}), {1, 1, 2, 0xFC, 9}},
      {"run of 128", Repeat(5, 128), {0x81, 5}},
      {"run of 130: 128 and a literal pair", Repeat(5, 130), {0x81, 5, 1, 5, 5}},
      {"run of 133: 128 and a run of 5", Repeat(5, 133), {0x81, 5, 0xFC, 5}},
      {"single byte", {42}, {0, 42}},
      {"empty row", {}, {}},
  };
  for (const TCase& C : Cases) EXPECT_EQ(PackBits(C.Row), C.Code) << C.Name;
}

TEST(TiffWritePackBits, LongLiteralStretchesSplitIntoGroupsOf128AndDecodeBack) {
  const std::vector<Byte> Row = Join({Ramp(200), Repeat(3, 300), Ramp(5)});
  const std::vector<Byte> Code = PackBits(Row);
  EXPECT_EQ(Code[0], 127);
  EXPECT_EQ(Code[129], 71);
  EXPECT_EQ(UnpackBits(Code), Row);
}

TEST(TiffWritePackBits, AShortWriteSetsTheAbortFlag) {
  std::vector<Byte> Room(2);
  TIEMemStream Stream(Room.data(), 2);
  bool Aborting = false;
  const std::vector<Byte> Row = Ramp(10);
  TiffPackBits(Row.data(), 10, &Stream, Aborting);
  EXPECT_TRUE(Aborting);
}

}  // namespace
