// The LISTBOX control's view: item geometry, scrolling, the integral height and painting.
#include <algorithm>

#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/ListBoxControl.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

Integer ClientHeight(const TListBoxData& D) {
  return ClientRectOf(D.Wnd).Height();
}

// Tab stops in pixels for LBS_USETABSTOPS (dialog units are a quarter of the average width).
std::vector<Integer> TabStopPixels(const TListBoxData& D) {
  std::vector<Integer> Px;
  const Integer Ave = std::max(1, D.Metrics.AveCharWidth);
  if (D.TabStops.empty()) Px.push_back(32 * Ave / 4);
  for (Integer Stop : D.TabStops) Px.push_back(Stop * Ave / 4);
  return Px;
}

void DrawItem(TListBoxData& D, HDC DC, Integer Index, const TRect& R, UINT Action, HBRUSH Brush) {
  const bool Selected = IsSelected(D, Index);
  const bool Focus = D.Focused && Index == D.Caret;
  const bool Disabled = !IsWindowEnabled(D.Wnd);
  if (IsOwnerDraw(D)) {
    const TOwnerInfo O = ListOwner(D);
    if (O.Target == nullptr) return;
    DRAWITEMSTRUCT DI;
    DI.CtlType = O.CtlType;
    DI.CtlID = O.CtlID;
    DI.itemID = static_cast<UINT>(Index);
    DI.itemAction = Action;
    DI.itemState = (Selected ? ODS_SELECTED : 0) | (Focus ? ODS_FOCUS : 0) | (Disabled ? ODS_DISABLED : 0);
    DI.hwndItem = O.Item;
    DI.hDC = DC;
    DI.rcItem = R;
    DI.itemData = Index >= 0 && Index < ItemCount(D) ? D.Items[static_cast<std::size_t>(Index)].Data : 0;
    SendMessage(O.Target, WM_DRAWITEM, O.CtlID, reinterpret_cast<LPARAM>(&DI));
    return;
  }
  if (Index < 0 || Index >= ItemCount(D)) return;
  FillRect(DC, &R, Selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : Brush);
  const COLORREF OldText = Selected   ? SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT))
                           : Disabled ? SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT))
                                      : GetTextColor(DC);
  const Integer OldMode = SetBkMode(DC, TRANSPARENT);
  const std::string& Text = D.Items[static_cast<std::size_t>(Index)].Text;
  const Integer Saved = SaveDC(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  if (ListStyle(D) & LBS_USETABSTOPS) {
    const std::vector<Integer> Stops = TabStopPixels(D);
    TabbedTextOut(DC, R.Left + 1, R.Top, Text.c_str(), static_cast<Integer>(Text.size()),
                  static_cast<Integer>(Stops.size()), Stops.data(), R.Left + 1);
  } else {
    ExtTextOut(DC, R.Left + 1, R.Top, 0, nullptr, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
  }
  RestoreDC(DC, Saved);
  SetBkMode(DC, OldMode);
  SetTextColor(DC, OldText);
  if (Focus) DrawFocusRect(DC, &R);
}

// An empty owner-drawn list that has the focus asks its owner for the focus rectangle alone.
void DrawEmptyFocus(TListBoxData& D, HDC DC, HBRUSH Brush) {
  if (!IsOwnerDraw(D) || !D.Focused || ItemCount(D) > 0) return;
  DrawItem(D, DC, -1, ListItemRect(D, 0), ODA_FOCUS, Brush);
}

}  // namespace

Integer ListDefaultItemHeight(const TListBoxData& D) {
  return std::max(1, D.Metrics.Height);
}

Integer ListItemHeight(const TListBoxData& D, Integer Index) {
  if (IsVariable(D) && Index >= 0 && Index < ItemCount(D))
    return D.Items[static_cast<std::size_t>(Index)].Height;
  return std::max(1, D.ItemHeight);
}

Integer ListPageSize(const TListBoxData& D) {
  const Integer H = ClientHeight(D);
  if (!IsVariable(D)) return std::max(1, H / std::max(1, D.ItemHeight));
  Integer N = 0, Sum = 0;
  for (Integer I = D.Top; I < ItemCount(D); ++I) {
    Sum += ListItemHeight(D, I);
    if (Sum > H) break;
    ++N;
  }
  return std::max(1, N);
}

