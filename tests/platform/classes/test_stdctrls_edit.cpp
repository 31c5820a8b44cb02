// Edits, memos and masked edits.
#include "StdCtrlsTestSupport.h"

namespace {

class TEditTest : public TStdCtrlsTest {
 protected:
  TEdit* NewEdit(const std::string& Name, Integer Top = 10) {
    auto* E = Add<TEdit>(Name, Bounds(10, Top, 150, 21));
    // Naming a control gives it its name as text.
    EXPECT_EQ(E->GetText(), Name);
    E->Clear();
    E->OnChange = TNotifyEvent(&Events, &TControlEvents::Change);
    return E;
  }
};

}  // namespace

TEST_F(TEditTest, OnChangeFollowsEveryChangeOfTheText) {
  TEdit* Edit = NewEdit("Edit");
  TEdit* Source = NewEdit("Source", 40);
  Pump();
  Events.Clear();

  // Typing: one change per character.
  Edit->SetFocus();
  Type("ab");
  EXPECT_EQ(Edit->GetText(), "ab");
  EXPECT_EQ(Events.Lines, (TLines{"Change Edit", "Change Edit"}));

  // The setter; setting the same text again changes nothing.
  Events.Clear();
  Edit->SetText("xyz");
  Edit->SetText("xyz");
  EXPECT_EQ(Events.Lines, (TLines{"Change Edit"}));

  // Paste over the selection.
  Source->SetText("12");
  Source->SelectAll();
  Source->CopyToClipboard();
  Events.Clear();
  Edit->SetSelStart(1);
  Edit->SetSelLength(1);
  EXPECT_EQ(Edit->GetSelText(), "y");
  Edit->PasteFromClipboard();
  EXPECT_EQ(Edit->GetText(), "x12z");
  EXPECT_EQ(Events.Lines, (TLines{"Change Edit"}));

  // Cut, undo and clearing the selection each change the text.
  Events.Clear();
  Edit->SelectAll();
  Edit->CutToClipboard();
  EXPECT_EQ(Edit->GetText(), "");
  EXPECT_TRUE(Edit->GetCanUndo());
  Edit->Undo();
  EXPECT_EQ(Edit->GetText(), "x12z");
  Edit->SetSelStart(0);
  Edit->SetSelLength(2);
  Edit->ClearSelection();
  EXPECT_EQ(Edit->GetText(), "2z");
  EXPECT_EQ(Events.Lines, (TLines{"Change Edit", "Change Edit", "Change Edit"}));
}

TEST_F(TEditTest, SelectionReadOnlyAndMaxLength) {
  TEdit* Edit = NewEdit("Edit");
  Edit->SetText("hello world");
  Edit->SetSelStart(6);
  Edit->SetSelLength(5);
  EXPECT_EQ(Edit->GetSelStart(), 6);
  EXPECT_EQ(Edit->GetSelLength(), 5);
  EXPECT_EQ(Edit->GetSelText(), "world");
  Edit->SetSelText("there");
  EXPECT_EQ(Edit->GetText(), "hello there");

  // A read-only edit refuses typing but not the setter.
  Edit->SetReadOnly(true);
  Edit->SetFocus();
  Edit->SetSelStart(0);
  Type("q");
  EXPECT_EQ(Edit->GetText(), "hello there");
  Edit->SetReadOnly(false);

  // MaxLength stops typing at the limit.
  Edit->SetText("");
  Edit->SetMaxLength(3);
  Type("abcde");
  EXPECT_EQ(Edit->GetText(), "abc");
}

TEST_F(TEditTest, StateSurvivesTheWindowAndIsKeptWithoutOne) {
  // Without a parent: text and properties are kept until the window is made.
  auto* Edit = new TEdit(Form);
  Edit->SetName("Loose");
  Edit->SetText("before");
  Edit->SetMaxLength(10);
  EXPECT_FALSE(Edit->HandleAllocated());
  EXPECT_EQ(Edit->GetText(), "before");
  Edit->SetParent(Form);
  Pump();
  ASSERT_TRUE(Edit->HandleAllocated());
  EXPECT_EQ(Edit->GetText(), "before");
  EXPECT_EQ(SendMessage(Edit->GetHandle(), EM_GETLIMITTEXT, 0, 0), 10);

  // Recreating the window (a password character) keeps the text and the modified flag.
  Edit->SetModified(true);
  const HWND Old = Edit->GetHandle();
  Edit->SetPasswordChar('#');
  EXPECT_NE(Edit->GetHandle(), Old);
  EXPECT_EQ(Edit->GetText(), "before");
  EXPECT_TRUE(Edit->GetModified());
  EXPECT_EQ(SendMessage(Edit->GetHandle(), EM_GETPASSWORDCHAR, 0, 0), '#');

  // Character case converts what is typed.
  Edit->SetPasswordChar(0);
  Edit->SetCharCase(ecUpperCase);
  Edit->SetText("");
  Edit->SetFocus();
  Type("ab");
  EXPECT_EQ(Edit->GetText(), "AB");
}

