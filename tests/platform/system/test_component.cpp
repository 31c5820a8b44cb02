#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/system/ClassRegistry.h"
#include "platform/system/Component.h"
#include "platform/system/Exceptions.h"

// At file scope so that their class names carry no namespace in messages.
class TAssignSourceProbe : public TPersistent {};
class TAssignDestProbe : public TPersistent {
 public:
  int Copies = 0;
};
// Knows how to copy itself into a TAssignDestProbe (the AssignTo route).
class TAssignToProbe : public TPersistent {
 protected:
  void AssignTo(TPersistent* Dest) override {
    if (auto* D = dynamic_cast<TAssignDestProbe*>(Dest)) {
      ++D->Copies;
      return;
    }
    TPersistent::AssignTo(Dest);
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

TEST(Persistent, AssignAsksTheSourceAndNamesBothClassesOnFailure) {
  TAssignDestProbe Dest;
  TAssignToProbe Source;
  Dest.Assign(&Source);
  EXPECT_EQ(Dest.Copies, 1);
  TAssignSourceProbe Other;
  EXPECT_EQ(Message([&] { Dest.Assign(&Other); }),
            "EConvertError: Cannot assign a TAssignSourceProbe to a TAssignDestProbe");
  EXPECT_EQ(Message([&] { Dest.Assign(nullptr); }),
            "EConvertError: Cannot assign a nil to a TAssignDestProbe");
}

// Records notifications, Loaded and destruction into a shared log.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* AOwner, const std::string& AName, std::vector<std::string>& ALog)
      : TComponent(AOwner), Log(ALog) {
    SetName(AName);
  }
  ~TProbe() override {
    Log.push_back("~" + GetName() + (GetComponentState().Contains(csDestroying) ? "" : "(not marked)"));
  }
  using TComponent::SetLoading;
  TComponent* Watched = nullptr;
  std::vector<std::string>& Log;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    Log.push_back(GetName() + (Operation == opInsert ? ":ins:" : ":rem:") + AComponent->GetName());
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Watched) Watched = nullptr;
  }
  void Loaded() override {
    Log.push_back("loaded " + GetName());
    TComponent::Loaded();
  }
};

class ComponentTest : public ::testing::Test {
 protected:
  std::vector<std::string> Log;
  TProbe* Make(TComponent* Owner, const std::string& Name) { return new TProbe(Owner, Name, Log); }
};

TEST_F(ComponentTest, OwnerDeletesItsComponentsLastFirstAndMarksThemDestroying) {
  TProbe* Form = Make(nullptr, "Form");
  Make(Form, "A");
  Make(Form, "B");
  Make(Form, "C");
  Log.clear();
  Form->Destroying();  // as the platform does before any destructor runs
  delete Form;
  EXPECT_EQ(Log, (std::vector<std::string>{"~Form", "~C", "~B", "~A"}));
}

TEST_F(ComponentTest, InsertAndRemoveAreAnnouncedToOwnerThenSiblingsLastFirst) {
  TProbe* Form = Make(nullptr, "Form");
  TProbe* A = Make(Form, "A");
  TProbe* B = Make(Form, "B");
  Log.clear();
  // The new component is still being built: only the owner and the earlier siblings log.
  TProbe* C = Make(Form, "C");
  EXPECT_EQ(Log, (std::vector<std::string>{"Form:ins:", "B:ins:", "A:ins:"}));
  EXPECT_EQ(C->GetOwner(), Form);
  EXPECT_EQ(C->GetComponentIndex(), 2);

  Log.clear();
  delete B;
  EXPECT_EQ(Log, (std::vector<std::string>{"~B(not marked)", "Form:rem:B", "C:rem:B", "A:rem:B"}));
  EXPECT_EQ(Form->GetComponentCount(), 2);
  EXPECT_EQ(Form->GetComponent(1), C);

  Log.clear();
  Form->RemoveComponent(A);
  EXPECT_EQ(Log, (std::vector<std::string>{"Form:rem:A", "C:rem:A", "A:rem:A"}));
  EXPECT_EQ(A->GetOwner(), nullptr);
  EXPECT_EQ(A->GetComponentIndex(), -1);
  delete A;
  delete Form;
}

