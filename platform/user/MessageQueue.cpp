// The user-interface thread's message queue: sends, posts, the retrieval order of
// PeekMessage/GetMessage, dispatching and the loop helpers.
#include <atomic>
#include <deque>
#include <map>
#include <mutex>

#include "platform/system/Clock.h"
#include "platform/system/KernelObjects.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "platform/system/Threads.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

constexpr DWORD ERROR_INVALID_THREAD_ID = 1444;

namespace {

struct TQueue {
  std::mutex Lock;  // Posted
  std::deque<MSG> Posted;
  std::atomic<Integer> PostedCount{0};
  std::deque<MSG> Input;  // main thread only
  bool QuitPosted = false;
  Integer QuitCode = 0;
  std::atomic<bool> SyncPending{false};
  Integer Depth = 0;           // window procedure calls in progress
  Integer CrossSendDepth = 0;  // of them, sent from another thread
  DWORD LastTime = 0;
  DWORD LastPos = 0;
  std::function<void()> ModalHook;
  bool InModalHook = false;
};

TQueue& Q() {
  static TQueue* Instance = [] {
    auto* T = new TQueue;
    // Calls queued by workers (Synchronize, Queue) wake the loop.
    SetWakeMainThread([] {
      Q().SyncPending.store(true);
      if (TDisplayBackend* B = GetDisplayBackend())
        B->Wake();
      else
        WakeNullDisplay();
    });
    return T;
  }();
  return *Instance;
}

// The calling thread is the user-interface thread, and its queue exists.
bool OnMainThread() {
  if (!IsMainThread()) return false;
  Q();
  return true;
}

bool PassesRange(UINT Msg, UINT Min, UINT Max) {
  if (Msg == WM_QUIT) return true;
  if (Min == 0 && Max == 0) return true;
  return Msg >= Min && Msg <= Max;
}

// Wnd filter: nullptr any; (HWND)-1 thread messages; a window and its descendants.
bool PassesWindow(HWND MsgWnd, HWND Filter) {
  if (Filter == nullptr) return true;
  if (Filter == reinterpret_cast<HWND>(-1)) return MsgWnd == nullptr;
  return MsgWnd == Filter || IsChild(Filter, MsgWnd);
}

bool RangeAdmitsInput(UINT Min, UINT Max) {
  if (Min == 0 && Max == 0) return true;
  auto Overlaps = [&](UINT Lo, UINT Hi) { return Min <= Hi && Max >= Lo; };
  return Overlaps(WM_KEYFIRST, WM_KEYLAST) || Overlaps(WM_MOUSEFIRST, WM_MOUSELAST) ||
         Overlaps(WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK) || Overlaps(WM_CLOSE, WM_CLOSE);
}

bool TakeFrom(std::deque<MSG>& List, MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove) {
  for (auto It = List.begin(); It != List.end(); ++It) {
    if (!PassesRange(It->message, Min, Max) || !PassesWindow(It->hwnd, Filter)) continue;
    Out = *It;
    if (Remove) List.erase(It);
    return true;
  }
  return false;
}

bool TakePosted(MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove) {
  TQueue& S = Q();
  if (S.PostedCount.load(std::memory_order_acquire) == 0) return false;
  std::lock_guard Guard(S.Lock);
  for (;;) {
    if (!TakeFrom(S.Posted, Out, Filter, Min, Max, Remove)) return false;
    if (Remove) S.PostedCount.fetch_sub(1);
    // Messages of windows destroyed since they were posted are dropped.
    if (Out.hwnd == nullptr || PeekWindow(Out.hwnd) != nullptr) return true;
    if (!Remove) {
      std::erase_if(S.Posted, [&](const MSG& M) { return M.hwnd == Out.hwnd; });
      S.PostedCount.store(static_cast<Integer>(S.Posted.size()));
    }
  }
}

bool TakeInput(MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove) {
  TQueue& S = Q();
  for (;;) {
    if (!S.Input.empty()) {
      if (TakeFrom(S.Input, Out, Filter, Min, Max, Remove)) {
        if (Out.hwnd == nullptr || PeekWindow(Out.hwnd) != nullptr) return true;
        std::erase_if(S.Input, [&](const MSG& M) { return M.hwnd == Out.hwnd; });
        continue;
      }
    }
    if (!RangeAdmitsInput(Min, Max)) return false;
    // One back-end event at a time: its messages go through before the next one is routed,
    // so an event behind a click that opens a window goes to that window.
    TDisplayBackend* B = GetDisplayBackend();
    if (B == nullptr) return false;
    TInputEvent Ev;
    if (!B->PollInput(Ev)) return false;
    if (InputEventHandler != nullptr) InputEventHandler(Ev);
  }
}

void Wake() {
  if (TDisplayBackend* B = GetDisplayBackend())
    B->Wake();
  else
    WakeNullDisplay();
}

void Remember(const MSG& M) {
  TQueue& S = Q();
  S.LastTime = M.time;
  S.LastPos = MAKELONG(static_cast<WORD>(M.pt.X), static_cast<WORD>(M.pt.Y));
}

MSG MakeMsg(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  MSG M;
  M.hwnd = Wnd;
  M.message = Msg;
  M.wParam = WParam;
  M.lParam = LParam;
  M.time = GetTickCount();
  M.pt = LastMousePosition();
  return M;
}

// Puts a message at the end of the posted messages (from any thread) and wakes the loop when
// the poster is another thread.
void Post(const MSG& M) {
  TQueue& S = Q();
  {
    std::lock_guard Guard(S.Lock);
    S.Posted.push_back(M);
    S.PostedCount.fetch_add(1, std::memory_order_release);
  }
  if (!IsMainThread()) Wake();
}

// Everything the queue could hand out, without polling the back end or running calls.
bool PeekInternal(MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove) {
  TQueue& S = Q();
  if (TakePosted(Out, Filter, Min, Max, Remove)) return true;
  if (TakeInput(Out, Filter, Min, Max, Remove)) return true;
  if (S.QuitPosted) {
    Out = MakeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(S.QuitCode), 0);
    if (Remove) S.QuitPosted = false;
    return true;
  }
  if (Filter == reinterpret_cast<HWND>(-1)) return false;
  TWindow* FilterWnd = nullptr;
  if (Filter != nullptr && (FilterWnd = PeekWindow(Filter)) == nullptr) return false;
  if (PaintPendingCount() > 0 && PassesRange(WM_PAINT, Min, Max)) {
    if (TWindow* W = FindPaintWindow(FilterWnd)) {
      Out = MakeMsg(W->Handle, WM_PAINT, 0, 0);
      return true;
    }
  }
  if (PassesRange(WM_TIMER, Min, Max) && FindDueTimer(FilterWnd, false, Remove, Out)) {
    Out.time = GetTickCount();
    Out.pt = LastMousePosition();
    return true;
  }
  return false;
}

}  // namespace

