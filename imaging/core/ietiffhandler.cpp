#include "imaging/core/ietiffhandler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffbytes.h"

namespace {

constexpr Integer EntrySize = 12;
// EXIF inside a page, an interoperability directory inside that: deeper nesting is not TIFF.
constexpr Integer MaxSubIFDDepth = 4;

Int64 ValueBytes(const TIETIFFTagEntry& Entry) {
  return IETIFFValueBytes(Entry.Type, Entry.Count);
}

TIETIFFTagEntry CloneEntry(const TIETIFFTagEntry& Source) {
  TIETIFFTagEntry Copy;
  Copy.Tag = Source.Tag;
  Copy.Type = Source.Type;
  Copy.Count = Source.Count;
  Copy.Value = Source.Value;
  Copy.Data = Source.Data;
  Copy.Pieces = Source.Pieces;
  Copy.HasPieces = Source.HasPieces;
  if (Source.SubIFD) {
    Copy.SubIFD = std::make_unique<TIETIFFTagList>();
    for (const auto& Nested : *Source.SubIFD) Copy.SubIFD->push_back(CloneEntry(Nested));
  }
  return Copy;
}

// Up to Count bytes at Offset, as many as the stream holds there.
std::vector<Byte> ReadBlock(TStream* Stream, Int64 StreamSize, Int64 Offset, Int64 Count) {
  if (Offset < 0 || Offset >= StreamSize || Count <= 0) return {};
  std::vector<Byte> Block(static_cast<std::size_t>(std::min(Count, StreamSize - Offset)));
  Stream->Seek(Offset, soBeginning);
  Block.resize(static_cast<std::size_t>(Stream->Read(Block.data(), static_cast<Integer>(Block.size()))));
  return Block;
}

}  // namespace

TIETIFFTagEntry IEMakeTIFFEntry(Word Tag, Word Type, Cardinal Count, std::vector<Byte> Bytes) {
  TIETIFFTagEntry Entry;
  Entry.Tag = Tag;
  Entry.Type = Type;
  Entry.Count = Count;
  if (Bytes.size() <= 4)
    std::copy(Bytes.begin(), Bytes.end(), Entry.Value.begin());
  else
    Entry.Data = std::move(Bytes);
  return Entry;
}

Int64 IEAlignStreamToWord(TStream* Stream) {
  Int64 Position = Stream->GetPosition();
  if (Position % 2 != 0) {
    const Byte Zero = 0;
    Stream->WriteBuffer(&Zero, 1);
    ++Position;
  }
  return Position;
}

// What one read works within: the stream, its size, the bytes it may still allocate (blocks
// that several entries point at are held once per entry, so a small file could otherwise ask
// for its own size many times over) and the directories already read.
struct TIETIFFHandler::TReadState {
  TStream* Stream;
  Int64 Size;
  Int64 Budget;
  std::set<Int64> Directories;

  std::vector<Byte> Take(Int64 Offset, Int64 Count) {
    std::vector<Byte> Block = ReadBlock(Stream, Size, Offset, std::min(Count, Budget));
    Budget -= static_cast<Int64>(Block.size());
    return Block;
  }
};

TIETIFFHandler::TIETIFFHandler(std::string_view FileName) {
  ReadFile(FileName);
}

TIETIFFHandler::TIETIFFHandler(TStream* Stream) {
  ReadStream(Stream);
}

bool TIETIFFHandler::ReadFile(std::string_view FileName) {
  if (!IEFileExists(FileName)) return false;
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  return ReadStream(&Stream);
}

Int64 TIETIFFHandler::ReadHeader(TStream* Stream) {
  Byte Header[8];
  Stream->Seek(0, soBeginning);
  if (Stream->Read(Header, 8) != 8) return -1;
  if (Header[0] != Header[1] || (Header[0] != 'I' && Header[0] != 'M')) return -1;
  FBigEndian = Header[0] == 'M';
  FVersion = XWord(Header + 2);
  return XDWord(Header + 4);
}

