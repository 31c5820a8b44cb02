// The edits' built-in context menu (entries enabled by the edit's state, where it opens, its
// lifetime) and the keys an edit hands to its form.
#include <cstring>
#include <string>
#include <vector>

#include "platform/user/Clipboard.h"
#include "platform/user/GlobalMemory.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinEditMenu.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

void SetClipboardText(const std::string& Text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (!Text.empty()) {
    HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
    std::memcpy(GlobalLock(Mem), Text.c_str(), Text.size() + 1);
    GlobalUnlock(Mem);
    SetClipboardData(CF_TEXT, Mem);
  }
  CloseClipboard();
}

// What the installed menu was asked to show; the menu it makes tells when it goes.
struct TShown {
  static inline std::vector<TbsEditMenuEntry> Entries;
  static inline TPoint At;
  static inline Integer Alive = 0;
  struct TMenu : TComponent {
    explicit TMenu(TComponent* Owner) : TComponent(Owner) { ++Alive; }
    ~TMenu() override { --Alive; }
  };
  static TComponent* Show(TbsCustomEdit* Edit, const std::vector<TbsEditMenuEntry>& E, TPoint P) {
    Entries = E;
    At = P;
    return new TMenu(Edit);
  }
};

class TEditMenuTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Edit = NewControl<TbsSkinEdit>(Form, "Edit", 20, 20);
    Edit->SetWidth(150);
    Form->Show();
    Pump();
    SetEditMenuShow(&TShown::Show);
  }
  void TearDown() override {
    SetEditMenuShow(nullptr);
    TSkinTest::TearDown();
  }
  TForm* Form = nullptr;
  TbsSkinEdit* Edit = nullptr;
  TEventLog Log;
};

TEST_F(TEditMenuTest, EntriesFollowTheEditsState) {
  struct TCase {
    const char* Name;
    const char* Text;
    Integer SelStart, SelLength;
    bool ReadOnly;
    const char* Clipboard;
    // Undo, Cut, Copy, Paste, Delete, Select All
    std::vector<bool> Enabled;
  };
  const std::vector<TCase> Cases{
      {"part selected", "abcdef", 1, 2, false, "x", {false, true, true, true, true, true}},
      {"read-only", "abcdef", 1, 2, true, "x", {false, false, true, false, false, true}},
      {"empty", "", 0, 0, false, "x", {false, false, false, true, false, false}},
      {"all selected", "abc", 0, 3, false, "x", {false, true, true, true, true, false}},
      {"empty clipboard", "abc", 0, 0, false, "", {false, false, false, false, false, true}},
  };
  for (const TCase& C : Cases) {
    Edit->SetReadOnly(C.ReadOnly);
    Edit->SetText(C.Text);
    Edit->SetSelStart(C.SelStart);
    Edit->SetSelLength(C.SelLength);
    SetClipboardText(C.Clipboard);
    const std::vector<TbsEditMenuEntry> E = EditMenuEntries(Edit);
    ASSERT_EQ(E.size(), 8u);
    const std::vector<bool> Enabled{E[0].Enabled, E[2].Enabled, E[3].Enabled,
                                    E[4].Enabled, E[5].Enabled, E[7].Enabled};
    EXPECT_EQ(Enabled, C.Enabled) << C.Name;
  }
  const std::vector<TbsEditMenuEntry> E = EditMenuEntries(Edit);
  std::vector<std::string> Keys;
  for (const TbsEditMenuEntry& Entry : E) Keys.push_back(Entry.Key);
  EXPECT_EQ(Keys, (std::vector<std::string>{"EDIT_UNDO", "-", "EDIT_CUT", "EDIT_COPY", "EDIT_PASTE",
                                            "EDIT_DELETE", "-", "EDIT_SELECTALL"}));
  EXPECT_EQ(E[7].Caption, "Select All");
}

TEST_F(TEditMenuTest, OpensAtThePointOrTheCentreAndGoesAfterACommand) {
  Edit->Perform(WM_CONTEXTMENU, 0, MAKELONG(300, 200));
  EXPECT_EQ(TShown::At, (TPoint{300, 200}));
  EXPECT_EQ(TShown::Alive, 1);
  // From the keyboard: the centre of the edit; the old menu goes first.
  Edit->Perform(WM_CONTEXTMENU, 0, static_cast<LPARAM>(-1));
  const TPoint Origin = Edit->ClientToScreen({0, 0});
  EXPECT_EQ(TShown::At, (TPoint{Origin.X + Edit->GetWidth() / 2, Origin.Y + Edit->GetHeight() / 2}));
  EXPECT_EQ(TShown::Alive, 1);
  // A command runs, then the menu tells the edit it is done.
  Edit->SetText("abc");
  TShown::Entries[7].Command(Edit);
  EXPECT_EQ(Edit->GetSelLength(), 3);
  Edit->Perform(WM_EDITMENUDONE, 0, 0);
  EXPECT_EQ(TShown::Alive, 0);
}

TEST_F(TEditMenuTest, EnterAndEscapeReachTheFormsButtons) {
  auto* OK = NewControl<TbsSkinButton>(Form, "OK", 20, 60);
  OK->SetDefault(true);
  OK->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  auto* Cancel = NewControl<TbsSkinButton>(Form, "Cancel", 120, 60);
  Cancel->SetCancel(true);
  Cancel->OnClick = TNotifyEvent(&Log, &TEventLog::Click);
  Edit->SetText("keep");
  Pump();
  ClickAt(Edit, 5, 5);
  ScriptKeyPress(VK_RETURN);
  ScriptKeyPress(VK_ESCAPE);
  Pump();
  EXPECT_EQ(Log.Take(), (TLines{"Click OK", "Click Cancel"}));
  // The native edit never saw them.
  EXPECT_EQ(Edit->GetText(), "keep");
}

}  // namespace
