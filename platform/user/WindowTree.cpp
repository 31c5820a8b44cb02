// The handle table, the root windows and the window tree: z-order, owners, enumeration and
// the questions about a window's place and state.
#include <algorithm>
#include <mutex>
#include <unordered_map>

#include <unistd.h>

#include "platform/system/KernelObjects.h"
#include "platform/system/Strings.h"
#include "platform/system/Threads.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/Windows.h"

namespace {

// Writes happen on the main thread under the lock; other threads read under it too, so the
// main thread may read without it.
struct THandleTable {
  std::mutex Lock;
  std::unordered_map<std::uintptr_t, TWindow*> Map;
  std::uintptr_t Next = 0x10010;  // even values, never reused
};

THandleTable& Handles() {
  static THandleTable* T = new THandleTable;
  return *T;
}

TWindow* MakeRoot(const char* ClassName, DWORD Style, TRect Rect) {
  TWindowClass* C = FindWindowClass(ClassName);
  if (C == nullptr) {
    WNDCLASSEX WC;
    WC.lpfnWndProc = DefWindowProcEntry();
    WC.lpszClassName = ClassName;
    WC.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_DESKTOP + 1));
    RegisterClassEx(&WC);
    C = FindWindowClass(ClassName);
  }
  auto* W = new TWindow;  // lives as long as the program
  W->Class = C;
  C->Windows++;
  W->WndProc = C->WndProc;
  W->Style = Style;
  W->Rect = W->Client = W->NormalRect = Rect;
  W->ThreadId = GetCurrentThreadId();
  AllocateWindowHandle(W);
  return W;
}

std::vector<TWindowEventHook>& EventHooks() {
  static std::vector<TWindowEventHook> Hooks;
  return Hooks;
}

bool ClassMatches(const TWindow* W, LPCSTR ClassName) {
  if (ClassName == nullptr) return true;
  if (IS_INTRESOURCE(ClassName))
    return W->Class->Atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(ClassName));
  return SameText(W->Class->Name, ClassName);
}

std::vector<HWND> ChildHandles(const TWindow* Parent) {
  std::vector<HWND> List;
  List.reserve(Parent->Children.size());
  for (TWindow* C : Parent->Children) List.push_back(C->Handle);
  return List;
}

bool EnumDescendants(const TWindow* Parent, WNDENUMPROC Fn, LPARAM Param) {
  for (HWND H : ChildHandles(Parent)) {
    TWindow* C = PeekWindow(H);
    if (C == nullptr) continue;
    if (!Fn(H, Param)) return false;
    C = PeekWindow(H);
    if (C != nullptr && !EnumDescendants(C, Fn, Param)) return false;
  }
  return true;
}

Integer IndexOf(const std::vector<TWindow*>& List, const TWindow* W) {
  auto It = std::find(List.begin(), List.end(), W);
  return It == List.end() ? -1 : static_cast<Integer>(It - List.begin());
}

bool IsOwnedBy(const TWindow* W, const TWindow* Owner) {
  for (const TWindow* O = W->Owner; O != nullptr; O = O->Owner)
    if (O == Owner) return true;
  return false;
}

}  // namespace

HWND AllocateWindowHandle(TWindow* W) {
  THandleTable& T = Handles();
  std::lock_guard Guard(T.Lock);
  const std::uintptr_t Value = T.Next;
  T.Next += 2;
  T.Map.emplace(Value, W);
  W->Handle = reinterpret_cast<HWND>(Value);
  return W->Handle;
}

void ReleaseWindowHandle(TWindow* W) {
  THandleTable& T = Handles();
  std::lock_guard Guard(T.Lock);
  T.Map.erase(reinterpret_cast<std::uintptr_t>(W->Handle));
}

TWindow* PeekWindow(HWND Wnd) {
  if (Wnd == nullptr) return nullptr;
  THandleTable& T = Handles();
  const auto Key = reinterpret_cast<std::uintptr_t>(Wnd);
  if (IsMainThread()) {
    auto It = T.Map.find(Key);
    return It == T.Map.end() ? nullptr : It->second;
  }
  std::lock_guard Guard(T.Lock);
  auto It = T.Map.find(Key);
  return It == T.Map.end() ? nullptr : It->second;
}

TWindow* WindowFromHandle(HWND Wnd) {
  TWindow* W = PeekWindow(Wnd);
  if (W == nullptr) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return W;
}

TWindow* DesktopWindow() {
  static TWindow* Desktop = [] {
    const TSize S =
        ScreenSurface().Width > 0 ? TSize{ScreenSurface().Width, ScreenSurface().Height} : DefaultScreenSize;
    return MakeRoot("#32769", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    TRect{0, 0, S.cx, S.cy});
  }();
  return Desktop;
}

