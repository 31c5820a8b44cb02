// TbsSkinCustomEdit: the skinned one-line edit. The native edit draws only the text; the frame
// (and the button) are painted in the non-client area, the background and the images in the
// erase step, into the same device context as the text.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/Caret.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "platform/user/WindowPaint.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinPartMixin.h"
#include "skin/data/bsSkinDataEditParts.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr LRESULT HitButton = HTHSCROLL;  // 6
constexpr LRESULT HitOutside = 7;
constexpr LRESULT HitLeftImage = 104;
constexpr LRESULT HitRightImage = 105;
constexpr UINT_PTR HoverTimer = 1;
constexpr UINT WM_PRINTFRAME = 0xB1C9;
constexpr UINT WM_PRINTFRAMEEX = 0xBC4B;
constexpr LRESULT PrintFrameDone = 12851;
constexpr LPARAM PrintFrameExKey = 16802;

bool InRect(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

void DrawBitmapAt(HDC DC, Integer X, Integer Y, TBitmap* B) {
  TCanvas C;
  C.SetHandle(DC);
  C.Draw(X, Y, B);
  C.SetHandle(nullptr);
}

}  // namespace

TbsSkinCustomEdit::TbsSkinCustomEdit(TComponent* AOwner)
    : TbsCustomEdit(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  TFont* F = GetFont();
  F->SetName("Arial");
  F->SetHeight(14);
  F->SetColor(clBlack);
  F->SetStyle({});
  FDefaultFont->Assign(F);
  FDefaultFont->OnChange = TNotifyEvent(this, &TbsSkinCustomEdit::DefaultFontChanged);
  SetAutoSize(false);
  SetBorderStyle(bsNone);
  SetTransparent(true);
  SetHeight(20);
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() = default;

// ---- Part -----------------------------------------------------------------------------------

void TbsSkinCustomEdit::LoadSkinPart() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
  if (PartIndex == -1) return;
  auto* Part =
      dynamic_cast<TbsDataSkinEditControl*>(FSD->SkinControls[static_cast<std::size_t>(PartIndex)].get());
  if (Part == nullptr) {
    // A name that finds a part of another kind has nothing to draw from: the default look.
    PartIndex = -1;
    return;
  }
  FPart.Picture = SkinPictureAt(FSD, Part->PictureIndex);
  FPart.SkinRect = Part->SkinRect;
  FPart.ActiveSkinRect = IsEmptyRect(Part->ActiveSkinRect) ? Part->SkinRect : Part->ActiveSkinRect;
  FPart.LeftTopPoint = Part->LeftTopPoint;
  FPart.RightTopPoint = Part->RightTopPoint;
  FPart.LeftOffset = Part->LeftTopPoint.X;
  FPart.RightOffset = GetRectWidth(Part->SkinRect) - Part->RightTopPoint.X;
  FPart.ClientRect = Part->ClientRect;
  FPart.FontName = Part->FontName;
  FPart.FontStyle = Part->FontStyle;
  FPart.FontHeight = Part->FontHeight;
  FPart.FontColor = Part->FontColor;
  FPart.DisabledFontColor = Part->DisabledFontColor;
  FPart.ActiveFontColor = Part->ActiveFontColor;
  FPart.ButtonRect = Part->ButtonRect;
  FPart.ActiveButtonRect = Part->ActiveButtonRect;
  FPart.DownButtonRect = IsEmptyRect(Part->DownButtonRect) ? Part->ActiveButtonRect : Part->DownButtonRect;
  FPart.UnEnabledButtonRect = Part->UnEnabledButtonRect;
  FPart.StretchEffect = Part->StretchEffect;
}

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (Value != nullptr && !Value->Empty && !GetComponentState().Contains(csDesigning)) ApplySkinChange();
}

void TbsSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TbsCustomEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FImages) FImages = nullptr;
}

void TbsSkinCustomEdit::ApplyCharset() {
  TbsResourceStrData* Strings = FSD != nullptr ? FSD->GetResourceStrData() : nullptr;
  GetFont()->SetCharset(Strings != nullptr ? Strings->GetCharSet() : FDefaultFont->GetCharset());
}

