#include "platform/display/SdlDisplay.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/display/SdlBackend.h"

namespace {

constexpr TSize DefaultRequestedSize{1280, 800};
constexpr TSize MinimumWindowSize{320, 240};

std::string& WindowTitle() {
  static std::string Title = "Tilvarok";
  return Title;
}

class TSdlDisplay;
TSdlDisplay* LiveDisplay = nullptr;

class TSdlDisplay final : public TSdlBackend {
 public:
  TSdlDisplay(SDL_Window* Window, SDL_Renderer* Renderer) : FWindow(Window), FRenderer(Renderer) {
    SDL_GetWindowSize(FWindow, &FScreenSize.cx, &FScreenSize.cy);
    LiveDisplay = this;
  }

  ~TSdlDisplay() override { Close(); }

  // Closes the desktop window and ends SDL. Afterwards the object shows and delivers nothing
  // and waits return at once.
  void Close() {
    if (!FWindow) return;
    LiveDisplay = nullptr;
    EndInput();
    if (FTexture) SDL_DestroyTexture(FTexture);
    FTexture = nullptr;
    SDL_DestroyRenderer(FRenderer);
    SDL_DestroyWindow(FWindow);
    FRenderer = nullptr;
    FWindow = nullptr;
    SDL_Quit();
  }

  TSize ScreenSize() override { return FScreenSize; }

  void Present(const TSurface& Screen, const std::vector<TRect>& Damaged) override {
    if (!FWindow || Screen.Bpp != 32 || Screen.Width <= 0 || Screen.Height <= 0) return;
    bool Whole = false;
    if (!FTexture || FTextureSize != TSize{Screen.Width, Screen.Height}) {
      if (!CreateTexture({Screen.Width, Screen.Height})) return;
      Whole = true;  // a new texture holds nothing yet
    }
    if (Whole) {
      Upload(Screen, Screen.Bounds());
    } else {
      if (Damaged.empty()) return;
      for (const TRect& R : Damaged) Upload(Screen, R);
    }
    Render();
    SDL_RenderPresent(FRenderer);
  }

  void SetTitle(const std::string& Title) override {
    if (FWindow) SDL_SetWindowTitle(FWindow, Title.c_str());
  }

  bool ReadPixels(std::vector<DWORD>& Pixels, TSize& Size) {
    if (!FTexture) return false;
    Render();
    int OutW = 0, OutH = 0;
    SDL_GetRendererOutputSize(FRenderer, &OutW, &OutH);
    Size = {std::min(FTextureSize.cx, OutW), std::min(FTextureSize.cy, OutH)};
    Pixels.assign(static_cast<size_t>(Size.cx) * Size.cy, 0);
    const SDL_Rect Area{0, 0, Size.cx, Size.cy};
    const bool Ok = Pixels.empty() || SDL_RenderReadPixels(FRenderer, &Area, SDL_PIXELFORMAT_ARGB8888,
                                                           Pixels.data(), Size.cx * 4) == 0;
    SDL_RenderPresent(FRenderer);
    for (DWORD& P : Pixels) P &= 0x00FFFFFF;
    return Ok;
  }

 private:
  bool CreateTexture(TSize Size) {
    if (FTexture) SDL_DestroyTexture(FTexture);
    // ARGB8888 is the 32-bit word 0xAARRGGBB, i.e. the screen's B, G, R, A byte order.
    FTexture =
        SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, Size.cx, Size.cy);
    if (!FTexture) {
      std::fprintf(stderr, "SDL display: no %dx%d texture: %s\n", Size.cx, Size.cy, SDL_GetError());
      FTextureSize = {};
      return false;
    }
    // The screen's top byte is not alpha: copy, never blend.
    SDL_SetTextureBlendMode(FTexture, SDL_BLENDMODE_NONE);
    FTextureSize = Size;
    return true;
  }

  void Upload(const TSurface& Screen, TRect R) {
    R.Left = std::max(R.Left, 0);
    R.Top = std::max(R.Top, 0);
    R.Right = std::min(R.Right, Screen.Width);
    R.Bottom = std::min(R.Bottom, Screen.Height);
    if (R.Left >= R.Right || R.Top >= R.Bottom) return;
    if (Screen.Stride > 0 && Screen.Stride <= INT_MAX) {
      const SDL_Rect Area{R.Left, R.Top, R.Width(), R.Height()};
      SDL_UpdateTexture(FTexture, &Area, Screen.Row(R.Top) + R.Left * 4, static_cast<int>(Screen.Stride));
      return;
    }
    for (Integer Y = R.Top; Y < R.Bottom; ++Y) {  // bottom-up rows: one at a time
      const SDL_Rect Area{R.Left, Y, R.Width(), 1};
      SDL_UpdateTexture(FTexture, &Area, Screen.Row(Y) + R.Left * 4, R.Width() * 4);
    }
  }

