// The headless back end and the back-end choice.
#include "platform/display/HeadlessDisplay.h"

#include <chrono>
#include <cstdlib>

#include "platform/user/WindowInternals.h"

THeadlessDisplay::THeadlessDisplay(TSize Size) : FSize(Size) {}

TSize THeadlessDisplay::ScreenSize() {
  std::lock_guard Guard(FLock);
  return FSize;
}

void THeadlessDisplay::Present(const TSurface&, const std::vector<TRect>& Damaged) {
  // The screen surface is the window layer's; presenting only counts and remembers.
  std::lock_guard Guard(FLock);
  FPresents++;
  FLastDamage = Damaged;
}

bool THeadlessDisplay::PollInput(TInputEvent& Ev) {
  std::lock_guard Guard(FLock);
  if (FInput.empty()) return false;
  Ev = std::move(FInput.front());
  FInput.pop_front();
  return true;
}

void THeadlessDisplay::WaitInput(DWORD TimeoutMs) {
  std::unique_lock Guard(FLock);
  auto Ready = [&] { return FWoken || !FInput.empty(); };
  if (TimeoutMs == 0xFFFFFFFFu)
    FCond.wait(Guard, Ready);
  else
    FCond.wait_for(Guard, std::chrono::milliseconds(TimeoutMs), Ready);
  FWoken = false;
}

void THeadlessDisplay::Wake() {
  {
    std::lock_guard Guard(FLock);
    FWoken = true;
  }
  FCond.notify_all();
}

void THeadlessDisplay::SetCursorShape(const DWORD* Pixels, Integer Width, Integer Height, TPoint) {
  std::lock_guard Guard(FLock);
  if (Pixels == nullptr || Width <= 0 || Height <= 0)
    FCursor.clear();
  else
    FCursor.assign(Pixels, Pixels + static_cast<std::size_t>(Width) * Height);
}

std::string THeadlessDisplay::GetClipboardText() {
  std::lock_guard Guard(FLock);
  return FClipboard;
}

void THeadlessDisplay::SetClipboardText(const std::string& Text) {
  std::lock_guard Guard(FLock);
  FClipboard = Text;
}

void THeadlessDisplay::SetTitle(const std::string& Title) {
  std::lock_guard Guard(FLock);
  FTitle = Title;
}

std::string THeadlessDisplay::Title() {
  std::lock_guard Guard(FLock);
  return FTitle;
}

void THeadlessDisplay::Resize(TSize Size) {
  {
    std::lock_guard Guard(FLock);
    FSize = Size;
  }
  TInputEvent Ev;
  Ev.Kind = TInputEventKind::ScreenResize;
  Ev.X = Size.cx;
  Ev.Y = Size.cy;
  Push(Ev);
}

void THeadlessDisplay::Push(const TInputEvent& Ev) {
  {
    std::lock_guard Guard(FLock);
    if (Ev.Kind == TInputEventKind::MouseMove || Ev.Kind == TInputEventKind::ButtonDown ||
        Ev.Kind == TInputEventKind::ButtonUp || Ev.Kind == TInputEventKind::Wheel)
      FMouse = {Ev.X, Ev.Y};
    FInput.push_back(Ev);
  }
  FCond.notify_all();
}

void THeadlessDisplay::MoveTo(Integer X, Integer Y) {
  TInputEvent Ev;
  Ev.Kind = TInputEventKind::MouseMove;
  Ev.X = X;
  Ev.Y = Y;
  Push(Ev);
}

void THeadlessDisplay::ButtonDown(TInputButton Button) {
  TInputEvent Ev;
  Ev.Kind = TInputEventKind::ButtonDown;
  Ev.Button = Button;
  const TPoint P = MousePosition();
  Ev.X = P.X;
  Ev.Y = P.Y;
  Push(Ev);
}

void THeadlessDisplay::ButtonUp(TInputButton Button) {
  TInputEvent Ev;
  Ev.Kind = TInputEventKind::ButtonUp;
  Ev.Button = Button;
  const TPoint P = MousePosition();
  Ev.X = P.X;
  Ev.Y = P.Y;
  Push(Ev);
}

void THeadlessDisplay::Click(Integer X, Integer Y, TInputButton Button) {
  MoveTo(X, Y);
  ButtonDown(Button);
  ButtonUp(Button);
}

void THeadlessDisplay::DoubleClick(Integer X, Integer Y) {
  Click(X, Y);
  ButtonDown();
  ButtonUp();
}

