// The directory walk of a TIFF stream and the typed questions about one directory's tags.
#include <algorithm>
#include <set>

#include "imaging/core/ietiffbytes.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/tiffiltdirbytes.h"
#include "platform/system/Streams.h"

namespace {

constexpr Int64 EntrySize = 12;

const TIFFTagEntry* FindEntry(const TIFFDirectory& Dir, Word Tag) {
  const Integer Index = TiffFindTag(Tag, Dir);
  return Index < 0 ? nullptr : &Dir.Entries[Index];
}

bool BigEndian(const TIFFDirectory& Dir) {
  return !Dir.LittleEndian;
}

// Reads exactly Count bytes at the absolute stream position; false when the stream ends first.
bool ReadExactly(TStream* Stream, Int64 Position, void* Buffer, Integer Count) {
  Stream->Seek(Position, soBeginning);
  return Stream->Read(Buffer, Count) == Count;
}

// Value number Index of a SHORT or LONG entry (see TiffGetIntegerAt); false when it cannot be
// read.
bool IntegerAt(const TIFFDirectory& Dir, const TIFFTagEntry& Entry, Cardinal Index, Integer& Value) {
  if (Index >= Entry.Count) return false;
  const Int64 Size = IETIFFTypeSize(Entry.Type);
  if (Entry.Type != ietSHORT && Entry.Type != ietLONG) return false;
  if (TiffEntryBytes(Entry) <= 4) {
    const auto Bytes = TiffInlineBytes(Dir, Entry);
    Value = Size == 2 ? IEGetWord(Bytes.data() + 2 * Index, BigEndian(Dir))
                      : static_cast<Integer>(IEGetDWord(Bytes.data(), BigEndian(Dir)));
    return true;
  }
  const auto Bytes = TiffReadAt(Dir, static_cast<Int64>(Entry.Value) + Size * Index, Size);
  if (Bytes.empty()) return false;
  Value = Size == 2 ? IEGetWord(Bytes.data(), BigEndian(Dir))
                    : static_cast<Integer>(IEGetDWord(Bytes.data(), BigEndian(Dir)));
  return true;
}

}  // namespace

std::array<Byte, 4> TiffInlineBytes(const TIFFDirectory& Dir, const TIFFTagEntry& Entry) {
  std::array<Byte, 4> Bytes{};
  IEPutDWord(Bytes.data(), Entry.Value, BigEndian(Dir));
  return Bytes;
}

Int64 TiffEntryBytes(const TIFFTagEntry& Entry) {
  return IETIFFValueBytes(Entry.Type, Entry.Count);
}

Int64 TiffStreamSize(const TIFFDirectory& Dir) {
  return Dir.Stream ? Dir.Stream->GetSize() : 0;
}

std::vector<Byte> TiffReadAt(const TIFFDirectory& Dir, Int64 Offset, Int64 Count) {
  const Int64 Position = Dir.Base + Offset;
  // Checked before anything is allocated: a count from the file may claim any size.
  if (Offset < 0 || Count <= 0 || Position < 0 || Count > TiffStreamSize(Dir) - Position) return {};
  std::vector<Byte> Bytes(static_cast<std::size_t>(Count));
  if (!ReadExactly(Dir.Stream, Position, Bytes.data(), static_cast<Integer>(Count))) return {};
  return Bytes;
}

std::vector<Byte> TiffEntryData(const TIFFDirectory& Dir, const TIFFTagEntry& Entry) {
  const Int64 Size = TiffEntryBytes(Entry);
  if (Size <= 4) {
    const auto Bytes = TiffInlineBytes(Dir, Entry);
    return std::vector<Byte>(Bytes.begin(), Bytes.begin() + Size);
  }
  return TiffReadAt(Dir, Entry.Value, Size);
}

