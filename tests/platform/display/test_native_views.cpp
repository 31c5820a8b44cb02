// The header, list view and tree view: geometry for a fixed font, hit tests, owner data,
// finding, selection by mouse and keys, expansion and custom draw.
#include <gtest/gtest.h>

#include "platform/user/HeaderControl.h"
#include "platform/user/ListViewControl.h"
#include "platform/user/ScrollInfo.h"
#include "platform/user/TreeViewControl.h"
#include "tests/platform/display/ViewsTestSupport.h"

namespace {

using namespace ViewTesting;

// Liberation Sans 11 px: tmHeight 12. Headers are 12 + 6 = 18 high, report rows 12 + 2 = 14
// (16 + 2 = 18 with 16-pixel small images), tree rows 12 + 3 = 15.

// ---- Header -----------------------------------------------------------------------------------

class THeaderTest : public TViewTest {
 protected:
  HWND Header(DWORD Style) {
    HWND H = Create(WC_HEADER, "", Style, 10, 10, 300, 18, 7);
    const Integer Widths[] = {80, 60, 100};
    const char* Texts[] = {"Name", "Size", "Type"};
    for (Integer I = 0; I < 3; ++I) {
      HDITEM It;
      It.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
      It.cxy = Widths[I];
      It.pszText = const_cast<char*>(Texts[I]);
      It.fmt = HDF_STRING | HDF_LEFT;
      EXPECT_EQ(SendMessage(H, HDM_INSERTITEM, I, reinterpret_cast<LPARAM>(&It)), I);
    }
    RunUntilIdle();
    TakeViewNotes();
    return H;
  }
  static TRect ItemRect(HWND H, Integer I) {
    RECT R{};
    EXPECT_TRUE(SendMessage(H, HDM_GETITEMRECT, I, reinterpret_cast<LPARAM>(&R)));
    return R;
  }
  static Integer Width(HWND H, Integer I) {
    HDITEM It;
    It.mask = HDI_WIDTH;
    SendMessage(H, HDM_GETITEM, I, reinterpret_cast<LPARAM>(&It));
    return It.cxy;
  }
};

TEST_F(THeaderTest, ItemRectanglesAndHitTestsWithDividers) {
  HWND H = Header(HDS_BUTTONS);
  EXPECT_EQ(ItemRect(H, 0), (TRect{0, 0, 80, 18}));
  EXPECT_EQ(ItemRect(H, 2), (TRect{140, 0, 240, 18}));
  struct {
    TPoint P;
    Integer Item;
    UINT Flags;
  } const Cases[] = {
      {{40, 5}, 0, HHT_ONHEADER},  {{76, 5}, 0, HHT_ONDIVIDER},  {{83, 5}, 0, HHT_ONDIVIDER},
      {{84, 5}, 1, HHT_ONHEADER},  {{136, 5}, 1, HHT_ONDIVIDER}, {{243, 5}, 2, HHT_ONDIVIDER},
      {{244, 5}, -1, HHT_NOWHERE}, {{40, -1}, -1, HHT_ABOVE},    {{40, 18}, -1, HHT_BELOW},
      {{-1, 5}, -1, HHT_TOLEFT},   {{300, 5}, -1, HHT_TORIGHT},
  };
  for (const auto& C : Cases) {
    HDHITTESTINFO Hit;
    Hit.pt = C.P;
    EXPECT_EQ(SendMessage(H, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit)), C.Item)
        << C.P.X << "," << C.P.Y;
    EXPECT_EQ(Hit.flags, C.Flags) << C.P.X << "," << C.P.Y;
  }
  // The order array moves the sections; a list that is no permutation is refused.
  Integer Order[3] = {2, 0, 1};
  EXPECT_TRUE(SendMessage(H, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(Order)));
  EXPECT_EQ(ItemRect(H, 2), (TRect{0, 0, 100, 18}));
  EXPECT_EQ(ItemRect(H, 0), (TRect{100, 0, 180, 18}));
  EXPECT_EQ(SendMessage(H, HDM_ORDERTOINDEX, 0, 0), 2);
  Integer Bad[3] = {0, 0, 1};
  EXPECT_FALSE(SendMessage(H, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(Bad)));
  Integer Back[3] = {};
  EXPECT_TRUE(SendMessage(H, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(Back)));
  EXPECT_EQ(std::vector<Integer>(Back, Back + 3), (std::vector<Integer>{2, 0, 1}));
  // HDM_LAYOUT: the font's height + 6, taken from the top of the area.
  RECT Area{0, 0, 200, 100};
  WINDOWPOS Pos;
  HDLAYOUT L{&Area, &Pos};
  EXPECT_TRUE(SendMessage(H, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&L)));
  EXPECT_EQ(Pos.cy, 18);
  EXPECT_EQ(Area.Top, 18);
}

