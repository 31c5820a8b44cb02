// Painting of the skinned form: the frame from the skin's picture or the skinless default
// frame, the client background and the logo, and the small caption icon.
#include "platform/classes/Application.h"
#include "platform/classes/Colors.h"
#include "platform/classes/Icon.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/TextLayout.h"
#include "platform/system/Strings.h"
#include "platform/user/User.h"
#include "skin/data/bsEffects.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinFormObjects.h"

namespace {

// The window's DC unless one is given; released at the end.
class TFrameDC {
 public:
  TFrameDC(HWND Wnd, HDC Given) : FWnd(Given == nullptr ? Wnd : nullptr) {
    DC = Given != nullptr ? Given : (Wnd != nullptr ? GetWindowDC(Wnd) : nullptr);
  }
  ~TFrameDC() {
    if (FWnd != nullptr && DC != nullptr) ReleaseDC(FWnd, DC);
  }
  TFrameDC(const TFrameDC&) = delete;
  TFrameDC& operator=(const TFrameDC&) = delete;
  HDC DC;

 private:
  HWND FWnd;
};

void ApplyEffect(TBitmap* B, Byte Effect) {
  if (B->GetWidth() <= 0 || B->GetHeight() <= 0) return;
  TbsEffectBmp E(B->GetHandle());
  E.InactiveEffect(Effect);
  E.DrawToDC(B->GetCanvas()->GetHandle(), 0, 0);
}

void FillColor(TCanvas* C, const TRect& R, TColor Color) {
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(Color);
  C->FillRect(R);
}

}  // namespace

bool TbsSkinForm::AutoRenderInactiveImage() const {
  return SkinReady() && FSD->AutoRenderingInActiveImage;
}

void TbsSkinForm::PaintSkinFrame(HDC DC, bool Given) {
  if (!SkinReady() || FSD->Picture == nullptr) return;
  if (FFrameWidth == 0) FFrameWidth = FForm->GetWidth();
  if (FFrameHeight == 0) FFrameHeight = FForm->GetHeight();
  if (FFrameWidth < GetMinWidth() || FFrameHeight < GetMinHeight()) return;
  CalcFrameGeometry();
  ArrangeObjects();
  TFrameDC Frame(FForm->HandleAllocated() ? FForm->GetHandle() : nullptr, Given ? DC : nullptr);
  if (Frame.DC == nullptr) return;
  const bool Active = IsFormActive();
  TBitmap* Source = (Active || FSD->InActivePicture == nullptr || FSD->InActivePicture->Empty())
                        ? FSD->Picture.get()
                        : FSD->InActivePicture.get();
  TBitmap Left, Top, Right, Bottom;
  for (TBitmap* B : {&Left, &Top, &Right, &Bottom}) B->SetPixelFormat(pf24bit);
  const Integer Pw = FSD->Picture->GetWidth(), Ph = FSD->Picture->GetHeight();
  CreateSkinBorderImages(FSD->LeftTopPoint, FSD->RightTopPoint, FSD->LeftBottomPoint, FSD->RightBottomPoint,
                         FSD->ClientRect, FLTPoint, FRTPoint, FLBPoint, FRBPoint, FClientRect, &Left, &Top,
                         &Right, &Bottom, Source, Rect(0, 0, Pw, Ph), FFrameWidth, FFrameHeight,
                         FSD->LeftStretch, FSD->TopStretch, FSD->RightStretch, FSD->BottomStretch);
  for (const auto& O : FObjects) {
    if (!O->Visible) continue;
    if (O->ObjectRect.Bottom > FClientRect.Top) {
      const TRect Saved = O->ObjectRect;
      O->ObjectRect =
          Rect(Saved.Left, Saved.Top - FClientRect.Bottom, Saved.Right, Saved.Bottom - FClientRect.Bottom);
      O->Draw(Bottom.GetCanvas(), false);
      O->ObjectRect = Saved;
    } else {
      O->Draw(Top.GetCanvas(), false);
    }
  }
  const Integer Saved = SaveDC(Frame.DC);
  if (FClientRect.Width() > 0 && FClientRect.Height() > 0)
    ExcludeClipRect(Frame.DC, FClientRect.Left, FClientRect.Top, FClientRect.Right, FClientRect.Bottom);
  if (!Active && AutoRenderInactiveImage())
    for (TBitmap* B : {&Top, &Left, &Right, &Bottom}) ApplyEffect(B, FSD->InActiveEffect);
  TCanvas C;
  {
    TCanvasOnDC On(&C, Frame.DC);
    C.Draw(0, 0, &Top);
    C.Draw(0, Top.GetHeight(), &Left);
    C.Draw(FFrameWidth - Right.GetWidth(), Top.GetHeight(), &Right);
    C.Draw(0, FFrameHeight - Bottom.GetHeight(), &Bottom);
  }
  RestoreDC(Frame.DC, Saved);
}

