// Subclass chains: one shared procedure in front of the window's own runs the links.
#include "platform/user/WindowSubclass.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "platform/user/Windows.h"
#include "platform/user/WndProc.h"

namespace {

struct TLink {
  SUBCLASSPROC Proc;
  UINT_PTR Id;
  DWORD_PTR RefData;
  bool Removed = false;
};

struct TChain {
  WNDPROC Original = nullptr;
  std::vector<std::shared_ptr<TLink>> Links;  // the latest last
};

// A message on its way down a chain: the links it saw when it came in, and where it is.
struct TFrame {
  HWND Wnd;
  std::vector<std::shared_ptr<TLink>> Links;
  size_t Next;  // the next link to run, counting down from Links.size()
  WNDPROC Original;
};

std::map<HWND, TChain>& Chains() {
  static std::map<HWND, TChain> Map;
  return Map;
}

std::vector<TFrame*>& Frames() {
  static std::vector<TFrame*> Stack;
  return Stack;
}

LRESULT RunNext(TFrame& F, UINT Msg, WPARAM WParam, LPARAM LParam) {
  while (F.Next > 0) {
    const std::shared_ptr<TLink> Link = F.Links[--F.Next];
    if (!Link->Removed) return Link->Proc(F.Wnd, Msg, WParam, LParam, Link->Id, Link->RefData);
  }
  return CallWindowProc(F.Original, F.Wnd, Msg, WParam, LParam);
}

LRESULT ChainProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto It = Chains().find(Wnd);
  if (It == Chains().end()) return DefWindowProc(Wnd, Msg, WParam, LParam);
  TFrame Frame{Wnd, It->second.Links, It->second.Links.size(), It->second.Original};
  Frames().push_back(&Frame);
  LRESULT Result = 0;
  try {
    Result = RunNext(Frame, Msg, WParam, LParam);
  } catch (...) {
    Frames().pop_back();
    throw;
  }
  Frames().pop_back();
  // The window is gone: its chain goes with it.
  if (Msg == WM_NCDESTROY) Chains().erase(Wnd);
  return Result;
}

WNDPROC ChainEntry() {
  return MakeWndProc(&ChainProc);
}

}  // namespace

BOOL SetWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR IdSubclass, DWORD_PTR RefData) {
  if (Proc == nullptr || !IsWindow(Wnd)) return FALSE;
  auto It = Chains().find(Wnd);
  // An empty chain that someone else's procedure covers starts afresh.
  if (It != Chains().end() && It->second.Links.empty() &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtr(Wnd, GWLP_WNDPROC)) != ChainEntry()) {
    Chains().erase(It);
    It = Chains().end();
  }
  if (It == Chains().end()) {
    TChain Chain;
    Chain.Original = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Wnd, GWLP_WNDPROC));
    It = Chains().emplace(Wnd, std::move(Chain)).first;
    SetWindowLongPtr(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChainEntry()));
  }
  for (auto& Link : It->second.Links)
    if (Link->Proc == Proc && Link->Id == IdSubclass) {
      Link->RefData = RefData;
      return TRUE;
    }
  It->second.Links.push_back(std::make_shared<TLink>(TLink{Proc, IdSubclass, RefData}));
  return TRUE;
}

BOOL GetWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR IdSubclass, DWORD_PTR* RefData) {
  auto It = Chains().find(Wnd);
  if (It == Chains().end()) return FALSE;
  for (auto& Link : It->second.Links)
    if (Link->Proc == Proc && Link->Id == IdSubclass) {
      if (RefData != nullptr) *RefData = Link->RefData;
      return TRUE;
    }
  return FALSE;
}

BOOL RemoveWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR IdSubclass) {
  auto It = Chains().find(Wnd);
  if (It == Chains().end()) return FALSE;
  auto& Links = It->second.Links;
  const auto L = std::find_if(Links.begin(), Links.end(),
                              [&](const auto& Link) { return Link->Proc == Proc && Link->Id == IdSubclass; });
  if (L == Links.end()) return FALSE;
  // A message running through the chain skips it from now on.
  (*L)->Removed = true;
  Links.erase(L);
  if (Links.empty() && IsWindow(Wnd) &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtr(Wnd, GWLP_WNDPROC)) == ChainEntry()) {
    SetWindowLongPtr(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(It->second.Original));
    Chains().erase(It);
  }
  return TRUE;
}

LRESULT DefSubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto& Stack = Frames();
  for (auto F = Stack.rbegin(); F != Stack.rend(); ++F)
    if ((*F)->Wnd == Wnd) return RunNext(**F, Msg, WParam, LParam);
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}
