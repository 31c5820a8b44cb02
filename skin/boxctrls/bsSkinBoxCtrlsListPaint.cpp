// The inner list's painting: its background, the visible rows, and the three item painters
// (default look, fixed-height skin rows, stretched skin rows) with images and tab stops.
#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/user/User.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/data/bsUtils.h"
#include "skin/data/bsUtilsDraw.h"

namespace {

constexpr Integer MaxTabStops = 10;

// A line of digits gives its value; anything else (an empty line too) gives 0.
Integer TabStopOf(const std::string& Line) {
  if (Line.empty() || !std::all_of(Line.begin(), Line.end(), [](char C) { return C >= '0' && C <= '9'; }))
    return 0;
  Integer V = 0;
  for (char C : Line) V = std::min(V * 10 + (C - '0'), 1 << 20);
  return V;
}

bool ValidIndex(TbsListBox* L, Integer Index) {
  return Index >= 0 && Index < L->GetItems()->GetCount();
}

}  // namespace

// ---- The inner list -------------------------------------------------------------------------

TOwnerDrawState TbsListBox::ItemState(Integer Index) {
  if (Index == GetItemIndex()) {
    TOwnerDrawState S{odSelected};
    if (HandleAllocated() && Focused()) S.Include(odFocused);
    return S;
  }
  if (GetSelCount() >= 1 && GetSelected(Index)) return TOwnerDrawState{odSelected};
  return {};
}

void TbsListBox::PaintWindow(HDC DC) {
  if (GetWidth() <= 0 || GetHeight() <= 0) return;
  const Integer Saved = SaveDC(DC);
  if (GetColumns() <= 0)
    PaintItems(DC);
  else
    PaintColumns(DC);
  RestoreDC(DC, Saved);
}

void TbsListBox::PaintItems(HDC DC) {
  TCanvas C;
  C.SetHandle(DC);
  const Integer Count = GetItems()->GetCount();
  const Integer Top = GetTopIndex();
  const Integer Last = std::min(Top + GetHeight() / std::max(GetItemHeight(), 1), Count - 1);
  Integer Bottom = 0;
  for (Integer I = Top; I <= Last && I >= 0; ++I) {
    const TRect R = ItemRect(I);
    if (SkinListBox != nullptr)
      SkinListBox->DrawListItem(&C, I, R, ItemState(I));
    else
      DrawItem(I, R, ItemState(I));
    Bottom = R.Bottom;
  }
  if (Bottom < GetHeight()) {
    if (SkinListBox != nullptr) {
      SkinListBox->LoadSkinPart();
      SkinListBox->TileClientArea(&C, GetWidth(), GetHeight() - Bottom, 0, Bottom);
    } else {
      C.GetBrush()->SetColor(clWindow);
      C.FillRect(Rect(0, Bottom, GetWidth(), GetHeight()));
    }
  }
  C.SetHandle(nullptr);
}

// Several columns fill nothing themselves: the erase covers what the rows leave.
void TbsListBox::PaintColumns(HDC DC) {
  TCanvas C;
  C.SetHandle(DC);
  const Integer Count = GetItems()->GetCount();
  const Integer Top = GetTopIndex();
  const Integer Last = std::min(Top + (GetHeight() / std::max(GetItemHeight(), 1)) * GetColumns(), Count - 1);
  for (Integer I = Top; I <= Last && I >= 0; ++I) {
    if (SkinListBox != nullptr)
      SkinListBox->DrawListItem(&C, I, ItemRect(I), ItemState(I));
    else
      DrawItem(I, ItemRect(I), ItemState(I));
  }
  C.SetHandle(nullptr);
}

void TbsListBox::EraseBackground(HDC DC) {
  TCanvas C;
  C.SetHandle(DC);
  if (SkinListBox != nullptr) {
    SkinListBox->LoadSkinPart();
    SkinListBox->TileClientArea(&C, GetWidth(), GetHeight(), 0, 0);
  } else {
    C.GetBrush()->SetColor(clWindow);
    C.FillRect(Rect(0, 0, GetWidth(), GetHeight()));
  }
  C.SetHandle(nullptr);
}

// ---- The painters ---------------------------------------------------------------------------

