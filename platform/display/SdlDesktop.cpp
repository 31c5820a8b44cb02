#include "platform/display/SdlDesktop.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/display/DesktopPixels.h"
#include "platform/display/SdlBackend.h"
#include "platform/display/X11Desktop.h"
#include "platform/user/CursorInternals.h"

namespace {

// Alpha below which a per-pixel alpha window has holes: on a desktop that cannot blend, those
// under half; on a compositing one only the clear ones (SDL gives desktop windows no alpha
// channel, so partly clear pixels show their colour).
constexpr BYTE OpaqueFallbackAlpha = 128;
constexpr BYTE CompositedAlpha = 1;
// Positions and sizes the back end gave a window, whose echoes from the desktop are no news.
constexpr size_t MaxPendingPlacements = 16;

std::optional<bool>& CompositingOverride() {
  static std::optional<bool> Override;
  return Override;
}

// One top-level window's desktop window.
struct TDesktopWindow {
  HWND Window = nullptr;
  SDL_Window* Sdl = nullptr;
  Uint32 Id = 0;
  TTopLevelKind Kind = TTopLevelKind::Normal;
  HWND Owner = nullptr;
  bool Shown = false;
  TRect Rect;         // where the back end last put it (screen)
  TPoint Position;    // its top-left as the desktop last reported it, for mouse positions
  TSize SurfaceSize;  // of the window surface last drawn into
  std::vector<TPoint> PendingMoves;
  std::vector<TSize> PendingSizes;
  std::string Title;
  HICON Icon = nullptr;
  bool Minimized = false;
  float Opacity = 1.0f;
  std::optional<std::vector<TRect>> Shape;  // as last set
};

template <class T>
void Remember(std::vector<T>& Pending, T Value) {
  if (Pending.size() >= MaxPendingPlacements) Pending.erase(Pending.begin());
  Pending.push_back(Value);
}

// True when Value is one the back end set: it and everything set before it are forgotten.
template <class T>
bool Echo(std::vector<T>& Pending, T Value) {
  auto It = std::find(Pending.begin(), Pending.end(), Value);
  if (It == Pending.end()) return false;
  Pending.erase(Pending.begin(), It + 1);
  return true;
}

class TSdlDesktop final : public TSdlBackend {
 public:
  TSdlDesktop() { FCompositing = CompositingOverride().value_or(X11CompositorPresent()); }
  ~TSdlDesktop() override { Close(); }

  void Close() {
    if (FClosed) return;
    FClosed = true;
    if (FCaptured) SDL_CaptureMouse(SDL_FALSE);
    EndInput();
    while (!FWindows.empty()) Destroy(FWindows.back()->Window);
    SDL_Quit();
  }

  TSize ScreenSize() override {
    SDL_Rect B;
    if (!FClosed && SDL_GetDisplayBounds(0, &B) == 0 && B.w > 0 && B.h > 0) return {B.x + B.w, B.y + B.h};
    return {1024, 768};
  }

  TRect WorkArea() override {
    SDL_Rect B;
    if (!FClosed && SDL_GetDisplayUsableBounds(0, &B) == 0 && B.w > 0 && B.h > 0)
      return {B.x, B.y, B.x + B.w, B.y + B.h};
    return {};
  }

  // The screen as a whole is nobody's to show here.
  void Present(const TSurface&, const std::vector<TRect>&) override {}

  bool ShowsTopLevels() const override { return true; }

