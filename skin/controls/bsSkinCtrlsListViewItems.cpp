// TbsSkinCustomListView: items painted with the skin's selection pictures, check boxes and
// grid lines.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/user/CommonControls.h"
#include "skin/controls/bsSkinCtrlsListView.h"
#include "skin/controls/bsSkinCtrlsPictures.h"
#include "skin/controls/bsSkinPartMixin.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsSkinDataEditParts.h"
#include "skin/data/bsUtils.h"

namespace {

template <class TPart>
TPart* FindPart(TbsSkinData* SD, const std::string& Name) {
  const Integer Index = SD->FindControlPart(Name);
  if (Index < 0) return nullptr;
  return dynamic_cast<TPart*>(SD->SkinControls[static_cast<std::size_t>(Index)].get());
}

// The left edges of the columns after column 0, at their native widths.
Integer ColumnLeft(TCustomListView* View, const TRect& Bounds, Integer Column) {
  Integer X = Bounds.Left;
  for (Integer I = 0; I < Column; ++I) X += View->GetColumns()->GetItem(I)->GetWidth();
  return X;
}

}  // namespace

void TbsSkinCustomListView::DrawItemCaption(TCanvas* C, TListItem* Item, TRect Label, bool Selected) {
  std::string Text = Item->GetCaption();
  const TViewStyle Style = GetViewStyle();
  C->GetBrush()->SetStyle(bsClear);
  if (Style == vsIcon && GetIconOptions()->GetWrapText()) {
    Label.Right -= 4;
    // A selected caption breaks over-long words; an unselected one cuts them with "...".
    DrawWrapCaption(C, Text, Label, Selected);
    return;
  }
  Integer Room = GetRectWidth(Label) - (Style == vsReport ? 3 : 2);
  if (Selected && Style == vsList) Room = GetRectWidth(Label);
  FitTextToWidth(C, Text, Room);
  DrawCaptionLeft(C, Text,
                  Rect(Label.Left + (Style == vsReport ? 3 : 2), Label.Top, Label.Right, Label.Bottom));
}

void TbsSkinCustomListView::DrawSubItems(TCanvas* C, TListItem* Item, const TRect& Bounds, Integer Left,
                                         bool Fill) {
  TStrings* Subs = Item->GetSubItems();
  for (Integer I = 0; I < Subs->GetCount() && I + 1 < GetColumns()->GetCount(); ++I) {
    TListColumn* Col = GetColumns()->GetItem(I + 1);
    const Integer X = ColumnLeft(this, Bounds, I + 1) - Bounds.Left + Left;
    TRect Cell = Rect(X, Bounds.Top, X + Col->GetWidth(), Bounds.Bottom);
    if (Fill) C->FillRect(Cell);
    Cell.Left += 3;
    Cell.Right -= 3;
    TCustomImageList* Images = GetSmallImages();
    const Integer Image = Item->GetSubItemImages(I);
    if (Images != nullptr && Image >= 0 && Image < Images->GetCount()) {
      Images->Draw(C, Cell.Left, Cell.Top, Image, true);
      Cell.Left += Images->GetWidth() + 3;
    }
    std::string Text = Subs->GetStrings(I);
    FitTextToWidth(C, Text, GetRectWidth(Cell));
    C->GetBrush()->SetStyle(bsClear);
    DrawCaptionAligned(C, Text, Cell, Col->GetAlignment());
    C->GetBrush()->SetStyle(bsSolid);
  }
}

void TbsSkinCustomListView::DrawItemChecks(TCanvas* C, TListItem* Item, const TRect& Icon,
                                           const TRect& Bounds) {
  auto* Check = FindPart<TbsDataSkinCheckRadioControl>(FSD, FCheckSkinDataName);
  if (Check == nullptr) return;
  TBitmap* Picture = SkinPictureAt(FSD, Check->PictureIndex);
  const TRect& Source = Item->GetChecked() ? Check->CheckImageRect : Check->UncheckImageRect;
  const Integer PW = GetRectWidth(Source), PH = GetRectHeight(Source);
  const Integer X = Icon.Left - PW - 1;
  Integer Y =
      GetViewStyle() == vsIcon ? Icon.Bottom - PH - 1 : GetRectHeight(Icon) / 2 + Bounds.Top - PH / 2 - 1;
  if (Y < Bounds.Top) Y = Bounds.Top;
  DrawPartPictureAuto(C, X, Y, Picture, Source);
}

void TbsSkinCustomListView::DrawItemImage(TCanvas* C, TListItem* Item, const TRect& Icon) {
  const bool Big = GetViewStyle() == vsIcon;
  const Integer Index = Item->GetImageIndex();
  const auto Place = [&](Integer W) {
    return Big ? Point(Icon.Left + GetRectWidth(Icon) / 2 - W / 2, Icon.Top + 2) : Icon.TopLeft();
  };
  if (GetSmallImages() == nullptr && GetLargeImages() == nullptr) {
    if (!FSysImageList.Holds(Index)) return;
    const TPoint P = Place(FSysImageList.Width);
    C->FillRect(Bounds(P.X, P.Y, FSysImageList.Width, FSysImageList.Height));
    FSysImageList.Draw(C, Index, P.X, P.Y);
    return;
  }
  TCustomImageList* Images = Big ? GetLargeImages() : GetSmallImages();
  if (Images == nullptr || Index < 0 || Index >= Images->GetCount()) return;
  const TPoint P = Place(Images->GetWidth());
  Images->Draw(C, P.X, P.Y, Index, true);
}

