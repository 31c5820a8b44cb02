// The skinned edit and the spin edit: text changes, the numeric value model and its clamping,
// key filtering, steps from the buttons, and the unskinned look.
#include <string>
#include <vector>

#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TEditsTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Form->Show();
    Pump();
  }
  // Focuses the control's window with a click and types.
  void TypeInto(TControl* C, const std::string& Text) {
    ClickAt(C, 5, C->GetHeight() / 2);
    ScriptKeyPress(VK_END);
    ScriptType(Text);
    Pump();
  }
  TForm* Form = nullptr;
  TEventLog Log;
};

struct TValueLog {
  std::vector<double> Values;
  TbsSkinSpinEdit* Spin = nullptr;
  double Nested = -1;
  void Change(TObject*) {
    Values.push_back(Spin->GetValue());
    if (Nested >= 0) {
      const double V = Nested;
      Nested = -1;
      Spin->SetValue(V);
    }
  }
};

TEST_F(TEditsTest, EditChangesOnEveryTextChange) {
  auto* Edit = NewControl<TbsSkinEdit>(Form, "Edit", 20, 20);
  Edit->SetWidth(150);
  Edit->SetDefaultColor(clYellow);
  Edit->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
  Pump();
  // A one-line edit without a skin is 6 pixels taller than its font's text.
  EXPECT_EQ(Edit->GetHeight(), 20);
  Edit->SetHeight(50);
  EXPECT_EQ(Edit->GetHeight(), 20);
  Edit->SetText("abc");
  EXPECT_EQ(Log.Take(), TLines{"Change Edit"});
  TypeInto(Edit, "de");
  EXPECT_EQ(Edit->GetText(), "abcde");
  EXPECT_EQ(Log.Take(), (TLines{"Change Edit", "Change Edit"}));
  // The background of the unskinned look is the default colour inside a shadow frame (the
  // frame lies outside the client area, 2 pixels wide).
  EXPECT_EQ(PixelAt(Edit, -2, -2), ScreenColor(clBtnShadow));
  EXPECT_EQ(PixelAt(Edit, -1, 5), ScreenColor(clBtnFace));
  EXPECT_EQ(PixelAt(Edit, 140, 10), ScreenColor(clYellow));
}

TEST_F(TEditsTest, ReadOnlyBlocksTypingAndEnterReachesTheDefaultButton) {
  auto* Edit = NewControl<TbsSkinEdit>(Form, "Edit", 20, 20);
  Edit->SetWidth(150);
  auto* OK = NewControl<TbsSkinButton>(Form, "OK", 20, 60);
  OK->SetDefault(true);
  OK->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  Edit->SetText("keep");
  Edit->SetReadOnly(true);
  Pump();
  TypeInto(Edit, "xyz");
  EXPECT_EQ(Edit->GetText(), "keep");
  ScriptKeyPress(VK_DELETE);
  ScriptKeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(Edit->GetText(), "keep");
  EXPECT_EQ(Log.Take(), TLines{"Click OK"});
}

TEST_F(TEditsTest, NumericEditorRefusesWhatCannotFormANumber) {
  auto* Edit = NewControl<TbsSkinNumEdit>(Form, "Num", 20, 20);
  struct TCase {
    const char* Text;
    char Key;
    bool Float;
    bool EditorEnabled;
    bool Valid;
  };
  const std::vector<TCase> Cases{
      {"", '5', false, true, true},    {"", 'a', false, true, false},  {"1", '-', false, true, true},
      {"-1", '-', false, true, false}, {"1", '.', false, true, false}, {"1", '.', true, true, true},
      {"1.5", '.', true, true, false}, {"1", 8, false, true, true},    {"1", 8, false, false, false},
      {"1", '7', false, false, false}, {"1", 3, false, false, true},   {"1", 13, false, true, false},
  };
  for (const TCase& C : Cases) {
    Edit->SetText(C.Text);
    Edit->FloatInput = C.Float;
    Edit->EditorEnabled = C.EditorEnabled;
    EXPECT_EQ(Edit->IsValidChar(C.Key), C.Valid) << "'" << C.Text << "' + " << static_cast<int>(C.Key);
  }
}

