#include "platform/system/StringList.h"
#include "platform/system/ScopeExit.h"

#include <algorithm>
#include <numeric>

#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"
#include "platform/system/Streams.h"
#include "platform/system/Strings.h"

namespace {

constexpr std::string_view LineBreak = "\r\n";

bool IsBlank(char C) {
  const auto U = static_cast<unsigned char>(C);
  return U >= 1 && U <= ' ';
}

// Runs Body between BeginUpdate and EndUpdate; EndUpdate also runs when Body raises.
template <class F>
void Updating(TStrings& List, F&& Body) {
  List.BeginUpdate();
  auto Cleanup = ScopeExit([&] { List.EndUpdate(); });
  Body();
}

// A quoted part starting at Text[P] (the quote): doubled quotes stand for one, and an
// unclosed quote runs to the end. P moves past the closing quote.
std::string ExtractQuoted(std::string_view Text, size_t& P, char Quote) {
  std::string S;
  size_t I = P + 1;
  while (I < Text.size()) {
    if (Text[I] == Quote) {
      if (I + 1 < Text.size() && Text[I + 1] == Quote) {
        S += Quote;
        I += 2;
        continue;
      }
      ++I;
      break;
    }
    S += Text[I++];
  }
  P = I;
  return S;
}

}  // namespace

// ---- TStrings

void TStrings::Error(const char* Msg, Integer Data) {
  throw EStringListError(std::string_view(Msg).find('%') != std::string_view::npos ? Format(Msg, {Data})
                                                                                   : std::string(Msg));
}

Integer TStrings::Add(std::string_view S) {
  const Integer Result = GetCount();
  Insert(Result, S);
  return Result;
}

Integer TStrings::AddObject(std::string_view S, TObject* AObject) {
  const Integer Result = Add(S);
  PutObject(Result, AObject);
  return Result;
}

void TStrings::AddStrings(TStrings* Strings) {
  Updating(*this, [&] {
    const Integer Count = Strings->GetCount();
    for (Integer I = 0; I < Count; ++I) AddObject(Strings->Get(I), Strings->GetObject(I));
  });
}

void TStrings::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TStrings*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  Updating(*this, [&] {
    Clear();
    FNameValueSeparator = Src->FNameValueSeparator;
    FDelimiter = Src->FDelimiter;
    FQuoteChar = Src->FQuoteChar;
    FStrictDelimiter = Src->FStrictDelimiter;
    AddStrings(Src);
  });
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;  // unbalanced: ignored rather than muting the list for good
  if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::InsertObject(Integer Index, std::string_view S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
  Updating(*this, [&] {
    TObject* TempObject = GetObject(Index1);
    const std::string TempString = Get(Index1);
    PutObject(Index1, GetObject(Index2));
    Put(Index1, Get(Index2));
    PutObject(Index2, TempObject);
    Put(Index2, TempString);
  });
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  Updating(*this, [&] {
    const std::string TempString = Get(CurIndex);
    TObject* TempObject = GetObject(CurIndex);
    if (TempObject) PutObject(CurIndex, nullptr);  // a list owning its objects must not free it
    Delete(CurIndex);
    InsertObject(NewIndex, TempString, TempObject);
  });
}

Integer TStrings::IndexOf(std::string_view S) {
  const Integer Count = GetCount();
  for (Integer I = 0; I < Count; ++I)
    if (CompareStrings(Get(I), S) == 0) return I;
  return -1;
}

Integer TStrings::IndexOfName(std::string_view Name) {
  const Integer Count = GetCount();
  for (Integer I = 0; I < Count; ++I) {
    const std::string S = Get(I);
    const size_t P = S.find(FNameValueSeparator);
    if (P != std::string::npos && CompareStrings(std::string_view(S).substr(0, P), Name) == 0) return I;
  }
  return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) {
  const Integer Count = GetCount();
  for (Integer I = 0; I < Count; ++I)
    if (GetObject(I) == AObject) return I;
  return -1;
}

bool TStrings::Equals(TStrings* Strings) {
  const Integer Count = GetCount();
  if (Count != Strings->GetCount()) return false;
  for (Integer I = 0; I < Count; ++I)
    if (Get(I) != Strings->Get(I)) return false;
  return true;
}

TObject* TStrings::GetObject(Integer) {
  return nullptr;
}

void TStrings::Put(Integer Index, std::string_view S) {
  TObject* TempObject = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, TempObject);
}

void TStrings::PutObject(Integer, TObject*) {}

Integer TStrings::CompareStrings(std::string_view S1, std::string_view S2) {
  return AnsiCompareText(S1, S2);
}

