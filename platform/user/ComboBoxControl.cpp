// The COMBOBOX control's window procedure: creation, geometry and the CB_* messages.
#include "platform/user/ComboBoxControl.h"

#include <algorithm>

#include "platform/system/Strings.h"
#include "platform/user/Cursors.h"
#include "platform/user/EditControl.h"
#include "platform/user/Input.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

Integer Edge() {
  return GetSystemMetrics(SM_CXEDGE);
}

// The part a simple combo keeps for its edit, above the list.
Integer SimpleEditHeight(const TComboData& D) {
  return D.FieldHeight + 2 * (Edge() + 1);
}

LRESULT ToList(const TComboData& D, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return D.List != nullptr ? SendMessage(D.List, Msg, WParam, LParam) : CB_ERR;
}

void Layout(TComboData& D) {
  if (D.Edit != nullptr) {
    const TRect F = ComboFieldRect(D);
    MoveWindow(D.Edit, F.Left, F.Top, F.Width(), F.Height(), TRUE);
  }
  if (ComboType(D) == CBS_SIMPLE && D.List != nullptr) {
    const TRect C = ClientRectOf(D.Wnd);
    const Integer Top = SimpleEditHeight(D);
    MoveWindow(D.List, 0, Top, C.Width(), std::max(0, C.Height() - Top), TRUE);
  }
  InvalidateRect(D.Wnd, nullptr, TRUE);
}

// Keeps a drop-down combo at its closed height.
void FitHeight(TComboData& D) {
  if (ComboType(D) == CBS_SIMPLE) return;
  RECT W;
  GetWindowRect(D.Wnd, &W);
  if (W.Height() != ComboClosedHeight(D))
    SetWindowPos(D.Wnd, nullptr, 0, 0, W.Width(), ComboClosedHeight(D),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Create(TComboData& D, const CREATESTRUCT* CS) {
  const DWORD Style = ComboStyle(D);
  const DWORD Type = ComboType(D);
  D.Metrics = FontMetricsOf(D.Font);
  D.FieldHeight = D.Metrics.Height + 2;
  if (ComboOwnerDraw(D)) {
    MEASUREITEMSTRUCT MI;
    MI.CtlType = ODT_COMBOBOX;
    MI.CtlID = static_cast<UINT>(GetDlgCtrlID(D.Wnd));
    MI.itemID = static_cast<UINT>(-1);
    MI.itemWidth = static_cast<UINT>(CS != nullptr ? CS->cx : 0);
    MI.itemHeight = static_cast<UINT>(D.FieldHeight);
    if (HWND P = GetParent(D.Wnd)) SendMessage(P, WM_MEASUREITEM, MI.CtlID, reinterpret_cast<LPARAM>(&MI));
    if (MI.itemHeight > 0) D.FieldHeight = static_cast<Integer>(MI.itemHeight);
  }
  const Integer Cx = CS != nullptr ? CS->cx : 0, Cy = CS != nullptr ? CS->cy : 0;
  DWORD ListStyle = LBS_COMBOBOX | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  if (Style & CBS_SORT) ListStyle |= LBS_SORT;
  if (Style & CBS_HASSTRINGS) ListStyle |= LBS_HASSTRINGS;
  if (Style & CBS_OWNERDRAWFIXED) ListStyle |= LBS_OWNERDRAWFIXED;
  if (Style & CBS_OWNERDRAWVARIABLE) ListStyle |= LBS_OWNERDRAWVARIABLE;
  if (Style & CBS_DISABLENOSCROLL) ListStyle |= LBS_DISABLENOSCROLL;
  if (Type == CBS_SIMPLE) {
    const Integer Top = SimpleEditHeight(D);
    D.List =
        CreateWindowEx(WS_EX_CLIENTEDGE, "ComboLBox", "", WS_CHILD | WS_VISIBLE | ListStyle, 0, Top, Cx,
                       std::max(0, Cy - Top), D.Wnd,
                       reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kComboListId)), nullptr, D.Wnd);
  } else {
    D.List = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ComboLBox", "",
                            WS_POPUP | WS_BORDER | ListStyle, 0, 0, Cx, 0, D.Wnd, nullptr, nullptr, D.Wnd);
  }
  if (Type != CBS_DROPDOWNLIST) {
    DWORD EditStyle = WS_CHILD | WS_VISIBLE | ES_LEFT;
    if (Style & CBS_AUTOHSCROLL) EditStyle |= ES_AUTOHSCROLL;
    if (Style & CBS_UPPERCASE) EditStyle |= ES_UPPERCASE;
    if (Style & CBS_LOWERCASE) EditStyle |= ES_LOWERCASE;
    const char* Text =
        CS != nullptr && CS->lpszName != nullptr && !IS_INTRESOURCE(CS->lpszName) ? CS->lpszName : "";
    D.Edit =
        CreateWindowEx(0, "EDIT", Text, EditStyle, 0, 0, 0, 0, D.Wnd,
                       reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kComboEditId)), nullptr, nullptr);
    SetEditCombo(D.Edit, D.Wnd);
  }
  if (Type != CBS_SIMPLE) {
    D.DropHeight = std::max(0, Cy - ComboClosedHeight(D));
    FitHeight(D);
  }
  Layout(D);
}

