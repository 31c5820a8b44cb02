// The ribbon's button items and MDI buttons: placing them at the strip's right end, the MDI
// commands, and their faces.
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Forms.h"
#include "platform/classes/ImgList.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsRibbon.h"

void TbsRibbonButtonItem::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TbsRibbonButtonItem*>(Source);
  if (Other == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  ImageIndex = Other->ImageIndex;
  Hint = Other->Hint;
  Enabled = Other->Enabled;
  Visible = Other->Visible;
}

void TbsRibbonButtonItem::SetImageIndex(Integer Value) {
  ImageIndex = Value;
  Changed(false);
}
void TbsRibbonButtonItem::SetEnabled(bool Value) {
  Enabled = Value;
  Changed(false);
}
void TbsRibbonButtonItem::SetVisible(bool Value) {
  Visible = Value;
  Changed(false);
}

TbsRibbonButtonItems::TbsRibbonButtonItems(TbsRibbon* AOwner)
    : TCollection(&CreateCollectionItem<TbsRibbonButtonItem>), FRibbon(AOwner) {}

TPersistent* TbsRibbonButtonItems::GetOwner() {
  return FRibbon;
}

void TbsRibbonButtonItems::Update(TCollectionItem*) {
  if (FRibbon != nullptr && !FRibbon->GetComponentState().Contains(csLoading)) FRibbon->Invalidate();
}

TPoint TbsRibbon::GetMDIButtonSize() {
  if (FTabPart != nullptr)
    return {GetRectWidth(FTabPart->MDICloseRect), GetRectHeight(FTabPart->MDICloseRect)};
  return {22, 22};
}

void TbsRibbon::LayoutButtons() {
  FButtonsAreaWidth = 5;
  if (FButtons->GetCount() > 0 && ButtonsImageList != nullptr) {
    const Integer BW = ButtonsImageList->GetWidth() + 6, BH = GetTabsHeight() - 2;
    Integer X = GetWidth() - 2;
    for (Integer I = FButtons->GetCount() - 1; I >= 0; --I) {
      TbsRibbonButtonItem* It = FButtons->GetItem(I);
      if (!It->Visible) continue;
      It->FItemRect = Rect(X - BW, 1, X, BH + 1);
      X -= BW;
    }
    FButtonsAreaWidth = GetWidth() - X + 2;
  }
  if (FMDIButtons->GetCount() > 0) {
    const TPoint S = GetMDIButtonSize();
    Integer X = GetWidth() - FButtonsAreaWidth;
    for (Integer I = 0; I < FMDIButtons->GetCount(); ++I) {
      FMDIButtons->GetItem(I)->FItemRect = Rect(X - S.X, 1, X, S.Y + 1);
      X -= S.X;
    }
    FButtonsAreaWidth = GetWidth() - X + 2;
  }
}

// ---- MDI buttons ----------------------------------------------------------------------------

TForm* TbsRibbon::MaximizedMDIChild() const {
  auto* Main = dynamic_cast<TForm*>(Application->GetMainForm());
  if (Main == nullptr || Main->GetFormStyle() != fsMDIForm) return nullptr;
  TForm* Child = Main->GetActiveMDIChild();
  return Child != nullptr && Child->GetWindowState() == wsMaximized ? Child : nullptr;
}

void TbsRibbon::ShowMDIButtons() {
  if (FMDIButtons->GetCount() > 0) return;
  using TCommand = void (TbsRibbon::*)(TObject*);
  const TCommand Commands[] = {&TbsRibbon::CloseMDIChild, &TbsRibbon::RestoreMDIChild,
                               &TbsRibbon::MinimizeMDIChild};
  for (Integer Kind = 1; Kind <= 3; ++Kind) {
    TbsRibbonButtonItem* It = FMDIButtons->Add();
    It->FKind = Kind;
    It->OnClick = TNotifyEvent(this, Commands[Kind - 1]);
  }
  Invalidate();
}

void TbsRibbon::HideMDIButtons() {
  if (MaximizedMDIChild() != nullptr || FMDIButtons->GetCount() == 0) return;
  FMDIButtons->Clear();
  Invalidate();
}

void TbsRibbon::CloseMDIChild(TObject*) {
  if (TForm* Child = MaximizedMDIChild()) Child->Close();
}
void TbsRibbon::RestoreMDIChild(TObject*) {
  if (TForm* Child = MaximizedMDIChild()) Child->SetWindowState(wsNormal);
}
void TbsRibbon::MinimizeMDIChild(TObject*) {
  if (TForm* Child = MaximizedMDIChild()) Child->SetWindowState(wsMinimized);
}

