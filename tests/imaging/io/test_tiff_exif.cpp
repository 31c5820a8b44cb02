#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/ietiffbytes.h"
#include "imaging/core/ietiffhandler.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/core/TiffTestSupport.h"

namespace {

using namespace tifftest;
using namespace std::string_literals;

constexpr Word TagExif = 34665;
constexpr Word TagGps = 34853;

// A page holding only the tags of Params, as the writer makes it.
TBytes WriteTags(TIOParamsVals& Params) {
  TMemoryStream Stream;
  TIELocalProgress Local;
  const Byte Placeholder[8] = {};
  Stream.WriteBuffer(Placeholder, 8);
  TTIFFEntryWriter Page(&Stream, Local.Progress);
  TiffWriteExifTags(Page, Params);
  const Int64 Directory = Page.WriteDirectory(0);
  EXPECT_FALSE(Local.Aborting);
  TBytes Bytes = StreamBytes(Stream);
  Bytes[0] = Bytes[1] = 'I';
  IEPutWord(Bytes.data() + 2, 42, false);
  IEPutDWord(Bytes.data() + 4, static_cast<Cardinal>(Directory), false);
  return Bytes;
}

// The page's directories as the reader loads them.
struct TReadBack {
  TMemoryStream Stream;
  TIFFDirectory Page, Exif, Gps;

  explicit TReadBack(const TBytes& Bytes) {
    Load(Stream, Bytes);
    for (TIFFDirectory* Dir : {&Page, &Exif, &Gps}) {
      Dir->Stream = &Stream;
      Dir->LittleEndian = Bytes[0] == 'I';
    }
    Integer Count = 0;
    EXPECT_TRUE(TiffReadDirectory(0, IEGetDWord(Bytes.data() + 4, !Page.LittleEndian), Page, Count));
    if (TiffFindTag(TagExif, Page) >= 0) TiffReadDirectory(0, TiffGetInteger(Page, TagExif, 0), Exif, Count);
    if (TiffFindTag(TagGps, Page) >= 0) TiffReadDirectory(0, TiffGetInteger(Page, TagGps, 0), Gps, Count);
  }

  void ReadInto(TIOParamsVals& Params) {
    TiffReadExifTags(Page, Exif.Entries.empty() ? nullptr : &Exif, Gps.Entries.empty() ? nullptr : &Gps,
                     Params);
  }

