// The part binding and part geometry shared by the windowed and windowless skinned controls.
#include "skin/controls/bsSkinPartMixin.h"

#include "platform/classes/Bitmap.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

// ---- Part geometry --------------------------------------------------------------------------

Integer TbsSkinPartGeometry::PartResizeMode() const {
  if (IsEmptyRect(SkinRect)) return -1;
  if (RightBottomPoint.X != 0 && RightBottomPoint.Y != 0) return 1;
  if (RightTopPoint.X != 0 || RightTopPoint.Y != 0) return 2;
  if (LeftBottomPoint.X != 0 || LeftBottomPoint.Y != 0) return 3;
  return 0;
}

TBitmap* SkinPictureAt(TbsSkinData* SkinData, Integer Index) {
  if (SkinData == nullptr || Index < 0 || Index >= static_cast<Integer>(SkinData->ActivePictures.size()))
    return nullptr;
  return SkinData->ActivePictures[static_cast<std::size_t>(Index)].get();
}

bool TbsSkinPartGeometry::CopyPartGeometry(TbsSkinData* SkinData, TbsDataSkinControl* Record) {
  auto* Part = dynamic_cast<TbsDataSkinCustomControl*>(Record);
  if (Part == nullptr) {
    SizingMode = 0;
    SkinPicture = nullptr;
    return false;
  }
  LeftTopPoint = Part->LeftTopPoint;
  RightTopPoint = Part->RightTopPoint;
  LeftBottomPoint = Part->LeftBottomPoint;
  RightBottomPoint = Part->RightBottomPoint;
  SkinRect = Part->SkinRect;
  StretchEffect = Part->StretchEffect;
  StretchType = Part->StretchType;
  LeftStretch = Part->LeftStretch;
  TopStretch = Part->TopStretch;
  RightStretch = Part->RightStretch;
  BottomStretch = Part->BottomStretch;
  PartClientRect = Part->ClientRect;
  SkinPicture = SkinPictureAt(SkinData, Part->PictureIndex);
  SizingMode = PartResizeMode();
  return true;
}

void TbsSkinPartGeometry::FitGeometry(bool PartBound, Integer& Width, Integer& Height) {
  if (!PartBound || SizingMode == -1) return;
  if (SizingMode == 0) {
    Width = GetRectWidth(SkinRect);
    Height = GetRectHeight(SkinRect);
    NewClientRect = PartClientRect;
    return;
  }
  const Integer DX = Width - GetRectWidth(SkinRect);
  const Integer DY = Height - GetRectHeight(SkinRect);
  NewLeftTopPoint = LeftTopPoint;
  switch (SizingMode) {
    case 1:
      NewRightTopPoint = {RightTopPoint.X + DX, RightTopPoint.Y};
      NewLeftBottomPoint = {LeftBottomPoint.X, LeftBottomPoint.Y + DY};
      NewRightBottomPoint = {RightBottomPoint.X + DX, RightBottomPoint.Y + DY};
      NewClientRect = PartClientRect;
      NewClientRect.Right += DX;
      NewClientRect.Bottom += DY;
      break;
    case 2:
      Height = GetRectHeight(SkinRect);
      NewRightTopPoint = {RightTopPoint.X + DX, RightTopPoint.Y};
      NewClientRect = PartClientRect;
      NewClientRect.Right += DX;
      break;
    case 3:
      Width = GetRectWidth(SkinRect);
      NewLeftBottomPoint = {LeftBottomPoint.X, LeftBottomPoint.Y + DY};
      NewClientRect = PartClientRect;
      NewClientRect.Bottom += DY;
      break;
    default:
      break;
  }
}

