#pragma once
// A parent window for the built-in control tests: it records the notifications its controls
// send, answers the ones a test wants refused, and lives at the screen's top-left corner so that
// client and screen coordinates agree. Time is a fake clock, so auto-repeat runs only when a test
// advances it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/display/HeadlessDisplay.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/system/Clock.h"
#include "platform/user/CommonControls.h"
#include "platform/user/Input.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/User.h"

// Everything here lives in its own namespace: other control tests in the same program have
// helpers of their own.
namespace CommonControlTesting {

// One message the parent received from a control.
struct TNote {
  UINT Msg = 0;       // WM_COMMAND, WM_NOTIFY, WM_HSCROLL, WM_VSCROLL, WM_DRAWITEM, WM_LBUTTONDOWN
  Integer Id = 0;     // control id (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM)
  UINT Code = 0;      // notification or scroll code; WM_DRAWITEM: itemID
  Integer Pos = 0;    // scroll position (high word), NMUPDOWN iPos; WM_DRAWITEM: itemState
  Integer Delta = 0;  // NMUPDOWN iDelta; WM_DRAWITEM: CtlType
  HWND From = nullptr;
  bool operator==(const TNote& O) const {
    return Msg == O.Msg && Id == O.Id && Code == O.Code && Pos == O.Pos && Delta == O.Delta;
  }
};

inline std::ostream& operator<<(std::ostream& S, const TNote& N) {
  return S << "{msg " << N.Msg << " id " << N.Id << " code " << static_cast<int>(N.Code) << " pos " << N.Pos
           << " delta " << N.Delta << "}";
}

inline TNote CommandNote(Integer Id, WORD Code) {
  return {WM_COMMAND, Id, Code, 0, 0, nullptr};
}
inline TNote NotifyNote(Integer Id, UINT Code) {
  return {WM_NOTIFY, Id, Code, 0, 0, nullptr};
}
inline TNote ScrollNote(bool Vertical, WORD Code, Integer Pos) {
  return {Vertical ? WM_VSCROLL : WM_HSCROLL, 0, Code, Pos, 0, nullptr};
}

struct TNativeParentState {
  std::vector<TNote> Notes;
  bool RefuseSelChange = false;  // TCN_SELCHANGING answers TRUE
  bool RefuseDelta = false;      // UDN_DELTAPOS answers TRUE
  Integer ChangeDelta = 0;       // when not 0, UDN_DELTAPOS replaces iDelta with it
  bool RecordClicks = false;     // record WM_LBUTTONDOWN of the parent itself
  bool ApplyScroll = false;      // move scroll-bar controls as their notifications ask
};

// What an application does with a scroll-bar control's notification: line 1, page nPage.
inline void ApplyScrollNote(HWND Bar, WORD Code, Integer Pos) {
  SCROLLINFO I;
  I.fMask = SIF_ALL;
  GetScrollInfo(Bar, SB_CTL, &I);
  Integer P = I.nPos;
  switch (Code) {
    case SB_LINEUP:
      P -= 1;
      break;
    case SB_LINEDOWN:
      P += 1;
      break;
    case SB_PAGEUP:
      P -= static_cast<Integer>(I.nPage);
      break;
    case SB_PAGEDOWN:
      P += static_cast<Integer>(I.nPage);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      P = Pos;
      break;
    case SB_TOP:
      P = I.nMin;
      break;
    case SB_BOTTOM:
      P = I.nMax;
      break;
    default:
      return;
  }
  SetScrollPos(Bar, SB_CTL, P, TRUE);
}

inline TNativeParentState& ParentState() {
  static TNativeParentState S;
  return S;
}

inline LRESULT NativeParentProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  TNativeParentState& S = ParentState();
  switch (Msg) {
    case WM_COMMAND:
      S.Notes.push_back({Msg, LOWORD(WP), HIWORD(WP), 0, 0, reinterpret_cast<HWND>(LP)});
      return 0;
    case WM_NOTIFY: {
      const auto* H = reinterpret_cast<const NMHDR*>(LP);
      TNote N{Msg, static_cast<Integer>(H->idFrom), H->code, 0, 0, H->hwndFrom};
      if (H->code == UDN_DELTAPOS) {
        auto* U = reinterpret_cast<NMUPDOWN*>(LP);
        N.Pos = U->iPos;
        N.Delta = U->iDelta;
        if (S.ChangeDelta != 0) U->iDelta = S.ChangeDelta;
        S.Notes.push_back(N);
        return S.RefuseDelta ? 1 : 0;
      }
      S.Notes.push_back(N);
      if (H->code == TCN_SELCHANGING) return S.RefuseSelChange ? 1 : 0;
      return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      S.Notes.push_back({Msg, 0, LOWORD(WP), static_cast<SHORT>(HIWORD(WP)), 0, reinterpret_cast<HWND>(LP)});
      if (S.ApplyScroll && LP != 0)
        ApplyScrollNote(reinterpret_cast<HWND>(LP), LOWORD(WP), static_cast<SHORT>(HIWORD(WP)));
      return 0;
    case WM_DRAWITEM: {
      const auto* DI = reinterpret_cast<const DRAWITEMSTRUCT*>(LP);
      S.Notes.push_back({Msg, static_cast<Integer>(DI->CtlID), DI->itemID,
                         static_cast<Integer>(DI->itemState), static_cast<Integer>(DI->CtlType),
                         DI->hwndItem});
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      if (S.RecordClicks) S.Notes.push_back({Msg, 0, 0, 0, 0, W});
      return 0;
    default:
      return DefWindowProc(W, Msg, WP, LP);
  }
}

class TCommonControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Display = &Headless();
    SetClockSource(&Clock);
    RegisterCommonControlClasses();
    static const bool Registered = [] {
      WNDCLASS WC;
      WC.lpfnWndProc = MakeWndProc(NativeParentProc);
      WC.lpszClassName = "TvNativeParent";
      WC.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_3DFACE + 1));
      return RegisterClass(&WC) != 0;
    }();
    (void)Registered;
    ParentState() = TNativeParentState();
    Parent = CreateWindowEx(0, "TvNativeParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 480, 320, nullptr, nullptr,
                            nullptr, nullptr);
    LOGFONTA F;
    F.lfHeight = -11;
    F.lfWeight = FW_NORMAL;
    F.lfQuality = NONANTIALIASED_QUALITY;
    F.lfFaceName = "Liberation Sans";
    Font = CreateFontIndirectA(&F);
    RunUntilIdle();
  }
  void TearDown() override {
    Display->ClearInput();
    if (GetCapture() != nullptr) ReleaseCapture();
    SetModalHook(nullptr);
    DestroyWindow(Parent);
    RunUntilIdle();
    DeleteObject(Font);
    SetClockSource(nullptr);
  }

  // A child control of the parent with the test font.
  HWND Create(const char* Class, const char* Text, DWORD Style, Integer X, Integer Y, Integer W, Integer H,
              Integer Id = 0, DWORD ExStyle = 0) {
    HWND C = CreateWindowEx(ExStyle, Class, Text, WS_CHILD | WS_VISIBLE | Style, X, Y, W, H, Parent,
                            reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(Id)), nullptr, nullptr);
    SendMessage(C, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
    // Child windows stack in creation order (the first on top), as dialogs have them.
    SetWindowPos(C, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return C;
  }
  static std::vector<TNote>& Notes() { return ParentState().Notes; }
  // The notes without the window handles, for comparing with a table.
  static std::vector<TNote> TakeNotes() {
    std::vector<TNote> N = ParentState().Notes;
    ParentState().Notes.clear();
    return N;
  }
  // The control's top-left corner on the screen.
  static TPoint Origin(HWND C) {
    POINT P{0, 0};
    ClientToScreen(C, &P);
    return P;
  }
  void ClickAt(HWND C, Integer X, Integer Y) {
    const TPoint O = Origin(C);
    Display->Click(O.X + X, O.Y + Y);
    RunUntilIdle();
  }
  // Advances the fake clock in steps of Step ms, letting the loop run after each.
  void Wait(Integer Ms, Integer Step = 10) {
    for (Integer T = 0; T < Ms; T += Step) {
      Clock.Advance(Step);
      RunUntilIdle();
    }
  }

  THeadlessDisplay* Display = nullptr;
  TFakeClock Clock{100000};
  HWND Parent = nullptr;
  HFONT Font = nullptr;
};

}  // namespace CommonControlTesting
