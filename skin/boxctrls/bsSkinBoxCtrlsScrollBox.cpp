// TbsSkinScrollBox: scrolling under external bars, the skinned frame and background.
#include "skin/boxctrls/bsSkinBoxCtrlsScrollBox.h"

#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/user/User.h"
#include "platform/user/WindowPaint.h"
#include "skin/boxctrls/bsSkinBoxCtrlsStepButtons.h"
#include "skin/controls/bsSkinCtrlsScrollBar.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr UINT WM_PRINTFRAME = 0xB1C9;
constexpr UINT WM_PRINTFRAMEEX = 0xBC4B;
constexpr LRESULT PrintFrameDone = 12851;
constexpr LPARAM PrintFrameExKey = 16802;

}  // namespace

TbsSkinScrollBox::TbsSkinScrollBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  TControlStyle S = GetControlStyle();
  S.Include(csAcceptsControls);
  SetControlStyle(S);
  SetSkinDataName("scrollbox");
  SetWidth(150);
  SetHeight(150);
}

// ---- Bars -----------------------------------------------------------------------------------

void TbsSkinScrollBox::HookBar(TbsSkinScrollBar* Bar, bool Vertical) {
  Bar->FreeNotification(this);
  Bar->SetCanFocused(false);
  Bar->OnChange = Vertical ? TNotifyEvent(this, &TbsSkinScrollBox::VScrollBarChange)
                           : TNotifyEvent(this, &TbsSkinScrollBox::HScrollBarChange);
  Bar->OnLastChange = TNotifyEvent(this, &TbsSkinScrollBox::ScrollBarLastChange);
  Bar->SetEnabled(true);
  Bar->SetVisible(false);
}

void TbsSkinScrollBox::SetVScrollBar(TbsSkinScrollBar* Value) {
  VScrollBar = Value;
  if (Value != nullptr) HookBar(Value, true);
  UpdateVScrollBar();
}

void TbsSkinScrollBox::SetHScrollBar(TbsSkinScrollBar* Value) {
  HScrollBar = Value;
  if (Value != nullptr) HookBar(Value, false);
  UpdateHScrollBar();
}

void TbsSkinScrollBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == HScrollBar) HScrollBar = nullptr;
  if (AComponent == VScrollBar) VScrollBar = nullptr;
}

void TbsSkinScrollBox::VScrollBarChange(TObject*) {
  ScrollControlsV(VScrollBar->GetPosition() - FOldVPosition);
  FOldVPosition = VScrollBar->GetPosition();
}

void TbsSkinScrollBox::HScrollBarChange(TObject*) {
  ScrollControlsH(HScrollBar->GetPosition() - FOldHPosition);
  FOldHPosition = HScrollBar->GetPosition();
}

void TbsSkinScrollBox::ScrollBarLastChange(TObject*) {
  Invalidate();
}

void TbsSkinScrollBox::ScrollControlsV(Integer Delta) {
  ScrollBy(0, -Delta);
  // A stretched background does not move with the contents.
  if (PartIndex != -1 && StretchEffect) Repaint();
}

void TbsSkinScrollBox::ScrollControlsH(Integer Delta) {
  ScrollBy(-Delta, 0);
  if (PartIndex != -1 && StretchEffect) Repaint();
}

void TbsSkinScrollBox::UpdateScrollBars() {
  UpdateHScrollBar();
  UpdateVScrollBar();
}

void TbsSkinScrollBox::UpdateVScrollBar() {
  UpdateBar(true);
}

void TbsSkinScrollBox::UpdateHScrollBar() {
  UpdateBar(false);
}

