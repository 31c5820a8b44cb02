// The tray icon: its record in the notification area, click against double click on the fake
// clock, cycling, minimising to the tray and back, the taskbar starting again, and hooks of
// several icons coming off in any order.
#include <memory>
#include <string>

#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Icon.h"
#include "platform/classes/ImgList.h"
#include "platform/user/Input.h"
#include "skin/form/bsTrayIcon.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TTrayIconTest : public TSkinTest {
 public:
  void Clicked(TObject*) { Log.push_back("click"); }
  void DblClicked(TObject*) { Log.push_back("dblclick"); }
  void Down(TObject*, TMouseButton, TShiftState, Integer, Integer) { Log.push_back("down"); }
  void Cycled(TObject*, Integer Next) { Log.push_back("cycle " + std::to_string(Next)); }

 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Application->CreateForm(Main);
    Forms.emplace_back(Main);
    ASSERT_EQ(Application->GetMainForm(), Main);
    Main->SetBounds(100, 100, 300, 200);
    Main->Show();
    Pump();
  }
  TbsTrayIcon* NewTray() {
    auto* T = new TbsTrayIcon(Main);
    T->OnClick = TNotifyEvent(this, &TTrayIconTest::Clicked);
    T->OnDblClick = TNotifyEvent(this, &TTrayIconTest::DblClicked);
    T->OnMouseDown = TMouseEvent(this, &TTrayIconTest::Down);
    T->OnCycle = TbsCycleEvent(this, &TTrayIconTest::Cycled);
    T->Loaded();
    return T;
  }
  static const TTrayIcon* Find(TbsTrayIcon* T) {
    static std::vector<TTrayIcon> Icons;
    Icons = GetTrayIcons();
    for (const TTrayIcon& I : Icons)
      if (I.Wnd == T->GetWindowHandle() && I.ID == 1) return &I;
    return nullptr;
  }
  static void Send(TbsTrayIcon* T, UINT Mouse) {
    SendTrayMouseMessage(T->GetWindowHandle(), 1, Mouse);
    Pump();
  }
  // The centre colour of the icon the area shows for T.
  static TColor ShownColor(TbsTrayIcon* T) {
    TIcon Icon;
    Icon.SetHandle(CopyIcon(Find(T)->Icon));
    TBitmap B;
    B.SetSize(16, 16);
    B.GetCanvas()->Draw(0, 0, &Icon);
    return B.GetCanvas()->GetPixels(8, 8);
  }
  TImageList* ThreeIcons() {
    auto* L = new TImageList(Main);
    L->SetWidth(16);
    L->SetHeight(16);
    for (TColor C : {clRed, clLime, clBlue}) {
      TBitmap B;
      B.SetSize(16, 16);
      B.GetCanvas()->GetBrush()->SetColor(C);
      B.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
      L->Add(&B, nullptr);
    }
    return L;
  }

  TForm* Main = nullptr;
  TLines Log;
};

