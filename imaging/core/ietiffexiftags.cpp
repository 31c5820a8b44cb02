#include "imaging/core/ietiffexiftags.h"

#include <algorithm>
#include <cmath>

#include "imaging/core/ieioparams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/core/ieutilstext.h"
#include "platform/system/Streams.h"
#include "platform/system/Strings.h"

namespace {

constexpr Cardinal MaxUserCommentBytes = 1048575;
const std::string UnicodeCode("UNICODE\0", 8);
const std::string AsciiCode("ASCII\0\0\0", 8);

// ---- Writing: entries of a little-endian file.

std::vector<Byte> Words(const Integer* Values, Integer Count) {
  std::vector<Byte> Bytes(2 * Count);
  for (Integer I = 0; I < Count; ++I) IEPutWord(Bytes.data() + 2 * I, static_cast<Word>(Values[I]), false);
  return Bytes;
}

// IEFloatToFraction of the fraction alone, the whole part added afterwards: the same terms
// (the continued fraction of a number and of its fraction differ only in the whole part),
// without a numerator beyond 32 bits for large values, which keep as many fraction digits as
// the numerator's range allows.
void ToFraction(Double Value, Int64 Limit, Int64& Numerator, Int64& Denominator) {
  Value =
      Value == Value ? std::clamp<Double>(Value, -static_cast<Double>(Limit), static_cast<Double>(Limit)) : 0;
  const Double Whole = std::trunc(Value);
  Integer N = 0, D = 1;
  IEFloatToFraction(N, D, Value - Whole, 5e-9);
  Numerator = static_cast<Int64>(Whole) * D + N;
  Denominator = D;
  if (Numerator > Limit || Numerator < -Limit) {
    Denominator = std::max<Int64>(1, static_cast<Int64>(Limit / (std::fabs(Value) + 1)));
    Numerator = std::clamp<Int64>(std::llround(Value * static_cast<Double>(Denominator)), -Limit, Limit);
  }
}

// RATIONAL, or SRATIONAL when a value is negative (an unsigned numerator would lose its sign).
TIETIFFTagEntry Rationals(Word Tag, const Double* Values, Integer Count) {
  const bool Signed = std::any_of(Values, Values + Count, [](Double V) { return V < 0; });
  std::vector<Byte> Bytes(8 * Count);
  for (Integer I = 0; I < Count; ++I) {
    Int64 Numerator = 0, Denominator = 1;
    ToFraction(Values[I], Signed ? 0x7FFFFFFF : 0xFFFFFFFF, Numerator, Denominator);
    IEPutDWord(Bytes.data() + 8 * I, static_cast<Cardinal>(Numerator), false);
    IEPutDWord(Bytes.data() + 8 * I + 4, static_cast<Cardinal>(Denominator), false);
  }
  return IEMakeTIFFEntry(Tag, Signed ? ietSRATIONAL : ietRATIONAL, Count, std::move(Bytes));
}

// At most 4 characters in the entry without a zero; longer ones behind it with their zero.
TIETIFFTagEntry Ascii(Word Tag, const std::string& Text) {
  std::vector<Byte> Bytes(Text.begin(), Text.end());
  if (Bytes.size() > 4) Bytes.push_back(0);
  const auto Count = static_cast<Cardinal>(Bytes.size());
  return IEMakeTIFFEntry(Tag, ietASCII, Count, std::move(Bytes));
}

std::vector<Byte> Utf16Bytes(const std::u16string& Text) {
  std::vector<Byte> Bytes(2 * Text.size());
  for (std::size_t I = 0; I < Text.size(); ++I) IEPutWord(Bytes.data() + 2 * I, Text[I], false);
  return Bytes;
}

bool ShouldWrite(const TIEExifField& Field, TIEMetaParams& Params) {
  switch (Field.Write) {
    case TIEExifWrite::Present:
      return IEExifDiffers(Field, Params, Field.ResetValue);
    case TIEExifWrite::Listed:
      return Params.HasExifTag(Field.Tag);
    case TIEExifWrite::NonNegative:
      return *std::get<Integer*>(Field.Field(Params)) >= 0;
    case TIEExifWrite::Always:
      break;
  }
  const auto Ref = Field.Field(Params);
  if (const auto* Text = std::get_if<std::string*>(&Ref)) return !(*Text)->empty();
  return true;
}

void WriteField(const TIEExifField& Field, TIEMetaParams& Params, TIETIFFTagList& List) {
  const auto Ref = Field.Field(Params);
  switch (Field.Kind) {
    case TIEExifKind::Text:
    case TIEExifKind::InlineText:
      List.push_back(Ascii(Field.Tag, *std::get<std::string*>(Ref)));
      break;
    case TIEExifKind::Rational:
      List.push_back(Rationals(Field.Tag, std::get<Double*>(Ref), Field.Count));
      break;
    case TIEExifKind::Short: {
      // Trailing values at their reset value are left out (one ISO speed instead of two).
      const Integer* Values = std::get<Integer*>(Ref);
      Integer Count = Field.Count;
      while (Count > 1 && Values[Count - 1] == Field.ResetValue) --Count;
      List.push_back(IEMakeTIFFEntry(Field.Tag, ietSHORT, Count, Words(Values, Count)));
      break;
    }
    case TIEExifKind::Undefined:
      List.push_back(
          IEMakeTIFFEntry(Field.Tag, ietUNDEFINED, 1, {static_cast<Byte>(*std::get<Integer*>(Ref))}));
      break;
    case TIEExifKind::WideText: {
      std::vector<Byte> Bytes = Utf16Bytes(*std::get<std::u16string*>(Ref));
      Bytes.insert(Bytes.end(), {0, 0});
      const auto Count = static_cast<Cardinal>(Bytes.size());
      List.push_back(IEMakeTIFFEntry(Field.Tag, ietBYTE, Count, std::move(Bytes)));
      break;
    }
    case TIEExifKind::GpsVersion: {
      std::string Bytes;
      TiffDottedToBytes(*std::get<std::string*>(Ref), Bytes);
      Bytes.resize(4, '\0');
      List.push_back(IEMakeTIFFEntry(Field.Tag, ietBYTE, 4, {Bytes.begin(), Bytes.end()}));
      break;
    }
    case TIEExifKind::ByteText:
      List.push_back(IEMakeTIFFEntry(Field.Tag, ietBYTE, 1,
                                     {static_cast<Byte>(StrToIntDef(*std::get<std::string*>(Ref), 0))}));
      break;
  }
}

// "UNICODE": the code, UTF-16 text, two zero bytes; "ASCII": the code, the text, one zero.
// An empty code counts as "UNICODE"; another code writes nothing.
void WriteUserComment(TIEMetaParams& Params, TIETIFFTagList& List) {
  const std::string Code = Params.ExifUserCommentCode.empty() ? UnicodeCode : Params.ExifUserCommentCode;
  if (Params.ExifUserComment.empty() || Code.size() != 8) return;
  std::vector<Byte> Bytes(Code.begin(), Code.end());
  if (Code == UnicodeCode) {
    const auto Text = Utf16Bytes(Params.ExifUserComment);
    Bytes.insert(Bytes.end(), Text.begin(), Text.end());
    Bytes.insert(Bytes.end(), {0, 0});
  } else if (Code == AsciiCode) {
    const std::string Text = Utf16ToUtf8(Params.ExifUserComment);
    Bytes.insert(Bytes.end(), Text.begin(), Text.end());
    Bytes.push_back(0);
  } else {
    return;
  }
  const auto Count = static_cast<Cardinal>(Bytes.size());
  List.push_back(IEMakeTIFFEntry(ieTagUserComment, ietUNDEFINED, Count, std::move(Bytes)));
}

// ---- Reading.

struct TTagReader {
  const TIEExifTagLookup& Lookup;
  bool BigEndian;

