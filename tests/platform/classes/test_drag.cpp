// Dragging controls with the mouse: the events of source and target in the platform's order,
// the threshold of a delayed drag, refusal, cancelling, and the docking properties.
#include "FormsTestSupport.h"
#include "platform/classes/DragObjects.h"
#include "platform/user/Cursors.h"
#include "platform/user/Input.h"

namespace {
const char* StateName(TDragState S) {
  return S == dsDragEnter ? "enter" : S == dsDragLeave ? "leave" : "move";
}

struct TDragLog {
  TLines Lines;
  bool Accept = true;
  Integer Threshold = -1;  // BeginDrag from OnMouseDown when >= 0

  static std::string At(Integer X, Integer Y) { return std::to_string(X) + "," + std::to_string(Y); }
  void StartDrag(TObject* Sender, TDragObject*&) { Lines.push_back("StartDrag " + NameOf(Sender)); }
  void DragOver(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accepted) {
    Lines.push_back("DragOver " + NameOf(Sender) + " " + StateName(State) + " " + At(X, Y) + " from " +
                    NameOf(Source));
    Accepted = Accept;
  }
  void DragDrop(TObject* Sender, TObject* Source, Integer X, Integer Y) {
    Lines.push_back("DragDrop " + NameOf(Sender) + " " + At(X, Y) + " from " + NameOf(Source));
  }
  void EndDrag(TObject* Sender, TObject* Target, Integer X, Integer Y) {
    Lines.push_back("EndDrag " + NameOf(Sender) + " " + (Target != nullptr ? NameOf(Target) : "nil") + " " +
                    At(X, Y));
  }
  void MouseDown(TObject* Sender, TMouseButton, TShiftState, Integer, Integer) {
    Lines.push_back("MouseDown " + NameOf(Sender));
    if (Threshold >= 0) static_cast<TControl*>(Sender)->BeginDrag(false, Threshold);
  }
  void Click(TObject* Sender) { Lines.push_back("Click " + NameOf(Sender)); }
};

class TDragTest : public TFormsTest {
 protected:
  void SetUp() override {
    TFormsTest::SetUp();
    Form = NewForm("Form");
    Source = NewChild<TTestControl>(Form, "Source", Bounds(10, 10, 60, 40));
    Target = NewChild<TTestGraphic>(Form, "Target", Bounds(150, 10, 100, 80));
    Source->OnStartDrag = TStartDragEvent(&Log, &TDragLog::StartDrag);
    Source->OnEndDrag = TEndDragEvent(&Log, &TDragLog::EndDrag);
    Source->OnMouseDown = TMouseEvent(&Log, &TDragLog::MouseDown);
    Source->OnClick = TNotifyEvent(&Log, &TDragLog::Click);
    Target->OnDragOver = TDragOverEvent(&Log, &TDragLog::DragOver);
    Target->OnDragDrop = TDragDropEvent(&Log, &TDragLog::DragDrop);
    Form->Show();
    Pump();
  }
  void MoveTo(TControl* C, Integer X, Integer Y) {
    const TPoint P = At(C, X, Y);
    ScriptMoveTo(P.X, P.Y);
    Pump();
  }
  TDragLog Log;
  TForm* Form = nullptr;
  TTestControl* Source = nullptr;
  TTestGraphic* Target = nullptr;
};
}  // namespace

TEST_F(TDragTest, AutomaticDragDropsOnTheAcceptingTarget) {
  Source->SetDragMode(dmAutomatic);
  MoveTo(Source, 5, 5);
  ScriptButton(true);
  Pump();
  EXPECT_TRUE(Source->Dragging());
  MoveTo(Target, 10, 20);
  MoveTo(Target, 30, 25);
  ScriptButton(false);
  Pump();
  EXPECT_FALSE(Source->Dragging());
  // The press starts the drag instead of a mouse-down; entering is followed by a move.
  EXPECT_EQ(Log.Lines,
            (TLines{"StartDrag Source", "DragOver Target enter 10,20 from Source",
                    "DragOver Target move 10,20 from Source", "DragOver Target move 30,25 from Source",
                    "DragOver Target leave 30,25 from Source", "DragDrop Target 30,25 from Source",
                    "EndDrag Source Target 30,25"}));
}

TEST_F(TDragTest, ARefusingTargetGetsNoDrop) {
  Source->SetDragMode(dmAutomatic);
  Log.Accept = false;
  MoveTo(Source, 5, 5);
  ScriptButton(true);
  MoveTo(Target, 10, 20);
  EXPECT_EQ(GetCursor(), Screen->GetCursors(crNoDrop));
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"StartDrag Source", "DragOver Target enter 10,20 from Source",
                               "DragOver Target move 10,20 from Source",
                               "DragOver Target leave 10,20 from Source", "EndDrag Source nil 0,0"}));
}

