#include "imaging/core/ielists.h"

#include <algorithm>
#include <cstring>

#include "platform/system/Lists.h"
#include "platform/system/Streams.h"

namespace {
std::unique_ptr<Byte[]> NewBytes(Int64 Count) {
  return Count > 0 ? std::make_unique_for_overwrite<Byte[]>(static_cast<std::size_t>(Count)) : nullptr;
}
}  // namespace

void TIEList::Reallocate(Integer Capacity, Integer Kept) {
  std::unique_ptr<Byte[]> Buffer = NewBytes(Int64(Capacity) * FItemSize);
  if (Kept > 0) std::memcpy(Buffer.get(), FBuffer.get(), static_cast<std::size_t>(Int64(Kept) * FItemSize));
  FBuffer = std::move(Buffer);
  FCapacity = Capacity;
}

void TIEList::SetCount(Integer Count) {
  if (Count < 0) return;
  if (Count > FCapacity) Reallocate(std::max(2 * FCapacity, Count), std::min(FCount, Count));
  FCount = Count;
  FChanged |= 1;
}

void TIEList::Delete(Integer Index) {
  if (Index < 0 || Index >= FCount) return;
  std::unique_ptr<Byte[]> Buffer = NewBytes(Int64(FCount - 1) * FItemSize);
  const std::size_t Before = static_cast<std::size_t>(Int64(Index) * FItemSize);
  const std::size_t After = static_cast<std::size_t>(Int64(FCount - 1 - Index) * FItemSize);
  if (Before > 0) std::memcpy(Buffer.get(), FBuffer.get(), Before);
  if (After > 0) std::memcpy(Buffer.get() + Before, FBuffer.get() + Before + FItemSize, After);
  FBuffer = std::move(Buffer);
  FCount = FCapacity = FCount - 1;
  FChanged |= 1;
}

void TIEList::Clear() {
  FBuffer.reset();
  FCount = FCapacity = 0;
  FChanged = 0;
}

void TIEList::Assign(const TIEList* Source) {
  if (Source == nullptr || Source == this) return;
  FItemSize = Source->FItemSize;
  FBuffer.reset();
  FCount = 0;
  Reallocate(Source->FCount, 0);
  if (Source->FCount > 0)
    std::memcpy(FBuffer.get(), Source->FBuffer.get(),
                static_cast<std::size_t>(Int64(Source->FCount) * FItemSize));
  FCount = Source->FCount;
  FChanged = Source->FChanged;
}

Integer TIEList::AddItem(const void* Item) {
  SetCount(FCount + 1);
  std::memcpy(GetItemPtr(FCount - 1), Item, static_cast<std::size_t>(FItemSize));
  return FCount - 1;
}

void* TIEList::GetItemPtr(Integer Index) {
  return const_cast<void*>(static_cast<const TIEList*>(this)->GetItemPtr(Index));
}

const void* TIEList::GetItemPtr(Integer Index) const {
  if (Index < 0 || Index >= FCount) return nullptr;
  return FBuffer.get() + Int64(Index) * FItemSize;
}

void TIEDoubleList::Clear() {
  TIEList::Clear();
  FExtra = {};
  SetItemSize(sizeof(Double));
}

void TIEDoubleList::Assign(const TIEList* Source) {
  TIEList::Assign(Source);
  if (const auto* List = dynamic_cast<const TIEDoubleList*>(Source)) FExtra = List->FExtra;
}

void TIEIntegerList::Clear() {
  TIEList::Clear();
  FExtra = {};
  SetItemSize(sizeof(Integer));
}

void TIEIntegerList::Assign(const TIEList* Source) {
  TIEList::Assign(Source);
  if (const auto* List = dynamic_cast<const TIEIntegerList*>(Source)) FExtra = List->FExtra;
}

TIEByteArray::TIEByteArray(Integer BlockSize)
    : FCapacity(std::max(0, BlockSize)), FBlockSize(std::max(0, BlockSize)), FData(NewBytes(FCapacity)) {}

void TIEByteArray::SetSize(Integer Size) {
  Size = std::max(0, Size);
  const bool Fits = Size > FSize ? Size <= FCapacity : Size >= FCapacity - FBlockSize;
  if (!Fits) {
    const Integer Capacity = Size + FBlockSize;
    std::unique_ptr<Byte[]> Data = NewBytes(Capacity);
    const Integer Kept = std::min(FSize, Size);
    if (Kept > 0) std::memcpy(Data.get(), FData.get(), static_cast<std::size_t>(Kept));
    FData = std::move(Data);
    FCapacity = Capacity;
  }
  FSize = Size;
}

void TIEByteArray::AddByte(Byte Value) {
  SetSize(FSize + 1);
  FData[FSize - 1] = Value;
}

