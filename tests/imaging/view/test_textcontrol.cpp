// The rich text editor: format records and their sharing, editing operations, layout (wrap,
// alignment, justification), caret movement, the clipboard with formats, and keys on a window.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "imaging/core/iegdiplus.h"
#include "imaging/view/ietextc.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/user/Clipboard.h"
#include "platform/user/GlobalMemory.h"
#include "platform/user/WinUser.h"

namespace {

constexpr char LF = 10;

// A control without window laid out on a bitmap in a monospaced font, so that every
// character is CharW pixels wide.
class TextControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (IETextMemoClipboardFormat == 0) IETextControlInitialize();
    Text = std::make_unique<TIETextControl>(nullptr);
    Text->GetDefaultFont()->SetName("Liberation Mono");
    Text->GetDefaultFont()->SetHeight(-16);
    Text->GetDefaultFont()->SetColor(0);
    Text->GetTextBrush()->SetStyle(bsClear);
    Target = std::make_unique<TBitmap>();
    Target->SetPixelFormat(pf24bit);
    Target->SetSize(400, 300);
    TCanvas* C = Target->GetCanvas();
    C->GetFont()->SetName("Liberation Mono");
    C->GetFont()->SetHeight(-16);
    CharW = C->TextWidth("a");
  }
  void Attach(const std::string& S) {
    Text->TextBuffer = S;
    Text->FormatList.clear();
    Text->FormatIndex.clear();
    Text->Reset();
  }
  // Lays out into a box whose text width holds Chars characters with room to spare.
  void Layout(Integer BoxWidth = 300, Integer BoxHeight = 200) {
    Text->SetBounds(0, 0, BoxWidth, BoxHeight);
    TIECanvas Canvas(Target->GetCanvas(), false, false);
    Text->DrawText(&Canvas, 0, 0, BoxWidth, BoxHeight);
  }
  // Box width whose text width TW = W - 2 makes a line of N characters end exactly at the
  // fit limit (x + width + 2 >= TW breaks): N characters fit, N + 1 do not.
  Integer BoxFor(Integer N) { return N * CharW + 2 + 3 + 2; }
  Integer X(Integer I) { return Text->GetCharLayout(I).X; }
  Integer Y(Integer I) { return Text->GetCharLayout(I).Y; }

  std::unique_ptr<TIETextControl> Text;
  std::unique_ptr<TBitmap> Target;
  Integer CharW = 0;
};

TEST_F(TextControlTest, RecordKeepsItsOffsetsAndEqualityIgnoresTheCount) {
  TIECharFormat F;
  F.RefCount = 7;
  IECharFormatSetName(F, "Arial");
  F.Height = -13;
  F.Style = 5;
  F.Color = 0x112233;
  F.BackColor = 0x445566;
  F.BackStyle = 1;
  F.Alignment = 3;
  F.Reserved = {9, 8};
  Byte Raw[IECharFormatSize] = {};
  IECharFormatWrite(F, Raw);
  EXPECT_EQ(Raw[0], 7);
  EXPECT_EQ(Raw[4], 5);
  EXPECT_EQ(Raw[5], 'A');
  EXPECT_EQ(Raw[260], 0xF3);  // -13
  EXPECT_EQ(Raw[263], 0xFF);
  EXPECT_EQ(Raw[264], 5);
  EXPECT_EQ(Raw[268], 0x33);
  EXPECT_EQ(Raw[272], 0x66);
  EXPECT_EQ(Raw[276], 1);
  EXPECT_EQ(Raw[277], 3);
  EXPECT_EQ(Raw[278], 9);
  const TIECharFormat Back = IECharFormatRead(Raw);
  EXPECT_EQ(IECharFormatGetName(Back), "Arial");
  EXPECT_TRUE(IECharFormatEqual(F, Back));
  TIECharFormat Other = Back;
  Other.RefCount = 1;
  EXPECT_TRUE(IECharFormatEqual(F, Other));
  Other.Reserved[1] = 0;
  EXPECT_FALSE(IECharFormatEqual(F, Other));
}