TWindow* MessageRootWindow() {
  static TWindow* Root =
      MakeRoot("Message", WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, TRect{0, 0, 100, 100});
  return Root;
}

TWindow* TopLevelOf(TWindow* W) {
  while (W != nullptr && W->Parent != nullptr && W->Parent->Parent != nullptr) W = W->Parent;
  return W;
}

bool IsReallyVisible(const TWindow* W) {
  for (; W != nullptr; W = W->Parent) {
    if (!(W->Style & WS_VISIBLE)) return false;
    if (W->Parent == nullptr) return W == DesktopWindow();
  }
  return false;
}

TPoint ClientOriginOnScreen(const TWindow* W) {
  TPoint P{0, 0};
  for (; W != nullptr && W->Parent != nullptr; W = W->Parent) {
    P.X += W->Client.Left;
    P.Y += W->Client.Top;
  }
  return P;
}

TPoint WindowOriginOnScreen(const TWindow* W) {
  if (W->Parent == nullptr) return {W->Rect.Left, W->Rect.Top};
  const TPoint P = ClientOriginOnScreen(W->Parent);
  return {P.X + W->Rect.Left, P.Y + W->Rect.Top};
}

TPoint WindowOriginInSurface(const TWindow* W) {
  if (W->Parent == nullptr || IsTopLevel(W)) return {0, 0};
  const TPoint P = ClientOriginInSurface(W->Parent);
  return {P.X + W->Rect.Left, P.Y + W->Rect.Top};
}

TPoint ClientOriginInSurface(const TWindow* W) {
  const TPoint P = WindowOriginInSurface(W);
  return {P.X + W->Client.Left - W->Rect.Left, P.Y + W->Client.Top - W->Rect.Top};
}

TRect ClientInWindow(const TWindow* W) {
  return {W->Client.Left - W->Rect.Left, W->Client.Top - W->Rect.Top, W->Client.Right - W->Rect.Left,
          W->Client.Bottom - W->Rect.Top};
}

void AddWindowEventHook(TWindowEventHook Hook) {
  EventHooks().push_back(Hook);
}

void NotifyWindowEvent(TWindow* W, TWindowEvent Event) {
  const HWND H = W->Handle;
  for (TWindowEventHook Hook : EventHooks()) {
    if (PeekWindow(H) == nullptr) return;
    Hook(W, Event);
  }
}

void UnlinkWindow(TWindow* Child) {
  if (Child->Parent == nullptr) return;
  auto& L = Child->Parent->Children;
  L.erase(std::remove(L.begin(), L.end(), Child), L.end());
}

void LinkWindow(TWindow* Child, TWindow* Parent, HWND After, bool OwnerZOrder) {
  UnlinkWindow(Child);
  Child->Parent = Parent;
  auto& L = Parent->Children;
  const bool Bands = Parent == DesktopWindow();
  auto TopmostCount = [&] {
    Integer N = 0;
    while (N < static_cast<Integer>(L.size()) && (L[static_cast<std::size_t>(N)]->ExStyle & WS_EX_TOPMOST))
      ++N;
    return N;
  };
  Integer Index = 0;
  if (Bands) {
    if (After == HWND_TOPMOST)
      Child->ExStyle |= WS_EX_TOPMOST;
    else if (After == HWND_NOTOPMOST || After == HWND_BOTTOM)
      Child->ExStyle &= ~WS_EX_TOPMOST;
  }
  const bool Topmost = Bands && (Child->ExStyle & WS_EX_TOPMOST);
  if (After == HWND_BOTTOM) {
    Index = static_cast<Integer>(L.size());
  } else if (After == HWND_TOP || After == HWND_TOPMOST || After == HWND_NOTOPMOST) {
    Index = (Bands && !Topmost) ? TopmostCount() : 0;
  } else {
    TWindow* Sibling = PeekWindow(After);
    const Integer S = Sibling != nullptr ? IndexOf(L, Sibling) : -1;
    Index = S >= 0 ? S + 1 : 0;
    if (Bands) {
      const Integer Band = TopmostCount();
      Index = Topmost ? std::min(Index, Band) : std::max(Index, Band);
    }
  }
  L.insert(L.begin() + Index, Child);
  if (!Bands) return;
  // An owned window stays above its owner.
  if (Child->Owner != nullptr) {
    const Integer O = IndexOf(L, Child->Owner);
    const Integer C = IndexOf(L, Child);
    if (O >= 0 && C > O) {
      L.erase(L.begin() + C);
      L.insert(L.begin() + O, Child);
    }
  }
  if (!OwnerZOrder) return;
  // Windows the child owns come along above it, in their order.
  std::vector<TWindow*> Owned;
  for (TWindow* W : L)
    if (W != Child && IsOwnedBy(W, Child) && IndexOf(L, W) > IndexOf(L, Child)) Owned.push_back(W);
  for (auto It = Owned.rbegin(); It != Owned.rend(); ++It) {
    TWindow* W = *It;
    L.erase(L.begin() + IndexOf(L, W));
    Integer At = IndexOf(L, Child);
    if (!(W->ExStyle & WS_EX_TOPMOST)) At = std::max(At, TopmostCount());
    L.insert(L.begin() + At, W);
  }
}