Integer SendDepth() {
  return Q().Depth;
}

LRESULT SendTo(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TQueue& S = Q();
  ++S.Depth;
  auto Leave = ScopeExit([&] { --S.Depth; });
  return CallWindowProc(W->WndProc, W->Handle, Msg, WParam, LParam);
}

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (!OnMainThread()) {
    if (PeekWindow(Wnd) == nullptr && Wnd != HWND_BROADCAST) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    LRESULT Result = 0;
    Q();
    TThread::Synchronize(nullptr, [&] {
      TQueue& S = Q();
      ++S.CrossSendDepth;
      auto Leave = ScopeExit([&] { --S.CrossSendDepth; });
      Result = SendMessage(Wnd, Msg, WParam, LParam);
    });
    return Result;
  }
  if (Wnd == HWND_BROADCAST) {
    std::vector<HWND> List;
    for (TWindow* T : DesktopWindow()->Children) List.push_back(T->Handle);
    for (HWND H : List)
      if (TWindow* T = PeekWindow(H)) SendTo(T, Msg, WParam, LParam);
    return 0;
  }
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  return SendTo(W, Msg, WParam, LParam);
}

BOOL PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Wnd == nullptr) return PostThreadMessage(static_cast<DWORD>(MainThreadID.load()), Msg, WParam, LParam);
  if (Wnd == HWND_BROADCAST) {
    if (!OnMainThread()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    for (TWindow* T : DesktopWindow()->Children) PostMessage(T->Handle, Msg, WParam, LParam);
    return TRUE;
  }
  if (PeekWindow(Wnd) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Post(MakeMsg(Wnd, Msg, WParam, LParam));
  return TRUE;
}

BOOL PostThreadMessage(DWORD ThreadId, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (ThreadId == 0 || ThreadId != static_cast<DWORD>(MainThreadID.load())) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  Post(MakeMsg(nullptr, Msg, WParam, LParam));
  return TRUE;
}

void PostQuitMessage(Integer ExitCode) {
  if (!OnMainThread()) return;
  Q().QuitPosted = true;
  Q().QuitCode = ExitCode;
}

void QueueInputMessage(const MSG& Msg) {
  MSG M = Msg;
  if (M.time == 0) M.time = GetTickCount();
  Q().Input.push_back(M);
}

void QueueInputMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, TPoint Pt, DWORD Time) {
  MSG M;
  M.hwnd = Wnd;
  M.message = Msg;
  M.wParam = WParam;
  M.lParam = LParam;
  M.time = Time;
  M.pt = Pt;
  QueueInputMessage(M);
}

BOOL PeekMessage(MSG* Msg, HWND Wnd, UINT Min, UINT Max, UINT RemoveMsg) {
  if (Msg == nullptr || !OnMainThread()) return FALSE;
  TQueue& S = Q();
  if (S.Depth == 0) FreeDestroyedWindows();
  if (S.SyncPending.load(std::memory_order_relaxed)) {
    S.SyncPending.store(false);
    CheckSynchronize();
  }
  const bool Remove = (RemoveMsg & PM_REMOVE) != 0;
  MSG M;
  if (PeekInternal(M, Wnd, Min, Max, Remove)) {
    *Msg = M;
    if (Remove) Remember(M);
    return TRUE;
  }
  FlushScreen(false);
  return FALSE;
}