bool TIETIFFHandler::ReadStream(TStream* Stream) {
  FreeData();
  FBigEndian = false;
  FVersion = 42;
  const Int64 FirstPage = ReadHeader(Stream);
  if (FirstPage < 0) return false;
  const Int64 Size = Stream->GetSize();
  TReadState State{Stream, Size, 2 * Size + 65536, {}};
  ReadIFD(State, FirstPage, 0, nullptr, 0);
  return true;
}

void TIETIFFHandler::ReadIFD(TReadState& State, Int64 Offset, Integer Index, TIETIFFTagList* List,
                             Integer Depth) {
  if (Offset < 0 || Offset + 2 > State.Size || !State.Directories.insert(Offset).second) return;
  if (!List) List = &*FPages.insert(FPages.begin() + Index, TIETIFFTagList());
  Byte CountBytes[2];
  State.Stream->Seek(Offset, soBeginning);
  State.Stream->ReadBuffer(CountBytes, 2);
  const Integer Count = XWord(CountBytes);
  const Int64 NextField = Offset + 2 + static_cast<Int64>(EntrySize) * Count;
  Int64 EntryAt = Offset + 2;
  for (Integer I = 0; I < Count && EntryAt + EntrySize <= State.Size; ++I, EntryAt += EntrySize) {
    Byte Raw[EntrySize];
    State.Stream->Seek(EntryAt, soBeginning);
    State.Stream->ReadBuffer(Raw, EntrySize);
    TIETIFFTagEntry Entry;
    Entry.Tag = XWord(Raw);
    Entry.Type = XWord(Raw + 2);
    Entry.Count = XDWord(Raw + 4);
    std::memcpy(Entry.Value.data(), Raw + 8, 4);
    if (!ReadEntry(State, Entry, Depth)) break;
    List->push_back(std::move(Entry));
  }
  ReadPieces(State, *List);
  // An old-style JPEG page keeps only its interchange stream.
  if (GetIntegerByCode(*List, ieTagCompression, 0) == 6 && FindTagInList(*List, ieTagStripOffsets) >= 0 &&
      FindTagInList(*List, ieTagJPEGInterchangeFormat) >= 0)
    for (Integer Tag : {273, 519, 520, 521}) DeleteTagFromList(*List, FindTagInList(*List, Tag));
  SortList(*List);

  if (Depth > 0 || NextField + 4 > State.Size) return;
  Byte Next[4];
  State.Stream->Seek(NextField, soBeginning);
  State.Stream->ReadBuffer(Next, 4);
  const Int64 NextPage = XDWord(Next);
  if (NextPage != 0 && NextPage != Offset && NextPage < State.Size)
    ReadIFD(State, NextPage, Index + 1, nullptr, 0);
}

bool TIETIFFHandler::ReadEntry(TReadState& State, TIETIFFTagEntry& Entry, Integer Depth) {
  const Int64 Bytes = ValueBytes(Entry);
  if (Bytes > 4) {
    if (Bytes >= State.Size) return false;
    Entry.Data = State.Take(XDWord(Entry.Value.data()), Bytes);
  }
  const Byte* First = GetValuePtr(Entry, 0);
  if (IsSubIFDTag(Entry.Tag) && Depth < MaxSubIFDDepth && First && IETIFFTypeSize(Entry.Type) == 4) {
    Entry.SubIFD = std::make_unique<TIETIFFTagList>();
    ReadIFD(State, XDWord(First), 0, Entry.SubIFD.get(), Depth + 1);
  }
  return true;
}

void TIETIFFHandler::ReadPieces(TReadState& State, TIETIFFTagList& List) {
  for (std::size_t Index = 0; Index < List.size(); ++Index) {
    auto& Entry = List[Index];
    Integer OffsetTag, LengthTag;
    GetOffsetLengthTags(Entry.Tag, OffsetTag, LengthTag);
    if (OffsetTag < 0) continue;
    const Integer LengthIndex = FindTagInList(List, LengthTag);
    for (Cardinal Piece = 0; Piece < Entry.Count && State.Budget > 0; ++Piece) {
      if (!GetValuePtr(Entry, static_cast<Integer>(Piece))) break;
      // Read by its type: an offsets entry of bytes holds one byte per offset.
      const Int64 Position =
          static_cast<Cardinal>(GetValue(List, static_cast<Integer>(Index), static_cast<Integer>(Piece)));
      const Int64 Length =
          LengthIndex < 0 ? 0
                          : static_cast<Cardinal>(GetValue(List, LengthIndex, static_cast<Integer>(Piece)));
      Entry.Pieces.push_back(State.Take(Position, Length));
    }
    Entry.Count = static_cast<Cardinal>(Entry.Pieces.size());
    Entry.Data.clear();
    Entry.Type = ietLONG;
    Entry.HasPieces = true;
  }
}

