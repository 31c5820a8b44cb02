#include "skin/form/SkinForm.h"

#include "platform/classes/Application.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Screen.h"
#include "platform/gdi/Regions.h"
#include "platform/system/Exceptions.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsSkinFormObjects.h"
#include "skin/form/bsSkinMenus.h"
#include "skin/form/bsSkinPopupMenus.h"

// ---- Quick buttons --------------------------------------------------------------------------

void TbsQuickButtonItem::Assign(TPersistent* Source) {
  if (auto* Q = dynamic_cast<TbsQuickButtonItem*>(Source)) {
    FImageIndex = Q->FImageIndex;
    Hint = Q->Hint;
    FEnabled = Q->FEnabled;
    FVisible = Q->FVisible;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TbsQuickButtonItem::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Changed(false);
}

void TbsQuickButtonItem::SetEnabled(bool Value) {
  FEnabled = Value;
  Changed(false);
}

void TbsQuickButtonItem::SetVisible(bool Value) {
  FVisible = Value;
  Changed(false);
}

TbsQuickButtonItems::TbsQuickButtonItems(TbsSkinForm* AOwner)
    : TOwnedCollection(AOwner, CreateCollectionItem<TbsQuickButtonItem>), FSkinForm(AOwner) {}

void TbsQuickButtonItems::Update(TCollectionItem*) {
  const TComponentState S = FSkinForm->GetComponentState();
  if (!S.Contains(csDesigning) && !S.Contains(csLoading)) FSkinForm->RepaintFrame();
}

// ---- Construction ---------------------------------------------------------------------------

namespace {

std::unique_ptr<TFont> CaptionFont(TColor Color) {
  auto F = std::make_unique<TFont>();
  F->SetName("Arial");
  F->SetHeight(14);
  F->SetStyle(TFontStyles{fsBold});
  F->SetColor(Color);
  return F;
}

TTimer* NewTimer(TComponent* Owner, Cardinal Interval, TNotifyEvent OnTimer) {
  auto* T = new TTimer(Owner);
  T->SetEnabled(false);
  T->SetInterval(Interval);
  T->SetOnTimer(OnTimer);
  return T;
}

}  // namespace

TbsSkinForm::TbsSkinForm(TComponent* AOwner) : TComponent(AOwner) {
  FForm = dynamic_cast<TCustomForm*>(AOwner);
  if (FForm == nullptr) throw EInvalidCast("Invalid class typecast");
  FQuickButtons = std::make_unique<TbsQuickButtonItems>(this);
  FLogoBitMap = std::make_unique<TBitmap>();
  FDefCaptionFont = CaptionFont(clBtnText);
  FDefInActiveCaptionFont = CaptionFont(clBtnShadow);
  for (auto& S : FMaskStrips) S = std::make_unique<TBitmap>();
  FHoverTimer = NewTimer(this, 50, TNotifyEvent(this, &TbsSkinForm::HoverTimerTick));
  FMorphTimer = NewTimer(this, 25, TNotifyEvent(this, &TbsSkinForm::MorphTimerTick));
  FAnimateTimer = NewTimer(this, 25, TNotifyEvent(this, &TbsSkinForm::AnimateTimerTick));
  FDefaultSystemMenu = new TPopupMenu(this);
  FSkinMenu = new TbsSkinMenu(this, FForm);
  FForm->SetBorderIcons({});
  FOldFormShortCut = FForm->OnShortCut;
  FForm->OnShortCut = TShortCutEvent(this, &TbsSkinForm::FormShortCut);
  FForm->SetAutoSize(false);
  FForm->SetAutoScroll(false);
  if (!Designing()) {
    // The client size the form was given stays; only the frame around it becomes ours.
    const Integer CW = FForm->GetClientWidth(), CH = FForm->GetClientHeight();
    FOldWindowProc = FForm->WindowProc;
    FForm->WindowProc = TWndMethod(this, &TbsSkinForm::FormWindowProc);
    // The window is made (or its frame recomputed) through this procedure, so that every
    // later client-size computation of the form sees this frame.
    if (FForm->HandleAllocated())
      SetWindowPos(FForm->GetHandle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
      FForm->HandleNeeded();
    if (FForm->GetBorderStyle() != bsNone) {
      FForm->SetClientWidth(CW);
      FForm->SetClientHeight(CH);
    }
  }
}

TbsSkinForm::~TbsSkinForm() {
  StopTimers();
  UnhookApplicationMessages();
  // A form being destroyed has no window procedure left to give back.
  const bool FormAlive = FForm != nullptr && !FForm->GetComponentState().Contains(csDestroying);
  if (!Designing() && FormAlive && FForm->WindowProc == TWndMethod(this, &TbsSkinForm::FormWindowProc))
    FForm->WindowProc = FOldWindowProc;
  // The form must not call a freed component for its short-cuts: it gets its own handler back.
  if (FormAlive && FForm->OnShortCut == TShortCutEvent(this, &TbsSkinForm::FormShortCut))
    FForm->OnShortCut = FOldFormShortCut;
  FObjects.clear();
  if (FHasRegion && FormAlive && FForm->HandleAllocated()) SetWindowRgn(FForm->GetHandle(), nullptr, false);
  if (FormAlive && FForm->HandleAllocated() && !Designing())
    SetWindowPos(FForm->GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TbsSkinForm::Loaded() {
  TComponent::Loaded();
  if (Designing()) return;
  const TWindowState Streamed = FWindowState;
  const TWindowState Reached = FSkinWindowState == 2   ? wsMaximized
                               : FSkinWindowState == 1 ? wsMinimized
                                                       : wsNormal;
  if (Streamed != Reached) SetWindowState(Streamed);
}

void TbsSkinForm::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FMenusSkinData) FMenusSkinData = nullptr;
  if (AComponent == FMainMenuBar) FMainMenuBar = nullptr;
  if (AComponent == FSystemMenu) FSystemMenu = nullptr;
  if (AComponent == FStatusBar) FStatusBar = nullptr;
  if (AComponent == FQuickImageList) FQuickImageList = nullptr;
}

// ---- Property setters -----------------------------------------------------------------------

void TbsSkinForm::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) {
    Value->FreeNotification(this);
    if (FForm->GetFormStyle() != fsMDIChild) FSkinnable = Value->GetSkinnableForm();
  }
  if (!Designing()) ApplySkin();
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* Value) {
  FMenusSkinData = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetMainMenuBar(TbsSkinMainMenuBar* Value) {
  FMainMenuBar = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetSystemMenu(TPopupMenu* Value) {
  FSystemMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetStatusBar(TbsSkinStatusBar* Value) {
  FStatusBar = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetQuickImageList(TCustomImageList* Value) {
  FQuickImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetBorderIcons(TbsBorderIcons Value) {
  FBorderIcons = Value;
  if (Designing() || Loading()) return;
  UpdateCaptionButtons();
  RepaintFrame();
}

void TbsSkinForm::SetWindowState(TWindowState Value) {
  FWindowState = Value;
  if (Designing() || Loading()) return;
  SetSkinWindowState(Value);
  FWindowState = !FSkinnable             ? FForm->GetWindowState()
                 : FSkinWindowState == 2 ? wsMaximized
                 : FSkinWindowState == 1 ? wsMinimized
                                         : wsNormal;
}

void TbsSkinForm::SetAlphaBlend(bool Value) {
  if (FAlphaBlend == Value) return;
  FAlphaBlend = Value;
  if (!GetComponentState().IsEmpty() || !IsLayeredWindowAvailable() || !FForm->HandleAllocated()) return;
  const HWND H = FForm->GetHandle();
  const LONG Ex = GetWindowLong(H, GWL_EXSTYLE);
  if (Value) {
    if (!(Ex & WS_EX_LAYERED)) SetWindowLong(H, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
    SetWindowAlpha(H, FAlphaBlendValue);
  } else if (Ex & WS_EX_LAYERED) {
    SetWindowLong(H, GWL_EXSTYLE, Ex & ~WS_EX_LAYERED);
  }
}

void TbsSkinForm::SetAlphaBlendValue(Byte Value) {
  if (FAlphaBlendValue == Value) return;
  FAlphaBlendValue = Value;
  if (FAlphaBlend && GetComponentState().IsEmpty() && IsLayeredWindowAvailable() && FForm->HandleAllocated())
    SetWindowAlpha(FForm->GetHandle(), Value);
}

void TbsSkinForm::SetShowIcon(bool Value) {
  FShowIcon = Value;
  if (!Designing() && !Loading()) RepaintFrame();
}

void TbsSkinForm::SetDefCaptionFont(TFont* Value) {
  FDefCaptionFont->Assign(Value);
  if (!Designing() && !Loading() && !FSkinApplied && FForm->HandleAllocated())
    SendMessage(FForm->GetHandle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::SetDefInActiveCaptionFont(TFont* Value) {
  FDefInActiveCaptionFont->Assign(Value);
  if (!Designing() && !Loading() && !FSkinApplied && FForm->HandleAllocated())
    SendMessage(FForm->GetHandle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::SetMaxMenuItemsInWindow(Integer Value) {
  if (Value < 0) return;
  FMaxMenuItemsInWindow = Value;
  FSkinMenu->MaxMenuItemsInWindow = Value;
}

// ---- Size limits and predicates ------------------------------------------------------------

Integer TbsSkinForm::GetDefaultCaptionHeight() {
  const TFormBorderStyle B = FForm->GetBorderStyle();
  return B == bsToolWindow || B == bsSizeToolWin ? 15 : 19;
}

Integer TbsSkinForm::GetDefaultButtonSize() {
  const TFormBorderStyle B = FForm->GetBorderStyle();
  return B == bsToolWindow || B == bsSizeToolWin ? 13 : 17;
}

Integer TbsSkinForm::GetMinWidth() {
  if (!FSkinApplied || FSD == nullptr || FSD->Picture == nullptr) return FMinWidth > 0 ? FMinWidth : 120;
  const Integer Pw = FSD->Picture->GetWidth();
  const bool Minimized = FSkinWindowState == 1;
  if (Pw < FMinWidth && !Minimized) return FMinWidth;
  if (FSD->FormMinWidth > 0)
    return FSD->FormMinWidth < FMinWidth && !Minimized ? FMinWidth : FSD->FormMinWidth;
  return Pw;
}

Integer TbsSkinForm::GetMinHeight() {
  const bool Small = FRolledUp || FSkinWindowState == 1;
  Integer H;
  if (!FSkinApplied || FSD == nullptr || FSD->Picture == nullptr)
    H = GetDefaultCaptionHeight() + 6;
  else if (FSD->FormMinHeight != 0)
    H = FSD->FormMinHeight;
  else
    H = FSD->Picture->GetHeight() - FSD->ClientRect.Height();
  return FMinHeight > H && !Small ? FMinHeight : H;
}

namespace {

TRect MonitorArea(TCustomForm* Form, bool WorkArea) {
  TRect R;
  GetMonitorRect(Form->HandleAllocated() ? Form->GetHandle() : nullptr, WorkArea, R);
  return R;
}

}  // namespace

Integer TbsSkinForm::GetMaxWidth() {
  return FMaxWidth != 0 ? FMaxWidth : MonitorArea(FForm, !MaximizeOnFullScreen).Width();
}

Integer TbsSkinForm::GetMaxHeight() {
  return FMaxHeight != 0 ? FMaxHeight : MonitorArea(FForm, !MaximizeOnFullScreen).Height();
}

bool TbsSkinForm::IsFormActive() {
  const TFormStyle S = FForm->GetFormStyle();
  if (S == fsMDIForm || S == fsMDIChild) return FActive;
  return FForm->GetActive();
}

bool TbsSkinForm::IsSizeable() {
  const TFormBorderStyle B = FForm->GetBorderStyle();
  return AlwaysResize || B == bsSizeable || B == bsSizeToolWin;
}

void TbsSkinForm::RepaintFrame() {
  // A hidden window has no frame on screen to redraw (it may be on its way out at exit).
  if (FForm->HandleAllocated() && IsWindowVisible(FForm->GetHandle()))
    SendMessage(FForm->GetHandle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::Repaint() {
  if (FForm->HandleAllocated()) FForm->Repaint();
}

void TbsSkinForm::NotifyChildrenBackground() {
  for (Integer I = 0; I < FForm->GetControlCount(); ++I)
    if (auto* W = dynamic_cast<TWinControl*>(FForm->GetControl(I)); W != nullptr && W->HandleAllocated())
      SendMessage(W->GetHandle(), 0x504, 0, 0);
}

TbsSkinForm* FindSkinForm(TCustomForm* Form) {
  if (Form == nullptr) return nullptr;
  for (Integer I = 0; I < Form->GetComponentCount(); ++I)
    if (auto* F = dynamic_cast<TbsSkinForm*>(Form->GetComponent(I))) return F;
  return nullptr;
}
