// The combo box's looks: the plain text area by focus, the item shown while the list is open,
// the skin part's item and button pictures by state, the drop button of the resized look, the
// disabled text colour, and repeated paints.
#include <string>
#include <vector>

#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/boxctrls/BoxSkinSupport.h"

namespace {

using namespace SkinTesting;

constexpr TColor FrameColor = clNavy, FieldColor = clTeal, ButtonColor = clSilver, HotButtonColor = clLime,
                 ItemColor = clOlive, FocusItemColor = clPurple, EditDisabledColor = 0x0000C0;

// A 60 x 20 "combobox" part that widens by its middle: the field, the button in three states
// and the item pictures each in a colour of its own.
std::string ComboPartKeys() {
  return "pictureindex=0\r\nskinrect=0,0,60,20\r\nclientrect=3,3,40,17\r\nlefttoppoint=3,0\r\n"
         "righttoppoint=41,0\r\nbuttonrect=42,2,58,18\r\nactivebuttonrect=62,2,78,18\r\n"
         "downbuttonrect=82,2,98,18\r\nitemrect=0,30,37,44\r\nfocusitemrect=0,50,37,64\r\n"
         "itemtextrect=2,0,35,14\r\nlistboxname=droplist\r\n";
}

// The drop-down list's part: a 2-pixel frame and rows 16 high.
std::string ListPartKeys() {
  return "pictureindex=0\r\nskinrect=0,0,60,20\r\nclientrect=2,2,58,18\r\nlefttoppoint=2,2\r\n"
         "righttoppoint=58,2\r\nleftbottompoint=2,18\r\nrightbottompoint=58,18\r\n"
         "itemrect=0,30,37,46\r\nactiveitemrect=0,50,37,66\r\nitemtextrect=2,0,35,16\r\n";
}

std::string ComboPicture() {
  return BoxSkin::Picture(100, 70, clGray,
                          {{Rect(0, 0, 60, 20), FrameColor},
                           {Rect(3, 3, 40, 17), FieldColor},
                           {Rect(42, 2, 58, 18), ButtonColor},
                           {Rect(62, 2, 78, 18), HotButtonColor},
                           {Rect(82, 2, 98, 18), clRed},
                           {Rect(0, 30, 37, 44), ItemColor},
                           {Rect(0, 50, 37, 64), FocusItemColor}});
}

class TComboPaintingTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 100, 100, 400, 300);
    Combo = NewControl<TbsSkinComboBox>(Form, "Combo", 20, 20);
    Combo->SetWidth(150);
    for (Integer I = 0; I < 10; ++I) Combo->GetItems()->Add("Item " + std::to_string(I));
    Combo->SetItemIndex(1);
    Other = NewControl<TbsSkinComboBox>(Form, "Other", 20, 200);
    Form->Show();
    Pump();
    Unfocus();
  }
  void Unfocus() {
    Other->SetFocus();
    Pump();
  }
  void LoadSkin(std::vector<BoxSkin::TPart> Extra = {}, const std::string& ComboKeys = ComboPartKeys()) {
    Extra.insert(Extra.begin(), {"combobox", "combobox", ComboKeys});
    BoxSkin::Load(Skin, {ComboPicture()}, Extra);
    Combo->SetSkinData(&Skin);
    Pump();
  }
  std::vector<DWORD> AreaPixels(const TRect& R) {
    Pump();
    const TPoint O = Combo->ClientToScreen(Point(R.Left, R.Top));
    return ScreenPixels(Bounds(O.X, O.Y, R.Width(), R.Height()));
  }
  TForm* Form = nullptr;
  TbsSkinComboBox* Combo = nullptr;
  TbsSkinComboBox* Other = nullptr;
  TbsSkinData Skin{nullptr};
};

TEST_F(TComboPaintingTest, PlainTextAreaByFocus) {
  const TRect T = Combo->GetTextArea();
  EXPECT_EQ(PixelAt(Combo, T.Right - 3, T.Top + T.Height() / 2), ScreenColor(clWindow));
  Combo->SetFocus();
  EXPECT_EQ(PixelAt(Combo, T.Right - 3, T.Top + T.Height() / 2), ScreenColor(clHighlight));
  // The dotted frame: one pixel in two along the top edge.
  const std::vector<DWORD> Top = AreaPixels(Rect(T.Left, T.Top, T.Left + 20, T.Top + 1));
  Integer Framed = 0;
  for (DWORD P : Top) Framed += P != ScreenColor(clHighlight) ? 1 : 0;
  EXPECT_EQ(Framed, 10);
}

TEST_F(TComboPaintingTest, TheOpenComboShowsTheItemItOpenedWith) {
  const TRect T = Combo->GetTextArea();
  ClickAt(Combo, 60, 10);
  ASSERT_TRUE(Combo->GetDroppedDown());
  const std::vector<DWORD> Open = AreaPixels(T);
  TbsListBox* L = Combo->GetListBox()->ListBox;
  const TPoint Row = L->ClientToScreen(Point(20, 5 * L->GetItemHeight() + 5));
  ScriptMoveTo(Row.X, Row.Y);
  Pump();
  ASSERT_NE(Combo->GetListBox()->GetItemIndex(), 1);
  Combo->Invalidate();
  EXPECT_EQ(AreaPixels(T), Open);
  ScriptKeyPress(VK_ESCAPE);
  Pump();
}

