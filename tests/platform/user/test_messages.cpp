// Sending, posting, the queue's order and filters, threads and timers.
#include <atomic>
#include <thread>

#include "WindowTestSupport.h"
#include "platform/system/Clock.h"
#include "platform/system/Threads.h"

namespace {

Integer GDepth = 0, GMaxDepth = 0;
LRESULT NestingProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg == WM_USER) {
    ++GDepth;
    GMaxDepth = std::max(GMaxDepth, GDepth);
    // Each level sends the next one while the outer call is still running.
    const LRESULT R = WP > 0 ? SendMessage(W, WM_USER, WP - 1, LP) + 1 : 0;
    --GDepth;
    return R;
  }
  return RecordingProc(W, Msg, WP, LP);
}

TEST_F(TWindowTest, SendMessageIsReentrant) {
  HWND W = Popup(0, 0, 10, 10);
  SetWindowLongPtr(W, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeWndProc(NestingProc)));
  EXPECT_EQ(SendMessage(W, WM_USER, 50, 0), 50);
  EXPECT_EQ(GMaxDepth, 51);
  EXPECT_EQ(SendMessage(reinterpret_cast<HWND>(0x12345678), WM_USER, 0, 0), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(TWindowTest, QueueOrderAndFilters) {
  HWND A = Popup(0, 0, 10, 10);
  HWND B = Popup(0, 0, 10, 10);
  RunUntilIdle();
  InvalidateRect(A, nullptr, FALSE);
  PostQuitMessage(3);
  PostMessage(A, WM_USER + 1, 1, 0);
  PostMessage(B, WM_USER + 2, 2, 0);
  PostThreadMessage(static_cast<DWORD>(MainThreadID.load()), WM_USER + 3, 3, 0);
  MSG M;
  // Window filter: B only.
  ASSERT_TRUE(PeekMessage(&M, B, 0, 0, PM_REMOVE));
  EXPECT_EQ(M.message, WM_USER + 2u);
  // Range filter skips the first posted message.
  ASSERT_TRUE(PeekMessage(&M, nullptr, WM_USER + 3, WM_USER + 3, PM_NOREMOVE));
  EXPECT_EQ(M.hwnd, nullptr);
  ASSERT_TRUE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(M.message, WM_USER + 1u);
  ASSERT_TRUE(PeekMessage(&M, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(M.message, WM_USER + 3u);
  // Quit comes after posted messages and before paints, whatever the filter.
  ASSERT_TRUE(PeekMessage(&M, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
  EXPECT_EQ(M.message, WM_QUIT);
  EXPECT_EQ(M.wParam, 3u);
  ASSERT_TRUE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(M.message, WM_PAINT);
  EXPECT_EQ(M.hwnd, A);
  DispatchMessage(&M);
  EXPECT_FALSE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));
  // Messages of a window destroyed after posting are dropped.
  PostMessage(A, WM_USER, 0, 0);
  DestroyWindow(A);
  EXPECT_FALSE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(TWindowTest, RegisteredMessagesShareNumbersByName) {
  const UINT A = RegisterWindowMessage("TvSomething");
  EXPECT_GE(A, 0xC000u);
  EXPECT_EQ(RegisterWindowMessage("tvsomething"), A);
  EXPECT_NE(RegisterWindowMessage("TvOther"), A);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST_F(TWindowTest, WorkerThreadsPostAndSend) {
  HWND W = Popup(0, 0, 10, 10);
  std::atomic<bool> Sent{false};
  std::atomic<LRESULT> SendResult{0};
  std::atomic<BOOL> WasInSend{FALSE};
  struct TCtx {
    std::atomic<BOOL>* InSend;
  };
  static TCtx Ctx;
  Ctx.InSend = &WasInSend;
  SetWindowLongPtr(
      W, GWLP_WNDPROC,
      reinterpret_cast<LONG_PTR>(MakeWndProc([](HWND H, UINT M, WPARAM WP, LPARAM LP) -> LRESULT {
        if (M == WM_USER + 5) {
          Ctx.InSend->store(InSendMessage());
          return 99;
        }
        return RecordingProc(H, M, WP, LP);
      })));
  std::thread Worker([&] {
    for (Integer I = 0; I < 100; ++I) PostMessage(W, WM_USER + 7, static_cast<WPARAM>(I), 0);
    SendResult = SendMessage(W, WM_USER + 5, 0, 0);
    Sent = true;
    PostMessage(W, WM_USER + 8, 0, 0);
  });
  // The loop wakes for the worker's messages and runs its send meanwhile.
  MSG M;
  Integer Posted = 0;
  while (GetMessage(&M, nullptr, 0, 0) > 0) {
    if (M.message == WM_USER + 7) {
      EXPECT_EQ(M.wParam, static_cast<WPARAM>(Posted++));
    }
    if (M.message == WM_USER + 8) break;
    DispatchMessage(&M);
  }
  Worker.join();
  EXPECT_EQ(Posted, 100);
  EXPECT_EQ(SendResult.load(), 99);
  EXPECT_TRUE(WasInSend.load());
  EXPECT_FALSE(InSendMessage());
}

struct TFakeClockTest : TWindowTest {
  TFakeClock Clock{1000};
  void SetUp() override {
    TWindowTest::SetUp();
    SetClockSource(&Clock);
  }
  void TearDown() override {
    TWindowTest::TearDown();
    SetClockSource(nullptr);
  }
};

Integer GTimerProcCalls = 0;
void CountingTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  ++GTimerProcCalls;
}

TEST_F(TFakeClockTest, TimersFireOnTheClockAndCoalesce) {
  HWND W = Popup(0, 0, 10, 10);
  RunUntilIdle();
  MessageLog().clear();
  EXPECT_EQ(SetTimer(W, 7, 100, nullptr), 7u);
  EXPECT_EQ(SetTimer(W, 8, 1, nullptr), 8u);  // raised to 10 ms
  RunUntilIdle();
  EXPECT_EQ(CountOf(W, WM_TIMER), 0u);
  Clock.Advance(10);
  RunUntilIdle();
  EXPECT_EQ(CountOf(W, WM_TIMER), 1u);
  EXPECT_EQ(MessageLog().back().WParam, 8u);
  // Far behind: still one message per timer.
  MessageLog().clear();
  Clock.Advance(1000);
  RunUntilIdle();
  EXPECT_EQ(CountOf(W, WM_TIMER), 2u);
  // A thread timer with a procedure: DispatchMessage calls it.
  const UINT_PTR Id = SetTimer(nullptr, 0, 50, CountingTimerProc);
  EXPECT_NE(Id, 0u);
  Clock.Advance(50);
  RunUntilIdle();
  EXPECT_EQ(GTimerProcCalls, 1);
  EXPECT_TRUE(KillTimer(nullptr, Id));
  EXPECT_FALSE(KillTimer(nullptr, Id));
  // Timers of a destroyed window are gone.
  DestroyWindow(W);
  Clock.Advance(1000);
  MSG M;
  EXPECT_FALSE(PeekMessage(&M, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

}  // namespace