void TbsSkinScrollBox::UpdateBar(bool Vertical) {
  TbsSkinScrollBar* Bar = Vertical ? VScrollBar : HScrollBar;
  if (Bar == nullptr || FUpdatingScrollBars || GetParent() == nullptr) return;
  Integer& Growth = Vertical ? FVGrowth : FHGrowth;
  Integer& OldPosition = Vertical ? FOldVPosition : FOldHPosition;
  auto Scroll = [&](Integer Delta) { Vertical ? ScrollControlsV(Delta) : ScrollControlsH(Delta); };
  const Integer View = Vertical ? GetClientHeight() : GetClientWidth();
  // The far edge of the visible children; children before the near edge never make it negative.
  Integer Extent = 0;
  for (Integer I = 0; I < GetControlCount(); ++I) {
    TControl* C = GetControl(I);
    if (!C->GetVisible()) continue;
    Extent = std::max(Extent, Vertical ? C->GetTop() + C->GetHeight() : C->GetLeft() + C->GetWidth());
  }
  const Integer P = Bar->GetPosition();
  const Integer Content = P + Extent;
  bool Show = Bar->GetVisible();
  if (Content > View) {
    Show = true;
    if (P > 0 && Extent < View && Growth > 0) {
      // The box grew while scrolled: the gap under the content closes first.
      Growth = std::min(Growth, P);
      Bar->SetRange(0, Content - 1, P - Growth, View);
      Scroll(-Growth);
    } else if (Growth == 0 && Content - 1 < Bar->GetMax() && P > 0 && Extent < View) {
      // The content shrank while scrolled.
      const Integer D = std::min(View - Extent, P);
      Scroll(-D);
      Bar->SetRange(0, Content - 1, P - D, View);
    } else {
      Bar->SetRange(0, Content - 1, P, View);
    }
    Growth = 0;
    OldPosition = Bar->GetPosition();
  } else {
    if (P > 0) Scroll(-P);
    Growth = 0;
    OldPosition = 0;
    Bar->SetRange(0, 0, 0, 0);
    Show = false;
  }
  if (HScrollBar != nullptr && VScrollBar != nullptr && HScrollBar->GetBoth() != VScrollBar->GetVisible())
    HScrollBar->SetBoth(VScrollBar->GetVisible());
  if (Show == Bar->GetVisible()) return;
  FUpdatingScrollBars = true;
  Bar->SetVisible(Show);
  FUpdatingScrollBars = false;
  if (GetAlign() == alNone) return;
  // The bar took or gave back room beside the box.
  FUpdatingScrollBars = true;
  GetParent()->Realign();
  Realign();
  FUpdatingScrollBars = false;
}

void TbsSkinScrollBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  // The parent's realignment sets the bounds again from within: the outer call alone measures
  // the growth, or the inner one would clamp the bar before the children moved.
  if (FSettingBounds) {
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    return;
  }
  const Integer OldWidth = GetWidth(), OldHeight = GetHeight();
  FSettingBounds = true;
  TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  FSettingBounds = false;
  FHGrowth = OldWidth != 0 && GetWidth() > OldWidth ? GetWidth() - OldWidth : 0;
  if (GetAlign() != alNone) UpdateHScrollBar();
  FVGrowth = OldHeight != 0 && GetHeight() > OldHeight ? GetHeight() - OldHeight : 0;
  if (GetAlign() != alNone) UpdateVScrollBar();
}

void TbsSkinScrollBox::AdjustClientRect(TRect& R) {
  Integer Left = 0, Width = GetClientWidth(), Top = 0, Height = GetClientHeight();
  if (HScrollBar != nullptr && HScrollBar->GetVisible()) {
    Left = -HScrollBar->GetPosition();
    Width = std::max(HScrollBar->GetMax(), Width);
  }
  if (VScrollBar != nullptr && VScrollBar->GetVisible()) {
    Top = -VScrollBar->GetPosition();
    Height = std::max(VScrollBar->GetMax(), Height);
  }
  R = Rect(Left, Top, Left + Width, Top + Height);
  TbsSkinCustomControl::AdjustClientRect(R);
}

// ---- Skin -----------------------------------------------------------------------------------

void TbsSkinScrollBox::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  BGPictureIndex = -1;
  auto* Part = dynamic_cast<TbsDataSkinScrollBoxControl*>(BoundPart());
  // A background picture the skin does not hold is no picture.
  if (Part != nullptr && SkinPictureAt(FSD, Part->BGPictureIndex) != nullptr)
    BGPictureIndex = Part->BGPictureIndex;
}

void TbsSkinScrollBox::ApplySkinChange() {
  TbsSkinCustomControl::ApplySkinChange();
  // The frame's size may differ.
  if (HandleAllocated()) RecreateWnd();
  for (TbsSkinScrollBar* Bar : {VScrollBar, HScrollBar})
    if (Bar != nullptr && Bar->GetParent() != nullptr) Bar->GetParent()->Realign();
}

