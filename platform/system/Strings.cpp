#include "platform/system/Strings.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/system/Exceptions.h"

namespace {

// ---------------------------------------------------------------------------------------------
// UTF-8 code points

// Decodes the code point at P and advances P. An ill-formed sequence gives -1 and P moves past
// its maximal ill-formed subpart (at least one byte), so each such subpart becomes one U+FFFD.
int32_t DecodeUtf8(const unsigned char*& P, const unsigned char* E) {
  const unsigned C = *P++;
  if (C < 0x80) return static_cast<int32_t>(C);
  int Need;
  uint32_t Cp;
  unsigned Lo = 0x80, Hi = 0xBF;
  if (C >= 0xC2 && C <= 0xDF) {
    Need = 1;
    Cp = C & 0x1F;
  } else if (C >= 0xE0 && C <= 0xEF) {
    Need = 2;
    Cp = C & 0x0F;
    if (C == 0xE0)
      Lo = 0xA0;  // overlong
    else if (C == 0xED)
      Hi = 0x9F;  // surrogates
  } else if (C >= 0xF0 && C <= 0xF4) {
    Need = 3;
    Cp = C & 0x07;
    if (C == 0xF0)
      Lo = 0x90;  // overlong
    else if (C == 0xF4)
      Hi = 0x8F;  // beyond U+10FFFF
  } else {
    return -1;
  }
  for (int I = 0; I < Need; ++I) {
    if (P == E || *P < Lo || *P > Hi) return -1;
    Cp = (Cp << 6) | (*P++ & 0x3F);
    Lo = 0x80;
    Hi = 0xBF;
  }
  return static_cast<int32_t>(Cp);
}

// For comparing and matching: an ill-formed byte stands for itself, above every code point, so
// texts that differ only in broken bytes still differ.
uint32_t NextCodeForCompare(const unsigned char*& P, const unsigned char* E) {
  const unsigned char* Start = P;
  const int32_t Cp = DecodeUtf8(P, E);
  if (Cp >= 0) return static_cast<uint32_t>(Cp);
  P = Start + 1;
  return 0x110000u + *Start;
}

void AppendUtf8(std::string& R, uint32_t Cp) {
  if (Cp < 0x80) {
    R += static_cast<char>(Cp);
  } else if (Cp < 0x800) {
    R += static_cast<char>(0xC0 | (Cp >> 6));
    R += static_cast<char>(0x80 | (Cp & 0x3F));
  } else if (Cp < 0x10000) {
    R += static_cast<char>(0xE0 | (Cp >> 12));
    R += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    R += static_cast<char>(0x80 | (Cp & 0x3F));
  } else {
    R += static_cast<char>(0xF0 | (Cp >> 18));
    R += static_cast<char>(0x80 | ((Cp >> 12) & 0x3F));
    R += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    R += static_cast<char>(0x80 | (Cp & 0x3F));
  }
}

const unsigned char* Bytes(std::string_view S) {
  return reinterpret_cast<const unsigned char*>(S.data());
}

// ---------------------------------------------------------------------------------------------
// Case of every letter. The mappings come from the built-in C.UTF-8 locale so that they do not
// depend on the user's locale; without it only ASCII letters change.

locale_t CaseLocale() {
  static const locale_t L = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return L;
}

char AsciiUpper(char C) {
  return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 32) : C;
}
char AsciiLower(char C) {
  return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C;
}

uint32_t UpperCodePoint(uint32_t Cp) {
  if (Cp < 0x80) return static_cast<unsigned char>(AsciiUpper(static_cast<char>(Cp)));
  if (Cp > 0x10FFFF) return Cp;
  const locale_t L = CaseLocale();
  return L ? static_cast<uint32_t>(towupper_l(static_cast<wint_t>(Cp), L)) : Cp;
}

uint32_t LowerCodePoint(uint32_t Cp) {
  if (Cp < 0x80) return static_cast<unsigned char>(AsciiLower(static_cast<char>(Cp)));
  if (Cp > 0x10FFFF) return Cp;
  const locale_t L = CaseLocale();
  return L ? static_cast<uint32_t>(towlower_l(static_cast<wint_t>(Cp), L)) : Cp;
}

