// The component's load and save dispatchers over a format of the registry: by extension, by
// content, by code and from memory, what they report, and what a failed save leaves behind.
#include "ComponentTestSupport.h"
#include "platform/system/Exceptions.h"

namespace {

class TDispatchTest : public TComponentTest {
 protected:
  TDispatchTest() { Log.Bind(IO); }
  TZezudIdIO IO{nullptr};
  TComponentLog Log;
};

TEST_F(TDispatchTest, LoadFromFileReadsThroughTheRowOfTheExtension) {
  const std::u16string Name = WriteFile("grey.TSX", TstBytes(3, 2, 90));
  IO.SetAborting(true);
  IO.LoadFromFile(Name);
  EXPECT_FALSE(IO.GetAborting());
  TIEBitmap* Picture = IO.GetIEBitmap();
  ASSERT_EQ(Picture->GetWidth(), 3);
  ASSERT_EQ(Picture->GetHeight(), 2);
  EXPECT_EQ(Picture->GetPixel24(2, 1).rgbtRed, 90);
  EXPECT_EQ(IO.GetParams()->FileType, ioTST);
  EXPECT_EQ(IO.GetParams()->FileName, Name);
  EXPECT_FALSE(TstBehaviour.LastPreview);
  // Rows reported as 50 and 100 per cent, then the end: 100 once more and the finish.
  EXPECT_EQ(Log.Lines, (std::vector<std::string>{"progress 50", "progress 100", "progress 100", "finish"}));
}

TEST_F(TDispatchTest, LoadsThatFindNoReaderFailAndFinish) {
  for (const std::string& Name : {std::string(), std::string("picture.xyz"), std::string("noextension")}) {
    SCOPED_TRACE(Name);
    Log.Lines.clear();
    IO.SetAborting(false);
    IO.LoadFromFile(Name.empty() ? std::u16string() : WriteFile(Name, TstBytes(1, 1, 0)));
    EXPECT_TRUE(IO.GetAborting());
    EXPECT_EQ(Log.Lines, (std::vector<std::string>{"progress 100", "finish"}));
    EXPECT_EQ(TstBehaviour.Reads, 0);
  }
}

TEST_F(TDispatchTest, ReaderExceptionIsAFailureByExtensionButPassesByCode) {
  const std::u16string Name = WriteFile("bad.tst", TstBytes(1, 1, 0));
  TstBehaviour.Raise = true;
  IO.LoadFromFile(Name);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_TRUE(Log.Has("finish"));

  Log.Lines.clear();
  EXPECT_THROW(IO.LoadFromFileFormat(Name, ioTST), Exception);
  EXPECT_TRUE(Log.Has("finish"));
}

TEST_F(TDispatchTest, FileThatCannotBeOpenedRaisesWithAbortingSetAndFinished) {
  EXPECT_THROW(IO.LoadFromFile(PathOf("missing.tst")), EFOpenError);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_TRUE(Log.Has("finish"));
}

TEST_F(TDispatchTest, LoadFromFileAutoTrustsContentOverExtension) {
  const std::u16string Name = WriteFile("really-tst.jpg", TstBytes(4, 4, 200));
  IO.LoadFromFileAuto(Name);
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 4);
  EXPECT_EQ(IO.GetParams()->FileType, ioTST);
}

// An unrecognised stream, or a format without a filter yet, is a failed load, never a silent
// success; the picture stays.
TEST_F(TDispatchTest, UnrecognisedStreamFailsAndKeepsThePicture) {
  IO.GetIEBitmap()->Allocate(5, 5, ie8g);
  IO.SetAborting(false);
  auto Stream = StreamOf("no picture format starts like this");
  IO.LoadFromStream(Stream.get());
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie8g);
  EXPECT_EQ(Stream->GetPosition(), 0);
  EXPECT_TRUE(Log.Has("finish"));

  IO.SetAborting(false);
  IO.LoadFromStreamFormat(Stream.get(), 77);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 5);
}

TEST_F(TDispatchTest, StreamLoadsByContentAndByCode) {
  auto Stream = StreamOf(TstBytes(2, 3, 7));
  IO.LoadFromStream(Stream.get());
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetHeight(), 3);
  EXPECT_TRUE(IO.GetParams()->FileName.empty());

  auto Short = StreamOf("TST1");
  IO.LoadFromStreamFormat(Short.get(), ioTST);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_TRUE(Log.Has("finish"));
}

