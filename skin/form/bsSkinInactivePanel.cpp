#include "skin/form/bsSkinInactivePanel.h"

#include "platform/gdi/Blit.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

TbsClientInActivePanel::TbsClientInActivePanel(TComponent* AOwner) : TbsSkinPaintPanel(AOwner) {
  SetVisible(false);
}

void TbsClientInActivePanel::ShowOver(TWinControl* Control, TbsClientInActiveEffect EffectType) {
  if (Control == nullptr || !Control->GetVisible()) return;
  const Integer W = Control->GetClientWidth(), H = Control->GetClientHeight();
  if (W <= 0 || H <= 0) return;
  SetVisible(false);
  SetParent(Control);
  SetBounds(0, 0, W, H);
  Snapshot = std::make_unique<TbsBitmap>();
  Snapshot->SetSize(W, H);
  // The window's retained pixels, also where other windows cover it.
  const HWND Wnd = Control->GetHandle();
  const HDC DC = GetDC(Wnd);
  BitBlt(Snapshot->GetDC(), 0, 0, W, H, DC, 0, 0, SRCCOPY);
  ReleaseDC(Wnd, DC);
  if (EffectType == bsieBlur) {
    BlurBitmap(Snapshot.get(), 3);
  } else {
    // The background at two thirds over the content.
    TbsBitmap Veil;
    Veil.SetSize(W, H);
    Control->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Veil.GetDC()), 0);
    Veil.SetAlphaBlend(true);
    Veil.SetAlpha(170);
    Veil.DrawToBitmap(Snapshot.get(), 0, 0);
  }
  SetVisible(true);
}

void TbsClientInActivePanel::HideSnapshot() {
  SetVisible(false);
  Snapshot.reset();
}

void TbsClientInActivePanel::Paint() {
  if (Snapshot) Snapshot->DrawToCanvas(GetCanvas(), 0, 0);
}
