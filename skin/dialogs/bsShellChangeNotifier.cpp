#include "skin/dialogs/bsShellChangeNotifier.h"

#include "platform/shell/ChangeNotify.h"
#include "platform/system/SyncObjs.h"
#include "skin/dialogs/bsShellFolders.h"

DWORD NotifyFiltersToFlags(TNotifyFilters Filters) {
  DWORD Flags = 0;
  if (Filters.Contains(nfFileNameChange)) Flags |= FILE_NOTIFY_CHANGE_FILE_NAME;
  if (Filters.Contains(nfDirNameChange)) Flags |= FILE_NOTIFY_CHANGE_DIR_NAME;
  if (Filters.Contains(nfAttributeChange)) Flags |= FILE_NOTIFY_CHANGE_ATTRIBUTES;
  if (Filters.Contains(nfSizeChange)) Flags |= FILE_NOTIFY_CHANGE_SIZE;
  if (Filters.Contains(nfWriteChange)) Flags |= FILE_NOTIFY_CHANGE_LAST_WRITE;
  if (Filters.Contains(nfSecurityChange)) Flags |= FILE_NOTIFY_CHANGE_SECURITY;
  return Flags;
}

// ---- TbsShellChangeThread ---------------------------------------------------------------------

TbsShellChangeThread::TbsShellChangeThread(TbsShellChangeEvent AHandler)
    : TThread(true), FWakeEvent(CreateEvent(nullptr, FALSE, FALSE, nullptr)), FHandler(AHandler) {}

TbsShellChangeThread::~TbsShellChangeThread() {
  Stop();
  if (!GetFreeOnTerminate() && !GetFinished() && GetThreadID() != 0) {
    try {
      WaitFor();
    } catch (const EThread&) {
      // Never started: nothing to wait for.
    }
  }
  if (FNotification != nullptr && FNotification != INVALID_CHANGE_HANDLE)
    FindCloseChangeNotification(FNotification);
  CloseHandle(FWakeEvent);
}

void TbsShellChangeThread::SetDirectoryOptions(const std::string& Folder, bool SubTree, DWORD Flags) {
  {
    TCriticalSection& Lock = ShellChangeLock();
    Lock.Enter();
    FFolder = Folder;
    FSubTree = SubTree;
    FFlags = Flags;
    FChanged = true;
    Lock.Leave();
  }
  // The worker re-opens its notification for the new folder when it wakes.
  SetEvent(FWakeEvent);
}

void TbsShellChangeThread::SetChangeHandler(TbsShellChangeEvent Handler) {
  TCriticalSection& Lock = ShellChangeLock();
  Lock.Enter();
  FHandler = Handler;
  Lock.Leave();
}

void TbsShellChangeThread::Stop() {
  SetChangeHandler(nullptr);
  Terminate();
  SetEvent(FWakeEvent);
}

void TbsShellChangeThread::OpenNotification() {
  if (FNotification != nullptr && FNotification != INVALID_CHANGE_HANDLE)
    FindCloseChangeNotification(FNotification);
  FNotification = FindFirstChangeNotificationA(FFolder, FSubTree, FFlags);
}

void TbsShellChangeThread::RunHandler() {
  TCriticalSection& Lock = ShellChangeLock();
  Lock.Enter();
  const TbsShellChangeEvent Handler = FHandler;
  Lock.Leave();
  if (!Handler || GetTerminated()) return;
  FInHandler = true;
  try {
    Handler();
  } catch (...) {
    FInHandler = false;
    throw;
  }
  FInHandler = false;
}

void TbsShellChangeThread::Execute() {
  TCriticalSection& Lock = ShellChangeLock();
  Lock.Enter();
  FChanged = false;
  OpenNotification();
  Lock.Leave();
  if (FNotification == INVALID_CHANGE_HANDLE) return;
  while (!GetTerminated()) {
    const HANDLE Handles[] = {FNotification, FWakeEvent};
    const DWORD R = WaitForMultipleObjects(2, Handles, FALSE, INFINITE);
    if (R == WAIT_FAILED || GetTerminated()) break;
    if (R == WAIT_OBJECT_0) {
      Synchronize([this] { RunHandler(); });
      FindNextChangeNotification(FNotification);
    }
    Lock.Enter();
    if (FChanged) {
      OpenNotification();
      FChanged = false;
    }
    Lock.Leave();
    if (FNotification == INVALID_CHANGE_HANDLE) break;
  }
}

// ---- TbsCustomShellChangeNotifier ---------------------------------------------------------------

TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier(TComponent* AOwner) : TComponent(AOwner) {
  StartThread();
}

TbsCustomShellChangeNotifier::~TbsCustomShellChangeNotifier() {
  TbsShellChangeThread* Thread = FThread;
  FThread = nullptr;
  if (Thread == nullptr) return;
  if (Thread->InHandler()) {
    // Freed by its own handler: the worker is inside Synchronize waiting for this call, so it
    // ends and frees itself once the handler has returned.
    Thread->SetFreeOnTerminate(true);
    Thread->Stop();
    return;
  }
  delete Thread;
}

void TbsCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters Value) {
  FFilters = Value;
  Restart();
}

void TbsCustomShellChangeNotifier::SetRoot(const std::string& Value) {
  // Folder names are compared as the file system does: exactly.
  if (Value == FRoot) return;
  FRoot = Value;
  Restart();
}

void TbsCustomShellChangeNotifier::SetWatchSubTree(bool Value) {
  FWatchSubTree = Value;
  Restart();
}

void TbsCustomShellChangeNotifier::SetOnChange(TbsShellChangeEvent Value) {
  FOnChange = Value;
  if (FThread != nullptr)
    FThread->SetChangeHandler(Value);
  else
    StartThread();
}

void TbsCustomShellChangeNotifier::Restart() {
  if (FThread != nullptr) FThread->SetDirectoryOptions(FRoot, FWatchSubTree, NotifyFiltersToFlags(FFilters));
}

void TbsCustomShellChangeNotifier::StartThread() {
  if (!FOnChange) return;
  FThread = new TbsShellChangeThread(FOnChange);
  FThread->SetDirectoryOptions(FRoot, FWatchSubTree, NotifyFiltersToFlags(FFilters));
  FThread->Start();
}
