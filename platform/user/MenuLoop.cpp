// The modal menu loop: TrackPopupMenu, the menu bar's mouse and keyboard loops and the system
// menu. It owns the mouse (capture on the owner window), reads input from the queue and
// dispatches everything else.
#include <algorithm>
#include <functional>
#include <optional>

#include "platform/user/Input.h"
#include "platform/user/MenuInternals.h"
#include "platform/user/NonClient.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

constexpr UINT_PTR HoverTimer = 0xFFF2;  // on the owner; kept by the loop, never dispatched

struct TLevel {
  HMENU Menu = nullptr;
  Integer Sel = -1;
};

struct THit {
  Integer Level = -1;  // popup level under the point
  Integer Item = -1;   // item there (bar or popup); -1: none or a separator
  bool OnBar = false;
};

class TMenuLoop;
TMenuLoop* GActive = nullptr;

class TMenuLoop {
 public:
  HWND Owner = nullptr;
  UINT Flags = 0;
  bool PopupMode = false;  // TrackPopupMenu
  bool System = false;     // the system menu
  HMENU Bar = nullptr;     // the menu bar taking part
  Integer BarSel = -1;
  std::vector<TLevel> Levels;
  bool Done = false;
  bool EndRequested = false;
  bool Chosen = false;
  bool ChosenSystem = false;
  bool ByMouse = false;
  bool StartedByMouse = false;  // a title of the bar was clicked
  bool MenuKeyDown = false;
  UINT Command = 0;
  TPoint LastPoint;
  Integer HoverLevel = -1;
  Integer HoverItem = -1;

  bool Notify() const { return !(Flags & TPM_NONOTIFY); }

  LRESULT Send(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWindow* W = PeekWindow(Owner);
    return W != nullptr ? SendTo(W, Msg, WParam, LParam) : 0;
  }

