#pragma once
// Kernel object handles (events, mutexes, ...) and the waits on them.
//
// A HANDLE is a small number that names an entry of the process's handle table; the table
// holds a reference to the object, so a handle closed by one thread while another waits on it
// never leaves the waiter with a dangling object. A value that names no entry is refused with
// ERROR_INVALID_HANDLE instead of being dereferenced.
//
// Every waitable object keeps its signal state under one process-wide wait lock; a state
// change wakes all waiters, and each re-checks the objects it waits for. The waits here run on
// real time, not on the replaceable clock.
#include <memory>
#include <mutex>

#include "platform/system/LastError.h"
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_ABANDONED_0 = 0x80;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

// The calling thread's identifier (the kernel's thread id), as GetCurrentThreadId gives it.
DWORD GetCurrentThreadId();

class TKernelObject {
 public:
  TKernelObject() = default;
  TKernelObject(const TKernelObject&) = delete;
  TKernelObject& operator=(const TKernelObject&) = delete;
  virtual ~TKernelObject() = default;

  // The following three are called with the wait lock held.
  virtual bool IsWaitable() const { return false; }
  // True when a wait by thread ThreadId would end now.
  virtual bool IsSignaled(DWORD /*ThreadId*/) const { return false; }
  // The wait of ThreadId ends on this object: consume the signal (an auto-reset event
  // clears, a mutex passes to the thread).
  virtual void Satisfy(DWORD /*ThreadId*/) {}

  // One handle to the object was closed (called outside every lock).
  virtual void HandleClosed() {}
};

// Enters the object into the handle table and returns the new handle.
HANDLE CreateKernelHandle(std::shared_ptr<TKernelObject> Object);
// The object a handle names, nullptr when it names none.
std::shared_ptr<TKernelObject> GetKernelObject(HANDLE Handle);
template <class T>
std::shared_ptr<T> GetKernelObjectAs(HANDLE Handle) {
  return std::dynamic_pointer_cast<T>(GetKernelObject(Handle));
}

// Removes the handle; the object lives on while other handles or waits still refer to it.
// FALSE with ERROR_INVALID_HANDLE for a handle that names nothing.
BOOL CloseHandle(HANDLE hObject);

// Guard for changes of signal state; after the change, call WakeKernelWaiters (the lock may
// be released first).
std::unique_lock<std::mutex> LockKernelWait();
void WakeKernelWaiters();

// WAIT_OBJECT_0 when signalled, WAIT_TIMEOUT, or WAIT_FAILED (ERROR_INVALID_HANDLE for a
// handle that names no waitable object).
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
// With bWaitAll FALSE: WAIT_OBJECT_0 + the index of the first signalled handle. With TRUE:
// WAIT_OBJECT_0 once all are signalled at the same moment, and all of them are consumed
// together. nCount must be 1..MAXIMUM_WAIT_OBJECTS (else ERROR_INVALID_PARAMETER).
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);

// The wait behind both, for code that holds the objects already.
DWORD WaitForKernelObjects(const std::shared_ptr<TKernelObject>* Objects, DWORD Count, bool WaitAll,
                           DWORD Milliseconds);
