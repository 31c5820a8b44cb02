// The component's own JPEG, PNG and BMP operations inside the input/output library alone (the
// further-formats library's writers absent), the "JFIF" stream header, the JPEG metadata a
// save writes, and the picture as program text.
#include "ComponentTestSupport.h"
#include "JpegTestSupport.h"
#include "PngTestSupport.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/iemarkerlist.h"
#include "imaging/core/iestreams.h"

namespace {

class TFormatOperationsTest : public TComponentTest {
 protected:
  TFormatOperationsTest() {
    Log.Bind(IO);
    IO.GetIEBitmap()->Assign(jpegtest::Gradient(16, 8).get());
  }
  std::string Saved(TIEFileType FileType) {
    TMemoryStream Stream;
    IO.SaveToStream(&Stream, FileType);
    return std::string(static_cast<const char*>(Stream.GetMemory()), static_cast<size_t>(Stream.GetSize()));
  }
  TZezudIdIO IO{nullptr};
  TComponentLog Log;
};

TEST_F(TFormatOperationsTest, JpegStreamHeaderFramesTheDataForTheNextReader) {
  TMemoryStream Stream;
  Stream.WriteBuffer("ABC", 3);
  IO.SetStreamHeaders(true);
  IO.SaveToStreamJpeg(&Stream);
  ASSERT_FALSE(IO.GetAborting());
  const Int64 End = Stream.GetPosition();
  Stream.WriteBuffer("TAIL", 4);

  const auto* Bytes = static_cast<const Byte*>(Stream.GetMemory());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Bytes) + 3, 8), std::string("JFIF\0\0\0\0", 8));
  EXPECT_EQ(IELoadLE32(Bytes + 11), End - 3 - 12);

  // The header is recognised whatever the reading component's StreamHeaders says.
  for (const bool Headers : {true, false}) {
    TZezudIdIO Reader(nullptr);
    Reader.SetStreamHeaders(Headers);
    Stream.SetPosition(3);
    Reader.LoadFromStreamJpeg(&Stream);
    EXPECT_FALSE(Reader.GetAborting());
    EXPECT_EQ(Reader.GetIEBitmap()->GetWidth(), 16);
    EXPECT_EQ(Stream.GetPosition(), End);
    EXPECT_EQ(Reader.GetParams()->FileType, ioJPEG);
    EXPECT_TRUE(Reader.GetParams()->FileName.empty());
  }
}

TEST_F(TFormatOperationsTest, JpegStreamWithoutHeaderLoadsFromItsStart) {
  const std::string Jpeg = Saved(ioJPEG);
  ASSERT_EQ(Jpeg.substr(0, 2), "\xFF\xD8");
  TZezudIdIO Reader(nullptr);
  Reader.SetStreamHeaders(true);
  Reader.LoadFromStreamJpeg(StreamOf(Jpeg).get());
  EXPECT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetIEBitmap()->GetHeight(), 8);
}

TEST_F(TFormatOperationsTest, JpegStreamHeaderLengthIsCappedAtTheStreamsEnd) {
  std::string Headed = std::string("JFIF\0\0\0\0", 8) + std::string("\xFF\xFF\xFF\x7F", 4) + Saved(ioJPEG);
  auto Stream = StreamOf(Headed);
  IO.LoadFromStreamJpeg(Stream.get());
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(Stream->GetPosition(), Stream->GetSize());
}

