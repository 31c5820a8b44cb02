#pragma once
// Shared pieces of the standard-control tests: a fixture with a shown form on the script back
// end, and a recorder of the controls' events.
#include "FormsTestSupport.h"
#include "platform/classes/StdCtrls.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/user/CommonControls.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

// Records "Event Name" lines; bind its methods to the events a test looks at.
struct TControlEvents {
  TLines Lines;
  void Change(TObject* S) { Lines.push_back("Change " + NameOf(S)); }
  void Click(TObject* S) { Lines.push_back("Click " + NameOf(S)); }
  void Select(TObject* S) { Lines.push_back("Select " + NameOf(S)); }
  void DropDown(TObject* S) { Lines.push_back("DropDown " + NameOf(S)); }
  void CloseUp(TObject* S) { Lines.push_back("CloseUp " + NameOf(S)); }
  void Clear() { Lines.clear(); }
};

// A colour as screenshots hold it (0x00RRGGBB).
inline DWORD ScreenColor(TColor Color) {
  const COLORREF C = ColorToRGB(Color);
  return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

// The pixels of a control as painted: a windowed control's own window, or its part of the
// parent's window.
struct TControlShot {
  TScreenshot Shot;
  TPoint Offset;
  DWORD operator()(Integer X, Integer Y) const { return Shot.Pixel(Offset.X + X, Offset.Y + Y); }
};
inline TControlShot ShotOf(TControl* C) {
  if (auto* W = dynamic_cast<TWinControl*>(C)) return {Screenshot(W->GetHandle()), {0, 0}};
  // The parent's client area starts inside its frame.
  TWinControl* P = C->GetParent();
  RECT Window;
  GetWindowRect(P->GetHandle(), &Window);
  const TPoint Client = P->ClientToScreen({0, 0});
  return {Screenshot(P->GetHandle()),
          {Client.X - Window.Left + C->GetLeft(), Client.Y - Window.Top + C->GetTop()}};
}

class TStdCtrlsTest : public TFormsTest {
 protected:
  void SetUp() override {
    TFormsTest::SetUp();
    Form = NewForm("Form", 100, 100, 400, 300);
    Form->GetFont()->SetName("Liberation Sans");
    Form->GetFont()->SetHeight(-13);
    Form->Show();
    Pump();
  }
  // A control of class T on the form at Bounds.
  template <class T>
  T* Add(const std::string& Name, TRect Bounds, TWinControl* Parent = nullptr) {
    auto* C = new T(Form);
    C->SetName(Name);
    C->SetBoundsRect(Bounds);
    C->SetParent(Parent != nullptr ? Parent : Form);
    return C;
  }
  // Clicks a client point of a control and handles what follows.
  void ClickAt(TControl* C, Integer X, Integer Y) {
    const TPoint P = At(C, X, Y);
    ScriptClick(P.X, P.Y);
    Pump();
    // Clicks far apart in time: never a double click.
    Clock.Advance(1000);
  }
  void Press(Word Key, const std::string& Text = "", std::initializer_list<Word> Modifiers = {}) {
    ScriptKeyPress(Key, Text, Modifiers);
    Pump();
  }
  void Type(const std::string& Text) {
    for (char C : Text) {
      const Word Vk = C >= 'a' && C <= 'z' ? static_cast<Word>(C - 'a' + 'A') : static_cast<Word>(C);
      ScriptKeyPress(Vk, std::string(1, C));
    }
    Pump();
  }

  TForm* Form = nullptr;
  TControlEvents Events;
};
