// The US keyboard layout table: scan codes, characters and key names by virtual key.
#include "platform/user/KeyTable.h"

#include <array>

#include "platform/user/WinUser.h"

namespace {

struct TRow {
  WORD Vk;
  BYTE Scan;
  bool Extended;
  char Plain;
  char Shifted;
  const char* Name;
};

constexpr TRow Rows[] = {
    {VK_ESCAPE, 0x01, false, 0, 0, "Esc"},
    {VK_BACK, 0x0E, false, 0, 0, "Backspace"},
    {VK_TAB, 0x0F, false, 0, 0, "Tab"},
    {VK_RETURN, 0x1C, false, 0, 0, "Enter"},
    {VK_CONTROL, 0x1D, false, 0, 0, "Ctrl"},
    {VK_LCONTROL, 0x1D, false, 0, 0, "Ctrl"},
    {VK_RCONTROL, 0x1D, true, 0, 0, "Right Ctrl"},
    {VK_SHIFT, 0x2A, false, 0, 0, "Shift"},
    {VK_LSHIFT, 0x2A, false, 0, 0, "Shift"},
    {VK_RSHIFT, 0x36, false, 0, 0, "Right Shift"},
    {VK_MENU, 0x38, false, 0, 0, "Alt"},
    {VK_LMENU, 0x38, false, 0, 0, "Alt"},
    {VK_RMENU, 0x38, true, 0, 0, "Right Alt"},
    {VK_SPACE, 0x39, false, ' ', ' ', "Space"},
    {VK_CAPITAL, 0x3A, false, 0, 0, "Caps Lock"},
    {VK_NUMLOCK, 0x45, true, 0, 0, "Num Lock"},
    {VK_SCROLL, 0x46, false, 0, 0, "Scroll Lock"},
    {VK_PAUSE, 0x45, false, 0, 0, "Pause"},
    {VK_SNAPSHOT, 0x37, true, 0, 0, "Prnt Scrn"},
    {VK_HOME, 0x47, true, 0, 0, "Home"},
    {VK_UP, 0x48, true, 0, 0, "Up"},
    {VK_PRIOR, 0x49, true, 0, 0, "Page Up"},
    {VK_LEFT, 0x4B, true, 0, 0, "Left"},
    {VK_CLEAR, 0x4C, false, 0, 0, "Num 5"},
    {VK_RIGHT, 0x4D, true, 0, 0, "Right"},
    {VK_END, 0x4F, true, 0, 0, "End"},
    {VK_DOWN, 0x50, true, 0, 0, "Down"},
    {VK_NEXT, 0x51, true, 0, 0, "Page Down"},
    {VK_INSERT, 0x52, true, 0, 0, "Insert"},
    {VK_DELETE, 0x53, true, 0, 0, "Delete"},
    {VK_NUMPAD7, 0x47, false, '7', '7', "Num 7"},
    {VK_NUMPAD8, 0x48, false, '8', '8', "Num 8"},
    {VK_NUMPAD9, 0x49, false, '9', '9', "Num 9"},
    {VK_SUBTRACT, 0x4A, false, '-', '-', "Num -"},
    {VK_NUMPAD4, 0x4B, false, '4', '4', "Num 4"},
    {VK_NUMPAD5, 0x4C, false, '5', '5', "Num 5"},
    {VK_NUMPAD6, 0x4D, false, '6', '6', "Num 6"},
    {VK_ADD, 0x4E, false, '+', '+', "Num +"},
    {VK_NUMPAD1, 0x4F, false, '1', '1', "Num 1"},
    {VK_NUMPAD2, 0x50, false, '2', '2', "Num 2"},
    {VK_NUMPAD3, 0x51, false, '3', '3', "Num 3"},
    {VK_NUMPAD0, 0x52, false, '0', '0', "Num 0"},
    {VK_DECIMAL, 0x53, false, '.', '.', "Num Del"},
    {VK_MULTIPLY, 0x37, false, '*', '*', "Num *"},
    {VK_DIVIDE, 0x35, true, '/', '/', "Num /"},
    {VK_LWIN, 0x5B, true, 0, 0, "Left Windows"},
    {VK_RWIN, 0x5C, true, 0, 0, "Right Windows"},
    {VK_APPS, 0x5D, true, 0, 0, "Application"},
    {VK_OEM_MINUS, 0x0C, false, '-', '_', nullptr},
    {VK_OEM_PLUS, 0x0D, false, '=', '+', nullptr},
    {VK_OEM_4, 0x1A, false, '[', '{', nullptr},
    {VK_OEM_6, 0x1B, false, ']', '}', nullptr},
    {VK_OEM_1, 0x27, false, ';', ':', nullptr},
    {VK_OEM_7, 0x28, false, '\'', '"', nullptr},
    {VK_OEM_3, 0x29, false, '`', '~', nullptr},
    {VK_OEM_5, 0x2B, false, '\\', '|', nullptr},
    {VK_OEM_COMMA, 0x33, false, ',', '<', nullptr},
    {VK_OEM_PERIOD, 0x34, false, '.', '>', nullptr},
    {VK_OEM_2, 0x35, false, '/', '?', nullptr},
    {VK_OEM_102, 0x56, false, '\\', '|', nullptr},
};

constexpr const char* FunctionNames[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                         "F7", "F8", "F9", "F10", "F11", "F12"};

struct TTables {
  std::array<TKeyInfo, 256> ByVk{};
  std::array<WORD, 256> ByScan{};          // the first key with that scan code, not extended
  std::array<WORD, 256> ByExtendedScan{};  // the same with the E0 prefix
};

void Enter(TTables& T, WORD Vk, BYTE Scan, bool Extended, char Plain, char Shifted, const char* Name) {
  T.ByVk[Vk] = TKeyInfo{Scan, Extended, Plain, Shifted, Name};
  WORD& Slot = Extended ? T.ByExtendedScan[Scan] : T.ByScan[Scan];
  if (Slot == 0) Slot = Vk;
}

const TTables& Tables() {
  static const TTables Instance = [] {
    TTables T;
    // Digit row, then the letter rows by their position.
    constexpr char Shifted[] = ")!@#$%^&*(";
    for (Integer D = 1; D <= 10; ++D) {
      const char Digit = static_cast<char>('0' + D % 10);
      Enter(T, static_cast<WORD>(Digit), static_cast<BYTE>(0x01 + D), false, Digit, Shifted[D % 10], nullptr);
    }
    struct TLetterRow {
      const char* Keys;
      BYTE First;
    };
    for (const TLetterRow& R :
         {TLetterRow{"QWERTYUIOP", 0x10}, TLetterRow{"ASDFGHJKL", 0x1E}, TLetterRow{"ZXCVBNM", 0x2C}})
      for (Integer I = 0; R.Keys[I] != 0; ++I)
        Enter(T, static_cast<WORD>(R.Keys[I]), static_cast<BYTE>(R.First + I), false, R.Keys[I], R.Keys[I],
              nullptr);
    for (Integer I = 0; I < 12; ++I)
      Enter(T, static_cast<WORD>(VK_F1 + I), static_cast<BYTE>(I < 10 ? 0x3B + I : 0x57 + I - 10), false, 0,
            0, FunctionNames[I]);
    for (const TRow& R : Rows) Enter(T, R.Vk, R.Scan, R.Extended, R.Plain, R.Shifted, R.Name);
    T.ByExtendedScan[0x1C] = VK_RETURN;  // the keypad Enter
    return T;
  }();
  return Instance;
}

}  // namespace

