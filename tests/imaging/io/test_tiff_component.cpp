// The component's TIFF operations: saves and loads through files and streams, the "TIFF" stream
// header, the page count, parameters only, the alpha channel, and the EXIF block reading and
// writing its TIFF structure through the filter once the I/O library has started.
#include "ComponentTestSupport.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/ieioparams.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/tiffilt.h"

namespace {

class TTiffComponentTest : public TComponentTest {
 protected:
  TTiffComponentTest() {
    TIEBitmap& Picture = *IO.GetIEBitmap();
    Picture.Allocate(5, 3, ie24RGB);
    for (Integer Y = 0; Y < 3; ++Y)
      for (Integer X = 0; X < 5; ++X)
        Picture.SetPixel24(X, Y, TIERGBTriple{Byte(X * 50), Byte(Y * 100), Byte(255 - X * 40)});
  }
  // Every pixel of the two pictures is the same.
  static void ExpectSamePicture(TIEBitmap& A, TIEBitmap& B) {
    ASSERT_EQ(A.GetWidth(), B.GetWidth());
    ASSERT_EQ(A.GetHeight(), B.GetHeight());
    for (Integer Y = 0; Y < A.GetHeight(); ++Y)
      for (Integer X = 0; X < A.GetWidth(); ++X)
        ASSERT_EQ(A.GetPixel24(X, Y), B.GetPixel24(X, Y)) << X << ", " << Y;
  }
  TZezudIdIO IO{nullptr};
};

TEST_F(TTiffComponentTest, AStreamHeaderFramesTheDataForTheNextReader) {
  TMemoryStream Stream;
  Stream.WriteBuffer("ABC", 3);
  IO.SetStreamHeaders(true);
  IO.SaveToStreamTIFF(&Stream);
  ASSERT_FALSE(IO.GetAborting());
  const Int64 End = Stream.GetPosition();
  Stream.WriteBuffer("TAIL", 4);
  const auto* Bytes = static_cast<const Byte*>(Stream.GetMemory());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Bytes) + 3, 8), std::string("TIFF\0\0\0\0", 8));
  EXPECT_EQ(IELoadLE32(Bytes + 11), End - 3 - 12);

  TZezudIdIO Reader(nullptr);
  Reader.SetStreamHeaders(true);
  Stream.SetPosition(3);
  EXPECT_EQ(Reader.LoadFromStreamTIFF(&Stream), 1);
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Stream.GetPosition(), End);
  ExpectSamePicture(*IO.GetIEBitmap(), *Reader.GetIEBitmap());
  EXPECT_EQ(Reader.GetParams()->FileType, ioTIFF);
}

TEST_F(TTiffComponentTest, AHeaderOfAnotherMagicIsRefused) {
  auto Stream = StreamOf(std::string("PCX2\0\0\0\0\x08\0\0\0II*\0\0\0\0\0", 20));
  TZezudIdIO Reader(nullptr);
  Reader.SetStreamHeaders(true);
  EXPECT_EQ(Reader.LoadFromStreamTIFF(Stream.get()), 0);
  EXPECT_TRUE(Reader.GetAborting());
}

TEST_F(TTiffComponentTest, FilesAreSavedAndLoadedByExtensionAndContent) {
  IO.SaveToFile(PathOf("picture.tif"));
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->FileType, ioTIFF);

  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFile(PathOf("picture.tif"));
  ASSERT_FALSE(Reader.GetAborting());
  ExpectSamePicture(*IO.GetIEBitmap(), *Reader.GetIEBitmap());
  EXPECT_EQ(Reader.GetParams()->FileName, PathOf("picture.tif"));

  auto Stream = StreamOf(ReadFile("picture.tif"));
  TZezudIdIO ByContent(nullptr);
  ByContent.LoadFromStream(Stream.get());
  ASSERT_FALSE(ByContent.GetAborting());
  EXPECT_EQ(ByContent.GetParams()->FileType, ioTIFF);
  ExpectSamePicture(*IO.GetIEBitmap(), *ByContent.GetIEBitmap());
}

TEST_F(TTiffComponentTest, TheFileLoadReturnsThePageCount) {
  TMemoryStream Pages;
  IO.SaveToStreamTIFF(&Pages);
  for (Integer Page = 1; Page < 3; ++Page) {
    Pages.SetPosition(0);
    IO.GetParams()->SetImageIndex(Page);
    TIELocalProgress Local;
    TiffWriteStream(&Pages, true, IO.GetIEBitmap(), *IO.GetParams(), Local.Progress);
    ASSERT_FALSE(Local.Aborting);
  }
  WriteFile("pages.tif", std::string(static_cast<const char*>(Pages.GetMemory()), Pages.GetSize()));
  TZezudIdIO Reader(nullptr);
  Reader.GetParams()->SetImageIndex(2);
  EXPECT_EQ(Reader.LoadFromFileTIFF(PathOf("pages.tif")), 3);
  EXPECT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetParams()->ImageCount, 3);
  EXPECT_EQ(Reader.GetIEBitmap()->GetWidth(), 5);
}