Integer ListMaxTop(const TListBoxData& D) {
  const Integer N = ItemCount(D);
  const Integer H = ClientHeight(D);
  if (!IsVariable(D)) return std::max(0, N - std::max(1, H / std::max(1, D.ItemHeight)));
  Integer T = N, Sum = 0;
  while (T > 0 && Sum + ListItemHeight(D, T - 1) <= H) Sum += ListItemHeight(D, --T);
  return std::clamp(T, 0, std::max(0, N - 1));
}

TRect ListItemRect(const TListBoxData& D, Integer Index) {
  Integer Y = 0;
  if (!IsVariable(D)) {
    Y = (Index - D.Top) * std::max(1, D.ItemHeight);
  } else if (Index >= D.Top) {
    for (Integer I = D.Top; I < Index; ++I) Y += ListItemHeight(D, I);
  } else {
    for (Integer I = Index; I < D.Top; ++I) Y -= ListItemHeight(D, I);
  }
  const Integer Width = std::max(ClientRectOf(D.Wnd).Width(), D.HorzExtent);
  return {-D.HorzPos, Y, Width - D.HorzPos, Y + ListItemHeight(D, Index)};
}

Integer ListItemFromPoint(const TListBoxData& D, TPoint P, bool* Outside) {
  const TRect C = ClientRectOf(D.Wnd);
  if (Outside != nullptr) *Outside = !RectContains(C, P);
  const Integer N = ItemCount(D);
  if (N == 0) return -1;
  Integer I;
  if (!IsVariable(D)) {
    const Integer H = std::max(1, D.ItemHeight);
    I = D.Top + (P.Y >= 0 ? P.Y / H : -((-P.Y + H - 1) / H));
  } else {
    I = D.Top;
    Integer Y = 0;
    if (P.Y >= 0) {
      while (I < N - 1 && Y + ListItemHeight(D, I) <= P.Y) Y += ListItemHeight(D, I++);
    } else {
      while (I > 0 && Y > P.Y) Y -= ListItemHeight(D, --I);
    }
  }
  return std::clamp(I, 0, N - 1);
}

bool ListSetTop(TListBoxData& D, Integer Top) {
  Top = std::clamp(Top, 0, ListMaxTop(D));
  if (Top == D.Top) return false;
  D.Top = Top;
  ListInvalidate(D);
  ListUpdateScrollBars(D);
  return true;
}

void ListShow(TListBoxData& D, Integer Index, bool Fully) {
  if (Index < 0 || Index >= ItemCount(D)) return;
  if (Index < D.Top) {
    ListSetTop(D, Index);
    return;
  }
  const Integer H = ClientHeight(D);
  Integer Top = D.Top;
  auto Bottom = [&] {
    Integer Y = 0;
    for (Integer I = Top; I <= Index; ++I) Y += ListItemHeight(D, I);
    return Y;
  };
  if (!IsVariable(D)) {
    const Integer Item = std::max(1, D.ItemHeight);
    const Integer Page = std::max(1, H / Item);
    const Integer Shown = Fully ? Page : std::max(1, (H + Item - 1) / Item);
    if (Index >= Top + Shown) Top = Index - Page + 1;
  } else {
    while (Top < Index && Bottom() > H && (Fully || Bottom() - ListItemHeight(D, Index) >= H)) ++Top;
  }
  ListSetTop(D, Top);
}

bool ListSetHorzPos(TListBoxData& D, Integer Pos) {
  Pos = std::clamp(Pos, 0, std::max(0, D.HorzExtent - ClientRectOf(D.Wnd).Width()));
  if (Pos == D.HorzPos) return false;
  D.HorzPos = Pos;
  ListInvalidate(D);
  ListUpdateScrollBars(D);
  return true;
}

void ListUpdateScrollBars(TListBoxData& D) {
  auto Apply = [&D](Integer Bar, SCROLLINFO& Last, Integer Max, Integer Page, Integer Pos) {
    SCROLLINFO SI;
    SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (ListStyle(D) & LBS_DISABLENOSCROLL) SI.fMask |= SIF_DISABLENOSCROLL;
    SI.nMin = 0;
    SI.nMax = std::max(0, Max);
    SI.nPage = static_cast<UINT>(std::max(1, Page));
    SI.nPos = Pos;
    if (Last.fMask == SI.fMask && Last.nMax == SI.nMax && Last.nPage == SI.nPage && Last.nPos == SI.nPos)
      return;
    Last = SI;
    SetScrollInfo(D.Wnd, Bar, &SI, TRUE);
  };
  if (D.VScroll) Apply(SB_VERT, D.LastV, ItemCount(D) - 1, ListPageSize(D), D.Top);
  if (D.HScroll) Apply(SB_HORZ, D.LastH, D.HorzExtent - 1, ClientRectOf(D.Wnd).Width(), D.HorzPos);
}

