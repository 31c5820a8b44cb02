// The DICOM reader on files built by hand: parsing without preamble, frame choice in native
// and encapsulated data, the window rules, the tag list, JPEG 2000 frames, and malformed files
// that must fail without allocating what they claim.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/iestreams.h"
#include "imaging/formats/iejpeg2000.h"
#include "tests/imaging/formats/DicomTestSupport.h"

namespace {

std::vector<Byte> Grey8Frame(Integer Count, Integer Seed) {
  std::vector<Byte> V;
  for (Integer I = 0; I < Count; ++I) V.push_back(static_cast<Byte>(Seed + I * 7));
  return V;
}

std::vector<Integer> Row0(TDicomRead& R) {
  const std::vector<Integer> All = PictureSamples(R.Bitmap).Samples;
  return {All.begin(), All.begin() + R.Bitmap.GetWidth()};
}

TEST(TDicomParse, FileWithoutPreambleIsParsedFromItsFirstByte) {
  TDicomBytes File;  // implicit VRs, no file meta group
  File.Element(0x0010, 0x0010, "PN", "Doe^Jane").Picture(3, 2, 8);
  File.NativePixels({1, 2, 3, 4, 5, 6});
  const auto Read = ReadDicomBytes(File.Bytes());
  ASSERT_FALSE(Read->Aborted);
  EXPECT_EQ(PictureSamples(Read->Bitmap).Samples, (std::vector<Integer>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Read->Bitmap.GetPixelFormat(), ie8g);

  // The tag list holds every element with the dictionary's VR; the pixel data is not in it.
  const TIEDICOMTags& Tags = *Read->Params.DicomTags;
  ASSERT_EQ(Tags.GetCount(), 7);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Tags.GetTag(0).Data.get())), "Doe^Jane");
  EXPECT_EQ(std::string(Tags.GetTag(4).VR, 2), "US");
  EXPECT_EQ(Tags.GetTag(4).Element, 0x0011);

  TMemoryStream Stream;
  LoadBytes(Stream, File.Bytes());
  EXPECT_FALSE(DicomIsFile(&Stream));
  TDicomBytes WithPreamble(TDicomBytes::ExplicitLittle);
  LoadBytes(Stream, WithPreamble.Bytes());
  Stream.SetPosition(0);
  EXPECT_TRUE(DicomIsFile(&Stream));
  EXPECT_EQ(Stream.GetPosition(), 0);
}

TEST(TDicomParse, AnIndexBeyondTheLastFrameReadsTheLastAndIsChanged) {
  TDicomBytes File(TDicomBytes::ExplicitLittle);
  File.Picture(2, 2, 8, 1, 3);
  std::vector<Byte> Data;
  for (Integer F = 0; F < 3; ++F)
    for (const Byte B : Grey8Frame(4, 50 * F)) Data.push_back(B);
  File.NativePixels(Data);
  for (const auto& [Index, Frame] : {std::pair{1, 1}, std::pair{7, 2}}) {
    const auto Read = ReadDicomBytes(File.Bytes(), Index);
    ASSERT_FALSE(Read->Aborted);
    EXPECT_EQ(Read->Params.ImageIndex, Frame);
    EXPECT_EQ(Read->Params.ImageCount, 3);
    EXPECT_EQ(PictureSamples(Read->Bitmap).Samples[0], 50 * Frame);
  }
}

// Three RLE frames whose middle grey tells them apart after the stretch.
std::vector<std::vector<Byte>> RleFrames() {
  std::vector<std::vector<Byte>> Frames;
  for (Integer F = 0; F < 3; ++F) Frames.push_back(RleFragment({{0, static_cast<Byte>(10 * (F + 1)), 250}}));
  return Frames;
}

Integer MiddleOfFrame(Integer Frame) {
  return 10 * (Frame + 1) * 255 / 250;
}

TEST(TDicomParse, EncapsulatedFramesAreFoundByTheOffsetTableOrByCountingItems) {
  const auto Frames = RleFrames();
  // An empty table: the items are counted.
  TDicomBytes Counted(TDicomBytes::Rle);
  Counted.Picture(3, 1, 8, 1, 3).Fragments({}, Frames);
  const auto Third = ReadDicomBytes(Counted.Bytes(), 2);
  ASSERT_FALSE(Third->Aborted);
  EXPECT_EQ(Row0(*Third), (std::vector<Integer>{0, MiddleOfFrame(2), 255}));

  // A table that lists the fragments backwards rules over their order.
  std::vector<Cardinal> Offsets;
  Cardinal Offset = 0;
  for (const auto& F : Frames) Offsets.insert(Offsets.begin(), std::exchange(Offset, Offset + 8 + F.size()));
  TDicomBytes Listed(TDicomBytes::Rle);
  Listed.Picture(3, 1, 8, 1, 3).Fragments(Offsets, Frames);
  const auto First = ReadDicomBytes(Listed.Bytes(), 0);
  ASSERT_FALSE(First->Aborted);
  EXPECT_EQ(Row0(*First), (std::vector<Integer>{0, MiddleOfFrame(2), 255}));
}

