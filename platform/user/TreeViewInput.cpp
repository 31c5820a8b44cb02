// The tree view's mouse, keyboard and scroll bars.
#include <algorithm>

#include "platform/user/ControlMessages.h"
#include "platform/user/ControlText.h"
#include "platform/user/Input.h"
#include "platform/user/ScrollInfo.h"
#include "platform/user/TreeViewInternals.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer WheelLines = 3;

void ToggleCheck(HWND Wnd, TTvNode* N) {
  const UINT Image = (N->State & TVIS_STATEIMAGEMASK) >> 12;
  SetNodeState(Wnd, N, INDEXTOSTATEIMAGEMASK(Image == 2 ? 1 : 2), TVIS_STATEIMAGEMASK);
}

void MouseDown(HWND Wnd, TTreeViewData& D, TPoint P, bool Right, bool Double) {
  if (GetFocus() != Wnd) SetFocus(Wnd);
  TTreeViewData* Dp = TreeData(Wnd);
  if (Dp == nullptr) return;
  UINT Flags = 0;
  TTvNode* N = TreeHitTest(Wnd, *Dp, P, Flags);
  if (Double) {
    if (NotifyParent(Wnd, Right ? NM_RDBLCLK : NM_DBLCLK) == 0 && !Right && N != nullptr &&
        (Flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)) && (Dp = TreeData(Wnd)) != nullptr && Dp->Live.count(N))
      ExpandNode(Wnd, N, TVE_TOGGLE);
    return;
  }
  if (Right) {
    NotifyParent(Wnd, NM_RCLICK);
    return;
  }
  if (N != nullptr) {
    if (Flags & TVHT_ONITEMBUTTON)
      ExpandNode(Wnd, N, TVE_TOGGLE);
    else if ((Flags & TVHT_ONITEMSTATEICON) && (LiveWindowStyle(Wnd) & TVS_CHECKBOXES))
      ToggleCheck(Wnd, N);
    else if ((Flags & TVHT_ONITEM) || (LiveWindowStyle(Wnd) & TVS_FULLROWSELECT))
      SelectNode(Wnd, N, TVC_BYMOUSE);
  }
  if ((Dp = TreeData(Wnd)) == nullptr) return;
  Dp->Pressed = true;
  SetCapture(Wnd);
  (void)D;
}

void MouseUp(HWND Wnd) {
  TTreeViewData* D = TreeData(Wnd);
  if (D == nullptr || !D->Pressed) return;
  D->Pressed = false;
  if (GetCapture() == Wnd) ReleaseCapture();
  NotifyParent(Wnd, NM_CLICK);
}

bool KeyDown(HWND Wnd, WORD Key) {
  NMTVKEYDOWN K;
  K.wVKey = Key;
  NotifyParent(Wnd, TVN_KEYDOWN, &K.hdr);
  TTreeViewData* D = TreeData(Wnd);
  if (D == nullptr) return true;
  const auto& S = ShownNodes(*D);
  if (S.empty()) return false;
  TTvNode* Sel = D->Live.count(D->Selected) ? D->Selected : nullptr;
  const Integer Row = Sel != nullptr ? ShownIndex(*D, Sel) : -1;
  const TTvGeometry G = TreeGeometry(Wnd, *D);
  const Integer Page = std::max(1, G.Client.cy / G.RowHeight);
  const Integer Last = static_cast<Integer>(S.size()) - 1;
  TTvNode* To = nullptr;
  switch (Key) {
    case VK_UP:
      To = Row > 0 ? S[Row - 1] : (Row < 0 ? S.front() : nullptr);
      break;
    case VK_DOWN:
      To = Row < Last ? S[Row + 1] : nullptr;
      break;
    case VK_HOME:
      To = S.front();
      break;
    case VK_END:
      To = S.back();
      break;
    case VK_PRIOR:
      To = S[std::max(0, Row - Page + 1)];
      break;
    case VK_NEXT:
      To = S[std::clamp(Row + Page - 1, 0, Last)];
      break;
    case VK_LEFT:
      if (Sel == nullptr) return true;
      if (Sel->State & TVIS_EXPANDED)
        ExpandNode(Wnd, Sel, TVE_COLLAPSE);
      else if (Sel->Parent != &D->Root)
        To = Sel->Parent;
      break;
    case VK_RIGHT:
      if (Sel == nullptr) return true;
      if (!(Sel->State & TVIS_EXPANDED) && HasChildren(*Sel))
        ExpandNode(Wnd, Sel, TVE_EXPAND);
      else if ((Sel->State & TVIS_EXPANDED) && !Sel->Children.empty())
        To = Sel->Children.front().get();
      break;
    case VK_SPACE:
      if (Sel != nullptr && (LiveWindowStyle(Wnd) & TVS_CHECKBOXES)) ToggleCheck(Wnd, Sel);
      return true;
    case VK_RETURN:
      NotifyParent(Wnd, NM_RETURN);
      return true;
    default:
      return false;
  }
  if (To != nullptr) SelectNode(Wnd, To, TVC_BYKEYBOARD);
  return true;
}

void ScrollBarRequest(HWND Wnd, TTreeViewData& D, bool Vertical, WORD Code) {
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  GetScrollInfo(Wnd, Vertical ? SB_VERT : SB_HORZ, &Info);
  const Integer Pos = Vertical ? D.ScrollY : D.ScrollX;
  const Integer Line = Vertical ? 1 : TreeGeometry(Wnd, D).LineHeight;
  Integer Target = Pos;
  if (!ScrollRequestTarget(Code, Pos, Line, std::max(1, static_cast<Integer>(Info.nPage)), Info.nMax,
                           Info.nTrackPos, Target))
    return;
  if (Vertical)
    TreeScrollTo(Wnd, D.ScrollX, Target);
  else
    TreeScrollTo(Wnd, Target, D.ScrollY);
}

}  // namespace

LRESULT TreeViewInput(HWND Wnd, TTreeViewData& D, UINT Msg, WPARAM WParam, LPARAM LParam, bool& Handled) {
  Handled = true;
  switch (Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      MouseDown(Wnd, D, MousePoint(LParam), Msg == WM_RBUTTONDOWN || Msg == WM_RBUTTONDBLCLK,
                Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK);
      return 0;
    case WM_LBUTTONUP:
      MouseUp(Wnd);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(LParam) != Wnd) D.Pressed = false;
      return 0;
    case WM_KEYDOWN:
      if (!KeyDown(Wnd, static_cast<WORD>(WParam))) return DefWindowProc(Wnd, Msg, WParam, LParam);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      D.Focused = Msg == WM_SETFOCUS;
      InvalidateRect(Wnd, nullptr, TRUE);
      NotifyParent(Wnd, Msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
      return 0;
    case WM_MOUSEWHEEL: {
      const Integer Notches = TakeWheelNotches(D.WheelRest, WParam);
      if (Notches != 0) TreeScrollTo(Wnd, D.ScrollX, D.ScrollY - Notches * WheelLines);
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (LParam == 0) ScrollBarRequest(Wnd, D, Msg == WM_VSCROLL, LOWORD(WParam));
      return 0;
    default:
      Handled = false;
      return 0;
  }
}