void ListSized(TListBoxData& D, bool Resized) {
  if (!(ListStyle(D) & LBS_NOINTEGRALHEIGHT) && !IsVariable(D)) {
    // Whole rows of the height last asked for (not the height cut for an older item height).
    RECT W;
    GetWindowRect(D.Wnd, &W);
    if ((Resized && !D.Cutting) || D.AskedHeight == 0) D.AskedHeight = W.Height();
    const Integer Frame = W.Height() - ClientHeight(D), Item = std::max(1, D.ItemHeight);
    const Integer Asked = D.AskedHeight - Frame;
    const Integer Whole = Asked > Item ? Asked - Asked % Item : Asked;
    if (Whole + Frame != W.Height()) {
      D.Cutting = true;
      SetWindowPos(D.Wnd, nullptr, 0, 0, W.Width(), Whole + Frame,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      D.Cutting = false;
      return;  // the WM_SIZE of the new height finished the work
    }
  }
  D.Top = std::clamp(D.Top, 0, ListMaxTop(D));
  D.HorzPos = std::clamp(D.HorzPos, 0, std::max(0, D.HorzExtent - ClientRectOf(D.Wnd).Width()));
  ListUpdateScrollBars(D);
  ListInvalidate(D);
}

void ListInvalidate(TListBoxData& D) {
  InvalidateRect(D.Wnd, nullptr, TRUE);
}

void ListRepaintItem(TListBoxData& D, Integer Index, UINT Action) {
  if (D.NoRedraw || !IsWindowVisible(D.Wnd)) return;
  const bool Empty = ItemCount(D) == 0;
  if (!Empty && (Index < 0 || Index >= ItemCount(D))) return;
  const TRect C = ClientRectOf(D.Wnd);
  const TRect R = ListItemRect(D, Empty ? 0 : Index);
  if (R.Bottom <= C.Top || R.Top >= C.Bottom) return;
  HDC DC = GetDC(D.Wnd);
  if (DC == nullptr) return;
  HBRUSH Brush = ListColors(D, DC);
  const HGDIOBJ OldFont = SelectObject(DC, ControlFontOrSystem(D.Font));
  IntersectClipRect(DC, C.Left, C.Top, C.Right, C.Bottom);
  if (Empty)
    DrawEmptyFocus(D, DC, Brush);
  else
    DrawItem(D, DC, Index, R, Action, Brush);
  SelectObject(DC, OldFont);
  ReleaseDC(D.Wnd, DC);
}

void ListEraseBackground(TListBoxData& D, HDC DC) {
  if (DC == nullptr) return;
  HBRUSH Brush = ListColors(D, DC);
  const RECT C = ClientRectOf(D.Wnd);
  FillRect(DC, &C, Brush);
}

void ListPaint(HWND Wnd, HDC DC) {
  TListBoxData* PD = ListDataOf(Wnd);
  if (PD == nullptr) return;
  TListBoxData& D = *PD;
  HBRUSH Brush = ListColors(D, DC);
  const HGDIOBJ OldFont = SelectObject(DC, ControlFontOrSystem(D.Font));
  const TRect C = ClientRectOf(Wnd);
  RECT Clip;
  GetClipBox(DC, &Clip);
  Integer Bottom = C.Top;
  for (Integer I = D.Top; I < ItemCount(D); ++I) {
    const TRect R = ListItemRect(D, I);
    if (R.Top >= C.Bottom) break;
    Bottom = R.Bottom;
    if (R.Bottom <= Clip.Top || R.Top >= Clip.Bottom) continue;
    DrawItem(D, DC, I, R, ODA_DRAWENTIRE, Brush);
  }
  DrawEmptyFocus(D, DC, Brush);
  // The owner of an owner-drawn list paints only items; the erase fills the rest.
  if (!IsOwnerDraw(D) && Bottom < C.Bottom) {
    const RECT Rest{C.Left, Bottom, C.Right, C.Bottom};
    FillRect(DC, &Rest, Brush);
  }
  SelectObject(DC, OldFont);
}
