// The playback graph over movies written by FFmpeg: cueing, seeking, running on the fake
// clock, the completion event and the sample grabber's buffer.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/media/DShowGraph.h"
#include "platform/media/DShowMediaDet.h"
#include "platform/system/Clock.h"
#include "platform/system/Strings.h"
#include "tests/platform/media/MovieTestSupport.h"

namespace {

constexpr Integer Width = 32, Height = 24, Frames = 10, Rate = 25;
constexpr Int64 FrameTime = 400000;  // 100-ns units at 25 frames per second

struct TSample {
  double Time;
  std::vector<Byte> Pixels;
};

// Records every sample the grabber hands over, on the streaming thread.
class TSampleRecorder : public TInterfacedObject<ISampleGrabberCB> {
 public:
  HRESULT SampleCB(double, void*) override { return 0; }
  HRESULT BufferCB(double SampleTime, const Byte* Buffer, LONG BufferLen) override {
    std::lock_guard Guard(FLock);
    FSamples.push_back(TSample{SampleTime, std::vector<Byte>(Buffer, Buffer + BufferLen)});
    FArrived.notify_all();
    return 0;
  }
  // Waits for the streaming thread to have delivered Count samples (the limit only guards a
  // hang; no outcome depends on it).
  bool WaitFor(size_t Count) {
    std::unique_lock Lock(FLock);
    return FArrived.wait_for(Lock, std::chrono::seconds(20), [&] { return FSamples.size() >= Count; });
  }
  TSample At(size_t Index) {
    std::lock_guard Guard(FLock);
    return FSamples.at(Index);
  }
  size_t Count() {
    std::lock_guard Guard(FLock);
    return FSamples.size();
  }

 private:
  std::mutex FLock;
  std::condition_variable FArrived;
  std::vector<TSample> FSamples;
};

// The frame a bottom-up RGB24 sample shows: the top half is the frame's colour.
void ExpectFrame(const std::vector<Byte>& Sample, Integer Frame, Integer Tolerance) {
  const Integer RowBytes = (Width * 3 + 3) & ~3;
  ASSERT_EQ(Sample.size(), static_cast<size_t>(RowBytes * Height));
  const Byte* TopRow = &Sample[static_cast<size_t>(RowBytes) * (Height - 2)];
  const Byte* BottomRow = &Sample[static_cast<size_t>(RowBytes) * 1];
  EXPECT_TRUE(NearColour(TopRow + 3 * (Width / 2), MovieFrameColour(Frame), Tolerance)) << "frame " << Frame;
  EXPECT_TRUE(NearColour(BottomRow + 3 * (Width / 2), InverseColour(MovieFrameColour(Frame)), Tolerance))
      << "frame " << Frame;
}

class PlaybackGraph : public ::testing::TestWithParam<TMovieCodec> {
 protected:
  void SetUp() override {
    SetClockSource(&Clock);
    Movie = std::make_unique<TTestMovie>(GetParam() == TMovieCodec::MJPG ? "graph-mjpg.avi" : "graph-dib.avi",
                                         GetParam(), Width, Height, Frames, Rate);
    Recorder = TComPtr<TSampleRecorder>(new TSampleRecorder());
    ASSERT_EQ(Graph.AddSourceFilter(Utf8ToUtf16(Movie->Path())), S_OK);
    Grabber = Graph.AddSampleGrabber();
    Grabber->SetBufferSamples(true);
    Grabber->SetCallback(Recorder.Get(), 1);
    ASSERT_EQ(Graph.RenderVideo(), S_OK);
  }
  Integer Tolerance() const { return GetParam() == TMovieCodec::MJPG ? 10 : 0; }
  HRESULT Settle(FILTER_STATE& State) { return Graph.GetState(20000, State); }
  Int64 Position() {
    Int64 Value = -1;
    Graph.GetCurrentPosition(Value);
    return Value;
  }

