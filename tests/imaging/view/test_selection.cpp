#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SelectionTestSupport.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Timer.h"

namespace {

using TRows = std::vector<std::string>;

TEST(ViewSelection, RectangleFillsItsPixelsRightAndBottomExcluded) {
  TSelectionView View;
  View.SetPicture(8, 5);
  View.Select(1, 1, 4, 3);
  EXPECT_EQ("(1,1)(4,1)(4,3)(1,3)", PolygonText(View));
  EXPECT_EQ((TRows{"........", ".xxx....", ".xxx....", "........", "........"}),
            MaskRows(*View.GetSelectionMask()));
  EXPECT_TRUE(View.GetSelectionActive());
  EXPECT_EQ(1, View.GetSelX1());
  EXPECT_EQ(3, View.GetSelX2());
  EXPECT_EQ(2, View.GetSelY2());
  // Dragged from the bottom right and reaching out of the picture: ordered and clamped.
  View.Select(9, 9, 6, 3);
  EXPECT_EQ((TRows{"........", "........", "........", "......xx", "......xx"}),
            MaskRows(*View.GetSelectionMask()));
}

TEST(ViewSelection, ARectangleOfNoWidthSelectsNothing) {
  TSelectionView View;
  View.SetPicture(60, 60);
  View.Select(10, 10, 10, 50);
  EXPECT_FALSE(View.GetSelectionActive());
  EXPECT_EQ(0, View.GetPolySelCount());
  View.Select(10, 10, 50, 50);
  EXPECT_EQ(50, View.GetSelectionPolygon()->X2);
  EXPECT_EQ(49, View.GetSelX2());
}

TEST(ViewSelection, PolygonsSeparatedByBreaksFillEach) {
  TSelectionView View;
  View.SetPicture(10, 4);
  const TPoint Triangle[] = {{0, 0}, {4, 0}, {0, 4}};
  for (const TPoint& P : Triangle) View.AddSelectionPoint(P.X, P.Y);
  View.AddSelectionBreak();
  View.AddSelectionBreak();
  const TPoint Square[] = {{6, 1}, {9, 1}, {9, 3}, {6, 3}};
  for (const TPoint& P : Square) View.AddSelectionPoint(P.X, P.Y);
  View.AddSelectionPoint(30, -5);  // clamped to the picture's edges
  EXPECT_EQ("(0,0)(4,0)(0,4)|(6,1)(9,1)(9,3)(6,3)(10,0)", PolygonText(View));
  View.EndPolySelection(false, true);
  EXPECT_EQ((TRows{"xxxx......", "xxx...xxx.", "xx....xxx.", "x........."}),
            MaskRows(*View.GetSelectionMask()));
  EXPECT_FALSE(View.FPolySelecting);
}

TEST(ViewSelection, EllipseAroundTheAnchor) {
  TSelectionView View;
  View.SetPicture(11, 11);
  View.FSelectionAnchor = {5, 5};
  View.SelectCircleByMouse(8, 7, TShiftState{ssAlt});  // a circle of radius max(3, 2)
  EXPECT_EQ(50, View.GetPolySelCount());
  View.EndSelect();
  const TIEMask& Mask = *View.GetSelectionMask();
  EXPECT_EQ((TRect{2, 2, 7, 7}), (TRect{Mask.GetX1(), Mask.GetY1(), Mask.GetX2(), Mask.GetY2()}));
  EXPECT_TRUE(Mask.IsPointInside(5, 5));
  EXPECT_FALSE(Mask.IsPointInside(2, 2));
  // Without Alt the radii follow the drag on each axis.
  View.SelectCircleByMouse(8, 6, TShiftState{});
  View.GetSelectionMask()->Empty();
  View.EndSelect();
  EXPECT_EQ((TRect{2, 4, 7, 5}), (TRect{Mask.GetX1(), Mask.GetY1(), Mask.GetX2(), Mask.GetY2()}));
}

TEST(ViewSelection, ShiftAddsOneBreakAndADragReplacesOnlyItsOwnShape) {
  TSelectionView View;
  View.SetPicture(40, 40);
  View.Select(1, 1, 5, 5);
  View.FPolyCountAtDown = View.GetPolySelCount();
  View.FSelectionAnchor = {10, 10};
  View.SelectRectByMouse(20, 20, TShiftState{ssShift});
  View.SelectRectByMouse(25, 22, TShiftState{ssShift});
  EXPECT_EQ("(1,1)(5,1)(5,5)(1,5)|(10,10)(25,10)(25,22)(10,22)", PolygonText(View));
  View.EndSelect();
  EXPECT_TRUE(View.GetSelectionMask()->IsPointInside(2, 2));
  EXPECT_TRUE(View.GetSelectionMask()->IsPointInside(24, 21));
  // Without Shift the drag replaces everything.
  View.SelectRectByMouse(12, 12, TShiftState{});
  EXPECT_EQ("(10,10)(12,10)(12,12)(10,12)", PolygonText(View));
}

TEST(ViewSelection, FixedSizeRectangleFollowsThePointerAtTheZoom) {
  TSelectionView View;
  View.SetPicture(300, 300);
  View.ChangeZoom(200);
  View.SetViewXY(0, 0);
  View.FSelectionAspectRatio = 0;
  View.SetSelectionBase(iesbClientArea);
  View.SelectRectByMouse(150, 150, TShiftState{});
  // 100 x 100 picture pixels at zoom 200: from client 150 - 100 to 150 + 100 - 1.
  const TIESelPolygon& P = *View.GetSelectionPolygon();
  EXPECT_EQ((TRect{25, 25, 124, 124}), (TRect{P.X1, P.Y1, P.X2, P.Y2}));
}

TEST(ViewSelection, MagicWandModes) {
  TSelectionView View;
  View.SetPicture(10, 8, {{2, 1, 4, 3}, {7, 5, 8, 6}});
  const TRows Square = {"..........", "..xxx.....", "..xxx.....", "..xxx.....",
                        "..........", "..........", "..........", ".........."};
  View.SetWandMode(0);
  View.SelectMagicWand(3, 2, false);
  EXPECT_EQ(Square, MaskRows(*View.GetSelectionMask()));
  EXPECT_GT(View.GetPolySelCount(), 3);
  View.SetWandMode(1);
  View.SelectMagicWand(3, 2, false);
  EXPECT_EQ(Square, MaskRows(*View.GetSelectionMask()));
  EXPECT_EQ(0, View.GetPolySelCount());  // a filled selection lives in the mask only
  View.SelectMagicWand(8, 6, true);
  EXPECT_TRUE(View.GetSelectionMask()->IsPointInside(7, 5));
  EXPECT_TRUE(View.GetSelectionMask()->IsPointInside(3, 2));
  View.SetWandMode(2);
  View.SelectMagicWand(0, 0, false);  // every black pixel, connected or not
  EXPECT_FALSE(View.GetSelectionMask()->IsPointInside(3, 2));
  EXPECT_TRUE(View.GetSelectionMask()->IsPointInside(9, 7));
  EXPECT_TRUE(View.GetSelectionMask()->IsPointInside(5, 2));
  // Outside the picture nothing happens.
  View.SelectMagicWand(-1, 3, false);
  EXPECT_TRUE(View.GetSelectionMask()->IsPointInside(9, 7));
}

TEST(ViewSelection, MovingARectangleOrAShape) {
  TSelectionView View;
  View.SetPicture(8, 6);
  View.Select(1, 1, 3, 3);
  View.MoveSelection(4, 2);
  EXPECT_EQ("(5,3)(7,3)(7,5)(5,5)", PolygonText(View));
  EXPECT_EQ((TRows{"........", "........", "........", ".....xx.", ".....xx.", "........"}),
            MaskRows(*View.GetSelectionMask()));
  // Further right the move stops at the edge unless borders may cut the selection.
  View.MoveSelection(3, 0);
  EXPECT_EQ("(6,3)(8,3)(8,5)(6,5)", PolygonText(View));
  View.SetSelectionOptions(View.GetSelectionOptions() + TIESelectionOptions{iesoCutBorders});
  View.MoveSelection(1, 0);
  EXPECT_EQ("(7,3)(8,3)(8,5)(7,5)", PolygonText(View));
  EXPECT_EQ(".......x", MaskRows(*View.GetSelectionMask())[3]);
}

TEST(ViewSelection, GripsResizeAndTurnOver) {
  TSelectionView View;
  View.SetPicture(50, 50);
  View.Select(10, 10, 30, 20);
  View.FGripStartRect = {10, 10, 30, 20};
  EXPECT_EQ(ieTopRight, View.ResizeSelectionByGrip(ieTopLeft, 40, false, 12));
  EXPECT_EQ("(30,12)(40,12)(40,20)(30,20)", PolygonText(View));
  // A shape that is not a rectangle has no grips.
  View.AddSelectionPoint(45, 45);
  EXPECT_EQ(ieBottomLeft, View.ResizeSelectionByGrip(ieBottomLeft, 0, false, 0));
  EXPECT_EQ(5, View.GetPolySelCount());
}

TEST(ViewSelection, GripHitTestOnTheShownRectangle) {
  TSelectionView View;
  View.SetPicture(100, 100);
  View.Select(20, 20, 80, 60);
  ASSERT_TRUE(View.GetSelectionVisible());
  EXPECT_EQ(ieTopLeft, View.GetGripAt(24, 15, TShiftState{}));
  EXPECT_EQ(ieBottomRight, View.GetGripAt(80, 60, TShiftState{}));
  EXPECT_EQ(ieRightSide, View.GetGripAt(82, 40, TShiftState{}));
  EXPECT_EQ(ieNone, View.GetGripAt(24, 15, TShiftState{ssShift}));
  View.FMoveIndex = 0;
  EXPECT_EQ(ieNone, View.GetGripAt(24, 15, TShiftState{}));
  View.FMoveIndex = -1;
  View.HideSelection(false);
  EXPECT_EQ(ieNone, View.GetGripAt(24, 15, TShiftState{}));
  View.ShowSelection(false);
  View.SetSelectionOptions(TIESelectionOptions{iesoAnimated, iesoMoveable});
  EXPECT_EQ(ieNone, View.GetGripAt(24, 15, TShiftState{}));
  EXPECT_EQ(0, View.IsInsideSelection(50, 40, TShiftState{}));
  EXPECT_EQ(-1, View.IsInsideSelection(50, 40, TShiftState{ssShift}));
  EXPECT_EQ(-1, View.IsInsideSelection(90, 40, TShiftState{}));
}

TEST(ViewSelection, DeselectClearsOutlineMaskAndDragState) {
  TSelectionView View;
  View.SetPicture(20, 20);
  View.Select(2, 2, 8, 8);
  View.FRectSelecting = true;
  View.FMoveIndex = 0;
  View.Deselect();
  EXPECT_FALSE(View.GetSelectionActive());
  EXPECT_EQ(0, View.GetPolySelCount());
  EXPECT_TRUE(View.GetSelectionMask()->IsEmpty());
  EXPECT_FALSE(View.FRectSelecting);
  EXPECT_EQ(-1, View.FMoveIndex);
  EXPECT_FALSE(View.GetSelectionVisible());
}

// Each selection event with the selection base its handler saw.
struct TEventLog {
  TZezudIdView* View;
  std::vector<std::string> Lines;
  void Note(const char* Name) {
    Lines.push_back(std::string(Name) + (View->GetSelectionBase() == iesbBitmap ? " bitmap" : " client"));
  }
  void Before(TObject*) { Note("before"); }
  void Changing(TObject*) { Note("changing"); }
  void Change(TObject*) { Note("change"); }
};

TEST(ViewSelection, EventsSeeTheUsersSelectionBaseExceptTheFinalOne) {
  TSelectionView View;
  View.SetPicture(40, 40);
  TEventLog Log{&View, {}};
  View.OnBeforeSelectionChange = TNotifyEvent(&Log, &TEventLog::Before);
  View.OnSelectionChanging = TNotifyEvent(&Log, &TEventLog::Changing);
  View.OnSelectionChange = TNotifyEvent(&Log, &TEventLog::Change);
  // The mouse works in client coordinates and keeps the user's base aside meanwhile.
  View.SwapSelectionBase();  // the user's base (bitmap) is kept aside, the client area is used
  View.DoBeforeSelectionChange();
  View.FSelectionAnchor = {1, 1};
  View.SelectRectByMouse(9, 9, TShiftState{});
  View.FPolySelecting = true;
  View.EndPolySelection(false, false);
  EXPECT_EQ((std::vector<std::string>{"before bitmap", "changing bitmap", "change client"}), Log.Lines);
}

TEST(ViewSelection, AntsAdvanceOnTheTimerButNotDuringADrag) {
  auto Form = std::make_unique<TForm>(nullptr);
  auto* View = new TSelectionView(Form.get());
  View->SetParent(Form.get());
  View->SetPicture(30, 30);
  View->Select(5, 5, 20, 20);
  ASSERT_NE(nullptr, View->GetSelectionTimer());
  EXPECT_TRUE(View->GetSelectionTimer()->GetEnabled());
  EXPECT_EQ(210u, View->GetSelectionTimer()->GetInterval());
  TIESelPolygon& P = *View->GetSelectionPolygon();
  std::vector<Integer> Ticks;
  for (Integer I = 0; I < 10; ++I) {
    View->DrawSelection(View->GetSelectionTimer(), true);
    Ticks.push_back(P.AntsTick);
  }
  EXPECT_EQ((std::vector<Integer>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}), Ticks);
  EXPECT_EQ(10, View->GetAntsPhase());
  View->DrawSelection(nullptr, false);  // not from the timer
  View->FRectSelecting = true;
  View->DrawSelection(View->GetSelectionTimer(), true);
  EXPECT_EQ(0, P.AntsTick);
  EXPECT_EQ(10, View->GetAntsPhase());
  // Nothing animated and shown: the timer rests.
  View->FRectSelecting = false;
  View->Deselect();
  View->DrawSelection(nullptr, false);
  EXPECT_FALSE(View->GetSelectionTimer()->GetEnabled());
  Form.reset();
  Application->ProcessMessages();
}

}  // namespace
