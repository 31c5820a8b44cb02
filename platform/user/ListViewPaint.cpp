// The list view's painting in the classic look.
#include <algorithm>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/ImageLists.h"
#include "platform/user/Input.h"
#include "platform/user/ListViewInternals.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer LabelInset = 2;
constexpr Integer CellInset = 6;
constexpr Integer CheckSize = 13;

COLORREF ColorOr(COLORREF C, Integer SysColor) {
  return C == CLR_DEFAULT ? GetSysColor(SysColor) : C;
}

UINT AlignOf(Integer Format) {
  switch (Format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
      return DT_RIGHT;
    case LVCFMT_CENTER:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

void Fill(HDC DC, const TRect& R, COLORREF Color) {
  if (Color == CLR_NONE || R.Right <= R.Left || R.Bottom <= R.Top) return;
  HBRUSH B = CreateSolidBrush(Color);
  const RECT Box = R;
  FillRect(DC, &Box, B);
  DeleteObject(B);
}

// The state image or check box of item I at R.
void DrawStateImage(HDC DC, const TListViewData& D, const TRect& R, UINT State) {
  const Integer Index = static_cast<Integer>((State & LVIS_STATEIMAGEMASK) >> 12);
  if (D.Images[LVSIL_STATE] != nullptr) {
    if (Index > 0) {
      const TSize S = ImageListSize(D.Images[LVSIL_STATE]);
      ImageList_Draw(D.Images[LVSIL_STATE], Index - 1, DC, R.Left, R.Top + (R.Height() - S.cy) / 2,
                     ILD_TRANSPARENT);
    }
    return;
  }
  if (!(D.ExStyle & LVS_EX_CHECKBOXES)) return;
  const Integer X = R.Left + (R.Width() - CheckSize) / 2, Y = R.Top + (R.Height() - CheckSize) / 2;
  RECT Box{X, Y, X + CheckSize, Y + CheckSize};
  DrawFrameControl(DC, &Box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (Index == 2 ? DFCS_CHECKED : 0));
}

struct TItemPaint {
  HWND Wnd;
  HDC DC;
  TListViewData& D;
  const TLvGeometry& G;
  LRESULT Wants;  // the answer to CDDS_PREPAINT
  COLORREF Back;  // the view's background
};

// One report cell of a sub-item (Sub > 0) of row I.
void DrawSubItem(TItemPaint& P, Integer I, Integer Column, bool Selected, COLORREF Text, COLORREF TextBk,
                 LRESULT ItemWants) {
  const TLvColumn& Col = P.D.Columns[Column];
  TRect Cell = SubItemRect(P.D, P.G, I, Col.SubItem);
  if (Cell.Right <= 0 || Cell.Left >= P.G.Client.cx) return;
  NMLVCUSTOMDRAW CD;
  CD.nmcd.hdc = P.DC;
  CD.nmcd.rc = Cell;
  CD.nmcd.dwItemSpec = static_cast<ULONG_PTR>(I);
  CD.clrText = Text;
  CD.clrTextBk = TextBk;
  CD.iSubItem = Col.SubItem;
  if ((ItemWants & CDRF_NOTIFYSUBITEMDRAW) &&
      (SendCustomDraw(P.Wnd, CD.nmcd, CDDS_ITEMPREPAINT | CDDS_SUBITEM) & CDRF_SKIPDEFAULT))
    return;
  if (!Selected && CD.clrTextBk != CLR_NONE && CD.clrTextBk != CLR_DEFAULT) Fill(P.DC, Cell, CD.clrTextBk);
  const std::string S = ItemText(P.Wnd, I, Col.SubItem);
  DrawCellText(P.DC, S, InflatedRect(Cell, -CellInset, 0), AlignOf(Col.Format), CD.clrText);
}

void DrawItem(TItemPaint& P, Integer I) {
  TListViewData* Dp = ListData(P.Wnd);
  if (Dp == nullptr || !ValidItem(*Dp, I)) return;
  const UINT State = StateOf(*Dp, I);
  const DWORD Style = LiveWindowStyle(P.Wnd);
  const bool Selected = (State & LVIS_SELECTED) && (P.D.Focused || (Style & LVS_SHOWSELALWAYS));
  const TRect Bounds = ItemRect(P.D, P.G, I, LVIR_BOUNDS);
  COLORREF Text = ColorOr(P.D.TextColor, COLOR_WINDOWTEXT);
  COLORREF TextBk = P.D.TextBkColor;
  if (Selected) {
    Text = GetSysColor(P.D.Focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    TextBk = GetSysColor(P.D.Focused ? COLOR_HIGHLIGHT : COLOR_3DFACE);
  }
  NMLVCUSTOMDRAW CD;
  CD.nmcd.hdc = P.DC;
  CD.nmcd.rc = Bounds;
  CD.nmcd.dwItemSpec = static_cast<ULONG_PTR>(I);
  CD.nmcd.uItemState = (Selected ? CDIS_SELECTED : 0) | (I == P.D.Focus && P.D.Focused ? CDIS_FOCUS : 0);
  CD.nmcd.lItemlParam = (Style & LVS_OWNERDATA) ? 0 : P.D.Items[I].Param;
  CD.clrText = Text;
  CD.clrTextBk = TextBk;
  LRESULT ItemWants = CDRF_DODEFAULT;
  if (P.Wants & CDRF_NOTIFYITEMDRAW) {
    ItemWants = SendCustomDraw(P.Wnd, CD.nmcd, CDDS_ITEMPREPAINT);
    if (ItemWants & CDRF_SKIPDEFAULT) return;
    Text = CD.clrText;
    TextBk = CD.clrTextBk;
  }
  if ((Dp = ListData(P.Wnd)) == nullptr || !ValidItem(*Dp, I)) return;
  const TRect Label = ItemRect(P.D, P.G, I, LVIR_LABEL);
  const TRect Icon = ItemRect(P.D, P.G, I, LVIR_ICON);
  const std::string Caption = ItemText(P.Wnd, I, 0);
  // Selection: the label, or the whole row.
  TRect Sel = Label;
  const bool FullRow = P.G.View == LVS_REPORT && (P.D.ExStyle & LVS_EX_FULLROWSELECT);
  if (FullRow) Sel = {Label.Left, Bounds.Top, Bounds.Right, Bounds.Bottom};
  if (TextBk != CLR_NONE && TextBk != CLR_DEFAULT) Fill(P.DC, Sel, TextBk);
  if (P.G.State.cx > 0) DrawStateImage(P.DC, P.D, StateRect(P.D, P.G, I), State);
  const HIMAGELIST Images = P.D.Images[P.G.View == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL];
  if (Images != nullptr) {
    const Integer Image = ItemImage(P.Wnd, I);
    const TSize S = ImageListSize(Images);
    if (Image >= 0)
      ImageList_Draw(Images, Image, P.DC, Icon.Left, Icon.Top + (Icon.Height() - S.cy) / 2,
                     ILD_TRANSPARENT | (Selected && P.D.Focused ? ILD_SELECTED : 0));
  }
  const UINT Align = P.G.View == LVS_ICON                             ? DT_CENTER
                     : P.G.View == LVS_REPORT && !P.D.Columns.empty() ? AlignOf(P.D.Columns[0].Format)
                                                                      : DT_LEFT;
  DrawCellText(P.DC, Caption, InflatedRect(Label, -LabelInset, 0), Align, Text);
  if (P.G.View == LVS_REPORT)
    for (Integer C = 0; C < static_cast<Integer>(P.D.Columns.size()); ++C)
      if (P.D.Columns[C].SubItem != 0)
        DrawSubItem(P, I, C, Selected, FullRow && Selected ? Text : ColorOr(P.D.TextColor, COLOR_WINDOWTEXT),
                    FullRow && Selected ? TextBk : P.D.TextBkColor, ItemWants);
  if (I == P.D.Focus && P.D.Focused) {
    const RECT F = Sel;
    DrawFocusRect(P.DC, &F);
  }
  if (ItemWants & CDRF_NOTIFYPOSTPAINT) SendCustomDraw(P.Wnd, CD.nmcd, CDDS_ITEMPOSTPAINT);
}

void DrawGridLines(HDC DC, const TListViewData& D, const TLvGeometry& G, Integer First, Integer Last) {
  const COLORREF Line = GetSysColor(COLOR_3DFACE);
  const Integer Width = std::max(G.Client.cx, TotalColumnsWidth(D) - D.ScrollX);
  // Rows go on below the last item at the same pitch.
  const Integer Rows = std::max(Last - First + 1, (G.Client.cy - G.HeaderHeight) / G.RowHeight + 1);
  for (Integer K = 1; K <= Rows; ++K) {
    const Integer Y = G.HeaderHeight + K * G.RowHeight - 1;
    Fill(DC, {0, Y, Width, Y + 1}, Line);
  }
  for (Integer C = 0; C < static_cast<Integer>(D.Columns.size()); ++C) {
    const Integer X = ColumnRect(D, G, C).Right - 1;
    Fill(DC, {X, G.HeaderHeight, X + 1, G.Client.cy}, Line);
  }
}

}  // namespace

void PaintListView(HWND Wnd, HDC DC) {
  TListViewData* Dp = ListData(Wnd);
  if (Dp == nullptr) return;
  TListViewData& D = *Dp;
  const TLvGeometry G = GeometryOf(Wnd, D);
  const COLORREF Back = ColorOr(D.BkColor, COLOR_WINDOW);
  Fill(DC, {0, 0, G.Client.cx, G.Client.cy}, Back);
  const HGDIOBJ OldFont = SelectControlFont(DC, D);
  NMLVCUSTOMDRAW CD;
  CD.nmcd.hdc = DC;
  CD.nmcd.rc = RECT{0, 0, G.Client.cx, G.Client.cy};
  const LRESULT Wants = SendCustomDraw(Wnd, CD.nmcd, CDDS_PREPAINT);
  if ((Dp = ListData(Wnd)) == nullptr) return;
  if (!(Wants & CDRF_SKIPDEFAULT)) {
    Integer First = 0, Last = -1;
    VisibleRange(D, G, First, Last);
    if ((LiveWindowStyle(Wnd) & LVS_OWNERDATA) && Last >= First) {
      NMLVCACHEHINT Hint;
      Hint.iFrom = First;
      Hint.iTo = Last;
      NotifyParent(Wnd, LVN_ODCACHEHINT, &Hint.hdr);
      if ((Dp = ListData(Wnd)) == nullptr) return;
    }
    const Integer Saved = SaveDC(DC);
    if (G.HeaderHeight > 0) IntersectClipRect(DC, 0, G.HeaderHeight, G.Client.cx, G.Client.cy);
    TItemPaint P{Wnd, DC, D, G, Wants, Back};
    for (Integer I = First; I <= Last; ++I) {
      const TRect B = ItemRect(D, G, I, LVIR_BOUNDS);
      if (B.Bottom <= G.HeaderHeight || B.Top >= G.Client.cy || B.Right <= 0 || B.Left >= G.Client.cx)
        continue;
      DrawItem(P, I);
      if (ListData(Wnd) == nullptr) return;
    }
    if (G.View == LVS_REPORT && (D.ExStyle & LVS_EX_GRIDLINES)) DrawGridLines(DC, D, G, First, Last);
    RestoreDC(DC, Saved);
  }
  if (Wants & CDRF_NOTIFYPOSTPAINT) SendCustomDraw(Wnd, CD.nmcd, CDDS_POSTPAINT);
  SelectObject(DC, OldFont);
}
