// TbsSkinCustomListView: the platform list view with skinned colours, external scroll bars and
// a skinned column header.
#include "skin/controls/bsSkinCtrlsListView.h"

#include <cstdlib>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/Text.h"
#include "platform/shell/ShlObj.h"
#include "platform/user/CommonControls.h"
#include "platform/user/ScrollInfo.h"
#include "platform/user/User.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"
#include "skin/controls/bsSkinCtrlsPictures.h"
#include "skin/data/bsSkinDataEditParts.h"
#include "skin/data/bsUtils.h"

namespace {

// Sent by nobody else; the answer tells a skinned view from a plain one.
constexpr UINT WM_SKINVIEWQUERY = 0xB1C9;
constexpr LRESULT SkinViewAnswer = 12851;
// Paints the hooked header on the context in wParam.
constexpr UINT WM_PAINTSKINHEADER = 0xB1C8;

SCROLLINFO NativeScrollInfo(HWND Wnd, Integer Bar) {
  SCROLLINFO Info;
  Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (!GetScrollInfo(Wnd, Bar, &Info)) Info = SCROLLINFO();
  return Info;
}

}  // namespace

TbsSkinCustomListView::TbsSkinCustomListView(TComponent* AOwner)
    : TCustomListView(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetStyle({});
  FDefaultFont->SetHeight(14);
  GetFont()->Assign(FDefaultFont.get());
  FHeaderProcInstance =
      MakeObjectInstance(TDelegate<void(TMessage&)>(this, &TbsSkinCustomListView::HeaderWndProc));
}

TbsSkinCustomListView::~TbsSkinCustomListView() {
  UnhookHeader();
  FreeObjectInstance(FHeaderProcInstance);
}

// ---- Properties -----------------------------------------------------------------------------

void TbsSkinCustomListView::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (Value != nullptr && !Value->Empty && !GetComponentState().Contains(csDesigning)) ApplySkinChange();
}

void TbsSkinCustomListView::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  if (PartIndex == -1) GetFont()->Assign(Value);
}

void TbsSkinCustomListView::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (PartIndex == -1) SetColor(Value);
}

void TbsSkinCustomListView::SetDrawSkin(bool Value) {
  FDrawSkin = Value;
  if (!Value || GetComponentState().Contains(csDesigning)) return;
  OnCustomDrawItem = TLVCustomDrawItemEvent(this, &TbsSkinCustomListView::DrawSkinItem);
  SetFullDrag(false);
}

void TbsSkinCustomListView::SetDrawSkinLines(bool Value) {
  FDrawSkinLines = Value;
  if (Value && GetComponentState().Contains(csDesigning)) SetGridLines(false);
}

void TbsSkinCustomListView::SetVScrollBar(TbsSkinScrollBar* Value) {
  FVScrollBar = Value;
  if (Value != nullptr) {
    Value->FreeNotification(this);
    Value->SetEnabled(true);
    Value->SetVisible(false);
    Value->OnChange = TNotifyEvent(this, &TbsSkinCustomListView::VScrollChanged);
  }
  SyncScrollBars();
}

void TbsSkinCustomListView::SetHScrollBar(TbsSkinScrollBar* Value) {
  FHScrollBar = Value;
  if (Value != nullptr) {
    Value->FreeNotification(this);
    Value->SetEnabled(true);
    Value->SetVisible(false);
    Value->OnChange = TNotifyEvent(this, &TbsSkinCustomListView::HScrollChanged);
  }
  SyncScrollBars();
}

void TbsSkinCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
  if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

// ---- Skin -----------------------------------------------------------------------------------

void TbsSkinCustomListView::ApplySkinChange() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
  auto* Part =
      PartIndex == -1
          ? nullptr
          : dynamic_cast<TbsDataSkinListView*>(FSD->SkinControls[static_cast<std::size_t>(PartIndex)].get());
  if (PartIndex == -1) {
    SetColor(FDefaultColor);
    GetFont()->Assign(FDefaultFont.get());
  } else if (Part != nullptr) {
    if (FUseSkinFont)
      AssignPartFont(GetFont(), Part->FontName, Part->FontHeight, Part->FontStyle);
    else
      GetFont()->Assign(FDefaultFont.get());
    GetFont()->SetColor(Part->FontColor);
    SetColor(Part->BGColor);
    FLinesColor =
        MixColors(MixColors(MixColors(Part->FontColor, Part->BGColor), Part->BGColor), Part->BGColor);
  }
  AssignSkinCharset(GetFont(), FSD, FDefaultFont.get());
  SyncScrollBars();
  for (TbsSkinScrollBar* Bar : {FVScrollBar, FHScrollBar})
    if (Bar != nullptr) Bar->SetAlign(Bar->GetAlign());
  if (InReport() && FHeaderWindow != nullptr) InvalidateRect(FHeaderWindow, nullptr, TRUE);
}

void TbsSkinCustomListView::Loaded() {
  FSyncing = true;
  TCustomListView::Loaded();
  FSyncing = false;
  ApplySkinChange();
}