// Maps every well-formed code point; ill-formed bytes pass through unchanged.
template <class Map>
std::string MapCodePoints(std::string_view S, Map M) {
  std::string R;
  R.reserve(S.size());
  const unsigned char* P = Bytes(S);
  const unsigned char* E = P + S.size();
  while (P < E) {
    if (*P < 0x80) {
      R += static_cast<char>(M(*P++));
      continue;
    }
    const unsigned char* Start = P;
    const int32_t Cp = DecodeUtf8(P, E);
    if (Cp < 0)
      R.append(reinterpret_cast<const char*>(Start), P - Start);
    else
      AppendUtf8(R, M(static_cast<uint32_t>(Cp)));
  }
  return R;
}

// Folded (upper-case) code points of S for case-insensitive matching.
std::u32string FoldedCodes(std::string_view S) {
  std::u32string R;
  const unsigned char* P = Bytes(S);
  const unsigned char* E = P + S.size();
  while (P < E) R += static_cast<char32_t>(UpperCodePoint(NextCodeForCompare(P, E)));
  return R;
}

// Bytes of S from At that match Pattern case-insensitively, or npos.
size_t FoldedMatchLength(std::string_view S, size_t At, const std::u32string& Pattern) {
  const unsigned char* B = Bytes(S);
  const unsigned char* P = B + At;
  const unsigned char* E = B + S.size();
  for (char32_t Want : Pattern) {
    if (P == E || UpperCodePoint(NextCodeForCompare(P, E)) != Want) return std::string_view::npos;
  }
  return static_cast<size_t>(P - (B + At));
}

// ---------------------------------------------------------------------------------------------
// 1-based positions, shared by the 8-bit and the wide forms.

template <class C>
Integer PosFrom(std::basic_string_view<C> SubStr, std::basic_string_view<C> S, Integer Offset) {
  if (SubStr.empty() || Offset < 1 || static_cast<size_t>(Offset) > S.size()) return 0;
  const size_t From = static_cast<size_t>(Offset) - 1;
  if constexpr (sizeof(C) == 1) {
    // glibc's memmem (two-way search) beats a first-byte scan on ordinary text.
    const void* Hit = memmem(S.data() + From, S.size() - From, SubStr.data(), SubStr.size());
    return Hit ? static_cast<Integer>(static_cast<const C*>(Hit) - S.data() + 1) : 0;
  } else {
    const size_t At = S.find(SubStr, From);
    return At == std::basic_string_view<C>::npos ? 0 : static_cast<Integer>(At + 1);
  }
}

// An Index below 1 counts as 1; Count is clipped at the end of S.
template <class C>
std::basic_string<C> CopyOf(std::basic_string_view<C> S, Integer Index, Integer Count) {
  const Int64 Len = static_cast<Int64>(S.size());
  const Int64 Start = Index < 1 ? 1 : Index;
  if (Count <= 0 || Start > Len) return {};
  const Int64 N = std::min<Int64>(Count, Len - Start + 1);
  return std::basic_string<C>(S.substr(static_cast<size_t>(Start - 1), static_cast<size_t>(N)));
}

// Nothing happens when Index lies outside S or Count is not positive.
template <class C>
void DeleteFrom(std::basic_string<C>& S, Integer Index, Integer Count) {
  const Int64 Len = static_cast<Int64>(S.size());
  if (Index < 1 || Index > Len || Count <= 0) return;
  const Int64 N = std::min<Int64>(Count, Len - Index + 1);
  S.erase(static_cast<size_t>(Index - 1), static_cast<size_t>(N));
}

// An Index below 1 inserts at the start, one past the end appends.
template <class C>
void InsertInto(std::basic_string_view<C> Source, std::basic_string<C>& S, Integer Index) {
  const Int64 Len = static_cast<Int64>(S.size());
  const Int64 At = std::clamp<Int64>(Index, 1, Len + 1);
  S.insert(static_cast<size_t>(At - 1), Source);
}

// ---------------------------------------------------------------------------------------------
// Numbers

bool IsBlank(char C) {
  return static_cast<unsigned char>(C) <= ' ';
}

