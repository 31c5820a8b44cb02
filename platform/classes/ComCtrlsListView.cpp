// TCustomListView over the native list view: items, columns, owner data and custom draw.
#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/ComCtrls.h"
#include "platform/classes/ImgList.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"
#include "platform/system/ListTypes.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/ControlText.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/Windows.h"

namespace {

Integer ColumnFormat(TAlignment A) {
  switch (A) {
    case taRightJustify:
      return LVCFMT_RIGHT;
    case taCenter:
      return LVCFMT_CENTER;
    default:
      return LVCFMT_LEFT;
  }
}

TCustomDrawState DrawStateOf(UINT ItemState) {
  TCustomDrawState S;
  if (ItemState & CDIS_SELECTED) S.Include(cdsSelected);
  if (ItemState & CDIS_FOCUS) S.Include(cdsFocused);
  if (ItemState & CDIS_HOT) S.Include(cdsHot);
  if (ItemState & CDIS_DISABLED) S.Include(cdsDisabled);
  if (ItemState & CDIS_CHECKED) S.Include(cdsChecked);
  return S;
}

// Sub-item texts come on demand too, for every column after the first.
void SetSubItemCallbacks(TCustomListView* View, Integer Index, Integer Columns) {
  for (Integer Sub = 1; Sub < Columns; ++Sub) {
    LVITEM It;
    It.mask = LVIF_TEXT;
    It.iItem = Index;
    It.iSubItem = Sub;
    It.pszText = LPSTR_TEXTCALLBACK;
    View->Perform(LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&It));
  }
}

}  // namespace

// ---- TListItem --------------------------------------------------------------------------------

TListItem::TListItem(TListItems* Owner) : FOwner(Owner), FSubItems(std::make_unique<TStringList>()) {
  FSubItems->OnChange = TNotifyEvent(this, &TListItem::SubItemsChanged);
}

void TListItem::SubItemsChanged(TObject*) {
  if (TCustomListView* V = GetListView()) V->Invalidate();
}

TCustomListView* TListItem::GetListView() const {
  return FOwner != nullptr ? FOwner->GetOwner() : nullptr;
}

void TListItem::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  if (TCustomListView* V = GetListView()) {
    V->Invalidate();
    V->Change(this, LVIF_TEXT);
  }
}

void TListItem::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (TCustomListView* V = GetListView()) {
    V->Invalidate();
    V->Change(this, LVIF_IMAGE);
  }
}

namespace {

UINT ItemState(const TListItem& Item, UINT Kept, UINT Mask) {
  TCustomListView* V = Item.GetListView();
  if (V == nullptr || !V->HandleAllocated()) return Kept & Mask;
  return static_cast<UINT>(V->Perform(LVM_GETITEMSTATE, static_cast<WPARAM>(Item.GetIndex()), Mask));
}

}  // namespace

Integer TListItem::GetSubItemImages(Integer Index) const {
  return Index >= 0 && Index < static_cast<Integer>(FSubItemImages.size()) ? FSubItemImages[Index] : -1;
}

void TListItem::SetSubItemImages(Integer Index, Integer Value) {
  if (Index < 0) return;
  if (Index >= static_cast<Integer>(FSubItemImages.size())) FSubItemImages.resize(Index + 1, -1);
  FSubItemImages[Index] = Value;
  if (TCustomListView* V = GetListView()) V->Invalidate();
}

bool TListItem::GetSelected() const {
  return ItemState(*this, FState, LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool Value) {
  FState = Value ? (FState | LVIS_SELECTED) : (FState & ~LVIS_SELECTED);
  TCustomListView* V = GetListView();
  if (V == nullptr || !V->HandleAllocated()) return;
  LVITEM It;
  It.stateMask = LVIS_SELECTED;
  It.state = Value ? LVIS_SELECTED : 0;
  V->Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&It));
}

bool TListItem::GetFocused() const {
  return ItemState(*this, FState, LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool Value) {
  FState = Value ? (FState | LVIS_FOCUSED) : (FState & ~LVIS_FOCUSED);
  TCustomListView* V = GetListView();
  if (V == nullptr || !V->HandleAllocated()) return;
  LVITEM It;
  It.stateMask = LVIS_FOCUSED;
  It.state = Value ? LVIS_FOCUSED : 0;
  V->Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&It));
}