TEST_F(THeaderTest, DraggingADividerResizesOnReleaseOrLiveWithFullDrag) {
  for (const DWORD Style : {DWORD(HDS_BUTTONS), DWORD(HDS_BUTTONS | HDS_FULLDRAG)}) {
    HWND H = Header(Style);
    const TPoint O = Origin(H);
    Display->Drag({O.X + 80, O.Y + 9}, {O.X + 110, O.Y + 9}, 3);
    RunUntilIdle();
    EXPECT_EQ(Width(H, 0), 110);
    EXPECT_EQ(ItemRect(H, 1), (TRect{110, 0, 170, 18}));
    const auto Notes = TakeViewNotes();
    ASSERT_FALSE(Notes.empty());
    EXPECT_EQ(Notes.front(), (TViewNote{HDN_BEGINTRACK, 0}));
    EXPECT_EQ(Notes.back(), (TViewNote{HDN_ENDTRACK, 0}));
    const auto Changes = std::count(Notes.begin(), Notes.end(), TViewNote{HDN_ITEMCHANGED, 0});
    if (Style & HDS_FULLDRAG)
      EXPECT_EQ(Changes, 3);  // one per step of the drag
    else
      EXPECT_EQ(Changes, 1);
    // Dragging left stops at zero width.
    Display->Drag({O.X + 110, O.Y + 9}, {O.X - 5, O.Y + 9}, 2);
    RunUntilIdle();
    EXPECT_EQ(Width(H, 0), 0);
    DestroyWindow(H);
  }
}

TEST_F(THeaderTest, ClicksOnSectionsButNotOnDividersOrAfterRefusedTracking) {
  HWND H = Header(HDS_BUTTONS);
  ClickAt(H, 100, 9);
  EXPECT_EQ(TakeViewNotes(), (std::vector<TViewNote>{{HDN_ITEMCLICK, 1}}));
  ClickAt(H, 80, 9);  // a divider: tracking, no click
  EXPECT_FALSE(Noted(HDN_ITEMCLICK));
  TakeViewNotes();
  // Released off the section: no click.
  const TPoint O = Origin(H);
  Display->Drag({O.X + 100, O.Y + 9}, {O.X + 100, O.Y + 40}, 1);
  RunUntilIdle();
  EXPECT_FALSE(Noted(HDN_ITEMCLICK));
  // A refused HDN_BEGINTRACK keeps the width.
  ViewParent().RefuseCode = HDN_BEGINTRACK;
  Display->Drag({O.X + 80, O.Y + 9}, {O.X + 120, O.Y + 9}, 2);
  RunUntilIdle();
  EXPECT_EQ(Width(H, 0), 80);
  // A header without HDS_BUTTONS does not click.
  DestroyWindow(H);
  HWND Plain = Header(0);
  ClickAt(Plain, 100, 9);
  EXPECT_FALSE(Noted(HDN_ITEMCLICK));
}

// ---- List view --------------------------------------------------------------------------------