int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// Decimal values are range-checked against the signed type; hexadecimal digits are a bit
// pattern of at most Bits bits ("$FFFFFFFF" is -1 as a 32-bit value), as the platform reads them.
bool ParseInteger(std::string_view S, int Bits, Int64& Value) {
  size_t I = 0;
  const size_t N = S.size();
  bool Negative = false;
  if (I < N && (S[I] == '+' || S[I] == '-')) Negative = S[I++] == '-';
  bool Hex = false;
  if (I < N && S[I] == '$') {
    Hex = true;
    ++I;
  } else if (I + 1 < N && S[I] == '0' && (S[I + 1] == 'x' || S[I + 1] == 'X')) {
    Hex = true;
    I += 2;
  }
  if (I == N) return false;
  UInt64 Acc = 0;
  if (Hex) {
    const UInt64 Max = Bits == 64 ? ~UInt64{0} : (UInt64{1} << Bits) - 1;
    for (; I < N; ++I) {
      const int D = HexValue(S[I]);
      if (D < 0 || Acc > (Max >> 4)) return false;
      Acc = (Acc << 4) | static_cast<UInt64>(D);
    }
    if (Negative) Acc = ~Acc + 1;
    Value = Bits == 64 ? static_cast<Int64>(Acc)
                       : static_cast<Int64>(static_cast<Integer>(static_cast<uint32_t>(Acc)));
    return true;
  }
  const UInt64 Limit = (UInt64{1} << (Bits - 1)) - (Negative ? 0 : 1);
  for (; I < N; ++I) {
    if (S[I] < '0' || S[I] > '9') return false;
    const unsigned D = static_cast<unsigned>(S[I] - '0');
    if (Acc > (Limit - D) / 10) return false;
    Acc = Acc * 10 + D;
  }
  Value = Negative ? static_cast<Int64>(~Acc + 1) : static_cast<Int64>(Acc);
  return true;
}

[[noreturn]] void RaiseInvalidInteger(std::string_view S) {
  throw EConvertError("'" + std::string(S) + "' is not a valid integer value");
}

// The decimal digits of a value: Digits holds the significant digits without trailing zeros
// and the value is 0.Digits * 10^Exponent. Zero has no digits. Special is set for INF/NAN.
struct TFloatDigits {
  bool Negative = false;
  bool Special = false;
  Integer Exponent = 0;
  Integer Count = 0;
  char Digits[20] = {};
};

constexpr Integer MaxFloatDigits = 18;  // what the 64-bit mantissa of Extended carries

// Rounds to at most Precision significant digits and, when Decimals >= 0, to at most Decimals
// digits after the point. The value is first taken to 18 digits, then rounded half away from
// zero at the requested place, as the platform's decimal conversion does.
TFloatDigits ToDecimal(Extended Value, Integer Precision, Integer Decimals) {
  TFloatDigits D;
  if (std::isnan(Value) || std::isinf(Value)) {
    D.Special = true;
    D.Negative = std::isinf(Value) && Value < 0;
    return D;
  }
  if (Value == 0) return D;
  char Buf[48];
  std::snprintf(Buf, sizeof Buf, "%.*Le", MaxFloatDigits - 1, std::fabs(Value));
  char Raw[MaxFloatDigits];
  Integer K = 0;
  const char* P = Buf;
  for (; *P && *P != 'e'; ++P) {
    if (*P >= '0' && *P <= '9') Raw[K++] = *P;
  }
  const Integer Exp10 = std::atoi(P + 1) + 1;
  Integer N = std::min(Precision, MaxFloatDigits);
  if (Decimals >= 0) N = std::min<Integer>(N, Exp10 + Decimals);
  D.Negative = Value < 0;
  D.Exponent = Exp10;
  if (N < 0 || (N == 0 && Raw[0] < '5')) return TFloatDigits{};
  if (N == 0) {
    D.Digits[0] = '1';
    D.Count = 1;
    D.Exponent = Exp10 + 1;
    return D;
  }
  std::copy(Raw, Raw + N, D.Digits);
  if (N < MaxFloatDigits && Raw[N] >= '5') {
    Integer I = N - 1;
    while (I >= 0 && D.Digits[I] == '9') D.Digits[I--] = '0';
    if (I >= 0) {
      ++D.Digits[I];
    } else {
      D.Digits[0] = '1';
      N = 1;
      ++D.Exponent;
    }
  }
  while (N > 0 && D.Digits[N - 1] == '0') --N;
  D.Count = N;
  return D;
}

