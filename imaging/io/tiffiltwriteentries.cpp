// The entry list of a directory being written: values that fit stay in the entry, the rest
// goes to the stream at once, each block at an even position, and the entry keeps its offset.
#include <algorithm>
#include <cmath>

#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/tiffilt.h"
#include "platform/system/Streams.h"

namespace {

// The four value bytes of an entry as the little-endian number the entry keeps.
Cardinal InlineValue(const Byte* Data, Integer Size) {
  Byte Field[4] = {};
  std::copy(Data, Data + std::min(Size, 4), Field);
  return IEGetDWord(Field, false);
}

void PadToEven(TStream* Stream, TIEIOProgress& Progress) {
  if ((Stream->GetPosition() & 1) == 0) return;
  const Byte Zero = 0;
  IESafeStreamWrite(Stream, *Progress.Aborting, &Zero, 1);
}

// Offsets are 32-bit: a file that grows past them cannot be written.
Cardinal EvenPosition(TStream* Stream, TIEIOProgress& Progress) {
  PadToEven(Stream, Progress);
  const Int64 Position = Stream->GetPosition();
  if (Position > 0xFFFFFFFFLL) IESetAborting(Progress);
  return static_cast<Cardinal>(Position);
}

// A value as a fraction; negative values keep their sign in the numerator.
void Fraction(Double Value, Integer& Numerator, Integer& Denominator) {
  Numerator = 0;
  Denominator = 1;
  if (!std::isfinite(Value)) return;
  IEFloatToFraction(Numerator, Denominator, Value, 5e-9);
  if (Denominator < 0) {
    Numerator = -Numerator;
    Denominator = -Denominator;
  }
}

}  // namespace

void TTIFFEntryWriter::AddBlock(Word Tag, Word Type, const void* Data, Integer Size) {
  if (Size < 0) return;
  const auto* Bytes = static_cast<const Byte*>(Data);
  const Integer ValueSize = IETIFFTypeSize(Type);
  const auto Count = static_cast<Cardinal>(Size / ValueSize);
  if (Size <= 4) {
    FEntries.push_back({Tag, Type, Count, InlineValue(Bytes, Size)});
    return;
  }
  const Cardinal Offset = EvenPosition(FStream, FProgress);
  IESafeStreamWrite(FStream, *FProgress.Aborting, Bytes, Size);
  FEntries.push_back({Tag, Type, Count, Offset});
}

void TTIFFEntryWriter::AddShorts(Word Tag, const std::vector<Integer>& Values) {
  std::vector<Byte> Bytes(2 * Values.size());
  for (std::size_t I = 0; I < Values.size(); ++I)
    IEPutWord(&Bytes[2 * I], static_cast<Word>(Values[I]), false);
  AddBlock(Tag, ietSHORT, Bytes.data(), static_cast<Integer>(Bytes.size()));
}

void TTIFFEntryWriter::AddLongs(Word Tag, const std::vector<Integer>& Values) {
  std::vector<Byte> Bytes(4 * Values.size());
  for (std::size_t I = 0; I < Values.size(); ++I)
    IEPutDWord(&Bytes[4 * I], static_cast<Cardinal>(Values[I]), false);
  AddBlock(Tag, ietLONG, Bytes.data(), static_cast<Integer>(Bytes.size()));
}

// Readers expect the terminating zero: texts of up to 3 characters keep it in the entry.
void TTIFFEntryWriter::AddAscii(Word Tag, const std::string& Text) {
  if (Text.empty()) return;
  AddBlock(Tag, ietASCII, Text.c_str(), static_cast<Integer>(Text.size()) + 1);
}

// A negative value as RATIONAL would turn into a huge positive one; such tags are SRATIONAL.
void TTIFFEntryWriter::AddRationals(Word Tag, const std::vector<Double>& Values) {
  const bool Signed = std::any_of(Values.begin(), Values.end(), [](Double V) { return V < 0; });
  std::vector<Byte> Bytes(8 * Values.size());
  for (std::size_t I = 0; I < Values.size(); ++I) {
    Integer Numerator = 0, Denominator = 1;
    Fraction(Values[I], Numerator, Denominator);
    IEPutDWord(&Bytes[8 * I], static_cast<Cardinal>(Numerator), false);
    IEPutDWord(&Bytes[8 * I + 4], static_cast<Cardinal>(Denominator), false);
  }
  AddBlock(Tag, Signed ? ietSRATIONAL : ietRATIONAL, Bytes.data(), static_cast<Integer>(Bytes.size()));
}

Int64 TTIFFEntryWriter::WriteDirectory(Cardinal NextOffset) {
  const Int64 Position = EvenPosition(FStream, FProgress);
  std::stable_sort(FEntries.begin(), FEntries.end(),
                   [](const TIFFTagEntry& A, const TIFFTagEntry& B) { return A.Tag < B.Tag; });
  std::vector<Byte> Bytes(2 + 12 * FEntries.size() + 4);
  IEPutWord(Bytes.data(), static_cast<Word>(FEntries.size()), false);
  Byte* Out = Bytes.data() + 2;
  for (const TIFFTagEntry& Entry : FEntries) {
    IEPutWord(Out, Entry.Tag, false);
    IEPutWord(Out + 2, Entry.Type, false);
    IEPutDWord(Out + 4, Entry.Count, false);
    IEPutDWord(Out + 8, Entry.Value, false);
    Out += 12;
  }
  IEPutDWord(Out, NextOffset, false);
  IESafeStreamWrite(FStream, *FProgress.Aborting, Bytes.data(), static_cast<Integer>(Bytes.size()));
  return Position;
}