void SetFont(TComboData& D, HFONT Font, bool Redraw) {
  D.Font = Font;
  D.Metrics = FontMetricsOf(Font);
  if (!ComboOwnerDraw(D)) D.FieldHeight = D.Metrics.Height + 2;
  if (D.Edit != nullptr) SendMessage(D.Edit, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
  if (D.List != nullptr) SendMessage(D.List, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
  FitHeight(D);
  Layout(D);
  if (Redraw) InvalidateRect(D.Wnd, nullptr, TRUE);
}

std::string SelectedText(const TComboData& D) {
  const Integer I = ComboCurSel(D);
  const TListBoxData* L = ComboList(D);
  if (I < 0 || L == nullptr || !HasStrings(*L)) return std::string();
  return L->Items[static_cast<std::size_t>(I)].Text;
}

LRESULT SetText(TComboData& D, LPARAM L) {
  const char* S = reinterpret_cast<const char*>(L);
  if (D.Edit != nullptr) {
    D.EditQuiet = true;
    SetWindowText(D.Edit, S != nullptr ? S : "");
    D.EditQuiet = false;
    return TRUE;
  }
  const LRESULT I = ToList(D, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), L);
  if (I < 0) return CB_ERR;
  ComboSelect(D, static_cast<Integer>(I), false);
  return TRUE;
}

LRESULT GetDlgCode(const TComboData& D, LPARAM L) {
  LRESULT R = DLGC_WANTARROWS | DLGC_WANTCHARS;
  const MSG* M = reinterpret_cast<const MSG*>(L);
  if (D.Dropped && M != nullptr && M->message == WM_KEYDOWN &&
      (M->wParam == VK_RETURN || M->wParam == VK_ESCAPE))
    R |= DLGC_WANTMESSAGE;
  return R;
}

LRESULT ComboInfo(const TComboData& D, COMBOBOXINFO* Info) {
  if (Info == nullptr) return FALSE;
  Info->rcItem = ComboFieldRect(D);
  Info->rcButton = ComboButtonRect(D);
  Info->stateButton = ComboType(D) == CBS_SIMPLE ? STATE_SYSTEM_INVISIBLE
                      : D.ButtonDown             ? STATE_SYSTEM_PRESSED
                                                 : 0;
  Info->hwndCombo = D.Wnd;
  Info->hwndItem = D.Edit != nullptr ? D.Edit : D.Wnd;
  Info->hwndList = D.List;
  return TRUE;
}

LRESULT SetItemHeight(TComboData& D, Integer Index, Integer Height) {
  if (Height <= 0 || Height > 255) return CB_ERR;
  if (Index != -1) return ToList(D, LB_SETITEMHEIGHT, static_cast<WPARAM>(Index), MAKELPARAM(Height, 0));
  D.FieldHeight = Height;
  FitHeight(D);
  Layout(D);
  return CB_OKAY;
}

LRESULT DroppedWidth(const TComboData& D) {
  RECT W;
  GetWindowRect(D.Wnd, &W);
  return std::max(D.DroppedWidth, W.Width());
}

LRESULT ComboWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TComboData* PD = ComboDataOf(Wnd);
  if (PD == nullptr) return DefWindowProc(Wnd, Msg, WParam, LParam);
  TComboData& D = *PD;
  const Integer Index = static_cast<Integer>(WParam);
  switch (Msg) {
    case WM_CREATE:
      Create(D, reinterpret_cast<const CREATESTRUCT*>(LParam));
      return 0;
    case WM_DESTROY:
      if (D.Tracking && GetCapture() == Wnd) ReleaseCapture();
      D.Dropped = D.Tracking = false;
      // The pop-up list belongs to the combo's top-level window, so it goes with the combo here.
      if (ComboType(D) != CBS_SIMPLE && D.List != nullptr) {
        const HWND List = D.List;
        D.List = nullptr;
        DestroyWindow(List);
      }
      return 0;
    case WM_WINDOWPOSCHANGING: {
      auto* P = reinterpret_cast<WINDOWPOS*>(LParam);
      if (P != nullptr && !(P->flags & SWP_NOSIZE) && ComboType(D) != CBS_SIMPLE && D.FieldHeight > 0) {
        const Integer Closed = ComboClosedHeight(D);
        if (P->cy > Closed) D.DropHeight = P->cy - Closed;
        P->cy = Closed;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    case WM_SIZE:
      Layout(D);
      return 0;
    case WM_SETFONT:
      SetFont(D, reinterpret_cast<HFONT>(WParam), LOWORD(static_cast<std::uintptr_t>(LParam)) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(D.Font);
    case WM_SETTEXT:
      return SetText(D, LParam);
    case WM_GETTEXT:
      if (D.Edit != nullptr) return SendMessage(D.Edit, Msg, WParam, LParam);
      return CopyTextOut(SelectedText(D), reinterpret_cast<char*>(LParam), WParam);
    case WM_GETTEXTLENGTH:
      if (D.Edit != nullptr) return SendMessage(D.Edit, Msg, WParam, LParam);
      return static_cast<LRESULT>(SelectedText(D).size());
    case WM_ENABLE:
      if (D.Edit != nullptr) EnableWindow(D.Edit, WParam != 0);
      if (WParam == 0 && D.Dropped) ComboCloseUp(Wnd, TComboClose::Cancel);
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_SETFOCUS:
      if (D.Edit != nullptr)
        SetFocus(D.Edit);
      else
        ComboFocus(D, true);
      return 0;
    case WM_KILLFOCUS: {
      const HWND New = reinterpret_cast<HWND>(WParam);
      if (New == nullptr || (New != D.Edit && New != Wnd)) ComboFocus(D, false);
      return 0;
    }
    case WM_GETDLGCODE:
      return GetDlgCode(D, LParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if ((Msg == WM_KEYDOWN || WParam == VK_UP || WParam == VK_DOWN) &&
          ComboKeyDown(D, WParam, Msg == WM_SYSKEYDOWN))
        return 0;
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_CHAR:
      return ComboChar(D, WParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      return ComboMouse(D, Msg, WParam, LParam);
    case WM_CAPTURECHANGED:
      ComboCaptureChanged(D, reinterpret_cast<HWND>(LParam));
      return 0;
    case WM_MOUSEWHEEL:
      return ComboWheel(D, WParam, LParam);
    case WM_CANCELMODE:
      if (D.Dropped) ComboCloseUp(Wnd, TComboClose::Cancel);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_COMMAND:
      ComboChildCommand(D, HIWORD(WParam), reinterpret_cast<HWND>(LParam));
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      // The parts' colours are the parent's.
      if (HWND P = GetParent(Wnd)) return SendMessage(P, Msg, WParam, LParam);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, ComboPaint);
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole client area

    case CB_ADDSTRING:
      return ToList(D, LB_ADDSTRING, WParam, LParam);
    case CB_INSERTSTRING:
      return ToList(D, LB_INSERTSTRING, WParam, LParam);
    case CB_DELETESTRING: {
      const bool WasShown = Index == D.ShownIndex;
      const LRESULT R = ToList(D, LB_DELETESTRING, WParam, LParam);
      if (R != LB_ERR) {
        if (WasShown || D.Edit == nullptr)
          ComboShowSelection(D);
        else
          D.ShownIndex = ComboCurSel(D);
      }
      return R;
    }
    case CB_RESETCONTENT:
      ToList(D, LB_RESETCONTENT, 0, 0);
      ComboShowSelection(D);
      return CB_OKAY;
    case CB_GETCOUNT:
      return ToList(D, LB_GETCOUNT, 0, 0);
    case CB_GETLBTEXT:
      return ToList(D, LB_GETTEXT, WParam, LParam);
    case CB_GETLBTEXTLEN:
      return ToList(D, LB_GETTEXTLEN, WParam, LParam);
    case CB_FINDSTRING:
      return ToList(D, LB_FINDSTRING, WParam, LParam);
    case CB_FINDSTRINGEXACT:
      return ToList(D, LB_FINDSTRINGEXACT, WParam, LParam);
    case CB_SELECTSTRING: {
      const LRESULT R = ToList(D, LB_FINDSTRING, WParam, LParam);
      if (R >= 0) ComboSelect(D, static_cast<Integer>(R), false);
      return R;
    }
    case CB_SETCURSEL: {
      const LRESULT R = ToList(D, LB_SETCURSEL, WParam, 0);
      ComboShowSelection(D);
      return R;
    }
    case CB_GETCURSEL:
      return ToList(D, LB_GETCURSEL, 0, 0);
    case CB_SETITEMDATA:
      return ToList(D, LB_SETITEMDATA, WParam, LParam);
    case CB_GETITEMDATA:
      return ToList(D, LB_GETITEMDATA, WParam, LParam);
    case CB_GETTOPINDEX:
      return ToList(D, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX:
      return ToList(D, LB_SETTOPINDEX, WParam, 0);
    case CB_GETHORIZONTALEXTENT:
      return ToList(D, LB_GETHORIZONTALEXTENT, 0, 0);
    case CB_SETHORIZONTALEXTENT:
      return ToList(D, LB_SETHORIZONTALEXTENT, WParam, 0);
    case CB_INITSTORAGE:
      return ToList(D, LB_INITSTORAGE, WParam, LParam);
    case CB_SETLOCALE:
    case CB_GETLOCALE:
      return 0x0409;
    case CB_DIR:
      return CB_ERR;
    case CB_SHOWDROPDOWN:
      if (WParam != 0)
        ComboDropDown(D);
      else
        ComboCloseUp(Wnd, TComboClose::Quiet);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return D.Dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
      if (LParam != 0) {
        RECT W;
        GetWindowRect(Wnd, &W);
        const TRect L = ComboDropRect(D);
        *reinterpret_cast<RECT*>(LParam) = {W.Left, W.Top, L.Right, W.Bottom + L.Height()};
      }
      return CB_OKAY;
    case CB_SETDROPPEDWIDTH:
      if (Index < 0) return CB_ERR;
      D.DroppedWidth = Index;
      return DroppedWidth(D);
    case CB_GETDROPPEDWIDTH:
      return DroppedWidth(D);
    case CB_SETITEMHEIGHT:
      return SetItemHeight(D, Index, static_cast<Integer>(LOWORD(static_cast<std::uintptr_t>(LParam))));
    case CB_GETITEMHEIGHT:
      return Index == -1 ? D.FieldHeight : ToList(D, LB_GETITEMHEIGHT, WParam, 0);
    case CB_SETEXTENDEDUI:
      D.ExtendedUI = WParam != 0;
      return CB_OKAY;
    case CB_GETEXTENDEDUI:
      return D.ExtendedUI ? TRUE : FALSE;
    case CB_LIMITTEXT:
      if (D.Edit != nullptr) SendMessage(D.Edit, EM_LIMITTEXT, WParam, 0);
      return TRUE;
    case CB_SETEDITSEL:
      if (D.Edit == nullptr) return CB_ERR;
      SendMessage(D.Edit, EM_SETSEL,
                  static_cast<WPARAM>(static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(LParam)))),
                  static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(LParam))));
      return TRUE;
    case CB_GETEDITSEL:
      if (D.Edit == nullptr) return CB_ERR;
      return SendMessage(D.Edit, EM_GETSEL, WParam, LParam);
    case CB_GETCOMBOBOXINFO:
      return ComboInfo(D, reinterpret_cast<COMBOBOXINFO*>(LParam));
    case CB_SETMINVISIBLE:
      if (Index < 1) return FALSE;
      D.MinVisible = Index;
      D.MinVisibleSet = true;
      return TRUE;
    case CB_GETMINVISIBLE:
      return D.MinVisible;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

TComboData* ComboDataOf(HWND Wnd) {
  return BoundControlData<TComboData>(Wnd);
}

DWORD ComboStyle(const TComboData& D) {
  return LiveWindowStyle(D.Wnd);
}

DWORD ComboType(const TComboData& D) {
  const DWORD T = ComboStyle(D) & 3;
  return T == 0 ? CBS_SIMPLE : T;
}

bool ComboOwnerDraw(const TComboData& D) {
  return (ComboStyle(D) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

TListBoxData* ComboList(const TComboData& D) {
  return D.List != nullptr && PeekWindow(D.List) != nullptr ? ListDataOf(D.List) : nullptr;
}

Integer ComboCurSel(const TComboData& D) {
  const TListBoxData* L = ComboList(D);
  return L != nullptr ? L->CurSel : -1;
}

Integer ComboClosedHeight(const TComboData& D) {
  return D.FieldHeight + 2 * (Edge() + 1);
}

TRect ComboButtonRect(const TComboData& D) {
  if (ComboType(D) == CBS_SIMPLE) return TRect{};
  const TRect C = ClientRectOf(D.Wnd);
  const Integer E = Edge();
  const TRect In{C.Left + E, C.Top + E, C.Right - E, C.Bottom - E};
  const Integer W = std::min(GetSystemMetrics(SM_CXVSCROLL), std::max(0, In.Width()));
  return {In.Right - W, In.Top, In.Right, In.Bottom};
}

TRect ComboFieldRect(const TComboData& D) {
  const TRect C = ClientRectOf(D.Wnd);
  const Integer G = Edge() + 1;
  if (ComboType(D) == CBS_SIMPLE)
    return {C.Left + G, C.Top + G, std::max(C.Left + G, C.Right - G), C.Top + G + D.FieldHeight};
  const TRect B = ComboButtonRect(D);
  return {C.Left + G, C.Top + G, std::max(C.Left + G, B.Left - 1), std::max(C.Top + G, C.Bottom - G)};
}

TRect ComboDropRect(const TComboData& D) {
  RECT W;
  GetWindowRect(D.Wnd, &W);
  const Integer Width = std::max(D.DroppedWidth, W.Width());
  const Integer Border = 2 * GetSystemMetrics(SM_CYBORDER);
  const TListBoxData* L = ComboList(D);
  const Integer N = L != nullptr ? ItemCount(*L) : 0;
  const Integer ItemH = L != nullptr ? ListItemHeight(*L, 0) : std::max(1, D.Metrics.Height);
  Integer H = 0;
  if (D.MinVisibleSet) {
    for (Integer I = 0; I < std::min(N, D.MinVisible); ++I) H += ListItemHeight(*L, I);
  } else {
    const Integer Avail = D.DropHeight - Border;
    const bool Whole = !(ComboStyle(D) & CBS_NOINTEGRALHEIGHT);
    for (Integer I = 0; I < N; ++I) {
      const Integer Next = H + ListItemHeight(*L, I);
      if (Next > Avail) {
        if (!Whole) H = std::max(H, Avail);
        break;
      }
      H = Next;
    }
  }
  H = std::max(H, ItemH);
  const TRect Work = WorkArea();
  Integer Y = W.Bottom;
  if (Y + H + Border > Work.Bottom && W.Top - (H + Border) >= Work.Top) Y = W.Top - (H + Border);
  return {W.Left, Y, W.Left + Width, Y + H + Border};
}

BOOL GetComboBoxInfo(HWND Combo, COMBOBOXINFO* Info) {
  if (Info == nullptr || !IsWindow(Combo)) return FALSE;
  return SendMessage(Combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(Info)) ? TRUE : FALSE;
}

void RegisterComboBoxClass() {
  RegisterListBoxClass();  // the list it drops ("ComboLBox")
  if (FindWindowClass("COMBOBOX") != nullptr) return;
  WNDCLASSEX WC;
  WC.style = CS_DBLCLKS | CS_GLOBALCLASS;
  WC.lpfnWndProc = MakeWndProc(ComboWndProc);
  WC.hCursor = LoadCursor(nullptr, IDC_ARROW);
  WC.lpszClassName = "COMBOBOX";
  RegisterClassEx(&WC);
}
