// A number typed into the spin edit is taken when the typing is finished (Enter, Tab, leaving
// the editor, a pause), clamped then and reported once, also while a slow OnChange handler
// pumps messages.
#include <functional>
#include <string>
#include <vector>

#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

// Records the value at every OnChange; Slow, when set, runs inside the first one.
struct TChangeLog {
  TbsSkinSpinEdit* Spin = nullptr;
  std::vector<double> Values;
  Integer Depth = 0;
  Integer MaxDepth = 0;
  std::function<void()> Slow;
  void Change(TObject*) {
    Values.push_back(Spin->GetValue());
    ++Depth;
    MaxDepth = Depth > MaxDepth ? Depth : MaxDepth;
    if (Slow) {
      const std::function<void()> Run = Slow;
      Slow = nullptr;
      Run();
    }
    --Depth;
  }
};

class TSpinTypingTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Spin = NewControl<TbsSkinSpinEdit>(Form, "Spin", 20, 20);
    Other = NewControl<TbsSkinEdit>(Form, "Other", 20, 80);
    Spin->SetMinValue(5);
    Spin->SetMaxValue(100);
    Spin->SetIncrement(2);
    Spin->SetValue(20);
    Log.Spin = Spin;
    Spin->OnChange = TNotifyEvent(&Log, &TChangeLog::Change);
    Form->Show();
    Pump();
  }
  // Replaces the editor's text by typing, as a user who selected it all would.
  void TypeOver(const std::string& Text) {
    ClickAt(Spin->GetEditor(), 5, 5);
    Spin->GetEditor()->SelectAll();
    ScriptType(Text);
    Pump();
  }
  TForm* Form = nullptr;
  TbsSkinSpinEdit* Spin = nullptr;
  TbsSkinEdit* Other = nullptr;
  TChangeLog Log;
};

TEST_F(TSpinTypingTest, TypedNumberWaitsUntilTheTypingIsFinished) {
  struct TCase {
    const char* Name;
    const char* Typed;
    std::function<void()> Finish;
    double Value;
    const char* Text;
  };
  const std::vector<TCase> Cases{
      {"pause", "40", [this] { Wait(700); }, 40, "40"},
      {"Enter", "44", [] { ScriptKeyPress(VK_RETURN); }, 44, "44"},
      {"Tab", "46", [] { ScriptKeyPress(VK_TAB); }, 46, "46"},
      {"leaving", "48", [this] { ClickAt(Other, 5, 5); }, 48, "48"},
      // Clamped only now: beyond the maximum the text shows the maximum.
      {"above", "150", [] { ScriptKeyPress(VK_RETURN); }, 100, "100"},
      // Below a positive minimum the typing stays until the editor is left.
      {"below", "3", [this] { Wait(700); }, 5, "3"},
  };
  for (const TCase& C : Cases) {
    Spin->SetValue(20);
    Log.Values.clear();
    TypeOver(C.Typed);
    // Every digit on its own would be clamped ("4" to 5) and start a build.
    Wait(600);
    EXPECT_EQ(Spin->GetValue(), 20) << C.Name;
    EXPECT_EQ(Spin->GetEditor()->GetText(), C.Typed) << C.Name;
    EXPECT_TRUE(Log.Values.empty()) << C.Name;
    C.Finish();
    Pump();
    EXPECT_EQ(Spin->GetValue(), C.Value) << C.Name;
    EXPECT_EQ(Spin->GetEditor()->GetText(), C.Text) << C.Name;
    EXPECT_EQ(Log.Values, std::vector<double>{C.Value}) << C.Name;
    // Nothing more comes later.
    Wait(1000);
    EXPECT_EQ(Log.Values.size(), 1u) << C.Name;
  }
}

TEST_F(TSpinTypingTest, TypingWhileTheHandlerPumpsIsTakenOnceItReturns) {
  // The first change runs a build that pumps messages for 3 s while the user types "75".
  Log.Slow = [this] {
    ScriptType("75");
    Wait(3000);
    // Still the value the handler was called for.
    EXPECT_EQ(Spin->GetValue(), 40);
  };
  TypeOver("40");
  Spin->GetEditor()->SelectAll();
  Wait(700);
  EXPECT_EQ(Log.Values, (std::vector<double>{40, 75}));
  EXPECT_EQ(Log.MaxDepth, 1);
  EXPECT_EQ(Spin->GetValue(), 75);
  EXPECT_EQ(Spin->GetEditor()->GetText(), "75");
}

TEST_F(TSpinTypingTest, StepsAndCodeActAtOnce) {
  // A step starts from the number typed so far.
  TypeOver("40");
  ScriptKeyPress(VK_UP);
  Pump();
  EXPECT_EQ(Spin->GetValue(), 42);
  EXPECT_EQ(Log.Values, std::vector<double>{42});
  // A value from code replaces what was typed, and the pause adds nothing.
  TypeOver("60");
  Spin->SetValue(30);
  Wait(1000);
  EXPECT_EQ(Spin->GetValue(), 30);
  EXPECT_EQ(Spin->GetEditor()->GetText(), "30");
  EXPECT_EQ(Log.Values, (std::vector<double>{42, 30}));
}

}  // namespace
