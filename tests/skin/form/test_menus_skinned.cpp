// Popup menus drawn from a skin's POPUPWINDOW frame and menu item part, and the popup menu
// component that finds its form's menu and skin.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Menus.h"
#include "platform/system/Streams.h"
#include "skin/controls/bsSkinMenuZone.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinPopupMenus.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/data/SkinPayload.h"

namespace {

using namespace SkinTesting;

constexpr TColor FrameColor = clOlive;
constexpr TColor NormalColor = clSilver;
constexpr TColor ActiveColor = clTeal;
constexpr TColor DividerColor = clMaroon;

constexpr TColor GlyphColor = clBlue;

// A BMP file image with the item looks in bands: normal (rows 0..19), active (20..39) and the
// divider (40..44), then an 8 x 8 check glyph: white (its transparent colour) around a 4 x 4
// blue square.
std::string ItemPicture() {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(50, 52);
  TCanvas* C = B.GetCanvas();
  const std::pair<TColor, TRect> Bands[] = {{NormalColor, Rect(0, 0, 50, 20)},
                                            {ActiveColor, Rect(0, 20, 50, 40)},
                                            {DividerColor, Rect(0, 40, 50, 44)},
                                            {clWhite, Rect(0, 44, 8, 52)},
                                            {GlyphColor, Rect(2, 46, 6, 50)}};
  for (const auto& [Color, R] : Bands) {
    C->GetBrush()->SetColor(Color);
    C->FillRect(R);
  }
  TMemoryStream S;
  B.SaveToStream(&S);
  return std::string(static_cast<const char*>(S.GetMemory()), static_cast<std::size_t>(S.GetSize()));
}

std::string SkinText(Integer WindowPicture) {
  return "[VERSION]\nskinname=menus\n[PICTURES]\n[FORMINFO]\n"
         "[POPUPWINDOW]\nwindowpictureindex=" +
         std::to_string(WindowPicture) +
         "\nlefttoppoint=3,3\nrighttoppoint=57,3\nleftbottompoint=3,37\nrightbottompoint=57,37\n"
         "itemsrect=3,3,57,37\n"
         "[SKINOBJECTS]\ncount=1\n0=menuitem:menuitem\n"
         "[menuitem]\nactivepictureindex=1\nskinrect=0,0,50,18\nactiveskinrect=0,20,50,38\n"
         "dividerrect=0,40,50,44\ntextrect=4,1,46,17\nitemleftoffset=2\nitemrightoffset=2\n"
         "checkimagerect=0,44,8,52\n"
         "[SKINCONTROLS]\ncount=0\n";
}

class TMenusSkinnedTest : public TSkinTest {
 public:
  void Popped(TObject*) { Log.push_back("OnPopup"); }
  void Closed(TObject*) { Log.push_back("OnMenuClose"); }

 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 100, 100, 300, 200);
    SkinForm = new TbsSkinForm(Form);
    Form->Show();
    Pump();
  }
  void LoadSkin(Integer WindowPicture) {
    using namespace SkinPayload;
    Fill(Stored,
         Compressed(Payload(3, {BmpImage(60, 40, FrameColor), ItemPicture()}, SkinText(WindowPicture))));
    Data.LoadStoredSkin(&Stored);
  }
  TMenuItem* Add(TMenu* Menu, const std::string& Caption) {
    auto* I = new TMenuItem(Form);
    I->SetCaption(Caption);
    Menu->GetItems()->Add(I);
    return I;
  }
  TbsSkinMenu* Chain() { return SkinForm->GetSkinMenu(); }
  Integer TextWidth(const std::string& Text) {
    TBitmap B;
    B.GetCanvas()->GetFont()->SetName("Arial");
    B.GetCanvas()->GetFont()->SetHeight(14);
    return B.GetCanvas()->TextWidth(Text);
  }

  TLines Log;
  TForm* Form = nullptr;
  TbsSkinForm* SkinForm = nullptr;
  TbsSkinData Data{nullptr};
  TbsCompressedStoredSkin Stored{nullptr};
};

