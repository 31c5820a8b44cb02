// The Kodak DC120's JPEG-compressed camera raw data: a test-side baseline JPEG, stored with its
// byte pairs exchanged, is read back into two mosaic rows per scanline.
#include <gtest/gtest.h>

#include <cstdlib>

#include "CameraRawPackTestSupport.h"
#include "imaging/formats/iecameraraw.h"
#include "imaging/io/jpegfiltcodec.h"
#include "platform/system/Exceptions.h"

namespace {

// A flat RGB JPEG (stored as RGB, quality 100: every sample decodes exactly), byte pairs swapped.
std::vector<Byte> SwappedFlatJpeg(Integer Width, Integer Height, const Byte (&Rgb)[3]) {
  jpeg_compress_struct Info{};
  jpeg_error_mgr Errors{};
  Info.err = jpeg_std_error(&Errors);
  jpeg_create_compress(&Info);
  unsigned char* Memory = nullptr;
  unsigned long Size = 0;
  jpeg_mem_dest(&Info, &Memory, &Size);
  Info.image_width = static_cast<JDIMENSION>(Width);
  Info.image_height = static_cast<JDIMENSION>(Height);
  Info.input_components = 3;
  Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&Info);
  jpeg_set_colorspace(&Info, JCS_RGB);
  jpeg_set_quality(&Info, 100, TRUE);
  jpeg_start_compress(&Info, TRUE);
  std::vector<Byte> Line(static_cast<std::size_t>(Width) * 3);
  for (Integer X = 0; X < Width; ++X)
    for (Integer C = 0; C < 3; ++C) Line[X * 3 + C] = Rgb[C];
  JSAMPROW Row = Line.data();
  for (Integer Y = 0; Y < Height; ++Y) jpeg_write_scanlines(&Info, &Row, 1);
  jpeg_finish_compress(&Info);
  std::vector<Byte> Bytes(Memory, Memory + Size);
  jpeg_destroy_compress(&Info);
  std::free(Memory);
  if (Bytes.size() % 2) Bytes.push_back(0);
  for (std::size_t I = 0; I + 1 < Bytes.size(); I += 2) std::swap(Bytes[I], Bytes[I + 1]);
  return Bytes;
}

TEST(CameraRawKodakJpeg, EachScanlineFillsTwoMosaicRows) {
  TRawTestContext T(8, 16);
  T.SetBytes(SwappedFlatJpeg(16, 4, {100, 150, 200}));
  RawLoadKodakJpeg(*T.C);
  EXPECT_FALSE(T.C->InputEnded);
  for (Integer S = 0; S < 4; ++S)
    for (Integer Col = 0; Col < 16; Col += 2) {
      ASSERT_EQ(T.At(2 * S, Col), 150 << 6);
      ASSERT_EQ(T.At(2 * S + 1, Col + 1), 150 << 6);
      ASSERT_EQ(T.At(2 * S, Col + 1), (100 + 100) << 5);  // red of the pair
      ASSERT_EQ(T.At(2 * S + 1, Col), (200 + 200) << 5);  // blue of the pair
    }
}

TEST(CameraRawKodakJpeg, AJpegOfAnotherSizeIsRefused) {
  TRawTestContext T(8, 16);
  T.SetBytes(SwappedFlatJpeg(16, 3, {1, 2, 3}));
  try {
    RawLoadKodakJpeg(*T.C);
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.GetMessage(), ": incorrect JPEG dimensions");
  }
}

TEST(CameraRawKodakJpeg, ACutJpegEndsThePictureAsShort) {
  TRawTestContext T(8, 16);
  std::vector<Byte> File = SwappedFlatJpeg(16, 4, {100, 150, 200});
  File.resize(File.size() - 6);  // into the entropy-coded data
  T.SetBytes(File);
  RawLoadKodakJpeg(*T.C);
  EXPECT_TRUE(T.C->InputEnded);
}

}  // namespace