TEST_F(TEditTest, AutoSizeGivesTheHeightOfTheFont) {
  TEdit* Edit = NewEdit("Edit");
  const Integer Small = Edit->GetHeight();
  Edit->GetFont()->SetHeight(-24);
  EXPECT_GT(Edit->GetHeight(), Small);
  // The text fits: the font's height plus the frame and the window's margins.
  EXPECT_GE(Edit->GetClientHeight(), 24);
}

TEST_F(TEditTest, TabSelectsTheTextAndEnterReachesTheDefaultButton) {
  TEdit* First = NewEdit("First");
  TEdit* Second = NewEdit("Second", 40);
  Second->SetText("all of it");
  auto* Ok = Add<TButton>("Ok", Bounds(10, 80, 75, 25));
  Ok->SetDefault(true);
  Ok->OnClick = TNotifyEvent(&Events, &TControlEvents::Click);
  First->SetFocus();
  Pump();
  Press(VK_TAB);
  EXPECT_TRUE(Second->Focused());
  EXPECT_EQ(Second->GetSelLength(), 9);
  // Arrows stay in the edit (they move the caret, not the focus).
  Press(VK_LEFT);
  EXPECT_TRUE(Second->Focused());
  Events.Clear();
  Press(VK_RETURN);
  EXPECT_EQ(Events.Lines, (TLines{"Click Ok"}));
}

TEST_F(TEditTest, MemoLinesAreTheLogicalLines) {
  auto* Memo = Add<TMemo>("Memo", Bounds(10, 10, 200, 100));
  Memo->Clear();
  TStrings* Lines = Memo->GetLines();
  Lines->Add("one");
  Lines->Add("two");
  EXPECT_EQ(Memo->GetText(), "one\r\ntwo\r\n");
  Lines->Insert(1, "between");
  Lines->SetStrings(0, "first");
  ASSERT_EQ(Lines->GetCount(), 3);
  EXPECT_EQ(Lines->GetStrings(0), "first");
  EXPECT_EQ(Lines->GetStrings(1), "between");
  Lines->Delete(1);
  EXPECT_EQ(Memo->GetText(), "first\r\ntwo\r\n");
  // A last line without a break: the next one goes after a break.
  Memo->SetText("a\r\nb");
  EXPECT_EQ(Lines->GetCount(), 2);
  Lines->Add("c");
  EXPECT_EQ(Memo->GetText(), "a\r\nb\r\nc");
  Lines->SetText("x\ny");
  EXPECT_EQ(Memo->GetText(), "x\r\ny");
  EXPECT_THROW(Lines->GetStrings(5), EStringListError);

  // Long lines wrap in the window but stay one line.
  Memo->SetText(std::string(200, 'w') + "\r\nz");
  EXPECT_EQ(Lines->GetCount(), 2);
  EXPECT_GT(SendMessage(Memo->GetHandle(), EM_GETLINECOUNT, 0, 0), 2);

  // Without a window too.
  auto* Loose = new TMemo(Form);
  Loose->GetLines()->Add("kept");
  EXPECT_EQ(Loose->GetLines()->GetCount(), 1);
  Loose->SetParent(Form);
  EXPECT_EQ(Loose->GetLines()->GetStrings(0), "kept");
}

TEST_F(TEditTest, MemoReturnsAndTabs) {
  auto* Memo = Add<TMemo>("Memo", Bounds(10, 10, 200, 100));
  Memo->Clear();
  auto* Ok = Add<TButton>("Ok", Bounds(10, 150, 75, 25));
  Ok->SetDefault(true);
  Ok->OnClick = TNotifyEvent(&Events, &TControlEvents::Click);
  Memo->SetFocus();
  Pump();
  Type("a");
  Press(VK_RETURN, "\r");
  Type("b");
  EXPECT_EQ(Memo->GetLines()->GetCount(), 2);
  EXPECT_TRUE(Events.Lines.empty());
  // Without WantReturns, Enter goes to the default button.
  Memo->SetWantReturns(false);
  Press(VK_RETURN, "\r");
  EXPECT_EQ(Memo->GetText(), "a\r\nb");
  EXPECT_EQ(Events.Lines, (TLines{"Click Ok"}));
  // Tab moves on unless WantTabs.
  Memo->SetWantTabs(true);
  Press(VK_TAB, "\t");
  EXPECT_TRUE(Memo->Focused());
  EXPECT_EQ(Memo->GetText(), "a\r\nb\t");
  Memo->SetWantTabs(false);
  Press(VK_TAB, "\t");
  EXPECT_FALSE(Memo->Focused());
}

TEST_F(TEditTest, MaskEditKeepsTheMaskAndGivesTheText) {
  auto* Edit = Add<TMaskEdit>("Mask", Bounds(10, 10, 100, 21));
  Edit->SetEditMask("999;0;_");
  EXPECT_TRUE(Edit->IsMasked());
  Edit->SetText("123");
  EXPECT_EQ(Edit->GetText(), "123");
  EXPECT_EQ(Edit->GetEditText(), "123");
  TCustomMaskEdit* Base = Edit;
  EXPECT_EQ(Base->GetText(), "123");
}
