// Mouse capture. One capture window for the application; the mouse routing sends it every mouse
// message while it holds the capture.
#include "platform/user/InputState.h"

namespace {

// Only the window losing the capture hears of the change.
HWND ChangeCapture(HWND New) {
  TInputState& S = InputState();
  const HWND Old = PeekWindow(S.Capture) != nullptr ? S.Capture : nullptr;
  S.Capture = New;
  if ((Old != nullptr) != (New != nullptr))
    if (TDisplayBackend* B = GetDisplayBackend()) B->SetMouseCapture(New != nullptr);
  if (Old != nullptr && Old != New)
    if (TWindow* O = PeekWindow(Old)) SendTo(O, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(New));
  return Old;
}

}  // namespace

HWND SetCapture(HWND Wnd) {
  InstallWindowInput();
  if (Wnd != nullptr && WindowFromHandle(Wnd) == nullptr) return nullptr;
  return ChangeCapture(Wnd);
}

BOOL ReleaseCapture() {
  ChangeCapture(nullptr);
  return TRUE;
}

HWND GetCapture() {
  const HWND H = InputState().Capture;
  return PeekWindow(H) != nullptr ? H : nullptr;
}

void ReleaseCaptureWithin(const TWindow* W) {
  if (IsWithin(W, InputState().Capture)) ReleaseCapture();
}

LRESULT DefCancelMode(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam) {
  LRESULT Result = 0;
  if (const TDefWindowProcHandler Previous = InputState().Previous[WM_CANCELMODE]) {
    const HWND H = W->Handle;
    Result = Previous(W, Msg, WParam, LParam);
    if ((W = PeekWindow(H)) == nullptr) return Result;
  }
  if (GetCapture() == W->Handle) ReleaseCapture();
  return Result;
}