void TIETIFFHandler::WriteFile(std::string_view FileName, Integer PageIndex) {
  TReplacingFileStream Stream(FileName);
  WriteStream(&Stream, PageIndex);
  Stream.Commit();
}

void TIETIFFHandler::WriteStream(TStream* Stream, Integer PageIndex) {
  const Int64 Start = Stream->GetPosition();
  Byte Header[8] = {Byte(FBigEndian ? 'M' : 'I'), Byte(FBigEndian ? 'M' : 'I')};
  IEPutWord(Header + 2, FVersion, FBigEndian);
  IEPutDWord(Header + 4, static_cast<Cardinal>(Start + 8), FBigEndian);
  Stream->WriteBuffer(Header, 8);
  std::vector<TIETIFFTagList*> Pages;
  if (PageIndex >= 0 && PageIndex < GetPageCount())
    Pages.push_back(&FPages[PageIndex]);
  else
    for (auto& Page : FPages) Pages.push_back(&Page);
  Int64 DataPosition = Start + 8;
  for (std::size_t I = 0; I < Pages.size(); ++I) {
    SortList(*Pages[I]);
    WriteIFD(Stream, *Pages[I], DataPosition);
    if (I + 1 == Pages.size()) break;
    // Directories start on a word boundary.
    const Int64 NextField = Stream->GetPosition();
    Stream->Seek(DataPosition, soBeginning);
    DataPosition = IEAlignStreamToWord(Stream);
    Byte Next[4];
    IEPutDWord(Next, static_cast<Cardinal>(DataPosition), FBigEndian);
    Stream->Seek(NextField, soBeginning);
    Stream->WriteBuffer(Next, 4);
    Stream->Seek(DataPosition, soBeginning);
  }
  const Byte Zero[4] = {};
  Stream->WriteBuffer(Zero, 4);
  Stream->Seek(std::max(DataPosition, Stream->GetPosition()), soBeginning);
}

Int64 TIETIFFHandler::WritePage(TStream* Stream, Integer PageIndex) {
  const Int64 Directory = IEAlignStreamToWord(Stream);
  auto& Page = FPages.at(PageIndex);
  SortList(Page);
  Int64 DataPosition = Directory;
  WriteIFD(Stream, Page, DataPosition);
  const Byte Zero[4] = {};
  Stream->WriteBuffer(Zero, 4);
  Stream->Seek(std::max(DataPosition, Stream->GetPosition()), soBeginning);
  return Directory;
}

void TIETIFFHandler::PutEntry(Byte* Out, Word Tag, Word Type, Cardinal Count, const Byte* Value) const {
  IEPutWord(Out, Tag, FBigEndian);
  IEPutWord(Out + 2, Type, FBigEndian);
  IEPutDWord(Out + 4, Count, FBigEndian);
  std::memcpy(Out + 8, Value, 4);
}

