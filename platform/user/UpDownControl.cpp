// The up-down control.
#include "platform/user/UpDownControl.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/gdi/FrameControls.h"
#include "platform/system/Clock.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/NativeControlCommon.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

constexpr UINT_PTR RepeatTimer = 1;
constexpr UINT FirstRepeat = 500;
constexpr UINT NextRepeat = 100;
constexpr const char* BuddyOwnerProp = "TvUpDownOwner";
constexpr const char* BuddyProcProp = "TvUpDownProc";

struct TUpDownData : TNativeControlData {
  Integer Lower = 100;
  Integer Upper = 0;
  Integer Pos = 0;
  HWND Buddy = nullptr;
  Integer Base = 10;
  std::vector<UDACCEL> Accel{{0, 1}, {2, 5}, {5, 20}};
  Integer Pressed = 0;       // +1 the up arrow, -1 the down arrow, 0 none
  bool PressedLook = false;  // the mouse is on the pressed arrow
  bool ByKey = false;        // the press came from a key
  DWORD PressStart = 0;
};

DWORD StyleOf(HWND Wnd) {
  return static_cast<DWORD>(GetWindowLongPtr(Wnd, GWL_STYLE));
}
bool Horizontal(HWND Wnd) {
  return StyleOf(Wnd) & UDS_HORZ;
}

// ---- The buddy's text ---------------------------------------------------------------------------

std::string FormatPos(Integer Pos, Integer Base, bool Thousands) {
  char Buf[32];
  if (Base == 16) {
    std::snprintf(Buf, sizeof(Buf), "0x%04X", static_cast<unsigned>(Pos));
    return Buf;
  }
  std::snprintf(Buf, sizeof(Buf), "%u",
                Pos < 0 ? 0u - static_cast<unsigned>(Pos) : static_cast<unsigned>(Pos));
  std::string Digits = Buf, Out;
  for (std::size_t I = 0; I < Digits.size(); ++I) {
    if (Thousands && I > 0 && (Digits.size() - I) % 3 == 0) Out += ',';
    Out += Digits[I];
  }
  return Pos < 0 ? "-" + Out : Out;
}

// The number a buddy shows; false when it is none.
bool ParsePos(const std::string& Text, Integer Base, Integer& Value) {
  std::string S;
  for (char C : Text)
    if (C != ',' && C != ' ') S += C;
  if (S.empty()) return false;
  std::size_t I = 0;
  bool Negative = false;
  if (Base == 10 && (S[0] == '-' || S[0] == '+')) {
    Negative = S[0] == '-';
    I = 1;
  }
  if (Base == 16 && S.size() > 2 && S[0] == '0' && (S[1] == 'x' || S[1] == 'X')) I = 2;
  if (I >= S.size()) return false;
  Int64 V = 0;
  for (; I < S.size(); ++I) {
    const char C = S[I];
    Integer Digit;
    if (C >= '0' && C <= '9')
      Digit = C - '0';
    else if (Base == 16 && C >= 'a' && C <= 'f')
      Digit = C - 'a' + 10;
    else if (Base == 16 && C >= 'A' && C <= 'F')
      Digit = C - 'A' + 10;
    else
      return false;
    V = V * Base + Digit;
    if (V > 0xFFFFFFFFLL) return false;
  }
  Value = static_cast<Integer>(Negative ? -V : V);
  return true;
}

void WriteBuddy(HWND Wnd, const TUpDownData& D) {
  const DWORD Style = StyleOf(Wnd);
  if (!(Style & UDS_SETBUDDYINT) || !IsWindow(D.Buddy)) return;
  SetWindowText(D.Buddy, FormatPos(D.Pos, D.Base, !(Style & UDS_NOTHOUSANDS)).c_str());
}

// UDM_GETPOS: the buddy's number becomes the position when it is one.
bool ReadBuddy(HWND Wnd, TUpDownData& D) {
  if (!(StyleOf(Wnd) & UDS_SETBUDDYINT) || !IsWindow(D.Buddy)) return true;
  Integer V;
  if (!ParsePos(GetWindowTextString(D.Buddy), D.Base, V)) return false;
  D.Pos = V;
  return true;
}

// ---- The buddy's key hook -----------------------------------------------------------------------

