#include "skin/form/bsSkinLayerFrame.h"

#include <algorithm>
#include <cmath>

#include "platform/classes/Application.h"
#include "platform/system/Clock.h"
#include "platform/user/Input.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinAnimateObjects.h"
#include "skin/form/bsSkinFormObjects.h"

namespace {

// Copies Src of Source onto Dst of Target as they are (no blending), scaled to the nearest
// pixel when the sizes differ.
void CopyPiece(TbsBitmap* Source, const TRect& Src, TbsBitmap* Target, const TRect& Dst) {
  if (Dst.Right <= Dst.Left || Dst.Bottom <= Dst.Top) return;
  const bool Blend = Source->GetAlphaBlend(), Keyed = Source->GetTransparent();
  Source->SetAlphaBlend(false);
  Source->SetTransparent(false);
  Source->DrawToBitmapRect(Target, Dst, Src);
  Source->SetAlphaBlend(Blend);
  Source->SetTransparent(Keyed);
}

// A band of the picture (rows Top..Bottom) across W: the ends copied, the middle from
// FromX to ToX stretched between them.
void BuildBand(TbsBitmap* Source, Integer Top, Integer Bottom, Integer FromX, Integer ToX,
               TbsBitmap* Target) {
  const Integer PicW = Source->GetWidth(), W = Target->GetWidth(), H = Target->GetHeight();
  const Integer RightW = PicW - ToX;
  CopyPiece(Source, Rect(FromX, Top, ToX, Bottom), Target, Rect(FromX, 0, W - RightW, H));
  CopyPiece(Source, Rect(0, Top, FromX, Bottom), Target, Rect(0, 0, FromX, H));
  CopyPiece(Source, Rect(ToX, Top, PicW, Bottom), Target, Rect(W - RightW, 0, W, H));
}

// A side strip (columns Left..Right, rows Top..Bottom of the picture) down the target's
// height, stretched or tiled with the last tile cut. Without rows the side stays clear.
void BuildSide(TbsBitmap* Source, Integer Left, Integer Right, Integer Top, Integer Bottom, bool Stretch,
               TbsBitmap* Target) {
  const Integer H = Target->GetHeight(), W = Target->GetWidth(), Rows = Bottom - Top;
  if (Rows <= 0) return;
  if (Stretch) {
    CopyPiece(Source, Rect(Left, Top, Right, Bottom), Target, Rect(0, 0, W, H));
    return;
  }
  for (Integer Y = 0; Y < H; Y += Rows) {
    const Integer Part = std::min(Rows, H - Y);
    CopyPiece(Source, Rect(Left, Top, Right, Top + Part), Target, Rect(0, Y, W, Y + Part));
  }
}

// Picture Index of the skin as a 32-bit image with alpha from the mask's brightness; null
// when either picture is missing.
std::unique_ptr<TbsBitmap> AlphaImage(TbsSkinData* SD, Integer Index, Integer MaskIndex) {
  const Integer Count = static_cast<Integer>(SD->ActivePictures.size());
  if (Index < 0 || Index >= Count || MaskIndex < 0 || MaskIndex >= Count) return nullptr;
  TBitmap* Picture = SD->ActivePictures[Index].get();
  TBitmap* Mask = SD->ActivePictures[MaskIndex].get();
  if (Picture == nullptr || Mask == nullptr || Picture->Empty() || Mask->Empty()) return nullptr;
  auto Image = std::make_unique<TbsBitmap>();
  Image->Assign(Picture);
  TbsBitmap MaskPixels;
  MaskPixels.Assign(Mask);
  SetAlphaFromMask(Image.get(), &MaskPixels);
  Image->DetectAlphaBlend();
  return Image;
}

// Every pixel of R made opaque: frame objects are drawn opaque onto the top image.
void MakeOpaque(TbsBitmap* B, const TRect& R) {
  const Integer L = std::max(R.Left, 0), Rt = std::min(R.Right, B->GetWidth());
  for (Integer Y = std::max(R.Top, 0); Y < std::min(R.Bottom, B->GetHeight()); ++Y) {
    TbsPixel* Row = B->GetScanLine(Y);
    for (Integer X = L; X < Rt; ++X) Row[X] |= 0xFF000000u;
  }
}

bool HasRows(const std::unique_ptr<TbsBitmap>& B) {
  return B && B->GetWidth() > 0 && B->GetHeight() > 0;
}

}  // namespace

