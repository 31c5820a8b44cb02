// The JPEG filter when things go wrong or are stopped: where the data starts, truncated and
// corrupt files, stopping from the progress listener, failing writes, the data length walk and
// the step-by-step decompression's errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/imaging/io/JpegTestSupport.h"

using namespace jpegtest;

namespace {

std::string SmallJpeg() {
  static const std::string Jpeg = [] {
    auto Source = Gradient(48, 32);
    return Encode(*Source);
  }();
  return Jpeg;
}

TEST(JpegFilterFailures, StartOfImageIsFoundWithin150Bytes) {
  TDecoded Found = Decode(std::string(149, 'x') + SmallJpeg());
  EXPECT_FALSE(Found.Aborting);
  EXPECT_EQ(Found.Rows, 32);
  TDecoded Missed = Decode(std::string(150, 'x') + SmallJpeg());
  EXPECT_TRUE(Missed.Aborting);
  EXPECT_EQ(Missed.Rows, 0);
  EXPECT_TRUE(Missed.Bitmap->IsEmpty());
}

TEST(JpegFilterFailures, FindSOIRestoresThePositionAndNeedsAllThreeBytes) {
  TStringStream Stream("ab" + SmallJpeg());
  Stream.SetPosition(1);
  EXPECT_EQ(JpegFindSOI(&Stream, true), 2);
  EXPECT_EQ(Stream.GetPosition(), 1);
  EXPECT_EQ(JpegFindSOI(&Stream, false), -1);
  for (const char* Short : {"", "\xFF", "\xFF\xD8", "zz\xFF\xD8"}) {
    TStringStream Tail(Short);
    EXPECT_EQ(JpegFindSOI(&Tail, true), -1) << Short;
  }
}

TEST(JpegFilterFailures, TruncatedDataDecodesWithWarnings) {
  auto Source = Gradient(256, 256);
  const std::string Jpeg = Encode(*Source);
  TIOParamsVals Params;
  // Cut inside the scan's data.
  TDecoded Result = Decode(Jpeg.substr(0, Jpeg.size() - Jpeg.size() / 4), Params);
  EXPECT_FALSE(Result.Aborting);
  EXPECT_EQ(Result.Rows, 256);
  EXPECT_GT(Params.JpegWarningTotal, 0);
  // The classic code of "premature end of data segment", not the newer codec's own number.
  EXPECT_EQ(Params.JpegWarningCode, 117);
  EXPECT_STREQ(JpegMessageText(117), "Corrupt JPEG data: premature end of data segment");
  EXPECT_STREQ(JpegMessageText(124), "Corrupted");
  EXPECT_STREQ(JpegMessageText(-1), "Corrupted");
  // A clean read clears the counts.
  Decode(Jpeg, Params);
  EXPECT_EQ(Params.JpegWarningTotal, 0);
  EXPECT_EQ(Params.JpegWarningCode, 0);
}

TEST(JpegFilterFailures, BrokenHeadersAbortButKeepTheMarkersBeforeThem) {
  const std::string Comment = Segment(0xFE, "before");
  // Start of image and a comment, then data that ends before any frame.
  TIOParamsVals Params;
  TDecoded Result = Decode(SmallJpeg().substr(0, 2) + Comment, Params);
  EXPECT_TRUE(Result.Aborting);
  EXPECT_EQ(Params.JpegMarkerList->Count(), 1);
  // A frame header of zero width.
  std::string Jpeg = SmallJpeg();
  const size_t Frame = Jpeg.find("\xFF\xC0");
  ASSERT_NE(Frame, std::string::npos);
  Jpeg[Frame + 7] = 0;
  Jpeg[Frame + 8] = 0;
  EXPECT_TRUE(Decode(Jpeg).Aborting);
}

TEST(JpegFilterFailures, HeaderClaimingMoreThanTheDataIsRefusedBeforeAllocating) {
  std::string Jpeg = SmallJpeg();
  const size_t Frame = Jpeg.find("\xFF\xC0");
  // 20,000 by 20,000 pixels from a few hundred bytes.
  for (size_t At : {Frame + 5, Frame + 7}) {
    Jpeg[At] = 0x4E;
    Jpeg[At + 1] = 0x20;
  }
  TIOParamsVals Params;
  TDecoded Result = Decode(Jpeg, Params);
  EXPECT_TRUE(Result.Aborting);
  EXPECT_TRUE(Result.Bitmap->IsEmpty());
  // The header itself still reaches the parameters.
  EXPECT_EQ(Params.FileWidth, 20000);
}

// A listener that stops the operation at its first report.
struct TStopper : TObject {
  bool* Aborting = nullptr;
  Integer Calls = 0;
  void OnProgress(TObject*, Integer) {
    ++Calls;
    *Aborting = true;
  }
};

TEST(JpegFilterFailures, ListenerStopsReaderAndWriterAfterTheCurrentRow) {
  auto Source = Gradient(40, 100);
  const std::string Jpeg = Encode(*Source);
  TProgress Progress;
  TStopper Stopper;
  Stopper.Aborting = &Progress.Aborting;
  Progress.Record.OnProgress = TIEProgressEvent(&Stopper, &TStopper::OnProgress);
  TStringStream In(Jpeg);
  TIOParamsVals Params;
  TIEBitmap Bitmap;
  const Integer Rows = JpegReadStream(&In, nullptr, &Bitmap, Params, Progress.Record, false, false, false,
                                      false, false, false, -1, false);
  EXPECT_EQ(Rows, 1);
  EXPECT_EQ(Stopper.Calls, 1);
  EXPECT_TRUE(Progress.Aborting);

  Progress.Aborting = false;
  TStringStream Out;
  JpegWriteStream(&Out, Source.get(), Params, Progress.Record);
  EXPECT_EQ(Stopper.Calls, 2);
  EXPECT_TRUE(Progress.Aborting);
}

TEST(JpegFilterFailures, ProgressReportsEachWholePercentOnce) {
  struct TRecorder : TObject {
    std::vector<Integer> Seen;
    void OnProgress(TObject*, Integer Percent) { Seen.push_back(Percent); }
  } Recorder;
  auto Source = Gradient(16, 300);
  const std::string Jpeg = Encode(*Source);
  TProgress Progress;
  Progress.Record.OnProgress = TIEProgressEvent(&Recorder, &TRecorder::OnProgress);
  TStringStream In(Jpeg);
  TIOParamsVals Params;
  TIEBitmap Bitmap;
  JpegReadStream(&In, nullptr, &Bitmap, Params, Progress.Record, false, false, false, false, false, false, -1,
                 false);
  // 300 rows: 0 (after the first row) to 100, each once and in order.
  ASSERT_EQ(Recorder.Seen.size(), 101u);
  for (Integer I = 0; I <= 100; ++I) EXPECT_EQ(Recorder.Seen[I], I);
}

// Takes the first Capacity bytes, then nothing more.
class TShortStream : public TStringStream {
 public:
  explicit TShortStream(Integer Capacity) : FCapacity(Capacity) {}
  Integer Write(const void* Buffer, Integer Count) override {
    const Integer Taken = std::min(Count, FCapacity);
    FCapacity -= Taken;
    return TStringStream::Write(Buffer, Taken);
  }

