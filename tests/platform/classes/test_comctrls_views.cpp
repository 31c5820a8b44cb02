// List views, tree views and header controls of the class library over the native views.
#include "FormsScript.h"
#include "StdCtrlsTestSupport.h"
#include "platform/classes/ComCtrls.h"

namespace {

using TViewsTest = TStdCtrlsTest;

struct TViewEvents {
  TLines Lines;
  std::vector<Integer> DataAsked;
  Integer SkipIndex = -1;
  void SelectItem(TObject*, TListItem* Item, bool Selected) {
    Lines.push_back("Select " + std::to_string(Item ? Item->GetIndex() : -1) + (Selected ? " on" : " off"));
  }
  void Data(TObject*, TListItem* Item) {
    DataAsked.push_back(Item->GetIndex());
    Item->SetCaption("Row " + std::to_string(Item->GetIndex()));
    Item->GetSubItems()->Add(std::to_string(Item->GetIndex() * 2));
  }
  void DataFind(TObject*, TItemFind, const std::string& S, TPoint, void*, Integer Start, TSearchDirection,
                bool Wrap, Integer& Index) {
    Lines.push_back("Find " + S + " from " + std::to_string(Start) + (Wrap ? " wrap" : ""));
    Index = 42;
  }
  void DrawItem(TCustomListView*, TListItem* Item, TCustomDrawState, bool& DefaultDraw) {
    DefaultDraw = Item->GetIndex() != SkipIndex;
  }
  void TreeChange(TObject*, TTreeNode* Node) {
    Lines.push_back("Change " + (Node ? Node->GetText() : "nil"));
  }
  void Expanding(TObject*, TTreeNode* Node, bool& Allow) {
    Lines.push_back("Expanding " + Node->GetText());
    Allow = Node->GetText() != "Locked";
  }
  void Advanced(TCustomTreeView*, TTreeNode* Node, TCustomDrawState, TCustomDrawStage, bool&, bool&) {
    Lines.push_back("Draw " + Node->GetText());
  }
  void SectionClick(THeaderControl*, THeaderSection* S) { Lines.push_back("Click " + S->GetText()); }
  void SectionResize(THeaderControl*, THeaderSection* S) {
    Lines.push_back("Resize " + S->GetText() + " " + std::to_string(S->GetWidth()));
  }
};

TListView* ReportView(TViewsTest& T, TViewEvents& E, TForm* Form) {
  (void)T;
  auto* V = new TListView(Form);
  V->SetBoundsRect(Bounds(10, 10, 300, 200));
  V->SetViewStyle(vsReport);
  V->SetMultiSelect(true);
  V->SetParent(Form);
  for (const char* Caption : {"Name", "Size"}) {
    TListColumn* C = V->GetColumns()->Add();
    C->SetCaption(Caption);
    C->SetWidth(100);
  }
  for (Integer I = 0; I < 5; ++I) {
    TListItem* It = V->GetItems()->Add();
    It->SetCaption("Item " + std::to_string(I));
    It->GetSubItems()->Add(std::to_string(I * 10));
  }
  V->OnSelectItem = TLVSelectItemEvent(&E, &TViewEvents::SelectItem);
  return V;
}

}  // namespace

TEST_F(TViewsTest, ListViewItemsReachTheWindowAndClicksSelect) {
  TViewEvents E;
  TListView* V = ReportView(*this, E, Form);
  Pump();
  HWND W = V->GetHandle();
  EXPECT_EQ(SendMessage(W, LVM_GETITEMCOUNT, 0, 0), 5);
  char Buffer[32];
  LVITEM It;
  It.iSubItem = 1;
  It.pszText = Buffer;
  It.cchTextMax = sizeof Buffer;
  SendMessage(W, LVM_GETITEMTEXT, 3, reinterpret_cast<LPARAM>(&It));
  EXPECT_STREQ(Buffer, "30");
  const TRect Label = V->GetItems()->GetItem(1)->DisplayRect(drLabel);
  EXPECT_EQ(Label.Left, 0);
  EXPECT_EQ(Label.Right, 100);
  ClickAt(V, 40, Label.Top + 3);
  EXPECT_EQ(V->GetSelected(), V->GetItems()->GetItem(1));
  EXPECT_EQ(E.Lines, (TLines{"Select 1 on"}));
  // A caption change shows without a new window; the item keeps its state through a new window.
  V->GetItems()->GetItem(1)->SetCaption("Renamed");
  V->SetReadOnly(true);  // recreates the window
  Pump();
  EXPECT_NE(V->GetHandle(), nullptr);
  SendMessage(V->GetHandle(), LVM_GETITEMTEXT, 1, reinterpret_cast<LPARAM>(&(It.iSubItem = 0, It)));
  EXPECT_STREQ(Buffer, "Renamed");
  EXPECT_TRUE(V->GetItems()->GetItem(1)->GetSelected());
  EXPECT_EQ(V->FindCaption(0, "item 3", false, true, false), V->GetItems()->GetItem(3));
  EXPECT_EQ(V->FindCaption(3, "item", true, false, true), V->GetItems()->GetItem(4));
}

