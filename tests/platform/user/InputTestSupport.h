#pragma once
// Shared pieces of the input tests: a window procedure that records every message and can be
// told what to answer, and a fixture with the headless display, a fake clock and the input
// part installed, which leaves the window layer as it found it.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/display/HeadlessDisplay.h"
#include "platform/system/Clock.h"
#include "platform/user/Caret.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Cursors.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "platform/user/WindowInternals.h"

struct TLogged {
  HWND Wnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

// What a test window answers besides DefWindowProc's defaults.
struct TBehaviour {
  std::optional<LRESULT> HitTest;
  std::optional<LRESULT> MouseActivate;
  // Runs first; returning true ends the message with Result.
  std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> Handler;
};

inline std::vector<TLogged>& InputLog() {
  static std::vector<TLogged> Log;
  return Log;
}
inline std::map<HWND, TBehaviour>& Behaviours() {
  static std::map<HWND, TBehaviour> Map;
  return Map;
}

inline LRESULT InputTestProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  InputLog().push_back({Wnd, Msg, WParam, LParam});
  auto It = Behaviours().find(Wnd);
  if (It != Behaviours().end()) {
    // Copies: the handler may change the table.
    const TBehaviour B = It->second;
    LRESULT Result = 0;
    if (B.Handler && B.Handler(Wnd, Msg, WParam, LParam, Result)) return Result;
    if (Msg == WM_NCHITTEST && B.HitTest) return *B.HitTest;
    if (Msg == WM_MOUSEACTIVATE && B.MouseActivate) return *B.MouseActivate;
  }
  // The frame's own button handling (moving, sizing, caption buttons) is no part of these tests.
  if (Msg >= WM_NCLBUTTONDOWN && Msg <= WM_NCXBUTTONDBLCLK) return 0;
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

inline std::string InputMessageName(UINT Msg) {
  // A table of case labels made by a macro, laid out by hand.
  // clang-format off
  switch (Msg) {
#define TV_NAME(M) \
  case M:          \
    return #M;
    TV_NAME(WM_ACTIVATE)
    TV_NAME(WM_SETFOCUS)
        TV_NAME(WM_KILLFOCUS) TV_NAME(WM_ACTIVATEAPP) TV_NAME(WM_CANCELMODE) TV_NAME(WM_SETCURSOR)
            TV_NAME(WM_MOUSEACTIVATE) TV_NAME(WM_NCHITTEST) TV_NAME(WM_NCACTIVATE) TV_NAME(WM_NCMOUSEMOVE)
                TV_NAME(WM_NCLBUTTONDOWN) TV_NAME(WM_NCLBUTTONUP) TV_NAME(WM_NCLBUTTONDBLCLK)
                    TV_NAME(WM_KEYDOWN) TV_NAME(WM_KEYUP) TV_NAME(WM_CHAR) TV_NAME(WM_SYSKEYDOWN)
                        TV_NAME(WM_SYSKEYUP) TV_NAME(WM_SYSCHAR) TV_NAME(WM_SYSCOMMAND) TV_NAME(WM_MOUSEMOVE)
                            TV_NAME(WM_LBUTTONDOWN) TV_NAME(WM_LBUTTONUP) TV_NAME(WM_LBUTTONDBLCLK)
                                TV_NAME(WM_RBUTTONDOWN) TV_NAME(WM_RBUTTONUP) TV_NAME(WM_MOUSEWHEEL)
                                    TV_NAME(WM_CAPTURECHANGED) TV_NAME(WM_MOUSELEAVE) TV_NAME(WM_NCMOUSELEAVE)
                                        TV_NAME(WM_MOUSEHOVER) TV_NAME(WM_CONTEXTMENU)
                                            TV_NAME(WM_WINDOWPOSCHANGING) TV_NAME(WM_WINDOWPOSCHANGED)
                                                TV_NAME(WM_SHOWWINDOW) TV_NAME(WM_DESTROYCLIPBOARD)
                                                    TV_NAME(WM_RENDERFORMAT) TV_NAME(WM_PAINT)
#undef TV_NAME
                                                        default : return "0x" +
                                                                  std::to_string(Msg);
  }
  // clang-format on
}

struct TExpect {
  HWND Wnd;
  UINT Msg;
};

// Compares the messages of the log whose numbers are in Watched with the expected sequence.
inline void ExpectMessages(const std::vector<TExpect>& Expected, const std::set<UINT>& Watched,
                           const char* What) {
  std::vector<TLogged> Seen;
  for (const TLogged& L : InputLog())
    if (Watched.count(L.Msg)) Seen.push_back(L);
  bool Same = Seen.size() == Expected.size();
  for (std::size_t I = 0; Same && I < Seen.size(); ++I)
    Same = Seen[I].Wnd == Expected[I].Wnd && Seen[I].Msg == Expected[I].Msg;
  if (Same) return;
  std::string Text;
  for (std::size_t I = 0; I < std::max(Seen.size(), Expected.size()); ++I) {
    Text += I < Expected.size() ? InputMessageName(Expected[I].Msg) + " " +
                                      std::to_string(reinterpret_cast<std::uintptr_t>(Expected[I].Wnd))
                                : "-";
    Text += "  |  ";
    Text += I < Seen.size() ? InputMessageName(Seen[I].Msg) + " " +
                                  std::to_string(reinterpret_cast<std::uintptr_t>(Seen[I].Wnd))
                            : "-";
    Text += "\n";
  }
  ADD_FAILURE() << What << ": expected | seen\n" << Text;
}

class TInputTest : public ::testing::Test {
 protected:
  static constexpr const char* DblClass = "TvInputDbl";  // CS_DBLCLKS
  static constexpr const char* PlainClass = "TvInputPlain";

