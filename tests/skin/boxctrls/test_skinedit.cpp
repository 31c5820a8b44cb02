// The skinned edit: its height and frame insets with and without a part, the part's pictures
// for the frame and under the text, the button, a part of another kind, and pasting into the
// one line.
#include <cstring>
#include <string>
#include <vector>

#include "platform/user/Clipboard.h"
#include "platform/user/GlobalMemory.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/boxctrls/BoxSkinSupport.h"

namespace {

using namespace SkinTesting;
using BoxSkin::Screen;

void PutOnClipboard(const std::string& Text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
  std::memcpy(GlobalLock(Mem), Text.c_str(), Text.size() + 1);
  GlobalUnlock(Mem);
  SetClipboardData(CF_TEXT, Mem);
  CloseClipboard();
}

// Part "edit" 60 x 24: a gray frame with a 4-pixel border around an aqua client piece; its hot
// picture below (maroon frame, olive client); part "buttonedit" 60 x 24 with a red button.
const std::string EditKeys =
    "pictureindex=0\r\nskinrect=0,0,60,24\r\nactiveskinrect=0,30,60,54\r\nclientrect=4,4,56,20\r\n"
    "lefttoppoint=4,0\r\nrighttoppoint=56,0\r\nfontcolor=255\r\nactivefontcolor=65280\r\nfontheight=12\r\n";

std::string EditPicture() {
  return BoxSkin::Picture(100, 60, clSilver,
                          {{Rect(0, 0, 60, 24), clGray},
                           {Rect(4, 4, 56, 20), clAqua},
                           {Rect(0, 30, 60, 54), clMaroon},
                           {Rect(4, 34, 56, 50), clOlive}});
}

class TSkinEditTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form");
    Edit = NewControl<TbsSkinEdit>(Form, "Edit", 20, 20);
    Edit->SetWidth(150);
    Other = NewControl<TbsSkinEdit>(Form, "Other", 20, 200);
    Form->Show();
    Other->SetFocus();
    Pump();
  }
  void LoadSkin(const std::string& TypeWord = "edit") {
    BoxSkin::Load(Data, {EditPicture()}, {{"edit", TypeWord, EditKeys}});
    Edit->SetSkinData(&Data);
    Pump();
  }
  TForm* Form = nullptr;
  TbsSkinEdit* Edit = nullptr;
  TbsSkinEdit* Other = nullptr;
  TbsSkinData Data{nullptr};
  TEventLog Log;
};

TEST_F(TSkinEditTest, HeightByFontOrPart) {
  const Integer TextHeight = FontTextHeight(Edit->GetFont());
  struct TCase {
    const char* Name;
    bool Skin;
    bool UseSkinFont;
    TAlign Align;
    Integer Requested;
    Integer Height;
  };
  const std::vector<TCase> Cases{
      // Without a part: 6 pixels taller than the text, whatever is asked.
      {"plain", false, true, alNone, 50, TextHeight + 6},
      // Aligned to a side: the height the alignment gives (the form's client height).
      {"plain, aligned left", false, true, alLeft, 50, 300},
      // With a part and its font: the part's height.
      {"part", true, true, alNone, 50, 24},
  };
  for (const TCase& C : Cases) {
    if (C.Skin) LoadSkin();
    Edit->SetUseSkinFont(C.UseSkinFont);
    Edit->SetAlign(C.Align);
    Edit->SetHeight(C.Requested);
    EXPECT_EQ(Edit->GetHeight(), C.Height) << C.Name;
    Edit->SetAlign(alNone);
  }
  // With a part and the default font: the text height plus the part's frame (8).
  Edit->SetUseSkinFont(false);
  Edit->ApplySkinChange();
  EXPECT_EQ(Edit->GetHeight(), FontTextHeight(Edit->GetFont()) + 8);
}

TEST_F(TSkinEditTest, FrameInsets) {
  Edit->SetHeight(20);
  Pump();
  EXPECT_EQ(Edit->GetClientRect(), Rect(0, 0, 146, Edit->GetHeight() - 4));
  Edit->SetButtonMode(true);
  Pump();
  // The button is a square of the height at the right end.
  EXPECT_EQ(Edit->GetClientWidth(), 150 - 2 - (Edit->GetHeight() + 2));
  Edit->SetButtonMode(false);
  LoadSkin();
  EXPECT_EQ(Edit->GetClientRect(), Rect(0, 0, 150 - 8, 16));
  EXPECT_EQ(Edit->GetTextRect(), Rect(4, 4, 146, 20));
}

TEST_F(TSkinEditTest, PartPicturesFrameAndBackground) {
  LoadSkin();
  Edit->SetText("");
  Pump();
  EXPECT_EQ(Edit->GetFont()->GetColor(), static_cast<TColor>(255));
  EXPECT_EQ(Edit->GetFont()->GetHeight(), 12);
  EXPECT_EQ(PixelAt(Edit, -4, -4), Screen(clGray));
  EXPECT_EQ(PixelAt(Edit, 145, 15), Screen(clGray));
  // Under the text the client piece, stretched along.
  EXPECT_EQ(PixelAt(Edit, 100, 8), Screen(clAqua));
  // Hovered: the active pictures and font colour.
  MoveAt(Edit, 100, 8);
  EXPECT_EQ(PixelAt(Edit, -4, -4), Screen(clMaroon));
  EXPECT_EQ(PixelAt(Edit, 100, 8), Screen(clOlive));
  EXPECT_EQ(Edit->GetFont()->GetColor(), static_cast<TColor>(65280));
  MoveAt(Other, 5, 5);
  Wait(200);
  EXPECT_EQ(PixelAt(Edit, -4, -4), Screen(clGray));
  EXPECT_EQ(Edit->GetFont()->GetColor(), static_cast<TColor>(255));
}

TEST_F(TSkinEditTest, APartOfAnotherKindIsNoPart) {
  LoadSkin("spinedit");
  EXPECT_EQ(Edit->PartIndex, -1);
  Edit->SetDefaultColor(clYellow);
  Pump();
  EXPECT_EQ(PixelAt(Edit, -2, -2), ScreenColor(clBtnShadow));
  EXPECT_EQ(PixelAt(Edit, 140, 5), ScreenColor(clYellow));
}

TEST_F(TSkinEditTest, ButtonClickNeedsPressAndRelease) {
  Edit->SetButtonMode(true);
  Edit->OnButtonClick = TNotifyEvent(&Log, &TEventLog::Click);
  Pump();
  const Integer H = Edit->GetHeight();
  // Client coordinates of the button: right of the client area.
  const Integer X = Edit->GetClientWidth() + 2 + H / 2 - 2;
  ClickAt(Edit, X, H / 2 - 2);
  EXPECT_EQ(Log.Take(), TLines{"Click Edit"});
  EXPECT_TRUE(Edit->Focused());
}

TEST_F(TSkinEditTest, PastedLineBreaksAreDropped) {
  Edit->SetText("x");
  Edit->SetFocus();
  Edit->SetSelStart(1);
  PutOnClipboard("one\r\ntwo\nthree");
  Edit->PasteFromClipboard();
  EXPECT_EQ(Edit->GetText(), "xonetwothree");
  // Read-only: nothing is pasted.
  Edit->SetReadOnly(true);
  Edit->PasteFromClipboard();
  EXPECT_EQ(Edit->GetText(), "xonetwothree");
}

}  // namespace
