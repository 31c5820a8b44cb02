#include "imaging/core/ieutilstext.h"

#include <cmath>
#include <cstring>

#include "platform/system/Files.h"

namespace {
constexpr Integer FractionLimit = 999999999;
}  // namespace

char IEGetDecimalSeparator() {
  return '.';
}

std::string IEFloatToStrDot(Extended Value) {
  std::string Text = FloatToStr(Value);
  const char Separator = IEGetDecimalSeparator();
  for (char& C : Text)
    if (C == ',' || C == Separator) C = '.';
  return Text;
}

Extended IEStrToFloatDef(std::string_view S, Extended Default) {
  Extended Value = 0;
  if (TryStrToFloat(S, Value)) return Value;
  std::string Swapped(S);
  const std::size_t Comma = Swapped.find(',');
  if (Comma != std::string::npos) {
    Swapped[Comma] = '.';
  } else {
    const std::size_t Dot = Swapped.find('.');
    if (Dot != std::string::npos) Swapped[Dot] = ',';
  }
  return TryStrToFloat(Swapped, Value) ? Value : Default;
}

void IEFloatToFraction(Integer& Numerator, Integer& Denominator, double Value, double Tolerance) {
  const Integer Sign = Value >= 0 ? 1 : -1;
  const double F = std::fabs(Value);
  Denominator = 1;
  if (F > FractionLimit) {
    // A numerator beyond 32 bits would wrap; the largest one the format keeps stands in.
    Numerator = Sign * FractionLimit;
    return;
  }
  if (F == std::trunc(F)) {
    Numerator = Sign * static_cast<Integer>(F);
    return;
  }
  if (F < 1e-19) {
    Numerator = Sign;
    Denominator = FractionLimit;
    return;
  }
  double Z = F;
  double D = 1, D0 = 0, N = std::trunc(F + 0.5);
  for (;;) {
    Z = 1 / (Z - std::trunc(Z));
    const double Next = D0 + std::trunc(Z) * D;
    const double NextN = std::trunc(F * Next + 0.5);
    if (Next > FractionLimit || NextN > FractionLimit) break;  // keep the last terms that fit
    D0 = D;
    D = Next;
    N = NextN;
    if (std::fabs(F - N / D) < Tolerance || Z == std::trunc(Z)) break;
  }
  Numerator = Sign * static_cast<Integer>(N);
  Denominator = static_cast<Integer>(D);
}

TFontStyles IELogFontToFontStyles(const LOGFONT* LogFont) {
  TFontStyles Styles;
  if (LogFont == nullptr) return Styles;
  if (LogFont->lfWeight >= 700) Styles.Include(fsBold);
  if (LogFont->lfItalic) Styles.Include(fsItalic);
  if (LogFont->lfUnderline) Styles.Include(fsUnderline);
  if (LogFont->lfStrikeOut) Styles.Include(fsStrikeOut);
  return Styles;
}

bool IECompareGUID(const TGUID& A, const TGUID& B) {
  return std::memcmp(&A, &B, sizeof(TGUID)) == 0;
}

Integer IEGetURLType(std::string_view S) {
  const std::string Lower = LowerCase(S.substr(0, 8));
  if (Lower.starts_with("http://")) return 1;
  if (Lower.starts_with("https://")) return 2;
  if (Lower.starts_with("ftp://")) return 3;
  return 0;
}

Integer IEGetURLTypeW(std::u16string_view S) {
  return IEGetURLType(Utf16ToUtf8(S));
}

std::string IETrim(std::string_view S) {
  return Trim(S);
}

std::string IEExtractFileExt(std::string_view FileName, bool IncludeDot) {
  std::string Ext = LowerCase(ExtractFileExt(FileName));
  if (!IncludeDot && !Ext.empty()) Ext.erase(0, 1);
  return Ext;
}

void IEExtractFileExtStr(std::string_view FileName, bool IncludeDot, std::string& Result) {
  Result = IEExtractFileExt(FileName, IncludeDot);
}

std::u16string IEExtractFileExtW(std::u16string_view FileName, bool IncludeDot) {
  return Utf8ToUtf16(IEExtractFileExt(Utf16ToUtf8(FileName), IncludeDot));
}

std::string IEUpperCase(std::string_view S) {
  return UpperCase(S);
}

std::string IELowerCase(std::string_view S) {
  return LowerCase(S);
}

std::string IEIntToStr(Int64 Value) {
  return IntToStr(Value);
}

Integer IEStrToIntDef(std::string_view S, Integer Default) {
  return StrToIntDef(S, Default);
}

std::string IECopy(std::string_view S, Integer Index, Integer Count) {
  return Copy(S, Index, Count);
}

std::string IEFloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits) {
  return FloatToStrF(Value, Format, Precision, Digits);
}

std::string IEIntToHex(Int64 Value, Integer Digits) {
  return IntToHex(Value, Digits);
}

Integer IEPos(std::string_view SubStr, std::string_view S) {
  return Pos(SubStr, S);
}

std::unique_ptr<char[]> IEStrDup(const char* S) {
  if (S == nullptr) return nullptr;
  const std::size_t Length = std::strlen(S);
  auto Copy = std::make_unique<char[]>(Length + 1);
  std::memcpy(Copy.get(), S, Length + 1);
  return Copy;
}
