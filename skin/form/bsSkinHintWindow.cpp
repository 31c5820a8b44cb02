// The skinned hint window: sizes itself to the text (and title and image) inside the skin's
// hint frame, stays inside the work area, and can fade in.
#include "platform/classes/Bitmap.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Screen.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/system/Clock.h"
#include "platform/system/Strings.h"
#include "platform/user/User.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsRegions.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/data/bsSkinDataSections.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsSkinHint.h"

namespace {

// The work area the hint must stay in.
TRect HintWorkArea() {
  TCustomForm* Form = Screen != nullptr ? Screen->GetActiveCustomForm() : nullptr;
  if (Form == nullptr && Application->GetMainForm() != nullptr && Application->GetMainForm()->GetVisible())
    Form = Application->GetMainForm();
  TRect R;
  if (Form != nullptr && Form->HandleAllocated())
    GetMonitorRect(Form->GetWindowHandle(), true, R);
  else
    R = Rect(0, 0, Screen->GetWidth(), Screen->GetHeight());
  return R;
}

std::string BreakLines(const std::string& Text, const std::string& Separator) {
  if (Separator.empty()) return Text;
  std::string Result;
  size_t From = 0;
  for (size_t At; (At = Text.find(Separator, From)) != std::string::npos; From = At + Separator.size())
    Result += Text.substr(From, At - From) + "\n\r";
  return Result + Text.substr(From);
}

TPoint MeasureText(TCanvas* C, const std::string& Text) {
  RECT R = Rect(0, 0, 0, 0);
  DrawText(C->GetHandle(), Text.c_str(), -1, &R, DT_CALCRECT);
  return {R.Right - R.Left, R.Bottom - R.Top};
}

bool HasImage(const TbsSkinHint* Hint) {
  return Hint->HintImageList != nullptr && Hint->HintImageIndex >= 0 &&
         Hint->HintImageIndex < Hint->HintImageList->GetCount();
}

}  // namespace

TbsSkinHintWindow::TbsSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

TbsSkinHintWindow::~TbsSkinHintWindow() = default;

void TbsSkinHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_BORDER);
  if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinHintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    default:
      THintWindow::Dispatch(Message);
  }
}

TBitmap* TbsSkinHintWindow::SkinPicture() const {
  return SkinData->ActivePictures[static_cast<size_t>(SkinData->HintWindow->WindowPictureIndex)].get();
}

void TbsSkinHintWindow::ApplyFont(TbsSkinHint* Hint) {
  TFont* F = GetCanvas()->GetFont();
  if (SkinData != nullptr && Hint->UseSkinFont) {
    const TbsDataSkinHintWindow& Rec = *SkinData->HintWindow;
    F->SetHeight(Rec.FontHeight);
    F->SetName(Rec.FontName);
    F->SetStyle(Rec.FontStyle);
  } else {
    F->Assign(Hint->GetDefaultFont());
  }
  if (Hint->GetSkinData() != nullptr && Hint->GetSkinData()->GetResourceStrData() != nullptr)
    F->SetCharset(Hint->GetSkinData()->GetResourceStrData()->GetCharSet());
  else
    F->SetCharset(Hint->GetDefaultFont()->GetCharset());
}

void TbsSkinHintWindow::FitSkinFrame(Integer& W, Integer& H, Integer Extra) {
  const TbsDataSkinHintWindow& Rec = *SkinData->HintWindow;
  TBitmap* Pic = SkinPicture();
  const Integer PW = Pic->GetWidth(), PH = Pic->GetHeight();
  const TRect& C = Rec.ClientRect;
  W += C.Left + PW - C.Right + Extra;
  H += C.Top + PH - C.Bottom;
  Integer DX = W - PW, DY = H - PH;
  // Grow until the resized anchors no longer cross.
  if (Rec.RightTopPoint.X + DX < Rec.LeftTopPoint.X) {
    W += Rec.LeftTopPoint.X - (Rec.RightTopPoint.X + DX);
    DX = W - PW;
  }
  if (Rec.RightBottomPoint.X + DX < Rec.LeftBottomPoint.X) {
    W += Rec.LeftBottomPoint.X - (Rec.RightBottomPoint.X + DX);
    DX = W - PW;
  }
  if (Rec.LeftBottomPoint.Y + DY < Rec.LeftTopPoint.Y) {
    H += Rec.LeftTopPoint.Y - (Rec.LeftBottomPoint.Y + DY);
    DY = H - PH;
  }
  if (Rec.RightBottomPoint.Y + DY < Rec.RightTopPoint.Y) {
    H += Rec.RightTopPoint.Y - (Rec.RightBottomPoint.Y + DY);
    DY = H - PH;
  }
  NewClRect = Rect(C.Left, C.Top, C.Right + DX, C.Bottom + DY);
  NewLTPoint = Rec.LeftTopPoint;
  NewRTPoint = {Rec.RightTopPoint.X + DX, Rec.RightTopPoint.Y};
  NewLBPoint = {Rec.LeftBottomPoint.X, Rec.LeftBottomPoint.Y + DY};
  NewRBPoint = {Rec.RightBottomPoint.X + DX, Rec.RightBottomPoint.Y + DY};
}

