// TbsSkinGauge: the progress gauge.
#include <cmath>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/Text.h"
#include "platform/system/Math.h"
#include "platform/system/Strings.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsPictures.h"
#include "skin/data/bsUtils.h"

// ---- TbsSkinGauge ---------------------------------------------------------------------------

TbsSkinGauge::TbsSkinGauge(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetWidth(100);
  SetHeight(20);
  SetSkinDataName("gauge");
}

void TbsSkinGauge::SetValue(Integer Value) {
  if (Value > FMaxValue) Value = FMaxValue;
  if (Value < FMinValue) Value = FMinValue;
  if (Value == FValue) return;
  FValue = Value;
  // Many steps between two passes of the message queue cost one paint.
  Invalidate();
}

void TbsSkinGauge::SetMaxValue(Integer Value) {
  FMaxValue = Value;
  if (FValue > Value) FValue = Value;
  Repaint();
}

void TbsSkinGauge::SetMinValue(Integer Value) {
  FMinValue = Value;
  if (FValue < Value) FValue = Value;
  Repaint();
}

void TbsSkinGauge::SetProgressText(const std::string& Value) {
  FProgressText = Value;
  Repaint();
}

void TbsSkinGauge::SetShowProgressText(bool Value) {
  FShowProgressText = Value;
  Repaint();
}

void TbsSkinGauge::SetShowPercent(bool Value) {
  FShowPercent = Value;
  Repaint();
}

void TbsSkinGauge::SetProgressAnimationPause(Integer Value) {
  if (Value >= 0) FProgressAnimationPause = Value;
}

Integer TbsSkinGauge::CurrentValue() {
  return GetControlState().Contains(csPaintCopy) ? GetDisplayValue() : FValue;
}

TRect TbsSkinGauge::ProgressRect(const TRect& Area, Integer V) const {
  const double F = RangeFraction(V, FMinValue, FMaxValue);
  TRect R = Area;
  if (FVertical)
    R.Top = R.Bottom - static_cast<Integer>(Trunc(GetRectHeight(Area) * F));
  else
    R.Right = R.Left + static_cast<Integer>(Trunc(GetRectWidth(Area) * F));
  return R;
}

std::string TbsSkinGauge::ShownText(Integer V) const {
  std::string Text = FShowProgressText ? FProgressText : std::string();
  if (FShowPercent) Text += IntToStr(Trunc(RangeFraction(V, FMinValue, FMaxValue) * 100)) + "%";
  return Text;
}

void TbsSkinGauge::DrawText(TCanvas* C, Integer V) {
  const std::string Text = ShownText(V);
  if (Text.empty()) return;
  C->SetFont(GetDefaultFont());
  if (PartIndex != -1) {
    if (GetUseSkinFont()) AssignPartFont(C->GetFont(), FontName, FontHeight, FontStyle);
    C->GetFont()->SetColor(FontColor);
  }
  AssignSkinCharset(C->GetFont(), FSD, GetDefaultFont());
  const bool Odd = C->GetFont()->GetHeight() % 2 != 0;
  C->GetBrush()->SetStyle(bsClear);
  const TSize T = C->TextExtent(Text);
  Integer X, Y;
  if (FVertical) {
    // Reads upwards.
    C->GetFont()->SetOrientation(900);
    X = GetWidth() / 2 - T.cy / 2;
    Y = T.cx / 2 + GetHeight() / 2;
  } else {
    X = GetWidth() / 2 - T.cx / 2;
    Y = GetHeight() / 2 - T.cy / 2;
  }
  if (Odd) --Y;
  C->TextOut(X, Y, Text);
}

void TbsSkinGauge::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  FramedFill(C, GetClientRect(), clBtnShadow, clWindow);
  const Integer V = CurrentValue();
  const TRect Area = Rect(1, 1, GetWidth() - 1, GetHeight() - 1);
  const TRect P = ProgressRect(Area, V);
  if (OnGaugePaint) {
    OnGaugePaint(C, Area, P);
    return;
  }
  if (!IsEmptyRect(P)) {
    C->GetBrush()->SetColor(bsHotFaceColor);
    C->FillRect(P);
  }
  DrawText(C, V);
}

void TbsSkinGauge::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    if (!InWMPaint) PaintControlTo(reinterpret_cast<HDC>(Message.WParam));
    Message.Result = 1;
    return;
  }
  TbsSkinCustomControl::Dispatch(Message);
}

// ---- Skin part ------------------------------------------------------------------------------

TbsSkinGauge::~TbsSkinGauge() = default;

void TbsSkinGauge::SetVertical(bool Value) {
  FVertical = Value;
  TurnAtDesignTime(this, Value, "vgauge", "gauge");
}

