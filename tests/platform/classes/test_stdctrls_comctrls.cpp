// Trackbars, progress bars, page controls, status bars and scroll boxes.
#include "StdCtrlsTestSupport.h"
#include "platform/classes/ComCtrls.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/ImgList.h"
#include "platform/user/SystemMetrics.h"

namespace {

using TComCtrlsTest = TStdCtrlsTest;

struct TChanging {
  bool Allow = true;
  TLines* Lines = nullptr;
  void Changing(TObject* S, bool& AllowChange) {
    Lines->push_back("Changing " + NameOf(S));
    AllowChange = Allow;
  }
};

struct TPanelDraw {
  TLines Lines;
  void Draw(TStatusBar*, TStatusPanel* Panel, const TRect& R) {
    Lines.push_back(std::to_string(Panel->GetIndex()) + " " + std::to_string(R.Left) + "," +
                    std::to_string(R.Top) + "," + std::to_string(R.Right) + "," + std::to_string(R.Bottom));
  }
};

// Counts CM_CHANGED on its way to the control and passes every message on.
struct TChangedSpy {
  TWndMethod Old;
  std::vector<LPARAM> Senders;
  void Proc(TMessage& M) {
    if (M.Msg == CM_CHANGED) Senders.push_back(M.LParam);
    Old(M);
  }
};

}  // namespace

TEST_F(TComCtrlsTest, TrackBarChangeSendsCmChangedBeforeOnChange) {
  auto* Bar = Add<TTrackBar>("Bar", Bounds(10, 10, 150, 45));
  TChangedSpy Spy;
  Spy.Old = Bar->WindowProc;
  Bar->WindowProc = TWndMethod(&Spy, &TChangedSpy::Proc);
  std::size_t SendersAtOnChange = 0;
  struct TOnChange {
    TChangedSpy* Spy;
    std::size_t* Seen;
    void Change(TObject*) { *Seen = Spy->Senders.size(); }
  } Handler{&Spy, &SendersAtOnChange};
  Bar->OnChange = TNotifyEvent(&Handler, &TOnChange::Change);
  Bar->SetPosition(4);
  ASSERT_EQ(Spy.Senders.size(), 1u);
  EXPECT_EQ(Spy.Senders[0], reinterpret_cast<LPARAM>(Bar));
  EXPECT_EQ(SendersAtOnChange, 1u);
  Bar->SetPosition(4);  // unchanged: nothing
  EXPECT_EQ(Spy.Senders.size(), 1u);
  Bar->WindowProc = Spy.Old;
}

TEST_F(TComCtrlsTest, TrackBarOnChangeByKeysAndDrag) {
  auto* Bar = Add<TTrackBar>("Bar", Bounds(10, 10, 150, 45));
  Bar->OnChange = TNotifyEvent(&Events, &TControlEvents::Change);
  Bar->SetFocus();
  Pump();
  Press(VK_RIGHT);
  EXPECT_EQ(Bar->GetPosition(), 1);
  Press(VK_NEXT);
  EXPECT_EQ(Bar->GetPosition(), 3);
  Press(VK_END);
  EXPECT_EQ(Bar->GetPosition(), 10);
  Press(VK_END);  // no change: no event
  EXPECT_EQ(Events.Lines.size(), 3u);

  // Drag the thumb from the far end to the start: the thumb's centre is 8 + 133 * p / 10.
  Events.Clear();
  const TPoint From = At(Bar, 8 + 133, 18), To = At(Bar, 8, 18);
  ScriptMoveTo(From.X, From.Y);
  ScriptButton(true);
  for (Integer X = From.X; X >= To.X; X -= 13) ScriptMoveTo(X, From.Y);
  ScriptMoveTo(To.X, To.Y);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Bar->GetPosition(), 0);
  EXPECT_GE(Events.Lines.size(), 2u);

  // The setter clamps and reports; the state goes with the window.
  Events.Clear();
  Bar->SetPosition(50);
  EXPECT_EQ(Bar->GetPosition(), 10);
  EXPECT_EQ(Events.Lines.size(), 1u);
  Bar->SetOrientation(trVertical);
  EXPECT_EQ(Bar->GetWidth(), 45);
  EXPECT_EQ(Bar->GetPosition(), 10);
  EXPECT_EQ(SendMessage(Bar->GetHandle(), TBM_GETPOS, 0, 0), 10);
  EXPECT_NE(GetWindowLongPtr(Bar->GetHandle(), GWL_STYLE) & TBS_VERT, 0);
}