void TIETIFFHandler::WriteIFD(TStream* Stream, TIETIFFTagList& List, Int64& DataPosition) {
  const Int64 Start = Stream->GetPosition();
  // An EXIF thumbnail page gets strips that point at its JPEG stream's first scan.
  const Integer Jpeg = FindTagInList(List, ieTagJPEGInterchangeFormat);
  const bool AddStrip = Jpeg >= 0 && FindTagInList(List, ieTagStripOffsets) < 0;
  const auto Count = static_cast<Integer>(List.size()) + (AddStrip ? 1 : 0);
  Byte CountBytes[2];
  IEPutWord(CountBytes, static_cast<Word>(Count), FBigEndian);
  Stream->WriteBuffer(CountBytes, 2);
  DataPosition = Start + 2 + EntrySize * Count + 4;
  Int64 ScanOffset = -1;
  for (std::size_t I = 0; I < List.size(); ++I) {
    Stream->Seek(DataPosition, soBeginning);
    const auto Written = WriteTagData(Stream, List[I], DataPosition);
    if (static_cast<Integer>(I) == Jpeg && !List[I].Pieces.empty()) {
      const auto& Data = List[I].Pieces[0];
      const auto Length = std::min<std::size_t>(
          static_cast<Cardinal>(GetIntegerByCode(List, ieTagJPEGInterchangeFormatLength, 0)), Data.size());
      std::size_t Scan = 0;
      while (Scan + 1 < Length && !(Data[Scan] == 0xFF && Data[Scan + 1] == 0xDA)) ++Scan;
      ScanOffset = XDWord(Written.data() + 8) + (Scan + 1 < Length ? Scan : 0);
    }
    Stream->Seek(Start + 2 + EntrySize * static_cast<Int64>(I), soBeginning);
    Stream->WriteBuffer(Written.data(), EntrySize);
  }
  if (AddStrip) {
    Byte Value[4], Entry[EntrySize];
    IEPutDWord(Value, static_cast<Cardinal>(std::max<Int64>(ScanOffset, 0)), FBigEndian);
    PutEntry(Entry, ieTagStripOffsets, ietLONG, 1, Value);
    Stream->WriteBuffer(Entry, EntrySize);
  }
}

std::array<Byte, 12> TIETIFFHandler::WriteTagData(TStream* Stream, const TIETIFFTagEntry& Entry,
                                                  Int64& DataPosition) {
  std::array<Byte, 12> Out{};
  Byte Value[4];
  std::memcpy(Value, Entry.Value.data(), 4);
  Cardinal Count = Entry.Count;
  if (Entry.HasPieces) {
    std::vector<Byte> Offsets(4 * Entry.Pieces.size());
    for (std::size_t I = 0; I < Entry.Pieces.size(); ++I) {
      IEPutDWord(Offsets.data() + 4 * I, static_cast<Cardinal>(Stream->GetPosition()), FBigEndian);
      const auto& Piece = Entry.Pieces[I];
      if (!Piece.empty()) Stream->WriteBuffer(Piece.data(), static_cast<Integer>(Piece.size()));
    }
    Count = static_cast<Cardinal>(Entry.Pieces.size());
    if (Offsets.size() <= 4) {
      std::copy(Offsets.begin(), Offsets.end(), Value);
    } else {
      IEPutDWord(Value, static_cast<Cardinal>(IEAlignStreamToWord(Stream)), FBigEndian);
      Stream->WriteBuffer(Offsets.data(), static_cast<Integer>(Offsets.size()));
    }
    DataPosition = Stream->GetPosition();
  } else if (Entry.SubIFD) {
    IEPutDWord(Value, static_cast<Cardinal>(IEAlignStreamToWord(Stream)), FBigEndian);
    WriteIFD(Stream, *Entry.SubIFD, DataPosition);
    const Byte Zero[4] = {};
    Stream->WriteBuffer(Zero, 4);
  } else if (ValueBytes(Entry) > 4) {
    IEPutDWord(Value, static_cast<Cardinal>(IEAlignStreamToWord(Stream)), FBigEndian);
    // A value cut short by the end of its file is written whole, its missing bytes zero.
    std::vector<Byte> Bytes(static_cast<std::size_t>(ValueBytes(Entry)), 0);
    std::copy_n(Entry.Data.begin(), std::min(Entry.Data.size(), Bytes.size()), Bytes.begin());
    Stream->WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    DataPosition = Stream->GetPosition();
  }
  PutEntry(Out.data(), Entry.Tag, Entry.Type, Count, Value);
  return Out;
}

Integer TIETIFFHandler::FindTagInList(const TIETIFFTagList& List, Integer Tag) const {
  for (std::size_t I = 0; I < List.size(); ++I)
    if (List[I].Tag == Tag) return static_cast<Integer>(I);
  return -1;
}