bool TListItem::GetChecked() const {
  return ItemState(*this, FState, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void TListItem::SetChecked(bool Value) {
  const UINT Image = INDEXTOSTATEIMAGEMASK(Value ? 2 : 1);
  FState = (FState & ~LVIS_STATEIMAGEMASK) | Image;
  TCustomListView* V = GetListView();
  if (V == nullptr || !V->HandleAllocated()) return;
  LVITEM It;
  It.stateMask = LVIS_STATEIMAGEMASK;
  It.state = Image;
  V->Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&It));
}

TRect TListItem::DisplayRect(TDisplayCode Code) const {
  TCustomListView* V = GetListView();
  if (V == nullptr || !V->HandleAllocated()) return {};
  RECT R{};
  R.Left = static_cast<Integer>(Code);  // drBounds .. drSelectBounds are LVIR_BOUNDS .. LVIR_SELECTBOUNDS
  if (!V->Perform(LVM_GETITEMRECT, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&R))) return {};
  return R;
}

bool TListItem::EditCaption() {
  TCustomListView* V = GetListView();
  if (V == nullptr || !V->HandleAllocated()) return false;
  V->SetFocus();
  return V->Perform(LVM_EDITLABEL, static_cast<WPARAM>(FIndex), 0) != 0;
}

void TListItem::CancelEdit() {
  TCustomListView* V = GetListView();
  if (V != nullptr && V->HandleAllocated()) V->Perform(LVM_EDITLABEL, static_cast<WPARAM>(-1), 0);
}

void TListItem::MakeVisible(bool PartialOK) {
  TCustomListView* V = GetListView();
  if (V != nullptr && V->HandleAllocated())
    V->Perform(LVM_ENSUREVISIBLE, static_cast<WPARAM>(FIndex), PartialOK);
}

void TListItem::Delete() {
  if (FOwner != nullptr) FOwner->Delete(FIndex);
}

// ---- TListItems -------------------------------------------------------------------------------

TListItems::TListItems(TCustomListView* Owner) : FOwner(Owner) {}
TListItems::~TListItems() = default;

void TListItems::Renumber(Integer From) {
  for (Integer I = From; I < static_cast<Integer>(FItems.size()); ++I) FItems[I]->FIndex = I;
}

TListItem* TListItems::Add() {
  return Insert(static_cast<Integer>(FItems.size()));
}

TListItem* TListItems::Insert(Integer Index) {
  if (Index < 0 || Index > static_cast<Integer>(FItems.size()))
    throw EListError(Format(SListIndexError, {Index}));
  auto Item = std::make_unique<TListItem>(this);
  TListItem* Made = Item.get();
  FItems.insert(FItems.begin() + Index, std::move(Item));
  Renumber(Index);
  if (FOwner->HandleAllocated() && !FOwner->FOwnerData) {
    LVITEM It;
    It.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    It.iItem = Index;
    It.pszText = LPSTR_TEXTCALLBACK;
    It.iImage = I_IMAGECALLBACK;
    It.lParam = reinterpret_cast<LPARAM>(Made);
    FOwner->Perform(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&It));
    SetSubItemCallbacks(FOwner, Index, FOwner->GetColumns()->GetCount());
  }
  return Made;
}

void TListItems::Delete(Integer Index) {
  if (Index < 0 || Index >= static_cast<Integer>(FItems.size()))
    throw EListError(Format(SListIndexError, {Index}));
  if (FOwner->HandleAllocated() && !FOwner->FOwnerData)
    FOwner->Perform(LVM_DELETEITEM, static_cast<WPARAM>(Index), 0);
  FItems.erase(FItems.begin() + Index);
  Renumber(Index);
}

void TListItems::Clear() {
  if (FOwner->HandleAllocated()) FOwner->Perform(LVM_DELETEALLITEMS, 0, 0);
  FItems.clear();
  FOwnerCount = 0;
}

Integer TListItems::GetCount() const {
  return FOwner->FOwnerData ? FOwnerCount : static_cast<Integer>(FItems.size());
}