TEST(TDicomParse, AWindowCentreOfZeroIsIgnoredButTheStretchRuns) {
  TDicomBytes File(TDicomBytes::ExplicitLittle);
  File.Picture(3, 1, 16);
  File.Element(0x0028, 0x1050, "DS", "0 ").Element(0x0028, 0x1051, "DS", "100 ");
  File.NativePixels({0xE8, 0x03, 0xDC, 0x05, 0xD0, 0x07});  // 1000, 1500, 2000
  const auto Read = ReadDicomBytes(File.Bytes());
  ASSERT_FALSE(Read->Aborted);
  EXPECT_EQ(Row0(*Read), (std::vector<Integer>{0, 32767, 65535}));
}

TEST(TDicomParse, ElementsWithLongLengthsAreSteppedOverWhole) {
  // UT has a 32-bit length after two reserved bytes, like OB: a 16-bit reading would take
  // the reserved bytes for the length and lose every element after it.
  TDicomBytes File(TDicomBytes::ExplicitLittle);
  File.Element(0x0040, 0xA160, "UT", "Some remark").Picture(2, 1, 8).NativePixels({9, 8});
  const auto Read = ReadDicomBytes(File.Bytes());
  ASSERT_FALSE(Read->Aborted);
  EXPECT_EQ(PictureSamples(Read->Bitmap).Samples, (std::vector<Integer>{9, 8}));
  EXPECT_EQ(std::string(Read->Params.DicomTags->GetTag(1).VR, 2), "UT");
}

TEST(TDicomParse, PreviewFillsTheParametersOnly) {
  TDicomBytes File(TDicomBytes::ExplicitLittle);
  File.Picture(4, 3, 12, 1, 5).NativePixels(std::vector<Byte>(4 * 3 * 2 * 5, 1));
  const auto Read = ReadDicomBytes(File.Bytes(), 9, true);
  EXPECT_FALSE(Read->Aborted);
  EXPECT_TRUE(Read->Bitmap.IsEmpty());
  EXPECT_EQ(Read->Params.Width, 4);
  EXPECT_EQ(Read->Params.FileHeight, 3);
  EXPECT_EQ(Read->Params.BitsPerSample, 12);
  EXPECT_EQ(Read->Params.ImageCount, 5);
  EXPECT_EQ(Read->Params.ImageIndex, 4);
}

TEST(TDicomParse, JpegTwoThousandFramesGoToItsReader) {
  TIEBitmap Source(6, 4, ie24RGB);
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 6; ++X)
      Source.SetPixel24(X, Y, TIERGBTriple{Byte(X * 40), Byte(Y * 80), Byte(255 - X * 9)});
  for (const Integer Samples : {1, 3}) {
    SCOPED_TRACE(Samples);
    TIOParamsVals Params;
    Params.J2000ColorSpace = Samples == 1 ? 0 : 1;
    TMemoryStream Code;
    TTestProgress Progress;
    Jpeg2000WriteStream(&Code, &Source, Params, 1, Progress.Progress);
    ASSERT_FALSE(Progress.Aborting);
    const std::vector<Byte> Stream = StreamBytes(Code);
    TDicomBytes File(TDicomBytes::Jpeg2000);
    File.Picture(6, 4, 8, Samples, 1, Samples == 1 ? "MONOCHROME2" : "RGB").Fragments({}, {Stream});
    const auto Read = ReadDicomBytes(File.Bytes());
    ASSERT_FALSE(Read->Aborted);
    TIEBitmap Direct;
    TIOParamsVals DirectParams;
    Code.SetPosition(0);
    Jpeg2000ReadStream(&Code, &Direct, DirectParams, false, Progress.Progress);
    if (Samples == 1) {
      // Grey comes as one sample a pixel, stretched from its darkest to its lightest level.
      ASSERT_EQ(Read->Bitmap.GetPixelFormat(), ie8g);
      TPnmPicture Expected = PictureSamples(Direct);
      TPnmPicture Grey;
      Integer Low = 255, High = 0;
      for (size_t I = 0; I < Expected.Samples.size(); I += 3) {
        Grey.Samples.push_back(Expected.Samples[I]);
        Low = std::min(Low, Expected.Samples[I]);
        High = std::max(High, Expected.Samples[I]);
      }
      for (Integer& S : Grey.Samples) S = (S - Low) * 255 / (High - Low);
      EXPECT_EQ(PictureSamples(Read->Bitmap).Samples, Grey.Samples);
    } else {
      EXPECT_EQ(PictureSamples(Read->Bitmap).Samples, PictureSamples(Direct).Samples);
    }
  }
}

