// Alignment, anchors, constraints, inherited font and colour, the replaceable window
// procedure and the loading order of a form built in code.
#include "FormsTestSupport.h"

namespace {

TRect BoundsOf(TControl* C) {
  return C->GetBoundsRect();
}

std::vector<std::string>& LoadLog() {
  static std::vector<std::string> Lines;
  return Lines;
}

class TLoadProbe : public TComponent {
 public:
  explicit TLoadProbe(TComponent* AOwner) : TComponent(AOwner) {
    LoadLog().push_back(std::string("created") + (GetComponentState().Contains(csLoading) ? " loading" : ""));
  }

 protected:
  void Loaded() override {
    TComponent::Loaded();
    LoadLog().push_back("Loaded " + GetName());
  }
};

// A form built in code the way the program's forms are.
class TBuiltForm : public TForm {
 public:
  explicit TBuiltForm(TComponent* AOwner) : TForm(AOwner) {
    BeginFormLoad();
    SetName("BuiltForm");
    SetClientWidth(200);
    SetClientHeight(100);
    P1 = new TLoadProbe(this);
    P1->SetName("P1");
    Panel = new TTestControl(this);
    Panel->SetName("Panel");
    Panel->SetParent(this);
    Panel->SetAlign(alClient);
    P2 = new TLoadProbe(this);
    P2->SetName("P2");
    SetVisible(true);
    OnCreate = TNotifyEvent(this, &TBuiltForm::FormCreate);
    LoadLog().push_back(std::string("constructed") + (GetVisible() ? " visible" : ""));
    EndFormLoad();
  }
  TLoadProbe* P1;
  TLoadProbe* P2;
  TTestControl* Panel;

 protected:
  void Loaded() override {
    TForm::Loaded();
    LoadLog().push_back("Loaded " + GetName());
  }

 private:
  void FormCreate(TObject*) {
    LoadLog().push_back(std::string("OnCreate") +
                        (P2->GetComponentState().Contains(csLoading) ? " loading" : ""));
  }
};

struct TSpy {
  TWndMethod Old;
  std::vector<UINT> Seen;
  bool HideText = false;
  void Proc(TMessage& M) {
    Seen.push_back(M.Msg);
    if (HideText && M.Msg == WM_GETTEXTLENGTH) {
      M.Result = 0;
      return;
    }
    Old(M);
  }
};

}  // namespace

TEST_F(TFormsTest, AlignTakesTopBottomLeftRightClientInOrder) {
  TForm* Form = NewForm("Form", 10, 10, 300, 200);
  auto* Top1 = NewChild<TTestControl>(Form, "Top1", Bounds(0, 50, 10, 20));
  auto* Top2 = NewChild<TTestControl>(Form, "Top2", Bounds(0, 10, 10, 30));
  auto* Bottom = NewChild<TTestGraphic>(Form, "Bottom", Bounds(0, 0, 10, 25));
  auto* Left = NewChild<TTestControl>(Form, "Left", Bounds(0, 0, 40, 10));
  auto* Right = NewChild<TTestGraphic>(Form, "Right", Bounds(0, 0, 60, 10));
  auto* Client = NewChild<TTestControl>(Form, "Client", Bounds(0, 0, 10, 10));
  Client->SetAlign(alClient);
  Right->SetAlign(alRight);
  Left->SetAlign(alLeft);
  Bottom->SetAlign(alBottom);
  Top1->SetAlign(alTop);
  Top2->SetAlign(alTop);
  Form->Show();
  Pump();
  // Controls of one alignment keep the order of their positions.
  EXPECT_EQ(BoundsOf(Top2), Bounds(0, 0, 300, 30));
  EXPECT_EQ(BoundsOf(Top1), Bounds(0, 30, 300, 20));
  EXPECT_EQ(BoundsOf(Bottom), Bounds(0, 175, 300, 25));
  EXPECT_EQ(BoundsOf(Left), Bounds(0, 50, 40, 125));
  EXPECT_EQ(BoundsOf(Right), Bounds(240, 50, 60, 125));
  EXPECT_EQ(BoundsOf(Client), Bounds(40, 50, 200, 125));

  Form->SetClientWidth(400);
  Form->SetClientHeight(300);
  Pump();
  EXPECT_EQ(BoundsOf(Top1), Bounds(0, 30, 400, 20));
  EXPECT_EQ(BoundsOf(Bottom), Bounds(0, 275, 400, 25));
  EXPECT_EQ(BoundsOf(Right), Bounds(340, 50, 60, 225));
  EXPECT_EQ(BoundsOf(Client), Bounds(40, 50, 300, 225));

  // A hidden control gives its place up; a border keeps the children in.
  Top2->Hide();
  Form->SetBorderWidth(5);
  Pump();
  EXPECT_EQ(BoundsOf(Top1), Bounds(5, 5, 390, 20));
  EXPECT_EQ(BoundsOf(Client), Bounds(45, 25, 290, 245));
}