char DigitAt(const TFloatDigits& D, Integer I) {
  return I >= 0 && I < D.Count ? D.Digits[I] : '0';
}

void AppendExponent(std::string& R, Integer Exp, bool PlusSign, Integer MinDigits) {
  R += 'E';
  if (Exp < 0)
    R += '-';
  else if (PlusSign)
    R += '+';
  char Buf[16];
  const auto End = std::to_chars(Buf, Buf + sizeof Buf, Exp < 0 ? -Exp : Exp).ptr;
  const Integer Len = static_cast<Integer>(End - Buf);
  if (Len < MinDigits) R.append(static_cast<size_t>(MinDigits - Len), '0');
  R.append(Buf, End);
}

// Shortest form: fixed notation while the value needs no more than Precision integer digits
// and is not below 0.0001, else d.dddE[-]x.
std::string GeneralText(const TFloatDigits& D, Integer Precision, Integer ExpDigits) {
  std::string R;
  if (D.Negative) R += '-';
  if (D.Count == 0) return "0";
  if (D.Exponent > Precision || D.Exponent < -3) {
    R += D.Digits[0];
    if (D.Count > 1) {
      R += '.';
      R.append(D.Digits + 1, static_cast<size_t>(D.Count - 1));
    }
    AppendExponent(R, D.Exponent - 1, false, ExpDigits);
    return R;
  }
  if (D.Exponent <= 0) {
    R += "0.";
    R.append(static_cast<size_t>(-D.Exponent), '0');
    R.append(D.Digits, static_cast<size_t>(D.Count));
    return R;
  }
  for (Integer I = 0; I < D.Exponent; ++I) R += DigitAt(D, I);
  if (D.Count > D.Exponent) {
    R += '.';
    R.append(D.Digits + D.Exponent, static_cast<size_t>(D.Count - D.Exponent));
  }
  return R;
}

// -d.ddd with Decimals digits after the point; Separators groups the integer digits by three.
std::string FixedText(const TFloatDigits& D, Integer Decimals, bool Separators, std::string_view Prefix) {
  std::string R;
  if (D.Negative && D.Count > 0) R += '-';
  R += Prefix;
  const Integer IntDigits = std::max<Integer>(D.Exponent, 1);
  const bool LoneZero = D.Exponent <= 0;  // a value below one prints "0" before the point
  for (Integer I = 0; I < IntDigits; ++I) {
    R += LoneZero ? '0' : DigitAt(D, I);
    const Integer Left = IntDigits - 1 - I;
    if (Separators && Left > 0 && Left % 3 == 0) R += ',';
  }
  if (Decimals > 0) {
    R += '.';
    for (Integer I = 0; I < Decimals; ++I) R += DigitAt(D, D.Exponent + I);
  }
  return R;
}

}  // namespace

// -----------------------------------------------------------------------------------------------
// UTF conversions

std::u16string Utf8ToUtf16(std::string_view S) {
  std::u16string R;
  R.reserve(S.size());
  const unsigned char* P = Bytes(S);
  const unsigned char* E = P + S.size();
  while (P < E) {
    if (*P < 0x80) {
      R += static_cast<char16_t>(*P++);
      continue;
    }
    const int32_t Cp = DecodeUtf8(P, E);
    if (Cp < 0) {
      R += u'\uFFFD';
    } else if (Cp >= 0x10000) {
      R += static_cast<char16_t>(0xD800 + ((Cp - 0x10000) >> 10));
      R += static_cast<char16_t>(0xDC00 + ((Cp - 0x10000) & 0x3FF));
    } else {
      R += static_cast<char16_t>(Cp);
    }
  }
  return R;
}

std::string Utf16ToUtf8(std::u16string_view S) {
  std::string R;
  R.reserve(S.size());
  for (size_t I = 0; I < S.size(); ++I) {
    uint32_t C = S[I];
    if (C >= 0xD800 && C <= 0xDFFF) {
      // A lone half of a surrogate pair is no character.
      if (C <= 0xDBFF && I + 1 < S.size() && S[I + 1] >= 0xDC00 && S[I + 1] <= 0xDFFF) {
        C = 0x10000 + ((C - 0xD800) << 10) + (S[++I] - 0xDC00);
      } else {
        C = 0xFFFD;
      }
    }
    AppendUtf8(R, C);
  }
  return R;
}