// Files that must fail: the abort flag set and nothing near the claimed size allocated.
struct TBadFile {
  const char* Name;
  std::vector<Byte> (*Make)();
};

std::vector<Byte> NativeRunsPastTheEnd() {
  TDicomBytes F(TDicomBytes::ExplicitLittle);
  F.Picture(4, 4, 8);
  F.Element(0x7FE0, 0x0010, "OB", std::string(10, '\1'), 16);
  return F.Bytes();
}
std::vector<Byte> HugeNativeClaim() {
  TDicomBytes F(TDicomBytes::ExplicitLittle);
  F.Picture(65535, 65535, 16, 1, 2147483647).NativePixels(std::vector<Byte>(64, 1));
  return F.Bytes();
}
std::vector<Byte> HugeRleClaim() {
  TDicomBytes F(TDicomBytes::Rle);
  F.Picture(65535, 65535, 8).Fragments({}, {RleFragment({{1, 2, 3}})});
  return F.Bytes();
}
std::vector<Byte> HugeLosslessClaim() {
  // SOI, DHT (one code), SOF3 65535 x 65535, SOS, a few coded bytes.
  const std::vector<Byte> Jpeg = {
      0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x14, 0x00, 1,    0,    0,    0, 0,    0,    0,    0,    0,   0,
      0,    0,    0,    0,    0,    0,    0xFF, 0xC3, 0x00, 0x0B, 8, 0xFF, 0xFF, 0xFF, 0xFF, 1,   1,
      0x11, 0,    0xFF, 0xDA, 0x00, 0x08, 1,    1,    0x00, 1,    0, 0,    0x00, 0x00, 0xFF, 0xD9};
  TDicomBytes F(TDicomBytes::Lossless);
  F.Picture(65535, 65535, 8).Fragments({}, {Jpeg});
  return F.Bytes();
}
std::vector<Byte> MissingItemTag() {
  TDicomBytes F(TDicomBytes::Rle);
  F.Picture(3, 1, 8).Element(0x7FE0, 0x0010, "OB", "", 0xFFFFFFFF);
  F.Put32(0x12345678);
  F.Put32(0);
  return F.Bytes();
}
std::vector<Byte> FragmentPastTheEnd() {
  TDicomBytes F(TDicomBytes::Rle);
  F.Picture(3, 1, 8).Element(0x7FE0, 0x0010, "OB", "", 0xFFFFFFFF);
  F.Put16(0xFFFE), F.Put16(0xE000), F.Put32(0);
  F.Put16(0xFFFE), F.Put16(0xE000), F.Put32(5000);
  F.Append(std::string(70, '\0'));
  return F.Bytes();
}
std::vector<Byte> Mpeg2() {
  TDicomBytes F("1.2.840.10008.1.2.4.100");
  F.Picture(3, 1, 8).Fragments({}, {{0, 0, 1, 0xB3}});
  return F.Bytes();
}
std::vector<Byte> UnknownCompression() {
  // JPEG-LS is not decoded here: its fragment is no native data.
  TDicomBytes F("1.2.840.10008.1.2.4.80");
  F.Picture(3, 1, 8).Fragments({}, {{0xFF, 0xD8, 0xFF, 0xF7, 0, 0}});
  return F.Bytes();
}
std::vector<Byte> NoPixelData() {
  TDicomBytes F(TDicomBytes::ExplicitLittle);
  F.Picture(3, 1, 8);
  return F.Bytes();
}
std::vector<Byte> UnknownLayout() {
  TDicomBytes F(TDicomBytes::ExplicitLittle);
  F.Picture(2, 1, 32).NativePixels(std::vector<Byte>(8, 1));
  return F.Bytes();
}

