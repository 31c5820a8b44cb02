#pragma once
// The stored words of each language, index by index. A null entry is a word the language
// lacks: it is never stored, so its row keeps what was there.
#include <array>

#include "imaging/core/hyiedefs.h"

using TIEWordList = std::array<const char*, IEWordCount>;

extern const TIEWordList IEEnglishWords;
extern const TIEWordList IEItalianWords;
extern const TIEWordList IEGermanWords;
extern const TIEWordList IESpanishWords;
extern const TIEWordList IEFrenchWords;
extern const TIEWordList IEPortugueseWords;
extern const TIEWordList IEGreekWords;
extern const TIEWordList IERussianWords;
extern const TIEWordList IEDutchWords;
extern const TIEWordList IESwedishWords;
extern const TIEWordList IEPolishWords;
extern const TIEWordList IEJapaneseWords;
extern const TIEWordList IECzechWords;
extern const TIEWordList IEFinnishWords;
extern const TIEWordList IEFarsiWords;
extern const TIEWordList IEChineseWords;
extern const TIEWordList IEChineseTraditionalWords;
extern const TIEWordList IEDanishWords;
extern const TIEWordList IETurkishWords;
extern const TIEWordList IEKoreanWords;
extern const TIEWordList IEHungarianWords;