void TbsSkinCustomEdit::Loaded() {
  TbsCustomEdit::Loaded();
  TbsResourceStrData* Strings = FSD != nullptr ? FSD->GetResourceStrData() : nullptr;
  if (Strings != nullptr) GetFont()->SetCharset(Strings->GetCharSet());
}

void TbsSkinCustomEdit::SetFontColorFor(bool Active) {
  if (PartIndex == -1)
    GetFont()->SetColor(FDefaultFont->GetColor());
  else
    GetFont()->SetColor(Active ? FPart.ActiveFontColor : FPart.FontColor);
}

void TbsSkinCustomEdit::ApplySkinChange() {
  LoadSkinPart();
  TFont* F = GetFont();
  if (PartIndex == -1) {
    F->Assign(FDefaultFont.get());
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
  } else if (FUseSkinFont) {
    F->SetName(FPart.FontName);
    F->SetStyle(FPart.FontStyle);
    SetHeight(GetRectHeight(FPart.SkinRect));
    F->SetHeight(FPart.FontHeight);
  } else {
    F->Assign(FDefaultFont.get());
  }
  SetFontColorFor(Focused());
  ApplyCharset();
  if (HandleAllocated()) RecreateWnd();
  SetFontColorFor(Focused());
  if (!FUseSkinFont) AdjustHeight();
  RepaintFrame();
  if (FImages != nullptr) {
    UpdateImageRects(true);
    Invalidate();
  }
}

// ---- Properties -----------------------------------------------------------------------------

void TbsSkinCustomEdit::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  LoadSkinPart();
  if (PartIndex == -1) Invalidate();
}

void TbsSkinCustomEdit::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
}

void TbsSkinCustomEdit::DefaultFontChanged(TObject*) {
  LoadSkinPart();
  if (PartIndex == -1) GetFont()->Assign(FDefaultFont.get());
}

void TbsSkinCustomEdit::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  LoadSkinPart();
  if (PartIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinCustomEdit::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  LoadSkinPart();
  if (PartIndex == -1 && Value > 0 && FUseSkinFont)
    SetHeight(Value);
  else
    AdjustHeight();
}

void TbsSkinCustomEdit::SetButtonMode(bool Value) {
  const bool Changed = FButtonMode != Value;
  FButtonMode = Value;
  if (Changed && GetComponentState().Contains(csDesigning) && !GetComponentState().Contains(csLoading))
    FSkinDataName = Value ? "buttonedit" : "edit";
  if (HandleAllocated()) RecreateWnd();
}

void TbsSkinCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TbsSkinCustomEdit::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  UpdateImageRects(true);
  LoadSkinPart();
  if (!(PartIndex != -1 && FUseSkinFont)) AdjustHeight();
  Invalidate();
}

void TbsSkinCustomEdit::SetLeftImageIndex(Integer Value) {
  FLeftImageIndex = Value;
  UpdateImageRects(true);
  Invalidate();
}

void TbsSkinCustomEdit::SetRightImageIndex(Integer Value) {
  FRightImageIndex = Value;
  UpdateImageRects(true);
  Invalidate();
}

void TbsSkinCustomEdit::CreateParams(TCreateParams& Params) {
  TbsCustomEdit::CreateParams(Params);
  Params.ExStyle &= ~WS_EX_TRANSPARENT;
  Params.Style &= ~(ES_LEFT | ES_RIGHT | ES_CENTER);
  if (FAlignment == taRightJustify)
    Params.Style |= ES_RIGHT;
  else if (FAlignment == taCenter)
    Params.Style |= ES_CENTER;
}

// ---- Geometry -------------------------------------------------------------------------------

Integer TbsSkinCustomEdit::GetEditHeight() {
  LoadSkinPart();
  Integer H = FontTextHeight(GetFont());
  const Integer ImageH = FImages != nullptr ? FImages->GetHeight() : 0;
  if (PartIndex == -1) return ImageH > H + 2 ? ImageH : H + 2 + 4;
  H = IntMax(H, ImageH);
  return H + GetRectHeight(FPart.SkinRect) - GetRectHeight(FPart.ClientRect);
}

void TbsSkinCustomEdit::AdjustHeight() {
  SetHeight(GetEditHeight());
}

void TbsSkinCustomEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  LoadSkinPart();
  bool Changed = AWidth != GetWidth() || AHeight != GetHeight();
  if (PartIndex == -1 && FUseSkinFont) Changed = false;
  const TAlign A = GetAlign();
  if (PartIndex == -1 && A != alClient && A != alLeft && A != alRight)
    AHeight = GetEditHeight();
  else if (Changed && !FUseSkinFont)
    AHeight = GetEditHeight();
  else if (Changed && PartIndex != -1)
    AHeight = GetRectHeight(FPart.SkinRect);
  TbsCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  Invalidate();
  RepaintFrame();
}

void TbsSkinCustomEdit::CalcRects() {
  const Integer W = GetWidth(), H = GetHeight();
  if (PartIndex == -1) {
    FButtonRect = FButtonMode ? Rect(W - H, 0, W, H) : TRect{};
    FTextRect = Rect(2, 2, FButtonMode ? FButtonRect.Left - 2 : W - 2, H - 2);
    return;
  }
  const Integer DX = W - GetRectWidth(FPart.SkinRect);
  FTextRect = FPart.ClientRect;
  FTextRect.Right += DX;
  FButtonRect = FPart.ButtonRect;
  // A button right of the stretched middle moves with the right edge.
  if (FButtonRect.Left >= FPart.RightTopPoint.X) {
    FButtonRect.Left += DX;
    FButtonRect.Right += DX;
  }
  if (!FUseSkinFont) {
    const Integer DY = H - GetRectHeight(FPart.SkinRect);
    FTextRect.Bottom += DY;
    FButtonRect.Bottom += DY;
  }
}

void TbsSkinCustomEdit::WMNCCalcSize(TMessage& Message) {
  LoadSkinPart();
  RECT* R = Message.WParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                : reinterpret_cast<RECT*>(Message.LParam);
  if (PartIndex == -1) {
    const Integer Right = FButtonMode ? R->Bottom - R->Top + 2 : 2;
    *R = Rect(R->Left + 2, R->Top + 2, R->Right - Right, R->Bottom - 2);
  } else {
    const TRect& C = FPart.ClientRect;
    *R = Rect(R->Left + C.Left, R->Top + C.Top, R->Right - (GetRectWidth(FPart.SkinRect) - C.Right),
              R->Bottom - (GetRectHeight(FPart.SkinRect) - C.Bottom));
  }
  if (R->Right < R->Left) R->Right = R->Left;
  if (R->Bottom < R->Top) R->Bottom = R->Top;
  Message.Result = 0;
}

void TbsSkinCustomEdit::UpdateImageRects(bool SetRect) {
  if (FImages == nullptr) return;
  TRect R = GetClientRect();
  FLeftImageRect = FRightImageRect = TRect{};
  if (FLeftImageIndex >= 0) {
    FLeftImageRect = Rect(R.Left, R.Top, R.Left + FImages->GetWidth(), R.Bottom);
    R.Left += FImages->GetWidth() + 2;
  }
  if (FRightImageIndex >= 0) {
    FRightImageRect = Rect(R.Right - FImages->GetWidth(), R.Top, R.Right, R.Bottom);
    R.Right -= FImages->GetWidth() + 2;
  }
  if (SetRect && HandleAllocated()) {
    RECT Text = R;
    SendMessage(GetHandle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&Text));
  }
}

// ---- Frame ----------------------------------------------------------------------------------

void TbsSkinCustomEdit::RepaintFrame() {
  if (HandleAllocated()) SendMessage(GetHandle(), WM_NCPAINT, 0, 0);
}

void TbsSkinCustomEdit::PaintAnyFrame(HDC DC) {
  if (FUseSkinFont || PartIndex == -1)
    PaintFrame(DC);
  else
    PaintFrameStretched(DC);
}

