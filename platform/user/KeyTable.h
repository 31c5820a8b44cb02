#pragma once
// The keyboard the input part assumes where a back end says nothing: a US layout with PC scan
// codes (set 1). Back ends that know the real scan code pass it on; characters of printable
// keys come from the back end's text, except where noted.
#include "platform/system/WinTypes.h"

struct TKeyInfo {
  BYTE Scan = 0;               // set 1 scan code, without the E0 prefix
  bool Extended = false;       // sent with the E0 prefix (extended bit 24 of key messages)
  char Plain = 0;              // the character without Shift (letters upper case, as MapVirtualKey gives)
  char Shifted = 0;            // the character with Shift
  const char* Name = nullptr;  // GetKeyNameText's name; null for letters, digits and punctuation
};

// The key with this virtual-key code (an empty entry for codes without a key).
const TKeyInfo& KeyInfo(WORD Vk);
// The virtual key of a scan code; keypad keys give their navigation meaning (0x4B: VK_LEFT),
// Shift, Ctrl and Alt their left or right form when Sides, else the generic one.
WORD KeyFromScan(BYTE Scan, bool Extended, bool Sides);
// The key at a scan code as it is labelled (the keypad keys as keypad keys); 0 for none.
WORD KeyAtScan(BYTE Scan, bool Extended);
// The character a US keyboard types with this key (letters lower case without Shift); 0 for
// keys without one.
char16_t UsKeyChar(WORD Vk, bool Shift);