LRESULT BuddyProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const auto Old = reinterpret_cast<WNDPROC>(GetProp(Wnd, BuddyProcProp));
  const auto Owner = reinterpret_cast<HWND>(GetProp(Wnd, BuddyOwnerProp));
  if ((Msg == WM_KEYDOWN || Msg == WM_KEYUP) && (WParam == VK_UP || WParam == VK_DOWN) && IsWindow(Owner) &&
      (StyleOf(Owner) & UDS_ARROWKEYS)) {
    SendMessage(Owner, Msg, WParam, LParam);
    return 0;
  }
  if (Msg == WM_NCDESTROY &&
      GetWindowLongPtr(Wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(MakeWndProc(BuddyProc))) {
    SetWindowLongPtr(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Old));
    RemoveProp(Wnd, BuddyOwnerProp);
    RemoveProp(Wnd, BuddyProcProp);
  }
  return CallWindowProc(Old, Wnd, Msg, WParam, LParam);
}

void HookBuddy(HWND Wnd, HWND Buddy) {
  if (!IsWindow(Buddy)) return;
  SetProp(Buddy, BuddyOwnerProp, reinterpret_cast<HANDLE>(Wnd));
  if (GetProp(Buddy, BuddyProcProp) != nullptr) return;  // wrapped already
  const LONG_PTR Old =
      SetWindowLongPtr(Buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeWndProc(BuddyProc)));
  SetProp(Buddy, BuddyProcProp, reinterpret_cast<HANDLE>(Old));
}

void UnhookBuddy(HWND Wnd, HWND Buddy) {
  if (!IsWindow(Buddy) || reinterpret_cast<HWND>(GetProp(Buddy, BuddyOwnerProp)) != Wnd) return;
  RemoveProp(Buddy, BuddyOwnerProp);
  // Someone may have wrapped the buddy after us; then our procedure stays in its chain and
  // only passes messages on.
  if (GetWindowLongPtr(Buddy, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(MakeWndProc(BuddyProc))) {
    SetWindowLongPtr(Buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetProp(Buddy, BuddyProcProp)));
    RemoveProp(Buddy, BuddyProcProp);
  }
}

// Puts the control beside its buddy (UDS_ALIGNRIGHT / UDS_ALIGNLEFT).
void AlignToBuddy(HWND Wnd, const TUpDownData& D) {
  const DWORD Style = StyleOf(Wnd);
  TWindow* B = PeekWindow(D.Buddy);
  TWindow* W = PeekWindow(Wnd);
  if (B == nullptr || W == nullptr || !(Style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) || B->Parent != W->Parent)
    return;
  const TRect BR = B->Rect;
  Integer Width = W->Rect.Width();
  if (Width <= 0) Width = GetSystemMetrics(SM_CXVSCROLL);
  Width = std::min(Width, BR.Width());
  const UINT Flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (Style & UDS_ALIGNRIGHT) {
    SetWindowPos(D.Buddy, nullptr, BR.Left, BR.Top, BR.Width() - Width, BR.Height(), Flags);
    SetWindowPos(Wnd, nullptr, BR.Right - Width, BR.Top, Width, BR.Height(), Flags);
  } else {
    SetWindowPos(D.Buddy, nullptr, BR.Left + Width, BR.Top, BR.Width() - Width, BR.Height(), Flags);
    SetWindowPos(Wnd, nullptr, BR.Left, BR.Top, Width, BR.Height(), Flags);
  }
}

HWND SetBuddy(HWND Wnd, TUpDownData& D, HWND Buddy) {
  const HWND Old = D.Buddy;
  UnhookBuddy(Wnd, Old);
  D.Buddy = IsWindow(Buddy) ? Buddy : nullptr;
  if (D.Buddy != nullptr && (StyleOf(Wnd) & UDS_ARROWKEYS)) HookBuddy(Wnd, D.Buddy);
  if (D.Buddy != nullptr) AlignToBuddy(Wnd, D);
  return Old;
}

// ---- Stepping ---------------------------------------------------------------------------------

Integer Increment(const TUpDownData& D) {
  const DWORD Seconds = (GetTickCount() - D.PressStart) / 1000;
  UINT Inc = 1;
  for (const UDACCEL& A : D.Accel)
    if (A.nSec <= Seconds) Inc = A.nInc;
  return static_cast<Integer>(Inc);
}

Integer Limited(HWND Wnd, const TUpDownData& D, Int64 V) {
  const Int64 Lo = std::min(D.Lower, D.Upper), Hi = std::max(D.Lower, D.Upper);
  if (V >= Lo && V <= Hi) return static_cast<Integer>(V);
  if (StyleOf(Wnd) & UDS_WRAP) {
    const Int64 Size = Hi - Lo + 1;
    return static_cast<Integer>(Lo + (((V - Lo) % Size) + Size) % Size);
  }
  return static_cast<Integer>(std::clamp(V, Lo, Hi));
}

