// TbsSkinCustomListView: the report-style list of rows.
#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

// ---- Items and columns ----------------------------------------------------------------------

TbsSkinCustomListView::TListItem* TbsSkinCustomListView::TListItems::Add() {
  FItems.push_back(std::make_unique<TListItem>());
  FOwner->ItemsChanged();
  return FItems.back().get();
}

void TbsSkinCustomListView::TListItems::Clear() {
  FItems.clear();
  FOwner->ItemsChanged();
}

void TbsSkinCustomListView::TListItems::Delete(Integer Index) {
  GetItem(Index);
  FItems.erase(FItems.begin() + Index);
  FOwner->ItemsChanged();
}

TbsSkinCustomListView::TListItem* TbsSkinCustomListView::TListItems::GetItem(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FItems[static_cast<std::size_t>(Index)].get();
}

TbsSkinCustomListView::TListColumn* TbsSkinCustomListView::TListColumns::Add() {
  FColumns.push_back(std::make_unique<TListColumn>());
  FOwner->Invalidate();
  return FColumns.back().get();
}

void TbsSkinCustomListView::TListColumns::Clear() {
  FColumns.clear();
  FOwner->Invalidate();
}

TbsSkinCustomListView::TListColumn* TbsSkinCustomListView::TListColumns::GetItem(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FColumns[static_cast<std::size_t>(Index)].get();
}

// ---- The view -------------------------------------------------------------------------------

TbsSkinCustomListView::TbsSkinCustomListView(TComponent* AOwner)
    : TCustomControl(AOwner),
      FItems(std::make_unique<TListItems>(this)),
      FColumns(std::make_unique<TListColumns>(this)),
      FDefaultFont(std::make_unique<TFont>()) {
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->SetStyle({});
  GetFont()->Assign(FDefaultFont.get());
  SetColor(FDefaultColor);
  SetTabStop(true);
  SetWidth(200);
  SetHeight(150);
}

TbsSkinCustomListView::~TbsSkinCustomListView() = default;

void TbsSkinCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
}

void TbsSkinCustomListView::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (Value != nullptr && !Value->Empty && !GetComponentState().Contains(csDesigning)) ApplySkinChange();
}

void TbsSkinCustomListView::ApplySkinChange() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
  // The part's font and colours come with skins that carry a "listview" part.
  SetColor(FDefaultColor);
  GetFont()->Assign(FDefaultFont.get());
  SyncScrollBar();
  Invalidate();
}

void TbsSkinCustomListView::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  if (PartIndex == -1) GetFont()->Assign(Value);
}

void TbsSkinCustomListView::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (PartIndex == -1) SetColor(Value);
}

void TbsSkinCustomListView::SetShowColumnHeaders(bool Value) {
  FShowColumnHeaders = Value;
  ItemsChanged();
}

void TbsSkinCustomListView::SetVScrollBar(TbsSkinScrollBar* Value) {
  FVScrollBar = Value;
  if (Value != nullptr) {
    Value->FreeNotification(this);
    Value->SetEnabled(true);
    Value->SetVisible(false);
    Value->OnChange = TNotifyEvent(this, &TbsSkinCustomListView::VScroll);
  }
  SyncScrollBar();
}

Integer TbsSkinCustomListView::RowHeight() {
  GetCanvas()->SetFont(GetFont());
  return GetCanvas()->TextHeight("Wg") + 4;
}

Integer TbsSkinCustomListView::HeaderHeight() {
  return FShowColumnHeaders ? RowHeight() + 2 : 0;
}

Integer TbsSkinCustomListView::RowsPerPage() {
  return std::max(1, (GetClientHeight() - HeaderHeight()) / std::max(RowHeight(), 1));
}

Integer TbsSkinCustomListView::ItemAtPos(TPoint Pos) {
  if (Pos.Y < HeaderHeight()) return -1;
  const Integer I = FTopIndex + (Pos.Y - HeaderHeight()) / RowHeight();
  return I < FItems->GetCount() ? I : -1;
}

void TbsSkinCustomListView::SetItemIndex(Integer Value) {
  if (Value < -1 || Value >= FItems->GetCount()) Value = -1;
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  if (Value >= 0) {
    // The selected row comes into view.
    if (Value < FTopIndex)
      SetTopIndex(Value);
    else if (Value >= FTopIndex + RowsPerPage())
      SetTopIndex(Value - RowsPerPage() + 1);
  }
  Invalidate();
  if (OnChange) OnChange(this);
}

void TbsSkinCustomListView::SetTopIndex(Integer Value) {
  Value = std::max(0, std::min(Value, FItems->GetCount() - RowsPerPage()));
  if (Value == FTopIndex) return;
  FTopIndex = Value;
  SyncScrollBar();
  Invalidate();
}

void TbsSkinCustomListView::ItemsChanged() {
  if (FItemIndex >= FItems->GetCount()) FItemIndex = -1;
  FTopIndex = std::max(0, std::min(FTopIndex, FItems->GetCount() - RowsPerPage()));
  SyncScrollBar();
  Invalidate();
}

