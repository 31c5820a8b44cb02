// Short-cut values, their texts and accelerator marks in captions.
#include <cctype>

#include "platform/classes/Menus.h"
#include "platform/system/Strings.h"
#include "platform/user/Input.h"

namespace {

// The key names of menu texts.
constexpr const char* KeyCaps[] = {"BkSp", "Tab",  "Esc", "Enter", "Space", "PgUp", "PgDn", "End",
                                   "Home", "Left", "Up",  "Right", "Down",  "Ins",  "Del"};
enum {
  mkcBkSp,
  mkcTab,
  mkcEsc,
  mkcEnter,
  mkcSpace,
  mkcPgUp,
  mkcPgDn,
  mkcEnd,
  mkcHome,
  mkcLeft,
  mkcUp,
  mkcRight,
  mkcDown,
  mkcIns,
  mkcDel
};
constexpr const char* ShiftCap = "Shift+";
constexpr const char* CtrlCap = "Ctrl+";
constexpr const char* AltCap = "Alt+";

// Keys that have no name of their own in the table above: the names the platform's keyboard
// layout gives them (US layout).
std::string SpecialName(Byte Key) {
  switch (Key) {
    case VK_MULTIPLY:
      return "Num *";
    case VK_ADD:
      return "Num +";
    case VK_SUBTRACT:
      return "Num -";
    case VK_DECIMAL:
      return "Num Del";
    case VK_DIVIDE:
      return "Num /";
    case VK_OEM_1:
      return ";";
    case VK_OEM_PLUS:
      return "=";
    case VK_OEM_COMMA:
      return ",";
    case VK_OEM_MINUS:
      return "-";
    case VK_OEM_PERIOD:
      return ".";
    case VK_OEM_2:
      return "/";
    case VK_OEM_3:
      return "`";
    case VK_OEM_4:
      return "[";
    case VK_OEM_5:
      return "\\";
    case VK_OEM_6:
      return "]";
    case VK_OEM_7:
      return "'";
    case VK_PAUSE:
      return "Pause";
    case VK_CAPITAL:
      return "Caps Lock";
    case VK_NUMLOCK:
      return "Num Lock";
    case VK_SCROLL:
      return "Scroll Lock";
    case VK_SNAPSHOT:
      return "Prnt Scrn";
    case VK_APPS:
      return "Application";
    default:
      return {};
  }
}

bool TakeFront(std::string& Text, const std::string& Front) {
  if (Text.size() < Front.size() || !SameText(Text.substr(0, Front.size()), Front)) return false;
  Text.erase(0, Front.size());
  return true;
}

}  // namespace

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if ((Key & 0xFF00) != 0) return scNone;
  TShortCut Result = Key;
  if (Shift.Contains(ssShift)) Result += scShift;
  if (Shift.Contains(ssCtrl)) Result += scCtrl;
  if (Shift.Contains(ssAlt)) Result += scAlt;
  return Result;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift) {
  Key = ShortCut & ~(scShift + scCtrl + scAlt);
  Shift = {};
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut ShortCut) {
  const Byte Key = static_cast<Byte>(ShortCut & 0xFF);
  std::string Name;
  if (Key == 0x08 || Key == 0x09)
    Name = KeyCaps[mkcBkSp + Key - 0x08];
  else if (Key == 0x0D)
    Name = KeyCaps[mkcEnter];
  else if (Key == 0x1B)
    Name = KeyCaps[mkcEsc];
  else if (Key >= 0x20 && Key <= 0x28)
    Name = KeyCaps[mkcSpace + Key - 0x20];
  else if (Key >= 0x2D && Key <= 0x2E)
    Name = KeyCaps[mkcIns + Key - 0x2D];
  else if (Key >= 0x30 && Key <= 0x39)
    Name = std::string(1, static_cast<char>('0' + Key - 0x30));
  else if (Key >= 0x41 && Key <= 0x5A)
    Name = std::string(1, static_cast<char>('A' + Key - 0x41));
  else if (Key >= 0x60 && Key <= 0x69)
    Name = std::string(1, static_cast<char>('0' + Key - 0x60));
  else if (Key >= 0x70 && Key <= 0x87)
    Name = "F" + std::to_string(Key - 0x6F);
  else
    Name = SpecialName(Key);
  if (Name.empty()) return {};
  std::string Result;
  if (ShortCut & scShift) Result += ShiftCap;
  if (ShortCut & scCtrl) Result += CtrlCap;
  if (ShortCut & scAlt) Result += AltCap;
  return Result + Name;
}

TShortCut TextToShortCut(std::string Text) {
  TShortCut Shift = 0;
  for (;;) {
    if (TakeFront(Text, ShiftCap))
      Shift |= scShift;
    else if (TakeFront(Text, "^"))
      Shift |= scCtrl;
    else if (TakeFront(Text, CtrlCap))
      Shift |= scCtrl;
    else if (TakeFront(Text, AltCap))
      Shift |= scAlt;
    else
      break;
  }
  if (Text.empty()) return scNone;
  for (TShortCut Key = 0x08; Key <= 0xFF; ++Key)
    if (SameText(Text, ShortCutToText(Key))) return Key | Shift;
  return scNone;
}

std::string StripHotkey(const std::string& Text) {
  std::string Result;
  Result.reserve(Text.size());
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '&') {
      if (I + 1 < Text.size() && Text[I + 1] == '&') {
        Result += '&';
        ++I;
      }
      continue;
    }
    Result += Text[I];
  }
  return Result;
}

std::string GetHotkey(const std::string& Text) {
  for (std::size_t I = 0; I + 1 < Text.size(); ++I) {
    if (Text[I] != '&') continue;
    if (Text[I + 1] == '&') {
      ++I;
      continue;
    }
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(Text[I + 1]))));
  }
  return {};
}

bool IsAccel(Word VK, const std::string& Caption) {
  const std::string Hotkey = GetHotkey(Caption);
  return Hotkey.size() == 1 && VK < 0x80 &&
         std::toupper(static_cast<unsigned char>(VK)) == static_cast<unsigned char>(Hotkey[0]);
}

TShortCut KeyMessageShortCut(const TWMKey& Message) {
  TShortCut Key = static_cast<Byte>(Message.CharCode);
  if (GetKeyState(VK_SHIFT) < 0) Key += scShift;
  if (GetKeyState(VK_CONTROL) < 0) Key += scCtrl;
  if (Message.KeyData & AltMask) Key += scAlt;
  return Key;
}
