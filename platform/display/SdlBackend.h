#pragma once
// What the SDL back ends share: SDL start-up, the input queue with waits and wakes, mouse, key
// and text translation, cursors and the clipboard. A back end adds how it shows pixels and
// where its windows lie on the screen.
#include <SDL.h>

#include <atomic>
#include <deque>
#include <string>

#include "platform/display/SdlCursors.h"
#include "platform/user/DisplayBackend.h"

// Starts SDL's video with the hints of a desktop program. False when it cannot (the reason
// goes to stderr and SDL is ended again).
bool StartSdlVideo();
// SDL ended after a failure at What: the reason goes to stderr.
void FailSdlStart(const char* What);

class TSdlBackend : public TDisplayBackend {
 public:
  ~TSdlBackend() override { EndInput(); }
  // True while an SDL back end is open: SDL has one event queue per process, so one at a time.
  static bool AnyOpen();

  bool PollInput(TInputEvent& Ev) override;
  void WaitInput(DWORD TimeoutMs) override;
  void Wake() override;
  void SetCursorShape(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot) override;
  std::string GetClipboardText() override;
  void SetClipboardText(const std::string& Text) override;

 protected:
  TSdlBackend();
  // Stops input before the back end closes its windows and ends SDL: afterwards nothing is
  // delivered and waits return at once.
  void EndInput();
  bool InputOpen() const { return FOpen; }

  // Turns one SDL event into input events (TranslateInput does the mouse, key and text ones).
  virtual void Translate(const SDL_Event& E) = 0;
  // The screen point of a mouse position (X, Y) in the desktop window WindowId.
  virtual TPoint ToScreen(Uint32 WindowId, Integer X, Integer Y) = 0;
  // Appends the input events of a mouse, wheel, key or text event; false for other events.
  bool TranslateInput(const SDL_Event& E);
  void Push(TInputEvent Ev) { FQueue.push_back(std::move(Ev)); }
  bool QueueEmpty() const { return FQueue.empty(); }

 private:
  void PushMouse(TInputEventKind Kind, TPoint At);
  void PushWheel(Integer Notches, bool Horizontal, TPoint At);

  const Uint32 FWakeEventType;
  std::deque<TInputEvent> FQueue;
  std::atomic<bool> FWakePending{false};
  std::atomic<bool> FOpen{true};  // Wake may ask from another thread
  TSdlCursors FCursors;
  TPoint FMouse;
};
