#include "imaging/core/ieiptc.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>

#include "imaging/core/ietiffbytes.h"
#include "platform/system/Streams.h"

namespace {

constexpr Byte IIMTag = 0x1C;
// Datasets from this length on use the extended length form.
constexpr Integer ExtendedLengthFrom = 32768;
constexpr Integer StandardHeaderSize = 5;
constexpr Integer ExtendedHeaderSize = 9;
constexpr Byte RecordVersionDataset[] = {IIMTag, 2, 0, 0, 2, 0, 2};
constexpr std::string_view PhotoshopSignature("Photoshop 3.0\0", 14);
constexpr std::string_view ResourceSignature = "8BIM";
constexpr Word IPTCResourceId = 0x0404;
constexpr Integer PhotoshopHeaderSize = 26;
constexpr Integer PhotoshopSizeOffset = 22;

// IIM and Photoshop resources are big-endian.
constexpr bool BigEndian = true;

void WritePhotoshopHeader(TMemoryStream& Stream) {
  Byte Header[PhotoshopHeaderSize] = {};
  std::memcpy(Header, PhotoshopSignature.data(), PhotoshopSignature.size());
  std::memcpy(Header + 14, ResourceSignature.data(), 4);
  IEPutWord(Header + 18, IPTCResourceId, BigEndian);
  Stream.WriteBuffer(Header, PhotoshopHeaderSize);
}

// Writes one dataset; returns its size with header.
Integer WriteDataset(TMemoryStream& Stream, Integer Record, Integer DataSet, Integer Length,
                     const Byte* Data) {
  Byte Header[ExtendedHeaderSize] = {IIMTag, static_cast<Byte>(Record), static_cast<Byte>(DataSet)};
  Integer HeaderSize = StandardHeaderSize;
  if (Length < ExtendedLengthFrom) {
    IEPutWord(Header + 3, static_cast<Word>(Length), BigEndian);
  } else {
    Header[3] = 0x80;  // extended form, four length bytes
    Header[4] = 0x04;
    IEPutDWord(Header + 5, static_cast<Cardinal>(Length), BigEndian);
    HeaderSize = ExtendedHeaderSize;
  }
  Stream.WriteBuffer(Header, HeaderSize);
  Stream.WriteBuffer(Data, Length);
  return HeaderSize + Length;
}

// The data of the first IPTC resource of a Photoshop resource block, walked resource by
// resource (signature, id, even-padded name, size, even-padded data) so that neither a size
// holding 0x1C nor an "8BIM" inside another resource's data misleads. Empty when none.
std::span<const Byte> FindIPTCResource(std::span<const Byte> Block) {
  size_t Pos = PhotoshopSignature.size();
  while (Pos + 8 <= Block.size() && std::memcmp(Block.data() + Pos, ResourceSignature.data(), 4) == 0) {
    const Word Id = IEGetWord(Block.data() + Pos + 4, BigEndian);
    size_t Next = Pos + 6;
    const size_t NameField = (1 + size_t(Block[Next]) + 1) & ~size_t(1);
    Next += NameField;
    if (Next + 4 > Block.size()) break;
    const size_t Size = IEGetDWord(Block.data() + Next, BigEndian);
    Next += 4;
    const size_t Available = Block.size() - Next;
    if (Id == IPTCResourceId) return Block.subspan(Next, Size < Available ? Size : Available);
    if (Size >= Available) break;
    Pos = Next + ((Size + 1) & ~size_t(1));
  }
  return {};
}

}  // namespace

TIEIPTCInfoList::~TIEIPTCInfoList() {
  Clear();
}

Integer TIEIPTCInfoList::AddItem(Integer Record, Integer DataSet, Integer Length, const void* Data) {
  TItem Item;
  Item.RecordNumber = Record;
  Item.DataSet = DataSet;
  if (Length > 0 && Data != nullptr) {
    Item.Length = Length;
    Item.Data = std::make_unique<Byte[]>(Length);
    std::memcpy(Item.Data.get(), Data, Length);
  }
  FItems.push_back(std::move(Item));
  FUserChanged = true;
  return Count() - 1;
}

void TIEIPTCInfoList::Clear() {
  FItems.clear();
  FUserChanged = true;
}

void TIEIPTCInfoList::Assign(const TIEIPTCInfoList* Source) {
  Clear();
  if (Source == nullptr || Source == this) return;
  for (const TItem& Item : Source->FItems)
    AddItem(Item.RecordNumber, Item.DataSet, Item.Length, Item.Data.get());
}

void TIEIPTCInfoList::SaveToBuffer(std::unique_ptr<Byte[]>& Buffer, Integer& Length, bool Photoshop) const {
  Buffer.reset();
  Length = 0;
  if (FItems.empty()) return;
  TMemoryStream Stream;
  if (Photoshop)
    WritePhotoshopHeader(Stream);
  else
    Stream.WriteBuffer(RecordVersionDataset, sizeof(RecordVersionDataset));
  Integer DatasetBytes = 0;
  for (const TItem& Item : FItems) {
    const bool IsRecordVersion = Item.RecordNumber == 2 && Item.DataSet == 0;
    if (IsRecordVersion || Item.Length == 0) continue;
    DatasetBytes += WriteDataset(Stream, Item.RecordNumber, Item.DataSet, Item.Length, Item.Data.get());
  }
  if (Stream.GetSize() % 2 != 0) {
    const Byte Pad = 0;
    Stream.WriteBuffer(&Pad, 1);
  }
  Length = static_cast<Integer>(Stream.GetSize());
  Buffer = std::make_unique<Byte[]>(Length);
  std::memcpy(Buffer.get(), Stream.GetMemory(), Length);
  if (Photoshop)
    IEPutDWord(Buffer.get() + PhotoshopSizeOffset, static_cast<Cardinal>(DatasetBytes), BigEndian);
}

bool TIEIPTCInfoList::LoadFromBuffer(const void* Buffer, Integer Length) {
  Clear();
  FUserChanged = false;
  if (Buffer == nullptr || Length <= 0) return false;
  std::span<const Byte> Data(static_cast<const Byte*>(Buffer), static_cast<size_t>(Length));
  if (Data.size() >= 13 && std::memcmp(Data.data(), PhotoshopSignature.data(), 13) == 0)
    Data = FindIPTCResource(Data);
  // Bytes before the first dataset are skipped, up to the last of a row of tag bytes. Data that
  // starts with a dataset is read from there: its record number may be the tag byte's value.
  size_t Pos = std::find(Data.begin(), Data.end(), IIMTag) - Data.begin();
  if (Pos == Data.size()) return false;
  if (Pos > 0)
    while (Pos + 1 < Data.size() && Data[Pos + 1] == IIMTag) ++Pos;
  while (Pos + StandardHeaderSize <= Data.size() && Data[Pos] == IIMTag) {
    const Integer Record = Data[Pos + 1];
    const Integer DataSet = Data[Pos + 2];
    size_t HeaderSize = StandardHeaderSize;
    size_t DataLength = IEGetWord(Data.data() + Pos + 3, BigEndian);
    if (Data[Pos + 3] & 0x80) {
      HeaderSize = ExtendedHeaderSize;
      if (Pos + HeaderSize > Data.size()) break;
      DataLength = IEGetDWord(Data.data() + Pos + 5, BigEndian);
    }
    if (DataLength > Data.size() - Pos - HeaderSize) break;
    AddItem(Record, DataSet, static_cast<Integer>(DataLength), Data.data() + Pos + HeaderSize);
    Pos += HeaderSize + DataLength;
  }
  FUserChanged = false;
  return !FItems.empty();
}
