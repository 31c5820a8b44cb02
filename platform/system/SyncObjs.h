#pragma once
// Synchronisation objects: critical sections, events (as classes and as handles) and the
// interlocked operations on 32-bit values.
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/system/KernelObjects.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

// Event handles. An auto-reset event lets exactly one waiter through per SetEvent and clears
// itself; a manual-reset event stays set, releasing every waiter, until ResetEvent. Events
// are process-local: a name is accepted and ignored.
HANDLE CreateEvent(void* lpEventAttributes, BOOL bManualReset, BOOL bInitialState, const char* lpName);
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);

// The platform's critical section record: re-entrant for the thread that holds it.
struct TRTLCriticalSection {
  std::optional<std::recursive_mutex> Lock;
};
using CRITICAL_SECTION = TRTLCriticalSection;
void InitializeCriticalSection(CRITICAL_SECTION* lpCriticalSection);
void EnterCriticalSection(CRITICAL_SECTION* lpCriticalSection);
void LeaveCriticalSection(CRITICAL_SECTION* lpCriticalSection);
BOOL TryEnterCriticalSection(CRITICAL_SECTION* lpCriticalSection);
void DeleteCriticalSection(CRITICAL_SECTION* lpCriticalSection);

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError, wrIOCompletion };

class TSynchroObject : public TObject {
 public:
  virtual void Acquire() {}
  virtual void Release() {}
};

// Re-entrant: the holding thread may enter again and must leave as often.
class TCriticalSection : public TSynchroObject {
 public:
  void Acquire() override { FLock.lock(); }
  void Release() override { FLock.unlock(); }
  void Enter() { Acquire(); }
  void Leave() { Release(); }
  bool TryEnter() { return FLock.try_lock(); }

 private:
  std::recursive_mutex FLock;
};

// A synchronisation object with a handle of its own, which WaitForSingleObject and
// WaitForMultipleObjects accept; the object closes it when freed.
class THandleObject : public TSynchroObject {
 public:
  ~THandleObject() override;
  HANDLE GetHandle() const { return FHandle; }
  // Timeout in milliseconds, INFINITE for none.
  TWaitResult WaitFor(Cardinal Timeout = INFINITE);

 protected:
  THandleObject() = default;
  void SetObject(std::shared_ptr<TKernelObject> Object);
  const std::shared_ptr<TKernelObject>& GetWaitObject() const { return FObject; }

 private:
  std::shared_ptr<TKernelObject> FObject;
  HANDLE FHandle = nullptr;
};

class TEvent : public THandleObject {
 public:
  // Manual reset, not signalled.
  TEvent() : TEvent(true, false) {}
  TEvent(bool ManualReset, bool InitialState);
  void SetEvent();
  void ResetEvent();
};

// A manual-reset event that starts not signalled.
class TSimpleEvent : public TEvent {
 public:
  TSimpleEvent() = default;
};

// Interlocked operations; every one is a full barrier and wraps around on overflow.
// Increment and Decrement return the new value, the others the value the target had before.
inline LONG InterlockedIncrement(volatile LONG* Addend) {
  return static_cast<LONG>(
      static_cast<ULONG>(std::atomic_ref<LONG>(*const_cast<LONG*>(Addend)).fetch_add(1)) + 1u);
}
inline LONG InterlockedDecrement(volatile LONG* Addend) {
  return static_cast<LONG>(
      static_cast<ULONG>(std::atomic_ref<LONG>(*const_cast<LONG*>(Addend)).fetch_sub(1)) - 1u);
}
inline LONG InterlockedExchange(volatile LONG* Target, LONG Value) {
  return std::atomic_ref<LONG>(*const_cast<LONG*>(Target)).exchange(Value);
}
inline LONG InterlockedExchangeAdd(volatile LONG* Addend, LONG Value) {
  return std::atomic_ref<LONG>(*const_cast<LONG*>(Addend)).fetch_add(Value);
}
// Stores Exchange when the target equals Comparand.
inline LONG InterlockedCompareExchange(volatile LONG* Destination, LONG Exchange, LONG Comparand) {
  std::atomic_ref<LONG>(*const_cast<LONG*>(Destination)).compare_exchange_strong(Comparand, Exchange);
  return Comparand;
}
