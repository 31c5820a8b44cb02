// What the windowed and windowless controls do alike because they share one base: binding a
// part and fitting its size, ignoring an empty skin, forgetting components that go, the glyph
// properties of the push and tool buttons, and the wheel of the focusable bars.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsSkinData.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

template <class TControlType>
class TSharedBaseTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Control = NewControl<TControlType>(Form, "Control", 10, 10);
  }
  // A skin with one fixed-size part of 30 x 20 under the control's part name.
  TbsSkinData* NewSkinWithFixedPart() {
    auto* Data = new TbsSkinData(Form);
    auto Picture = std::make_unique<TBitmap>();
    Picture->SetSize(30, 20);
    Data->ActivePictures.push_back(std::move(Picture));
    auto Part = std::make_unique<TbsDataSkinCustomControl>(Control->GetSkinDataName());
    Part->SkinRect = Rect(0, 0, 30, 20);
    Part->ClientRect = Rect(2, 2, 28, 18);
    Part->PictureIndex = 0;
    Data->SkinControls.push_back(std::move(Part));
    Data->Empty = false;
    return Data;
  }
  TForm* Form = nullptr;
  TControlType* Control = nullptr;
};

// A windowed and a windowless control, each on both shared layers and the glyph properties.
using TBothBases = ::testing::Types<TbsSkinButton, TbsSkinSpeedButton>;
TYPED_TEST_SUITE(TSharedBaseTest, TBothBases);

TYPED_TEST(TSharedBaseTest, AFixedPartFixesTheSizeUntilTheSkinGoes) {
  auto* C = this->Control;
  C->SetDefaultWidth(60);
  C->SetDefaultHeight(40);
  C->SetSkinData(this->NewSkinWithFixedPart());
  EXPECT_EQ(C->PartIndex, 0);
  EXPECT_EQ(C->GetWidth(), 30);
  EXPECT_EQ(C->GetHeight(), 20);
  EXPECT_EQ(C->NewClientRect, Rect(2, 2, 28, 18));
  // The part keeps its size against any other.
  C->SetBounds(10, 10, 100, 50);
  EXPECT_EQ(C->GetWidth(), 30);
  EXPECT_EQ(C->GetHeight(), 20);

  // Without the skin the control returns to its default size.
  delete C->GetSkinData();
  EXPECT_EQ(C->GetSkinData(), nullptr);
  C->BeforeSkinChange();
  EXPECT_EQ(C->PartIndex, -1);
  C->ApplySkinChange();
  EXPECT_EQ(C->GetWidth(), 60);
  EXPECT_EQ(C->GetHeight(), 40);
  C->SetBounds(10, 10, 100, 50);
  EXPECT_EQ(C->GetWidth(), 100);
}

TYPED_TEST(TSharedBaseTest, AnEmptySkinIsBoundButNotApplied) {
  auto* C = this->Control;
  C->SetDefaultWidth(40);
  EXPECT_EQ(C->GetWidth(), 40);
  C->SetWidth(90);
  auto* Data = new TbsSkinData(this->Form);
  C->SetSkinData(Data);
  EXPECT_EQ(C->GetSkinData(), Data);
  EXPECT_EQ(C->GetWidth(), 90);
  C->ApplySkinChange();
  EXPECT_EQ(C->PartIndex, -1);
  EXPECT_EQ(C->GetWidth(), 40);
}

TYPED_TEST(TSharedBaseTest, GlyphPropertiesAndTheImageListThatGoes) {
  auto* C = this->Control;
  auto* List = new TImageList(this->Form);
  C->SetImageList(List);
  EXPECT_EQ(C->GetImageList(), List);
  delete List;
  EXPECT_EQ(C->GetImageList(), nullptr);

  C->SetMargin(5);
  C->SetMargin(-2);
  EXPECT_EQ(C->GetMargin(), 5);
  C->SetMargin(-1);
  EXPECT_EQ(C->GetMargin(), -1);

  TBitmap Glyph;
  Glyph.SetSize(32, 16);
  C->SetGlyph(&Glyph);
  C->SetNumGlyphs(2);
  EXPECT_EQ(C->GetGlyph()->GetWidth(), 32);
  EXPECT_NE(C->GetGlyph(), &Glyph);
  EXPECT_EQ(C->GetNumGlyphs(), 2);
}

