// TMemIniFile from text: the parse, every read of what it holds, and the text it writes back.
#include "fuzz/FuzzSupport.h"
#include "platform/system/IniFiles.h"
#include "platform/system/StringList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  fuzz::Refusable([&] {
    TStringList Lines;
    Lines.SetText(fuzz::AsText(Data, Size));
    TMemIniFile Ini("");
    Ini.SetStrings(&Lines);
    TStringList Sections, Values;
    Ini.ReadSections(&Sections);
    for (Integer I = 0; I < Sections.GetCount(); ++I) {
      const std::string Section = Sections.GetStrings(I);
      Ini.ReadSectionValues(Section, &Values);
      for (Integer J = 0; J < Values.GetCount(); ++J) (void)Ini.ReadInteger(Section, Values.GetNames(J), 0);
    }
    TStringList Back;
    Ini.GetStrings(&Back);
  });
  return 0;
}
