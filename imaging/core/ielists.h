#pragma once
// Small containers of the imaging library: lists of fixed-size items, a growable byte array,
// a picture's DICOM tags, a hash set of 24-bit colours, a quick sort through callbacks and a
// pointer-list copy.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TList;
class TStream;

// Items of one size in one owned buffer of capacity x item size bytes.
class TIEList : public TObject {
 public:
  TIEList() = default;
  // Growing past the capacity makes it max(2 x capacity, Count); a negative count is ignored.
  virtual void SetCount(Integer Count);
  // Nothing outside 0..count - 1; otherwise the buffer shrinks to exactly the other items.
  virtual void Delete(Integer Index);
  // Count and capacity 0, buffer freed, changed flag 0.
  virtual void Clear();
  // Count, item size, changed flag and the items of Source; capacity = count. Nothing for nullptr.
  virtual void Assign(const TIEList* Source);

  // Appends a copy of the item-size bytes at Item; returns its index.
  Integer AddItem(const void* Item);
  // nullptr outside 0..count - 1.
  void* GetItemPtr(Integer Index);
  const void* GetItemPtr(Integer Index) const;

  Integer GetCount() const { return FCount; }
  Integer GetCapacity() const { return FCapacity; }
  Integer GetItemSize() const { return FItemSize; }
  // Bit 0 is set by every change of count or content.
  Byte GetChanged() const { return FChanged; }
  void SetChanged(Byte Value) { FChanged = Value; }

 protected:
  explicit TIEList(Integer ItemSize) : FItemSize(ItemSize) {}
  void SetItemSize(Integer ItemSize) { FItemSize = ItemSize; }

 private:
  // A new buffer of Capacity items holding the first Kept items of the old one.
  void Reallocate(Integer Capacity, Integer Kept);

  Integer FCapacity = 0;
  Integer FCount = 0;
  Integer FItemSize = 0;
  std::unique_ptr<Byte[]> FBuffer;
  Byte FChanged = 0;
};

// A list of doubles carrying four more values for its owner, which the list never reads.
class TIEDoubleList : public TIEList {
 public:
  TIEDoubleList() : TIEList(sizeof(Double)) {}
  void Clear() override;
  void Assign(const TIEList* Source) override;
  Double GetExtra(Integer Index) const { return FExtra[Index]; }
  void SetExtra(Integer Index, Double Value) { FExtra[Index] = Value; }

 private:
  std::array<Double, 4> FExtra{};
};

// A list of 32-bit integers carrying four more values for its owner.
class TIEIntegerList : public TIEList {
 public:
  TIEIntegerList() : TIEList(sizeof(Integer)) {}
  void Clear() override;
  void Assign(const TIEList* Source) override;
  Integer GetExtra(Integer Index) const { return FExtra[Index]; }
  void SetExtra(Integer Index, Integer Value) { FExtra[Index] = Value; }

 private:
  std::array<Integer, 4> FExtra{};
};

class TIERecordList : public TIEList {
 public:
  explicit TIERecordList(Integer RecordSize) : TIEList(RecordSize) {}
  void* GetRecord(Integer Index) { return GetItemPtr(Index); }
  Integer AddRecord(const void* Record) { return AddItem(Record); }
};

// Bytes that grow and shrink in steps of the block size, which is also the first capacity.
class TIEByteArray : public TObject {
 public:
  explicit TIEByteArray(Integer BlockSize);
  void AddByte(Byte Value);
  // Keeps the first min(old size, Size) bytes; a negative size counts as 0.
  void SetSize(Integer Size);
  // Reads up to Count bytes from Stream onto the end; returns the bytes read.
  Integer AppendFromStream(TStream* Stream, Integer Count);

  Integer GetSize() const { return FSize; }
  Integer GetCapacity() const { return FCapacity; }
  Integer GetBlockSize() const { return FBlockSize; }
  Byte* GetData() { return FData.get(); }
  const Byte* GetData() const { return FData.get(); }

 private:
  Integer FSize = 0;
  Integer FCapacity = 0;
  Integer FBlockSize = 0;
  std::unique_ptr<Byte[]> FData;
};

struct TIEDICOMTag {
  Word Group = 0;
  Word Element = 0;
  char VR[2] = {0, 0};  // value representation, zero when not given as two characters
  std::unique_ptr<Byte[]> Data;
  Integer DataLen = 0;
};

class TIEDICOMTags : public TObject {
 public:
  void Clear();
  // Takes Data over; a negative Length gives no data (and frees Data). Returns the index.
  Integer AddTag(Word Group, Word Element, const std::string& VR, std::unique_ptr<Byte[]> Data,
                 Integer Length);
  // Copies every tag; data blocks get a zero byte after their Length bytes.
  void Assign(const TIEDICOMTags* Source);
  Integer GetCount() const { return static_cast<Integer>(FTags.size()); }
  const TIEDICOMTag& GetTag(Integer Index) const { return FTags[Index]; }

 private:
  std::vector<TIEDICOMTag> FTags;
};

class THash1Item : public TObject {
 public:
  explicit THash1Item(Cardinal AValue) : Value(AValue) {}
  Cardinal Value;
  std::unique_ptr<THash1Item> Next;
};

// A set of 32-bit values (24-bit colours) in 2^Bits buckets chosen by the value's low bits.
class THash1 : public TObject {
 public:
  // Bits is limited to 0..24.
  explicit THash1(Integer Bits);
  ~THash1() override;
  Integer HashIndex(Cardinal Value) const { return static_cast<Integer>(Value & FMask); }
  // True when Value was new. Bucket is its bucket; NewItem the chain item made for it, or
  // nullptr when the value went into an empty bucket or was there already.
  bool InsertEx(Cardinal Value, Integer& Bucket, THash1Item*& NewItem);
  bool Insert(Cardinal Value);
  // The number of distinct values inserted.
  Integer GetCount() const { return FCount; }

 private:
  enum TBucketState : Byte { bsEmpty, bsValue, bsChain };
  struct TBucket {
    TBucketState State = bsEmpty;
    Cardinal Value = 0;
    std::unique_ptr<THash1Item> First;
  };
  std::vector<TBucket> FBuckets;
  Cardinal FMask = 0;
  Integer FCount = 0;
};

// Negative, 0 or positive as item I sorts before, with or after item J.
using TIECompareFunction = Integer (*)(void* Object, Integer I, Integer J);
using TIESwapFunction = void (*)(void* Object, Integer I, Integer J);

// Quick sort of the items L..R of any indexable collection through the callbacks; not stable.
void IEQuickSortRange(Integer L, Integer R, TIESwapFunction Exchange, void* ExchangeObject,
                      TIECompareFunction Compare, void* CompareObject);
void IEQuickSort(Integer Count, TIESwapFunction Exchange, void* ExchangeObject, TIECompareFunction Compare,
                 void* CompareObject);

// Dest gets Source's count and the same pointers.
void IECopyList(const TList* Source, TList* Dest);
