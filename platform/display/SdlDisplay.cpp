#include "platform/display/SdlDisplay.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "platform/display/SdlKeyMap.h"

namespace {

constexpr TSize DefaultRequestedSize{1280, 800};
constexpr TSize MinimumWindowSize{320, 240};
// Distinct cursor images kept as SDL cursors; beyond this all but the current one are freed
// (programs that draw cursors on the fly would otherwise grow the cache without end).
constexpr size_t MaxCachedCursors = 64;

std::string& WindowTitle() {
  static std::string Title = "Tilvarok";
  return Title;
}

struct TCachedCursor {
  UInt64 Hash = 0;
  Integer Width = 0;
  Integer Height = 0;
  TPoint HotSpot;
  std::vector<DWORD> Pixels;  // premultiplied, as given
  SDL_Cursor* Cursor = nullptr;
};

UInt64 CursorHash(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot) {
  UInt64 H = 1469598103934665603ull;  // FNV-1a
  auto Mix = [&H](UInt64 V) {
    H ^= V;
    H *= 1099511628211ull;
  };
  Mix(static_cast<UInt64>(Width) << 32 | static_cast<Cardinal>(Height));
  Mix(static_cast<UInt64>(HotSpot.X) << 32 | static_cast<Cardinal>(HotSpot.Y));
  const size_t Count = static_cast<size_t>(Width) * Height;
  for (size_t I = 0; I < Count; ++I) Mix(Pixels[I]);
  return H;
}

// Premultiplied ARGB to straight ARGB, as SDL cursors take it.
DWORD Unpremultiply(DWORD P) {
  const DWORD A = P >> 24;
  if (A == 0) return 0;
  if (A == 255) return P;
  auto Channel = [A](DWORD C) { return std::min<DWORD>(255, (C * 255 + A / 2) / A); };
  return (A << 24) | (Channel((P >> 16) & 0xFF) << 16) | (Channel((P >> 8) & 0xFF) << 8) | Channel(P & 0xFF);
}

class TSdlDisplay;
TSdlDisplay* LiveDisplay = nullptr;

class TSdlDisplay final : public TDisplayBackend {
 public:
  TSdlDisplay(SDL_Window* Window, SDL_Renderer* Renderer, Uint32 WakeEventType)
      : FWindow(Window), FRenderer(Renderer), FWakeEventType(WakeEventType) {
    SDL_GetWindowSize(FWindow, &FScreenSize.cx, &FScreenSize.cy);
    SDL_GetMouseState(&FMouse.X, &FMouse.Y);
    LiveDisplay = this;
  }

  ~TSdlDisplay() override { Close(); }