void TListItems::SetCount(Integer Value) {
  if (!FOwner->FOwnerData) return;
  FOwnerCount = std::max(0, Value);
  if (FOwner->HandleAllocated()) FOwner->Perform(LVM_SETITEMCOUNT, static_cast<WPARAM>(FOwnerCount), 0);
}

TListItem* TListItems::GetItem(Integer Index) {
  if (Index < 0 || Index >= GetCount()) throw EListError(Format(SListIndexError, {Index}));
  if (!FOwner->FOwnerData) return FItems[Index].get();
  if (!FTemp) FTemp = std::make_unique<TListItem>(this);
  FTemp->FIndex = Index;
  FTemp->FCaption.clear();
  FTemp->FSubItems->Clear();
  FTemp->FImageIndex = -1;
  FTemp->FSubItemImages.clear();
  FTemp->FData = nullptr;
  if (FOwner->OnData) FOwner->OnData(FOwner, FTemp.get());
  return FTemp.get();
}

// ---- Columns ----------------------------------------------------------------------------------

TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

void TListColumn::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TListColumn*>(Source)) {
    FCaption = S->FCaption;
    FWidth = S->FWidth;
    FAlignment = S->FAlignment;
    FImageIndex = S->FImageIndex;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TListColumn::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed(false);
}

Integer TListColumn::GetWidth() const {
  auto* Columns = static_cast<TListColumns*>(GetCollection());
  TCustomListView* V = Columns->GetListView();
  if (V != nullptr && V->HandleAllocated() && V->GetViewStyle() == vsReport)
    return static_cast<Integer>(V->Perform(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(GetIndex()), 0));
  return FWidth;
}

void TListColumn::SetWidth(Integer Value) {
  FWidth = Value;
  Changed(false);
}

void TListColumn::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Changed(false);
}

void TListColumn::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed(false);
}

TListColumns::TListColumns(TCustomListView* Owner)
    : TCollection(&CreateCollectionItem<TListColumn>), FOwner(Owner) {}

TPersistent* TListColumns::GetOwner() {
  return FOwner;
}

void TListColumns::Update(TCollectionItem*) {
  FOwner->UpdateColumns();
}

// ---- TCustomListView --------------------------------------------------------------------------

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TListItems>(this)),
      FColumns(std::make_unique<TListColumns>(this)),
      FCanvas(std::make_unique<TControlCanvas>()),
      FIconOptions(std::make_unique<TIconOptions>()) {
  FCanvas->SetControl(this);
  FControlStyle = TControlStyle{csDoubleClicks, csOpaque};
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomListView::~TCustomListView() {
  Destroying();
  OnData = nullptr;
  OnCustomDrawItem = nullptr;
}

void TCustomListView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY:
      CNNotify(Message);
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TCustomListView::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_LISTVIEW);
  Params.Style |= WS_CLIPCHILDREN | LVS_SHAREIMAGELISTS | WS_BORDER;
  static const DWORD Views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  Params.Style |= Views[FViewStyle];
  if (!FMultiSelect) Params.Style |= LVS_SINGLESEL;
  if (!FReadOnly) Params.Style |= LVS_EDITLABELS;
  if (!FHideSelection) Params.Style |= LVS_SHOWSELALWAYS;
  if (FOwnerData) Params.Style |= LVS_OWNERDATA;
  if (!FShowColumnHeaders) Params.Style |= LVS_NOCOLUMNHEADER;
  if (!FColumnClick) Params.Style |= LVS_NOSORTHEADER;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListView::CreateWnd() {
  TWinControl::CreateWnd();
  Perform(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(FExStyle));
  Perform(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(GetColor())));
  SetImageList(LVSIL_NORMAL, FLargeImages);
  SetImageList(LVSIL_SMALL, FSmallImages);
  SetImageList(LVSIL_STATE, FStateImages);
  UpdateColumns();
  PushItems();
}

void TCustomListView::PushItems() {
  if (!HandleAllocated()) return;
  if (FOwnerData) {
    Perform(LVM_SETITEMCOUNT, static_cast<WPARAM>(FItems->FOwnerCount), 0);
    return;
  }
  for (const auto& Item : FItems->FItems) {
    LVITEM It;
    It.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    It.iItem = Item->FIndex;
    It.pszText = LPSTR_TEXTCALLBACK;
    It.iImage = I_IMAGECALLBACK;
    It.lParam = reinterpret_cast<LPARAM>(Item.get());
    It.state = Item->FState;
    It.stateMask = LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK;
    Perform(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&It));
    SetSubItemCallbacks(this, Item->FIndex, FColumns->GetCount());
  }
}