TEST_F(TEditsTest, SpinValueClampsAndAlwaysReportsOnce) {
  auto* Spin = NewControl<TbsSkinSpinEdit>(Form, "Spin", 20, 20);
  TValueLog V{{}, Spin};
  Spin->OnChange = TNotifyEvent(&V, &TValueLog::Change);
  EXPECT_EQ(Spin->GetWidth(), 120);
  EXPECT_EQ(Spin->GetEditor()->GetText(), "0");
  // Equal limits mean no limits.
  Spin->SetValue(-250);
  EXPECT_EQ(Spin->GetValue(), -250);
  Spin->SetMaxValue(100);
  Spin->SetMinValue(5);
  Spin->SetIncrement(2);
  EXPECT_EQ(Spin->GetValue(), 5);
  V.Values.clear();
  struct TStep {
    double Set, Value;
    const char* Text;
  };
  const std::vector<TStep> Steps{
      {20, 20, "20"}, {20, 20, "20"}, {150, 100, "100"}, {-3, 5, "5"}, {20.5, 20.5, "20"}};
  for (const TStep& S : Steps) {
    Spin->SetValue(S.Set);
    EXPECT_EQ(Spin->GetValue(), S.Value) << S.Set;
    EXPECT_EQ(Spin->GetEditor()->GetText(), S.Text) << S.Set;
  }
  // OnChange on every call, also when the value stays.
  EXPECT_EQ(V.Values, (std::vector<double>{20, 20, 100, 5, 20.5}));
  // A value set from inside OnChange shows but reports nothing more.
  V.Values.clear();
  V.Nested = 30;
  Spin->SetValue(10);
  EXPECT_EQ(V.Values, std::vector<double>{10});
  EXPECT_EQ(Spin->GetValue(), 30);
  EXPECT_EQ(Spin->GetEditor()->GetText(), "30");
}

TEST_F(TEditsTest, SpinValueTypes) {
  auto* Spin = NewControl<TbsSkinSpinEdit>(Form, "Spin", 20, 20);
  Spin->SetValueType(vtFloat);
  Spin->SetValue(1.5);
  EXPECT_EQ(Spin->GetEditor()->GetText(), "1.50");
  Spin->SetIncrement(0.4);
  Spin->SetValueType(vtInteger);
  EXPECT_EQ(Spin->GetIncrement(), 1);
  Spin->SetValueType(vtFloat);
  Spin->SetIncrement(2.5);
  Spin->SetValueType(vtInteger);
  EXPECT_EQ(Spin->GetIncrement(), 2);
}

TEST_F(TEditsTest, TypingIntoTheSpinEdit) {
  auto* Spin = NewControl<TbsSkinSpinEdit>(Form, "Spin", 20, 20);
  auto* Other = NewControl<TbsSkinEdit>(Form, "Other", 20, 80);
  Spin->SetMinValue(5);
  Spin->SetMaxValue(100);
  Spin->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
  Pump();
  Log.Take();
  // Beyond the maximum: once taken (Enter), the text becomes the maximum.
  Spin->GetEditor()->SetText("");
  TypeInto(Spin->GetEditor(), "150");
  ScriptKeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(Spin->GetValue(), 100);
  EXPECT_EQ(Spin->GetEditor()->GetText(), "100");
  // Below a positive minimum the typing is left alone; leaving shows the value.
  Spin->GetEditor()->SetText("");
  TypeInto(Spin->GetEditor(), "3");
  ScriptKeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(Spin->GetEditor()->GetText(), "3");
  EXPECT_EQ(Spin->GetValue(), 5);
  ClickAt(Other, 5, 5);
  EXPECT_EQ(Spin->GetEditor()->GetText(), "5");
  // Text that is no number changes nothing.
  const double Before = Spin->GetValue();
  for (const char* Bad : {"-", "1-", "--2", ""}) {
    Spin->GetEditor()->SetText(Bad);
    Wait(TbsSkinSpinEdit::TypingPause);
    EXPECT_EQ(Spin->GetValue(), Before) << Bad;
  }
}

TEST_F(TEditsTest, SpinButtonsStepOnReleaseAndRepeatWhileHeld) {
  auto* Spin = NewControl<TbsSkinSpinEdit>(Form, "Spin", 20, 20);
  Spin->SetMaxValue(100);
  Spin->OnUpButtonClick = TNotifyEvent(&Log, &TEventLog::Click);
  Pump();
  const TRect Up = Spin->GetButton(0).Rect;
  ClickAt(Spin, Up.Left + 3, Up.Top + 3);
  EXPECT_EQ(Spin->GetValue(), 1);
  EXPECT_EQ(Log.Take(), TLines{"Click Spin"});
  // Held: the first repeated step after 600 ms, then one every 100 ms, plus the release.
  MoveAt(Spin, Up.Left + 3, Up.Top + 3);
  ScriptButton(true);
  Pump();
  Wait(590);
  EXPECT_EQ(Spin->GetValue(), 1);
  Wait(20);
  EXPECT_EQ(Spin->GetValue(), 2);
  Wait(200);
  EXPECT_EQ(Spin->GetValue(), 4);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Spin->GetValue(), 5);
  // Only the release step reports the button.
  EXPECT_EQ(Log.Take(), TLines{"Click Spin"});
  // The down button, and the Up key in the editor.
  const TRect Down = Spin->GetButton(1).Rect;
  ClickAt(Spin, Down.Left + 3, Down.Bottom - 3);
  EXPECT_EQ(Spin->GetValue(), 4);
  ClickAt(Spin->GetEditor(), 5, 5);
  ScriptKeyPress(VK_UP);
  Pump();
  EXPECT_EQ(Spin->GetValue(), 5);
}

}  // namespace