TEST_F(TComCtrlsTest, ProgressBarStepsAndRange) {
  auto* Bar = new TProgressBar(Form);
  Bar->SetMax(50);
  Bar->SetStep(20);
  Bar->StepIt();
  Bar->StepIt();
  EXPECT_EQ(Bar->GetPosition(), 40);
  Bar->StepIt();  // past the end: round by the range
  EXPECT_EQ(Bar->GetPosition(), 10);
  Bar->StepBy(100);
  EXPECT_EQ(Bar->GetPosition(), 50);
  Bar->SetBoundsRect(Bounds(10, 10, 100, 16));
  Bar->SetParent(Form);
  EXPECT_EQ(SendMessage(Bar->GetHandle(), PBM_GETPOS, 0, 0), 50);
  Bar->SetPosition(-5);
  EXPECT_EQ(Bar->GetPosition(), 0);
  Bar->SetStep(30);
  Bar->StepIt();
  Bar->StepIt();
  EXPECT_EQ(Bar->GetPosition(), 10);  // the window wraps the same way
  Bar->SetSmooth(true);
  EXPECT_EQ(Bar->GetPosition(), 10);

  // Classic look: the bar (highlight) from the left, the face after it.
  Bar->SetPosition(25);
  Pump();
  const TControlShot P = ShotOf(Bar);
  EXPECT_EQ(P(5, 8), ScreenColor(clHighlight));
  EXPECT_EQ(P(80, 8), ScreenColor(clBtnFace));
}

TEST_F(TComCtrlsTest, PageControlSwitchesPagesAndCanRefuse) {
  auto* Pages = Add<TPageControl>("Pages", Bounds(10, 10, 300, 200));
  Pages->OnChange = TNotifyEvent(&Events, &TControlEvents::Change);
  TChanging Changing{true, &Events.Lines};
  Pages->OnChanging = TTabChangingEvent(&Changing, &TChanging::Changing);
  TTabSheet* Sheets[3];
  for (Integer I = 0; I < 3; ++I) {
    Sheets[I] = new TTabSheet(Form);
    Sheets[I]->SetName("Sheet" + std::to_string(I));
    Sheets[I]->SetPageControl(Pages);
  }
  Pump();
  EXPECT_EQ(Pages->GetPageCount(), 3);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
  EXPECT_TRUE(Sheets[0]->GetVisible());
  EXPECT_FALSE(Sheets[1]->GetVisible());
  EXPECT_EQ(SendMessage(Pages->GetHandle(), TCM_GETITEMCOUNT, 0, 0), 3);
  // The pages fill the display rectangle of the tab control.
  RECT Display = Pages->GetClientRect();
  SendMessage(Pages->GetHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&Display));
  EXPECT_EQ(Pages->GetDisplayRect(), Display);
  EXPECT_EQ(Sheets[0]->GetBoundsRect(), Display);

  // A click on the second tab.
  Events.Clear();
  TRect Tab = Pages->TabRect(1);
  ClickAt(Pages, Tab.Left + 5, Tab.Top + 5);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[1]);
  EXPECT_TRUE(Sheets[1]->GetVisible());
  EXPECT_FALSE(Sheets[0]->GetVisible());
  EXPECT_EQ(Sheets[1]->GetBoundsRect(), Display);
  EXPECT_EQ(Events.Lines, (TLines{"Changing Pages", "Change Pages"}));

  // OnChanging refuses: the page stays.
  Events.Clear();
  Changing.Allow = false;
  Tab = Pages->TabRect(2);
  ClickAt(Pages, Tab.Left + 5, Tab.Top + 5);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[1]);
  EXPECT_EQ(Pages->GetTabIndex(), 1);
  EXPECT_EQ(Events.Lines, (TLines{"Changing Pages"}));
  Changing.Allow = true;

  // The setter switches without events.
  Events.Clear();
  Pages->SetActivePageIndex(2);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
  EXPECT_EQ(Pages->GetTabIndex(), 2);
  EXPECT_TRUE(Events.Lines.empty());

  // A hidden tab: the later tabs move down by one; the page itself keeps its place.
  Sheets[0]->SetTabVisible(false);
  EXPECT_EQ(SendMessage(Pages->GetHandle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(Sheets[2]->GetTabIndex(), 1);
  EXPECT_EQ(Sheets[2]->GetPageIndex(), 2);
  EXPECT_EQ(Pages->GetTabIndex(), 1);
  Pages->SelectNextPage(true);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[1]);  // skips the hidden one
  EXPECT_EQ(Events.Lines, (TLines{"Changing Pages", "Change Pages"}));

  // Captions are the tabs' texts; deleting the active page shows the next.
  Sheets[1]->SetCaption("Second");
  char Buffer[32] = {};
  TCITEM Item;
  Item.mask = TCIF_TEXT;
  Item.pszText = Buffer;
  Item.cchTextMax = sizeof(Buffer);
  SendMessage(Pages->GetHandle(), TCM_GETITEM, 0, reinterpret_cast<LPARAM>(&Item));
  EXPECT_STREQ(Buffer, "Second");
  delete Sheets[1];
  EXPECT_EQ(Pages->GetPageCount(), 2);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
  EXPECT_TRUE(Sheets[2]->GetVisible());
}

