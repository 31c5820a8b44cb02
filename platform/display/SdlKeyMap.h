#pragma once
// SDL keys to the platform's virtual-key codes and keyboard scan codes.
#include "platform/system/Types.h"

struct TSdlKey {
  Word VirtualKey = 0;  // VK_*; 0 for keys the platform has no code for
  // The PC (set 1) scan code the key sends; extended keys (the E0 prefix: right Ctrl and
  // Alt, the navigation block, keypad Enter and /) carry 0xE0 in the high byte.
  Word ScanCode = 0;
};

// Scancode and Keycode are SDL_Scancode and SDL_Keycode values. Letters follow the keyboard
// layout (as the platform's virtual keys do); every other key, digits and punctuation
// included, is named by its position on a US keyboard. Shift, Ctrl and Alt give the generic
// VK_SHIFT/VK_CONTROL/VK_MENU, as key messages carry them; the scan code tells left from right.
// Keypad digits without NumLock are the navigation keys they are labelled with.
TSdlKey SdlKeyToVirtualKey(Integer Scancode, Integer Keycode, bool NumLock);