TEST_F(TDragTest, LeavingTheTargetAndDroppingElsewhere) {
  Source->SetDragMode(dmAutomatic);
  Source->SetDragCursor(crHandPoint);
  MoveTo(Source, 5, 5);
  ScriptButton(true);
  MoveTo(Target, 10, 20);
  EXPECT_EQ(GetCursor(), Screen->GetCursors(crHandPoint));
  // The form has no OnDragOver: it refuses. The target hears the leave where it last saw the mouse.
  MoveTo(Form, 100, 150);
  // The target hears the leave at the last place it saw.
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"StartDrag Source", "DragOver Target enter 10,20 from Source",
                               "DragOver Target move 10,20 from Source",
                               "DragOver Target leave 10,20 from Source", "EndDrag Source nil 0,0"}));
}

TEST_F(TDragTest, ADelayedDragStartsPastTheThreshold) {
  Log.Threshold = 8;
  MoveTo(Source, 5, 5);
  ScriptButton(true);
  MoveTo(Source, 12, 5);  // 7 pixels: not yet
  EXPECT_EQ(Log.Lines, (TLines{"MouseDown Source", "StartDrag Source"}));
  MoveTo(Source, 13, 5);  // 8: the drag goes to the control under the mouse
  MoveTo(Target, 1, 1);
  EXPECT_EQ(Log.Lines.back(), "DragOver Target move 1,1 from Source");
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Log.Lines.back(), "EndDrag Source Target 1,1");

  // Released before the threshold: the drag ends without a target, and no click follows.
  Log.Lines.clear();
  MoveTo(Source, 5, 5);
  ScriptButton(true);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"MouseDown Source", "StartDrag Source", "EndDrag Source nil 0,0"}));
}

TEST_F(TDragTest, EscapeAndTheRightButtonCancel) {
  Source->SetDragMode(dmAutomatic);
  for (const bool ByKey : {true, false}) {
    Log.Lines.clear();
    MoveTo(Source, 5, 5);
    ScriptButton(true);
    MoveTo(Target, 10, 20);
    if (ByKey)
      ScriptKeyPress(VK_ESCAPE);
    else
      ScriptButton(true, 1);
    Pump();
    EXPECT_FALSE(Source->Dragging());
    EXPECT_EQ(Log.Lines, (TLines{"StartDrag Source", "DragOver Target enter 10,20 from Source",
                                 "DragOver Target move 10,20 from Source",
                                 "DragOver Target leave 10,20 from Source", "EndDrag Source nil 0,0"}));
    ScriptButton(false, 1);
    ScriptButton(false);
    Pump();
  }
}

TEST_F(TDragTest, EndDragFromCodeAndATargetThatGoesAway) {
  Source->BeginDrag(true);
  MoveTo(Target, 10, 20);
  Source->EndDrag(true);
  EXPECT_EQ(Log.Lines.back(), "EndDrag Source Target 10,20");
  Log.Lines.clear();
  Source->BeginDrag(true);
  MoveTo(Target, 10, 20);
  delete Target;
  Source->EndDrag(true);
  EXPECT_EQ(Log.Lines.back(), "EndDrag Source nil 0,0");
  EXPECT_EQ(DragObjectInProgress(), nullptr);
  // A source that goes away ends its drag quietly; the mouse is free again.
  Source->BeginDrag(true);
  delete Source;
  EXPECT_EQ(DragObjectInProgress(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TDragTest, DockingPropertiesAreKept) {
  Form->SetDockSite(true);
  Form->SetUseDockManager(true);
  Source->SetDragKind(dkDock);
  Source->SetDragMode(dmAutomatic);
  EXPECT_TRUE(Form->GetDockSite());
  EXPECT_TRUE(Form->GetUseDockManager());
  // Nothing docks: a dock-kind control is not dragged and gets its press as usual.
  MoveTo(Source, 5, 5);
  ScriptButton(true);
  ScriptButton(false);
  Pump();
  EXPECT_FALSE(Source->Dragging());
  EXPECT_EQ(Log.Lines, (TLines{"MouseDown Source", "Click Source"}));
}

namespace {
// A drag object of the program's own: handlers see it as the source, and it stays the program's.
class TFileDrag : public TDragObject {
 public:
  void Finished(TObject* Target, Integer X, Integer Y, bool Accepted) override {
    Ended = (Accepted ? "dropped on " : "refused by ") +
            (Target != nullptr ? NameOf(Target) : std::string("nil")) + " " + TDragLog::At(X, Y);
  }
  std::string Ended;
};

TFileDrag* Supplied;
void SupplyDrag(TObject*, TDragObject*& DragObject) {
  DragObject = Supplied;
}
void SeeSource(TObject*, TObject* Source, Integer, Integer, TDragState, bool& Accept) {
  Accept = Source == Supplied;
}
}  // namespace

TEST_F(TDragTest, AnOwnDragObjectIsTheSourceAndStaysItsMakers) {
  TFileDrag Drag;
  Supplied = &Drag;
  Source->OnStartDrag = SupplyDrag;
  Target->OnDragOver = SeeSource;
  Source->BeginDrag(true);
  EXPECT_EQ(DragObjectInProgress(), &Drag);
  MoveTo(Target, 7, 8);
  ScriptButton(false);
  Pump();
  EXPECT_EQ(Drag.Ended, "dropped on Target 7,8");
  // The drop names the object; a control's OnEndDrag is the control object's to call.
  EXPECT_EQ(Log.Lines, (TLines{"DragDrop Target 7,8 from ?"}));
}