  const Byte* ValueAt(const TIEExifTagData& Data, Integer Index) const {
    const std::size_t Size = IETIFFTypeSize(Data.Type);
    const std::size_t End = (static_cast<std::size_t>(Index) + 1) * Size;
    if (static_cast<Cardinal>(Index) >= Data.Count || End > Data.Bytes.size()) return nullptr;
    return reinterpret_cast<const Byte*>(Data.Bytes.data()) + End - Size;
  }

  // A zero denominator counts as 1; whole numbers stored as SHORT or LONG are taken as they are.
  bool Rational(const TIEExifTagData& Data, Integer Index, Double& Value) const {
    const Byte* P = ValueAt(Data, Index);
    if (!P) return false;
    switch (Data.Type) {
      case ietSHORT:
        Value = IEGetWord(P, BigEndian);
        return true;
      case ietLONG:
        Value = IEGetDWord(P, BigEndian);
        return true;
      case ietRATIONAL:
      case ietSRATIONAL: {
        const Cardinal Numerator = IEGetDWord(P, BigEndian);
        const Cardinal Denominator = std::max<Cardinal>(IEGetDWord(P + 4, BigEndian), 1);
        Value = Data.Type == ietRATIONAL ? static_cast<Double>(Numerator) / Denominator
                                         : static_cast<Double>(static_cast<Integer>(Numerator)) /
                                               static_cast<Integer>(Denominator);
        return true;
      }
      default:
        return false;
    }
  }

