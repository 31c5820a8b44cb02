#include "platform/system/SyncObjs.h"

namespace {

class TEventObject : public TKernelObject {
 public:
  TEventObject(bool ManualReset, bool InitialState) : FManualReset(ManualReset), FSignaled(InitialState) {}
  bool IsWaitable() const override { return true; }
  bool IsSignaled(DWORD) const override { return FSignaled; }
  void Satisfy(DWORD) override {
    if (!FManualReset) FSignaled = false;
  }
  void Set(bool Signaled) {
    {
      auto Guard = LockKernelWait();
      FSignaled = Signaled;
    }
    if (Signaled) WakeKernelWaiters();
  }

 private:
  const bool FManualReset;
  bool FSignaled;  // under the wait lock
};

BOOL SetEventState(HANDLE hEvent, bool Signaled) {
  const auto Event = GetKernelObjectAs<TEventObject>(hEvent);
  if (!Event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  Event->Set(Signaled);
  return TRUE;
}

}  // namespace

HANDLE CreateEvent(void*, BOOL bManualReset, BOOL bInitialState, const char*) {
  SetLastError(ERROR_SUCCESS);
  return CreateKernelHandle(std::make_shared<TEventObject>(bManualReset != FALSE, bInitialState != FALSE));
}

BOOL SetEvent(HANDLE hEvent) {
  return SetEventState(hEvent, true);
}

BOOL ResetEvent(HANDLE hEvent) {
  return SetEventState(hEvent, false);
}

void InitializeCriticalSection(CRITICAL_SECTION* lpCriticalSection) {
  lpCriticalSection->Lock.emplace();
}

void EnterCriticalSection(CRITICAL_SECTION* lpCriticalSection) {
  lpCriticalSection->Lock->lock();
}

void LeaveCriticalSection(CRITICAL_SECTION* lpCriticalSection) {
  lpCriticalSection->Lock->unlock();
}

BOOL TryEnterCriticalSection(CRITICAL_SECTION* lpCriticalSection) {
  return lpCriticalSection->Lock->try_lock() ? TRUE : FALSE;
}

void DeleteCriticalSection(CRITICAL_SECTION* lpCriticalSection) {
  lpCriticalSection->Lock.reset();
}

THandleObject::~THandleObject() {
  if (FHandle != nullptr) CloseHandle(FHandle);
}

void THandleObject::SetObject(std::shared_ptr<TKernelObject> Object) {
  FObject = Object;
  FHandle = CreateKernelHandle(std::move(Object));
}

TWaitResult THandleObject::WaitFor(Cardinal Timeout) {
  switch (WaitForKernelObjects(&FObject, 1, false, Timeout)) {
    case WAIT_OBJECT_0:
      return wrSignaled;
    case WAIT_TIMEOUT:
      return wrTimeout;
    case WAIT_ABANDONED_0:
      return wrAbandoned;
    default:
      return wrError;
  }
}

TEvent::TEvent(bool ManualReset, bool InitialState) {
  SetObject(std::make_shared<TEventObject>(ManualReset, InitialState));
}

void TEvent::SetEvent() {
  static_cast<TEventObject&>(*GetWaitObject()).Set(true);
}

void TEvent::ResetEvent() {
  static_cast<TEventObject&>(*GetWaitObject()).Set(false);
}