// ---- Queries ------------------------------------------------------------------------------

HWND GetDesktopWindow() {
  return DesktopWindow()->Handle;
}

BOOL IsWindow(HWND Wnd) {
  return PeekWindow(Wnd) != nullptr;
}

BOOL IsWindowVisible(HWND Wnd) {
  TWindow* W = PeekWindow(Wnd);
  return W != nullptr && IsReallyVisible(W);
}

BOOL IsWindowEnabled(HWND Wnd) {
  TWindow* W = PeekWindow(Wnd);
  return W != nullptr && !(W->Style & WS_DISABLED);
}

BOOL IsChild(HWND Parent, HWND Wnd) {
  TWindow* P = PeekWindow(Parent);
  TWindow* W = PeekWindow(Wnd);
  if (P == nullptr || W == nullptr) return FALSE;
  for (W = W->Parent; W != nullptr && W->Parent != nullptr; W = W->Parent)
    if (W == P) return TRUE;
  return FALSE;
}

BOOL IsIconic(HWND Wnd) {
  TWindow* W = PeekWindow(Wnd);
  return W != nullptr && (W->Style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND Wnd) {
  TWindow* W = PeekWindow(Wnd);
  return W != nullptr && (W->Style & WS_MAXIMIZE);
}

DWORD GetWindowThreadProcessId(HWND Wnd, DWORD* ProcessId) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  if (ProcessId != nullptr) *ProcessId = static_cast<DWORD>(::getpid());
  return W->ThreadId;
}

HWND GetParent(HWND Wnd) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return nullptr;
  if (W->Style & WS_CHILD)
    return (W->Parent != nullptr && W->Parent->Parent != nullptr) ? W->Parent->Handle : nullptr;
  if (W->Style & WS_POPUP) return W->Owner != nullptr ? W->Owner->Handle : nullptr;
  return nullptr;
}

HWND GetWindow(HWND Wnd, UINT Cmd) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return nullptr;
  switch (Cmd) {
    case GW_CHILD:
      return W->Children.empty() ? nullptr : W->Children.front()->Handle;
    case GW_OWNER:
      return W->Owner != nullptr ? W->Owner->Handle : nullptr;
    case GW_ENABLEDPOPUP:
      for (TWindow* T : DesktopWindow()->Children)
        if (T->Owner == W && (T->Style & WS_VISIBLE) && !(T->Style & WS_DISABLED)) return T->Handle;
      return nullptr;
    default:
      break;
  }
  if (W->Parent == nullptr) return nullptr;
  const auto& L = W->Parent->Children;
  const Integer I = IndexOf(L, W);
  switch (Cmd) {
    case GW_HWNDFIRST:
      return L.front()->Handle;
    case GW_HWNDLAST:
      return L.back()->Handle;
    case GW_HWNDNEXT:
      return I + 1 < static_cast<Integer>(L.size()) ? L[static_cast<std::size_t>(I + 1)]->Handle : nullptr;
    case GW_HWNDPREV:
      return I > 0 ? L[static_cast<std::size_t>(I - 1)]->Handle : nullptr;
    default:
      SetLastError(ERROR_INVALID_FLAGS);
      return nullptr;
  }
}

HWND GetTopWindow(HWND Wnd) {
  TWindow* W = Wnd == nullptr ? DesktopWindow() : WindowFromHandle(Wnd);
  if (W == nullptr || W->Children.empty()) return nullptr;
  return W->Children.front()->Handle;
}

HWND GetAncestor(HWND Wnd, UINT Flags) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || W->Parent == nullptr) return nullptr;
  switch (Flags) {
    case GA_PARENT:
      return W->Parent->Handle;
    case GA_ROOT:
      return TopLevelOf(W)->Handle;
    case GA_ROOTOWNER: {
      TWindow* R = TopLevelOf(W);
      while (R->Owner != nullptr) R = R->Owner;
      return R->Handle;
    }
    default:
      return nullptr;
  }
}