void TbsSkinGauge::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  auto* Part = dynamic_cast<TbsDataSkinGaugeControl*>(BoundPart());
  if (Part == nullptr) return;
  ProgressArea = Part->ProgressArea;
  ProgressSkinRect = Part->ProgressRect;
  BeginOffset = Part->BeginOffset;
  EndOffset = Part->EndOffset;
  FVertical = Part->Vertical;
  FontName = Part->FontName;
  FontStyle = Part->FontStyle;
  FontHeight = Part->FontHeight;
  FontColor = Part->FontColor;
  ProgressTransparent = Part->ProgressTransparent;
  ProgressTransparentColor = Part->ProgressTransparentColor;
  ProgressStretch = Part->ProgressStretch;
  ProgressAnimationSkinRect = Part->ProgressAnimationSkinRect;
  ProgressAnimationCountFrames = Part->ProgressAnimationCountFrames;
  ProgressAnimationTimerInterval = Part->ProgressAnimationTimerInterval;
  // A stretched picture gets no window region.
  if (!FUseSkinSize) SkinMaskPicture = nullptr;
}

void TbsSkinGauge::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  const Integer ProposedW = AWidth, ProposedH = AHeight;
  TbsSkinCustomControl::FitPartToSize(AWidth, AHeight);
  FNewProgressArea = ProgressArea;
  if (SizingMode >= 1 && SizingMode <= 3) {
    if (FVertical)
      FNewProgressArea.Bottom += AHeight - GetRectHeight(SkinRect);
    else
      FNewProgressArea.Right += AWidth - GetRectWidth(SkinRect);
  }
  if (!FUseSkinSize) AWidth = ProposedW, AHeight = ProposedH;
}

void TbsSkinGauge::ApplySkinChange() {
  if (AnimationTicker == nullptr) {
    TbsSkinCustomControl::ApplySkinChange();
    return;
  }
  StopProgressAnimation();
  TbsSkinCustomControl::ApplySkinChange();
  StartProgressAnimation();
}

// ---- Animation ------------------------------------------------------------------------------

TRect TbsSkinGauge::AnimationFrameRect(Integer K) const {
  const TRect& A = ProgressAnimationSkinRect;
  const Integer N = IntMax(ProgressAnimationCountFrames, 1);
  if (GetRectWidth(ProgressSkinRect) < GetRectWidth(A)) {
    const Integer Step = GetRectWidth(A) / N;
    return Rect(A.Left + Step * (K - 1), A.Top, A.Left + Step * K, A.Bottom);
  }
  const Integer Step = GetRectHeight(A) / N;
  return Rect(A.Left, A.Top + Step * (K - 1), A.Right, A.Top + Step * K);
}

void TbsSkinGauge::StartProgressAnimation() {
  LoadSkinPart();
  if (PartIndex == -1 || IsEmptyRect(ProgressAnimationSkinRect)) return;
  AnimationPauseTicker = std::make_unique<TTimer>(nullptr);
  AnimationPauseTicker->SetInterval(static_cast<Cardinal>(FProgressAnimationPause));
  AnimationPauseTicker->SetOnTimer(TNotifyEvent(this, &TbsSkinGauge::AnimationPauseTick));
  AnimationPauseTicker->SetEnabled(true);
  AnimationTicker = std::make_unique<TTimer>(nullptr);
  AnimationTicker->SetEnabled(false);
  AnimationTicker->SetInterval(static_cast<Cardinal>(IntMax(ProgressAnimationTimerInterval, 1)));
  AnimationTicker->SetOnTimer(TNotifyEvent(this, &TbsSkinGauge::AnimationFrameTick));
  BeginAnimationRun();
}

void TbsSkinGauge::StopProgressAnimation() {
  AnimationFrameNo = 0;
  if (AnimationTicker == nullptr) return;
  AnimationTicker.reset();
  AnimationPauseTicker.reset();
}

void TbsSkinGauge::BeginAnimationRun() {
  AnimationPauseTicker->SetEnabled(false);
  AnimationFrameNo = 0;
  AnimationTicker->SetEnabled(true);
  Repaint();
}

void TbsSkinGauge::AnimationFrameTick(TObject*) {
  ++AnimationFrameNo;
  if (AnimationFrameNo > ProgressAnimationCountFrames) {
    AnimationFrameNo = 0;
    AnimationPauseTicker->SetEnabled(true);
    AnimationTicker->SetEnabled(false);
  }
  Repaint();
}

void TbsSkinGauge::AnimationPauseTick(TObject*) {
  BeginAnimationRun();
}

// ---- Part painting --------------------------------------------------------------------------

