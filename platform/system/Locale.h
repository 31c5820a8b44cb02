#pragma once
// The user's default language as a language id: the primary language in the low ten bits,
// the sub-language above them. On Linux it comes from the locale environment (LC_ALL, then
// LC_MESSAGES, then LANG); an unset, "C" or "POSIX" locale or an unknown language reports
// English (United States).
#include <string_view>

#include "platform/system/WinTypes.h"

using LANGID = WORD;

constexpr WORD LANG_ENGLISH = 0x09;
constexpr WORD SUBLANG_DEFAULT = 0x01;

constexpr LANGID MAKELANGID(WORD Primary, WORD Sub) {
  return static_cast<LANGID>((Sub << 10) | Primary);
}
constexpr WORD PRIMARYLANGID(LANGID Id) {
  return Id & 0x3FF;
}
constexpr WORD SUBLANGID(LANGID Id) {
  return Id >> 10;
}

// Read from the environment on each call.
LANGID GetUserDefaultLangID();
// The language id of a locale name such as "pt_BR.UTF-8" or "zh_TW".
LANGID LangIDFromLocaleName(std::string_view Name);
