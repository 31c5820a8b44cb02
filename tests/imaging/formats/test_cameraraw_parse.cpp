// Camera raw container parsers and content tests over hand-built files: TIFF with Kodak
// sub-IFDs and a Nikon maker note, the CIFF heap, the Rollei and Foveon headers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CameraRawEntropyTestSupport.h"

namespace {

// A little-endian TIFF: IFD 0 at byte 8 with Entries (tag, type, count, value) and data blocks
// placed by the caller; the next-IFD link is NextIfd.
struct TTiffTestEntry {
  Integer Tag, Type;
  Cardinal Count, Value;
};

TRawFileBuilder TiffWith(const std::vector<TTiffTestEntry>& Entries, Cardinal NextIfd) {
  TRawFileBuilder File(false);
  File.Put2(0x4949);
  File.Put2(42);
  File.Put4(8);
  File.Put2(static_cast<Integer>(Entries.size()));
  for (const auto& E : Entries) RawPutEntry(File, E.Tag, E.Type, E.Count, E.Value);
  File.Put4(NextIfd);
  return File;
}

}  // namespace

TEST(CameraRawTiff, MainIfdKodakSubIfdAndALoopingChain) {
  for (bool Converted : {false, true}) {
    std::vector<TTiffTestEntry> Entries = {
        {271, 2, 6, 400}, {272, 2, 12, 420}, {274, 3, 1, 6}, {17, 4, 1, 512}, {330, 4, 1, 600}};
    if (Converted) Entries.push_back({305, 2, 16, 440});
    // The chain's next IFD is IFD 0 itself: the walk must end.
    TRawFileBuilder File = TiffWith(Entries, 8);
    File.At(400);
    File.PutText("Kodak");
    File.At(420);
    File.PutText("DCS Pro 14n");
    File.At(440);
    File.PutText("Adobe Photoshop");
    File.At(600);
    File.Put2(5);
    RawPutEntry(File, 256, 4, 1, 3000);
    RawPutEntry(File, 257, 4, 1, 2000);
    RawPutEntry(File, 259, 3, 1, 65000);
    RawPutEntry(File, 262, 3, 1, 32803);
    RawPutEntry(File, 273, 4, 1, 5000);
    File.At(700);
    TRawDataContext T(File.Bytes, 1, 1);
    T.C->RawWidth = T.C->RawHeight = 0;
    RawParseTiff(*T.C, 0);
    EXPECT_STREQ(T.C->Make, Converted ? "" : "Kodak");
    EXPECT_STREQ(T.C->Model, "DCS Pro 14n");
    EXPECT_EQ(T.C->Flip, 6);
    EXPECT_FLOAT_EQ(T.C->CameraRed, 2.0f);
    EXPECT_EQ(T.C->RawWidth, 3000);
    EXPECT_EQ(T.C->RawHeight, 2000);
    EXPECT_EQ(T.C->TiffCompression, 65000);
    EXPECT_EQ(T.C->TiffPhotometric, 32803);
    EXPECT_EQ(T.C->DataOffset, 5000);
  }
}

TEST(CameraRawTiff, StripOffsetsOfOlympusAndCanon) {
  struct TCase {
    const char* Make;
    const char* ExpectedMake;
    Integer Height, ExpectedRawHeight, ExpectedOffset;
  };
  // Olympus: the first offset of the list, the height rounded up to even, the make cut to
  // "OLYMPUS". Canon: tag 273's own value.
  for (const TCase& Case : {TCase{"OLYMPUS OPTICAL CO.,LTD", "OLYMPUS", 1001, 1002, 1234},
                            TCase{"Canon", "Canon", 1001, 0, 500}}) {
    TRawFileBuilder File = TiffWith({{271, 2, 24, 400},
                                     {256, 4, 1, 2000},
                                     {257, 4, 1, static_cast<Cardinal>(Case.Height)},
                                     {273, 4, 2, 500}},
                                    0);
    File.At(400);
    File.PutText(Case.Make);
    File.At(500);
    File.Put4(1234);
    File.Put4(5678);
    TRawDataContext T(File.Bytes, 1, 1);
    T.C->RawWidth = T.C->RawHeight = 0;
    RawParseTiff(*T.C, 0);
    EXPECT_STREQ(T.C->Make, Case.ExpectedMake);
    EXPECT_EQ(T.C->RawHeight, Case.ExpectedRawHeight);
    EXPECT_EQ(T.C->DataOffset, Case.ExpectedOffset);
  }
}