bool TiffReadDirectory(Integer Index, Int64 Offset, TIFFDirectory& Dir, Integer& Count) {
  Count = 0;
  Dir.Entries.clear();
  const Int64 StreamSize = TiffStreamSize(Dir);
  // A chain that leads back to a directory already walked ends there.
  std::set<Int64> Walked;
  bool Loaded = false;
  std::vector<Byte> Raw;
  for (Int64 At = Offset; At != 0 && Walked.insert(At).second;) {
    Byte Field[4];
    if (!ReadExactly(Dir.Stream, Dir.Base + At, Field, 2)) break;
    const Word Entries = IEGetWord(Field, BigEndian(Dir));
    if (Entries == 0) break;
    const Int64 NextField = Dir.Base + At + 2 + EntrySize * Entries;
    if (Count == Index) {
      // As many whole entries as the stream holds.
      const Int64 Whole = std::clamp<Int64>((StreamSize - (Dir.Base + At + 2)) / EntrySize, 0, Entries);
      Raw.resize(static_cast<std::size_t>(Whole * EntrySize));
      Loaded = Whole > 0 &&
               ReadExactly(Dir.Stream, Dir.Base + At + 2, Raw.data(), static_cast<Integer>(Raw.size()));
    }
    if (NextField >= StreamSize) break;
    if (!ReadExactly(Dir.Stream, NextField, Field, 4)) break;
    Int64 Next = IEGetDWord(Field, BigEndian(Dir));
    if (Next == At || Next < 8 || Dir.Base + Next >= StreamSize) Next = 0;
    ++Count;
    At = Next;
  }
  if (!Loaded) return false;
  Dir.Entries.resize(Raw.size() / EntrySize);
  for (std::size_t I = 0; I < Dir.Entries.size(); ++I) {
    const Byte* P = Raw.data() + EntrySize * I;
    TIFFTagEntry& Entry = Dir.Entries[I];
    Entry.Tag = IEGetWord(P, BigEndian(Dir));
    Entry.Type = IEGetWord(P + 2, BigEndian(Dir));
    Entry.Count = IEGetDWord(P + 4, BigEndian(Dir));
    Entry.Value = IEGetDWord(P + 8, BigEndian(Dir));
  }
  return true;
}

Integer TiffFindTag(Word Tag, const TIFFDirectory& Dir) {
  for (std::size_t I = 0; I < Dir.Entries.size(); ++I)
    if (Dir.Entries[I].Tag == Tag) return static_cast<Integer>(I);
  return -1;
}

Integer TiffGetInteger(const TIFFDirectory& Dir, Word Tag, Integer Default) {
  const TIFFTagEntry* Entry = FindEntry(Dir, Tag);
  if (!Entry) return Default;
  const auto Bytes = TiffInlineBytes(Dir, *Entry);
  switch (Entry->Type) {
    case ietBYTE:
      return Bytes[0];
    case ietSHORT:
      return IEGetWord(Bytes.data(), BigEndian(Dir));
    default:
      return static_cast<Integer>(Entry->Value);
  }
}

Integer TiffGetIntegerAt(const TIFFDirectory& Dir, Word Tag, Integer Index, Integer Default) {
  const TIFFTagEntry* Entry = FindEntry(Dir, Tag);
  Integer Value = Default;
  if (!Entry || Index < 0 || !IntegerAt(Dir, *Entry, static_cast<Cardinal>(Index), Value)) return Default;
  return Value;
}

Integer TiffGetIntegerArray(const TIFFDirectory& Dir, std::vector<Integer>& Values, Word Tag) {
  Values.clear();
  const TIFFTagEntry* Entry = FindEntry(Dir, Tag);
  if (!Entry || (Entry->Type != ietSHORT && Entry->Type != ietLONG)) return 0;
  const std::vector<Byte> Data = TiffEntryData(Dir, *Entry);
  if (Data.empty()) return 0;
  const Integer Size = IETIFFTypeSize(Entry->Type);
  Values.resize(Entry->Count);
  for (Cardinal I = 0; I < Entry->Count; ++I) {
    const Byte* P = Data.data() + static_cast<std::size_t>(Size) * I;
    Values[I] =
        Size == 2 ? IEGetWord(P, BigEndian(Dir)) : static_cast<Integer>(IEGetDWord(P, BigEndian(Dir)));
  }
  return static_cast<Integer>(Values.size());
}

Double TiffGetRational(const TIFFDirectory& Dir, Word Tag, Double Default) {
  return TiffGetRationalAt(Dir, Tag, 0, Default);
}

