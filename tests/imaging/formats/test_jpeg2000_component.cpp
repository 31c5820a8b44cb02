// The component's JPEG 2000 operations with the further-formats library joined: saves chosen by
// extension, loads by content, parameters-only reads, stream saves by code, a picture of
// another pixel format converted for the writer, and a failed save that keeps the old file.
#include <gtest/gtest.h>

#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/ieformats.h"
#include "imaging/formats/iejpeg2000.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Strings.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

class TJpeg2000ComponentTest : public ::testing::Test {
 protected:
  TJpeg2000ComponentTest() {
    IEFormatsInstall();
    InitFileFormats();
    TIEBitmap& Picture = *IO.GetIEBitmap();
    Picture.Allocate(6, 4, ie24RGB);
    for (Integer Y = 0; Y < 4; ++Y)
      for (Integer X = 0; X < 6; ++X) Picture.SetPixel24(X, Y, TIERGBTriple{Byte(X * 40), Byte(Y * 60), 99});
  }
  ~TJpeg2000ComponentTest() override { FreeFileFormats(); }

  void ExpectPicture(TZezudIdIO& Reader) {
    TIEBitmap& Read = *Reader.GetIEBitmap();
    ASSERT_EQ(Read.GetWidth(), 6);
    ASSERT_EQ(Read.GetHeight(), 4);
    for (Integer Y = 0; Y < 4; ++Y)
      for (Integer X = 0; X < 6; ++X) ASSERT_EQ(Read.GetPixel24(X, Y), IO.GetIEBitmap()->GetPixel24(X, Y));
  }

  TZezudIdIO IO{nullptr};
};

TEST_F(TJpeg2000ComponentTest, FilesAreWrittenByExtensionAndReadByContent) {
  struct TCase {
    const char* Name;
    TIEFileType FileType;
    bool Jp2;
  };
  for (const TCase& C : {TCase{"p.jp2", ioJP2, true}, TCase{"p.j2k", ioJ2K, false},
                         TCase{"p.jpc", ioJ2K, false}, TCase{"p.j2c", ioJ2K, false}}) {
    SCOPED_TRACE(C.Name);
    TTempFile File(C.Name);
    IO.SaveToFile(Utf8ToUtf16(File.Path()));
    ASSERT_FALSE(IO.GetAborting());
    EXPECT_EQ(IO.GetParams()->FileType, C.FileType);
    const std::vector<Byte> Bytes = File.Read();
    ASSERT_GT(Bytes.size(), 12u);
    EXPECT_EQ(Bytes[4] == 'j' && Bytes[5] == 'P', C.Jp2);
    EXPECT_EQ(FindFileFormat(Utf8ToUtf16(File.Path()), true), C.FileType);

    TZezudIdIO Reader(nullptr);
    Reader.LoadFromFile(Utf8ToUtf16(File.Path()));
    ASSERT_FALSE(Reader.GetAborting());
    EXPECT_EQ(Reader.GetParams()->FileType, C.FileType);
    ExpectPicture(Reader);

    TZezudIdIO Params(nullptr);
    Params.ParamsFromFile(Utf8ToUtf16(File.Path()));
    EXPECT_EQ(Params.GetParams()->FileType, C.FileType);
    EXPECT_EQ(Params.GetParams()->Width, 6);
    EXPECT_EQ(Params.GetParams()->SamplesPerPixel, 3);
    EXPECT_EQ(Params.GetIEBitmap()->GetWidth(), 0);
  }
}

TEST_F(TJpeg2000ComponentTest, StreamSavesByCodeLoadByContent) {
  for (const TIEFileType FileType : {ioJP2, ioJ2K}) {
    TMemoryStream Stream;
    Stream.Write("xy", 2);
    IO.SaveToStream(&Stream, FileType);
    ASSERT_FALSE(IO.GetAborting());
    Stream.SetPosition(2);
    EXPECT_EQ(DetectStreamFormat(&Stream), FileType);
    TZezudIdIO Reader(nullptr);
    Reader.LoadFromStream(&Stream);
    ASSERT_FALSE(Reader.GetAborting());
    EXPECT_EQ(Reader.GetParams()->FileType, FileType);
    ExpectPicture(Reader);
  }
}

// A grey picture reaches the writer as ie24RGB; a 1-bit one stays 1-bit.
TEST_F(TJpeg2000ComponentTest, OtherPixelFormatsAreConvertedForTheWriter) {
  IO.GetIEBitmap()->ConvertToPixelFormat(ie8g);
  TMemoryStream Grey;
  IO.SaveToStreamJ2K(&Grey);
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie24RGB);

  IO.GetIEBitmap()->Allocate(9, 2, ie1g);
  IO.GetIEBitmap()->Fill(1);
  TMemoryStream Bits;
  IO.SaveToStreamJP2(&Bits);
  ASSERT_FALSE(IO.GetAborting());
  Bits.SetPosition(0);
  TZezudIdIO Reader(nullptr);
  Reader.LoadFromStreamJP2(&Bits);
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetIEBitmap()->GetPixelFormat(), ie1g);
  EXPECT_EQ(Reader.GetParams()->BitsPerSample, 1);
}

TEST_F(TJpeg2000ComponentTest, FailedSaveKeepsTheOldFileAndFailedLoadIsReported) {
  TTempFile File("old.jp2");
  File.Write({'o', 'l', 'd'});
  IO.GetParams()->J2000ColorSpace = 7;  // no image is built for it
  IO.SaveToFileJP2(Utf8ToUtf16(File.Path()));
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(File.Read(), (std::vector<Byte>{'o', 'l', 'd'}));

  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFileJP2(Utf8ToUtf16(File.Path()));
  EXPECT_TRUE(Reader.GetAborting());
}

}  // namespace