TEST(CameraRawTiff, NikonMakerNoteGivesTheCameraWhiteBalance) {
  // EXIF IFD at 300 with a maker note at 400: "Nikon\0" + 4 bytes, then a big-endian TIFF
  // header whose offsets count from byte 410; its tag 12 points at four ratios.
  TRawFileBuilder File = TiffWith({{271, 2, 6, 200}, {34665, 4, 1, 300}}, 0);
  File.At(200);
  File.PutText("NIKON");
  File.At(300);
  File.Put2(1);
  RawPutEntry(File, 37500, 7, 100, 400);
  File.At(400);
  for (char Ch : std::string("Nikon\0\2\0\0\0", 10)) File.Put1(Ch);
  TRawFileBuilder Note(true);
  Note.Put2(0x4D4D);
  Note.Put2(42);
  Note.Put4(8);
  Note.Put2(1);
  RawPutEntry(Note, 12, 5, 4, 100);
  Note.At(100);
  for (Cardinal V : {300u, 200u, 3u, 4u}) Note.Put4(V);
  File.PutBytes(Note.Bytes);
  TRawDataContext T(File.Bytes, 1, 1);
  RawParseTiff(*T.C, 0);
  EXPECT_FLOAT_EQ(T.C->CameraRed, 1.5f);
  EXPECT_FLOAT_EQ(T.C->CameraBlue, 0.75f);
  EXPECT_EQ(T.C->ByteOrder, 0x4949);  // the file's order is back after the note
}

namespace {

TRawDataContext* ParseCiff(std::unique_ptr<TRawDataContext>& Holder, const std::vector<Byte>& Heap) {
  std::vector<Byte> File = RawText(std::string("II\x1a\0\0\0HEAPCCDR", 14));
  File.resize(26);
  File.insert(File.end(), Heap.begin(), Heap.end());
  Holder = std::make_unique<TRawDataContext>(File, 1, 1);
  RawParseCiff(*Holder->C, 26, static_cast<Integer>(File.size() - 26));
  return Holder.get();
}

}  // namespace

TEST(CameraRawCiff, NamesSizeRotationAndWhiteBalanceWithoutAnIndex) {
  // No 0x102A record: the index stays -1 and the 0x0032 record is read from its byte 80.
  std::vector<Byte> Balance = RawWords({1, 9, 9, 1}, 88);
  std::vector<Byte> Slot0 = RawWords({100, 250, 300, 200});
  std::copy(Slot0.begin(), Slot0.end(), Balance.begin() + 80);
  TRawFileBuilder Rotation(false);
  Rotation.At(12);
  Rotation.Put4(90);
  const std::vector<Byte> Inner = RawCiffHeap({{0x1031, RawWords({0, 2144, 1560})}});
  std::unique_ptr<TRawDataContext> Holder;
  TRawDataContext* T =
      ParseCiff(Holder, RawCiffHeap({{0x080A, RawText(std::string("Canon\0Canon PowerShot S30\0", 26))},
                                     {0x0032, Balance},
                                     {0x1810, Rotation.Bytes},
                                     {0x300A, Inner}},
                                    true));
  EXPECT_STREQ(T->C->Make, "Canon");
  EXPECT_STREQ(T->C->Model, "Canon PowerShot S30");
  EXPECT_FLOAT_EQ(T->C->CameraRed, 2.5f);
  EXPECT_FLOAT_EQ(T->C->CameraBlue, 1.5f);
  EXPECT_EQ(T->C->Flip, 6);
  EXPECT_EQ(T->C->RawWidth, 2144);
  EXPECT_EQ(T->C->RawHeight, 1560);
}

TEST(CameraRawCiff, TheD30AtIndexZeroUsesTheAutomaticWhiteBalance) {
  for (Integer Index : {0, 1}) {
    std::unique_ptr<TRawDataContext> Holder;
    TRawDataContext* T =
        ParseCiff(Holder, RawCiffHeap({{0x080A, RawText(std::string("Canon\0Canon EOS D30\0", 20))},
                                       {0x102A, RawWords({0, 0, 0, 0, 0, 0, 0, Index})},
                                       {0x0032, RawWords({100, 300, 50, 100}, 72)}}));
    // The D30 reads its balance at byte 72, 72 of its record holding zeros before it.
    EXPECT_FLOAT_EQ(T->C->CameraRed, Index == 0 ? -1.0f : 3.0f);
    EXPECT_FLOAT_EQ(T->C->CameraBlue, 0.5f);
  }
}

TEST(CameraRawHeaders, RolleiRecordsGiveSizeAndTheOffsetPastTheThumbnail) {
  for (bool WithHdr : {true, false}) {
    std::vector<Byte> File;
    std::vector<std::string> Lines = {"X  =1316", "Y  =1030", "TX =10", "TY =8", "junk", "EOHD"};
    if (WithHdr) Lines.insert(Lines.begin(), "HDR=100");
    for (const auto& Line : Lines) {
      std::vector<Byte> Record(128, 0);
      std::copy(Line.begin(), Line.end(), Record.begin());
      File.insert(File.end(), Record.begin(), Record.end());
    }
    TRawDataContext T(File, 1, 1);
    T.C->DataOffset = 0;
    RawParseRollei(*T.C);
    EXPECT_EQ(T.C->DataOffset, (WithHdr ? 100 : 0) + 10 * 8 * 2);
    EXPECT_EQ(T.C->RawWidth, 1316);
    EXPECT_EQ(T.C->RawHeight, 1030);
    EXPECT_STREQ(T.C->Make, "Rollei");
    EXPECT_STREQ(T.C->Model, "d530flex");
  }
}