  const TIFFTagEntry* Find(const TIFFDirectory& Dir, Word Tag) const {
    const Integer Index = TiffFindTag(Tag, Dir);
    return Index < 0 ? nullptr : &Dir.Entries[Index];
  }
};

void FillParams(TIOParamsVals& Params) {
  FillCommonExif(Params);
  Params.SetExifOrientation(6);
  Params.SetExifFileSource(3);
}

TEST(TiffExif, TagsWrittenReadBackIntoTheirFields) {
  TIOParamsVals Written;
  FillParams(Written);
  ASSERT_FALSE(MakerNoteText(Written).empty());
  const TBytes Bytes = WriteTags(Written);
  TReadBack File(Bytes);
  ASSERT_FALSE(File.Exif.Entries.empty());
  ASSERT_FALSE(File.Gps.Entries.empty());
  TIOParamsVals Read;
  File.ReadInto(Read);

  EXPECT_TRUE(Read.ExifPresent);
  EXPECT_EQ(Read.ExifImageDescription, "a picture");
  EXPECT_EQ(Read.TiffImageDescription, "a picture");
  EXPECT_EQ(Read.ExifMake, "Maker");
  EXPECT_EQ(Read.ExifOrientation, 6);
  EXPECT_EQ(Read.TiffOrientation, 6);
  EXPECT_DOUBLE_EQ(Read.ExifYResolution, 96.5);
  EXPECT_EQ(Read.DpiX, 72);
  EXPECT_DOUBLE_EQ(Read.ExifExposureTime, 0.004);
  EXPECT_NEAR(Read.ExifExposureBiasValue, -0.7, 1e-9);
  EXPECT_EQ(Read.ExifFlash, 16);
  EXPECT_EQ(Read.ExifFileSource, 3);
  EXPECT_EQ(Read.ExifISOSpeedRatings, (std::array<Integer, 2>{200, 0}));
  EXPECT_EQ(Read.ExifExifVersion, "0220");
  EXPECT_EQ(Read.ExifDateTimeOriginal, "2026:12:11 03:30:00");
  EXPECT_EQ(Read.ExifUserComment, u"Grüße");
  EXPECT_EQ(Read.ExifXPTitle, u"Title");
  EXPECT_NEAR(Read.ExifWhitePoint[1], 0.329, 1e-9);
  EXPECT_EQ(Read.ExifRating, 4);
  EXPECT_EQ(Read.ExifYCbCrPositioning, -1);
  for (Integer Tag : {33434, 37380, 37385, 41728}) EXPECT_TRUE(Read.HasExifTag(Tag)) << Tag;
  EXPECT_FALSE(Read.HasExifTag(33437));
  EXPECT_EQ(Read.GpsVersionID, "2.2.0.0");
  EXPECT_EQ(Read.GpsLatitudeRef, "N");
  EXPECT_DOUBLE_EQ(Read.GpsLatitude[2], 12.5);
  EXPECT_EQ(Read.GpsDestLatitudeRef, "S");
  EXPECT_EQ(Read.GpsDestLongitudeRef, "E");
  EXPECT_EQ(Read.GpsAltitudeRef, "1");
  EXPECT_DOUBLE_EQ(Read.GpsAltitude, 12.25);
  EXPECT_EQ(Read.GpsMapDatum, "WGS-84");
  EXPECT_EQ(MakerNoteText(Read), "maker text\0\0"s);
}

// EXIF data inside another stream (a JPEG's APP1 block): offsets count from the TIFF header,
// the maker note's own ones too.
TEST(TiffExif, MakerNoteOffsetsCountFromTheBase) {
  TIOParamsVals Written;
  FillMakerNote(Written);
  TBytes Bytes = {'E', 'x', 'i', 'f', 0, 0};
  const TBytes Tiff = WriteTags(Written);
  Bytes.insert(Bytes.end(), Tiff.begin(), Tiff.end());
  TMemoryStream Stream;
  Load(Stream, Bytes);
  TIFFDirectory Page, Exif;
  for (TIFFDirectory* Dir : {&Page, &Exif}) {
    Dir->Stream = &Stream;
    Dir->Base = 6;
  }
  Integer Count = 0;
  ASSERT_TRUE(TiffReadDirectory(0, IEGetDWord(Tiff.data() + 4, false), Page, Count));
  ASSERT_TRUE(TiffReadDirectory(0, TiffGetInteger(Page, TagExif, 0), Exif, Count));
  TIOParamsVals Read;
  TiffReadExifTags(Page, &Exif, nullptr, Read);
  EXPECT_EQ(MakerNoteText(Read), "maker text\0\0"s);
}

TEST(TiffExif, WrittenEntriesHaveTheirFileForm) {
  TIOParamsVals Params;
  FillParams(Params);
  Params.ExifResolutionUnit = 3;
  TReadBack File(WriteTags(Params));
  // The version sits in the entry as four characters without a terminating zero.
  const TIFFTagEntry* Version = File.Find(File.Exif, 36864);
  ASSERT_NE(Version, nullptr);
  EXPECT_EQ(Version->Type, ietASCII);
  EXPECT_EQ(Version->Count, 4u);
  std::string Text;
  TiffGetInlineString(File.Exif, 36864, Text);
  EXPECT_EQ(Text, "0220");
  // Resolutions are in dots per inch.
  EXPECT_EQ(TiffGetInteger(File.Page, 296, 0), 2);
  EXPECT_EQ(TiffGetInteger(File.Page, 274, 0), 6);
  EXPECT_EQ(File.Find(File.Page, 531), nullptr);
  // One ISO speed when the second is 0.
  EXPECT_EQ(File.Find(File.Exif, 34855)->Count, 1u);
  // The GPS directory holds its tags in tag order, the version as four bytes.
  const TIFFTagEntry* GpsVersion = File.Find(File.Gps, 0);
  ASSERT_NE(GpsVersion, nullptr);
  EXPECT_EQ(GpsVersion->Type, ietBYTE);
  EXPECT_EQ(GpsVersion->Count, 4u);
  for (std::size_t I = 1; I < File.Gps.Entries.size(); ++I)
    EXPECT_LT(File.Gps.Entries[I - 1].Tag, File.Gps.Entries[I].Tag);
  // Without a GPS version there is no GPS directory.
  Params.GpsVersionID.clear();
  TReadBack NoGps(WriteTags(Params));
  EXPECT_EQ(NoGps.Find(NoGps.Page, TagGps), nullptr);
}

TEST(TiffExif, ListedTagsFollowThePresenceOfTheirValue) {
  TIOParamsVals Params;
  Params.SetExifExposureTime(0.004);
  TIOParamsVals Read;
  TReadBack(WriteTags(Params)).ReadInto(Read);
  EXPECT_DOUBLE_EQ(Read.ExifExposureTime, 0.004);
  EXPECT_TRUE(Read.HasExifTag(33434));
  // A reset parameter set writes no exposure time, and what it reads unlists it.
  Read.ResetEXIF();
  TReadBack Reset(WriteTags(Read));
  EXPECT_EQ(Reset.Find(Reset.Exif, 33434), nullptr);
  // Nor an orientation of 0, which no TIFF reader takes: unset is upright.
  EXPECT_EQ(Read.ExifOrientation, 0);
  EXPECT_EQ(TiffGetInteger(Reset.Page, 274, 0), 1);
  Params.SetExifExposureTime(0.5);
  Reset.ReadInto(Params);
  EXPECT_DOUBLE_EQ(Params.ExifExposureTime, -1);
  EXPECT_FALSE(Params.HasExifTag(33434));
}

// A hand-made big-endian page with an EXIF and a GPS directory.
TBytes BigEndianFile(const std::string& UserComment) {
  const bool B = true;
  TBytes Out;
  AddText(Out, "MM");
  AddWord(Out, 42, B);
  AddDWord(Out, 8, B);
  constexpr Cardinal Exif = 8 + 2 + 2 * 12 + 4, Gps = Exif + 2 + 3 * 12 + 4, Data = Gps + 2 + 2 * 12 + 4;
  AddDirectory(Out, {{TagExif, ietLONG, 1, Exif}, {TagGps, ietLONG, 1, Gps}}, 0, B);
  AddDirectory(Out,
               {{33434, ietRATIONAL, 1, Data},
                {37510, ietUNDEFINED, static_cast<Cardinal>(UserComment.size()), Data + 8},
                {41728, ietUNDEFINED, 1, 0x03000000}},
               0, B);
  AddDirectory(Out, {{19, ietASCII, 2, 0x4E000000}, {21, ietASCII, 2, 0x45000000}}, 0, B);
  AddDWord(Out, 1, B);
  AddDWord(Out, 250, B);
  AddText(Out, UserComment);
  return Out;
}

TEST(TiffExif, BigEndianFileReadsIntoItsOwnFields) {
  TIOParamsVals Params;
  Params.ExifUserComment = u"old";
  TReadBack(BigEndianFile("ASCII\0\0\0"s)).ReadInto(Params);
  EXPECT_DOUBLE_EQ(Params.ExifExposureTime, 0.004);
  EXPECT_TRUE(Params.HasExifTag(33434));
  // One UNDEFINED byte in the entry is that byte, whatever the byte order.
  EXPECT_EQ(Params.ExifFileSource, 3);
  EXPECT_EQ(Params.GpsDestLatitudeRef, "N\0"s);
  EXPECT_EQ(Params.GpsDestLongitudeRef, "E\0"s);
  // A comment of its code alone reads as an empty Unicode comment.
  EXPECT_EQ(Params.ExifUserCommentCode, "UNICODE\0"s);
  EXPECT_TRUE(Params.ExifUserComment.empty());
  TReadBack(BigEndianFile("ASCII\0\0\0hello\0"s)).ReadInto(Params);
  EXPECT_EQ(Params.ExifUserCommentCode, "ASCII\0\0\0"s);
  EXPECT_EQ(Params.ExifUserComment, u"hello");
}

// A file another encoder wrote: one page with a picture tag and a description of its own.
TBytes EncodedFile(bool BigEndian) {
  TBytes Out;
  AddText(Out, BigEndian ? "MM" : "II");
  AddWord(Out, 42, BigEndian);
  AddDWord(Out, 8, BigEndian);
  AddDirectory(Out, {{256, ietLONG, 1, 33}, {271, ietASCII, 4, BigEndian ? 0x4F4C4400u : 0x00444C4Fu}}, 0,
               BigEndian);
  return Out;
}

TEST(TiffExif, InjectionCopiesTheParametersTagsIntoTheWrittenFile) {
  TIOParamsVals Params;
  Params.ExifMake = "Maker";
  Params.SetExifExposureTime(0.004);
  TMemoryStream Stream;
  Load(Stream, EncodedFile(false));
  ASSERT_TRUE(TiffInjectExif(&Stream, &Stream, "", "", 0, Params));
  TReadBack File(StreamBytes(Stream));
  EXPECT_EQ(TiffGetInteger(File.Page, 256, 0), 33);
  std::string Make;
  TiffGetString(File.Page, 271, true, Make);
  EXPECT_EQ(Make, "Maker");
  EXPECT_DOUBLE_EQ(TiffGetRational(File.Exif, 33434, 0), 0.004);

  // Into another stream, and never into a page that does not exist or a big-endian file.
  TMemoryStream Out;
  EXPECT_FALSE(TiffInjectExif(&Stream, &Out, "", "", 1, Params));
  Load(Stream, EncodedFile(true));
  EXPECT_FALSE(TiffInjectExif(&Stream, &Stream, "", "", 0, Params));
  EXPECT_EQ(StreamBytes(Stream), EncodedFile(true));
  EXPECT_EQ(Out.GetSize(), 0);
}

}  // namespace