  TFakeClock Clock;
  std::unique_ptr<TTestMovie> Movie;
  TComPtr<TSampleRecorder> Recorder;
  TFilterGraph Graph;
  TSampleGrabber* Grabber = nullptr;
};

TEST_P(PlaybackGraph, ReportsTheStreamsLengthAndFormat) {
  Int64 Duration = 0;
  ASSERT_EQ(Graph.GetDuration(Duration), S_OK);
  EXPECT_EQ(Duration, Frames * FrameTime);
  ASSERT_EQ(Graph.SetTimeFormat(TIME_FORMAT_FRAME), S_OK);
  Graph.GetDuration(Duration);
  EXPECT_EQ(Duration, Frames);
  EXPECT_EQ(Graph.SetTimeFormat(TIME_FORMAT_BYTE), VFW_E_NO_TIME_FORMAT);
  EXPECT_EQ(Graph.GetTimeFormat(), TIME_FORMAT_FRAME);

  AM_MEDIA_TYPE Type;
  ASSERT_EQ(Grabber->GetConnectedMediaType(Type), S_OK);
  EXPECT_EQ(Type.formattype, FORMAT_VideoInfo);
  EXPECT_EQ(Type.VideoInfo.bmiHeader.biWidth, Width);
  EXPECT_EQ(Type.VideoInfo.bmiHeader.biHeight, Height);
  EXPECT_EQ(Type.VideoInfo.bmiHeader.biBitCount, 24);
  EXPECT_EQ(Type.VideoInfo.AvgTimePerFrame, FrameTime);
}

TEST_P(PlaybackGraph, PauseCuesTheFrameAtThePosition) {
  FILTER_STATE State;
  EXPECT_EQ(Settle(State), S_OK);
  EXPECT_EQ(State, State_Stopped);
  EXPECT_EQ(Recorder->Count(), 0u) << "a stopped graph delivers nothing";
  Graph.Pause();
  ASSERT_EQ(Settle(State), S_OK);
  EXPECT_EQ(State, State_Paused);
  ASSERT_EQ(Recorder->Count(), 1u);
  ExpectFrame(Recorder->At(0).Pixels, 0, Tolerance());
  EXPECT_EQ(Position(), 0);
}

TEST_P(PlaybackGraph, SeekingAPausedGraphShowsTheFrameHoldingThePosition) {
  FILTER_STATE State;
  Graph.Pause();
  Settle(State);
  struct TCase {
    Int64 Position;
    Integer Frame;
    Int64 Stands;
  } Cases[] = {
      {3 * FrameTime, 3, 3 * FrameTime},
      {9 * FrameTime, 9, 9 * FrameTime},
      {7 * FrameTime + FrameTime / 2, 7, 7 * FrameTime + FrameTime / 2},  // inside frame 7
      {FrameTime - 1, 0, FrameTime - 1},                                  // the last instant of frame 0
      {-3 * FrameTime, 0, 0},                                             // before the start: the start
      {2 * FrameTime, 2, 2 * FrameTime},                                  // backwards again
  };
  size_t Seen = Recorder->Count();
  for (const TCase& Case : Cases) {
    ASSERT_EQ(Graph.SetPositions(Case.Position, AM_SEEKING_AbsolutePositioning, AM_SEEKING_NoPositioning),
              S_OK);
    ASSERT_EQ(Settle(State), S_OK);
    ASSERT_EQ(Recorder->Count(), Seen + 1) << "one frame per seek";
    ExpectFrame(Recorder->At(Seen).Pixels, Case.Frame, Tolerance());
    EXPECT_EQ(Position(), Case.Stands);
    ++Seen;
  }
}

TEST_P(PlaybackGraph, SeekingPastTheEndStopsAtTheEndWithoutAFrame) {
  FILTER_STATE State;
  Graph.Pause();
  Settle(State);
  Graph.SetPositions(50 * FrameTime, AM_SEEKING_AbsolutePositioning, AM_SEEKING_NoPositioning);
  EXPECT_EQ(Settle(State), S_OK);
  EXPECT_EQ(State, State_Paused);
  EXPECT_EQ(Position(), Frames * FrameTime);
  EXPECT_EQ(Recorder->Count(), 1u);
}

TEST_P(PlaybackGraph, FrameTimeFormatSeeksByFrameNumber) {
  FILTER_STATE State;
  Graph.SetTimeFormat(TIME_FORMAT_FRAME);
  Graph.Pause();
  Settle(State);
  Graph.SetPositions(4, AM_SEEKING_AbsolutePositioning, AM_SEEKING_NoPositioning);
  Settle(State);
  ASSERT_EQ(Recorder->Count(), 2u);
  ExpectFrame(Recorder->At(1).Pixels, 4, Tolerance());
  EXPECT_EQ(Position(), 4);
  // Frame numbers far outside the movie stand at its ends.
  Graph.SetPositions(INT64_MAX / 2, AM_SEEKING_AbsolutePositioning, AM_SEEKING_NoPositioning);
  Settle(State);
  EXPECT_EQ(Position(), Frames);
  Graph.SetPositions(INT64_MIN / 2, AM_SEEKING_AbsolutePositioning, AM_SEEKING_NoPositioning);
  Settle(State);
  EXPECT_EQ(Position(), 0);
}

TEST_P(PlaybackGraph, RunningPacesFramesByTheClockAndReportsTheEnd) {
  HWND NoWindow = nullptr;
  Graph.SetNotifyWindow(NoWindow, 0, 0);
  FILTER_STATE State;
  Graph.Run();
  ASSERT_EQ(Settle(State), S_OK);
  EXPECT_EQ(State, State_Running);
  ASSERT_TRUE(Recorder->WaitFor(1));
  for (Integer Frame = 1; Frame < Frames; ++Frame) {
    Clock.Advance(40);
    ASSERT_TRUE(Recorder->WaitFor(Frame + 1)) << "frame " << Frame;
    const TSample Sample = Recorder->At(Frame);
    EXPECT_DOUBLE_EQ(Sample.Time, Frame * 0.04);
    ExpectFrame(Sample.Pixels, Frame, Tolerance());
    EXPECT_EQ(Position(), Frame * FrameTime);
  }
  LONG Code = 0;
  LONG_PTR P1 = 0, P2 = 0;
  EXPECT_EQ(Graph.GetEvent(Code, P1, P2, 0), E_ABORT) << "no completion before the end time";
  Clock.Advance(40);
  const auto Limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (Graph.GetEvent(Code, P1, P2, 0) != S_OK && std::chrono::steady_clock::now() < Limit)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(Code, EC_COMPLETE);
  EXPECT_EQ(Position(), Frames * FrameTime);
  EXPECT_EQ(Recorder->Count(), static_cast<size_t>(Frames));
  EXPECT_EQ(Graph.GetEvent(Code, P1, P2, 0), E_ABORT) << "one completion";
}

TEST_P(PlaybackGraph, PauseFreezesAndStopKeepsThePosition) {
  FILTER_STATE State;
  Graph.Run();
  Settle(State);
  Clock.Advance(100);
  EXPECT_EQ(Position(), 1000000);
  // Frames at 0, 40 and 80 ms are due; a slow streaming thread must not deliver one after the
  // count below is taken.
  ASSERT_TRUE(Recorder->WaitFor(3));
  Graph.Pause();
  Clock.Advance(500);
  EXPECT_EQ(Position(), 1000000);
  Graph.GetState(0, State);
  EXPECT_EQ(State, State_Paused);
  Graph.StopWhenReady();
  Settle(State);
  EXPECT_EQ(State, State_Stopped);
  EXPECT_EQ(Position(), 1000000);
  // Pausing again cues the frame at the kept position (frame 2 holds 100 ms).
  const size_t Before = Recorder->Count();
  Graph.Pause();
  Settle(State);
  ASSERT_EQ(Recorder->Count(), Before + 1);
  ExpectFrame(Recorder->At(Before).Pixels, 2, Tolerance());
}

TEST_P(PlaybackGraph, SeekingWhileRunningContinuesFromThere) {
  FILTER_STATE State;
  Graph.Run();
  Settle(State);
  Graph.SetPositions(6 * FrameTime, AM_SEEKING_AbsolutePositioning, AM_SEEKING_NoPositioning);
  Settle(State);
  const size_t AtSeek = Recorder->Count();
  ExpectFrame(Recorder->At(AtSeek - 1).Pixels, 6, Tolerance());
  Clock.Advance(40);
  ASSERT_TRUE(Recorder->WaitFor(AtSeek + 1));
  ExpectFrame(Recorder->At(AtSeek).Pixels, 7, Tolerance());
}

TEST_P(PlaybackGraph, WithoutAClockEveryFrameIsShownAtOnce) {
  Graph.SetSyncSource(false);
  Graph.Run();
  ASSERT_TRUE(Recorder->WaitFor(Frames));
  LONG Code = 0;
  LONG_PTR P1 = 0, P2 = 0;
  const auto Limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (Graph.GetEvent(Code, P1, P2, 0) != S_OK && std::chrono::steady_clock::now() < Limit)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(Code, EC_COMPLETE);
  EXPECT_EQ(Position(), Frames * FrameTime);
  for (Integer Frame = 0; Frame < Frames; ++Frame)
    ExpectFrame(Recorder->At(Frame).Pixels, Frame, Tolerance());
}

INSTANTIATE_TEST_SUITE_P(Codecs, PlaybackGraph,
                         ::testing::Values(TMovieCodec::Uncompressed, TMovieCodec::MJPG));

TEST(PlaybackGraphErrors, MissingSourcesAndStatesAreReported) {
  TFilterGraph Graph;
  EXPECT_EQ(Graph.AddSourceFilter(u"/nonexistent/movie.avi"), VFW_E_NOT_FOUND);
  EXPECT_EQ(Graph.RenderVideo(), VFW_E_NOT_CONNECTED);
  EXPECT_EQ(Graph.Run(), VFW_E_NOT_CONNECTED);
  EXPECT_EQ(Graph.RenderAudio(), VFW_E_NO_AUDIO_HARDWARE);
  Int64 Value = 5;
  EXPECT_EQ(Graph.GetDuration(Value), VFW_E_NOT_CONNECTED);
  FILTER_STATE State;
  EXPECT_EQ(Graph.GetState(0, State), S_OK);
  EXPECT_EQ(State, State_Stopped);
}

// A movie cut short, and one of no frames: each plays what it holds, cues and ends without
// hanging.
TEST(PlaybackGraphErrors, DamagedAndEmptyMoviesPlayWhatTheyHold) {
  TFakeClock Clock;
  SetClockSource(&Clock);
  TTestMovie Cut("cut.avi", TMovieCodec::MJPG, 32, 24, 20, 25);
  std::filesystem::resize_file(Cut.Path(), std::filesystem::file_size(Cut.Path()) * 3 / 5);
  TTestMovie Empty("empty.avi", TMovieCodec::Uncompressed, 32, 24, 0, 25);
  for (const TTestMovie* Movie : {&Cut, &Empty}) {
    TFilterGraph Graph;
    ASSERT_EQ(Graph.AddSourceFilter(Utf8ToUtf16(Movie->Path())), S_OK) << Movie->Path();
    TSampleGrabber* Grabber = Graph.AddSampleGrabber();
    Grabber->SetBufferSamples(true);
    ASSERT_EQ(Graph.RenderVideo(), S_OK);
    FILTER_STATE State;
    for (Int64 Position : {Int64(0), 15 * FrameTime, 5 * FrameTime}) {
      Graph.SetPositions(Position, AM_SEEKING_AbsolutePositioning, AM_SEEKING_NoPositioning);
      Graph.Pause();
      EXPECT_EQ(Graph.GetState(20000, State), S_OK);
    }
    Graph.SetSyncSource(false);
    Graph.Run();
    LONG Code = 0;
    LONG_PTR P1 = 0, P2 = 0;
    const auto Limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Graph.GetEvent(Code, P1, P2, 0) != S_OK && std::chrono::steady_clock::now() < Limit)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(Code, EC_COMPLETE) << Movie->Path();
  }
}