void TStrings::LoadFromFile(std::string_view FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TStrings::LoadFromStream(TStream* Stream) {
  Updating(*this, [&] {
    const Int64 Size = std::max<Int64>(Stream->GetSize() - Stream->GetPosition(), 0);
    std::string S(static_cast<size_t>(Size), '\0');
    S.resize(static_cast<size_t>(std::max(Stream->Read(S.data(), static_cast<Integer>(Size)), 0)));
    std::string_view Text = S;
    if (Text.starts_with("\xEF\xBB\xBF")) Text.remove_prefix(3);
    SetTextStr(Text);
  });
}

void TStrings::SaveToFile(std::string_view FileName) {
  TReplacingFileStream Stream(FileName);
  SaveToStream(&Stream);
  Stream.Commit();
}

void TStrings::SaveToStream(TStream* Stream) {
  const std::string S = GetTextStr();
  Stream->WriteBuffer(S.data(), static_cast<Integer>(S.size()));
}

std::string TStrings::GetNames(Integer Index) {
  const std::string S = Get(Index);
  const size_t P = S.find(FNameValueSeparator);
  return P == std::string::npos ? std::string() : S.substr(0, P);
}

std::string TStrings::GetValues(std::string_view Name) {
  const Integer I = IndexOfName(Name);
  return I >= 0 ? GetValueFromIndex(I) : std::string();
}

void TStrings::SetValues(std::string_view Name, std::string_view Value) {
  const Integer I = IndexOfName(Name);
  std::string Line(Name);
  Line += FNameValueSeparator;
  Line += Value;
  if (!Value.empty()) {
    if (I < 0)
      Add(Line);
    else
      Put(I, Line);
  } else if (I >= 0) {
    Delete(I);
  }
}

std::string TStrings::GetValueFromIndex(Integer Index) {
  if (Index < 0) return {};
  const std::string S = Get(Index);
  const size_t P = S.find(FNameValueSeparator);
  return P == std::string::npos ? std::string() : S.substr(P + 1);
}

void TStrings::SetValueFromIndex(Integer Index, std::string_view Value) {
  if (!Value.empty()) {
    if (Index < 0)
      Add(std::string(1, FNameValueSeparator) + std::string(Value));
    else
      Put(Index, GetNames(Index) + FNameValueSeparator + std::string(Value));
  } else if (Index >= 0) {
    Delete(Index);
  }
}

std::string TStrings::GetTextStr() {
  const Integer Count = GetCount();
  std::string Result;
  for (Integer I = 0; I < Count; ++I) {
    Result += Get(I);
    Result += LineBreak;
  }
  return Result;
}

void TStrings::SetTextStr(std::string_view Value) {
  Updating(*this, [&] {
    Clear();
    size_t P = 0;
    while (P < Value.size()) {
      const size_t E = Value.find_first_of("\r\n", P);
      if (E == std::string_view::npos) {
        Add(Value.substr(P));
        break;
      }
      Add(Value.substr(P, E - P));
      P = E + 1;
      if (Value[E] == '\r' && P < Value.size() && Value[P] == '\n') ++P;
    }
  });
}

std::string TStrings::GetDelimitedText() {
  const Integer Count = GetCount();
  if (Count == 1 && Get(0).empty()) return std::string(2, FQuoteChar);
  std::string Result;
  for (Integer I = 0; I < Count; ++I) {
    const std::string S = Get(I);
    const bool Quote = std::any_of(S.begin(), S.end(), [&](char C) {
      return C == FQuoteChar || C == FDelimiter ||
             (FStrictDelimiter ? C == '\0' : static_cast<unsigned char>(C) <= ' ');
    });
    if (I > 0) Result += FDelimiter;
    Result += Quote ? AnsiQuotedStr(S, FQuoteChar) : S;
  }
  return Result;
}

void TStrings::SetDelimitedText(std::string_view Value) {
  // The text ends at a NUL character, as the platform's does.
  Value = Value.substr(0, Value.find('\0'));
  auto At = [&](size_t I) { return I < Value.size() ? Value[I] : '\0'; };
  Updating(*this, [&] {
    Clear();
    size_t P = 0;
    if (!FStrictDelimiter)
      while (IsBlank(At(P))) ++P;
    while (P < Value.size()) {
      if (Value[P] == FQuoteChar) {
        Add(ExtractQuoted(Value, P, FQuoteChar));
      } else {
        const size_t Start = P;
        while (P < Value.size() && (FStrictDelimiter || static_cast<unsigned char>(Value[P]) > ' ') &&
               Value[P] != FDelimiter)
          ++P;
        Add(Value.substr(Start, P - Start));
      }
      if (!FStrictDelimiter)
        while (IsBlank(At(P))) ++P;
      if (At(P) == FDelimiter && P < Value.size()) {
        if (P + 1 == Value.size()) Add("");  // a trailing delimiter ends with an empty string
        do ++P;
        while (!FStrictDelimiter && IsBlank(At(P)));
      }
    }
  });
}

std::string TStrings::GetCommaText() {
  const char Delimiter = FDelimiter, QuoteChar = FQuoteChar;
  const bool Strict = FStrictDelimiter;
  auto Restore =
      ScopeExit([&] { FDelimiter = Delimiter, FQuoteChar = QuoteChar, FStrictDelimiter = Strict; });
  FDelimiter = ',';
  FQuoteChar = '"';
  FStrictDelimiter = false;
  return GetDelimitedText();
}

void TStrings::SetCommaText(std::string_view Value) {
  const char Delimiter = FDelimiter, QuoteChar = FQuoteChar;
  const bool Strict = FStrictDelimiter;
  FDelimiter = ',';
  FQuoteChar = '"';
  FStrictDelimiter = false;
  auto Cleanup =
      ScopeExit([&] { FDelimiter = Delimiter, FQuoteChar = QuoteChar, FStrictDelimiter = Strict; });
  SetDelimitedText(Value);
}

// ---- TStringList

TStringList::~TStringList() {
  OnChange.Clear();
  OnChanging.Clear();
  if (FOwnsObjects)
    for (TStringItem& Item : FList) delete Item.FObject;
}

void TStringList::CheckIndex(Integer Index) {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
}

void TStringList::Changed() {
  if (GetUpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (GetUpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

Integer TStringList::Add(std::string_view S) {
  return AddObject(S, nullptr);
}

Integer TStringList::AddObject(std::string_view S, TObject* AObject) {
  Integer Result = GetCount();
  if (FSorted && Find(S, Result)) {
    switch (FDuplicates) {
      case dupIgnore:
        return Result;
      case dupError:
        Error(SDuplicateString, 0);
      case dupAccept:
        break;
    }
  }
  InsertItem(Result, S, AObject);
  return Result;
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> Old;
  Old.swap(FList);
  if (FOwnsObjects)
    for (TStringItem& Item : Old) delete Item.FObject;
  Changed();
}

void TStringList::Delete(Integer Index) {
  CheckIndex(Index);
  Changing();
  TObject* Obj = FList[static_cast<size_t>(Index)].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects) delete Obj;
  Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
  Changed();
}

void TStringList::Move(Integer CurIndex, Integer NewIndex) {
  // Checked before the line is taken out, so a refused move loses nothing.
  if (CurIndex == NewIndex) return;
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  TStrings::Move(CurIndex, NewIndex);
}

bool TStringList::Find(std::string_view S, Integer& Index) {
  bool Result = false;
  Integer L = 0, H = GetCount() - 1;
  while (L <= H) {
    const Integer I = (L + H) / 2;
    const Integer C = CompareStrings(FList[static_cast<size_t>(I)].FString, S);
    if (C < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (C == 0) Result = true;
    }
  }
  Index = L;
  return Result;
}

Integer TStringList::IndexOf(std::string_view S) {
  if (!FSorted) return TStrings::IndexOf(S);
  Integer Result;
  return Find(S, Result) ? Result : -1;
}

void TStringList::Insert(Integer Index, std::string_view S) {
  InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(Integer Index, std::string_view S, TObject* AObject) {
  if (FSorted) Error(SSortedListError, 0);
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(Integer Index, std::string_view S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{std::string(S), AObject});
  Changed();
}

std::string TStringList::Get(Integer Index) {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].FString;
}

TObject* TStringList::GetObject(Integer Index) {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].FObject;
}

void TStringList::Put(Integer Index, std::string_view S) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FString = S;
  Changed();
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FObject = AObject;
  Changed();
}

void TStringList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < GetCount()) Error(SListCapacityError, NewCapacity);
  FList.reserve(static_cast<size_t>(NewCapacity));
}

Integer TStringList::CompareStrings(std::string_view S1, std::string_view S2) {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::SortBy(TStringListSortCompare Compare) {
  if (GetCount() < 2) return;
  Changing();
  // Sort positions, not items: the compare function reads the list by index while it runs.
  std::vector<Integer> Order(FList.size());
  std::iota(Order.begin(), Order.end(), 0);
  std::stable_sort(Order.begin(), Order.end(), [&](Integer A, Integer B) {
    return (Compare ? Compare(this, A, B)
                    : CompareStrings(FList[static_cast<size_t>(A)].FString,
                                     FList[static_cast<size_t>(B)].FString)) < 0;
  });
  std::vector<TStringItem> Sorted;
  Sorted.reserve(FList.size());
  for (Integer I : Order) Sorted.push_back(std::move(FList[static_cast<size_t>(I)]));
  FList.swap(Sorted);
  Changed();
}

void TStringList::Sort() {
  CustomSort(nullptr);
}

void TStringList::CustomSort(TStringListSortCompare Compare) {
  if (!FSorted) SortBy(Compare);
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) SortBy(nullptr);
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) SortBy(nullptr);
}
