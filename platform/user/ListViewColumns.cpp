// The list view's columns and the header child that shows them.
#include <algorithm>

#include "platform/gdi/DeviceContext.h"
#include "platform/user/HeaderControl.h"
#include "platform/user/ListViewInternals.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer HeaderId = 0;
constexpr Integer AutoSizeMargin = 12;

void SyncHeaderItem(TListViewData& D, Integer C, bool Insert) {
  if (!IsWindow(D.Header)) return;
  const TLvColumn& Col = D.Columns[C];
  HDITEM H;
  H.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_LPARAM;
  H.pszText = const_cast<char*>(Col.Text.c_str());
  H.cxy = Col.Width;
  H.fmt = HDF_STRING | (Col.Format & LVCFMT_JUSTIFYMASK);
  if (Col.Image >= 0 && (Col.Format & LVCFMT_IMAGE)) {
    H.mask |= HDI_IMAGE;
    H.fmt |= HDF_IMAGE;
    H.iImage = Col.Image;
  }
  H.lParam = Col.SubItem;
  SendMessage(D.Header, Insert ? HDM_INSERTITEM : HDM_SETITEM, static_cast<WPARAM>(C),
              reinterpret_cast<LPARAM>(&H));
}

void TakeColumn(TLvColumn& Col, const LVCOLUMN& In) {
  if (In.mask & LVCF_FMT) Col.Format = In.fmt;
  if (In.mask & LVCF_WIDTH) Col.Width = std::max(0, In.cx);
  if ((In.mask & LVCF_TEXT) && In.pszText != nullptr) Col.Text = In.pszText;
  if (In.mask & LVCF_SUBITEM) Col.SubItem = In.iSubItem;
  if (In.mask & LVCF_IMAGE) Col.Image = In.iImage;
}

}  // namespace

Integer InsertColumn(HWND Wnd, Integer At, const LVCOLUMN* In) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || In == nullptr) return -1;
  At = std::clamp(At, 0, static_cast<Integer>(D->Columns.size()));
  TLvColumn Col;
  Col.SubItem = At;
  TakeColumn(Col, *In);
  D->Columns.insert(D->Columns.begin() + At, Col);
  for (Integer& K : D->Order)
    if (K >= At) ++K;
  D->Order.insert(D->Order.begin() + At, At);
  SyncHeaderItem(*D, At, true);
  ItemsChanged(Wnd);
  return At;
}

bool SetColumn(HWND Wnd, Integer C, const LVCOLUMN* In) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || In == nullptr || C < 0 || C >= static_cast<Integer>(D->Columns.size())) return false;
  TakeColumn(D->Columns[C], *In);
  SyncHeaderItem(*D, C, false);
  ItemsChanged(Wnd);
  return true;
}

bool DeleteColumn(HWND Wnd, Integer C) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || C < 0 || C >= static_cast<Integer>(D->Columns.size())) return false;
  D->Columns.erase(D->Columns.begin() + C);
  D->Order.erase(std::find(D->Order.begin(), D->Order.end(), C));
  for (Integer& K : D->Order)
    if (K > C) --K;
  if (IsWindow(D->Header)) SendMessage(D->Header, HDM_DELETEITEM, static_cast<WPARAM>(C), 0);
  ItemsChanged(Wnd);
  return true;
}