  void SetUp() override {
    static const bool Registered = [] {
      for (const char* Name : {DblClass, PlainClass}) {
        WNDCLASSEX WC;
        WC.style = Name == DblClass ? CS_DBLCLKS : 0;
        WC.lpfnWndProc = MakeWndProc(InputTestProc);
        WC.lpszClassName = Name;
        WC.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
        RegisterClassEx(&WC);
      }
      return true;
    }();
    (void)Registered;
    SetClockSource(&Clock);
    Display.ClearInput();
    Display.SetClipboardText("");
    InstallWindowInput();
    InputLog().clear();
    Behaviours().clear();
  }
  void TearDown() override {
    Behaviours().clear();
    std::vector<HWND> Tops;
    EnumWindows(
        [](HWND H, LPARAM P) {
          reinterpret_cast<std::vector<HWND>*>(P)->push_back(H);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&Tops));
    for (HWND H : Tops) DestroyWindow(H);
    RunUntilIdle();
    Display.ClearInput();
    UninstallWindowInput();
    SetClockSource(nullptr);
    InputLog().clear();
  }

  static HWND Popup(TRect R, DWORD Style = WS_VISIBLE, DWORD ExStyle = 0, const char* Class = DblClass,
                    HWND Owner = nullptr) {
    return CreateWindowEx(ExStyle, Class, "popup", WS_POPUP | Style, R.Left, R.Top, R.Width(), R.Height(),
                          Owner, nullptr, nullptr, nullptr);
  }
  static HWND Child(HWND Parent, TRect R, DWORD Style = WS_VISIBLE, const char* Class = DblClass) {
    return CreateWindowEx(0, Class, "child", WS_CHILD | Style, R.Left, R.Top, R.Width(), R.Height(), Parent,
                          nullptr, nullptr, nullptr);
  }
  // Runs what the script holds and forgets the messages seen so far when Fresh.
  void Run(bool Fresh = false) {
    if (Fresh) InputLog().clear();
    RunUntilIdle();
  }
  static std::vector<TLogged> Of(HWND Wnd, UINT Msg) {
    std::vector<TLogged> R;
    for (const TLogged& L : InputLog())
      if (L.Wnd == Wnd && L.Msg == Msg) R.push_back(L);
    return R;
  }
  static std::size_t CountOf(UINT Msg) {
    std::size_t N = 0;
    for (const TLogged& L : InputLog()) N += L.Msg == Msg;
    return N;
  }

  // A key event with the scan code a back end may give (0: none).
  void KeyEvent(Word Vk, bool Down, Word Scan = 0) {
    TInputEvent Ev;
    Ev.Kind = Down ? TInputEventKind::KeyDown : TInputEventKind::KeyUp;
    Ev.VirtualKey = Vk;
    Ev.ScanCode = Scan;
    Display.Push(Ev);
  }
  // Modifiers down, the key down, its text (as back ends send it, before the key goes up), the
  // key up, the modifiers up.
  void Press(Word Vk, std::initializer_list<Word> Modifiers = {}, const std::string& Text = "") {
    for (Word M : Modifiers) Display.KeyDown(M);
    Display.KeyDown(Vk);
    Display.Type(Text);
    Display.KeyUp(Vk);
    for (auto It = std::rbegin(Modifiers); It != std::rend(Modifiers); ++It) Display.KeyUp(*It);
  }

  TFakeClock Clock{100000};
  THeadlessDisplay& Display = Headless();
};
