#pragma once
// Shared pieces of the skin library's tests: a fixture on the headless display with a fake
// clock that deletes the forms a test made, scripted mouse input at control coordinates, and
// an event log whose handlers can be bound to any control.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Application.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/system/Clock.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "tests/skin/SkinDisplay.h"

namespace SkinTesting {

// Records "Kind Name" lines.
struct TEventLog {
  std::vector<std::string> Lines;
  static std::string NameOf(TObject* Sender) {
    auto* C = dynamic_cast<TComponent*>(Sender);
    return C != nullptr ? C->GetName() : std::string("?");
  }
  void Click(TObject* S) { Lines.push_back("Click " + NameOf(S)); }
  void Change(TObject* S) { Lines.push_back("Change " + NameOf(S)); }
  void LastChange(TObject* S) { Lines.push_back("LastChange " + NameOf(S)); }
  std::vector<std::string> Take() {
    std::vector<std::string> L;
    L.swap(Lines);
    return L;
  }
};

using TLines = std::vector<std::string>;

class TSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessDisplay();
    SetClockSource(&Clock);
    Application->ResetTerminated();
    SetModalHook(nullptr);
    // The mouse starts where no form is.
    ScriptMoveTo(1020, 760);
    Pump();
  }
  void TearDown() override {
    ClearScript();
    SetModalHook(nullptr);
    if (GetCapture() != nullptr) ReleaseCapture();
    Forms.clear();
    Pump();
    SetClockSource(nullptr);
    Application->ResetTerminated();
  }
  // A shown form at (X, Y) with the client size given; deleted at the end of the test.
  TForm* NewForm(const std::string& Name, Integer X = 100, Integer Y = 100, Integer ClientW = 400,
                 Integer ClientH = 300) {
    auto* Form = new TForm(nullptr);
    Form->SetName(Name);
    Form->SetLeft(X);
    Form->SetTop(Y);
    Form->SetClientWidth(ClientW);
    Form->SetClientHeight(ClientH);
    Forms.emplace_back(Form);
    return Form;
  }
  template <class T>
  T* NewControl(TWinControl* Parent, const std::string& Name, Integer X, Integer Y) {
    auto* C = new T(Parent);
    C->SetName(Name);
    C->SetLeft(X);
    C->SetTop(Y);
    C->SetParent(Parent);
    return C;
  }
  // Handles what waits, as the program's loop would (paints and due timers included).
  static void Pump() { Application->ProcessMessages(); }
  static TPoint At(TControl* C, Integer X, Integer Y) { return C->ClientToScreen({X, Y}); }
  void ClickAt(TControl* C, Integer X, Integer Y) {
    const TPoint P = At(C, X, Y);
    ScriptClick(P.X, P.Y);
    Pump();
  }
  void MoveAt(TControl* C, Integer X, Integer Y) {
    const TPoint P = At(C, X, Y);
    ScriptMoveTo(P.X, P.Y);
    Pump();
  }
  // Advances the fake clock in steps, letting the loop run after each.
  void Wait(Integer Ms, Integer Step = 10) {
    for (Integer T = 0; T < Ms; T += Step) {
      Clock.Advance(Step);
      Pump();
    }
  }
  // The control's pixel at a client point, as the screen shows it.
  DWORD PixelAt(TControl* C, Integer X, Integer Y) {
    Pump();
    const TPoint P = At(C, X, Y);
    return ScreenPixel(P.X, P.Y);
  }
  // A COLORREF (or system colour) as the screenshot's 0x00RRGGBB.
  static DWORD ScreenColor(TColor Color) {
    const COLORREF C = ColorToRGB(Color);
    return (static_cast<DWORD>(GetRValue(C)) << 16) | (static_cast<DWORD>(GetGValue(C)) << 8) | GetBValue(C);
  }

  TFakeClock Clock{100000};
  std::vector<std::unique_ptr<TForm>> Forms;
};

}  // namespace SkinTesting
