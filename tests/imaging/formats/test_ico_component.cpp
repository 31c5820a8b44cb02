// The component's icon, cursor and headerless-raw operations with the further-formats library
// joined: the sizes and bit counts a save hands the writer, file round trips with the alpha
// channel, cursors found by extension, and raw pixel data read into the allocated picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Strings.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

struct TFinishCount {
  Integer Count = 0;
  void Finished(TObject*) { ++Count; }
};

class TIcoComponentTest : public ::testing::Test {
 protected:
  TIcoComponentTest() {
    IEFormatsInstall();
    InitFileFormats();
    TIEBitmap& Picture = *IO.GetIEBitmap();
    Picture.Allocate(6, 4, ie24RGB);
    for (Integer Y = 0; Y < 4; ++Y)
      for (Integer X = 0; X < 6; ++X) Picture.SetPixel24(X, Y, TIERGBTriple{Byte(X * 40), Byte(Y * 60), 17});
  }
  ~TIcoComponentTest() override { FreeFileFormats(); }

  std::vector<Byte> SavedIcon() {
    TMemoryStream Stream;
    IO.SaveToStream(&Stream, ioICO);
    return StreamBytes(Stream);
  }

  TZezudIdIO IO{nullptr};
};

TEST_F(TIcoComponentTest, TheLeadingSizesOfPositiveWidthAreWritten) {
  TIOParamsVals& P = *IO.GetParams();
  P.IcoSizes = {};
  P.IcoSizes[0] = {6, 4};
  P.IcoSizes[1] = {3, 2};
  P.IcoSizes[3] = {8, 8};  // after the gap: not written
  P.IcoBitCounts = {};
  P.IcoBitCounts[0] = 32;
  P.IcoBitCounts[1] = 8;
  const std::vector<Byte> Bytes = SavedIcon();
  ASSERT_FALSE(IO.GetAborting());
  ASSERT_GE(Bytes.size(), 38u);
  EXPECT_EQ(Bytes[4], 2);
  EXPECT_EQ(std::vector<Byte>(Bytes.begin() + 6, Bytes.begin() + 8), (std::vector<Byte>{6, 4}));
  EXPECT_EQ(Bytes[6 + 6], 32);
  EXPECT_EQ(std::vector<Byte>(Bytes.begin() + 22, Bytes.begin() + 25), (std::vector<Byte>{3, 2, 255}));

  P.IcoSizes[0] = {0, 4};  // no sizes at all: nothing to write is a failure
  TMemoryStream Stream;
  IO.SaveToStream(&Stream, ioICO);
  EXPECT_TRUE(IO.GetAborting());
}

TEST_F(TIcoComponentTest, AFailedSaveKeepsTheOldFile) {
  TTempFile File("kept.ico");
  File.Write({1, 2, 3});
  IO.GetParams()->IcoSizes[0] = {6, 0};
  IO.SaveToFile(Utf8ToUtf16(File.Path()));
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(File.Read(), (std::vector<Byte>{1, 2, 3}));
}

TEST_F(TIcoComponentTest, DeepPicturesAreConvertedFirst) {
  IO.GetIEBitmap()->ConvertToPixelFormat(ieRGB48);
  IO.GetParams()->IcoSizes[0] = {6, 4};
  IO.GetParams()->IcoBitCounts[0] = 24;
  const std::vector<Byte> Bytes = SavedIcon();
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Bytes[6 + 6], 24);
}

TEST_F(TIcoComponentTest, FileRoundTripWithAlphaByExtensionAndParameters) {
  IO.GetIEBitmap()->SetAlpha(5, 3, 0);
  IO.GetParams()->IcoSizes[0] = {6, 4};
  IO.GetParams()->IcoBitCounts[0] = 32;
  TTempFile File("picture.ico");
  IO.SaveToFile(Utf8ToUtf16(File.Path()));
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->FileType, ioICO);
  EXPECT_EQ(FindFileFormat(Utf8ToUtf16(File.Path()), true), ioICO);

  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFile(Utf8ToUtf16(File.Path()));
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetParams()->FileType, ioICO);
  EXPECT_EQ(Reader.GetParams()->FileName, Utf8ToUtf16(File.Path()));
  TIEBitmap& Read = *Reader.GetIEBitmap();
  ASSERT_EQ(Read.GetWidth(), 6);
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 6; ++X) EXPECT_EQ(Read.GetPixel24(X, Y), IO.GetIEBitmap()->GetPixel24(X, Y));
  ASSERT_TRUE(Read.HasAlphaChannel());
  EXPECT_EQ(Read.GetAlpha(5, 3), 0);
  EXPECT_EQ(Read.GetAlpha(0, 0), 255);

  TZezudIdIO Params(nullptr);
  Params.ParamsFromFile(Utf8ToUtf16(File.Path()));
  EXPECT_EQ(Params.GetParams()->FileType, ioICO);
  EXPECT_EQ(Params.GetParams()->IcoBitCounts[0], 32);
  EXPECT_EQ(Params.GetParams()->Width, 6);
  EXPECT_EQ(Params.GetIEBitmap()->GetWidth(), 0);
}