void TbsSkinCustomListView::Change(TListItem* Item, Integer Change) {
  TCustomListView::Change(Item, Change);
  if (!FSyncing) SyncScrollBars();
}

void TbsSkinCustomListView::CreateParams(TCreateParams& Params) {
  TCustomListView::CreateParams(Params);
  Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TbsSkinCustomListView::CreateWnd() {
  TCustomListView::CreateWnd();
}

bool TbsSkinCustomListView::ShellNavigate(LPARAM) {
  return false;
}

// ---- Messages -------------------------------------------------------------------------------

void TbsSkinCustomListView::WndProc(TMessage& Message) {
  if (Message.Msg == WM_PARENTNOTIFY && LOWORD(Message.WParam) == WM_CREATE && GetShowColumnHeaders()) {
    const HWND Child = reinterpret_cast<HWND>(Message.LParam);
    if (GetClassNameString(Child) == WC_HEADER) {
      UnhookHeader();
      HookHeader(Child);
    }
  }
  TCustomListView::WndProc(Message);
  switch (Message.Msg) {
    case WM_SIZE:
      if (!FSyncing && GetItems()->GetCount() > 0) SyncScrollBars();
      if (InReport() && FHeaderWindow != nullptr) InvalidateRect(FHeaderWindow, nullptr, FALSE);
      break;
    case WM_PAINT:
      if (!FSyncing) SyncScrollBars();
      if (InReport() && FHeaderWindow != nullptr && (GetGridLines() || FDrawSkin) && HandleAllocated()) {
        RECT HR;
        GetWindowRect(FHeaderWindow, &HR);
        const Integer HH = HR.Bottom - HR.Top;
        HDC DC = GetDC(GetHandle());
        TCanvas C;
        C.SetHandle(DC);
        C.GetBrush()->SetColor(GetColor());
        C.FillRect(Rect(0, HH, GetWidth(), HH + 1));
        C.SetHandle(nullptr);
        ReleaseDC(GetHandle(), DC);
      }
      break;
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
      SyncScrollBars();
      break;
    default:
      break;
  }
}

void TbsSkinCustomListView::Dispatch(TMessage& Message) {
  static const UINT ShellNavigateMessage = RegisterWindowMessage(SHELL_NAVIGATE_MESSAGE);
  if (Message.Msg == ShellNavigateMessage) {
    Message.Result = ShellNavigate(Message.LParam) ? 1 : 0;
    return;
  }
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      // No non-client area: the external bars stand in for the native ones.
      Message.Result = 0;
      break;
    case WM_NCHITTEST:
      Message.Result = HTCLIENT;
      break;
    case CM_VISIBLECHANGED:
      TCustomListView::Dispatch(Message);
      for (TbsSkinScrollBar* Bar : {FVScrollBar, FHScrollBar})
        if (Bar != nullptr) Bar->SetVisible(GetVisible());
      break;
    case WM_SKINVIEWQUERY:
      Message.Result = SkinViewAnswer;
      break;
    case WM_PAINTSKINHEADER:
      if (FHeaderWindow != nullptr) PaintHeader(reinterpret_cast<HDC>(Message.WParam));
      break;
    default:
      TCustomListView::Dispatch(Message);
      break;
  }
}

// ---- External bars --------------------------------------------------------------------------

Integer TbsSkinCustomListView::FirstItemHeight() {
  if (GetItems()->GetCount() == 0) return 0;
  return GetRectHeight(GetItems()->GetItem(0)->DisplayRect(drBounds));
}

bool TbsSkinCustomListView::SetBarVisible(TbsSkinScrollBar* Bar, bool Value) {
  if (Bar->GetVisible() == Value) return false;
  FSyncing = true;
  Bar->SetVisible(Value);
  FSyncing = false;
  return true;
}

void TbsSkinCustomListView::FinishSync(bool Changed) {
  if (FVScrollBar != nullptr && FHScrollBar != nullptr) FHScrollBar->SetBoth(FVScrollBar->GetVisible());
  if (!Changed || GetAlign() == alNone || GetParent() == nullptr) return;
  FSyncing = true;
  GetParent()->Realign();
  FSyncing = false;
}

void TbsSkinCustomListView::SyncIconBars() {
  bool Changed = false;
  const Integer Half = IntMax(FirstItemHeight() / 2, 1);
  if (FVScrollBar != nullptr) {
    const SCROLLINFO V = NativeScrollInfo(GetHandle(), SB_VERT);
    Changed |= SetBarVisible(FVScrollBar, GetHeight() < V.nMax && GetVisible());
    if (FVScrollBar->GetVisible()) {
      FVScrollBar->SetSmallChange(Half);
      FVScrollBar->SetLargeChange(Half);
      FVScrollBar->SetRange(V.nMin, V.nMax, V.nPos, GetHeight());
      FLastVPos = FVScrollBar->GetPosition();
    }
  }
  if (FHScrollBar != nullptr) {
    const SCROLLINFO H = NativeScrollInfo(GetHandle(), SB_HORZ);
    Changed |= SetBarVisible(FHScrollBar, GetWidth() < H.nMax && GetVisible());
    if (FHScrollBar->GetVisible()) {
      FHScrollBar->SetSmallChange(Half);
      FHScrollBar->SetLargeChange(Half);
      FHScrollBar->SetRange(H.nMin, H.nMax, H.nPos, GetWidth());
      FLastHPos = FHScrollBar->GetPosition();
    }
  }
  FinishSync(Changed);
}

