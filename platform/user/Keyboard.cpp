// Key events to key messages, TranslateMessage's characters, the key state, the keyboard
// defaults of DefWindowProc and injected keyboard input.
#include <algorithm>
#include <cstring>
#include <deque>

#include "platform/system/Strings.h"
#include "platform/user/InputState.h"
#include "platform/user/KeyTable.h"
#include "platform/user/WindowMessages.h"

namespace {

// Key downs routed and not yet translated, oldest first, for the text the back end sends after
// them. A key down's characters become WM_CHAR when TranslateMessage has seen it (before or
// after the text arrives); a key down nobody translates loses its text, as a shortcut handled
// before TranslateMessage types nothing on the platform.
struct TKeyDown {
  HWND Wnd = nullptr;
  UINT Msg = 0;
  WPARAM Vk = 0;
  LPARAM LParam = 0;
  bool Released = false;  // its key went up: no more text for it
  bool Translated = false;
  bool DropText = false;  // the key makes its own character (or is a system key)
  std::u16string Pending;
};
std::deque<TKeyDown> GKeyDowns;
constexpr std::size_t MaxKeyDowns = 32;

bool IsDown(WORD Vk) {
  return (InputState().Keys[Vk] & 0x80) != 0;
}

// Alt for menus and system keys is the left Alt key: the right one is AltGr on the layouts
// that type characters with it.
bool MenuAltDown() {
  return IsDown(VK_LMENU);
}

// The character a key down makes without the back end's text: control characters, and with
// Layout (system keys, key downs nobody typed) the US layout's character.
char16_t KeyChar(WPARAM Vk, bool Layout) {
  const bool Ctrl = IsDown(VK_CONTROL) && !MenuAltDown();
  switch (Vk) {
    case VK_RETURN:
      return Ctrl ? 10 : 13;
    case VK_BACK:
      return Ctrl ? 0x7F : 8;
    case VK_TAB:
      return Ctrl ? 0 : 9;
    case VK_ESCAPE:
      return 27;
    case VK_CANCEL:
      return 3;
    default:
      break;
  }
  if (Ctrl) {
    if (Vk >= 'A' && Vk <= 'Z') return static_cast<char16_t>(Vk - 'A' + 1);
    if (Vk == VK_OEM_4) return 27;
    if (Vk == VK_OEM_5) return 28;
    if (Vk == VK_OEM_6) return 29;
    return 0;
  }
  return Layout ? UsKeyChar(static_cast<WORD>(Vk), IsDown(VK_SHIFT)) : 0;
}

void QueueChars(HWND Wnd, UINT Msg, std::u16string_view Units, LPARAM LParam) {
  for (const char16_t U : Units) QueueInputMessage(Wnd, Msg, U, LParam, LastMousePosition());
}

// Shift, Ctrl and Alt: the messages carry the generic key, the state keeps both sides.
struct TSides {
  WORD Generic;
  WORD Left;
  WORD Right;
};
constexpr TSides Pairs[] = {
    {VK_SHIFT, VK_LSHIFT, VK_RSHIFT}, {VK_CONTROL, VK_LCONTROL, VK_RCONTROL}, {VK_MENU, VK_LMENU, VK_RMENU}};

void Press(BYTE& Key, bool Down) {
  if (!Down) {
    Key &= 0x01;
    return;
  }
  if (!(Key & 0x80)) Key ^= 0x01;
  Key |= 0x80;
}

struct TKeyChange {
  bool Was;   // the key (its side for pairs) was down before
  WORD Side;  // the key itself, or VK_L*/VK_R* for Shift, Ctrl and Alt
};

// Updates the key state; Vk becomes the generic key of a pair.
TKeyChange UpdateKeyState(WORD& Vk, BYTE Scan, bool Extended, bool Down) {
  auto& Keys = InputState().Keys;
  const TSides* Pair = nullptr;
  WORD Side = Vk;
  for (const TSides& P : Pairs)
    if (Vk == P.Generic || Vk == P.Left || Vk == P.Right) {
      Pair = &P;
      Side = Vk == P.Generic ? KeyFromScan(Scan, Extended, true) : Vk;
      if (Side != P.Left && Side != P.Right) Side = P.Left;
      Vk = P.Generic;
    }
  const bool Was = (Keys[Side] & 0x80) != 0;
  Press(Keys[Side], Down);
  if (Pair != nullptr) {
    const bool Any = ((Keys[Pair->Left] | Keys[Pair->Right]) & 0x80) != 0;
    BYTE& Generic = Keys[Vk];
    if (Any)
      Press(Generic, true);
    else
      Generic &= 0x01;
  }
  return {Was, Side};
}

}  // namespace