Double TiffGetRationalAt(const TIFFDirectory& Dir, Word Tag, Integer Index, Double Default) {
  const TIFFTagEntry* Entry = FindEntry(Dir, Tag);
  if (!Entry || Index < 0) return Default;
  // Whole numbers stored as SHORT or LONG are taken as they are, not as an offset.
  if (Entry->Type == ietSHORT || Entry->Type == ietLONG) {
    Integer Value = 0;
    return IntegerAt(Dir, *Entry, static_cast<Cardinal>(Index), Value) ? static_cast<Cardinal>(Value)
                                                                       : Default;
  }
  if (Entry->Type != ietRATIONAL && Entry->Type != ietSRATIONAL) return Default;
  if (static_cast<Cardinal>(Index) >= Entry->Count) return Default;
  const auto Bytes = TiffReadAt(Dir, static_cast<Int64>(Entry->Value) + 8 * static_cast<Int64>(Index), 8);
  if (Bytes.empty()) return Default;
  const Cardinal Numerator = IEGetDWord(Bytes.data(), BigEndian(Dir));
  Cardinal Denominator = IEGetDWord(Bytes.data() + 4, BigEndian(Dir));
  if (Denominator == 0) Denominator = 1;
  if (Entry->Type == ietSRATIONAL)
    return static_cast<Double>(static_cast<Integer>(Numerator)) / static_cast<Integer>(Denominator);
  return static_cast<Double>(Numerator) / Denominator;
}

std::vector<Byte> TiffGetBlock(const TIFFDirectory& Dir, Word Tag) {
  const TIFFTagEntry* Entry = FindEntry(Dir, Tag);
  return Entry ? TiffEntryData(Dir, *Entry) : std::vector<Byte>();
}

void TiffGetString(const TIFFDirectory& Dir, Word Tag, bool TrimAtZero, std::string& S) {
  const TIFFTagEntry* Entry = FindEntry(Dir, Tag);
  if (!Entry) {
    S.clear();
    return;
  }
  if (Entry->Count <= 4) {
    const auto Bytes = TiffInlineBytes(Dir, *Entry);
    S.assign(Bytes.begin(), Bytes.begin() + Entry->Count);
    return;
  }
  if (Entry->Count > TiffMaxStringCount) return;
  // A text cut by the end of the stream keeps what is there.
  const Int64 Available = std::clamp<Int64>(TiffStreamSize(Dir) - (Dir.Base + Entry->Value), 0, Entry->Count);
  const std::vector<Byte> Bytes = TiffReadAt(Dir, Entry->Value, Available);
  S.assign(Bytes.begin(), Bytes.end());
  if (TrimAtZero) S.resize(std::min(S.find('\0'), S.size()));
}

void TiffGetInlineString(const TIFFDirectory& Dir, Word Tag, std::string& S) {
  const TIFFTagEntry* Entry = FindEntry(Dir, Tag);
  if (!Entry || Entry->Count < 1 || Entry->Count > TiffMaxStringCount) return;
  // Longer texts are behind the entry: their value field is an offset, not text.
  if (Entry->Count > 4) {
    TiffGetString(Dir, Tag, false, S);
    return;
  }
  const auto Bytes = TiffInlineBytes(Dir, *Entry);
  S.assign(Bytes.begin(), Bytes.begin() + Entry->Count);
}

void TiffGetWideString(const TIFFDirectory& Dir, Word Tag, std::u16string& W) {
  const TIFFTagEntry* Entry = FindEntry(Dir, Tag);
  if (!Entry) {
    W.clear();
    return;
  }
  if (Entry->Count <= 4) {
    W.assign(1, static_cast<char16_t>(Entry->Value & 0xFFFF));
    return;
  }
  if (Entry->Count > TiffMaxStringCount) return;
  const std::vector<Byte> Bytes = TiffReadAt(Dir, Entry->Value, Entry->Count);
  if (Bytes.empty()) return;
  // The text is UTF-16 in the writer's (little-endian) order; the last two bytes end it.
  W.resize((Entry->Count - 2) / 2);
  for (std::size_t I = 0; I < W.size(); ++I)
    W[I] = static_cast<char16_t>(IEGetWord(Bytes.data() + 2 * I, false));
}