TEST_F(TMenusSkinnedTest, TheSkinSizesAndPaintsTheWindow) {
  LoadSkin(0);
  auto* Menu = new TPopupMenu(Form);
  Add(Menu, "Open");
  Add(Menu, "-");
  Add(Menu, "Save as");
  Chain()->Popup(nullptr, &Data, false, Menu->GetItems(), Rect(150, 150, 150, 150), 0);
  Pump();
  ASSERT_EQ(Chain()->PopupList.size(), 1u);
  TbsSkinPopupWindow* W = Chain()->PopupList[0];
  ASSERT_NE(W->WindowPart, nullptr);
  ASSERT_NE(W->ItemPart, nullptr);
  // Items as high as their part's rectangles, inside the frame's items area.
  EXPECT_EQ(W->ItemList[0]->ObjectRect, (TRect{3, 3, 57 + W->GetWidth() - 60, 21}));
  EXPECT_EQ(W->ItemList[1]->ObjectRect.Height(), 4);
  EXPECT_EQ(W->GetHeight(), 40 + (18 + 4 + 18) + 3 - 37);
  // The picture's frame outside the items area, the part's own text margins, the glyph column.
  EXPECT_EQ(W->GetWidth(), 60 - 54 + (TextWidth("Save as") + 2 + 19 + 19) + 4 + (50 - 46));
  EXPECT_EQ(PixelAt(W, 1, 1), ScreenColor(FrameColor));
  EXPECT_EQ(PixelAt(W, 3, 4), ScreenColor(ActiveColor));
  EXPECT_EQ(PixelAt(W, 3, 22), ScreenColor(DividerColor));
  EXPECT_EQ(PixelAt(W, 3, 26), ScreenColor(NormalColor));
  // The highlight moves with the keys.
  W->ProcessKey(VK_DOWN);
  EXPECT_EQ(PixelAt(W, 3, 4), ScreenColor(NormalColor));
  EXPECT_EQ(PixelAt(W, 3, 26), ScreenColor(ActiveColor));
}

TEST_F(TMenusSkinnedTest, ACheckedItemShowsTheSkinsCheckGlyph) {
  LoadSkin(0);
  auto* Menu = new TPopupMenu(Form);
  Add(Menu, "Grid")->SetChecked(true);
  Add(Menu, "Lines");
  Chain()->Popup(nullptr, &Data, false, Menu->GetItems(), Rect(150, 150, 150, 150), 0);
  Pump();
  TbsSkinPopupWindow* W = Chain()->PopupList.at(0);
  // The glyph is centred in the cell from textrect.Left + 2 to textrect.Left + 16 over the text
  // rectangle's height: at (9, 5) of the item, which starts at (3, 3).
  EXPECT_EQ(PixelAt(W, 3 + 9 + 2, 3 + 5 + 2), ScreenColor(GlyphColor));
  EXPECT_EQ(PixelAt(W, 3 + 9 + 5, 3 + 5 + 5), ScreenColor(GlyphColor));
  // Around it the item's own look shows through.
  EXPECT_EQ(PixelAt(W, 3 + 9, 3 + 5), ScreenColor(ActiveColor));
  // An unchecked item has none.
  EXPECT_EQ(PixelAt(W, 3 + 9 + 2, 21 + 5 + 2), ScreenColor(NormalColor));
}

TEST_F(TMenusSkinnedTest, AWindowPictureOutsideTheListGivesTheDefaultLook) {
  LoadSkin(7);
  auto* Menu = new TPopupMenu(Form);
  Add(Menu, "Open");
  Add(Menu, "Save");
  Chain()->Popup(nullptr, &Data, false, Menu->GetItems(), Rect(150, 150, 150, 150), 0);
  Pump();
  TbsSkinPopupWindow* W = Chain()->PopupList.at(0);
  EXPECT_EQ(W->WindowPart, nullptr);
  EXPECT_EQ(W->ItemPart, nullptr);
  EXPECT_EQ(W->GetHeight(), 2 * 20 + 4);
  EXPECT_EQ(PixelAt(W, 0, 0), ScreenColor(clBtnShadow));
}

