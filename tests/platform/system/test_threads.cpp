#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/system/SyncObjs.h"
#include "platform/system/Threads.h"

namespace {

// A thread whose Execute is a function given at creation.
class TFnThread : public TThread {
 public:
  using TBody = std::function<void(TFnThread&)>;
  TFnThread(bool CreateSuspended, TBody Body, std::atomic<int>* Destroyed = nullptr)
      : TThread(CreateSuspended), FBody(std::move(Body)), FDestroyed(Destroyed) {}
  ~TFnThread() override {
    // Stops the thread before the body it runs goes away.
    if (!GetSuspended() && !GetFreeOnTerminate()) {
      Terminate();
      WaitFor();
    }
    if (FDestroyed) ++*FDestroyed;
  }
  void Handler(TObject* Sender) {
    TerminateSender = Sender;
    TerminateThread = GetCurrentThreadId();
  }
  TObject* TerminateSender = nullptr;
  TThreadID TerminateThread = 0;

 protected:
  void Execute() override { FBody(*this); }

 private:
  TBody FBody;
  std::atomic<int>* FDestroyed;
};

std::unique_ptr<TFnThread> StartThread(TFnThread::TBody Body) {
  return std::unique_ptr<TFnThread>(TThread::Create<TFnThread>(false, std::move(Body)));
}

// Runs synchronised calls on this (main) thread until Done; ten seconds bound the wait.
template <class F>
bool PumpUntil(F Done) {
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!Done()) {
    if (std::chrono::steady_clock::now() > Deadline) return false;
    CheckSynchronize(1);
  }
  return true;
}

}  // namespace

TEST(Threads, TestsRunOnTheMainThread) {
  EXPECT_TRUE(IsMainThread());
  EXPECT_EQ(MainThreadID.load(), GetCurrentThreadId());
  bool InWorker = true;
  std::thread([&] { InWorker = IsMainThread(); }).join();
  EXPECT_FALSE(InWorker);
}

TEST(Threads, SynchronizeRunsOnTheMainThreadAndWaits) {
  std::atomic<TThreadID> RanOn = 0;
  TThreadID WorkerId = 0;
  bool DoneWhenReturned = false;
  auto T = StartThread([&](TFnThread& Self) {
    WorkerId = GetCurrentThreadId();
    bool Done = false;
    Self.Synchronize([&] {
      RanOn = GetCurrentThreadId();
      Done = true;
    });
    DoneWhenReturned = Done;
  });
  T->WaitFor();  // keeps running synchronised calls, so this cannot deadlock
  EXPECT_EQ(RanOn.load(), GetCurrentThreadId());
  EXPECT_EQ(WorkerId, T->GetThreadID());
  EXPECT_NE(WorkerId, GetCurrentThreadId());
  EXPECT_TRUE(DoneWhenReturned);
  // On the main thread the call runs at once.
  bool Direct = false;
  TThread::Synchronize(nullptr, [&] { Direct = true; });
  EXPECT_TRUE(Direct);
}

TEST(Threads, WaitForOnTheMainThreadServesManySynchronizeCalls) {
  int Count = 0;
  auto T = StartThread([&](TFnThread& Self) {
    for (int I = 0; I < 200; ++I) TThread::Synchronize(&Self, [&] { ++Count; });
    Self.SetReturnValue(Count);
  });
  EXPECT_EQ(T->WaitFor(), 200u);
  EXPECT_EQ(Count, 200);
}

TEST(Threads, ExceptionOfASynchronizedCallReachesTheWorker) {
  std::string Caught;
  auto T = StartThread([&](TFnThread& Self) {
    try {
      Self.Synchronize([] { throw EConvertError("'x' is not a valid integer value"); });
    } catch (const EConvertError& E) {
      Caught = E.GetMessage();
    }
  });
  T->WaitFor();
  EXPECT_EQ(Caught, "'x' is not a valid integer value");
  EXPECT_EQ(T->GetFatalException(), nullptr);
}

TEST(Threads, QueueDoesNotWaitAndKeepsOrder) {
  std::vector<int> Order;
  TEvent Queued(true, false);
  auto T = StartThread([&](TFnThread& Self) {
    for (int I = 1; I <= 3; ++I) Self.Queue([&Order, I] { Order.push_back(I); });
    TThread::Synchronize(&Self, [&] { Order.push_back(4); });
    TThread::Queue(nullptr, [&] { Order.push_back(5); });
    Queued.SetEvent();
  });
  // The three queued calls and the synchronised one wait for the main thread.
  PumpUntil([&] { return Order.size() >= 4; });
  ASSERT_EQ(Queued.WaitFor(10000), wrSignaled);
  EXPECT_TRUE(PumpUntil([&] { return Order.size() == 5; }));
  EXPECT_EQ(Order, (std::vector<int>{1, 2, 3, 4, 5}));
  T->WaitFor();
  EXPECT_FALSE(CheckSynchronize());
}

