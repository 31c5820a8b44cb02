// The skinned-form component: taking over and giving back the form's window procedure, the
// skin-change walk over the form's controls.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/bsSkinCtrls.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinMenus.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

constexpr UINT WM_PROBE = WM_USER + 77;

// A form that counts the probe messages its own procedure sees.
class TProbeForm : public TForm {
 public:
  explicit TProbeForm(TComponent* AOwner) : TForm(AOwner) {}
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_PROBE) {
      ++Probes;
      Message.Result = 42;
      return;
    }
    TForm::Dispatch(Message);
  }
  Integer Probes = 0;
};

// A panel that writes down the skin protocol calls it gets.
class TLoggingPanel : public TbsSkinPanel {
 public:
  TLoggingPanel(TComponent* AOwner, TLines* Log) : TbsSkinPanel(AOwner), FLog(Log) {}
  void BeforeSkinChange() override {
    FLog->push_back("Before " + GetName());
    TbsSkinPanel::BeforeSkinChange();
  }
  void ApplySkinChange() override {
    FLog->push_back("Apply " + GetName());
    TbsSkinPanel::ApplySkinChange();
  }

 private:
  TLines* FLog;
};

// A tree view that writes down the skin changes it gets.
class TLoggingTreeView : public TbsSkinTreeView {
 public:
  TLoggingTreeView(TComponent* AOwner, TLines* Log) : TbsSkinTreeView(AOwner), FLog(Log) {}
  void ApplySkinChange() override {
    FLog->push_back("Apply " + GetName());
    TbsSkinTreeView::ApplySkinChange();
  }

 private:
  TLines* FLog;
};

class TSkinFormTest : public TSkinTest {
 protected:
  TProbeForm* NewProbeForm(const std::string& Name) {
    auto* F = new TProbeForm(nullptr);
    F->SetName(Name);
    Forms.emplace_back(F);
    return F;
  }
  TLoggingPanel* NewPanel(TWinControl* Parent, const std::string& Name) {
    auto* P = new TLoggingPanel(Parent, &Log);
    P->SetName(Name);
    P->SetParent(Parent);
    return P;
  }
  TLines Log;
};

TEST_F(TSkinFormTest, TakesOverTheWindowProcedureAndGivesItBack) {
  TProbeForm* Form = NewProbeForm("Form");
  const TWndMethod Original = Form->WindowProc;
  auto* SkinForm = new TbsSkinForm(Form);
  EXPECT_FALSE(Form->WindowProc == Original);
  EXPECT_EQ(FindSkinForm(Form), SkinForm);
  // Everything passes through unchanged, result included.
  EXPECT_EQ(SendMessage(Form->GetHandle(), WM_PROBE, 0, 0), 42);
  Form->SetCaption("Tilvarok");
  EXPECT_EQ(Form->GetCaption(), "Tilvarok");
  EXPECT_EQ(Form->Probes, 1);
  delete SkinForm;
  EXPECT_TRUE(Form->WindowProc == Original);
  EXPECT_EQ(FindSkinForm(Form), nullptr);
  EXPECT_EQ(SendMessage(Form->GetHandle(), WM_PROBE, 0, 0), 42);
  EXPECT_EQ(Form->Probes, 2);
}

TEST_F(TSkinFormTest, NeedsAFormAsOwner) {
  TComponent Owner(nullptr);
  EXPECT_THROW(new TbsSkinForm(&Owner), EInvalidCast);
}

// Writes down the components whose removal it is told of.
class TRemovalWatch : public TComponent {
 public:
  TRemovalWatch() : TComponent(nullptr) {}
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) Removed.push_back(AComponent);
  }
  std::vector<TComponent*> Removed;
};

TEST_F(TSkinFormTest, AFormDestroyedWithItsComponentStaysWhole) {
  TRemovalWatch Watch;
  auto* Form = new TForm(nullptr);
  auto* SkinForm = new TbsSkinForm(Form);
  auto* Data = new TbsSkinData(Form);
  SkinForm->SetSkinData(Data);
  SkinForm->FreeNotification(&Watch);
  Data->FreeNotification(&Watch);
  Form->Show();
  Pump();
  const HWND Handle = Form->GetHandle();
  ASSERT_TRUE(IsWindow(Handle));
  Form->BeforeDestruction();
  delete Form;
  Pump();
  // The window is gone and both components went with their form, each exactly once.
  EXPECT_FALSE(IsWindow(Handle));
  ASSERT_EQ(Watch.Removed.size(), 2u);
  EXPECT_NE(std::find(Watch.Removed.begin(), Watch.Removed.end(), SkinForm), Watch.Removed.end());
  EXPECT_NE(std::find(Watch.Removed.begin(), Watch.Removed.end(), Data), Watch.Removed.end());
}