  // Closes the desktop window and ends SDL. Afterwards the object shows and delivers nothing
  // and waits return at once.
  void Close() {
    if (!FOpen.exchange(false)) return;
    LiveDisplay = nullptr;
    SDL_StopTextInput();
    SDL_SetCursor(SDL_GetDefaultCursor());
    for (TCachedCursor& C : FCursors) SDL_FreeCursor(C.Cursor);
    FCursors.clear();
    FCurrentCursor = nullptr;
    if (FTexture) SDL_DestroyTexture(FTexture);
    FTexture = nullptr;
    SDL_DestroyRenderer(FRenderer);
    SDL_DestroyWindow(FWindow);
    FRenderer = nullptr;
    FWindow = nullptr;
    FQueue.clear();
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

  bool PollInput(TInputEvent& Ev) override {
    SDL_Event E;
    while (FQueue.empty() && FWindow && SDL_PollEvent(&E)) Translate(E);
    if (FQueue.empty()) return false;
    Ev = std::move(FQueue.front());
    FQueue.pop_front();
    return true;
  }

  void WaitInput(DWORD TimeoutMs) override {
    if (FWakePending.exchange(false) || !FQueue.empty() || !FWindow) return;
    SDL_Event E;
    const int Got = TimeoutMs == 0xFFFFFFFF
                        ? SDL_WaitEvent(&E)
                        : SDL_WaitEventTimeout(&E, static_cast<int>(std::min<DWORD>(TimeoutMs, INT_MAX)));
    if (!Got) return;
    if (E.type == FWakeEventType) {
      FWakePending.store(false);
    } else {
      Translate(E);
    }
  }

  void Wake() override {
    // One wake event in flight is enough; the flag also covers a Wake before the wait.
    if (FWakePending.exchange(true) || !FOpen) return;
    SDL_Event E{};
    E.type = FWakeEventType;
    SDL_PushEvent(&E);
  }

  void SetCursorShape(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot) override {
    if (!FWindow) return;
    if (!Pixels || Width <= 0 || Height <= 0) {
      ShowCursor(false);
      return;
    }
    HotSpot.X = std::clamp(HotSpot.X, 0, Width - 1);
    HotSpot.Y = std::clamp(HotSpot.Y, 0, Height - 1);
    SDL_Cursor* Cursor = FindCursor(Pixels, Width, Height, HotSpot);
    if (!Cursor) return;  // keep the one shown
    if (Cursor != FCurrentCursor) {
      SDL_SetCursor(Cursor);
      FCurrentCursor = Cursor;
    }
    ShowCursor(true);
  }

  std::string GetClipboardText() override {
    if (!FWindow) return {};
    char* Text = SDL_GetClipboardText();
    std::string Result = Text ? Text : "";
    SDL_free(Text);
    return Result;
  }

  void SetClipboardText(const std::string& Text) override {
    if (FWindow) SDL_SetClipboardText(Text.c_str());
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
  TPoint OnScreen(Integer X, Integer Y) const {
    return {std::clamp(X, 0, std::max(FScreenSize.cx - 1, 0)),
            std::clamp(Y, 0, std::max(FScreenSize.cy - 1, 0))};
  }

  void PushMouse(TInputEventKind Kind, Integer X, Integer Y) {
    FMouse = OnScreen(X, Y);
    TInputEvent Ev;
    Ev.Kind = Kind;
    Ev.X = FMouse.X;
    Ev.Y = FMouse.Y;
    FQueue.push_back(std::move(Ev));
  }

  void PushWheel(Integer Notches, bool Horizontal, Integer X, Integer Y) {
    if (Notches == 0) return;
    TInputEvent Ev;
    Ev.Kind = TInputEventKind::Wheel;
    Ev.X = X;
    Ev.Y = Y;
    Ev.WheelDelta = Notches * 120;
    Ev.Horizontal = Horizontal;
    FQueue.push_back(std::move(Ev));
  }

  void Translate(const SDL_Event& E) {
    switch (E.type) {
      case SDL_MOUSEMOTION:
        PushMouse(TInputEventKind::MouseMove, E.motion.x, E.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        // SDL numbers the buttons 1 to 5: left, middle, right, X1, X2.
        static constexpr TInputButton Buttons[] = {TInputButton::Left, TInputButton::Middle,
                                                   TInputButton::Right, TInputButton::X1, TInputButton::X2};
        if (E.button.button < 1 || E.button.button > 5) break;
        PushMouse(E.type == SDL_MOUSEBUTTONDOWN ? TInputEventKind::ButtonDown : TInputEventKind::ButtonUp,
                  E.button.x, E.button.y);
        FQueue.back().Button = Buttons[E.button.button - 1];
        break;
      }
      case SDL_MOUSEWHEEL: {
        // SDL reports a "natural scrolling" wheel with both signs turned round.
        const Integer Sign = E.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
#if SDL_VERSION_ATLEAST(2, 26, 0)
        const TPoint At = OnScreen(E.wheel.mouseX, E.wheel.mouseY);
#else
        const TPoint At = FMouse;
#endif
        PushWheel(E.wheel.y * Sign, false, At.X, At.Y);
        PushWheel(E.wheel.x * Sign, true, At.X, At.Y);
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        const SDL_Keysym& K = E.key.keysym;
        const TSdlKey Key = SdlKeyToVirtualKey(K.scancode, K.sym, (K.mod & KMOD_NUM) != 0);
        if (Key.VirtualKey == 0) break;
        TInputEvent Ev;
        Ev.Kind = E.type == SDL_KEYDOWN ? TInputEventKind::KeyDown : TInputEventKind::KeyUp;
        Ev.VirtualKey = Key.VirtualKey;
        Ev.ScanCode = Key.ScanCode;
        Ev.Repeat = E.key.repeat != 0;
        FQueue.push_back(std::move(Ev));
        break;
      }
      case SDL_TEXTINPUT: {
        TInputEvent Ev;
        Ev.Kind = TInputEventKind::Text;
        Ev.Text = E.text.text;
        FQueue.push_back(std::move(Ev));
        break;
      }
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
          case SDL_WINDOWEVENT_CLOSE: {
            TInputEvent Ev;
            Ev.Kind = TInputEventKind::CloseRequest;
            FQueue.push_back(std::move(Ev));
            break;
          }
          default:
            break;
        }
        break;
      case SDL_QUIT: {  // the session asks the program to end (window closes come above)
        TInputEvent Ev;
        Ev.Kind = TInputEventKind::CloseRequest;
        FQueue.push_back(std::move(Ev));
        break;
      }
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

  void PushScreenResize() {
    TInputEvent Ev;
    Ev.Kind = TInputEventKind::ScreenResize;
    Ev.X = FScreenSize.cx;
    Ev.Y = FScreenSize.cy;
    FQueue.push_back(std::move(Ev));
  }

  // The window layer sets the cursor on every mouse move; X is told only about changes.
  void ShowCursor(bool Show) {
    if (Show == FCursorShown) return;
    SDL_ShowCursor(Show ? SDL_ENABLE : SDL_DISABLE);
    FCursorShown = Show;
  }

  SDL_Cursor* FindCursor(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot) {
    const UInt64 Hash = CursorHash(Pixels, Width, Height, HotSpot);
    const size_t Count = static_cast<size_t>(Width) * Height;
    for (const TCachedCursor& C : FCursors) {
      if (C.Hash == Hash && C.Width == Width && C.Height == Height && C.HotSpot == HotSpot &&
          std::equal(Pixels, Pixels + Count, C.Pixels.begin())) {
        return C.Cursor;
      }
    }
    std::vector<DWORD> Straight(Count);
    std::transform(Pixels, Pixels + Count, Straight.begin(), Unpremultiply);
    SDL_Surface* Image = SDL_CreateRGBSurfaceFrom(Straight.data(), Width, Height, 32, Width * 4, 0x00FF0000,
                                                  0x0000FF00, 0x000000FF, 0xFF000000);
    if (!Image) return nullptr;
    SDL_Cursor* Cursor = SDL_CreateColorCursor(Image, HotSpot.X, HotSpot.Y);
    SDL_FreeSurface(Image);
    if (!Cursor) return nullptr;
    if (FCursors.size() >= MaxCachedCursors) {
      std::erase_if(FCursors, [this](const TCachedCursor& C) {
        if (C.Cursor == FCurrentCursor) return false;
        SDL_FreeCursor(C.Cursor);
        return true;
      });
    }
    FCursors.push_back({Hash, Width, Height, HotSpot, std::vector<DWORD>(Pixels, Pixels + Count), Cursor});
    return Cursor;
  }

  SDL_Window* FWindow;
  SDL_Renderer* FRenderer;
  const Uint32 FWakeEventType;
  SDL_Texture* FTexture = nullptr;
  TSize FTextureSize;
  TSize FScreenSize;
  TPoint FMouse;
  std::deque<TInputEvent> FQueue;
  std::atomic<bool> FWakePending{false};
  std::atomic<bool> FOpen{true};  // Wake may ask from another thread
  std::vector<TCachedCursor> FCursors;
  SDL_Cursor* FCurrentCursor = nullptr;
  bool FCursorShown = true;
};

std::unique_ptr<TDisplayBackend> Fail(const char* What) {
  std::fprintf(stderr, "SDL display unavailable: %s: %s\n", What, SDL_GetError());
  SDL_Quit();
  return nullptr;
}

}  // namespace

std::unique_ptr<TDisplayBackend> CreateSdlDisplay(TSize Requested) {
  if (LiveDisplay) {
    std::fprintf(stderr, "SDL display unavailable: one is already open\n");
    return nullptr;
  }
  // A desktop program, not a game: Ctrl+C keeps its default meaning, the screen saver and the
  // compositor stay on, closing the window is a request the program may turn down, and the
  // click that activates the window reaches it too.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return Fail("SDL_Init");

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
  Uint32 WakeEventType = SDL_RegisterEvents(1);
  if (WakeEventType == static_cast<Uint32>(-1)) WakeEventType = SDL_USEREVENT;
  // Dropped files carry memory the receiver must free; nobody takes them.
  for (Uint32 Type : {SDL_DROPFILE, SDL_DROPTEXT, SDL_DROPBEGIN, SDL_DROPCOMPLETE}) {
    SDL_EventState(Type, SDL_DISABLE);
  }
  SDL_StartTextInput();
  return std::make_unique<TSdlDisplay>(Window, Renderer, WakeEventType);
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
