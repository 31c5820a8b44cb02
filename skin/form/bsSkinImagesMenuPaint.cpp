// The image menu's palette window: painting of the background, the cells, button rows and
// headers, from the skin's parts or in the plain look.
#include "platform/classes/Bitmap.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/Text.h"
#include "skin/controls/bsSkinCtrlsBase.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsSkinDataObjects.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/data/bsSkinDataSections.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsSkinImagesMenu.h"

namespace {

// A control part of the kind asked for; a part of another kind counts as none.
template <class T>
T* ControlPartOf(TbsSkinData* Data, const std::string& Name) {
  if (Data == nullptr || Data->Empty) return nullptr;
  const Integer I = Data->FindControlPart(Name);
  return I < 0 ? nullptr : dynamic_cast<T*>(Data->SkinControls[static_cast<size_t>(I)].get());
}

TBitmap* PictureOf(TbsSkinData* Data, Integer Index) {
  if (Index < 0 || Index >= static_cast<Integer>(Data->ActivePictures.size())) return nullptr;
  return Data->ActivePictures[static_cast<size_t>(Index)].get();
}

void SetCharsetOf(TFont* F, TbsSkinData* Data, TFont* DefaultFont) {
  if (Data != nullptr && Data->GetResourceStrData() != nullptr)
    F->SetCharset(Data->GetResourceStrData()->GetCharSet());
  else
    F->SetCharset(DefaultFont->GetCharset());
}

// One line, vertically centred; centred across when it fits, else from the left.
void DrawLineIn(TCanvas* C, const std::string& Text, const TRect& R) {
  RECT Box = R;
  const Integer W = C->TextWidth(Text);
  const UINT Across = W <= GetRectWidth(R) ? DT_CENTER : DT_LEFT;
  C->GetBrush()->SetStyle(bsClear);
  DrawText(C->GetHandle(), Text.c_str(), -1, &Box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | Across);
}

}  // namespace

TbsDataSkinButtonControl* TbsSkinImagesMenuPopupWindow::ButtonPart() const {
  if (!SkinSupport) return nullptr;
  TbsSkinData* Data = FMenu->GetSkinData();
  if (Data->FindControlPart("menuitembutton") >= 0)
    return ControlPartOf<TbsDataSkinButtonControl>(Data, "menuitembutton");
  return ControlPartOf<TbsDataSkinButtonControl>(Data, "resizebutton");
}

TbsDataSkinLabelControl* TbsSkinImagesMenuPopupWindow::LabelPart() const {
  TbsDataSkinLabelControl* L = ControlPartOf<TbsDataSkinLabelControl>(FMenu->GetSkinData(), "label");
  // A label part without its picture draws as none.
  if (L != nullptr && PictureOf(FMenu->GetSkinData(), L->PictureIndex) == nullptr) return nullptr;
  return L;
}

void TbsSkinImagesMenuPopupWindow::Paint() {
  const Integer W = GetWidth(), H = GetHeight();
  TBitmap Buffer;
  Buffer.SetSize(W, H);
  TCanvas* C = Buffer.GetCanvas();
  if (SkinSupport) {
    const TbsDataSkinPopupWindow& P = *FMenu->GetSkinData()->PopupWindow;
    CreateSkinImage2(P.LeftTopPoint, P.RightTopPoint, P.LeftBottomPoint, P.RightBottomPoint, P.ItemsRect,
                     NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, &Buffer, WindowPicture,
                     Rect(0, 0, WindowPicture->GetWidth(), WindowPicture->GetHeight()), W, H, true,
                     P.LeftStretch, P.TopStretch, P.RightStretch, P.BottomStretch, P.StretchEffect,
                     P.StretchType);
  } else {
    C->GetPen()->SetColor(clBtnShadow);
    C->GetBrush()->SetColor(clWindow);
    C->Rectangle(0, 0, W, H);
  }
  TCustomImageList* Images = FMenu->GetImages();
  const Integer Selected = FMenu->ShowSelectedItem ? FMenu->GetItemIndex() : -1;
  for (Integer I = 0; I < ItemCount(); ++I) {
    TbsImagesMenuItem* It = Item(I);
    const TRect& R = It->ItemRect;
    if (It->Header) {
      DrawHeader(C, R, It->GetCaption());
      continue;
    }
    bool TextPressed = false, TextHot = false;
    if (I == Selected && !ItemDown) {
      DrawItemFrame(C, R, true);
      TextPressed = true;
    } else if (I == MouseInItem) {
      DrawItemFrame(C, R, ItemDown);
      TextPressed = ItemDown;
      TextHot = !ItemDown;
    }
    const bool Image = It->GetImageIndex() >= 0 && It->GetImageIndex() < Images->GetCount();
    if (Image) Images->Draw(C, R.Left + 5, R.Top + 5, It->GetImageIndex(), true);
    if (It->Button && !It->GetCaption().empty()) {
      TRect TR = R;
      TR.Left += 5 + (Image ? Images->GetWidth() + 5 : 0);
      DrawItemText(C, It->GetCaption(), TR, TextPressed, TextHot);
    }
  }
  GetCanvas()->Draw(0, 0, &Buffer);
}