TEST(Threads, QueuedCallWaitsForCheckSynchronize) {
  std::atomic<bool> Ran = false;
  TEvent Queued(true, false);
  std::thread Worker([&] {
    TThread::Queue(nullptr, [&] { Ran = true; });
    Queued.SetEvent();
  });
  ASSERT_EQ(Queued.WaitFor(10000), wrSignaled);  // the worker came back without the main thread
  Worker.join();
  EXPECT_FALSE(Ran);
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_TRUE(Ran);
  EXPECT_FALSE(CheckSynchronize());
}

TEST(Threads, CheckSynchronizeWaitsUpToItsTimeoutForACall) {
  bool Ran = false;
  std::thread Worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    TThread::Queue(nullptr, [&] { Ran = true; });
  });
  EXPECT_TRUE(CheckSynchronize(60000));
  EXPECT_TRUE(Ran);
  Worker.join();
  EXPECT_FALSE(CheckSynchronize(5));
}

TEST(Threads, CheckSynchronizeBelongsToTheMainThread) {
  bool Raised = false;
  std::thread([&] {
    try {
      CheckSynchronize();
    } catch (const EThread& E) {
      Raised = E.GetMessage().find("which is NOT the main thread") != std::string::npos;
    }
  }).join();
  EXPECT_TRUE(Raised);
}

TEST(Threads, FailingQueuedCallLeavesCheckSynchronizeAndKeepsTheRest) {
  std::vector<int> Order;
  std::thread([&] {
    TThread::Queue(nullptr, [&] { Order.push_back(1); });
    TThread::Queue(nullptr, [] { throw EAbort(""); });
    TThread::Queue(nullptr, [&] { Order.push_back(3); });
  }).join();
  EXPECT_THROW(CheckSynchronize(), EAbort);
  EXPECT_EQ(Order, std::vector<int>{1});
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(Order, (std::vector<int>{1, 3}));
}

TEST(Threads, WakeMainThreadIsCalledForEveryQueuedCall) {
  std::atomic<int> Wakes = 0;
  SetWakeMainThread([&] { ++Wakes; });
  std::thread([] {
    TThread::Queue(nullptr, [] {});
    TThread::Queue(nullptr, [] {});
  }).join();
  SetWakeMainThread(nullptr);
  EXPECT_EQ(Wakes, 2);
  EXPECT_TRUE(CheckSynchronize());
}

TEST(Threads, RemoveQueuedEventsDropsOnlyThatThreadsQueuedCalls) {
  std::vector<int> Order;
  TThread* Owner = reinterpret_cast<TThread*>(0x1000);  // only compared, never called
  std::thread([&] {
    TThread::Queue(Owner, [&] { Order.push_back(1); });
    TThread::Queue(nullptr, [&] { Order.push_back(2); });
    TThread::Queue(Owner, [&] { Order.push_back(3); });
  }).join();
  TThread::RemoveQueuedEvents(Owner);
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(Order, std::vector<int>{2});
}

TEST(Threads, TerminateEndsAPollingLoop) {
  TEvent Running(true, false);
  auto T = StartThread([&](TFnThread& Self) {
    Integer Rounds = 0;
    while (!Self.GetTerminated()) {
      ++Rounds;
      Running.SetEvent();
      std::this_thread::yield();
    }
    Self.SetReturnValue(Rounds > 0 ? 7 : -1);
  });
  ASSERT_EQ(Running.WaitFor(10000), wrSignaled);
  EXPECT_FALSE(T->GetFinished());
  T->Terminate();
  EXPECT_TRUE(T->GetTerminated());
  EXPECT_EQ(T->WaitFor(), 7u);
  EXPECT_TRUE(T->GetFinished());
  EXPECT_EQ(T->GetReturnValue(), 7);
}

TEST(Threads, SuspendedThreadRunsOnlyAfterStart) {
  std::atomic<TThreadID> RanOn = 0;
  auto T = std::make_unique<TFnThread>(true, [&](TFnThread&) { RanOn = GetCurrentThreadId(); });
  EXPECT_TRUE(T->GetSuspended());
  EXPECT_NE(T->GetThreadID(), 0u) << "known before the start";
  EXPECT_THROW(T->WaitFor(), EThread);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(RanOn.load(), 0u);
  T->Start();
  EXPECT_FALSE(T->GetSuspended());
  EXPECT_THROW(T->Start(), EThread);
  T->Resume();  // nothing for a running thread
  T->WaitFor();
  EXPECT_EQ(RanOn.load(), T->GetThreadID());
}

