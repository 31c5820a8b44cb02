#include <gtest/gtest.h>

#include "platform/system/Locale.h"
#include "tests/platform/system/LocaleTestSupport.h"

namespace {

struct TLocaleCase {
  const char* Name;
  WORD Primary;
  WORD Sub;
};

TEST(Locale, LocaleNamesGiveTheSystemsLanguageIds) {
  const TLocaleCase Cases[] = {
      {"de_DE.UTF-8", 0x07, 1},  {"pt_BR", 0x16, 1},          {"pl_PL.ISO-8859-2", 0x15, 1},
      {"fa_IR", 0x29, 1},        {"nb_NO.UTF-8", 0x14, 1},    {"zh_TW.UTF-8", 0x04, 1},
      {"zh_CN.GB2312", 0x04, 2}, {"zh_HK", 0x04, 3},          {"zh_SG", 0x04, 4},
      {"zh", 0x04, 2},           {"ca_ES@valencia", 0x03, 1}, {"C", 0x09, 1},
      {"POSIX", 0x09, 1},        {"xx_YY", 0x09, 1},          {"", 0x09, 1},
  };
  for (const TLocaleCase& Case : Cases) {
    const LANGID Id = LangIDFromLocaleName(Case.Name);
    EXPECT_EQ(PRIMARYLANGID(Id), Case.Primary) << Case.Name;
    EXPECT_EQ(SUBLANGID(Id), Case.Sub) << Case.Name;
  }
  EXPECT_EQ(MAKELANGID(0x04, 2), 0x0804);
}

TEST(Locale, UserLanguageFollowsTheLocaleVariablesInTheirOrder) {
  {
    const TScopedLocale Locale("fr_FR.UTF-8", "de_DE.UTF-8", "it_IT.UTF-8");
    EXPECT_EQ(PRIMARYLANGID(GetUserDefaultLangID()), 0x0C);
  }
  {
    const TScopedLocale Locale("", "de_DE.UTF-8", "it_IT.UTF-8");
    EXPECT_EQ(PRIMARYLANGID(GetUserDefaultLangID()), 0x07);
  }
  {
    const TScopedLocale Locale(nullptr, nullptr, "it_IT.UTF-8");
    EXPECT_EQ(PRIMARYLANGID(GetUserDefaultLangID()), 0x10);
  }
  {
    const TScopedLocale Locale(nullptr);
    EXPECT_EQ(GetUserDefaultLangID(), 0x0409);
  }
}

}  // namespace
