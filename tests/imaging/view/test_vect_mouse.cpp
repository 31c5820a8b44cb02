// Mouse and key scenarios of the vector layer on a shown form with scripted headless input:
// creating, selecting, moving and resizing objects, polylines, undo snapshots, the clipboard
// and in-place text editing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/view/ievect.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/user/WinUser.h"

namespace {

// A 300 x 240 view without border over a 200 x 150 picture at zoom 100 from the top-left:
// client pixels are picture pixels.
class VectMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    if (IEVectClipboardFormat() == 0) IEVectInitialize();
    Headless().ClearInput();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 400, 320);
    Vect = new TZezudIdVect(Form.get());
    Vect->SetParent(Form.get());
    Vect->SetBorderStyle(bsNone);
    Vect->SetBounds(10, 10, 300, 240);
    Vect->SetCenter(false);
    Vect->SetObjAntialias(false);
    Form->Show();
    Vect->GetIEBitmap()->Allocate(200, 150, ie24RGB);
    Vect->GetIEBitmap()->Fill(0xFFFFFF);
    Vect->Update();
    Pump();
  }
  void TearDown() override {
    Headless().ClearInput();
    Form.reset();
    Application->ProcessMessages();
  }
  void Pump() { Application->ProcessMessages(); }
  TPoint Screen(Integer X, Integer Y) { return Vect->ClientToScreen(TPoint{X, Y}); }
  void Click(Integer X, Integer Y) {
    const TPoint P = Screen(X, Y);
    Headless().Click(P.X, P.Y);
    Pump();
  }
  void Drag(Integer X1, Integer Y1, Integer X2, Integer Y2) {
    Headless().Drag(Screen(X1, Y1), Screen(X2, Y2));
    Pump();
  }
  void Key(Word VK, UINT Modifiers = 0) {
    Headless().KeyPress(VK, Modifiers);
    Pump();
  }
  Integer AddBox(TRect R) {
    const Integer H = Vect->AddNewObject(ievoBox);
    Vect->SetObjRect(H, R);
    return H;
  }

  std::unique_ptr<TForm> Form;
  TZezudIdVect* Vect = nullptr;
};

TEST_F(VectMouse, ClickMakesATemplateSizedBoxAndDragsSetTheNextSize) {
  Vect->SetVectorInteract(TIEVInteract{ivPutBox});
  Vect->EditTextOnCreate = false;
  Click(20, 30);
  ASSERT_EQ(Vect->ObjectsCount(), 1);
  EXPECT_EQ(Vect->GetObjRect(Vect->GetObj(0)), (TRect{20, 30, 83, 93}));
  EXPECT_TRUE(Vect->IsSelected(Vect->GetObj(0)));

  Drag(10, 10, 110, 40);
  ASSERT_EQ(Vect->ObjectsCount(), 2);
  EXPECT_EQ(Vect->GetObjRect(Vect->GetObj(1)), (TRect{10, 10, 110, 40}));
  Click(50, 100);
  EXPECT_EQ(Vect->GetObjRect(Vect->GetObj(2)), (TRect{50, 100, 150, 130}));

  Vect->CenterNewObjects = true;
  Click(100, 100);
  EXPECT_EQ(Vect->GetObjRect(Vect->GetObj(3)), (TRect{50, 85, 150, 115}));

  Vect->SetVectorInteract(TIEVInteract{ivPutBox, ivDragToCreate});
  Click(60, 60);
  EXPECT_EQ(Vect->ObjectsCount(), 4);
}

TEST_F(VectMouse, ClickSelectsTheNearestAndShiftToggles) {
  const Integer A = AddBox(TRect{10, 10, 40, 40});
  const Integer B = AddBox(TRect{100, 10, 140, 40});
  Vect->SetVectorInteract(TIEVInteract{ivSelectObjects});
  Click(60, 25);  // nearer A's right edge (20) than B's left (40)
  EXPECT_TRUE(Vect->IsSelected(A));
  EXPECT_FALSE(Vect->IsSelected(B));
  Headless().KeyDown(VK_SHIFT);
  Click(100, 25);
  Headless().KeyUp(VK_SHIFT);
  Pump();
  EXPECT_TRUE(Vect->IsSelected(A));
  EXPECT_TRUE(Vect->IsSelected(B));

  Vect->MaxSelectionDistance = 5;
  Click(46, 60);  // 6 pixels from A, further from B
  EXPECT_EQ(Vect->SelObjectsCount(), 0);
}

