#include "platform/system/KernelObjects.h"

#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <vector>

namespace {

// Handle values are multiples of 4 starting at 4, as the platform hands them out; 0 and -1
// never name an object.
struct THandleTable {
  std::mutex Lock;
  std::vector<std::shared_ptr<TKernelObject>> Slots;
  std::vector<std::size_t> FreeSlots;
};

// Never destroyed: threads still running at exit may close or wait on handles.
THandleTable& Table() {
  static THandleTable* Instance = new THandleTable;
  return *Instance;
}

struct TWaitState {
  std::mutex Lock;
  std::condition_variable Cond;
};

TWaitState& WaitState() {
  static TWaitState* Instance = new TWaitState;
  return *Instance;
}

bool SlotOf(HANDLE Handle, std::size_t& Slot) {
  const auto Value = reinterpret_cast<std::uintptr_t>(Handle);
  if (Value == 0 || Value % 4 != 0) return false;
  Slot = Value / 4 - 1;
  return true;
}

}  // namespace

namespace {

thread_local DWORD CachedThreadId = 0;

// A forked child runs on a new thread id but inherits the parent's cached one.
[[maybe_unused]] const int ForkHookRegistered =
    ::pthread_atfork(nullptr, nullptr, [] { CachedThreadId = 0; });

}  // namespace

DWORD GetCurrentThreadId() {
  if (CachedThreadId == 0) CachedThreadId = static_cast<DWORD>(::gettid());
  return CachedThreadId;
}

HANDLE CreateKernelHandle(std::shared_ptr<TKernelObject> Object) {
  THandleTable& T = Table();
  std::lock_guard Guard(T.Lock);
  std::size_t Slot;
  if (!T.FreeSlots.empty()) {
    Slot = T.FreeSlots.back();
    T.FreeSlots.pop_back();
    T.Slots[Slot] = std::move(Object);
  } else {
    Slot = T.Slots.size();
    T.Slots.push_back(std::move(Object));
  }
  return reinterpret_cast<HANDLE>((Slot + 1) * 4);
}

std::shared_ptr<TKernelObject> GetKernelObject(HANDLE Handle) {
  std::size_t Slot;
  if (!SlotOf(Handle, Slot)) return nullptr;
  THandleTable& T = Table();
  std::lock_guard Guard(T.Lock);
  return Slot < T.Slots.size() ? T.Slots[Slot] : nullptr;
}

BOOL CloseHandle(HANDLE hObject) {
  std::shared_ptr<TKernelObject> Object;
  std::size_t Slot;
  if (SlotOf(hObject, Slot)) {
    THandleTable& T = Table();
    std::lock_guard Guard(T.Lock);
    if (Slot < T.Slots.size() && T.Slots[Slot]) {
      Object = std::move(T.Slots[Slot]);
      T.Slots[Slot].reset();
      T.FreeSlots.push_back(Slot);
    }
  }
  if (!Object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  Object->HandleClosed();
  return TRUE;
}

std::unique_lock<std::mutex> LockKernelWait() {
  return std::unique_lock(WaitState().Lock);
}

void WakeKernelWaiters() {
  WaitState().Cond.notify_all();
}

DWORD WaitForKernelObjects(const std::shared_ptr<TKernelObject>* Objects, DWORD Count, bool WaitAll,
                           DWORD Milliseconds) {
  if (Count == 0 || Count > MAXIMUM_WAIT_OBJECTS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  for (DWORD I = 0; I < Count; ++I) {
    if (!Objects[I] || !Objects[I]->IsWaitable()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
  }
  const DWORD Self = GetCurrentThreadId();
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
  TWaitState& W = WaitState();
  std::unique_lock Guard(W.Lock);
  for (;;) {
    if (WaitAll) {
      bool All = true;
      for (DWORD I = 0; I < Count && All; ++I) All = Objects[I]->IsSignaled(Self);
      if (All) {
        for (DWORD I = 0; I < Count; ++I) Objects[I]->Satisfy(Self);
        return WAIT_OBJECT_0;
      }
    } else {
      for (DWORD I = 0; I < Count; ++I) {
        if (Objects[I]->IsSignaled(Self)) {
          Objects[I]->Satisfy(Self);
          return WAIT_OBJECT_0 + I;
        }
      }
    }
    if (Milliseconds == 0) return WAIT_TIMEOUT;
    if (Milliseconds == INFINITE) {
      W.Cond.wait(Guard);
    } else if (W.Cond.wait_until(Guard, Deadline) == std::cv_status::timeout) {
      // One last look: a signal and the time-out may have come together.
      Milliseconds = 0;
    }
  }
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds) {
  if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || lpHandles == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<TKernelObject>> Objects(nCount);
  for (DWORD I = 0; I < nCount; ++I) Objects[I] = GetKernelObject(lpHandles[I]);
  return WaitForKernelObjects(Objects.data(), nCount, bWaitAll != FALSE, dwMilliseconds);
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  const std::shared_ptr<TKernelObject> Object = GetKernelObject(hHandle);
  return WaitForKernelObjects(&Object, 1, false, dwMilliseconds);
}
