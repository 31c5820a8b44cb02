// The screen: top-level surfaces composed bottom first through their window regions, layered
// windows blended, only damaged areas recomposed, presents held to about 60 a second.
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "platform/system/Clock.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/WindowPos.h"

namespace {

// Presents are at least this far apart unless forced: 1000 / 17 < 60 a second.
constexpr UInt64 PresentIntervalMs = 17;

struct TScreenState {
  TWindowSurface Screen;
  TRegionData Damage;
  TDisplayBackend* Backend = nullptr;
  UInt64 LastPresent = 0;
  bool Presented = false;
  UInt64 Presents = 0;
  std::vector<TRect> Rects;
  std::optional<std::string> Title;  // last given to the back end
};

TScreenState& State() {
  static TScreenState* S = [] {
    auto* T = new TScreenState;
    T->Screen.Resize(DefaultScreenSize.cx, DefaultScreenSize.cy);
    return T;
  }();
  return *S;
}

struct TNullWait {
  std::mutex Lock;
  std::condition_variable Cond;
  bool Woken = false;
};

TNullWait& NullWait() {
  static TNullWait* W = new TNullWait;
  return *W;
}

inline DWORD BlendChannel(DWORD S, DWORD D, DWORD A) {
  // (s * a + d * (255 - a)) / 255, rounded
  const DWORD V = S * A + D * (255 - A) + 128;
  return (V + (V >> 8)) >> 8;
}

inline DWORD Mul255(DWORD C, DWORD A) {
  const DWORD V = C * A + 128;
  return (V + (V >> 8)) >> 8;
}

// One row of a window surface onto the screen. Src and Dst hold Count pixels.
void CompositeRow(const TWindow* W, const DWORD* Src, DWORD* Dst, Integer Count) {
  const bool Key = (W->ExStyle & WS_EX_LAYERED) && (W->LayeredFlags & LWA_COLORKEY);
  const bool ConstAlpha = (W->ExStyle & WS_EX_LAYERED) && (W->LayeredFlags & LWA_ALPHA) && W->LayeredAlpha != 255;
  const bool PerPixel = (W->ExStyle & WS_EX_LAYERED) && W->PerPixelAlpha;
  if (!Key && !ConstAlpha && !PerPixel) {
    for (Integer X = 0; X < Count; ++X) Dst[X] = Src[X] & 0x00FFFFFFu;
    return;
  }
  const DWORD KeyPixel = ((W->LayeredKey & 0xFF) << 16) | (W->LayeredKey & 0xFF00) | ((W->LayeredKey >> 16) & 0xFF);
  const DWORD CA = (W->LayeredFlags & LWA_ALPHA) ? W->LayeredAlpha : 255;
  for (Integer X = 0; X < Count; ++X) {
    const DWORD S = Src[X];
    if (Key && (S & 0x00FFFFFFu) == KeyPixel) continue;
    const DWORD D = Dst[X];
    if (PerPixel) {
      // Premultiplied source over the screen, scaled by the constant alpha.
      const DWORD SA = Mul255(S >> 24, CA);
      const DWORD SR = Mul255((S >> 16) & 0xFF, CA), SG = Mul255((S >> 8) & 0xFF, CA), SB = Mul255(S & 0xFF, CA);
      const DWORD Inv = 255 - SA;
      const DWORD R = std::min<DWORD>(255, SR + Mul255((D >> 16) & 0xFF, Inv));
      const DWORD G = std::min<DWORD>(255, SG + Mul255((D >> 8) & 0xFF, Inv));
      const DWORD B = std::min<DWORD>(255, SB + Mul255(D & 0xFF, Inv));
      Dst[X] = (R << 16) | (G << 8) | B;
    } else if (CA != 255) {
      Dst[X] = (BlendChannel((S >> 16) & 0xFF, (D >> 16) & 0xFF, CA) << 16) |
               (BlendChannel((S >> 8) & 0xFF, (D >> 8) & 0xFF, CA) << 8) | BlendChannel(S & 0xFF, D & 0xFF, CA);
    } else {
      Dst[X] = S & 0x00FFFFFFu;
    }
  }
}

void ComposeRect(const TRect& R) {
  TScreenState& S = State();
  TSurface& Screen = S.Screen.Surface;
  const DWORD Background = DesktopPixel();
  for (Integer Y = R.Top; Y < R.Bottom; ++Y) {
    DWORD* Row = reinterpret_cast<DWORD*>(Screen.Row(Y));
    std::fill(Row + R.Left, Row + R.Right, Background);
  }
  const auto& Tops = DesktopWindow()->Children;
  for (auto It = Tops.rbegin(); It != Tops.rend(); ++It) {
    const TWindow* W = *It;
    if (!(W->Style & WS_VISIBLE) || !W->Surface) continue;
    // A layered window shows nothing until it has attributes or content.
    if ((W->ExStyle & WS_EX_LAYERED) && W->LayeredFlags == 0 && !W->LayeredUpdate) continue;
    const TSurface& Src = W->Surface->Surface;
    const TRect WR{W->Rect.Left, W->Rect.Top, W->Rect.Left + Src.Width, W->Rect.Top + Src.Height};
    const TRect C{std::max(R.Left, WR.Left), std::max(R.Top, WR.Top), std::min(R.Right, WR.Right),
                  std::min(R.Bottom, WR.Bottom)};
    if (C.Left >= C.Right || C.Top >= C.Bottom) continue;
    auto Blit = [&](const TRect& Part) {  // Part in screen coordinates
      for (Integer Y = Part.Top; Y < Part.Bottom; ++Y) {
        const DWORD* SrcRow = reinterpret_cast<const DWORD*>(Src.Row(Y - WR.Top)) + (Part.Left - WR.Left);
        DWORD* DstRow = reinterpret_cast<DWORD*>(Screen.Row(Y)) + Part.Left;
        CompositeRow(W, SrcRow, DstRow, Part.Right - Part.Left);
      }
    };
    if (!W->WindowRgn) {
      Blit(C);
    } else {
      const TRect Local{C.Left - WR.Left, C.Top - WR.Top, C.Right - WR.Left, C.Bottom - WR.Top};
      W->WindowRgn->ForEachRectIn(Local, [&](const TRect& P) {
        Blit(TRect{P.Left + WR.Left, P.Top + WR.Top, P.Right + WR.Left, P.Bottom + WR.Top});
      });
    }
  }
}

// Without a shown main window the desktop window keeps the title it has.
void TellTitle(TScreenState& S) {
  const std::string* Caption = MainWindowCaption();
  if (S.Backend == nullptr || Caption == nullptr || S.Title == *Caption) return;
  S.Title = *Caption;
  S.Backend->SetTitle(*Caption);
}

}  // namespace

