// The script back end of the form tests.
#include "FormsScript.h"

#include <deque>

#include "platform/user/Input.h"
#include "platform/user/WindowInternals.h"

namespace {

class TScriptBackend final : public TDisplayBackend {
 public:
  TSize ScreenSize() override { return {1024, 768}; }
  void Present(const TSurface&, const std::vector<TRect>&) override {}
  bool PollInput(TInputEvent& Ev) override {
    if (Events.empty()) return false;
    Ev = Events.front();
    Events.pop_front();
    return true;
  }
  void WaitInput(DWORD) override {}
  void Wake() override {}
  void SetCursorShape(const DWORD*, Integer, Integer, TPoint) override {}
  std::string GetClipboardText() override { return {}; }
  void SetClipboardText(const std::string&) override {}

  void Push(TInputEventKind Kind, Integer Button = 0) {
    TInputEvent Ev;
    Ev.Kind = Kind;
    Ev.X = Mouse.X;
    Ev.Y = Mouse.Y;
    Ev.Button = Button == 1 ? TInputButton::Right : Button == 2 ? TInputButton::Middle : TInputButton::Left;
    Events.push_back(Ev);
  }
  void Key(Word Vk, bool Down) {
    TInputEvent Ev;
    Ev.Kind = Down ? TInputEventKind::KeyDown : TInputEventKind::KeyUp;
    Ev.VirtualKey = Vk;
    Events.push_back(Ev);
  }

  std::deque<TInputEvent> Events;
  TPoint Mouse;
};

TScriptBackend& Backend() {
  static TScriptBackend B;
  return B;
}

}  // namespace

void InstallScriptDisplay() {
  Backend().Events.clear();
  SetDisplayBackend(&Backend());
  InstallWindowInput();
}

void RemoveScriptDisplay() {
  Backend().Events.clear();
  SetDisplayBackend(nullptr);
}

void ScriptMoveTo(Integer X, Integer Y) {
  Backend().Mouse = {X, Y};
  Backend().Push(TInputEventKind::MouseMove);
}

void ScriptButton(bool Down, Integer Button) {
  Backend().Push(Down ? TInputEventKind::ButtonDown : TInputEventKind::ButtonUp, Button);
}

void ScriptClick(Integer X, Integer Y, Integer Button) {
  ScriptMoveTo(X, Y);
  ScriptButton(true, Button);
  ScriptButton(false, Button);
}

void ScriptKeyPress(Word VirtualKey, const std::string& Text, std::initializer_list<Word> Modifiers) {
  for (Word M : Modifiers) Backend().Key(M, true);
  Backend().Key(VirtualKey, true);
  if (!Text.empty()) {
    TInputEvent Ev;
    Ev.Kind = TInputEventKind::Text;
    Ev.Text = Text;
    Backend().Events.push_back(Ev);
  }
  Backend().Key(VirtualKey, false);
  for (auto It = std::rbegin(Modifiers); It != std::rend(Modifiers); ++It) Backend().Key(*It, false);
}

void ScriptWheel(Integer Delta) {
  Backend().Push(TInputEventKind::Wheel);
  Backend().Events.back().WheelDelta = Delta;
}