Integer TIETIFFHandler::FindTag(Integer PageIndex, Integer Tag) const {
  if (PageIndex < 0 || PageIndex >= GetPageCount()) return -1;
  return FindTagInList(FPages[PageIndex], Tag);
}

const Byte* TIETIFFHandler::GetValuePtr(const TIETIFFTagEntry& Entry, Integer Index) const {
  const Int64 Size = IETIFFTypeSize(Entry.Type);
  const Int64 End = (static_cast<Int64>(Index) + 1) * Size;
  if (Index < 0 || static_cast<Cardinal>(Index) >= Entry.Count) return nullptr;
  if (ValueBytes(Entry) <= 4) return Entry.Value.data() + End - Size;
  return End <= static_cast<Int64>(Entry.Data.size()) ? Entry.Data.data() + End - Size : nullptr;
}

Integer TIETIFFHandler::GetValue(const TIETIFFTagList& List, Integer EntryIndex, Integer Index) const {
  if (EntryIndex < 0 || EntryIndex >= static_cast<Integer>(List.size())) return 0;
  const auto& Entry = List[EntryIndex];
  const Byte* P = GetValuePtr(Entry, Index);
  if (!P) return 0;
  switch (Entry.Type) {
    case ietBYTE:
    case ietASCII:
    case ietUNDEFINED:
      return *P;
    case ietSBYTE:
      return static_cast<signed char>(*P);
    case ietSHORT:
    case ietSSHORT:
      return XWord(P);
    case ietLONG:
    case ietSLONG:
      return static_cast<Integer>(XDWord(P));
    default:
      return 0;
  }
}

Integer TIETIFFHandler::GetIntegerByCode(const TIETIFFTagList& List, Integer Tag, Integer Index) const {
  return GetValue(List, FindTagInList(List, Tag), Index);
}

void TIETIFFHandler::SetValue(TIETIFFTagList& List, Word Tag, const TIETIFFValue& Value, Word Type) {
  DeleteTagFromList(List, FindTagInList(List, Tag));
  const auto AsDouble = [&] {
    if (const auto* I = std::get_if<Int64>(&Value)) return static_cast<Double>(*I);
    if (const auto* D = std::get_if<Double>(&Value)) return *D;
    return std::strtod(std::get<std::string>(Value).c_str(), nullptr);
  };
  // Numbers beyond 64 bits are held at its ends.
  const auto Truncated = [](Double D) {
    return D == D ? static_cast<Int64>(std::clamp(std::trunc(D), -9.2e18, 9.2e18)) : Int64{0};
  };
  const auto AsInteger = [&] {
    if (const auto* I = std::get_if<Int64>(&Value)) return *I;
    return Truncated(AsDouble());
  };
  TIETIFFTagEntry Entry;
  Entry.Tag = Tag;
  Entry.Type = Type;
  Entry.Count = 1;
  std::vector<Byte> Bytes(static_cast<std::size_t>(IETIFFTypeSize(Type)), 0);
  switch (Type) {
    case ietSHORT:
    case ietSSHORT:
      IEPutWord(Bytes.data(), static_cast<Word>(AsInteger()), FBigEndian);
      break;
    case ietLONG:
    case ietSLONG:
      IEPutDWord(Bytes.data(), static_cast<Cardinal>(AsInteger()), FBigEndian);
      break;
    case ietRATIONAL:
    case ietSRATIONAL:
      IEPutDWord(Bytes.data(), static_cast<Cardinal>(Truncated(AsDouble() * 10000)), FBigEndian);
      IEPutDWord(Bytes.data() + 4, 10000, FBigEndian);
      break;
    case ietFLOAT: {
      const float F = static_cast<float>(AsDouble());
      Cardinal Bits;
      std::memcpy(&Bits, &F, 4);
      IEPutDWord(Bytes.data(), Bits, FBigEndian);
      break;
    }
    case ietDOUBLE: {
      const Double D = AsDouble();
      std::memcpy(Bytes.data(), &D, 8);
      if (FBigEndian) IESwapTIFFValues(Bytes.data(), 8, ietDOUBLE);
      break;
    }
    case ietASCII: {
      const std::string* Text = std::get_if<std::string>(&Value);
      const std::string Number = Text ? std::string() : std::to_string(AsInteger());
      const std::string& Chars = Text ? *Text : Number;
      Bytes.assign(Chars.begin(), Chars.end());
      Bytes.push_back(0);
      Entry.Count = static_cast<Cardinal>(Bytes.size());
      break;
    }
    default:
      Bytes[0] = static_cast<Byte>(AsInteger());
  }
  if (Bytes.size() <= 4)
    std::copy(Bytes.begin(), Bytes.end(), Entry.Value.begin());
  else
    Entry.Data = std::move(Bytes);
  List.push_back(std::move(Entry));
}

