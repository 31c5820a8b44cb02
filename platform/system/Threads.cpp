#include "platform/system/Threads.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>

namespace {

struct TSyncEntry {
  TSyncEntry(TThread* AThread, TThreadMethod AMethod, bool AQueued)
      : Thread(AThread), Method(std::move(AMethod)), Queued(AQueued) {}
  TThread* Thread;
  TThreadMethod Method;
  bool Queued;
  bool Done = false;  // under the lock; a Synchronize caller waits for it
  std::exception_ptr Error;
};

// One lock and one condition for the whole hand-over: queued calls, thread start and end.
// Every change wakes every waiter; each checks its own condition.
struct TSyncState {
  std::mutex Lock;
  std::condition_variable Cond;
  std::deque<std::shared_ptr<TSyncEntry>> Pending;
  std::function<void()> Wake;
};

// Never destroyed: threads still running at exit may queue calls.
TSyncState& Sync() {
  static TSyncState* Instance = new TSyncState;
  return *Instance;
}

void WakeMain(TSyncState& S) {
  std::function<void()> Wake;
  {
    std::lock_guard Guard(S.Lock);
    Wake = S.Wake;
  }
  S.Cond.notify_all();
  if (Wake) Wake();
}

void Post(const std::shared_ptr<TSyncEntry>& Entry) {
  TSyncState& S = Sync();
  {
    std::lock_guard Guard(S.Lock);
    S.Pending.push_back(Entry);
  }
  WakeMain(S);
}

// Static initialisation runs on the thread that starts the program.
[[maybe_unused]] const bool MainThreadTaken = IsMainThread();

}  // namespace

std::atomic<TThreadID> MainThreadID{0};

void SetMainThread() {
  MainThreadID.store(GetCurrentThreadId());
}

bool IsMainThread() {
  const TThreadID Self = GetCurrentThreadId();
  TThreadID Main = MainThreadID.load();
  if (Main == 0 && MainThreadID.compare_exchange_strong(Main, Self)) return true;
  return Main == Self;
}

void SetWakeMainThread(std::function<void()> Hook) {
  TSyncState& S = Sync();
  std::lock_guard Guard(S.Lock);
  S.Wake = std::move(Hook);
}

bool CheckSynchronize(Integer TimeoutMs) {
  if (!IsMainThread()) {
    char Text[96];
    std::snprintf(Text, sizeof Text, "CheckSynchronize called from thread $%X, which is NOT the main thread",
                  static_cast<unsigned>(GetCurrentThreadId()));
    throw EThread(Text);
  }
  TSyncState& S = Sync();
  std::deque<std::shared_ptr<TSyncEntry>> Calls;
  {
    std::unique_lock Guard(S.Lock);
    if (S.Pending.empty() && TimeoutMs > 0)
      S.Cond.wait_for(Guard, std::chrono::milliseconds(TimeoutMs), [&] { return !S.Pending.empty(); });
    Calls.swap(S.Pending);
  }
  if (Calls.empty()) return false;
  while (!Calls.empty()) {
    const std::shared_ptr<TSyncEntry> Entry = std::move(Calls.front());
    Calls.pop_front();
    if (Entry->Queued) {
      try {
        Entry->Method();
      } catch (...) {
        // The calls behind the failing one keep their turn.
        {
          std::lock_guard Guard(S.Lock);
          S.Pending.insert(S.Pending.begin(), Calls.begin(), Calls.end());
        }
        if (!Calls.empty()) WakeMain(S);
        throw;
      }
    } else {
      try {
        Entry->Method();
      } catch (...) {
        Entry->Error = std::current_exception();
      }
      {
        std::lock_guard Guard(S.Lock);
        Entry->Done = true;
      }
      S.Cond.notify_all();
    }
  }
  return true;
}

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {
  try {
    FThread = std::thread(&TThread::ThreadProc, this);
  } catch (const std::system_error& E) {
    throw EThread(std::string("Thread creation error: ") + E.what());
  }
  TSyncState& S = Sync();
  std::unique_lock Guard(S.Lock);
  S.Cond.wait(Guard, [&] { return FThreadID != 0; });
}

TThread::~TThread() {
  const bool OnItself = FThread.get_id() == std::this_thread::get_id();
  if (!OnItself && !FFinished.load()) {
    // Freed from outside: this thread must not free itself as well.
    FFreeOnTerminate.store(false);
    Terminate();
    Resume();  // a thread never started skips Execute and only runs DoTerminate
    for (;;) {
      try {
        WaitFor();
        break;
      } catch (...) {
        // An exception of some queued call; a destructor cannot pass it on.
      }
    }
  }
  RemoveQueuedEvents(this);
  if (FThread.joinable()) {
    if (OnItself)
      FThread.detach();
    else
      FThread.join();
  }
}

