#include "platform/system/Locale.h"

#include <cstdlib>
#include <string>

namespace {

struct TLanguageCode {
  std::string_view Code;  // ISO 639 code as locale names carry it
  WORD Primary;
};

// Primary language ids of the system, by ISO code.
constexpr TLanguageCode Languages[] = {
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07},
    {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C}, {"he", 0x0D}, {"hu", 0x0E},
    {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12}, {"nl", 0x13}, {"nb", 0x14}, {"nn", 0x14},
    {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sk", 0x1B},
    {"sq", 0x1C}, {"sv", 0x1D}, {"th", 0x1E}, {"tr", 0x1F}, {"ur", 0x20}, {"id", 0x21}, {"uk", 0x22},
    {"be", 0x23}, {"sl", 0x24}, {"et", 0x25}, {"lv", 0x26}, {"lt", 0x27}, {"fa", 0x29}, {"vi", 0x2A},
};

// Chinese sub-languages by territory; the others default to the language's first one.
WORD ChineseSubLanguage(std::string_view Territory) {
  if (Territory == "TW") return 0x01;
  if (Territory == "HK") return 0x03;
  if (Territory == "SG") return 0x04;
  if (Territory == "MO") return 0x05;
  return 0x02;
}

}  // namespace

LANGID LangIDFromLocaleName(std::string_view Name) {
  const std::string_view Code = Name.substr(0, Name.find_first_of("_.@"));
  std::string_view Territory;
  if (const size_t Underscore = Name.find('_');
      Underscore != std::string_view::npos && Underscore == Code.size())
    Territory = Name.substr(Underscore + 1, Name.substr(Underscore + 1).find_first_of(".@"));
  for (const TLanguageCode& Language : Languages)
    if (Language.Code == Code)
      return MAKELANGID(Language.Primary,
                        Language.Primary == 0x04 ? ChineseSubLanguage(Territory) : SUBLANG_DEFAULT);
  return MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
}

LANGID GetUserDefaultLangID() {
  for (const char* Variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* Value = std::getenv(Variable);
    if (Value != nullptr && *Value != '\0') return LangIDFromLocaleName(Value);
  }
  return MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
}