// -----------------------------------------------------------------------------------------------
// 1-based positions

Integer Pos(std::string_view SubStr, std::string_view S) {
  return PosFrom(SubStr, S, 1);
}
Integer PosEx(std::string_view SubStr, std::string_view S, Integer Offset) {
  return PosFrom(SubStr, S, Offset);
}
std::string Copy(std::string_view S, Integer Index, Integer Count) {
  return CopyOf(S, Index, Count);
}
void Delete(std::string& S, Integer Index, Integer Count) {
  DeleteFrom(S, Index, Count);
}
void Insert(std::string_view Source, std::string& S, Integer Index) {
  InsertInto(Source, S, Index);
}
Integer Pos(std::u16string_view SubStr, std::u16string_view S) {
  return PosFrom(SubStr, S, 1);
}
std::u16string Copy(std::u16string_view S, Integer Index, Integer Count) {
  return CopyOf(S, Index, Count);
}
void Delete(std::u16string& S, Integer Index, Integer Count) {
  DeleteFrom(S, Index, Count);
}
void Insert(std::u16string_view Source, std::u16string& S, Integer Index) {
  InsertInto(Source, S, Index);
}

// -----------------------------------------------------------------------------------------------
// Trimming and case

std::string Trim(std::string_view S) {
  size_t B = 0, E = S.size();
  while (B < E && IsBlank(S[B])) ++B;
  while (E > B && IsBlank(S[E - 1])) --E;
  return std::string(S.substr(B, E - B));
}

std::string TrimLeft(std::string_view S) {
  size_t I = 0;
  while (I < S.size() && IsBlank(S[I])) ++I;
  return std::string(S.substr(I));
}

std::string TrimRight(std::string_view S) {
  size_t N = S.size();
  while (N > 0 && IsBlank(S[N - 1])) --N;
  return std::string(S.substr(0, N));
}

std::string UpperCase(std::string_view S) {
  std::string R(S);
  for (char& C : R) C = AsciiUpper(C);
  return R;
}

std::string LowerCase(std::string_view S) {
  std::string R(S);
  for (char& C : R) C = AsciiLower(C);
  return R;
}

std::string AnsiUpperCase(std::string_view S) {
  return MapCodePoints(S, UpperCodePoint);
}
std::string AnsiLowerCase(std::string_view S) {
  return MapCodePoints(S, LowerCodePoint);
}

// -----------------------------------------------------------------------------------------------
// Comparison

Integer CompareStr(std::string_view S1, std::string_view S2) {
  const int C = S1.compare(S2);  // bytes as unsigned: UTF-8 keeps code point order
  return C < 0 ? -1 : (C > 0 ? 1 : 0);
}