TEST_F(TIcoComponentTest, CursorsLoadByExtensionAndHaveNoWriter) {
  IO.GetParams()->IcoSizes[0] = {6, 4};
  IO.GetParams()->IcoBitCounts[0] = 24;
  std::vector<Byte> Bytes = SavedIcon();
  ASSERT_GE(Bytes.size(), 6u);
  Bytes[2] = 2;
  TTempFile File("pointer.cur");
  File.Write(Bytes);
  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFile(Utf8ToUtf16(File.Path()));
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetParams()->FileType, ioCUR);
  EXPECT_EQ(Reader.GetIEBitmap()->GetPixel24(5, 3), IO.GetIEBitmap()->GetPixel24(5, 3));
  // The entry's planes and bit count are a cursor's hot spot.
  EXPECT_EQ(Reader.GetParams()->CurXHotSpot, 1);
  EXPECT_EQ(Reader.GetParams()->CurYHotSpot, 24);

  TMemoryStream Stream;
  LoadBytes(Stream, Bytes);
  TZezudIdIO ByContent(nullptr);
  ByContent.LoadFromStream(&Stream);
  EXPECT_FALSE(ByContent.GetAborting());
  EXPECT_EQ(ByContent.GetParams()->FileType, ioCUR);

  TTempFile Saved("saved.cur");
  IO.SaveToFile(Utf8ToUtf16(Saved.Path()));
  EXPECT_TRUE(IO.GetAborting());
}

TEST_F(TIcoComponentTest, RawPixelsFillTheAllocatedPictureWithoutResolutionSteps) {
  ASSERT_NE(FindFileFormatInfo(ioBMPRAW), nullptr);
  EXPECT_EQ(FileFormatExtensionCount(ioBMPRAW), 0);
  const std::vector<Byte> Bytes{'h', 'e', 'a', 'd', 'e', 'r', '!', '!', 255, 0,
                                10,  1,   2,   3,   4,   5,   6,   7,   8,   9};
  TTempFile File("pixels.raw");
  File.Write(Bytes);
  for (const bool FromFile : {false, true}) {
    SCOPED_TRACE(FromFile);
    TZezudIdIO Reader(nullptr);
    Reader.GetIEBitmap()->Allocate(2, 2, ie24RGB);
    Reader.GetParams()->RawHeaderSize = 8;
    Reader.GetParams()->SetDpiX(1);
    TFinishCount Finished;
    Reader.SetOnFinishWork(TNotifyEvent(&Finished, &TFinishCount::Finished));
    TMemoryStream Stream;
    LoadBytes(Stream, Bytes);
    if (FromFile)
      Reader.LoadFromFileFormat(Utf8ToUtf16(File.Path()), ioBMPRAW);
    else
      Reader.LoadFromStreamFormat(&Stream, ioBMPRAW);
    ASSERT_FALSE(Reader.GetAborting());
    EXPECT_EQ(Finished.Count, 1);
    EXPECT_EQ(Reader.GetParams()->FileType, ioBMPRAW);
    EXPECT_EQ(Reader.GetParams()->FileName, FromFile ? Utf8ToUtf16(File.Path()) : u"");
    EXPECT_EQ(Reader.GetParams()->DpiX, 1);
    EXPECT_EQ(Reader.GetIEBitmap()->GetPixel24(0, 0), (TIERGBTriple{10, 0, 255}));
    EXPECT_EQ(Reader.GetIEBitmap()->GetPixel24(1, 1), (TIERGBTriple{9, 8, 7}));
    Reader.LoadFromFileRawBitmap(u"");
    EXPECT_EQ(Finished.Count, 1);
  }
}

}  // namespace
