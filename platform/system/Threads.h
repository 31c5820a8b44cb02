#pragma once
// Worker threads and the main thread's queue of synchronised calls.
//
// The main (user-interface) thread runs the calls that workers hand it through Synchronize
// (the worker waits) and Queue (it does not) when it calls CheckSynchronize; the message loop
// does that whenever WakeMainThread tells it a call is waiting. WaitFor on the main thread
// keeps running those calls, so a worker that synchronises while the main thread waits for it
// cannot deadlock.
#include <atomic>
#include <exception>
#include <functional>
#include <thread>

#include "platform/system/Delegates.h"
#include "platform/system/Exceptions.h"
#include "platform/system/KernelObjects.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"

using TThreadID = DWORD;
using TThreadMethod = std::function<void()>;

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The main thread's id: taken when the program starts (or at the first question from a
// thread, if earlier); SetMainThread makes the calling thread the main one.
extern std::atomic<TThreadID> MainThreadID;
void SetMainThread();
bool IsMainThread();

// Called (on the queuing thread) each time a call is queued for the main thread, so that a
// waiting message loop wakes up. Empty by default.
void SetWakeMainThread(std::function<void()> Hook);

// Runs the calls waiting for the main thread, in the order they were queued; with TimeoutMs
// > 0 waits up to that long for one to arrive first. True when any call ran. Only the main
// thread may call it (EThread otherwise). An exception of a Synchronize call goes back to the
// waiting worker; one of a queued call leaves here, and the calls after it stay queued.
bool CheckSynchronize(Integer TimeoutMs = 0);

class TThread : public TObject {
 public:
  // The thread is created at once (so ThreadID is known) but runs Execute only after Start.
  // C++ cannot run code after the most derived constructor, so a thread created running
  // (CreateSuspended false) starts in AfterConstruction; TThread::Create does both.
  explicit TThread(bool CreateSuspended);
  // A thread still running is told to terminate and waited for. A subclass whose Execute uses
  // its own fields stops the thread in its own destructor (Terminate, WaitFor) first.
  ~TThread() override;

  template <class T, class... TArgs>
  static T* Create(TArgs&&... Args) {
    T* Thread = new T(std::forward<TArgs>(Args)...);
    Thread->AfterConstruction();
    return Thread;
  }
  // Starts the thread when it was created running.
  void AfterConstruction();

  // Lets a suspended thread run; EThread when it runs already or has ended.
  void Start();
  // Start for a suspended thread; nothing otherwise.
  void Resume();
  // Asks Execute to end: sets Terminated, which Execute polls.
  void Terminate();
  // Waits until the thread has ended and returns ReturnValue. On the main thread it keeps
  // running synchronised calls meanwhile. EThread for a thread never started, or when the
  // thread waits for itself.
  LongWord WaitFor();

  bool GetTerminated() const { return FTerminated.load(); }
  bool GetFinished() const { return FFinished.load(); }
  bool GetSuspended() const;
  TThreadID GetThreadID() const { return FThreadID; }
  Integer GetReturnValue() const { return FReturnValue.load(); }
  void SetReturnValue(Integer Value) { FReturnValue.store(Value); }
  bool GetFreeOnTerminate() const { return FFreeOnTerminate.load(); }
  // The thread frees itself once Execute has returned and OnTerminate has run; nobody may
  // touch it afterwards (no WaitFor).
  void SetFreeOnTerminate(bool Value) { FFreeOnTerminate.store(Value); }
  // Accepted and kept; threads here all run at the normal priority.
  TThreadPriority GetPriority() const { return FPriority.load(); }
  void SetPriority(TThreadPriority Value) { FPriority.store(Value); }
  // Called on the main thread (through Synchronize) after Execute, with the thread as Sender.
  TNotifyEvent GetOnTerminate() const { return FOnTerminate; }
  void SetOnTerminate(TNotifyEvent Value) { FOnTerminate = Value; }
  // The exception that ended Execute (or OnTerminate), nullptr when none did. Owned by the
  // thread. An exception that is no Exception is kept as one with its text.
  Exception* GetFatalException() const { return FFatalException; }

  // Runs Method on the main thread and waits for it; runs it at once on the main thread.
  static void Synchronize(TThread* AThread, TThreadMethod AMethod);
  void Synchronize(TThreadMethod AMethod) { Synchronize(this, std::move(AMethod)); }
  // Hands Method to the main thread without waiting; runs it at once on the main thread.
  static void Queue(TThread* AThread, TThreadMethod AMethod);
  void Queue(TThreadMethod AMethod) { Queue(this, std::move(AMethod)); }
  // Drops the queued (not the synchronised) calls that AThread handed over and that have not
  // run yet. A thread does this for itself when freed.
  static void RemoveQueuedEvents(TThread* AThread);

 protected:
  virtual void Execute() = 0;
  // Runs OnTerminate through Synchronize when it is assigned.
  virtual void DoTerminate();

 private:
  void ThreadProc();
  void CaptureFatalException();
  void StartLocked();

  std::thread FThread;
  TThreadID FThreadID = 0;
  const bool FCreateSuspended;
  bool FStarted = false;  // under the synchronisation lock
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<bool> FFreeOnTerminate{false};
  std::atomic<Integer> FReturnValue{0};
  std::atomic<TThreadPriority> FPriority{tpNormal};
  TNotifyEvent FOnTerminate;
  std::exception_ptr FFatalHolder;
  Exception* FFatalException = nullptr;
};
