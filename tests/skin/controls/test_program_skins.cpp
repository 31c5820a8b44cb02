// A form with one of each button, panel and bar cycles through the program's eight skins and
// back to none: every control binds its part in each skin, takes a size its part accepts, and
// paints; without a skin each shows its default look again.
#include <memory>
#include <string>
#include <vector>

#include "platform/system/Streams.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsSkinDataProgramSkins.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TProgramSkinsTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 20, 20, 700, 400);
    Form->Show();
    Skin = new TbsSkinData(Form);
    auto* Bar = Add<TbsSkinToolBar>(Form, "Bar", 0, 0);
    Bar->SetBounds(0, 0, 500, 40);
    Add<TbsSkinSpeedButton>(Bar, "Tool", 4, 0);
    Add<TbsSkinMenuSpeedButton>(Bar, "ToolMenu", 40, 0);
    Bevels.push_back(Add<TbsSkinBevel>(Bar, "Bevel", 90, 0));
    Add<TbsSkinButton>(Form, "Button", 10, 60);
    Add<TbsSkinMenuButton>(Form, "MenuButton", 100, 60);
    Add<TbsSkinPanel>(Form, "Panel", 10, 100)->SetBounds(10, 100, 200, 120);
    Add<TbsSkinGroupBox>(Form, "Group", 220, 100)->SetBounds(220, 100, 200, 120);
    Add<TbsSkinPaintPanel>(Form, "Paint", 430, 100)->SetBounds(430, 100, 120, 120);
    auto* Status = Add<TbsSkinStatusBar>(Form, "Status", 0, 0);
    Status->SetSizeGrip(true);
    Pump();
  }
  template <class T>
  T* Add(TWinControl* Parent, const std::string& Name, Integer X, Integer Y) {
    T* C = NewControl<T>(Parent, Name, X, Y);
    if constexpr (std::is_base_of_v<TControl, T> && !std::is_same_v<T, TbsSkinBevel>) {
      if (auto* S = dynamic_cast<TbsSkinControl*>(static_cast<TControl*>(C))) Windowed.push_back(S);
      if (auto* G = dynamic_cast<TbsGraphicSkinControl*>(static_cast<TControl*>(C))) Graphic.push_back(G);
    }
    return C;
  }
  void Load(const TbsProgramSkin& S) {
    for (auto* C : Windowed) C->BeforeSkinChange();
    for (auto* C : Graphic) C->BeforeSkinChange();
    TbsCompressedStoredSkin Stored(nullptr);
    TMemoryStream M;
    M.WriteBuffer(S.Data, static_cast<Integer>(S.Size));
    Stored.ReadCompressedSkinStream(&M);
    Skin->LoadStoredSkin(&Stored);
    Apply();
  }
  void Apply() {
    for (auto* C : Windowed) C->SetSkinData(Skin), C->ApplySkinChange();
    for (auto* C : Graphic) C->SetSkinData(Skin), C->ApplySkinChange();
    for (auto* B : Bevels) B->SetSkinData(Skin);
    Pump();
  }
  // A size the part accepts is left alone by fitting.
  template <class T>
  void ExpectFitted(T* C, const std::string& SkinName) {
    Integer W = C->GetWidth(), H = C->GetHeight();
    C->FitPartToSize(W, H);
    EXPECT_EQ(W, C->GetWidth()) << SkinName << " " << C->GetName();
    EXPECT_EQ(H, C->GetHeight()) << SkinName << " " << C->GetName();
  }
  TForm* Form = nullptr;
  TbsSkinData* Skin = nullptr;
  std::vector<TbsSkinControl*> Windowed;
  std::vector<TbsGraphicSkinControl*> Graphic;
  std::vector<TbsSkinBevel*> Bevels;
};

TEST_F(TProgramSkinsTest, EveryControlBindsItsPartInEachSkinAndLetsGoWithout) {
  ASSERT_EQ(ProgramSkins().size(), 8u);
  for (const TbsProgramSkin& S : ProgramSkins()) {
    Load(S);
    for (auto* C : Windowed) {
      EXPECT_NE(C->PartIndex, -1) << S.Name << " " << C->GetName() << " " << C->GetSkinDataName();
      if (auto* Custom = dynamic_cast<TbsSkinCustomControl*>(C)) ExpectFitted(Custom, S.Name);
    }
    for (auto* C : Graphic) {
      EXPECT_NE(C->PartIndex, -1) << S.Name << " " << C->GetName() << " " << C->GetSkinDataName();
      if (auto* Custom = dynamic_cast<TbsGraphicSkinCustomControl*>(C)) ExpectFitted(Custom, S.Name);
    }
    for (auto* B : Bevels) EXPECT_NE(B->PartIndex, -1) << S.Name;
  }
  // Back to no skin: every control draws its default look at its default size.
  for (auto* C : Windowed) C->BeforeSkinChange();
  for (auto* C : Graphic) C->BeforeSkinChange();
  Skin->Empty = true;
  Apply();
  for (auto* C : Windowed) EXPECT_EQ(C->PartIndex, -1) << C->GetName();
  for (auto* C : Graphic) EXPECT_EQ(C->PartIndex, -1) << C->GetName();
  for (auto* B : Bevels) EXPECT_EQ(B->LightColor, clBtnHighlight);
}

}  // namespace
