// The component's PCX and DCX operations: found by content and extension, stream headers,
// parameters-only reads, and DCX pages through files.
#include <gtest/gtest.h>

#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "platform/system/Strings.h"
#include "tests/imaging/io/PcxTestSupport.h"

namespace {

class TPcxComponentTest : public ::testing::Test {
 protected:
  TPcxComponentTest() {
    InitFileFormats();
    Paint(*IO.GetIEBitmap(), 6, 4, 0);
  }
  ~TPcxComponentTest() override { FreeFileFormats(); }

  static void Paint(TIEBitmap& Picture, Integer Width, Integer Height, Byte Shift) {
    Picture.Allocate(Width, Height, ie24RGB);
    for (Integer Y = 0; Y < Height; ++Y)
      for (Integer X = 0; X < Width; ++X)
        Picture.SetPixel24(X, Y, TIERGBTriple{Byte(X * 40 + Shift), Byte(Y * 60), Byte(200 - X - Shift)});
  }
  static bool SamePixels(TIEBitmap& A, TIEBitmap& B) {
    if (A.GetWidth() != B.GetWidth() || A.GetHeight() != B.GetHeight()) return false;
    for (Integer Y = 0; Y < A.GetHeight(); ++Y)
      for (Integer X = 0; X < A.GetWidth(); ++X)
        if (!(A.GetPixel24(X, Y) == B.GetPixel24(X, Y))) return false;
    return true;
  }

  TZezudIdIO IO{nullptr};
};

}  // namespace

TEST_F(TPcxComponentTest, StreamsAreFoundByContentAndReadBack) {
  for (TIEFileType FileType : {ioPCX, ioDCX}) {
    SCOPED_TRACE(FileType);
    TMemoryStream Stream;
    IO.SaveToStream(&Stream, FileType);
    ASSERT_FALSE(IO.GetAborting());
    Stream.SetPosition(0);
    EXPECT_EQ(DetectStreamFormat(&Stream), FileType);
    TZezudIdIO Reader(nullptr);
    Reader.LoadFromStream(&Stream);
    ASSERT_FALSE(Reader.GetAborting());
    EXPECT_EQ(Reader.GetParams()->FileType, FileType);
    EXPECT_TRUE(SamePixels(*IO.GetIEBitmap(), *Reader.GetIEBitmap()));

    TZezudIdIO Params(nullptr);
    const Integer OwnWidth = Params.GetIEBitmap()->GetWidth();
    Stream.SetPosition(0);
    Params.ParamsFromStream(&Stream);
    EXPECT_EQ(Params.GetParams()->FileType, FileType);
    EXPECT_EQ(Params.GetParams()->Width, 6);
    EXPECT_EQ(Params.GetIEBitmap()->GetWidth(), OwnWidth) << "a parameters read leaves the picture";
  }
}

TEST_F(TPcxComponentTest, HeadedStreamsFollowOneAnother) {
  TMemoryStream Stream;
  IO.SetStreamHeaders(true);
  IO.SaveToStreamPCX(&Stream);
  TIEBitmap First;
  First.Assign(IO.GetIEBitmap());
  Paint(*IO.GetIEBitmap(), 3, 2, 7);
  IO.SaveToStreamPCX(&Stream);
  const std::vector<Byte> Bytes = StreamBytes(Stream);
  ASSERT_EQ(std::string(Bytes.begin(), Bytes.begin() + 4), "PCX2");

  TZezudIdIO Reader(nullptr);
  Reader.SetStreamHeaders(true);
  Stream.SetPosition(0);
  Reader.LoadFromStreamPCX(&Stream);
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_TRUE(SamePixels(First, *Reader.GetIEBitmap()));
  Reader.LoadFromStreamPCX(&Stream);
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_TRUE(SamePixels(*IO.GetIEBitmap(), *Reader.GetIEBitmap()));
  EXPECT_EQ(Stream.GetPosition(), Stream.GetSize());
}

TEST_F(TPcxComponentTest, TheOldFourByteHeaderAndAWrongMagic) {
  TMemoryStream Plain;
  IO.SaveToStreamPCX(&Plain);
  std::vector<Byte> Old = {'P', 'C', 'X', 0};
  const std::vector<Byte> Data = StreamBytes(Plain);
  Old.insert(Old.end(), Data.begin(), Data.end());
  TMemoryStream Stream;
  LoadBytes(Stream, Old);
  EXPECT_EQ(DetectStreamFormat(&Stream), ioPCX);
  TZezudIdIO Reader(nullptr);
  Reader.SetStreamHeaders(true);
  Reader.LoadFromStreamPCX(&Stream);
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_TRUE(SamePixels(*IO.GetIEBitmap(), *Reader.GetIEBitmap()));

  Old[0] = 'Q';
  TMemoryStream Wrong;
  LoadBytes(Wrong, Old);
  Reader.LoadFromStreamPCX(&Wrong);
  EXPECT_TRUE(Reader.GetAborting());
}

TEST_F(TPcxComponentTest, DcxFilesTakeTheirPagesByExtension) {
  TTempFile File("pages.dcx");
  const std::u16string Path = Utf8ToUtf16(File.Path());
  IO.SaveToFile(Path);
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->FileType, ioDCX);

  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFile(Path);
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetParams()->FileType, ioDCX);
  EXPECT_EQ(Reader.GetParams()->FileName, Path);
  EXPECT_TRUE(SamePixels(*IO.GetIEBitmap(), *Reader.GetIEBitmap()));

  // A page index the new file cannot have fails the save and keeps the old file.
  const std::vector<Byte> Before = File.Read();
  IO.GetParams()->SetImageIndex(1);
  IO.SaveToFile(Path);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(File.Read(), Before);
}

TEST_F(TPcxComponentTest, PcxFilesByExtension) {
  TTempFile File("picture.pcx");
  const std::u16string Path = Utf8ToUtf16(File.Path());
  IO.SaveToFile(Path);
  ASSERT_FALSE(IO.GetAborting());
  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFile(Path);
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetParams()->FileType, ioPCX);
  EXPECT_TRUE(SamePixels(*IO.GetIEBitmap(), *Reader.GetIEBitmap()));
}
