// Image menus: the cell layout and window size, button rows, the choice by key and by mouse with
// its events in order, what closes the palette, and the plain look's header.
#include <memory>
#include <string>

#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "skin/form/bsSkinImagesMenu.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TImagesMenuTest : public TSkinTest {
 public:
  void Note(const std::string& S) { Log.push_back(S); }
  void InternalClose(TObject*) { Note("button close"); }
  void MenuClose(TObject*) { Note("OnMenuClose"); }
  void ItemClick(TObject*) { Note("item OnClick"); }
  void MenuItemClick(TObject*) { Note("OnItemClick"); }
  void InternalChange(TObject*) { Note("button change"); }
  void Change(TObject*) { Note("OnChange"); }
  void Popup(TObject*) { Note("OnMenuPopup"); }
  void OtherMessage(MSG&, bool&) {}

 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 100, 100, 500, 400);
    Form->Show();
    Images = new TImageList(Form);
    Images->SetWidth(16);
    Images->SetHeight(16);
    Menu = new TbsSkinImagesMenu(Form);
    Menu->SetImages(Images);
    Menu->OnInternalMenuClose = TNotifyEvent(this, &TImagesMenuTest::InternalClose);
    Menu->OnMenuClose = TNotifyEvent(this, &TImagesMenuTest::MenuClose);
    Menu->OnItemClick = TNotifyEvent(this, &TImagesMenuTest::MenuItemClick);
    Menu->OnInternalChange = TNotifyEvent(this, &TImagesMenuTest::InternalChange);
    Menu->OnChange = TNotifyEvent(this, &TImagesMenuTest::Change);
    Menu->OnMenuPopup = TNotifyEvent(this, &TImagesMenuTest::Popup);
    Pump();
  }
  void AddImages(Integer N) {
    TBitmap B;
    B.SetSize(16, 16);
    B.GetCanvas()->GetBrush()->SetColor(clRed);
    B.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
    for (Integer I = 0; I < N; ++I) Images->Add(&B, nullptr);
  }
  TbsImagesMenuItem* AddItem(Integer Image, bool Button = false, bool Header = false,
                             const std::string& Caption = "") {
    TbsImagesMenuItem* It = Menu->GetImagesItems()->Add();
    It->SetImageIndex(Image);
    It->Button = Button;
    It->Header = Header;
    It->SetCaption(Caption);
    It->OnClick = TNotifyEvent(this, &TImagesMenuTest::ItemClick);
    return It;
  }
  void Open() {
    Menu->PopupUnderRect(Rect(150, 150, 200, 170));
    Pump();
    Log.clear();
  }
  TbsSkinImagesMenuPopupWindow* Window() const { return Menu->GetPopupWindow(); }
  TPoint CellCentre(Integer I) {
    const TRect R = Menu->GetImagesItems()->GetItem(I)->ItemRect;
    return Window()->ClientToScreen({(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
  }

  TForm* Form = nullptr;
  TImageList* Images = nullptr;
  TbsSkinImagesMenu* Menu = nullptr;
  TLines Log;
};

TEST_F(TImagesMenuTest, TwelveImagesInFourColumnsMakeThreeRows) {
  AddImages(12);
  for (Integer I = 0; I < 12; ++I) AddItem(I);
  Menu->SetColumnsCount(4);
  Menu->SetColumnsCount(51);  // out of range: ignored
  EXPECT_EQ(Menu->GetColumnsCount(), 4);
  Open();
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(Window()->GetWidth(), 114);
  EXPECT_EQ(Window()->GetHeight(), 90);
  for (Integer I = 0; I < 12; ++I)
    EXPECT_EQ(Menu->GetImagesItems()->GetItem(I)->ItemRect,
              Bounds(5 + 26 * (I % 4), 5 + 27 * (I / 4), 26, 26))
        << I;
  // Opened under the rectangle, at its left.
  EXPECT_EQ(Window()->GetBoundsRect().TopLeft(), (TPoint{150, 170}));
}

TEST_F(TImagesMenuTest, AButtonRowAndAHeaderStartRowsOfTheirOwn) {
  AddImages(4);
  Menu->SetColumnsCount(3);
  AddItem(0);
  AddItem(1);
  AddItem(2, true, false, "More");
  AddItem(3);
  AddItem(-1, false, true, "Header");
  AddItem(0);
  Open();
  auto Cell = [&](Integer I) { return Menu->GetImagesItems()->GetItem(I)->ItemRect; };
  EXPECT_EQ(Cell(0), Bounds(5, 5, 26, 26));
  EXPECT_EQ(Cell(1), Bounds(31, 5, 26, 26));
  EXPECT_EQ(Cell(2), Bounds(5, 32, 78, 26));
  EXPECT_EQ(Cell(3), Bounds(5, 59, 26, 26));
  // Without a label part a header is as high as a cell.
  EXPECT_EQ(Cell(4), Bounds(5, 86, 78, 26));
  EXPECT_EQ(Cell(5), Bounds(5, 113, 26, 26));
  EXPECT_EQ(Window()->GetHeight(), 139 - 5 + 10);
}

TEST_F(TImagesMenuTest, EnterWithoutAHotCellChoosesTheSameItemAgain) {
  AddImages(4);
  for (Integer I = 0; I < 4; ++I) AddItem(I);
  Menu->SetItemIndex(2);
  Open();
  ScriptKeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(Log, (TLines{"button close", "OnMenuClose", "item OnClick", "OnItemClick"}));
  EXPECT_EQ(Menu->GetItemIndex(), 2);
}

TEST_F(TImagesMenuTest, ArrowKeysMoveTheHotCellAndEnterChoosesIt) {
  AddImages(4);
  Menu->SetColumnsCount(2);
  AddItem(-1, false, true, "Header");
  for (Integer I = 0; I < 4; ++I) AddItem(I);
  Open();
  struct TStep {
    Word Key;
    Integer Hot;
  };
  // Down from nothing skips the header; Right from the last wraps to the first cell; Left from
  // the first cell wraps to the last.
  const TStep Steps[] = {{VK_DOWN, 1}, {VK_DOWN, 3}, {VK_RIGHT, 4}, {VK_RIGHT, 1},
                         {VK_LEFT, 4}, {VK_UP, 2},   {VK_UP, 2},    {VK_LEFT, 1}};
  for (const TStep& S : Steps) {
    ScriptKeyPress(S.Key);
    Pump();
    EXPECT_EQ(Window()->MouseInItem, S.Hot) << S.Key;
  }
  ScriptKeyPress(VK_RIGHT);
  ScriptKeyPress(VK_SPACE);
  Pump();
  EXPECT_EQ(Menu->GetItemIndex(), 2);
  EXPECT_EQ(Log, (TLines{"button close", "OnMenuClose", "item OnClick", "OnItemClick", "button change",
                         "OnChange"}));
}

TEST_F(TImagesMenuTest, ClickingAnotherCellFiresTheEventsInOrder) {
  AddImages(4);
  Menu->SetColumnsCount(4);
  for (Integer I = 0; I < 4; ++I) AddItem(I);
  Menu->SetItemIndex(0);
  Open();
  const TPoint P = CellCentre(3);
  ScriptMoveTo(P.X, P.Y);
  Pump();
  EXPECT_EQ(Window()->MouseInItem, 3);
  ScriptClick(P.X, P.Y);
  Pump();
  EXPECT_EQ(Menu->GetItemIndex(), 3);
  EXPECT_EQ(Log, (TLines{"button close", "OnMenuClose", "item OnClick", "OnItemClick", "button change",
                         "OnChange"}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TImagesMenuTest, ARightClickOrALeftClickElsewhereClosesWithoutChoosing) {
  AddImages(2);
  AddItem(0);
  AddItem(1);
  for (const bool Right : {true, false}) {
    Open();
    ASSERT_NE(Window(), nullptr);
    if (Right) {
      // Anywhere, even on a cell.
      const TPoint P = CellCentre(1);
      ScriptMoveTo(P.X, P.Y);
      PostMessage(Window()->GetWindowHandle(), WM_RBUTTONDOWN, 0, 0);
    } else {
      ScriptClick(400, 400);
    }
    Pump();
    EXPECT_EQ(Window(), nullptr) << Right;
    EXPECT_EQ(Log, (TLines{"button close", "OnMenuClose"})) << Right;
    EXPECT_EQ(Menu->GetItemIndex(), -1);
  }
}

TEST_F(TImagesMenuTest, TheMessageHookGoesThroughTheFilterList) {
  AddImages(1);
  AddItem(0);
  const TMessageEvent Other(this, &TImagesMenuTest::OtherMessage);
  Application->OnMessage = Other;
  Open();
  const TMessageEvent Hook(Window(), &TbsSkinImagesMenuPopupWindow::AppMessage);
  EXPECT_TRUE(Application->HasMessageFilter(Hook));
  EXPECT_EQ(Application->OnMessage, Other);
  EXPECT_EQ(GetCapture(), Window()->GetWindowHandle());
  // A handler set meanwhile survives the close.
  Application->OnMessage = TMessageEvent();
  ScriptKeyPress(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(Application->HasMessageFilter(Hook));
  EXPECT_FALSE(static_cast<bool>(Application->OnMessage));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TImagesMenuTest, WithoutImagesOrItemsNothingOpens) {
  Menu->PopupUnderRect(Rect(150, 150, 200, 170));
  EXPECT_EQ(Window(), nullptr);
  AddImages(3);
  Menu->PopupUnderRect(Rect(150, 150, 200, 170));
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(Log, (TLines{"OnMenuPopup", "OnMenuPopup"}));
}

TEST_F(TImagesMenuTest, ThePlainLookShowsHeaderCaptionsAndTheSelectedFrame) {
  AddImages(2);
  Menu->SetColumnsCount(4);
  AddItem(-1, false, true, "WWWW");
  AddItem(0);
  AddItem(1);
  Menu->SetItemIndex(2);
  Open();
  Pump();
  const TRect Header = Menu->GetImagesItems()->GetItem(0)->ItemRect;
  const TPoint H = Window()->ClientToScreen(Header.TopLeft());
  Integer Dark = 0;
  for (DWORD Px : ScreenPixels(Bounds(H.X, H.Y, Header.Width(), Header.Height())))
    if ((Px & 0xFF) < 0x80) ++Dark;
  EXPECT_GT(Dark, 20);
  // The selected cell: navy frame, pressed face; the other cell shows the window colour.
  const TPoint S = Window()->ClientToScreen(Menu->GetImagesItems()->GetItem(2)->ItemRect.TopLeft());
  EXPECT_EQ(ScreenPixel(S.X, S.Y), 0x000080u);
  EXPECT_EQ(ScreenPixel(S.X + 2, S.Y + 2), 0x8593B5u);
  const TPoint O = Window()->ClientToScreen(Menu->GetImagesItems()->GetItem(1)->ItemRect.TopLeft());
  EXPECT_EQ(ScreenPixel(O.X + 2, O.Y + 2), ScreenColor(clWindow));
}

}  // namespace