TEST_F(TDispatchTest, BufferLoads) {
  const std::string Bytes = TstBytes(6, 1, 1);
  IO.LoadFromBuffer(nullptr, 10, ioUnknown);
  EXPECT_TRUE(IO.GetAborting());
  IO.SetAborting(false);
  IO.LoadFromBuffer(Bytes.data(), 0, ioUnknown);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_TRUE(Log.Lines.empty());

  IO.LoadFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()), ioUnknown);
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 6);
}

TEST_F(TDispatchTest, SaveToFileWritesThroughTheRowAndRecordsTheFile) {
  IO.GetIEBitmap()->Allocate(2, 2, ie24RGB);
  IO.GetIEBitmap()->Fill(33 * 0x010101);
  IO.SetAborting(true);
  const std::u16string Name = PathOf("out.tst");
  IO.SaveToFile(Name);
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(ReadFile("out.tst"), TstBytes(2, 2, 33));
  EXPECT_EQ(IO.GetParams()->FileName, Name);
  EXPECT_EQ(IO.GetParams()->FileType, ioTST);
  EXPECT_TRUE(Log.Has("finish"));
}

TEST_F(TDispatchTest, SavesWithoutWriterFailWithoutFinishing) {
  IO.GetIEBitmap()->Allocate(2, 2, ie24RGB);
  IO.SaveToFile(PathOf("out.xyz"));
  EXPECT_TRUE(IO.GetAborting());
  IO.SetAborting(false);
  TMemoryStream Stream;
  IO.SaveToStream(&Stream, 77);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_TRUE(Log.Lines.empty());
  EXPECT_EQ(FileCount(), 0u);
  IO.SetAborting(false);
  IO.SaveToFile(u"");
  EXPECT_FALSE(IO.GetAborting());
}

// A failed or raising writer must never cost the user the file that was there before.
TEST_F(TDispatchTest, FailedSaveKeepsTheOldFile) {
  const std::string Old = TstBytes(9, 9, 9);
  const std::u16string Name = WriteFile("keep.tst", Old);
  IO.GetIEBitmap()->Allocate(2, 2, ie24RGB);

  TstBehaviour.FailWrite = true;
  IO.SaveToFile(Name);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(ReadFile("keep.tst"), Old);
  EXPECT_TRUE(Log.Has("finish"));

  TstBehaviour.FailWrite = false;
  TstBehaviour.Raise = true;
  EXPECT_THROW(IO.SaveToFile(Name), Exception);
  EXPECT_EQ(ReadFile("keep.tst"), Old);
  EXPECT_EQ(FileCount(), 1u);  // no temporary file left beside it
}

TEST_F(TDispatchTest, SaveToStreamWritesAtThePosition) {
  IO.GetIEBitmap()->Allocate(1, 1, ie24RGB);
  IO.GetIEBitmap()->Fill(5 * 0x010101);
  TMemoryStream Stream;
  Stream.WriteBuffer("ab", 2);
  IO.SaveToStream(&Stream, ioTST);
  EXPECT_FALSE(IO.GetAborting());
  std::string Bytes(static_cast<size_t>(Stream.GetSize()), '\0');
  Stream.SetPosition(0);
  Stream.ReadBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  EXPECT_EQ(Bytes, "ab" + TstBytes(1, 1, 5));
}

// Writers get 24 bits, except that a 1-bit picture stays as it is.
TEST_F(TDispatchTest, WritersGetTwentyFourBitsOrOneBit) {
  const struct {
    TIEPixelFormat Before, After;
  } Cases[] = {{ie8g, ie24RGB}, {ie32RGB, ie24RGB}, {ie1g, ie1g}, {ie24RGB, ie24RGB}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE(static_cast<int>(Case.Before));
    IO.GetIEBitmap()->Allocate(3, 3, Case.Before);
    TMemoryStream Stream;
    IO.SaveToStream(&Stream, ioTST);
    EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), Case.After);
  }
}

TEST_F(TDispatchTest, FinishWorkWithOnlyProgressReportsOneHundred) {
  IO.SetOnFinishWork(nullptr);
  IO.DoFinishWork();
  EXPECT_EQ(Log.Lines, (std::vector<std::string>{"progress 100"}));
  Log.Lines.clear();
  IO.SetOnProgress(nullptr);
  IO.DoFinishWork();
  EXPECT_TRUE(Log.Lines.empty());
}