TPoint TbsSkinHintWindow::CalcPlainSize(const std::string& Text) {
  TPoint S = MeasureText(GetCanvas(), Text);
  if (SkinData == nullptr) return {S.X + 4, S.Y + 4};
  FitSkinFrame(S.X, S.Y, 5);
  return S;
}

TPoint TbsSkinHintWindow::CalcTitledSize(TbsSkinHint* Hint, const std::string& Text) {
  TPoint S = MeasureText(GetCanvas(), Text);
  Integer TH = 0;
  if (!Hint->HintTitle.empty()) {
    const TPoint T = MeasureText(GetCanvas(), Hint->HintTitle);
    TH = T.Y;
    S.Y += TH + 10;
    S.X = IntMax(S.X, T.X);
  }
  if (HasImage(Hint)) {
    S.X += Hint->HintImageList->GetWidth() + 10;
    S.Y = IntMax(S.Y, Hint->HintImageList->GetHeight() + TH + 5);
  }
  if (SkinData == nullptr) return {S.X + 4, S.Y + 4};
  FitSkinFrame(S.X, S.Y, 10);
  return S;
}

void TbsSkinHintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  WithTitle = false;
  FHint = FindActiveSkinHint();
  if (FHint == nullptr) return;
  WithTitle = !FHint->HintTitle.empty() || FHint->HintImageList != nullptr;
  SkinData = FHint->SkinInUse() ? FHint->GetSkinData() : nullptr;
  ApplyFont(FHint);
  const std::string Text = BreakLines(AHint, FHint->LineSeparator);
  SetCaption(Text);
  const TPoint Size = WithTitle ? CalcTitledSize(FHint, Text) : CalcPlainSize(Text);
  TRect R = Bounds(Rect.Left, Rect.Top, Size.X, Size.Y);
  const TRect Work = HintWorkArea();
  if (R.Right > Work.Right) R = Bounds(R.Left - Size.X - 2, R.Top, Size.X, Size.Y);
  if (R.Bottom > Work.Bottom) R = Bounds(R.Left, R.Top - Size.Y - 2, Size.X, Size.Y);
  SetBounds(R.Left, R.Top, Size.X, Size.Y);
  ApplyAlpha(FHint);
  ApplyRegion();
  SetWindowPos(GetHandle(), HWND_TOPMOST, R.Left, R.Top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetVisible(true);
  Invalidate();
  Update();
  FadeIn(FHint);
}

void TbsSkinHintWindow::ApplyAlpha(TbsSkinHint* Hint) {
  if (!IsLayeredWindowAvailable()) return;
  const HWND Wnd = GetHandle();
  if (Hint->AlphaBlend != LayeredOn) {
    LayeredOn = Hint->AlphaBlend;
    const LONG Ex = GetWindowLong(Wnd, GWL_EXSTYLE);
    SetWindowLong(Wnd, GWL_EXSTYLE,
                  LayeredOn ? (Ex | WS_EX_LAYERED) : (Ex & ~static_cast<LONG>(WS_EX_LAYERED)));
  }
  if (Hint->AlphaBlend && Hint->AlphaBlendAnimation) SetWindowAlpha(Wnd, 0);
  if (Hint->AlphaBlend && Hint->AlphaBlendValue != AppliedAlpha) {
    AppliedAlpha = Hint->AlphaBlendValue;
    if (!Hint->AlphaBlendAnimation) SetWindowAlpha(Wnd, Hint->AlphaBlendValue);
  }
}

void TbsSkinHintWindow::ApplyRegion() {
  HRGN Region = nullptr;
  if (SkinData != nullptr) {
    const TbsDataSkinHintWindow& Rec = *SkinData->HintWindow;
    const Integer M = Rec.MaskPictureIndex;
    if (M >= 0 && M < static_cast<Integer>(SkinData->ActivePictures.size()))
      CreateSkinRegion(Region, Rec.LeftTopPoint, Rec.RightTopPoint, Rec.LeftBottomPoint, Rec.RightBottomPoint,
                       Rec.ClientRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                       SkinData->ActivePictures[static_cast<size_t>(M)].get(), GetWidth(), GetHeight());
  }
  // The window owns the region it is given and deletes the one it had.
  SetWindowRgn(GetHandle(), Region, TRUE);
}

