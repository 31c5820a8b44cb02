// The pattern-type switch with its parameter table, the menu, automatic update, tube shade,
// the glass option and the shift-click that moves the pattern centre. Builds are counted by
// the finished results ResultJpeg receives, one per build; no test looks at what a generator
// drew.
#include <string>

#include "AppTestSupport.h"
#include "platform/classes/JPEGImage.h"
#include "platform/classes/Menus.h"

namespace {
Integer Builds = 0;

class TTypesTest : public TMosaicTest {
 protected:
  void SetUp() override {
    TMosaicTest::SetUp();
    ResultJpeg->OnChange = TNotifyEvent([](TObject*) { ++Builds; });
    Builds = 0;
  }
  // The user picks Type from the pattern box.
  void ChooseFromBox(Integer Type) {
    Form->PatternBox->SetItemIndex(Type);
    Form->PatternBox->OnChange(Form->PatternBox);
  }
  Integer CheckedMenuItems() const {
    Integer N = 0;
    for (TMenuItem* M : Form->PatternItems) N += M->GetChecked();
    return N;
  }
};

struct TSlider {
  const char* Label;  // nullptr: not used by the type
  Integer Min, Max, Position;
};

// The sliders every pattern type sets up, in the English texts.
const TSlider Table[10][6] = {
    {{"Deformation", -50, 100, 0}},
    {{"Size", 0, 100, 20},
     {"Pattern", 0, 100, 0},
     {"Horizontal shift", -100, 100, 0},
     {"Vertical shift", -100, 100, 0},
     {"Symmetry", 0, 100, 0}},
    {{"Deformation", -100, 100, 0},
     {"No. of spirals", 5, 100, 25},
     {"Horizontal shift", -100, 100, 0},
     {"Vertical shift", -100, 100, 0},
     {"No. of circles", 5, 50, 20}},
    {{"Size", 0, 100, 40}, {"Randomness", 0, 100, 40}, {"Size ratio", -50, 100, 0}},
    {{"Deformation", -100, 100, 0}, {"Boost", 100, 200, 100}, {"Shade", 0, 100, 30}},
    {{"Deformation", -100, 100, 0}, {"Boost", 100, 200, 100}, {"Shade", 0, 100, 30}},
    {{"Size", 0, 100, 10}, {"Coverage", 0, 100, 0}, {"Size Varation", 0, 100, 60}, {"Accuracy", 0, 100, 40}},
    {{"Outer radius", -100, 100, 90},
     {"Inner radius", -100, 100, 65},
     {"Off-set", -100, 100, 25},
     {"Rounds", 0, 100, 13},
     {"Angularity", 10, 100, 20},
     {"Size", 0, 100, 0}},
    {},
    {},
};
}  // namespace