TEST_F(TFormatOperationsTest, JpegFileRoundTripKeepsOneExifBlock) {
  TIOParamsVals& Params = *IO.GetParams();
  Params.ExifPresent = true;
  Params.ExifMake = "Before";
  std::vector<Byte> Old;
  IESaveEXIFToBuffer(Params, Old, true);
  for (int I = 0; I < 2; ++I)
    Params.JpegMarkerList->AddMarker(IEJpegAPP1, Old.data(), static_cast<Integer>(Old.size()));
  Params.ExifMake = "After";
  IO.SaveToFileJpeg(PathOf("exif.jpg"));
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(Params.FileType, ioJPEG);
  EXPECT_EQ(Params.FileName, PathOf("exif.jpg"));

  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFileJpeg(PathOf("exif.jpg"));
  ASSERT_FALSE(Reader.GetAborting());
  const TIEMarkerList& Markers = *Reader.GetParams()->JpegMarkerList;
  Integer ExifBlocks = 0;
  for (Integer I = 0; I < Markers.Count(); ++I)
    ExifBlocks += Markers.GetMarkerType(I) == IEJpegAPP1 &&
                  IEIsEXIFBlock(Markers.GetMarkerData(I), Markers.GetMarkerLength(I));
  EXPECT_EQ(ExifBlocks, 1);
  EXPECT_EQ(Reader.GetParams()->ExifMake, "After");
  EXPECT_EQ(Reader.GetParams()->FileName, PathOf("exif.jpg"));
}

TEST_F(TFormatOperationsTest, SaveWithoutAPictureFailsAndKeepsTheOldFile) {
  const std::u16string Name = WriteFile("old.jpg", "old contents");
  IO.SetAttachedIEBitmap(nullptr);
  IO.SaveToFileJpeg(Name);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(ReadFile("old.jpg"), "old contents");
  EXPECT_TRUE(Log.Has("finish"));
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(TFormatOperationsTest, FormatsWithoutTheirLibraryFailInsteadOfPretending) {
  const std::u16string Png = WriteFile("old.png", "old png");
  IO.SaveToFilePNG(Png);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(ReadFile("old.png"), "old png");

  IO.SaveToFileBMP(PathOf("new.bmp"));
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_FALSE(Exists("new.bmp"));

  IO.SetAborting(false);
  IO.LoadFromStreamBMP(StreamOf(std::string("BM") + std::string(60, '\0')).get());
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 16);
}

std::string PngBytes(bool WithBackground) {
  TPngFixture Fixture;
  Fixture.Rows.assign(3, std::vector<Byte>(12, 77));
  Fixture.Background = WithBackground;
  Fixture.BackgroundColor.red = 200;
  Fixture.BackgroundColor.green = 100;
  Fixture.BackgroundColor.blue = 50;
  const std::vector<Byte> Bytes = EncodePng(Fixture);
  return std::string(Bytes.begin(), Bytes.end());
}

TEST_F(TFormatOperationsTest, PngLoadsHandTheBackgroundThroughTheParameters) {
  // The file load offers the component's background: a file without one keeps it.
  IO.SetBackground(RGB(10, 20, 30));
  IO.LoadFromFilePNG(WriteFile("plain.png", PngBytes(false)));
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetBackground(), RGB(10, 20, 30));
  EXPECT_EQ(IO.GetParams()->FileType, ioPNG);
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 4);

  IO.LoadFromFilePNG(WriteFile("back.png", PngBytes(true)));
  EXPECT_EQ(IO.GetBackground(), RGB(200, 100, 50));

  IO.SetBackground(RGB(10, 20, 30));
  IO.LoadFromStreamPNG(StreamOf(PngBytes(true)).get());
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetBackground(), RGB(200, 100, 50));
  EXPECT_TRUE(IO.GetParams()->FileName.empty());
}

// Text renderings of a TST file "TST1", 2, 1, 0x80.
class TPascalSourceTest : public TFormatOperationsTest {
 protected:
  TPascalSourceTest() {
    IO.GetIEBitmap()->Allocate(2, 1, ie24RGB);
    IO.GetIEBitmap()->Fill(0x808080);
  }
  std::string Render(Integer Kind, TIEFileType FileType = ioTST) {
    IO.SaveToPascalSource(PathOf("pic.pas"), FileType, Kind);
    return ReadFile("pic.pas");
  }
};