TEST_F(ComponentTest, FreeNotificationLinksBothWays) {
  for (bool FreeTargetFirst : {true, false}) {
    TProbe* Button = Make(nullptr, "Button");
    TProbe* Skin = Make(nullptr, "Skin");
    Button->Watched = Skin;
    Skin->FreeNotification(Button);
    Log.clear();
    if (FreeTargetFirst) {
      delete Skin;
      EXPECT_EQ(Log, (std::vector<std::string>{"~Skin(not marked)", "Button:rem:Skin"}));
      EXPECT_EQ(Button->Watched, nullptr);
      delete Button;  // must not call the freed Skin
    } else {
      delete Button;
      EXPECT_EQ(Log, (std::vector<std::string>{"~Button(not marked)", "Skin:rem:Button"}));
      delete Skin;
    }
  }
  TProbe* X = Make(nullptr, "X");
  TProbe* Y = Make(nullptr, "Y");
  X->FreeNotification(Y);
  X->RemoveFreeNotification(Y);
  Log.clear();
  delete X;
  delete Y;
  EXPECT_EQ(Log, (std::vector<std::string>{"~X(not marked)", "~Y(not marked)"}));
}

TEST_F(ComponentTest, WatchedSiblingIsAnnouncedWhenTheOwnerGoes) {
  // Siblings hear through their owner: the watched one leaves with a notice, others quietly.
  TProbe* Form = Make(nullptr, "Form");
  TProbe* Button = Make(Form, "Button");
  TProbe* Skin = Make(Form, "Skin");
  Button->Watched = Skin;
  Skin->FreeNotification(Button);
  EXPECT_TRUE(Skin->GetComponentState().Contains(csFreeNotification));
  EXPECT_FALSE(Button->GetComponentState().Contains(csFreeNotification));
  Log.clear();
  Form->Destroying();
  delete Form;
  EXPECT_EQ(Log, (std::vector<std::string>{"~Form", "Skin:rem:Skin", "Button:rem:Skin", "~Skin", "~Button"}));
}

TEST_F(ComponentTest, NamesAreIdentifiersUniqueWithoutCase) {
  TProbe* Form = Make(nullptr, "Form");
  TProbe* A = Make(Form, "Button1");
  TProbe* B = Make(Form, "");
  struct TCase {
    const char* Name;
    const char* Error;
  };
  const TCase Cases[] = {
      {"_x9", ""},
      {"", ""},
      {"1abc", "EComponentError: '1abc' is not a valid component name"},
      {"a b", "EComponentError: 'a b' is not a valid component name"},
      {"caf\xc3\xa9", "EComponentError: 'caf\xc3\xa9' is not a valid component name"},
      {"BUTTON1", "EComponentError: A component named BUTTON1 already exists"},
  };
  for (const TCase& C : Cases) {
    const std::string Before = B->GetName();
    const std::string Got = Message([&] { B->SetName(C.Name); });
    if (*C.Error == 0) {
      EXPECT_EQ(Got, "no exception") << C.Name;
      EXPECT_EQ(B->GetName(), C.Name);
    } else {
      EXPECT_EQ(Got, C.Error);
      EXPECT_EQ(B->GetName(), Before);
    }
  }
  A->SetName("BUTTON1");  // a change of case only is no clash with itself
  EXPECT_EQ(Form->FindComponent("button1"), A);
  EXPECT_EQ(Form->FindComponent(""), nullptr);
  EXPECT_EQ(Form->FindComponent("Nothing"), nullptr);
  EXPECT_EQ(Message([&] { Form->GetComponent(2); }), "EListError: List index out of bounds (2)");
  delete Form;
}