TRect LayerWindowBounds(TControl* Control) {
  return Control->GetBoundsRect();
}

TbsFormLayerBorder::TbsFormLayerBorder(TbsSkinForm* AOwner) : TComponent(AOwner), SkinForm(AOwner) {
  HoverTimer = new TTimer(this);
  HoverTimer->SetEnabled(false);
  HoverTimer->SetInterval(500);
  HoverTimer->SetOnTimer(TNotifyEvent(this, &TbsFormLayerBorder::HoverTimerTick));
}

TbsFormLayerBorder::~TbsFormLayerBorder() {
  HoverTimer->SetEnabled(false);
  FreeWindows();
}

void TbsFormLayerBorder::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == LeftWindow) LeftWindow = nullptr;
  if (AComponent == TopWindow) TopWindow = nullptr;
  if (AComponent == RightWindow) RightWindow = nullptr;
  if (AComponent == BottomWindow) BottomWindow = nullptr;
}

void TbsFormLayerBorder::SetupFromSkin(TbsSkinData* ASkinData, TCustomForm* Form) {
  TargetForm = Form;
  SkinData = ASkinData;
  LayerFrame = nullptr;
  ActiveImage.reset();
  InActiveImage.reset();
  if (SkinData == nullptr || SkinData->Empty || !SkinData->LayerFrame ||
      SkinData->LayerFrame->PictureIndex < 0)
    return;
  TbsDataSkinLayerFrame* LF = SkinData->LayerFrame.get();
  // A picture without its mask has no alpha to show: the form keeps its plain skinned frame.
  ActiveImage = AlphaImage(SkinData, LF->PictureIndex, LF->MaskPictureIndex);
  if (!ActiveImage) return;
  LayerFrame = LF;
  UseBlur = IsWindowsVistaOrLater() && IsDwmCompositionEnabled();
  Alpha = LF->AlphaBlendValue;
  InActiveAlpha = LF->InActiveAlphaBlendValue;
  InActiveImage = AlphaImage(SkinData, LF->InActivePictureIndex, LF->InActiveMaskPictureIndex);
  const TRect& BR = LF->BorderRect;
  const TRect& CL = LF->ClientRect;
  if (IsEmptyRect(BR)) {
    LeftBorderWidth = TopBorderWidth = RightBorderWidth = BottomBorderWidth = 0;
  } else {
    LeftBorderWidth = CL.Left - BR.Left;
    TopBorderWidth = CL.Top - BR.Top;
    RightBorderWidth = BR.Right - CL.Right;
    BottomBorderWidth = BR.Bottom - CL.Bottom;
  }
  TopLeftHit = {LF->HitTestLeftTopPoint.X - BR.Left, LF->HitTestLeftTopPoint.Y - BR.Top};
  TopRightHit = {BR.Right - LF->HitTestRightTopPoint.X, LF->HitTestRightTopPoint.Y - BR.Top};
  BottomLeftHit = {LF->HitTestLeftBottomPoint.X - BR.Left, BR.Bottom - LF->HitTestLeftBottomPoint.Y};
  BottomRightHit = {BR.Right - LF->HitTestRightBottomPoint.X, BR.Bottom - LF->HitTestRightBottomPoint.Y};
  if (LF->FullBorder) PrevHotObject = HotObject = PressedObject = -1;
}

bool TbsFormLayerBorder::IsLayerCaptionOnly() {
  if (SkinForm->GetRollUpState()) return true;
  return SkinForm->GetWindowState() == wsMinimized && Application->GetMainForm() != TargetForm;
}

TRect TbsFormLayerBorder::OuterRect(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const TRect& CL = LayerFrame->ClientRect;
  const Integer PicW = ActiveImage->GetWidth(), PicH = ActiveImage->GetHeight();
  const Integer X = ALeft + LayerFrame->LeftOffset - CL.Left;
  const Integer Y = ATop + LayerFrame->TopOffset - CL.Top;
  const Integer W = AWidth + LayerFrame->WidthOffset + PicW - CL.Width();
  const Integer FormH =
      IsLayerCaptionOnly() ? LayerFrame->RollUpFormHeight : AHeight + LayerFrame->HeightOffset;
  return Bounds(X, Y, W, FormH + PicH - CL.Height());
}