Integer TIEByteArray::AppendFromStream(TStream* Stream, Integer Count) {
  if (Count <= 0) return 0;
  const Integer Start = FSize;
  SetSize(Start + Count);
  const Integer Read = std::max(0, Stream->Read(FData.get() + Start, Count));
  SetSize(Start + Read);
  return Read;
}

void TIEDICOMTags::Clear() {
  FTags.clear();
}

Integer TIEDICOMTags::AddTag(Word Group, Word Element, const std::string& VR, std::unique_ptr<Byte[]> Data,
                             Integer Length) {
  TIEDICOMTag& Tag = FTags.emplace_back();
  Tag.Group = Group;
  Tag.Element = Element;
  if (VR.size() == 2) std::memcpy(Tag.VR, VR.data(), 2);
  if (Length >= 0) {
    Tag.Data = std::move(Data);
    Tag.DataLen = Length;
  }
  return GetCount() - 1;
}

void TIEDICOMTags::Assign(const TIEDICOMTags* Source) {
  if (Source == nullptr || Source == this) return;
  Clear();
  for (const TIEDICOMTag& From : Source->FTags) {
    TIEDICOMTag& Tag = FTags.emplace_back();
    Tag.Group = From.Group;
    Tag.Element = From.Element;
    std::memcpy(Tag.VR, From.VR, 2);
    if (From.DataLen > 0 && From.Data) {
      // The byte after the data terminates text values; the source block need not have it.
      Tag.Data = std::make_unique<Byte[]>(static_cast<std::size_t>(From.DataLen) + 1);
      std::memcpy(Tag.Data.get(), From.Data.get(), static_cast<std::size_t>(From.DataLen));
      Tag.DataLen = From.DataLen;
    }
  }
}

THash1::THash1(Integer Bits) {
  Bits = std::clamp(Bits, 0, 24);
  FBuckets.resize(std::size_t(1) << Bits);
  FMask = (Cardinal(1) << Bits) - 1;
}

THash1::~THash1() {
  // One item at a time: a long chain freed recursively would run out of stack.
  for (TBucket& Bucket : FBuckets)
    while (Bucket.First) Bucket.First = std::move(Bucket.First->Next);
}

bool THash1::InsertEx(Cardinal Value, Integer& Bucket, THash1Item*& NewItem) {
  Bucket = HashIndex(Value);
  NewItem = nullptr;
  TBucket& B = FBuckets[Bucket];
  switch (B.State) {
    case bsEmpty:
      B.Value = Value;
      B.State = bsValue;
      break;
    case bsValue:
      if (B.Value == Value) return false;
      B.First = std::make_unique<THash1Item>(B.Value);
      B.First->Next = std::make_unique<THash1Item>(Value);
      NewItem = B.First->Next.get();
      B.State = bsChain;
      break;
    case bsChain: {
      THash1Item* Item = B.First.get();
      for (;; Item = Item->Next.get()) {
        if (Item->Value == Value) return false;
        if (!Item->Next) break;
      }
      Item->Next = std::make_unique<THash1Item>(Value);
      NewItem = Item->Next.get();
      break;
    }
  }
  ++FCount;
  return true;
}

bool THash1::Insert(Cardinal Value) {
  Integer Bucket = 0;
  THash1Item* NewItem = nullptr;
  return InsertEx(Value, Bucket, NewItem);
}

void IEQuickSortRange(Integer L, Integer R, TIESwapFunction Exchange, void* ExchangeObject,
                      TIECompareFunction Compare, void* CompareObject) {
  if (L >= R) return;
  Integer I = 0;
  do {
    I = L;
    Integer J = R;
    // The pivot is an index, so it moves with its item when that is exchanged.
    Integer P = L + (R - L) / 2;
    do {
      while (Compare(CompareObject, I, P) < 0) ++I;
      while (Compare(CompareObject, J, P) > 0) --J;
      if (I <= J) {
        if (P == I)
          P = J;
        else if (P == J)
          P = I;
        Exchange(ExchangeObject, I, J);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) IEQuickSortRange(L, J, Exchange, ExchangeObject, Compare, CompareObject);
    L = I;
  } while (I < R);
}

void IEQuickSort(Integer Count, TIESwapFunction Exchange, void* ExchangeObject, TIECompareFunction Compare,
                 void* CompareObject) {
  if (Count > 0) IEQuickSortRange(0, Count - 1, Exchange, ExchangeObject, Compare, CompareObject);
}

void IECopyList(const TList* Source, TList* Dest) {
  const Integer Count = Source->GetCount();
  Dest->SetCount(Count);
  for (Integer I = 0; I < Count; ++I) Dest->Put(I, Source->Get(I));
}
