// The list view's geometry: item rectangles in the four views, hit tests and scrolling.
#include <algorithm>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/user/ListViewInternals.h"
#include "platform/user/ScrollInfo.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer RowExtra = 2;
constexpr Integer ListTextExtra = 4;
constexpr Integer OwnerDataListWidth = 100;
constexpr Integer IconCellExtraX = 43;
constexpr Integer IconTop = 2;
constexpr Integer LabelGap = 2;

// The widest item text of the list view (ordinary items only), kept until texts change.
Integer WidestText(HWND Wnd, TListViewData& D) {
  if (D.WidestText >= 0) return D.WidestText;
  HDC DC = CreateCompatibleDC(nullptr);
  const HGDIOBJ Old = SelectControlFont(DC, D);
  Integer W = 0;
  for (Integer I = 0; I < static_cast<Integer>(D.Items.size()); ++I) {
    const std::string T = D.Items[I].TextCallback ? ItemText(Wnd, I, 0) : D.Items[I].Text;
    SIZE S{};
    GetTextExtentPoint32A(DC, T.c_str(), static_cast<Integer>(T.size()), &S);
    W = std::max<Integer>(W, S.cx);
  }
  SelectObject(DC, Old);
  DeleteDC(DC);
  if (TListViewData* Again = ListData(Wnd)) Again->WidestText = W;
  return W;
}

}  // namespace

TListViewData* ListData(HWND Wnd) {
  return BoundControlData<TListViewData>(Wnd);
}

void NoteItemText(TListViewData& D, const std::string* Added) {
  if (Added == nullptr)
    D.WidestText = -1;
  else if (D.WidestText >= 0)
    D.WidestText = std::max(D.WidestText, ControlTextWidth(D, *Added));
}

bool IsOwnerData(HWND Wnd) {
  return LiveWindowStyle(Wnd) & LVS_OWNERDATA;
}

DWORD ViewOf(HWND Wnd) {
  return LiveWindowStyle(Wnd) & LVS_TYPEMASK;
}

Integer ItemCount(const TListViewData& D) {
  return (LiveWindowStyle(D.Wnd) & LVS_OWNERDATA) ? D.OwnerCount : static_cast<Integer>(D.Items.size());
}

bool ValidItem(const TListViewData& D, Integer I) {
  return I >= 0 && I < ItemCount(D);
}

UINT StateOf(const TListViewData& D, Integer I) {
  if (!ValidItem(D, I)) return 0;
  if (LiveWindowStyle(D.Wnd) & LVS_OWNERDATA)
    return static_cast<std::size_t>(I) < D.OwnerStates.size() ? D.OwnerStates[I] : 0;
  return D.Items[I].State;
}

TLvGeometry GeometryOf(HWND Wnd, TListViewData& D) {
  TLvGeometry G;
  const DWORD Style = LiveWindowStyle(Wnd);
  G.View = Style & LVS_TYPEMASK;
  const TRect C = ClientRectOf(Wnd);
  G.Client = {C.Width(), C.Height()};
  if (D.LineHeight == 0) D.LineHeight = ControlLineHeight(D);
  G.LineHeight = D.LineHeight;
  G.Small = ImageListSize(D.Images[LVSIL_SMALL]);
  G.Large = ImageListSize(D.Images[LVSIL_NORMAL]);
  G.State = ImageListSize(D.Images[LVSIL_STATE]);
  if ((D.ExStyle & LVS_EX_CHECKBOXES) && G.State.cx == 0) G.State = {16, 16};
  G.RowHeight = std::max({G.LineHeight, G.Small.cy, G.State.cy}) + RowExtra;
  if (G.View == LVS_REPORT && !(Style & LVS_NOCOLUMNHEADER) && D.Header != nullptr)
    G.HeaderHeight = G.LineHeight + 6;
  if (G.View == LVS_LIST || G.View == LVS_SMALLICON) {
    if (G.View == LVS_LIST && D.ListColumnWidth > 0)
      G.ColumnWidth = D.ListColumnWidth;
    else
      G.ColumnWidth = ((Style & LVS_OWNERDATA) ? OwnerDataListWidth : WidestText(Wnd, D) + ListTextExtra) +
                      G.State.cx + G.Small.cx;
    G.RowsPerColumn = std::max(1, G.Client.cy / G.RowHeight);
    G.ItemsPerRow = std::max(1, G.Client.cx / G.ColumnWidth);
  }
  if (G.View == LVS_ICON) {
    G.Cell.cx = D.IconSpacing.cx > 0 ? D.IconSpacing.cx : std::max(G.Large.cx, 32) + IconCellExtraX;
    G.Cell.cy = D.IconSpacing.cy > 0 ? D.IconSpacing.cy : G.Large.cy + 8 + 2 * G.LineHeight;
    G.ItemsPerRow = std::max(1, G.Client.cx / G.Cell.cx);
  }
  return G;
}