void TbsSkinGauge::DrawPartProgress(TCanvas* C, const TRect& P) {
  const Integer PW = GetRectWidth(P), PH = GetRectHeight(P);
  TBitmap PB;
  PB.SetSize(PW, PH);
  TCanvas* PC = PB.GetCanvas();
  TCanvas* SC = SkinPicture != nullptr ? SkinPicture->GetCanvas() : nullptr;
  if (SC == nullptr) return;
  const TRect& R = ProgressSkinRect;
  const bool Animated = AnimationTicker != nullptr && AnimationTicker->GetEnabled() && AnimationFrameNo > 0 &&
                        ProgressAnimationCountFrames > 0;
  TRect S = Animated ? AnimationFrameRect(AnimationFrameNo) : R;
  const Integer Length = FVertical ? PH : PW;
  if (Length - BeginOffset - EndOffset > 0) {
    // The middle between the caps: stretched, or tiled from the start of the progress.
    const Integer DStart = BeginOffset, DEnd = Length - EndOffset;
    if (FVertical)
      S.Top += BeginOffset, S.Bottom -= EndOffset;
    else
      S.Left += BeginOffset, S.Right -= EndOffset;
    const Integer SLength = FVertical ? GetRectHeight(S) : GetRectWidth(S);
    if (SLength <= 0) return;
    if (ProgressStretch || Animated) {
      PC->CopyRect(FVertical ? Rect(0, DStart, PW, DEnd) : Rect(DStart, 0, DEnd, PH), SC, S);
    } else if (FVertical) {
      // Tiles laid from the bottom up; the last one loses its top.
      for (Integer G = 0; G <= (DEnd - DStart) / SLength; ++G) {
        const Integer Bottom = DEnd - G * SLength;
        const Integer Top = IntMax(Bottom - SLength, DStart);
        if (Bottom <= Top) break;
        PC->CopyRect(Rect(0, Top, PW, Bottom), SC,
                     Rect(S.Left, S.Bottom - (Bottom - Top), S.Right, S.Bottom));
      }
    } else {
      for (Integer G = 0; G <= (DEnd - DStart) / SLength; ++G) {
        const Integer Left = DStart + G * SLength;
        const Integer Right = IntMin(Left + SLength, DEnd);
        if (Right <= Left) break;
        PC->CopyRect(Rect(Left, 0, Right, PH), SC, Rect(S.Left, S.Top, S.Left + (Right - Left), S.Bottom));
      }
    }
  }
  // The caps always come from the plain progress picture.
  if (FVertical) {
    PC->CopyRect(Rect(0, 0, PW, BeginOffset), SC, Rect(R.Left, R.Top, R.Right, R.Top + BeginOffset));
    PC->CopyRect(Rect(0, PH - EndOffset, PW, PH), SC, Rect(R.Left, R.Bottom - EndOffset, R.Right, R.Bottom));
  } else {
    PC->CopyRect(Rect(0, 0, BeginOffset, PH), SC, Rect(R.Left, R.Top, R.Left + BeginOffset, R.Bottom));
    PC->CopyRect(Rect(PW - EndOffset, 0, PW, PH), SC, Rect(R.Right - EndOffset, R.Top, R.Right, R.Bottom));
  }
  if (ProgressTransparent) {
    PB.SetTransparent(true);
    PB.SetTransparentMode(tmFixed);
    PB.SetTransparentColor(ProgressTransparentColor);
  }
  C->Draw(P.Left, P.Top, &PB);
}

void TbsSkinGauge::DrawSkinImage(TBitmap* B) {
  TbsSkinCustomControl::DrawSkinImage(B);
  const Integer V = CurrentValue();
  const TRect P = ProgressRect(FNewProgressArea, V);
  TCanvas* C = B->GetCanvas();
  if (OnGaugePaint) {
    OnGaugePaint(C, FNewProgressArea, P);
    return;
  }
  if (GetRectWidth(P) > 0 && GetRectHeight(P) > 0) DrawPartProgress(C, P);
  if (FUseSkinSize) DrawText(C, V);
}

void TbsSkinGauge::Paint() {
  if (GetWidth() < 1 || GetHeight() < 1) return;
  LoadSkinPart();
  if (FUseSkinSize || PartIndex == -1) {
    TbsSkinCustomControl::Paint();
    return;
  }
  Integer W = GetWidth(), H = GetHeight();
  FitPartToSize(W, H);
  // Any size: the part's image stretched over the control, the text on top.
  TBitmap Part;
  Part.SetSize(GetWidth(), GetHeight());
  DrawSkinImage(&Part);
  TBitmap B;
  B.SetSize(GetWidth(), GetHeight());
  B.GetCanvas()->StretchDraw(GetClientRect(), &Part);
  DrawText(B.GetCanvas(), CurrentValue());
  GetCanvas()->Draw(0, 0, &B);
}
