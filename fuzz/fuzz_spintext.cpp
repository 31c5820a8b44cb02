// The spin edit's text model from typed or pasted text: the first byte picks the value type and
// the limits, the rest is the text. No text may raise: what does not convert is no number.
#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "skin/boxctrls/bsSkinSpinText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const TbsValueType Type = (Data[0] & 1) != 0 ? vtFloat : vtInteger;
  static const double Limits[][2] = {{0, 0}, {5, 100}, {-100, -5}, {-1e6, 1e6}};
  const double MinValue = Limits[(Data[0] >> 1) & 3][0], MaxValue = Limits[(Data[0] >> 1) & 3][1];
  const Byte Decimal = static_cast<Byte>((Data[0] >> 3) & 15);
  const std::string Text(fuzz::AsText(Data + 1, Size - 1));
  double Parsed = 0;
  const bool Valid = IsValidSpinText(Text, Type);
  if (!ParseSpinText(Text, Type, Parsed)) return 0;
  // A number is always valid text and finite.
  if (!Valid || !std::isfinite(Parsed)) std::abort();
  const double V = CheckSpinValue(Parsed, MinValue, MaxValue);
  (void)SpinNeedsRewrite(V, Parsed, MinValue, MaxValue);
  // What the editor would show reads back as a number of the same type (fixed notation holds up
  // to 15 digits).
  double Back = 0;
  const std::string Shown = FormatSpinValue(V, Type, Decimal);
  if (std::fabs(V) < 1e15 && !ParseSpinText(Shown, Type, Back)) std::abort();
  return 0;
}