  // ---- Selection -------------------------------------------------------------------------
  void MenuSelect(HMENU Menu, Integer Index, bool Mouse) {
    TMenuObject* M = MenuFromHandle(Menu);
    if (!Notify() || M == nullptr || Index < 0 || Index >= static_cast<Integer>(M->Items.size())) return;
    const TMenuItemData& I = M->Items[static_cast<std::size_t>(Index)];
    UINT F = ((I.Type | I.State) & 0x7FFF) | MF_HILITE;
    if (I.SubMenu != nullptr) F |= MF_POPUP;
    if (Mouse) F |= MF_MOUSESELECT;
    if (M->System) F |= MF_SYSMENU;
    const UINT Id = I.SubMenu != nullptr ? static_cast<UINT>(Index) : I.Id;
    Send(WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(Id), static_cast<WORD>(F)),
         reinterpret_cast<LPARAM>(Menu));
  }

  void RedrawItem(TMenuObject* M, Integer Index) {
    if (M->PopupWnd == nullptr || Index < 0) return;
    HDC DC = GetDC(M->PopupWnd);
    if (DC == nullptr) return;
    DrawPopupItem(DC, *M, Index, Owner, false);
    ReleaseDC(M->PopupWnd, DC);
  }

  void SelectItem(std::size_t Level, Integer Index, bool Mouse) {
    TLevel& L = Levels[Level];
    TMenuObject* M = MenuFromHandle(L.Menu);
    if (M == nullptr || L.Sel == Index) return;
    const Integer Old = L.Sel;
    L.Sel = Index;
    if (Old >= 0 && Old < static_cast<Integer>(M->Items.size())) {
      M->Items[static_cast<std::size_t>(Old)].State &= ~MF_HILITE;
      RedrawItem(M, Old);
    }
    if (Index >= 0 && Index < static_cast<Integer>(M->Items.size())) {
      M->Items[static_cast<std::size_t>(Index)].State |= MF_HILITE;
      RedrawItem(M, Index);
      MenuSelect(L.Menu, Index, Mouse);
    }
  }

  void SelectBar(Integer Index, bool Mouse) {
    TMenuObject* M = MenuFromHandle(Bar);
    if (M == nullptr || Index == BarSel) return;
    for (TMenuItemData& I : M->Items) I.State &= ~MF_HILITE;
    BarSel = Index;
    if (Index >= 0 && Index < static_cast<Integer>(M->Items.size()))
      M->Items[static_cast<std::size_t>(Index)].State |= MF_HILITE;
    if (TWindow* W = PeekWindow(Owner)) RedrawMenuBar(W);
    if (Index >= 0) MenuSelect(Bar, Index, Mouse);
  }

  // ---- Popups ------------------------------------------------------------------------------
  bool OpenLevel(HMENU Menu, Integer ParentIndex, TPoint At, const TRect* Avoid, bool Horizontal,
                 UINT Align) {
    TMenuObject* Parent = MenuFromHandle(Menu);
    const bool Sys = Parent != nullptr && Parent->System;
    if (Notify())
      Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Menu), MAKELPARAM(ParentIndex, Sys ? 1 : 0));
    TMenuObject* M = MenuFromHandle(Menu);
    if (M == nullptr || PeekWindow(Owner) == nullptr) return false;
    for (TMenuItemData& I : M->Items) I.State &= ~MF_HILITE;
    if (ShowPopupMenu(*M, Owner, At, Align, Avoid, Horizontal) == nullptr) return false;
    Levels.push_back(TLevel{Menu, -1});
    return true;
  }

  void CloseLevels(std::size_t Keep) {
    while (Levels.size() > Keep) {
      const TLevel L = Levels.back();
      Levels.pop_back();
      if (TMenuObject* M = MenuFromHandle(L.Menu)) {
        for (TMenuItemData& I : M->Items) I.State &= ~MF_HILITE;
        HidePopupMenu(*M);
        if (Notify())
          Send(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(L.Menu),
               MAKELPARAM(0, M->System ? MF_SYSMENU : 0));
      }
    }
    if (Keep == 0 && Bar != nullptr) {
      if (TMenuObject* B = MenuFromHandle(Bar); B != nullptr && B->BarDropped) {
        B->BarDropped = false;
        if (TWindow* W = PeekWindow(Owner)) RedrawMenuBar(W);
      }
    }
  }

  TMenuItemData* ItemAt(std::size_t Level, Integer Index) {
    TMenuObject* M = Level < Levels.size() ? MenuFromHandle(Levels[Level].Menu) : nullptr;
    if (M == nullptr || Index < 0 || Index >= static_cast<Integer>(M->Items.size())) return nullptr;
    return &M->Items[static_cast<std::size_t>(Index)];
  }

  // The next item from Index in Step's direction that is not a separator (wrapping).
  Integer NextItem(HMENU Menu, Integer Index, Integer Step) {
    TMenuObject* M = MenuFromHandle(Menu);
    if (M == nullptr || M->Items.empty()) return -1;
    const Integer N = static_cast<Integer>(M->Items.size());
    Integer I = Index < 0 ? (Step > 0 ? -1 : N) : Index;
    for (Integer K = 0; K < N; ++K) {
      I = ((I + Step) % N + N) % N;
      if (!M->Items[static_cast<std::size_t>(I)].IsSeparator()) return I;
    }
    return -1;
  }

  void OpenSubmenu(std::size_t Level, bool SelectFirst) {
    TMenuItemData* I = ItemAt(Level, Levels[Level].Sel);
    if (I == nullptr || I->SubMenu == nullptr || I->IsDisabled()) return;
    if (Levels.size() > Level + 1 && Levels[Level + 1].Menu == I->SubMenu) {
      CloseLevels(Level + 2);
    } else {
      CloseLevels(Level + 1);
      TMenuObject* Parent = MenuFromHandle(Levels[Level].Menu);
      TWindow* PW = Parent != nullptr ? PeekWindow(Parent->PopupWnd) : nullptr;
      if (PW == nullptr) return;
      const TPoint O = ClientOriginOnScreen(PW);
      const TRect Item = Moved(I->Rect, O.X, O.Y);
      const TPoint WO = WindowOriginOnScreen(PW);
      const TRect ParentRect = Bounds(WO.X, WO.Y, PW->Rect.Width(), PW->Rect.Height());
      const HMENU Sub = I->SubMenu;
      if (!OpenLevel(Sub, Levels[Level].Sel, TPoint{ParentRect.Right - MenuBorder, Item.Top - MenuBorder},
                     &ParentRect, true, 0))
        return;
    }
    if (SelectFirst && Levels.size() > Level + 1)
      SelectItem(Level + 1, NextItem(Levels[Level + 1].Menu, -1, 1), false);
  }

  void DropBar(Integer Index, bool SelectFirst, bool Mouse) {
    TMenuObject* B = MenuFromHandle(Bar);
    if (B == nullptr || Index < 0 || Index >= static_cast<Integer>(B->Items.size())) return;
    CloseLevels(0);
    SelectBar(Index, Mouse);
    TMenuItemData& I = B->Items[static_cast<std::size_t>(Index)];
    if (I.SubMenu == nullptr || I.IsDisabled()) return;
    TWindow* W = PeekWindow(Owner);
    if (W == nullptr) return;
    B->BarDropped = true;
    RedrawMenuBar(W);
    const TPoint O = WindowOriginOnScreen(W);
    const TRect Title = Moved(I.Rect, O.X, O.Y);
    if (OpenLevel(I.SubMenu, Index, TPoint{Title.Left, Title.Bottom}, &Title, false, 0) && SelectFirst)
      SelectItem(0, NextItem(Levels[0].Menu, -1, 1), false);
  }

  void Choose(const TMenuItemData& I, bool SystemItem) {
    Command = I.Id;
    ChosenSystem = SystemItem;
    Chosen = Done = true;
  }

  // Enter or an accelerator on an item: opens its submenu or chooses it.
  void Activate(std::size_t Level, Integer Index) {
    SelectItem(Level, Index, false);
    TMenuItemData* I = ItemAt(Level, Index);
    if (I == nullptr || I->IsDisabled() || I->IsSeparator()) return;
    if (I->SubMenu != nullptr)
      OpenSubmenu(Level, true);
    else
      Choose(*I, MenuFromHandle(Levels[Level].Menu)->System);
  }

  void ActivateBar(Integer Index) {
    TMenuObject* B = MenuFromHandle(Bar);
    if (B == nullptr || Index < 0 || Index >= static_cast<Integer>(B->Items.size())) return;
    const TMenuItemData& I = B->Items[static_cast<std::size_t>(Index)];
    if (I.SubMenu != nullptr)
      DropBar(Index, true, false);
    else if (!I.IsDisabled() && !I.IsSeparator())
      Choose(I, false);
    else
      SelectBar(Index, false);
  }

  // ---- Input -------------------------------------------------------------------------------
  THit HitAt(TPoint P) {
    THit H;
    for (Integer K = static_cast<Integer>(Levels.size()) - 1; K >= 0; --K) {
      TMenuObject* M = MenuFromHandle(Levels[static_cast<std::size_t>(K)].Menu);
      TWindow* PW = M != nullptr ? PeekWindow(M->PopupWnd) : nullptr;
      if (PW == nullptr) continue;
      const TPoint WO = WindowOriginOnScreen(PW);
      if (!InRect(Bounds(WO.X, WO.Y, PW->Rect.Width(), PW->Rect.Height()), P)) continue;
      H.Level = K;
      const TPoint O = ClientOriginOnScreen(PW);
      for (std::size_t I = 0; I < M->Items.size(); ++I)
        if (!M->Items[I].IsSeparator() && InRect(M->Items[I].Rect, TPoint{P.X - O.X, P.Y - O.Y}))
          H.Item = static_cast<Integer>(I);
      return H;
    }
    TWindow* W = PeekWindow(Owner);
    if (Bar != nullptr && W != nullptr) {
      const TNcLayout L = NcLayoutOf(W);
      const TPoint O = WindowOriginOnScreen(W);
      const TPoint Local{P.X - O.X, P.Y - O.Y};
      if (InRect(L.MenuBar, Local)) {
        H.OnBar = true;
        H.Item = MenuItemFromPoint(Owner, Bar, P);
      }
    }
    return H;
  }

  void StartHover(Integer Level, Integer Item) {
    HoverLevel = Level;
    HoverItem = Item;
    UINT Delay = 400;
    SystemParametersInfo(SPI_GETMENUSHOWDELAY, 0, &Delay, 0);
    SetTimer(Owner, HoverTimer, Delay, nullptr);
  }

  void OnHover() {
    KillTimer(Owner, HoverTimer);
    const Integer K = HoverLevel;
    if (K < 0 || K >= static_cast<Integer>(Levels.size()) ||
        Levels[static_cast<std::size_t>(K)].Sel != HoverItem)
      return;
    TMenuItemData* I = ItemAt(static_cast<std::size_t>(K), HoverItem);
    const bool Opens = I != nullptr && I->SubMenu != nullptr && !I->IsDisabled();
    if (Opens)
      OpenSubmenu(static_cast<std::size_t>(K), false);
    else
      CloseLevels(static_cast<std::size_t>(K) + 1);
  }

  void OnMouse(const MSG& M) {
    const TPoint P = M.pt;
    LastPoint = P;
    const THit H = HitAt(P);
    switch (M.message) {
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        if (H.Level >= 0) {
          if (H.Item >= 0 && Levels[static_cast<std::size_t>(H.Level)].Sel != H.Item) {
            ByMouse = true;
            SelectItem(static_cast<std::size_t>(H.Level), H.Item, true);
            StartHover(H.Level, H.Item);
          }
        } else if (H.OnBar && H.Item >= 0 && H.Item != BarSel) {
          ByMouse = true;
          if (!Levels.empty())
            DropBar(H.Item, false, true);
          else if (BarSel >= 0)
            SelectBar(H.Item, true);
        } else if (!H.OnBar && !Levels.empty() && Levels.back().Sel >= 0) {
          // Off the menus: the deepest popup loses its selection.
          SelectItem(Levels.size() - 1, -1, true);
        }
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
      case WM_NCMBUTTONDOWN:
      case WM_NCLBUTTONDBLCLK:
      case WM_NCRBUTTONDBLCLK:
        ByMouse = true;
        if (H.Level >= 0) {
          if (H.Item >= 0) {
            SelectItem(static_cast<std::size_t>(H.Level), H.Item, true);
            TMenuItemData* I = ItemAt(static_cast<std::size_t>(H.Level), H.Item);
            if (I != nullptr && I->SubMenu != nullptr) {
              KillTimer(Owner, HoverTimer);
              OpenSubmenu(static_cast<std::size_t>(H.Level), false);
            }
          }
        } else if (H.OnBar && H.Item >= 0) {
          if (H.Item == BarSel && !Levels.empty())
            Done = true;
          else
            DropBar(H.Item, false, true);
        } else {
          // A click elsewhere ends the menu and goes no further.
          Done = true;
        }
        break;
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
      case WM_RBUTTONUP:
      case WM_NCRBUTTONUP: {
        const bool Right = M.message == WM_RBUTTONUP || M.message == WM_NCRBUTTONUP;
        if (Right && !(Flags & TPM_RIGHTBUTTON) && PopupMode) break;
        if (H.Level >= 0 && H.Item >= 0) {
          TMenuItemData* I = ItemAt(static_cast<std::size_t>(H.Level), H.Item);
          if (I != nullptr && I->SubMenu == nullptr && !I->IsDisabled())
            Choose(*I, MenuFromHandle(Levels[static_cast<std::size_t>(H.Level)].Menu)->System);
        } else if (H.OnBar && H.Item >= 0 && H.Item == BarSel && Levels.empty()) {
          TMenuObject* B = MenuFromHandle(Bar);
          const TMenuItemData& I = B->Items[static_cast<std::size_t>(H.Item)];
          if (I.SubMenu == nullptr && !I.IsDisabled() && !I.IsSeparator()) Choose(I, false);
        }
        break;
      }
      default:
        break;
    }
  }

  void Step(Integer Dir) {
    if (Bar == nullptr) return;
    TMenuObject* B = MenuFromHandle(Bar);
    if (B == nullptr || B->Items.empty()) return;
    const Integer Next = NextItem(Bar, BarSel, Dir);
    if (Next < 0) return;
    if (Levels.empty())
      SelectBar(Next, false);
    else
      DropBar(Next, true, false);
  }

  void OnKeyDown(WPARAM Key) {
    ByMouse = false;
    const std::size_t Deep = Levels.size();
    switch (Key) {
      case VK_ESCAPE:
        // The last popup of a title opened from the keyboard leaves the title selected. One
        // clicked open ends the loop at once: whoever dispatched the click (a long operation
        // pumping messages) waits for this loop, and a mouse user takes the selected title
        // for a closed menu.
        if (Deep > 1)
          CloseLevels(Deep - 1);
        else if (Deep == 1 && Bar != nullptr && !StartedByMouse)
          CloseLevels(0);
        else
          Done = true;
        break;
      case VK_MENU:
      case VK_F10:
        // Closes on the key's release, which the loop keeps: DefWindowProc would open the
        // menu again for a lone Alt going up.
        MenuKeyDown = true;
        break;
      case VK_UP:
      case VK_DOWN:
        if (Deep == 0) {
          if (BarSel >= 0) DropBar(BarSel, true, false);
        } else {
          SelectItem(Deep - 1, NextItem(Levels[Deep - 1].Menu, Levels[Deep - 1].Sel, Key == VK_DOWN ? 1 : -1),
                     false);
        }
        break;
      case VK_HOME:
      case VK_END:
        if (Deep > 0)
          SelectItem(Deep - 1, NextItem(Levels[Deep - 1].Menu, -1, Key == VK_HOME ? 1 : -1), false);
        break;
      case VK_LEFT:
        if (Deep > 1)
          CloseLevels(Deep - 1);
        else
          Step(-1);
        break;
      case VK_RIGHT: {
        TMenuItemData* I = Deep > 0 ? ItemAt(Deep - 1, Levels[Deep - 1].Sel) : nullptr;
        if (I != nullptr && I->SubMenu != nullptr && !I->IsDisabled())
          OpenSubmenu(Deep - 1, true);
        else
          Step(1);
        break;
      }
      case VK_RETURN:
        if (Deep == 0) {
          if (BarSel >= 0) ActivateBar(BarSel);
        } else if (Levels[Deep - 1].Sel >= 0) {
          Activate(Deep - 1, Levels[Deep - 1].Sel);
        }
        break;
      default:
        break;
    }
  }

  void OnChar(WPARAM Char) {
    if (Char < 0x20) return;
    ByMouse = false;
    char32_t C = static_cast<char32_t>(Char);
    if (C >= 'A' && C <= 'Z') C += 'a' - 'A';
    const bool InBar = Levels.empty();
    const HMENU Menu = InBar ? Bar : Levels.back().Menu;
    TMenuObject* M = MenuFromHandle(Menu);
    if (M == nullptr) return;
    const Integer Current = InBar ? BarSel : Levels.back().Sel;
    std::vector<Integer> Matches;
    for (std::size_t I = 0; I < M->Items.size(); ++I)
      if (!M->Items[I].IsSeparator() && MenuAccelerator(M->Items[I].Text) == C)
        Matches.push_back(static_cast<Integer>(I));
    auto Act = [&](Integer Index) {
      if (InBar)
        ActivateBar(Index);
      else
        Activate(Levels.size() - 1, Index);
    };
    auto Sel = [&](Integer Index) {
      if (InBar)
        SelectBar(Index, false);
      else
        SelectItem(Levels.size() - 1, Index, false);
    };
    if (Matches.size() == 1) return Act(Matches[0]);
    if (Matches.size() > 1) {
      auto It = std::upper_bound(Matches.begin(), Matches.end(), Current);
      return Sel(It == Matches.end() ? Matches[0] : *It);
    }
    const WORD Kind = static_cast<WORD>((M->Popup ? MF_POPUP : 0) | (M->System ? MF_SYSMENU : 0));
    const LRESULT R =
        Send(WM_MENUCHAR, MAKEWPARAM(static_cast<WORD>(Char), Kind), reinterpret_cast<LPARAM>(Menu));
    const Integer Index = LOWORD(static_cast<std::uintptr_t>(R));
    switch (HIWORD(static_cast<std::uintptr_t>(R))) {
      case MNC_EXECUTE:
        if (Index < static_cast<Integer>(M->Items.size())) Act(Index);
        break;
      case MNC_SELECT:
        if (Index < static_cast<Integer>(M->Items.size())) Sel(Index);
        break;
      case MNC_CLOSE:
        Done = true;
        break;
      default:
        break;
    }
  }

  static bool Stops(void* Ctx) {
    auto* L = static_cast<TMenuLoop*>(Ctx);
    return L->Done || L->EndRequested || PeekWindow(L->Owner) == nullptr || GetCapture() != L->Owner;
  }

  static void Idle(void* Ctx) {
    auto* L = static_cast<TMenuLoop*>(Ctx);
    if (!L->Notify()) return;
    TMenuObject* M = L->Levels.empty() ? nullptr : MenuFromHandle(L->Levels.back().Menu);
    L->Send(WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(M != nullptr ? M->PopupWnd : nullptr));
  }

  // Runs the loop: Start opens the first popup or selects the first title.
  void Run(HMENU Top, const std::function<void()>& Start) {
    TMenuLoop* Outer = GActive;
    GActive = this;
    SetCapture(Owner);
    if (Notify()) {
      Send(WM_ENTERMENULOOP, PopupMode ? TRUE : FALSE, 0);
      Send(WM_INITMENU, reinterpret_cast<WPARAM>(Top), 0);
    }
    if (PeekWindow(Owner) != nullptr) Start();
    MSG M;
    while (ModalNextMessage(M, Stops, this, Idle)) {
      if (M.message == WM_TIMER && M.hwnd == Owner && M.wParam == HoverTimer) {
        OnHover();
      } else if (IsMouseMsg(M.message)) {
        OnMouse(M);
      } else if (M.message == WM_KEYDOWN || M.message == WM_SYSKEYDOWN) {
        TranslateMessage(&M);
        OnKeyDown(M.wParam);
      } else if (M.message == WM_CHAR || M.message == WM_SYSCHAR) {
        OnChar(M.wParam);
      } else if (M.message == WM_KEYUP || M.message == WM_SYSKEYUP) {
        if (MenuKeyDown && (M.wParam == VK_MENU || M.wParam == VK_F10)) Done = true;
      } else if (!IsKeyMsg(M.message)) {
        DispatchMessage(&M);
      }
    }
    if (PeekWindow(Owner) != nullptr) KillTimer(Owner, HoverTimer);
    CloseLevels(0);
    if (Bar != nullptr) SelectBar(-1, false);
    if (GetCapture() == Owner) ReleaseCapture();
    if (Notify()) {
      Send(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
      Send(WM_EXITMENULOOP, PopupMode ? TRUE : FALSE, 0);
    }
    GActive = Outer;
  }

  // Posts the chosen command as WM_SYSCOMMAND (system menu items) or WM_COMMAND.
  void PostCommand() {
    if (!Chosen || !Notify() || PeekWindow(Owner) == nullptr) return;
    if (ChosenSystem)
      PostMessage(Owner, WM_SYSCOMMAND, Command, ByMouse ? MAKELPARAM(LastPoint.X, LastPoint.Y) : 0);
    else
      PostMessage(Owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(Command), 0), 0);
  }
};

}  // namespace