TEST_F(TSkinFormTest, SkinChangeReachesTheControlsOfItsSkin) {
  TForm* Form = NewForm("Form");
  auto* SkinForm = new TbsSkinForm(Form);
  auto* Data = new TbsSkinData(Form);
  auto* OtherData = new TbsSkinData(Form);
  SkinForm->SetSkinData(Data);
  TLoggingPanel* Outer = NewPanel(Form, "Outer");
  TLoggingPanel* Inner = NewPanel(Outer, "Inner");
  TLoggingPanel* Foreign = NewPanel(Form, "Foreign");
  Outer->SetSkinData(Data);
  Inner->SetSkinData(Data);
  Foreign->SetSkinData(OtherData);
  Inner->SetDefaultWidth(77);
  Inner->SetWidth(40);
  Log.clear();

  Data->BroadcastSkinMessage(WM_BEFORECHANGESKINDATA);
  EXPECT_EQ(Log, (TLines{"Before Outer", "Before Inner"}));
  Log.clear();
  Data->BroadcastSkinMessage(WM_CHANGESKINDATA);
  EXPECT_EQ(Log, (TLines{"Apply Outer", "Apply Inner"}));
  // Without a part the control takes its default size.
  EXPECT_EQ(Inner->GetWidth(), 77);
  EXPECT_TRUE(Inner->PartIndex == -1);

  // Another skin's change is walked too, but only its own controls apply it.
  Log.clear();
  OtherData->BroadcastSkinMessage(WM_BEFORECHANGESKINDATA);
  EXPECT_TRUE(Log.empty());
  OtherData->BroadcastSkinMessage(WM_CHANGESKINDATA);
  EXPECT_EQ(Log, TLines{"Apply Foreign"});
}

TEST_F(TSkinFormTest, SkinChangeReachesATreeViewInAPanel) {
  TForm* Form = NewForm("Form");
  auto* SkinForm = new TbsSkinForm(Form);
  auto* Data = new TbsSkinData(Form);
  SkinForm->SetSkinData(Data);
  TLoggingPanel* Panel = NewPanel(Form, "Panel");
  Panel->SetSkinData(Data);
  auto* Tree = new TLoggingTreeView(Panel, &Log);
  Tree->SetName("Tree");
  Tree->SetParent(Panel);
  Tree->SetSkinData(Data);
  auto* ForeignTree = new TLoggingTreeView(Form, &Log);
  ForeignTree->SetName("ForeignTree");
  ForeignTree->SetParent(Form);
  ForeignTree->SetSkinData(new TbsSkinData(Form));
  Log.clear();

  Data->BroadcastSkinMessage(WM_CHANGESKINDATA);
  EXPECT_EQ(Log, (TLines{"Apply Panel", "Apply Tree"}));
  // An empty skin gives the tree its default colour back.
  EXPECT_EQ(Tree->GetColor(), Tree->DefaultColor);
}

TEST_F(TSkinFormTest, SkinEventsFire) {
  TForm* Form = NewForm("Form");
  auto* SkinForm = new TbsSkinForm(Form);
  auto* Data = new TbsSkinData(Form);
  TEventLog Events;
  SkinForm->OnChangeSkinData = TNotifyEvent(&Events, &TEventLog::Change);
  SkinForm->OnAfterChangeSkinData = TNotifyEvent(&Events, &TEventLog::LastChange);
  SkinForm->SetName("SF");
  SkinForm->SetSkinData(Data);
  EXPECT_FALSE(SkinForm->GetSkinApplied());
  Data->BroadcastSkinMessage(WM_CHANGESKINDATA);
  Data->BroadcastSkinMessage(WM_AFTERCHANGESKINDATA);
  EXPECT_EQ(Events.Take(), (TLines{"Change SF", "Change SF", "LastChange SF"}));
  // Removing the skin data clears the reference.
  delete Data;
  EXPECT_EQ(SkinForm->GetSkinData(), nullptr);
}

TEST_F(TSkinFormTest, SizeLimitsWithoutASkin) {
  TForm* Form = NewForm("Form");
  auto* SkinForm = new TbsSkinForm(Form);
  EXPECT_EQ(SkinForm->GetMinWidth(), 120);
  EXPECT_EQ(SkinForm->GetMinHeight(), 25);
  SkinForm->SetMinWidth(300);
  SkinForm->SetMinHeight(10);
  EXPECT_EQ(SkinForm->GetMinWidth(), 300);
  EXPECT_EQ(SkinForm->GetMinHeight(), 25);
  SkinForm->SetMaxWidth(640);
  EXPECT_EQ(SkinForm->GetMaxWidth(), 640);
  EXPECT_GT(SkinForm->GetMaxHeight(), 0);
  Form->SetBorderStyle(bsToolWindow);
  EXPECT_EQ(SkinForm->GetDefaultCaptionHeight(), 15);
}

// The caption bar as the screen shows it.
std::vector<DWORD> CaptionPixels(TForm* Form) {
  Application->ProcessMessages();
  const TPoint Client = Form->ClientToScreen({0, 0});
  return ScreenPixels(
      Rect(Form->GetLeft() + 4, Form->GetTop() + 4, Form->GetLeft() + Form->GetWidth() - 4, Client.Y));
}

TEST_F(TSkinFormTest, ANewCaptionShowsAtOnce) {
  TForm* Form = NewForm("Form");
  new TbsSkinForm(Form);
  Form->SetCaption("Tilvarok");
  Form->Show();
  const std::vector<DWORD> Old = CaptionPixels(Form);
  Form->SetCaption("Tilvarok - building the mosaic");
  const std::vector<DWORD> New = CaptionPixels(Form);
  EXPECT_FALSE(Old == New) << "the caption bar still shows the old title";
  // The same caption as at first: the bar looks as it did.
  Form->SetCaption("Tilvarok");
  EXPECT_TRUE(CaptionPixels(Form) == Old);
}

}  // namespace