TEST_F(ComponentTest, ComponentIndexClampsAndInsertMovesBetweenOwners) {
  TProbe* Form = Make(nullptr, "Form");
  TProbe* Panel = Make(nullptr, "Panel");
  TProbe* A = Make(Form, "A");
  TProbe* B = Make(Form, "B");
  TProbe* C = Make(Form, "C");
  C->SetComponentIndex(-5);
  EXPECT_EQ(Form->GetComponent(0), C);
  C->SetComponentIndex(99);
  EXPECT_EQ(Form->GetComponent(2), C);

  Log.clear();
  Panel->InsertComponent(B);
  EXPECT_EQ(Log, (std::vector<std::string>{"Form:rem:B", "C:rem:B", "B:rem:B", "A:rem:B", "Panel:ins:B",
                                           "B:ins:B"}));
  EXPECT_EQ(B->GetOwner(), Panel);
  EXPECT_EQ(Form->GetComponentCount(), 2);

  // No cycles, no name clashes; a refused insert leaves B where it was.
  EXPECT_EQ(Message([&] { B->InsertComponent(Panel); }),
            "EComponentError: A component cannot own itself or one of its owners");
  TProbe* Clash = Make(nullptr, "a");
  EXPECT_EQ(Message([&] { Form->InsertComponent(Clash); }),
            "EComponentError: A component named a already exists");
  EXPECT_EQ(Clash->GetOwner(), nullptr);
  delete Clash;
  (void)A;
  delete Panel;
  delete Form;
}

TEST_F(ComponentTest, LoadedAllEndsLoadingRootFirstThenInCreationOrder) {
  TProbe* Form = Make(nullptr, "Form");
  TProbe::SetLoading(Form, true);
  TProbe* A = Make(Form, "A");
  TProbe* Inner = Make(Form, "Inner");  // built by A, not read: never loading
  TProbe* B = Make(Form, "B");
  TProbe::SetLoading(A, true);
  TProbe::SetLoading(B, true);
  Log.clear();
  TComponent::LoadedAll(Form);
  EXPECT_EQ(Log, (std::vector<std::string>{"loaded Form", "loaded A", "loaded B"}));
  for (TComponent* C : {static_cast<TComponent*>(Form), static_cast<TComponent*>(A),
                        static_cast<TComponent*>(B), static_cast<TComponent*>(Inner)})
    EXPECT_FALSE(C->GetComponentState().Contains(csLoading));
  delete Form;
}

class TRegistered : public TPersistent {};
class TRegisteredComponent : public TComponent {
 public:
  using TComponent::TComponent;
};

TEST(ClassRegistry, FindsRegisteredClassesByExactName) {
  RegisterClass<TRegistered>("TRegistered");
  RegisterClass<TRegisteredComponent>("TRegisteredComponent");
  RegisterClass<TRegistered>("TRegistered");  // again: no error
  EXPECT_THROW(RegisterClass<TRegisteredComponent>("TRegistered"), EStreamError);

  TComponent Owner(nullptr);
  TPersistent* P = FindClass("TRegisteredComponent")(&Owner);
  ASSERT_NE(dynamic_cast<TRegisteredComponent*>(P), nullptr);
  EXPECT_EQ(static_cast<TComponent*>(P)->GetOwner(), &Owner);
  std::unique_ptr<TPersistent> Plain(GetClass("TRegistered")(nullptr));
  EXPECT_NE(dynamic_cast<TRegistered*>(Plain.get()), nullptr);

  EXPECT_EQ(GetClass("tregistered"), nullptr);
  UnRegisterClass("TRegistered");
  EXPECT_EQ(GetClass("TRegistered"), nullptr);
  EXPECT_EQ(Message([] { FindClass("TRegistered"); }), "EClassNotFound: Class TRegistered not found");
  UnRegisterClass("TRegisteredComponent");
}

}  // namespace