void RouteKeyEvent(const TInputEvent& Ev) {
  TInputState& S = InputState();
  const bool Down = Ev.Kind == TInputEventKind::KeyDown;
  WORD Vk = static_cast<WORD>(Ev.VirtualKey & 0xFF);
  BYTE Scan = static_cast<BYTE>(Ev.ScanCode & 0xFF);
  bool Extended = (Ev.ScanCode >> 8) == 0xE0;
  if (Scan == 0) {
    Scan = KeyInfo(Vk).Scan;
    Extended = KeyInfo(Vk).Extended;
  }
  if (Vk == 0) Vk = KeyFromScan(Scan, Extended, true);
  if (Vk == 0) return;
  const auto [Was, Side] = UpdateKeyState(Vk, Scan, Extended, Down);
  const bool Ctrl = IsDown(VK_CONTROL), AltMenu = MenuAltDown();

  // A lone Alt (left) or F10 opens the menu when it goes up; anything else pressed between
  // cancels that.
  S.MenuKeyUp = false;
  if (Down) {
    if (!Was) S.AltAlone = Side == VK_LMENU || Vk == VK_F10;
  } else if (S.AltAlone && (Side == VK_LMENU || Vk == VK_F10)) {
    S.MenuKeyUp = true;
    S.AltAlone = false;
  }

  HWND Target = GetFocus();
  const bool NoFocus = Target == nullptr;
  if (NoFocus) Target = GetActiveWindow();
  if (!Down) {
    for (TKeyDown& K : GKeyDowns)
      if (K.Vk == Vk) K.Released = true;
  }
  if (Target == nullptr) return;
  // Keys go to the focus window; with Alt, for F10, and to the active window when nothing has
  // the focus, as system keys.
  const bool System = NoFocus || (!Ctrl && (AltMenu || Vk == VK_F10 || (!Down && Side == VK_LMENU)));
  LPARAM L = 1 | (static_cast<LPARAM>(Scan) << 16);
  if (Extended) L |= LPARAM{1} << 24;
  if (AltMenu) L |= LPARAM{1} << 29;
  if (Was || !Down) L |= LPARAM{1} << 30;
  if (!Down) L |= static_cast<LPARAM>(0x80000000u);
  const UINT Msg = Down ? (System ? WM_SYSKEYDOWN : WM_KEYDOWN) : (System ? WM_SYSKEYUP : WM_KEYUP);
  if (Down) {
    GKeyDowns.push_back(TKeyDown{Target, Msg, Vk, L, false, false, System || KeyChar(Vk, false) != 0, {}});
    if (GKeyDowns.size() > MaxKeyDowns) GKeyDowns.pop_front();
  }
  QueueInputMessage(Target, Msg, Vk, L, LastMousePosition());
}

void RouteText(const std::string& Utf8) {
  std::u16string Units = Utf8ToUtf16(Utf8);
  // Control characters come from the key downs.
  std::erase_if(Units, [](char16_t C) { return C < 0x20 || C == 0x7F; });
  if (Units.empty()) return;
  if (!GKeyDowns.empty() && !GKeyDowns.back().Released) {
    // The text of the key still down.
    TKeyDown& K = GKeyDowns.back();
    if (K.DropText) return;
    if (!K.Translated)
      K.Pending += Units;
    else if (PeekWindow(K.Wnd) != nullptr)
      QueueChars(K.Wnd, WM_CHAR, Units, K.LParam);
    return;
  }
  // Text that no key brought (an input method, a test's script) goes to the focus window.
  HWND Target = GetFocus();
  UINT Msg = WM_CHAR;
  if (Target == nullptr) Target = GetActiveWindow(), Msg = WM_SYSCHAR;
  if (Target != nullptr) QueueChars(Target, Msg, Units, 1);
}