void TbsFormLayerBorder::BuildImages(Integer W, Integer H) {
  TbsBitmap* S = Active || !InActiveImage ? ActiveImage.get() : InActiveImage.get();
  const TbsDataSkinLayerFrame* LF = LayerFrame;
  const Integer PicW = S->GetWidth(), PicH = S->GetHeight();
  const TPoint LT = LF->LeftTopPoint, RT = LF->RightTopPoint, LB = LF->LeftBottomPoint,
               RB = LF->RightBottomPoint;
  const Integer TopH = std::max(LT.Y, RT.Y);
  const Integer FullBottomH = PicH - std::min(LB.Y, RB.Y);
  // A border lower than its two bands keeps the lowest rows of the bottom band.
  const Integer BottomH = std::clamp(H - TopH, 0, FullBottomH);
  const Integer SideH = H - TopH - FullBottomH;
  auto Fresh = [](std::unique_ptr<TbsBitmap>& B, Integer BW, Integer BH) {
    B = std::make_unique<TbsBitmap>();
    if (BW > 0 && BH > 0) B->SetSize(BW, BH);
  };
  Fresh(TopImage, W, TopH);
  if (HasRows(TopImage)) BuildBand(S, 0, TopH, LT.X, RT.X, TopImage.get());
  if (LF->FullBorder && HasRows(TopImage)) {
    ArrangeLayerObjects();
    for (const auto& O : SkinForm->GetObjects()) {
      if (!O->Visible) continue;
      O->Draw(TopImage->GetCanvas(), true);
      MakeOpaque(TopImage.get(), O->ObjectRect);
    }
  }
  Fresh(BottomImage, W, BottomH);
  if (HasRows(BottomImage)) BuildBand(S, PicH - BottomH, PicH, LB.X, RB.X, BottomImage.get());
  const TRect& CL = LF->ClientRect;
  Fresh(LeftImage, CL.Left, SideH);
  if (HasRows(LeftImage))
    BuildSide(S, 0, CL.Left, TopH, PicH - FullBottomH, LF->FullStretch, LeftImage.get());
  Fresh(RightImage, PicW - CL.Right, SideH);
  if (HasRows(RightImage))
    BuildSide(S, CL.Right, PicW, TopH, PicH - FullBottomH, LF->FullStretch, RightImage.get());
  for (TbsBitmap* B : {TopImage.get(), BottomImage.get(), LeftImage.get(), RightImage.get()}) {
    B->DetectAlphaBlend();
    B->ClampColorsToAlpha();
  }
}

void TbsFormLayerBorder::ArrangeLayerObjects() {
  const TbsDataSkinLayerFrame* LF = LayerFrame;
  const Integer DX = TopImage->GetWidth() - ActiveImage->GetWidth();
  const Integer Offset = SkinData->ButtonsOffset;
  TRect C = LF->CaptionRect;
  C.Right += DX;
  Integer X, Y;
  if (IsEmptyRect(LF->ButtonsRect)) {
    X = C.Right;
    Y = LF->ButtonsTopOffset != 0 ? LF->ButtonsTopOffset : C.Top;
  } else {
    X = LF->ButtonsRect.Right + DX;
    Y = LF->ButtonsRect.Top;
  }
  const auto& Objects = SkinForm->GetObjects();
  auto ButtonSize = [this](TbsSkinStdButtonObject* B) {
    if (B->Command == 3 && SkinForm->GetShowIcon()) return SkinForm->GetSmallIconSize();
    return TSize{B->SkinRect.Width(), B->SkinRect.Height()};
  };
  for (Byte Command : {0, 1, 2, 5, 6}) {
    for (const auto& O : Objects) {
      if (!O->Visible || !O->SkinRectInAPicture) continue;
      auto* Anim = dynamic_cast<TbsSkinAnimateObject*>(O.get());
      auto* Std = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
      if (Anim != nullptr && Anim->Command == Command) break;  // taken, not placed
      if (Std == nullptr || Std->Command != Command) continue;
      const TSize Sz = ButtonSize(Std);
      Std->ObjectRect = Rect(X - Sz.cx, Y, X, Y + Sz.cy);
      X -= Sz.cx + Offset;
      break;
    }
  }
  TbsSkinCaptionObject* Caption = nullptr;
  for (const auto& O : Objects)
    if ((Caption = dynamic_cast<TbsSkinCaptionObject*>(O.get())) != nullptr) break;
  Integer CaptionLeft = C.Left;
  for (const auto& O : Objects) {
    auto* Std = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
    if (Std == nullptr || Std->Command != 3) continue;
    const TSize Sz = ButtonSize(Std);
    if (IsEmptyRect(LF->SysMenuButtonRect)) {
      const Integer Top =
          LF->SysButtonTopOffset != 0 ? LF->SysButtonTopOffset : Y + C.Height() / 2 - Sz.cy / 2;
      Std->ObjectRect = Bounds(CaptionLeft, Top, Sz.cx, Sz.cy);
      CaptionLeft += Sz.cx + Offset;
    } else {
      const TRect& R = LF->SysMenuButtonRect;
      Std->ObjectRect = Bounds(R.Left, R.Top + R.Height() / 2 - Sz.cy / 2, Sz.cx, Sz.cy);
    }
    break;
  }
  if (Caption != nullptr) Caption->ObjectRect = Rect(CaptionLeft, C.Top, X - Offset, C.Bottom);
}