void TbsSkinCustomEdit::PaintFrame(HDC DC) {
  CalcRects();
  const Integer W = GetWidth(), H = GetHeight();
  TBitmap B;
  if (PartIndex == -1 || FPart.Picture == nullptr) {
    B.SetSize(W, H);
    TCanvas* C = B.GetCanvas();
    TRect R = Rect(0, 0, W - GetRectWidth(FButtonRect), H);
    DrawFrame3D(C, R, clBtnShadow, clBtnShadow);
    DrawFrame3D(C, R, clBtnFace, clBtnFace);
    C->GetBrush()->SetColor(FDefaultColor);
    C->FillRect(R);
    if (FButtonMode) {
      // The button's face without an arrow.
      TColor Frame = clBtnShadow, Face = clBtnFace;
      if (ButtonDown && ButtonActive)
        Frame = bsHotFrameColor, Face = bsDownFaceColor;
      else if (ButtonActive)
        Frame = bsHotFrameColor, Face = bsHotFaceColor;
      C->GetPen()->SetColor(Frame);
      C->GetBrush()->SetColor(Face);
      C->Rectangle(FButtonRect);
    }
    DrawBitmapAt(DC, 0, 0, &B);
    return;
  }
  const TRect& Source = MouseIn || Focused() ? FPart.ActiveSkinRect : FPart.SkinRect;
  CreateHSkinImage(FPart.LeftOffset, FPart.RightOffset, &B, FPart.Picture, Source, W, GetRectHeight(Source),
                   FPart.StretchEffect);
  if (FButtonMode) {
    // The part image shows the button at rest.
    TRect State;
    if (!GetEnabled() && !IsEmptyRect(FPart.UnEnabledButtonRect))
      State = FPart.UnEnabledButtonRect;
    else if (ButtonDown && ButtonActive)
      State = FPart.DownButtonRect;
    else if (ButtonActive)
      State = FPart.ActiveButtonRect;
    CopyPartRect(B.GetCanvas(), FPart.Picture, State, FButtonRect);
  }
  DrawBitmapAt(DC, 0, 0, &B);
}

void TbsSkinCustomEdit::PaintFrameStretched(HDC DC) {
  CalcRects();
  if (FPart.Picture == nullptr) return;
  TBitmap B;
  B.SetSize(GetWidth(), GetHeight());
  CreateStretchSkinImage(&B, FPart.Picture, MouseIn || Focused() ? FPart.ActiveSkinRect : FPart.SkinRect,
                         FPart.ClientRect, false);
  if (FButtonMode) {
    const TbsSpinButtonState S{FButtonRect, ButtonActive, ButtonDown};
    DrawButtonPart(B.GetCanvas(), FSD, FindButtonPart(FSD, {"editbutton", "resizebutton"}), S, 0, 0);
  }
  DrawBitmapAt(DC, 0, 0, &B);
}

void TbsSkinCustomEdit::WMNCPaint(TMessage&) {
  if (!HandleAllocated()) return;
  LoadSkinPart();
  CalcRects();
  HDC DC = GetWindowDC(GetHandle());
  ExcludeClipRect(DC, FTextRect.Left, FTextRect.Top, FTextRect.Right, FTextRect.Bottom);
  PaintAnyFrame(DC);
  ReleaseDC(GetHandle(), DC);
  Invalidate();
}

LRESULT TbsSkinCustomEdit::PrintFrame(HDC DC, bool ExcludeText, LRESULT Done) {
  if (DC == nullptr) return Done == PrintFrameDone ? 0 : Done;
  LoadSkinPart();
  CalcRects();
  const Integer Saved = SaveDC(DC);
  if (ExcludeText) ExcludeClipRect(DC, FTextRect.Left, FTextRect.Top, FTextRect.Right, FTextRect.Bottom);
  PaintAnyFrame(DC);
  RestoreDC(DC, Saved);
  return Done;
}