void TbsSkinCustomListView::DrawSkinItem(TCustomListView*, TListItem* Item, TCustomDrawState State,
                                         bool& DefaultDraw) {
  if (GetComponentState().Contains(csDesigning) || FSD == nullptr || FSD->Empty || Item == nullptr) return;
  auto* ItemPart = FindPart<TbsDataSkinListBox>(FSD, FItemSkinDataName);
  if (ItemPart == nullptr) return;
  const TViewStyle Style = GetViewStyle();
  if (GetSmallImages() == nullptr && GetLargeImages() == nullptr)
    FSysImageList.Fetch(GetHandle(), LVM_GETIMAGELIST, Style == vsIcon ? LVSIL_NORMAL : LVSIL_SMALL);
  DefaultDraw = false;
  TCanvas* C = GetCanvas();
  C->SetFont(GetFont());
  C->GetBrush()->SetColor(GetColor());
  TRect Label = Item->DisplayRect(drLabel);
  if (Style == vsList) Label.Right = Label.Left + C->TextWidth(Item->GetCaption()) + 2;
  if (Style == vsIcon) Label.Left += 2, Label.Right += 2;
  const TRect Icon = Item->DisplayRect(drIcon);
  TRect Bounds = Item->DisplayRect(drBounds);
  TRect Selection;
  if (Style == vsIcon) {
    Selection = Item->DisplayRect(drLabel);
  } else if (Style == vsList) {
    Selection = Label;
    Selection.Right += 4 + (Item->GetCaption().empty() ? 16 : 0);
  } else {
    Selection = Item->DisplayRect(drSelectBounds);
    Selection.Left = Label.Left;
  }
  Selection.Bottom -= 1;
  Bounds.Bottom -= 1;
  const bool Selected = Item->GetSelected() || State.Contains(cdsSelected);
  const bool FullRow = Selected && Style == vsReport && GetRowSelect();
  if (Selected && GetRectWidth(Selection) > 0 && GetRectHeight(Selection) > 0) {
    const bool ViewFocused = Focused();
    TBitmap B;
    B.SetSize(GetRectWidth(Selection), GetRectHeight(Selection));
    TBitmap* Picture = SkinPictureAt(FSD, ItemPart->PictureIndex);
    const TRect& Source = ViewFocused ? ItemPart->FocusItemRect : ItemPart->ActiveItemRect;
    if (Picture != nullptr && !IsEmptyRect(Source))
      CreateStretchSkinImage(&B, Picture, Source, ItemPart->ItemTextRect, true);
    B.GetCanvas()->SetFont(GetFont());
    B.GetCanvas()->GetFont()->SetColor(ViewFocused ? ItemPart->FocusFontColor : ItemPart->ActiveFontColor);
    TRect L = Label;
    L.Left -= Selection.Left, L.Right -= Selection.Left, L.Top -= Selection.Top, L.Bottom -= Selection.Top;
    DrawItemCaption(B.GetCanvas(), Item, L, true);
    if (FullRow) DrawSubItems(B.GetCanvas(), Item, Bounds, Bounds.Left - Selection.Left, false);
    C->Draw(Selection.Left, Selection.Top, &B);
  } else {
    C->GetBrush()->SetStyle(bsSolid);
    C->FillRect(Bounds);
    DrawItemCaption(C, Item, Label, false);
  }
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(GetColor());
  DrawItemImage(C, Item, Icon);
  if (GetCheckboxes()) {
    // In the icon view the box stands before the image itself, not before its cell.
    TRect CheckIcon = Icon;
    if (Style == vsIcon) {
      const Integer ImageWidth =
          GetLargeImages() != nullptr ? GetLargeImages()->GetWidth() : FSysImageList.Width;
      CheckIcon.Left = Icon.Left + GetRectWidth(Icon) / 2 - ImageWidth / 2;
    }
    DrawItemChecks(C, Item, CheckIcon, Bounds);
  }
  if (Style == vsReport && !FullRow) DrawSubItems(C, Item, Bounds, Bounds.Left, true);
  if (Style == vsReport && FDrawSkinLines) {
    C->GetPen()->SetColor(FLinesColor);
    for (Integer I = 0; I < GetColumns()->GetCount(); ++I) {
      const Integer X = ColumnLeft(this, Bounds, I + 1) - 1;
      C->MoveTo(X, Bounds.Top);
      C->LineTo(X, Bounds.Bottom + 1);
    }
    C->MoveTo(0, Bounds.Bottom);
    C->LineTo(GetWidth(), Bounds.Bottom);
    if (Item->GetIndex() == 0) {
      C->MoveTo(0, Bounds.Top - 1);
      C->LineTo(GetWidth(), Bounds.Top - 1);
    }
  }
}
