#include "imaging/core/iewords.h"

#include "imaging/core/hyiedefs.h"
#include "imaging/core/iewordsrows.h"

namespace {

struct TLanguageWords {
  TMsgLanguage Row;
  const TIEWordList* Words;
};

constexpr TLanguageWords Languages[] = {
    {msEnglish, &IEEnglishWords},
    {msItalian, &IEItalianWords},
    {msGerman, &IEGermanWords},
    {msSpanish, &IESpanishWords},
    {msFrench, &IEFrenchWords},
    {msPortuguese, &IEPortugueseWords},
    {msGreek, &IEGreekWords},
    {msRussian, &IERussianWords},
    {msDutch, &IEDutchWords},
    {msSwedish, &IESwedishWords},
    {msPolish, &IEPolishWords},
    {msJapanese, &IEJapaneseWords},
    {msCzech, &IECzechWords},
    {msFinnish, &IEFinnishWords},
    {msFarsi, &IEFarsiWords},
    {msChinese, &IEChineseWords},
    {msChineseTraditional, &IEChineseTraditionalWords},
    {msDanish, &IEDanishWords},
    {msTurkish, &IETurkishWords},
    {msKorean, &IEKoreanWords},
    {msHungarian, &IEHungarianWords},
};

void FillRow(const TLanguageWords& Language) {
  for (Integer Index = 0; Index < IEWordCount; ++Index)
    if (const char* Text = (*Language.Words)[static_cast<size_t>(Index)]; Text != nullptr)
      SetWord(Language.Row, static_cast<Byte>(Index), Text);
}

}  // namespace

void IEWordsInitialize() {
  for (const TLanguageWords& Language : Languages) FillRow(Language);
}
