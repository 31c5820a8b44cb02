// The header control.
#include "platform/user/HeaderControl.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Cursors.h"
#include "platform/user/ImageLists.h"
#include "platform/user/Input.h"
#include "platform/user/ViewControlCommon.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer TextMargin = 6;
constexpr Integer ImageGap = 3;
constexpr Integer DividerReach = 4;
constexpr Integer HeightExtra = 6;

struct THeaderItem {
  std::string Text;
  Integer Width = 0;
  Integer Format = HDF_LEFT | HDF_STRING;
  LPARAM Param = 0;
  Integer Image = 0;
  HBITMAP Bitmap = nullptr;
};

struct THeaderData : TNativeControlData {
  std::vector<THeaderItem> Items;
  std::vector<Integer> Order;  // item indexes, left to right
  HIMAGELIST Images = nullptr;
  Integer Pressed = -1;  // item pushed by the mouse
  bool PressedInside = false;
  Integer Tracking = -1;  // item whose divider is dragged
  Integer TrackStartX = 0;
  Integer TrackStartWidth = 0;
  Integer TrackWidth = 0;
};

bool Valid(const THeaderData& D, Integer I) {
  return I >= 0 && I < static_cast<Integer>(D.Items.size());
}

TRect ItemRect(HWND Wnd, const THeaderData& D, Integer I) {
  const Integer H = ClientRectOf(Wnd).Height();
  Integer X = 0;
  for (Integer K : D.Order) {
    if (K == I) return {X, 0, X + D.Items[K].Width, H};
    X += D.Items[K].Width;
  }
  return {};
}

Integer HitTest(HWND Wnd, const THeaderData& D, TPoint P, UINT& Flags) {
  const TRect C = ClientRectOf(Wnd);
  Flags = 0;
  if (P.Y < 0) Flags |= HHT_ABOVE;
  if (P.Y >= C.Height()) Flags |= HHT_BELOW;
  if (P.X < 0) Flags |= HHT_TOLEFT;
  if (P.X >= C.Width()) Flags |= HHT_TORIGHT;
  if (Flags != 0) return -1;
  Integer X = 0, Divider = -1;
  for (Integer K : D.Order) {
    X += D.Items[K].Width;
    if (P.X >= X - DividerReach && P.X < X + DividerReach) Divider = K;
  }
  if (Divider >= 0) {
    Flags = HHT_ONDIVIDER;
    return Divider;
  }
  X = 0;
  for (Integer K : D.Order) {
    if (P.X >= X && P.X < X + D.Items[K].Width) {
      Flags = HHT_ONHEADER;
      return K;
    }
    X += D.Items[K].Width;
  }
  Flags = HHT_NOWHERE;
  return -1;
}

void FillItem(const THeaderItem& It, HDITEM& Out) {
  if (Out.mask & HDI_WIDTH) Out.cxy = It.Width;
  if (Out.mask & HDI_TEXT) CopyItemText(It.Text, Out.pszText, Out.cchTextMax);
  if (Out.mask & HDI_FORMAT) Out.fmt = It.Format;
  if (Out.mask & HDI_LPARAM) Out.lParam = It.Param;
  if (Out.mask & HDI_IMAGE) Out.iImage = It.Image;
  if (Out.mask & HDI_BITMAP) Out.hbm = It.Bitmap;
}

void TakeItem(THeaderItem& It, const HDITEM& In) {
  if (In.mask & HDI_WIDTH) It.Width = std::max(0, In.cxy);
  if ((In.mask & HDI_TEXT) && In.pszText != nullptr && In.pszText != LPSTR_TEXTCALLBACK) It.Text = In.pszText;
  if (In.mask & HDI_FORMAT) It.Format = In.fmt;
  if (In.mask & HDI_LPARAM) It.Param = In.lParam;
  if (In.mask & HDI_IMAGE) It.Image = In.iImage;
  if (In.mask & HDI_BITMAP) It.Bitmap = In.hbm;
}

