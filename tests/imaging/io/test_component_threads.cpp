// Asynchronous mode: operations on worker threads, the thread list, waiting, aborting, and the
// messages that carry progress and completion to an attached view.
#include <thread>

#include "ComponentTestSupport.h"
#include "FakeViewSupport.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"

namespace {

class TThreadsTest : public TComponentTest {
 protected:
  TThreadsTest() {
    IO->SetAttachedIEBitmap(&Picture);
    IO->SetAsyncMode(true);
    Log.Bind(*IO);
  }
  TIEBitmap Picture;
  std::unique_ptr<TZezudIdIO> IO = std::make_unique<TZezudIdIO>(nullptr);
  TComponentLog Log;
  const DWORD Main = GetCurrentThreadId();
};

TEST_F(TThreadsTest, OwnPictureRunsOnTheCallersThread) {
  TZezudIdIO Own(nullptr);
  Own.SetAsyncMode(true);
  Own.LoadFromFile(WriteFile("a.tst", TstBytes(2, 2, 0)));
  EXPECT_EQ(TstBehaviour.ReaderThread, Main);
  EXPECT_EQ(Own.GetIEBitmap()->GetWidth(), 2);
}

// The worker calls the same operation again and runs it at once, being in the thread list:
// one read, not a chain of threads.
TEST_F(TThreadsTest, OperationsRunOnAWorkerAndWaitThreadsWaitsForThem) {
  IO->LoadFromFile(WriteFile("a.tst", TstBytes(5, 4, 9)));
  IO->WaitThreads(false);
  EXPECT_FALSE(IO->GetAborting());
  EXPECT_EQ(TstBehaviour.Reads, 1);
  EXPECT_NE(TstBehaviour.ReaderThread, Main);
  EXPECT_EQ(Picture.GetWidth(), 5);
  EXPECT_FALSE(IO->InWorkerThread());
  // Without a view the handlers ran on the worker.
  EXPECT_TRUE(Log.Has("finish"));

  auto Stream = StreamOf(TstBytes(1, 7, 0));
  IO->LoadFromStreamFormat(Stream.get(), ioTST);
  IO->WaitThreads(false);
  EXPECT_EQ(Picture.GetHeight(), 7);

  IO->SaveToFile(PathOf("b.tst"));
  IO->WaitThreads(false);
  EXPECT_EQ(ReadFile("b.tst"), TstBytes(1, 7, 0));
}

// The memory stream over a caller's block ends with the call, so no worker may read it later.
TEST_F(TThreadsTest, BufferLoadsRunOnTheCallersThread) {
  const std::string Bytes = TstBytes(3, 1, 0);
  IO->LoadFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()), ioTST);
  EXPECT_EQ(TstBehaviour.ReaderThread, Main);
  EXPECT_EQ(Picture.GetWidth(), 3);
  IO->LoadFromFile(WriteFile("a.tst", TstBytes(2, 2, 0)));
  IO->WaitThreads(false);
  EXPECT_NE(TstBehaviour.ReaderThread, Main);  // asynchronous again afterwards
}

TEST_F(TThreadsTest, ExceptionOnAWorkerBecomesAborting) {
  TstBehaviour.Raise = true;
  const std::u16string Name = WriteFile("a.tst", TstBytes(1, 1, 0));
  EXPECT_NO_THROW(IO->LoadFromFileFormat(Name, ioTST));  // raises when run at once
  IO->WaitThreads(false);
  EXPECT_TRUE(IO->GetAborting());
  EXPECT_EQ(TstBehaviour.Reads, 1);
}

// The reader runs until it sees the abort flag; one operation at a time, as the component's
// unlocked picture and parameters require.
TEST_F(TThreadsTest, WaitThreadsWithAbortStopsTheRunningLoad) {
  TstBehaviour.WaitAbort = true;
  auto Stream = StreamOf(TstBytes(1, 1, 0));
  IO->LoadFromStreamFormat(Stream.get(), ioTST);
  IO->WaitThreads(true);
  EXPECT_TRUE(IO->GetAborting());
  EXPECT_EQ(TstBehaviour.Reads, 1);
  IO->WaitThreads(false);  // nothing runs: returns at once
}

TEST_F(TThreadsTest, DestroyingTheComponentWaitsForABackgroundSave) {
  Picture.Allocate(3, 3, ie24RGB);
  Picture.Fill(0);
  TstBehaviour.HoldWrite = true;
  IO->SaveToFile(PathOf("slow.tst"));
  std::thread Releaser([] {
    while (TstBehaviour.Writes == 0) std::this_thread::yield();
    TstBehaviour.HoldWrite = false;
  });
  IO.reset();
  EXPECT_EQ(ReadFile("slow.tst"), TstBytes(3, 3, 0));
  Releaser.join();
}

// A view with a parent window hears of a worker's progress, repaint and end by posted
// messages; the component's own handlers are not called on the worker. The view has no window
// yet: the worker has it made on this thread while WaitThreads waits here.
TEST_F(TThreadsTest, ViewWithAWindowGetsPostedMessages) {
  auto Form = std::make_unique<TForm>(nullptr);
  auto* View = new TFakeView(Form.get());
  View->SetParent(Form.get());
  IO->SetAttachedZezudId(View);
  ASSERT_FALSE(View->HandleAllocated());
  IO->LoadFromFile(WriteFile("a.tst", TstBytes(2, 2, 0)));
  IO->WaitThreads(false);
  EXPECT_TRUE(View->HandleAllocated());
  EXPECT_TRUE(Log.Lines.empty());
  View->TakeLog();
  Application->ProcessMessages();
  EXPECT_EQ(View->TakeLog(),
            (std::vector<std::string>{"message progress 50", "message progress 100", "message update",
                                      "message progress 100", "message finish"}));
  Form.reset();
  EXPECT_EQ(IO->GetAttachedZezudId(), nullptr);
  Application->ProcessMessages();  // the windows' last messages
}

}  // namespace