Integer TotalColumnsWidth(const TListViewData& D) {
  Integer W = 0;
  for (const TLvColumn& C : D.Columns) W += C.Width;
  return W;
}

TRect ColumnRect(const TListViewData& D, const TLvGeometry& G, Integer Column) {
  Integer X = -D.ScrollX;
  for (Integer K : D.Order) {
    if (K == Column) return {X, 0, X + D.Columns[K].Width, G.Client.cy};
    X += D.Columns[K].Width;
  }
  return {X, 0, X, G.Client.cy};
}

namespace {

// The cell of item I: the row of a report, the cell of the other views.
TRect CellOf(const TListViewData& D, const TLvGeometry& G, Integer I) {
  switch (G.View) {
    case LVS_REPORT: {
      const Integer Top = G.HeaderHeight + (I - D.ScrollY) * G.RowHeight;
      return {-D.ScrollX, Top, -D.ScrollX + TotalColumnsWidth(D), Top + G.RowHeight};
    }
    case LVS_LIST: {
      const Integer Col = I / G.RowsPerColumn - D.ScrollX, Row = I % G.RowsPerColumn;
      return {Col * G.ColumnWidth, Row * G.RowHeight, (Col + 1) * G.ColumnWidth, (Row + 1) * G.RowHeight};
    }
    case LVS_SMALLICON: {
      const Integer Col = I % G.ItemsPerRow, Row = I / G.ItemsPerRow;
      const Integer Y = Row * G.RowHeight - D.ScrollY;
      return {Col * G.ColumnWidth - D.ScrollX, Y, (Col + 1) * G.ColumnWidth - D.ScrollX, Y + G.RowHeight};
    }
    default: {
      const Integer Col = I % G.ItemsPerRow, Row = I / G.ItemsPerRow;
      const Integer X = Col * G.Cell.cx - D.ScrollX, Y = Row * G.Cell.cy - D.ScrollY;
      return {X, Y, X + G.Cell.cx, Y + G.Cell.cy};
    }
  }
}

Integer IndentOf(const TListViewData& D, Integer I) {
  if ((LiveWindowStyle(D.Wnd) & LVS_OWNERDATA) || !ValidItem(D, I)) return 0;
  return D.Items[I].Indent;
}

}  // namespace

TRect StateRect(const TListViewData& D, const TLvGeometry& G, Integer I) {
  const TRect Cell = CellOf(D, G, I);
  if (G.View == LVS_ICON) {
    const TRect Icon = ItemRect(D, G, I, LVIR_ICON);
    return {Icon.Left - G.State.cx, Icon.Bottom - G.State.cy, Icon.Left, Icon.Bottom};
  }
  Integer Left = Cell.Left;
  if (G.View == LVS_REPORT) Left = ColumnRect(D, G, 0).Left + IndentOf(D, I) * G.Small.cx;
  return {Left, Cell.Top, Left + G.State.cx, Cell.Bottom};
}

TRect ItemRect(const TListViewData& D, const TLvGeometry& G, Integer I, Integer Code) {
  const TRect Cell = CellOf(D, G, I);
  TRect Icon, Label;
  if (G.View == LVS_ICON) {
    const Integer Ix = Cell.Left + (G.Cell.cx - G.Large.cx) / 2;
    Icon = {Ix, Cell.Top + IconTop, Ix + G.Large.cx, Cell.Top + IconTop + G.Large.cy};
    Label = {Cell.Left, Icon.Bottom + LabelGap, Cell.Right, Icon.Bottom + LabelGap + G.LineHeight + 2};
    if (Code == LVIR_BOUNDS) return {Cell.Left, Cell.Top, Cell.Right, Label.Bottom};
  } else {
    const TRect State = StateRect(D, G, I);
    Icon = {State.Right, Cell.Top, State.Right + G.Small.cx, Cell.Bottom};
    const Integer Right = G.View == LVS_REPORT ? ColumnRect(D, G, 0).Right : Cell.Right;
    Label = {Icon.Right, Cell.Top, std::max(Icon.Right, Right), Cell.Bottom};
    if (Code == LVIR_BOUNDS)
      return G.View == LVS_REPORT ? Cell : TRect{State.Left, Cell.Top, Label.Right, Cell.Bottom};
  }
  switch (Code) {
    case LVIR_ICON:
      return Icon;
    case LVIR_LABEL:
      return Label;
    default:  // LVIR_SELECTBOUNDS
      if (G.View == LVS_REPORT && (D.ExStyle & LVS_EX_FULLROWSELECT)) return Cell;
      return {std::min(Icon.Left, Label.Left), std::min(Icon.Top, Label.Top),
              std::max(Icon.Right, Label.Right), std::max(Icon.Bottom, Label.Bottom)};
  }
}