const char* const Names[] = {"Alpha", "Beta", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf"};

class TListViewTest : public TViewTest {
 protected:
  void TearDown() override {
    for (HIMAGELIST L : Lists) ImageList_Destroy(L);
    TViewTest::TearDown();
  }
  HWND List(DWORD Style, Integer Count = 8, Integer W = 240, Integer H = 120, bool Images = true) {
    HWND L = Create(WC_LISTVIEW, "", Style, 10, 10, W, H, 3);
    LVCOLUMN C;
    C.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    C.pszText = const_cast<char*>("Name");
    C.cx = 100;
    SendMessage(L, LVM_INSERTCOLUMN, 0, reinterpret_cast<LPARAM>(&C));
    C.pszText = const_cast<char*>("Size");
    C.cx = 60;
    C.iSubItem = 1;
    SendMessage(L, LVM_INSERTCOLUMN, 1, reinterpret_cast<LPARAM>(&C));
    if (Images) {
      Lists.push_back(SolidImages(16, 16, 2));
      Lists.push_back(SolidImages(32, 32, 2));
      SendMessage(L, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(Lists[Lists.size() - 2]));
      SendMessage(L, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(Lists.back()));
    }
    if (Style & LVS_OWNERDATA) {
      SendMessage(L, LVM_SETITEMCOUNT, Count, 0);
    } else {
      for (Integer I = 0; I < Count; ++I) {
        LVITEM It;
        It.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        It.iItem = I;
        It.pszText = const_cast<char*>(Names[I % 8]);
        It.iImage = I % 2;
        It.lParam = 100 + I;
        EXPECT_EQ(SendMessage(L, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&It)), I);
        It.mask = LVIF_TEXT;
        It.iSubItem = 1;
        const std::string Size = std::to_string(I * 10);
        It.pszText = const_cast<char*>(Size.c_str());
        SendMessage(L, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&It));
      }
    }
    RunUntilIdle();
    TakeViewNotes();
    return L;
  }
  static TRect Rect(HWND L, Integer I, Integer Code) {
    RECT R{};
    R.Left = Code;
    EXPECT_TRUE(SendMessage(L, LVM_GETITEMRECT, I, reinterpret_cast<LPARAM>(&R)));
    return R;
  }
  static UINT State(HWND L, Integer I) {
    return static_cast<UINT>(SendMessage(L, LVM_GETITEMSTATE, I, LVIS_SELECTED | LVIS_FOCUSED));
  }
  static std::vector<Integer> Selected(HWND L) {
    std::vector<Integer> S;
    for (Integer I = -1; (I = static_cast<Integer>(SendMessage(L, LVM_GETNEXTITEM, I, LVNI_SELECTED))) >= 0;)
      S.push_back(I);
    return S;
  }
  static Integer StringWidth(HWND L, const char* S) {
    return static_cast<Integer>(SendMessage(L, LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>(S)));
  }
  std::vector<HIMAGELIST> Lists;
};