void TWindowSurface::Resize(Integer Width, Integer Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == Surface.Width && Height == Surface.Height && Surface.Row0 != nullptr) return;
  std::vector<DWORD> New(static_cast<std::size_t>(Width) * static_cast<std::size_t>(std::max(Height, 1)), 0);
  const Integer CW = std::min(Width, Surface.Width), CH = std::min(Height, Surface.Height);
  for (Integer Y = 0; Y < CH; ++Y)
    std::memcpy(&New[static_cast<std::size_t>(Y) * Width], &Pixels[static_cast<std::size_t>(Y) * Surface.Width],
                static_cast<std::size_t>(CW) * 4);
  Pixels.swap(New);
  Surface.Width = Width;
  Surface.Height = Height;
  Surface.Bpp = 32;
  Surface.Format = TSurfaceFormat::pf32;
  Surface.Stride = static_cast<NativeInt>(Width) * 4;
  Surface.Row0 = reinterpret_cast<Byte*>(Pixels.data());
}

TSurface& ScreenSurface() { return State().Screen.Surface; }

void DamageScreen(const TRect& R) {
  TScreenState& S = State();
  const TRect C{std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, S.Screen.Surface.Width),
                std::min(R.Bottom, S.Screen.Surface.Height)};
  if (C.Left >= C.Right || C.Top >= C.Bottom) return;
  if (S.Damage.IsEmpty()) {
    S.Damage.SetRect(C);
    return;
  }
  const TRect& B = S.Damage.Box();
  if (S.Damage.Complexity() == SIMPLEREGION && C.Left >= B.Left && C.Top >= B.Top && C.Right <= B.Right &&
      C.Bottom <= B.Bottom)
    return;
  S.Damage.Combine(S.Damage, TRegionData(C), RGN_OR);
}