TEST_F(TTypesTest, EachSwitchAppliesItsRowAndBuildsOnce) {
  // Every slider is moved away first, so a position the switch forgets shows. With automatic
  // update on, the positions the switch sets must not build either.
  const Integer Order[] = {5, 7, 4, 2, 1, 6, 3, 0, 8, 9};
  for (const bool AutoOn : {false, true})
    for (const Integer Type : Order) {
      SCOPED_TRACE("type " + std::to_string(Type) + (AutoOn ? " automatic" : ""));
      Form->Automatic->SetChecked(false);
      for (TbsSkinTrackBar* B : Form->TrackBarP) B->SetValue(B->GetMaxValue());
      Form->Automatic->SetChecked(AutoOn);
      Builds = 0;
      ChooseFromBox(Type);

      const bool Drawing = Type >= 8;
      EXPECT_EQ(PatternType, Type);
      EXPECT_EQ(Busy, 0);
      EXPECT_EQ(Builds, Drawing ? 0 : 1);
      for (Integer I = 0; I < 6; ++I) {
        SCOPED_TRACE("P" + std::to_string(I + 1));
        const TSlider& S = Table[Type][I];
        const bool Named = S.Label != nullptr;
        // The tubes' shade slider waits for "Tube shade", which is off.
        const bool Shown = Named && !(I == 2 && (Type == 4 || Type == 5));
        const std::string Caption = Form->LabelP[I]->GetCaption(), Expected = Named ? S.Label : "";
        // Spheres add their coverage to the P2 label when they are built.
        if (Type == 6 && I == 1)
          EXPECT_EQ(Caption.substr(0, Expected.size()), Expected);
        else
          EXPECT_EQ(Caption, Expected);
        EXPECT_EQ(Form->LabelP[I]->GetVisible(), Shown);
        EXPECT_EQ(Form->ValueP[I]->GetVisible(), Shown);
        EXPECT_EQ(Form->TrackBarP[I]->GetVisible(), Shown);
        if (!Named) continue;
        EXPECT_EQ(Form->TrackBarP[I]->GetMinValue(), S.Min);
        EXPECT_EQ(Form->TrackBarP[I]->GetMaxValue(), S.Max);
        EXPECT_EQ(Form->TrackBarP[I]->GetValue(), S.Position);
        // The boost reads 0..100.
        EXPECT_EQ(Form->ValueP[I]->GetCaption(),
                  std::to_string(S.Max == 200 ? S.Position - 100 : S.Position));
      }
      EXPECT_EQ(Form->KeepShape->GetEnabled(), Type == 1);
      EXPECT_EQ(Form->ApplyShade->GetEnabled(), Type == 4 || Type == 5);
      EXPECT_EQ(Form->GlassFX->GetEnabled(), Type == 6);
      EXPECT_EQ(Form->GlassBar->GetEnabled(), Type == 6);
      EXPECT_EQ(Form->GridShow->GetEnabled(), Type != 6);
      EXPECT_EQ(Form->WhiteGrid->GetEnabled(), Type != 6);
      EXPECT_TRUE(Form->Automatic->GetEnabled());
      EXPECT_EQ(Form->Automatic->GetChecked(), AutoOn && Type != 6 && !Drawing);
      EXPECT_EQ(Form->UpdateBtn->GetEnabled(), !Drawing);
      EXPECT_EQ(Form->GroupBox6->GetVisible(), Drawing);
      if (Drawing) {
        EXPECT_EQ(Form->Kal2x->GetVisible(), Type == 8);
        EXPECT_EQ(Form->Kal8x->GetVisible(), Type == 8);
        EXPECT_EQ(Form->GroupBox6->GetCaption(),
                  Type == 8 ? " Kaleidoscope control " : "Free drawing control");
        EXPECT_EQ(Form->Image1->OnMouseDown, TImgMouseEvent(Form.get(), &TForm1::ImageMouseDown));
        EXPECT_EQ(Form->Image1->OnMouseUp, TImgMouseEvent(Form.get(), &TForm1::ImageMouseUp));
      } else {
        EXPECT_FALSE(Form->Image1->OnMouseDown);
        EXPECT_FALSE(Form->Image1->OnMouseMove);
        EXPECT_EQ(Form->Image1->OnMouseUp, TImgMouseEvent(Form.get(), &TForm1::SelectOffsetMouseUp));
      }
      EXPECT_TRUE(Form->PatternItems[Type]->GetChecked());
      EXPECT_EQ(CheckedMenuItems(), 1);
    }
}

TEST_F(TTypesTest, TheMenuLeavesOnlyTheChosenItemChecked) {
  Form->PatternItems[9]->Click();
  EXPECT_EQ(Form->PatternBox->GetItemIndex(), 9);
  EXPECT_EQ(Builds, 0);
  Form->PatternItems[0]->Click();
  EXPECT_EQ(PatternType, 0);
  EXPECT_EQ(Form->PatternBox->GetItemIndex(), 0);
  EXPECT_TRUE(Form->PatternItems[0]->GetChecked());
  EXPECT_EQ(CheckedMenuItems(), 1);
  EXPECT_EQ(Builds, 1);
}