void TCustomListView::UpdateColumns() {
  if (!HandleAllocated()) return;
  while (Perform(LVM_DELETECOLUMN, 0, 0)) {
  }
  for (Integer I = 0; I < FColumns->GetCount(); ++I) {
    TListColumn* C = FColumns->GetItem(I);
    LVCOLUMN Col;
    Col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    Col.pszText = const_cast<char*>(C->FCaption.c_str());
    Col.cx = C->FWidth;
    Col.fmt = ColumnFormat(C->FAlignment);
    Col.iSubItem = I;
    if (C->FImageIndex >= 0) {
      Col.mask |= LVCF_IMAGE;
      Col.fmt |= LVCFMT_IMAGE;
      Col.iImage = C->FImageIndex;
    }
    Perform(LVM_INSERTCOLUMN, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&Col));
  }
  if (!FOwnerData)
    for (const auto& Item : FItems->FItems) SetSubItemCallbacks(this, Item->FIndex, FColumns->GetCount());
}

void TCustomListView::SetImageList(Integer Kind, TCustomImageList* List) {
  if (HandleAllocated())
    Perform(LVM_SETIMAGELIST, static_cast<WPARAM>(Kind),
            reinterpret_cast<LPARAM>(List != nullptr ? List->GetHandle() : nullptr));
}

void TCustomListView::SetViewStyle(TViewStyle Value) {
  if (FViewStyle == Value) return;
  FViewStyle = Value;
  if (!HandleAllocated()) return;
  static const DWORD Views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  const DWORD Style = static_cast<DWORD>(GetWindowLongPtr(GetWindowHandle(), GWL_STYLE));
  SetWindowLongPtr(GetWindowHandle(), GWL_STYLE, (Style & ~LVS_TYPEMASK) | Views[Value]);
  Invalidate();
}

namespace {

void SwapImages(TCustomListView* View, TCustomImageList*& Slot, TCustomImageList* Value) {
  if (Slot != nullptr) Slot->RemoveFreeNotification(View);
  Slot = Value;
  if (Slot != nullptr) Slot->FreeNotification(View);
}

}  // namespace

void TCustomListView::SetLargeImages(TCustomImageList* Value) {
  SwapImages(this, FLargeImages, Value);
  SetImageList(LVSIL_NORMAL, Value);
}

void TCustomListView::SetSmallImages(TCustomImageList* Value) {
  SwapImages(this, FSmallImages, Value);
  SetImageList(LVSIL_SMALL, Value);
}

void TCustomListView::SetStateImages(TCustomImageList* Value) {
  SwapImages(this, FStateImages, Value);
  SetImageList(LVSIL_STATE, Value);
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FLargeImages) SetLargeImages(nullptr);
  if (AComponent == FSmallImages) SetSmallImages(nullptr);
  if (AComponent == FStateImages) SetStateImages(nullptr);
}

void TCustomListView::SetExStyle(DWORD Bit, bool On) {
  FExStyle = On ? (FExStyle | Bit) : (FExStyle & ~Bit);
  if (HandleAllocated()) Perform(LVM_SETEXTENDEDLISTVIEWSTYLE, Bit, On ? Bit : 0);
  // Check boxes start unchecked.
  if (Bit == LVS_EX_CHECKBOXES && On)
    for (Integer I = 0; I < static_cast<Integer>(FItems->FItems.size()); ++I)
      if (!(FItems->FItems[I]->FState & LVIS_STATEIMAGEMASK)) FItems->FItems[I]->SetChecked(false);
}

void TCustomListView::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  RecreateWnd();
}

void TCustomListView::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  RecreateWnd();
}

void TCustomListView::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomListView::SetOwnerData(bool Value) {
  if (FOwnerData == Value) return;
  FItems->Clear();
  FOwnerData = Value;
  RecreateWnd();
}

void TCustomListView::SetShowColumnHeaders(bool Value) {
  if (FShowColumnHeaders == Value) return;
  FShowColumnHeaders = Value;
  RecreateWnd();
}