TEST_F(TListViewTest, ItemRectanglesInEachView) {
  // Report: header 18, rows 18 (16-pixel images); column 0 is 100 wide, the row 160.
  HWND Report = List(LVS_REPORT);
  EXPECT_EQ(Rect(Report, 1, LVIR_BOUNDS), (TRect{0, 36, 160, 54}));
  EXPECT_EQ(Rect(Report, 1, LVIR_ICON), (TRect{0, 36, 16, 54}));
  EXPECT_EQ(Rect(Report, 1, LVIR_LABEL), (TRect{16, 36, 100, 54}));
  EXPECT_EQ(Rect(Report, 1, LVIR_SELECTBOUNDS), (TRect{0, 36, 100, 54}));
  SendMessage(Report, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  EXPECT_EQ(Rect(Report, 1, LVIR_SELECTBOUNDS), (TRect{0, 36, 160, 54}));
  RECT Sub{LVIR_BOUNDS, 1, 0, 0};
  EXPECT_TRUE(SendMessage(Report, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&Sub)));
  EXPECT_EQ(TRect(Sub), (TRect{100, 36, 160, 54}));
  // Check boxes take a 16-pixel state column before the icon.
  SendMessage(Report, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  EXPECT_EQ(Rect(Report, 1, LVIR_ICON), (TRect{16, 36, 32, 54}));

  // List: 80-pixel columns of 120 / 18 = 6 rows, top to bottom.
  HWND ListView = List(LVS_LIST);
  SendMessage(ListView, LVM_SETCOLUMNWIDTH, 0, 80);
  EXPECT_EQ(Rect(ListView, 1, LVIR_BOUNDS), (TRect{0, 18, 80, 36}));
  EXPECT_EQ(Rect(ListView, 7, LVIR_BOUNDS), (TRect{80, 18, 160, 36}));
  EXPECT_EQ(Rect(ListView, 7, LVIR_ICON), (TRect{80, 18, 96, 36}));
  EXPECT_EQ(Rect(ListView, 7, LVIR_LABEL), (TRect{96, 18, 160, 36}));
  EXPECT_EQ(SendMessage(ListView, LVM_GETCOUNTPERPAGE, 0, 0), 18);

  // Small icons: cells as wide as the widest text + 4 + the image, row by row.
  HWND Small = List(LVS_SMALLICON);
  Integer Widest = 0;
  for (const char* N : Names) Widest = std::max(Widest, StringWidth(Small, N));
  const Integer Cw = Widest + 4 + 16;
  EXPECT_EQ(Rect(Small, 1, LVIR_BOUNDS), (TRect{Cw, 0, 2 * Cw, 18}));
  EXPECT_EQ(Rect(Small, 1, LVIR_LABEL), (TRect{Cw + 16, 0, 2 * Cw, 18}));

  // Icons: 75 x 64 cells (32 + 43, 32 + 8 + 2 * 12), the icon centred 2 pixels down, the label
  // one line under it.
  HWND Icons = List(LVS_ICON);
  EXPECT_EQ(Rect(Icons, 1, LVIR_ICON), (TRect{96, 2, 128, 34}));
  EXPECT_EQ(Rect(Icons, 1, LVIR_LABEL), (TRect{75, 36, 150, 50}));
  EXPECT_EQ(Rect(Icons, 1, LVIR_BOUNDS), (TRect{75, 0, 150, 50}));
  EXPECT_EQ(SendMessage(Icons, LVM_GETITEMSPACING, FALSE, 0), MAKELONG(75, 64));

  // Hit tests follow the same rectangles.
  LVHITTESTINFO Hit;
  Hit.pt = {40, 40};
  EXPECT_EQ(SendMessage(Report, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit)), 1);
  EXPECT_EQ(Hit.flags, LVHT_ONITEMLABEL);
  Hit.pt = {8, 40};
  EXPECT_EQ(SendMessage(Report, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit)), 1);
  EXPECT_EQ(Hit.flags, LVHT_ONITEMSTATEICON);
  Hit.pt = {110, 40};
  EXPECT_EQ(SendMessage(Report, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&Hit)), 1);
  EXPECT_EQ(Hit.iSubItem, 1);
  Hit.pt = {100, 5};
  EXPECT_EQ(SendMessage(Icons, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit)), 1);
  EXPECT_EQ(Hit.flags, LVHT_ONITEMICON);
  Hit.pt = {230, 110};
  EXPECT_EQ(SendMessage(ListView, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit)), -1);
  EXPECT_EQ(Hit.flags, LVHT_NOWHERE);
}

TEST_F(TListViewTest, OwnerDataAsksForTheShownRowsOnly) {
  ViewParent().Names = {"apple", "banana", "cherry", "blueberry"};
  HWND L = List(LVS_REPORT | LVS_OWNERDATA, 100000, 240, 120, false);
  ViewParent().AskedMin = ViewParent().AskedMax = -1;
  InvalidateRect(L, nullptr, TRUE);
  RunUntilIdle();
  // Rows of 14 under an 18-pixel header: rows 0 .. 7 show (the last one in part).
  EXPECT_EQ(ViewParent().CacheFrom, 0);
  EXPECT_EQ(ViewParent().CacheTo, 7);
  EXPECT_EQ(ViewParent().AskedMin, 0);
  EXPECT_EQ(ViewParent().AskedMax, 7);
  EXPECT_EQ(SendMessage(L, LVM_GETCOUNTPERPAGE, 0, 0), 7);
  // At the end: the last page only.
  ViewParent().AskedMin = ViewParent().AskedMax = -1;
  SendMessage(L, LVM_ENSUREVISIBLE, 99999, FALSE);
  RunUntilIdle();
  EXPECT_EQ(SendMessage(L, LVM_GETTOPINDEX, 0, 0), 99993);
  EXPECT_EQ(ViewParent().AskedMin, 99993);
  EXPECT_EQ(ViewParent().AskedMax, 99999);
  // The scroll state stays readable with the bar hidden.
  ShowScrollBar(L, SB_VERT, FALSE);
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(L, SB_VERT, &Info));
  EXPECT_EQ(Info.nMax, 99999);
  EXPECT_EQ(Info.nPage, 7u);
  EXPECT_EQ(Info.nPos, 99993);
  // Texts come from the parent too.
  char Buffer[32];
  LVITEM It;
  It.pszText = Buffer;
  It.cchTextMax = sizeof Buffer;
  SendMessage(L, LVM_GETITEMTEXT, 6, reinterpret_cast<LPARAM>(&It));
  EXPECT_STREQ(Buffer, "cherry");
}

