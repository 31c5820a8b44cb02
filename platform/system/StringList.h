#pragma once
// String lists: TStrings, the abstract list of strings with attached objects, and
// TStringList, the list that stores them.
//
// Lines of Text and of saved files end in CR LF; reading accepts CR LF, LF and CR, and a
// UTF-8 byte order mark at the start of a stream is skipped. Strings compare without regard
// to letter case (AnsiCompareText) unless a TStringList is made CaseSensitive.
// A list never owns its objects, except a TStringList created with OwnsObjects, which frees
// an object when its line is deleted or the list is cleared or destroyed.
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Delegates.h"
#include "platform/system/ListTypes.h"
#include "platform/system/Persistent.h"
#include "platform/system/Types.h"

class TStream;

constexpr const char* SDuplicateString = "String list does not allow duplicates";

class TStrings : public TPersistent {
 public:
  virtual Integer Add(std::string_view S);
  virtual Integer AddObject(std::string_view S, TObject* AObject);
  void Append(std::string_view S) { Add(S); }
  virtual void AddStrings(TStrings* Strings);
  // Copies lines, objects and the separator settings of another TStrings.
  void Assign(TPersistent* Source) override;
  void BeginUpdate();
  void EndUpdate();
  virtual void Clear() = 0;
  virtual void Delete(Integer Index) = 0;
  virtual void Insert(Integer Index, std::string_view S) = 0;
  virtual void InsertObject(Integer Index, std::string_view S, TObject* AObject);
  virtual void Exchange(Integer Index1, Integer Index2);
  // The object travels with its line (and is not freed on the way).
  virtual void Move(Integer CurIndex, Integer NewIndex);
  // -1 when absent.
  virtual Integer IndexOf(std::string_view S);
  Integer IndexOfName(std::string_view Name);
  Integer IndexOfObject(TObject* AObject);
  // Same count and the same strings, letter case included.
  bool Equals(TStrings* Strings);

  void LoadFromFile(std::string_view FileName);
  // From the stream's position to its end.
  virtual void LoadFromStream(TStream* Stream);
  void SaveToFile(std::string_view FileName);
  virtual void SaveToStream(TStream* Stream);

  virtual Integer GetCount() = 0;
  std::string GetStrings(Integer Index) { return Get(Index); }
  void SetStrings(Integer Index, std::string_view S) { Put(Index, S); }
  TObject* GetObjects(Integer Index) { return GetObject(Index); }
  void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }
  virtual Integer GetCapacity() { return GetCount(); }
  // Lists that cannot reserve room ignore this.
  virtual void SetCapacity(Integer) {}

  // "name=value" lines: the name is the text before the first separator ("" without one).
  std::string GetNames(Integer Index);
  std::string GetValues(std::string_view Name);
  // A non-empty value replaces or adds the line; an empty one deletes it.
  void SetValues(std::string_view Name, std::string_view Value);
  // The text after the first separator; "" for a line without one.
  std::string GetValueFromIndex(Integer Index);
  void SetValueFromIndex(Integer Index, std::string_view Value);
  char GetNameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char C) { FNameValueSeparator = C; }

  // Every line followed by CR LF.
  std::string GetText() { return GetTextStr(); }
  void SetText(std::string_view Value) { SetTextStr(Value); }

  // Lines separated by Delimiter; a line holding a blank, a control character, the quote or
  // the delimiter is quoted (inner quotes doubled). Reading splits on the delimiter and,
  // unless StrictDelimiter, on blanks too; quoted parts keep their blanks and delimiters.
  std::string GetDelimitedText();
  void SetDelimitedText(std::string_view Value);
  // DelimitedText with ',' and '"', blanks separating.
  std::string GetCommaText();
  void SetCommaText(std::string_view Value);
  char GetDelimiter() const { return FDelimiter; }
  void SetDelimiter(char C) { FDelimiter = C; }
  char GetQuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char C) { FQuoteChar = C; }
  bool GetStrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool B) { FStrictDelimiter = B; }

 protected:
  // Raises EStringListError with Msg formatted with Data.
  [[noreturn]] void Error(const char* Msg, Integer Data);
  virtual std::string Get(Integer Index) = 0;
  virtual TObject* GetObject(Integer Index);
  virtual void Put(Integer Index, std::string_view S);
  virtual void PutObject(Integer Index, TObject* AObject);
  virtual std::string GetTextStr();
  virtual void SetTextStr(std::string_view Value);
  // Called when the first BeginUpdate starts and the last EndUpdate ends an update.
  virtual void SetUpdateState(bool Updating);
  virtual Integer CompareStrings(std::string_view S1, std::string_view S2);
  Integer GetUpdateCount() const { return FUpdateCount; }

 private:
  Integer FUpdateCount = 0;
  char FNameValueSeparator = '=';
  char FDelimiter = ',';
  char FQuoteChar = '"';
  bool FStrictDelimiter = false;
};

class TStringList;
using TStringListSortCompare = Integer (*)(TStringList* List, Integer Index1, Integer Index2);

// Index errors raise EStringListError "List index out of bounds (%d)"; inserting or changing
// a string of a sorted list raises "Operation not allowed on sorted list".
class TStringList : public TStrings {
 public:
  TStringList() = default;
  explicit TStringList(bool AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
  ~TStringList() override;

  // In a sorted list the string goes to its place; a duplicate is skipped (its index is
  // returned), accepted, or raises EStringListError "String list does not allow duplicates".
  Integer Add(std::string_view S) override;
  Integer AddObject(std::string_view S, TObject* AObject) override;
  void Clear() override;
  void Delete(Integer Index) override;
  void Exchange(Integer Index1, Integer Index2) override;
  // Raises before anything moves when the list is sorted or an index is out of bounds.
  void Move(Integer CurIndex, Integer NewIndex) override;
  // Binary search of a sorted list: true when S is there; Index is its position (the first of
  // equal strings) or where it would go.
  virtual bool Find(std::string_view S, Integer& Index);
  Integer IndexOf(std::string_view S) override;
  void Insert(Integer Index, std::string_view S) override;
  void InsertObject(Integer Index, std::string_view S, TObject* AObject) override;
  // Sorting keeps equal strings in their order. Both do nothing on a list that is Sorted.
  virtual void Sort();
  virtual void CustomSort(TStringListSortCompare Compare);

  TDuplicates GetDuplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool GetCaseSensitive() const { return FCaseSensitive; }
  // A sorted list sorts again by the new rule.
  void SetCaseSensitive(bool Value);
  bool GetOwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
  Integer GetCount() override { return static_cast<Integer>(FList.size()); }
  Integer GetCapacity() override { return static_cast<Integer>(FList.capacity()); }
  void SetCapacity(Integer NewCapacity) override;

  // Called around every change, but not while an update is open: EndUpdate reports once.
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  std::string Get(Integer Index) override;
  TObject* GetObject(Integer Index) override;
  void Put(Integer Index, std::string_view S) override;
  void PutObject(Integer Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;
  Integer CompareStrings(std::string_view S1, std::string_view S2) override;
  virtual void InsertItem(Integer Index, std::string_view S, TObject* AObject);

 private:
  struct TStringItem {
    std::string FString;
    TObject* FObject;
  };
  void CheckIndex(Integer Index);
  void SortBy(TStringListSortCompare Compare);
  std::vector<TStringItem> FList;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
};