// An HDN_* notification about item I (Item: its changed fields, or null).
LRESULT NotifyItem(HWND Wnd, UINT Code, Integer I, HDITEM* Item, Integer Button = 0) {
  NMHEADER N;
  N.iItem = I;
  N.iButton = Button;
  N.pitem = Item;
  return NotifyParent(Wnd, Code, &N.hdr);
}

// Sets item I's width with HDN_ITEMCHANGING / HDN_ITEMCHANGED; false when refused.
bool ChangeWidth(HWND Wnd, Integer I, Integer Width) {
  HDITEM Change;
  Change.mask = HDI_WIDTH;
  Change.cxy = std::max(0, Width);
  if (NotifyItem(Wnd, HDN_ITEMCHANGING, I, &Change) != 0) return false;
  THeaderData* D = ControlData<THeaderData>(Wnd);
  if (D == nullptr || !Valid(*D, I)) return false;
  D->Items[I].Width = Change.cxy;
  InvalidateRect(Wnd, nullptr, TRUE);
  NotifyItem(Wnd, HDN_ITEMCHANGED, I, &Change);
  return true;
}

// ---- Painting ---------------------------------------------------------------------------------

void DrawSection(HWND Wnd, HDC DC, const THeaderData& D, Integer I, const TRect& R, bool Down) {
  const THeaderItem& It = D.Items[I];
  if (It.Format & HDF_OWNERDRAW) {
    DRAWITEMSTRUCT DI;
    DI.CtlType = ODT_HEADER;
    DI.CtlID = static_cast<UINT>(GetDlgCtrlID(Wnd));
    DI.itemID = static_cast<UINT>(I);
    DI.itemAction = ODA_DRAWENTIRE;
    DI.itemState = Down ? ODS_SELECTED : 0;
    DI.hwndItem = Wnd;
    DI.hDC = DC;
    DI.rcItem = R;
    DI.itemData = static_cast<ULONG_PTR>(It.Param);
    if (HWND P = NotifyTarget(Wnd)) SendMessage(P, WM_DRAWITEM, DI.CtlID, reinterpret_cast<LPARAM>(&DI));
    return;
  }
  FillSysColor(DC, R, COLOR_3DFACE);
  RECT Edge = R;
  if (Down)
    DrawEdge(DC, &Edge, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
  else
    DrawEdge(DC, &Edge, EDGE_RAISED, BF_RECT | BF_SOFT);
  TRect Box = InflatedRect(R, -TextMargin, 0);
  if (Down) Box = OffsetRectBy(Box, 1, 1);
  const TSize Icon = ImageListSize(D.Images);
  if ((It.Format & HDF_IMAGE) && Icon.cx > 0 && It.Image >= 0 && Box.Width() > 0) {
    ImageList_Draw(D.Images, It.Image, DC, Box.Left, Box.Top + (Box.Height() - Icon.cy) / 2, ILD_TRANSPARENT);
    Box.Left += Icon.cx + ImageGap;
  }
  UINT Align = DT_LEFT;
  if ((It.Format & HDF_JUSTIFYMASK) == HDF_RIGHT) Align = DT_RIGHT;
  if ((It.Format & HDF_JUSTIFYMASK) == HDF_CENTER) Align = DT_CENTER;
  const Integer Saved = SaveDC(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  DrawCellText(DC, It.Text, Box, Align, GetSysColor(IsWindowEnabled(Wnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  RestoreDC(DC, Saved);
}

void Paint(HWND Wnd, HDC DC) {
  THeaderData* Dp = ControlData<THeaderData>(Wnd);
  if (Dp == nullptr) return;
  const THeaderData D = *Dp;  // the parent may change the header while it draws
  const TRect Client = ClientRectOf(Wnd);
  FillSysColor(DC, Client, COLOR_3DFACE);
  const HGDIOBJ OldFont = SelectControlFont(DC, D);
  NMCUSTOMDRAW CD;
  CD.hdc = DC;
  CD.rc = Client;
  const LRESULT Wants = SendCustomDraw(Wnd, CD, CDDS_PREPAINT);
  Integer Right = 0;
  for (Integer I : D.Order) {
    const TRect R = ItemRect(Wnd, D, I);
    Right = std::max(Right, R.Right);
    const bool Down = I == D.Pressed && D.PressedInside;
    if (Wants & CDRF_NOTIFYITEMDRAW) {
      NMCUSTOMDRAW Item;
      Item.hdc = DC;
      Item.rc = R;
      Item.dwItemSpec = static_cast<ULONG_PTR>(I);
      Item.uItemState = Down ? CDIS_SELECTED : 0;
      Item.lItemlParam = D.Items[I].Param;
      if (SendCustomDraw(Wnd, Item, CDDS_ITEMPREPAINT) & CDRF_SKIPDEFAULT) continue;
    }
    DrawSection(Wnd, DC, D, I, R, Down);
  }
  // The part right of the last section is an empty raised section.
  if (Right < Client.Right) {
    RECT Rest{Right, 0, Client.Right, Client.Bottom};
    DrawEdge(DC, &Rest, EDGE_RAISED, BF_RECT | BF_SOFT);
  }
  if (Wants & CDRF_NOTIFYPOSTPAINT) SendCustomDraw(Wnd, CD, CDDS_POSTPAINT);
  SelectObject(DC, OldFont);
}

// ---- Mouse ------------------------------------------------------------------------------------

void MouseDown(HWND Wnd, THeaderData& D, TPoint P, bool Double) {
  UINT Flags = 0;
  const Integer I = HitTest(Wnd, D, P, Flags);
  if (I < 0) return;
  if (Flags & HHT_ONDIVIDER) {
    if (Double) {
      NotifyItem(Wnd, HDN_DIVIDERDBLCLICK, I, nullptr);
      return;
    }
    HDITEM Item;
    Item.mask = HDI_WIDTH;
    Item.cxy = D.Items[I].Width;
    if (NotifyItem(Wnd, HDN_BEGINTRACK, I, &Item) != 0) return;
    THeaderData* Again = ControlData<THeaderData>(Wnd);
    if (Again == nullptr || !Valid(*Again, I)) return;
    Again->Tracking = I;
    Again->TrackStartX = P.X;
    Again->TrackStartWidth = Again->TrackWidth = Again->Items[I].Width;
    SetCapture(Wnd);
    return;
  }
  if (Double) {
    NotifyItem(Wnd, HDN_ITEMDBLCLICK, I, nullptr);
    return;
  }
  if (!(LiveWindowStyle(Wnd) & HDS_BUTTONS)) return;
  D.Pressed = I;
  D.PressedInside = true;
  SetCapture(Wnd);
  InvalidateRect(Wnd, nullptr, TRUE);
}

void MouseMove(HWND Wnd, THeaderData& D, TPoint P) {
  if (D.Tracking >= 0) {
    const Integer I = D.Tracking;
    const Integer Width = std::max(0, D.TrackStartWidth + P.X - D.TrackStartX);
    if (Width == D.TrackWidth) return;
    D.TrackWidth = Width;
    HDITEM Item;
    Item.mask = HDI_WIDTH;
    Item.cxy = Width;
    if (NotifyItem(Wnd, HDN_TRACK, I, &Item) != 0) return;
    if (LiveWindowStyle(Wnd) & HDS_FULLDRAG) ChangeWidth(Wnd, I, Width);
    return;
  }
  if (D.Pressed >= 0) {
    UINT Flags = 0;
    const bool Inside = HitTest(Wnd, D, P, Flags) == D.Pressed && (Flags & HHT_ONHEADER);
    if (Inside != D.PressedInside) {
      D.PressedInside = Inside;
      InvalidateRect(Wnd, nullptr, TRUE);
    }
  }
}

// Ends tracking or pushing; Apply: the mouse was released at Release (not a lost capture).
void EndMouse(HWND Wnd, bool Apply, TPoint Release = {}) {
  THeaderData* D = ControlData<THeaderData>(Wnd);
  if (D == nullptr) return;
  if (Apply && D->Pressed >= 0) {
    UINT Flags = 0;
    D->PressedInside = HitTest(Wnd, *D, Release, Flags) == D->Pressed && (Flags & HHT_ONHEADER);
  }
  const Integer Tracked = D->Tracking, Pressed = D->Pressed, Width = D->TrackWidth;
  const bool Inside = D->PressedInside;
  D->Tracking = D->Pressed = -1;
  D->PressedInside = false;
  if (GetCapture() == Wnd) ReleaseCapture();
  if (Tracked >= 0) {
    if (Apply && !(LiveWindowStyle(Wnd) & HDS_FULLDRAG) && Valid(*D, Tracked) &&
        D->Items[Tracked].Width != Width)
      ChangeWidth(Wnd, Tracked, Width);
    HDITEM Item;
    Item.mask = HDI_WIDTH;
    Item.cxy = Width;
    NotifyItem(Wnd, HDN_ENDTRACK, Tracked, &Item);
  }
  if (Pressed >= 0) {
    InvalidateRect(Wnd, nullptr, TRUE);
    if (Apply && Inside) NotifyItem(Wnd, HDN_ITEMCLICK, Pressed, nullptr);
  }
}

// ---- Items ------------------------------------------------------------------------------------

Integer InsertItem(HWND Wnd, THeaderData& D, Integer At, const HDITEM* In) {
  if (In == nullptr) return -1;
  const Integer N = static_cast<Integer>(D.Items.size());
  At = std::clamp(At, 0, N);
  THeaderItem It;
  TakeItem(It, *In);
  D.Items.insert(D.Items.begin() + At, It);
  for (Integer& K : D.Order)
    if (K >= At) ++K;
  const Integer Place = (In->mask & HDI_ORDER) ? std::clamp(In->iOrder, 0, N) : At;
  D.Order.insert(D.Order.begin() + Place, At);
  InvalidateRect(Wnd, nullptr, TRUE);
  return At;
}

bool DeleteItem(HWND Wnd, THeaderData& D, Integer I) {
  if (!Valid(D, I)) return false;
  D.Items.erase(D.Items.begin() + I);
  D.Order.erase(std::find(D.Order.begin(), D.Order.end(), I));
  for (Integer& K : D.Order)
    if (K > I) --K;
  if (D.Pressed == I || D.Tracking == I) EndMouse(Wnd, false);
  InvalidateRect(Wnd, nullptr, TRUE);
  return true;
}

bool SetItem(HWND Wnd, Integer I, const HDITEM* In) {
  THeaderData* D = ControlData<THeaderData>(Wnd);
  if (D == nullptr || In == nullptr || !Valid(*D, I)) return false;
  HDITEM Change = *In;
  if (NotifyItem(Wnd, HDN_ITEMCHANGING, I, &Change) != 0) return false;
  D = ControlData<THeaderData>(Wnd);
  if (D == nullptr || !Valid(*D, I)) return false;
  TakeItem(D->Items[I], *In);
  if ((In->mask & HDI_ORDER) && In->iOrder >= 0 && In->iOrder < static_cast<Integer>(D->Order.size())) {
    D->Order.erase(std::find(D->Order.begin(), D->Order.end(), I));
    D->Order.insert(D->Order.begin() + In->iOrder, I);
  }
  InvalidateRect(Wnd, nullptr, TRUE);
  NotifyItem(Wnd, HDN_ITEMCHANGED, I, &Change);
  return true;
}

bool SetOrder(HWND Wnd, THeaderData& D, Integer Count, const Integer* Order) {
  if (Order == nullptr || Count != static_cast<Integer>(D.Items.size())) return false;
  std::vector<Integer> New(Order, Order + Count);
  std::vector<Integer> Sorted = New;
  std::sort(Sorted.begin(), Sorted.end());
  for (Integer K = 0; K < Count; ++K)
    if (Sorted[K] != K) return false;  // not a permutation
  D.Order = std::move(New);
  InvalidateRect(Wnd, nullptr, TRUE);
  return true;
}

LRESULT HeaderWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  THeaderData* D = ControlData<THeaderData>(Wnd);
  if (D == nullptr) return 0;
  LRESULT Result = 0;
  if (HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result)) return Result;
  switch (Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, Paint);
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseDown(Wnd, *D, MousePoint(LParam), Msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(Wnd, *D, MousePoint(LParam));
      return 0;
    case WM_LBUTTONUP:
      EndMouse(Wnd, true, MousePoint(LParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(LParam) != Wnd && (D->Tracking >= 0 || D->Pressed >= 0))
        EndMouse(Wnd, false);
      return 0;
    case WM_SETCURSOR: {
      POINT P;
      GetCursorPos(&P);
      ScreenToClient(Wnd, &P);
      UINT Flags = 0;
      if (D->Tracking >= 0 || (HitTest(Wnd, *D, P, Flags) >= 0 && (Flags & HHT_ONDIVIDER))) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    case HDM_GETITEMCOUNT:
      return static_cast<LRESULT>(D->Items.size());
    case HDM_INSERTITEM:
      return InsertItem(Wnd, *D, static_cast<Integer>(WParam), reinterpret_cast<const HDITEM*>(LParam));
    case HDM_DELETEITEM:
      return DeleteItem(Wnd, *D, static_cast<Integer>(WParam)) ? TRUE : FALSE;
    case HDM_GETITEM: {
      auto* Out = reinterpret_cast<HDITEM*>(LParam);
      const Integer I = static_cast<Integer>(WParam);
      if (Out == nullptr || !Valid(*D, I)) return FALSE;
      FillItem(D->Items[I], *Out);
      if (Out->mask & HDI_ORDER)
        Out->iOrder = static_cast<Integer>(std::find(D->Order.begin(), D->Order.end(), I) - D->Order.begin());
      return TRUE;
    }
    case HDM_SETITEM:
      return SetItem(Wnd, static_cast<Integer>(WParam), reinterpret_cast<const HDITEM*>(LParam)) ? TRUE
                                                                                                 : FALSE;
    case HDM_LAYOUT: {
      auto* L = reinterpret_cast<HDLAYOUT*>(LParam);
      if (L == nullptr || L->prc == nullptr || L->pwpos == nullptr) return FALSE;
      const Integer H = (LiveWindowStyle(Wnd) & HDS_HIDDEN) ? 0 : ControlLineHeight(*D) + HeightExtra;
      L->pwpos->hwnd = Wnd;
      L->pwpos->hwndInsertAfter = nullptr;
      L->pwpos->x = L->prc->Left;
      L->pwpos->y = L->prc->Top;
      L->pwpos->cx = L->prc->Right - L->prc->Left;
      L->pwpos->cy = H;
      L->pwpos->flags = SWP_NOZORDER;
      L->prc->Top += H;
      return TRUE;
    }
    case HDM_HITTEST: {
      auto* H = reinterpret_cast<HDHITTESTINFO*>(LParam);
      if (H == nullptr) return -1;
      H->iItem = HitTest(Wnd, *D, H->pt, H->flags);
      return H->iItem;
    }
    case HDM_GETITEMRECT: {
      auto* R = reinterpret_cast<RECT*>(LParam);
      const Integer I = static_cast<Integer>(WParam);
      if (R == nullptr || !Valid(*D, I)) return FALSE;
      *R = ItemRect(Wnd, *D, I);
      return TRUE;
    }
    case HDM_SETIMAGELIST: {
      const HIMAGELIST Old = D->Images;
      D->Images = reinterpret_cast<HIMAGELIST>(LParam);
      InvalidateRect(Wnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(Old);
    }
    case HDM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(D->Images);
    case HDM_ORDERTOINDEX: {
      const Integer K = static_cast<Integer>(WParam);
      return K >= 0 && K < static_cast<Integer>(D->Order.size()) ? D->Order[K] : K;
    }
    case HDM_GETORDERARRAY: {
      auto* Out = reinterpret_cast<Integer*>(LParam);
      if (Out == nullptr || static_cast<std::size_t>(WParam) < D->Order.size()) return FALSE;
      std::copy(D->Order.begin(), D->Order.end(), Out);
      return TRUE;
    }
    case HDM_SETORDERARRAY:
      return SetOrder(Wnd, *D, static_cast<Integer>(WParam), reinterpret_cast<const Integer*>(LParam))
                 ? TRUE
                 : FALSE;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterHeaderClass() {
  RegisterControlClass(WC_HEADER, HeaderWndProc, CS_DBLCLKS, -1);
}