TEST_F(TextControlTest, FormatsAreSharedCountedAndCompacted) {
  Attach("abc");
  ASSERT_EQ(Text->FormatList.size(), 1u);
  EXPECT_EQ(Text->FormatList[0].RefCount, 3);
  EXPECT_EQ(Text->FormatIndex, (std::vector<Integer>{0, 0, 0}));

  // Bold on "b" adds a record; the old one keeps its count until compaction.
  Text->SetSelection(1, 2);
  Text->ToggleStyle(0);
  ASSERT_EQ(Text->FormatList.size(), 2u);
  EXPECT_EQ(Text->FormatIndex[1], 1);
  EXPECT_EQ(Text->FormatList[1].Style, 1);
  EXPECT_EQ(Text->FormatList[0].RefCount, 3);

  // "c" made bold too shares the record.
  Text->SetSelection(2, 3);
  Text->ToggleStyle(0);
  EXPECT_EQ(Text->FormatList.size(), 2u);
  EXPECT_EQ(Text->FormatIndex[2], 1);
  EXPECT_EQ(Text->FormatList[1].RefCount, 2);

  // Deleting every character of a format leaves it at 0 until compaction renumbers.
  Text->SetSelection(0, 1);
  Text->DeleteSelection();
  EXPECT_EQ(Text->FormatList[0].RefCount, 2);  // lowered once, not below 0
  Text->FormatList[0].RefCount = 0;
  Text->RemoveUnusedFormats();
  ASSERT_EQ(Text->FormatList.size(), 1u);
  EXPECT_EQ(Text->FormatIndex, (std::vector<Integer>{0, 0}));
  EXPECT_EQ(Text->TextBuffer, "bc");
}

TEST_F(TextControlTest, TypingIntoEmptyTextMakesTheFirstFormatFromCurrent) {
  Attach("");
  EXPECT_TRUE(Text->FormatList.empty());
  Text->InsertChar('x');
  Text->InsertChar('y');
  ASSERT_EQ(Text->FormatList.size(), 1u);
  EXPECT_EQ(Text->FormatList[0].RefCount, 2);
  EXPECT_EQ(IECharFormatGetName(Text->FormatList[0]), "Liberation Mono");
  EXPECT_EQ(Text->GetCaret(), 2);
}

TEST_F(TextControlTest, BoldTogglesByTheFirstSelectedCharacter) {
  Attach("abc");
  Text->SetSelection(0, 1);
  Text->ToggleStyle(0);  // "a" bold
  Text->SetSelection(0, 3);
  Text->ToggleStyle(0);  // first is bold: all lose it
  for (Integer I = 0; I < 3; ++I) EXPECT_EQ(Text->FormatList[Text->FormatIndex[I]].Style & 1, 0) << I;
  Text->ToggleStyle(0);  // now none is: all get it
  for (Integer I = 0; I < 3; ++I) EXPECT_EQ(Text->FormatList[Text->FormatIndex[I]].Style & 1, 1) << I;
  // Without a selection only the current format flips.
  Text->SetSelection(0, 0);
  const Byte Before = Text->GetCurrentFormat().Style;
  Text->ToggleStyle(1);
  EXPECT_EQ(Text->GetCurrentFormat().Style, Before ^ 2);
}

TEST_F(TextControlTest, FontHeightStepsNeverReachZero) {
  struct Case {
    Integer From, Grown, Shrunk;
  };
  for (const Case C :
       {Case{-1, -2, 1}, Case{1, 2, 1}, Case{0, 1, 1}, Case{-12, -13, -11}, Case{12, 13, 11}}) {
    Attach("a");
    TIECharFormat F = Text->FormatList[0];
    F.Height = C.From;
    Text->FormatList[0] = F;
    Text->SetSelection(0, 1);
    Text->GrowFont();
    EXPECT_EQ(Text->FormatList[Text->FormatIndex[0]].Height, C.Grown) << C.From;
    Text->FormatList[Text->FormatIndex[0]].Height = C.From;
    Text->ShrinkFont();
    EXPECT_EQ(Text->FormatList[Text->FormatIndex[0]].Height, C.Shrunk) << C.From;
  }
}

