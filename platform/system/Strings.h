#pragma once
// The platform's string routines over UTF-8 std::string (the system code page here) and
// UTF-16 std::u16string. Positions are 1-based as the platform's; 0 means "not found".
#include <string>
#include <string_view>

#include "platform/system/Types.h"

// Conversions between the 8-bit (UTF-8) and the wide (UTF-16) forms. Invalid input
// sequences become U+FFFD; nothing throws.
std::u16string Utf8ToUtf16(std::string_view S);
std::string Utf16ToUtf8(std::u16string_view S);

// 1-based positions.
Integer Pos(std::string_view SubStr, std::string_view S);
Integer PosEx(std::string_view SubStr, std::string_view S, Integer Offset = 1);
std::string Copy(std::string_view S, Integer Index, Integer Count);
void Delete(std::string& S, Integer Index, Integer Count);
void Insert(std::string_view Source, std::string& S, Integer Index);
Integer Pos(std::u16string_view SubStr, std::u16string_view S);
std::u16string Copy(std::u16string_view S, Integer Index, Integer Count);
void Delete(std::u16string& S, Integer Index, Integer Count);
void Insert(std::u16string_view Source, std::u16string& S, Integer Index);

// Trimming removes characters up to and including the space (control characters too).
std::string Trim(std::string_view S);
std::string TrimLeft(std::string_view S);
std::string TrimRight(std::string_view S);

// UpperCase/LowerCase change only ASCII letters; the Ansi forms change every letter.
std::string UpperCase(std::string_view S);
std::string LowerCase(std::string_view S);
std::string AnsiUpperCase(std::string_view S);
std::string AnsiLowerCase(std::string_view S);

// <0, 0, >0. CompareText ignores ASCII case; AnsiCompareText ignores case of every letter.
Integer CompareStr(std::string_view S1, std::string_view S2);
Integer CompareText(std::string_view S1, std::string_view S2);
bool SameText(std::string_view S1, std::string_view S2);
Integer AnsiCompareStr(std::string_view S1, std::string_view S2);
Integer AnsiCompareText(std::string_view S1, std::string_view S2);
bool AnsiSameText(std::string_view S1, std::string_view S2);

enum class TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = int;  // bit set of TReplaceFlag values
constexpr TReplaceFlags rfReplaceAll = 1;
constexpr TReplaceFlags rfIgnoreCase = 2;
std::string StringReplace(std::string_view S, std::string_view OldPattern, std::string_view NewPattern,
                          TReplaceFlags Flags);
std::string StringOfChar(char Ch, Integer Count);
std::string QuotedStr(std::string_view S);
std::string AnsiQuotedStr(std::string_view S, char Quote);
// Removes one level of Quote around S and undoubles inner quotes; S unchanged if not quoted.
std::string AnsiDequotedStr(std::string_view S, char Quote);

// Numbers as text. Decimal separator is always '.'.
std::string IntToStr(Int64 Value);
std::string IntToHex(Int64 Value, Integer Digits);
// Decimal, or hexadecimal with a '$', '0x' or '0X' prefix; an optional sign; surrounding
// blanks are not allowed. Raises EConvertError "'%s' is not a valid integer value".
Integer StrToInt(std::string_view S);
Int64 StrToInt64(std::string_view S);
Integer StrToIntDef(std::string_view S, Integer Default);
Int64 StrToInt64Def(std::string_view S, Int64 Default);
bool TryStrToInt(std::string_view S, Integer& Value);
bool TryStrToInt64(std::string_view S, Int64& Value);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
// Raises EConvertError "'%s' is not a valid floating point value".
Extended StrToFloat(std::string_view S);
Extended StrToFloatDef(std::string_view S, Extended Default);
bool TryStrToFloat(std::string_view S, Extended& Value);
std::string FloatToStr(Extended Value);  // ffGeneral, 15 digits
std::string FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits);

// Booleans as "True"/"False" (UseBoolStrs) or "-1"/"0".
std::string BoolToStr(bool B, bool UseBoolStrs = false);
bool StrToBool(std::string_view S);
bool StrToBoolDef(std::string_view S, bool Default);