TEST_F(TDispatchTest, ParamsOnlyReadsLeaveThePictureAlone) {
  IO.GetIEBitmap()->Allocate(1, 1, ie8g);
  const std::u16string Name = WriteFile("params.tst", TstBytes(12, 34, 0));
  IO.ParamsFromFile(Name);
  EXPECT_TRUE(TstBehaviour.LastPreview);
  EXPECT_EQ(IO.GetParams()->Width, 12);
  EXPECT_EQ(IO.GetParams()->Height, 34);
  EXPECT_EQ(IO.GetParams()->FileType, ioTST);
  EXPECT_EQ(IO.GetParams()->FileName, Name);
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 1);
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie8g);
  EXPECT_TRUE(Log.Has("finish"));
}

// Failure shows as file type 0: unknown content, a short file, a code without a reader, a
// file that is not there.
TEST_F(TDispatchTest, ParamsOnlyFailuresLeaveFileTypeZero) {
  auto Unknown = StreamOf("????????????");
  IO.ParamsFromStream(Unknown.get());
  EXPECT_EQ(IO.GetParams()->FileType, ioUnknown);

  auto Short = StreamOf("TST1");
  IO.ParamsFromStreamFormat(Short.get(), ioTST);
  EXPECT_EQ(IO.GetParams()->FileType, ioUnknown);

  auto Good = StreamOf(TstBytes(1, 1, 1));
  IO.ParamsFromStreamFormat(Good.get(), 77);
  EXPECT_EQ(IO.GetParams()->FileType, ioUnknown);
  EXPECT_TRUE(IO.GetAborting());

  IO.ParamsFromFileFormat(PathOf("missing.tst"), ioTST);
  EXPECT_EQ(IO.GetParams()->FileType, ioUnknown);

  const std::string Bytes = TstBytes(8, 9, 0);
  IO.ParamsFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()), ioUnknown);
  EXPECT_EQ(IO.GetParams()->FileType, ioTST);
  EXPECT_EQ(IO.GetParams()->Height, 9);
}

}  // namespace

namespace {

struct TPreviewsHandler {
  bool Handle = false;
  Integer Calls = 0;
  void DoPreviews(TObject*, bool& Handled) {
    ++Calls;
    Handled = Handle;
  }
};

// Without a dialog in the program the parameters dialog answers "not confirmed", after the
// picture was made ready for the writers; a handler that takes over answers "confirmed".
TEST_F(TDispatchTest, PreviewsAskTheHandlerFirst) {
  TPreviewsHandler Handler;
  IO.SetOnDoPreviews(TIEDoPreviewsEvent(&Handler, &TPreviewsHandler::DoPreviews));
  IO.GetIEBitmap()->Allocate(2, 2, ie8g);
  EXPECT_FALSE(IO.DoPreviews(2));
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie24RGB);
  Handler.Handle = true;
  IO.GetIEBitmap()->Allocate(2, 2, ie8g);
  EXPECT_TRUE(IO.DoPreviews(2));
  EXPECT_EQ(IO.GetIEBitmap()->GetPixelFormat(), ie8g);
  EXPECT_EQ(Handler.Calls, 2);
}

}  // namespace

namespace {

// A built-in row whose format has no operation of the component (PostScript: written only)
// has only placeholders: a save through it would leave an empty file under a success, so it
// fails and an old file stays; a load through it would read nothing, so it fails too.
TEST_F(TDispatchTest, BuiltInRowWithoutOperationNeitherSavesNorLoads) {
  auto Info = std::make_unique<TIEFileFormatInfo>();
  Info->FileType = ioPS;
  Info->Extension = "PS;EPS";
  Info->InternalFormat = true;
  Info->ReadFunction = IEPlaceholderRead;
  Info->WriteFunction = IEPlaceholderWrite;
  Info->TestFunction = IEPlaceholderTest;
  RegisterFileFormat(std::move(Info));
  IO.GetIEBitmap()->Allocate(2, 2, ie24RGB);

  const std::u16string Name = WriteFile("page.eps", "old");
  IO.SaveToFile(Name);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(ReadFile("page.eps"), "old");

  IO.LoadFromFile(PathOf("page.eps"));
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_TRUE(Log.Has("finish"));
}

}  // namespace