BOOL EnumChildWindows(HWND Parent, WNDENUMPROC Fn, LPARAM Param) {
  TWindow* P = Parent == nullptr ? DesktopWindow() : WindowFromHandle(Parent);
  if (P == nullptr || Fn == nullptr) return FALSE;
  return EnumDescendants(P, Fn, Param) ? TRUE : FALSE;
}

BOOL EnumWindows(WNDENUMPROC Fn, LPARAM Param) {
  if (Fn == nullptr) return FALSE;
  for (HWND H : ChildHandles(DesktopWindow())) {
    if (PeekWindow(H) == nullptr) continue;
    if (!Fn(H, Param)) return FALSE;
  }
  return TRUE;
}

BOOL EnumThreadWindows(DWORD ThreadId, WNDENUMPROC Fn, LPARAM Param) {
  if (Fn == nullptr) return FALSE;
  for (HWND H : ChildHandles(DesktopWindow())) {
    TWindow* W = PeekWindow(H);
    if (W == nullptr || W->ThreadId != ThreadId) continue;
    if (!Fn(H, Param)) return FALSE;
  }
  return TRUE;
}

HWND FindWindowEx(HWND Parent, HWND ChildAfter, LPCSTR ClassName, LPCSTR WindowName) {
  TWindow* P = (Parent == nullptr)      ? DesktopWindow()
               : Parent == HWND_MESSAGE ? MessageRootWindow()
                                        : WindowFromHandle(Parent);
  if (P == nullptr) return nullptr;
  bool Started = ChildAfter == nullptr;
  for (TWindow* C : P->Children) {
    if (!Started) {
      Started = C->Handle == ChildAfter;
      continue;
    }
    if (!ClassMatches(C, ClassName)) continue;
    if (WindowName != nullptr && !SameText(C->Text, WindowName)) continue;
    return C->Handle;
  }
  return nullptr;
}

HWND FindWindow(LPCSTR ClassName, LPCSTR WindowName) {
  return FindWindowEx(nullptr, nullptr, ClassName, WindowName);
}

BOOL EnableWindow(HWND Wnd, BOOL Enable) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return FALSE;
  const BOOL WasDisabled = (W->Style & WS_DISABLED) ? TRUE : FALSE;
  if (Enable && WasDisabled) {
    W->Style &= ~WS_DISABLED;
    SendTo(W, WM_ENABLE, TRUE, 0);
  } else if (!Enable && !WasDisabled) {
    // The platform cancels modes (capture, menus) of a window being disabled first.
    SendTo(W, WM_CANCELMODE, 0, 0);
    if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
    W->Style |= WS_DISABLED;
    NotifyWindowEvent(W, TWindowEvent::Disabled);
    if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
    SendTo(W, WM_ENABLE, FALSE, 0);
  }
  return WasDisabled;
}

Integer GetDlgCtrlID(HWND Wnd) {
  TWindow* W = WindowFromHandle(Wnd);
  return W != nullptr && (W->Style & WS_CHILD) ? static_cast<Integer>(W->Id) : 0;
}

HWND GetDlgItem(HWND Dialog, Integer Id) {
  TWindow* D = WindowFromHandle(Dialog);
  if (D == nullptr) return nullptr;
  for (TWindow* C : D->Children)
    if (static_cast<Integer>(C->Id) == Id) return C->Handle;
  return nullptr;
}

// ---- Properties ---------------------------------------------------------------------------

namespace {
TWindowProp* FindProp(TWindow* W, LPCSTR Name) {
  for (TWindowProp& P : W->Props) {
    if (IS_INTRESOURCE(Name)) {
      if (P.Name.empty() && P.Atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(Name))) return &P;
    } else if (!P.Name.empty() && SameText(P.Name, Name)) {
      return &P;
    }
  }
  return nullptr;
}
}  // namespace

BOOL SetProp(HWND Wnd, LPCSTR Name, HANDLE Data) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Name == nullptr) return FALSE;
  if (TWindowProp* P = FindProp(W, Name)) {
    P->Data = Data;
    return TRUE;
  }
  TWindowProp P;
  if (IS_INTRESOURCE(Name))
    P.Atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(Name));
  else
    P.Name = Name;
  P.Data = Data;
  W->Props.push_back(std::move(P));
  return TRUE;
}

HANDLE GetProp(HWND Wnd, LPCSTR Name) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Name == nullptr) return nullptr;
  TWindowProp* P = FindProp(W, Name);
  return P != nullptr ? P->Data : nullptr;
}

HANDLE RemoveProp(HWND Wnd, LPCSTR Name) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Name == nullptr) return nullptr;
  TWindowProp* P = FindProp(W, Name);
  if (P == nullptr) return nullptr;
  HANDLE Data = P->Data;
  W->Props.erase(W->Props.begin() + (P - W->Props.data()));
  return Data;
}
