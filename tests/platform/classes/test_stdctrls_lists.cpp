// List boxes and combo boxes.
#include "StdCtrlsTestSupport.h"

namespace {

// Records owner-draw calls as "Index Left,Top,Right,Bottom flags".
struct TDrawLog {
  TLines Lines;
  Integer Height = 20;
  void Draw(TWinControl*, Integer Index, TRect R, TOwnerDrawState State) {
    std::string S = std::to_string(Index) + " " + std::to_string(R.Left) + "," + std::to_string(R.Top) + "," +
                    std::to_string(R.Right) + "," + std::to_string(R.Bottom);
    if (State.Contains(odSelected)) S += " selected";
    if (State.Contains(odFocused)) S += " focused";
    if (State.Contains(odComboBoxEdit)) S += " edit";
    Lines.push_back(S);
  }
  void Measure(TWinControl*, Integer Index, Integer& H) { H = Height + Index; }
};

class TListTest : public TStdCtrlsTest {
 protected:
  TListBox* NewList(TRect Bounds = ::Bounds(10, 10, 150, 100)) {
    auto* L = Add<TListBox>("List", Bounds);
    L->OnClick = TNotifyEvent(&Events, &TControlEvents::Click);
    return L;
  }
  TComboBox* NewCombo(TComboBoxStyle Style = csDropDown) {
    auto* C = Add<TComboBox>("Combo", Bounds(10, 10, 150, 21));
    C->SetStyle(Style);
    C->OnChange = TNotifyEvent(&Events, &TControlEvents::Change);
    C->OnSelect = TNotifyEvent(&Events, &TControlEvents::Select);
    C->OnClick = TNotifyEvent(&Events, &TControlEvents::Click);
    C->OnDropDown = TNotifyEvent(&Events, &TControlEvents::DropDown);
    C->OnCloseUp = TNotifyEvent(&Events, &TControlEvents::CloseUp);
    return C;
  }
};

}  // namespace

TEST_F(TListTest, ItemsAndItemIndexWithAndWithoutAWindow) {
  auto* List = new TListBox(Form);
  List->SetName("List");
  TStrings* Items = List->GetItems();
  Items->Add("one");
  Items->Add("two");
  Items->Insert(0, "zero");
  Items->AddObject("three", List);
  List->SetItemIndex(2);
  EXPECT_FALSE(List->HandleAllocated());
  EXPECT_EQ(List->GetItemIndex(), 2);

  List->SetBoundsRect(Bounds(10, 10, 150, 100));
  List->SetParent(Form);
  Pump();
  ASSERT_TRUE(List->HandleAllocated());
  EXPECT_EQ(SendMessage(List->GetHandle(), LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(Items->GetCommaText(), "zero,one,two,three");
  EXPECT_EQ(Items->GetObjects(3), List);
  EXPECT_EQ(List->GetItemIndex(), 2);
  EXPECT_EQ(Items->IndexOf("TWO"), 2);

  // Recreating the window (sorting) keeps items, objects and the selection.
  List->SetSorted(true);
  EXPECT_EQ(Items->GetCommaText(), "one,three,two,zero");
  EXPECT_EQ(Items->GetObjects(Items->IndexOf("three")), List);
  Items->Add("four");
  EXPECT_EQ(Items->GetStrings(0), "four");

  Items->Delete(0);
  Items->SetStrings(0, "uno");  // sorted: goes to its place
  EXPECT_EQ(Items->GetCommaText(), "three,two,uno,zero");
  EXPECT_THROW(Items->GetStrings(9), EStringListError);
  List->Clear();
  EXPECT_EQ(Items->GetCount(), 0);
  EXPECT_EQ(List->GetItemIndex(), -1);
}

TEST_F(TListTest, ClicksAndKeysSelectAndFireOnClickButTheSetterDoesNot) {
  TListBox* List = NewList();
  for (const char* S : {"a", "b", "c", "d"}) List->GetItems()->Add(S);
  Pump();
  const Integer H = List->GetItemHeight();
  Events.Clear();
  List->SetItemIndex(1);
  EXPECT_TRUE(Events.Lines.empty());

  ClickAt(List, 20, 2 * H + H / 2);
  EXPECT_EQ(List->GetItemIndex(), 2);
  EXPECT_EQ(Events.Lines, (TLines{"Click List"}));
  Press(VK_DOWN);
  EXPECT_EQ(List->GetItemIndex(), 3);
  EXPECT_EQ(Events.Lines.size(), 2u);

  // Positions and rectangles of items.
  EXPECT_EQ(List->ItemAtPos({20, H + 1}, true), 1);
  EXPECT_EQ(List->ItemAtPos({20, 90}, true), -1);
  EXPECT_EQ(List->ItemAtPos({20, 90}, false), 4);
  EXPECT_EQ(List->ItemRect(1), Rect(0, H, List->GetClientWidth(), 2 * H));
  EXPECT_EQ(List->ItemRect(4), Rect(0, 4 * H, List->GetClientWidth(), 5 * H));
}

TEST_F(TListTest, MultiSelection) {
  TListBox* List = NewList();
  for (const char* S : {"a", "b", "c", "d"}) List->GetItems()->Add(S);
  EXPECT_EQ(List->GetSelCount(), -1);
  List->SetMultiSelect(true);
  List->SetSelected(1, true);
  List->SetSelected(3, true);
  EXPECT_EQ(List->GetSelCount(), 2);
  EXPECT_TRUE(List->GetSelected(3));
  EXPECT_FALSE(List->GetSelected(2));
  // The selection survives a new window.
  List->SetExtendedSelect(false);
  EXPECT_EQ(List->GetSelCount(), 2);
  EXPECT_TRUE(List->GetSelected(1));
  EXPECT_THROW(List->GetSelected(7), EListError);
}

TEST_F(TListTest, OwnerDrawFixedGivesEachItemItsRectangle) {
  TListBox* List = NewList(Bounds(10, 10, 120, 100));
  TDrawLog Log;
  List->SetStyle(lbOwnerDrawFixed);
  List->SetItemHeight(18);
  List->OnDrawItem = TDrawItemEvent(&Log, &TDrawLog::Draw);
  for (const char* S : {"a", "b", "c"}) List->GetItems()->Add(S);
  List->SetItemIndex(1);
  Pump();
  Log.Lines.clear();
  List->Invalidate();
  Pump();
  const std::string W = std::to_string(List->GetClientWidth());
  EXPECT_EQ(Log.Lines, (TLines{"0 0,0," + W + ",18", "1 0,18," + W + ",36 selected", "2 0,36," + W + ",54"}));
  EXPECT_EQ(List->GetItemHeight(), 18);
}

TEST_F(TListTest, OwnerDrawVariableAsksEachItemsHeight) {
  TListBox* List = NewList(Bounds(10, 10, 120, 120));
  TDrawLog Log;
  List->SetStyle(lbOwnerDrawVariable);
  List->OnMeasureItem = TMeasureItemEvent(&Log, &TDrawLog::Measure);
  List->OnDrawItem = TDrawItemEvent(&Log, &TDrawLog::Draw);
  for (const char* S : {"a", "b", "c"}) List->GetItems()->Add(S);
  Pump();
  Log.Lines.clear();
  List->Invalidate();
  Pump();
  const std::string W = std::to_string(List->GetClientWidth());
  EXPECT_EQ(Log.Lines, (TLines{"0 0,0," + W + ",20", "1 0,20," + W + ",41", "2 0,41," + W + ",63"}));
  EXPECT_EQ(List->ItemAtPos({5, 45}, true), 2);
}

TEST_F(TListTest, ComboPickByMouseFiresChangeAndSelectTheSetterNothing) {
  TComboBox* Combo = NewCombo(csDropDownList);
  for (const char* S : {"red", "green", "blue"}) Combo->GetItems()->Add(S);
  Pump();
  Events.Clear();
  Combo->SetItemIndex(1);
  EXPECT_EQ(Combo->GetText(), "green");
  EXPECT_TRUE(Events.Lines.empty());

  // Open the list with a click, pick the third item.
  ClickAt(Combo, Combo->GetWidth() - 5, 10);
  ASSERT_TRUE(Combo->GetDroppedDown());
  COMBOBOXINFO Info;
  GetComboBoxInfo(Combo->GetHandle(), &Info);
  RECT ItemR{0, 0, 0, 0};
  SendMessage(Info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&ItemR));
  POINT P{ItemR.Left + 5, ItemR.Top + 2};
  ClientToScreen(Info.hwndList, &P);
  ScriptClick(P.X, P.Y);
  Pump();
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 2);
  EXPECT_EQ(Combo->GetText(), "blue");
  EXPECT_EQ(Events.Lines,
            (TLines{"DropDown Combo", "Click Combo", "Change Combo", "Select Combo", "CloseUp Combo"}));
}