void TbsSkinImagesMenuPopupWindow::DrawItemFrame(TCanvas* C, const TRect& Cell, bool ItemPressed) {
  TbsDataSkinButtonControl* Part = ButtonPart();
  TBitmap* Picture = Part != nullptr ? PictureOf(FMenu->GetSkinData(), Part->PictureIndex) : nullptr;
  if (Picture == nullptr) {
    C->GetPen()->SetColor(bsHotFrameColor);
    C->GetBrush()->SetColor(ItemPressed ? bsDownFaceColor : bsHotFaceColor);
    C->Rectangle(Cell.Left, Cell.Top, Cell.Right, Cell.Bottom);
    return;
  }
  TRect Source = ItemPressed && !IsEmptyRect(Part->DownSkinRect) ? Part->DownSkinRect : Part->ActiveSkinRect;
  if (IsEmptyRect(Source)) Source = Part->SkinRect;
  const Integer CW = GetRectWidth(Cell), CH = GetRectHeight(Cell);
  const Integer DX = CW - GetRectWidth(Part->SkinRect), DY = CH - GetRectHeight(Part->SkinRect);
  const TRect& CR = Part->ClientRect;
  TBitmap Face;
  CreateSkinImage(Part->LeftTopPoint, Part->RightTopPoint, Part->LeftBottomPoint, Part->RightBottomPoint, CR,
                  Part->LeftTopPoint, Point(Part->RightTopPoint.X + DX, Part->RightTopPoint.Y),
                  Point(Part->LeftBottomPoint.X, Part->LeftBottomPoint.Y + DY),
                  Point(Part->RightBottomPoint.X + DX, Part->RightBottomPoint.Y + DY),
                  Rect(CR.Left, CR.Top, CR.Right + DX, CR.Bottom + DY), &Face, Picture, Source, CW, CH, true,
                  Part->LeftStretch, Part->TopStretch, Part->RightStretch, Part->BottomStretch,
                  Part->StretchEffect, Part->StretchType);
  C->Draw(Cell.Left, Cell.Top, &Face);
}

void TbsSkinImagesMenuPopupWindow::DrawItemText(TCanvas* C, const std::string& Caption, const TRect& R,
                                                bool ItemPressed, bool Hot) {
  TbsSkinData* Data = FMenu->GetSkinData();
  TFont* F = C->GetFont();
  TbsDataSkinButtonControl* Button = ButtonPart();
  TbsDataSkinMenuItem* MenuItem = nullptr;
  if (SkinSupport) {
    Integer I = Data->FindObjectPart("menuitem");
    if (I < 0) I = Data->FindObjectPart("MENUITEM");
    if (I >= 0)
      MenuItem = dynamic_cast<TbsDataSkinMenuItem*>(Data->SkinObjects[static_cast<size_t>(I)].get());
  }
  if (Button != nullptr && MenuItem != nullptr) {
    if (FMenu->UseSkinFont) {
      F->SetName(Button->FontName);
      F->SetHeight(Button->FontHeight);
      F->SetStyle(Button->FontStyle);
    } else {
      F->Assign(FMenu->GetDefaultFont());
    }
    F->SetColor(ItemPressed ? Button->DownFontColor : Hot ? Button->ActiveFontColor : MenuItem->FontColor);
  } else {
    F->Assign(FMenu->GetDefaultFont());
    F->SetColor(clWindowText);
  }
  SetCharsetOf(F, Data, FMenu->GetDefaultFont());
  DrawLineIn(C, Caption, R);
}

void TbsSkinImagesMenuPopupWindow::DrawHeader(TCanvas* C, const TRect& Cell, const std::string& Caption) {
  TbsDataSkinLabelControl* L = LabelPart();
  TFont* F = C->GetFont();
  if (L == nullptr) {
    // The plain look writes the caption into the palette's own picture.
    F->Assign(FMenu->GetDefaultFont());
    F->SetColor(clWindowText);
    SetCharsetOf(F, FMenu->GetSkinData(), FMenu->GetDefaultFont());
    DrawLineIn(C, Caption, Cell);
    return;
  }
  const Integer CW = GetRectWidth(Cell), SW = GetRectWidth(L->SkinRect);
  TBitmap Strip;
  CreateHSkinImage(L->LeftTopPoint.X, SW - L->RightTopPoint.X, &Strip,
                   PictureOf(FMenu->GetSkinData(), L->PictureIndex), L->SkinRect, CW,
                   GetRectHeight(L->SkinRect), L->StretchEffect);
  TCanvas* SC = Strip.GetCanvas();
  SC->GetFont()->SetName(L->FontName);
  SC->GetFont()->SetHeight(L->FontHeight);
  SC->GetFont()->SetStyle(L->FontStyle);
  SC->GetFont()->SetColor(L->FontColor);
  SetCharsetOf(SC->GetFont(), FMenu->GetSkinData(), FMenu->GetDefaultFont());
  const TRect& CR = L->ClientRect;
  RECT Box = Rect(CR.Left, CR.Top, CW + CR.Right - SW, Strip.GetHeight());
  SC->GetBrush()->SetStyle(bsClear);
  DrawText(SC->GetHandle(), Caption.c_str(), -1, &Box, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
  C->Draw(Cell.Left, Cell.Top, &Strip);
}
