// The screen: top-level surfaces composed bottom first through their window regions, layered
// windows blended, only damaged areas recomposed, presents held to about 60 a second.
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "platform/gdi/AlphaBlendRows.h"
#include "platform/system/Clock.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/TopLevelViews.h"
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
  // Back ends with a desktop window per top-level window: surface damage off the screen, and
  // where the windows were when last presented (a move off the screen damages nothing).
  std::vector<TWindowDamage> WindowDamage;
  std::vector<std::pair<HWND, TRect>> Placed;
  bool PlacementDirty = false;
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

// An opaque window's pixels replace the screen's; the screen carries no alpha.
void CopyColorRow(DWORD* D, const DWORD* S, Integer N, DWORD) {
  for (Integer I = 0; I < N; ++I) D[I] = S[I] & 0x00FFFFFFu;
}

// A blend kernel of the graphics layer, followed by clearing the alpha byte it blended.
template <void (*Kernel)(DWORD*, const DWORD*, Integer, DWORD)>
void BlendColorRow(DWORD* D, const DWORD* S, Integer N, DWORD A) {
  Kernel(D, S, N, A);
  for (Integer I = 0; I < N; ++I) D[I] &= 0x00FFFFFFu;
}

// One row of a window surface onto the screen. Src and Dst hold Count pixels. The kernel is
// chosen once for the row; a colour key splits the row into the runs between key pixels.
void CompositeRow(const TWindow* W, const DWORD* Src, DWORD* Dst, Integer Count) {
  const bool Layered = (W->ExStyle & WS_EX_LAYERED) != 0;
  const bool Key = Layered && (W->LayeredFlags & LWA_COLORKEY);
  const DWORD CA = Layered && (W->LayeredFlags & LWA_ALPHA) ? W->LayeredAlpha : 255;
  auto* const Blend = Layered && W->PerPixelAlpha ? &BlendColorRow<BlendPremultipliedRow>
                      : CA != 255                 ? &BlendColorRow<BlendConstantRow>
                                                  : &CopyColorRow;
  if (!Key) {
    Blend(Dst, Src, Count, CA);
    return;
  }
  const DWORD KeyPixel =
      ((W->LayeredKey & 0xFF) << 16) | (W->LayeredKey & 0xFF00) | ((W->LayeredKey >> 16) & 0xFF);
  auto IsKey = [KeyPixel](DWORD S) { return (S & 0x00FFFFFFu) == KeyPixel; };
  for (Integer X = 0; X < Count;) {
    while (X < Count && IsKey(Src[X])) ++X;
    const Integer Start = X;
    while (X < Count && !IsKey(Src[X])) ++X;
    if (X > Start) Blend(Dst + Start, Src + Start, X - Start, CA);
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

// Notes where the shown top-level windows are; true when that changed since the last call.
bool PlacementChanged(TScreenState& S) {
  std::vector<std::pair<HWND, TRect>> Now;
  for (const TWindow* W : DesktopWindow()->Children)
    if (W->Style & WS_VISIBLE) Now.emplace_back(W->Handle, W->Rect);
  if (Now == S.Placed) return false;
  S.Placed.swap(Now);
  return true;
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
    std::memcpy(&New[static_cast<std::size_t>(Y) * Width],
                &Pixels[static_cast<std::size_t>(Y) * Surface.Width], static_cast<std::size_t>(CW) * 4);
  Pixels.swap(New);
  Surface.Width = Width;
  Surface.Height = Height;
  Surface.Bpp = 32;
  Surface.Format = TSurfaceFormat::pf32;
  Surface.Stride = static_cast<NativeInt>(Width) * 4;
  Surface.Row0 = reinterpret_cast<Byte*>(Pixels.data());
}

TSurface& ScreenSurface() {
  return State().Screen.Surface;
}

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
  if (Top == nullptr || !IsTopLevel(Top) || Top->Parent != DesktopWindow() || !(Top->Style & WS_VISIBLE))
    return;
  TScreenState& S = State();
  if (S.Backend != nullptr && S.Backend->ShowsTopLevels()) S.WindowDamage.emplace_back(Top->Handle, R);
  DamageScreen(TRect{R.Left + Top->Rect.Left, R.Top + Top->Rect.Top, R.Right + Top->Rect.Left,
                     R.Bottom + Top->Rect.Top});
}

DWORD FlushScreen(bool Force) {
  TScreenState& S = State();
  TellTitle(S);
  NoteHeldWindowDCs();
  const bool PerWindow = S.Backend != nullptr && S.Backend->ShowsTopLevels();
  if (PerWindow && PlacementChanged(S)) S.PlacementDirty = true;
  if (S.Damage.IsEmpty() && (!PerWindow || (S.WindowDamage.empty() && !S.PlacementDirty))) return 0xFFFFFFFFu;
  const UInt64 Now = GetTickCount64();
  if (!Force && S.Presented && Now - S.LastPresent < PresentIntervalMs)
    return static_cast<DWORD>(PresentIntervalMs - (Now - S.LastPresent));
  S.Rects = S.Damage.Rects();
  S.Damage.SetEmpty();
  for (const TRect& R : S.Rects) ComposeRect(R);
  if (PerWindow) {
    S.Backend->PresentTopLevels(TopLevelViews(S.Rects, S.WindowDamage));
    S.WindowDamage.clear();
    S.PlacementDirty = false;
  } else if (S.Backend != nullptr) {
    S.Backend->Present(S.Screen.Surface, S.Rects);
  }
  S.LastPresent = Now;
  S.Presented = true;
  S.Presents++;
  return 0xFFFFFFFFu;
}

UInt64 PresentCount() {
  return State().Presents;
}

void SetDisplayBackend(TDisplayBackend* Backend) {
  State().Backend = Backend;
  State().Title.reset();
  State().WindowDamage.clear();
  State().Placed.clear();
  ScreenSizeChanged();
}

TDisplayBackend* GetDisplayBackend() {
  return State().Backend;
}

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
  if (TimeoutMs == 0xFFFFFFFFu)
    W.Cond.wait(Guard, [&] { return W.Woken; });
  else
    W.Cond.wait_for(Guard, std::chrono::milliseconds(TimeoutMs), [&] { return W.Woken; });
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
