// Buttons, check boxes, radio buttons, labels and scroll bars.
#include "StdCtrlsTestSupport.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/user/WindowPaint.h"

namespace {

struct TScrollLog {
  TLines Lines;
  void Scroll(TObject*, TScrollCode Code, Integer& Pos) {
    Lines.push_back("Scroll " + std::to_string(Code) + " " + std::to_string(Pos));
  }
};

using TButtonTest = TStdCtrlsTest;

}  // namespace

TEST_F(TButtonTest, ModalResultOfAButtonClosesAShowModalForm) {
  TForm* Dialog = NewForm("Dialog", 200, 150, 240, 120);
  auto* Ok = new TButton(Dialog);
  Ok->SetName("Ok");
  Ok->SetBoundsRect(Bounds(20, 60, 75, 25));
  Ok->SetParent(Dialog);
  Ok->SetModalResult(mrOk);
  Ok->SetDefault(true);
  auto* Cancel = new TButton(Dialog);
  Cancel->SetName("Cancel");
  Cancel->SetBoundsRect(Bounds(120, 60, 75, 25));
  Cancel->SetParent(Dialog);
  Cancel->SetModalResult(mrCancel);
  Cancel->SetCancel(true);
  EXPECT_EQ(Ok->GetCaption(), "Ok");

  // A click on the button.
  Integer Step = 0;
  SetModalHook([&] {
    if (Step++ == 0) {
      const TPoint P = At(Ok, 10, 10);
      ScriptClick(P.X, P.Y);
    }
  });
  EXPECT_EQ(Dialog->ShowModal(), mrOk);

  // Escape: the cancel button; Enter: the default one, unless another button has the focus.
  for (const auto& [Key, Focus, Expected] : {std::tuple{VK_ESCAPE, (TWinControl*)nullptr, mrCancel},
                                             std::tuple{VK_RETURN, (TWinControl*)nullptr, mrOk},
                                             std::tuple{VK_RETURN, (TWinControl*)Cancel, mrCancel}}) {
    Clock.Advance(1000);
    Step = 0;
    SetModalHook([&, Key = Key, Focus = Focus] {
      if (Step++ != 0) return;
      if (Focus != nullptr) Focus->SetFocus();
      ScriptKeyPress(static_cast<Word>(Key));
    });
    EXPECT_EQ(Dialog->ShowModal(), Expected) << Key;
  }
  // The default button shows the default frame only while no other button has the focus.
  EXPECT_EQ(GetWindowLongPtr(Ok->GetHandle(), GWL_STYLE) & BS_TYPEMASK, static_cast<LONG_PTR>(BS_PUSHBUTTON));
}