// One step of Dir (+1 up, -1 down) with the parent's consent.
void Step(HWND Wnd, Integer Dir) {
  TUpDownData* D = ControlData<TUpDownData>(Wnd);
  if (D == nullptr) return;
  ReadBuddy(Wnd, *D);
  NMUPDOWN N;
  N.iPos = D->Pos;
  N.iDelta = Dir * Increment(*D) * (D->Upper >= D->Lower ? 1 : -1);
  const bool Refused = NotifyParent(Wnd, UDN_DELTAPOS, &N.hdr) != 0;
  if ((D = ControlData<TUpDownData>(Wnd)) == nullptr) return;
  if (!Refused) {
    const Integer New = Limited(Wnd, *D, static_cast<Int64>(D->Pos) + N.iDelta);
    if (New != D->Pos) {
      D->Pos = New;
      WriteBuddy(Wnd, *D);
      if ((D = ControlData<TUpDownData>(Wnd)) == nullptr) return;
    }
  }
  NotifyScroll(Wnd, !Horizontal(Wnd), SB_THUMBPOSITION, D->Pos);
}

// The arrow under P: +1 up, -1 down.
Integer ArrowAt(HWND Wnd, TPoint P) {
  const TRect C = ClientRectOf(Wnd);
  if (Horizontal(Wnd)) return P.X < C.Width() / 2 ? -1 : 1;
  return P.Y < C.Height() / 2 ? 1 : -1;
}

TRect ArrowRect(HWND Wnd, Integer Dir) {
  const TRect C = ClientRectOf(Wnd);
  if (Horizontal(Wnd))
    return Dir < 0 ? TRect{0, 0, C.Width() / 2, C.Height()} : TRect{C.Width() / 2, 0, C.Width(), C.Height()};
  return Dir > 0 ? TRect{0, 0, C.Width(), C.Height() / 2} : TRect{0, C.Height() / 2, C.Width(), C.Height()};
}

void Press(HWND Wnd, TUpDownData& D, Integer Dir, bool ByKey) {
  D.Pressed = Dir;
  D.PressedLook = true;
  D.ByKey = ByKey;
  D.PressStart = GetTickCount();
  InvalidateRect(Wnd, nullptr, FALSE);
  if (!ByKey) SetTimer(Wnd, RepeatTimer, FirstRepeat, nullptr);
  Step(Wnd, Dir);
}

void Release(HWND Wnd, TUpDownData& D) {
  if (D.Pressed == 0) return;
  const bool ByKey = D.ByKey;
  D.Pressed = 0;
  D.PressedLook = false;
  InvalidateRect(Wnd, nullptr, FALSE);
  if (!ByKey) {
    KillTimer(Wnd, RepeatTimer);
    if (GetCapture() == Wnd) ReleaseCapture();
  }
  if (IsWindow(Wnd)) NotifyScroll(Wnd, !Horizontal(Wnd), SB_ENDSCROLL, D.Pos);
}