TEST_F(TFormsTest, AnchorsKeepTheirDistancesWhenTheParentResizes) {
  TForm* Form = NewForm("Form", 10, 10, 300, 200);
  struct TCase {
    const char* Name;
    TAnchors Anchors;
    TRect Before;
    TRect After;  // parent client 300 x 200 -> 400 x 300
  };
  const TCase Cases[] = {
      {"Plain", {akLeft, akTop}, Bounds(20, 20, 30, 10), Bounds(20, 20, 30, 10)},
      {"Right", {akRight, akTop}, Bounds(250, 20, 30, 10), Bounds(350, 20, 30, 10)},
      {"Stretch", {akLeft, akTop, akRight}, Bounds(50, 40, 100, 10), Bounds(50, 40, 200, 10)},
      {"Bottom", {akLeft, akBottom}, Bounds(20, 150, 30, 20), Bounds(20, 250, 30, 20)},
      {"Both", {akLeft, akTop, akRight, akBottom}, Bounds(10, 60, 280, 100), Bounds(10, 60, 380, 200)},
      // No anchor on an axis: the centre keeps its proportion.
      {"Floating", {}, Bounds(100, 80, 40, 20), Bounds(140, 125, 40, 20)},
  };
  std::vector<TControl*> Controls;
  for (const TCase& C : Cases) {
    auto* Control = NewChild<TTestGraphic>(Form, C.Name, C.Before);
    Control->SetAnchors(C.Anchors);
    Controls.push_back(Control);
  }
  Form->Show();
  Pump();
  Form->SetClientWidth(400);
  Form->SetClientHeight(300);
  Pump();
  for (std::size_t I = 0; I < Controls.size(); ++I)
    EXPECT_EQ(BoundsOf(Controls[I]), Cases[I].After) << Cases[I].Name;
  Form->SetClientWidth(300);
  Form->SetClientHeight(200);
  Pump();
  for (std::size_t I = 0; I < Controls.size(); ++I)
    EXPECT_EQ(BoundsOf(Controls[I]), Cases[I].Before) << Cases[I].Name;
}

TEST_F(TFormsTest, ConstraintsAndAutoSizeLimitTheSize) {
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 40, 40));
  Box->GetConstraints()->SetMaxWidth(50);
  Box->GetConstraints()->SetMinHeight(30);
  Box->SetWidth(100);
  Box->SetHeight(10);
  EXPECT_EQ(BoundsOf(Box), Bounds(10, 10, 50, 30));
  // An aligned control that cannot take the size leaves the rest to the others.
  Box->SetAlign(alLeft);
  auto* Client = NewChild<TTestGraphic>(Form, "Client", Bounds(0, 0, 1, 1));
  Client->SetAlign(alClient);
  Form->Show();
  Pump();
  EXPECT_EQ(BoundsOf(Client), Bounds(50, 0, 250, 200));

  auto* Container = NewChild<TTestControl>(Form, "Container", Bounds(100, 20, 10, 10));
  auto* Inner = NewChild<TTestControl>(Container, "Inner", Bounds(10, 5, 50, 20));
  (void)Inner;
  Container->SetAutoSize(true);
  Pump();
  EXPECT_EQ(Container->GetWidth(), 60);
  EXPECT_EQ(Container->GetHeight(), 25);
}

TEST_F(TFormsTest, ChildrenTakeTheParentsFontAndColourUntilTheyGetTheirOwn) {
  TForm* Form = NewForm("Form");
  auto* A = NewChild<TTestControl>(Form, "A", Bounds(0, 0, 10, 10));
  auto* B = NewChild<TTestGraphic>(Form, "B", Bounds(0, 0, 10, 10));
  EXPECT_EQ(A->GetColor(), clBtnFace);
  Form->GetFont()->SetSize(12);
  Form->SetColor(clYellow);
  EXPECT_EQ(A->GetFont()->GetSize(), 12);
  EXPECT_EQ(B->GetFont()->GetSize(), 12);
  EXPECT_EQ(B->GetColor(), clYellow);
  B->GetFont()->SetSize(9);
  B->SetColor(clRed);
  EXPECT_FALSE(B->GetParentFont());
  EXPECT_FALSE(B->GetParentColor());
  Form->GetFont()->SetName("Arial");
  Form->SetColor(clWhite);
  EXPECT_EQ(A->GetFont()->GetName(), "Arial");
  EXPECT_EQ(A->GetColor(), clWhite);
  EXPECT_EQ(B->GetFont()->GetSize(), 9);
  EXPECT_EQ(B->GetColor(), clRed);
  B->SetParentColor(true);
  EXPECT_EQ(B->GetColor(), clWhite);
}