TEST_F(TTypesTest, AChoiceMadeWhileABuildRunsIsTakenBack) {
  Busy = 1;
  BuildRunning = 1;
  ChooseFromBox(ptSpheres);
  Form->PatternItems[ptHexagons]->Click();
  EXPECT_EQ(PatternType, ptPinch);
  EXPECT_EQ(Form->PatternBox->GetItemIndex(), ptPinch);
  EXPECT_EQ(CheckedMenuItems(), 1);
  EXPECT_TRUE(Form->PatternItems[ptPinch]->GetChecked());
  EXPECT_EQ(Busy, 1);
  Busy = 0;
  BuildRunning = 0;
  EXPECT_EQ(Builds, 0);
}

TEST_F(TTypesTest, AutoUpdateRewiresTheParameterSliders) {
  const TNotifyEvent Update(Form.get(), &TForm1::UpdateChange), Build(Form.get(), &TForm1::ChangeControl);
  Form->Automatic->SetChecked(true);
  for (TbsSkinTrackBar* B : Form->TrackBarP) {
    EXPECT_EQ(B->OnChange, Build);
    EXPECT_FALSE(B->OnLastChange);
  }
  Form->TrackBarP[0]->SetValue(70);
  EXPECT_EQ(Builds, 1);

  Form->Automatic->SetChecked(false);
  for (TbsSkinTrackBar* B : Form->TrackBarP) {
    EXPECT_EQ(B->OnChange, Update);
    EXPECT_EQ(B->OnLastChange, Build);
  }
  Form->TrackBarP[0]->SetValue(30);
  EXPECT_EQ(Builds, 1);
  EXPECT_EQ(Form->ValueP[0]->GetCaption(), "30");
  Form->TrackBarP[0]->OnLastChange(Form->TrackBarP[0]);
  EXPECT_EQ(Builds, 2);

  // The effect sliders keep their wiring in both states; two of their values lose the "%"
  // the window starts with.
  for (TbsSkinTrackBar* B : {Form->BlendBar, Form->ClipBar, Form->GlassBar}) {
    EXPECT_EQ(B->OnChange, Update);
    EXPECT_EQ(B->OnLastChange, Build);
  }
  EXPECT_EQ(Form->BlendLbl->GetCaption(), "50");
  EXPECT_EQ(Form->ClipLbl->GetCaption(), "50");
  EXPECT_EQ(Form->GlassLbl->GetCaption(), "50%");
}

TEST_F(TTypesTest, SpheresTurnAutoUpdateOffForGood) {
  Form->Automatic->SetChecked(true);
  ChooseFromBox(6);
  EXPECT_FALSE(Form->Automatic->GetChecked());
  EXPECT_FALSE(Form->GridShow->GetEnabled());
  EXPECT_FALSE(Form->WhiteGrid->GetEnabled());
  ChooseFromBox(0);
  EXPECT_TRUE(Form->GridShow->GetEnabled());
  EXPECT_TRUE(Form->WhiteGrid->GetEnabled());
  EXPECT_FALSE(Form->Automatic->GetChecked());
}

TEST_F(TTypesTest, TubeShadeShowsTheShadeSliderAndEndsWithTheTube) {
  ChooseFromBox(5);
  Form->ApplyShade->SetChecked(true);
  EXPECT_TRUE(Form->TrackBarP[2]->GetVisible());
  EXPECT_TRUE(Form->LabelP[2]->GetVisible());
  EXPECT_TRUE(Form->ValueP[2]->GetVisible());
  Form->ApplyShade->SetChecked(false);
  EXPECT_FALSE(Form->TrackBarP[2]->GetVisible());
  EXPECT_FALSE(Form->ValueP[2]->GetVisible());
  Form->ApplyShade->SetChecked(true);
  // Shade stays on from one tube to the other.
  ChooseFromBox(4);
  EXPECT_TRUE(Form->ApplyShade->GetChecked());
  EXPECT_TRUE(Form->TrackBarP[2]->GetVisible());
  ChooseFromBox(2);
  EXPECT_FALSE(Form->ApplyShade->GetChecked());
  EXPECT_FALSE(Form->ApplyShade->GetEnabled());
  EXPECT_TRUE(Form->TrackBarP[2]->GetVisible());
}