BOOL GetMessage(MSG* Msg, HWND Wnd, UINT Min, UINT Max) {
  // Only the user-interface thread has a queue.
  if (Msg == nullptr || !OnMainThread()) return -1;
  if (Wnd != nullptr && Wnd != reinterpret_cast<HWND>(-1) && PeekWindow(Wnd) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  for (;;) {
    if (PeekMessage(Msg, Wnd, Min, Max, PM_REMOVE)) return Msg->message == WM_QUIT ? FALSE : TRUE;
    WaitMessage();
  }
}

BOOL WaitMessage() {
  if (!OnMainThread()) return FALSE;
  if (AnyMessagePending() || Q().SyncPending.load()) return TRUE;
  const DWORD Present = FlushScreen(false);
  const DWORD Timer = NextTimerDue();
  const DWORD Timeout = std::min(Present, Timer);
  if (TDisplayBackend* B = GetDisplayBackend())
    B->WaitInput(Timeout);
  else
    WaitNullDisplay(Timeout);
  return TRUE;
}

bool AnyMessagePending() {
  TQueue& S = Q();
  if (S.PostedCount.load() > 0 || !S.Input.empty() || S.QuitPosted) return true;
  if (PaintPendingCount() > 0 && FindPaintWindow(nullptr) != nullptr) return true;
  return NextTimerDue() == 0;
}

BOOL TranslateMessage(const MSG* Msg) {
  if (Msg == nullptr || TranslateMessageHook == nullptr) return FALSE;
  return TranslateMessageHook(*Msg) ? TRUE : FALSE;
}

LRESULT DispatchMessage(const MSG* Msg) {
  if (Msg == nullptr || Msg->hwnd == nullptr) {
    if (Msg != nullptr && Msg->message == WM_TIMER && Msg->lParam != 0)
      reinterpret_cast<TIMERPROC>(Msg->lParam)(nullptr, WM_TIMER, Msg->wParam, GetTickCount());
    return 0;
  }
  TWindow* W = WindowFromHandle(Msg->hwnd);
  if (W == nullptr) return 0;
  if (Msg->message == WM_TIMER && Msg->lParam != 0) {
    reinterpret_cast<TIMERPROC>(Msg->lParam)(Msg->hwnd, WM_TIMER, Msg->wParam, GetTickCount());
    return 0;
  }
  if (Msg->message != WM_PAINT) return SendTo(W, Msg->message, Msg->wParam, Msg->lParam);
  return SendPaintMessage(W);
}

UINT RegisterWindowMessage(LPCSTR Name) {
  if (Name == nullptr || IS_INTRESOURCE(Name) || Name[0] == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  static std::mutex Lock;
  static std::map<std::string, UINT> Table;
  std::lock_guard Guard(Lock);
  auto [It, Added] = Table.emplace(UpperCase(Name), 0);
  if (Added) It->second = 0xC000 + static_cast<UINT>(Table.size()) - 1;
  return It->second;
}

BOOL InSendMessage() {
  return OnMainThread() && Q().CrossSendDepth > 0;
}
DWORD InSendMessageEx(void*) {
  return InSendMessage() ? ISMEX_SEND : ISMEX_NOSEND;
}
LONG GetMessageTime() {
  return static_cast<LONG>(Q().LastTime);
}
DWORD GetMessagePos() {
  return Q().LastPos;
}

DWORD GetQueueStatus(UINT Flags) {
  if (!OnMainThread()) return 0;
  TQueue& S = Q();
  DWORD Status = 0;
  if (S.PostedCount.load() > 0 || S.QuitPosted) Status |= QS_POSTMESSAGE;
  for (const MSG& M : S.Input) {
    if (M.message >= WM_KEYFIRST && M.message <= WM_KEYLAST)
      Status |= QS_KEY;
    else if (M.message == WM_MOUSEMOVE || M.message == WM_NCMOUSEMOVE)
      Status |= QS_MOUSEMOVE;
    else
      Status |= QS_MOUSEBUTTON;
  }
  if (PaintPendingCount() > 0 && FindPaintWindow(nullptr) != nullptr) Status |= QS_PAINT;
  if (NextTimerDue() == 0) Status |= QS_TIMER;
  if (S.SyncPending.load()) Status |= QS_SENDMESSAGE;
  Status &= Flags;
  return (Status << 16) | Status;
}

BOOL GetInputState() {
  return (GetQueueStatus(QS_INPUT) & 0xFFFF) != 0;
}

void RunUntilIdle() {
  if (!OnMainThread()) return;
  MSG M;
  while (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) {
    if (M.message == WM_QUIT) {
      PostQuitMessage(static_cast<Integer>(M.wParam));
      break;
    }
    TranslateMessage(&M);
    DispatchMessage(&M);
  }
  FlushScreen(true);
}

void SetModalHook(std::function<void()> Hook) {
  Q().ModalHook = std::move(Hook);
}

void ModalLoopIdle() {
  TQueue& S = Q();
  if (!S.ModalHook || S.InModalHook) return;
  S.InModalHook = true;
  auto Leave = ScopeExit([&] { S.InModalHook = false; });
  const std::function<void()> Hook = S.ModalHook;
  Hook();
}