void TbsSkinCustomListBox::TileClientArea(TCanvas* Target, Integer W, Integer H, Integer X, Integer Y) {
  if (W <= 0 || H <= 0) return;
  const Integer TW = PartClientRect.Width(), TH = PartClientRect.Height();
  if (PartIndex == -1 || SkinPicture == nullptr || TW <= 0 || TH <= 0) {
    // A piece of no size cannot tile: the plain window colour instead of an endless loop.
    Target->GetBrush()->SetStyle(bsSolid);
    Target->GetBrush()->SetColor(clWindow);
    Target->FillRect(Bounds(X, Y, W, H));
    return;
  }
  const TRect Piece = Bounds(SkinRect.Left + PartClientRect.Left, SkinRect.Top + PartClientRect.Top, TW, TH);
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.GetCanvas();
  for (Integer TY = 0; TY < H; TY += TH)
    for (Integer TX = 0; TX < W; TX += TW) {
      const Integer CW = std::min(TW, W - TX), CH = std::min(TH, H - TY);
      C->CopyRect(Bounds(TX, TY, CW, CH), SkinPicture->GetCanvas(), Bounds(Piece.Left, Piece.Top, CW, CH));
    }
  Target->Draw(X, Y, &B);
}

void TbsSkinCustomListBox::DrawListItem(TCanvas* Target, Integer Index, const TRect& Rect,
                                        TOwnerDrawState State) {
  if (ListBox == nullptr || !ValidIndex(ListBox, Index)) return;
  if (PartIndex == -1)
    DrawItemDefault(Target, Index, Rect, State);
  else if (FUseSkinItemHeight)
    DrawItemFixed(Target, Index, Rect, State);
  else
    DrawItemStretched(Target, Index, Rect, State);
}

void TbsSkinCustomListBox::DrawTabbedText(TCanvas* C, const std::string& Text, const TRect& T,
                                          Integer Offset) {
  Integer Stops[MaxTabStops];
  const Integer N = std::min(FTabWidths->GetCount(), MaxTabStops);
  for (Integer I = 0; I < N; ++I) Stops[I] = TabStopOf(FTabWidths->GetStrings(I));
  Integer Y = T.Top + T.Height() / 2 - C->TextHeight(Text) / 2;
  if (bsUtilsDraw::OddFontHeight(C)) --Y;
  C->RequiredState({csHandleValid, csFontValid, csBrushValid});
  TabbedTextOut(C->GetHandle(), T.Left + Offset + 2, Y, Text.c_str(), static_cast<Integer>(Text.size()), N,
                Stops, 0);
}

void TbsSkinCustomListBox::DrawImageAndText(TCanvas* C, Integer Index, TRect T) {
  const Integer Shift = ListBox->HorzOffset;
  Integer Offset = 0;
  if (FImages != nullptr) {
    const Integer Image = FImageIndex >= 0 ? FImageIndex : Index;
    if (Image < FImages->GetCount())
      FImages->Draw(C, T.Left - Shift, T.Top + T.Height() / 2 - FImages->GetHeight() / 2, Image, true);
    Offset = FImages->GetWidth() + 2;
  }
  C->GetBrush()->SetStyle(bsClear);
  const std::string Text = ListBox->GetItems()->GetStrings(Index);
  // Tab stops keep their columns: the horizontal scroll leaves tabbed text in place.
  if (FTabWidths->GetCount() > 0 && ListBox->GetColumns() <= 0)
    DrawTabbedText(C, Text, T, Offset);
  else
    DrawTextRectVCenterOffset(C, Text, T, Offset - Shift);
}

void TbsSkinCustomListBox::SetSkinItemFont(TCanvas* C) {
  if (GetUseSkinFont()) {
    C->GetFont()->SetName(FontName);
    C->GetFont()->SetStyle(FontStyle);
    C->GetFont()->SetHeight(FontHeight);
  } else {
    C->GetFont()->Assign(GetDefaultFont());
  }
}