TEST_F(TTypesTest, GlassEffectSetsPatternColoursOnlyWithoutASource) {
  ChooseFromBox(6);
  Form->GlassFX->SetChecked(true);
  EXPECT_TRUE(Form->PatternColors->GetChecked());
  Form->GlassFX->SetChecked(false);
  EXPECT_FALSE(Form->PatternColors->GetChecked());

  Form->NoRim->SetChecked(false);
  LoadUniform(200, 200, Rgb(10, 20, 30));
  Builds = 0;
  Form->GlassFX->SetChecked(true);
  EXPECT_FALSE(Form->PatternColors->GetChecked());
  // The pattern-colour option builds, then the glass option once more.
  EXPECT_EQ(Builds, 2);
}

TEST_F(TTypesTest, ShiftClickMovesTheCentreOfCirclesAndTwirls) {
  const TShiftState Shift{ssShift};
  auto Click = [&](Integer ViewX, Integer ViewY, TShiftState State) {
    const TRect R = Form->Image1->CalcBitmapRect();
    Form->Image1->OnMouseUp(Form->Image1, mbLeft, State, R.Left + ViewX, R.Top + ViewY, nullptr);
  };
  const Integer ViewW = Form->Image1->GetWidth(), ViewH = Form->Image1->GetHeight();

  // No source: the view's size less 2; the pattern is never wider than the view.
  for (const Integer Type : {1, 2}) {
    SCOPED_TRACE(Type);
    ChooseFromBox(Type);
    ASSERT_LE(PatternSize, ViewW);
    Builds = 0;
    Click(3 * (ViewW - 2) / 4, (ViewH - 2) / 5, Shift);
    EXPECT_EQ(Form->TrackBarP[2]->GetValue(), 25);
    EXPECT_EQ(Form->TrackBarP[3]->GetValue(), 30);
    EXPECT_EQ(Builds, 1);
  }

  // A plain click, a shift-click with another key, or a shift-click on another type moves
  // nothing and builds nothing.
  const struct {
    Integer Type;
    TShiftState State;
  } Ignored[] = {{2, TShiftState{}}, {1, TShiftState{ssShift, ssCtrl}}, {0, Shift}, {3, Shift}};
  for (const auto& C : Ignored) {
    SCOPED_TRACE(C.Type);
    ChooseFromBox(C.Type);
    const Integer P3 = Form->TrackBarP[2]->GetValue(), P4 = Form->TrackBarP[3]->GetValue();
    Builds = 0;
    Click(10, 10, C.State);
    EXPECT_EQ(Form->TrackBarP[2]->GetValue(), P3);
    EXPECT_EQ(Form->TrackBarP[3]->GetValue(), P4);
    EXPECT_EQ(Builds, 0);
  }

  // A source 400 x 300 fits the view: 394 of 398 is 48.99 -> 49 (of 400 it would be a half,
  // rounded to 48), 88 of 298 gives 20.47 -> 20.
  Form->NoRim->SetChecked(false);
  LoadUniform(400, 300, Rgb(10, 20, 30));
  ChooseFromBox(2);
  ASSERT_LE(PatternSize, ViewW);
  Click(394, 88, Shift);
  EXPECT_EQ(Form->TrackBarP[2]->GetValue(), 49);
  EXPECT_EQ(Form->TrackBarP[3]->GetValue(), 20);

  // A source 1000 x 800: the pattern (1000 pixels) is wider than the view, so the click is
  // taken back to pattern pixels: a quarter of the view is 250 of 998 and 250 of 798.
  LoadUniform(1000, 800, Rgb(10, 20, 30));
  ChooseFromBox(1);
  ASSERT_EQ(PatternSize, 1000);
  ASSERT_LT(ViewW, 1000);
  Click(ViewW / 4, ViewH / 4, Shift);
  EXPECT_EQ(Form->TrackBarP[2]->GetValue(), -25);
  EXPECT_EQ(Form->TrackBarP[3]->GetValue(), 19);
}
