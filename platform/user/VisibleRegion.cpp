// Visible regions: where on its top-level surface a window may draw.
#include "platform/user/WindowInternals.h"

namespace {

TWindow* GLockedWindow = nullptr;

// The window's rectangle through its window region, in surface coordinates.
TRegionData WindowShape(const TWindow* W) {
  const TPoint O = WindowOriginInSurface(W);
  TRegionData R(TRect{O.X, O.Y, O.X + W->Rect.Width(), O.Y + W->Rect.Height()});
  if (W->WindowRgn) {
    TRegionData Shape = *W->WindowRgn;
    Shape.Offset(O.X, O.Y);
    R.Combine(R, Shape, RGN_AND);
  }
  return R;
}

void ExcludeSiblingsAbove(TRegionData& R, const TWindow* W) {
  for (const TWindow* S : W->Parent->Children) {
    if (S == W) break;
    if (!(S->Style & WS_VISIBLE) || R.IsEmpty()) continue;
    const TPoint O = WindowOriginInSurface(S);
    const TRect SR{O.X, O.Y, O.X + S->Rect.Width(), O.Y + S->Rect.Height()};
    if (!R.IntersectsRect(SR)) continue;
    if (S->WindowRgn)
      R.Combine(R, WindowShape(S), RGN_DIFF);
    else
      R.ExcludeRect(SR);
  }
}

}  // namespace

TWindow*& LockedWindow() {
  return GLockedWindow;
}

DWORD DefaultDcxFlags(const TWindow* W) {
  DWORD F = 0;
  if (W->Style & WS_CLIPCHILDREN) F |= DCX_CLIPCHILDREN;
  if (W->Style & WS_CLIPSIBLINGS) F |= DCX_CLIPSIBLINGS;
  if (W->Class->Style & CS_PARENTDC) F |= DCX_PARENTCLIP;
  return F;
}

TRegionData VisibleRegion(const TWindow* W, DWORD Flags) {
  if (W == nullptr || !IsReallyVisible(W) || !W->Parent) return {};
  for (const TWindow* A = W; A != nullptr; A = A->Parent)
    if (A->RedrawOff || A == GLockedWindow) return {};
  if ((Flags & DCX_PARENTCLIP) && !IsTopLevel(W)) {
    // The parent's client area is where the window may draw (CS_PARENTDC).
    return VisibleRegion(W->Parent, Flags & ~(DCX_PARENTCLIP | DCX_WINDOW | DCX_CLIPCHILDREN));
  }
  TRegionData R;
  if (Flags & DCX_WINDOW) {
    R = WindowShape(W);
  } else {
    const TPoint O = ClientOriginInSurface(W);
    R.SetRect(TRect{O.X, O.Y, O.X + W->Client.Width(), O.Y + W->Client.Height()});
    if (W->WindowRgn) R.Combine(R, WindowShape(W), RGN_AND);
  }
  if (Flags & DCX_CLIPCHILDREN) {
    for (const TWindow* C : W->Children) {
      if (!(C->Style & WS_VISIBLE) || R.IsEmpty()) continue;
      if (C->WindowRgn) {
        R.Combine(R, WindowShape(C), RGN_DIFF);
      } else {
        const TPoint O = WindowOriginInSurface(C);
        R.ExcludeRect(TRect{O.X, O.Y, O.X + C->Rect.Width(), O.Y + C->Rect.Height()});
      }
    }
  }
  if (!IsTopLevel(W) && (Flags & DCX_CLIPSIBLINGS)) ExcludeSiblingsAbove(R, W);
  // Every ancestor below the top level clips to its client area and window region, and
  // removes the siblings above it when it has WS_CLIPSIBLINGS.
  const TWindow* C = W;
  for (const TWindow* A = W->Parent; A != nullptr && A->Parent != nullptr && !R.IsEmpty(); A = A->Parent) {
    const TPoint O = ClientOriginInSurface(A);
    R.IntersectRect(TRect{O.X, O.Y, O.X + A->Client.Width(), O.Y + A->Client.Height()});
    if (A->WindowRgn) R.Combine(R, WindowShape(A), RGN_AND);
    if (C != W && !IsTopLevel(C) && (C->Style & WS_CLIPSIBLINGS)) ExcludeSiblingsAbove(R, C);
    C = A;
  }
  const TWindow* Top = TopLevelOf(const_cast<TWindow*>(W));
  // UpdateLayeredWindow owns the content of its window: painting does not reach it.
  if (Top->LayeredUpdate)
    R.SetEmpty();
  else if (Top->Surface)
    R.IntersectRect(TRect{0, 0, Top->Surface->Surface.Width, Top->Surface->Surface.Height});
  else
    R.SetEmpty();
  return R;
}
