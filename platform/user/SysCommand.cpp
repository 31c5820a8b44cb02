// WM_SYSCOMMAND, WM_CONTEXTMENU on the frame, and the installation of this part's
// DefWindowProc handlers.
#include <iterator>

#include "platform/user/MenuInternals.h"
#include "platform/user/NonClient.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

struct TDefault {
  UINT Msg;
  TDefWindowProcHandler Handler;
};
constexpr TDefault Defaults[] = {
    {WM_NCCALCSIZE, NcCalcSizeDefault},   {WM_NCPAINT, NcPaintDefault},
    {WM_NCACTIVATE, NcActivateDefault},   {WM_NCHITTEST, NcHitTestDefault},
    {WM_SETICON, SetIconDefault},         {WM_GETICON, GetIconDefault},
    {WM_NCLBUTTONDOWN, NcButtonDefault},  {WM_NCLBUTTONDBLCLK, NcButtonDefault},
    {WM_NCRBUTTONUP, NcButtonDefault},    {WM_SYSCOMMAND, SysCommandDefault},
    {WM_CONTEXTMENU, ContextMenuDefault},
};

struct TInstall {
  bool Installed = false;
  TDefWindowProcHandler Previous[std::size(Defaults)] = {};
  TNcPrintHook PreviousPrint = nullptr;
};

TInstall& Install() {
  static TInstall I;
  return I;
}

TDefWindowProcHandler PreviousHandler(UINT Msg) {
  for (std::size_t I = 0; I < std::size(Defaults); ++I)
    if (Defaults[I].Msg == Msg) return Install().Previous[I];
  return nullptr;
}

TWindow* RootOf(TWindow* W) {
  while (W->IsChild() && W->Parent != nullptr && W->Parent->Parent != nullptr) W = W->Parent;
  return W;
}

// A window's menu bar goes with it (the platform's rule); its system menu goes with its state.
void OnWindowEvent(TWindow* W, TWindowEvent Event) {
  if (Event != TWindowEvent::Destroying || !Install().Installed) return;
  if (HMENU Bar = WindowMenuBar(W)) {
    W->Id = 0;
    DestroyMenu(Bar);
  }
}

}  // namespace

LRESULT SysCommandDefault(TWindow* W, UINT, WPARAM WParam, LPARAM LParam) {
  const UINT Low = static_cast<UINT>(WParam & 0x000F);
  switch (WParam & 0xFFF0) {
    case SC_MOVE:
      // Keyboard moves (no hit code) are not offered.
      if (Low != 0) RunMoveSizeLoop(W, false, 0, PointOf(LParam));
      return 0;
    case SC_SIZE:
      if (Low != 0) RunMoveSizeLoop(W, true, Low, PointOf(LParam));
      return 0;
    case SC_MINIMIZE:
      ShowWindow(W->Handle, SW_MINIMIZE);
      return 0;
    case SC_MAXIMIZE:
      ShowWindow(W->Handle, SW_MAXIMIZE);
      return 0;
    case SC_RESTORE:
      ShowWindow(W->Handle, SW_RESTORE);
      return 0;
    case SC_CLOSE:
      return SendTo(W, WM_CLOSE, 0, 0);
    case SC_HSCROLL:
    case SC_VSCROLL:
      TrackScrollBar(WindowScrollTarget(W, (WParam & 0xFFF0) == SC_HSCROLL ? SB_HORZ : SB_VERT),
                     PointOf(LParam));
      return 0;
    case SC_MOUSEMENU:
      MenuBarMouseLoop(W, static_cast<LRESULT>(Low), PointOf(LParam));
      return 0;
    case SC_KEYMENU: {
      TWindow* Root = RootOf(W);
      if (Root != W) return SendTo(Root, WM_SYSCOMMAND, WParam, LParam);
      MenuBarKeyLoop(W, static_cast<UINT>(LParam));
      return 0;
    }
    default:
      // SC_CONTEXTHELP is accepted; SC_SCREENSAVE, SC_TASKLIST and the rest do nothing here.
      return 0;
  }
}

LRESULT ContextMenuDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (W->IsChild()) {
    const TDefWindowProcHandler Previous = PreviousHandler(WM_CONTEXTMENU);
    return Previous != nullptr ? Previous(W, Msg, WParam, LParam) : 0;
  }
  if (LParam == -1 || !(W->Style & WS_SYSMENU)) return 0;
  const LRESULT Hit = NcHitTest(W, PointOf(LParam));
  if (Hit == HTCAPTION || Hit == HTSYSMENU || Hit == HTMINBUTTON || Hit == HTMAXBUTTON || Hit == HTCLOSE)
    TrackSystemMenu(W, PointOf(LParam), true, false);
  return 0;
}

void InstallNonClient() {
  TInstall& S = Install();
  if (S.Installed) return;
  S.Installed = true;
  for (std::size_t I = 0; I < std::size(Defaults); ++I)
    S.Previous[I] = SetDefWindowProcHandler(Defaults[I].Msg, Defaults[I].Handler);
  S.PreviousPrint = NcPrintHook;
  NcPrintHook = NcPrintFrame;
  static const bool HookAdded = (AddWindowEventHook(OnWindowEvent), true);
  (void)HookAdded;
  RegisterPopupMenuClass();
}

void UninstallNonClient() {
  TInstall& S = Install();
  if (!S.Installed) return;
  EndMenu();
  for (std::size_t I = 0; I < std::size(Defaults); ++I)
    if (GetDefWindowProcHandler(Defaults[I].Msg) == Defaults[I].Handler)
      SetDefWindowProcHandler(Defaults[I].Msg, S.Previous[I]);
  if (NcPrintHook == NcPrintFrame) NcPrintHook = S.PreviousPrint;
  S = TInstall{};
}