TEST_F(VectMouse, GripsMoveAndResizeAndLockedObjectsOnlyMove) {
  const Integer H = AddBox(TRect{20, 20, 60, 50});
  Vect->SetVectorInteract(TIEVInteract{ivSelectObjects});
  Vect->SelObject(H);
  Drag(20, 27, 30, 37);  // on the left edge between grips: a move
  EXPECT_EQ(Vect->GetObjRect(H), (TRect{30, 30, 70, 60}));
  Drag(70, 60, 80, 90);  // the (X2, Y2) grip
  EXPECT_EQ(Vect->GetObjRect(H), (TRect{30, 30, 80, 90}));

  // Alt keeps the ratio of the rectangle at the press (50 x 60).
  Headless().KeyDown(VK_MENU);
  Drag(79, 89, 129, 89);
  Headless().KeyUp(VK_MENU);
  Pump();
  EXPECT_EQ(Vect->GetObjRect(H), (TRect{30, 30, 130, 150}));
}

TEST_F(VectMouse, GripsOfALockedSizeMoveTheObject) {
  const Integer H = AddBox(TRect{30, 30, 80, 90});
  Vect->SetVectorInteract(TIEVInteract{ivSelectObjects});
  Vect->SetObjStyle(H, IEVSTYLE_SELECTABLE | IEVSTYLE_MOVABLE | IEVSTYLE_VISIBLE);
  Vect->SelObject(H);
  Drag(81, 91, 91, 96);
  EXPECT_EQ(Vect->GetObjRect(H), (TRect{40, 35, 90, 95}));
}

TEST_F(VectMouse, PolylineBuiltByClicksKeepsTwoPointsOnCtrlClick) {
  Vect->SetVectorInteract(TIEVInteract{ivPutPolyline});
  Click(10, 10);
  Click(50, 10);
  const TPoint P = Screen(50, 60);
  Headless().DoubleClick(P.X, P.Y);
  Pump();
  ASSERT_EQ(Vect->ObjectsCount(), 1);
  const Integer H = Vect->GetObj(0);
  ASSERT_EQ(Vect->ObjectRecord(H)->PolyCount(), 3);
  EXPECT_EQ(Vect->GetObjRect(H), (TRect{10, 10, 50, 60}));

  Vect->SetVectorInteract(TIEVInteract{ivEditPolyline});
  Vect->UnSelAllObjects();
  Vect->SelObject(H);
  Vect->Update();
  Pump();
  Headless().KeyDown(VK_CONTROL);
  Click(50, 60);
  EXPECT_EQ(Vect->ObjectRecord(H)->PolyCount(), 2);
  Click(50, 10);
  Headless().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(Vect->ObjectRecord(H)->PolyCount(), 2);
}

TEST_F(VectMouse, AutomaticUndoKeepsOnlyChangingGestures) {
  const Integer H = AddBox(TRect{20, 20, 60, 50});
  Vect->SetVectorInteract(TIEVInteract{ivSelectObjects});
  Vect->SetObjAutoUndo(true);
  Vect->SetObjUndoLimit(2);
  Vect->SaveObjUndo();
  ASSERT_EQ(Vect->ObjUndoCount(), 1);
  Vect->ClearObjUndo();
  Click(150, 120);  // selects the only object, changes nothing
  EXPECT_EQ(Vect->ObjUndoCount(), 0);
  Drag(30, 20, 40, 30);
  EXPECT_EQ(Vect->ObjUndoCount(), 1);
  EXPECT_EQ(Vect->GetObjRect(H), (TRect{30, 30, 70, 60}));
  ASSERT_TRUE(Vect->UndoObjects());
  EXPECT_EQ(Vect->GetObjRect(Vect->GetObj(0)), (TRect{20, 20, 60, 50}));
  EXPECT_EQ(Vect->ObjUndoCount(), 0);

  // Limits: 1 keeps the newest only, 0 none.
  Vect->SetObjUndoLimit(1);
  Vect->SaveObjUndo();
  Vect->SaveObjUndo();
  EXPECT_EQ(Vect->ObjUndoCount(), 1);
  Vect->ClearObjUndo();
  Vect->SetObjUndoLimit(0);
  Vect->SaveObjUndo();
  EXPECT_EQ(Vect->ObjUndoCount(), 0);
}