TEST_F(TFormsTest, WindowProcReplacementSeesEveryMessageFirstAndCanBeRestored) {
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 50, 50));
  Form->Show();
  Pump();
  const TWndMethod Original = Box->WindowProc;
  EXPECT_TRUE(Original == TWndMethod(Box, &TControl::WndProc));
  TSpy Spy;
  Spy.Old = Box->WindowProc;
  Box->WindowProc = TWndMethod(&Spy, &TSpy::Proc);
  Box->SetText("Mosaic");
  EXPECT_EQ(Box->GetText(), "Mosaic");
  Box->Invalidate();
  Pump();
  const auto Saw = [&](UINT Msg) {
    return std::find(Spy.Seen.begin(), Spy.Seen.end(), Msg) != Spy.Seen.end();
  };
  EXPECT_TRUE(Saw(WM_SETTEXT));
  EXPECT_TRUE(Saw(CM_TEXTCHANGED));
  EXPECT_TRUE(Saw(WM_PAINT));
  // A message the replacement answers alone never reaches the control.
  Spy.HideText = true;
  EXPECT_EQ(Box->GetText(), "");
  Box->WindowProc = Spy.Old;
  Spy.Seen.clear();
  EXPECT_EQ(Box->GetText(), "Mosaic");
  Box->Invalidate();
  Pump();
  EXPECT_TRUE(Spy.Seen.empty());
  EXPECT_TRUE(Box->WindowProc == Original);
}

TEST_F(TFormsTest, FormBuiltInCodeLoadsItsComponentsThenRunsOnCreate) {
  LoadLog().clear();
  auto* Form = new TBuiltForm(nullptr);
  Forms.emplace_back(Form);
  // Everything made in the constructor was loading; Loaded ran on the form and then on each
  // component in creation order; OnCreate came last, and Visible took effect after it.
  EXPECT_EQ(LoadLog(), (TLines{"created loading", "created loading", "constructed", "Loaded BuiltForm",
                               "Loaded P1", "Loaded P2", "OnCreate"}));
  EXPECT_FALSE(Form->GetComponentState().Contains(csLoading));
  EXPECT_FALSE(Form->Panel->GetComponentState().Contains(csLoading));
  EXPECT_TRUE(Form->GetVisible());
  Pump();
  EXPECT_EQ(Form->Panel->GetBoundsRect(), Bounds(0, 0, 200, 100));
  // Made later, a component is not loading.
  auto* Late = new TLoadProbe(Form);
  EXPECT_EQ(LoadLog().back(), "created");
  (void)Late;
}

TEST_F(TFormsTest, ScrollBarsFollowTheChildrenAndScrollThem) {
  TForm* Form = NewForm("Form", 10, 10, 300, 200);
  auto* Far = NewChild<TTestGraphic>(Form, "Far", Bounds(10, 400, 50, 50));
  Form->Show();
  Pump();
  TControlScrollBar* Vert = Form->GetVertScrollBar();
  EXPECT_EQ(Vert->GetRange(), 450);
  EXPECT_TRUE(Vert->IsScrollBarVisible());
  EXPECT_FALSE(Form->GetHorzScrollBar()->IsScrollBarVisible());
  Vert->SetPosition(100);
  EXPECT_EQ(Far->GetTop(), 300);
  // The position stops where the end of the range shows.
  Vert->SetPosition(1000);
  EXPECT_EQ(Vert->GetPosition(), 250);
  EXPECT_EQ(Far->GetTop(), 150);
  SendMessage(Form->GetHandle(), WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(Vert->GetPosition(), 242);
  SendMessage(Form->GetHandle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(Far->GetTop(), 400);
  Form->ScrollInView(Far);
  EXPECT_EQ(Vert->GetPosition(), 250);
  // Without children beyond the client area the bar goes.
  Far->SetTop(Far->GetTop() - 300);
  Pump();
  Form->Realign();
  EXPECT_FALSE(Vert->IsScrollBarVisible());
}