  void PresentTopLevels(const std::vector<TTopLevelView>& Views) override {
    if (FClosed) return;
    FDoomed.clear();
    for (const auto& D : FWindows)
      if (std::none_of(Views.begin(), Views.end(),
                       [&](const TTopLevelView& V) { return V.Window == D->Window; }))
        FDoomed.push_back(D->Window);
    for (HWND H : FDoomed) Destroy(H);
    // Bottom first: windows made in this round stack in the window layer's order.
    for (auto It = Views.rbegin(); It != Views.rend(); ++It) Show(*It);
    HWND Active = nullptr;
    for (const TTopLevelView& V : Views)
      if (V.Active) Active = V.Window;
    // A window the program activated comes forward once; the desktop's own choice of focus
    // reaches the program as input and is not fought.
    if (Active != FActiveShown) {
      FActiveShown = Active;
      if (TDesktopWindow* D = Find(Active); D != nullptr && D->Sdl != SDL_GetKeyboardFocus() && !D->Minimized)
        SDL_RaiseWindow(D->Sdl);
    }
  }

  void SetMouseCapture(bool Captured) override {
    if (FClosed || Captured == FCaptured) return;
    FCaptured = Captured;
    SDL_CaptureMouse(Captured ? SDL_TRUE : SDL_FALSE);
  }

  TDesktopWindow* Find(HWND Window) {
    for (const auto& D : FWindows)
      if (D->Window == Window && Window != nullptr) return D.get();
    return nullptr;
  }

 private:
  TDesktopWindow* FindId(Uint32 Id) {
    for (const auto& D : FWindows)
      if (D->Id == Id) return D.get();
    return nullptr;
  }

  void Destroy(HWND Window) {
    auto It =
        std::find_if(FWindows.begin(), FWindows.end(), [&](const auto& D) { return D->Window == Window; });
    if (It == FWindows.end()) return;
    // Owned windows first: the desktop keeps no window above a vanished owner.
    for (const auto& D : FWindows)
      if (D->Owner == Window) {
        SetX11TransientFor(D->Sdl, nullptr);
        D->Owner = nullptr;
      }
    SDL_DestroyWindow((*It)->Sdl);
    FWindows.erase(It);
    if (FActiveShown == Window) FActiveShown = nullptr;
  }

  TDesktopWindow* Create(const TTopLevelView& V) {
    Uint32 Flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    // Popups never reach the task bar or the focus (the desktop leaves such windows alone).
    if (V.Kind == TTopLevelKind::Popup) Flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    SDL_Window* W =
        SDL_CreateWindow(V.Title.c_str(), V.Rect.Left, V.Rect.Top, V.Rect.Width(), V.Rect.Height(), Flags);
    if (W == nullptr) {
      std::fprintf(stderr, "SDL desktop: no window: %s\n", SDL_GetError());
      return nullptr;
    }
    auto D = std::make_unique<TDesktopWindow>();
    D->Window = V.Window;
    D->Sdl = W;
    D->Id = SDL_GetWindowID(W);
    D->Kind = V.Kind;
    D->Rect = V.Rect;
    D->Position = V.Rect.TopLeft();
    D->Title = V.Title;
    FWindows.push_back(std::move(D));
    return FWindows.back().get();
  }

  void Show(const TTopLevelView& V) {
    if (V.Rect.Width() <= 0 || V.Rect.Height() <= 0 || V.Surface == nullptr) {
      Destroy(V.Window);  // nothing to show
      return;
    }
    TDesktopWindow* D = Find(V.Window);
    if (D != nullptr && D->Kind != V.Kind) {
      Destroy(V.Window);  // the kind of a desktop window is fixed when it is made
      D = nullptr;
    }
    if (D == nullptr && (D = Create(V)) == nullptr) return;
    SyncOwner(*D, V);
    SyncPlacement(*D, V);
    SyncLooks(*D, V);
    // Shown before drawn: an unmapped window keeps no pixels.
    if (!D->Shown) {
      D->Shown = true;
      SDL_ShowWindow(D->Sdl);
      if (V.Minimized) SDL_MinimizeWindow(D->Sdl);
    }
    Upload(*D, V);
  }

  void SyncOwner(TDesktopWindow& D, const TTopLevelView& V) {
    if (D.Kind != TTopLevelKind::Normal || D.Owner == V.Owner) return;
    D.Owner = V.Owner;
    const TDesktopWindow* O = Find(V.Owner);
    SetX11TransientFor(D.Sdl, O != nullptr ? O->Sdl : nullptr);
  }