void DamageWindowSurface(TWindow* Top, const TRect& R) {
  if (Top == nullptr || !IsTopLevel(Top) || Top->Parent != DesktopWindow() || !(Top->Style & WS_VISIBLE)) return;
  DamageScreen(TRect{R.Left + Top->Rect.Left, R.Top + Top->Rect.Top, R.Right + Top->Rect.Left, R.Bottom + Top->Rect.Top});
}

DWORD FlushScreen(bool Force) {
  TScreenState& S = State();
  TellTitle(S);
  NoteHeldWindowDCs();
  if (S.Damage.IsEmpty()) return 0xFFFFFFFFu;
  const UInt64 Now = GetTickCount64();
  if (!Force && S.Presented && Now - S.LastPresent < PresentIntervalMs)
    return static_cast<DWORD>(PresentIntervalMs - (Now - S.LastPresent));
  S.Rects = S.Damage.Rects();
  S.Damage.SetEmpty();
  for (const TRect& R : S.Rects) ComposeRect(R);
  if (S.Backend != nullptr) S.Backend->Present(S.Screen.Surface, S.Rects);
  S.LastPresent = Now;
  S.Presented = true;
  S.Presents++;
  return 0xFFFFFFFFu;
}

UInt64 PresentCount() { return State().Presents; }

void SetDisplayBackend(TDisplayBackend* Backend) {
  State().Backend = Backend;
  State().Title.reset();
  ScreenSizeChanged();
}

TDisplayBackend* GetDisplayBackend() { return State().Backend; }

void ScreenSizeChanged() {
  TScreenState& S = State();
  const TSize Size = S.Backend != nullptr ? S.Backend->ScreenSize() : DefaultScreenSize;
  S.Screen.Resize(Size.cx, Size.cy);
  SetScreenSize(Size.cx, Size.cy);
  TWindow* D = DesktopWindow();
  D->Rect = D->Client = D->NormalRect = TRect{0, 0, Size.cx, Size.cy};
  S.Damage.SetRect(TRect{0, 0, Size.cx, Size.cy});
  // Maximized windows take the new work area.
  std::vector<HWND> Maximized;
  for (TWindow* W : D->Children)
    if (W->Style & WS_MAXIMIZE) Maximized.push_back(W->Handle);
  for (HWND H : Maximized) {
    TWindow* W = PeekWindow(H);
    if (W == nullptr) continue;
    const TRect R = MinMaximize(W, SW_MAXIMIZE);
    SetWindowPos(H, nullptr, R.Left, R.Top, R.Width(), R.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void WaitNullDisplay(DWORD TimeoutMs) {
  TNullWait& W = NullWait();
  std::unique_lock Guard(W.Lock);
  if (TimeoutMs == 0xFFFFFFFFu) W.Cond.wait(Guard, [&] { return W.Woken; });
  else W.Cond.wait_for(Guard, std::chrono::milliseconds(TimeoutMs), [&] { return W.Woken; });
  W.Woken = false;
}

void WakeNullDisplay() {
  TNullWait& W = NullWait();
  {
    std::lock_guard Guard(W.Lock);
    W.Woken = true;
  }
  W.Cond.notify_all();
}