void TbsSkinCustomListBox::DrawItemDefault(TCanvas* Target, Integer Index, const TRect& Rect,
                                           TOwnerDrawState State) {
  const Integer W = Rect.Width(), H = Rect.Height();
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.GetCanvas();
  C->GetFont()->SetName(GetFont()->GetName());
  C->GetFont()->SetStyle(GetFont()->GetStyle());
  C->GetFont()->SetHeight(GetFont()->GetHeight());
  const bool Selected = State.Contains(odSelected);
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(Selected ? clHighlight : clWindow);
  C->GetFont()->SetColor(Selected ? clHighlightText : GetFont()->GetColor());
  C->FillRect(::Rect(0, 0, W, H));
  const TRect T = ::Rect(2, 0, W - 2, H);
  if (OnDrawItem)
    OnDrawItem(this, C, Index, TSize{W, H}, T, State);
  else
    DrawImageAndText(C, Index, T);
  if (State.Contains(odFocused)) {
    C->GetBrush()->SetStyle(bsSolid);
    C->DrawFocusRect(::Rect(0, 0, W, H));
  }
  Target->Draw(Rect.Left, Rect.Top, &B);
}

void TbsSkinCustomListBox::DrawItemFixed(TCanvas* Target, Integer Index, const TRect& Rect,
                                         TOwnerDrawState State) {
  const Integer W = Rect.Width(), H = ItemRect.Height();
  if (SkinPicture == nullptr || W <= 0 || H <= 0) return;
  const bool Focused = State.Contains(odFocused), Selected = State.Contains(odSelected);
  TBitmap B;
  TCanvas* C = B.GetCanvas();
  if (Focused && !Selected) {
    CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &B, SkinPicture, ItemRect, W, H, StretchEffect);
    C->GetFont()->SetColor(clWindowText);
    DrawDottedFocusRect(C, ::Rect(0, 0, W, H));
  } else if (Focused) {
    CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &B, SkinPicture, FocusItemRect, W, H, StretchEffect);
  } else if (Selected) {
    CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &B, SkinPicture, ActiveItemRect, W, H, StretchEffect);
  } else {
    CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &B, SkinPicture, ItemRect, W, H, false);
  }
  TRect T = ItemTextRect;
  T.Right += W - ItemRect.Width();
  SetSkinItemFont(C);
  C->GetFont()->SetColor(Focused && Selected ? FocusFontColor : Selected ? ActiveFontColor : FontColor);
  C->GetBrush()->SetStyle(bsClear);
  if (OnDrawItem) {
    OnDrawItem(this, C, Index, TSize{W, H}, T, State);
  } else {
    if (Focused && ShowFocus) DrawDottedFocusRect(C, ::Rect(0, 0, W, H));
    DrawImageAndText(C, Index, T);
  }
  Target->Draw(Rect.Left, Rect.Top, &B);
}

void TbsSkinCustomListBox::DrawItemStretched(TCanvas* Target, Integer Index, const TRect& Rect,
                                             TOwnerDrawState State) {
  const Integer W = Rect.Width(), H = Rect.Height();
  if (SkinPicture == nullptr || W <= 0 || H <= 0) return;
  const bool Focused = State.Contains(odFocused), Selected = State.Contains(odSelected);
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.GetCanvas();
  const TRect& Source = Focused ? FocusItemRect : Selected ? ActiveItemRect : ItemRect;
  const TRect Centre =
      ::Rect(ItemTextRect.Left + 1, ItemTextRect.Top + 1, ItemTextRect.Right - 1, ItemTextRect.Bottom - 1);
  CreateStretchSkinImage(&B, SkinPicture, Source, Centre, true);
  TRect T = ItemTextRect;
  T.Right += W - ItemRect.Width();
  T.Bottom += H - ItemRect.Height();
  SetSkinItemFont(C);
  C->GetFont()->SetColor(Focused ? FocusFontColor : Selected ? ActiveFontColor : FontColor);
  C->GetBrush()->SetStyle(bsClear);
  if (OnDrawItem) {
    OnDrawItem(this, C, Index, TSize{W, ItemRect.Height()}, T, State);
  } else {
    if (Focused && ShowFocus) DrawDottedFocusRect(C, ::Rect(0, 0, W, H));
    DrawImageAndText(C, Index, T);
  }
  Target->Draw(Rect.Left, Rect.Top, &B);
}