void Paint(HWND Wnd, HDC DC) {
  TUpDownData* D = ControlData<TUpDownData>(Wnd);
  if (D == nullptr) return;
  const bool Enabled = IsWindowEnabled(Wnd);
  const bool Horz = Horizontal(Wnd);
  for (Integer Dir : {1, -1}) {
    RECT R = ArrowRect(Wnd, Dir);
    UINT State =
        Horz ? (Dir > 0 ? DFCS_SCROLLRIGHT : DFCS_SCROLLLEFT) : (Dir > 0 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
    if (D->Pressed == Dir && D->PressedLook) State |= DFCS_PUSHED;
    if (!Enabled) State |= DFCS_INACTIVE;
    DrawFrameControl(DC, &R, DFC_SCROLL, State);
  }
}

LRESULT UpDownWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TUpDownData* D = ControlData<TUpDownData>(Wnd);
  if (D == nullptr) return 0;
  LRESULT Result = 0;
  if (HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result)) return Result;
  switch (Msg) {
    case WM_CREATE:
      if (StyleOf(Wnd) & UDS_AUTOBUDDY) SetBuddy(Wnd, *D, GetWindow(Wnd, GW_HWNDPREV));
      return 0;
    case WM_DESTROY:
      UnhookBuddy(Wnd, D->Buddy);
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, Paint);
    case WM_ERASEBKGND:
      return 1;
    case WM_ENABLE:
      if (!WParam) Release(Wnd, *D);
      InvalidateRect(Wnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (D->Pressed != 0) return 0;
      const Integer Dir = ArrowAt(Wnd, MousePoint(LParam));
      if (IsWindow(D->Buddy)) SetFocus(D->Buddy);
      SetCapture(Wnd);
      if ((D = ControlData<TUpDownData>(Wnd)) != nullptr) Press(Wnd, *D, Dir, false);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (D->Pressed != 0 && !D->ByKey) {
        const bool On = RectContains(ArrowRect(Wnd, D->Pressed), MousePoint(LParam));
        if (On != D->PressedLook) {
          D->PressedLook = On;
          InvalidateRect(Wnd, nullptr, FALSE);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (!D->ByKey) Release(Wnd, *D);
      return 0;
    case WM_CAPTURECHANGED:
      if (D->Pressed != 0 && !D->ByKey && reinterpret_cast<HWND>(LParam) != Wnd) Release(Wnd, *D);
      return 0;
    case WM_TIMER:
      if (WParam == RepeatTimer && D->Pressed != 0 && !D->ByKey) {
        SetTimer(Wnd, RepeatTimer, NextRepeat, nullptr);
        if (D->PressedLook) Step(Wnd, D->Pressed);
      }
      return 0;
    case WM_KEYDOWN:
      if ((StyleOf(Wnd) & UDS_ARROWKEYS) && (WParam == VK_UP || WParam == VK_DOWN)) {
        const Integer Dir = WParam == VK_UP ? 1 : -1;
        if (D->Pressed == 0)
          Press(Wnd, *D, Dir, true);
        else if (D->ByKey)
          Step(Wnd, Dir);  // key repeat keeps the acceleration going
        return 0;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_KEYUP:
      if ((WParam == VK_UP || WParam == VK_DOWN) && D->ByKey) {
        Release(Wnd, *D);
        return 0;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case UDM_SETRANGE:
      D->Upper = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(LParam)));
      D->Lower = static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(LParam)));
      return 0;
    case UDM_GETRANGE:
      return MAKELONG(static_cast<WORD>(D->Upper), static_cast<WORD>(D->Lower));
    case UDM_SETRANGE32:
      D->Lower = static_cast<Integer>(WParam);
      D->Upper = static_cast<Integer>(LParam);
      return 0;
    case UDM_GETRANGE32:
      if (auto* Lo = reinterpret_cast<Integer*>(WParam)) *Lo = D->Lower;
      if (auto* Hi = reinterpret_cast<Integer*>(LParam)) *Hi = D->Upper;
      return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
      const Integer Old = D->Pos;
      const Integer V = Msg == UDM_SETPOS ? static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(LParam)))
                                          : static_cast<Integer>(LParam);
      const Int64 Lo = std::min(D->Lower, D->Upper), Hi = std::max(D->Lower, D->Upper);
      D->Pos = static_cast<Integer>(std::clamp<Int64>(V, Lo, Hi));
      WriteBuddy(Wnd, *D);
      return Msg == UDM_SETPOS ? static_cast<LRESULT>(static_cast<SHORT>(Old)) : Old;
    }
    case UDM_GETPOS: {
      const bool Ok = ReadBuddy(Wnd, *D);
      return MAKELONG(static_cast<WORD>(D->Pos), Ok ? 0 : 1);
    }
    case UDM_GETPOS32: {
      const bool Ok = ReadBuddy(Wnd, *D);
      if (auto* Error = reinterpret_cast<BOOL*>(LParam)) *Error = Ok ? FALSE : TRUE;
      return D->Pos;
    }
    case UDM_SETBUDDY:
      return reinterpret_cast<LRESULT>(SetBuddy(Wnd, *D, reinterpret_cast<HWND>(WParam)));
    case UDM_GETBUDDY:
      return reinterpret_cast<LRESULT>(IsWindow(D->Buddy) ? D->Buddy : nullptr);
    case UDM_SETACCEL: {
      const auto* A = reinterpret_cast<const UDACCEL*>(LParam);
      if (A == nullptr || WParam == 0) return FALSE;
      D->Accel.assign(A, A + WParam);
      return TRUE;
    }
    case UDM_GETACCEL: {
      if (auto* A = reinterpret_cast<UDACCEL*>(LParam))
        std::copy_n(D->Accel.begin(), std::min<std::size_t>(WParam, D->Accel.size()), A);
      return static_cast<LRESULT>(D->Accel.size());
    }
    case UDM_SETBASE: {
      if (WParam != 10 && WParam != 16) return 0;
      const Integer Old = D->Base;
      D->Base = static_cast<Integer>(WParam);
      if (Old != D->Base) WriteBuddy(Wnd, *D);
      return Old;
    }
    case UDM_GETBASE:
      return D->Base;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterUpDownClass() {
  RegisterControlClass(UPDOWN_CLASS, UpDownWndProc, CS_HREDRAW | CS_VREDRAW, -1);
}