void TbsFormLayerBorder::FreeWindows() {
  for (TbsFormLayerWindow** W : {&LeftWindow, &TopWindow, &RightWindow, &BottomWindow}) {
    TbsFormLayerWindow* Window = *W;
    *W = nullptr;
    delete Window;
  }
}

void TbsFormLayerBorder::PushImages() {
  const Byte A = CurrentAlpha();
  if (TopWindow && TopImage->GetWidth() > 0) UpdateLayeredBitmap(TopImage.get(), A, TopWindow);
  if (BottomWindow && BottomImage->GetWidth() > 0) UpdateLayeredBitmap(BottomImage.get(), A, BottomWindow);
  if (LeftWindow && HasRows(LeftImage)) UpdateLayeredBitmap(LeftImage.get(), A, LeftWindow);
  if (RightWindow && HasRows(RightImage)) UpdateLayeredBitmap(RightImage.get(), A, RightWindow);
}

// The windows at their places around the outer rectangle at (X, Y) of the stored size. A side
// window without rows is hidden.
void TbsFormLayerBorder::PlaceWindows(Integer X, Integer Y, bool Show, bool KeepSizes) {
  const Integer TopH = TopImage->GetHeight(), BottomH = BottomImage->GetHeight();
  const Integer RightW = RightImage->GetWidth();
  auto Place = [Show, KeepSizes](TbsFormLayerWindow* W, TbsBitmap* Image, Integer PX, Integer PY) {
    if (W == nullptr) return;
    const bool HasImage = Image->GetWidth() > 0 && Image->GetHeight() > 0;
    const HWND H = W->GetHandle();
    if (!HasImage) {
      if (IsWindowVisible(H)) ShowWindow(H, SW_HIDE);
      return;
    }
    if (KeepSizes && !IsWindowVisible(H)) return;
    W->SetBounds(PX, PY, KeepSizes ? W->GetWidth() : Image->GetWidth(),
                 KeepSizes ? W->GetHeight() : Image->GetHeight());
    if (Show && !IsWindowVisible(H))
      SetWindowPos(H, nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  };
  Place(TopWindow, TopImage.get(), X, Y);
  Place(BottomWindow, BottomImage.get(), X, Y + OuterHeight - BottomH);
  Place(LeftWindow, LeftImage.get(), X, Y + TopH);
  Place(RightWindow, RightImage.get(), X + OuterWidth - RightW, Y + TopH);
}

void TbsFormLayerBorder::ShowBorder() {
  if (LayerFrame == nullptr || TargetForm == nullptr) return;
  const TRect R =
      OuterRect(TargetForm->GetLeft(), TargetForm->GetTop(), TargetForm->GetWidth(), TargetForm->GetHeight());
  ShowBorderAt(R.Left, R.Top, R.Width(), R.Height());
}

void TbsFormLayerBorder::ShowBorderAt(Integer X, Integer Y, Integer W, Integer H) {
  if (LayerFrame == nullptr || TargetForm == nullptr) return;
  OuterWidth = W;
  OuterHeight = H;
  Shown = true;
  BuildImages(W, H);
  FreeWindows();
  LeftWindow = new TbsFormLayerWindow(this, lbLeft);
  RightWindow = new TbsFormLayerWindow(this, lbRight);
  TopWindow = new TbsFormLayerWindow(this, lbTop);
  BottomWindow = new TbsFormLayerWindow(this, lbBottom);
  // The windows take their sizes before the images reach them at their places.
  PlaceWindows(X, Y, false, false);
  PushImages();
  PlaceWindows(X, Y, true, false);
}

void TbsFormLayerBorder::ShowAnimated() {
  if (LayerFrame == nullptr || TargetForm == nullptr) return;
  const TRect& CL = LayerFrame->ClientRect;
  const Integer X = TargetForm->GetLeft() + LayerFrame->LeftOffset - CL.Left;
  const Integer Y = TargetForm->GetTop() + LayerFrame->TopOffset - CL.Top;
  const Integer W = TargetForm->GetWidth() + LayerFrame->WidthOffset + ActiveImage->GetWidth() - CL.Width();
  const Integer H =
      TargetForm->GetHeight() + LayerFrame->HeightOffset + ActiveImage->GetHeight() - CL.Height();
  const Integer Target = Alpha;
  const Integer Step = std::max(Target / 15, 1);
  Alpha = 0;
  ShowBorderAt(X, Y, W, H);
  Application->ProcessMessages();
  DWORD Last = GetTickCount();
  // A fixed step on the tick source, without processing messages.
  while (Alpha < Target) {
    if (GetTickCount() - Last > 5) {
      Last = GetTickCount();
      Alpha = std::min(Alpha + Step, Target);
      UpdateLayers();
    } else {
      Sleep(1);
    }
  }
}

void TbsFormLayerBorder::UpdateBorder() {
  if (TargetForm == nullptr) return;
  UpdateBorderBounds(TargetForm->GetLeft(), TargetForm->GetTop(), TargetForm->GetWidth(),
                     TargetForm->GetHeight());
}

void TbsFormLayerBorder::UpdateBorderBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (LayerFrame == nullptr || !Shown) return;
  const TRect R = OuterRect(ALeft, ATop, AWidth, AHeight);
  UpdateBorderAt(R.Left, R.Top, R.Width(), R.Height());
}