TEST_F(TPascalSourceTest, SavedFileAsByteArrayListAndBase64) {
  const std::string Id = FFolder + "/pic_pas";
  EXPECT_EQ(Render(0), "const\r\n  " + Id + "_Size = 7;\r\n  " + Id + " : array [0.." + Id +
                           "_Size-1] of byte = (\r\n    $54,$53,$54,$31,$02,$01,$80);\r\n");
  EXPECT_EQ(Render(1), "\\\\ Size=7\r\n0x54,0x53,0x54,0x31,0x02,0x01,0x80\r\n");
  EXPECT_EQ(Render(2), "VFNUMQIBgA==\r\n");
  EXPECT_EQ(IO.GetParams()->FileName, PathOf("pic.pas"));
}

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> Out;
  for (size_t At = 0, End; (End = Text.find("\r\n", At)) != std::string::npos; At = End + 2)
    Out.push_back(Text.substr(At, End - At));
  return Out;
}

TEST_F(TPascalSourceTest, LinesAreWrittenOnceLongerThanSeventyCharacters) {
  IO.GetIEBitmap()->Assign(jpegtest::Gradient(16, 8).get());
  const std::string Jpeg = Saved(ioJPEG);
  // "$XX," x 18 and "0xXX," x 15 are the first to pass 70 characters.
  const std::vector<std::string> Array = Lines(Render(0, ioJPEG));
  ASSERT_GT(Array.size(), 5u);
  EXPECT_EQ(Array[1], "  " + FFolder + "/pic_pas_Size = " + std::to_string(Jpeg.size()) + ";");
  for (size_t I = 3; I + 1 < Array.size(); ++I) EXPECT_EQ(Array[I].size(), 4u + 72u) << I;
  EXPECT_EQ(Array.back().substr(Array.back().size() - 5), "$D9);");
  const std::vector<std::string> List = Lines(Render(1, ioJPEG));
  EXPECT_EQ(List[0], "\\\\ Size=" + std::to_string(Jpeg.size()));
  for (size_t I = 1; I + 1 < List.size(); ++I) EXPECT_EQ(List[I].size(), 75u) << I;
  EXPECT_EQ(List.back().substr(List.back().size() - 4), "0xD9");
}

TEST_F(TPascalSourceTest, CharacterPictureByGreyLevel) {
  TIEBitmap& Picture = *IO.GetIEBitmap();
  Picture.Allocate(4, 2, ie24RGB);
  const TIERGBTriple Row0[] = {{0, 0, 0}, {128, 128, 128}, {255, 255, 255}, {0, 0, 255}};
  for (Integer X = 0; X < 4; ++X) {
    Picture.SetPixel24(X, 0, Row0[X]);
    Picture.SetPixel24(X, 1, TIERGBTriple{200, 200, 200});
  }
  // Red 255 alone: grey 53, 53 / 255 x 9 = 1.87 -> "@"; grey 200 -> 7.06 -> ","; white 9 -> 8
  EXPECT_EQ(Render(3), "W+ @\r\n,,,,\r\n");
  Picture.Allocate(4, 2, ie1g);
  EXPECT_EQ(Render(3), "");
}

std::thread::id WriterThread;
void TstWriteRecordingThread(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& Params,
                             TIEIOProgress& Progress) {
  WriterThread = std::this_thread::get_id();
  TstWrite(Stream, Bitmap, Params, Progress);
}

TEST_F(TPascalSourceTest, SavesOnTheCallersThreadInAsynchronousMode) {
  auto Info = std::make_unique<TIEFileFormatInfo>();
  Info->FileType = ioTST + 1;
  Info->WriteFunction = TstWriteRecordingThread;
  RegisterFileFormat(std::move(Info));
  TIEBitmap Callers(2, 1, ie24RGB);
  Callers.Fill(0x808080);
  IO.SetAttachedIEBitmap(&Callers);
  IO.SetAsyncMode(true);
  // The memory stream lives in the call: a worker would write it after it is gone.
  EXPECT_EQ(Render(2, ioTST + 1), "VFNUMQIBgA==\r\n");
  IO.WaitThreads(false);
  EXPECT_EQ(WriterThread, std::this_thread::get_id());
}

}  // namespace