void TbsSkinCustomListView::SyncScrollBar() {
  if (FVScrollBar == nullptr) return;
  const Integer Rows = RowsPerPage();
  const bool Needed = Rows < FItems->GetCount() && GetVisible();
  FVScrollBar->SetVisible(Needed);
  if (!Needed) return;
  FVScrollBar->SetRange(0, FItems->GetCount() - 1, FTopIndex, Rows);
  FVScrollBar->SetSmallChange(1);
  FVScrollBar->SetLargeChange(Rows);
}

void TbsSkinCustomListView::VScroll(TObject*) {
  if (FVScrollBar != nullptr) SetTopIndex(FVScrollBar->GetPosition());
}

void TbsSkinCustomListView::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CanFocus() && !Focused()) SetFocus();
  const Integer I = ItemAtPos(Point(X, Y));
  if (I >= 0) SetItemIndex(I);
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCustomListView::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const Integer Count = FItems->GetCount();
  if (Count == 0) return;
  switch (Key) {
    case VK_UP:
      SetItemIndex(std::max(0, FItemIndex - 1));
      break;
    case VK_DOWN:
      SetItemIndex(std::min(Count - 1, FItemIndex + 1));
      break;
    case VK_HOME:
      SetItemIndex(0);
      break;
    case VK_END:
      SetItemIndex(Count - 1);
      break;
    default:
      break;
  }
}

void TbsSkinCustomListView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      SetTopIndex(FTopIndex + (static_cast<SHORT>(HIWORD(Message.WParam)) > 0 ? -1 : 1));
      Message.Result = 1;
      break;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      break;
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      ItemsChanged();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(Message);
      Invalidate();
      break;
    case WM_ERASEBKGND:
      Message.Result = 1;
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}

void TbsSkinCustomListView::Paint() {
  const Integer W = GetClientWidth(), H = GetClientHeight();
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.GetCanvas();
  C->SetFont(GetFont());
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(GetColor());
  C->FillRect(Rect(0, 0, W, H));
  const Integer RH = RowHeight(), HH = HeaderHeight();
  // Column edges; without columns the caption takes the whole row.
  std::vector<std::pair<Integer, Integer>> Cells;
  Integer X = 0;
  for (Integer I = 0; I < FColumns->GetCount(); ++I) {
    const Integer CW = FColumns->GetItem(I)->GetWidth();
    Cells.emplace_back(X, X + CW);
    X += CW;
  }
  if (Cells.empty()) Cells.emplace_back(0, W);
  if (FShowColumnHeaders) {
    for (std::size_t I = 0; I <= Cells.size(); ++I) {
      // The sections, then the rest of the header.
      const TRect R = I < Cells.size() ? Rect(Cells[I].first, 0, Cells[I].second, HH) : Rect(X, 0, W + 1, HH);
      if (R.Width() <= 0) continue;
      C->GetPen()->SetColor(clBtnShadow);
      C->GetBrush()->SetStyle(bsSolid);
      C->GetBrush()->SetColor(clBtnFace);
      C->Rectangle(R);
      if (I < Cells.size() && static_cast<Integer>(I) < FColumns->GetCount()) {
        std::string Caption = FColumns->GetItem(static_cast<Integer>(I))->GetCaption();
        FitTextToWidth(C, Caption, R.Width() - 10);
        C->GetBrush()->SetStyle(bsClear);
        C->GetFont()->SetColor(clBtnText);
        DrawCaptionLeft(C, Caption, Rect(R.Left + 5, R.Top, R.Right - 5, R.Bottom));
      }
    }
  }
  const bool Focus = HandleAllocated() && Focused();
  for (Integer I = FTopIndex, Y = HH; I < FItems->GetCount() && Y < H; ++I, Y += RH) {
    const TListItem* Item = FItems->GetItem(I);
    const bool Selected = I == FItemIndex;
    if (Selected) {
      C->GetBrush()->SetStyle(bsSolid);
      C->GetBrush()->SetColor(Focus ? clHighlight : clBtnFace);
      C->FillRect(Rect(0, Y, std::max(X, W), Y + RH));
    }
    C->GetBrush()->SetStyle(bsClear);
    C->GetFont()->SetColor(Selected && Focus ? clHighlightText : GetFont()->GetColor());
    for (std::size_t Col = 0; Col < Cells.size(); ++Col) {
      std::string Text = Col == 0 ? Item->GetCaption()
                                  : (static_cast<Integer>(Col) - 1 < Item->GetSubItems()->GetCount()
                                         ? Item->GetSubItems()->GetStrings(static_cast<Integer>(Col) - 1)
                                         : std::string());
      const TRect Cell = Rect(Cells[Col].first + 3, Y, Cells[Col].second - 3, Y + RH);
      FitTextToWidth(C, Text, Cell.Width());
      DrawCaptionLeft(C, Text, Cell);
    }
  }
  GetCanvas()->Draw(0, 0, &B);
}
