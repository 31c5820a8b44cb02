#pragma once
// Shared pieces of the window-layer tests: a window procedure that records every message it
// sees, and a fixture that leaves no window behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/User.h"
#include "platform/user/WindowInternals.h"

struct TSeenMessage {
  HWND Wnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

// One expected entry: the window (by name in the test) and the message.
struct TExpected {
  HWND Wnd;
  UINT Msg;
};

inline std::vector<TSeenMessage>& MessageLog() {
  static std::vector<TSeenMessage> Log;
  return Log;
}

// Messages of this kind are no part of a sequence: they would only add noise.
inline bool IgnoredInSequence(UINT Msg) {
  return Msg == WM_GETTEXT || Msg == WM_GETTEXTLENGTH || Msg == WM_NCHITTEST;
}

inline void RecordMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (!IgnoredInSequence(Msg)) MessageLog().push_back({Wnd, Msg, WParam, LParam});
}

inline LRESULT RecordingProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  RecordMessage(Wnd, Msg, WParam, LParam);
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

inline const char* RecordingClass() {
  static const bool Registered = [] {
    WNDCLASSEX WC;
    WC.lpfnWndProc = MakeWndProc(RecordingProc);
    WC.lpszClassName = "TvRecording";
    WC.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    return RegisterClassEx(&WC) != 0;
  }();
  (void)Registered;
  return "TvRecording";
}

inline std::string MessageName(UINT Msg) {
  // A table of case labels made by a macro, laid out by hand.
  // clang-format off
  switch (Msg) {
#define TV_NAME(M) \
  case M:          \
    return #M;
    TV_NAME(WM_CREATE) TV_NAME(WM_DESTROY) TV_NAME(WM_MOVE) TV_NAME(WM_SIZE) TV_NAME(WM_ACTIVATE)
    TV_NAME(WM_ENABLE) TV_NAME(WM_SETTEXT) TV_NAME(WM_PAINT) TV_NAME(WM_CLOSE) TV_NAME(WM_ERASEBKGND)
    TV_NAME(WM_SHOWWINDOW) TV_NAME(WM_GETMINMAXINFO) TV_NAME(WM_WINDOWPOSCHANGING) TV_NAME(WM_WINDOWPOSCHANGED)
    TV_NAME(WM_NCCREATE) TV_NAME(WM_NCDESTROY) TV_NAME(WM_NCCALCSIZE) TV_NAME(WM_NCPAINT) TV_NAME(WM_PARENTNOTIFY)
    TV_NAME(WM_STYLECHANGING) TV_NAME(WM_STYLECHANGED) TV_NAME(WM_TIMER) TV_NAME(WM_CANCELMODE)
    TV_NAME(WM_NCHITTEST) TV_NAME(WM_NCACTIVATE) TV_NAME(WM_ACTIVATEAPP) TV_NAME(WM_SETFOCUS)
    TV_NAME(WM_KILLFOCUS) TV_NAME(WM_USER)
#undef TV_NAME
    default:
      return "0x" + std::to_string(Msg);
  }
  // clang-format on
}

// Compares the log against the expected sequence and prints both on a mismatch.
inline void ExpectSequence(const std::vector<TExpected>& Expected, const char* What) {
  const auto& Log = MessageLog();
  bool Same = Log.size() == Expected.size();
  for (std::size_t I = 0; Same && I < Log.size(); ++I)
    Same = Log[I].Wnd == Expected[I].Wnd && Log[I].Msg == Expected[I].Msg;
  if (Same) return;
  std::string Text;
  for (std::size_t I = 0; I < std::max(Log.size(), Expected.size()); ++I) {
    Text += I < Expected.size() ? MessageName(Expected[I].Msg) : std::string("-");
    Text += "  |  ";
    Text += I < Log.size() ? MessageName(Log[I].Msg) : std::string("-");
    Text += "\n";
  }
  ADD_FAILURE() << What << ": expected | seen\n" << Text;
}

class TWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingClass();
    MessageLog().clear();
  }
  void TearDown() override {
    std::vector<HWND> Tops;
    EnumWindows(
        [](HWND H, LPARAM P) {
          reinterpret_cast<std::vector<HWND>*>(P)->push_back(H);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&Tops));
    for (HWND H : Tops) DestroyWindow(H);
    RunUntilIdle();
    MessageLog().clear();
  }
  // A top-level popup with the recording procedure.
  static HWND Popup(Integer X, Integer Y, Integer W, Integer H, DWORD Style = WS_VISIBLE, DWORD ExStyle = 0) {
    return CreateWindowEx(ExStyle, RecordingClass(), "popup", WS_POPUP | Style, X, Y, W, H, nullptr, nullptr,
                          nullptr, nullptr);
  }
  static HWND Child(HWND Parent, Integer X, Integer Y, Integer W, Integer H, DWORD Style = WS_VISIBLE,
                    Integer Id = 0) {
    return CreateWindowEx(0, RecordingClass(), "child", WS_CHILD | Style, X, Y, W, H, Parent,
                          reinterpret_cast<HMENU>(static_cast<std::intptr_t>(Id)), nullptr, nullptr);
  }
  static std::size_t CountOf(HWND Wnd, UINT Msg) {
    std::size_t N = 0;
    for (const TSeenMessage& M : MessageLog()) N += (M.Wnd == Wnd && M.Msg == Msg);
    return N;
  }
  static DWORD ScreenPixel(Integer X, Integer Y) { return GetRawPixel(ScreenSurface(), X, Y) & 0x00FFFFFFu; }
};