// ---- Faces ----------------------------------------------------------------------------------

void TbsRibbon::DrawButton(TCanvas* C, Integer Index) {
  TbsRibbonButtonItem* It = FButtons->GetItem(Index);
  if (!It->Visible) return;
  const TRect& R = It->FItemRect;
  const Integer W = GetRectWidth(R);
  if (It->FMouseIn && FTabPart == nullptr && W > 0) {
    TBitmap Face;
    Face.SetSize(W, W);
    Face.GetCanvas()->GetBrush()->SetColor(It->FDown ? cl3DDkShadow : clBtnFace);
    Face.GetCanvas()->FillRect(Rect(0, 0, W, W));
    C->Draw(R.Left, R.Top, &Face);
  } else if (It->FMouseIn && FTabPart != nullptr) {
    TbsSkinData* Data = GetSkinData();
    Integer P = Data->FindControlPart("officeribbonbutton");
    if (P < 0) P = Data->FindControlPart("resizetoolbutton");
    auto* Part =
        P >= 0 ? dynamic_cast<TbsDataSkinButtonControl*>(Data->SkinControls[static_cast<size_t>(P)].get())
               : nullptr;
    const Integer PI = Part != nullptr ? Part->PictureIndex : -1;
    if (PI >= 0 && PI < static_cast<Integer>(Data->ActivePictures.size()) && W > 0) {
      TBitmap Face;
      Face.SetSize(W, W);
      CreateStretchSkinImage(&Face, Data->ActivePictures[static_cast<size_t>(PI)].get(),
                             It->FDown ? Part->DownSkinRect : Part->ActiveSkinRect, Part->ClientRect, true);
      C->Draw(R.Left, R.Top, &Face);
    }
  }
  TCustomImageList* IL = ButtonsImageList;
  if (It->ImageIndex >= 0 && It->ImageIndex < IL->GetCount())
    IL->Draw(C, R.Left + W / 2 - IL->GetWidth() / 2, R.Top + GetRectHeight(R) / 2 - IL->GetHeight() / 2 + 1,
             It->ImageIndex, It->Enabled);
}

void TbsRibbon::DrawMDIButton(TCanvas* C, Integer Index) {
  TbsRibbonButtonItem* It = FMDIButtons->GetItem(Index);
  const TRect& R = It->FItemRect;
  if (FTabPart != nullptr && FTabPicture != nullptr) {
    const TbsDataSkinTabControl& P = *FTabPart;
    const TRect Pieces[3][3] = {{P.MDICloseRect, P.MDICloseActiveRect, P.MDICloseDownRect},
                                {P.MDIRestoreRect, P.MDIRestoreActiveRect, P.MDIRestoreDownRect},
                                {P.MDIMinRect, P.MDIMinActiveRect, P.MDIMinDownRect}};
    const TRect* K = Pieces[It->FKind - 1];
    const TRect Normal = K[0];
    const TRect Active = IsEmptyRect(K[1]) ? Normal : K[1];
    const TRect Down = IsEmptyRect(K[2]) ? Active : K[2];
    const TRect Piece = It->FMouseIn && It->FDown ? Down : It->FMouseIn ? Active : Normal;
    if (IsEmptyRect(Piece)) return;
    TBitmap B;
    B.SetSize(GetRectWidth(Piece), GetRectHeight(Piece));
    B.GetCanvas()->CopyRect(Rect(0, 0, B.GetWidth(), B.GetHeight()), FTabPicture->GetCanvas(), Piece);
    if (P.MDIButtonsTransparent) {
      B.SetTransparent(true);
      B.SetTransparentMode(tmFixed);
      B.SetTransparentColor(P.MDIButtonsTransparentColor);
    }
    C->Draw(R.Left, R.Top, &B);
    return;
  }
  const TColor Color = It->FMouseIn || It->FDown ? clBtnHighlight : clBtnText;
  const Integer X = R.Left + GetRectWidth(R) / 2 - 5, Y = R.Top + GetRectHeight(R) / 2 - 4;
  if (It->FKind == 1)
    DrawCloseGlyph(C, X, Y, Color);
  else if (It->FKind == 2)
    DrawRestoreGlyph(C, X, Y, Color);
  else
    DrawMinimizeGlyph(C, X, Y, Color);
}
