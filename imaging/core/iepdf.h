#pragma once
// The PDF object model of the PDF writer: objects that write themselves in PDF syntax, and the
// document routines for the header, the numbered indirect objects, catalog, page tree, pages,
// cross-reference table and trailer of a PDF 1.4 file.
//
// Arrays, dictionaries and streams own their items; an item marked shared is left alive when
// its container goes (it belongs to someone else).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TStream;

class TIEPDFObject : public TObject {
 public:
  // Records the stream position as the object's offset, then writes the object's text.
  virtual void Write(TStream* Stream) = 0;

  // 0 until the object is added to a document.
  Integer GetNumber() const { return FNumber; }
  void SetNumber(Integer Value) { FNumber = Value; }
  // Where the object was last written (for an indirect object: its "n 0 obj" line).
  Int64 GetOffset() const { return FOffset; }
  void SetOffset(Int64 Value) { FOffset = Value; }
  bool GetShared() const { return FShared; }
  void SetShared(bool Value) { FShared = Value; }

 protected:
  void RecordOffset(TStream* Stream);

 private:
  Integer FNumber = 0;
  Int64 FOffset = 0;
  bool FShared = false;
};

// A container's hold on an item: frees it unless it is shared by then.
struct TIEPDFItemRelease {
  void operator()(TIEPDFObject* Object) const;
};
using TIEPDFItem = std::unique_ptr<TIEPDFObject, TIEPDFItemRelease>;

class TIEPDFRefObject : public TIEPDFObject {
 public:
  TIEPDFRefObject(Integer Number, Integer Generation) : FRefNumber(Number), FGeneration(Generation) {}
  void Write(TStream* Stream) override;
  Integer GetRefNumber() const { return FRefNumber; }

 private:
  Integer FRefNumber;
  Integer FGeneration;
};

class TIEPDFBooleanObject : public TIEPDFObject {
 public:
  explicit TIEPDFBooleanObject(bool Value) : FValue(Value) {}
  void Write(TStream* Stream) override;

 private:
  bool FValue;
};

class TIEPDFNumericObject : public TIEPDFObject {
 public:
  explicit TIEPDFNumericObject(double Value) : FValue(Value) {}
  void Write(TStream* Stream) override;
  double GetValue() const { return FValue; }

 private:
  double FValue;
};

class TIEPDFStringObject : public TIEPDFObject {
 public:
  explicit TIEPDFStringObject(std::string Text) : FText(std::move(Text)) {}
  void Write(TStream* Stream) override;

 private:
  std::string FText;
};

class TIEPDFNameObject : public TIEPDFObject {
 public:
  explicit TIEPDFNameObject(std::string Name) : FName(std::move(Name)) {}
  void Write(TStream* Stream) override;

 private:
  std::string FName;
};

class TIEPDFArrayObject : public TIEPDFObject {
 public:
  TIEPDFArrayObject() = default;
  void Write(TStream* Stream) override;
  // Takes the item over.
  void Add(std::unique_ptr<TIEPDFObject> Item);
  // Marks the item shared: the array writes it but never frees it.
  void AddShared(TIEPDFObject* Item);
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TIEPDFObject* GetItem(Integer Index) const { return FItems[Index].get(); }

 private:
  std::vector<TIEPDFItem> FItems;
};

class TIEPDFDictionaryObject : public TIEPDFObject {
 public:
  TIEPDFDictionaryObject() = default;
  void Write(TStream* Stream) override;
  // Takes the value over; a key already present keeps its place and frees its old value
  // (unless shared).
  void SetItem(std::string_view Key, std::unique_ptr<TIEPDFObject> Value);
  // Marks the value shared: the dictionary writes it but never frees it.
  void SetSharedItem(std::string_view Key, TIEPDFObject* Value);
  // nullptr when the key is absent.
  TIEPDFObject* GetItem(std::string_view Key) const;
  Integer Count() const { return static_cast<Integer>(FEntries.size()); }

 private:
  void Put(std::string_view Key, TIEPDFItem Value);
  struct TEntry {
    std::string Key;
    TIEPDFItem Value;
  };
  std::vector<TEntry> FEntries;
};

class TIEPDFStreamObject : public TIEPDFObject {
 public:
  // No data; the dictionary starts with Length 0.
  TIEPDFStreamObject();
  // A copy of Length bytes of Data.
  static std::unique_ptr<TIEPDFStreamObject> CreateCopy(const void* Data, Integer Length);
  // Sets Length to the data's length first.
  void Write(TStream* Stream) override;
  TIEPDFDictionaryObject* GetDictionary() const { return FDictionary.get(); }
  const Byte* GetData() const { return FData.get(); }
  Integer GetDataLength() const { return FDataLength; }

 private:
  std::unique_ptr<TIEPDFDictionaryObject> FDictionary;
  std::unique_ptr<Byte[]> FData;
  Integer FDataLength = 0;
};

// The indirect objects of a document in the order they were added (object n at index n - 1),
// and its page dictionaries (owned by the object list).
using TIEPDFObjects = std::vector<std::unique_ptr<TIEPDFObject>>;
using TIEPDFPages = std::vector<TIEPDFDictionaryObject*>;

// "%PDF-1.4" and a comment of four bytes above 127, each line ended by a line feed.
void IEPDFWriteHeader(TStream* Stream);
// Appends Object; its number becomes the new count (the first object is 1). Returns it.
TIEPDFObject* IEPDFAddObject(TIEPDFObjects& Objects, std::unique_ptr<TIEPDFObject> Object);
// The catalog; it must be the first object, the trailer names object 1 as the root.
TIEPDFDictionaryObject* IEPDFAddCatalog(TIEPDFObjects& Objects);
// A page with the given resources object (or none), media box and content stream number.
TIEPDFDictionaryObject* IEPDFAddPage(TIEPDFObjects& Objects, TIEPDFPages& Pages,
                                     const TIEPDFObject* Resources,
                                     std::unique_ptr<TIEPDFArrayObject> MediaBox, Integer ContentsNumber);
// The page tree over every page so far; each page gets its parent, the catalog its pages.
TIEPDFDictionaryObject* IEPDFAddPages(TIEPDFObjects& Objects, TIEPDFPages& Pages);
// Every object as "n 0 obj", the object, "endobj"; its offset becomes that of its first line.
void IEPDFWriteObjects(TStream* Stream, TIEPDFObjects& Objects);
// Cross-reference table, trailer (root 1, Info when given) and the table's position.
void IEPDFWriteTrailer(TStream* Stream, const TIEPDFObjects& Objects, const TIEPDFDictionaryObject* Info);

// Text with Character in front until it has Length characters.
std::string IEPadLeft(std::string_view Text, Integer Length, char Character);