TEST_F(TextControlTest, LinesWrapAfterTheLastSpaceOrBeforeTheCharacterThatDoesNotFit) {
  // 5 characters fit a line.
  Attach("ab cdef");
  Layout(BoxFor(5));
  EXPECT_EQ(Y(0), Y(2));  // the space stays on the first line
  EXPECT_GT(Y(3), Y(2));
  EXPECT_EQ(X(3), 1);

  Attach("abcdefgh");  // no space: breaks before the sixth character
  Layout(BoxFor(5));
  EXPECT_EQ(Y(4), Y(0));
  EXPECT_GT(Y(5), Y(4));
  EXPECT_EQ(X(5), 1);

  // A character wider than the text width ends the layout.
  Attach("ab");
  Layout(CharW + 2);
  EXPECT_EQ(X(1), -1);  // (entry 0 holds the caret)
  EXPECT_EQ(Text->GetCaretPos(), (TPoint{1, 1}));
}

TEST_F(TextControlTest, AlignmentOffsetsAndJustification) {
  const Integer W = BoxFor(10);
  const Integer TW = W - 2;
  struct Case {
    Integer Align, FirstX;
  };
  for (const Case C : {Case{0, 1}, Case{1, 1 + TW - 3 * CharW - 1}, Case{2, 1 + (TW - 3 * CharW) / 2}}) {
    Text->DefaultAlignment = C.Align;
    Attach("abc");
    Layout(W);
    EXPECT_EQ(X(0), C.FirstX) << C.Align;
  }
  // Justified: a wrapped line spreads to the text width, the paragraph's last line does not.
  Text->DefaultAlignment = 3;
  Attach("aa bb cc dd\nee ff");
  Layout(W);
  ASSERT_EQ(Y(0), Y(8));  // "aa bb cc " on the first line
  ASSERT_GT(Y(9), Y(8));
  const Integer R = 8 * CharW;  // "aa bb cc" without the space
  EXPECT_EQ(X(7) - 1, static_cast<Integer>(7.0 * CharW * TW / (R + 1)));
  EXPECT_GT(X(7), 1 + 7 * CharW);
  // "dd\n" ends its paragraph, "ee ff" ends the text: both left as laid.
  EXPECT_EQ(X(10) - X(9), CharW);
  EXPECT_EQ(X(16) - X(12), 4 * CharW);
}

TEST_F(TextControlTest, CaretMovesByLinesWordsAndEnds) {
  // Lines of 6, 2 and 6 characters; caret before the sixth character of the first line.
  Attach(std::string("abcdef") + LF + "gh" + LF + "ijklmn");
  Text->SetBounds(0, 0, 300, 200);
  Text->SetCaret(5);
  Text->MoveCaret(VK_DOWN, {});
  EXPECT_EQ(Text->GetCaret(), 7);  // every character of "gh\n" lies left of the caret

  Text->SetCaret(2);
  Text->MoveCaret(VK_UP, {});
  EXPECT_EQ(Text->GetCaret(), 2);  // first line: stays
  Text->SetCaret(16);
  Text->MoveCaret(VK_DOWN, {});
  EXPECT_EQ(Text->GetCaret(), 16);  // last line: stays
  Text->MoveCaret(VK_UP, {});
  EXPECT_EQ(Text->GetCaret(), 9);  // the line above is shorter: its last character (LF)

  Text->SetCaret(3);
  Text->MoveCaret(VK_END, {});
  EXPECT_EQ(Text->GetCaret(), 6);  // before the line's LF
  Text->MoveCaret(VK_HOME, {});
  EXPECT_EQ(Text->GetCaret(), 0);
  Text->SetCaret(12);
  Text->MoveCaret(VK_END, {});
  EXPECT_EQ(Text->GetCaret(), 16);  // the length on the last line
  Text->MoveCaret(VK_HOME, {});
  EXPECT_EQ(Text->GetCaret(), 10);

  Attach("one two  three");
  Text->SetCaret(0);
  Text->MoveCaret(VK_RIGHT, TShiftState{ssCtrl});
  EXPECT_EQ(Text->GetCaret(), 3);
  Text->MoveCaret(VK_RIGHT, TShiftState{ssCtrl});
  EXPECT_EQ(Text->GetCaret(), 7);
  Text->MoveCaret(VK_LEFT, TShiftState{ssCtrl});
  EXPECT_EQ(Text->GetCaret(), 4);
  Text->SetCaret(14);
  Text->MoveCaret(VK_LEFT, TShiftState{ssCtrl});
  EXPECT_EQ(Text->GetCaret(), 9);
}

