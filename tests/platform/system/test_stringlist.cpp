#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"
#include "platform/system/StringList.h"

namespace {

using TLines = std::vector<std::string>;

TLines Lines(TStrings& L) {
  TLines R;
  for (Integer I = 0; I < L.GetCount(); ++I) R.push_back(L.GetStrings(I));
  return R;
}

void SetLines(TStrings& L, const TLines& Items) {
  L.Clear();
  for (const std::string& S : Items) L.Add(S);
}

template <class F>
std::string ErrorOf(F&& Call) {
  try {
    Call();
  } catch (const EStringListError& E) {
    return E.GetMessage();
  }
  return "(no error)";
}

// Counts live instances so that freeing by the list shows.
class TCounted : public TObject {
 public:
  explicit TCounted(int& Live) : FLive(Live) { ++FLive; }
  ~TCounted() override { --FLive; }

 private:
  int& FLive;
};

struct TListener {
  int Changes = 0, Changings = 0;
  void Change(TObject*) { ++Changes; }
  void Changing(TObject*) { ++Changings; }
};

}  // namespace

TEST(StringList, NamesAndValues) {
  TStringList L;
  SetLines(L, {"a=1", "B=2=3", "noval", "=x", "c="});
  const TLines Names = {"a", "B", "", "", "c"};
  for (Integer I = 0; I < L.GetCount(); ++I) EXPECT_EQ(L.GetNames(I), Names[static_cast<size_t>(I)]);
  EXPECT_EQ(L.GetValues("b"), "2=3");  // names ignore case; the first '=' splits
  EXPECT_EQ(L.GetValues("A"), "1");
  EXPECT_EQ(L.GetValues("C"), "");
  EXPECT_EQ(L.GetValues("noval"), "");
  EXPECT_EQ(L.GetValueFromIndex(2), "");
  EXPECT_EQ(L.GetValueFromIndex(3), "x");
  EXPECT_EQ(L.IndexOfName("C"), 4);
  EXPECT_EQ(L.IndexOfName("noval"), -1);

  L.SetValues("b", "9");  // the line takes the name as given
  L.SetValues("a", "");   // an empty value deletes the line
  L.SetValues("new", "v");
  L.SetValueFromIndex(0, "7");
  EXPECT_EQ(Lines(L), (TLines{"b=7", "noval", "=x", "c=", "new=v"}));

  L.SetNameValueSeparator(':');
  L.Add("k:v=w");
  EXPECT_EQ(L.GetValues("K"), "v=w");
}