  void SyncPlacement(TDesktopWindow& D, const TTopLevelView& V) {
    if (V.Minimized != D.Minimized) {
      D.Minimized = V.Minimized;
      if (D.Shown) V.Minimized ? SDL_MinimizeWindow(D.Sdl) : SDL_RestoreWindow(D.Sdl);
    }
    if (V.Minimized) return;  // the window layer's icon position is not the desktop's
    if (V.Rect.Width() != D.Rect.Width() || V.Rect.Height() != D.Rect.Height()) {
      Remember(D.PendingSizes, TSize{V.Rect.Width(), V.Rect.Height()});
      SDL_SetWindowSize(D.Sdl, V.Rect.Width(), V.Rect.Height());
    }
    if (V.Rect.TopLeft() != D.Rect.TopLeft()) {
      Remember(D.PendingMoves, V.Rect.TopLeft());
      SDL_SetWindowPosition(D.Sdl, V.Rect.Left, V.Rect.Top);
      D.Position = V.Rect.TopLeft();
    }
    D.Rect = V.Rect;
  }

  void SyncLooks(TDesktopWindow& D, const TTopLevelView& V) {
    if (V.Title != D.Title) {
      D.Title = V.Title;
      SDL_SetWindowTitle(D.Sdl, V.Title.c_str());
    }
    if (V.Icon != D.Icon) {
      D.Icon = V.Icon;
      SetIcon(D, V.Icon);
    }
    const float Opacity = FCompositing ? V.Alpha / 255.0f : 1.0f;
    if (Opacity != D.Opacity) {
      D.Opacity = Opacity;
      SetX11Opacity(D.Sdl, Opacity);
    }
  }

  static void SetIcon(TDesktopWindow& D, HICON Icon) {
    // A window may hold an icon its program has destroyed since.
    if (Icon == nullptr || !IsIconHandle(Icon) || Icon->Width <= 0 || Icon->Height <= 0) return;
    const std::vector<DWORD> Premultiplied = IconImage(Icon);
    std::vector<DWORD> Straight(Premultiplied.size());
    TSurface Src;
    Src.Width = Icon->Width;
    Src.Height = Icon->Height;
    Src.Bpp = 32;
    Src.Stride = static_cast<NativeInt>(Icon->Width) * 4;
    Src.Row0 = reinterpret_cast<Byte*>(const_cast<DWORD*>(Premultiplied.data()));
    CopyDesktopPixels(Src, Src.Bounds(), reinterpret_cast<Byte*>(Straight.data()), Icon->Width * 4,
                      TDesktopPixels::Straight);
    for (size_t I = 0; I < Straight.size(); ++I)
      Straight[I] = (Straight[I] & 0x00FFFFFFu) | (Premultiplied[I] & 0xFF000000u);
    SDL_Surface* Image =
        SDL_CreateRGBSurfaceFrom(Straight.data(), Icon->Width, Icon->Height, 32, Icon->Width * 4, 0x00FF0000,
                                 0x0000FF00, 0x000000FF, 0xFF000000);
    if (Image == nullptr) return;
    SDL_SetWindowIcon(D.Sdl, Image);
    SDL_FreeSurface(Image);
  }

