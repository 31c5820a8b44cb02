// TCustomListBox over the native LISTBOX control.
#include <algorithm>

#include "platform/classes/StdCtrls.h"
#include "platform/gdi/Text.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/WindowMessages.h"

namespace {

const TNativeListMessages ListBoxMessages{LB_ADDSTRING,    LB_INSERTSTRING, LB_DELETESTRING,
                                          LB_RESETCONTENT, LB_GETCOUNT,     LB_GETTEXT,
                                          LB_GETTEXTLEN,   LB_GETITEMDATA,  LB_SETITEMDATA};

}  // namespace

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {
  // The window reports clicks (LBN_SELCHANGE); a mouse release is no click of its own.
  FControlStyle = TControlStyle{csDoubleClicks};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FItems = std::make_unique<TNativeListStrings>(this, ListBoxMessages);
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TCustomListBox::~TCustomListBox() {
  Destroying();
  // The window goes while the items and the canvas still exist (its last messages use them).
  if (HandleAllocated()) DestroyHandle();
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      CNCommand(Message);
      break;
    case CN_DRAWITEM:
      CNDrawItem(Message);
      break;
    case CN_MEASUREITEM:
      CNMeasureItem(Message);
      break;
    case WM_GETDLGCODE:
      DefaultHandler(Message);
      break;
    case CM_CTL3DCHANGED:
      // The client edge is a creation style.
      TWinControl::Dispatch(Message);
      if (FBorderStyle == bsSingle) RecreateWnd();
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "LISTBOX");
  Params.Style |= WS_HSCROLL | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
  if (FStyle == lbOwnerDrawFixed)
    Params.Style |= LBS_OWNERDRAWFIXED;
  else if (FStyle == lbOwnerDrawVariable)
    Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (FItems->GetSorted()) Params.Style |= LBS_SORT;
  if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FTabWidth != 0) Params.Style |= LBS_USETABSTOPS;
  if (FBorderStyle == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateHandle() {
  const bool Had = HandleAllocated();
  TWinControl::CreateHandle();
  if (Had || !HandleAllocated()) return;
  // After the window is bound to this control, so the owner-draw questions reach it.
  const HWND Wnd = GetWindowHandle();
  if (FStyle == lbOwnerDrawFixed) SendMessage(Wnd, LB_SETITEMHEIGHT, 0, FItemHeight);
  if (FTabWidth != 0) SendMessage(Wnd, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&FTabWidth));
  FItems->RestoreToWindow();
  for (Integer Index : FSelection) SendMessage(Wnd, LB_SETSEL, TRUE, Index);
  FSelection.clear();
  SendMessage(Wnd, LB_SETTOPINDEX, static_cast<WPARAM>(FTopIndex), 0);
  const Integer Index = FItemIndex;
  FItemIndex = -1;
  if (Index >= 0) SetItemIndex(Index);
}

void TCustomListBox::DestroyWnd() {
  const HWND Wnd = GetWindowHandle();
  FItemIndex = GetItemIndex();
  FTopIndex = GetTopIndex();
  FSelection.clear();
  if (FMultiSelect)
    for (Integer I = 0; I < FItems->GetCount(); ++I)
      if (SendMessage(Wnd, LB_GETSEL, static_cast<WPARAM>(I), 0) > 0) FSelection.push_back(I);
  FItems->SaveFromWindow();
  TWinControl::DestroyWnd();
}