TEST_F(TMenusSkinnedTest, APopupMenuShowsThroughItsFormsComponentAndSkin) {
  LoadSkin(0);
  SkinForm->SetSkinData(&Data);
  auto* Menu = new TbsSkinPopupMenu(Form);
  Add(Menu, "Copy");
  Menu->OnPopup = TNotifyEvent(this, &TMenusSkinnedTest::Popped);
  Menu->OnMenuClose = TNotifyEvent(this, &TMenusSkinnedTest::Closed);
  auto* Button = new TPanel(Form);
  Button->SetParent(Form);
  Menu->PopupUnderRect(Button, Rect(120, 140, 200, 160), false);
  Pump();
  EXPECT_EQ(Log, (TLines{"OnPopup"}));
  // Without skin data of its own, the menu keeps the component's.
  EXPECT_EQ(Menu->GetSkinData(), &Data);
  ASSERT_EQ(Chain()->PopupList.size(), 1u);
  EXPECT_EQ(Chain()->PopupCtrl, Button);
  EXPECT_EQ(Chain()->PopupList[0]->GetTop(), 160);
  EXPECT_EQ(Chain()->PopupList[0]->GetLeft(), 120);
  Chain()->PopupList[0]->ProcessKey(VK_ESCAPE);
  EXPECT_EQ(Log, (TLines{"OnPopup", "OnMenuClose"}));
  EXPECT_TRUE(Chain()->PopupList.empty());
  SkinForm->SetSkinData(nullptr);
}

// A panel that counts the close notices of its menus.
class TClosePanel : public TPanel {
 public:
  explicit TClosePanel(TComponent* AOwner) : TPanel(AOwner) {}
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_CLOSESKINMENU) ++Closes;
    TPanel::Dispatch(Message);
  }
  Integer Closes = 0;
};

TEST_F(TMenusSkinnedTest, MenuButtonsDropSkinnedMenusAndAreReleasedWhenNothingShows) {
  auto* Button = new TClosePanel(Form);
  Button->SetParent(Form);
  auto* Menu = new TbsSkinPopupMenu(Form);
  Add(Menu, "Copy");
  // The control library's drop goes through this library's chain.
  PopupMenuUnderRect(Menu, Button, Rect(120, 140, 200, 160), false);
  Pump();
  ASSERT_EQ(Chain()->PopupList.size(), 1u);
  EXPECT_EQ(Chain()->PopupCtrl, Button);
  EXPECT_EQ(Button->Closes, 0);
  Chain()->LastWindow()->ProcessKey(VK_ESCAPE);
  EXPECT_EQ(Button->Closes, 1);
  // A menu that finds no skinned form shows nothing and releases the button at once.
  TForm* Plain = NewForm("Plain");
  auto* Orphan = new TbsSkinPopupMenu(Plain);
  Add(Orphan, "Copy");
  PopupMenuUnderRect(Orphan, Button, Rect(120, 140, 200, 160), false);
  EXPECT_EQ(Button->Closes, 2);
  EXPECT_TRUE(Chain()->PopupList.empty());
}

TEST_F(TMenusSkinnedTest, WithoutAComponentOrSkinNothingShows) {
  TForm* Plain = NewForm("Plain");
  auto* Orphan = new TbsSkinPopupMenu(Plain);
  Add(Orphan, "Copy");
  Orphan->Popup(150, 150);
  Pump();
  EXPECT_TRUE(Chain()->PopupList.empty());
  // The context menu of an edit shows nothing while no skin data is found.
  auto* Menu = new TbsSkinPopupMenu(Form);
  Add(Menu, "Copy");
  Menu->PopupAtPoint(nullptr, 150, 150);
  Pump();
  EXPECT_TRUE(Chain()->PopupList.empty());
  // A plain right-click popup shows in the default look.
  Menu->Popup(150, 150);
  Pump();
  EXPECT_EQ(Chain()->PopupList.size(), 1u);
}

}  // namespace