void TCustomListView::SetColumnClick(bool Value) {
  if (FColumnClick == Value) return;
  FColumnClick = Value;
  RecreateWnd();
}

TListItem* TCustomListView::ItemOf(Integer Index) {
  if (Index < 0 || Index >= FItems->GetCount()) return nullptr;
  return FItems->GetItem(Index);
}

TListItem* TCustomListView::GetSelected() {
  if (!HandleAllocated()) return nullptr;
  return ItemOf(static_cast<Integer>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

void TCustomListView::SetSelected(TListItem* Value) {
  if (!HandleAllocated()) return;
  LVITEM It;
  It.stateMask = LVIS_SELECTED;
  Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&It));
  if (Value != nullptr) {
    Value->SetSelected(true);
    Value->SetFocused(true);
    Value->MakeVisible(false);
  }
}

TListItem* TCustomListView::GetItemFocused() {
  if (!HandleAllocated()) return nullptr;
  return ItemOf(static_cast<Integer>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
}

void TCustomListView::SetItemFocused(TListItem* Value) {
  if (Value != nullptr) Value->SetFocused(true);
}

Integer TCustomListView::GetSelCount() {
  return HandleAllocated() ? static_cast<Integer>(Perform(LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

TListItem* TCustomListView::GetTopItem() {
  return HandleAllocated() ? ItemOf(static_cast<Integer>(Perform(LVM_GETTOPINDEX, 0, 0))) : nullptr;
}

Integer TCustomListView::VisibleRowCount() {
  return HandleAllocated() ? static_cast<Integer>(Perform(LVM_GETCOUNTPERPAGE, 0, 0)) : 0;
}

TListItem* TCustomListView::GetItemAt(Integer X, Integer Y) {
  if (!HandleAllocated()) return nullptr;
  LVHITTESTINFO Hit;
  Hit.pt = {X, Y};
  return ItemOf(static_cast<Integer>(Perform(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit))));
}

void TCustomListView::Scroll(Integer DX, Integer DY) {
  if (HandleAllocated()) Perform(LVM_SCROLL, static_cast<WPARAM>(DX), static_cast<LPARAM>(DY));
}

bool TCustomListView::IsEditing() {
  return HandleAllocated() && Perform(LVM_GETEDITCONTROL, 0, 0) != 0;
}

TListItem* TCustomListView::FindCaption(Integer StartIndex, const std::string& Value, bool Partial,
                                        bool Inclusive, bool Wrap) {
  if (!HandleAllocated()) return nullptr;
  LVFINDINFO F;
  F.flags = (Partial ? LVFI_PARTIAL : LVFI_STRING) | (Wrap ? LVFI_WRAP : 0);
  F.psz = Value.c_str();
  const Integer Start = Inclusive ? StartIndex - 1 : StartIndex;
  return ItemOf(
      static_cast<Integer>(Perform(LVM_FINDITEM, static_cast<WPARAM>(Start), reinterpret_cast<LPARAM>(&F))));
}

void TCustomListView::Change(TListItem* Item, Integer Change) {
  TItemChange Kind = ctState;
  if (Change == LVIF_TEXT) Kind = ctText;
  if (Change == LVIF_IMAGE) Kind = ctImage;
  if (OnChange) OnChange(this, Item, Kind);
}

void TCustomListView::ColClick(TListColumn* Column) {
  if (OnColumnClick) OnColumnClick(this, Column);
}

bool TCustomListView::CustomDrawItem(TListItem* Item, TCustomDrawState State, TCustomDrawStage Stage) {
  bool DefaultDraw = true;
  if (Stage == cdPrePaint && OnCustomDrawItem) OnCustomDrawItem(this, Item, State, DefaultDraw);
  return DefaultDraw;
}

void TCustomListView::FillDispInfo(NMLVDISPINFO& Info) {
  TListItem* Item = FOwnerData ? ItemOf(Info.item.iItem) : reinterpret_cast<TListItem*>(Info.item.lParam);
  if (Item == nullptr) return;
  if (Info.item.mask & LVIF_TEXT) {
    const Integer Sub = Info.item.iSubItem;
    if (Sub == 0)
      FDispText = Item->FCaption;
    else
      FDispText =
          Sub - 1 < Item->FSubItems->GetCount() ? Item->FSubItems->GetStrings(Sub - 1) : std::string();
    CopyTextOut(FDispText, Info.item.pszText, static_cast<std::size_t>(std::max(0, Info.item.cchTextMax)));
  }
  if (Info.item.mask & LVIF_IMAGE)
    Info.item.iImage =
        Info.item.iSubItem > 0 ? Item->GetSubItemImages(Info.item.iSubItem - 1) : Item->FImageIndex;
}

void TCustomListView::CNNotify(TMessage& Message) {
  auto* H = reinterpret_cast<NMHDR*>(Message.LParam);
  Message.Result = 0;
  if (H == nullptr) return;
  auto* L = reinterpret_cast<NMLISTVIEW*>(Message.LParam);
  switch (H->code) {
    case LVN_GETDISPINFO:
      FillDispInfo(*reinterpret_cast<NMLVDISPINFO*>(Message.LParam));
      break;
    case LVN_ITEMCHANGED: {
      TListItem* Item = ItemOf(L->iItem);
      if (Item != nullptr) Item->FState = (Item->FState & ~L->uChanged) | L->uNewState;
      Change(Item, static_cast<Integer>(L->uChanged));
      if (OnSelectItem && ((L->uOldState ^ L->uNewState) & LVIS_SELECTED))
        OnSelectItem(this, Item, (L->uNewState & LVIS_SELECTED) != 0);
      break;
    }
    case LVN_COLUMNCLICK:
      if (L->iSubItem >= 0 && L->iSubItem < FColumns->GetCount()) ColClick(FColumns->GetItem(L->iSubItem));
      break;
    case LVN_ODCACHEHINT: {
      auto* C = reinterpret_cast<NMLVCACHEHINT*>(Message.LParam);
      if (OnDataHint) OnDataHint(this, C->iFrom, C->iTo);
      break;
    }
    case LVN_ODFINDITEM: {
      auto* F = reinterpret_cast<NMLVFINDITEM*>(Message.LParam);
      Integer Index = -1;
      if (OnDataFind) {
        TItemFind Kind = ifExactString;
        if (F->lvfi.flags & LVFI_PARAM) Kind = ifData;
        if (F->lvfi.flags & LVFI_PARTIAL) Kind = ifPartialString;
        if (F->lvfi.flags & LVFI_NEARESTXY) Kind = ifNearest;
        OnDataFind(this, Kind, F->lvfi.psz != nullptr ? F->lvfi.psz : "", F->lvfi.pt,
                   reinterpret_cast<void*>(F->lvfi.lParam), F->iStart, sdAll,
                   (F->lvfi.flags & LVFI_WRAP) != 0, Index);
      }
      Message.Result = Index;
      break;
    }
    case LVN_BEGINLABELEDIT:
      Message.Result = FReadOnly ? 1 : 0;
      break;
    case LVN_ENDLABELEDIT: {
      auto* Info = reinterpret_cast<NMLVDISPINFO*>(Message.LParam);
      TListItem* Item = ItemOf(Info->item.iItem);
      if (Info->item.pszText == nullptr || Item == nullptr) break;
      std::string S = Info->item.pszText;
      if (OnEdited) OnEdited(this, Item, S);
      Item->SetCaption(S);
      break;
    }
    case NM_CLICK:
      if (OnClick) OnClick(this);
      break;
    case NM_DBLCLK:
      if (OnDblClick) OnDblClick(this);
      break;
    case NM_CUSTOMDRAW: {
      auto* CD = reinterpret_cast<NMLVCUSTOMDRAW*>(Message.LParam);
      if (CD->nmcd.dwDrawStage == CDDS_PREPAINT) {
        Message.Result = OnCustomDrawItem ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
      } else if (CD->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        FCanvas->SetHandle(CD->nmcd.hdc);
        const bool Default = CustomDrawItem(ItemOf(static_cast<Integer>(CD->nmcd.dwItemSpec)),
                                            DrawStateOf(CD->nmcd.uItemState), cdPrePaint);
        FCanvas->SetHandle(nullptr);
        Message.Result = Default ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
      }
      break;
    }
    default:
      break;
  }
}
