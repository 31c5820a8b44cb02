#include "imaging/core/iemakernote.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/ietiffbytes.h"

namespace {

using namespace std::string_literals;

// Tried in this order after the default record; a signature matches over the shorter of its
// length and the block's.
const TIEEXIFMakerNoteDeviceInfo MakerNoteDevices[] = {
    {"SONY CAM \0\0\0"s, 0, 0, {}, 0},     {"SONY DSC \0\0\0"s, 0, 0, {}, 0},
    {"Nikon\0\x02\x10\0\0"s, 1, 1, {}, 1}, {"QVC\0\0\0"s, 0, 0, {}, 3},
    {"EPSON\0\x01\0"s, 0, 0, {}, 0},       {"Nikon\0\x01\0"s, 0, 0, {}, 0},
    {"Panasonic\0\0\0"s, 0, 0, {}, 0},     {"FUJIFILM"s, 1, 2, {}, 2},
};

constexpr Integer EntrySize = 12;

bool EmbeddedHeaderIsBigEndian(const std::array<Byte, 8>& Header) {
  return !(Header[0] == 'I' && Header[1] == 'I');
}

// Where offset mode 1 counts from, relative to the block: the embedded header follows the
// signature; without one, the block's own start.
Int64 OwnOffsetBase(const TIEEXIFMakerNoteDeviceInfo& Device) {
  return Device.HeaderKind == 1 ? static_cast<Int64>(Device.Signature.size()) : 0;
}

void PutEntry(Byte* At, const TIEMakerNoteEntry& Entry, bool BigEndian) {
  IEPutWord(At, Entry.Tag, BigEndian);
  IEPutWord(At + 2, Entry.Type, BigEndian);
  IEPutDWord(At + 4, Entry.Count, BigEndian);
}

}  // namespace

void TIETagsHandler::Clear() {
  FRawData.clear();
  FTagTable.clear();
  FDevice = TIEEXIFMakerNoteDeviceInfo();
  FIFD.Clear();
}

void TIETagsHandler::Assign(const TIETagsHandler* Source) {
  if (Source == this) return;
  Clear();
  auto& SourceIFD = const_cast<TMemoryStream&>(Source->FIFD);
  if (SourceIFD.GetSize() > 0)
    FIFD.WriteBuffer(SourceIFD.GetMemory(), static_cast<Integer>(SourceIFD.GetSize()));
  UpdateTagTable();
  FRawData = Source->FRawData;
  FDevice = Source->FDevice;
}

void TIETagsHandler::SetRawData(std::vector<Byte> Block) {
  FRawData = std::move(Block);
}

void TIETagsHandler::DetectMakerNote() {
  FDevice = TIEEXIFMakerNoteDeviceInfo();
  if (FRawData.empty()) return;
  for (const auto& Device : MakerNoteDevices) {
    const std::size_t Length = std::min(Device.Signature.size(), FRawData.size());
    if (std::memcmp(Device.Signature.data(), FRawData.data(), Length) == 0) {
      FDevice = Device;
      return;
    }
  }
}

void TIETagsHandler::ReadFromStream(TStream* Stream, Integer Size, bool LittleEndian) {
  Clear();
  const Int64 BlockPosition = Stream->GetPosition();
  const Int64 Available = std::max<Int64>(0, Stream->GetSize() - BlockPosition);
  if (Size < 2 || Available < 2) return;
  // Memory grows with what the stream holds, not with what the EXIF entry claims.
  FRawData.resize(static_cast<std::size_t>(std::min<Int64>(Size, Available)));
  FRawData.resize(
      static_cast<std::size_t>(Stream->Read(FRawData.data(), static_cast<Integer>(FRawData.size()))));
  if (FRawData.size() < 2) {
    Clear();
    return;
  }
  DetectMakerNote();
  if (!ReadDirectory(BlockPosition, LittleEndian)) Clear();
}