TEST(Threads, ThreadFreedBeforeItStartedNeverRunsExecute) {
  std::atomic<bool> Ran = false;
  std::atomic<int> Destroyed = 0;
  auto* T = new TFnThread(
      true, [&](TFnThread&) { Ran = true; }, &Destroyed);
  T->SetFreeOnTerminate(true);
  delete T;
  EXPECT_EQ(Destroyed, 1);
  EXPECT_FALSE(Ran);
}

TEST(Threads, FreeingARunningThreadTerminatesAndWaits) {
  std::atomic<bool> Ended = false;
  TEvent Running(true, false);
  auto T = StartThread([&](TFnThread& Self) {
    Running.SetEvent();
    while (!Self.GetTerminated()) std::this_thread::yield();
    Self.Synchronize([] {});  // served while the main thread waits in the destructor
    Ended = true;
  });
  ASSERT_EQ(Running.WaitFor(10000), wrSignaled);
  T.reset();
  EXPECT_TRUE(Ended);
}

TEST(Threads, FreeOnTerminateRunsOnTerminateOnTheMainThreadThenFrees) {
  std::atomic<int> Destroyed = 0;
  TObject* Sender = nullptr;
  TThreadID HandlerThread = 0;
  int DestroyedWhenHandled = -1;
  struct TReceiver {
    TObject** Sender;
    TThreadID* Thread;
    int* DestroyedThen;
    std::atomic<int>* Destroyed;
    void Handle(TObject* S) {
      *Sender = S;
      *Thread = GetCurrentThreadId();
      *DestroyedThen = Destroyed->load();
    }
  } Receiver{&Sender, &HandlerThread, &DestroyedWhenHandled, &Destroyed};
  auto* T = new TFnThread(
      true, [](TFnThread&) {}, &Destroyed);
  TObject* Expected = T;
  T->SetFreeOnTerminate(true);
  T->SetOnTerminate(TDelegate<void(TObject*)>(&Receiver, &TReceiver::Handle));
  T->Start();
  T = nullptr;  // the thread owns itself now
  ASSERT_TRUE(PumpUntil([&] { return Destroyed == 1; }));
  EXPECT_EQ(Sender, Expected);
  EXPECT_EQ(HandlerThread, GetCurrentThreadId());
  EXPECT_EQ(DestroyedWhenHandled, 0);
}

TEST(Threads, FatalExceptionIsKeptAndTheProcessLivesOn) {
  struct TCase {
    std::function<void()> Throw;
    std::string Message;
    bool IsConvertError;
  };
  const TCase Cases[] = {
      {[] { throw EConvertError("bad number"); }, "bad number", true},
      {[] { throw std::runtime_error("plain"); }, "plain", false},
      {[] { throw 42; }, "Unknown exception", false},
  };
  for (const TCase& C : Cases) {
    auto T = StartThread([&](TFnThread&) { C.Throw(); });
    T->WaitFor();
    ASSERT_NE(T->GetFatalException(), nullptr) << C.Message;
    EXPECT_EQ(T->GetFatalException()->GetMessage(), C.Message);
    EXPECT_EQ(dynamic_cast<EConvertError*>(T->GetFatalException()) != nullptr, C.IsConvertError);
    EXPECT_TRUE(T->GetFinished());
  }
  auto Clean = StartThread([](TFnThread&) {});
  Clean->WaitFor();
  EXPECT_EQ(Clean->GetFatalException(), nullptr);
}

TEST(Threads, OnTerminateRunsAfterExecuteEvenWhenItRaised) {
  auto T = std::make_unique<TFnThread>(true, [](TFnThread&) { throw EAbort(""); });
  T->SetOnTerminate(TNotifyEvent(T.get(), &TFnThread::Handler));
  T->Start();
  T->WaitFor();
  EXPECT_EQ(T->TerminateSender, T.get());
  EXPECT_EQ(T->TerminateThread, GetCurrentThreadId());
  EXPECT_NE(dynamic_cast<EAbort*>(T->GetFatalException()), nullptr);
}

TEST(Threads, WaitForFromAnotherThreadAndOnItself) {
  TEvent Release(true, false);
  auto T = StartThread([&](TFnThread& Self) {
    Release.WaitFor(INFINITE);
    bool Raised = false;
    try {
      Self.WaitFor();
    } catch (const EThread&) {
      Raised = true;
    }
    Self.SetReturnValue(Raised ? 1 : 0);
  });
  LongWord Seen = 99;
  std::thread Waiter([&] { Seen = T->WaitFor(); });
  Release.SetEvent();
  Waiter.join();
  EXPECT_EQ(Seen, 1u);
}

TEST(Threads, PriorityIsKept) {
  auto T = std::make_unique<TFnThread>(true, [](TFnThread&) {});
  EXPECT_EQ(T->GetPriority(), tpNormal);
  T->SetPriority(tpLower);
  EXPECT_EQ(T->GetPriority(), tpLower);
}
