// The events the program's windows rely on: when check and radio boxes, track bars, scroll
// bars and gauges report a change set from code.
#include <string>
#include <vector>

#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TEventRulesTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
  }
  TbsSkinCheckRadioBox* NewBox(TWinControl* Parent, const std::string& Name, bool Radio, Integer Group) {
    auto* B = NewControl<TbsSkinCheckRadioBox>(Parent, Name, 10, 10 + 30 * Parent->GetControlCount());
    B->SetRadio(Radio);
    B->SetGroupIndex(Group);
    B->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
    return B;
  }
  TForm* Form = nullptr;
  TEventLog Log;
};

TEST_F(TEventRulesTest, CheckBoxClicksOnEverySetCheckedRadioBoxOnlyWhenChecked) {
  TbsSkinCheckRadioBox* Check = NewBox(Form, "Check", false, 0);
  TbsSkinCheckRadioBox* Radio = NewBox(Form, "Radio", true, 0);
  struct TStep {
    TbsSkinCheckRadioBox* Box;
    bool Value;
    TLines Events;
  };
  const std::vector<TStep> Steps{
      {Check, true, {"Click Check"}},  {Check, true, {"Click Check"}},  // unchanged: still clicks
      {Check, false, {"Click Check"}}, {Check, false, {"Click Check"}}, {Radio, false, {}},
      {Radio, true, {"Click Radio"}},  {Radio, true, {"Click Radio"}},  {Radio, false, {}},
  };
  for (std::size_t I = 0; I < Steps.size(); ++I) {
    Steps[I].Box->SetChecked(Steps[I].Value);
    EXPECT_EQ(Log.Take(), Steps[I].Events) << "step " << I;
    EXPECT_EQ(Steps[I].Box->GetChecked(), Steps[I].Value) << "step " << I;
  }
}

TEST_F(TEventRulesTest, StateAndCheckedGoTogether) {
  TbsSkinCheckRadioBox* Box = NewBox(Form, "Box", false, 0);
  Box->SetState(cbGrayed);
  EXPECT_FALSE(Box->GetChecked());
  EXPECT_EQ(Log.Take(), TLines{"Click Box"});
  // Unchecking a grayed box keeps it grayed.
  Box->SetChecked(false);
  EXPECT_EQ(Box->GetState(), cbGrayed);
  Box->SetChecked(true);
  EXPECT_EQ(Box->GetState(), cbChecked);
  Box->SetChecked(false);
  EXPECT_EQ(Box->GetState(), cbUnchecked);
}

TEST_F(TEventRulesTest, GroupIndexUnchecksTheOthersOfTheSameParentOnly) {
  TbsSkinCheckRadioBox* R1 = NewBox(Form, "R1", true, 1);
  TbsSkinCheckRadioBox* R2 = NewBox(Form, "R2", true, 1);
  TbsSkinCheckRadioBox* C3 = NewBox(Form, "C3", false, 1);  // a check box in the same group
  TbsSkinCheckRadioBox* Z1 = NewBox(Form, "Z1", true, 0);
  TbsSkinCheckRadioBox* Z2 = NewBox(Form, "Z2", true, 0);
  auto* Other = NewControl<TbsSkinPanel>(Form, "Other", 200, 10);
  TbsSkinCheckRadioBox* R9 = NewBox(Other, "R9", true, 1);
  struct TStep {
    TbsSkinCheckRadioBox* Box;
    TLines Events;
    std::vector<bool> Checked;  // R1, R2, C3, Z1, Z2, R9
  };
  const std::vector<TStep> Steps{
      {R9, {"Click R9"}, {false, false, false, false, false, true}},
      {R1, {"Click R1"}, {true, false, false, false, false, true}},
      {C3, {"Click C3"}, {false, false, true, false, false, true}},
      // The check box unchecked by the group fires its own click; radio boxes do not.
      {R2, {"Click C3", "Click R2"}, {false, true, false, false, false, true}},
      {Z1, {"Click Z1"}, {false, true, false, true, false, true}},
      {Z2, {"Click Z2"}, {false, true, false, true, true, true}},
  };
  const std::vector<TbsSkinCheckRadioBox*> All{R1, R2, C3, Z1, Z2, R9};
  for (std::size_t I = 0; I < Steps.size(); ++I) {
    Steps[I].Box->SetChecked(true);
    EXPECT_EQ(Log.Take(), Steps[I].Events) << "step " << I;
    std::vector<bool> Got;
    for (auto* B : All) Got.push_back(B->GetChecked());
    EXPECT_EQ(Got, Steps[I].Checked) << "step " << I;
  }
}