bool TIETagsHandler::ReadDirectory(Int64 BlockPosition, bool LittleEndian) {
  const Byte* Block = FRawData.data();
  const Int64 Size = static_cast<Int64>(FRawData.size());
  const Int64 SignatureLength = static_cast<Int64>(FDevice.Signature.size());
  Int64 Start = SignatureLength;
  if (FDevice.HeaderKind == 1) {
    if (SignatureLength + 8 > Size) return false;
    std::memcpy(FDevice.Header.data(), Block + SignatureLength, 8);
    Start += 8;
  } else if (FDevice.HeaderKind == 2) {
    if (SignatureLength + 4 > Size) return false;
    Start = IEGetDWord(Block + SignatureLength, false);
  }
  bool BigEndian = !LittleEndian;
  if (FDevice.ByteOrderMode == 1) BigEndian = EmbeddedHeaderIsBigEndian(FDevice.Header);
  if (FDevice.ByteOrderMode == 2) BigEndian = false;
  if (FDevice.ByteOrderMode == 3) BigEndian = true;

  if (Start + 2 > Size) return false;
  const Integer Count = IEGetWord(Block + Start, BigEndian);
  if (Count > ieMakerNoteMaxEntries || Start + 2 + EntrySize * Count > Size) return false;

  const Int64 Base = OwnOffsetBase(FDevice);
  std::vector<Byte> Out(2 + EntrySize * Count);
  IEPutWord(Out.data(), static_cast<Word>(Count), false);
  for (Integer I = 0; I < Count; ++I) {
    const Byte* In = Block + Start + 2 + EntrySize * I;
    TIEMakerNoteEntry Entry{IEGetWord(In, BigEndian), IEGetWord(In + 2, BigEndian),
                            IEGetDWord(In + 4, BigEndian), 0};
    Byte Value[4];
    std::memcpy(Value, In + 8, 4);
    const Int64 Bytes = IETIFFValueBytes(Entry.Type, Entry.Count);
    if (Bytes <= 4) {
      if (BigEndian) IESwapTIFFValues(Value, 4, Entry.Type);
    } else {
      const Int64 Stored = IEGetDWord(Value, BigEndian);
      const Int64 At = FDevice.OffsetMode == 0 ? Stored - BlockPosition : Stored + Base;
      if (At >= 0 && At + Bytes <= Size) {
        IEPutDWord(Value, static_cast<Cardinal>(Out.size()), false);
        Out.insert(Out.end(), Block + At, Block + At + Bytes);
        if (BigEndian)
          IESwapTIFFValues(Out.data() + Out.size() - Bytes, static_cast<std::size_t>(Bytes), Entry.Type);
      } else {
        Entry.Count = 0;
        std::memset(Value, 0, 4);
      }
    }
    Byte* Dest = Out.data() + 2 + EntrySize * I;
    PutEntry(Dest, Entry, false);
    std::memcpy(Dest + 8, Value, 4);
  }
  FIFD.Clear();
  FIFD.WriteBuffer(Out.data(), static_cast<Integer>(Out.size()));
  UpdateTagTable();
  return true;
}

Integer TIETagsHandler::WriteToStream(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  std::vector<Byte> Out(FDevice.Signature.begin(), FDevice.Signature.end());
  // In the order the block will be read in again: the maker's fixed order or its header's;
  // the enclosing order is the writer's, little-endian.
  const bool BigEndian =
      FDevice.ByteOrderMode == 3 || (FDevice.ByteOrderMode == 1 && EmbeddedHeaderIsBigEndian(FDevice.Header));
  if (FDevice.HeaderKind == 1) {
    auto Header = FDevice.Header;
    IEPutDWord(Header.data() + 4, 8, BigEndian);
    Out.insert(Out.end(), Header.begin(), Header.end());
  } else if (FDevice.HeaderKind == 2) {
    // The directory follows its own offset field, so the block reads back as it was read.
    Out.resize(Out.size() + 4);
    IEPutDWord(Out.data() + Out.size() - 4, static_cast<Cardinal>(Out.size()), false);
  }
  const Int64 Base = OwnOffsetBase(FDevice);
  const auto Count = static_cast<Integer>(FTagTable.size());
  const std::size_t EntriesAt = Out.size() + 2;
  Out.resize(EntriesAt + EntrySize * Count + 4, 0);
  IEPutWord(Out.data() + EntriesAt - 2, static_cast<Word>(Count), BigEndian);

  const auto* Values = static_cast<const Byte*>(FIFD.GetMemory());
  const Int64 ValuesSize = FIFD.GetSize();
  for (Integer I = 0; I < Count; ++I) {
    TIEMakerNoteEntry Entry = FTagTable[I];
    Byte Value[4];
    const Int64 Bytes = IETIFFValueBytes(Entry.Type, Entry.Count);
    if (Bytes <= 4) {
      IEPutDWord(Value, Entry.Offset, false);
      if (BigEndian) IESwapTIFFValues(Value, 4, Entry.Type);
    } else if (Entry.Offset + Bytes <= ValuesSize) {
      const std::size_t At = Out.size();
      const Int64 Stored =
          FDevice.OffsetMode == 0 ? Start + static_cast<Int64>(At) : static_cast<Int64>(At) - Base;
      IEPutDWord(Value, static_cast<Cardinal>(Stored), BigEndian);
      Out.insert(Out.end(), Values + Entry.Offset, Values + Entry.Offset + Bytes);
      if (BigEndian) IESwapTIFFValues(Out.data() + At, static_cast<std::size_t>(Bytes), Entry.Type);
      if (Out.size() % 2 != 0) Out.push_back(0);
    } else {
      Entry.Count = 0;
      std::memset(Value, 0, 4);
    }
    Byte* Dest = Out.data() + EntriesAt + EntrySize * I;
    PutEntry(Dest, Entry, BigEndian);
    std::memcpy(Dest + 8, Value, 4);
  }
  if (Out.size() > static_cast<std::size_t>(ieMakerNoteMaxWritten)) {
    Stream->Seek(Start, soBeginning);
    return 0;
  }
  Stream->WriteBuffer(Out.data(), static_cast<Integer>(Out.size()));
  return static_cast<Integer>(Out.size());
}

void TIETagsHandler::UpdateTagTable() {
  FTagTable.clear();
  const Int64 Size = FIFD.GetSize();
  if (Size < 2) return;
  const auto* Data = static_cast<const Byte*>(FIFD.GetMemory());
  const Int64 Count = std::min<Int64>(IEGetWord(Data, false), (Size - 2) / EntrySize);
  for (Int64 I = 0; I < Count; ++I) {
    const Byte* In = Data + 2 + EntrySize * I;
    FTagTable.push_back({IEGetWord(In, false), IEGetWord(In + 2, false), IEGetDWord(In + 4, false),
                         IEGetDWord(In + 8, false)});
  }
}
