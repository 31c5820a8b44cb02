#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/system/Exceptions.h"
#include "platform/system/Lists.h"

namespace {

std::string ListErrorOf(const std::function<void()>& F) {
  try {
    F();
  } catch (const EListError& E) {
    return E.GetMessage();
  }
  return "no error";
}

void* P(std::intptr_t V) {
  return reinterpret_cast<void*>(V);
}
std::intptr_t V(void* Ptr) {
  return reinterpret_cast<std::intptr_t>(Ptr);
}

std::vector<std::intptr_t> Values(const TList& L) {
  std::vector<std::intptr_t> R;
  for (Integer I = 0; I < L.GetCount(); ++I) R.push_back(V(L.Get(I)));
  return R;
}

class TLoggingList : public TList {
 public:
  std::vector<std::string> Log;

 protected:
  void Notify(void* Ptr, TListNotification Action) override {
    static const char* const Names[] = {"add", "extract", "delete"};
    Log.push_back(std::string(Names[Action]) + std::to_string(V(Ptr)));
  }
};

TEST(List, IndexErrorsCarryThePlatformTexts) {
  TList L;
  EXPECT_EQ(ListErrorOf([&] { L.First(); }), "List index out of bounds (0)");
  EXPECT_EQ(ListErrorOf([&] { L.Last(); }), "List index out of bounds (-1)");
  L.Add(P(1));
  L.Add(P(2));
  struct TCase {
    std::function<void()> Call;
    const char* Message;
  };
  const TCase Cases[] = {
      {[&] { L.Get(-1); }, "List index out of bounds (-1)"},
      {[&] { L.Get(2); }, "List index out of bounds (2)"},
      {[&] { L.Put(2, nullptr); }, "List index out of bounds (2)"},
      {[&] { L.Insert(3, nullptr); }, "List index out of bounds (3)"},
      {[&] { L.Delete(2); }, "List index out of bounds (2)"},
      {[&] { L.Exchange(0, 5); }, "List index out of bounds (5)"},
      {[&] { L.Move(7, 9); }, "List index out of bounds (9)"},
      {[&] { L.Move(7, 1); }, "List index out of bounds (7)"},
      {[&] { L.SetCapacity(1); }, "List capacity out of bounds (1)"},
      {[&] { L.SetCount(-1); }, "List count out of bounds (-1)"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(ListErrorOf(C.Call), C.Message);
  EXPECT_EQ(Values(L), (std::vector<std::intptr_t>{1, 2}));  // nothing was lost
  L.Insert(2, P(3));                                         // Count itself is a valid insert position
  EXPECT_EQ(L.Last(), P(3));
}

TEST(List, EditsKeepOrderAndNotifyOnlyForNonNullPointers) {
  TLoggingList L;
  for (std::intptr_t I : {1, 2, 3, 4}) L.Add(P(I));
  L.Add(nullptr);
  L.Insert(0, P(9));
  L.Move(0, 3);
  EXPECT_EQ(Values(L), (std::vector<std::intptr_t>{1, 2, 3, 9, 4, 0}));
  L.Move(4, 1);
  L.Exchange(0, 5);
  EXPECT_EQ(Values(L), (std::vector<std::intptr_t>{0, 4, 2, 3, 9, 1}));
  L.Put(2, P(7));
  L.Put(2, P(7));  // same pointer: no notification
  EXPECT_EQ(L.Extract(P(3)), P(3));
  EXPECT_EQ(L.Extract(P(3)), nullptr);
  EXPECT_EQ(L.Remove(P(9)), 3);
  EXPECT_EQ(L.Remove(P(9)), -1);
  L.Pack();
  EXPECT_EQ(Values(L), (std::vector<std::intptr_t>{4, 7, 1}));
  L.Clear();
  EXPECT_EQ(L.Log, (std::vector<std::string>{"add1", "add2", "add3", "add4", "add9", "delete2", "add7",
                                             "extract3", "delete9", "delete1", "delete7", "delete4"}));
  EXPECT_EQ(L.GetCapacity(), 0);
  L.SetCount(3);
  EXPECT_EQ(Values(L), (std::vector<std::intptr_t>{0, 0, 0}));
}

TEST(List, SortOrdersAnyInput) {
  auto Compare = [](void* A, void* B) -> Integer { return V(A) < V(B) ? -1 : (V(A) > V(B) ? 1 : 0); };
  std::mt19937 Rng(7);
  for (int Size : {0, 1, 2, 3, 17, 1000}) {
    for (int Range : {2, 1000000}) {  // many equal keys, then nearly all distinct
      TList L;
      std::vector<std::intptr_t> Expected;
      for (int I = 0; I < Size; ++I) {
        Expected.push_back(static_cast<std::intptr_t>(Rng() % Range) + 1);
        L.Add(P(Expected.back()));
      }
      L.Sort(Compare);
      std::sort(Expected.begin(), Expected.end());
      EXPECT_EQ(Values(L), Expected) << Size << " " << Range;
    }
  }
}

class TCounted : public TObject {
 public:
  explicit TCounted(int& Alive) : FAlive(Alive) { ++FAlive; }
  ~TCounted() override { --FAlive; }

 private:
  int& FAlive;
};

TEST(ObjectList, FreesWhatItOwnsAndNothingElse) {
  int Alive = 0;
  {
    TObjectList L;
    TCounted* Kept = new TCounted(Alive);
    for (int I = 0; I < 5; ++I) L.Add(new TCounted(Alive));
    L.Add(Kept);
    L.Delete(0);
    EXPECT_EQ(Alive, 5);
    L.Remove(L.First());
    EXPECT_EQ(Alive, 4);
    L.SetItem(0, new TCounted(Alive));  // replaces and frees
    EXPECT_EQ(Alive, 4);
    EXPECT_EQ(L.Extract(Kept), Kept);  // taken out, not freed
    EXPECT_EQ(Alive, 4);
    delete Kept;
    L.Add(new TCounted(Alive));
    L.Clear();
    EXPECT_EQ(Alive, 0);
    for (int I = 0; I < 3; ++I) L.Add(new TCounted(Alive));
  }
  EXPECT_EQ(Alive, 0);  // the rest went with the list

  TCounted Outside(Alive);
  {
    TObjectList NotOwning(false);
    NotOwning.Add(&Outside);
    NotOwning.Delete(0);
    NotOwning.Add(&Outside);
  }
  EXPECT_EQ(Alive, 1);
}

TEST(ThreadList, DuplicatesFollowTheMode) {
  struct TCase {
    TDuplicates Mode;
    Integer Count;
    const char* Error;
  };
  for (const TCase& C : {TCase{dupIgnore, 1, "no error"}, TCase{dupAccept, 2, "no error"},
                         TCase{dupError, 1, "Duplicates not allowed"}}) {
    TThreadList L;
    L.SetDuplicates(C.Mode);
    L.Add(P(1));
    EXPECT_EQ(ListErrorOf([&] { L.Add(P(1)); }), C.Error);
    EXPECT_EQ(L.LockList()->GetCount(), C.Count);
    L.UnlockList();
  }
}

TEST(ThreadList, LockListKeepsOtherThreadsOut) {
  TThreadList L;
  L.SetDuplicates(dupAccept);
  // The holding thread may lock again, and Add locks too.
  TList* Held = L.LockList();
  L.LockList();
  L.Add(P(1));
  L.UnlockList();
  std::atomic<bool> Added{false};
  std::thread Other([&] {
    L.Add(P(2));
    Added = true;
  });
  EXPECT_FALSE(Added.load());
  EXPECT_EQ(Held->GetCount(), 1);
  L.UnlockList();
  Other.join();
  EXPECT_EQ(L.LockList()->GetCount(), 2);
  L.UnlockList();

  // Many writers at once: every add and remove lands.
  L.Clear();
  std::vector<std::thread> Writers;
  for (int T = 0; T < 4; ++T)
    Writers.emplace_back([&L, T] {
      for (std::intptr_t I = 1; I <= 2000; ++I) {
        L.Add(P(T * 10000 + I));
        if (I % 2 == 0) L.Remove(P(T * 10000 + I));
      }
    });
  for (std::thread& W : Writers) W.join();
  EXPECT_EQ(L.LockList()->GetCount(), 4 * 1000);
  L.UnlockList();
}

}  // namespace