void TbsFormLayerBorder::UpdateBorderAt(Integer X, Integer Y, Integer W, Integer H) {
  if (LayerFrame == nullptr || !Shown) return;
  OuterWidth = W;
  OuterHeight = H;
  BuildImages(W, H);
  PlaceWindows(X, Y, false, false);
  PushImages();
  PlaceWindows(X, Y, true, false);
}

void TbsFormLayerBorder::MoveBorder(Integer ALeft, Integer ATop) {
  if (LayerFrame == nullptr || !Shown || TopImage == nullptr) return;
  const TRect R = OuterRect(ALeft, ATop, TargetForm->GetWidth(), TargetForm->GetHeight());
  PlaceWindows(R.Left, R.Top, false, true);
}

void TbsFormLayerBorder::FollowForm() {
  if (TargetForm != nullptr) MoveBorder(TargetForm->GetLeft(), TargetForm->GetTop());
}

void TbsFormLayerBorder::RefreshBorder() {
  if (LayerFrame == nullptr || !Shown || TopImage == nullptr) return;
  UpdateLayers();
  const TRect R =
      OuterRect(TargetForm->GetLeft(), TargetForm->GetTop(), TargetForm->GetWidth(), TargetForm->GetHeight());
  PlaceWindows(R.Left, R.Top, true, false);
}

