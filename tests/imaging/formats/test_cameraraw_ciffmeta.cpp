// The EXIF strings, dimensions, thumbnail and maker note a Canon CIFF file gives the parameters.
#include <gtest/gtest.h>

#include "CameraRawEntropyTestSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"

namespace {

std::vector<Byte> SmallJpeg(Integer Width, Integer Height) {
  TIEBitmap Bitmap;
  Bitmap.Allocate(Width, Height, ie24RGB);
  TMemoryStream Stream;
  TZezudIdIO::CreateFromBitmap(&Bitmap)->SaveToStreamJpeg(&Stream);
  const Byte* Bytes = static_cast<const Byte*>(Stream.GetMemory());
  return {Bytes, Bytes + Stream.GetSize()};
}

std::vector<Byte> CiffFile(const std::vector<TRawCiffRecord>& Records) {
  std::vector<Byte> File = RawText(std::string("II\x1a\0\0\0HEAPCCDR", 14));
  File.resize(26);
  const std::vector<Byte> Heap = RawCiffHeap(Records);
  File.insert(File.end(), Heap.begin(), Heap.end());
  return File;
}

void ReadMetadata(const std::vector<Byte>& File, TIOParamsVals& Params) {
  TMemoryStream Stream;
  Stream.Write(File.data(), static_cast<Integer>(File.size()));
  CiffReadMetadata(&Stream, Params);
}

}  // namespace

TEST(CameraRawCiffMetadata, StringsDimensionsSmallestJpegAndMakerNote) {
  TRawFileBuilder Size(false);
  Size.Put4(3072);
  Size.Put4(2048);
  const std::vector<Byte> Balance = RawWords({1, 2, 3, 4, 5, 6, 7, 8});
  const std::vector<Byte> Settings = RawWords({9, 10});
  const std::vector<Byte> Inner =
      RawCiffHeap({{0x2008, SmallJpeg(8, 6)}, {0x080B, RawText(std::string("Firmware 1.1\0", 13))}});
  TIOParamsVals Params;
  ReadMetadata(CiffFile({{0x0805, RawText(std::string("Holiday\0", 8))},
                         {0x080A, RawText(std::string("Canon\0Canon EOS D60\0", 20))},
                         {0x2007, SmallJpeg(16, 12)},
                         {0x102A, Balance},
                         {0x102D, Settings},
                         {0x1810, Size.Bytes},
                         {0x300A, Inner}}),
               Params);
  EXPECT_EQ(Params.ExifImageDescription, "Holiday");
  EXPECT_EQ(Params.ExifMake, "Canon");
  EXPECT_EQ(Params.ExifModel, "Canon EOS D60");
  EXPECT_EQ(Params.ExifSoftware, "Firmware 1.1");
  EXPECT_EQ(Params.ExifPixelXDimension, 3072);
  EXPECT_EQ(Params.ExifPixelYDimension, 2048);
  ASSERT_NE(Params.GetExifThumbnail(), nullptr);
  EXPECT_EQ(Params.GetExifThumbnail()->GetWidth(), 8);
  EXPECT_EQ(Params.GetExifThumbnail()->GetHeight(), 6);
  // One SHORT entry per kept record, counting the record's length; blocks follow the table.
  const auto& Tags = Params.GetExifMakerNote().GetTagTable();
  ASSERT_EQ(Tags.size(), 2u);
  EXPECT_EQ(Tags[0].Tag, 4);
  EXPECT_EQ(Tags[0].Type, 3);
  EXPECT_EQ(Tags[0].Count, 16u);
  EXPECT_EQ(Tags[0].Offset, 26u);
  EXPECT_EQ(Tags[1].Tag, 1);
  EXPECT_EQ(Tags[1].Count, 4u);
  EXPECT_EQ(Tags[1].Offset, 26u + 32);
  const Byte* Ifd = static_cast<const Byte*>(Params.GetExifMakerNote().GetIFD().GetMemory());
  EXPECT_EQ(Ifd[26], 1);  // the balance record's first word
  EXPECT_EQ(Ifd[26 + 32], 9);
}

TEST(CameraRawCiffMetadata, WithoutAJpegTheThumbnailIsEmpty) {
  TIOParamsVals Params;
  Params.ExifThumbnailNeeded()->Allocate(4, 4, ie24RGB);
  ReadMetadata(CiffFile({{0x080A, RawText(std::string("Canon\0Canon EOS D60\0", 20))}}), Params);
  ASSERT_NE(Params.GetExifThumbnail(), nullptr);
  EXPECT_TRUE(Params.GetExifThumbnail()->IsEmpty());
  EXPECT_TRUE(Params.GetExifMakerNote().GetTagTable().empty());
}
