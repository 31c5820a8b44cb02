#pragma once
// The fixture of the EDIT, LISTBOX and COMBOBOX tests: a host window that records what its
// controls tell it (WM_COMMAND notifications, owner-draw messages), the test font (Liberation
// Sans through "Arial", 13-pixel characters), a fake clock so no timer fires unasked, and the
// headless display for scripted input and screenshots.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessDisplay.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/system/Clock.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/NonClient.h"
#include "platform/user/User.h"

// Everything here lives in its own namespace: other test files of this program have fixtures
// and hosts of their own.
namespace textctl {

struct TNotice {
  HWND Ctl;
  WORD Code;
};

struct THostLog {
  std::vector<TNotice> Notices;
  std::vector<DRAWITEMSTRUCT> Drawn;
  std::vector<MEASUREITEMSTRUCT> Measured;
  std::vector<DELETEITEMSTRUCT> Deleted;
  std::vector<UINT> Mouse;      // mouse button messages that reached the host
  UINT MeasureHeight = 0;       // the answer to WM_MEASUREITEM (0: leave it)
  bool MeasureByIndex = false;  // answer 10 + itemID instead
};

inline THostLog& HostLog() {
  static THostLog Log;
  return Log;
}

inline LRESULT HostProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  THostLog& L = HostLog();
  switch (Msg) {
    case WM_COMMAND:
      L.Notices.push_back({reinterpret_cast<HWND>(LParam), HIWORD(WParam)});
      return 0;
    case WM_DRAWITEM:
      L.Drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(LParam));
      return TRUE;
    case WM_MEASUREITEM: {
      auto* M = reinterpret_cast<MEASUREITEMSTRUCT*>(LParam);
      L.Measured.push_back(*M);
      if (L.MeasureByIndex && M->itemID != static_cast<UINT>(-1))
        M->itemHeight = 10 + M->itemID;
      else if (L.MeasureHeight != 0)
        M->itemHeight = L.MeasureHeight;
      return TRUE;
    }
    case WM_DELETEITEM:
      L.Deleted.push_back(*reinterpret_cast<const DELETEITEMSTRUCT*>(LParam));
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      L.Mouse.push_back(Msg);
      break;
    default:
      break;
  }
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

class TTextControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Display = &Headless();
    SetClockSource(&Clock);
    InstallWindowInput();
    InstallNonClient();
    RegisterNativeControlClasses();
    static const bool Registered = [] {
      WNDCLASSEX WC;
      WC.lpfnWndProc = MakeWndProc(HostProc);
      WC.lpszClassName = "TvControlHost";
      WC.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_3DFACE + 1));
      return RegisterClassEx(&WC) != 0;
    }();
    (void)Registered;
    HostLog() = THostLog();
    LOGFONTA F;
    F.lfHeight = -13;
    F.lfFaceName = "Arial";
    Font = CreateFontIndirect(&F);
    {
      HDC DC = CreateCompatibleDC(nullptr);
      const HGDIOBJ Old = SelectObject(DC, Font);
      GetTextMetrics(DC, &Metrics);
      SelectObject(DC, Old);
      DeleteDC(DC);
    }
    Host = CreateWindowEx(0, "TvControlHost", "host", WS_POPUP | WS_VISIBLE, 100, 100, 500, 400, nullptr,
                          nullptr, nullptr, nullptr);
    RunUntilIdle();
  }
  void TearDown() override {
    Display->ClearInput();
    std::vector<HWND> Tops;
    EnumWindows(
        [](HWND H, LPARAM P) {
          reinterpret_cast<std::vector<HWND>*>(P)->push_back(H);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&Tops));
    for (HWND H : Tops) DestroyWindow(H);
    RunUntilIdle();
    DeleteObject(Font);
    SetModalHook(nullptr);
    UninstallWindowInput();
    SetClockSource(nullptr);
  }

  // A child control of the host with the test font.
  HWND Control(const char* Class, DWORD Style, Integer X, Integer Y, Integer W, Integer H, Integer Id,
               const char* Text = "", DWORD ExStyle = 0) {
    HWND C = CreateWindowEx(ExStyle, Class, Text, WS_CHILD | WS_VISIBLE | Style, X, Y, W, H, Host,
                            reinterpret_cast<HMENU>(static_cast<std::intptr_t>(Id)), nullptr, nullptr);
    if (C != nullptr) SendMessage(C, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
    return C;
  }
  static TPoint ScreenOf(HWND W, Integer X, Integer Y) {
    POINT P{X, Y};
    ClientToScreen(W, &P);
    return P;
  }
  // A click at a client point; the clock moves on so clicks never pair into double-clicks.
  void ClickAt(HWND W, Integer X, Integer Y) {
    const TPoint P = ScreenOf(W, X, Y);
    Display->Click(P.X, P.Y);
    RunUntilIdle();
    Clock.Advance(1000);
  }
  void Keys(Word Vk, UINT Modifiers = 0) {
    Display->KeyPress(Vk, Modifiers);
    RunUntilIdle();
  }
  void Type(const std::string& Text) {
    Display->Type(Text);
    RunUntilIdle();
  }
  // The notification codes a control sent, in order (and forgets them).
  static std::vector<WORD> TakeCodes(HWND Ctl) {
    std::vector<WORD> Codes;
    for (const TNotice& N : HostLog().Notices)
      if (N.Ctl == Ctl) Codes.push_back(N.Code);
    HostLog().Notices.clear();
    return Codes;
  }
  static std::string Text(HWND W) { return GetWindowTextString(W); }
  // A system colour as a screenshot pixel (0x00RRGGBB).
  static DWORD SysPixel(Integer Index) {
    const DWORD C = GetSysColor(Index);
    return (static_cast<DWORD>(GetRValue(C)) << 16) | (static_cast<DWORD>(GetGValue(C)) << 8) | GetBValue(C);
  }
  static Integer SystemFontHeight() {
    HDC DC = CreateCompatibleDC(nullptr);
    const HGDIOBJ Old = SelectObject(DC, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA Tm;
    GetTextMetrics(DC, &Tm);
    SelectObject(DC, Old);
    DeleteDC(DC);
    return Tm.tmHeight;
  }

  THeadlessDisplay* Display = nullptr;
  TFakeClock Clock{100000};
  HFONT Font = nullptr;
  TEXTMETRICA Metrics;
  HWND Host = nullptr;
};

}  // namespace textctl