TEST_F(TTrayIconTest, AddsModifiesAndDeletesItsIconWithTheTipCut) {
  TbsTrayIcon* T = NewTray();
  EXPECT_EQ(T->GetIconData().cbSize, 488u);
  EXPECT_EQ(T->GetIconData().uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  const TTrayIcon* I = Find(T);
  ASSERT_NE(I, nullptr);
  EXPECT_EQ(I->CallbackMessage, WM_TRAYICONNOTIFY);
  EXPECT_EQ(I->CallbackMessage, 2048u);
  T->SetHint(std::string(200, 'h'));
  EXPECT_EQ(Find(T)->Tip, std::string(127, 'h'));
  T->SetShowHint(false);
  EXPECT_EQ(Find(T)->Tip, "");
  T->SetIconVisible(false);
  EXPECT_EQ(Find(T), nullptr);
  EXPECT_FALSE(T->GetIconVisible());
  T->SetIconVisible(true);
  EXPECT_NE(Find(T), nullptr);
  delete T;
  EXPECT_TRUE(GetTrayIcons().empty());
}

TEST_F(TTrayIconTest, AClickWaitsForTheDoubleClickTime) {
  TbsTrayIcon* T = NewTray();
  const Integer Dbl = static_cast<Integer>(GetDoubleClickTime());
  // A single click: fired when the double-click time runs out.
  Send(T, WM_LBUTTONDOWN);
  Send(T, WM_LBUTTONUP);
  EXPECT_EQ(Log, (TLines{"down"}));
  Wait(Dbl + 10);
  EXPECT_EQ(Log, (TLines{"down", "click"}));
  Log.clear();
  // A double click: no click at all.
  Send(T, WM_LBUTTONDOWN);
  Send(T, WM_LBUTTONUP);
  Wait(50);
  Send(T, WM_LBUTTONDBLCLK);
  Send(T, WM_LBUTTONUP);
  Wait(Dbl + 10);
  EXPECT_EQ(Log, (TLines{"down", "dblclick"}));
  Log.clear();
  // A button held past the double-click time clicks at once on release.
  Send(T, WM_LBUTTONDOWN);
  Wait(Dbl + 10);
  Send(T, WM_LBUTTONUP);
  EXPECT_EQ(Log, (TLines{"down", "click"}));
  Log.clear();
  // Disabled: nothing, and the icon stays.
  T->Enabled = false;
  Send(T, WM_LBUTTONDOWN);
  Send(T, WM_LBUTTONUP);
  Wait(Dbl + 10);
  EXPECT_TRUE(Log.empty());
  EXPECT_NE(Find(T), nullptr);
}

TEST_F(TTrayIconTest, CyclesThroughTheIconList) {
  TbsTrayIcon* T = NewTray();
  T->SetIconList(ThreeIcons());
  T->SetAnimateTimerInterval(100);
  T->SetCycleIcons(true);
  std::vector<Integer> Indices{T->GetIconIndex()};
  std::vector<TColor> Shown{ShownColor(T)};
  for (Integer I = 0; I < 3; ++I) {
    Wait(100);
    Indices.push_back(T->GetIconIndex());
    Shown.push_back(ShownColor(T));
  }
  EXPECT_EQ(Indices, (std::vector<Integer>{0, 1, 2, 0}));
  EXPECT_EQ(Log, (TLines{"cycle 1", "cycle 2", "cycle 0"}));
  EXPECT_EQ(Shown, (std::vector<TColor>{clRed, clLime, clBlue, clRed}));
}

TEST_F(TTrayIconTest, IconIndexStaysInsideTheList) {
  TbsTrayIcon* T = NewTray();
  T->SetIconIndex(5);
  EXPECT_EQ(T->GetIconIndex(), 0);
  T->SetIconList(ThreeIcons());
  T->SetIconIndex(7);
  EXPECT_EQ(T->GetIconIndex(), 2);
  T->SetIconIndex(-3);
  EXPECT_EQ(T->GetIconIndex(), 0);
  // An empty list loads nothing: the icon stays as it was.
  const HICON Before = T->GetIcon()->GetHandle();
  auto* Empty = new TImageList(Main);
  T->SetIconList(Empty);
  T->SetIconIndex(1);
  EXPECT_EQ(T->GetIconIndex(), 0);
  EXPECT_EQ(T->GetIcon()->GetHandle(), Before);
  T->SetCycleIcons(true);
  T->SetAnimateTimerInterval(50);
  Wait(200);
  EXPECT_EQ(T->GetIcon()->GetHandle(), Before);
}

TEST_F(TTrayIconTest, MinimisesToTheTrayAndBack) {
  TbsTrayIcon* T = NewTray();
  T->SetIconVisible(false);
  SendMessage(Application->GetHandle(), WM_SIZE, SIZE_MINIMIZED, 0);
  Pump();
  EXPECT_FALSE(IsWindowVisible(Main->GetWindowHandle()));
  EXPECT_FALSE(IsWindowVisible(Application->GetHandle()));
  EXPECT_EQ(Main->GetTag(), TrayRestoreTag);
  EXPECT_TRUE(T->GetIconVisible());
  EXPECT_NE(Find(T), nullptr);
  Main->SetTag(0);
  T->RestoreMainForm();
  EXPECT_TRUE(IsWindowVisible(Main->GetWindowHandle()));
  EXPECT_EQ(Main->GetTag(), TrayRestoreTag);
  MSG M;
  EXPECT_TRUE(PeekMessage(&M, Main->GetWindowHandle(), WM_RESTOREFROMTRAY, WM_RESTOREFROMTRAY, PM_NOREMOVE));
  // Without MinimizeToTray the form stays.
  T->MinimizeToTray = false;
  T->SetIconVisible(false);
  SendMessage(Application->GetHandle(), WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_TRUE(IsWindowVisible(Main->GetWindowHandle()));
  EXPECT_EQ(Find(T), nullptr);
}

TEST_F(TTrayIconTest, TheTaskbarStartingAgainBringsVisibleIconsBack) {
  TbsTrayIcon* Shown = NewTray();
  TbsTrayIcon* Hidden = NewTray();
  Hidden->SetIconVisible(false);
  RestartTaskbar();
  Pump();
  EXPECT_NE(Find(Shown), nullptr);
  EXPECT_EQ(Find(Hidden), nullptr);
  EXPECT_EQ(GetTrayIcons().size(), 1u);
}

TEST_F(TTrayIconTest, HooksOfSeveralIconsComeOffInAnyOrder) {
  const LONG_PTR Proc = GetWindowLongPtr(Application->GetHandle(), GWLP_WNDPROC);
  TbsTrayIcon* First = NewTray();
  TbsTrayIcon* Second = NewTray();
  First->SetIconVisible(false);
  Second->SetIconVisible(false);
  // The first one goes first: the second still hears the application window.
  delete First;
  SendMessage(Application->GetHandle(), WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_TRUE(Second->GetIconVisible());
  Second->RestoreMainForm();
  Pump();
  delete Second;
  EXPECT_EQ(GetWindowLongPtr(Application->GetHandle(), GWLP_WNDPROC), Proc);
  EXPECT_TRUE(GetTrayIcons().empty());
}

}  // namespace