void TbsSkinHintWindow::FadeIn(TbsSkinHint* Hint) {
  if (!IsLayeredWindowAvailable() || !Hint->AlphaBlend || !Hint->AlphaBlendAnimation) return;
  const Integer Target = Hint->AlphaBlendValue;
  const Integer Step = IntMax(Target / 10, 1);
  Integer Alpha = 0;
  UInt64 Last = GetTickCount64();
  // Held without processing messages; the tick source paces the steps.
  while (Alpha < Target) {
    if (GetTickCount64() - Last > 3) {
      Last = GetTickCount64();
      Alpha = IntMin(Alpha + Step, Target);
      Invalidate();
      Update();
      SetWindowAlpha(GetHandle(), static_cast<Byte>(Alpha));
    } else {
      Sleep(1);
    }
  }
}

void TbsSkinHintWindow::Paint() {
  if (FHint == nullptr) return;
  const Integer W = GetWidth(), H = GetHeight();
  TBitmap Buffer;
  Buffer.SetSize(W, H);
  TCanvas* C = Buffer.GetCanvas();
  if (SkinData != nullptr) {
    const TbsDataSkinHintWindow& Rec = *SkinData->HintWindow;
    TBitmap* Pic = SkinPicture();
    CreateSkinImage2(Rec.LeftTopPoint, Rec.RightTopPoint, Rec.LeftBottomPoint, Rec.RightBottomPoint,
                     Rec.ClientRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, &Buffer, Pic,
                     Rect(0, 0, Pic->GetWidth(), Pic->GetHeight()), W, H, true, Rec.LeftStretch,
                     Rec.TopStretch, Rec.RightStretch, Rec.BottomStretch, Rec.StretchEffect, Rec.StretchType);
  } else {
    C->GetBrush()->SetColor(clInfoBk);
    C->GetPen()->SetColor(clBtnShadow);
    C->Rectangle(0, 0, W, H);
  }
  C->GetFont()->Assign(GetCanvas()->GetFont());
  if (SkinData != nullptr) {
    if (!FHint->UseSkinFont) C->GetFont()->Assign(FHint->GetDefaultFont());
    C->GetFont()->SetColor(SkinData->HintWindow->FontColor);
  } else {
    C->GetFont()->Assign(FHint->GetDefaultFont());
    C->GetFont()->SetColor(clInfoText);
  }
  C->GetBrush()->SetStyle(bsClear);
  const std::string Text = GetText();
  if (WithTitle) {
    PaintTitled(C, FHint, Text);
  } else if (SkinData != nullptr) {
    const TPoint S = MeasureText(C, Text);
    RECT R = Bounds(NewClRect.Left + (NewClRect.Width() - S.X) / 2,
                    NewClRect.Top + (NewClRect.Height() - S.Y) / 2, S.X, S.Y);
    DrawText(C->GetHandle(), Text.c_str(), -1, &R, 0);
  } else {
    RECT R = Rect(2, 2, W - 2, H - 2);
    DrawText(C->GetHandle(), Text.c_str(), -1, &R, 0);
  }
  GetCanvas()->Draw(0, 0, &Buffer);
}

void TbsSkinHintWindow::PaintTitled(TCanvas* C, TbsSkinHint* Hint, const std::string& Text) {
  const bool Image = HasImage(Hint);
  const Integer IW = Image ? Hint->HintImageList->GetWidth() : 0;
  const Integer IH = Image ? Hint->HintImageList->GetHeight() : 0;
  Integer TH = 0;
  const TRect Area = SkinData != nullptr ? NewClRect : Rect(2, 2, GetWidth() - 2, GetHeight() - 2);
  const Integer Inset = SkinData != nullptr ? 5 : 0;
  if (!Hint->HintTitle.empty()) {
    TH = MeasureText(C, Hint->HintTitle).Y;
    const TFontStyles Old = C->GetFont()->GetStyle();
    C->GetFont()->SetStyle(TFontStyles{fsBold});
    C->TextOut(Area.Left + Inset, Area.Top, Hint->HintTitle);
    C->GetFont()->SetStyle(Old);
  }
  const TPoint TextSize = MeasureText(C, Text);
  const Integer ImageY = !Hint->HintTitle.empty() ? Area.Top + TH + 5 : Area.Top + (Area.Height() - IH) / 2;
  if (Image) Hint->HintImageList->Draw(C, Area.Left + Inset, ImageY, Hint->HintImageIndex, true);
  RECT R;
  if (SkinData != nullptr) {
    const Integer X = Image ? Area.Left + 5 + IW + 5 : Area.Left + 5;
    const Integer Y =
        !Hint->HintTitle.empty() ? Area.Top + TH + 5 : Area.Top + (Area.Height() - TextSize.Y) / 2;
    R = Bounds(X, Y, TextSize.X, TextSize.Y);
  } else {
    R = Area;
    if (!Hint->HintTitle.empty()) R.Top += TH + 5;
    if (Image) R.Left += IW + Area.Left + 5;
  }
  DrawText(C->GetHandle(), Text.c_str(), -1, &R, 0);
}
