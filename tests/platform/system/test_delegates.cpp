#include <gtest/gtest.h>

#include <string>

#include "platform/system/Delegates.h"
#include "platform/system/Object.h"

namespace {

using TIntEvent = TDelegate<int(int)>;

class THandlerHost : public TObject {
 public:
  explicit THandlerHost(int Base) : FBase(Base) {}
  int AddBase(int V) { return FBase + V; }
  int TimesBase(int V) { return FBase * V; }
  int Peek(int V) const { return FBase - V; }
  virtual int Virt(int V) { return V; }

 private:
  int FBase;
};

class TOverrider : public THandlerHost {
 public:
  TOverrider() : THandlerHost(0) {}
  int Virt(int V) override { return -V; }
};

// The handler's class is the second base, so binding must adjust the object pointer.
struct TPad {
  virtual ~TPad() = default;
  int Pad = 0;
};
class TSecondBase {
 public:
  int Value = 42;
  int Get(int V) { return Value + V; }
};
class TMixed : public TPad, public TSecondBase {};

int FreeDouble(int V) {
  return 2 * V;
}

TEST(Delegates, EqualityComparesObjectAndMethod) {
  THandlerHost A(1), B(1);
  TOverrider O;
  TMixed M;
  struct TCase {
    TIntEvent L, R;
    bool Equal;
  };
  const TCase Cases[] = {
      {TIntEvent(&A, &THandlerHost::AddBase), TIntEvent(&A, &THandlerHost::AddBase), true},
      {TIntEvent(&A, &THandlerHost::AddBase), TIntEvent(&B, &THandlerHost::AddBase), false},
      {TIntEvent(&A, &THandlerHost::AddBase), TIntEvent(&A, &THandlerHost::TimesBase), false},
      {TIntEvent(&A, &THandlerHost::Peek), TIntEvent(&A, &THandlerHost::Peek), true},
      {TIntEvent(&O, &THandlerHost::Virt), TIntEvent(static_cast<THandlerHost*>(&O), &THandlerHost::Virt),
       true},
      {TIntEvent(&M, &TSecondBase::Get), TIntEvent(static_cast<TSecondBase*>(&M), &TSecondBase::Get), true},
      {TIntEvent(&FreeDouble), TIntEvent(&FreeDouble), true},
      {TIntEvent(&FreeDouble), TIntEvent(&A, &THandlerHost::AddBase), false},
      {TIntEvent(), TIntEvent(nullptr), true},
      {TIntEvent(), TIntEvent(&A, &THandlerHost::AddBase), false},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(C.L == C.R, C.Equal);
    EXPECT_EQ(C.L != C.R, !C.Equal);
  }
  TIntEvent Copy = Cases[0].L;
  EXPECT_EQ(Copy, MakeDelegate(&A, &THandlerHost::AddBase));
  EXPECT_EQ(TDelegate(&A, &THandlerHost::AddBase), Copy);  // deduced signature
}

TEST(Delegates, CallsTheBoundMethodWithAdjustedObject) {
  THandlerHost A(10);
  TOverrider O;
  TMixed M;
  EXPECT_EQ(TIntEvent(&A, &THandlerHost::AddBase)(5), 15);
  EXPECT_EQ(TIntEvent(&A, &THandlerHost::Peek)(3), 7);
  EXPECT_EQ(TIntEvent(&O, &THandlerHost::Virt)(3), -3);
  EXPECT_EQ(TIntEvent(&M, &TSecondBase::Get)(1), 43);
  TIntEvent Lambda = [](int V) { return V + 100; };
  EXPECT_EQ(Lambda(1), 101);
}

TEST(Delegates, ClearedOrEmptyDelegateIsFalseAndRefusesTheCall) {
  THandlerHost A(1);
  TIntEvent E(&A, &THandlerHost::AddBase);
  EXPECT_TRUE(E);
  E = nullptr;
  EXPECT_FALSE(E);
  EXPECT_EQ(E, nullptr);
  E = TIntEvent(&A, &THandlerHost::AddBase);
  E.Clear();
  EXPECT_FALSE(E);
  EXPECT_THROW(E(1), EInvalidOperation);
  EXPECT_FALSE(TIntEvent(static_cast<int (*)(int)>(nullptr)));
}

// A button-like holder whose click handler rebinds, or frees, the holder mid-call.
class TClickHost : public TObject {
 public:
  TNotifyEvent OnClick;
  std::string Log;
  void First(TObject*) {
    OnClick = TNotifyEvent(this, &TClickHost::Second);
    Log += "first;";
  }
  void Second(TObject*) { Log += "second;"; }
};

class TSelfFreeing : public TObject {
 public:
  TNotifyEvent OnDone;
  int* Freed = nullptr;
};

struct TFreer {
  void Done(TObject* Sender) {
    auto* Holder = static_cast<TSelfFreeing*>(Sender);
    ++*Holder->Freed;
    delete Holder;  // the delegate being called lives in the freed object
  }
};

TEST(Delegates, HandlerMayRebindOrFreeItsOwnDelegate) {
  TClickHost Host;
  Host.OnClick = TNotifyEvent(&Host, &TClickHost::First);
  Host.OnClick(&Host);
  Host.OnClick(&Host);
  EXPECT_EQ(Host.Log, "first;second;");
  EXPECT_EQ(Host.OnClick, TNotifyEvent(&Host, &TClickHost::Second));

  int Freed = 0;
  TFreer Freer;
  auto* Holder = new TSelfFreeing;
  Holder->Freed = &Freed;
  Holder->OnDone = TNotifyEvent(&Freer, &TFreer::Done);
  Holder->OnDone(Holder);
  EXPECT_EQ(Freed, 1);
}

}  // namespace
