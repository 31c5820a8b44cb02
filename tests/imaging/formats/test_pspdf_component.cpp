// The component's PostScript and PDF operations with the further-formats library joined: the
// write-only rows, saving by extension and by code, the conversion before writing, and failures.
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

class TPsPdfComponentTest : public ::testing::Test {
 protected:
  TPsPdfComponentTest() {
    IEFormatsInstall();
    InitFileFormats();
    IO.GetIEBitmap()->Allocate(6, 4, ie24RGB);
    IO.GetIEBitmap()->Fill(0x336699);
  }
  ~TPsPdfComponentTest() override { FreeFileFormats(); }

  std::string Saved(const std::string& Name) {
    TTempFile File(Name);
    IO.SaveToFile(Utf8ToUtf16(File.Path()));
    EXPECT_FALSE(IO.GetAborting()) << Name;
    const std::vector<Byte> Bytes = File.Read();
    return {Bytes.begin(), Bytes.end()};
  }

  TZezudIdIO IO{nullptr};
};

TEST_F(TPsPdfComponentTest, RowsAreWriteOnly) {
  for (const TIEFileType FileType : {ioPS, ioPDF}) {
    const TIEFileFormatInfo* Info = FindFileFormatInfo(FileType);
    ASSERT_NE(Info, nullptr);
    EXPECT_EQ(Info->ReadFunction, nullptr);
    EXPECT_NE(Info->WriteFunction, nullptr);
  }
  EXPECT_EQ(FindFileFormatInfoByExtension("eps")->FileType, ioPS);
  EXPECT_EQ(IEFileTypeOfExtension(".pdf"), ioPDF);
}

TEST_F(TPsPdfComponentTest, SavesByExtensionAndByCode) {
  const std::string Ps = Saved("page.ps");
  EXPECT_TRUE(Ps.starts_with("%!PS-Adobe-3.0\r\n"));
  // The page count is read back from the file being written.
  EXPECT_NE(Ps.find("\r\n%%Pages: 1     \r\n"), std::string::npos);
  EXPECT_EQ(IO.GetParams()->FileType, ioPS);
  EXPECT_TRUE(Saved("page.EPS").starts_with("%!PS-Adobe-3.0\r\n"));
  EXPECT_TRUE(Saved("page.pdf").starts_with("%PDF-1.4\n"));
  EXPECT_EQ(IO.GetParams()->FileType, ioPDF);

  for (const TIEFileType FileType : {ioPS, ioPDF}) {
    TMemoryStream Stream;
    IO.SaveToStream(&Stream, FileType);
    EXPECT_FALSE(IO.GetAborting());
    const std::string Text(static_cast<const char*>(Stream.GetMemory()),
                           static_cast<size_t>(Stream.GetSize()));
    EXPECT_TRUE(Text.ends_with(FileType == ioPS ? "%%EOF\r\n" : "%%EOF\n"));
  }
  // Write-only: nothing reads them back.
  TTempFile File("page.pdf");
  IO.SaveToFilePDF(Utf8ToUtf16(File.Path()));
  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFile(Utf8ToUtf16(File.Path()));
  EXPECT_TRUE(Reader.GetAborting());
}

TEST_F(TPsPdfComponentTest, DeepPicturesAreConvertedTo24BitsAndOneBitKept) {
  IO.GetIEBitmap()->Allocate(6, 4, ieRGB48);
  TMemoryStream Stream;
  IO.SaveToStreamPDF(&Stream);
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie24RGB);
  EXPECT_EQ(IO.GetParams()->BitsPerSample, 8);
  IO.GetIEBitmap()->Allocate(6, 4, ie1g);
  IO.SaveToStreamPS(&Stream);
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie1g);
  EXPECT_EQ(IO.GetParams()->BitsPerSample, 1);
}

// A short write raises the stream's error to the caller; the outcome does not read as a
// success, and a file save keeps the old file.
TEST_F(TPsPdfComponentTest, FailedWritesAreNoSuccess) {
  for (const TIEFileType FileType : {ioPS, ioPDF}) {
    TLimitedStream Stream(40);
    EXPECT_THROW(IO.SaveToStream(&Stream, FileType), EStreamError);
    EXPECT_TRUE(IO.GetAborting());
  }
  IO.GetIEBitmap()->FreeImage(true);
  TTempFile File("old.pdf");
  File.Write({'o', 'l', 'd'});
  IO.SaveToFile(Utf8ToUtf16(File.Path()));
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(File.Read(), (std::vector<Byte>{'o', 'l', 'd'}));
}

}  // namespace
