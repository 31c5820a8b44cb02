// The component's HD Photo operations with the further-formats library joined: the registry
// row, files and streams saved and loaded by name, code and content, parameters-only reads that
// keep the picture, and a short stream reported.
#include <gtest/gtest.h>

#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Strings.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

class THdpComponentTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    IEFormatsInstall();
    IOLibraryInitialize();
  }
  static void TearDownTestSuite() { IOLibraryFinalize(); }

  THdpComponentTest() {
    TIEBitmap& Picture = *IO.GetIEBitmap();
    Picture.Allocate(21, 9, ie24RGB);
    for (Integer Y = 0; Y < 9; ++Y)
      for (Integer X = 0; X < 21; ++X) Picture.SetPixel24(X, Y, TIERGBTriple{Byte(X * 12), Byte(Y * 28), 77});
    IO.GetParams()->HdpLossless = true;
  }

  void ExpectPicture(TZezudIdIO& Reader) {
    TIEBitmap& Read = *Reader.GetIEBitmap();
    ASSERT_EQ(Read.GetWidth(), 21);
    ASSERT_EQ(Read.GetHeight(), 9);
    for (Integer Y = 0; Y < 9; ++Y)
      for (Integer X = 0; X < 21; ++X) EXPECT_EQ(Read.GetPixel24(X, Y), IO.GetIEBitmap()->GetPixel24(X, Y));
  }

  TZezudIdIO IO{nullptr};
};

TEST_F(THdpComponentTest, TheRowIsRegisteredWithBothNames) {
  const TIEFileFormatInfo* Row = FindFileFormatInfo(ioHDP);
  ASSERT_NE(Row, nullptr);
  EXPECT_EQ(Row->FullName, "Microsoft HD Photo");
  EXPECT_EQ(FindFileFormatInfoByExtension(".hdp"), Row);
  EXPECT_EQ(FindFileFormatInfoByExtension("WDP"), Row);
}

TEST_F(THdpComponentTest, FilesOfBothNamesRoundTripAndAreFoundByContent) {
  for (const char* Name : {"picture.wdp", "picture.hdp"}) {
    SCOPED_TRACE(Name);
    TTempFile File(Name);
    const std::u16string Path = Utf8ToUtf16(File.Path());
    IO.SaveToFile(Path);
    ASSERT_FALSE(IO.GetAborting());
    EXPECT_EQ(IO.GetParams()->FileType, ioHDP);
    EXPECT_EQ(FindFileFormat(Path, true), ioHDP);

    TZezudIdIO Reader(nullptr);
    Reader.LoadFromFile(Path);
    ASSERT_FALSE(Reader.GetAborting());
    EXPECT_EQ(Reader.GetParams()->FileType, ioHDP);
    EXPECT_EQ(Reader.GetParams()->FileName, Path);
    ExpectPicture(Reader);
  }
}

TEST_F(THdpComponentTest, StreamsRoundTripByCodeAndByContent) {
  TMemoryStream Stream;
  IO.SaveToStream(&Stream, ioHDP);
  ASSERT_FALSE(IO.GetAborting());
  Stream.SetPosition(0);
  EXPECT_EQ(DetectStreamFormat(&Stream), ioHDP);
  TZezudIdIO ByContent(nullptr);
  ByContent.LoadFromStream(&Stream);
  ASSERT_FALSE(ByContent.GetAborting());
  EXPECT_EQ(ByContent.GetParams()->FileType, ioHDP);
  ExpectPicture(ByContent);
  Stream.SetPosition(0);
  TZezudIdIO ByCode(nullptr);
  ByCode.LoadFromStreamFormat(&Stream, ioHDP);
  ASSERT_FALSE(ByCode.GetAborting());
  ExpectPicture(ByCode);
}

TEST_F(THdpComponentTest, ParametersOnlyReadKeepsThePicture) {
  TMemoryStream Stream;
  IO.SaveToStream(&Stream, ioHDP);
  TZezudIdIO Reader(nullptr);
  Reader.GetIEBitmap()->Allocate(2, 2, ie8g);
  Stream.SetPosition(0);
  Reader.ParamsFromStream(&Stream);
  EXPECT_EQ(Reader.GetParams()->FileType, ioHDP);
  EXPECT_EQ(Reader.GetParams()->Width, 21);
  EXPECT_EQ(Reader.GetParams()->Height, 9);
  EXPECT_EQ(Reader.GetParams()->SamplesPerPixel, 3);
  EXPECT_EQ(Reader.GetIEBitmap()->GetWidth(), 2);
  EXPECT_EQ(Reader.GetIEBitmap()->GetPixelFormat(), ie8g);
}

TEST_F(THdpComponentTest, DamagedDataAndShortStreamsAreReported) {
  TMemoryStream Damaged;
  IO.SaveToStream(&Damaged, ioHDP);
  Damaged.SetSize(Damaged.GetSize() / 2);
  Damaged.SetPosition(0);
  TZezudIdIO Reader(nullptr);
  Reader.LoadFromStreamFormat(&Damaged, ioHDP);
  EXPECT_TRUE(Reader.GetAborting());

  TLimitedStream Short(60);
  IO.SaveToStreamHDP(&Short);
  EXPECT_TRUE(IO.GetAborting());
}

}  // namespace
