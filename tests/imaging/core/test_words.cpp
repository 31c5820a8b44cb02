#include <gtest/gtest.h>

#include <string>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/hyieutils.h"
#include "imaging/core/iewords.h"
#include "imaging/core/iewordsrows.h"
#include "platform/system/Strings.h"
#include "tests/platform/system/LocaleTestSupport.h"

namespace {

class WordTable : public ::testing::Test {
 protected:
  void SetUp() override { IEWordsInitialize(); }
  void TearDown() override {
    for (Integer Index = 0; Index < IEWordCount; ++Index) SetWord(msUser, static_cast<Byte>(Index), "");
    IEWordsInitialize();
  }
};

std::string WordText(Byte Index, TMsgLanguage Language) {
  return Utf16ToUtf8(GetWord(Index, Language));
}

TEST_F(WordTable, ExplicitLanguagesGiveTheirOwnWords) {
  struct TCase {
    Byte Index;
    TMsgLanguage Language;
    const char* Expected;
  };
  const TCase Cases[] = {
      {0, msItalian, "Anteprima"},
      {3, msSpanish, "Aceptar"},
      {3, msFrench, "Ok"},
      {4, msGreek, "Άκυρο"},
      {35, msRussian, "Линза"},
      {0, msJapanese, "プレビュー"},
      {3, msFarsi, "تائيد"},
      {35, msChinese, "镜头效果"},
      {0, msChineseTraditional, "預覽"},
      {4, msTurkish, "İptal"},
      {0, msKorean, "미리보기"},
      {35, msHungarian, "Lencse"},
      {128, msEnglish, "Automatically updates your preview with the changes you have selected"},
      {145, msEnglish, "Fit"},
      {0, msEnglish, "Preview"},
  };
  for (const TCase& Case : Cases)
    EXPECT_EQ(WordText(Case.Index, Case.Language), Case.Expected)
        << Integer(Case.Index) << " " << Integer(Case.Language);
  EXPECT_EQ(WordText(11, msEnglish), "Value");
  EXPECT_EQ(WordText(103, msEnglish), "Value");
}

TEST_F(WordTable, AnEmptyWordOfAnExplicitLanguageFallsBackToEnglish) {
  EXPECT_EQ(WordText(123, msPolish), "Rate");
  for (const Byte Index : {Byte{0}, Byte{37}, Byte{145}})
    EXPECT_EQ(GetWord(Index, msUser), GetWord(Index, msEnglish)) << Integer(Index);
  SetWord(msUser, 37, "Vorschau der Parameter");
  EXPECT_EQ(WordText(37, msUser), "Vorschau der Parameter");
  SetWord(msItalian, 2, "");
  EXPECT_EQ(WordText(2, msItalian), "Result");
}

TEST_F(WordTable, SystemLanguageChoosesTheRowWithoutFallingBack) {
  struct TCase {
    const char* Locale;
    Byte Index;
    const char* Expected;
  };
  const TCase Cases[] = {
      {"pl_PL.UTF-8", 123, ""},     {"pl_PL.UTF-8", 0, "Podgląd"}, {"de_DE.UTF-8", 0, "Vorschau"},
      {"zh_TW.UTF-8", 0, "預覽"},   {"zh_CN.UTF-8", 0, "预览"},    {"zh_HK.UTF-8", 0, "Preview"},
      {"nb_NO.UTF-8", 4, "Cancel"}, {"fa_IR", 4, "انصراف"},        {"pt_BR.UTF-8", 0, "Visualizar"},
      {"C", 0, "Preview"},
  };
  for (const TCase& Case : Cases) {
    const TScopedLocale Locale(Case.Locale);
    EXPECT_EQ(WordText(Case.Index, msSystem), Case.Expected) << Case.Locale;
  }
}

TEST(WordTableRows, PrimaryLanguageIdsChooseTheirRows) {
  struct TCase {
    Word Primary;
    TMsgLanguage Row;
  };
  const TCase Cases[] = {
      {5, msCzech},   {6, msDanish},      {7, msGerman},   {8, msGreek},     {10, msSpanish}, {11, msFinnish},
      {12, msFrench}, {14, msHungarian},  {16, msItalian}, {17, msJapanese}, {18, msKorean},  {19, msDutch},
      {21, msPolish}, {22, msPortuguese}, {25, msRussian}, {29, msSwedish},  {31, msTurkish}, {41, msFarsi},
      {9, msEnglish}, {20, msEnglish},    {13, msEnglish}, {0, msEnglish},
  };
  for (const TCase& Case : Cases)
    EXPECT_EQ(IEMsgLanguageOfLangID(static_cast<Word>(Case.Primary | (1 << 10))), Case.Row) << Case.Primary;
  EXPECT_EQ(IEMsgLanguageOfLangID(0x0404), msChineseTraditional);
  EXPECT_EQ(IEMsgLanguageOfLangID(0x0804), msChinese);
  EXPECT_EQ(IEMsgLanguageOfLangID(0x0C04), msEnglish);
}

TEST(WordTableRows, EveryLanguageHasEveryWordButPolishRate) {
  const TIEWordList* Lists[] = {
      &IEEnglishWords,
      &IEItalianWords,
      &IEGermanWords,
      &IESpanishWords,
      &IEFrenchWords,
      &IEPortugueseWords,
      &IEGreekWords,
      &IERussianWords,
      &IEDutchWords,
      &IESwedishWords,
      &IEPolishWords,
      &IEJapaneseWords,
      &IECzechWords,
      &IEFinnishWords,
      &IEFarsiWords,
      &IEChineseWords,
      &IEChineseTraditionalWords,
      &IEDanishWords,
      &IETurkishWords,
      &IEKoreanWords,
      &IEHungarianWords,
  };
  for (size_t Row = 0; Row < std::size(Lists); ++Row)
    for (Integer Index = 0; Index < IEWordCount; ++Index) {
      const char* Text = (*Lists[Row])[static_cast<size_t>(Index)];
      if (Lists[Row] == &IEPolishWords && Index == 123)
        EXPECT_EQ(Text, nullptr);
      else
        EXPECT_TRUE(Text != nullptr && *Text != '\0') << "row " << Row + 1 << " word " << Index;
    }
}

TEST_F(WordTable, PositionsOutsideTheTableAreIgnored) {
  SetWord(IEMsgLanguageCount, 0, "outside");
  SetWord(msEnglish, IEWordCount, "outside");
  EXPECT_EQ(WordText(IEWordCount, msEnglish), "");
  EXPECT_EQ(WordText(0, static_cast<TMsgLanguage>(IEMsgLanguageCount)), "Preview");
}

TEST_F(WordTable, TheCoreStartUpFillsTheTable) {
  SetWord(msGerman, 0, "");
  IEUtilsInitialize();
  EXPECT_EQ(WordText(0, msGerman), "Vorschau");
}

TEST(WordTableRows, CharacterRecordsAndVersion) {
  EXPECT_STREQ(IEVersion, "3.1.2");
  EXPECT_EQ(IELanguageCharInfo[msFarsi].CharSet, 178);
  EXPECT_STREQ(IELanguageCharInfo[msFarsi].FontName, "Tahoma");
  EXPECT_EQ(IELanguageCharInfo[msChineseTraditional].CodePage, 950);
  EXPECT_EQ(IELanguageCharInfo[msGreek].CharSet, 161);
  EXPECT_EQ(IELanguageCharInfo[msHungarian].CodePage, 1250);
  EXPECT_EQ(IELanguageCharInfo[msSystem].CodePage, 0);
  EXPECT_STREQ(IELanguageCharInfo[msEnglish].FontName, "");
}

}  // namespace