TEST(PlaybackGraphErrors, GrabberBufferRules) {
  TFakeClock Clock;
  SetClockSource(&Clock);
  TTestMovie Movie("grabber.avi", TMovieCodec::Uncompressed, 10, 4, 2, 25);
  TFilterGraph Graph;
  Graph.AddSourceFilter(Utf8ToUtf16(Movie.Path()));
  TSampleGrabber* Grabber = Graph.AddSampleGrabber();
  LONG Size = 0;
  EXPECT_EQ(Grabber->GetCurrentBuffer(&Size, nullptr), VFW_E_WRONG_STATE) << "nothing buffered";
  Grabber->SetBufferSamples(true);
  Graph.RenderVideo();
  Graph.Pause();
  FILTER_STATE State;
  Graph.GetState(20000, State);
  ASSERT_EQ(Grabber->GetCurrentBuffer(&Size, nullptr), S_OK);
  EXPECT_EQ(Size, 32 * 4) << "rows of 30 bytes padded to 32";
  std::vector<Byte> Small(static_cast<size_t>(Size - 1));
  LONG SmallSize = Size - 1;
  EXPECT_EQ(Grabber->GetCurrentBuffer(&SmallSize, Small.data()), E_INVALIDARG);
  AM_MEDIA_TYPE Grey;
  Grey.IsVideo = true;
  EXPECT_EQ(Grabber->SetMediaType(Grey), E_INVALIDARG);
}

TEST(MediaDetector, ReadsRateLengthAndSizeOfEachStream) {
  TTestMovie Movie("det.avi", TMovieCodec::MJPG, 48, 32, 15, 25);
  TMediaDet Det;
  ASSERT_EQ(Det.put_Filename(Utf8ToUtf16(Movie.Path())), S_OK);
  LONG Streams = 0;
  Det.get_OutputStreams(Streams);
  EXPECT_EQ(Streams, 1);
  std::u16string Type;
  Det.get_StreamTypeB(Type);
  EXPECT_EQ(Type, MEDIATYPE_Video_String);
  double Rate = 0, Length = 0;
  Det.get_FrameRate(Rate);
  Det.get_StreamLength(Length);
  EXPECT_DOUBLE_EQ(Rate, 25.0);
  EXPECT_DOUBLE_EQ(Length, 0.6);
  LONG W = 0, H = 0;
  Det.get_FrameSize(W, H);
  EXPECT_EQ(W, 48);
  EXPECT_EQ(H, 32);
  EXPECT_EQ(Det.put_CurrentStream(1), E_INVALIDARG);
  EXPECT_EQ(Det.put_Filename(u"/nonexistent.avi"), E_FAIL);
}

}  // namespace