namespace {

// The part image at the control's size, laid out by the resize mode. A part without a picture
// draws as the plain face; a 9-slice part whose frame is painted in strips is left to the caller.
void BuildPartImage(const TbsSkinPartGeometry& G, TBitmap* B, TBitmap* Picture, const TRect& Source,
                    Integer W, Integer H, bool FrameStrips) {
  if (Picture == nullptr) {
    FillPlainFace(B);
    return;
  }
  switch (G.SizingMode) {
    case 0:
      B->SetSize(GetRectWidth(Source), GetRectHeight(Source));
      B->GetCanvas()->CopyRect(Rect(0, 0, GetRectWidth(Source), GetRectHeight(Source)), Picture->GetCanvas(),
                               Source);
      break;
    case 1:
      if (FrameStrips) break;
      CreateSkinImage(G.LeftTopPoint, G.RightTopPoint, G.LeftBottomPoint, G.RightBottomPoint,
                      G.PartClientRect, G.NewLeftTopPoint, G.NewRightTopPoint, G.NewLeftBottomPoint,
                      G.NewRightBottomPoint, G.NewClientRect, B, Picture, Source, W, H, true, G.LeftStretch,
                      G.TopStretch, G.RightStretch, G.BottomStretch, G.StretchEffect, G.StretchType);
      break;
    case 2:
      CreateHSkinImage(G.LeftTopPoint.X, GetRectWidth(G.SkinRect) - G.RightTopPoint.X, B, Picture, Source, W,
                       H, G.StretchEffect);
      break;
    case 3:
      CreateVSkinImage(G.LeftTopPoint.Y, GetRectHeight(G.SkinRect) - G.LeftBottomPoint.Y, B, Picture, Source,
                       W, H, G.StretchEffect);
      break;
    default:
      break;
  }
}

void InitDefaultFont(TFont* Font) {
  Font->SetName("Arial");
  Font->SetStyle({});
  Font->SetHeight(14);
}

}  // namespace

void FillPlainFace(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, B->GetWidth(), B->GetHeight()));
}

void TilePiece(TCanvas* C, TBitmap* Tile, const TRect& Area, bool StretchEffect, Byte StretchType) {
  const Integer W0 = Tile->GetWidth(), H0 = Tile->GetHeight();
  const Integer AW = GetRectWidth(Area), AH = GetRectHeight(Area);
  // A client piece without size has nothing to tile with.
  if (W0 <= 0 || H0 <= 0 || AW <= 0 || AH <= 0) return;
  if (!StretchEffect) {
    for (Integer I = 0; I <= AW / W0; ++I)
      for (Integer J = 0; J <= AH / H0; ++J) C->Draw(Area.Left + I * W0, Area.Top + J * H0, Tile);
    return;
  }
  switch (StretchType) {
    case 0:
      C->StretchDraw(Area, Tile);
      break;
    case 1:
      for (Integer I = 0; I <= AW / W0; ++I)
        C->StretchDraw(Rect(Area.Left + I * W0, Area.Top, Area.Left + (I + 1) * W0, Area.Bottom), Tile);
      break;
    case 2:
      for (Integer J = 0; J <= AH / H0; ++J)
        C->StretchDraw(Rect(Area.Left, Area.Top + J * H0, Area.Right, Area.Top + (J + 1) * H0), Tile);
      break;
    default:
      break;
  }
}

// ---- Part binding ---------------------------------------------------------------------------

template <class TBase>
void TbsSkinPartMixin<TBase>::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (Value != nullptr && !Value->Empty && !Designing()) ApplySkinChange();
}

template <class TBase>
void TbsSkinPartMixin<TBase>::LoadSkinPart() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
}

template <class TBase>
TbsDataSkinControl* TbsSkinPartMixin<TBase>::BoundPart() const {
  if (PartIndex < 0 || FSD == nullptr || PartIndex >= static_cast<Integer>(FSD->SkinControls.size()))
    return nullptr;
  return FSD->SkinControls[static_cast<std::size_t>(PartIndex)].get();
}

template <class TBase>
void TbsSkinPartMixin<TBase>::ApplySkinChange() {
  LoadSkinPart();
  this->Repaint();
}

template <class TBase>
void TbsSkinPartMixin<TBase>::Paint() {
  PaintOffScreen(this->GetCanvas());
}

