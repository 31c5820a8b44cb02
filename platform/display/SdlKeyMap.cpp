#include "platform/display/SdlKeyMap.h"

#include <SDL.h>

#include <array>

#include "platform/user/WinUser.h"

namespace {

struct TKeyRow {
  SDL_Scancode Sdl;
  Word Vk;
  Word Scan;
  Word VkNoNumLock;  // keypad keys: the key without NumLock; 0 elsewhere
};

constexpr Word E0 = 0xE000;

constexpr TKeyRow KeyTable[] = {
    {SDL_SCANCODE_A, 'A', 0x1E, 0},
    {SDL_SCANCODE_B, 'B', 0x30, 0},
    {SDL_SCANCODE_C, 'C', 0x2E, 0},
    {SDL_SCANCODE_D, 'D', 0x20, 0},
    {SDL_SCANCODE_E, 'E', 0x12, 0},
    {SDL_SCANCODE_F, 'F', 0x21, 0},
    {SDL_SCANCODE_G, 'G', 0x22, 0},
    {SDL_SCANCODE_H, 'H', 0x23, 0},
    {SDL_SCANCODE_I, 'I', 0x17, 0},
    {SDL_SCANCODE_J, 'J', 0x24, 0},
    {SDL_SCANCODE_K, 'K', 0x25, 0},
    {SDL_SCANCODE_L, 'L', 0x26, 0},
    {SDL_SCANCODE_M, 'M', 0x32, 0},
    {SDL_SCANCODE_N, 'N', 0x31, 0},
    {SDL_SCANCODE_O, 'O', 0x18, 0},
    {SDL_SCANCODE_P, 'P', 0x19, 0},
    {SDL_SCANCODE_Q, 'Q', 0x10, 0},
    {SDL_SCANCODE_R, 'R', 0x13, 0},
    {SDL_SCANCODE_S, 'S', 0x1F, 0},
    {SDL_SCANCODE_T, 'T', 0x14, 0},
    {SDL_SCANCODE_U, 'U', 0x16, 0},
    {SDL_SCANCODE_V, 'V', 0x2F, 0},
    {SDL_SCANCODE_W, 'W', 0x11, 0},
    {SDL_SCANCODE_X, 'X', 0x2D, 0},
    {SDL_SCANCODE_Y, 'Y', 0x15, 0},
    {SDL_SCANCODE_Z, 'Z', 0x2C, 0},
    {SDL_SCANCODE_1, '1', 0x02, 0},
    {SDL_SCANCODE_2, '2', 0x03, 0},
    {SDL_SCANCODE_3, '3', 0x04, 0},
    {SDL_SCANCODE_4, '4', 0x05, 0},
    {SDL_SCANCODE_5, '5', 0x06, 0},
    {SDL_SCANCODE_6, '6', 0x07, 0},
    {SDL_SCANCODE_7, '7', 0x08, 0},
    {SDL_SCANCODE_8, '8', 0x09, 0},
    {SDL_SCANCODE_9, '9', 0x0A, 0},
    {SDL_SCANCODE_0, '0', 0x0B, 0},
    {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, 0},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, 0},
    {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, 0},
    {SDL_SCANCODE_TAB, VK_TAB, 0x0F, 0},
    {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, 0},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C, 0},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D, 0},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A, 0},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B, 0},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B, 0},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5, 0x2B, 0},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27, 0},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28, 0},
    {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29, 0},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33, 0},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34, 0},
    {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35, 0},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, 0x56, 0},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, 0x3A, 0},
    {SDL_SCANCODE_F1, VK_F1, 0x3B, 0},
    {SDL_SCANCODE_F2, VK_F2, 0x3C, 0},
    {SDL_SCANCODE_F3, VK_F3, 0x3D, 0},
    {SDL_SCANCODE_F4, VK_F4, 0x3E, 0},
    {SDL_SCANCODE_F5, VK_F5, 0x3F, 0},
    {SDL_SCANCODE_F6, VK_F6, 0x40, 0},
    {SDL_SCANCODE_F7, VK_F7, 0x41, 0},
    {SDL_SCANCODE_F8, VK_F8, 0x42, 0},
    {SDL_SCANCODE_F9, VK_F9, 0x43, 0},
    {SDL_SCANCODE_F10, VK_F10, 0x44, 0},
    {SDL_SCANCODE_F11, VK_F11, 0x57, 0},
    {SDL_SCANCODE_F12, VK_F12, 0x58, 0},
    {SDL_SCANCODE_F13, VK_F13, 0x64, 0},
    {SDL_SCANCODE_F14, VK_F14, 0x65, 0},
    {SDL_SCANCODE_F15, VK_F15, 0x66, 0},
    {SDL_SCANCODE_F16, VK_F16, 0x67, 0},
    {SDL_SCANCODE_F17, VK_F17, 0x68, 0},
    {SDL_SCANCODE_F18, VK_F18, 0x69, 0},
    {SDL_SCANCODE_F19, VK_F19, 0x6A, 0},
    {SDL_SCANCODE_F20, VK_F20, 0x6B, 0},
    {SDL_SCANCODE_F21, VK_F21, 0x6C, 0},
    {SDL_SCANCODE_F22, VK_F22, 0x6D, 0},
    {SDL_SCANCODE_F23, VK_F23, 0x6E, 0},
    {SDL_SCANCODE_F24, VK_F24, 0x76, 0},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, E0 | 0x37, 0},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, 0x46, 0},
    {SDL_SCANCODE_PAUSE, VK_PAUSE, 0x45, 0},
    {SDL_SCANCODE_INSERT, VK_INSERT, E0 | 0x52, 0},
    {SDL_SCANCODE_HOME, VK_HOME, E0 | 0x47, 0},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, E0 | 0x49, 0},
    {SDL_SCANCODE_DELETE, VK_DELETE, E0 | 0x53, 0},
    {SDL_SCANCODE_END, VK_END, E0 | 0x4F, 0},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, E0 | 0x51, 0},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, E0 | 0x4D, 0},
    {SDL_SCANCODE_LEFT, VK_LEFT, E0 | 0x4B, 0},
    {SDL_SCANCODE_DOWN, VK_DOWN, E0 | 0x50, 0},
    {SDL_SCANCODE_UP, VK_UP, E0 | 0x48, 0},
    // NumLock shares Pause's scan code and is told apart by the extended flag.
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, E0 | 0x45, 0},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, E0 | 0x35, 0},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, 0},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, 0},
    {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, 0},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, E0 | 0x1C, 0},
    {SDL_SCANCODE_KP_1, VK_NUMPAD1, 0x4F, VK_END},
    {SDL_SCANCODE_KP_2, VK_NUMPAD2, 0x50, VK_DOWN},
    {SDL_SCANCODE_KP_3, VK_NUMPAD3, 0x51, VK_NEXT},
    {SDL_SCANCODE_KP_4, VK_NUMPAD4, 0x4B, VK_LEFT},
    {SDL_SCANCODE_KP_5, VK_NUMPAD5, 0x4C, VK_CLEAR},
    {SDL_SCANCODE_KP_6, VK_NUMPAD6, 0x4D, VK_RIGHT},
    {SDL_SCANCODE_KP_7, VK_NUMPAD7, 0x47, VK_HOME},
    {SDL_SCANCODE_KP_8, VK_NUMPAD8, 0x48, VK_UP},
    {SDL_SCANCODE_KP_9, VK_NUMPAD9, 0x49, VK_PRIOR},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, 0x52, VK_INSERT},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, 0x53, VK_DELETE},
    {SDL_SCANCODE_APPLICATION, VK_APPS, E0 | 0x5D, 0},
    {SDL_SCANCODE_LCTRL, VK_CONTROL, 0x1D, 0},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0x2A, 0},
    {SDL_SCANCODE_LALT, VK_MENU, 0x38, 0},
    {SDL_SCANCODE_LGUI, VK_LWIN, E0 | 0x5B, 0},
    {SDL_SCANCODE_RCTRL, VK_CONTROL, E0 | 0x1D, 0},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT, 0x36, 0},
    {SDL_SCANCODE_RALT, VK_MENU, E0 | 0x38, 0},
    {SDL_SCANCODE_RGUI, VK_RWIN, E0 | 0x5C, 0},
    {SDL_SCANCODE_MUTE, VK_VOLUME_MUTE, E0 | 0x20, 0},
    {SDL_SCANCODE_VOLUMEDOWN, VK_VOLUME_DOWN, E0 | 0x2E, 0},
    {SDL_SCANCODE_VOLUMEUP, VK_VOLUME_UP, E0 | 0x30, 0},
    {SDL_SCANCODE_AC_BACK, VK_BROWSER_BACK, E0 | 0x6A, 0},
    {SDL_SCANCODE_AC_FORWARD, VK_BROWSER_FORWARD, E0 | 0x69, 0},
    {SDL_SCANCODE_SLEEP, VK_SLEEP, E0 | 0x5F, 0},
};

const std::array<TKeyRow, SDL_NUM_SCANCODES>& KeysByScancode() {
  static const auto Table = [] {
    std::array<TKeyRow, SDL_NUM_SCANCODES> T{};
    for (const TKeyRow& Row : KeyTable) T[Row.Sdl] = Row;
    return T;
  }();
  return Table;
}

}  // namespace

TSdlKey SdlKeyToVirtualKey(Integer Scancode, Integer Keycode, bool NumLock) {
  if (Scancode < 0 || Scancode >= SDL_NUM_SCANCODES) return {};
  const TKeyRow& Row = KeysByScancode()[Scancode];
  TSdlKey Key{Row.Vk, Row.Scan};
  if (Keycode >= 'a' && Keycode <= 'z') {
    Key.VirtualKey = static_cast<Word>(Keycode - 'a' + 'A');
  } else if (!NumLock && Row.VkNoNumLock != 0) {
    Key.VirtualKey = Row.VkNoNumLock;
  }
  return Key;
}