TEST_F(TTiffComponentTest, AnAsynchronousLoadReturnsAtOnceAndLoadsOnAWorker) {
  IO.SaveToFile(PathOf("picture.tif"));
  TIEBitmap Attached;
  TZezudIdIO Reader(nullptr);
  Reader.SetAttachedIEBitmap(&Attached);
  Reader.SetAsyncMode(true);
  EXPECT_EQ(Reader.LoadFromFileTIFF(PathOf("picture.tif")), -1);
  Reader.WaitThreads(false);
  EXPECT_FALSE(Reader.GetAborting());
  ExpectSamePicture(*IO.GetIEBitmap(), Attached);
}

TEST_F(TTiffComponentTest, ParametersOnlyLeaveThePicture) {
  IO.SaveToFile(PathOf("picture.tif"));
  TZezudIdIO Reader(nullptr);
  Reader.GetIEBitmap()->Allocate(2, 2, ie8g);
  Reader.ParamsFromFile(PathOf("picture.tif"));
  EXPECT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetParams()->FileType, ioTIFF);
  EXPECT_EQ(Reader.GetParams()->Width, 5);
  EXPECT_EQ(Reader.GetParams()->Height, 3);
  EXPECT_EQ(Reader.GetIEBitmap()->GetWidth(), 2);
  EXPECT_EQ(Reader.GetIEBitmap()->GetPixelFormat(), ie8g);
}

TEST_F(TTiffComponentTest, TheAlphaChannelTravelsAsAnExtraSample) {
  TIEBitmap* Alpha = IO.GetIEBitmap()->GetAlphaChannel();
  Alpha->SetPixel8(1, 1, 0);
  Alpha->SetPixel8(4, 2, 90);
  Alpha->SetFull(false);
  TMemoryStream Stream;
  IO.SaveToStreamTIFF(&Stream);
  ASSERT_FALSE(IO.GetAborting());
  Stream.SetPosition(0);
  TZezudIdIO Reader(nullptr);
  Reader.LoadFromStreamTIFF(&Stream);
  ASSERT_FALSE(Reader.GetAborting());
  ASSERT_TRUE(Reader.GetIEBitmap()->HasAlphaChannel());
  TIEBitmap* Read = Reader.GetIEBitmap()->GetAlphaChannel();
  EXPECT_EQ(Read->GetPixel8(1, 1), 0);
  EXPECT_EQ(Read->GetPixel8(4, 2), 90);
  EXPECT_EQ(Read->GetPixel8(0, 0), 255);
}

TEST(TiffExifProcs, TheStartUpLendsTheFilterToTheExifBlockAndTheShutDownTakesItBack) {
  const TIEExifProcs Core = IEExifProcs;
  IOLibraryInitialize();
  EXPECT_NE(IEExifProcs.TiffReadStream, Core.TiffReadStream);
  EXPECT_NE(IEExifProcs.TiffWriteStream, Core.TiffWriteStream);

  // An EXIF block made and read back through the filter keeps its values and thumbnail.
  TIEMetaParams Source;
  Source.ExifPresent = true;
  Source.ExifMake = "Camera maker";
  Source.SetExifExposureTime(0.004);
  Source.SetExifXResolution(72);
  TIEBitmap* Thumbnail = Source.ExifThumbnailNeeded();
  Thumbnail->Allocate(16, 8, ie24RGB);
  Thumbnail->Fill(0x406080);
  std::vector<Byte> Block;
  IESaveEXIFToBuffer(Source, Block, true);
  TIEMetaParams Read;
  ASSERT_TRUE(IELoadEXIFFromBuffer(Block.data(), static_cast<Integer>(Block.size()), Read));
  EXPECT_EQ(Read.ExifMake, "Camera maker");
  EXPECT_DOUBLE_EQ(Read.ExifExposureTime, 0.004);
  EXPECT_TRUE(Read.HasExifTag(33434));
  EXPECT_EQ(Read.DpiX, 72);
  ASSERT_NE(Read.GetExifThumbnail(), nullptr);
  EXPECT_EQ(Read.GetExifThumbnail()->GetWidth(), 16);
  EXPECT_EQ(Read.GetExifThumbnail()->GetHeight(), 8);

  IOLibraryFinalize();
  EXPECT_EQ(IEExifProcs.TiffReadStream, Core.TiffReadStream);
  EXPECT_EQ(IEExifProcs.TiffWriteStream, Core.TiffWriteStream);
}

}  // namespace