const TBadFile BadFiles[] = {
    {"native data past the end", NativeRunsPastTheEnd},
    {"huge native claim", HugeNativeClaim},
    {"huge RLE claim", HugeRleClaim},
    {"huge lossless JPEG claim", HugeLosslessClaim},
    {"missing item tag", MissingItemTag},
    {"fragment past the end", FragmentPastTheEnd},
    {"MPEG-2", Mpeg2},
    {"JPEG-LS", UnknownCompression},
    {"no pixel data", NoPixelData},
    {"32-bit samples", UnknownLayout},
};

TEST(TDicomParse, MalformedFilesFailWithoutAllocatingTheirClaims) {
  for (const TBadFile& Bad : BadFiles) {
    SCOPED_TRACE(Bad.Name);
    const auto Read = ReadDicomBytes(Bad.Make(), 3);
    EXPECT_TRUE(Read->Aborted);
    EXPECT_LT(static_cast<Int64>(Read->Bitmap.GetWidth()) * Read->Bitmap.GetHeight(), 1 << 20);
  }
  // Without a bitmap to fill, a file without pixels is no failure.
  EXPECT_FALSE(ReadDicomBytes(NoPixelData(), 0, true)->Aborted);
}

struct TRleCase {
  std::vector<Byte> Data;
  Integer Expected;
  std::vector<Byte> Out;
  Integer Consumed;
};

TEST(TDicomParse, PackBitsSegmentsUnpackWithinBothLimits) {
  const TRleCase Cases[] = {
      {{2, 7, 8, 9}, 3, {7, 8, 9}, 4},                    // literal run
      {{0xFE, 5}, 3, {5, 5, 5}, 2},                       // repeat 1 - n times
      {{0x80, 0xFF, 4}, 2, {4, 4}, 3},                    // -128 is skipped
      {{0xFD, 6, 1, 3}, 2, {6, 6}, 2},                    // stops at the expected count
      {{4, 1, 2}, 5, {1, 2, 0, 0, 0}, 3},                 // a literal cut by the data's end
      {{0x81, 9, 0}, 200, std::vector<Byte>(128, 9), 3},  // the longest repeat, then a literal cut
  };
  for (const TRleCase& C : Cases) {
    std::vector<Byte> Out(static_cast<size_t>(C.Expected), 0);
    const Integer Consumed =
        DicomUnpackRLE(C.Data.data(), static_cast<Integer>(C.Data.size()), Out.data(), C.Expected);
    std::vector<Byte> Want = C.Out;
    Want.resize(Out.size(), 0);
    EXPECT_EQ(Out, Want);
    EXPECT_EQ(Consumed, C.Consumed);
  }
}

TEST(TDicomParse, TheDictionaryGivesTheVRsOfKnownElements) {
  EXPECT_EQ(DicomLookupVR(0x0028, 0x0010), "US");
  EXPECT_EQ(DicomLookupVR(0x0002, 0x0010), "UI");
  EXPECT_EQ(DicomLookupVR(0x0028, 0x1050), "DS");
  EXPECT_EQ(DicomLookupVR(0xFFFE, 0xE000), "!!");
  EXPECT_EQ(DicomLookupVR(0xFFFE, 0xE0DD), "!!");
  EXPECT_EQ(DicomLookupVR(0x7FE0, 0x0010), "xs");  // OB or OW
  EXPECT_EQ(DicomLookupVR(0x0009, 0x0010), "xs");  // private: not in the dictionary
}

TEST(TDicomParse, LosslessDecoderRefusesWhatItCannotDecode) {
  TIELocalProgress Progress;
  TLosslessJpegImage Image;
  // A baseline frame (SOF0) is no lossless frame.
  const std::vector<Byte> Baseline = {0xFF, 0xD8, 0xFF, 0xC0, 0,    11, 8,    0,   1,
                                      0,    1,    1,    1,    0x11, 0,  0xFF, 0xD9};
  EXPECT_FALSE(
      LosslessJpegDecode(Baseline.data(), static_cast<Integer>(Baseline.size()), Image, Progress.Progress));
  // A Huffman table of 18 codes.
  std::vector<Byte> TooMany = {0xFF, 0xD8, 0xFF, 0xC4, 0, 2 + 17 + 18, 0, 0, 18};
  TooMany.resize(TooMany.size() + 14 + 18, 0);
  EXPECT_FALSE(
      LosslessJpegDecode(TooMany.data(), static_cast<Integer>(TooMany.size()), Image, Progress.Progress));
}

}  // namespace