TEST_F(TListViewTest, FindingWrapsOnlyWhenAsked) {
  HWND L = List(LVS_REPORT);
  LVFINDINFO F;
  F.flags = LVFI_PARTIAL;
  F.psz = "b";
  EXPECT_EQ(SendMessage(L, LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&F)), 1);
  EXPECT_EQ(SendMessage(L, LVM_FINDITEM, 1, reinterpret_cast<LPARAM>(&F)), 2);
  EXPECT_EQ(SendMessage(L, LVM_FINDITEM, 2, reinterpret_cast<LPARAM>(&F)), -1);
  F.flags = LVFI_PARTIAL | LVFI_WRAP;
  EXPECT_EQ(SendMessage(L, LVM_FINDITEM, 2, reinterpret_cast<LPARAM>(&F)), 1);
  F.flags = LVFI_STRING;
  F.psz = "CHARLIE";
  EXPECT_EQ(SendMessage(L, LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&F)), 3);
  F.psz = "Charl";
  EXPECT_EQ(SendMessage(L, LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&F)), -1);
  F.flags = LVFI_PARAM;
  F.lParam = 105;
  EXPECT_EQ(SendMessage(L, LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&F)), 5);

  // Typing searches from the focused item and wraps; owner data asks the parent.
  ViewParent().Names = {"apple", "banana", "cherry", "blueberry"};
  HWND Owner = List(LVS_REPORT | LVS_OWNERDATA, 6, 240, 120, false);
  SetFocus(Owner);
  Display->Type("b");
  RunUntilIdle();
  EXPECT_EQ(ViewParent().LastFind, "b");
  EXPECT_EQ(State(Owner, 1), LVIS_SELECTED | LVIS_FOCUSED);
  Clock.Advance(2000);
  Display->Type("b");
  RunUntilIdle();
  EXPECT_EQ(State(Owner, 3), LVIS_SELECTED | LVIS_FOCUSED);
  Clock.Advance(2000);
  Display->Type("b");
  RunUntilIdle();
  EXPECT_EQ(State(Owner, 5), LVIS_SELECTED | LVIS_FOCUSED);  // banana again, item 5
  Clock.Advance(2000);
  Display->Type("b");
  RunUntilIdle();
  EXPECT_EQ(State(Owner, 1), LVIS_SELECTED | LVIS_FOCUSED);  // wrapped round
  EXPECT_EQ(Selected(Owner), (std::vector<Integer>{1}));
}

TEST_F(TListViewTest, ClicksAndKeysSelect) {
  HWND L = List(LVS_REPORT | LVS_SHOWSELALWAYS);
  ClickAt(L, 30, 40);  // row 1
  EXPECT_EQ(Selected(L), (std::vector<Integer>{1}));
  EXPECT_EQ(State(L, 1), LVIS_SELECTED | LVIS_FOCUSED);
  auto Notes = TakeViewNotes();
  EXPECT_NE(std::find(Notes.begin(), Notes.end(), TViewNote{LVN_ITEMCHANGED, 1}), Notes.end());
  EXPECT_EQ(Notes.back(), (TViewNote{NM_CLICK, -1}));
  Display->KeyPress(VK_DOWN);
  RunUntilIdle();
  EXPECT_EQ(Selected(L), (std::vector<Integer>{2}));
  Display->KeyPress(VK_DOWN, kmShift);
  Display->KeyPress(VK_DOWN, kmShift);
  RunUntilIdle();
  EXPECT_EQ(Selected(L), (std::vector<Integer>{2, 3, 4}));
  // Ctrl+click adds and removes; a click on nothing clears.
  const TPoint O = Origin(L);
  Display->KeyDown(VK_CONTROL);
  Display->Click(O.X + 30, O.Y + 18 + 5);           // row 0
  Display->Click(O.X + 30, O.Y + 18 + 3 * 18 + 5);  // row 3
  Display->KeyUp(VK_CONTROL);
  RunUntilIdle();
  EXPECT_EQ(Selected(L), (std::vector<Integer>{0, 2, 4}));
  ClickAt(L, 200, 100);
  EXPECT_TRUE(Selected(L).empty());
  // A refused change keeps the state.
  ViewParent().RefuseCode = LVN_ITEMCHANGING;
  ClickAt(L, 30, 40);
  EXPECT_TRUE(Selected(L).empty());
  ViewParent().RefuseCode = 0;
  // One selected item at most with LVS_SINGLESEL.
  DestroyWindow(L);
  HWND Single = List(LVS_REPORT | LVS_SINGLESEL);
  ClickAt(Single, 30, 40);
  Display->KeyPress(VK_DOWN, kmShift);
  RunUntilIdle();
  EXPECT_EQ(Selected(Single), (std::vector<Integer>{2}));
}