  void Upload(TDesktopWindow& D, const TTopLevelView& V) {
    SDL_Surface* Out = SDL_GetWindowSurface(D.Sdl);
    if (Out == nullptr || Out->format->BytesPerPixel != 4) return;
    const TSurface& S = *V.Surface;
    const TRect Area{0, 0, std::min(S.Width, Out->w), std::min(S.Height, Out->h)};
    // A new or resized window surface holds nothing yet.
    const bool Whole = TSize{Out->w, Out->h} != D.SurfaceSize;
    D.SurfaceSize = {Out->w, Out->h};
    std::vector<TRect> Rects = Whole ? std::vector<TRect>{Area} : V.Damaged;
    const TDesktopPixels Mode = V.PerPixelAlpha ? TDesktopPixels::Straight : TDesktopPixels::Opaque;
    std::vector<SDL_Rect> Updated;
    for (TRect R : Rects) {
      R = TRect{std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, Area.Right),
                std::min(R.Bottom, Area.Bottom)};
      if (R.Left >= R.Right || R.Top >= R.Bottom) continue;
      CopyDesktopPixels(S, R, static_cast<Byte*>(Out->pixels), Out->pitch, Mode);
      Updated.push_back(SDL_Rect{R.Left, R.Top, R.Width(), R.Height()});
    }
    if (!Updated.empty())
      SDL_UpdateWindowSurfaceRects(D.Sdl, Updated.data(), static_cast<int>(Updated.size()));
    // Shapes that follow the pixels change with them; a region only when it is set anew.
    if (Whole || !Updated.empty() || V.Shape != nullptr) {
      std::optional<std::vector<TRect>> Shape =
          DesktopShape(V, FCompositing ? CompositedAlpha : OpaqueFallbackAlpha);
      if (Shape != D.Shape) {
        SetX11WindowShape(D.Sdl, Shape ? &*Shape : nullptr);
        D.Shape = std::move(Shape);
      }
    }
  }

  TPoint ToScreen(Uint32 WindowId, Integer X, Integer Y) override {
    // While dragging, the desktop window may move under the pointer (the move loop): the
    // pointer itself is the one sure position.
    const TDesktopWindow* D = FindId(WindowId);
    if (D == nullptr || FCaptured || SDL_GetMouseState(nullptr, nullptr) != 0) {
      TPoint P;
      if (!X11PointerPosition(P)) SDL_GetGlobalMouseState(&P.X, &P.Y);
      return P;
    }
    return {D->Position.X + X, D->Position.Y + Y};
  }

  void PushWindowEvent(TInputEventKind Kind, HWND Window, Integer X = 0, Integer Y = 0, UINT Command = 0) {
    TInputEvent Ev;
    Ev.Kind = Kind;
    Ev.Window = Window;
    Ev.X = X;
    Ev.Y = Y;
    Ev.SysCommand = Command;
    Push(std::move(Ev));
  }

  void Translate(const SDL_Event& E) override {
    if (FClosed || TranslateInput(E)) return;
    if (E.type == SDL_QUIT) {  // the session asks the program to end
      TInputEvent Ev;
      Ev.Kind = TInputEventKind::CloseRequest;
      Push(std::move(Ev));
      return;
    }
    if (E.type != SDL_WINDOWEVENT) return;
    TDesktopWindow* D = FindId(E.window.windowID);
    if (D == nullptr) return;
    const HWND H = D->Window;
    switch (E.window.event) {
      case SDL_WINDOWEVENT_MOVED: {
        const TPoint P{E.window.data1, E.window.data2};
        D->Position = P;
        if (Echo(D->PendingMoves, P) || D->Minimized || P == D->Rect.TopLeft()) break;
        D->Rect = TRect{P.X, P.Y, P.X + D->Rect.Width(), P.Y + D->Rect.Height()};
        PushWindowEvent(TInputEventKind::WindowMoved, H, P.X, P.Y);
        break;
      }
      case SDL_WINDOWEVENT_SIZE_CHANGED: {
        const TSize Size{E.window.data1, E.window.data2};
        if (Echo(D->PendingSizes, Size) || D->Minimized || Size == TSize{D->Rect.Width(), D->Rect.Height()})
          break;
        D->Rect.Right = D->Rect.Left + Size.cx;
        D->Rect.Bottom = D->Rect.Top + Size.cy;
        PushWindowEvent(TInputEventKind::WindowResized, H, Size.cx, Size.cy);
        break;
      }
      case SDL_WINDOWEVENT_MINIMIZED:
        if (!D->Minimized) {
          D->Minimized = true;
          PushWindowEvent(TInputEventKind::WindowCommand, H, 0, 0, SC_MINIMIZE);
        }
        break;
      case SDL_WINDOWEVENT_RESTORED:
        if (D->Minimized) {
          D->Minimized = false;
          PushWindowEvent(TInputEventKind::WindowCommand, H, 0, 0, SC_RESTORE);
        }
        break;
      case SDL_WINDOWEVENT_CLOSE:
        PushWindowEvent(TInputEventKind::WindowCommand, H, 0, 0, SC_CLOSE);
        break;
      case SDL_WINDOWEVENT_EXPOSED:
        SDL_UpdateWindowSurface(D->Sdl);
        break;
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        PushWindowEvent(TInputEventKind::WindowActivated, H);
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        // SDL has taken in every pending desktop event: no focus now means another program's.
        if (SDL_GetKeyboardFocus() == nullptr) PushWindowEvent(TInputEventKind::AppDeactivated, nullptr);
        break;
      default:
        break;
    }
  }

