// Forms and windowed controls as windows: the form events' order, notifications reflected to
// the child that sent them, cursors, minimizing, and the screen's fonts.
#include "FormsTestSupport.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/system/Strings.h"
#include "platform/user/Cursors.h"
#include "platform/user/Input.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

struct TFormEvents {
  TEventLog* Log;
  void Show(TObject* S) { Log->Add("Show " + NameOf(S)); }
  void Hide(TObject* S) { Log->Add("Hide " + NameOf(S)); }
  void Activate(TObject* S) { Log->Add("Activate " + NameOf(S)); }
  void Deactivate(TObject* S) { Log->Add("Deactivate " + NameOf(S)); }
  void Paint(TObject* S) { Log->Add("Paint " + NameOf(S)); }
  void Bind(TForm* F) {
    F->OnShow = TNotifyEvent(this, &TFormEvents::Show);
    F->OnHide = TNotifyEvent(this, &TFormEvents::Hide);
    F->OnActivate = TNotifyEvent(this, &TFormEvents::Activate);
    F->OnDeactivate = TNotifyEvent(this, &TFormEvents::Deactivate);
    F->OnPaint = TNotifyEvent(this, &TFormEvents::Paint);
  }
};

// Records the notifications it gets back from its parent.
class TReflecting : public TCustomControl {
 public:
  TReflecting(TComponent* AOwner, TEventLog* Log) : TCustomControl(AOwner), FLog(Log) {}
  void Dispatch(TMessage& Message) override {
    if (Message.Msg >= CN_BASE && Message.Msg < CN_BASE + 0x400 && FLog != nullptr)
      FLog->Add("CN " + std::to_string(Message.Msg - CN_BASE) + " " + std::to_string(Message.WParam));
    TCustomControl::Dispatch(Message);
  }

 private:
  TEventLog* FLog;
};

}  // namespace

TEST_F(TFormsTest, FormEventsComeInThePlatformsOrder) {
  TEventLog Log;
  TFormEvents Events{&Log};
  TForm* A = NewForm("A", 10, 10);
  TForm* B = NewForm("B", 400, 10);
  NewChild<TTestControl>(A, "EditA", Bounds(5, 5, 50, 20));
  NewChild<TTestControl>(B, "EditB", Bounds(5, 5, 50, 20));
  Events.Bind(A);
  Events.Bind(B);
  A->Show();
  Pump();
  B->Show();
  Pump();
  B->Hide();
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"Show A", "Activate A", "Paint A", "Show B", "Deactivate A", "Activate B",
                               "Paint B", "Hide B", "Deactivate B", "Activate A"}));
  EXPECT_EQ(Screen->GetActiveForm(), A);
  EXPECT_EQ(Screen->GetActiveControl()->GetName(), "EditA");
  // The forms hide as they go: their handlers must still be there.
  Forms.clear();
}

TEST_F(TFormsTest, NotificationsAreReflectedToTheChildThatSentThem) {
  TEventLog Log;
  TForm* Form = NewForm("Form");
  auto* Child = NewChild<TReflecting>(Form, "Child", Bounds(5, 5, 50, 20), &Log);
  Child->GetBrush()->SetColor(clAqua);
  Form->Show();
  Pump();
  const HWND C = Child->GetHandle();
  SendMessage(Form->GetHandle(), WM_COMMAND, MAKEWPARAM(7, 1), reinterpret_cast<LPARAM>(C));
  NMHDR Header;
  Header.hwndFrom = C;
  Header.code = 5;
  SendMessage(Form->GetHandle(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&Header));
  SendMessage(Form->GetHandle(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(C));
  // A colour request is answered by the child: its brush, and its colours in the DC.
  HDC DC = GetDC(C);
  const LRESULT Brush = SendMessage(Form->GetHandle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(DC),
                                    reinterpret_cast<LPARAM>(C));
  EXPECT_EQ(Brush, reinterpret_cast<LRESULT>(Child->GetBrush()->GetHandle()));
  EXPECT_EQ(GetBkColor(DC), ColorToRGB(clAqua));
  ReleaseDC(C, DC);
  EXPECT_EQ(Log.Lines,
            (TLines{"CN " + std::to_string(WM_COMMAND) + " " + std::to_string(MAKEWPARAM(7, 1)),
                    "CN " + std::to_string(WM_NOTIFY) + " 7", "CN " + std::to_string(WM_HSCROLL) + " 1",
                    "CN " + std::to_string(WM_CTLCOLORSTATIC) + " " +
                        std::to_string(reinterpret_cast<WPARAM>(DC))}));
}

TEST_F(TFormsTest, ControlsShowTheirCursorsAndScreenCursorOverridesThem) {
  TForm* Form = NewForm("Form");
  auto* Hand = NewChild<TTestControl>(Form, "Hand", Bounds(10, 10, 50, 50));
  auto* Cross = NewChild<TTestGraphic>(Form, "Cross", Bounds(100, 10, 50, 50));
  Hand->SetCursor(crHandPoint);
  Cross->SetCursor(crCross);
  Form->Show();
  Pump();
  TPoint P = At(Hand, 5, 5);
  ScriptMoveTo(P.X, P.Y);
  Pump();
  EXPECT_EQ(GetCursor(), Screen->GetCursors(crHandPoint));
  EXPECT_EQ(Screen->GetCursors(crHandPoint), LoadCursor(nullptr, IDC_HAND));
  P = At(Cross, 5, 5);
  ScriptMoveTo(P.X, P.Y);
  Pump();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_CROSS));
  Screen->SetCursor(crHourGlass);
  ScriptMoveTo(P.X + 1, P.Y);
  Pump();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
  Screen->SetCursor(crDefault);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_CROSS));
}