Integer TCustomListBox::GetItemIndex() {
  if (!HandleAllocated()) return FItemIndex;
  return static_cast<Integer>(
      SendMessage(GetWindowHandle(), FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(Integer Value) {
  if (!HandleAllocated()) {
    FItemIndex = Value;
    return;
  }
  if (GetItemIndex() == Value) return;
  if (FMultiSelect)
    SendMessage(GetWindowHandle(), LB_SETCARETINDEX, static_cast<WPARAM>(Value), FALSE);
  else
    SendMessage(GetWindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

Integer TCustomListBox::GetTopIndex() {
  if (!HandleAllocated()) return FTopIndex;
  return static_cast<Integer>(SendMessage(GetWindowHandle(), LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(Integer Value) {
  if (!HandleAllocated())
    FTopIndex = Value;
  else if (GetTopIndex() != Value)
    SendMessage(GetWindowHandle(), LB_SETTOPINDEX, static_cast<WPARAM>(Value), 0);
}

bool TCustomListBox::GetSelected(Integer Index) {
  if (Index < 0 || Index >= FItems->GetCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  if (!HandleAllocated())
    return FMultiSelect ? std::find(FSelection.begin(), FSelection.end(), Index) != FSelection.end()
                        : Index == FItemIndex;
  if (FMultiSelect) return SendMessage(GetWindowHandle(), LB_GETSEL, static_cast<WPARAM>(Index), 0) > 0;
  return GetItemIndex() == Index;
}

void TCustomListBox::SetSelected(Integer Index, bool Value) {
  if (Index < 0 || Index >= FItems->GetCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  if (!FMultiSelect) {
    if (Value)
      SetItemIndex(Index);
    else if (GetItemIndex() == Index)
      SetItemIndex(-1);
    return;
  }
  if (HandleAllocated()) {
    SendMessage(GetWindowHandle(), LB_SETSEL, Value ? TRUE : FALSE, Index);
    return;
  }
  auto It = std::find(FSelection.begin(), FSelection.end(), Index);
  if (Value && It == FSelection.end())
    FSelection.push_back(Index);
  else if (!Value && It != FSelection.end())
    FSelection.erase(It);
}

Integer TCustomListBox::GetSelCount() {
  if (!FMultiSelect) return -1;
  if (!HandleAllocated()) return static_cast<Integer>(FSelection.size());
  return static_cast<Integer>(SendMessage(GetWindowHandle(), LB_GETSELCOUNT, 0, 0));
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

Integer TCustomListBox::GetItemHeight() {
  if (HandleAllocated() && FStyle == lbStandard)
    return static_cast<Integer>(SendMessage(GetWindowHandle(), LB_GETITEMHEIGHT, 0, 0));
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(Integer Value) {
  if (Value <= 0 || FItemHeight == Value) return;
  FItemHeight = Value;
  if (FStyle == lbOwnerDrawFixed && HandleAllocated())
    SendMessage(GetWindowHandle(), LB_SETITEMHEIGHT, 0, Value);
  else if (FStyle == lbOwnerDrawVariable)
    RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value) {
  if (FItems->GetSorted() == Value) return;
  FItems->SetSorted(Value);
  if (HandleAllocated()) {
    RecreateWnd();
    return;
  }
  // Without a window the own list sorts now.
  if (Value) {
    TStringList Sorted;
    Sorted.Assign(FItems.get());
    Sorted.Sort();
    FItems->Assign(&Sorted);
  }
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetTabWidth(Integer Value) {
  if (Value < 0 || FTabWidth == Value) return;
  FTabWidth = Value;
  RecreateWnd();
}

Integer TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
  const TRect Client = GetClientRect();
  if (Pos.X >= Client.Left && Pos.X < Client.Right && Pos.Y >= Client.Top && Pos.Y < Client.Bottom) {
    const Integer Count = FItems->GetCount();
    Integer Result = GetTopIndex();
    for (; Result < Count; ++Result) {
      const TRect R = ItemRect(Result);
      if (Pos.X >= R.Left && Pos.X < R.Right && Pos.Y >= R.Top && Pos.Y < R.Bottom) return Result;
      // Items below the client area are not under any point of it.
      if (R.Top >= Client.Bottom) break;
    }
    if (!Existing) return Count;
  }
  return -1;
}

TRect TCustomListBox::ItemRect(Integer Index) {
  RECT R{0, 0, 0, 0};
  if (!HandleAllocated()) return R;
  const Integer Count = FItems->GetCount();
  if (Index == 0 || Index < Count) {
    SendMessage(GetWindowHandle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&R));
  } else if (Index == Count) {
    // Where one more item would go.
    SendMessage(GetWindowHandle(), LB_GETITEMRECT, static_cast<WPARAM>(Index - 1),
                reinterpret_cast<LPARAM>(&R));
    const Integer H = R.Bottom - R.Top;
    R.Top += H;
    R.Bottom += H;
  }
  return R;
}

void TCustomListBox::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case LBN_SELCHANGE:
      TControl::Changed();
      Click();
      break;
    case LBN_DBLCLK:
      DblClick();
      break;
    default:
      break;
  }
}

void TCustomListBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index < FItems->GetCount()) {
    const std::string Text = FItems->GetStrings(Index);
    Rect.Left += 2;
    DrawText(FCanvas->GetHandle(), Text.c_str(), static_cast<Integer>(Text.size()), &Rect,
             DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
}

void TCustomListBox::MeasureItem(Integer Index, Integer& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNDrawItem(TMessage& Message) {
  DrawOwnerItem(FCanvas.get(), this, *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam),
                [this](Integer Index, TRect Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
  Message.Result = TRUE;
}

void TCustomListBox::CNMeasureItem(TMessage& Message) {
  auto* Item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  Integer Height = FItemHeight;
  if (FStyle == lbOwnerDrawVariable) MeasureItem(static_cast<Integer>(Item->itemID), Height);
  Item->itemHeight = static_cast<UINT>(std::max(1, Height));
  Message.Result = TRUE;
}
