#pragma once
// Shared pieces of the form tests: a fixture with the script back end and a fake clock that
// deletes the forms a test made, controls that record their painting, and an event log whose
// handlers can be bound to any control.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FormsScript.h"
#include "platform/classes/Application.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Screen.h"
#include "platform/system/Clock.h"
#include "platform/user/WindowMessages.h"

using TLines = std::vector<std::string>;

inline std::string NameOf(TObject* Sender) {
  auto* C = dynamic_cast<TComponent*>(Sender);
  return C != nullptr ? C->GetName() : std::string("?");
}

inline std::string ButtonName(TMouseButton B) {
  return B == mbLeft ? "L" : B == mbRight ? "R" : "M";
}

// Records events as "Kind Name args" lines.
struct TEventLog {
  std::vector<std::string> Lines;

  void Add(const std::string& S) { Lines.push_back(S); }
  void MouseDown(TObject* S, TMouseButton B, TShiftState Shift, Integer X, Integer Y) {
    Add("MouseDown " + NameOf(S) + " " + ButtonName(B) + " " + std::to_string(X) + "," + std::to_string(Y) +
        (Shift.Contains(ssDouble) ? " double" : ""));
  }
  void MouseUp(TObject* S, TMouseButton B, TShiftState, Integer X, Integer Y) {
    Add("MouseUp " + NameOf(S) + " " + ButtonName(B) + " " + std::to_string(X) + "," + std::to_string(Y));
  }
  void MouseMove(TObject* S, TShiftState, Integer X, Integer Y) {
    Add("MouseMove " + NameOf(S) + " " + std::to_string(X) + "," + std::to_string(Y));
  }
  void Click(TObject* S) { Add("Click " + NameOf(S)); }
  void DblClick(TObject* S) { Add("DblClick " + NameOf(S)); }
  void Enter(TObject* S) { Add("Enter " + NameOf(S)); }
  void Exit(TObject* S) { Add("Exit " + NameOf(S)); }
  void MouseEnter(TObject* S) { Add("MouseEnter " + NameOf(S)); }
  void MouseLeave(TObject* S) { Add("MouseLeave " + NameOf(S)); }
  void KeyDown(TObject* S, Word& Key, TShiftState Shift) {
    Add("KeyDown " + NameOf(S) + " " + std::to_string(Key) + (Shift.Contains(ssShift) ? " shift" : "") +
        (Shift.Contains(ssCtrl) ? " ctrl" : ""));
  }
  void KeyUp(TObject* S, Word& Key, TShiftState) { Add("KeyUp " + NameOf(S) + " " + std::to_string(Key)); }
  void KeyPress(TObject* S, char& Key) { Add("KeyPress " + NameOf(S) + " " + std::string(1, Key)); }
  void Notify(TObject* S) { Add("Notify " + NameOf(S)); }

  void BindMouse(TControl* C) {
    C->OnMouseDown = TMouseEvent(this, &TEventLog::MouseDown);
    C->OnMouseUp = TMouseEvent(this, &TEventLog::MouseUp);
    C->OnClick = TNotifyEvent(this, &TEventLog::Click);
    C->OnDblClick = TNotifyEvent(this, &TEventLog::DblClick);
  }
  void BindKeys(TWinControl* C) {
    C->OnKeyDown = TKeyEvent(this, &TEventLog::KeyDown);
    C->OnKeyPress = TKeyPressEvent(this, &TEventLog::KeyPress);
    C->OnKeyUp = TKeyEvent(this, &TEventLog::KeyUp);
  }
  void BindFocus(TWinControl* C) {
    C->OnEnter = TNotifyEvent(this, &TEventLog::Enter);
    C->OnExit = TNotifyEvent(this, &TEventLog::Exit);
  }
  void BindHover(TControl* C) {
    C->OnMouseEnter = TNotifyEvent(this, &TEventLog::MouseEnter);
    C->OnMouseLeave = TNotifyEvent(this, &TEventLog::MouseLeave);
  }
};

// A windowed control that logs its painting and can fill itself with a colour.
class TTestControl : public TCustomControl {
 public:
  explicit TTestControl(TComponent* AOwner, TEventLog* Log = nullptr) : TCustomControl(AOwner), FLog(Log) {
    SetTabStop(true);
  }
  TColor Fill = clNone;

 protected:
  void Paint() override {
    if (FLog != nullptr) FLog->Add("Paint " + GetName());
    if (Fill != clNone) {
      GetCanvas()->GetBrush()->SetColor(Fill);
      GetCanvas()->FillRect(GetClientRect());
    }
  }

 private:
  TEventLog* FLog;
};

// A windowless control that logs its painting and fills more than its bounds (to show the
// clipping).
class TTestGraphic : public TGraphicControl {
 public:
  explicit TTestGraphic(TComponent* AOwner, TEventLog* Log = nullptr) : TGraphicControl(AOwner), FLog(Log) {}
  TColor Fill = clNone;

 protected:
  void Paint() override {
    if (FLog != nullptr) FLog->Add("Paint " + GetName());
    if (Fill != clNone) {
      GetCanvas()->GetBrush()->SetColor(Fill);
      GetCanvas()->FillRect(Rect(-50, -50, GetWidth() + 50, GetHeight() + 50));
    }
  }

 private:
  TEventLog* FLog;
};

class TFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClockSource(&Clock);
    InstallScriptDisplay();
    Application->ResetTerminated();
    SetModalHook(nullptr);
    // The mouse starts where no form is.
    ScriptMoveTo(0, 0);
    Pump();
  }
  void TearDown() override {
    SetModalHook(nullptr);
    Forms.clear();
    Application->ProcessMessages();
    RemoveScriptDisplay();
    SetClockSource(nullptr);
    Application->ResetTerminated();
  }
  // A form at (X, Y) with the client size given; deleted at the end of the test.
  TForm* NewForm(const std::string& Name, Integer X = 100, Integer Y = 100, Integer ClientW = 300,
                 Integer ClientH = 200) {
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
  T* NewChild(TWinControl* Parent, const std::string& Name, TRect Bounds, TEventLog* Log = nullptr) {
    auto* C = new T(Parent, Log);
    C->SetName(Name);
    C->SetBoundsRect(Bounds);
    C->SetParent(Parent);
    return C;
  }
  // Handles what waits, as the program's loop would (key preprocessing included).
  static void Pump() { Application->ProcessMessages(); }
  // The screen position of a client point of a control.
  static TPoint At(TControl* C, Integer X, Integer Y) { return C->ClientToScreen({X, Y}); }

  TFakeClock Clock{100000};
  std::vector<std::unique_ptr<TForm>> Forms;
};
