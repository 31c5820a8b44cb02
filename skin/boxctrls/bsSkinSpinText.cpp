// The spin edit's text model.
#include "skin/boxctrls/bsSkinSpinText.h"

#include <cmath>

#include "platform/system/Math.h"
#include "platform/system/Strings.h"

bool IsValidSpinText(const std::string& S, TbsValueType Type) {
  if (S.empty() || S == "-") return false;
  Integer Separators = 0;
  for (std::size_t I = 0; I < S.size(); ++I) {
    const char C = S[I];
    if (C >= '0' && C <= '9') continue;
    if (C == '-') {
      if (I != 0) return false;
      continue;
    }
    if (Type == vtFloat && C == SpinDecimalSeparator) {
      if (I == 0 || ++Separators > 1) return false;
      continue;
    }
    return false;
  }
  return true;
}

bool ParseSpinText(const std::string& S, TbsValueType Type, double& Number) {
  if (!IsValidSpinText(S, Type)) return false;
  if (Type == vtFloat) {
    Extended E = 0;
    // Digits beyond the range of a double convert to no number either.
    if (!TryStrToFloat(S, E) || !std::isfinite(static_cast<double>(E))) return false;
    Number = static_cast<double>(E);
    return true;
  }
  Integer I = 0;
  if (!TryStrToInt(S, I)) return false;
  Number = I;
  return true;
}

double CheckSpinValue(double X, double MinValue, double MaxValue) {
  if (MaxValue == MinValue) return X;
  if (X < MinValue) return MinValue;
  if (X > MaxValue) return MaxValue;
  return X;
}

bool SpinNeedsRewrite(double V, double P, double MinValue, double MaxValue) {
  const bool BothNegative = V < 0 && P < 0;
  return (BothNegative && V > P) || (!BothNegative && V < P) || (MinValue > 0 && P < 0) ||
         (MaxValue < 0 && P > 0);
}

std::string FormatSpinValue(double Value, TbsValueType Type, Byte Decimal) {
  if (Type == vtFloat) return FloatToStrF(Value, ffFixed, 15, Decimal);
  // A value set from code may lie beyond any integer: it shows without decimals.
  const double R = std::rint(Value);
  if (!(std::fabs(R) < 9.2e18)) return FloatToStrF(Value, ffFixed, 15, 0);
  return IntToStr(Round(Value));
}