void TThread::ThreadProc() {
  TSyncState& S = Sync();
  {
    std::unique_lock Guard(S.Lock);
    FThreadID = GetCurrentThreadId();
    S.Cond.notify_all();
    S.Cond.wait(Guard, [&] { return FStarted; });
  }
  if (!FTerminated.load()) {
    try {
      Execute();
    } catch (...) {
      CaptureFatalException();
    }
  }
  const bool FreeThread = FFreeOnTerminate.load();
  try {
    DoTerminate();
  } catch (...) {
    if (FFatalException == nullptr) CaptureFatalException();
  }
  {
    std::lock_guard Guard(S.Lock);
    FFinished.store(true);
  }
  S.Cond.notify_all();
  // From here on, an owner may free this object at any moment.
  if (FreeThread) delete this;
}

void TThread::CaptureFatalException() {
  try {
    throw;
  } catch (Exception& E) {
    FFatalHolder = std::current_exception();
    FFatalException = &E;
    return;
  } catch (const std::bad_alloc&) {
    FFatalHolder = std::make_exception_ptr(EOutOfMemory("Out of memory"));
  } catch (const std::exception& E) {
    FFatalHolder = std::make_exception_ptr(Exception(E.what()));
  } catch (...) {
    FFatalHolder = std::make_exception_ptr(Exception("Unknown exception"));
  }
  try {
    std::rethrow_exception(FFatalHolder);
  } catch (Exception& E) {
    FFatalException = &E;
  }
}

void TThread::DoTerminate() {
  if (FOnTerminate) Synchronize([this] { FOnTerminate(this); });
}

void TThread::AfterConstruction() {
  if (!FCreateSuspended) Resume();
}

void TThread::Start() {
  TSyncState& S = Sync();
  {
    std::lock_guard Guard(S.Lock);
    if (FStarted) throw EThread("Cannot call Start on a running or suspended thread");
    FStarted = true;
  }
  S.Cond.notify_all();
}

void TThread::Resume() {
  TSyncState& S = Sync();
  {
    std::lock_guard Guard(S.Lock);
    if (FStarted) return;
    FStarted = true;
  }
  S.Cond.notify_all();
}

bool TThread::GetSuspended() const {
  std::lock_guard Guard(Sync().Lock);
  return !FStarted;
}

void TThread::Terminate() {
  FTerminated.store(true);
}

LongWord TThread::WaitFor() {
  if (GetCurrentThreadId() == FThreadID) throw EThread("A thread cannot wait for itself");
  TSyncState& S = Sync();
  std::unique_lock Guard(S.Lock);
  if (!FStarted) throw EThread("Cannot wait for a thread that was not started");
  if (IsMainThread()) {
    while (!FFinished.load()) {
      if (!S.Pending.empty()) {
        Guard.unlock();
        CheckSynchronize();
        Guard.lock();
      } else {
        S.Cond.wait(Guard);
      }
    }
  } else {
    S.Cond.wait(Guard, [&] { return FFinished.load(); });
  }
  return static_cast<LongWord>(FReturnValue.load());
}

void TThread::Synchronize(TThread* AThread, TThreadMethod AMethod) {
  if (IsMainThread()) {
    AMethod();
    return;
  }
  auto Entry = std::make_shared<TSyncEntry>(AThread, std::move(AMethod), false);
  Post(Entry);
  TSyncState& S = Sync();
  {
    std::unique_lock Guard(S.Lock);
    S.Cond.wait(Guard, [&] { return Entry->Done; });
  }
  if (Entry->Error) std::rethrow_exception(Entry->Error);
}

void TThread::Queue(TThread* AThread, TThreadMethod AMethod) {
  if (IsMainThread()) {
    AMethod();
    return;
  }
  Post(std::make_shared<TSyncEntry>(AThread, std::move(AMethod), true));
}

void TThread::RemoveQueuedEvents(TThread* AThread) {
  TSyncState& S = Sync();
  std::lock_guard Guard(S.Lock);
  std::erase_if(S.Pending,
                [&](const std::shared_ptr<TSyncEntry>& E) { return E->Queued && E->Thread == AThread; });
}