TEST_F(TViewsTest, OwnerDataFetchesShownRowsAndFindsThroughTheHandler) {
  TViewEvents E;
  auto* V = new TListView(Form);
  V->SetBoundsRect(Bounds(10, 10, 300, 150));
  V->SetViewStyle(vsReport);
  V->SetOwnerData(true);
  V->GetColumns()->Add()->SetWidth(120);
  V->OnData = TLVOwnerDataEvent(&E, &TViewEvents::Data);
  V->OnDataFind = TLVOwnerDataFindEvent(&E, &TViewEvents::DataFind);
  V->SetParent(Form);
  V->GetItems()->SetCount(100000);
  Pump();
  ASSERT_FALSE(E.DataAsked.empty());
  EXPECT_LT(*std::max_element(E.DataAsked.begin(), E.DataAsked.end()), V->VisibleRowCount() + 1);
  EXPECT_EQ(V->GetItems()->GetCount(), 100000);
  EXPECT_EQ(V->GetItems()->GetItem(777)->GetCaption(), "Row 777");
  EXPECT_EQ(V->FindCaption(5, "Row", true, false, true), V->GetItems()->GetItem(42));
  EXPECT_EQ(E.Lines, (TLines{"Find Row from 6 wrap"}));
}

TEST_F(TViewsTest, ListViewHeaderIsAnnouncedToTheViewAndCustomDrawCanSkip) {
  TViewEvents E;
  auto* V = new TListView(Form);
  V->SetBoundsRect(Bounds(10, 10, 300, 150));
  V->SetViewStyle(vsReport);
  // A spy in front of the view's window procedure from the start.
  struct TSpy {
    TWndMethod Old;
    HWND Header = nullptr;
    void Proc(TMessage& M) {
      if (M.Msg == WM_PARENTNOTIFY && LOWORD(M.WParam) == WM_CREATE) {
        char Name[64] = {};
        GetClassName(reinterpret_cast<HWND>(M.LParam), Name, sizeof Name);
        if (std::string(Name) == "SysHeader32") Header = reinterpret_cast<HWND>(M.LParam);
      }
      Old(M);
    }
  } Spy;
  Spy.Old = V->WindowProc;
  V->WindowProc = TWndMethod(&Spy, &TSpy::Proc);
  V->SetParent(Form);
  V->GetColumns()->Add()->SetCaption("Name");
  for (Integer I = 0; I < 3; ++I) V->GetItems()->Add()->SetCaption("Item " + std::to_string(I));
  Pump();
  ASSERT_NE(Spy.Header, nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(V->GetHandle(), LVM_GETHEADER, 0, 0)), Spy.Header);
  // An item whose custom draw says no is not drawn: its label stays background.
  E.SkipIndex = 1;
  V->OnCustomDrawItem = TLVCustomDrawItemEvent(&E, &TViewEvents::DrawItem);
  V->GetItems()->GetItem(1)->SetCaption("WWWWWWWW");
  V->GetItems()->GetItem(0)->SetCaption("WWWWWWWW");
  V->Invalidate();
  Pump();
  const TControlShot Shot = ShotOf(V);      // the window with its one-pixel border
  const DWORD Background = Shot(250, 120);  // right of and below the items
  auto Inked = [&Shot, Background](TRect R) {
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X)
        if (Shot(X + 1, Y + 1) != Background) return true;
    return false;
  };
  EXPECT_TRUE(Inked(V->GetItems()->GetItem(0)->DisplayRect(drLabel)));
  EXPECT_FALSE(Inked(V->GetItems()->GetItem(1)->DisplayRect(drLabel)));
  V->WindowProc = Spy.Old;
}