TEST_F(TListTest, ComboEditTypingChangesAndStateIsKept) {
  TComboBox* Combo = NewCombo(csDropDown);
  Combo->SetText("");
  for (const char* S : {"alpha", "beta"}) Combo->GetItems()->Add(S);
  Combo->SetFocus();
  Pump();
  Events.Clear();
  Type("xy");
  EXPECT_EQ(Combo->GetText(), "xy");
  EXPECT_EQ(Events.Lines, (TLines{"Change Combo", "Change Combo"}));
  // Down arrow on a closed drop-down combo selects the next item: a user change.
  Events.Clear();
  Press(VK_DOWN);
  EXPECT_EQ(Combo->GetItemIndex(), 0);
  EXPECT_EQ(Combo->GetText(), "alpha");
  EXPECT_EQ(Events.Lines, (TLines{"Click Combo", "Change Combo", "Select Combo"}));

  // Items, index and text through a new window (style change).
  Combo->SetItemIndex(1);
  Combo->SetStyle(csSimple);
  EXPECT_EQ(Combo->GetItems()->GetCommaText(), "alpha,beta");
  EXPECT_EQ(Combo->GetItemIndex(), 1);
  EXPECT_EQ(Combo->GetText(), "beta");
  Combo->SetText("free text");
  Combo->SetStyle(csDropDown);
  EXPECT_EQ(Combo->GetText(), "free text");
  EXPECT_EQ(Combo->GetDropDownCount(), 8);
}

TEST_F(TListTest, OwnerDrawComboDrawsTheFieldAsEdit) {
  TComboBox* Combo = NewCombo(csOwnerDrawFixed);
  TDrawLog Log;
  Combo->SetItemHeight(20);
  Combo->OnDrawItem = TDrawItemEvent(&Log, &TDrawLog::Draw);
  for (const char* S : {"a", "b"}) Combo->GetItems()->Add(S);
  Combo->SetItemIndex(1);
  Pump();
  Log.Lines.clear();
  Combo->Invalidate();
  Pump();
  ASSERT_FALSE(Log.Lines.empty());
  EXPECT_NE(Log.Lines.back().find("1 "), std::string::npos);
  EXPECT_NE(Log.Lines.back().find(" edit"), std::string::npos);
  // The field is the item height plus the edge: 20 + 6.
  EXPECT_EQ(Combo->GetHeight(), 26);
}
