#pragma once
// The spin edit's text model, apart from any window: which texts are numbers, how they convert,
// clamp and show, and when a typed number is rewritten.
#include <string>

#include "platform/system/Types.h"

enum TbsValueType { vtInteger, vtFloat };

// The platform's decimal separator (always '.' here).
constexpr char SpinDecimalSeparator = '.';

// Digits with at most a leading '-' (not alone) and, for vtFloat, one separator that is not
// the first character.
bool IsValidSpinText(const std::string& S, TbsValueType Type);
// The number of a valid text. False for any other text and for one that does not convert
// ("-." as a float, an integer beyond 32 bits): such text is not a number, never an error.
bool ParseSpinText(const std::string& S, TbsValueType Type, double& Number);
// Equal limits mean no limits.
double CheckSpinValue(double X, double MinValue, double MaxValue);
// The typed number P, limited to V, lies where more typing cannot bring it back.
bool SpinNeedsRewrite(double V, double P, double MinValue, double MaxValue);
// The value as the editor shows it: Decimal places for vtFloat, the nearest integer (halves to
// even) for vtInteger.
std::string FormatSpinValue(double Value, TbsValueType Type, Byte Decimal);