bool TranslateKeyMessage(const MSG& Msg) {
  if (Msg.message == WM_KEYUP || Msg.message == WM_SYSKEYUP) return true;
  if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN) return false;
  const bool System = Msg.message == WM_SYSKEYDOWN;
  auto Typed = std::find_if(GKeyDowns.begin(), GKeyDowns.end(), [&](const TKeyDown& K) {
    return !K.Translated && K.Wnd == Msg.hwnd && K.Msg == Msg.message && K.Vk == Msg.wParam &&
           K.LParam == Msg.lParam;
  });
  // A key down nobody typed (posted by a program) gets the US layout's character.
  if (const char16_t C = KeyChar(Msg.wParam, System || Typed == GKeyDowns.end())) {
    const char16_t Unit[] = {C};
    QueueChars(Msg.hwnd, System ? WM_SYSCHAR : WM_CHAR, std::u16string_view(Unit, 1), Msg.lParam);
  }
  if (Typed != GKeyDowns.end()) {
    Typed->Translated = true;
    if (!Typed->DropText && !Typed->Pending.empty())
      QueueChars(Msg.hwnd, WM_CHAR, Typed->Pending, Msg.lParam);
    Typed->Pending.clear();
    std::erase_if(GKeyDowns, [](const TKeyDown& K) { return K.Translated && K.Released; });
  }
  return true;
}

void ResetKeyboardState() {
  GKeyDowns.clear();
  InputState().Keys.fill(0);
}

// ---- DefWindowProc ------------------------------------------------------------------------------

namespace {

TWindow* RootOf(TWindow* W) {
  return W->Parent != nullptr ? TopLevelOf(W) : W;
}

void ContextMenuByKey(TWindow* W) {
  SendTo(W, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(W->Handle), static_cast<LPARAM>(-1));
}

}  // namespace