  bool FClosed = false;
  bool FCompositing = false;
  bool FCaptured = false;
  HWND FActiveShown = nullptr;
  std::vector<std::unique_ptr<TDesktopWindow>> FWindows;
  std::vector<HWND> FDoomed;
};

TSdlDesktop* AsDesktop(TDisplayBackend& Backend) {
  return dynamic_cast<TSdlDesktop*>(&Backend);
}

}  // namespace

std::unique_ptr<TDisplayBackend> CreateSdlDesktop() {
  if (TSdlBackend::AnyOpen()) {
    std::fprintf(stderr, "SDL display unavailable: one is already open\n");
    return nullptr;
  }
  // Pixels go straight to the X server; the accelerated path would remake every window (and
  // drop what was set on it) when its surface is first asked for.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (!StartSdlVideo()) return nullptr;
  SDL_Rect Bounds;
  if (SDL_GetNumVideoDisplays() < 1 || SDL_GetDisplayBounds(0, &Bounds) != 0) {
    FailSdlStart("SDL_GetDisplayBounds");
    return nullptr;
  }
  return std::make_unique<TSdlDesktop>();
}

TDisplayBackend* OpenSdlDesktop() {
  std::unique_ptr<TDisplayBackend> Desktop = CreateSdlDesktop();
  if (!Desktop) return nullptr;
  // The object stays (the window layer may still hold it while the program ends); only the
  // desktop windows and SDL go.
  static TSdlDesktop* Opened;
  Opened = static_cast<TSdlDesktop*>(Desktop.release());
  static const bool AtExit = std::atexit([] { Opened->Close(); }) == 0;
  (void)AtExit;
  return Opened;
}

void SetSdlDesktopCompositing(std::optional<bool> Compositing) {
  CompositingOverride() = Compositing;
}

bool ReadSdlDesktopWindow(TDisplayBackend& Backend, HWND Window, std::vector<DWORD>& Pixels, TSize& Size) {
  TSdlDesktop* D = AsDesktop(Backend);
  TDesktopWindow* W = D != nullptr ? D->Find(Window) : nullptr;
  return W != nullptr && ReadX11WindowPixels(W->Sdl, Pixels, Size);
}

bool ReadSdlDesktopShape(TDisplayBackend& Backend, HWND Window, std::vector<TRect>& Rects) {
  TSdlDesktop* D = AsDesktop(Backend);
  TDesktopWindow* W = D != nullptr ? D->Find(Window) : nullptr;
  return W != nullptr && GetX11WindowShape(W->Sdl, Rects);
}

unsigned long SdlDesktopWindowId(TDisplayBackend& Backend, HWND Window) {
  TSdlDesktop* D = AsDesktop(Backend);
  TDesktopWindow* W = D != nullptr ? D->Find(Window) : nullptr;
  return W != nullptr ? X11WindowId(W->Sdl) : 0;
}