TEST_F(TListViewTest, CheckBoxesHeaderAndColumns) {
  HWND L = List(LVS_REPORT);
  SendMessage(L, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  LVITEM It;
  It.stateMask = LVIS_STATEIMAGEMASK;
  It.state = INDEXTOSTATEIMAGEMASK(1);
  SendMessage(L, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&It));
  ClickAt(L, 8, 40);  // the check box of row 1
  EXPECT_EQ(SendMessage(L, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  EXPECT_TRUE(Selected(L).empty());
  ClickAt(L, 8, 40);
  EXPECT_EQ(SendMessage(L, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));

  // The header is a child "SysHeader32"; dragging its divider resizes the column, clicking a
  // section sends LVN_COLUMNCLICK.
  HWND H = reinterpret_cast<HWND>(SendMessage(L, LVM_GETHEADER, 0, 0));
  ASSERT_TRUE(IsWindow(H));
  EXPECT_EQ(GetParent(H), L);
  const TPoint O = Origin(H);
  Display->Drag({O.X + 100, O.Y + 9}, {O.X + 130, O.Y + 9}, 3);
  RunUntilIdle();
  EXPECT_EQ(SendMessage(L, LVM_GETCOLUMNWIDTH, 0, 0), 130);
  RECT Sub{LVIR_BOUNDS, 1, 0, 0};
  SendMessage(L, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&Sub));
  EXPECT_EQ(Sub.Left, 130);
  TakeViewNotes();
  ClickAt(H, 150, 9);
  EXPECT_TRUE(
      std::count(ViewParent().Notes.begin(), ViewParent().Notes.end(), TViewNote{LVN_COLUMNCLICK, 1}));
  // The column order moves the cells.
  Integer Order[2] = {1, 0};
  EXPECT_TRUE(SendMessage(L, LVM_SETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(Order)));
  SendMessage(L, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&Sub));
  EXPECT_EQ(Sub.Left, 0);
  EXPECT_EQ(Rect(L, 0, LVIR_ICON).Left, 60 + 16);
}

TEST_F(TListViewTest, LabelEditingCommitsOrCancels) {
  HWND L = List(LVS_REPORT | LVS_EDITLABELS);
  SetFocus(L);
  HWND Edit = reinterpret_cast<HWND>(SendMessage(L, LVM_EDITLABEL, 2, 0));
  ASSERT_TRUE(IsWindow(Edit));
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(L, LVM_GETEDITCONTROL, 0, 0)), Edit);
  SetWindowText(Edit, "Renamed");
  Display->KeyPress(VK_RETURN);
  RunUntilIdle();
  EXPECT_FALSE(IsWindow(Edit));
  EXPECT_EQ(ViewParent().EditedText, "Renamed");
  char Buffer[32];
  LVITEM It;
  It.pszText = Buffer;
  It.cchTextMax = sizeof Buffer;
  SendMessage(L, LVM_GETITEMTEXT, 2, reinterpret_cast<LPARAM>(&It));
  EXPECT_STREQ(Buffer, "Renamed");
  // Escape cancels; a refused begin makes no edit.
  Edit = reinterpret_cast<HWND>(SendMessage(L, LVM_EDITLABEL, 3, 0));
  SetWindowText(Edit, "Other");
  Display->KeyPress(VK_ESCAPE);
  RunUntilIdle();
  EXPECT_EQ(ViewParent().EditedText, "(cancelled)");
  SendMessage(L, LVM_GETITEMTEXT, 3, reinterpret_cast<LPARAM>(&It));
  EXPECT_STREQ(Buffer, "Charlie");
  ViewParent().RefuseCode = LVN_BEGINLABELEDIT;
  EXPECT_EQ(SendMessage(L, LVM_EDITLABEL, 3, 0), 0);
}