LRESULT DefSysKeyDown(TWindow* W, UINT, WPARAM WParam, LPARAM LParam) {
  // Alt+F4 closes the top-level window (posted, as the platform does).
  if (WParam == VK_F4 && (HIWORD(static_cast<std::uintptr_t>(LParam)) & KF_ALTDOWN)) {
    TWindow* Top = RootOf(W);
    if (!(Top->Class->Style & CS_NOCLOSE)) PostMessage(Top->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  return 0;
}

LRESULT DefSysKeyUp(TWindow* W, UINT, WPARAM WParam, LPARAM) {
  TInputState& S = InputState();
  if (!S.MenuKeyUp || (WParam != VK_MENU && WParam != VK_F10)) return 0;
  S.MenuKeyUp = false;
  if (WParam == VK_F10 && IsDown(VK_SHIFT))
    ContextMenuByKey(W);
  else
    SendTo(RootOf(W), WM_SYSCOMMAND, SC_KEYMENU, 0);
  return 0;
}

LRESULT DefSysChar(TWindow* W, UINT, WPARAM WParam, LPARAM LParam) {
  // Alt with a character opens the menu that has it (the system menu for the space bar).
  if (!(HIWORD(static_cast<std::uintptr_t>(LParam)) & KF_ALTDOWN)) return 0;
  if (WParam == VK_TAB || WParam == VK_ESCAPE || WParam == VK_RETURN || WParam == 0) return 0;
  SendTo(RootOf(W), WM_SYSCOMMAND, SC_KEYMENU, WParam);
  return 0;
}

LRESULT DefKeyUp(TWindow* W, UINT, WPARAM WParam, LPARAM) {
  if (WParam == VK_APPS) ContextMenuByKey(W);
  return 0;
}

// ---- The key state --------------------------------------------------------------------------------

SHORT GetKeyState(Integer VirtualKey) {
  const BYTE B = InputState().Keys[static_cast<std::size_t>(VirtualKey & 0xFF)];
  return static_cast<SHORT>(((B & 0x80) ? 0xFF80 : 0) | (B & 0x01));
}

SHORT GetAsyncKeyState(Integer VirtualKey) {
  return static_cast<SHORT>((InputState().Keys[static_cast<std::size_t>(VirtualKey & 0xFF)] & 0x80) ? 0x8000
                                                                                                    : 0);
}

BOOL GetKeyboardState(BYTE* KeyState) {
  if (KeyState == nullptr) return FALSE;
  std::memcpy(KeyState, InputState().Keys.data(), 256);
  return TRUE;
}

BOOL SetKeyboardState(const BYTE* KeyState) {
  if (KeyState == nullptr) return FALSE;
  std::memcpy(InputState().Keys.data(), KeyState, 256);
  return TRUE;
}

UINT MapVirtualKey(UINT Code, UINT MapType) {
  switch (MapType) {
    case MAPVK_VK_TO_VSC:
      return Code > 0xFF ? 0 : KeyInfo(static_cast<WORD>(Code)).Scan;
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX: {
      const bool Extended = (Code & 0xFF00) == 0xE000;
      return KeyFromScan(static_cast<BYTE>(Code & 0xFF), Extended, MapType == MAPVK_VSC_TO_VK_EX);
    }
    case MAPVK_VK_TO_CHAR: {
      if (Code > 0xFF) return 0;
      return static_cast<unsigned char>(KeyInfo(static_cast<WORD>(Code)).Plain);
    }
    default:
      return 0;
  }
}

Integer GetKeyNameText(LONG LParam, char* Buffer, Integer Size) {
  if (Buffer == nullptr || Size <= 0) return 0;
  const BYTE Scan = static_cast<BYTE>((LParam >> 16) & 0xFF);
  // Bit 25: left and right keys are not told apart.
  WORD Vk = KeyAtScan(Scan, (LParam & (1 << 24)) != 0);
  for (const TSides& P : Pairs)
    if (Vk == P.Generic || ((LParam & (1 << 25)) && Vk == P.Right)) Vk = P.Left;
  std::string Name;
  if (const char* N = KeyInfo(Vk).Name)
    Name = N;
  else if (const char C = KeyInfo(Vk).Plain)
    Name.assign(1, C);
  const Integer N = std::min(static_cast<Integer>(Name.size()), Size - 1);
  std::memcpy(Buffer, Name.data(), static_cast<std::size_t>(N));
  Buffer[N] = 0;
  return N;
}

// ---- Injected input -------------------------------------------------------------------------------

void keybd_event(BYTE Vk, BYTE Scan, DWORD Flags, ULONG_PTR) {
  TInputEvent Ev;
  Ev.Kind = (Flags & KEYEVENTF_KEYUP) ? TInputEventKind::KeyUp : TInputEventKind::KeyDown;
  Ev.VirtualKey = Vk;
  Ev.ScanCode = static_cast<Word>(Scan | ((Flags & KEYEVENTF_EXTENDEDKEY) && Scan != 0 ? 0xE000 : 0));
  Ev.Repeat = Ev.Kind == TInputEventKind::KeyDown && IsDown(Vk);
  if (InputEventHandler != nullptr) InputEventHandler(Ev);
}

UINT SendInput(UINT Count, const INPUT* Inputs, Integer Size) {
  if (Inputs == nullptr || Size != static_cast<Integer>(sizeof(INPUT))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string Surrogate;
  for (UINT I = 0; I < Count; ++I) {
    const INPUT& In = Inputs[I];
    if (In.type == INPUT_MOUSE) {
      mouse_event(In.mi.dwFlags, static_cast<DWORD>(In.mi.dx), static_cast<DWORD>(In.mi.dy), In.mi.mouseData,
                  In.mi.dwExtraInfo);
    } else if (In.type == INPUT_KEYBOARD && (In.ki.dwFlags & KEYEVENTF_UNICODE)) {
      // A character without a key; a surrogate pair comes as two inputs.
      if (In.ki.dwFlags & KEYEVENTF_KEYUP) continue;
      const char16_t U = static_cast<char16_t>(In.ki.wScan);
      if (U >= 0xD800 && U < 0xDC00) {
        Surrogate.assign(1, U);
        continue;
      }
      Surrogate.push_back(U);
      TInputEvent Ev;
      Ev.Kind = TInputEventKind::Text;
      Ev.Text = Utf16ToUtf8(Surrogate);
      Surrogate.clear();
      if (InputEventHandler != nullptr) InputEventHandler(Ev);
    } else if (In.type == INPUT_KEYBOARD) {
      const bool ByScan = (In.ki.dwFlags & KEYEVENTF_SCANCODE) != 0;
      const bool Extended = (In.ki.dwFlags & KEYEVENTF_EXTENDEDKEY) != 0;
      const BYTE Scan = static_cast<BYTE>(In.ki.wScan);
      const WORD Vk = ByScan ? KeyFromScan(Scan, Extended, true) : In.ki.wVk;
      keybd_event(static_cast<BYTE>(Vk), Scan, In.ki.dwFlags, In.ki.dwExtraInfo);
    } else {
      SetLastError(ERROR_INVALID_PARAMETER);
      return I;
    }
  }
  return Count;
}