TRect SubItemRect(const TListViewData& D, const TLvGeometry& G, Integer I, Integer Sub) {
  const TRect Row = CellOf(D, G, I);
  for (Integer C = 0; C < static_cast<Integer>(D.Columns.size()); ++C)
    if (D.Columns[C].SubItem == Sub) {
      const TRect Col = ColumnRect(D, G, C);
      return {Col.Left, Row.Top, Col.Right, Row.Bottom};
    }
  return {};
}

void VisibleRange(const TListViewData& D, const TLvGeometry& G, Integer& First, Integer& Last) {
  const Integer N = ItemCount(D);
  First = 0;
  Last = N - 1;
  if (G.View == LVS_REPORT) {
    First = D.ScrollY;
    Last = D.ScrollY + (G.Client.cy - G.HeaderHeight + G.RowHeight - 1) / G.RowHeight - 1;
  } else if (G.View == LVS_LIST) {
    First = D.ScrollX * G.RowsPerColumn;
    Last = First + ((G.Client.cx + G.ColumnWidth - 1) / G.ColumnWidth) * G.RowsPerColumn - 1;
  } else {
    const Integer RowH = G.View == LVS_ICON ? G.Cell.cy : G.RowHeight;
    First = std::max(0, D.ScrollY / RowH) * G.ItemsPerRow;
    Last = ((D.ScrollY + G.Client.cy + RowH - 1) / RowH) * G.ItemsPerRow - 1;
  }
  First = std::clamp(First, 0, std::max(0, N - 1));
  Last = std::min(Last, N - 1);
}

Integer CountPerPage(const TListViewData& D, const TLvGeometry& G) {
  switch (G.View) {
    case LVS_REPORT:
      return std::max(0, (G.Client.cy - G.HeaderHeight) / G.RowHeight);
    case LVS_LIST:
      return std::max(1, G.Client.cx / G.ColumnWidth) * G.RowsPerColumn;
    default:
      return ItemCount(D);
  }
}

Integer HitTestItem(HWND Wnd, TListViewData& D, TPoint P, UINT& Flags, Integer* Sub) {
  const TLvGeometry G = GeometryOf(Wnd, D);
  Flags = 0;
  if (Sub) *Sub = 0;
  if (P.Y < 0) Flags |= LVHT_ABOVE;
  if (P.Y >= G.Client.cy) Flags |= LVHT_BELOW;
  if (P.X < 0) Flags |= LVHT_TOLEFT;
  if (P.X >= G.Client.cx) Flags |= LVHT_TORIGHT;
  if (Flags != 0) return -1;
  Integer First = 0, Last = -1;
  VisibleRange(D, G, First, Last);
  for (Integer I = First; I <= Last; ++I) {
    if (G.View == LVS_REPORT && P.Y < G.HeaderHeight) break;
    const TRect Bounds = ItemRect(D, G, I, LVIR_BOUNDS);
    if (!RectContains(Bounds, P)) continue;
    if (Sub && G.View == LVS_REPORT)
      for (const TLvColumn& C : D.Columns)
        if (RectContains(SubItemRect(D, G, I, C.SubItem), P)) *Sub = C.SubItem;
    if (G.State.cx > 0 && RectContains(StateRect(D, G, I), P))
      Flags = LVHT_ONITEMSTATEICON;
    else if (RectContains(ItemRect(D, G, I, LVIR_ICON), P))
      Flags = LVHT_ONITEMICON;
    else if (RectContains(ItemRect(D, G, I, LVIR_LABEL), P) ||
             (G.View == LVS_REPORT && (D.ExStyle & LVS_EX_FULLROWSELECT)))
      Flags = LVHT_ONITEMLABEL;
    else if (G.View == LVS_REPORT)
      Flags = LVHT_ONITEMLABEL;  // a sub-item's cell
    else
      continue;
    return I;
  }
  Flags = LVHT_NOWHERE;
  return -1;
}

// ---- Scrolling --------------------------------------------------------------------------------

