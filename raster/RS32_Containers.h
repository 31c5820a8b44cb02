#pragma once
// Small containers of the raster library: a hash map keyed by pointers, a growable list of
// rectangles, a list of class references searched by name, a two-dimensional map of
// integers, and the copier of published properties behind the Assign of resamplers, samplers
// and kernels.
#include <array>
#include <string>
#include <variant>
#include <vector>

#include "platform/system/Exceptions.h"
#include "platform/system/Lists.h"
#include "platform/system/Persistent.h"
#include "raster/RS32.h"

struct TPointerBucketItem {
  void* Item = nullptr;
  void* Data = nullptr;
};
// Its length is the bucket's capacity.
using TPointerBucketItemArray = std::vector<TPointerBucketItem>;
struct TPointerBucket {
  Integer Count = 0;
  TPointerBucketItemArray Items;
};
using TPointerBucketArray = std::array<TPointerBucket, 256>;

// A map from pointers to pointers in 256 buckets chosen by bits 8-15 of the key; a bucket
// keeps its entries in insertion order. The map owns no Data: a descendant that disposes of
// Data does so in Delete and must call Clear in its own destructor.
class TPointerMap : public TObject {
 public:
  ~TPointerMap() override;

  // An existing key: NewItem False and the address of its Data (Data is not stored);
  // otherwise the entry is appended and NewItem is True. The address stays valid until the
  // key's bucket changes.
  void** Add(void* Item, bool& NewItem);
  void** Add(void* Item, void* Data, bool& NewItem);
  bool Find(void* Item, Integer& BucketIndex, Integer& ItemIndex) const;
  // Returns the entry's Data and removes the entry (nothing else while Count is 0, as during
  // Clear). Indices outside the map raise EListError.
  virtual void* Delete(Integer BucketIndex, Integer ItemIndex);
  // The key's Data after Delete, or nullptr when the key is absent.
  void* Remove(void* Item);
  // Raises EListError "Item not found ($0%x)" for an absent key.
  void* GetData(void* Item) const;
  void Clear();
  Integer GetCount() const { return FCount; }

  static Integer BucketOf(const void* Item) {
    return static_cast<Integer>((reinterpret_cast<NativeUInt>(Item) >> 8) & 255);
  }

 private:
  friend class TPointerMapIterator;
  TPointerBucketArray FBuckets;
  Integer FCount = 0;
};

// Walks buckets 0 to 255, each from its last entry to its first.
class TPointerMapIterator : public TObject {
 public:
  explicit TPointerMapIterator(const TPointerMap* Map) : FMap(Map) {}
  // Moves to the next entry; False when none is left.
  bool Next();
  void* GetItem() const { return FItem; }
  void* GetData() const { return FData; }

 private:
  const TPointerMap* FMap;
  void* FItem = nullptr;
  void* FData = nullptr;
  Integer FBucketIndex = -1;
  Integer FItemIndex = -1;
};

class TRectList : public TObject {
 public:
  ~TRectList() override;
  Integer Add(const TRect& Rect);
  virtual void Clear();
  // Raises EListError for an index outside 0..Count - 1.
  void Delete(Integer Index);
  // nullptr when Index is outside 0..Count - 1.
  TRect* Items(Integer Index);
  Integer GetCount() const { return FCount; }
  void SetCount(Integer Value);
  Integer GetCapacity() const { return FCapacity; }
  void SetCapacity(Integer Value);

 protected:
  virtual void Grow();

 private:
  std::vector<TRect> FList;  // its size is the capacity
  Integer FCount = 0;
  Integer FCapacity = 0;
};

// A class reference as a registry holds it: the class name and whatever creates an instance
// (see the derived references of the resamplers and kernels).
struct TClassRef {
  const char* ClassName;
};

class TClassList : public TList {
 public:
  Integer Add(const TClassRef* AClass) { return TList::Add(const_cast<TClassRef*>(AClass)); }
  const TClassRef* GetItem(Integer Index) const { return static_cast<const TClassRef*>(Get(Index)); }
  // The first class of exactly that name (case-sensitive), or nullptr.
  const TClassRef* Find(const std::string& AClassName) const;
};

// Width x Height integers, row by row.
class TIntegerMap : public TCustomMap {
 public:
  ~TIntegerMap() override;
  bool Empty() const override { return FBits.empty(); }
  Integer* ValPtr(Integer X, Integer Y) { return &FBits[X + static_cast<std::size_t>(Y) * GetWidth()]; }
  Integer GetValue(Integer X, Integer Y) const { return FBits[X + static_cast<std::size_t>(Y) * GetWidth()]; }
  const TArrayOfInteger& GetBits() const { return FBits; }

 protected:
  void ResizeStorage(Integer& Width, Integer& Height, Integer NewWidth, Integer NewHeight) override;

 private:
  TArrayOfInteger FBits;
};

// Published properties: the properties that the copier below reads and writes by name.
enum TPropKind : Byte { pkOrdinal, pkFloat, pkString, pkObject };
using TPropValue = std::variant<Int64, Extended, std::string>;
struct TPropInfo {
  const char* Name;
  TPropKind Kind;
  TPropValue (*Get)(const TPersistent* Obj);               // scalar kinds
  void (*Set)(TPersistent* Obj, const TPropValue& Value);  // scalar kinds
  TPersistent* (*GetObject)(const TPersistent* Obj);       // pkObject
};

// Implemented by classes with published properties.
class IPublishedProperties {
 public:
  virtual ~IPublishedProperties() = default;
  // Appends the published properties, except events, in declaration order, those of the
  // ancestors first.
  virtual void GetPublishedProperties(std::vector<const TPropInfo*>& List) const = 0;
};

TV_DECLARE_EXCEPTION(EPropertyError, Exception)

// Conversions of property values, as the platform's variants convert; a text that is no
// number raises EConvertError.
Int64 PropValueToInt(const TPropValue& Value);
Extended PropValueToFloat(const TPropValue& Value);
std::string PropValueToString(const TPropValue& Value);

// For every published property of Source: an object property is copied with
// DestObject->Assign(SourceObject) when both objects exist; any other is read from Source and
// written to Dest by the same name. A property that Dest does not publish raises
// EPropertyError "Unknown property: \"<name>\"".
void CopyPublishedProperties(TPersistent* Source, TPersistent* Dest);
