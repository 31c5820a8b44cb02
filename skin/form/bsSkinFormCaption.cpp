// The caption object: background looks, animation frames, text and quick buttons.
#include <memory>

#include "platform/classes/Colors.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/TextLayout.h"
#include "platform/system/Strings.h"
#include "skin/data/bsEffects.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinFormObjects.h"

namespace {

bool EmptyRect(const TRect& R) {
  return R.Width() <= 0 || R.Height() <= 0;
}

constexpr Integer QuickButtonSpacing = 8;

}  // namespace

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinForm* AOwner, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AOwner, AData) {
  auto* C = dynamic_cast<TbsDataSkinCaption*>(AData);
  if (C == nullptr) return;
  if (!C->FontName.empty()) FontName = C->FontName;
  FontStyle = C->FontStyle;
  if (C->FontHeight != 0) FontHeight = C->FontHeight;
  FontColor = C->FontColor;
  ActiveFontColor = C->ActiveFontColor;
  ShadowColor = C->ShadowColor;
  ActiveShadowColor = C->ActiveShadowColor;
  Shadow = C->Shadow;
  LightColor = C->LightColor;
  ActiveLightColor = C->ActiveLightColor;
  Light = C->Light;
  Alignment = C->Alignment;
  TextRect = C->TextRect;
  FrameRect = C->FrameRect;
  ActiveFrameRect = C->ActiveFrameRect;
  FrameLeftOffset = C->FrameLeftOffset;
  FrameRightOffset = C->FrameRightOffset;
  FrameTextRect = C->FrameTextRect;
  StretchEffect = C->StretchEffect;
  FullFrame = C->FullFrame;
  AnimateSkinRect = C->AnimateSkinRect;
  FrameCount = C->FrameCount;
  if (C->AnimateInterval != 0) AnimateInterval = C->AnimateInterval;
  InActiveAnimation = C->InActiveAnimation;
}

// ---- Activation and animation ---------------------------------------------------------------

bool TbsSkinCaptionObject::AnimationUsable() const {
  return SkinUsable() && SkinData->GetEnableSkinEffects() && !EmptyRect(AnimateSkinRect) && FrameCount > 0 &&
         ActivePicture != nullptr;
}

void TbsSkinCaptionObject::SetActive(bool Value, bool Update) {
  Active = Value;
  if (Update) {
    if (AnimationUsable()) {
      ElapsedTime = 25;
      CurrentFrame = Value ? 1 : (InActiveAnimation ? FrameCount : 0);
      SkinForm->StartAnimateTimer();
    }
    SkinForm->RepaintFrame();
    if (CanMorph()) SkinForm->StartMorphTimer();
  } else if (CanMorph()) {
    MorphFactor = Value ? 1 : 0;
  }
}

bool TbsSkinCaptionObject::AnimationTick() {
  if (!AnimationUsable()) return false;
  if (ElapsedTime < AnimateInterval) {
    ElapsedTime += 25;
    return true;
  }
  if (Active && CurrentFrame <= FrameCount) {
    ++CurrentFrame;
  } else if (!Active && CurrentFrame > 0) {
    --CurrentFrame;
  } else {
    return false;
  }
  SkinForm->DrawSkinObject(this);
  ElapsedTime = 25;
  return true;
}

TRect TbsSkinCaptionObject::AnimationFrameRect(Integer N) const {
  const TRect& A = AnimateSkinRect;
  if (A.Height() > SkinRect.Height()) {
    const Integer H = A.Height() / FrameCount;
    return Rect(A.Left, A.Top + H * (N - 1), A.Right, A.Top + H * N);
  }
  const Integer W = A.Width() / FrameCount;
  return Rect(A.Left + W * (N - 1), A.Top, A.Left + W * N, A.Bottom);
}

// ---- Drawing --------------------------------------------------------------------------------

TRect TbsSkinCaptionObject::CalcTextRect() const {
  TRect R = TextRect;
  if (!EmptyRect(R)) {
    R.Right = ObjectRect.Width() - (SkinRect.Width() - TextRect.Right);
    TCustomImageList* Images = SkinForm->GetQuickImageList();
    if (SkinForm->GetQuickButtons()->GetCount() > 0 && Images != nullptr)
      R.Left += SkinForm->GetQuickButtons()->GetCount() * (Images->GetWidth() + QuickButtonSpacing);
  }
  if (!EmptyRect(FrameRect)) {
    R.Top += FrameTextRect.Top;
    R.Left += FrameTextRect.Left;
    R.Right -= FrameRect.Width() - FrameTextRect.Right;
  }
  return R;
}

void TbsSkinCaptionObject::SetCaptionFont(TCanvas* Cnvs, TColor Color) {
  TFont* F = Cnvs->GetFont();
  F->SetName(FontName);
  F->SetStyle(FontStyle);
  F->SetHeight(FontHeight);
  F->SetColor(Color);
  F->SetCharset(SkinForm->GetDefCaptionFont()->GetCharset());
}