void TbsFormLayerBorder::UpdateLayers() {
  if (LayerFrame == nullptr || !Shown || TopImage == nullptr) return;
  const Byte A = CurrentAlpha();
  if (TopWindow && TopImage->GetWidth() > 0) UpdateLayeredBitmap(TopImage.get(), A, TopWindow);
  if (BottomWindow && BottomImage->GetWidth() > 0) UpdateLayeredBitmap(BottomImage.get(), A, BottomWindow);
  if (LeftWindow && IsWindowVisible(LeftWindow->GetHandle()))
    UpdateLayeredBitmap(LeftImage.get(), A, LeftWindow);
  if (RightWindow && IsWindowVisible(RightWindow->GetHandle()))
    UpdateLayeredBitmap(RightImage.get(), A, RightWindow);
}

void TbsFormLayerBorder::SetAlpha(Integer Value, bool Update) {
  if (LayerFrame == nullptr) return;
  // Rounded to the nearest, halves to even.
  Alpha = static_cast<Integer>(std::nearbyint(LayerFrame->AlphaBlendValue * Value / 255.0));
  InActiveAlpha = static_cast<Integer>(std::nearbyint(LayerFrame->InActiveAlphaBlendValue * Value / 255.0));
  if (Update) UpdateLayers();
}

void TbsFormLayerBorder::SetActive(bool Value, bool Move) {
  Active = Value;
  if (!Value) {
    const auto& Objects = SkinForm->GetObjects();
    if (HotObject >= 0 && HotObject < static_cast<Integer>(Objects.size())) {
      if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(Objects[HotObject].get());
          C != nullptr && C->HotQuickButton >= 0 && SkinForm->GetQuickButtons() != nullptr &&
          C->HotQuickButton < SkinForm->GetQuickButtons()->GetCount()) {
        TbsQuickButtonItem* Item = SkinForm->GetQuickButtons()->GetItem(C->HotQuickButton);
        Item->Hot = false;
        Item->Pressed = false;
      }
    }
    PressedObject = -1;
    TestActive(-1, -1);
    HotObject = -1;
  }
  if (!Shown || LayerFrame == nullptr) return;
  if (LayerFrame->FullBorder || InActiveImage) UpdateBorder();
  if (Move) RefreshBorder();
}

void TbsFormLayerBorder::HideBorder() {
  Shown = false;
  HoverTimer->SetEnabled(false);
  FreeWindows();
  LeftImage.reset();
  TopImage.reset();
  RightImage.reset();
  BottomImage.reset();
}

void TbsFormLayerBorder::TestActive(Integer X, Integer Y) {
  const auto& Objects = SkinForm->GetObjects();
  if (Objects.empty() || !SkinForm->GetNCActive() || SkinForm->GetInSizeMove() || TargetForm == nullptr)
    return;
  for (TbsFormLayerWindow* W : {LeftWindow, TopWindow, RightWindow, BottomWindow})
    if (W != nullptr && W->Dragging) return;
  if (TargetForm->GetFormStyle() == fsMDIChild && SkinForm->GetWindowState() == wsMaximized) return;
  if (TargetForm->GetBorderStyle() == bsNone) return;
  if (LayerFrame != nullptr && !LayerFrame->FullBorder) return;
  const Integer Count = static_cast<Integer>(Objects.size());
  PrevHotObject = HotObject >= Count ? -1 : HotObject;
  Integer Hot = -1;
  for (Integer I = 0; I < Count; ++I) {
    TbsActiveSkinObject* O = Objects[I].get();
    if (O->Visible && O->Enabled && PtInRect(O->ObjectRect, Point(X, Y)) && O->HitTest(X, Y)) {
      Hot = I;
      break;
    }
  }
  if (PressedObject >= 0 && PressedObject < Count && Hot != PressedObject) Hot = -1;
  HotObject = Hot;
  if (HotObject == PrevHotObject) return;
  if (PrevHotObject >= 0) Objects[PrevHotObject]->MouseLeave();
  if (HotObject >= 0) Objects[HotObject]->MouseEnter();
}

void TbsFormLayerBorder::HoverTimerTick(TObject*) {
  if (LayerFrame != nullptr && !LayerFrame->FullBorder) {
    HoverTimer->SetEnabled(false);
    return;
  }
  if (TopWindow == nullptr) return;
  POINT P;
  GetCursorPos(&P);
  if (WindowFromPoint(P) == TopWindow->GetHandle()) return;
  HoverTimer->SetEnabled(false);
  PressedObject = -1;
  TestActive(-1, -1);
}
