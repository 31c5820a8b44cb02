#include "skin/data/bsLayered.h"

#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/Blit.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"
#include "skin/data/bsUtils.h"

TbsLayerWindow::TbsLayerWindow(TComponent* AOwner) : TCustomControl(AOwner) {}

void TbsLayerWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TbsLayerWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TCustomControl::Dispatch(Message);
}

TbsLayerManager::TbsLayerManager(TComponent* AOwner) : TComponent(AOwner) {
  FTimer = new TTimer(this);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(25);
  FTimer->SetOnTimer(TNotifyEvent(this, &TbsLayerManager::FadeStep));
}

TbsLayerManager::~TbsLayerManager() {
  FTimer->SetEnabled(false);
}

void TbsLayerManager::ShowLayer(Integer X, Integer Y, TBitmap* Picture, TBitmap* Mask, Integer Alpha) {
  if (!IsLayeredWindowAvailable()) return;
  if (FLayerWindow) HideLayer();
  FIsVisible = true;
  FLayerWindow = new TbsLayerWindow(this);
  FLayerWindow->SetVisible(false);
  FLayerWindow->SetBounds(X, Y, Picture->GetWidth(), Picture->GetHeight());
  const HWND Wnd = FLayerWindow->GetHandle();
  SetWindowLong(Wnd, GWL_EXSTYLE, GetWindowLong(Wnd, GWL_EXSTYLE) | static_cast<LONG>(WS_EX_LAYERED));
  FBitmap = std::make_unique<TbsBitmap>();
  MakeAlphaBitmap(Picture, Mask, FBitmap.get());
  UpdateLayeredBitmap(FBitmap.get(), 0, FLayerWindow);
  SetWindowPos(Wnd, FKeepTopMost ? HWND_TOPMOST : HWND_NOTOPMOST, X, Y, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  FTargetAlpha = Alpha;
  // A target below 10 would give a step of 0 and a fade that never ends.
  FAlphaStep = std::max(Alpha / 10, 1);
  FCurrentAlpha = 0;
  FTimer->SetEnabled(true);
}

void TbsLayerManager::FadeStep(TObject* /*Sender*/) {
  if (!FBitmap || !FLayerWindow) return;
  FCurrentAlpha = std::min(FCurrentAlpha + FAlphaStep, FTargetAlpha);
  UpdateLayeredBitmap(FBitmap.get(), static_cast<Byte>(FCurrentAlpha), FLayerWindow);
  if (FCurrentAlpha == FTargetAlpha) FTimer->SetEnabled(false);
}

void TbsLayerManager::HideLayer() {
  if (!IsLayeredWindowAvailable()) return;
  FTimer->SetEnabled(false);
  FBitmap.reset();
  FIsVisible = false;
  if (!FLayerWindow) return;
  if (FLayerWindow->HandleAllocated())
    SetWindowPos(FLayerWindow->GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
  delete FLayerWindow;
  FLayerWindow = nullptr;
}

void MakeAlphaBitmap(TBitmap* Picture, TBitmap* Mask, TbsBitmap* Target) {
  Target->Assign(Picture);
  TbsBitmap MaskPixels;
  MaskPixels.Assign(Mask);
  SetAlphaFromMask(Target, &MaskPixels);
  Target->ClampColorsToAlpha();
}

void UpdateLayeredBitmap(TbsBitmap* Bitmap, Byte Alpha, TWinControl* Window) {
  const POINT Dst{Window->GetLeft(), Window->GetTop()};
  const SIZE Size{Bitmap->GetWidth(), Bitmap->GetHeight()};
  const POINT Src{0, 0};
  BLENDFUNCTION Blend;
  Blend.BlendOp = AC_SRC_OVER;
  Blend.SourceConstantAlpha = Alpha;
  Blend.AlphaFormat = AC_SRC_ALPHA;
  UpdateLayeredWindow(Window->GetHandle(), nullptr, &Dst, &Size, Bitmap->GetDC(), &Src, 0, &Blend, ULW_ALPHA);
}

void SetWindowAlpha(HWND Wnd, Byte Alpha) {
  SetLayeredWindowAttributes(Wnd, 0, Alpha, LWA_ALPHA);
}