TEST(StringList, TextSplitsOnAnyLineEndAndWritesCrLf) {
  struct {
    std::string Text;
    TLines Lines;
  } Cases[] = {
      {"a\r\nb", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r\n\r\n", {"a", "b", ""}},
      {"", {}},
      {"\n\r", {"", ""}},
      {"x\r\r\ny", {"x", "", "y"}},
      {"\r\n", {""}},
      {std::string("n\0ul", 4), {std::string("n\0ul", 4)}},
  };
  TStringList L;
  for (const auto& C : Cases) {
    L.SetText(C.Text);
    EXPECT_EQ(Lines(L), C.Lines) << C.Text;
  }
  SetLines(L, {"a", "", "b"});
  EXPECT_EQ(L.GetText(), "a\r\n\r\nb\r\n");
}

TEST(StringList, FileRoundTripSkipsByteOrderMark) {
  TTempFolder Tmp;
  TStringList L;
  SetLines(L, {"[S]", "k=v", ""});
  L.SaveToFile(Tmp / "l.txt");
  TMemoryStream M;
  M.LoadFromFile(Tmp / "l.txt");
  EXPECT_EQ(std::string(static_cast<const char*>(M.GetMemory()), 12), "[S]\r\nk=v\r\n\r\n");

  TStringStream S("\xEF\xBB\xBF[S]\nk=v");
  TStringList R;
  R.LoadFromStream(&S);
  EXPECT_EQ(Lines(R), (TLines{"[S]", "k=v"}));

  TStringList F;
  F.LoadFromFile(Tmp.Path() + "\\l.txt");
  EXPECT_TRUE(F.Equals(&L));
  EXPECT_THROW(F.LoadFromFile(Tmp / "missing.txt"), EFOpenError);
  EXPECT_EQ(F.GetCount(), 3);  // a failed load keeps the lines
}

TEST(StringList, CommaTextQuotesAndSplits) {
  TStringList L;
  struct {
    TLines Lines;
    std::string Text;
  } Writes[] = {
      {{"a", "b c", "d\"e", "", "f,g", "\tt"}, "a,\"b c\",\"d\"\"e\",,\"f,g\",\"\tt\""},
      {{""}, "\"\""},
      {{}, ""},
      {{"", ""}, ","},
  };
  for (const auto& C : Writes) {
    SetLines(L, C.Lines);
    EXPECT_EQ(L.GetCommaText(), C.Text);
  }
  struct {
    std::string Text;
    TLines Lines;
  } Reads[] = {
      {"a, b  c,\"d \"\"x\"\" e\",,\"f", {"a", "b", "c", "d \"x\" e", "", "f"}},
      {"a,", {"a", ""}},
      {"  a  ", {"a"}},
      {"\"ab\"cd", {"ab", "cd"}},
      {"\"\"", {""}},
      {"", {}},
      {",", {"", ""}},
      {std::string("a,b\0,c", 6), {"a", "b"}},
  };
  for (const auto& C : Reads) {
    L.SetCommaText(C.Text);
    EXPECT_EQ(Lines(L), C.Lines) << C.Text;
  }
}

TEST(StringList, DelimitedTextHonoursDelimiterQuoteAndStrictness) {
  TStringList L;
  L.SetDelimiter(';');
  L.SetQuoteChar('\'');
  L.SetStrictDelimiter(true);
  L.SetDelimitedText("a b;c ; d;'x;y'");
  EXPECT_EQ(Lines(L), (TLines{"a b", "c ", " d", "x;y"}));
  EXPECT_EQ(L.GetDelimitedText(), "a b;c ; d;'x;y'");
  EXPECT_EQ(L.GetCommaText(), "\"a b\",\"c \",\" d\",x;y");
  EXPECT_EQ(L.GetDelimiter(), ';');  // CommaText leaves the settings as they were
  L.SetStrictDelimiter(false);
  L.SetDelimitedText("a b;c");
  EXPECT_EQ(Lines(L), (TLines{"a", "b", "c"}));
}

TEST(StringList, SortedListsAndDuplicates) {
  struct {
    TDuplicates Mode;
    TLines After;
    std::string Error;
  } Cases[] = {
      {dupIgnore, {"A", "b", "c"}, "(no error)"},
      {dupAccept, {"a", "A", "b", "c"}, "(no error)"},
      {dupError, {"A", "b", "c"}, "String list does not allow duplicates"},
  };
  for (const auto& C : Cases) {
    TStringList L;
    L.SetSorted(true);
    L.SetDuplicates(C.Mode);
    for (const char* S : {"b", "A", "c"}) L.Add(S);
    Integer Added = -1;
    EXPECT_EQ(ErrorOf([&] { Added = L.Add("a"); }), C.Error);
    if (C.Mode != dupError) {
      EXPECT_EQ(Added, 0);
    }
    EXPECT_EQ(Lines(L), C.After);
  }

  TStringList L;
  SetLines(L, {"pear", "Apple", "fig"});
  L.SetSorted(true);
  EXPECT_EQ(Lines(L), (TLines{"Apple", "fig", "pear"}));
  Integer Index = -1;
  EXPECT_TRUE(L.Find("FIG", Index));
  EXPECT_EQ(Index, 1);
  EXPECT_FALSE(L.Find("grape", Index));
  EXPECT_EQ(Index, 2);
  EXPECT_EQ(L.IndexOf("PEAR"), 2);
  EXPECT_EQ(L.IndexOf("plum"), -1);
  EXPECT_EQ(ErrorOf([&] { L.Insert(0, "x"); }), "Operation not allowed on sorted list");
  EXPECT_EQ(ErrorOf([&] { L.SetStrings(0, "x"); }), "Operation not allowed on sorted list");
  EXPECT_EQ(ErrorOf([&] { L.Move(0, 2); }), "Operation not allowed on sorted list");
  EXPECT_EQ(Lines(L), (TLines{"Apple", "fig", "pear"}));

  L.Add("apple");  // a duplicate but for letter case: ignored
  EXPECT_EQ(L.GetCount(), 3);
  L.SetDuplicates(dupAccept);
  L.Add("apple");
  L.SetCaseSensitive(true);  // sorts again by bytes
  EXPECT_EQ(Lines(L), (TLines{"Apple", "apple", "fig", "pear"}));
  EXPECT_EQ(L.IndexOf("APPLE"), -1);
}

TEST(StringList, SortIsStableAndCustomSortUsesTheCompareFunction) {
  TStringList L;
  SetLines(L, {"b", "a", "B", "A", "ccc", "dd"});
  L.Sort();
  EXPECT_EQ(Lines(L), (TLines{"a", "A", "b", "B", "ccc", "dd"}));
  L.CustomSort([](TStringList* List, Integer I1, Integer I2) {
    return static_cast<Integer>(List->GetStrings(I2).size()) -
           static_cast<Integer>(List->GetStrings(I1).size());
  });
  EXPECT_EQ(Lines(L), (TLines{"ccc", "dd", "a", "A", "b", "B"}));
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList L;
  SetLines(L, {"a", "b"});
  EXPECT_EQ(ErrorOf([&] { L.GetStrings(2); }), "List index out of bounds (2)");
  EXPECT_EQ(ErrorOf([&] { L.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ErrorOf([&] { L.GetObjects(5); }), "List index out of bounds (5)");
  EXPECT_EQ(ErrorOf([&] { L.Insert(3, "x"); }), "List index out of bounds (3)");
  EXPECT_EQ(ErrorOf([&] { L.Exchange(0, 2); }), "List index out of bounds (2)");
  EXPECT_EQ(ErrorOf([&] { L.Move(0, 2); }), "List index out of bounds (2)");
  EXPECT_EQ(Lines(L), (TLines{"a", "b"}));
  L.Insert(2, "c");  // the end is a valid place to insert
  EXPECT_EQ(Lines(L), (TLines{"a", "b", "c"}));
}

TEST(StringList, ObjectsTravelWithLinesAndOwnedOnesAreFreed) {
  int Live = 0;
  {
    TStringList L(true);
    auto* A = new TCounted(Live);
    auto* B = new TCounted(Live);
    auto* C = new TCounted(Live);
    L.AddObject("a", A);
    L.AddObject("b", B);
    L.AddObject("c", C);
    L.Move(0, 2);
    L.Exchange(0, 1);
    EXPECT_EQ(Lines(L), (TLines{"c", "b", "a"}));
    EXPECT_EQ(L.IndexOfObject(A), 2);
    EXPECT_EQ(L.GetObjects(0), C);
    EXPECT_EQ(Live, 3);
    L.Delete(1);
    EXPECT_EQ(Live, 2);
    TStringList Copy;
    Copy.Assign(&L);
    EXPECT_EQ(Copy.GetObjects(1), A);  // the copy shares, never owns
    L.Clear();
    EXPECT_EQ(Live, 0);
    L.AddObject("d", new TCounted(Live));
  }
  EXPECT_EQ(Live, 0);
}

TEST(StringList, AssignAddStringsAndEquals) {
  TStringList A, B;
  SetLines(A, {"x=1", "y=2"});
  A.SetNameValueSeparator(':');
  A.SetDelimiter(';');
  B.Add("old");
  B.Assign(&A);
  EXPECT_TRUE(B.Equals(&A));
  EXPECT_EQ(B.GetNameValueSeparator(), ':');
  EXPECT_EQ(B.GetDelimiter(), ';');
  B.AddStrings(&A);
  EXPECT_EQ(Lines(B), (TLines{"x=1", "y=2", "x=1", "y=2"}));
  EXPECT_FALSE(B.Equals(&A));
  B.Assign(&B);  // assigning a list to itself keeps it
  EXPECT_EQ(B.GetCount(), 4);
  SetLines(B, {"X=1", "y=2"});
  EXPECT_FALSE(B.Equals(&A));      // letter case counts
  EXPECT_EQ(B.IndexOf("x=1"), 0);  // but not for IndexOf
}

TEST(StringList, ChangeEventsFireOncePerUpdate) {
  TListener Ear;
  TStringList L;
  L.OnChange = TNotifyEvent(&Ear, &TListener::Change);
  L.OnChanging = TNotifyEvent(&Ear, &TListener::Changing);
  L.Add("a");
  L.Add("b");
  EXPECT_EQ(Ear.Changes, 2);
  EXPECT_EQ(Ear.Changings, 2);

  Ear = {};
  L.BeginUpdate();
  L.Add("c");
  L.Delete(0);
  L.BeginUpdate();
  L.Sort();
  L.EndUpdate();
  EXPECT_EQ(Ear.Changes, 0);
  L.EndUpdate();
  EXPECT_EQ(Ear.Changes, 1);
  EXPECT_EQ(Ear.Changings, 1);

  Ear = {};
  L.SetText("1\n2\n3");
  L.SetCommaText("x,y");
  EXPECT_EQ(Ear.Changes, 2);
  L.EndUpdate();  // unbalanced: ignored
  L.Add("z");
  EXPECT_EQ(Ear.Changes, 3);
}
