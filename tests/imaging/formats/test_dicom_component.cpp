// The component's DICOM operations with the further-formats library joined: by extension, by
// content and parameters only; a picture held by a platform bitmap; DICOM cannot be saved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Strings.h"
#include "tests/imaging/formats/DicomTestSupport.h"

namespace {

class TDicomComponentTest : public ::testing::Test {
 protected:
  TDicomComponentTest() {
    IEFormatsInstall();
    InitFileFormats();
    TDicomBytes Bytes(TDicomBytes::ExplicitLittle);
    Bytes.Picture(3, 2, 8, 1, 2);
    std::vector<Byte> Pixels;
    for (Integer I = 0; I < 12; ++I) Pixels.push_back(static_cast<Byte>(I * 20));
    Bytes.NativePixels(Pixels);
    File.Write(Bytes.Bytes());
  }
  ~TDicomComponentTest() override { FreeFileFormats(); }
  std::u16string Name() const { return Utf8ToUtf16(File.Path()); }

  TTempFile File{"picture.dcm"};
  TZezudIdIO IO{nullptr};
};

TEST_F(TDicomComponentTest, LoadsByExtensionAndByContentAndReadsParameters) {
  EXPECT_EQ(FindFileFormat(Name(), true), ioDICOM);
  IO.GetParams()->SetImageIndex(1);
  IO.LoadFromFile(Name());
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->FileType, ioDICOM);
  EXPECT_EQ(IO.GetParams()->FileName, Name());
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie8g);
  EXPECT_EQ(PictureSamples(*IO.GetIEBitmap()).Samples, (std::vector<Integer>{120, 140, 160, 180, 200, 220}));

  TMemoryStream Stream;
  LoadBytes(Stream, File.Read());
  TZezudIdIO FromStream(nullptr);
  FromStream.LoadFromStream(&Stream);
  ASSERT_FALSE(FromStream.GetAborting());
  EXPECT_EQ(FromStream.GetParams()->FileType, ioDICOM);
  EXPECT_EQ(FromStream.GetIEBitmap()->GetWidth(), 3);

  TZezudIdIO Params(nullptr);
  Params.ParamsFromFile(Name());
  EXPECT_EQ(Params.GetParams()->FileType, ioDICOM);
  EXPECT_EQ(Params.GetParams()->Height, 2);
  EXPECT_EQ(Params.GetParams()->ImageCount, 2);
  EXPECT_GT(Params.GetParams()->DicomTags->GetCount(), 5);
  EXPECT_TRUE(Params.GetIEBitmap()->IsEmpty());
}

TEST_F(TDicomComponentTest, APictureHeldByAPlatformBitmapComesAsColour) {
  TBitmap Platform;
  Platform.SetPixelFormat(pf24bit);
  Platform.SetSize(1, 1);
  IO.SetAttachedBitmap(&Platform);
  IO.LoadFromFile(Name());
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(Platform.GetWidth(), 3);
  EXPECT_EQ(Platform.GetHeight(), 2);
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie24RGB);
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelRGB(2, 1).rgbtRed, 100);

  // A colour picture is colour already.
  TDicomBytes Rgb(TDicomBytes::ExplicitLittle);
  Rgb.Picture(2, 1, 8, 3, 1, "RGB").NativePixels({10, 20, 30, 40, 50, 60});
  TTempFile Colour("colour.dcm");
  Colour.Write(Rgb.Bytes());
  IO.LoadFromFile(Utf8ToUtf16(Colour.Path()));
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(Platform.GetWidth(), 2);
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelRGB(1, 0), (TIERGBTriple{60, 50, 40}));
}

TEST_F(TDicomComponentTest, DicomIsNotWrittenAndTheFileStays) {
  const std::vector<Byte> Before = File.Read();
  IO.GetIEBitmap()->Allocate(2, 2, ie24RGB);
  IO.SaveToFile(Name());
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(File.Read(), Before);
}

}  // namespace
