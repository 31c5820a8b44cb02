// The component's PSD operations with the further-formats library joined: a file round trip
// found by content, parameters-only reads, a damaged file that fails, and a failed save that
// keeps the old file.
#include <gtest/gtest.h>

#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Strings.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

class TPsdComponentTest : public ::testing::Test {
 protected:
  TPsdComponentTest() {
    IEFormatsInstall();
    InitFileFormats();
    TIEBitmap& Picture = *IO.GetIEBitmap();
    Picture.Allocate(4, 3, ie24RGB);
    for (Integer Y = 0; Y < 3; ++Y)
      for (Integer X = 0; X < 4; ++X) Picture.SetPixel24(X, Y, TIERGBTriple{Byte(X * 60), Byte(Y * 90), 17});
    IO.GetParams()->SetDpiX(150);
    IO.GetParams()->SetDpiY(150);
  }
  ~TPsdComponentTest() override { FreeFileFormats(); }

  TZezudIdIO IO{nullptr};
};

TEST_F(TPsdComponentTest, FileRoundTripIsFoundByContentWithItsResolution) {
  TTempFile File("picture.psd");
  IO.SaveToFile(Utf8ToUtf16(File.Path()));
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->FileType, ioPSD);
  EXPECT_EQ(FindFileFormat(Utf8ToUtf16(File.Path()), true), ioPSD);

  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFile(Utf8ToUtf16(File.Path()));
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetParams()->FileType, ioPSD);
  EXPECT_EQ(Reader.GetParams()->DpiX, 150);
  TIEBitmap& Read = *Reader.GetIEBitmap();
  ASSERT_EQ(Read.GetWidth(), 4);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 4; ++X) EXPECT_EQ(Read.GetPixel24(X, Y), IO.GetIEBitmap()->GetPixel24(X, Y));

  TZezudIdIO Params(nullptr);
  Params.ParamsFromFile(Utf8ToUtf16(File.Path()));
  EXPECT_EQ(Params.GetParams()->FileType, ioPSD);
  EXPECT_EQ(Params.GetParams()->Width, 4);
  EXPECT_EQ(Params.GetParams()->SamplesPerPixel, 3);
  EXPECT_EQ(Params.GetParams()->DpiY, 150);
}

TEST_F(TPsdComponentTest, ADamagedFileFailsAndAFailedSaveKeepsTheOldFile) {
  TMemoryStream Whole;
  IO.SaveToStream(&Whole, ioPSD);
  ASSERT_FALSE(IO.GetAborting());
  std::vector<Byte> Cut = StreamBytes(Whole);
  Cut.resize(Cut.size() - 5);
  TMemoryStream Damaged;
  LoadBytes(Damaged, Cut);
  TZezudIdIO Reader(nullptr);
  Reader.LoadFromStream(&Damaged);
  EXPECT_TRUE(Reader.GetAborting());

  TTempFile File("kept.psd");
  File.Write({'o', 'l', 'd'});
  IO.GetIEBitmap()->Allocate(2, 2, ie32f);
  IO.SaveToFile(Utf8ToUtf16(File.Path()));
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(File.Read(), (std::vector<Byte>{'o', 'l', 'd'}));
}

TEST_F(TPsdComponentTest, ShortStreamSaveIsReported) {
  TLimitedStream Stream(30);
  IO.SaveToStreamPSD(&Stream);
  EXPECT_TRUE(IO.GetAborting());
}

}  // namespace