bool SetColumnWidth(HWND Wnd, Integer C, Integer Width) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr) return false;
  if (ViewOf(Wnd) == LVS_LIST) {
    if (C != 0) return false;
    D->ListColumnWidth = std::max(0, Width);
    ItemsChanged(Wnd);
    return true;
  }
  if (C < 0 || C >= static_cast<Integer>(D->Columns.size())) return false;
  if (Width == LVSCW_AUTOSIZE || Width == LVSCW_AUTOSIZE_USEHEADER) {
    const Integer Sub = D->Columns[C].SubItem;
    Integer W = Width == LVSCW_AUTOSIZE_USEHEADER ? ControlTextWidth(*D, D->Columns[C].Text) : 0;
    for (Integer I = 0; (D = ListData(Wnd)) != nullptr && I < ItemCount(*D); ++I)
      W = std::max(W, ControlTextWidth(*D, ItemText(Wnd, I, Sub)));
    if ((D = ListData(Wnd)) == nullptr) return false;
    W += AutoSizeMargin;
    if (Sub == 0) {
      const TLvGeometry G = GeometryOf(Wnd, *D);
      W += G.Small.cx + G.State.cx;
    }
    // The last column fills the rest of the view when it asks for the header's width.
    if (Width == LVSCW_AUTOSIZE_USEHEADER && !D->Order.empty() && D->Order.back() == C) {
      const Integer Rest = ClientRectOf(Wnd).Width() - (TotalColumnsWidth(*D) - D->Columns[C].Width);
      W = std::max(W, Rest);
    }
    Width = W;
  }
  D->Columns[C].Width = std::max(0, Width);
  SyncHeaderItem(*D, C, false);
  ItemsChanged(Wnd);
  return true;
}

// ---- The header -------------------------------------------------------------------------------

void CreateHeader(HWND Wnd) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || IsWindow(D->Header)) return;
  RegisterHeaderClass();
  const DWORD Style = LiveWindowStyle(Wnd);
  DWORD HeaderStyle = WS_CHILD | HDS_HORZ | HDS_FULLDRAG;
  if (!(Style & LVS_NOSORTHEADER)) HeaderStyle |= HDS_BUTTONS;
  if (D->ExStyle & LVS_EX_HEADERDRAGDROP) HeaderStyle |= HDS_DRAGDROP;
  if ((Style & LVS_TYPEMASK) == LVS_REPORT && !(Style & LVS_NOCOLUMNHEADER)) HeaderStyle |= WS_VISIBLE;
  // Created as the view's child, so that the view hears WM_PARENTNOTIFY.
  const HWND H =
      CreateWindowEx(0, WC_HEADER, "", HeaderStyle, 0, 0, ClientRectOf(Wnd).Width(), 0, Wnd,
                     reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(HeaderId)), nullptr, nullptr);
  if ((D = ListData(Wnd)) == nullptr) return;
  D->Header = H;
  if (D->Font != nullptr) SendMessage(H, WM_SETFONT, reinterpret_cast<WPARAM>(D->Font), FALSE);
  if ((D = ListData(Wnd)) == nullptr) return;
  SendMessage(H, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(D->Images[LVSIL_SMALL]));
  for (Integer C = 0; (D = ListData(Wnd)) != nullptr && C < static_cast<Integer>(D->Columns.size()); ++C)
    SyncHeaderItem(*D, C, true);
  if ((D = ListData(Wnd)) != nullptr && !D->Order.empty())
    SendMessage(H, HDM_SETORDERARRAY, D->Order.size(), reinterpret_cast<LPARAM>(D->Order.data()));
}

LRESULT HeaderNotify(HWND Wnd, TListViewData& D, NMHDR* H) {
  if (H == nullptr || H->hwndFrom != D.Header) return 0;
  auto* N = reinterpret_cast<NMHEADER*>(H);
  switch (H->code) {
    case HDN_ITEMCHANGED:
      if (N->pitem != nullptr && (N->pitem->mask & HDI_WIDTH) && N->iItem >= 0 &&
          N->iItem < static_cast<Integer>(D.Columns.size())) {
        D.Columns[N->iItem].Width = N->pitem->cxy;
        ItemsChanged(Wnd);
      }
      return 0;
    case HDN_ITEMCLICK: {
      NMLISTVIEW L;
      L.iItem = -1;
      L.iSubItem = N->iItem;
      return NotifyParent(Wnd, LVN_COLUMNCLICK, &L.hdr);
    }
    case HDN_DIVIDERDBLCLICK:
      SetColumnWidth(Wnd, N->iItem, LVSCW_AUTOSIZE);
      return 0;
    default:
      return 0;
  }
}
