#include "raster/RS32_Containers.h"

#include <cstring>

#include "platform/system/Format.h"
#include "platform/system/ListTypes.h"
#include "platform/system/Math.h"
#include "platform/system/Strings.h"

TPointerMap::~TPointerMap() {
  Clear();
}

void** TPointerMap::Add(void* Item, bool& NewItem) {
  return Add(Item, nullptr, NewItem);
}

void** TPointerMap::Add(void* Item, void* Data, bool& NewItem) {
  Integer BucketIndex, ItemIndex;
  if (Find(Item, BucketIndex, ItemIndex)) {
    NewItem = false;
    return &FBuckets[BucketIndex].Items[ItemIndex].Data;
  }
  TPointerBucket& Bucket = FBuckets[BucketIndex];
  const Integer Length = static_cast<Integer>(Bucket.Items.size());
  if (Bucket.Count == Length) {
    Integer Delta = 4;
    if (Length > 64)
      Delta = Length / 4;
    else if (Length > 8)
      Delta = 16;
    Bucket.Items.resize(Length + Delta);
  }
  TPointerBucketItem& Entry = Bucket.Items[Bucket.Count];
  Entry.Item = Item;
  Entry.Data = Data;
  ++Bucket.Count;
  ++FCount;
  NewItem = true;
  return &Entry.Data;
}

bool TPointerMap::Find(void* Item, Integer& BucketIndex, Integer& ItemIndex) const {
  BucketIndex = BucketOf(Item);
  const TPointerBucket& Bucket = FBuckets[BucketIndex];
  for (Integer I = 0; I < Bucket.Count; ++I)
    if (Bucket.Items[I].Item == Item) {
      ItemIndex = I;
      return true;
    }
  ItemIndex = -1;
  return false;
}

void* TPointerMap::Delete(Integer BucketIndex, Integer ItemIndex) {
  if (BucketIndex < 0 || BucketIndex > 255) TList::Error(SListIndexError, BucketIndex);
  TPointerBucket& Bucket = FBuckets[BucketIndex];
  if (ItemIndex < 0 || ItemIndex >= Bucket.Count) TList::Error(SListIndexError, ItemIndex);
  void* Data = Bucket.Items[ItemIndex].Data;
  if (FCount == 0) return Data;
  if (Bucket.Count == 1) {
    TPointerBucketItemArray().swap(Bucket.Items);
  } else {
    for (Integer I = ItemIndex; I < Bucket.Count - 1; ++I) Bucket.Items[I] = Bucket.Items[I + 1];
  }
  --Bucket.Count;
  --FCount;
  return Data;
}

void* TPointerMap::Remove(void* Item) {
  Integer BucketIndex, ItemIndex;
  if (!Find(Item, BucketIndex, ItemIndex)) return nullptr;
  return Delete(BucketIndex, ItemIndex);
}

void* TPointerMap::GetData(void* Item) const {
  Integer BucketIndex, ItemIndex;
  if (!Find(Item, BucketIndex, ItemIndex))
    throw EListError(
        Format("Item not found ($0%x)", {static_cast<Int64>(reinterpret_cast<NativeUInt>(Item))}));
  return FBuckets[BucketIndex].Items[ItemIndex].Data;
}

void TPointerMap::Clear() {
  FCount = 0;
  for (Integer B = 0; B < 256; ++B) {
    TPointerBucket& Bucket = FBuckets[B];
    for (Integer I = Bucket.Count - 1; I >= 0; --I) Delete(B, I);
    Bucket.Count = 0;
    TPointerBucketItemArray().swap(Bucket.Items);
  }
}

bool TPointerMapIterator::Next() {
  if (FItemIndex > 0) {
    --FItemIndex;
  } else {
    do {
      ++FBucketIndex;
    } while (FBucketIndex < 256 && FMap->FBuckets[FBucketIndex].Count == 0);
    if (FBucketIndex >= 256) {
      FBucketIndex = 256;
      FItemIndex = -1;
      return false;
    }
    FItemIndex = FMap->FBuckets[FBucketIndex].Count - 1;
  }
  const TPointerBucketItem& Entry = FMap->FBuckets[FBucketIndex].Items[FItemIndex];
  FItem = Entry.Item;
  FData = Entry.Data;
  return true;
}

TRectList::~TRectList() {
  SetCount(0);
  SetCapacity(0);
}

Integer TRectList::Add(const TRect& Rect) {
  if (FCount == FCapacity) Grow();
  FList[FCount] = Rect;
  return FCount++;
}