TEST(CameraRawHeaders, FoveonNamesComeFromTheCamfTextBlock) {
  TRawFileBuilder File(false);
  File.At(248);
  File.Put4(2304);
  File.Put4(1531);
  // At 300 the block header: at s + 8 a count of 8-byte units before the text.
  File.At(308);
  File.Put4(2);
  File.At(300 + 2 * 8 + 24);
  const std::string Names("CAMMANUF\0SIGMA\0CAMMODEL\0SD10\0TIME\0001234\0", 39);
  for (char Ch : Names) File.Put2(static_cast<Byte>(Ch));
  const Cardinal Directory = static_cast<Cardinal>(File.Position());
  File.Put4(7);
  File.PutBytes(RawText("CAMF"));
  File.Put4(300);
  File.Put4(Directory);
  TRawDataContext T(File.Bytes, 1, 1);
  RawParseFoveon(*T.C);
  EXPECT_STREQ(T.C->Make, "SIGMA");
  EXPECT_STREQ(T.C->Model, "SD10");
  EXPECT_EQ(T.C->Timestamp, 1234);
  EXPECT_EQ(T.C->RawWidth, 2304);
  EXPECT_EQ(T.C->RawHeight, 1531);

  // Without the marker nothing is named, and the search ends at the file's end.
  std::vector<Byte> Unmarked = File.Bytes;
  Unmarked[Directory + 4] = 'X';
  TRawDataContext U(Unmarked, 1, 1);
  RawParseFoveon(*U.C);
  EXPECT_STREQ(U.C->Make, "");
}

TEST(CameraRawProbes, ContentTestsTellCamerasApart) {
  // E2100: every 12-byte run carries its marker bits; one run without them is an E2500.
  std::vector<Byte> E2100(1024 * 12, 0);
  for (std::size_t At = 0; At < E2100.size(); At += 12)
    for (Integer I : {1, 2, 4, 6, 7, 8, 9, 11}) E2100[At + I] = 0x33;
  TRawDataContext A(E2100, 1, 1);
  EXPECT_TRUE(RawNikonE2100Test(*A.C));
  E2100[12 * 500 + 6] = 0x30;
  TRawDataContext B(E2100, 1, 1);
  EXPECT_FALSE(RawNikonE2100Test(*B.C));

  // Minolta Z2: anything but zeros in the last 424 bytes.
  std::vector<Byte> Tail(2000, 0);
  TRawDataContext C(Tail, 1, 1);
  EXPECT_FALSE(RawMinoltaZ2Test(*C.C));
  Tail[2000 - 424] = 1;
  TRawDataContext D(Tail, 1, 1);
  EXPECT_TRUE(RawMinoltaZ2Test(*D.C));

  // D100: compressed when any sixteenth byte of the data's first 256 is set.
  std::vector<Byte> D100(1000, 0x55);
  for (std::size_t At = 100 + 15; At < 356; At += 16) D100[At] = 0;
  TRawDataContext E(D100, 1, 1);
  std::strcpy(E.C->Model, "D100");
  E.C->TiffCompression = 34713;
  E.C->DataOffset = 100;
  EXPECT_FALSE(RawNikonIsCompressed(*E.C));
  E.C->DataOffset = 101;
  EXPECT_TRUE(RawNikonIsCompressed(*E.C));
  E.C->TiffCompression = 1;
  EXPECT_FALSE(RawNikonIsCompressed(*E.C));
}

TEST(CameraRawProbes, CanonLowBitsAnswerAtTheFirstMarkerPair) {
  struct TCase {
    std::vector<std::pair<Integer, Byte>> Bytes;
    bool Expected;
  };
  const TCase Cases[] = {
      {{}, true},                                     // no 0xFF at all
      {{{600, 0xFF}}, false},                         // 0xFF 0x00
      {{{600, 0xFF}, {700, 0xFF}, {701, 1}}, true},   // a later 0xFF with a non-zero byte
      {{{500, 0xFF}, {501, 1}, {600, 0xFF}}, false},  // before byte 540 nothing counts
  };
  for (const TCase& Case : Cases) {
    std::vector<Byte> File(0x4000, 0);
    for (auto [At, Value] : Case.Bytes) File[At] = Value;
    TRawDataContext T(File, 1, 1);
    EXPECT_EQ(RawCanonHasLowBits(*T.C), Case.Expected);
  }
}