const TKeyInfo& KeyInfo(WORD Vk) {
  return Tables().ByVk[Vk & 0xFF];
}

WORD KeyAtScan(BYTE Scan, bool Extended) {
  const WORD Vk = Extended ? Tables().ByExtendedScan[Scan] : Tables().ByScan[Scan];
  return Vk == 0 && Extended ? Tables().ByScan[Scan] : Vk;
}

WORD KeyFromScan(BYTE Scan, bool Extended, bool Sides) {
  WORD Vk = KeyAtScan(Scan, Extended);
  // Keypad digits read as the navigation keys they carry (no Num Lock).
  if (!Extended && Scan >= 0x47 && Scan <= 0x53 && Tables().ByExtendedScan[Scan] != 0)
    Vk = Tables().ByExtendedScan[Scan];
  if (!Sides) {
    if (Vk == VK_LSHIFT || Vk == VK_RSHIFT) return VK_SHIFT;
    if (Vk == VK_LCONTROL || Vk == VK_RCONTROL) return VK_CONTROL;
    if (Vk == VK_LMENU || Vk == VK_RMENU) return VK_MENU;
    return Vk;
  }
  if (Vk == VK_SHIFT) return Scan == 0x36 ? VK_RSHIFT : VK_LSHIFT;
  if (Vk == VK_CONTROL) return Extended ? VK_RCONTROL : VK_LCONTROL;
  if (Vk == VK_MENU) return Extended ? VK_RMENU : VK_LMENU;
  return Vk;
}

char16_t UsKeyChar(WORD Vk, bool Shift) {
  const TKeyInfo& K = KeyInfo(Vk);
  if (Vk >= 'A' && Vk <= 'Z') return static_cast<char16_t>(Shift ? Vk : Vk - 'A' + 'a');
  return static_cast<char16_t>(static_cast<unsigned char>(Shift ? K.Shifted : K.Plain));
}