TEST_F(TButtonTest, CheckBoxStatesAndClicks) {
  auto* Box = Add<TCheckBox>("Box", Bounds(10, 10, 120, 17));
  Box->OnClick = TNotifyEvent(&Events, &TControlEvents::Click);
  ClickAt(Box, 5, 8);
  EXPECT_TRUE(Box->GetChecked());
  EXPECT_EQ(SendMessage(Box->GetHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  ClickAt(Box, 5, 8);
  EXPECT_EQ(Box->GetState(), cbUnchecked);
  // AllowGrayed: unchecked -> grayed -> checked -> unchecked.
  Box->SetAllowGrayed(true);
  ClickAt(Box, 5, 8);
  EXPECT_EQ(Box->GetState(), cbGrayed);
  EXPECT_EQ(SendMessage(Box->GetHandle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  ClickAt(Box, 5, 8);
  EXPECT_EQ(Box->GetState(), cbChecked);
  EXPECT_EQ(Events.Lines.size(), 4u);
  // The setter clicks too; the same state does not.
  Box->SetChecked(false);
  Box->SetChecked(false);
  EXPECT_EQ(Events.Lines.size(), 5u);
  // Space toggles the focused box; the state survives a new window.
  Box->SetAllowGrayed(false);
  Box->SetFocus();
  Press(VK_SPACE, " ");
  EXPECT_TRUE(Box->GetChecked());
  Box->SetAlignment(taLeftJustify);
  EXPECT_TRUE(Box->GetChecked());
  EXPECT_EQ(SendMessage(Box->GetHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_NE(GetWindowLongPtr(Box->GetHandle(), GWL_STYLE) & BS_LEFTTEXT, 0);
}

TEST_F(TButtonTest, RadioButtonsUncheckTheirSiblingsOnly) {
  auto* A = Add<TRadioButton>("A", Bounds(10, 10, 100, 17));
  auto* B = Add<TRadioButton>("B", Bounds(10, 30, 100, 17));
  auto* Group = Add<TGroupBox>("Group", Bounds(150, 10, 150, 80));
  auto* C = Add<TRadioButton>("C", Bounds(10, 20, 100, 17), Group);
  auto* D = Add<TRadioButton>("D", Bounds(10, 40, 100, 17), Group);
  for (TRadioButton* R : {A, B, C, D}) R->OnClick = TNotifyEvent(&Events, &TControlEvents::Click);
  A->SetChecked(true);
  C->SetChecked(true);
  ClickAt(B, 5, 8);
  EXPECT_FALSE(A->GetChecked());
  EXPECT_TRUE(B->GetChecked());
  EXPECT_TRUE(C->GetChecked());
  EXPECT_EQ(SendMessage(A->GetHandle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ClickAt(D, 5, 8);
  EXPECT_FALSE(C->GetChecked());
  EXPECT_TRUE(B->GetChecked());
  // Only the checked one is a tab stop; checking runs OnClick, unchecking does not.
  EXPECT_TRUE(B->GetTabStop());
  EXPECT_FALSE(A->GetTabStop());
  EXPECT_EQ(Events.Lines, (TLines{"Click A", "Click C", "Click B", "Click D"}));
  // A click on the checked one changes nothing.
  ClickAt(D, 5, 8);
  EXPECT_EQ(Events.Lines.size(), 4u);
}

TEST_F(TButtonTest, LabelAutoSizeAndWordWrapFollowTheText) {
  auto* Label = Add<TLabel>("Label", Bounds(20, 20, 10, 10));
  Label->GetFont()->SetName("Liberation Sans");
  Label->GetFont()->SetHeight(-13);
  const std::string Text = "Some words to wrap here";
  Label->SetCaption(Text);

  // The expected extent, measured with the same font.
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Label->GetFont()->GetHandle());
  SIZE Size{0, 0};
  GetTextExtentPoint32(DC, Text.c_str(), static_cast<Integer>(Text.size()), &Size);
  TEXTMETRICA Metrics;
  GetTextMetrics(DC, &Metrics);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  EXPECT_EQ(Label->GetBoundsRect(), Bounds(20, 20, Size.cx, Metrics.tmHeight));

  // Right-aligned: the right edge stays.
  Label->SetAlignment(taRightJustify);
  Label->SetCaption("ab");
  EXPECT_EQ(Label->GetLeft() + Label->GetWidth(), 20 + Size.cx);

  // Word wrap within the width: several lines, none wider than the label was.
  Label->SetAlignment(taLeftJustify);
  Label->SetAutoSize(false);
  Label->SetCaption(Text);
  Label->SetBounds(20, 20, 60, 10);
  Label->SetWordWrap(true);
  Label->SetAutoSize(true);
  EXPECT_LE(Label->GetWidth(), 60);
  EXPECT_EQ(Label->GetHeight() % Metrics.tmHeight, 0);
  EXPECT_GE(Label->GetHeight() / Metrics.tmHeight, 3);

  // An empty caption still has a line's height.
  Label->SetCaption("");
  EXPECT_EQ(Label->GetHeight(), Metrics.tmHeight);
}

TEST_F(TButtonTest, LabelAcceleratorFocusesItsControl) {
  auto* Edit = Add<TEdit>("Edit", Bounds(100, 20, 100, 21));
  auto* Other = Add<TEdit>("Other", Bounds(100, 60, 100, 21));
  auto* Label = Add<TLabel>("Label", Bounds(20, 20, 50, 15));
  Label->SetCaption("&Name");
  Label->SetFocusControl(Edit);
  Other->SetFocus();
  Pump();
  Press('N', "", {VK_MENU});
  EXPECT_TRUE(Edit->Focused());
  // The control going away leaves the label without one.
  delete Edit;
  EXPECT_EQ(Label->GetFocusControl(), nullptr);
}

TEST_F(TButtonTest, ScrollBarByKeysAndByDraggingTheThumb) {
  auto* Bar = Add<TScrollBar>("Bar", Bounds(10, 10, 200, 17));
  TScrollLog Log;
  Bar->OnChange = TNotifyEvent(&Events, &TControlEvents::Change);
  Bar->OnScroll = TScrollEvent(&Log, &TScrollLog::Scroll);
  Bar->SetLargeChange(10);
  Bar->SetFocus();
  Pump();
  Press(VK_RIGHT);
  EXPECT_EQ(Bar->GetPosition(), 1);
  Press(VK_NEXT);
  EXPECT_EQ(Bar->GetPosition(), 11);
  Press(VK_END);
  EXPECT_EQ(Bar->GetPosition(), 100);
  Press(VK_HOME);
  EXPECT_EQ(Bar->GetPosition(), 0);
  EXPECT_EQ(Events.Lines.size(), 4u);

  // Dragging the thumb from the left end to past the right end: tracking, then the position.
  Log.Lines.clear();
  Events.Clear();
  const TPoint From = At(Bar, 17 + 3, 8);
  const TPoint To = At(Bar, 230, 8);
  ScriptMoveTo(From.X, From.Y);
  ScriptButton(true);
  for (Integer X = From.X; X <= To.X; X += 20) ScriptMoveTo(X, From.Y);
  ScriptMoveTo(To.X, To.Y);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Bar->GetPosition(), 100);
  ASSERT_GE(Log.Lines.size(), 3u);
  EXPECT_EQ(Log.Lines.front().rfind("Scroll 5 ", 0), 0u);  // scTrack
  EXPECT_EQ(Log.Lines.back(), "Scroll 8 100");             // scEndScroll
  EXPECT_FALSE(Events.Lines.empty());

  // The setter keeps the position in range (with a page, the last page's start).
  Bar->SetPageSize(20);
  Bar->SetPosition(500);
  EXPECT_EQ(Bar->GetPosition(), 81);
  EXPECT_THROW(Bar->SetPageSize(200), EInvalidOperation);
  // Kept through a new window.
  Bar->SetKind(sbVertical);
  EXPECT_EQ(Bar->GetPosition(), 81);
  EXPECT_EQ(Bar->GetWidth(), 17);
}

TEST_F(TButtonTest, StaticTextFollowsItsCaption) {
  auto* Text = Add<TStaticText>("Text", Bounds(10, 10, 10, 10));
  Text->SetCaption("A static text");
  EXPECT_EQ(GetWindowTextString(Text->GetHandle()), "A static text");
  const Integer Width = Text->GetWidth();
  EXPECT_GT(Width, 40);
  EXPECT_EQ(Text->GetHeight(), FontTextHeight(Text->GetFont()));
  // A sunken border adds its frame; the caption survives the new window.
  Text->SetBorderStyle(sbsSunken);
  EXPECT_EQ(Text->GetWidth(), Width + 2);
  EXPECT_NE(GetWindowLongPtr(Text->GetHandle(), GWL_STYLE) & SS_SUNKEN, 0);
  EXPECT_EQ(Text->GetCaption(), "A static text");
}