Integer CompareText(std::string_view S1, std::string_view S2) {
  const size_t N = std::min(S1.size(), S2.size());
  for (size_t I = 0; I < N; ++I) {
    const auto A = static_cast<unsigned char>(AsciiUpper(S1[I]));
    const auto B = static_cast<unsigned char>(AsciiUpper(S2[I]));
    if (A != B) return A < B ? -1 : 1;
  }
  return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

bool SameText(std::string_view S1, std::string_view S2) {
  return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

Integer AnsiCompareStr(std::string_view S1, std::string_view S2) {
  return CompareStr(S1, S2);
}

Integer AnsiCompareText(std::string_view S1, std::string_view S2) {
  const unsigned char* P1 = Bytes(S1);
  const unsigned char* E1 = P1 + S1.size();
  const unsigned char* P2 = Bytes(S2);
  const unsigned char* E2 = P2 + S2.size();
  while (P1 < E1 && P2 < E2) {
    const uint32_t A = UpperCodePoint(NextCodeForCompare(P1, E1));
    const uint32_t B = UpperCodePoint(NextCodeForCompare(P2, E2));
    if (A != B) return A < B ? -1 : 1;
  }
  return P1 < E1 ? 1 : (P2 < E2 ? -1 : 0);
}

bool AnsiSameText(std::string_view S1, std::string_view S2) {
  return AnsiCompareText(S1, S2) == 0;
}

// -----------------------------------------------------------------------------------------------
// Replacing and quoting

std::string StringReplace(std::string_view S, std::string_view OldPattern, std::string_view NewPattern,
                          TReplaceFlags Flags) {
  if (OldPattern.empty()) return std::string(S);
  const bool All = (Flags & rfReplaceAll) != 0;
  std::string R;
  R.reserve(S.size());
  size_t I = 0;
  if (!(Flags & rfIgnoreCase)) {
    for (;;) {
      const size_t At = S.find(OldPattern, I);
      if (At == std::string_view::npos) break;
      R.append(S.substr(I, At - I));
      R.append(NewPattern);
      I = At + OldPattern.size();
      if (!All) break;
    }
    R.append(S.substr(I));
    return R;
  }
  const std::u32string Pattern = FoldedCodes(OldPattern);
  const unsigned char* B = Bytes(S);
  size_t Run = 0;  // start of the text not yet copied
  while (I < S.size()) {
    const size_t Len = FoldedMatchLength(S, I, Pattern);
    if (Len != std::string_view::npos) {
      R.append(S.substr(Run, I - Run));
      R.append(NewPattern);
      I += Len;
      Run = I;
      if (!All) break;
      continue;
    }
    const unsigned char* P = B + I;
    NextCodeForCompare(P, B + S.size());
    I = static_cast<size_t>(P - B);
  }
  R.append(S.substr(Run));
  return R;
}

std::string StringOfChar(char Ch, Integer Count) {
  return Count > 0 ? std::string(static_cast<size_t>(Count), Ch) : std::string();
}

std::string QuotedStr(std::string_view S) {
  return AnsiQuotedStr(S, '\'');
}

std::string AnsiQuotedStr(std::string_view S, char Quote) {
  std::string R;
  R.reserve(S.size() + 2);
  R += Quote;
  for (char C : S) {
    R += C;
    if (C == Quote) R += Quote;
  }
  R += Quote;
  return R;
}

// A text without a closing quote yields everything after the opening one; text after the
// closing quote is dropped.
std::string AnsiDequotedStr(std::string_view S, char Quote) {
  if (S.empty() || S[0] != Quote) return std::string(S);
  std::string R;
  for (size_t I = 1; I < S.size(); ++I) {
    if (S[I] == Quote) {
      if (I + 1 < S.size() && S[I + 1] == Quote) {
        R += Quote;
        ++I;
        continue;
      }
      break;
    }
    R += S[I];
  }
  return R;
}

// -----------------------------------------------------------------------------------------------
// Integers

std::string IntToStr(Int64 Value) {
  char Buf[24];
  return std::string(Buf, std::to_chars(Buf, Buf + sizeof Buf, Value).ptr);
}

std::string IntToHex(Int64 Value, Integer Digits) {
  char Buf[16];
  char* End = std::to_chars(Buf, Buf + sizeof Buf, static_cast<UInt64>(Value), 16).ptr;
  for (char* P = Buf; P < End; ++P) *P = AsciiUpper(*P);
  const Integer Len = static_cast<Integer>(End - Buf);
  std::string R;
  if (Digits > Len) R.assign(static_cast<size_t>(Digits - Len), '0');
  R.append(Buf, End);
  return R;
}

bool TryStrToInt(std::string_view S, Integer& Value) {
  Int64 V;
  if (!ParseInteger(S, 32, V)) return false;
  Value = static_cast<Integer>(V);
  return true;
}

bool TryStrToInt64(std::string_view S, Int64& Value) {
  return ParseInteger(S, 64, Value);
}

Integer StrToInt(std::string_view S) {
  Integer V;
  if (!TryStrToInt(S, V)) RaiseInvalidInteger(S);
  return V;
}

Int64 StrToInt64(std::string_view S) {
  Int64 V;
  if (!TryStrToInt64(S, V)) RaiseInvalidInteger(S);
  return V;
}

Integer StrToIntDef(std::string_view S, Integer Default) {
  Integer V;
  return TryStrToInt(S, V) ? V : Default;
}

Int64 StrToInt64Def(std::string_view S, Int64 Default) {
  Int64 V;
  return TryStrToInt64(S, V) ? V : Default;
}

// -----------------------------------------------------------------------------------------------
// Floating point

// [blanks] [sign] digits [. digits] [E [sign] digits] [blanks], at least one mantissa digit.
bool TryStrToFloat(std::string_view S, Extended& Value) {
  size_t B = 0, E = S.size();
  while (B < E && IsBlank(S[B])) ++B;
  while (E > B && IsBlank(S[E - 1])) --E;
  const std::string_view T = S.substr(B, E - B);
  size_t I = 0;
  auto Digits = [&] {
    const size_t Start = I;
    while (I < T.size() && T[I] >= '0' && T[I] <= '9') ++I;
    return I - Start;
  };
  if (I < T.size() && (T[I] == '+' || T[I] == '-')) ++I;
  size_t Mantissa = Digits();
  if (I < T.size() && T[I] == '.') {
    ++I;
    Mantissa += Digits();
  }
  if (Mantissa == 0) return false;
  if (I < T.size() && (T[I] == 'e' || T[I] == 'E')) {
    ++I;
    if (I < T.size() && (T[I] == '+' || T[I] == '-')) ++I;
    if (Digits() == 0) return false;
  }
  if (I != T.size()) return false;
  // The C locale keeps '.' as the decimal point whatever the user's locale says.
  static const locale_t CLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
  const std::string Text(T);
  errno = 0;
  const Extended V = strtold_l(Text.c_str(), nullptr, CLocale);
  if (errno == ERANGE && std::isinf(V)) return false;
  Value = V;
  return true;
}

Extended StrToFloat(std::string_view S) {
  Extended V;
  if (!TryStrToFloat(S, V)) {
    throw EConvertError("'" + std::string(S) + "' is not a valid floating point value");
  }
  return V;
}

Extended StrToFloatDef(std::string_view S, Extended Default) {
  Extended V;
  return TryStrToFloat(S, V) ? V : Default;
}

std::string FloatToStr(Extended Value) {
  return FloatToStrF(Value, ffGeneral, 15, 0);
}

// Precision is taken as 1..18 significant digits, Digits as 0..4 exponent digits for the
// general and exponent forms and 0..18 decimals for the others. ffCurrency is ffNumber after
// a "$" sign. A value that rounds to zero prints without a minus sign.
std::string FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits) {
  Precision = std::clamp<Integer>(Precision, 1, MaxFloatDigits);
  if (Format == ffGeneral || Format == ffExponent) {
    Digits = std::clamp<Integer>(Digits, 0, 4);
    const TFloatDigits D = ToDecimal(Value, Precision, -1);
    if (D.Special) return std::isnan(Value) ? "NAN" : (D.Negative ? "-INF" : "INF");
    if (Format == ffGeneral) return GeneralText(D, Precision, Digits);
    std::string R;
    if (D.Negative) R += '-';
    R += DigitAt(D, 0);
    if (Precision > 1) R += '.';
    for (Integer I = 1; I < Precision; ++I) R += DigitAt(D, I);
    AppendExponent(R, D.Count ? D.Exponent - 1 : 0, true, Digits);
    return R;
  }
  Digits = std::clamp<Integer>(Digits, 0, MaxFloatDigits);
  const TFloatDigits D = ToDecimal(Value, MaxFloatDigits, Digits);
  if (D.Special) return std::isnan(Value) ? "NAN" : (D.Negative ? "-INF" : "INF");
  // Too many integer digits for the precision: the general form takes over.
  if (D.Exponent > Precision) return GeneralText(ToDecimal(Value, Precision, -1), Precision, 0);
  switch (Format) {
    case ffNumber:
      return FixedText(D, Digits, true, "");
    case ffCurrency:
      return FixedText(D, Digits, true, "$");
    default:
      return FixedText(D, Digits, false, "");
  }
}

// -----------------------------------------------------------------------------------------------
// Booleans

std::string BoolToStr(bool B, bool UseBoolStrs) {
  if (UseBoolStrs) return B ? "True" : "False";
  return B ? "-1" : "0";
}

bool StrToBoolDef(std::string_view S, bool Default) {
  if (SameText(S, "True")) return true;
  if (SameText(S, "False")) return false;
  Extended V;
  return TryStrToFloat(S, V) ? V != 0 : Default;
}

bool StrToBool(std::string_view S) {
  if (SameText(S, "True")) return true;
  if (SameText(S, "False")) return false;
  Extended V;
  if (!TryStrToFloat(S, V)) throw EConvertError("'" + std::string(S) + "' is not a valid boolean value");
  return V != 0;
}