void TbsSkinScrollBox::SetBorderStyle(TbsSkinBorderStyle Value) {
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TbsSkinScrollBox::CreateParams(TCreateParams& Params) {
  TbsSkinCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// ---- Frame ----------------------------------------------------------------------------------

bool TbsSkinScrollBox::HasFrame() const {
  return BGPictureIndex == -1 && FBorderStyle != TbsSkinBorderStyle::bvNone;
}

void TbsSkinScrollBox::WMNCCalcSize(TMessage& Message) {
  LoadSkinPart();
  RECT* R = Message.WParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                : reinterpret_cast<RECT*>(Message.LParam);
  if (!HasFrame()) return;
  if (PartIndex == -1) {
    *R = Rect(R->Left + 1, R->Top + 1, R->Right - 1, R->Bottom - 1);
    return;
  }
  *R = Rect(R->Left + PartClientRect.Left, R->Top + PartClientRect.Top,
            R->Right - (GetRectWidth(SkinRect) - PartClientRect.Right),
            R->Bottom - (GetRectHeight(SkinRect) - PartClientRect.Bottom));
}

void TbsSkinScrollBox::PaintFrame(TCanvas* C) {
  LoadSkinPart();
  const Integer W = GetWidth(), H = GetHeight();
  if (PartIndex == -1) {
    if (FBorderStyle == TbsSkinBorderStyle::bvNone) return;
    TColor TopLeft = clBtnShadow, BottomRight = clBtnShadow;
    if (FBorderStyle == TbsSkinBorderStyle::bvRaised) BottomRight = clBtnHighlight;
    if (FBorderStyle == TbsSkinBorderStyle::bvLowered) TopLeft = clBtnHighlight;
    C->GetBrush()->SetStyle(bsClear);
    TRect R = Rect(0, 0, W, H);
    Frame3D(C, R, TopLeft, BottomRight, 1);
    return;
  }
  if (SkinPicture == nullptr) return;
  const Integer DW = W - GetRectWidth(SkinRect), DH = H - GetRectHeight(SkinRect);
  const TRect NewClient =
      Rect(PartClientRect.Left, PartClientRect.Top, PartClientRect.Right + DW, PartClientRect.Bottom + DH);
  TBitmap Left, Top, Right, Bottom;
  CreateSkinBorderImages(
      LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint, PartClientRect, LeftTopPoint,
      Point(RightTopPoint.X + DW, RightTopPoint.Y), Point(LeftBottomPoint.X, LeftBottomPoint.Y + DH),
      Point(RightBottomPoint.X + DW, RightBottomPoint.Y + DH), NewClient, &Left, &Top, &Right, &Bottom,
      SkinPicture, SkinRect, W, H, LeftStretch, TopStretch, RightStretch, BottomStretch);
  C->Draw(0, 0, &Top);
  C->Draw(0, Top.GetHeight(), &Left);
  C->Draw(W - Right.GetWidth(), Top.GetHeight(), &Right);
  C->Draw(0, H - Bottom.GetHeight(), &Bottom);
}

void TbsSkinScrollBox::WMNCPaint() {
  LoadSkinPart();
  if (!HasFrame() || !HandleAllocated()) return;
  HDC DC = GetWindowDC(GetHandle());
  TCanvas C;
  C.SetHandle(DC);
  try {
    PaintFrame(&C);
  } catch (...) {
    C.SetHandle(nullptr);
    ReleaseDC(GetHandle(), DC);
    throw;
  }
  C.SetHandle(nullptr);
  ReleaseDC(GetHandle(), DC);
}

LRESULT TbsSkinScrollBox::PrintFrame(HDC DC, LRESULT Done) {
  LoadSkinPart();
  if (DC == nullptr || !HasFrame()) return Done == PrintFrameDone ? 0 : Done;
  TCanvas C;
  C.SetHandle(DC);
  PaintFrame(&C);
  C.SetHandle(nullptr);
  return Done;
}

// ---- Background -----------------------------------------------------------------------------

void TbsSkinScrollBox::DrawDefaultImage(TBitmap* B) {
  B->GetCanvas()->GetBrush()->SetStyle(bsSolid);
  B->GetCanvas()->GetBrush()->SetColor(GetColor());
  B->GetCanvas()->FillRect(GetClientRect());
}

void TbsSkinScrollBox::Paint() {
  LoadSkinPart();
  if (PartIndex == -1) {
    TbsSkinCustomControl::Paint();
    return;
  }
  if (GetClientWidth() < 1 || GetClientHeight() < 1) return;
  TCanvas* C = GetCanvas();
  HDC DC = C->GetHandle();
  const Integer Saved = SaveDC(DC);
  IntersectClipRect(DC, 0, 0, GetClientWidth(), GetClientHeight());
  PaintBackground(C);
  RestoreDC(DC, Saved);
}

void TbsSkinScrollBox::PaintBackground(TCanvas* C) {
  TBitmap PartTile;
  TBitmap* Tile = &PartTile;
  Integer AreaW = GetClientWidth(), AreaH = GetClientHeight();
  if (BGPictureIndex != -1) {
    Tile = SkinPictureAt(FSD, BGPictureIndex);
    AreaW = GetWidth();
    AreaH = GetHeight();
  } else {
    PartTile.SetSize(GetRectWidth(PartClientRect), GetRectHeight(PartClientRect));
    if (SkinPicture != nullptr && !IsEmptyRect(PartClientRect)) {
      const TRect Source = Rect(SkinRect.Left + PartClientRect.Left, SkinRect.Top + PartClientRect.Top,
                                SkinRect.Left + PartClientRect.Right, SkinRect.Top + PartClientRect.Bottom);
      CopyPartRect(PartTile.GetCanvas(), SkinPicture, Source,
                   Rect(0, 0, PartTile.GetWidth(), PartTile.GetHeight()));
    }
  }
  const Integer TW = Tile->GetWidth(), TH = Tile->GetHeight();
  if (TW <= 0 || TH <= 0) {
    // Nothing to tile or stretch: the plain fill.
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(GetColor());
    C->FillRect(Rect(0, 0, GetClientWidth(), GetClientHeight()));
    return;
  }
  const Integer W = GetWidth(), H = GetHeight();
  if (!StretchEffect) {
    for (Integer I = 0; I <= AreaW / TW; ++I)
      for (Integer J = 0; J <= AreaH / TH; ++J) C->Draw(I * TW, J * TH, Tile);
    return;
  }
  if (W <= 0 || H <= 0) return;
  if (StretchType == 0) {
    C->StretchDraw(Rect(0, 0, W, H), Tile);
  } else if (StretchType == 1) {
    TBitmap Column;
    Column.SetSize(TW, H);
    Column.GetCanvas()->StretchDraw(Rect(0, 0, TW, H), Tile);
    for (Integer I = 0; I <= W / TW; ++I) C->Draw(I * TW, 0, &Column);
  } else {
    TBitmap Row;
    Row.SetSize(W, TH);
    Row.GetCanvas()->StretchDraw(Rect(0, 0, W, TH), Tile);
    for (Integer J = 0; J <= H / TH; ++J) C->Draw(0, J * TH, &Row);
  }
}

// ---- Messages -------------------------------------------------------------------------------

void TbsSkinScrollBox::WndProc(TMessage& Message) {
  const UINT Msg = Message.Msg;
  if ((Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK) && CanFocused && !Designing() && !Focused()) {
    FFocusingByClick = true;
    if (HandleAllocated()) ::SetFocus(GetHandle());
    FFocusingByClick = false;
    if (!Focused()) return;
  }
  if (Msg == CN_COMMAND && FFocusingByClick) return;
  TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinScrollBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      WMNCCalcSize(Message);
      Message.Result = 0;
      break;
    case WM_NCHITTEST:
      // The frame is never a sizing or caption area.
      Message.Result = HTCLIENT;
      break;
    case WM_NCPAINT:
      WMNCPaint();
      break;
    case WM_SIZE:
      TbsSkinCustomControl::Dispatch(Message);
      if (HandleAllocated()) SendMessage(GetHandle(), WM_NCPAINT, 0, 0);
      break;
    case WM_WINDOWPOSCHANGING:
      TbsSkinCustomControl::Dispatch(Message);
      if (HandleAllocated() && GetAlign() == alNone) {
        UpdateVScrollBar();
        UpdateHScrollBar();
      }
      break;
    case CM_VISIBLECHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      for (TbsSkinScrollBar* Bar : {VScrollBar, HScrollBar})
        if (Bar != nullptr) Bar->SetVisible(GetVisible());
      break;
    case WM_PRINTFRAME:
      Message.Result = PrintFrame(reinterpret_cast<HDC>(Message.WParam), PrintFrameDone);
      break;
    case WM_PRINTFRAMEEX:
      if (Message.LParam != PrintFrameExKey) {
        DefaultHandler(Message);
        break;
      }
      Message.Result = PrintFrame(reinterpret_cast<HDC>(Message.WParam), PrintFrameExKey);
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}