void TbsSkinForm::PaintDefaultFrame(HDC DC, bool Given) {
  if (FSD != nullptr && FSD->SkinLoading) return;
  if (FFrameWidth == 0) FFrameWidth = FForm->GetWidth();
  if (FFrameHeight == 0) FFrameHeight = FForm->GetHeight();
  ArrangeDefaultButtons();
  TFrameDC Frame(FForm->HandleAllocated() ? FForm->GetHandle() : nullptr, Given ? DC : nullptr);
  if (Frame.DC == nullptr) return;
  const Integer CH = GetDefaultCaptionHeight(), W = FFrameWidth, H = FFrameHeight;
  TBitmap Caption;
  Caption.SetPixelFormat(pf24bit);
  Caption.SetSize(std::max(0, W - 6), CH);
  TCanvas* CC = Caption.GetCanvas();
  FillColor(CC, Rect(0, 0, Caption.GetWidth(), CH), clBtnFace);
  const Integer Lt = FDefCaptionRect.Left - 3, Rt = FDefCaptionRect.Right - 3;
  if (CH - 4 > 1)
    for (Integer Y = 2; Y <= CH - 4; ++Y) {
      CC->GetPen()->SetColor((Y - 2) % 2 == 0 ? clBtnHighlight : clBtnShadow);
      CC->MoveTo(Lt + 2, Y);
      CC->LineTo(Rt - 3, Y);
    }
  const bool Active = IsFormActive();
  CC->GetFont()->Assign(Active ? FDefCaptionFont.get() : FDefInActiveCaptionFont.get());
  if (FSD != nullptr && FSD->GetResourceStrData() != nullptr)
    CC->GetFont()->SetCharset(FSD->GetResourceStrData()->GetCharSet());
  std::u16string Text = Utf8ToUtf16(FForm->GetCaption());
  if (OnCaptionPaint) {
    TRect R = Rect(Lt, 0, Rt, CH);
    OnCaptionPaint(CC, R, Active);
  } else if (!Text.empty()) {
    FitWideTextToWidth(CC, Text, Rt - Lt + 3);
    const Integer TW = GetWideTextWidth(CC, Text), TH = GetWideTextHeight(CC, Text);
    const Integer X = Lt + (Rt - Lt + 3) / 2 - (TW + 5) / 2, Y = CH / 2 - TH / 2;
    FillColor(CC, Rect(X - 2, Y - 2, X + TW + 2, Y + TH + 2), clBtnFace);
    CC->GetBrush()->SetStyle(bsClear);
    TRect TR = Rect(X, Y, X + TW, Y + TH);
    DrawWideText(CC, Text, TR, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  }
  if (FObjects.empty() && !FSkinApplied) {
    CreateDefaultObjects();
    ArrangeDefaultButtons();
  }
  for (const auto& O : FObjects) {
    if (!O->Visible) continue;
    const TRect Saved = O->ObjectRect;
    O->ObjectRect = Rect(Saved.Left - 3, Saved.Top - 3, Saved.Right - 3, Saved.Bottom - 3);
    O->Draw(CC, true);
    O->ObjectRect = Saved;
  }
  const Integer SavedDC = SaveDC(Frame.DC);
  ExcludeClipRect(Frame.DC, 3, CH + 3, W - 3, H - 3);
  TCanvas C;
  {
    TCanvasOnDC On(&C, Frame.DC);
    C.Draw(3, 3, &Caption);
    // Three rings, each inside the last.
    const TColor Rings[3][2] = {
        {cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}, {clBtnFace, clBtnFace}};
    for (Integer I = 0; I < 3; ++I) {
      const TRect R = Rect(I, I, W - I, H - I);
      FillColor(&C, Rect(R.Left, R.Top, R.Right, R.Top + 1), Rings[I][0]);
      FillColor(&C, Rect(R.Left, R.Top, R.Left + 1, R.Bottom), Rings[I][0]);
      FillColor(&C, Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom), Rings[I][1]);
      FillColor(&C, Rect(R.Right - 1, R.Top, R.Right, R.Bottom), Rings[I][1]);
    }
  }
  RestoreDC(Frame.DC, SavedDC);
}

// ---- Client backgrounds ---------------------------------------------------------------------

void TbsSkinForm::FinishBackground(HDC DC) {
  if (FLogoBitMap->Empty()) return;
  TCanvas C;
  TCanvasOnDC On(&C, DC);
  DrawLogo(&C);
}