TEST_F(TextControlTest, ShiftMovesExtendAndShrinkTheSelection) {
  Attach("abcdef");
  Text->SetBounds(0, 0, 300, 200);
  Text->SetCaret(2);
  Text->MoveCaret(VK_RIGHT, TShiftState{ssShift});
  Text->MoveCaret(VK_RIGHT, TShiftState{ssShift});
  EXPECT_EQ(Text->GetSelStart(), 2);
  EXPECT_EQ(Text->GetSelEnd(), 4);
  Text->MoveCaret(VK_LEFT, TShiftState{ssShift});  // inside: moves the end
  EXPECT_EQ(Text->GetSelEnd(), 3);
  Text->MoveCaret(VK_LEFT, TShiftState{});
  EXPECT_EQ(Text->GetSelStart(), 0);
  EXPECT_EQ(Text->GetSelEnd(), 0);
}

TEST_F(TextControlTest, CopyWritesCrLfAndFormatsAndPasteRestoresThem) {
  Attach(std::string("a") + LF + "b");
  Text->SetSelection(2, 3);
  Text->ToggleStyle(2);  // "b" underlined
  Text->SetSelection(0, 3);
  Text->CopyToClipboard();

  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE Plain = GetClipboardData(CF_TEXT);
  ASSERT_NE(Plain, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(Plain))), "a\r\nb");
  GlobalUnlock(Plain);
  HANDLE Memo = GetClipboardData(IETextMemoClipboardFormat);
  ASSERT_NE(Memo, nullptr);
  EXPECT_EQ(GlobalSize(Memo), 4u + 3u * IECharFormatSize);
  CloseClipboard();

  Attach("");
  Text->PasteFromClipboard();
  EXPECT_EQ(Text->TextBuffer, std::string("a") + LF + "b");
  EXPECT_EQ(Text->FormatList[Text->FormatIndex[2]].Style & 4, 4);
  EXPECT_EQ(Text->FormatList[Text->FormatIndex[0]].Style & 4, 0);

  // Plain text alone: every character but CR.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, 5);
  std::memcpy(GlobalLock(Mem), "x\r\ny", 5);
  GlobalUnlock(Mem);
  SetClipboardData(CF_TEXT, Mem);
  CloseClipboard();
  Attach("");
  Text->PasteFromClipboard();
  EXPECT_EQ(Text->TextBuffer, std::string("x") + LF + "y");
}

TEST_F(TextControlTest, ShortMemoBlockFallsBackToText) {
  // A block claiming more characters than it has formats for is not read past its end.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, 4 + IECharFormatSize);
  auto* P = static_cast<Byte*>(GlobalLock(Mem));
  std::memset(P, 0, 4 + IECharFormatSize);
  std::memcpy(P, "abc", 4);
  GlobalUnlock(Mem);
  SetClipboardData(IETextMemoClipboardFormat, Mem);
  HGLOBAL Plain = GlobalAlloc(GMEM_MOVEABLE, 3);
  std::memcpy(GlobalLock(Plain), "pq", 3);
  GlobalUnlock(Plain);
  SetClipboardData(CF_TEXT, Plain);
  CloseClipboard();
  Attach("");
  Text->PasteFromClipboard();
  EXPECT_EQ(Text->TextBuffer, "pq");
}