void TbsSkinCaptionObject::DrawCaptionText(TCanvas* Cnvs, Integer X, Integer Y, bool State) {
  std::u16string Text = Utf8ToUtf16(SkinForm->GetForm()->GetCaption());
  if (Text.empty() || EmptyRect(TextRect)) return;
  SetCaptionFont(Cnvs, State ? ActiveFontColor : FontColor);
  const TRect R = CalcTextRect();
  FitWideTextToWidth(Cnvs, Text, R.Width());
  const Integer TW = GetWideTextWidth(Cnvs, Text), TH = GetWideTextHeight(Cnvs, Text);
  Integer TX = R.Left, TY = R.Top + R.Height() / 2 - TH / 2;
  const bool Centre = Alignment == 2 || SkinForm->GetQuickButtons()->GetCount() > 0;
  if (Centre)
    TX = R.Left + R.Width() / 2 - TW / 2;
  else if (Alignment == 1)
    TX = R.Right - TW;
  TX += X;
  TY += Y;
  if (FontHeight % 2 != 0) --TY;
  Cnvs->GetBrush()->SetStyle(bsClear);
  auto Put = [&](Integer PX, Integer PY, TColor Color) {
    Cnvs->GetFont()->SetColor(Color);
    TRect TR = Rect(PX, PY, PX + TW, PY + TH);
    DrawWideText(Cnvs, Text, TR, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  };
  if (Light) Put(TX - 1, TY - 1, State ? ActiveLightColor : LightColor);
  if (Shadow) Put(TX + 1, TY + 1, State ? ActiveShadowColor : ShadowColor);
  Put(TX, TY, State ? ActiveFontColor : FontColor);
}

void TbsSkinCaptionObject::BuildImage(TBitmap* Image, TBitmap* Picture, const TRect& Source, bool State) {
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  Image->SetPixelFormat(pf24bit);
  Image->SetSize(W, H);
  if (Picture == nullptr) return;
  const Integer L = std::max(0, SkinData->LeftTopPoint.X - Source.Left);
  const Integer R = std::max(0, Source.Right - SkinData->RightTopPoint.X);
  if (L > 0 || R > 0)
    CreateHSkinImage(L, R, Image, Picture, Source, W, Source.Height(), StretchEffect);
  else
    Image->GetCanvas()->CopyRect(Rect(0, 0, W, H), Picture->GetCanvas(), Source);
  DrawCaptionText(Image->GetCanvas(), 0, 0, State);
}

void TbsSkinCaptionObject::ApplyInactiveEffect(TBitmap* Image) {
  TbsEffectBmp E(Image->GetHandle());
  E.InactiveEffect(SkinData->InActiveEffect);
  E.DrawToDC(Image->GetCanvas()->GetHandle(), 0, 0);
}

void TbsSkinCaptionObject::Draw(TCanvas* Cnvs, bool) {
  if (!SkinUsable()) return;
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  // A handler paints the caption on the frame; an image (which holds no text of its own then)
  // goes first so that the handler's drawing stays visible on top of it.
  const bool UserPaint = static_cast<bool>(SkinForm->OnCaptionPaint);
  auto Finish = [&](TBitmap* Image) {
    if (Image != nullptr) Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, Image);
    if (UserPaint) {
      TRect R = ObjectRect;
      SkinForm->OnCaptionPaint(Cnvs, R, Active);
    }
    DrawQuickButtons(Cnvs);
  };
  auto Build = [&](TBitmap* Image, TBitmap* Picture, const TRect& Source, bool State) {
    if (UserPaint) {
      const TRect Saved = TextRect;
      TextRect = TRect();
      BuildImage(Image, Picture, Source, State);
      TextRect = Saved;
    } else {
      BuildImage(Image, Picture, Source, State);
    }
  };
  TBitmap Image;
  if (AnimationUsable() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
    Build(&Image, ActivePicture, AnimationFrameRect(CurrentFrame), !Active);
    Finish(&Image);
    return;
  }
  if (CanMorph() && ((MorphFactor > 0 && !Active) || (MorphFactor < 1 && Active)) &&
      ActivePicture != nullptr) {
    TBitmap Other;
    Build(&Image, FramePicture, SkinRect, false);
    Build(&Other, ActivePicture, ActiveSkinRect, true);
    TbsEffectBmp E1(Image.GetHandle()), E2(Other.GetHandle());
    E1.Morph(&E2, MorphFactor);
    E1.DrawToDC(Image.GetCanvas()->GetHandle(), 0, 0);
    if (SkinForm->AutoRenderInactiveImage() && !Active) ApplyInactiveEffect(&Image);
    Finish(&Image);
    return;
  }
  if (EmptyRect(ActiveSkinRect) || (!Active && !CanMorph() && !StretchEffect && !AnimationUsable())) {
    if (UserPaint)
      Finish(nullptr);
    else {
      DrawCaptionText(Cnvs, ObjectRect.Left, ObjectRect.Top, Active);
      DrawQuickButtons(Cnvs);
    }
    return;
  }
  if (!Active) {
    Build(&Image, FramePicture, SkinRect, false);
    if (SkinForm->AutoRenderInactiveImage()) ApplyInactiveEffect(&Image);
  } else {
    Build(&Image, ActivePicture, ActiveSkinRect, true);
  }
  Finish(&Image);
}