  Integer Number(const TIEExifTagData& Data, Integer Index) const {
    const Byte* P = ValueAt(Data, Index);
    if (!P) return 0;
    const Integer Size = IETIFFTypeSize(Data.Type);
    return Size == 1   ? *P
           : Size == 2 ? IEGetWord(P, BigEndian)
                       : static_cast<Integer>(IEGetDWord(P, BigEndian));
  }

  void Store(const TIEExifField& Field, const TIEExifTagData& Data, TIEMetaParams& Params) const {
    const auto Ref = Field.Field(Params);
    switch (Field.Kind) {
      case TIEExifKind::Text:
      case TIEExifKind::InlineText: {
        std::string Text = Data.Bytes;
        if (Field.Kind == TIEExifKind::Text && Text.size() > 4)
          Text.resize(std::min(Text.find('\0'), Text.size()));
        *std::get<std::string*>(Ref) = Text;
        break;
      }
      case TIEExifKind::Rational:
        for (Integer I = 0; I < Field.Count; ++I)
          if (!Rational(Data, I, std::get<Double*>(Ref)[I])) std::get<Double*>(Ref)[I] = Field.ReadAbsent;
        break;
      case TIEExifKind::Short:
      case TIEExifKind::Undefined:
        for (Integer I = 0; I < Field.Count; ++I) std::get<Integer*>(Ref)[I] = Number(Data, I);
        break;
      case TIEExifKind::WideText: {
        std::u16string Text;
        for (std::size_t I = 0; I + 1 < Data.Bytes.size(); I += 2)
          Text.push_back(
              static_cast<char16_t>(IEGetWord(reinterpret_cast<const Byte*>(Data.Bytes.data()) + I, false)));
        *std::get<std::u16string*>(Ref) = Text.substr(0, Text.find(u'\0'));
        break;
      }
      case TIEExifKind::GpsVersion:
        TiffBytesToDotted(Data.Bytes.substr(0, 4), *std::get<std::string*>(Ref));
        break;
      case TIEExifKind::ByteText:
        *std::get<std::string*>(Ref) = std::to_string(Number(Data, 0));
        break;
    }
  }