TEST_F(TComCtrlsTest, PageControlKeepsItsPagesThroughANewWindow) {
  auto* Pages = Add<TPageControl>("Pages", Bounds(10, 10, 300, 200));
  auto* A = new TTabSheet(Form);
  A->SetCaption("A");
  A->SetParent(Pages);  // a page control as parent makes the sheet a page
  auto* B = new TTabSheet(Form);
  B->SetCaption("B");
  B->SetPageControl(Pages);
  Pages->SetActivePage(B);
  Pages->SetTabPosition(tpBottom);
  EXPECT_EQ(Pages->GetPageCount(), 2);
  EXPECT_EQ(SendMessage(Pages->GetHandle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(Pages->GetTabIndex(), 1);
  // Bottom tabs: the pages start at the top.
  EXPECT_EQ(B->GetTop(), 4);
  Pages->SetTabHeight(30);
  EXPECT_EQ(Pages->TabRect(0).Height(), 30);
  B->SetPageIndex(0);
  EXPECT_EQ(Pages->GetPage(0), B);
  EXPECT_EQ(Pages->GetTabIndex(), 0);

  // Images make room in the tabs: the tab height follows the taller image.
  Pages->SetTabHeight(0);
  const Integer Plain = Pages->TabRect(0).Height();
  TImageList Images(Form);
  Images.SetWidth(40);
  Images.SetHeight(40);
  B->SetImageIndex(0);
  Pages->SetImages(&Images);
  EXPECT_GE(Pages->TabRect(0).Height(), 40);
  EXPECT_GT(Pages->TabRect(0).Height(), Plain);
  Pages->SetImages(nullptr);
  EXPECT_EQ(Pages->TabRect(0).Height(), Plain);
}

TEST_F(TComCtrlsTest, StatusBarPanelsInTheClassicLook) {
  auto* Bar = Add<TStatusBar>("Bar", Bounds(0, 0, 100, 19));
  EXPECT_EQ(Bar->GetAlign(), alBottom);
  EXPECT_EQ(Bar->GetTop(), 300 - 19);
  EXPECT_EQ(Bar->GetWidth(), 400);
  TStatusPanel* First = Bar->GetPanels()->Add();
  First->SetWidth(100);
  First->SetText("Ready");
  TStatusPanel* Second = Bar->GetPanels()->Add();
  Second->SetWidth(80);
  TStatusPanel* Last = Bar->GetPanels()->Add();
  Last->SetStyle(psOwnerDraw);
  TPanelDraw Draw;
  Bar->OnDrawPanel = TDrawPanelEvent(&Draw, &TPanelDraw::Draw);
  Pump();
  // The form is sizeable: the grip takes the corner and the last panel ends before it.
  const Integer Grip = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(Bar->PanelRect(0), Rect(0, 2, 100, 19));
  EXPECT_EQ(Bar->PanelRect(1), Rect(102, 2, 180, 19));
  EXPECT_EQ(Bar->PanelRect(2), Rect(182, 2, 400 - Grip, 19));
  ASSERT_FALSE(Draw.Lines.empty());
  EXPECT_EQ(Draw.Lines.back(), "2 183,3," + std::to_string(399 - Grip) + ",18");

  const TControlShot P = ShotOf(Bar);
  const DWORD Light = ScreenColor(clBtnHighlight), Shadow = ScreenColor(clBtnShadow),
              Face = ScreenColor(clBtnFace);
  // Sunken edges: shadow at the top-left, highlight at the bottom-right; the face between.
  for (const auto& [X, Y, Expected] :
       {std::tuple{0, 2, Shadow}, std::tuple{50, 2, Shadow}, std::tuple{99, 18, Light},
        std::tuple{99, 10, Light}, std::tuple{0, 0, Face}, std::tuple{100, 10, Face},
        std::tuple{101, 10, Face}, std::tuple{102, 10, Shadow}, std::tuple{150, 10, Face}})
    EXPECT_EQ(P(X, Y), Expected) << X << "," << Y;
  // The text shows in the first panel.
  bool Text = false;
  for (Integer X = 3; X < 60 && !Text; ++X)
    for (Integer Y = 4; Y < 17 && !Text; ++Y) Text = P(X, Y) != Face;
  EXPECT_TRUE(Text);

  // Simple mode: one panel across.
  Bar->SetSimplePanel(true);
  Bar->SetSimpleText("Working");
  EXPECT_EQ(Bar->PanelRect(0), Rect(0, 2, 400 - Grip, 19));
  // No grip on a form of fixed size.
  Form->SetBorderStyle(bsSingle);
  EXPECT_EQ(Bar->PanelRect(0), Rect(0, 2, Bar->GetClientWidth(), 19));
}

TEST_F(TComCtrlsTest, ScrollBoxScrollsItsContent) {
  auto* Box = Add<TScrollBox>("Box", Bounds(10, 10, 150, 100));
  auto* Inner = Add<TPanel>("Inner", Bounds(0, 0, 100, 300), Box);
  Pump();
  EXPECT_NE(GetWindowLongPtr(Box->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_TRUE(Box->GetVertScrollBar()->IsScrollBarVisible());
  Box->GetVertScrollBar()->SetPosition(50);
  EXPECT_EQ(Inner->GetTop(), -50);
  Box->SetBorderStyle(bsNone);
  EXPECT_EQ(GetWindowLongPtr(Box->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}
