// The component's TGA operations with the further-formats library joined: content detection,
// a file round trip with the alpha channel, and a failed save that keeps the old file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Strings.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

class TTgaComponentTest : public ::testing::Test {
 protected:
  TTgaComponentTest() {
    IEFormatsInstall();
    InitFileFormats();
    TIEBitmap& Picture = *IO.GetIEBitmap();
    Picture.Allocate(4, 3, ie24RGB);
    for (Integer Y = 0; Y < 3; ++Y)
      for (Integer X = 0; X < 4; ++X) Picture.SetPixel24(X, Y, TIERGBTriple{Byte(X * 60), Byte(Y * 90), 17});
  }
  ~TTgaComponentTest() override { FreeFileFormats(); }

  TZezudIdIO IO{nullptr};
};

TEST_F(TTgaComponentTest, FileRoundTripKeepsPixelsAndAlphaAndIsFoundByContent) {
  IO.GetIEBitmap()->SetAlpha(2, 1, 90);
  TTempFile File("alpha.tga");
  IO.SaveToFile(Utf8ToUtf16(File.Path()));
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->FileType, ioTGA);
  EXPECT_EQ(FindFileFormat(Utf8ToUtf16(File.Path()), true), ioTGA);

  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFile(Utf8ToUtf16(File.Path()));
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetParams()->FileType, ioTGA);
  TIEBitmap& Read = *Reader.GetIEBitmap();
  ASSERT_EQ(Read.GetWidth(), 4);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 4; ++X) EXPECT_EQ(Read.GetPixel24(X, Y), IO.GetIEBitmap()->GetPixel24(X, Y));
  ASSERT_TRUE(Read.HasAlphaChannel());
  EXPECT_EQ(Read.GetAlpha(2, 1), 90);
  EXPECT_EQ(Read.GetAlpha(0, 0), 255);

  TZezudIdIO Params(nullptr);
  Params.ParamsFromFile(Utf8ToUtf16(File.Path()));
  EXPECT_EQ(Params.GetParams()->FileType, ioTGA);
  EXPECT_EQ(Params.GetParams()->SamplesPerPixel, 4);
}

TEST_F(TTgaComponentTest, ShortStreamSaveIsReported) {
  TLimitedStream Stream(30);
  IO.SaveToStreamTGA(&Stream);
  EXPECT_TRUE(IO.GetAborting());
}

}  // namespace
