#pragma once
// Shared pieces of the non-client, scroll-bar and menu tests: a fixture with the headless
// display, the input and non-client parts installed, a fake clock, and helpers for message
// sequences.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "WindowTestSupport.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/system/Clock.h"
#include "platform/user/Input.h"
#include "platform/user/MenuInternals.h"
#include "platform/user/NonClient.h"
#include "platform/user/ScrollBars.h"

// A hook the tests give the windows' procedure: returns true when it answered the message.
using TNcHandler = std::function<bool(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result)>;
inline TNcHandler& NcHandler() {
  static TNcHandler H;
  return H;
}

inline LRESULT NcRecordingProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  RecordMessage(Wnd, Msg, WParam, LParam);
  LRESULT Result = 0;
  if (NcHandler() && NcHandler()(Wnd, Msg, WParam, LParam, Result)) return Result;
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

inline const char* NcRecordingClass() {
  static const bool Registered = [] {
    WNDCLASSEX WC;
    WC.lpfnWndProc = MakeWndProc(NcRecordingProc);
    WC.lpszClassName = "TvNcRecording";
    WC.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    return RegisterClassEx(&WC) != 0;
  }();
  (void)Registered;
  return "TvNcRecording";
}

class TNcTest : public TWindowTest {
 protected:
  void SetUp() override {
    Display = &Headless();
    Display->ClearInput();
    InstallWindowInput();
    InstallNonClient();
    TWindowTest::SetUp();
  }
  void TearDown() override {
    SetModalHook(nullptr);
    NcHandler() = nullptr;
    Display->ClearInput();
    TWindowTest::TearDown();
    UninstallNonClient();
    UninstallWindowInput();
    Clock.reset();
  }
  // Time stands still until the test moves it (auto-repeat and hover delays).
  TFakeClock& FakeClock() {
    if (!Clock) {
      Clock = std::make_unique<TFakeClock>(100000);
      SetClockSource(Clock.get());
    }
    return *Clock;
  }
  // A visible top-level window with the recording procedure.
  static HWND Frame(Integer X, Integer Y, Integer W, Integer H, DWORD Style = WS_OVERLAPPEDWINDOW,
                    DWORD ExStyle = 0, HMENU Menu = nullptr, const char* Title = "Frame") {
    return CreateWindowEx(ExStyle, NcRecordingClass(), Title, Style | WS_VISIBLE, X, Y, W, H, nullptr, Menu,
                          nullptr, nullptr);
  }
  // The log reduced to the messages of Wnd named in Keep.
  static std::vector<UINT> Seen(HWND Wnd, std::initializer_list<UINT> Keep) {
    std::vector<UINT> Out;
    for (const TSeenMessage& M : MessageLog())
      if (M.Wnd == Wnd && std::find(Keep.begin(), Keep.end(), M.Msg) != Keep.end()) Out.push_back(M.Msg);
    return Out;
  }
  static std::vector<TSeenMessage> All(HWND Wnd, UINT Msg) {
    std::vector<TSeenMessage> Out;
    for (const TSeenMessage& M : MessageLog())
      if (M.Wnd == Wnd && M.Msg == Msg) Out.push_back(M);
    return Out;
  }
  // Runs Steps[i] at the i-th time a modal loop goes idle; later idles do nothing.
  void OnIdle(std::vector<std::function<void()>> Steps) {
    auto Shared = std::make_shared<std::vector<std::function<void()>>>(std::move(Steps));
    auto Next = std::make_shared<std::size_t>(0);
    SetModalHook([Shared, Next] {
      if (*Next < Shared->size()) (*Shared)[(*Next)++]();
    });
  }
  // A pixel of a window as painted on its surface.
  static DWORD Pixel(HWND Wnd, Integer X, Integer Y) { return Screenshot(Wnd).Pixel(X, Y) & 0xFFFFFF; }
  static DWORD Rgb(COLORREF C) { return (GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C); }
  static DWORD Sys(Integer Index) { return Rgb(GetSysColor(Index)); }
  static TPoint Center(const RECT& R) { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }

  THeadlessDisplay* Display = nullptr;
  std::unique_ptr<TFakeClock> Clock;
};
