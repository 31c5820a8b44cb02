#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/ietiffbytes.h"
#include "imaging/io/tiffilt.h"
#include "tests/imaging/core/TiffTestSupport.h"

namespace {

using namespace tifftest;
using namespace std::string_literals;

// A TIFF in memory with the directory layer's view of it.
struct TTiffFile {
  TMemoryStream Stream;
  TIFFDirectory Dir;
  Integer Count = -1;

  explicit TTiffFile(const TBytes& Bytes, bool BigEndian = false) {
    Load(Stream, Bytes);
    Dir.Stream = &Stream;
    Dir.LittleEndian = !BigEndian;
  }

  bool Read(Integer Index, Cardinal Offset = 8) { return TiffReadDirectory(Index, Offset, Dir, Count); }
};

TBytes Header(bool BigEndian, Cardinal FirstDirectory = 8) {
  TBytes Out;
  AddText(Out, BigEndian ? "MM" : "II");
  AddWord(Out, 42, BigEndian);
  AddDWord(Out, FirstDirectory, BigEndian);
  return Out;
}

// Directories of one entry each, placed one after another from offset 8; Next[i] is the
// offset directory i points at (the directories are 18 bytes apart).
TBytes Chain(const std::vector<Cardinal>& Next) {
  TBytes Out = Header(false);
  for (std::size_t I = 0; I < Next.size(); ++I)
    AddDirectory(Out, {{256, ietLONG, 1, static_cast<Cardinal>(100 + I)}}, Next[I], false);
  return Out;
}

constexpr Cardinal Dir0 = 8, Dir1 = 26, Dir2 = 44;

struct TChainCase {
  const char* Name;
  std::vector<Cardinal> Next;
  Integer Pages;
};

TEST(TiffDirectory, WalkCountsThePagesAndEndsEveryBrokenChain) {
  const TChainCase Cases[] = {
      {"three pages", {Dir1, Dir2, 0}, 3},         {"second points at itself", {Dir1, Dir1}, 2},
      {"loop back to the first", {Dir1, Dir0}, 2}, {"loop of three", {Dir1, Dir2, Dir1}, 3},
      {"next below the header", {Dir1, 4}, 2},     {"next beyond the stream", {Dir1, 5000}, 2},
  };
  for (const TChainCase& Case : Cases) {
    TTiffFile File(Chain(Case.Next));
    EXPECT_FALSE(File.Read(5)) << Case.Name;
    EXPECT_EQ(File.Count, Case.Pages) << Case.Name;
    EXPECT_TRUE(File.Dir.Entries.empty()) << Case.Name;
    ASSERT_TRUE(File.Read(1)) << Case.Name;
    EXPECT_EQ(File.Count, Case.Pages) << Case.Name;
    EXPECT_EQ(TiffGetInteger(File.Dir, 256, 0), 101) << Case.Name;
  }
}

TEST(TiffDirectory, DirectoryThatEndsTheStreamIsLoadedButNotCounted) {
  TBytes Bytes = Chain({Dir1, 0});
  Bytes.resize(Bytes.size() - 4);  // the second directory's next offset is missing
  TTiffFile File(Bytes);
  ASSERT_TRUE(File.Read(1));
  EXPECT_EQ(File.Count, 1);
  EXPECT_EQ(TiffGetInteger(File.Dir, 256, 0), 101);
  // An entry count of 0 ends the chain before it.
  TBytes Empty = Header(false);
  AddDirectory(Empty, {}, 0, false);
  TTiffFile EmptyFile(Empty);
  EXPECT_FALSE(EmptyFile.Read(0));
  EXPECT_EQ(EmptyFile.Count, 0);
}

// The same tags in either byte order: every accessor answers the same.
TBytes ValuesFile(bool BigEndian) {
  TBytes Out = Header(BigEndian);
  constexpr Cardinal Data = 8 + 2 + 12 * 11 + 4;
  AddDirectory(Out,
               {{254, ietBYTE, 1, BigEndian ? 0x07000000u : 0x07u},
                {256, ietSHORT, 1, InlineShort(640, BigEndian)},
                {258, ietSHORT, 2, BigEndian ? 0x00080010u : 0x00100008u},
                {259, ietSHORT, 3, Data},
                {273, ietLONG, 2, Data + 8},
                {282, ietRATIONAL, 2, Data + 16},
                {283, ietSRATIONAL, 1, Data + 32},
                {305, ietASCII, 8, Data + 40},
                {330, ietLONG, 1, 1234},
                {336, ietASCII, 2, BigEndian ? 0x4E000000u : 0x4Eu},
                {40091, ietBYTE, 8, Data + 48}},
               0, BigEndian);
  for (Word W : {1, 2, 3, 0}) AddWord(Out, W, BigEndian);
  AddDWord(Out, 70000, BigEndian);
  AddDWord(Out, 80000, BigEndian);
  for (Cardinal C : {300u, 2u, 5u, 0u}) AddDWord(Out, C, BigEndian);
  AddDWord(Out, static_cast<Cardinal>(-3), BigEndian);
  AddDWord(Out, 4, BigEndian);
  AddText(Out, "NIKON\0\0\0"s);
  AddText(Out, "H\0i\0!\0\0\0"s);
  return Out;
}

TEST(TiffDirectory, AccessorsAnswerTheSameInEitherByteOrder) {
  for (const bool BigEndian : {false, true}) {
    TTiffFile File(ValuesFile(BigEndian), BigEndian);
    ASSERT_TRUE(File.Read(0)) << BigEndian;
    const TIFFDirectory& Dir = File.Dir;
    SCOPED_TRACE(BigEndian ? "big-endian" : "little-endian");
    EXPECT_EQ(TiffGetInteger(Dir, 254, 0), 7);
    EXPECT_EQ(TiffGetInteger(Dir, 256, 0), 640);
    EXPECT_EQ(TiffGetInteger(Dir, 999, -5), -5);
    EXPECT_EQ(TiffGetIntegerAt(Dir, 258, 0, -1), 8);
    EXPECT_EQ(TiffGetIntegerAt(Dir, 258, 1, -1), 16);
    EXPECT_EQ(TiffGetIntegerAt(Dir, 258, 2, -1), -1);
    EXPECT_EQ(TiffGetIntegerAt(Dir, 259, 2, -1), 3);
    EXPECT_EQ(TiffGetIntegerAt(Dir, 273, 1, -1), 80000);
    EXPECT_EQ(TiffGetIntegerAt(Dir, 282, 0, -1), -1);  // not SHORT or LONG
    // A SubIFDs tag of one LONG holds the sub-directory's offset in the entry.
    EXPECT_EQ(TiffGetIntegerAt(Dir, 330, 0, -1), 1234);
    std::vector<Integer> Values;
    EXPECT_EQ(TiffGetIntegerArray(Dir, Values, 259), 3);
    EXPECT_EQ(Values, (std::vector<Integer>{1, 2, 3}));
    EXPECT_EQ(TiffGetIntegerArray(Dir, Values, 258), 2);
    EXPECT_EQ(Values, (std::vector<Integer>{8, 16}));
    EXPECT_DOUBLE_EQ(TiffGetRational(Dir, 282, 0), 150);
    // A zero denominator counts as 1.
    EXPECT_DOUBLE_EQ(TiffGetRationalAt(Dir, 282, 1, 0), 5);
    EXPECT_DOUBLE_EQ(TiffGetRationalAt(Dir, 282, 2, -1), -1);
    EXPECT_DOUBLE_EQ(TiffGetRational(Dir, 283, 0), -0.75);
    // Whole numbers stored as LONG are no offsets of fractions.
    EXPECT_DOUBLE_EQ(TiffGetRationalAt(Dir, 273, 1, -1), 80000);
    std::string S = "old";
    TiffGetString(Dir, 305, true, S);
    EXPECT_EQ(S, "NIKON");
    TiffGetString(Dir, 305, false, S);
    EXPECT_EQ(S, "NIKON\0\0\0"s);
    // Up to four bytes are taken whole from the entry, zero bytes included.
    TiffGetString(Dir, 336, true, S);
    EXPECT_EQ(S, "N\0"s);
    TiffGetInlineString(Dir, 336, S);
    EXPECT_EQ(S, "N\0"s);
    // Longer ones are behind the entry, whose field is their offset, not text.
    TiffGetInlineString(Dir, 305, S);
    EXPECT_EQ(S, "NIKON\0\0\0"s);
    std::u16string W;
    TiffGetWideString(Dir, 40091, W);
    EXPECT_EQ(W, u"Hi!");
    EXPECT_EQ(TiffGetBlock(Dir, 305).size(), 8u);
  }
}

TEST(TiffDirectory, CountsBeyondTheStreamAreRefusedWithoutReading) {
  TBytes Bytes = Header(false);
  AddDirectory(Bytes,
               {{273, ietLONG, 0x40000000, 8},
                {305, ietASCII, 0x100000, 8},
                {306, ietASCII, 100, 8},
                {700, ietBYTE, 0x7FFFFFFF, 8}},
               0, false);
  TTiffFile File(Bytes);
  ASSERT_TRUE(File.Read(0));
  std::vector<Integer> Values{1};
  EXPECT_EQ(TiffGetIntegerArray(File.Dir, Values, 273), 0);
  EXPECT_TRUE(Values.empty());
  EXPECT_EQ(TiffGetIntegerAt(File.Dir, 273, 0x3FFFFFFF, -1), -1);
  std::string S = "kept";
  TiffGetString(File.Dir, 305, true, S);
  EXPECT_EQ(S, "kept");
  // A text running past the end keeps what the stream holds.
  TiffGetString(File.Dir, 306, false, S);
  EXPECT_EQ(S.size(), Bytes.size() - 8);
  EXPECT_TRUE(TiffGetBlock(File.Dir, 700).empty());
}

TEST(TiffDirectory, OffsetsCountFromTheBase) {
  TBytes Bytes(5, 'x');
  const TBytes Inner = ValuesFile(false);
  Bytes.insert(Bytes.end(), Inner.begin(), Inner.end());
  TTiffFile File(Bytes);
  File.Dir.Base = 5;
  ASSERT_TRUE(File.Read(0));
  EXPECT_EQ(TiffGetIntegerAt(File.Dir, 273, 1, -1), 80000);
  std::string S;
  TiffGetString(File.Dir, 305, true, S);
  EXPECT_EQ(S, "NIKON");
}

TEST(TiffDirectory, DottedTextAndBytes) {
  std::string T;
  TiffBytesToDotted("\x02\x02\0\0"s, T);
  EXPECT_EQ(T, "2.2.0.0");
  TiffDottedToBytes("2.2.x.255", T);
  EXPECT_EQ(T, "\x02\x02\0\xFF"s);
}

// A palette page: 2 bits per sample, so 4 entries of red, then green, then blue values.
TTIFFVars ColorMapOf(const std::vector<Word>& Values) {
  TBytes Bytes = Header(false);
  const Word Tag = Values.empty() ? 321 : 320;
  AddDirectory(Bytes, {{Tag, ietSHORT, static_cast<Cardinal>(Values.size()), 26}}, 0, false);
  for (Word V : Values) AddWord(Bytes, V, false);
  TTiffFile File(Bytes);
  EXPECT_TRUE(File.Read(0));
  TTIFFVars Vars;
  Vars.BitsPerSample = 2;
  TiffReadColorMap(File.Dir, Vars);
  return Vars;
}

TEST(TiffDirectory, ColorMapOfEightBitValuesEqualsTheSixteenBitOne) {
  const std::vector<Word> Eight{10, 20, 30, 255, 40, 50, 60, 0, 70, 80, 90, 128};
  std::vector<Word> Sixteen;
  for (Word V : Eight) Sixteen.push_back(static_cast<Word>(V * 257));
  const TTIFFVars Small = ColorMapOf(Eight);
  ASSERT_EQ(Small.ColorMap.size(), 4u);
  EXPECT_EQ(Small.ColorMap[1], (TIERGBTriple{80, 50, 20}));
  EXPECT_EQ(Small.ColorMap[3], (TIERGBTriple{128, 0, 255}));
  EXPECT_EQ(ColorMapOf(Sixteen).ColorMap, Small.ColorMap);
  EXPECT_TRUE(ColorMapOf({}).ColorMap.empty());
}

TEST(TiffDirectory, BitsPerSampleMustAgree) {
  struct TCase {
    std::vector<Word> Values;
    bool Consistent;
    Integer Bits;
  };
  const TCase Cases[] = {{{8}, true, 8}, {{8, 8, 8, 8}, true, 8}, {{8, 8, 16}, false, 16}, {{}, true, 1}};
  for (const TCase& Case : Cases) {
    TBytes Bytes = Header(false);
    const auto Count = static_cast<Cardinal>(Case.Values.size());
    std::vector<TEntry> Entries;
    if (Count == 1) Entries.push_back({258, ietSHORT, 1, Case.Values[0]});
    if (Count > 1) Entries.push_back({258, ietSHORT, Count, 8 + 2 + 2 * 12 + 4});
    Entries.push_back({256, ietSHORT, 1, 1});
    AddDirectory(Bytes, Entries, 0, false);
    for (Word V : Case.Values) AddWord(Bytes, V, false);
    TTiffFile File(Bytes);
    ASSERT_TRUE(File.Read(0));
    Integer Bits = 0;
    EXPECT_EQ(TiffCheckBitsPerSample(File.Dir, Bits), Case.Consistent) << Count;
    EXPECT_EQ(Bits, Case.Bits) << Count;
  }
}

TEST(TiffDirectory, ExtraSamplesKeepAtMostTen) {
  TBytes Bytes = Header(false);
  AddDirectory(Bytes, {{338, ietSHORT, 12, 26}}, 0, false);
  for (Word V = 0; V < 12; ++V) AddWord(Bytes, V == 0 ? 2 : 1, false);
  TTiffFile File(Bytes);
  ASSERT_TRUE(File.Read(0));
  TTIFFVars Vars;
  TiffReadExtraSamples(File.Dir, Vars);
  EXPECT_EQ(Vars.ExtraSamples.size(), 10u);
  EXPECT_EQ(Vars.ExtraSample, 2);
}

}  // namespace
