#include "imaging/core/hyiedefs.h"

#include "platform/system/Locale.h"
#include "platform/system/Strings.h"

const std::array<TIELANGUAGECHARINFO, IEMsgLanguageCount> IELanguageCharInfo = {{
    {1, "", 0},             // msSystem
    {1, "", 1252},          // msEnglish
    {1, "", 1252},          // msItalian
    {1, "", 1252},          // msGerman
    {1, "", 1252},          // msSpanish
    {1, "", 1252},          // msFrench
    {1, "", 1252},          // msPortuguese
    {161, "", 1253},        // msGreek
    {204, "", 1251},        // msRussian
    {1, "", 1252},          // msDutch
    {1, "", 1252},          // msSwedish
    {1, "", 1250},          // msPolish
    {1, "", 932},           // msJapanese
    {1, "", 1250},          // msCzech
    {1, "", 1252},          // msFinnish
    {178, "Tahoma", 1256},  // msFarsi
    {1, "", 936},           // msChinese
    {1, "", 950},           // msChineseTraditional
    {1, "", 1252},          // msDanish
    {1, "", 1254},          // msTurkish
    {1, "", 949},           // msKorean
    {1, "", 1250},          // msHungarian
    {1, "", 1252},          // msUser
}};

namespace {

// Row = language, column = word index; unset words are empty.
std::array<std::string, IEMsgLanguageCount * IEWordCount>& WordTable() {
  static std::array<std::string, IEMsgLanguageCount * IEWordCount> Table;
  return Table;
}

const std::string& StoredWord(Integer Language, Integer Index) {
  return WordTable()[static_cast<size_t>(Language * IEWordCount + Index)];
}

struct TLanguageRow {
  Word Primary;
  TMsgLanguage Row;
};

// The languages the table carries, by the system's primary language id; Chinese is chosen by
// its sub-language.
constexpr TLanguageRow SystemLanguageRows[] = {
    {5, msCzech},   {6, msDanish},      {7, msGerman},   {8, msGreek},     {10, msSpanish}, {11, msFinnish},
    {12, msFrench}, {14, msHungarian},  {16, msItalian}, {17, msJapanese}, {18, msKorean},  {19, msDutch},
    {21, msPolish}, {22, msPortuguese}, {25, msRussian}, {29, msSwedish},  {31, msTurkish}, {41, msFarsi},
};

}  // namespace

void SetWord(Byte Language, Byte Index, const std::string& Text) {
  if (Language >= IEMsgLanguageCount || Index >= IEWordCount) return;
  WordTable()[static_cast<size_t>(Language * IEWordCount + Index)] = Text;
}

TMsgLanguage IEMsgLanguageOfLangID(Word LangID) {
  const Word Primary = PRIMARYLANGID(LangID);
  if (Primary == 4) {
    switch (SUBLANGID(LangID)) {
      case 1:
        return msChineseTraditional;
      case 2:
        return msChinese;
      default:
        return msEnglish;
    }
  }
  for (const TLanguageRow& Language : SystemLanguageRows)
    if (Language.Primary == Primary) return Language.Row;
  return msEnglish;
}

std::u16string GetWord(Byte Index, TMsgLanguage Language) {
  if (Index >= IEWordCount) return {};
  if (Language == msSystem)
    return Utf8ToUtf16(StoredWord(IEMsgLanguageOfLangID(GetUserDefaultLangID()), Index));
  const std::string& Stored = Language < IEMsgLanguageCount ? StoredWord(Language, Index) : std::string();
  return Utf8ToUtf16(Stored.empty() ? StoredWord(msEnglish, Index) : Stored);
}