template <class TBase>
void TbsSkinPartMixin<TBase>::PaintOffScreen(TCanvas* Canvas) {
  if (this->GetWidth() <= 0 || this->GetHeight() <= 0) return;
  LoadSkinPart();
  TBitmap B;
  B.SetSize(this->GetWidth(), this->GetHeight());
  if (PartIndex == -1)
    DrawDefaultImage(&B);
  else
    DrawSkinImage(&B);
  Canvas->Draw(0, 0, &B);
}

template <class TBase>
void TbsSkinPartMixin<TBase>::Notification(TComponent* AComponent, TOperation Operation) {
  TBase::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

template class TbsSkinPartMixin<TCustomControl>;
template class TbsSkinPartMixin<TGraphicControl>;

// ---- Custom part controls -------------------------------------------------------------------

template <class TBase>
TbsSkinCustomPartMixin<TBase>::TbsSkinCustomPartMixin(TComponent* AOwner)
    : TBase(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  InitDefaultFont(FDefaultFont.get());
  FDefaultFont->OnChange = TNotifyEvent(this, &TbsSkinCustomPartMixin::DefaultFontChangedHandler);
}

template <class TBase>
TbsSkinCustomPartMixin<TBase>::~TbsSkinCustomPartMixin() = default;

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (this->PartIndex == -1 && Value > 0) this->SetWidth(Value);
}

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (this->PartIndex == -1 && Value > 0) this->SetHeight(Value);
}

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  DefaultFontChanged();
}

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::DefaultFontChangedHandler(TObject*) {
  DefaultFontChanged();
  if (this->PartIndex == -1) this->Repaint();
}

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::LoadSkinPart() {
  TBase::LoadSkinPart();
  if (this->PartIndex == -1) return;
  CopyPartGeometry(this->FSD, this->BoundPart());
}

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  FitGeometry(this->PartIndex != -1, AWidth, AHeight);
}

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::DrawDefaultImage(TBitmap* B) {
  B->GetCanvas()->GetBrush()->SetStyle(bsSolid);
  B->GetCanvas()->GetBrush()->SetColor(clBtnFace);
  B->GetCanvas()->FillRect(this->GetClientRect());
}

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::DrawSkinImage(TBitmap* B) {
  CreateControlImage(B, SkinPicture, SkinRect);
}

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::CreateControlImage(TBitmap* B, TBitmap* Picture, const TRect& Source) {
  BuildPartImage(*this, B, Picture, Source, this->GetWidth(), this->GetHeight(), FrameStripsPainted());
}

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::ApplySkinChange() {
  LoadSkinPart();
  bool Resized = false;
  if (this->PartIndex == -1) {
    if (FDefaultWidth > 0) this->SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) this->SetHeight(FDefaultHeight);
  } else {
    Integer W = this->GetWidth(), H = this->GetHeight();
    FitPartToSize(W, H);
    Resized = W != this->GetWidth() || H != this->GetHeight();
    if (W != this->GetWidth()) this->SetWidth(W);
    if (H != this->GetHeight()) this->SetHeight(H);
  }
  // A resize has already repainted and cut the outline.
  if (Resized) return;
  PartOutlineChanged();
  this->Repaint();
}

template <class TBase>
void TbsSkinCustomPartMixin<TBase>::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  LoadSkinPart();
  const bool Fit = this->PartIndex != -1 && (AWidth != this->GetWidth() || AHeight != this->GetHeight());
  if (Fit) {
    FitPartToSize(AWidth, AHeight);
    if (SizingMode == 0) NewClientRect = PartClientRect;
  }
  ATop = ToolBarCentredTop(this, ATop, AHeight);
  TBase::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!Fit) return;
  PartOutlineChanged();
  this->Repaint();
}

template class TbsSkinCustomPartMixin<TbsSkinControl>;
template class TbsSkinCustomPartMixin<TbsGraphicSkinControl>;
