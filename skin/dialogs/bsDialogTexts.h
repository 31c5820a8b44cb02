#pragma once
// The dialogs' texts: the skin's resource-string table answers a key when it has one, the
// built-in text otherwise.
#include <string>

#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataResStr.h"

inline std::string bsDialogText(TbsSkinData* SkinData, const char* Key, const char* BuiltIn) {
  if (SkinData != nullptr && SkinData->GetResourceStrData() != nullptr) {
    std::string Text = SkinData->GetResourceStrData()->LookupResString(Key);
    if (!Text.empty()) return Text;
  }
  return BuiltIn;
}
