#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/Collections.h"
#include "platform/system/Exceptions.h"

// At file scope so that its class name carries no namespace.
class TCollectionTestItem : public TCollectionItem {
 public:
  explicit TCollectionTestItem(TCollection* Collection) : TCollectionItem(Collection) { ++Alive; }
  ~TCollectionTestItem() override { --Alive; }
  void Assign(TPersistent* Source) override {
    if (auto* S = dynamic_cast<TCollectionTestItem*>(Source)) {
      Value = S->Value;
      return;
    }
    TCollectionItem::Assign(Source);
  }
  using TCollectionItem::Changed;
  int Value = 7;
  static inline int Alive = 0;
};

// An item class that cannot copy itself.
class TCollectionPlainItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
};

class TUpdateLoggingCollection : public TCollection {
 public:
  TUpdateLoggingCollection() : TCollection(&CreateCollectionItem<TCollectionTestItem>) {}
  // One entry per Update: "all" or the item's value; "partial" when the list holds an item
  // that is not yet (or no longer) whole.
  std::vector<std::string> Log;
  TCollectionTestItem* Item(Integer I) const { return static_cast<TCollectionTestItem*>(GetItem(I)); }
  std::vector<int> Values() const {
    std::vector<int> R;
    for (Integer I = 0; I < GetCount(); ++I) R.push_back(Item(I)->Value);
    return R;
  }

 protected:
  void Update(TCollectionItem* Changed) override {
    for (Integer I = 0; I < GetCount(); ++I)
      if (dynamic_cast<TCollectionTestItem*>(GetItem(I)) == nullptr) {
        Log.push_back("partial");
        return;
      }
    Log.push_back(Changed == nullptr ? "all"
                                     : std::to_string(static_cast<TCollectionTestItem*>(Changed)->Value));
  }
};

namespace {

std::string Message(auto&& F) {
  try {
    F();
  } catch (const Exception& E) {
    return std::string(E.ClassName()) + ": " + E.GetMessage();
  }
  return "no exception";
}

TEST(Collection, ItemsGetLastingIdsAndMoveByIndex) {
  TUpdateLoggingCollection C;
  for (int V : {10, 11, 12, 13}) static_cast<TCollectionTestItem*>(C.Add())->Value = V;
  EXPECT_EQ(C.Log, (std::vector<std::string>(4, "all")));  // each after its item was whole
  C.Delete(1);
  TCollectionItem* Fresh = C.Add();
  EXPECT_EQ(Fresh->GetID(), 4);  // ids are not reused
  EXPECT_EQ(C.FindItemID(2), C.GetItem(1));
  EXPECT_EQ(C.FindItemID(1), nullptr);

  C.Log.clear();
  C.Item(2)->SetIndex(0);
  EXPECT_EQ(C.Values(), (std::vector<int>{13, 10, 12, 7}));
  EXPECT_EQ(C.Item(0)->GetID(), 3);
  EXPECT_EQ(C.Item(0)->GetIndex(), 0);
  EXPECT_EQ(C.Log, (std::vector<std::string>{"all"}));
  EXPECT_EQ(Message([&] { C.Item(0)->SetIndex(4); }), "EListError: List index out of bounds (4)");
  EXPECT_EQ(Message([&] { C.GetItem(-1); }), "EListError: List index out of bounds (-1)");

  static_cast<TCollectionTestItem*>(C.Insert(1))->Value = 99;
  static_cast<TCollectionTestItem*>(C.Insert(5))->Value = 98;
  EXPECT_EQ(C.Values(), (std::vector<int>{13, 99, 10, 12, 7, 98}));
  EXPECT_EQ(Message([&] { C.Insert(7); }), "EListError: List index out of bounds (7)");
  EXPECT_EQ(C.GetCount(), 6);  // a refused insert makes no item
  EXPECT_EQ(C.Item(0)->GetDisplayName(), "TCollectionTestItem");
}

TEST(Collection, UpdatesWaitForTheLastEndUpdate) {
  TUpdateLoggingCollection C;
  C.Add();
  C.Log.clear();
  C.Item(0)->Value = 5;
  C.Item(0)->Changed(false);
  C.Item(0)->SetDisplayName("x");
  EXPECT_EQ(C.Log, (std::vector<std::string>{"5", "5"}));
  C.Log.clear();
  C.BeginUpdate();
  C.BeginUpdate();
  C.Add();
  C.Item(0)->Changed(false);
  C.Delete(0);
  C.EndUpdate();
  EXPECT_TRUE(C.Log.empty());
  C.EndUpdate();
  EXPECT_EQ(C.Log, (std::vector<std::string>{"all"}));
  C.EndUpdate();  // unmatched: updates must keep flowing
  C.Log.clear();
  C.Add();
  EXPECT_EQ(C.Log, (std::vector<std::string>{"all"}));
}

TEST(Collection, AssignCopiesItemByItem) {
  TUpdateLoggingCollection A, B;
  for (int V : {1, 2, 3}) static_cast<TCollectionTestItem*>(A.Add())->Value = V;
  B.Add();
  B.Log.clear();
  B.Assign(&A);
  EXPECT_EQ(B.Values(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(B.Log, (std::vector<std::string>{"all"}));
  A.Assign(&A);
  EXPECT_EQ(A.Values(), (std::vector<int>{1, 2, 3}));
  B.SetItem(0, A.Item(2));
  EXPECT_EQ(B.Item(0)->Value, 3);

  TCollection Plain(&CreateCollectionItem<TCollectionPlainItem>);
  Plain.Add();
  EXPECT_EQ(Message([&] { Plain.Assign(&Plain); }), "no exception");
  TCollection Other(&CreateCollectionItem<TCollectionPlainItem>);
  EXPECT_EQ(Message([&] { Other.Assign(&Plain); }),
            "EConvertError: Cannot assign a TCollectionPlainItem to a TCollectionPlainItem");
  EXPECT_EQ(Message([&] { A.Assign(B.Item(0)); }),
            "EConvertError: Cannot assign a TCollectionTestItem to a TUpdateLoggingCollection");
}

TEST(Collection, ItemsBelongToOneCollectionAndDieWithIt) {
  const int Before = TCollectionTestItem::Alive;
  TPersistent Owner;
  {
    TUpdateLoggingCollection A;
    TOwnedCollection B(&Owner, &CreateCollectionItem<TCollectionTestItem>);
    EXPECT_EQ(A.GetOwner(), nullptr);
    EXPECT_EQ(B.GetOwner(), &Owner);
    for (int I = 0; I < 3; ++I) A.Add();
    B.Add();
    TCollectionItem* Moved = A.GetItem(0);
    Moved->SetCollection(&B);
    EXPECT_EQ(Moved->GetCollection(), &B);
    EXPECT_EQ(Moved->GetIndex(), 1);
    EXPECT_EQ(Moved->GetID(), 1);  // numbered by its new collection
    EXPECT_EQ(A.GetCount(), 2);
    Moved->SetCollection(nullptr);
    EXPECT_EQ(Moved->GetIndex(), -1);
    delete Moved;  // an item without a collection is its holder's to free
    A.Clear();
    EXPECT_EQ(A.GetCount(), 0);
    for (int I = 0; I < 3; ++I) A.Add();
  }
  EXPECT_EQ(TCollectionTestItem::Alive, Before);
}

}  // namespace