TEST_F(TFormsTest, MinimizeShowsTheMainFormMinimizedAndHidesTheOthers) {
  TForm* Main = nullptr;
  Application->CreateForm(Main);
  Main->SetName("Main");
  Main->Show();
  TForm* Other = NewForm("Other");
  Other->Show();
  Pump();
  Application->Minimize();
  Pump();
  EXPECT_TRUE(IsIconic(Main->GetHandle()));
  EXPECT_FALSE(IsWindowVisible(Other->GetHandle()));
  // Restoring the main form from its minimized frame restores the application.
  SendMessage(Main->GetHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  EXPECT_FALSE(Application->GetMinimized());
  EXPECT_FALSE(IsIconic(Main->GetHandle()));
  EXPECT_TRUE(IsWindowVisible(Other->GetHandle()));
  delete Main;
  EXPECT_EQ(Application->GetMainForm(), nullptr);
}

TEST_F(TFormsTest, DeletingAChildTakesItOutOfItsParentAndFocus) {
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 50, 20));
  auto* Spot = NewChild<TTestGraphic>(Form, "Spot", Bounds(10, 40, 50, 20));
  auto* Other = NewChild<TTestControl>(Form, "Other", Bounds(10, 70, 50, 20));
  Form->Show();
  Pump();
  ASSERT_EQ(Form->GetActiveControl(), Box);
  const HWND BoxHandle = Box->GetHandle();
  delete Box;
  delete Spot;
  EXPECT_FALSE(IsWindow(BoxHandle));
  EXPECT_EQ(Form->GetControlCount(), 1);
  EXPECT_EQ(Form->GetControl(0), Other);
  EXPECT_EQ(Form->GetActiveControl(), nullptr);
  EXPECT_EQ(Form->FindComponent("Box"), nullptr);
  std::vector<TWinControl*> Tabs;
  Form->GetTabOrderList(Tabs);
  EXPECT_EQ(Tabs, std::vector<TWinControl*>{Other});
  Form->Invalidate();
  Pump();
}

TEST(Screen, FontsComeFromTheInstalledFamilies) {
  TStrings* Fonts = Screen->GetFonts();
  ASSERT_GT(Fonts->GetCount(), 0);
  EXPECT_GE(Fonts->IndexOf("Liberation Sans"), 0);
  // Sorted, each family once.
  for (Integer I = 1; I < Fonts->GetCount(); ++I)
    EXPECT_LT(CompareText(Fonts->GetStrings(I - 1), Fonts->GetStrings(I)), 0);
  EXPECT_EQ(Screen->GetPixelsPerInch(), 96);
  EXPECT_EQ(Screen->GetMonitorCount(), 1);
  EXPECT_EQ(Screen->GetMonitor(0)->GetBoundsRect(), Screen->GetDesktopRect());
}

TEST_F(TFormsTest, ControlsMadeLaterLieAboveTheirEarlierSiblings) {
  TForm* F = NewForm("F");
  auto* Under = NewChild<TTestControl>(F, "Under", Bounds(10, 10, 100, 100));
  auto* Over = NewChild<TTestControl>(F, "Over", Bounds(50, 50, 100, 100));
  F->Show();
  Pump();
  const TPoint Overlap = At(F, 80, 80);
  EXPECT_EQ(WindowFromPoint(POINT{Overlap.X, Overlap.Y}), Over->GetHandle());
  const TPoint UnderOnly = At(F, 20, 20);
  EXPECT_EQ(WindowFromPoint(POINT{UnderOnly.X, UnderOnly.Y}), Under->GetHandle());
}