void TbsSkinForm::EraseDefaultBackground(HDC DC) {
  if (DC == nullptr) return;
  {
    TCanvas C;
    TCanvasOnDC On(&C, DC);
    FillColor(&C, Rect(0, 0, FForm->GetClientWidth(), FForm->GetClientHeight()), clBtnFace);
  }
  FinishBackground(DC);
}

void TbsSkinForm::PaintBackground(HDC DC, TBitmap* B, bool Stretch, Byte StretchType) {
  const Integer CW = FForm->GetClientWidth(), CH = FForm->GetClientHeight();
  if (B == nullptr || B->GetWidth() <= 0 || B->GetHeight() <= 0 || CW <= 0 || CH <= 0) return;
  TCanvas C;
  TCanvasOnDC On(&C, DC);
  const Integer Bw = B->GetWidth(), Bh = B->GetHeight();
  if (!Stretch) {
    for (Integer Y = 0; Y <= CH / Bh; ++Y)
      for (Integer X = 0; X <= CW / Bw; ++X) C.Draw(X * Bw, Y * Bh, B);
    return;
  }
  if (StretchType == 1) {
    TBitmap S;
    S.SetSize(Bw, FFrameHeight);
    S.GetCanvas()->StretchDraw(Rect(0, 0, Bw, FFrameHeight), B);
    for (Integer X = 0; X <= FFrameWidth / Bw; ++X) C.Draw(X * Bw, 0, &S);
  } else if (StretchType == 2) {
    TBitmap S;
    S.SetSize(FFrameWidth, Bh);
    S.GetCanvas()->StretchDraw(Rect(0, 0, FFrameWidth, Bh), B);
    for (Integer Y = 0; Y <= FFrameHeight / Bh; ++Y) C.Draw(0, Y * Bh, &S);
  } else {
    C.StretchDraw(Rect(0, 0, CW, CH), B);
  }
}

void TbsSkinForm::PaintBGPicture(HDC DC) {
  if (DC == nullptr || !SkinReady()) return;
  const Integer I = FSD->BGPictureIndex;
  if (I < 0 || I >= static_cast<Integer>(FSD->ActivePictures.size())) return;
  PaintBackground(DC, FSD->ActivePictures[static_cast<std::size_t>(I)].get(), FSD->StretchEffect,
                  FSD->StretchType);
  FinishBackground(DC);
}

void TbsSkinForm::PaintClientPiece(HDC DC) {
  if (DC == nullptr || !SkinReady()) return;
  const TRect& R = FSD->ClientRect;
  if (R.Width() <= 0 || R.Height() <= 0 || FSD->Picture == nullptr) {
    TCanvas C;
    TCanvasOnDC On(&C, DC);
    FillColor(&C, Rect(0, 0, FForm->GetClientWidth(), FForm->GetClientHeight()), clBtnFace);
    return;
  }
  TBitmap Piece;
  Piece.SetPixelFormat(pf24bit);
  Piece.SetSize(R.Width(), R.Height());
  Piece.GetCanvas()->CopyRect(Rect(0, 0, R.Width(), R.Height()), FSD->Picture->GetCanvas(), R);
  PaintBackground(DC, &Piece, FSD->StretchEffect, FSD->StretchType);
  FinishBackground(DC);
}

void TbsSkinForm::DrawLogo(TCanvas* Canvas) {
  const Integer X = std::max(0, FForm->GetClientWidth() / 2 - FLogoBitMap->GetWidth() / 2);
  const Integer Y = std::max(0, FForm->GetClientHeight() / 2 - FLogoBitMap->GetHeight() / 2);
  if (FLogoBitMap->GetTransparent() != LogoBitMapTransparent)
    FLogoBitMap->SetTransparent(LogoBitMapTransparent);
  Canvas->Draw(X, Y, FLogoBitMap.get());
}

// ---- Small icon -----------------------------------------------------------------------------

void TbsSkinForm::DrawSmallIcon(TCanvas* Canvas, Integer X, Integer Y) {
  HICON Icon = nullptr;
  if (FForm->GetIcon() != nullptr && !FForm->GetIcon()->Empty())
    Icon = FForm->GetIcon()->GetHandle();
  else if (Application->GetIcon() != nullptr && !Application->GetIcon()->Empty())
    Icon = Application->GetIcon()->GetHandle();
  if (Icon == nullptr) return;
  const TSize S = GetSmallIconSize();
  DrawIconEx(Canvas->GetHandle(), X, Y, Icon, S.cx, S.cy, 0, nullptr, DI_NORMAL);
}
