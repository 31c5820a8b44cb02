#include "platform/system/Format.h"

#include <charconv>

#include "platform/system/Exceptions.h"
#include "platform/system/Strings.h"

TVarRec::TVarRec(const std::u16string& V) : FValue(Utf16ToUtf8(V)) {}

namespace {

class TFormatter {
 public:
  TFormatter(std::string_view Fmt, std::initializer_list<TVarRec> Args) : FFmt(Fmt), FArgs(Args) {}

  std::string Run() {
    std::string R;
    R.reserve(FFmt.size() + 16);
    size_t I = 0;
    while (I < FFmt.size()) {
      const size_t At = FFmt.find('%', I);
      if (At == std::string_view::npos) {
        R.append(FFmt.substr(I));
        break;
      }
      R.append(FFmt.substr(I, At - I));
      FPos = At + 1;
      Directive(R);
      I = FPos;
    }
    return R;
  }

 private:
  [[noreturn]] void Invalid() const {
    throw EConvertError("Format '" + std::string(FFmt) + "' invalid or incompatible with argument");
  }

  bool AtEnd() const { return FPos >= FFmt.size(); }
  char Peek() const { return AtEnd() ? '\0' : FFmt[FPos]; }

  const TVarRec::TValue& NextArg() {
    if (FArgIndex >= FArgs.size()) Invalid();
    return FArgs.begin()[FArgIndex++].Value();
  }

  Int64 IntArg() {
    const auto* V = std::get_if<Int64>(&NextArg());
    if (!V) Invalid();
    return *V;
  }

  // Digits or '*' (the next argument); false when neither is there.
  bool Number(Int64& Value) {
    if (Peek() == '*') {
      ++FPos;
      Value = IntArg();
      return true;
    }
    if (Peek() < '0' || Peek() > '9') return false;
    Value = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      Value = Value * 10 + (Peek() - '0');
      if (Value > 0x7FFFFFFF) Invalid();
      ++FPos;
    }
    return true;
  }

  // "%" [index ":"] ["-"] [width] ["." prec] type
  void Directive(std::string& R) {
    if (Peek() == '%') {
      ++FPos;
      R += '%';
      return;
    }
    Int64 Num = 0;
    bool HasNum = Number(Num);
    if (HasNum && Peek() == ':') {
      ++FPos;
      if (Num < 0) Invalid();
      FArgIndex = static_cast<size_t>(Num);
      HasNum = false;
    }
    bool Left = false;
    if (!HasNum) {
      if (Peek() == '-') {
        Left = true;
        ++FPos;
      }
      HasNum = Number(Num);
    }
    const Int64 Width = HasNum && Num > 0 ? Num : 0;
    Int64 Prec = -1;  // none
    if (Peek() == '.') {
      ++FPos;
      if (!Number(Prec)) Prec = 0;  // a point alone is precision zero
      if (Prec < 0) Prec = -1;
    }
    if (AtEnd()) Invalid();
    const char Type = FFmt[FPos++];
    const size_t Start = R.size();
    Convert(R, Type, Prec);
    Pad(R, Start, Width, Left, Type == 's' || Type == 'S');
  }

  // clang-format off
  void Convert(std::string& R, char Type, Int64 Prec) {
    switch (Type >= 'A' && Type <= 'Z' ? Type + 32 : Type) {
      case 'd': return IntegerText(R, IntArg(), 10, true, Prec);
      case 'u': return IntegerText(R, IntArg(), 10, false, Prec);
      case 'x': return IntegerText(R, IntArg(), 16, false, Prec);
      case 'e': return FloatText(R, ffExponent, Prec < 0 ? 15 : Prec, 3);
      case 'f': return FloatText(R, ffFixed, 18, Prec < 0 ? 2 : Prec);
      case 'g': return FloatText(R, ffGeneral, Prec < 0 ? 15 : Prec, 0);
      case 'n': return FloatText(R, ffNumber, 18, Prec < 0 ? 2 : Prec);
      // Currency is the number form after a "$"; no locale currency settings are kept.
      case 'm': return FloatText(R, ffCurrency, 18, Prec < 0 ? 2 : Prec);
      case 'p': return PointerText(R);
      case 's': return StringText(R, Prec);
      default: Invalid();
    }
  }
  // clang-format on

  // Precision is the minimum number of digits. Unsigned and hexadecimal forms show a value
  // that fits in 32 bits as a 32-bit one (-1 is FFFFFFFF) and any other as 64 bits.
  void IntegerText(std::string& R, Int64 V, int Base, bool Signed, Int64 Prec) {
    UInt64 Magnitude;
    if (Signed) {
      if (V < 0) R += '-';
      Magnitude = V < 0 ? ~static_cast<UInt64>(V) + 1 : static_cast<UInt64>(V);
    } else {
      Magnitude = V >= INT32_MIN && V <= INT32_MAX ? static_cast<UInt64>(static_cast<uint32_t>(V))
                                                   : static_cast<UInt64>(V);
    }
    char Buf[24];
    char* End = std::to_chars(Buf, Buf + sizeof Buf, Magnitude, Base).ptr;
    if (Base == 16) {
      for (char* P = Buf; P < End; ++P) {
        if (*P >= 'a') *P = static_cast<char>(*P - 32);
      }
    }
    if (Prec > End - Buf) R.append(static_cast<size_t>(Prec - (End - Buf)), '0');
    R.append(Buf, End);
  }

  void FloatText(std::string& R, TFloatFormat Form, Int64 Precision, Int64 Digits) {
    const auto* V = std::get_if<Extended>(&NextArg());
    if (!V) Invalid();
    R += FloatToStrF(*V, Form, static_cast<Integer>(Precision), static_cast<Integer>(Digits));
  }

  void PointerText(std::string& R) {
    const auto* V = std::get_if<const void*>(&NextArg());
    if (!V) Invalid();
    R += IntToHex(static_cast<Int64>(reinterpret_cast<UInt64>(*V)), 2 * sizeof(void*));
  }

  // Precision is the most characters shown; a character is a code point, never part of one.
  void StringText(std::string& R, Int64 Prec) {
    const auto* V = std::get_if<std::string>(&NextArg());
    if (!V) Invalid();
    if (Prec < 0) {
      R += *V;
      return;
    }
    size_t N = 0;
    for (Int64 Chars = 0; N < V->size(); ++N) {
      if ((static_cast<unsigned char>((*V)[N]) & 0xC0) != 0x80 && Chars++ == Prec) break;
    }
    R.append(*V, 0, N);
  }

  // Spaces up to Width characters, before the text or after it with '-'.
  static void Pad(std::string& R, size_t Start, Int64 Width, bool Left, bool Utf8) {
    if (Width == 0) return;
    Int64 Chars = static_cast<Int64>(R.size() - Start);
    if (Utf8) {
      Chars = 0;
      for (size_t I = Start; I < R.size(); ++I) Chars += (static_cast<unsigned char>(R[I]) & 0xC0) != 0x80;
    }
    if (Chars >= Width) return;
    const size_t Fill = static_cast<size_t>(Width - Chars);
    if (Left)
      R.append(Fill, ' ');
    else
      R.insert(Start, Fill, ' ');
  }

  std::string_view FFmt;
  std::initializer_list<TVarRec> FArgs;
  size_t FPos = 0;
  size_t FArgIndex = 0;
};

}  // namespace

std::string Format(std::string_view Fmt, std::initializer_list<TVarRec> Args) {
  return TFormatter(Fmt, Args).Run();
}