TEST_F(TComboPaintingTest, SkinPartItemAndButtonByState) {
  LoadSkin();
  EXPECT_EQ(Combo->GetHeight(), 20);
  EXPECT_EQ(Combo->GetButtonArea(), Rect(132, 2, 148, 18));
  EXPECT_EQ(Combo->GetTextArea(), Rect(3, 3, 130, 17));
  const Integer X = Combo->GetTextArea().Right - 2;
  EXPECT_EQ(PixelAt(Combo, X, 10), BoxSkin::Screen(ItemColor));
  EXPECT_EQ(PixelAt(Combo, 140, 10), BoxSkin::Screen(ButtonColor));
  // The pointer over the button: its hot picture.
  MoveAt(Combo, 140, 10);
  EXPECT_EQ(PixelAt(Combo, 140, 10), BoxSkin::Screen(HotButtonColor));
  MoveAt(Form, 300, 150);
  Combo->SetFocus();
  EXPECT_EQ(PixelAt(Combo, X, 10), BoxSkin::Screen(FocusItemColor));
  // Repeated paints draw the same.
  const std::vector<DWORD> First = AreaPixels(Combo->GetClientRect());
  for (Integer I = 0; I < 3; ++I) Combo->Invalidate();
  EXPECT_EQ(AreaPixels(Combo->GetClientRect()), First);
}

TEST_F(TComboPaintingTest, ResizedLookDrawsTheButtonPartOrNone) {
  auto HasLime = [this] {
    bool Found = false;
    for (DWORD P : AreaPixels(Combo->GetButtonArea())) Found = Found || P == BoxSkin::Screen(HotButtonColor);
    return Found;
  };
  for (bool WithButtonPart : {false, true}) {
    std::vector<BoxSkin::TPart> Extra;
    if (WithButtonPart)
      Extra.push_back({"combobutton", "button",
                       "pictureindex=0\r\nskinrect=62,2,78,18\r\nclientrect=2,2,14,14\r\n"
                       "lefttoppoint=2,2\r\nrighttoppoint=14,2\r\nleftbottompoint=2,14\r\n"
                       "rightbottompoint=14,14\r\n"});
    LoadSkin(Extra);
    Combo->SetUseSkinSize(false);
    Combo->SetHeight(30);
    Pump();
    EXPECT_EQ(Combo->GetHeight(), 30);
    EXPECT_EQ(Combo->GetButtonArea(), Rect(132, 2, 148, 28));
    EXPECT_EQ(HasLime(), WithButtonPart);
    const std::vector<DWORD> First = AreaPixels(Combo->GetClientRect());
    Combo->Invalidate();
    Combo->Invalidate();
    EXPECT_EQ(AreaPixels(Combo->GetClientRect()), First);
  }
}

// The pattern drop-down of the main window as a new user meets it, skinned: the first opening
// shows eight rows and a bar with a window, and the wheel scrolls the list.
TEST_F(TComboPaintingTest, SkinnedDropDownFirstOpening) {
  LoadSkin({{"droplist", "listbox", ListPartKeys()}});
  Combo->SetItemIndex(0);
  ClickAt(Combo, 60, 10);
  ASSERT_TRUE(Combo->GetDroppedDown());
  TbsPopupListBox* L = Combo->GetListBox();
  EXPECT_EQ(L->PartIndex, Skin.FindControlPart("droplist"));
  EXPECT_EQ(L->ListBox->GetItemHeight(), 16);
  EXPECT_EQ(L->ListBox->GetHeight(), 8 * 16);
  EXPECT_EQ(L->GetHeight(), 4 + 8 * 16);
  ASSERT_NE(L->MainScrollBar, nullptr);
  EXPECT_TRUE(L->MainScrollBar->HandleAllocated());
  EXPECT_TRUE(L->MainScrollBar->GetVisible());
  const TPoint P = L->ListBox->ClientToScreen(Point(10, 10));
  ScriptMoveTo(P.X, P.Y);
  for (Integer Notch = 0; Notch < 9; ++Notch) ScriptWheel(-120);
  Pump();
  EXPECT_EQ(L->GetItemIndex(), 9);
  EXPECT_EQ(L->ListBox->GetTopIndex(), 2);
  EXPECT_EQ(L->MainScrollBar->GetPosition(), 2);
  ScriptKeyPress(VK_ESCAPE);
  Pump();
}

TEST_F(TComboPaintingTest, TheEditorTakesTheHotColourWhileTheComboIsHot) {
  Combo->SetStyle(bscbEditStyle);
  LoadSkin({}, ComboPartKeys() + "activeskinrect=0,0,60,20\r\nfontcolor=32768\r\nactivefontcolor=255\r\n");
  TbsCustomEdit* Edit = Combo->GetEdit();
  ASSERT_NE(Edit, nullptr);
  EXPECT_EQ(Edit->GetFont()->GetColor(), 32768);
  Edit->SetFocus();
  Pump();
  EXPECT_EQ(Edit->GetFont()->GetColor(), 255);
  Unfocus();
  EXPECT_EQ(Edit->GetFont()->GetColor(), 32768);
  MoveAt(Combo, 140, 10);
  EXPECT_EQ(Edit->GetFont()->GetColor(), 255);
  MoveAt(Form, 300, 150);
  EXPECT_EQ(Edit->GetFont()->GetColor(), 32768);
}

TEST_F(TComboPaintingTest, DisabledTextColour) {
  LoadSkin();
  EXPECT_EQ(Combo->DisabledTextColor(), clGrayText);
  LoadSkin({{"edit", "edit",
             "pictureindex=0\r\nskinrect=0,0,60,20\r\ndisabledfontcolor=" +
                 std::to_string(EditDisabledColor) + "\r\n"}});
  EXPECT_EQ(Combo->DisabledTextColor(), EditDisabledColor);
  Combo->SetEnabled(false);
  const std::vector<DWORD> Text = AreaPixels(Combo->GetTextArea());
  bool Found = false;
  for (DWORD P : Text) Found = Found || P == BoxSkin::Screen(EditDisabledColor);
  EXPECT_TRUE(Found) << "the item's text in the edit part's disabled colour";
}

}  // namespace