void TbsSkinCustomEdit::Invalidate() {
  if (GetParent() == nullptr || !HandleAllocated()) return;
  FAlreadyPainted = false;
  RedrawWindow(GetHandle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
}

// ---- Painting through the erase step --------------------------------------------------------

void TbsSkinCustomEdit::DrawBackground(HDC DC) {
  LoadSkinPart();
  CalcRects();
  if (IsEmptyRect(FTextRect)) return;
  const Integer TW = GetRectWidth(FTextRect), TH = GetRectHeight(FTextRect);
  TBitmap B;
  if (PartIndex == -1 || FPart.Picture == nullptr) {
    B.SetSize(TW, TH);
    B.GetCanvas()->GetBrush()->SetColor(FDefaultColor);
    B.GetCanvas()->FillRect(Rect(0, 0, TW, TH));
    DrawBitmapAt(DC, 0, 0, &B);
    return;
  }
  const TRect& Outer = MouseIn || Focused() ? FPart.ActiveSkinRect : FPart.SkinRect;
  const TRect& C = FPart.ClientRect;
  const TRect Source =
      Rect(Outer.Left + C.Left, Outer.Top + C.Top, Outer.Left + C.Right, Outer.Top + C.Bottom);
  CreateHSkinImage(IntMax(0, FPart.LeftTopPoint.X - C.Left), IntMax(0, C.Right - FPart.RightTopPoint.X), &B,
                   FPart.Picture, Source, TW, GetRectHeight(C), FPart.StretchEffect);
  if (FUseSkinFont) {
    DrawBitmapAt(DC, 0, 0, &B);
    return;
  }
  TCanvas Target;
  Target.SetHandle(DC);
  Target.StretchDraw(Rect(0, 0, TW, TH), &B);
  Target.SetHandle(nullptr);
}

void TbsSkinCustomEdit::DrawImages(HDC DC) {
  if (FImages == nullptr) return;
  UpdateImageRects(false);
  TCanvas C;
  C.SetHandle(DC);
  const Integer Count = FImages->GetCount();
  auto Valid = [Count](Integer I) { return I >= 0 && I < Count; };
  auto DrawSide = [&](const TRect& R, Integer Index, Integer Hot, Integer Down, bool Active, bool IsDown) {
    if (!Valid(Index)) return;
    Integer Use = Index;
    if (IsDown && Active && Valid(Down))
      Use = Down;
    else if (Active && Valid(Hot))
      Use = Hot;
    const Integer Y = IntMax(R.Top, R.Top + GetRectHeight(R) / 2 - FImages->GetHeight() / 2);
    FImages->Draw(&C, R.Left, Y, Use, GetEnabled());
  };
  DrawSide(FLeftImageRect, FLeftImageIndex, FLeftImageHotIndex, FLeftImageDownIndex, FLeftImageActive,
           FLeftImageDown);
  DrawSide(FRightImageRect, FRightImageIndex, FRightImageHotIndex, FRightImageDownIndex, FRightImageActive,
           FRightImageDown);
  C.SetHandle(nullptr);
}

void TbsSkinCustomEdit::WMEraseBkgnd(TMessage& Message) {
  auto* DC = reinterpret_cast<HDC>(Message.WParam);
  DrawBackground(DC);
  DrawImages(DC);
  // The native edit writes its text into the same DC over the background.
  FFromErase = true;
  TMessage Paint{WM_PAINT, Message.WParam, 0, 0};
  WndProc(Paint);
  FAlreadyPainted = true;
  FFromErase = false;
  if (Focused()) ShowCaret(GetHandle());
  Message.Result = 1;
}

void TbsSkinCustomEdit::WMPaint(TMessage& Message) {
  if (FAlreadyPainted || !FFromErase) {
    // BeginPaint brings the erase step, which paints everything.
    PAINTSTRUCT PS;
    BeginPaint(GetHandle(), &PS);
    EndPaint(GetHandle(), &PS);
    FAlreadyPainted = false;
    return;
  }
  if (GetEnabled()) {
    DefaultHandler(Message);
    return;
  }
  // A disabled edit's text is drawn here, in the disabled colour.
  auto* DC = reinterpret_cast<HDC>(Message.WParam);
  TCanvas C;
  C.SetHandle(DC);
  if (PartIndex != -1 && FUseSkinFont) {
    C.GetFont()->SetName(FPart.FontName);
    C.GetFont()->SetStyle(FPart.FontStyle);
    C.GetFont()->SetHeight(FPart.FontHeight);
    C.GetFont()->SetColor(FPart.DisabledFontColor);
  } else {
    C.SetFont(FDefaultFont.get());
    C.GetFont()->SetColor(PartIndex == -1 ? clGrayText : FPart.DisabledFontColor);
  }
  TbsResourceStrData* Strings = FSD != nullptr ? FSD->GetResourceStrData() : nullptr;
  C.GetFont()->SetCharset(Strings != nullptr ? Strings->GetCharSet() : FDefaultFont->GetCharset());
  C.GetBrush()->SetStyle(bsClear);
  const std::string Text = GetText();
  const TRect R = Rect(0, 0, GetRectWidth(FTextRect), GetRectHeight(FTextRect));
  const Integer TW = C.TextWidth(Text);
  Integer X = 2;
  if (FAlignment == taRightJustify)
    X = R.Right - TW - 1;
  else if (FAlignment == taCenter)
    X = R.Right / 2 - TW / 2;
  C.TextRect(R, X, 0, Text);
  C.SetHandle(nullptr);
}

// ---- Mouse ----------------------------------------------------------------------------------

bool TbsSkinCustomEdit::NeedsTracking() const {
  if (FButtonMode || FImages != nullptr) return true;
  return PartIndex != -1 &&
         (!IsSameRect(FPart.ActiveSkinRect, FPart.SkinRect) || FPart.FontColor != FPart.ActiveFontColor);
}

void TbsSkinCustomEdit::MouseEnterEdit() {
  MouseIn = true;
  if (!Focused() && PartIndex != -1) {
    SetFontColorFor(true);
    UpdateImageRects(true);
    RepaintFrame();
    Invalidate();
  }
  if (OnMouseEnter) OnMouseEnter(this);
  if (NeedsTracking() && HandleAllocated()) SetTimer(GetHandle(), HoverTimer, 100, nullptr);
}

void TbsSkinCustomEdit::ClearImageHot() {
  if (FLeftImageActive || FLeftImageDown) {
    FLeftImageActive = FLeftImageDown = false;
    Invalidate();
  }
  if (FRightImageActive || FRightImageDown) {
    FRightImageActive = FRightImageDown = false;
    Invalidate();
  }
}

void TbsSkinCustomEdit::MouseLeaveEdit() {
  MouseIn = false;
  if (!Focused() && PartIndex != -1) {
    SetFontColorFor(false);
    UpdateImageRects(true);
    RepaintFrame();
    Invalidate();
  }
  if (ButtonActive || ButtonDown) {
    ButtonActive = ButtonDown = false;
    RepaintFrame();
  }
  ClearImageHot();
  if (OnMouseLeave) OnMouseLeave(this);
}

void TbsSkinCustomEdit::WMNCHitTest(TMessage& Message) {
  if (!MouseIn) MouseEnterEdit();
  const TPoint P = ScreenToClient(LParamToPoint(Message.LParam));
  if (FImages != nullptr) {
    UpdateImageRects(false);
    if (FLeftImageIndex >= 0 && InRect(FLeftImageRect, P)) {
      Message.Result = HitLeftImage;
      if (!FLeftImageActive) {
        FLeftImageActive = true;
        Invalidate();
      }
      return;
    }
    if (FRightImageIndex >= 0 && InRect(FRightImageRect, P)) {
      Message.Result = HitRightImage;
      if (!FRightImageActive) {
        FRightImageActive = true;
        Invalidate();
      }
      return;
    }
    if (FLeftImageActive) {
      FLeftImageActive = false;
      Invalidate();
    }
    if (FRightImageActive) {
      FRightImageActive = false;
      Invalidate();
    }
  }
  if (FButtonMode) {
    const TPoint Origin =
        PartIndex == -1 ? TPoint{2, 2} : TPoint{FPart.ClientRect.Left, FPart.ClientRect.Top};
    const TPoint W{P.X + Origin.X, P.Y + Origin.Y};
    CalcRects();
    if (InRect(FButtonRect, W)) {
      Message.Result = HitButton;
      return;
    }
    if (!InRect(FTextRect, W)) {
      Message.Result = HitOutside;
      return;
    }
  }
  TbsCustomEdit::WndProc(Message);
}

void TbsSkinCustomEdit::WMNCLButtonDown(TMessage& Message) {
  const bool Double = Message.Msg == WM_NCLBUTTONDBLCLK;
  auto Press = [&](bool& DownFlag) {
    DownFlag = true;
    if (!Focused() && CanFocus()) SetFocus();
    if (Double)
      Repaint();
    else
      Invalidate();
  };
  if (Message.WParam == static_cast<WPARAM>(HitLeftImage)) {
    Press(FLeftImageDown);
  } else if (Message.WParam == static_cast<WPARAM>(HitRightImage)) {
    Press(FRightImageDown);
  } else if (Message.WParam == static_cast<WPARAM>(HitButton)) {
    ButtonDown = true;
    ButtonActive = true;
    RepaintFrame();
  } else {
    TbsCustomEdit::WndProc(Message);
  }
}

void TbsSkinCustomEdit::WMNCLButtonUp(TMessage& Message) {
  if (Message.WParam == static_cast<WPARAM>(HitLeftImage) && FLeftImageDown) {
    FLeftImageDown = false;
    Invalidate();
    if (OnLeftButtonClick) OnLeftButtonClick(this);
  } else if (Message.WParam == static_cast<WPARAM>(HitRightImage) && FRightImageDown) {
    FRightImageDown = false;
    Invalidate();
    if (OnRightButtonClick) OnRightButtonClick(this);
  } else if (Message.WParam == static_cast<WPARAM>(HitButton) && ButtonDown) {
    // Only a press on the button makes a click.
    ButtonDown = false;
    RepaintFrame();
    if (!Focused() && CanFocus()) SetFocus();
    if (OnButtonClick) OnButtonClick(this);
  } else {
    // A press that ends elsewhere clicks nothing.
    FLeftImageDown = FRightImageDown = false;
    TbsCustomEdit::WndProc(Message);
  }
}

void TbsSkinCustomEdit::WndProc(TMessage& Message) {
  if (GetComponentState().Contains(csDesigning)) {
    TbsCustomEdit::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      WMEraseBkgnd(Message);
      return;
    case WM_PAINT:
      WMPaint(Message);
      return;
    case WM_NCCALCSIZE:
      WMNCCalcSize(Message);
      return;
    case WM_NCPAINT:
      WMNCPaint(Message);
      return;
    case WM_NCHITTEST:
      WMNCHitTest(Message);
      return;
    case WM_PRINTFRAME:
      Message.Result = PrintFrame(reinterpret_cast<HDC>(Message.WParam), false, PrintFrameDone);
      return;
    case WM_PRINTFRAMEEX:
      if (Message.LParam != PrintFrameExKey) break;
      Message.Result = PrintFrame(reinterpret_cast<HDC>(Message.WParam), true, PrintFrameExKey);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // This edit reports entering and leaving through its own tracking.
      if (Message.LParam == 0) {
        if (GetParent() != nullptr) GetParent()->Perform(Message.Msg, 0, reinterpret_cast<LPARAM>(this));
        return;
      }
      break;
    case WM_TIMER:
      if (Message.WParam == HoverTimer) {
        POINT P;
        GetCursorPos(&P);
        if (WindowFromPoint(P) != GetHandle()) {
          KillTimer(GetHandle(), HoverTimer);
          MouseLeaveEdit();
        }
        return;
      }
      break;
    case WM_NCMOUSEMOVE:
      if (FButtonMode) {
        const bool Active = Message.WParam == static_cast<WPARAM>(HitButton);
        if (Active != ButtonActive) {
          ButtonActive = Active;
          RepaintFrame();
          Invalidate();
        }
      }
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      WMNCLButtonDown(Message);
      return;
    case WM_NCLBUTTONUP:
      WMNCLButtonUp(Message);
      return;
    case WM_MOUSEMOVE:
      if (ButtonActive && !ButtonDown) {
        ButtonActive = false;
        RepaintFrame();
      }
      break;
    case WM_DESTROY:
      KillTimer(GetHandle(), HoverTimer);
      MouseIn = false;
      break;
    case CM_FONTCHANGED:
      TbsCustomEdit::WndProc(Message);
      if (FUseSkinFont || GetComponentState().Contains(csLoading)) return;
      AdjustHeight();
      LoadSkinPart();
      if (PartIndex == -1 && HandleAllocated()) RecreateWnd();
      return;
    default:
      break;
  }
  TbsCustomEdit::WndProc(Message);
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (!MouseIn && PartIndex != -1) SetFontColorFor(Message.Msg == WM_SETFOCUS);
      UpdateImageRects(true);
      RepaintFrame();
      Invalidate();
      break;
    case WM_SIZE:
      UpdateImageRects(true);
      RepaintFrame();
      break;
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
}