 private:
  Integer FCapacity;
};

TEST(JpegFilterFailures, ShortWriteAndEmptyPictureSetAborting) {
  auto Source = Gradient(300, 300);
  TIOParamsVals Params;
  TProgress Progress;
  TShortStream Full(1000);
  JpegWriteStream(&Full, Source.get(), Params, Progress.Record);
  EXPECT_TRUE(Progress.Aborting);

  TProgress Empty;
  TIEBitmap Nothing;
  TStringStream Out;
  JpegWriteStream(&Out, &Nothing, Params, Empty.Record);
  EXPECT_TRUE(Empty.Aborting);
  EXPECT_EQ(Out.GetSize(), 0);
}

TEST(JpegFilterFailures, CodecErrorWhileWritingRaisesAfterSettingAborting) {
  auto Source = Gradient(8, 8);
  TIOParamsVals Params;
  const std::string Huge(65534, 'x');  // one byte more than a segment holds
  Params.JpegMarkerList->AddMarker(0xFE, Huge.data(), static_cast<Integer>(Huge.size()));
  TProgress Progress;
  TStringStream Out;
  try {
    JpegWriteStream(&Out, Source.get(), Params, Progress.Record);
    FAIL() << "no exception";
  } catch (const EIEJpegException& E) {
    EXPECT_EQ(E.GetMessage(), "Bogus marker length");
  }
  EXPECT_TRUE(Progress.Aborting);
}

TEST(JpegFilterFailures, StreamLengthWalksTheSegmentsWithinTheData) {
  const std::string Jpeg = SmallJpeg();
  TStringStream Stream("pre" + Jpeg + "trailing garbage");
  Stream.SetPosition(3);
  EXPECT_EQ(JpegStreamLength(&Stream), static_cast<Integer>(Jpeg.size()));
  EXPECT_EQ(Stream.GetPosition(), 3);
  // A segment whose length cannot be, or runs past the end, ends the walk at the end.
  for (const std::string& Broken : {std::string("\xFF\xD8\xFF\xFE\x00\x00\x01\x02", 8),
                                    std::string("\xFF\xD8\xFF\xE1\xFF\xFF\x01\x02", 8)}) {
    TStringStream Short(Broken);
    EXPECT_LE(JpegStreamLength(&Short), 8);
  }
}

// The file split as JPEG-compressed TIFF keeps it: the tables alone, and the image without them.
TEST(JpegFilterFailures, AbbreviatedImageReadsWithItsTablesStream) {
  const std::string Jpeg = SmallJpeg();
  std::string Tables = Jpeg.substr(0, 2), Image = Jpeg.substr(0, 2);
  size_t At = 2;
  while (static_cast<Byte>(Jpeg[At + 1]) != 0xDA) {
    const size_t Length = 2 + ((static_cast<Byte>(Jpeg[At + 2]) << 8) | static_cast<Byte>(Jpeg[At + 3]));
    const auto Marker = static_cast<Byte>(Jpeg[At + 1]);
    (Marker == 0xDB || Marker == 0xC4 ? Tables : Image) += Jpeg.substr(At, Length);
    At += Length;
  }
  Tables += "\xFF\xD9";
  Image += Jpeg.substr(At);
  TStringStream ImageStream(Image), TablesStream(Tables);
  TProgress Progress;
  TIOParamsVals Params;
  TIEBitmap Bitmap;
  EXPECT_EQ(JpegReadStream(&ImageStream, &TablesStream, &Bitmap, Params, Progress.Record, false, false, false,
                           false, false, false, -1, false),
            32);
  EXPECT_FALSE(Progress.Aborting);
  EXPECT_EQ(MaxDifference(Bitmap, *Decode(Jpeg).Bitmap), 0);
  // Without the tables the image cannot be read.
  EXPECT_TRUE(Decode(Image).Aborting);
}

TEST(JpegFilterFailures, TablesStreamErrorsReachTheCaller) {
  TStringStream Image(SmallJpeg());
  TStringStream Tables(std::string("\xFF\xD8\xFF\xDB\x00\x03\x07", 7));  // a table of bogus length
  TProgress Progress;
  TIOParamsVals Params;
  TIEBitmap Bitmap;
  EXPECT_THROW(JpegReadStream(&Image, &Tables, &Bitmap, Params, Progress.Record, false, false, false, false,
                              false, false, -1, false),
               EIEJpegException);
}

// The caller's fill procedure hands over a memory block, as the camera-raw decoder does.
const std::string* FillData = nullptr;
bool FillFromMemory(TIEJpegDecompress* Info) {
  IEJpegSetSourceBuffer(Info, reinterpret_cast<const Byte*>(FillData->data()),
                        static_cast<Integer>(FillData->size()));
  return true;
}

TEST(JpegFilterFailures, StepByStepDecompression) {
  const std::string Jpeg = SmallJpeg();
  FillData = &Jpeg;
  TIEJpegDecompress* Info = IEJpegNewDecompress();
  IEJpegNewErrorManager(Info);
  IEJpegCreateDecompress(Info);
  TStringStream Unused;
  IEJpegStreamSource(Info, &Unused);
  IEJpegSetFillInputBuffer(Info, FillFromMemory);
  EXPECT_EQ(IEJpegReadHeader(Info, true), 1);  // a header with an image
  IEJpegStartDecompress(Info);
  EXPECT_EQ(IEJpegOutputWidth(Info), 48);
  EXPECT_EQ(IEJpegOutputHeight(Info), 32);
  EXPECT_EQ(IEJpegOutputComponents(Info), 3);
  Byte** Row = IEJpegAllocSampleArray(Info, 1, 48 * 3, 1);
  while (IEJpegOutputScanline(Info) < 32) ASSERT_EQ(IEJpegReadScanlines(Info, Row, 1), 1);
  IEJpegFinishDecompress(Info);
  IEJpegDestroyDecompress(Info);

  // Not a JPEG: the codec's error comes out as an exception.
  const std::string NotJpeg = "plain text, no image";
  FillData = &NotJpeg;
  IEJpegCreateDecompress(Info);
  IEJpegStreamSource(Info, &Unused);
  IEJpegSetFillInputBuffer(Info, FillFromMemory);
  EXPECT_THROW(IEJpegReadHeader(Info, true), EIEJpegException);
  IEJpegDestroyDecompress(Info);
  IEJpegFreeErrorManager(Info);
  IEJpegFreeDecompress(Info);
}

}  // namespace
