#pragma once
// Pieces the text files share: texts decoded to code points with the unit each character starts
// at, and advances as a DC spaces them.
#include <string_view>
#include <vector>

#include "platform/gdi/Text.h"

// A text as code points. Starts[i] is the first unit (byte or UTF-16 unit) of character i;
// Starts has one more entry, the unit count.
struct TCodeText {
  std::vector<char32_t> Chars;
  std::vector<Integer> Starts;
  std::size_t Size() const { return Chars.size(); }
  Integer Units() const { return Starts.empty() ? 0 : Starts.back(); }
};

// Count < 0 reads up to the terminating null. Invalid sequences become U+FFFD, unit by unit.
void DecodeText(const char* Text, Integer Count, TCodeText& Out);
void DecodeText(const char16_t* Text, Integer Count, TCodeText& Out);
void DecodeText(std::u16string_view Text, TCodeText& Out);

// Advances of the characters as the DC spaces them: the face's, plus the character extra, plus
// the justification extra on break characters. Out may be null; returns the sum.
Integer DcAdvances(HDC DC, TFontFace& Face, const char32_t* Chars, std::size_t Count, Integer* Out);

// The DC's font with its face realised; false (and nothing drawn or measured) when there is no
// DC or no usable font.
bool DcFace(HDC DC, HFONT& Font, TFontFace*& Face);