void THeadlessDisplay::Drag(TPoint From, TPoint To, Integer Steps, TInputButton Button) {
  Steps = std::max(Steps, 1);
  MoveTo(From.X, From.Y);
  ButtonDown(Button);
  for (Integer I = 1; I <= Steps; ++I)
    MoveTo(From.X + (To.X - From.X) * I / Steps, From.Y + (To.Y - From.Y) * I / Steps);
  ButtonUp(Button);
}

void THeadlessDisplay::KeyDown(Word VirtualKey) {
  TInputEvent Ev;
  Ev.Kind = TInputEventKind::KeyDown;
  Ev.VirtualKey = VirtualKey;
  Push(Ev);
}

void THeadlessDisplay::KeyUp(Word VirtualKey) {
  TInputEvent Ev;
  Ev.Kind = TInputEventKind::KeyUp;
  Ev.VirtualKey = VirtualKey;
  Push(Ev);
}

void THeadlessDisplay::KeyPress(Word VirtualKey, UINT Modifiers) {
  if (Modifiers & kmControl) KeyDown(VK_CONTROL);
  if (Modifiers & kmShift) KeyDown(VK_SHIFT);
  if (Modifiers & kmAlt) KeyDown(VK_MENU);
  KeyDown(VirtualKey);
  KeyUp(VirtualKey);
  if (Modifiers & kmAlt) KeyUp(VK_MENU);
  if (Modifiers & kmShift) KeyUp(VK_SHIFT);
  if (Modifiers & kmControl) KeyUp(VK_CONTROL);
}

void THeadlessDisplay::Type(const std::string& Utf8) {
  if (Utf8.empty()) return;
  TInputEvent Ev;
  Ev.Kind = TInputEventKind::Text;
  Ev.Text = Utf8;
  Push(Ev);
}

void THeadlessDisplay::Wheel(Integer Delta) {
  TInputEvent Ev;
  Ev.Kind = TInputEventKind::Wheel;
  Ev.WheelDelta = Delta;
  const TPoint P = MousePosition();
  Ev.X = P.X;
  Ev.Y = P.Y;
  Push(Ev);
}

void THeadlessDisplay::RequestClose() {
  TInputEvent Ev;
  Ev.Kind = TInputEventKind::CloseRequest;
  Push(Ev);
}

std::size_t THeadlessDisplay::PendingInput() {
  std::lock_guard Guard(FLock);
  return FInput.size();
}

void THeadlessDisplay::ClearInput() {
  std::lock_guard Guard(FLock);
  FInput.clear();
}

TPoint THeadlessDisplay::MousePosition() {
  std::lock_guard Guard(FLock);
  return FMouse;
}

UInt64 THeadlessDisplay::Presents() {
  std::lock_guard Guard(FLock);
  return FPresents;
}

std::vector<TRect> THeadlessDisplay::LastDamage() {
  std::lock_guard Guard(FLock);
  return FLastDamage;
}

std::vector<DWORD> THeadlessDisplay::CursorPixels() {
  std::lock_guard Guard(FLock);
  return FCursor;
}

THeadlessDisplay& Headless() {
  static THeadlessDisplay* Display = [] {
    auto* D = new THeadlessDisplay;  // lives as long as the program: windows may outlive tests
    SetDisplayBackend(D);
    return D;
  }();
  if (GetDisplayBackend() != Display) SetDisplayBackend(Display);
  return *Display;
}

TScreenshot Screenshot(HWND Wnd) {
  TScreenshot Shot;
  const TSurface* S = nullptr;
  TRect Area;
  if (Wnd == nullptr) {
    FlushScreen(true);
    S = &ScreenSurface();
    Area = S->Bounds();
  } else {
    TWindow* W = PeekWindow(Wnd);
    if (W == nullptr) return Shot;
    TWindow* Top = TopLevelOf(W);
    if (!Top->Surface) return Shot;
    S = &Top->Surface->Surface;
    const TPoint O = WindowOriginInSurface(W);
    Area = Bounds(O.X, O.Y, W->Rect.Width(), W->Rect.Height());
  }
  Shot.Width = std::max(Area.Width(), 0);
  Shot.Height = std::max(Area.Height(), 0);
  Shot.Pixels.assign(static_cast<std::size_t>(Shot.Width) * Shot.Height, 0);
  for (Integer Y = 0; Y < Shot.Height; ++Y)
    for (Integer X = 0; X < Shot.Width; ++X) {
      const Integer SX = Area.Left + X, SY = Area.Top + Y;
      if (S->Contains(SX, SY))
        Shot.Pixels[static_cast<std::size_t>(Y) * Shot.Width + X] =
            reinterpret_cast<const DWORD*>(S->Row(SY))[SX] & 0x00FFFFFFu;
    }
  return Shot;
}