TYPED_TEST(TSharedBaseTest, AllUpAndCheckedButtonsToggleWithEachClick) {
  this->Form->Show();
  TEventLog Log;
  auto* AllUp = this->Control;
  AllUp->SetGroupIndex(1);
  AllUp->SetAllowAllUp(true);
  auto* Checked = this->template NewControl<TypeParam>(this->Form, "Checked", 10, 60);
  Checked->SetCheckedMode(true);
  for (auto* B : {AllUp, Checked}) B->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  this->Pump();
  for (auto* B : {AllUp, Checked}) {
    this->ClickAt(B, 10, 10);
    EXPECT_TRUE(B->GetDown()) << B->GetName();
    this->ClickAt(B, 10, 10);
    EXPECT_FALSE(B->GetDown()) << B->GetName();
  }
  EXPECT_EQ(Log.Take(), (TLines{"Click Control", "Click Control", "Click Checked", "Click Checked"}));
}

using TButtonGroupTest = TSkinTest;

TEST_F(TButtonGroupTest, PushAndToolButtonsOfOneGroupNumberAreSeparateGroups) {
  TForm* Form = NewForm("Form");
  auto* Push = NewControl<TbsSkinButton>(Form, "Push", 10, 10);
  auto* Tool = NewControl<TbsSkinSpeedButton>(Form, "Tool", 10, 60);
  auto* OtherTool = NewControl<TbsSkinSpeedButton>(Form, "OtherTool", 60, 60);
  Push->SetGroupIndex(1);
  Tool->SetGroupIndex(1);
  OtherTool->SetGroupIndex(1);
  Push->SetDown(true);
  Tool->SetDown(true);
  EXPECT_TRUE(Push->GetDown());
  OtherTool->SetDown(true);
  EXPECT_FALSE(Tool->GetDown());
  EXPECT_TRUE(Push->GetDown());
}

TEST(TGlyphDefaults, APushButtonStartsWithoutAnImageAToolButtonWithTheFirst) {
  TbsSkinButton Button(nullptr);
  TbsSkinSpeedButton ToolButton(nullptr);
  EXPECT_EQ(Button.GetImageIndex(), -1);
  EXPECT_EQ(ToolButton.GetImageIndex(), 0);
  EXPECT_EQ(Button.GetLayout(), blGlyphLeft);
  EXPECT_EQ(ToolButton.GetSpacing(), 1);
}

class TBarWheelTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Form->Show();
    Pump();
  }
  TForm* Form = nullptr;
};

TEST_F(TBarWheelTest, TheFocusedBarStepsWithTheWheelAnUnfocusedOneDoesNot) {
  struct TCase {
    const char* Bar;
    Integer Delta;
    Integer Expected;
  };
  // Turning the wheel away (positive delta) raises a vertical track bar, lowers a horizontal
  // one, and moves a scroll bar back by its small change.
  const std::vector<TCase> Cases{
      {"htrack", 120, 49},  {"htrack", -120, 51}, {"vtrack", 120, 51},
      {"vtrack", -120, 49}, {"scroll", 120, 47},  {"scroll", -120, 53},
  };
  for (const TCase& K : Cases) {
    const std::string Kind = K.Bar;
    TWinControl* Bar = nullptr;
    std::function<Integer()> Value;
    if (Kind == "scroll") {
      auto* S = NewControl<TbsSkinScrollBar>(Form, "Scroll", 10, 10);
      S->SetCanFocused(true);
      S->SetSmallChange(3);
      S->SetPosition(50);
      Bar = S;
      Value = [S] { return S->GetPosition(); };
    } else {
      auto* T = NewControl<TbsSkinTrackBar>(Form, "Track", 10, 10);
      T->SetCanFocused(true);
      T->SetVertical(Kind == "vtrack");
      T->SetValue(50);
      Bar = T;
      Value = [T] { return T->GetValue(); };
    }
    auto* Other = NewControl<TbsSkinButton>(Form, "Other", 10, 200);
    Other->SetFocus();
    Pump();
    ScriptWheel(K.Delta);
    Pump();
    EXPECT_EQ(Value(), 50) << Kind << " unfocused " << K.Delta;
    Bar->SetFocus();
    Pump();
    ScriptWheel(K.Delta);
    Pump();
    EXPECT_EQ(Value(), K.Expected) << Kind << " " << K.Delta;
    delete Other;
    delete Bar;
  }
}

}  // namespace