  void ReadUserComment(TIEMetaParams& Params) const {
    Params.ExifUserComment.clear();
    Params.ExifUserCommentCode = UnicodeCode;
    TIEExifTagData Data;
    if (!Lookup(TIEExifDirectory::Exif, ieTagUserComment, Data)) return;
    const std::string Raw = Data.Bytes.substr(0, MaxUserCommentBytes);
    if (Raw.size() <= 8) return;
    Params.ExifUserCommentCode = Raw.substr(0, 8);
    const std::string Text = Raw.substr(8);
    if (Params.ExifUserCommentCode == UnicodeCode) {
      for (std::size_t I = 0; I < Text.size(); I += 2)
        Params.ExifUserComment.push_back(
            static_cast<char16_t>(Byte(Text[I]) | (I + 1 < Text.size() ? Byte(Text[I + 1]) << 8 : 0)));
    } else {
      Params.ExifUserComment = Utf8ToUtf16(Text);
    }
    // The terminating zero the writer adds is no part of the text.
    Params.ExifUserComment.resize(
        std::min(Params.ExifUserComment.find(u'\0'), Params.ExifUserComment.size()));
  }
};

}  // namespace

void TiffBytesToDotted(const std::string& S, std::string& T) {
  T.clear();
  for (const unsigned char C : S) {
    if (!T.empty()) T += '.';
    T += std::to_string(C);
  }
}

void TiffDottedToBytes(const std::string& S, std::string& T) {
  T.clear();
  if (S.empty()) return;
  std::size_t At = 0;
  for (;;) {
    const std::size_t Dot = std::min(S.find('.', At), S.size());
    T += static_cast<char>(StrToIntDef(std::string_view(S).substr(At, Dot - At), 0));
    if (Dot == S.size()) break;
    At = Dot + 1;
  }
}

TIETIFFTagList IEExifTagList(TIEMetaParams& Params, TIEExifDirectory Directory) {
  TIETIFFTagList List;
  for (const auto& Field : IEExifFields())
    if (Field.Directory == Directory && ShouldWrite(Field, Params)) WriteField(Field, Params, List);
  if (Directory == TIEExifDirectory::Exif) WriteUserComment(Params, List);
  return List;
}

std::vector<Byte> IEExifMakerNoteAt(TIEMetaParams& Params, Int64 Position) {
  if (Params.GetExifMakerNote().GetIFD().GetSize() <= 12) return {};
  TMemoryStream Stream;
  Stream.SetSize(Position);
  Stream.Seek(Position, soBeginning);
  const Integer Size = Params.GetExifMakerNote().WriteToStream(&Stream);
  const auto* Data = static_cast<const Byte*>(Stream.GetMemory());
  return Size > 0 ? std::vector<Byte>(Data + Position, Data + Position + Size) : std::vector<Byte>();
}

void IEExifReadTags(const TIEExifTagLookup& Lookup, bool BigEndian, bool HasExif, TIEMetaParams& Params) {
  const TTagReader Reader{Lookup, BigEndian};
  for (const auto& Field : IEExifFields()) {
    TIEExifTagData Data;
    if (Lookup(Field.Directory, Field.Tag, Data))
      Reader.Store(Field, Data, Params);
    else
      IEExifSetAll(Field, Params, Field.ReadAbsent);
    if (Field.Write == TIEExifWrite::Listed) {
      if (IEExifDiffers(Field, Params, Field.ResetValue))
        Params.AddExifTag(Field.Tag);
      else
        Params.RemoveExifTag(Field.Tag);
    }
  }
  Params.SetExifOrientation(Params.ExifOrientation);
  // The resolution is kept per inch, as the TIFF reader keeps a page's.
  if (Params.ExifResolutionUnit == 3) {
    Params.ExifXResolution *= 2.54;
    Params.ExifYResolution *= 2.54;
  }
  Params.SetExifXResolution(Params.ExifXResolution);
  Params.SetExifYResolution(Params.ExifYResolution);
  Params.TiffImageDescription = Params.ExifImageDescription;
  Params.ExifPresent = HasExif;
  Reader.ReadUserComment(Params);
}
