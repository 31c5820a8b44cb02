#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/display/SdlKeyMap.h"
#include "platform/user/WinUser.h"

namespace {

struct TKeyCase {
  SDL_Scancode Scancode;
  SDL_Keycode Keycode;
  bool NumLock;
  Word Vk;
  Word Scan;
};

// Keycodes as SDL reports them on a US layout unless noted.
const TKeyCase KeyCases[] = {
    {SDL_SCANCODE_A, SDLK_a, true, 'A', 0x1E},
    {SDL_SCANCODE_Q, SDLK_a, true, 'A', 0x10},          // AZERTY: the key left of Z is A
    {SDL_SCANCODE_SEMICOLON, SDLK_m, true, 'M', 0x27},  // AZERTY: M beside L
    {SDL_SCANCODE_1, SDLK_AMPERSAND, true, '1', 0x02},  // AZERTY digit row: still VK '1'
    {SDL_SCANCODE_0, SDLK_0, true, '0', 0x0B},
    {SDL_SCANCODE_RETURN, SDLK_RETURN, true, VK_RETURN, 0x1C},
    {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, true, VK_RETURN, 0xE01C},
    {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, true, VK_ESCAPE, 0x01},
    {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, true, VK_BACK, 0x0E},
    {SDL_SCANCODE_SPACE, SDLK_SPACE, true, VK_SPACE, 0x39},
    {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, true, VK_OEM_1, 0x27},
    {SDL_SCANCODE_EQUALS, SDLK_EQUALS, true, VK_OEM_PLUS, 0x0D},
    {SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, true, VK_OEM_3, 0x29},
    {SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, true, VK_OEM_7, 0x28},
    {SDL_SCANCODE_F1, SDLK_F1, true, VK_F1, 0x3B},
    {SDL_SCANCODE_F12, SDLK_F12, true, VK_F12, 0x58},
    {SDL_SCANCODE_HOME, SDLK_HOME, true, VK_HOME, 0xE047},
    {SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, true, VK_NEXT, 0xE051},
    {SDL_SCANCODE_LEFT, SDLK_LEFT, true, VK_LEFT, 0xE04B},
    {SDL_SCANCODE_DELETE, SDLK_DELETE, true, VK_DELETE, 0xE053},
    {SDL_SCANCODE_KP_7, SDLK_KP_7, true, VK_NUMPAD7, 0x47},
    {SDL_SCANCODE_KP_7, SDLK_KP_7, false, VK_HOME, 0x47},  // not extended: the keypad's Home
    {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, false, VK_DELETE, 0x53},
    {SDL_SCANCODE_KP_5, SDLK_KP_5, false, VK_CLEAR, 0x4C},
    {SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, false, VK_DIVIDE, 0xE035},
    {SDL_SCANCODE_NUMLOCKCLEAR, SDLK_NUMLOCKCLEAR, true, VK_NUMLOCK, 0xE045},
    {SDL_SCANCODE_PAUSE, SDLK_PAUSE, true, VK_PAUSE, 0x45},
    {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, true, VK_SHIFT, 0x2A},
    {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, true, VK_SHIFT, 0x36},
    {SDL_SCANCODE_RCTRL, SDLK_RCTRL, true, VK_CONTROL, 0xE01D},
    {SDL_SCANCODE_LALT, SDLK_LALT, true, VK_MENU, 0x38},
    {SDL_SCANCODE_RALT, SDLK_RALT, true, VK_MENU, 0xE038},
    {SDL_SCANCODE_LGUI, SDLK_LGUI, true, VK_LWIN, 0xE05B},
    {SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, true, VK_CAPITAL, 0x3A},
    {SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS, true, VK_OEM_102, 0x56},
};

}  // namespace

TEST(SdlKeyMap, KeysMapToVirtualKeysAndScanCodes) {
  for (const TKeyCase& C : KeyCases) {
    SCOPED_TRACE(SDL_GetScancodeName(C.Scancode));
    const TSdlKey Key = SdlKeyToVirtualKey(C.Scancode, C.Keycode, C.NumLock);
    EXPECT_EQ(Key.VirtualKey, C.Vk);
    EXPECT_EQ(Key.ScanCode, C.Scan);
  }
}

TEST(SdlKeyMap, UnknownKeysHaveNoVirtualKey) {
  EXPECT_EQ(SdlKeyToVirtualKey(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN, true).VirtualKey, 0);
  EXPECT_EQ(SdlKeyToVirtualKey(SDL_SCANCODE_KP_EQUALSAS400, SDLK_KP_EQUALSAS400, true).VirtualKey, 0);
  EXPECT_EQ(SdlKeyToVirtualKey(-1, 0, true).VirtualKey, 0);
  EXPECT_EQ(SdlKeyToVirtualKey(SDL_NUM_SCANCODES, 0, true).VirtualKey, 0);
}