void TbsSkinCustomListView::SyncListBars() {
  bool Changed = false;
  if (FVScrollBar != nullptr && FVScrollBar->GetVisible()) Changed |= SetBarVisible(FVScrollBar, false);
  if (FHScrollBar != nullptr) {
    Integer ColumnWidth =
        GetItems()->GetCount() == 0 ? 0 : GetRectWidth(GetItems()->GetItem(0)->DisplayRect(drBounds));
    if (ColumnWidth <= 0) ColumnWidth = 1;
    const auto PerPage = static_cast<Integer>(SendMessage(GetHandle(), LVM_GETCOUNTPERPAGE, 0, 0));
    Changed |= SetBarVisible(FHScrollBar, PerPage < GetItems()->GetCount() && GetVisible());
    if (FHScrollBar->GetVisible()) {
      const SCROLLINFO H = NativeScrollInfo(GetHandle(), SB_HORZ);
      FHScrollBar->SetRange(H.nMin, H.nMax, H.nPos, GetWidth() / ColumnWidth);
      FHScrollBar->SetSmallChange(1);
      FHScrollBar->SetLargeChange(1);
      FLastHPos = FHScrollBar->GetPosition();
    }
  }
  FinishSync(Changed);
}

void TbsSkinCustomListView::SyncReportBars() {
  bool Changed = false;
  if (FVScrollBar != nullptr) {
    const SCROLLINFO V = NativeScrollInfo(GetHandle(), SB_VERT);
    const auto PerPage = static_cast<Integer>(SendMessage(GetHandle(), LVM_GETCOUNTPERPAGE, 0, 0));
    Changed |= SetBarVisible(FVScrollBar, PerPage < V.nMax + 1 && GetVisible());
    if (FVScrollBar->GetVisible()) {
      FVScrollBar->SetRange(V.nMin, V.nMax, V.nPos, PerPage);
      FLastVPos = FVScrollBar->GetPosition();
      FVScrollBar->SetSmallChange(1);
      FVScrollBar->SetLargeChange(PerPage > 0 ? PerPage : 1);
    }
  }
  if (FHScrollBar != nullptr) {
    const SCROLLINFO H = NativeScrollInfo(GetHandle(), SB_HORZ);
    Changed |= SetBarVisible(FHScrollBar, GetWidth() < H.nMax && GetVisible());
    if (FHScrollBar->GetVisible()) {
      FHScrollBar->SetRange(H.nMin, H.nMax, H.nPos, GetWidth());
      FLastHPos = FHScrollBar->GetPosition();
    }
  }
  FinishSync(Changed);
}

void TbsSkinCustomListView::SyncScrollBars() {
  if (!HandleAllocated() || FScrolling || GetWidth() <= 5 || GetHeight() <= 5 || FSyncing) return;
  switch (GetViewStyle()) {
    case vsList:
      SyncListBars();
      break;
    case vsReport:
      SyncReportBars();
      break;
    default:
      SyncIconBars();
      break;
  }
}

void TbsSkinCustomListView::VScrollChanged(TObject*) {
  if (FVScrollBar == nullptr) return;
  FScrolling = true;
  if (IsEditing() && GetItemFocused() != nullptr) GetItemFocused()->CancelEdit();
  const Integer Delta = FVScrollBar->GetPosition() - FLastVPos;
  const bool ByRows = GetViewStyle() == vsList || InReport();
  Scroll(0, ByRows ? Delta * FirstItemHeight() : Delta);
  FLastVPos = FVScrollBar->GetPosition();
  FScrolling = false;
}

void TbsSkinCustomListView::HScrollChanged(TObject*) {
  if (FHScrollBar == nullptr) return;
  FScrolling = true;
  if (IsEditing() && GetItemFocused() != nullptr) GetItemFocused()->CancelEdit();
  const Integer Delta = FHScrollBar->GetPosition() - FLastHPos;
  if (GetViewStyle() == vsList) {
    // The list view scrolls by whole columns.
    const WPARAM Code = Delta < 0 ? SB_LINELEFT : SB_LINERIGHT;
    for (Integer I = 0; I < std::abs(Delta); ++I) SendMessage(GetHandle(), WM_HSCROLL, Code, 0);
  } else {
    Scroll(Delta, 0);
  }
  FLastHPos = FHScrollBar->GetPosition();
  FScrolling = false;
}
