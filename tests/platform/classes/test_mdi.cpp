// MDI frames and their document windows: the client window, activation, maximizing, switching
// with Next and Previous, arranging, and destroying the active child.
#include "FormsTestSupport.h"
#include "platform/user/MdiClient.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {
class TFrameForm : public TForm {
 public:
  explicit TFrameForm(TComponent* AOwner) : TForm(AOwner) {
    SetName("Frame");
    SetFormStyle(fsMDIForm);
    SetBounds(50, 50, 500, 400);
  }
};

struct TActivationLog {
  TLines Lines;
  void Activate(TObject* S) { Lines.push_back("Activate " + NameOf(S)); }
  void Deactivate(TObject* S) { Lines.push_back("Deactivate " + NameOf(S)); }
};

class TMDITest : public TFormsTest {
 protected:
  void SetUp() override {
    TFormsTest::SetUp();
    Application->CreateForm(Frame);
    Frame->Show();
    Pump();
  }
  void TearDown() override {
    Children.clear();
    delete Frame;
    TFormsTest::TearDown();
  }
  TForm* NewChildForm(const std::string& Name) {
    auto* Child = new TForm(Application);
    Child->SetName(Name);
    Child->SetFormStyle(fsMDIChild);
    Child->SetBounds(10, 10, 200, 150);
    Child->OnActivate = TNotifyEvent(&Log, &TActivationLog::Activate);
    Child->OnDeactivate = TNotifyEvent(&Log, &TActivationLog::Deactivate);
    Children.emplace_back(Child);
    Child->Show();
    Pump();
    return Child;
  }
  std::string ActiveName() {
    TForm* Active = Frame->GetActiveMDIChild();
    return Active != nullptr ? Active->GetName() : "-";
  }
  TFrameForm* Frame = nullptr;
  TActivationLog Log;
  std::vector<std::unique_ptr<TForm>> Children;
};
}  // namespace

