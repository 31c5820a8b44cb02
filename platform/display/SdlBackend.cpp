#include "platform/display/SdlBackend.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "platform/display/SdlKeyMap.h"

namespace {

std::atomic<Integer> OpenBackends{0};

Uint32 RegisterWakeEvent() {
  const Uint32 Type = SDL_RegisterEvents(1);
  return Type == static_cast<Uint32>(-1) ? static_cast<Uint32>(SDL_USEREVENT) : Type;
}

}  // namespace

bool StartSdlVideo() {
  // A desktop program, not a game: Ctrl+C keeps its default meaning, the screen saver and the
  // compositor stay on, closing a window is a request the program may turn down, and the
  // click that activates a window reaches it too.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    FailSdlStart("SDL_Init");
    return false;
  }
  // Dropped files carry memory the receiver must free; nobody takes them.
  for (Uint32 Type : {SDL_DROPFILE, SDL_DROPTEXT, SDL_DROPBEGIN, SDL_DROPCOMPLETE})
    SDL_EventState(Type, SDL_DISABLE);
  return true;
}

void FailSdlStart(const char* What) {
  std::fprintf(stderr, "SDL display unavailable: %s: %s\n", What, SDL_GetError());
  SDL_Quit();
}

bool TSdlBackend::AnyOpen() {
  return OpenBackends > 0;
}

TSdlBackend::TSdlBackend() : FWakeEventType(RegisterWakeEvent()) {
  ++OpenBackends;
  SDL_GetGlobalMouseState(&FMouse.X, &FMouse.Y);
  SDL_StartTextInput();
}

void TSdlBackend::EndInput() {
  if (!FOpen.exchange(false)) return;
  --OpenBackends;
  SDL_StopTextInput();
  FCursors.Clear();
  FQueue.clear();
}

bool TSdlBackend::PollInput(TInputEvent& Ev) {
  SDL_Event E;
  while (FQueue.empty() && FOpen && SDL_PollEvent(&E)) Translate(E);
  if (FQueue.empty()) return false;
  Ev = std::move(FQueue.front());
  FQueue.pop_front();
  return true;
}

void TSdlBackend::WaitInput(DWORD TimeoutMs) {
  if (FWakePending.exchange(false) || !FQueue.empty() || !FOpen) return;
  SDL_Event E;
  const int Got = TimeoutMs == 0xFFFFFFFF
                      ? SDL_WaitEvent(&E)
                      : SDL_WaitEventTimeout(&E, static_cast<int>(std::min<DWORD>(TimeoutMs, INT_MAX)));
  if (!Got) return;
  if (E.type == FWakeEventType)
    FWakePending.store(false);
  else
    Translate(E);
}

void TSdlBackend::Wake() {
  // One wake event in flight is enough; the flag also covers a Wake before the wait.
  if (FWakePending.exchange(true) || !FOpen) return;
  SDL_Event E{};
  E.type = FWakeEventType;
  SDL_PushEvent(&E);
}

void TSdlBackend::SetCursorShape(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot) {
  if (FOpen) FCursors.Show(Pixels, Width, Height, HotSpot);
}

std::string TSdlBackend::GetClipboardText() {
  if (!FOpen) return {};
  char* Text = SDL_GetClipboardText();
  std::string Result = Text ? Text : "";
  SDL_free(Text);
  return Result;
}

void TSdlBackend::SetClipboardText(const std::string& Text) {
  if (FOpen) SDL_SetClipboardText(Text.c_str());
}

void TSdlBackend::PushMouse(TInputEventKind Kind, TPoint At) {
  FMouse = At;
  TInputEvent Ev;
  Ev.Kind = Kind;
  Ev.X = At.X;
  Ev.Y = At.Y;
  Push(std::move(Ev));
}

void TSdlBackend::PushWheel(Integer Notches, bool Horizontal, TPoint At) {
  if (Notches == 0) return;
  TInputEvent Ev;
  Ev.Kind = TInputEventKind::Wheel;
  Ev.X = At.X;
  Ev.Y = At.Y;
  Ev.WheelDelta = Notches * 120;
  Ev.Horizontal = Horizontal;
  Push(std::move(Ev));
}

bool TSdlBackend::TranslateInput(const SDL_Event& E) {
  switch (E.type) {
    case SDL_MOUSEMOTION:
      PushMouse(TInputEventKind::MouseMove, ToScreen(E.motion.windowID, E.motion.x, E.motion.y));
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      // SDL numbers the buttons 1 to 5: left, middle, right, X1, X2.
      static constexpr TInputButton Buttons[] = {TInputButton::Left, TInputButton::Middle,
                                                 TInputButton::Right, TInputButton::X1, TInputButton::X2};
      if (E.button.button < 1 || E.button.button > 5) return true;
      PushMouse(E.type == SDL_MOUSEBUTTONDOWN ? TInputEventKind::ButtonDown : TInputEventKind::ButtonUp,
                ToScreen(E.button.windowID, E.button.x, E.button.y));
      FQueue.back().Button = Buttons[E.button.button - 1];
      return true;
    }
    case SDL_MOUSEWHEEL: {
      // SDL reports a "natural scrolling" wheel with both signs turned round.
      const Integer Sign = E.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
#if SDL_VERSION_ATLEAST(2, 26, 0)
      const TPoint At = ToScreen(E.wheel.windowID, E.wheel.mouseX, E.wheel.mouseY);
#else
      const TPoint At = FMouse;
#endif
      PushWheel(E.wheel.y * Sign, false, At);
      PushWheel(E.wheel.x * Sign, true, At);
      return true;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const SDL_Keysym& K = E.key.keysym;
      const TSdlKey Key = SdlKeyToVirtualKey(K.scancode, K.sym, (K.mod & KMOD_NUM) != 0);
      if (Key.VirtualKey == 0) return true;
      TInputEvent Ev;
      Ev.Kind = E.type == SDL_KEYDOWN ? TInputEventKind::KeyDown : TInputEventKind::KeyUp;
      Ev.VirtualKey = Key.VirtualKey;
      Ev.ScanCode = Key.ScanCode;
      Ev.Repeat = E.key.repeat != 0;
      Push(std::move(Ev));
      return true;
    }
    case SDL_TEXTINPUT: {
      TInputEvent Ev;
      Ev.Kind = TInputEventKind::Text;
      Ev.Text = E.text.text;
      Push(std::move(Ev));
      return true;
    }
    default:
      return false;
  }
}
