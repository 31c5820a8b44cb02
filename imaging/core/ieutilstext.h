#pragma once
// Numbers as locale-proof text, fractions for rational values, URL schemes, font styles,
// GUIDs, and the thin text wrappers the library calls instead of the run-time functions.
#include <memory>
#include <string>
#include <string_view>

#include "platform/classes/GraphicsObjects.h"
#include "platform/gdi/FontEngine.h"
#include "platform/system/Strings.h"
#include "platform/system/Types.h"

// 16 bytes, compared as raw memory.
struct TGUID {
  Cardinal D1 = 0;
  Word D2 = 0;
  Word D3 = 0;
  Byte D4[8] = {};
};
static_assert(sizeof(TGUID) == 16);

inline Integer IEIfThenInt(bool Cond, Integer TrueValue, Integer FalseValue) {
  return Cond ? TrueValue : FalseValue;
}
inline double IEIfThenFloat(bool Cond, double TrueValue, double FalseValue) {
  return Cond ? TrueValue : FalseValue;
}

// The platform's number texts always use '.'.
char IEGetDecimalSeparator();
// The shortest text of Value with '.' as the decimal separator, whatever the locale.
std::string IEFloatToStrDot(Extended Value);
inline std::string IEFloatToStrDot2(Extended Value) {
  return IEFloatToStrDot(Value);
}
// Both 1.5 and 1,5 give one and a half; Default when S is no number either way.
Extended IEStrToFloatDef(std::string_view S, Extended Default);
// Value as Numerator / Denominator by continued fractions, closer than Tolerance where the
// terms allow: integral values over 1; below 1e-19 Sign / 999999999; above 999999999 Sign x
// 999999999 / 1; the denominator stays at most 999999999.
void IEFloatToFraction(Integer& Numerator, Integer& Denominator, double Value, double Tolerance);

// Bold from weight 700 on, italic, underline and strike-out from the flags; empty for nullptr.
TFontStyles IELogFontToFontStyles(const LOGFONT* LogFont);
bool IECompareGUID(const TGUID& A, const TGUID& B);
// 1 http://, 2 https://, 3 ftp:// (any letter case), else 0.
Integer IEGetURLType(std::string_view S);
Integer IEGetURLTypeW(std::u16string_view S);

// Removes leading and trailing blanks and control characters.
std::string IETrim(std::string_view S);
// The lower-cased extension from the last '.', with or without the dot; empty when none.
std::string IEExtractFileExt(std::string_view FileName, bool IncludeDot = true);
void IEExtractFileExtStr(std::string_view FileName, bool IncludeDot, std::string& Result);
std::u16string IEExtractFileExtW(std::u16string_view FileName, bool IncludeDot = true);
// ASCII letters only.
std::string IEUpperCase(std::string_view S);
std::string IELowerCase(std::string_view S);
std::string IEIntToStr(Int64 Value);
Integer IEStrToIntDef(std::string_view S, Integer Default);
// Count characters from the 1-based Index.
std::string IECopy(std::string_view S, Integer Index, Integer Count);
std::string IEFloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits);
// Upper-case hexadecimal with at least Digits digits.
std::string IEIntToHex(Int64 Value, Integer Digits);
// 1-based position of SubStr in S, 0 when absent.
Integer IEPos(std::string_view SubStr, std::string_view S);
// A zero-terminated copy; nullptr for nullptr.
std::unique_ptr<char[]> IEStrDup(const char* S);