bool MenuLoopActive() {
  return GActive != nullptr;
}

BOOL EndMenu() {
  if (GActive == nullptr) return FALSE;
  GActive->EndRequested = true;
  return TRUE;
}

BOOL TrackPopupMenuEx(HMENU Menu, UINT Flags, Integer X, Integer Y, HWND Wnd, const TPMPARAMS* Params) {
  InstallNonClient();
  TMenuObject* M = MenuFromHandle(Menu);
  if (M == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (WindowFromHandle(Wnd) == nullptr) return FALSE;
  if (GActive != nullptr && !(Flags & TPM_RECURSE)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TMenuLoop L;
  L.Owner = Wnd;
  L.Flags = Flags;
  L.PopupMode = true;
  L.System = M->System;
  std::optional<TRect> Avoid;
  if (Params != nullptr) Avoid = Params->rcExclude;
  L.Run(Menu, [&] {
    if (!L.OpenLevel(Menu, 0, TPoint{X, Y}, Avoid ? &*Avoid : nullptr, !(Flags & TPM_VERTICAL), Flags))
      L.Done = true;
  });
  if (Flags & TPM_RETURNCMD) return L.Chosen ? static_cast<BOOL>(L.Command) : 0;
  L.PostCommand();
  return TRUE;
}

BOOL TrackPopupMenu(HMENU Menu, UINT Flags, Integer X, Integer Y, Integer, HWND Wnd, const RECT*) {
  return TrackPopupMenuEx(Menu, Flags, X, Y, Wnd, nullptr);
}

void TrackSystemMenu(TWindow* W, TPoint At, bool AtPoint, bool Keyboard) {
  if (GActive != nullptr || !(W->Style & WS_SYSMENU)) return;
  const HWND H = W->Handle;
  const HMENU Sys = GetSystemMenu(H, FALSE);
  UpdateSystemMenu(W, Sys);
  TMenuLoop L;
  L.Owner = H;
  L.System = true;
  L.Flags = TPM_RIGHTBUTTON;
  std::optional<TRect> Avoid;
  if (!AtPoint) {
    const TNcLayout NL = NcLayoutOf(W);
    const TPoint O = WindowOriginOnScreen(W);
    const TRect Caption = Moved(NL.Caption, O.X, O.Y);
    At = TPoint{O.X + NL.Inside.Left, Caption.Bottom + 1};
    Avoid = Caption;
  }
  L.Run(Sys, [&] {
    if (!L.OpenLevel(Sys, 0, At, Avoid ? &*Avoid : nullptr, false, 0)) {
      L.Done = true;
      return;
    }
    if (Keyboard) L.SelectItem(0, L.NextItem(Sys, -1, 1), false);
  });
  L.PostCommand();
}

void MenuBarMouseLoop(TWindow* W, LRESULT Hit, TPoint Screen) {
  if (Hit == HTSYSMENU) return TrackSystemMenu(W, Screen, false, false);
  const HMENU Bar = WindowMenuBar(W);
  if (Bar == nullptr || GActive != nullptr) return;
  const Integer Index = MenuItemFromPoint(W->Handle, Bar, Screen);
  if (Index < 0) return;
  TMenuLoop L;
  L.Owner = W->Handle;
  L.Bar = Bar;
  L.ByMouse = true;
  L.StartedByMouse = true;
  L.LastPoint = Screen;
  L.Run(Bar, [&] { L.DropBar(Index, false, true); });
  L.PostCommand();
}

void MenuBarKeyLoop(TWindow* W, UINT Key) {
  if (GActive != nullptr) return;
  if (Key == ' ') return TrackSystemMenu(W, {}, false, true);
  const HMENU Bar = WindowMenuBar(W);
  TMenuObject* B = MenuFromHandle(Bar);
  if (Key == 0) {
    if (B == nullptr || B->Items.empty()) return TrackSystemMenu(W, {}, false, true);
    TMenuLoop L;
    L.Owner = W->Handle;
    L.Bar = Bar;
    L.Run(Bar, [&] { L.SelectBar(0, false); });
    L.PostCommand();
    return;
  }
  if (B == nullptr) return;
  char32_t C = Key;
  if (C >= 'A' && C <= 'Z') C += 'a' - 'A';
  Integer Index = -1;
  bool Select = false;
  for (std::size_t I = 0; I < B->Items.size() && Index < 0; ++I)
    if (!B->Items[I].IsSeparator() && MenuAccelerator(B->Items[I].Text) == C) Index = static_cast<Integer>(I);
  if (Index < 0) {
    const LRESULT R =
        SendTo(W, WM_MENUCHAR, MAKEWPARAM(static_cast<WORD>(Key), 0), reinterpret_cast<LPARAM>(Bar));
    const WORD Action = HIWORD(static_cast<std::uintptr_t>(R));
    if ((Action != MNC_EXECUTE && Action != MNC_SELECT) || (B = MenuFromHandle(Bar)) == nullptr) return;
    Index = LOWORD(static_cast<std::uintptr_t>(R));
    if (Index >= static_cast<Integer>(B->Items.size())) return;
    Select = Action == MNC_SELECT;
  }
  TMenuLoop L;
  L.Owner = W->Handle;
  L.Bar = Bar;
  L.Run(Bar, [&] {
    if (Select)
      L.SelectBar(Index, false);
    else
      L.ActivateBar(Index);
  });
  L.PostCommand();
}
