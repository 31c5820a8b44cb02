// What a back end showing each top-level window on its own needs to know of it.
#include "platform/user/TopLevelViews.h"

#include <algorithm>

#include "platform/user/Input.h"
#include "platform/user/NonClient.h"
#include "platform/user/WindowInternals.h"

namespace {

// Menus, drop-down lists and hints: captionless windows that keep out of the task bar or the
// activation. Captionless forms (skinned ones draw their own caption) stay normal windows.
bool IsPopupWindow(const TWindow* W) {
  if ((W->Style & WS_CAPTION) == WS_CAPTION || (W->ExStyle & WS_EX_APPWINDOW)) return false;
  return (W->ExStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE)) != 0;
}

HICON WindowIcon(TWindow* W) {
  for (WPARAM Which : {ICON_BIG, ICON_SMALL})
    if (HICON I = reinterpret_cast<HICON>(GetIconDefault(W, WM_GETICON, Which, 0))) return I;
  return W->Class != nullptr ? W->Class->Icon : nullptr;
}

bool Shown(const TWindow* W) {
  if (!(W->Style & WS_VISIBLE) || !W->Surface) return false;
  // A layered window shows nothing until it has attributes or content.
  return !(W->ExStyle & WS_EX_LAYERED) || W->LayeredFlags != 0 || W->LayeredUpdate;
}

void AddClipped(std::vector<TRect>& Out, const TRect& R, const TRect& Bounds) {
  const TRect C{std::max(R.Left, Bounds.Left), std::max(R.Top, Bounds.Top), std::min(R.Right, Bounds.Right),
                std::min(R.Bottom, Bounds.Bottom)};
  if (C.Left < C.Right && C.Top < C.Bottom) Out.push_back(C);
}

}  // namespace

std::vector<TTopLevelView> TopLevelViews(const std::vector<TRect>& ScreenDamage,
                                         const std::vector<TWindowDamage>& WindowDamage) {
  std::vector<TTopLevelView> Views;
  const HWND Active = GetActiveWindow();
  for (TWindow* W : DesktopWindow()->Children) {
    if (!Shown(W)) continue;
    TTopLevelView V;
    V.Window = W->Handle;
    if (W->Owner != nullptr && Shown(W->Owner)) V.Owner = W->Owner->Handle;
    V.Kind = IsPopupWindow(W) ? TTopLevelKind::Popup : TTopLevelKind::Normal;
    const TSurface& S = W->Surface->Surface;
    V.Rect = TRect{W->Rect.Left, W->Rect.Top, W->Rect.Left + S.Width, W->Rect.Top + S.Height};
    V.Surface = &S;
    V.Shape = W->WindowRgn ? &*W->WindowRgn : nullptr;
    V.Title = W->Text;
    V.Icon = WindowIcon(W);
    if (W->ExStyle & WS_EX_LAYERED) {
      if (W->LayeredFlags & LWA_ALPHA) V.Alpha = W->LayeredAlpha;
      V.PerPixelAlpha = W->PerPixelAlpha;
      V.ColorKeyed = (W->LayeredFlags & LWA_COLORKEY) != 0;
      const COLORREF K = W->LayeredKey;
      V.KeyPixel = ((K & 0xFF) << 16) | (K & 0xFF00) | ((K >> 16) & 0xFF);
    }
    V.Minimized = (W->Style & WS_MINIMIZE) != 0;
    V.Active = W->Handle == Active;
    const TRect Local{0, 0, S.Width, S.Height};
    for (const TRect& R : ScreenDamage)
      AddClipped(
          V.Damaged,
          TRect{R.Left - V.Rect.Left, R.Top - V.Rect.Top, R.Right - V.Rect.Left, R.Bottom - V.Rect.Top},
          Local);
    for (const auto& [Wnd, R] : WindowDamage)
      if (Wnd == W->Handle) AddClipped(V.Damaged, R, Local);
    Views.push_back(std::move(V));
  }
  return Views;
}
