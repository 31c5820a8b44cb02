#pragma once
// The part names that the skinned controls, forms, menus and dialogs look up in a skin, with
// the type word each must carry in the skin's part lists, and the sections every skin has.
// A skin that holds every name here under its type word gives every control its own look.
#include <span>

#include "platform/system/Types.h"

enum class TbsSkinNameList : Byte {
  Controls,  // an entry of [SKINCONTROLS], found with FindControlPart
  Objects,   // an entry of [SKINOBJECTS], found with FindObjectPart
  Section,   // a section of its own; TypeWord is empty
};

struct TbsRequiredSkinName {
  const char* Name;
  TbsSkinNameList List;
  const char* TypeWord;
};

// In the order a skin lists them.
std::span<const TbsRequiredSkinName> RequiredSkinNames();
