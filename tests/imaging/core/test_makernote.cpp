#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "imaging/core/iemakernote.h"
#include "tests/imaging/core/TiffTestSupport.h"

namespace {

using namespace tifftest;
using namespace std::string_literals;

const std::string NikonSignature = "Nikon\0\x02\x10\0\0"s;

// A Nikon block with an embedded "MM" header: a SHORT in the entry and a six-letter ASCII
// value behind the directory, its offset counted from the embedded header.
TBytes NikonBlock() {
  TBytes Block;
  AddText(Block, NikonSignature);
  AddText(Block, "MM");
  AddWord(Block, 42, true);
  AddDWord(Block, 8, true);
  AddDirectory(Block, {{1, ietSHORT, 1, InlineShort(0x0205, true)}, {2, ietASCII, 6, 8 + 2 + 2 * 12 + 4}}, 0,
               true);
  AddText(Block, "ABCDE\0"s);
  return Block;
}

// The normalised value of an out-of-line entry.
std::string ValueText(TIETagsHandler& Handler, const TIEMakerNoteEntry& Entry) {
  const auto* Data = static_cast<const char*>(Handler.GetIFD().GetMemory());
  return std::string(Data + Entry.Offset, IETIFFValueBytes(Entry.Type, Entry.Count));
}

// Reads Block placed at Position of a stream (offsets of offset mode 0 count from the stream).
void ReadAt(TIETagsHandler& Handler, const TBytes& Block, Integer Position, bool LittleEndian) {
  TBytes Bytes(Position, 0xEE);
  Bytes.insert(Bytes.end(), Block.begin(), Block.end());
  TMemoryStream Stream;
  Load(Stream, Bytes);
  Stream.Seek(Position, soBeginning);
  Handler.ReadFromStream(&Stream, static_cast<Integer>(Block.size()), LittleEndian);
}

TBytes WriteAt(TIETagsHandler& Handler, Integer Position, Integer* Written = nullptr) {
  TMemoryStream Stream;
  Load(Stream, TBytes(Position, 0));
  Stream.Seek(Position, soBeginning);
  const Integer Size = Handler.WriteToStream(&Stream);
  if (Written) *Written = Size;
  const TBytes All = StreamBytes(Stream);
  return TBytes(All.begin() + Position, All.end());
}

TEST(MakerNote, NikonEmbeddedBigEndianHeaderReadsNormalisedAndWritesBackTheSameBytes) {
  TIETagsHandler Handler;
  ReadAt(Handler, NikonBlock(), 100, true);
  EXPECT_EQ(Handler.GetDeviceInfo().Signature, NikonSignature);
  const auto& Table = Handler.GetTagTable();
  ASSERT_EQ(Table.size(), 2u);
  EXPECT_EQ(Table[0].Tag, 1);
  EXPECT_EQ(Table[0].Offset, 0x0205u);  // little-endian SHORT in the entry
  EXPECT_EQ(Table[1].Count, 6u);
  EXPECT_EQ(ValueText(Handler, Table[1]), "ABCDE\0"s);

  // Written anywhere, the offsets still count from the embedded header: the same bytes.
  EXPECT_EQ(WriteAt(Handler, 37), NikonBlock());
}

TEST(MakerNote, NikonHeaderOffsetFieldIsRewrittenAsEight) {
  TBytes Block = NikonBlock();
  Block[NikonSignature.size() + 7] = 9;  // an odd directory offset in the source header
  TIETagsHandler Handler;
  ReadAt(Handler, Block, 0, true);
  const TBytes Written = WriteAt(Handler, 0);
  EXPECT_EQ(IEGetDWord(Written.data() + NikonSignature.size() + 4, true), 8u);
}

TEST(MakerNote, QvcIsReadAndWrittenBigEndianWhateverTheFilesOrder) {
  TBytes Block;
  AddText(Block, "QVC\0\0\0"s);
  const Cardinal Position = 64;  // offsets count from the enclosing TIFF structure
  AddDirectory(Block, {{7, ietSHORT, 3, Position + 6 + 2 + 12 + 4}}, 0, true);
  for (Word V : {1, 2, 0x0304}) AddWord(Block, V, true);
  TIETagsHandler Handler;
  ReadAt(Handler, Block, Position, true);  // the enclosing file is little-endian
  ASSERT_EQ(Handler.GetTagTable().size(), 1u);
  EXPECT_EQ(ValueText(Handler, Handler.GetTagTable()[0]), "\x01\0\x02\0\x04\x03"s);

  // Written big-endian too, so that it reads back: at its new place the same block.
  const TBytes Written = WriteAt(Handler, Position);
  TBytes Expected = Block;
  Expected.resize(Written.size(), 0);  // the value area ends on an even byte
  EXPECT_EQ(Written, Expected);
}

TBytes FujifilmBlock() {
  TBytes Block;
  AddText(Block, "FUJIFILM");
  AddDWord(Block, 12, false);
  AddDirectory(Block, {{0x1000, ietASCII, 8, 12 + 2 + 12 + 4}}, 0, false);
  AddText(Block, "0130\0\0\0\0"s);
  return Block;
}

TEST(MakerNote, FujifilmDirectoryFollowsItsOffsetAndReadsBackAfterWriting) {
  TIETagsHandler Handler;
  ReadAt(Handler, FujifilmBlock(), 30, false);  // little-endian whatever the file says
  ASSERT_EQ(Handler.GetTagTable().size(), 1u);
  EXPECT_EQ(Handler.GetTagTable()[0].Tag, 0x1000);
  EXPECT_EQ(ValueText(Handler, Handler.GetTagTable()[0]), "0130\0\0\0\0"s);
  EXPECT_EQ(WriteAt(Handler, 500), FujifilmBlock());
}

TEST(MakerNote, UnknownMakerIsAPlainDirectoryInTheEnclosingByteOrder) {
  TBytes Block;
  const Cardinal Position = 10;
  AddDirectory(Block, {{5, ietLONG, 1, 0x01020304}, {6, ietDOUBLE, 1, Position + 2 + 2 * 12 + 4}}, 0, true);
  for (Byte B = 1; B <= 8; ++B) Block.push_back(B);
  TIETagsHandler Handler;
  ReadAt(Handler, Block, Position, false);
  EXPECT_TRUE(Handler.GetDeviceInfo().Signature.empty());
  const auto& Table = Handler.GetTagTable();
  ASSERT_EQ(Table.size(), 2u);
  EXPECT_EQ(Table[0].Offset, 0x01020304u);
  // A DOUBLE of count 1 is eight bytes: out of line, its bytes turned to little-endian.
  EXPECT_EQ(ValueText(Handler, Table[1]), "\x08\x07\x06\x05\x04\x03\x02\x01"s);
}

TEST(MakerNote, ValueOutsideTheBlockIsDroppedAndTheRestKept) {
  TBytes Block;
  AddDirectory(Block, {{1, ietASCII, 20, 5000}, {2, ietBYTE, 2, 0x0A0B}}, 0, false);
  TIETagsHandler Handler;
  ReadAt(Handler, Block, 0, true);
  const auto& Table = Handler.GetTagTable();
  ASSERT_EQ(Table.size(), 2u);
  EXPECT_EQ(Table[0].Count, 0u);
  EXPECT_EQ(Table[0].Offset, 0u);
  EXPECT_EQ(Table[1].Offset, 0x0A0Bu);
}

TEST(MakerNote, UnreadableBlocksLeaveTheHandlerEmpty) {
  TBytes TooManyEntries;
  AddWord(TooManyEntries, 257, false);
  TooManyEntries.resize(2 + 257 * 12 + 4);
  TBytes EntriesPastTheEnd;
  AddWord(EntriesPastTheEnd, 3, false);
  EntriesPastTheEnd.resize(2 + 2 * 12);
  TBytes TruncatedNikon(NikonSignature.begin(), NikonSignature.end());
  TruncatedNikon.push_back('M');
  TBytes FujifilmOffsetPastTheEnd;
  AddText(FujifilmOffsetPastTheEnd, "FUJIFILM");
  AddDWord(FujifilmOffsetPastTheEnd, 0xFFFFFFF0u, false);
  const TBytes Cases[] = {{7}, TooManyEntries, EntriesPastTheEnd, TruncatedNikon, FujifilmOffsetPastTheEnd};
  for (const auto& Block : Cases) {
    TIETagsHandler Handler;
    ReadAt(Handler, FujifilmBlock(), 0, true);
    ReadAt(Handler, Block, 0, true);
    EXPECT_TRUE(Handler.GetTagTable().empty());
    EXPECT_TRUE(Handler.GetRawData().empty());
    EXPECT_EQ(Handler.GetIFD().GetSize(), 0);
  }
}

TEST(MakerNote, SizeClaimedBeyondTheStreamReadsWhatIsThere) {
  const TBytes Block = FujifilmBlock();
  TIETagsHandler Handler;
  TMemoryStream Stream;
  Load(Stream, Block);
  Handler.ReadFromStream(&Stream, 0x7FFFFFFF, true);
  EXPECT_EQ(Handler.GetRawData(), Block);
  EXPECT_EQ(Handler.GetTagTable().size(), 1u);
}

TEST(MakerNote, BlockLargerThanTheLimitIsNotWritten) {
  TBytes Block;
  AddDirectory(Block, {{1, ietUNDEFINED, 65000, 2 + 12 + 4}}, 0, false);
  Block.resize(Block.size() + 65000, 0x55);
  TIETagsHandler Handler;
  ReadAt(Handler, Block, 0, true);
  ASSERT_EQ(Handler.GetTagTable().size(), 1u);
  Integer Written = -1;
  EXPECT_TRUE(WriteAt(Handler, 16, &Written).empty());
  EXPECT_EQ(Written, 0);
}

TEST(MakerNote, AssignCopiesAndAnEmptySourceEmpties) {
  TIETagsHandler Filled, Copy, Empty;
  ReadAt(Filled, NikonBlock(), 0, true);
  Copy.Assign(&Filled);
  EXPECT_EQ(Copy.GetRawData(), Filled.GetRawData());
  EXPECT_EQ(Copy.GetDeviceInfo().Header, Filled.GetDeviceInfo().Header);
  EXPECT_EQ(WriteAt(Copy, 0), NikonBlock());
  Copy.Assign(&Empty);
  EXPECT_TRUE(Copy.GetTagTable().empty());
  EXPECT_TRUE(Copy.GetRawData().empty());
  EXPECT_TRUE(Copy.GetDeviceInfo().Signature.empty());
}

// Every maker layout: read where it was, written elsewhere, read there again gives the same
// normalised directory, values included.
TEST(MakerNote, EveryMakerLayoutRoundTripsThroughANewPlace) {
  struct {
    std::string Signature;
    Byte OffsetMode, HeaderKind;
    bool BigEndian;
  } Makers[] = {
      {"SONY CAM \0\0\0"s, 0, 0, false}, {"SONY DSC \0\0\0"s, 0, 0, false}, {NikonSignature, 1, 1, true},
      {"QVC\0\0\0"s, 0, 0, true},        {"EPSON\0\x01\0"s, 0, 0, false},   {"Nikon\0\x01\0"s, 0, 0, false},
      {"Panasonic\0\0\0"s, 0, 0, false}, {"FUJIFILM"s, 1, 2, false},        {"", 0, 0, false},
  };
  const Integer Position = 50;
  for (const auto& Maker : Makers) {
    TBytes Block;
    AddText(Block, Maker.Signature);
    if (Maker.HeaderKind == 1) {
      AddText(Block, "MM");
      AddWord(Block, 42, true);
      AddDWord(Block, 8, true);
    } else if (Maker.HeaderKind == 2) {
      AddDWord(Block, static_cast<Cardinal>(Block.size() + 4), false);
    }
    const auto ValuesAt = static_cast<Cardinal>(Block.size() + 2 + 2 * 12 + 4);
    const Cardinal Base = Maker.OffsetMode == 0   ? Position
                          : Maker.HeaderKind == 1 ? -Cardinal(Maker.Signature.size())
                                                  : 0;
    AddDirectory(Block, {{1, ietSHORT, 1, InlineShort(7, Maker.BigEndian)}, {2, ietLONG, 2, ValuesAt + Base}},
                 0, Maker.BigEndian);
    AddDWord(Block, 0x01020304, Maker.BigEndian);
    AddDWord(Block, 0x05060708, Maker.BigEndian);

    TIETagsHandler Handler;
    ReadAt(Handler, Block, Position, true);
    ASSERT_EQ(Handler.GetDeviceInfo().Signature, Maker.Signature);
    ASSERT_EQ(Handler.GetTagTable().size(), 2u) << Maker.Signature;
    EXPECT_EQ(Handler.GetTagTable()[0].Offset, 7u);
    EXPECT_EQ(ValueText(Handler, Handler.GetTagTable()[1]), "\x04\x03\x02\x01\x08\x07\x06\x05"s);

    TIETagsHandler Again;
    ReadAt(Again, WriteAt(Handler, 300), 300, true);
    EXPECT_EQ(StreamBytes(Again.GetIFD()), StreamBytes(Handler.GetIFD())) << Maker.Signature;
  }
}

}  // namespace
