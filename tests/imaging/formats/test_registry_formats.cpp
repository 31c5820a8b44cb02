// The registry and the component with the further-formats library joined: the rows it adds,
// every built format recognised from its content, and the component's BMP and PNG operations
// with their alpha channels.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FormatsTestSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Strings.h"

namespace {

class TJoinedRegistryTest : public ::testing::Test {
 protected:
  TJoinedRegistryTest() {
    IEFormatsInstall();
    InitFileFormats();
    std::string Pattern = (std::filesystem::temp_directory_path() / "tv-registry-XXXXXX").string();
    FFolder = mkdtemp(Pattern.data());
    TIEBitmap& Picture = *IO.GetIEBitmap();
    Picture.Allocate(5, 3, ie24RGB);
    for (Integer Y = 0; Y < 3; ++Y)
      for (Integer X = 0; X < 5; ++X)
        Picture.SetPixel24(X, Y, TIERGBTriple{Byte(X * 50), Byte(Y * 100), Byte(255 - X * 40)});
  }
  ~TJoinedRegistryTest() override {
    FreeFileFormats();
    std::error_code Ignored;
    std::filesystem::remove_all(FFolder, Ignored);
  }
  std::u16string PathOf(const std::string& Name) const { return Utf8ToUtf16(FFolder + "/" + Name); }
  std::string Saved(TIEFileType FileType) {
    TMemoryStream Stream;
    IO.SaveToStream(&Stream, FileType);
    EXPECT_FALSE(IO.GetAborting()) << FileType;
    return std::string(static_cast<const char*>(Stream.GetMemory()), static_cast<size_t>(Stream.GetSize()));
  }
  static void ExpectSamePixels(TIEBitmap& A, TIEBitmap& B) {
    ASSERT_EQ(A.GetWidth(), B.GetWidth());
    ASSERT_EQ(A.GetHeight(), B.GetHeight());
    for (Integer Y = 0; Y < A.GetHeight(); ++Y)
      for (Integer X = 0; X < A.GetWidth(); ++X)
        ASSERT_EQ(A.GetPixel24(X, Y), B.GetPixel24(X, Y)) << X << "," << Y;
  }

  TZezudIdIO IO{nullptr};
  std::string FFolder;
};

TEST_F(TJoinedRegistryTest, TheFurtherFormatsAddTheirRows) {
  ASSERT_EQ(FileFormatCount(), 23);
  EXPECT_EQ(FileFormatAt(4)->FileType, ioBMP);
  EXPECT_EQ(FindFileFormatInfoByExtension(".dib"), FileFormatAt(4));
  EXPECT_NE(IEFormatProcs.PngWriteStream, nullptr);
}

TEST_F(TJoinedRegistryTest, EveryBuiltFormatIsRecognisedAndLoadedByContent) {
  for (const TIEFileType FileType : {ioJPEG, ioBMP, ioPNG, ioTGA, ioPXM, ioPSD, ioJP2, ioJ2K, ioHDP}) {
    SCOPED_TRACE(FileType);
    TMemoryStream Stream;
    const std::string Bytes = "xy" + Saved(FileType);
    Stream.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    Stream.SetPosition(2);
    EXPECT_EQ(DetectStreamFormat(&Stream), FileType);
    TZezudIdIO Reader(nullptr);
    Reader.LoadFromStream(&Stream);
    EXPECT_FALSE(Reader.GetAborting());
    EXPECT_EQ(Reader.GetParams()->FileType, FileType);
    EXPECT_EQ(Reader.GetIEBitmap()->GetWidth(), 5);
  }
}

TEST_F(TJoinedRegistryTest, WrongExtensionIsFoundByContentUnlessVerified) {
  const std::string Bmp = Saved(ioBMP);
  std::ofstream(FFolder + "/picture.png", std::ios::binary) << Bmp;
  EXPECT_EQ(FindFileFormat(PathOf("picture.png"), false), ioBMP);
  EXPECT_EQ(FindFileFormat(PathOf("picture.png"), true), ioUnknown);
}

TEST_F(TJoinedRegistryTest, BmpFileRoundTripKeepsPixelsAndAlpha) {
  TIEBitmap& Picture = *IO.GetIEBitmap();
  Picture.SetAlpha(1, 1, 40);
  IO.GetParams()->BmpHandleAlpha = true;
  IO.SaveToFileBMP(PathOf("alpha.bmp"));
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->FileType, ioBMP);

  TZezudIdIO Reader(nullptr);
  Reader.GetParams()->BmpHandleAlpha = true;
  Reader.LoadFromFileBMP(PathOf("alpha.bmp"));
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetParams()->FileName, PathOf("alpha.bmp"));
  TIEBitmap& Read = *Reader.GetIEBitmap();
  ExpectSamePixels(Picture, Read);
  ASSERT_TRUE(Read.HasAlphaChannel());
  EXPECT_EQ(Read.GetAlpha(1, 1), 40);
  EXPECT_EQ(Read.GetAlpha(0, 0), 255);
}

TEST_F(TJoinedRegistryTest, PngFileRoundTripKeepsPixelsAndAlpha) {
  TIEBitmap& Picture = *IO.GetIEBitmap();
  Picture.SetAlpha(4, 2, 7);
  IO.SaveToFilePNG(PathOf("alpha.png"));
  ASSERT_FALSE(IO.GetAborting());

  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFilePNG(PathOf("alpha.png"));
  ASSERT_FALSE(Reader.GetAborting());
  TIEBitmap& Read = *Reader.GetIEBitmap();
  ExpectSamePixels(Picture, Read);
  ASSERT_TRUE(Read.HasAlphaChannel());
  EXPECT_EQ(Read.GetAlpha(4, 2), 7);
  EXPECT_EQ(Read.GetAlpha(0, 0), 255);
}

TEST_F(TJoinedRegistryTest, PnmAndWbmpFilesAreChosenByExtension) {
  const struct {
    const char* Name;
    TIEFileType FileType;
  } Files[] = {{"picture.ppm", ioPXM}, {"picture.pgm", ioPXM}, {"picture.wbmp", ioWBMP}};
  for (const auto& File : Files) {
    SCOPED_TRACE(File.Name);
    IO.SaveToFile(PathOf(File.Name));
    ASSERT_FALSE(IO.GetAborting());
    EXPECT_EQ(IO.GetParams()->FileType, File.FileType);
    TZezudIdIO Reader(nullptr);
    Reader.LoadFromFile(PathOf(File.Name));
    ASSERT_FALSE(Reader.GetAborting());
    EXPECT_EQ(Reader.GetParams()->FileType, File.FileType);
    EXPECT_EQ(Reader.GetIEBitmap()->GetWidth(), 5);
    EXPECT_EQ(Reader.GetIEBitmap()->GetHeight(), 3);
  }
}

TEST_F(TJoinedRegistryTest, FailedBmpSaveToAStreamIsReported) {
  TLimitedStream Stream(20);
  IO.SaveToStreamBMP(&Stream);
  EXPECT_TRUE(IO.GetAborting());
}

}  // namespace
