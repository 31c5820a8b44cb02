// Native menus: items and their queries, popup menus tracked by keyboard and mouse, the menu
// bar and its accelerators, and the classic drawing.
#include <cstring>

#include "NcTestSupport.h"
#include "platform/gdi/FontEngine.h"

namespace {

using TMenuTest = TNcTest;

TEST_F(TMenuTest, ItemsInsertModifyAndRemove) {
  HMENU M = CreatePopupMenu();
  HMENU Sub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenu(M, MF_STRING, 10, "&Open"));
  ASSERT_TRUE(AppendMenu(M, MF_POPUP, reinterpret_cast<UINT_PTR>(Sub), "&Recent"));
  ASSERT_TRUE(AppendMenu(Sub, MF_STRING, 20, "one"));
  ASSERT_TRUE(AppendMenu(M, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(InsertMenu(M, 0, MF_BYPOSITION | MF_STRING, 9, "&New"));
  ASSERT_TRUE(InsertMenu(M, 20, MF_BYCOMMAND | MF_STRING, 19, "zero"));  // before "one", in Sub
  ASSERT_TRUE(InsertMenu(M, 99, MF_BYPOSITION | MF_STRING, 30, "E&xit"));
  EXPECT_FALSE(InsertMenu(M, 12345, MF_BYCOMMAND | MF_STRING, 31, "nowhere"));
  EXPECT_FALSE(AppendMenu(M, MF_POPUP, 0x7777, "bad submenu"));
  EXPECT_EQ(GetMenuItemCount(M), 5);
  EXPECT_EQ(GetMenuItemCount(Sub), 2);
  EXPECT_EQ(GetMenuItemID(M, 0), 9u);
  EXPECT_EQ(GetMenuItemID(M, 2), static_cast<UINT>(-1));  // opens a submenu
  EXPECT_EQ(GetSubMenu(M, 2), Sub);
  EXPECT_EQ(GetMenuItemID(Sub, 0), 19u);
  EXPECT_EQ(GetMenuStringText(M, 20, MF_BYCOMMAND), "one");
  EXPECT_EQ(GetMenuState(M, 2, MF_BYPOSITION), (2u << 8) | MF_POPUP);
  EXPECT_EQ(GetMenuState(M, 3, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuItemCount(nullptr), -1);

  char Buf[4];
  EXPECT_EQ(GetMenuString(M, 10, Buf, 4, MF_BYCOMMAND), 3);
  EXPECT_STREQ(Buf, "&Op");
  EXPECT_EQ(GetMenuString(M, 10, nullptr, 0, MF_BYCOMMAND), 5);

  // ModifyMenu on the submenu's item destroys the submenu; RemoveMenu keeps one alive and
  // DeleteMenu does not.
  ASSERT_TRUE(ModifyMenu(M, 2, MF_BYPOSITION | MF_STRING, 40, "&History"));
  EXPECT_FALSE(IsMenu(Sub));
  HMENU Keep = CreatePopupMenu();
  HMENU Gone = CreatePopupMenu();
  AppendMenu(M, MF_POPUP, reinterpret_cast<UINT_PTR>(Keep), "keep");
  AppendMenu(M, MF_POPUP, reinterpret_cast<UINT_PTR>(Gone), "gone");
  EXPECT_TRUE(RemoveMenu(M, 5, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(Keep));
  EXPECT_TRUE(DeleteMenu(M, 5, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(Gone));
  EXPECT_FALSE(DeleteMenu(M, 777, MF_BYCOMMAND));
  AppendMenu(M, MF_POPUP, reinterpret_cast<UINT_PTR>(Keep), "again");
  EXPECT_TRUE(DestroyMenu(M));
  EXPECT_FALSE(IsMenu(M));
  EXPECT_FALSE(IsMenu(Keep));  // submenus go with their menu
  EXPECT_FALSE(DestroyMenu(M));
}

TEST_F(TMenuTest, ItemInfoStatesAndDefaults) {
  HMENU M = CreatePopupMenu();
  MENUITEMINFO Info;
  Info.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_FTYPE | MIIM_STATE;
  Info.wID = 5;
  Info.dwTypeData = const_cast<char*>("&Bold\tCtrl+B");
  Info.dwItemData = 1234;
  Info.fType = MFT_RADIOCHECK;
  Info.fState = MFS_CHECKED;
  ASSERT_TRUE(InsertMenuItem(M, 0, TRUE, &Info));
  Info.wID = 6;
  Info.dwTypeData = const_cast<char*>("&Italic");
  Info.fType = MFT_STRING;
  Info.fState = MFS_GRAYED;
  ASSERT_TRUE(InsertMenuItem(M, 1, TRUE, &Info));
  AppendMenu(M, MF_STRING, 7, "&Under");

  MENUITEMINFO Got;
  Got.fMask = MIIM_STRING | MIIM_DATA | MIIM_FTYPE | MIIM_STATE | MIIM_ID;
  ASSERT_TRUE(GetMenuItemInfo(M, 5, FALSE, &Got));
  EXPECT_EQ(Got.cch, 12u);  // no buffer: the length
  char Text[6];
  Got.dwTypeData = Text;
  Got.cch = sizeof(Text);
  ASSERT_TRUE(GetMenuItemInfo(M, 0, TRUE, &Got));
  EXPECT_STREQ(Text, "&Bold");
  EXPECT_EQ(Got.cch, 5u);
  EXPECT_EQ(Got.dwItemData, 1234u);
  EXPECT_EQ(Got.fType, MFT_RADIOCHECK);
  EXPECT_EQ(Got.fState, MFS_CHECKED);
  EXPECT_EQ(Got.wID, 5u);

  EXPECT_EQ(CheckMenuItem(M, 7, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(M, 7, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(M, 70, MF_BYCOMMAND), static_cast<DWORD>(-1));
  EXPECT_EQ(EnableMenuItem(M, 6, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED | MF_DISABLED));
  EXPECT_EQ(EnableMenuItem(M, 6, MF_BYCOMMAND | MF_GRAYED), static_cast<BOOL>(MF_ENABLED));
  EXPECT_EQ(EnableMenuItem(M, 60, MF_BYCOMMAND | MF_GRAYED), -1);
  EXPECT_EQ(GetMenuState(M, 6, MF_BYCOMMAND), MF_GRAYED);

  ASSERT_TRUE(CheckMenuRadioItem(M, 5, 7, 7, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuState(M, 5, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuState(M, 7, MF_BYCOMMAND), MF_CHECKED | MFT_RADIOCHECK);
  EXPECT_FALSE(CheckMenuRadioItem(M, 0, 1, 2, MF_BYPOSITION));

  EXPECT_EQ(GetMenuDefaultItem(M, FALSE, 0), static_cast<UINT>(-1));
  ASSERT_TRUE(SetMenuDefaultItem(M, 6, FALSE));
  EXPECT_EQ(GetMenuDefaultItem(M, FALSE, 0), static_cast<UINT>(-1));  // grayed
  EXPECT_EQ(GetMenuDefaultItem(M, FALSE, GMDI_USEDISABLED), 6u);
  ASSERT_TRUE(SetMenuDefaultItem(M, 0, TRUE));
  EXPECT_EQ(GetMenuDefaultItem(M, TRUE, 0), 0u);
  EXPECT_EQ(GetMenuState(M, 6, MF_BYCOMMAND) & MF_DEFAULT, 0u);
  EXPECT_FALSE(SetMenuDefaultItem(M, 99, FALSE));
  DestroyMenu(M);
}

// A popup: New (101), Open (102), a separator, Recent > (One 201, Two 202), Grey (103,
// grayed), Exit (104).
class TPopupTest : public TMenuTest {
 protected:
  void SetUp() override {
    TMenuTest::SetUp();
    Owner = Frame(100, 100, 300, 200);
    Menu = CreatePopupMenu();
    Recent = CreatePopupMenu();
    AppendMenu(Recent, MF_STRING, 201, "&One");
    AppendMenu(Recent, MF_STRING, 202, "&Two");
    AppendMenu(Menu, MF_STRING, 101, "&New");
    AppendMenu(Menu, MF_STRING | MF_CHECKED, 102, "&Open\tCtrl+O");
    AppendMenu(Menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Recent), "&Recent");
    AppendMenu(Menu, MF_STRING | MF_GRAYED, 103, "&Grey");
    AppendMenu(Menu, MF_STRING, 104, "E&xit");
    MessageLog().clear();
  }
  void TearDown() override {
    DestroyMenu(Menu);
    TMenuTest::TearDown();
  }
  BOOL Track(UINT Flags = TPM_RETURNCMD) { return TrackPopupMenu(Menu, Flags, 150, 150, 0, Owner, nullptr); }
  // Clicks an item of a shown popup.
  void ClickItem(HMENU M, UINT Pos) {
    RECT R;
    ASSERT_TRUE(GetMenuItemRect(nullptr, M, Pos, &R));
    const TPoint P = Center(R);
    Display->Click(P.X, P.Y);
  }
  HWND Owner = nullptr;
  HMENU Menu = nullptr;
  HMENU Recent = nullptr;
};

TEST_F(TPopupTest, KeyboardChoosesWithReturnCmd) {
  Display->KeyPress(VK_DOWN);
  Display->KeyPress(VK_DOWN);
  Display->KeyPress(VK_RETURN);
  EXPECT_EQ(Track(), 102);
  EXPECT_FALSE(IsWindow(MenuFromHandle(Menu)->PopupWnd));
  // Separators are skipped, the submenu opens with Right, grayed items are not chosen.
  Display->KeyPress(VK_UP);
  Display->KeyPress(VK_UP);
  Display->KeyPress(VK_RETURN);  // Grey: nothing
  Display->KeyPress(VK_UP);
  Display->KeyPress(VK_RIGHT);
  Display->KeyPress(VK_DOWN);
  Display->KeyPress(VK_RETURN);
  EXPECT_EQ(Track(), 202);
  Display->KeyPress(VK_ESCAPE);
  EXPECT_EQ(Track(), 0);
  // Escape in a submenu goes back to its parent.
  Display->KeyPress(VK_END);
  Display->KeyPress(VK_UP);
  Display->KeyPress(VK_UP);
  Display->KeyPress(VK_RETURN);  // opens Recent
  Display->KeyPress(VK_ESCAPE);
  Display->KeyPress(VK_UP);
  Display->KeyPress(VK_RETURN);
  EXPECT_EQ(Track(), 102);
}

TEST_F(TPopupTest, AcceleratorLettersAndMenuChar) {
  Display->Type("x");
  EXPECT_EQ(Track(), 104);
  std::vector<WPARAM> MenuChars;
  NcHandler() = [&](HWND, UINT Msg, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (Msg != WM_MENUCHAR) return false;
    MenuChars.push_back(WParam);
    Result = static_cast<LRESULT>(MAKELONG(0, MNC_EXECUTE));  // "q" means New
    return true;
  };
  Display->Type("q");
  EXPECT_EQ(Track(), 101);
  ASSERT_EQ(MenuChars.size(), 1u);
  EXPECT_EQ(MenuChars[0], MAKEWPARAM('q', MF_POPUP));
  Display->Type("r");  // opens Recent, then "t" chooses Two
  Display->Type("t");
  EXPECT_EQ(Track(), 202);
}

TEST_F(TPopupTest, MouseClickChoosesAndOutsideClickCloses) {
  OnIdle({[&] { ClickItem(Menu, 1); }});
  EXPECT_EQ(Track(), 102);
  // A grayed item does not close the menu; a click outside does, and goes no further.
  OnIdle({[&] { ClickItem(Menu, 4); }, [&] { Display->Click(120, 140); }});
  EXPECT_EQ(Track(), 0);
  RunUntilIdle();
  EXPECT_TRUE(All(Owner, WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(All(Owner, WM_NCLBUTTONDOWN).empty());
  // A click on an item with a submenu opens it at once.
  OnIdle({[&] { ClickItem(Menu, 3); }, [&] { ClickItem(Recent, 0); }});
  EXPECT_EQ(Track(), 201);
}

TEST_F(TPopupTest, HoverOpensSubmenuAfterTheDelay) {
  FakeClock();
  bool OpenEarly = true, OpenLater = false;
  OnIdle({[&] {
            RECT R;
            GetMenuItemRect(nullptr, Menu, 3, &R);
            const TPoint P = Center(R);
            Display->MoveTo(P.X, P.Y);
          },
          [&] {
            OpenEarly = MenuFromHandle(Recent)->PopupWnd != nullptr;
            FakeClock().Advance(400);
          },
          [&] {
            OpenLater = MenuFromHandle(Recent)->PopupWnd != nullptr;
            ClickItem(Recent, 1);
          }});
  EXPECT_EQ(Track(), 202);
  EXPECT_FALSE(OpenEarly);
  EXPECT_TRUE(OpenLater);
}

TEST_F(TPopupTest, NotificationsAndPostedCommand) {
  Display->KeyPress(VK_DOWN);
  Display->KeyPress(VK_RETURN);
  EXPECT_TRUE(Track(TPM_LEFTALIGN));
  RunUntilIdle();
  const std::vector<UINT> Expected = {WM_ENTERMENULOOP,   WM_INITMENU,   WM_INITMENUPOPUP, WM_MENUSELECT,
                                      WM_UNINITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP,  WM_COMMAND};
  EXPECT_EQ(Seen(Owner, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP,
                         WM_EXITMENULOOP, WM_COMMAND}),
            Expected);
  EXPECT_EQ(All(Owner, WM_ENTERMENULOOP)[0].WParam, static_cast<WPARAM>(TRUE));
  EXPECT_EQ(All(Owner, WM_INITMENUPOPUP)[0].WParam, reinterpret_cast<WPARAM>(Menu));
  const auto Select = All(Owner, WM_MENUSELECT);
  EXPECT_EQ(LOWORD(Select[0].WParam), 101);
  EXPECT_TRUE(HIWORD(Select[0].WParam) & MF_HILITE);
  EXPECT_EQ(HIWORD(Select[1].WParam), 0xFFFF);
  EXPECT_EQ(Select[1].LParam, 0);
  EXPECT_EQ(All(Owner, WM_COMMAND)[0].WParam, MAKEWPARAM(101, 0));
  // TPM_NONOTIFY: nothing at all.
  MessageLog().clear();
  Display->KeyPress(VK_DOWN);
  Display->KeyPress(VK_RETURN);
  EXPECT_EQ(Track(TPM_RETURNCMD | TPM_NONOTIFY), 101);
  RunUntilIdle();
  EXPECT_TRUE(
      Seen(Owner, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_COMMAND}).empty());
}

TEST_F(TPopupTest, PlacementAlignsAndStaysOnScreen) {
  RECT R;
  OnIdle({[&] {
    GetWindowRect(MenuFromHandle(Menu)->PopupWnd, &R);
    EndMenu();
  }});
  TrackPopupMenu(Menu, TPM_RETURNCMD | TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 400, 300, 0, Owner, nullptr);
  EXPECT_EQ(R.Right, 400);
  EXPECT_EQ(R.Bottom, 300);
  const Integer W = R.Width(), H = R.Height();
  OnIdle({[&] {
    GetWindowRect(MenuFromHandle(Menu)->PopupWnd, &R);
    EndMenu();
  }});
  TrackPopupMenu(Menu, TPM_RETURNCMD, 1020, 760, 0, Owner, nullptr);
  EXPECT_EQ(R, (RECT{1020 - W, 760 - H, 1020, 760}));  // flipped to the other side
  // A second loop does not start while one runs.
  BOOL Nested = TRUE;
  OnIdle({[&] {
    Nested = TrackPopupMenu(Recent, TPM_RETURNCMD, 10, 10, 0, Owner, nullptr);
    EndMenu();
  }});
  Track();
  EXPECT_FALSE(Nested);
}

TEST_F(TPopupTest, ClassicPopupPixels) {
  LOGFONT Font;
  Font.lfHeight = -11;
  Font.lfFaceName = "Liberation Sans";
  SetNcFonts(nullptr, nullptr, &Font);
  Display->KeyPress(VK_DOWN);  // New selected
  TScreenshot Shot;
  RECT Pop, Item[6];
  OnIdle({[&] {
    const HWND P = MenuFromHandle(Menu)->PopupWnd;
    GetWindowRect(P, &Pop);
    for (UINT I = 0; I < 6; ++I) GetMenuItemRect(nullptr, Menu, I, &Item[I]);
    Shot = Screenshot(P);
    EndMenu();
  }});
  Track();
  SetNcFonts(nullptr, nullptr, nullptr);
  auto At = [&](Integer X, Integer Y) { return Shot.Pixel(X - Pop.Left, Y - Pop.Top) & 0xFFFFFF; };
  auto Count = [&](const RECT& R, DWORD Color) {
    Integer N = 0;
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X) N += At(X, Y) == Color;
    return N;
  };
  EXPECT_EQ(At(Pop.Left, Pop.Top), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(At(Pop.Right - 1, Pop.Bottom - 1), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(Item[0].Left, Pop.Left + 3);
  EXPECT_EQ(Item[0].Top, Pop.Top + 3);
  // The selected item on the highlight with its text in the highlight text colour.
  EXPECT_EQ(At(Item[0].Left + 1, Item[0].Top + 1), Sys(COLOR_HIGHLIGHT));
  EXPECT_GT(Count(Item[0], Sys(COLOR_HIGHLIGHTTEXT)), 5);
  // The check mark of Open in the check column, in the menu text colour.
  const RECT Check{Item[1].Left, Item[1].Top, Item[1].Left + 19, Item[1].Bottom};
  EXPECT_GT(Count(Check, Sys(COLOR_MENUTEXT)), 8);
  EXPECT_EQ(At(Item[1].Left + 1, Item[1].Top + 1), Sys(COLOR_MENU));
  // The separator's etched line and the submenu arrow.
  EXPECT_EQ(Item[2].Height(), 9);
  EXPECT_EQ(At(Item[2].Left + 5, Item[2].Top + 3), Sys(COLOR_3DSHADOW));
  EXPECT_EQ(At(Item[2].Left + 5, Item[2].Top + 4), Sys(COLOR_3DHILIGHT));
  const RECT Arrow{Item[3].Right - 16, Item[3].Top, Item[3].Right, Item[3].Bottom};
  EXPECT_GT(Count(Arrow, Sys(COLOR_MENUTEXT)), 3);
  // The grayed item is embossed: highlight under shadow, no menu-text pixels.
  EXPECT_GT(Count(Item[4], Sys(COLOR_3DHILIGHT)), 5);
  EXPECT_GT(Count(Item[4], Sys(COLOR_3DSHADOW)), 5);
  EXPECT_EQ(Count(Item[4], Sys(COLOR_MENUTEXT)), 0);
}

TEST_F(TPopupTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
  MENUITEMINFO Info;
  Info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
  Info.fType = MFT_OWNERDRAW;
  Info.wID = 105;
  Info.dwItemData = 77;
  ASSERT_TRUE(InsertMenuItem(Menu, 0, TRUE, &Info));
  std::vector<DRAWITEMSTRUCT> Draws;
  NcHandler() = [&](HWND, UINT Msg, WPARAM, LPARAM LParam, LRESULT& Result) {
    if (Msg == WM_MEASUREITEM) {
      auto* MI = reinterpret_cast<MEASUREITEMSTRUCT*>(LParam);
      EXPECT_EQ(MI->CtlType, ODT_MENU);
      EXPECT_EQ(MI->itemID, 105u);
      EXPECT_EQ(MI->itemData, 77u);
      MI->itemWidth = 300;
      MI->itemHeight = 30;
    } else if (Msg == WM_DRAWITEM) {
      Draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(LParam));
    } else {
      return false;
    }
    Result = TRUE;
    return true;
  };
  RECT Item{}, Pop{};
  Display->KeyPress(VK_DOWN);
  OnIdle({[&] {
    GetMenuItemRect(nullptr, Menu, 0, &Item);
    GetWindowRect(MenuFromHandle(Menu)->PopupWnd, &Pop);
    Display->KeyPress(VK_RETURN);
  }});
  EXPECT_EQ(Track(), 105);
  // The width gets the check mark's (SM_CXMENUCHECK - 1) added; every item takes the widest.
  EXPECT_EQ(Item.Height(), 30);
  EXPECT_EQ(Item.Width(), 300 + 12);
  EXPECT_EQ(Pop.Width(), 312 + 6);
  ASSERT_GE(Draws.size(), 2u);
  EXPECT_EQ(Draws[0].itemAction, ODA_DRAWENTIRE);
  EXPECT_EQ(Draws[0].itemState & ODS_SELECTED, 0u);
  EXPECT_EQ(Draws[0].rcItem, (RECT{3, 3, 315, 33}));
  EXPECT_EQ(Draws[0].hwndItem, reinterpret_cast<HWND>(Menu));
  EXPECT_EQ(Draws.back().itemAction, ODA_SELECT);
  EXPECT_TRUE(Draws.back().itemState & ODS_SELECTED);
}

// ---- The menu bar ------------------------------------------------------------------------------

class TMenuBarTest : public TMenuTest {
 protected:
  void SetUp() override {
    TMenuTest::SetUp();
    Bar = CreateMenu();
    File = CreatePopupMenu();
    Edit = CreatePopupMenu();
    AppendMenu(File, MF_STRING, 201, "&New");
    AppendMenu(File, MF_STRING, 202, "&Open");
    AppendMenu(Edit, MF_STRING, 301, "&Copy");
    AppendMenu(Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(File), "&File");
    AppendMenu(Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Edit), "&Edit");
    AppendMenu(Bar, MF_STRING, 401, "&About");
    W = Frame(100, 100, 300, 200, WS_OVERLAPPEDWINDOW, 0, Bar);
    RunUntilIdle();
    MessageLog().clear();
  }
  HWND W = nullptr;
  HMENU Bar = nullptr, File = nullptr, Edit = nullptr;
};

TEST_F(TMenuBarTest, AltLetterOpensTheTitleAndChooses) {
  Display->KeyPress(VK_DOWN);
  Display->KeyPress(VK_RETURN);
  SendMessage(W, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  RunUntilIdle();
  const auto Commands = All(W, WM_COMMAND);
  ASSERT_EQ(Commands.size(), 1u);
  EXPECT_EQ(Commands[0].WParam, MAKEWPARAM(202, 0));
  EXPECT_EQ(All(W, WM_ENTERMENULOOP)[0].WParam, static_cast<WPARAM>(FALSE));
  EXPECT_EQ(All(W, WM_INITMENU)[0].WParam, reinterpret_cast<WPARAM>(Bar));
  // Right moves to the next title's popup.
  MessageLog().clear();
  Display->KeyPress(VK_RIGHT);
  Display->KeyPress(VK_RETURN);
  SendMessage(W, WM_SYSCOMMAND, SC_KEYMENU, 'F');
  RunUntilIdle();
  EXPECT_EQ(All(W, WM_COMMAND).at(0).WParam, MAKEWPARAM(301, 0));
  // A title without a popup is a command itself.
  MessageLog().clear();
  SendMessage(W, WM_SYSCOMMAND, SC_KEYMENU, 'a');
  RunUntilIdle();
  EXPECT_EQ(All(W, WM_COMMAND).at(0).WParam, MAKEWPARAM(401, 0));
}

TEST_F(TMenuBarTest, AltLetterFromTheKeyboard) {
  Display->KeyPress('E', kmAlt);
  Display->KeyPress(VK_RETURN);
  RunUntilIdle();
  EXPECT_EQ(All(W, WM_COMMAND).at(0).WParam, MAKEWPARAM(301, 0));
}

TEST_F(TMenuBarTest, AltClosesTheMenuForGood) {
  Display->KeyPress(VK_MENU);
  SendMessage(W, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  RunUntilIdle();
  EXPECT_EQ(All(W, WM_ENTERMENULOOP).size(), 1u);
  EXPECT_EQ(All(W, WM_EXITMENULOOP).size(), 1u);
  EXPECT_EQ(MenuFromHandle(File)->PopupWnd, nullptr);
  // A lone Alt on its own selects the bar (the input part's SC_KEYMENU), Alt again leaves it.
  MessageLog().clear();
  Display->KeyPress(VK_MENU);
  bool Hot = false;
  OnIdle({[&] {
    Hot = GetMenuState(Bar, 0, MF_BYPOSITION) & MF_HILITE;
    Display->KeyPress(VK_MENU);
  }});
  RunUntilIdle();
  EXPECT_TRUE(Hot);
  EXPECT_EQ(All(W, WM_ENTERMENULOOP).size(), 1u);
  EXPECT_EQ(GetMenuState(Bar, 0, MF_BYPOSITION) & MF_HILITE, 0u);
}

TEST_F(TMenuBarTest, AltAloneSelectsTheFirstTitle) {
  bool FirstSelected = false, NoPopup = false;
  OnIdle({[&] {
    FirstSelected = GetMenuState(Bar, 0, MF_BYPOSITION) & MF_HILITE;
    NoPopup = MenuFromHandle(File)->PopupWnd == nullptr;
    Display->KeyPress(VK_RIGHT);
    Display->KeyPress(VK_DOWN);  // opens Edit
    Display->KeyPress(VK_RETURN);
  }});
  SendMessage(W, WM_SYSCOMMAND, SC_KEYMENU, 0);
  RunUntilIdle();
  EXPECT_TRUE(FirstSelected);
  EXPECT_TRUE(NoPopup);
  EXPECT_EQ(All(W, WM_COMMAND).at(0).WParam, MAKEWPARAM(301, 0));
  EXPECT_EQ(GetMenuState(Bar, 0, MF_BYPOSITION) & MF_HILITE, 0u);
  // Alt+Space opens the system menu.
  MessageLog().clear();
  bool SystemShown = false;
  OnIdle({[&] {
    SystemShown = MenuFromHandle(GetSystemMenu(W, FALSE))->PopupWnd != nullptr;
    Display->KeyPress(VK_ESCAPE);
  }});
  SendMessage(W, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_TRUE(SystemShown);
  EXPECT_EQ(HIWORD(All(W, WM_INITMENUPOPUP).at(0).LParam), 1);  // the system menu
}

TEST_F(TMenuBarTest, ClickingATitleDropsItsPopup) {
  RECT Title;
  ASSERT_TRUE(GetMenuItemRect(W, Bar, 0, &Title));
  EXPECT_EQ(Title.Top, 100 + 4 + 19);
  EXPECT_EQ(MenuItemFromPoint(W, Bar, Center(Title)), 0);
  RECT Drop{};
  DWORD Sunken = 0;
  const TPoint T = Center(Title);
  Display->Click(T.X, T.Y);
  OnIdle({[&] {
            GetWindowRect(MenuFromHandle(File)->PopupWnd, &Drop);
            Sunken = Pixel(W, Title.Left - 100, Title.Top - 100);
            // Moving along the bar switches to the next title's popup.
            RECT Next;
            GetMenuItemRect(W, Bar, 1, &Next);
            const TPoint N = Center(Next);
            Display->MoveTo(N.X, N.Y);
          },
          [&] {
            EXPECT_EQ(MenuFromHandle(File)->PopupWnd, nullptr);
            ASSERT_NE(MenuFromHandle(Edit)->PopupWnd, nullptr);
            RECT Item;
            GetMenuItemRect(nullptr, Edit, 0, &Item);
            const TPoint P = Center(Item);
            Display->Click(P.X, P.Y);
          }});
  RunUntilIdle();
  EXPECT_EQ(Drop.Left, Title.Left);
  EXPECT_EQ(Drop.Top, Title.Bottom);
  EXPECT_EQ(Sunken, Sys(COLOR_3DSHADOW));
  EXPECT_EQ(All(W, WM_COMMAND).at(0).WParam, MAKEWPARAM(301, 0));
}

// Escape on a title's popup: one opened by a click ends the menu at once (the code that
// dispatched the click waits for the loop); one opened from the keyboard leaves its title
// selected until a second Escape.
TEST_F(TMenuBarTest, EscapeOnATitlesPopup) {
  RECT Title;
  ASSERT_TRUE(GetMenuItemRect(W, Bar, 0, &Title));
  const TPoint T = Center(Title);
  struct TCase {
    const char* Name;
    std::function<void()> Open;
    bool TitleStaysAfterOneEscape;
  };
  const std::vector<TCase> Cases{
      {"click", [&] { Display->Click(T.X, T.Y); }, false},
      {"Alt+F", [&] { Display->KeyPress('F', kmAlt); }, true},
  };
  for (const TCase& C : Cases) {
    MessageLog().clear();
    bool TitleAfterEscape = false;
    C.Open();
    Display->KeyPress(VK_ESCAPE);
    // Idle in the loop after the first Escape: the loop still runs.
    OnIdle({[&] {
      TitleAfterEscape = GetMenuState(Bar, 0, MF_BYPOSITION) & MF_HILITE;
      Display->KeyPress(VK_ESCAPE);
    }});
    RunUntilIdle();
    SetModalHook(nullptr);
    EXPECT_EQ(TitleAfterEscape, C.TitleStaysAfterOneEscape) << C.Name;
    EXPECT_EQ(MenuFromHandle(File)->PopupWnd, nullptr) << C.Name;
    EXPECT_EQ(All(W, WM_EXITMENULOOP).size(), 1u) << C.Name;
    EXPECT_EQ(GetMenuState(Bar, 0, MF_BYPOSITION) & MF_HILITE, 0u) << C.Name;
  }
}

TEST_F(TMenuBarTest, DestroyingTheWindowDestroysItsMenu) {
  EXPECT_EQ(GetMenu(W), Bar);
  DestroyWindow(W);
  EXPECT_FALSE(IsMenu(Bar));
  EXPECT_FALSE(IsMenu(File));
}

}  // namespace