// ---- Quick buttons --------------------------------------------------------------------------

void TbsSkinCaptionObject::DrawQuickButtons(TCanvas* Cnvs) {
  TbsQuickButtonItems* Items = SkinForm->GetQuickButtons();
  TCustomImageList* Images = SkinForm->GetQuickImageList();
  if (Items->GetCount() == 0 || Images == nullptr) return;
  const Integer Size = Images->GetWidth() + QuickButtonSpacing;
  Integer X = ObjectRect.Left + TextRect.Left;
  const Integer Y = ObjectRect.Top + ObjectRect.Height() / 2 - Size / 2;
  for (Integer I = 0; I < Items->GetCount(); ++I) {
    TbsQuickButtonItem* Item = Items->GetItem(I);
    if (!Item->GetVisible()) {
      Item->ItemRect = TRect();
      continue;
    }
    Item->ItemRect = Rect(X, Y, X + Size, Y + Size);
    if (Item->Hot && Item->GetEnabled()) {
      Cnvs->GetBrush()->SetColor(Item->Pressed ? clBtnShadow : clBtnHighlight);
      Cnvs->FrameRect(Item->ItemRect);
    }
    if (Item->GetImageIndex() >= 0 && Item->GetImageIndex() < Images->GetCount())
      Images->Draw(Cnvs, X + QuickButtonSpacing / 2, Y + QuickButtonSpacing / 2, Item->GetImageIndex(),
                   Item->GetEnabled());
    X += Size;
  }
}

Integer TbsSkinCaptionObject::QuickButtonAt(Integer X, Integer Y) const {
  TbsQuickButtonItems* Items = SkinForm->GetQuickButtons();
  for (Integer I = 0; I < Items->GetCount(); ++I) {
    const TbsQuickButtonItem* Item = Items->GetItem(I);
    const TRect& R = Item->ItemRect;
    if (Item->GetVisible() && Item->GetEnabled() && X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom)
      return I;
  }
  return -1;
}

void TbsSkinCaptionObject::SetHotQuickButton(Integer Index) {
  if (Index == HotQuickButton) return;
  PrevHotQuickButton = HotQuickButton;
  TbsQuickButtonItems* Items = SkinForm->GetQuickButtons();
  if (PrevHotQuickButton >= 0 && PrevHotQuickButton < Items->GetCount())
    Items->GetItem(PrevHotQuickButton)->Hot = false;
  HotQuickButton = Index;
  if (Index >= 0) Items->GetItem(Index)->Hot = true;
  SkinForm->DrawSkinObject(this);
}

void TbsSkinCaptionObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (Button == mbLeft && HotQuickButton >= 0) {
    SkinForm->GetQuickButtons()->GetItem(HotQuickButton)->Pressed = true;
    SkinForm->DrawSkinObject(this);
  }
  TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinCaptionObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  TbsQuickButtonItems* Items = SkinForm->GetQuickButtons();
  bool WasPressed = false;
  for (Integer I = 0; I < Items->GetCount(); ++I) {
    WasPressed = WasPressed || Items->GetItem(I)->Pressed;
    Items->GetItem(I)->Pressed = false;
  }
  // The button under the mouse at release runs, whichever went down.
  const Integer Under = QuickButtonAt(X, Y);
  if (Button == mbLeft && WasPressed && Under >= 0) {
    SkinForm->DrawSkinObject(this);
    TbsQuickButtonItem* Item = Items->GetItem(Under);
    if (Item->OnClick) Item->OnClick(nullptr);
  }
  if (MouseOver) SkinForm->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsSkinCaptionObject::MouseMove(Integer X, Integer Y) {
  SetHotQuickButton(QuickButtonAt(X, Y));
  TbsActiveSkinObject::MouseMove(X, Y);
}

void TbsSkinCaptionObject::MouseEnter() {
  MouseOver = true;
  SkinForm->DoMouseEnterEvent(IDName);
}

void TbsSkinCaptionObject::MouseLeave() {
  MouseOver = false;
  SetHotQuickButton(-1);
  SkinForm->DoMouseLeaveEvent(IDName);
}