TEST_F(TViewsTest, TreeViewNodesSurviveANewWindow) {
  TViewEvents E;
  auto* T = new TTreeView(Form);
  T->SetBoundsRect(Bounds(10, 10, 200, 150));
  T->SetParent(Form);
  TTreeNode* A = T->GetItems()->Add(nullptr, "A");
  TTreeNode* A1 = T->GetItems()->AddChild(A, "A1");
  T->GetItems()->AddChild(A, "A2");
  TTreeNode* Locked = T->GetItems()->Add(nullptr, "Locked");
  T->GetItems()->AddChild(Locked, "Inside");
  T->OnChange = TTVChangedEvent(&E, &TViewEvents::TreeChange);
  T->OnExpanding = TTVExpandingEvent(&E, &TViewEvents::Expanding);
  Pump();
  EXPECT_EQ(T->GetItems()->GetCount(), 5);
  EXPECT_EQ(T->GetVisibleCount(), T->GetClientHeight() / static_cast<Integer>(SendMessage(
                                                             T->GetHandle(), TVM_GETITEMHEIGHT, 0, 0)));
  A->Expand(false);
  Locked->Expand(false);
  EXPECT_TRUE(A->GetExpanded());
  EXPECT_FALSE(Locked->GetExpanded());
  EXPECT_TRUE(A1->IsVisible());
  EXPECT_EQ(A->GetNextVisible(), A1);
  const TRect R = A1->DisplayRect(true);
  ClickAt(T, R.Left + 3, R.Top + 3);
  EXPECT_EQ(T->GetSelected(), A1);
  EXPECT_EQ(E.Lines, (TLines{"Expanding A", "Expanding Locked", "Change A1"}));
  // A new window (other line settings) gets the same nodes, expansion and selection.
  T->SetShowLines(false);
  Pump();
  EXPECT_TRUE(A->GetExpanded());
  EXPECT_EQ(T->GetSelected(), A1);
  EXPECT_EQ(T->GetNodeAt(R.Left + 3, R.Top + 3), A1);
  A->Delete();  // the selection moves on to the next node
  EXPECT_EQ(T->GetSelected(), Locked);
  EXPECT_EQ(T->GetItems()->GetCount(), 2);
  EXPECT_EQ(SendMessage(T->GetHandle(), TVM_GETCOUNT, 0, 0), 2);
  // The advanced custom draw handler hears about every shown node.
  E.Lines.clear();
  T->OnAdvancedCustomDrawItem = TTVAdvancedCustomDrawItemEvent(&E, &TViewEvents::Advanced);
  T->Invalidate();
  Pump();
  EXPECT_EQ(E.Lines, (TLines{"Draw Locked"}));
}

TEST_F(TViewsTest, HeaderControlSectionsClickAndResize) {
  TViewEvents E;
  auto* H = Add<THeaderControl>("Header", Bounds(0, 0, 300, 20));
  for (const char* Text : {"One", "Two"}) {
    THeaderSection* S = H->GetSections()->Add();
    S->SetText(Text);
    S->SetWidth(80);
  }
  H->OnSectionClick = TSectionNotifyEvent(&E, &TViewEvents::SectionClick);
  H->OnSectionResize = TSectionNotifyEvent(&E, &TViewEvents::SectionResize);
  Pump();
  EXPECT_EQ(H->GetSections()->GetItem(1)->GetLeft(), 80);
  ClickAt(H, 100, 8);
  const TPoint From = At(H, 80, 8), To = At(H, 120, 8);
  ScriptMoveTo(From.X, From.Y);
  ScriptButton(true);
  ScriptMoveTo(To.X, To.Y);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(H->GetSections()->GetItem(0)->GetWidth(), 120);
  EXPECT_EQ(E.Lines, (TLines{"Click Two", "Resize One 120"}));
}
