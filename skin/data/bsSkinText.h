#pragma once
// The values of a skin text: how each kind of value is written in the INI text, read with its
// default, and written back. Rectangles and points keep only digits and commas, so no
// coordinate in a skin text can be negative.
#include <string>
#include <string_view>

#include "platform/classes/ControlTypes.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/system/IniFiles.h"
#include "platform/system/StringList.h"
#include "platform/system/Types.h"

// Alignments are the platform's TAlignment values, held in one byte.

// Stretch types of parts and of the form picture.
constexpr Byte stFull = 0;
constexpr Byte stHorz = 1;
constexpr Byte stVert = 2;

// Morph kinds, 0 to 6, in the order of their words.
enum TbsMorphKind : Byte {
  mkDefault,
  mkGradient,
  mkLeftGradient,
  mkRightGradient,
  mkLeftSlide,
  mkRightSlide,
  mkPush
};
// Effects of an inactive form's picture, 0 to 5, in the order of their words.
enum TbsEffect : Byte { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };

// Commands of caption buttons and animated frame objects; any other word gives cmOther.
enum TbsStdCommand : Byte { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmOther };

// Raise EConvertError when a field has no digit (also for a missing field); pieces beyond the
// last field are ignored.
TRect ParseRect(std::string_view Text);
TPoint ParsePoint(std::string_view Text);

void ReadSkinRect(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, TRect& R);
void ReadSkinPoint(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, TPoint& P);
// Only the number 1 is true.
bool ReadSkinBool(TCustomIniFile* Ini, std::string_view Section, std::string_view Key);
// Each style whose word occurs anywhere in the value.
TFontStyles ReadFontStyleWords(TCustomIniFile* Ini, std::string_view Section, std::string_view Key);
// "tacenter" (the default) centre, "taleftjustify" left, any other text right.
Byte ReadAlignment(TCustomIniFile* Ini, std::string_view Section, std::string_view Key);
// "stfull" (the default) full, "stvert" vertical, any other text horizontal.
Byte ReadStretchType(TCustomIniFile* Ini, std::string_view Section, std::string_view Key);
// Unknown words give mkDefault.
Byte ReadMorphKind(TCustomIniFile* Ini, std::string_view Section, std::string_view Key);
// An absent key gives ieBrightness, an unknown word ieGrayScale.
Byte ReadEffect(TCustomIniFile* Ini, std::string_view Section, std::string_view Key);
// "cmdefault" when absent.
Byte ReadCommand(TCustomIniFile* Ini, std::string_view Section, std::string_view Key);
// Appends the items of the list Key (count at Key + "count", items at "0", "1", ...).
void ReadIniStringList(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, TStrings* Target);
// All five sections of a skin text are there.
bool IsSkinIni(TCustomIniFile* Ini);

void WriteSkinRect(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, const TRect& R);
void WriteSkinPoint(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, const TPoint& P);
void WriteSkinBool(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, bool Value);
void WriteFontStyleWords(TCustomIniFile* Ini, std::string_view Section, std::string_view Key,
                         TFontStyles Value);
void WriteAlignment(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, Byte Value);
void WriteStretchType(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, Byte Value);
void WriteMorphKind(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, Byte Value);
void WriteEffect(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, Byte Value);
// An empty value for cmOther.
void WriteCommand(TCustomIniFile* Ini, std::string_view Section, std::string_view Key, Byte Value);
