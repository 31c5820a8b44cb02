#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/ieioparams.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffhandler.h"
#include "tests/imaging/core/TiffTestSupport.h"

namespace {

using namespace tifftest;
using namespace std::string_literals;

// A grey ramp so that the JPEG thumbnail is not blank.
void PaintRamp(TIEBitmap& Bitmap, Integer Width, Integer Height) {
  ASSERT_TRUE(Bitmap.Allocate(Width, Height, ie24RGB));
  for (Integer Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<Byte*>(Bitmap.GetScanline(Y));
    for (Integer X = 0; X < 3 * Width; ++X) Row[X] = static_cast<Byte>(40 + X + Y);
  }
}

void FillParams(TIEMetaParams& Params) {
  FillCommonExif(Params);
  Params.TiffImageDescription = "a picture";
  Params.ExifModel = "Model 7";
  Params.SetExifOrientation(1);
  Params.ExifResolutionUnit = 2;
  Params.SetExifFNumber(2.8);
}

TBytes SaveBlock(TIEMetaParams& Params, bool WithHeader = true) {
  std::vector<Byte> Buffer;
  IESaveEXIFToBuffer(Params, Buffer, WithHeader);
  return Buffer;
}

TEST(ExifBlock, HeaderNeedsTheZeroAfterExif) {
  struct {
    TBytes Data;
    bool Accepted;
  } Cases[] = {
      {{'E', 'x', 'i', 'f', 0, 0, 'I', 'I'}, true}, {{'E', 'x', 'i', 'f', 0}, true},
      {{'E', 'x', 'i', 'f', 1, 0}, false},          {{'E', 'x', 'i', 'f'}, false},
      {{'e', 'x', 'i', 'f', 0, 0}, false},
  };
  for (const auto& Case : Cases)
    EXPECT_EQ(IEIsEXIFBlock(Case.Data.data(), static_cast<Integer>(Case.Data.size())), Case.Accepted);
  TIEMetaParams Params;
  Params.ExifMake = "kept";
  const TBytes NotExif{'E', 'x', 'i', 'f', 1, 0, 'I', 'I', 42, 0, 8, 0, 0, 0};
  EXPECT_FALSE(IELoadEXIFFromBuffer(NotExif.data(), static_cast<Integer>(NotExif.size()), Params));
  EXPECT_EQ(Params.ExifMake, "kept");
  EXPECT_EQ(Params.GetExifThumbnail(), nullptr);
}

TEST(ExifBlock, SavedAndLoadedGivesBackTheValuesMakerNoteAndThumbnail) {
  TIEMetaParams Source;
  FillParams(Source);
  PaintRamp(*Source.ExifThumbnailNeeded(), 40, 30);
  const TBytes Block = SaveBlock(Source);
  ASSERT_TRUE(IEIsEXIFBlock(Block.data(), static_cast<Integer>(Block.size())));

  TIEMetaParams Loaded;
  ASSERT_TRUE(IELoadEXIFFromBuffer(Block.data(), static_cast<Integer>(Block.size()), Loaded));
  EXPECT_TRUE(Loaded.ExifPresent);
  EXPECT_EQ(Loaded.ExifImageDescription, "a picture");
  EXPECT_EQ(Loaded.ExifMake, "Maker");
  EXPECT_EQ(Loaded.ExifModel, "Model 7");
  EXPECT_EQ(Loaded.ExifOrientation, 1);
  EXPECT_EQ(Loaded.TiffOrientation, 1);
  EXPECT_DOUBLE_EQ(Loaded.ExifYResolution, 96.5);
  EXPECT_EQ(Loaded.DpiY, 96);
  EXPECT_DOUBLE_EQ(Loaded.ExifExposureTime, 0.004);
  EXPECT_TRUE(Loaded.HasExifTag(33434));
  EXPECT_NEAR(Loaded.ExifFNumber, 2.8, 1e-9);
  EXPECT_NEAR(Loaded.ExifExposureBiasValue, -0.7, 1e-9);
  EXPECT_EQ(Loaded.ExifFlash, 16);
  EXPECT_EQ(Loaded.ExifISOSpeedRatings[0], 200);
  EXPECT_EQ(Loaded.ExifExifVersion, "0220");
  EXPECT_EQ(Loaded.ExifDateTimeOriginal, "2026:12:11 03:30:00");
  EXPECT_EQ(Loaded.ExifUserComment, u"Grüße");
  EXPECT_EQ(Loaded.ExifUserCommentCode, "UNICODE\0"s);
  EXPECT_EQ(Loaded.ExifXPTitle, u"Title");
  EXPECT_NEAR(Loaded.ExifWhitePoint[1], 0.329, 1e-9);
  EXPECT_EQ(Loaded.ExifPrimaryChromaticities[0], -1);
  EXPECT_EQ(Loaded.ExifRating, 4);
  EXPECT_EQ(Loaded.GpsVersionID, "2.2.0.0");
  EXPECT_EQ(Loaded.GpsLatitudeRef, "N");
  EXPECT_DOUBLE_EQ(Loaded.GpsLatitude[2], 12.5);
  EXPECT_EQ(Loaded.GpsDestLatitudeRef, "S");
  EXPECT_EQ(Loaded.GpsDestLongitudeRef, "E");
  EXPECT_EQ(Loaded.GpsAltitudeRef, "1");
  EXPECT_DOUBLE_EQ(Loaded.GpsAltitude, 12.25);
  EXPECT_EQ(Loaded.GpsMapDatum, "WGS-84");
  EXPECT_EQ(MakerNoteText(Loaded), "maker text\0\0"s);
  ASSERT_NE(Loaded.GetExifThumbnail(), nullptr);
  EXPECT_EQ(Loaded.GetExifThumbnail()->GetWidth(), 40);
  EXPECT_EQ(Loaded.GetExifThumbnail()->GetHeight(), 30);
}

// The block's TIFF structure (without header) as a handler.
void ReadStructure(TIETIFFHandler& Handler, const TBytes& Block) {
  TIEMemStream Stream(Block.data() + 6, static_cast<Int64>(Block.size()) - 6);
  ASSERT_TRUE(Handler.ReadStream(&Stream));
}

const TIETIFFTagList& ExifDirectory(TIETIFFHandler& Handler) {
  static const TIETIFFTagList None;
  const Integer Index = Handler.FindTag(0, ieTagExifIFD);
  return Index < 0 ? None : *Handler.GetPage(0)[Index].SubIFD;
}

TEST(ExifBlock, EmptyThumbnailGivesOnePageAndResetValuesAreNotWritten) {
  TIEMetaParams Params;
  Params.ExifThumbnailNeeded();
  Params.ExifExifVersion = "0220";
  TIETIFFHandler Handler;
  ReadStructure(Handler, SaveBlock(Params));
  EXPECT_EQ(Handler.GetPageCount(), 1);
  const auto& Exif = ExifDirectory(Handler);
  for (Integer Tag : {33434, 531, 37510, 37500}) EXPECT_EQ(Handler.FindTagInList(Exif, Tag), -1) << Tag;
  EXPECT_EQ(Handler.FindTag(0, 531), -1);
  EXPECT_EQ(Handler.FindTag(0, ieTagGpsIFD), -1);
  // The version sits in the entry: ASCII, count 4, no terminating zero.
  const Integer Version = Handler.FindTagInList(Exif, 36864);
  ASSERT_GE(Version, 0);
  EXPECT_EQ(Exif[Version].Type, ietASCII);
  EXPECT_EQ(Exif[Version].Count, 4u);
  EXPECT_EQ(std::string(Exif[Version].Value.begin(), Exif[Version].Value.end()), "0220");
}

// Rationals as the writer stores them: small ones in lowest terms, large ones within 32 bits.
TEST(ExifBlock, RationalsKeepTheirValueWithinThirtyTwoBits) {
  struct {
    Double Value;
    Cardinal Numerator, Denominator;
  } Exact[] = {{2.8, 14, 5}, {0.004, 1, 250}, {4e9, 4000000000u, 1}};
  for (const auto& Case : Exact) {
    TIEMetaParams Params;
    Params.GpsVersionID = "2.2.0.0";
    Params.GpsAltitude = Case.Value;
    TIETIFFHandler Handler;
    ReadStructure(Handler, SaveBlock(Params));
    const auto& Gps = *Handler.GetPage(0)[Handler.FindTag(0, ieTagGpsIFD)].SubIFD;
    const auto& Altitude = Gps[Handler.FindTagInList(Gps, 6)];
    EXPECT_EQ(IEGetDWord(Altitude.Data.data(), false), Case.Numerator) << Case.Value;
    EXPECT_EQ(IEGetDWord(Altitude.Data.data() + 4, false), Case.Denominator) << Case.Value;
  }
  TIEMetaParams Params, Loaded;
  Params.GpsVersionID = "2.2.0.0";
  Params.GpsAltitude = 500000000.3;
  const TBytes Block = SaveBlock(Params);
  ASSERT_TRUE(IELoadEXIFFromBuffer(Block.data(), static_cast<Integer>(Block.size()), Loaded));
  EXPECT_NEAR(Loaded.GpsAltitude, 500000000.3, 0.5);
}

TEST(ExifBlock, UserCommentOfOnlyACodeReadsAsEmptyUnicode) {
  TIEMetaParams Params;
  TBytes Block = SaveBlock(Params, false);
  TIETIFFHandler Handler;
  TMemoryStream Stream;
  Load(Stream, Block);
  ASSERT_TRUE(Handler.ReadStream(&Stream));
  auto& Exif = *Handler.GetPage(0)[Handler.FindTag(0, ieTagExifIFD)].SubIFD;
  TIETIFFTagEntry Comment;
  Comment.Tag = 37510;
  Comment.Type = ietUNDEFINED;
  Comment.Count = 8;
  Comment.Data.assign({'A', 'S', 'C', 'I', 'I', 0, 0, 0});
  Exif.push_back(std::move(Comment));
  TMemoryStream Edited;
  Handler.WriteStream(&Edited, -1);
  Block.assign(std::begin(IEEXIFHeader), std::end(IEEXIFHeader));
  const TBytes Tiff = StreamBytes(Edited);
  Block.insert(Block.end(), Tiff.begin(), Tiff.end());
  // A real comment before, so that the read visibly replaces it.
  Params.ExifUserComment = u"old";
  ASSERT_TRUE(IELoadEXIFFromBuffer(Block.data(), static_cast<Integer>(Block.size()), Params));
  EXPECT_EQ(Params.ExifUserCommentCode, "UNICODE\0"s);
  EXPECT_TRUE(Params.ExifUserComment.empty());
}

TEST(ExifBlock, AsciiUserCommentRoundTrips) {
  TIEMetaParams Params, Loaded;
  Params.ExifUserCommentCode = "ASCII\0\0\0"s;
  Params.ExifUserComment = u"plain text";
  const TBytes Block = SaveBlock(Params);
  ASSERT_TRUE(IELoadEXIFFromBuffer(Block.data(), static_cast<Integer>(Block.size()), Loaded));
  EXPECT_EQ(Loaded.ExifUserCommentCode, "ASCII\0\0\0"s);
  EXPECT_EQ(Loaded.ExifUserComment, u"plain text");
}

TEST(ExifBlock, TruncatedOrGarbledBlocksReadWithoutThumbnail) {
  TIEMetaParams Source;
  FillParams(Source);
  PaintRamp(*Source.ExifThumbnailNeeded(), 16, 8);
  const TBytes Block = SaveBlock(Source);
  for (std::size_t Cut : {6, 10, 40, 200}) {
    TIEMetaParams Loaded;
    EXPECT_TRUE(
        IELoadEXIFFromBuffer(Block.data(), static_cast<Integer>(std::min(Cut, Block.size())), Loaded));
    ASSERT_NE(Loaded.GetExifThumbnail(), nullptr);
    EXPECT_TRUE(Loaded.GetExifThumbnail()->IsEmpty());
  }
}

// An uncompressed RGB page of Width x 2 pixels, each byte Value.
void AddRgbPage(TIETIFFHandler& Handler, Integer Width, Byte Value) {
  TIETIFFTagList& Page = Handler.InsertPage(Handler.GetPageCount());
  Handler.SetValue(Page, 256, Int64{Width}, ietLONG);
  Handler.SetValue(Page, 257, Int64{2}, ietLONG);
  Handler.SetValue(Page, 258, Int64{8}, ietSHORT);
  Handler.SetValue(Page, 259, Int64{1}, ietSHORT);
  Handler.SetValue(Page, 277, Int64{3}, ietSHORT);
  Handler.SetValue(Page, 279, Int64{Width * 6}, ietLONG);
  TIETIFFTagEntry Strip;
  Strip.Tag = ieTagStripOffsets;
  Strip.Type = ietLONG;
  Strip.Count = 1;
  Strip.HasPieces = true;
  Strip.Pieces.push_back(TBytes(Width * 6, Value));
  Page.push_back(std::move(Strip));
}

// A raw file: some bytes of its own, then a TIFF structure of two pages.
TBytes RawFile(Integer W0, Byte V0, Integer W1, Byte V1) {
  TIETIFFHandler Handler;
  AddRgbPage(Handler, W0, V0);
  AddRgbPage(Handler, W1, V1);
  Handler.SetValue(Handler.GetPage(0), 271, "RawMaker"s, ietASCII);
  TMemoryStream Stream;
  Handler.WriteStream(&Stream, -1);
  TBytes File(10, 0x11);
  const TBytes Tiff = StreamBytes(Stream);
  File.insert(File.end(), Tiff.begin(), Tiff.end());
  return File;
}

Integer RawThumbnailWidth(const TBytes& File, TIEMetaParams& Params) {
  TMemoryStream Source;
  Load(Source, File);
  TIEBufferedReadStream Stream(&Source, 4096, false);
  EXPECT_EQ(IESearchTIFFHeader(&Stream), 10);
  Stream.Seek(10, soBeginning);
  EXPECT_TRUE(IELoadEXIFFromRawStream(&Stream, Params));
  EXPECT_EQ(Stream.GetPosition(), 10);
  TIEBitmap* Thumbnail = Params.GetExifThumbnail();
  return Thumbnail && !Thumbnail->IsEmpty() ? Thumbnail->GetWidth() : 0;
}

TEST(ExifRaw, NarrowerNonBlankPageBecomesTheThumbnail) {
  struct {
    Integer W0;
    Byte V0;
    Integer W1;
    Byte V1;
    Integer Expected;
  } Cases[] = {
      {400, 9, 16, 9, 16},  // the small second page
      {400, 9, 16, 0, 0},   // a black second page, and the first is wider
      {16, 9, 400, 0, 16},  // the first is the narrower
      {16, 0, 16, 9, 0},    // equal widths give none
  };
  for (const auto& Case : Cases) {
    TIEMetaParams Params;
    EXPECT_EQ(RawThumbnailWidth(RawFile(Case.W0, Case.V0, Case.W1, Case.V1), Params), Case.Expected)
        << Case.W0 << " " << Case.W1;
    EXPECT_EQ(Params.ExifMake, "RawMaker");
    EXPECT_TRUE(Params.ExifPresent);
  }
}

TEST(ExifRaw, HeaderSearchChecksVersionAndFirstPageOffset) {
  auto Search = [](const TBytes& Bytes) {
    TMemoryStream Source;
    Load(Source, Bytes);
    TIEBufferedReadStream Stream(&Source, 64, false);
    Stream.Seek(2, soBeginning);
    const Int64 Found = IESearchTIFFHeader(&Stream);
    EXPECT_EQ(Stream.GetPosition(), 2);
    return Found;
  };
  TBytes AtStart{0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0};
  EXPECT_EQ(Search(AtStart), 0);
  TBytes Raw{0, 0, 'M', 'M', 0x4F, 0x52, 0, 0, 0, 8};  // a raw variant's version, big-endian
  EXPECT_EQ(Search(Raw), 0);
  TBytes PastTheEnd{0, 0, 'I', 'I', 42, 0, 0xFF, 0, 0, 0, 'x', 'I', 'I', 42, 0, 2, 0, 0, 0};
  EXPECT_EQ(Search(PastTheEnd), 9);
  EXPECT_EQ(Search(TBytes{0, 0, 'I', 'I', 43, 0, 2, 0, 0, 0}), -1);
  EXPECT_EQ(Search(TBytes{0, 0, 'I', 'I', 42}), -1);
}

TEST(ExifTiff, TagsOfATiffStreamGoStraightIntoTheParameters) {
  const TBytes File = RawFile(4, 1, 2, 1);
  TIEMetaParams Params;
  Params.ExifThumbnailNeeded();
  TIEMemStream Whole(File.data() + 10, static_cast<Int64>(File.size()) - 10);
  EXPECT_TRUE(IELoadEXIFFromTIFFStream(&Whole, Params));
  EXPECT_EQ(Params.ExifMake, "RawMaker");
  EXPECT_EQ(Params.ExifOrientation, 1);  // the absent value of a file without the tag
  EXPECT_DOUBLE_EQ(Params.ExifXResolution, 300);
  EXPECT_TRUE(Params.GetExifThumbnail()->IsEmpty());
  EXPECT_EQ(Whole.GetPosition(), 0);
}

TEST(ExifCopy, CopiesValuesMakerNoteThumbnailAndTakesThePictureDescription) {
  TIEMetaParams Source, Dest;
  FillParams(Source);
  Source.ExifImageDescription = "not this";
  PaintRamp(*Source.ExifThumbnailNeeded(), 8, 4);
  IECopyEXIF(Source, Dest);
  EXPECT_EQ(Dest.ExifImageDescription, "a picture");
  EXPECT_EQ(Dest.ExifMake, "Maker");
  EXPECT_EQ(Dest.GpsLatitude, Source.GpsLatitude);
  EXPECT_EQ(Dest.ExifTags, Source.ExifTags);
  EXPECT_EQ(Dest.DpiX, 72);
  EXPECT_EQ(MakerNoteText(Dest), "maker text\0\0"s);
  ASSERT_NE(Dest.GetExifThumbnail(), nullptr);
  EXPECT_EQ(Dest.GetExifThumbnail()->GetWidth(), 8);
}

TEST(ExifParams, PresenceSettersListAndUnlistTheirTags) {
  TIEMetaParams Params;
  Params.SetExifFNumber(2.8);
  EXPECT_TRUE(Params.HasExifTag(33437));
  Params.SetExifFNumber(-1);
  EXPECT_FALSE(Params.HasExifTag(33437));
  Params.SetExifPixelXDimension(0);
  EXPECT_FALSE(Params.HasExifTag(40962));
  Params.SetExifXResolution(299.6);
  EXPECT_EQ(Params.DpiX, 299);
  EXPECT_DOUBLE_EQ(Params.ExifXResolution, 299.6);
}

// Where the top-left pixel of a 40 x 30 picture ends, and the size, for each orientation.
TEST(ExifOrientation, EachValueMovesTheFirstPixelWhereItBelongs) {
  struct {
    Integer Orientation, Width, Height, X, Y;
  } Cases[] = {
      {0, 40, 30, 0, 0}, {1, 40, 30, 0, 0},  {2, 40, 30, 39, 0},  {3, 40, 30, 39, 29}, {4, 40, 30, 0, 29},
      {5, 30, 40, 0, 0}, {6, 30, 40, 29, 0}, {7, 30, 40, 29, 39}, {8, 30, 40, 0, 39},  {9, 40, 30, 0, 0},
  };
  for (const auto& Case : Cases) {
    TIEBitmap Bitmap;
    ASSERT_TRUE(Bitmap.Allocate(40, 30, ie24RGB));
    Bitmap.Fill(0);
    static_cast<Byte*>(Bitmap.GetScanline(0))[2] = 255;
    IEApplyEXIFOrientation(&Bitmap, Case.Orientation);
    ASSERT_EQ(Bitmap.GetWidth(), Case.Width) << Case.Orientation;
    ASSERT_EQ(Bitmap.GetHeight(), Case.Height) << Case.Orientation;
    EXPECT_EQ(static_cast<Byte*>(Bitmap.GetScanline(Case.Y))[3 * Case.X + 2], 255) << Case.Orientation;
  }
}

TEST(ExifOrientation, OneBitPicturesTurnBitByBit) {
  TIEBitmap Bitmap;
  ASSERT_TRUE(Bitmap.Allocate(10, 3, ie1g));
  Bitmap.Fill(0);
  static_cast<Byte*>(Bitmap.GetScanline(0))[1] = 0x40;  // pixel (9, 0)
  IEApplyEXIFOrientation(&Bitmap, 6);
  ASSERT_EQ(Bitmap.GetWidth(), 3);
  ASSERT_EQ(Bitmap.GetHeight(), 10);
  // Clockwise: the top-right pixel goes to the bottom right.
  EXPECT_EQ(static_cast<Byte*>(Bitmap.GetScanline(9))[0] & 0xE0, 0x20);
}

}  // namespace