  // Draws the texture at the window's top-left, 1:1; the rest (while the window layer has
  // not caught up with a resize) is black.
  void Render() {
    SDL_SetRenderDrawColor(FRenderer, 0, 0, 0, 255);
    SDL_RenderClear(FRenderer);
    if (!FTexture) return;
    const SDL_Rect Area{0, 0, FTextureSize.cx, FTextureSize.cy};
    SDL_RenderCopy(FRenderer, FTexture, nullptr, &Area);
  }

  // While a button is held SDL follows the mouse beyond the window; the cursor never leaves
  // the screen, so neither do mouse positions.
  TPoint ToScreen(Uint32, Integer X, Integer Y) override {
    return {std::clamp(X, 0, std::max(FScreenSize.cx - 1, 0)),
            std::clamp(Y, 0, std::max(FScreenSize.cy - 1, 0))};
  }

  void Translate(const SDL_Event& E) override {
    if (!FWindow || TranslateInput(E)) return;
    switch (E.type) {
      case SDL_WINDOWEVENT:
        switch (E.window.event) {
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (TSize{E.window.data1, E.window.data2} != FScreenSize) {
              FScreenSize = {E.window.data1, E.window.data2};
              PushScreenResize();
            }
            break;
          case SDL_WINDOWEVENT_EXPOSED:
            Render();
            SDL_RenderPresent(FRenderer);
            break;
          case SDL_WINDOWEVENT_CLOSE:
            PushCloseRequest();
            break;
          default:
            break;
        }
        break;
      case SDL_QUIT:  // the session asks the program to end (window closes come above)
        PushCloseRequest();
        break;
      case SDL_RENDER_DEVICE_RESET:
        // The texture is gone; a screen resize of the same size makes the window layer
        // present the whole screen again.
        if (FTexture) SDL_DestroyTexture(FTexture);
        FTexture = nullptr;
        FTextureSize = {};
        PushScreenResize();
        break;
      default:
        break;  // wake events and everything else
    }
  }

  void PushCloseRequest() {
    TInputEvent Ev;
    Ev.Kind = TInputEventKind::CloseRequest;
    Push(std::move(Ev));
  }

  void PushScreenResize() {
    TInputEvent Ev;
    Ev.Kind = TInputEventKind::ScreenResize;
    Ev.X = FScreenSize.cx;
    Ev.Y = FScreenSize.cy;
    Push(std::move(Ev));
  }

  SDL_Window* FWindow;
  SDL_Renderer* FRenderer;
  SDL_Texture* FTexture = nullptr;
  TSize FTextureSize;
  TSize FScreenSize;
};

std::unique_ptr<TDisplayBackend> Fail(const char* What) {
  FailSdlStart(What);
  return nullptr;
}

}  // namespace

std::unique_ptr<TDisplayBackend> CreateSdlDisplay(TSize Requested) {
  if (TSdlBackend::AnyOpen()) {
    std::fprintf(stderr, "SDL display unavailable: one is already open\n");
    return nullptr;
  }
  if (!StartSdlVideo()) return nullptr;

  TSize Size = Requested.cx > 0 && Requested.cy > 0 ? Requested : DefaultRequestedSize;
  SDL_Rect Usable;
  if (SDL_GetDisplayUsableBounds(0, &Usable) == 0 && Usable.w > 0 && Usable.h > 0) {
    Size.cx = std::min(Size.cx, Usable.w);
    Size.cy = std::min(Size.cy, Usable.h);
  }
  SDL_Window* Window = SDL_CreateWindow(WindowTitle().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        Size.cx, Size.cy, SDL_WINDOW_RESIZABLE);
  if (!Window) return Fail("SDL_CreateWindow");
  SDL_SetWindowMinimumSize(Window, MinimumWindowSize.cx, MinimumWindowSize.cy);
  SDL_Renderer* Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_ACCELERATED);
  if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
  if (!Renderer) {
    SDL_DestroyWindow(Window);
    return Fail("SDL_CreateRenderer");
  }
  return std::make_unique<TSdlDisplay>(Window, Renderer);
}

TDisplayBackend* OpenSdlDisplay() {
  std::unique_ptr<TDisplayBackend> Display = CreateSdlDisplay();
  if (!Display) return nullptr;
  // The object itself stays (the window layer may still hold it while the program ends);
  // only the desktop window and SDL go.
  static TSdlDisplay* Opened;
  Opened = static_cast<TSdlDisplay*>(Display.release());
  static const bool AtExit = std::atexit([] { Opened->Close(); }) == 0;
  (void)AtExit;
  return Opened;
}

void SetSdlWindowTitle(const std::string& Title) {
  WindowTitle() = Title;
  if (LiveDisplay) LiveDisplay->SetTitle(Title);
}

bool ReadSdlDisplayPixels(TDisplayBackend& Backend, std::vector<DWORD>& Pixels, TSize& Size) {
  auto* Sdl = dynamic_cast<TSdlDisplay*>(&Backend);
  return Sdl && Sdl->ReadPixels(Pixels, Size);
}