TEST_F(TMDITest, TheFrameHoldsItsChildrenInTheClientWindow) {
  const HWND Client = Frame->GetClientHandle();
  ASSERT_NE(Client, nullptr);
  EXPECT_EQ(GetClassNameString(Client), "MDICLIENT");
  RECT R;
  GetClientRect(Client, &R);
  EXPECT_EQ(R.Width(), Frame->GetClientWidth() - 4);  // inside its sunken edge
  TForm* A = NewChildForm("A");
  TForm* B = NewChildForm("B");
  EXPECT_EQ(GetParent(A->GetHandle()), Client);
  EXPECT_TRUE(GetWindowLongPtr(A->GetHandle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_EQ(Frame->GetMDIChildCount(), 2);
  EXPECT_EQ(ActiveName(), "B");
  EXPECT_TRUE(B->GetActive());
  EXPECT_FALSE(A->GetActive());
  // An ordinary form is no MDI frame.
  EXPECT_EQ(A->GetMDIChildCount(), 0);
  EXPECT_EQ(A->GetActiveMDIChild(), nullptr);
}

TEST_F(TMDITest, ActivatingTellsBothChildren) {
  TForm* A = NewChildForm("A");
  NewChildForm("B");
  Log.Lines.clear();
  A->Show();  // brings it forward: it becomes the active child
  Pump();
  EXPECT_EQ(ActiveName(), "A");
  EXPECT_TRUE(A->GetActive());
  EXPECT_EQ(Log.Lines, (TLines{"Deactivate B", "Activate A"}));
}

TEST_F(TMDITest, NextAndPreviousCycleThroughTheChildren) {
  NewChildForm("A");
  NewChildForm("B");
  NewChildForm("C");
  // z-order C, B, A: Next sends the active one to the back.
  TLines Order;
  for (Integer I = 0; I < 4; ++I) {
    Frame->Next();
    Order.push_back(ActiveName());
  }
  EXPECT_EQ(Order, (TLines{"B", "A", "C", "B"}));
  Order.clear();
  for (Integer I = 0; I < 3; ++I) {
    Frame->Previous();
    Order.push_back(ActiveName());
  }
  EXPECT_EQ(Order, (TLines{"C", "A", "B"}));
}

TEST_F(TMDITest, AMaximizedChildFillsTheClientAndHandsItsStateOn) {
  TForm* A = NewChildForm("A");
  TForm* B = NewChildForm("B");
  const HWND Client = Frame->GetClientHandle();
  const TRect NormalB = B->GetBoundsRect();
  SendMessage(Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(B->GetHandle()), 0);
  Pump();
  EXPECT_EQ(B->GetWindowState(), wsMaximized);
  RECT Area;
  GetClientRect(Client, &Area);
  TPoint Origin{0, 0};
  ClientToScreen(Client, &Origin);
  EXPECT_EQ(B->GetClientOrigin(), Origin);  // the frame lies outside the client window
  EXPECT_EQ(B->GetClientWidth(), Area.Width());
  EXPECT_EQ(B->GetClientHeight(), Area.Height());
  BOOL Maximized = FALSE;
  EXPECT_EQ(
      reinterpret_cast<HWND>(SendMessage(Client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&Maximized))),
      B->GetHandle());
  EXPECT_TRUE(Maximized);
  // Switching to the next child: it shows maximized, the old one restored.
  Frame->Next();
  Pump();
  EXPECT_EQ(ActiveName(), "A");
  EXPECT_EQ(A->GetWindowState(), wsMaximized);
  EXPECT_EQ(B->GetWindowState(), wsNormal);
  EXPECT_EQ(B->GetBoundsRect(), NormalB);
  SendMessage(Client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(A->GetHandle()), 0);
  EXPECT_EQ(A->GetWindowState(), wsNormal);
}

TEST_F(TMDITest, TileAndCascadeArrangeTheShownChildren) {
  TForm* A = NewChildForm("A");
  TForm* B = NewChildForm("B");
  RECT Area;
  GetClientRect(Frame->GetClientHandle(), &Area);
  Frame->SetTileMode(tbHorizontal);
  Frame->Tile();
  // One above the other, the active one first.
  EXPECT_EQ(B->GetBoundsRect(), Rect(0, 0, Area.Width(), Area.Height() / 2));
  EXPECT_EQ(A->GetBoundsRect(), Rect(0, Area.Height() / 2, Area.Width(), Area.Height()));
  Frame->SetTileMode(tbVertical);
  Frame->Tile();
  EXPECT_EQ(B->GetBoundsRect(), Rect(0, 0, Area.Width() / 2, Area.Height()));
  EXPECT_EQ(A->GetLeft(), Area.Width() / 2);
  Frame->Cascade();
  // The back one at the top left, the active one a step down and in front.
  EXPECT_EQ(A->GetBoundsRect().TopLeft(), Point(0, 0));
  EXPECT_GT(B->GetTop(), 0);
  EXPECT_EQ(B->GetLeft(), B->GetTop());
  EXPECT_EQ(ActiveName(), "B");
}

TEST_F(TMDITest, DestroyingTheActiveChildActivatesTheNext) {
  NewChildForm("A");
  NewChildForm("B");
  Children.pop_back();  // deletes B
  Pump();
  EXPECT_EQ(ActiveName(), "A");
  EXPECT_EQ(Frame->GetMDIChildCount(), 1);
  EXPECT_EQ(Frame->GetMDIChildren(0)->GetName(), "A");
  EXPECT_EQ(Frame->GetMDIChildren(1), nullptr);
}

TEST_F(TMDITest, AChildNeedsAnMDIMainForm) {
  TForm* Plain = NewForm("Plain");
  Plain->SetFormStyle(fsMDIChild);
  Frame->SetFormStyle(fsNormal);
  try {
    Plain->HandleNeeded();
    FAIL() << "no error";
  } catch (const EInvalidOperation& E) {
    EXPECT_STREQ(E.what(), "Cannot create form. No MDI forms are currently active");
  }
}

TEST_F(TMDITest, FocusComingIntoABackChildActivatesIt) {
  TForm* A = NewChildForm("A");
  auto* Box = NewChild<TTestControl>(A, "Box", Bounds(10, 10, 50, 30));
  TForm* B = NewChildForm("B");
  B->SetLeft(250);
  Pump();
  ASSERT_EQ(ActiveName(), "B");
  Box->SetFocus();  // as a click on an edit of the child would
  Pump();
  EXPECT_EQ(ActiveName(), "A");
  EXPECT_TRUE(A->GetActive());
  EXPECT_FALSE(B->GetActive());
  EXPECT_TRUE(Box->Focused());
}