TEST_F(TEventRulesTest, TrackBarChangesOnlyWhenTheValueDoes) {
  auto* Bar = NewControl<TbsSkinTrackBar>(Form, "Bar", 10, 10);
  Bar->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
  EXPECT_EQ(Bar->GetValue(), 50);
  struct TStep {
    const char* Op;
    Integer Arg;
    Integer Value;
    bool Change;
  };
  const std::vector<TStep> Steps{
      {"value", 50, 50, false},   {"value", 60, 60, true}, {"value", 150, 100, true},
      {"value", 100, 100, false}, {"value", -5, 0, true},  {"value", 70, 70, true},
      {"max", 40, 40, false},     {"max", 90, 40, false},  {"min", 45, 45, false},
      {"value", 44, 45, false},   {"value", 90, 90, true},
  };
  for (const TStep& S : Steps) {
    const std::string Op = S.Op;
    if (Op == "value")
      Bar->SetValue(S.Arg);
    else if (Op == "max")
      Bar->SetMaxValue(S.Arg);
    else
      Bar->SetMinValue(S.Arg);
    EXPECT_EQ(Bar->GetValue(), S.Value) << Op << " " << S.Arg;
    EXPECT_EQ(Log.Take(), S.Change ? TLines{"Change Bar"} : TLines{}) << Op << " " << S.Arg;
  }
}

TEST_F(TEventRulesTest, ScrollBarPositionClamping) {
  auto* Bar = NewControl<TbsSkinScrollBar>(Form, "Bar", 10, 10);
  Bar->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
  struct TStep {
    const char* Op;
    Integer Arg;
    Integer Position;
    bool Change;
  };
  const std::vector<TStep> Steps{
      {"pos", 0, 0, false},    {"pos", 30, 30, true},  {"pos", 500, 100, true}, {"pos", -4, 0, true},
      {"pos", 10, 10, true},   {"min", 20, 20, false}, {"pos", 5, 20, false},   {"max", 99, 20, false},
      {"page", 10, 20, false}, {"pos", 200, 90, true}, {"pos", 90, 90, false},  {"page", 20, 90, false},
      {"min", 0, 90, false},   {"pos", -1, 0, true},
  };
  for (const TStep& S : Steps) {
    const std::string Op = S.Op;
    if (Op == "pos")
      Bar->SetPosition(S.Arg);
    else if (Op == "min")
      Bar->SetMin(S.Arg);
    else if (Op == "max")
      Bar->SetMax(S.Arg);
    else
      Bar->SetPageSize(S.Arg);
    EXPECT_EQ(Bar->GetPosition(), S.Position) << Op << " " << S.Arg;
    EXPECT_EQ(Log.Take(), S.Change ? TLines{"Change Bar"} : TLines{}) << Op << " " << S.Arg;
  }
  // A page that would reach past the end is refused.
  EXPECT_EQ(Bar->GetPageSize(), 10);
  // SetRange mirrors a range without any event, even when the position moves.
  Bar->SetRange(0, 50, 80, 0);
  EXPECT_EQ(Bar->GetPosition(), 50);
  EXPECT_TRUE(Log.Take().empty());
}

TEST_F(TEventRulesTest, GaugeClampsAndShowsItsPercentage) {
  auto* Gauge = NewControl<TbsSkinGauge>(Form, "Gauge", 10, 10);
  EXPECT_EQ(Gauge->GetWidth(), 100);
  EXPECT_EQ(Gauge->GetHeight(), 20);
  Gauge->SetValue(150);
  EXPECT_EQ(Gauge->GetValue(), 100);
  Gauge->SetMaxValue(1000);
  Gauge->SetValue(250);
  EXPECT_EQ(Gauge->GetValue(), 250);
  Gauge->SetMaxValue(200);
  EXPECT_EQ(Gauge->GetValue(), 200);
  Gauge->SetMaxValue(99);
  Gauge->SetValue(33);
  Gauge->SetShowPercent(true);
  EXPECT_EQ(Gauge->ShownText(33), "33%");
  Gauge->SetShowProgressText(true);
  Gauge->SetProgressText("Loading ");
  EXPECT_EQ(Gauge->ShownText(33), "Loading 33%");
  // An empty range shows no progress and 0 per cent.
  Gauge->SetMaxValue(0);
  EXPECT_EQ(Gauge->ShownText(0), "Loading 0%");
  EXPECT_EQ(Gauge->ProgressRect(Rect(1, 1, 99, 19), 0), Rect(1, 1, 1, 19));
}

TEST_F(TEventRulesTest, ButtonDefaults) {
  auto* Button = new TbsSkinButton(Form);
  EXPECT_EQ(Button->GetWidth(), 75);
  EXPECT_EQ(Button->GetHeight(), 25);
  EXPECT_EQ(Button->GetSkinDataName(), "button");
  EXPECT_TRUE(Button->GetTabStop());
  // Check mode takes the button out of the focus order; leaving it keeps it out.
  Button->SetCheckedMode(true);
  EXPECT_EQ(Button->GetGroupIndex(), -1);
  EXPECT_FALSE(Button->GetCanFocused());
  Button->SetCheckedMode(false);
  EXPECT_EQ(Button->GetGroupIndex(), 0);
  EXPECT_FALSE(Button->GetCanFocused());
  Button->SetMargin(-2);
  EXPECT_EQ(Button->GetMargin(), -1);
}

}  // namespace