namespace {

// The largest scroll positions and the page sizes, in the view's units.
void ScrollLimits(const TListViewData& D, const TLvGeometry& G, TSize& Range, TSize& Page) {
  const Integer N = ItemCount(D);
  Range = {0, 0};
  Page = {G.Client.cx, G.Client.cy};
  switch (G.View) {
    case LVS_REPORT:
      Range = {TotalColumnsWidth(D), N};
      Page.cy = CountPerPage(D, G);
      break;
    case LVS_LIST:
      Range = {(N + G.RowsPerColumn - 1) / G.RowsPerColumn, 0};
      Page.cx = std::max(1, G.Client.cx / G.ColumnWidth);
      break;
    case LVS_SMALLICON:
      Range = {G.ItemsPerRow * G.ColumnWidth, ((N + G.ItemsPerRow - 1) / G.ItemsPerRow) * G.RowHeight};
      break;
    default:
      Range = {G.ItemsPerRow * G.Cell.cx, ((N + G.ItemsPerRow - 1) / G.ItemsPerRow) * G.Cell.cy};
      break;
  }
}

void SetBar(HWND Wnd, Integer Bar, Integer Range, Integer Page, Integer Pos) {
  SCROLLINFO Info;
  Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  Info.nMin = 0;
  Info.nMax = std::max(0, Range - 1);
  Info.nPage = static_cast<UINT>(std::max(0, Page));
  Info.nPos = Pos;
  SetScrollInfo(Wnd, Bar, &Info, TRUE);
}

}  // namespace

void UpdateScrolling(HWND Wnd) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || D->Syncing) return;
  D->Syncing = true;
  // Showing a bar changes the client area: a second pass settles it.
  for (Integer Pass = 0; Pass < 2; ++Pass) {
    D = ListData(Wnd);
    if (D == nullptr) return;
    const TLvGeometry G = GeometryOf(Wnd, *D);
    TSize Range, Page;
    ScrollLimits(*D, G, Range, Page);
    D->ScrollX = std::clamp(D->ScrollX, 0, std::max(0, Range.cx - Page.cx));
    D->ScrollY = std::clamp(D->ScrollY, 0, std::max(0, Range.cy - Page.cy));
    const bool NoScroll = LiveWindowStyle(Wnd) & LVS_NOSCROLL;
    if (!NoScroll) {
      SetBar(Wnd, SB_HORZ, Range.cx, Page.cx, D->ScrollX);
      if ((D = ListData(Wnd)) == nullptr) return;
      SetBar(Wnd, SB_VERT, Range.cy, Page.cy, D->ScrollY);
      if ((D = ListData(Wnd)) == nullptr) return;
    }
    if (IsWindow(D->Header)) {
      const TLvGeometry G2 = GeometryOf(Wnd, *D);
      const bool Shown = G2.View == LVS_REPORT && !(LiveWindowStyle(Wnd) & LVS_NOCOLUMNHEADER);
      SetWindowPos(D->Header, nullptr, -D->ScrollX, 0,
                   std::max(G2.Client.cx + D->ScrollX, TotalColumnsWidth(*D)), G2.LineHeight + 6,
                   SWP_NOZORDER | SWP_NOACTIVATE | (Shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
      if ((D = ListData(Wnd)) == nullptr) return;
    }
  }
  D->Syncing = false;
}

void ScrollTo(HWND Wnd, Integer X, Integer Y) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr) return;
  if (X == D->ScrollX && Y == D->ScrollY) return;
  D->ScrollX = X;
  D->ScrollY = Y;
  UpdateScrolling(Wnd);
  InvalidateRect(Wnd, nullptr, TRUE);
}

void EnsureVisible(HWND Wnd, Integer I, bool Partial) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || !ValidItem(*D, I)) return;
  const TLvGeometry G = GeometryOf(Wnd, *D);
  Integer X = D->ScrollX, Y = D->ScrollY;
  switch (G.View) {
    case LVS_REPORT: {
      const Integer Page = std::max(1, CountPerPage(*D, G));
      if (I < Y) Y = I;
      if (I >= Y + Page) Y = Partial && I < Y + Page + 1 ? Y : I - Page + 1;
      break;
    }
    case LVS_LIST: {
      const Integer Col = I / G.RowsPerColumn, Page = std::max(1, G.Client.cx / G.ColumnWidth);
      if (Col < X) X = Col;
      if (Col >= X + Page) X = Col - Page + 1;
      break;
    }
    default: {
      const TRect R = ItemRect(*D, G, I, LVIR_BOUNDS);
      if (R.Top < 0) Y += R.Top;
      if (R.Bottom > G.Client.cy && R.Top > 0) Y += std::min(R.Top, R.Bottom - G.Client.cy);
      break;
    }
  }
  ScrollTo(Wnd, X, Y);
}