TEST_F(VectMouse, SelectedObjectsTravelThroughTheClipboard) {
  const Integer A = AddBox(TRect{5, 6, 25, 36});
  Vect->ObjectRecord(A)->BrushColor = 0x123456;
  AddBox(TRect{100, 100, 120, 120});
  Vect->SelObject(A);
  Vect->CopySelectedObjectsToClipboard();
  ASSERT_TRUE(Vect->PasteObjectsFromClipboard());
  ASSERT_EQ(Vect->ObjectsCount(), 3);
  const Integer Pasted = Vect->GetObj(2);
  EXPECT_EQ(Vect->GetObjRect(Pasted), (TRect{5, 6, 25, 36}));
  EXPECT_EQ(Vect->ObjectRecord(Pasted)->BrushColor, 0x123456);
  EXPECT_EQ(Vect->SelObjectsCount(), 1);
  EXPECT_TRUE(Vect->IsSelected(Pasted));
}

TEST_F(VectMouse, TextBoxEditingCommitsOnEnterAndRestoresOnEscape) {
  const Integer H = Vect->AddNewObject(ievoText);
  Vect->SetObjRect(H, TRect{10, 10, 110, 40});
  Vect->SetObjText(H, "old");
  Vect->SetVectorInteract(TIEVInteract{ivSelectObjects});
  Vect->SelObject(H);
  Vect->SetFocus();
  Pump();
  Key(VK_F2);
  ASSERT_TRUE(Vect->IsTextEditing());
  EXPECT_TRUE(Vect->GetTextEditor()->GetVisible());
  EXPECT_EQ(Vect->GetTextEditor()->GetText(), "old");
  Vect->GetTextEditor()->SetText("new");
  Key(VK_RETURN);
  EXPECT_FALSE(Vect->IsTextEditing());
  EXPECT_EQ(Vect->GetObjText(H), "new");

  Key(VK_F2);
  ASSERT_TRUE(Vect->IsTextEditing());
  Vect->GetTextEditor()->SetText("typed");
  Key(VK_ESCAPE);
  EXPECT_FALSE(Vect->IsTextEditing());
  EXPECT_EQ(Vect->GetObjText(H), "new");

  // Not editable: F2 starts nothing.
  Vect->ObjectRecord(H)->TextEditable = 0;
  Key(VK_F2);
  EXPECT_FALSE(Vect->IsTextEditing());
}

TEST_F(VectMouse, MultiLineBoxEditingHandsTheTextBack) {
  const Integer H = Vect->AddNewObject(ievoMemo);
  Vect->SetObjRect(H, TRect{10, 10, 150, 80});
  Vect->SetObjText(H, "ab");
  Vect->SelObject(H);
  Vect->SetFocus();
  Pump();
  Key(VK_F2);
  ASSERT_TRUE(Vect->IsTextEditing());
  TIETextControl* Memo = Vect->GetMemoEditor();
  EXPECT_EQ(Memo->TextBuffer, "ab");
  Memo->SetCaret(2);
  Headless().Type("c");
  Pump();
  Key(VK_ESCAPE);
  EXPECT_FALSE(Vect->IsTextEditing());
  EXPECT_EQ(Vect->GetObjText(H), "abc");
  EXPECT_EQ(Vect->ObjectRecord(H)->MemoCharFormats.size(), 3u);
  EXPECT_TRUE(Memo->TextBuffer.empty());
}

// Records the mouse calls it receives.
class TLoggingExtension : public TIEVExtension {
 public:
  std::string* Log = nullptr;
  void SaveToStream(TStream*) override {}
  void LoadFromStream(TStream*) override {}
  TIEVExtensionPtr Clone() const override { return std::make_unique<TLoggingExtension>(); }
  void MouseDown(TMouseButton, TShiftState, Integer, Integer) override { *Log += "down "; }
  void MouseUp(TMouseButton, TShiftState, Integer, Integer) override { *Log += "up "; }
  void MouseEnter() override { *Log += "enter "; }
  void MouseLeave() override { *Log += "leave "; }
  void Draw(TBitmap*, const TRect&, Double, Double, bool) override {}
};

TEST_F(VectMouse, ExtensionObjectsHearTheMouseOverThem) {
  std::string Log;
  const Integer H = Vect->AddNewObject(ievoExtension);
  Vect->SetObjRect(H, TRect{20, 20, 60, 60});
  auto Ext = std::make_unique<TLoggingExtension>();
  Ext->Log = &Log;
  Vect->ObjectRecord(H)->Extension = std::move(Ext);
  Vect->SetVectorInteract(TIEVInteract{ivSelectObjects});
  const TPoint In = Screen(40, 40), Out = Screen(150, 120);
  Headless().MoveTo(Out.X, Out.Y);
  Pump();
  Headless().MoveTo(In.X, In.Y);
  Pump();
  Click(40, 40);
  Headless().MoveTo(Out.X, Out.Y);
  Pump();
  EXPECT_EQ(Log, "enter down up leave ");
}

}  // namespace
