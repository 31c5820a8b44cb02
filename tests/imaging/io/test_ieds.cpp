// The playback wrapper: connecting a movie, its posted frame and event messages, states,
// seeking, copying a frame into a TIEBitmap, the media reader and the I/O component's object.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/io/ieds.h"
#include "imaging/io/zezudidio.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/system/Clock.h"
#include "tests/imaging/io/FakeViewSupport.h"
#include "tests/platform/media/MovieTestSupport.h"

namespace {

constexpr Integer Width = 40, Height = 30, Frames = 8;
constexpr Int64 FrameTime = 400000;

// A window that records the playback messages it receives.
class TMessageWindow : public TForm {
 public:
  using TForm::TForm;
  struct TReceived {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
  };
  std::vector<TReceived> Received;

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == IEM_NEWFRAME || Message.Msg == IEM_EVENT)
      Received.push_back(TReceived{Message.Msg, Message.WParam, Message.LParam});
    else
      TForm::Dispatch(Message);
  }
};

// Pumps messages until Done holds; the limit only guards against a hang.
template <class TCondition>
bool PumpUntil(TCondition Done) {
  const auto Limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!Done()) {
    if (std::chrono::steady_clock::now() > Limit) return false;
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

size_t CountOf(const std::vector<TMessageWindow::TReceived>& List, UINT Msg) {
  size_t Count = 0;
  for (const auto& Item : List) Count += Item.Msg == Msg;
  return Count;
}

// The top half of a picture row-ordered top-down shows the frame's colour.
void ExpectPictureShowsFrame(TIEBitmap& Bitmap, Integer Frame, Integer Tolerance) {
  ASSERT_EQ(Bitmap.GetPixelFormat(), ie24RGB);
  ASSERT_EQ(Bitmap.GetWidth(), Width);
  ASSERT_EQ(Bitmap.GetHeight(), Height);
  const Byte* Top = static_cast<const Byte*>(Bitmap.GetScanline(1)) + 3 * (Width / 2);
  EXPECT_TRUE(NearColour(Top, MovieFrameColour(Frame), Tolerance)) << "frame " << Frame;
  const Byte* Bottom = static_cast<const Byte*>(Bitmap.GetScanline(Height - 2)) + 3 * (Width / 2);
  EXPECT_TRUE(NearColour(Bottom, InverseColour(MovieFrameColour(Frame)), Tolerance)) << "frame " << Frame;
}

class DirectShowTest : public ::testing::Test {
 protected:
  DirectShowTest() : Movie("ieds.avi", TMovieCodec::MJPG, Width, Height, Frames, 25) {
    SetClockSource(&Clock);
    Window = std::make_unique<TMessageWindow>(nullptr);
    DShow.SetNotifyWindow(Window->GetHandle(), IEM_NEWFRAME, IEM_EVENT);
  }
  ~DirectShowTest() override {
    DShow.Disconnect();
    Window.reset();
    Application->ProcessMessages();
  }
  // As the movie player opens a movie: paused on its first frame.
  void OpenAsPlayer() {
    DShow.SourceFileName = Movie.Path();
    DShow.UseSampleGrabber = true;
    DShow.SetTimeFormat(TIME_FORMAT_NONE);
    DShow.RenderAudio = true;
    DShow.Connect();
    DShow.SetPosition(0);
    DShow.Pause();
  }
  size_t NewFrames() { return CountOf(Window->Received, IEM_NEWFRAME); }

  TFakeClock Clock;
  TTestMovie Movie;
  std::unique_ptr<TMessageWindow> Window;
  TIEDirectShow DShow;
};

TEST_F(DirectShowTest, ADisconnectedObjectAnswersZero) {
  EXPECT_FALSE(DShow.Connected());
  EXPECT_EQ(DShow.GetState(), 0);
  EXPECT_EQ(DShow.GetDuration(), 0);
  EXPECT_EQ(DShow.GetPosition(), 0);
  Integer Code = 7;
  EXPECT_FALSE(DShow.GetEventCode(Code));
  DShow.Run();
  DShow.SetPosition(FrameTime);
  TIEBitmap Bitmap;
  Bitmap.Allocate(3, 3, ie8g);
  DShow.GetSample(&Bitmap, true);
  EXPECT_EQ(Bitmap.GetWidth(), 3) << "nothing to copy";
  EXPECT_EQ(DShow.NewFrameNotify.load(), 1);
}

TEST_F(DirectShowTest, OpeningAsThePlayerDoesPostsTheFirstFrame) {
  OpenAsPlayer();
  EXPECT_TRUE(DShow.Connected());
  EXPECT_EQ(DShow.GetState(), 1);
  EXPECT_EQ(DShow.GetDuration(), Frames * FrameTime);
  ASSERT_TRUE(PumpUntil([&] { return NewFrames() >= 1; }));
  // The seek to 0 on the stopped graph cues nothing; the pause cues one frame.
  EXPECT_EQ(NewFrames(), 1u);
  EXPECT_EQ(Window->Received[0].WParam, 0u);
  EXPECT_EQ(Window->Received[0].LParam, reinterpret_cast<LPARAM>(&DShow));
  TIEBitmap Bitmap;
  DShow.GetSample(&Bitmap, true);
  ExpectPictureShowsFrame(Bitmap, 0, 10);
}

TEST_F(DirectShowTest, SeekToAFrameGivesThatFramesPicture) {
  OpenAsPlayer();
  for (Integer Frame : {5, 2, 7, 0}) {
    DShow.SetPosition(Frame * FrameTime);
    EXPECT_EQ(DShow.GetPosition(), Frame * FrameTime);
    TIEBitmap Bitmap;
    DShow.GetSample(&Bitmap, true);
    ExpectPictureShowsFrame(Bitmap, Frame, 10);
  }
}

TEST_F(DirectShowTest, NoNewFrameMessagesWhileTheFlagIsCleared) {
  DShow.SourceFileName = Movie.Path();
  DShow.UseSampleGrabber = true;
  DShow.Connect();
  DShow.NewFrameNotify.store(0);
  DShow.Pause();
  DShow.SetPosition(3 * FrameTime);
  Application->ProcessMessages();
  EXPECT_EQ(NewFrames(), 0u);
  // The frame was still grabbed.
  TIEBitmap Bitmap;
  DShow.GetSample(&Bitmap, false);
  ExpectPictureShowsFrame(Bitmap, 3, 10);
}

TEST_F(DirectShowTest, PlayingToTheEndPostsTheCompletionEvent) {
  OpenAsPlayer();
  DShow.Run();
  EXPECT_EQ(DShow.GetState(), 2);
  for (Integer Frame = 1; Frame <= Frames; ++Frame) Clock.Advance(40);
  ASSERT_TRUE(PumpUntil([&] { return CountOf(Window->Received, IEM_EVENT) >= 1; }));
  EXPECT_EQ(Window->Received.back().LParam, reinterpret_cast<LPARAM>(&DShow));
  Integer Code = 0;
  ASSERT_TRUE(DShow.GetEventCode(Code));
  EXPECT_EQ(Code, 1);
  EXPECT_FALSE(DShow.GetEventCode(Code));
  EXPECT_EQ(DShow.GetPosition(), DShow.GetDuration());
  // The player's answer: stop, rewind, pause on the first frame.
  DShow.Stop();
  DShow.SetPosition(0);
  DShow.Pause();
  EXPECT_EQ(DShow.GetState(), 1);
  TIEBitmap Bitmap;
  DShow.GetSample(&Bitmap, true);
  ExpectPictureShowsFrame(Bitmap, 0, 10);
}

// Clock 1 asks for none, 6 names the missing audio renderer's: frames run free. 2 is the
// platform's clock, which has not moved.
TEST_F(DirectShowTest, TheReferenceClockDecidesThePacing) {
  for (Byte Choice : {1, 6, 2}) {
    Window->Received.clear();
    DShow.ReferenceClock = Choice;
    OpenAsPlayer();
    DShow.Run();
    if (Choice == 2) {
      Clock.Advance(40);
      ASSERT_TRUE(PumpUntil([&] { return NewFrames() >= 2; }));
      EXPECT_EQ(DShow.GetPosition(), FrameTime);
    } else {
      ASSERT_TRUE(PumpUntil([&] { return CountOf(Window->Received, IEM_EVENT) >= 1; })) << int(Choice);
      EXPECT_EQ(NewFrames(), static_cast<size_t>(Frames)) << "the cued first frame, then every other";
      EXPECT_EQ(DShow.GetPosition(), DShow.GetDuration());
    }
    DShow.Disconnect();
  }
}

TEST_F(DirectShowTest, StopStopsAndDisconnectReleasesTheGraph) {
  OpenAsPlayer();
  DShow.Run();
  Clock.Advance(120);
  DShow.Stop();
  EXPECT_EQ(DShow.GetState(), 0);
  EXPECT_EQ(DShow.GetPosition(), 3 * FrameTime);
  DShow.Disconnect();
  EXPECT_FALSE(DShow.Connected());
  EXPECT_EQ(DShow.GetState(), 0);
}

// Whatever the bitmap held, it becomes the frame: 24-bit at the frame's size, rows the right
// way up, also when it was kept in a temporary file.
TEST_F(DirectShowTest, GetSampleFillsAnyBitmap) {
  OpenAsPlayer();
  DShow.SetPosition(4 * FrameTime);
  struct TStart {
    Integer W, H;
    TIEPixelFormat Format;
    TIELocation Location;
  } Starts[] = {{Width, Height, ie24RGB, ieMemory},
                {Width, Height, ie24RGB, ieFile},
                {7, 5, ie8g, ieMemory},
                {Width * 2, Height / 2, ie32RGB, ieMemory}};
  for (const TStart& Start : Starts) {
    TIEBitmap Bitmap;
    Bitmap.SetLocation(Start.Location);
    Bitmap.Allocate(Start.W, Start.H, Start.Format);
    DShow.GetSample(&Bitmap, true);
    EXPECT_NE(Bitmap.GetLocation(), ieFile);
    ExpectPictureShowsFrame(Bitmap, 4, 10);
  }
}

TEST_F(DirectShowTest, AMovieThatCannotBeOpenedRendersNothing) {
  DShow.SourceFileName = "/nonexistent/movie.avi";
  DShow.UseSampleGrabber = true;
  DShow.Connect();
  EXPECT_TRUE(DShow.Connected());
  DShow.Pause();
  EXPECT_EQ(DShow.GetDuration(), 0);
  TIEBitmap Bitmap;
  Bitmap.Allocate(2, 2, ie24RGB);
  DShow.GetSample(&Bitmap, true);
  EXPECT_EQ(Bitmap.GetWidth(), 2);
}

TEST_F(DirectShowTest, ADVDPathBuildsAnEmptyGraph) {
  DShow.DVDPath = u"default";
  DShow.Connect();
  EXPECT_TRUE(DShow.Connected());
  EXPECT_EQ(DShow.GetState(), 0);
  EXPECT_TRUE(DShow.VideoFormats.empty());
  EXPECT_EQ(DShow.CrossbarInputs.GetCount(), 0);
}

TEST(IEMediaReader, ReadsTheMoviesNumbers) {
  TTestMovie Movie("reader.avi", TMovieCodec::Uncompressed, 24, 16, 12, 25);
  TIEMediaReader Reader(Movie.Path());
  EXPECT_DOUBLE_EQ(Reader.FrameRate, 25.0);
  EXPECT_DOUBLE_EQ(Reader.StreamLength, 0.48);
  EXPECT_EQ(Reader.TotalFrames, 12);
  EXPECT_EQ(Reader.FrameWidth, 24);
  EXPECT_EQ(Reader.FrameHeight, 16);
}

// Counts whose length times rate falls a rounding error below the whole number.
TEST(IEMediaReader, CountsEveryFrameDespiteRoundingOfTheLength) {
  for (Integer Frames : {29, 58, 205}) {
    TTestMovie Movie("reader-count.avi", TMovieCodec::Uncompressed, 8, 8, Frames, 25);
    EXPECT_EQ(TIEMediaReader(Movie.Path()).TotalFrames, Frames);
  }
}

TEST(IEMediaReader, AFileThatCannotBeReadGivesZeros) {
  TIEMediaReader Reader("/nonexistent/movie.avi");
  EXPECT_EQ(Reader.FrameRate, 0);
  EXPECT_EQ(Reader.StreamLength, 0);
  EXPECT_EQ(Reader.TotalFrames, 0);
  EXPECT_EQ(Reader.FrameWidth, 0);
}

TEST(IEMediaReader, OfTwoVideoStreamsTheSecondIsRead) {
  TTestMovie First("two-a.avi", TMovieCodec::MJPG, 32, 16, 5, 25);
  TTestMovie Second("two-b.avi", TMovieCodec::MJPG, 48, 24, 10, 10);
  const std::string Both = First.Path() + ".both.avi";
  const std::string Command = "ffmpeg -loglevel error -y -i '" + First.Path() + "' -i '" + Second.Path() +
                              "' -map 0 -map 1 -c copy '" + Both + "'";
  ASSERT_EQ(std::system(Command.c_str()), 0);
  TIEMediaReader Reader(Both);
  std::filesystem::remove(Both);
  EXPECT_EQ(Reader.FrameWidth, 48);
  EXPECT_EQ(Reader.FrameHeight, 24);
  EXPECT_DOUBLE_EQ(Reader.FrameRate, 10.0);
  EXPECT_EQ(Reader.TotalFrames, 10);
}

TEST(GetDShowParams, MadeOnceAndToldTheViewsWindow) {
  auto Form = std::make_unique<TForm>(nullptr);
  auto* View = new TFakeView(Form.get());
  View->SetParent(Form.get());
  TZezudIdIO IO(nullptr);
  IO.SetAttachedZezudId(View);
  TIEDirectShow* DShow = IO.GetDShowParams();
  ASSERT_NE(DShow, nullptr);
  EXPECT_EQ(IO.GetDShowParams(), DShow);
  EXPECT_EQ(DShow->GetNotifyWindow(), View->GetHandle());
  EXPECT_EQ(DShow->GetNewFrameMessage(), 8025u);
  EXPECT_EQ(DShow->GetEventMessage(), 8026u);
  // A recreated window is registered again.
  View->SetBorderStyle(bsNone);
  View->HandleNeeded();
  IO.UpdateDShowNotifyWindow();
  EXPECT_EQ(DShow->GetNotifyWindow(), View->GetHandle());
  Form.reset();
  Application->ProcessMessages();
}

TEST(GetDShowParams, WithoutAViewNoWindowIsSet) {
  TZezudIdIO IO(nullptr);
  EXPECT_EQ(IO.GetDShowParams()->GetNotifyWindow(), nullptr);
}

}  // namespace