void TIETIFFHandler::DeleteTagFromList(TIETIFFTagList& List, Integer EntryIndex) {
  if (EntryIndex < 0 || EntryIndex >= static_cast<Integer>(List.size())) return;
  List.erase(List.begin() + EntryIndex);
}

void TIETIFFHandler::DeleteTag(Integer PageIndex, Integer EntryIndex) {
  if (PageIndex >= 0 && PageIndex < GetPageCount()) DeleteTagFromList(FPages[PageIndex], EntryIndex);
}

void TIETIFFHandler::DeletePage(Integer PageIndex) {
  if (PageIndex >= 0 && PageIndex < GetPageCount()) FPages.erase(FPages.begin() + PageIndex);
}

void TIETIFFHandler::FreeData() {
  FPages.clear();
}

void TIETIFFHandler::SortPage(Integer PageIndex) {
  if (PageIndex >= 0 && PageIndex < GetPageCount()) SortList(FPages[PageIndex]);
}

void TIETIFFHandler::SortList(TIETIFFTagList& List) {
  std::stable_sort(List.begin(), List.end(), [](const auto& A, const auto& B) { return A.Tag < B.Tag; });
}

TIETIFFTagList& TIETIFFHandler::InsertPage(Integer Index) {
  Index = std::clamp(Index, 0, GetPageCount());
  return *FPages.insert(FPages.begin() + Index, TIETIFFTagList());
}

void TIETIFFHandler::CopyTag(Integer SourcePage, Integer EntryIndex, Integer DestPage,
                             const TIETIFFHandler& Source) {
  if (SourcePage < 0 || SourcePage >= Source.GetPageCount() || DestPage < 0 || DestPage >= GetPageCount())
    return;
  CopyTagFromList(Source.FPages[SourcePage], EntryIndex, FPages[DestPage], Source);
}

void TIETIFFHandler::CopyTagFromList(const TIETIFFTagList& SourceList, Integer EntryIndex,
                                     TIETIFFTagList& DestList, const TIETIFFHandler& Source) {
  if (EntryIndex < 0 || EntryIndex >= static_cast<Integer>(SourceList.size()) ||
      Source.FBigEndian != FBigEndian)
    return;
  // Copied first: the source list may be the destination.
  TIETIFFTagEntry Copy = CloneEntry(SourceList[EntryIndex]);
  DeleteTagFromList(DestList, FindTagInList(DestList, Copy.Tag));
  DestList.push_back(std::move(Copy));
}

bool TIETIFFHandler::IsSubIFDTag(Integer Tag) {
  return Tag == ieTagExifIFD || Tag == ieTagGpsIFD || Tag == ieTagInteropIFD;
}

void TIETIFFHandler::GetOffsetLengthTags(Integer Tag, Integer& OffsetTag, Integer& LengthTag) const {
  static constexpr Integer Pairs[][2] = {{273, 279}, {324, 325}, {513, 514}, {48320, 48321}, {48322, 48323}};
  OffsetTag = LengthTag = -1;
  const Integer Known = FVersion == 444 ? 5 : 3;
  for (Integer I = 0; I < Known; ++I)
    if (Pairs[I][0] == Tag) {
      OffsetTag = Pairs[I][0];
      LengthTag = Pairs[I][1];
    }
}

Word TIETIFFHandler::XWord(const Byte* P) const {
  return IEGetWord(P, FBigEndian);
}

Cardinal TIETIFFHandler::XDWord(const Byte* P) const {
  return IEGetDWord(P, FBigEndian);
}