void TRectList::Grow() {
  Integer Delta = 8;
  if (FCapacity > 128)
    Delta = FCapacity / 4;
  else if (FCapacity > 8)
    Delta = 32;
  SetCapacity(FCapacity + Delta);
}

void TRectList::Clear() {
  SetCount(0);
  SetCapacity(10);
}

void TRectList::Delete(Integer Index) {
  if (Index < 0 || Index >= FCount) TList::Error(SListIndexError, Index);
  --FCount;
  for (Integer I = Index; I < FCount; ++I) FList[I] = FList[I + 1];
}

TRect* TRectList::Items(Integer Index) {
  if (Index < 0 || Index >= FCount) return nullptr;
  return &FList[Index];
}

void TRectList::SetCapacity(Integer Value) {
  if (Value < 0) TList::Error(SListCapacityError, Value);
  if (Value == FCapacity) return;
  FList.resize(Value);
  FCapacity = Value;
  if (FCount > FCapacity) FCount = FCapacity;
}

void TRectList::SetCount(Integer Value) {
  if (Value < 0) TList::Error(SListCountError, Value);
  if (Value > FCapacity) SetCapacity(Value);
  for (Integer I = FCount; I < Value; ++I) FList[I] = TRect();
  FCount = Value;
}

const TClassRef* TClassList::Find(const std::string& AClassName) const {
  for (Integer I = 0; I < GetCount(); ++I) {
    const TClassRef* Ref = GetItem(I);
    if (Ref != nullptr && AClassName == Ref->ClassName) return Ref;
  }
  return nullptr;
}

TIntegerMap::~TIntegerMap() {
  TArrayOfInteger().swap(FBits);
}

void TIntegerMap::ResizeStorage(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) {
  FBits.resize(static_cast<std::size_t>(NewWidth) * static_cast<std::size_t>(NewHeight));
  Width = NewWidth;
  Height = NewHeight;
}

Int64 PropValueToInt(const TPropValue& Value) {
  if (const Int64* I = std::get_if<Int64>(&Value)) return *I;
  if (const Extended* F = std::get_if<Extended>(&Value)) return Round(*F);
  return StrToInt64(std::get<std::string>(Value));
}

Extended PropValueToFloat(const TPropValue& Value) {
  if (const Int64* I = std::get_if<Int64>(&Value)) return static_cast<Extended>(*I);
  if (const Extended* F = std::get_if<Extended>(&Value)) return *F;
  return StrToFloat(std::get<std::string>(Value));
}

std::string PropValueToString(const TPropValue& Value) {
  if (const Int64* I = std::get_if<Int64>(&Value)) return IntToStr(*I);
  if (const Extended* F = std::get_if<Extended>(&Value)) return FloatToStr(*F);
  return std::get<std::string>(Value);
}

namespace {
std::vector<const TPropInfo*> PropertiesOf(const TPersistent* Obj) {
  std::vector<const TPropInfo*> List;
  if (const auto* Published = dynamic_cast<const IPublishedProperties*>(Obj))
    Published->GetPublishedProperties(List);
  return List;
}

const TPropInfo* FindProperty(const std::vector<const TPropInfo*>& List, const char* Name) {
  for (const TPropInfo* Info : List)
    if (std::strcmp(Info->Name, Name) == 0) return Info;
  return nullptr;
}
}  // namespace

void CopyPublishedProperties(TPersistent* Source, TPersistent* Dest) {
  const std::vector<const TPropInfo*> SourceProps = PropertiesOf(Source);
  if (SourceProps.empty()) return;
  const std::vector<const TPropInfo*> DestProps = PropertiesOf(Dest);
  for (const TPropInfo* Info : SourceProps) {
    const TPropInfo* Target = FindProperty(DestProps, Info->Name);
    if (Target == nullptr) throw EPropertyError(Format("Unknown property: \"%s\"", {Info->Name}));
    if (Info->Kind == pkObject) {
      if (Target->Kind != pkObject) throw EPropertyError(Format("Invalid property type: %s", {Info->Name}));
      TPersistent* DestObject = Target->GetObject(Dest);
      if (DestObject == nullptr) continue;
      TPersistent* SourceObject = Info->GetObject(Source);
      if (SourceObject != nullptr) DestObject->Assign(SourceObject);
    } else {
      if (Target->Kind == pkObject) throw EPropertyError(Format("Invalid property type: %s", {Info->Name}));
      Target->Set(Dest, Info->Get(Source));
    }
  }
}