// Keys and the mouse reach a shown control through the window system.
class TextControlWindowTest : public TextControlTest {
 protected:
  void SetUp() override {
    TextControlTest::SetUp();
    IETextShortCuts = {ShortCut('L', {ssCtrl}), ShortCut('E', {ssCtrl}), ShortCut('R', {ssCtrl}),
                       ShortCut('J', {ssCtrl}), ShortCut('C', {ssCtrl}), ShortCut('X', {ssCtrl}),
                       ShortCut('V', {ssCtrl}), ShortCut('F', {ssCtrl}), ShortCut('B', {ssCtrl}),
                       ShortCut('I', {ssCtrl}), ShortCut('U', {ssCtrl}), ShortCut('G', {ssCtrl})};
    Headless().ClearInput();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    Owned = new TIETextControl(Form.get());
    Owned->GetDefaultFont()->SetName("Liberation Mono");
    Owned->GetDefaultFont()->SetHeight(-16);
    Owned->SetParent(Form.get());
    Owned->SetBounds(0, 0, 300, 200);
    Owned->TextBuffer.clear();
    Owned->Reset();
    Form->Show();
    Owned->SetFocus();
    Application->ProcessMessages();
  }
  void TearDown() override {
    Headless().ClearInput();
    Form.reset();
    Application->ProcessMessages();
  }
  void Key(Word VK, UINT Modifiers = 0) {
    Headless().KeyPress(VK, Modifiers);
    Application->ProcessMessages();
  }
  std::unique_ptr<TForm> Form;
  TIETextControl* Owned = nullptr;
};

TEST_F(TextControlWindowTest, TypingEditingAndShortcuts) {
  Headless().Type("abc");
  Application->ProcessMessages();
  EXPECT_EQ(Owned->TextBuffer, "abc");
  Key(VK_BACK);
  Key(VK_RETURN);
  Headless().Type("d");
  Application->ProcessMessages();
  EXPECT_EQ(Owned->TextBuffer, std::string("ab") + LF + "d");

  // Shift+Left twice selects "\nd"; Ctrl+B makes both bold.
  Key(VK_LEFT, kmShift);
  Key(VK_LEFT, kmShift);
  EXPECT_EQ(Owned->GetSelStart(), 2);
  EXPECT_EQ(Owned->GetSelEnd(), 4);
  Key('B', kmControl);
  EXPECT_EQ(Owned->FormatList[Owned->FormatIndex[3]].Style & 1, 1);
  EXPECT_EQ(Owned->FormatList[Owned->FormatIndex[0]].Style & 1, 0);

  // Ctrl+X cuts, Ctrl+V brings it back at the caret.
  Key('X', kmControl);
  EXPECT_EQ(Owned->TextBuffer, "ab");
  Key(VK_HOME);
  Key('V', kmControl);
  EXPECT_EQ(Owned->TextBuffer, std::string(1, LF) + "dab");

  // Overwrite mode replaces the character at the caret.
  Key(VK_INSERT);
  Headless().Type("Z");
  Application->ProcessMessages();
  EXPECT_EQ(Owned->TextBuffer, std::string(1, LF) + "dZb");
}

TEST_F(TextControlWindowTest, MouseDragSelectsAndReportsTheCaret) {
  Integer Moves = 0;
  struct TCounter {
    Integer* Count;
    void Moved(TObject*) { ++*Count; }
  } Counter{&Moves};
  Owned->OnCursorMoved = TNotifyEvent(&Counter, &TCounter::Moved);
  Owned->TextBuffer = "hello world";
  Owned->Reset();
  Owned->Invalidate();
  Application->ProcessMessages();
  const TPoint Origin = Owned->ClientToScreen(TPoint{0, 0});
  const Integer Mid = Origin.Y + 8;
  Headless().Drag(TPoint{Origin.X + 1 + 2 * CharW + 1, Mid}, TPoint{Origin.X + 1 + 7 * CharW + 1, Mid});
  Application->ProcessMessages();
  EXPECT_EQ(Owned->GetSelStart(), 2);
  EXPECT_EQ(Owned->GetSelEnd(), 7);
  EXPECT_GE(Moves, 2);
}

}  // namespace