TEST_F(TListViewTest, SelectedRowsAndGridLinesArePainted) {
  HWND L = List(LVS_REPORT | LVS_SHOWSELALWAYS, 3, 240, 120, false);
  SendMessage(L, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  SetFocus(L);
  ClickAt(L, 30, 18 + 14 + 3);  // row 1
  const TScreenshot S = Screenshot(L);
  const DWORD Highlight = ScreenColor(GetSysColor(COLOR_HIGHLIGHT));
  const DWORD Window = ScreenColor(GetSysColor(COLOR_WINDOW));
  const DWORD Grid = ScreenColor(GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(S.Pixel(150, 18 + 14 + 6), Highlight);  // the full row, in the second column
  EXPECT_EQ(S.Pixel(150, 18 + 6), Window);
  EXPECT_EQ(S.Pixel(150, 18 + 13), Grid);  // the line under row 0
  EXPECT_EQ(S.Pixel(99, 18 + 5), Grid);    // column 0's right edge
}

// ---- Tree view --------------------------------------------------------------------------------

class TTreeViewTest : public TViewTest {
 protected:
  HTREEITEM Add(HWND T, HTREEITEM ParentItem, const char* Text) {
    TVINSERTSTRUCT In;
    In.hParent = ParentItem;
    In.hInsertAfter = TVI_LAST;
    In.item.mask = TVIF_TEXT;
    In.item.pszText = const_cast<char*>(Text);
    return reinterpret_cast<HTREEITEM>(SendMessage(T, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&In)));
  }
  HWND Tree(DWORD Style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS) {
    HWND T = Create(WC_TREEVIEW, "", Style, 10, 10, 200, 120, 5);
    A = Add(T, TVI_ROOT, "A");
    A1 = Add(T, A, "A1");
    A2 = Add(T, A, "A2");
    A2a = Add(T, A2, "A2a");
    B = Add(T, TVI_ROOT, "B");
    RunUntilIdle();
    TakeViewNotes();
    return T;
  }
  static TRect TextRect(HWND T, HTREEITEM Item, bool TextOnly = true) {
    RECT R{};
    std::memcpy(static_cast<void*>(&R), &Item, sizeof Item);
    if (!SendMessage(T, TVM_GETITEMRECT, TextOnly, reinterpret_cast<LPARAM>(&R))) return {-1, -1, -1, -1};
    return R;
  }
  static HTREEITEM Next(HWND T, UINT Code, HTREEITEM From = nullptr) {
    return reinterpret_cast<HTREEITEM>(SendMessage(T, TVM_GETNEXTITEM, Code, reinterpret_cast<LPARAM>(From)));
  }
  static bool Expanded(HWND T, HTREEITEM Item) {
    return SendMessage(T, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(Item), TVIS_EXPANDED) != 0;
  }
  HTREEITEM A = nullptr, A1 = nullptr, A2 = nullptr, A2a = nullptr, B = nullptr;
};

TEST_F(TTreeViewTest, ExpandingShowsChildrenAndMovesTheRowsBelow) {
  HWND T = Tree();
  EXPECT_EQ(SendMessage(T, TVM_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(SendMessage(T, TVM_GETVISIBLECOUNT, 0, 0), 120 / 15);
  EXPECT_EQ(TextRect(T, A).Left, 19);  // one indent with lines at the root
  EXPECT_EQ(TextRect(T, A).Top, 0);
  EXPECT_EQ(TextRect(T, B).Top, 15);
  EXPECT_EQ(TextRect(T, A1).Left, -1);  // hidden: no rectangle
  EXPECT_TRUE(SendMessage(T, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(A)));
  EXPECT_EQ(TakeViewNotes(), (std::vector<TViewNote>{{TVN_ITEMEXPANDING, -1}, {TVN_ITEMEXPANDED, -1}}));
  EXPECT_EQ(TextRect(T, A1), (TRect{38, 15, TextRect(T, A1).Right, 30}));
  EXPECT_EQ(TextRect(T, B).Top, 45);
  EXPECT_EQ(TextRect(T, B, false), (TRect{0, 45, 200, 60}));
  EXPECT_EQ(Next(T, TVGN_NEXTVISIBLE, A), A1);
  EXPECT_EQ(Next(T, TVGN_NEXTVISIBLE, A2), B);
  EXPECT_EQ(Next(T, TVGN_PARENT, A2a), A2);
  EXPECT_EQ(Next(T, TVGN_CHILD, A), A1);
  EXPECT_EQ(Next(T, TVGN_NEXT, A1), A2);
  // Without lines at the root, top-level items start at 0.
  HWND Flat = Tree(TVS_HASBUTTONS);
  EXPECT_EQ(TextRect(Flat, A).Left, 0);
  // A refused expansion keeps the node shut; a node without children does not open.
  ViewParent().RefuseCode = TVN_ITEMEXPANDING;
  EXPECT_FALSE(SendMessage(Flat, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(A)));
  EXPECT_FALSE(Expanded(Flat, A));
  ViewParent().RefuseCode = 0;
  EXPECT_FALSE(SendMessage(Flat, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(B)));
}

TEST_F(TTreeViewTest, ButtonsClicksAndKeys) {
  HWND T = Tree();
  SetFocus(T);
  ClickAt(T, 9, 7);  // A's button
  EXPECT_TRUE(Expanded(T, A));
  ClickAt(T, 45, 15 + 7);  // A1's label
  EXPECT_EQ(Next(T, TVGN_CARET), A1);
  auto Notes = TakeViewNotes();
  EXPECT_NE(std::find(Notes.begin(), Notes.end(), TViewNote{TVN_SELCHANGED, -1}), Notes.end());
  Display->KeyPress(VK_DOWN);
  RunUntilIdle();
  EXPECT_EQ(Next(T, TVGN_CARET), A2);
  Display->KeyPress(VK_RIGHT);  // opens A2
  Display->KeyPress(VK_RIGHT);  // to its child
  RunUntilIdle();
  EXPECT_EQ(Next(T, TVGN_CARET), A2a);
  Display->KeyPress(VK_LEFT);  // to the parent
  Display->KeyPress(VK_UP);
  RunUntilIdle();
  EXPECT_EQ(Next(T, TVGN_CARET), A1);
  // Collapsing a node that holds the selection selects it.
  SendMessage(T, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(A2a));
  SendMessage(T, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(A));
  EXPECT_EQ(Next(T, TVGN_CARET), A);
  // A refused selection change keeps the old one.
  ViewParent().RefuseCode = TVN_SELCHANGING;
  ClickAt(T, 25, 15 + 7);
  EXPECT_EQ(Next(T, TVGN_CARET), A);
  ViewParent().RefuseCode = 0;
  // Selecting a hidden item opens its parents and scrolls it into view.
  SendMessage(T, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(A2a));
  EXPECT_TRUE(Expanded(T, A) && Expanded(T, A2));
  // Deleting the selected item moves the selection on.
  SendMessage(T, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(A2));
  EXPECT_EQ(Next(T, TVGN_CARET), A1);
  EXPECT_EQ(SendMessage(T, TVM_GETCOUNT, 0, 0), 3);
}

TEST_F(TTreeViewTest, CustomDrawCanSkipAnItem) {
  HWND T = Tree();
  ViewParent().PrePaintAnswer = CDRF_NOTIFYITEMDRAW;
  ViewParent().SkipItem = reinterpret_cast<ULONG_PTR>(B);
  SendMessage(T, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(A));
  SendMessage(T, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(B));
  RunUntilIdle();
  const TScreenshot S = Screenshot(T);
  const DWORD Window = ScreenColor(GetSysColor(COLOR_WINDOW));
  // B is selected but skipped: its row stays background, lines and button included.
  for (Integer X = 0; X < 60; ++X)
    for (Integer Y = 15; Y < 30; ++Y) ASSERT_EQ(S.Pixel(X, Y), Window) << X << "," << Y;
  // A is drawn: its button box and text.
  EXPECT_NE(S.Pixel(5, 7), Window);
  bool Text = false;
  for (Integer X = 21; X < 40; ++X)
    for (Integer Y = 0; Y < 15; ++Y) Text = Text || S.Pixel(X, Y) != Window;
  EXPECT_TRUE(Text);
}

}  // namespace
