// Placeholders of the vector layer's drawing, mouse, undo and text-editing operations until
// their own files take them over: each does what the view alone would do. Whoever writes an
// operation deletes its placeholder here in the same change.
#include "imaging/view/ievect.h"

// ---- mouse ----

Integer TZezudIdVect::FindObjectAt(Integer, Integer, bool, Double& Distance) {
  Distance = 0;
  return IEV_ALL;
}
Integer TZezudIdVect::FindObjectAtScreen(Integer, Integer, Double& Distance) {
  Distance = 0;
  return IEV_ALL;
}
Double TZezudIdVect::ObjectDistance(TIEVObject&, Integer, Integer) {
  return -1;
}
Integer TZezudIdVect::FindGrip(Integer, Integer, Integer& Grip) {
  Grip = 0;
  return IEV_NONE;
}
void TZezudIdVect::SelectAt(TShiftState, Integer, Integer, bool) {}
void TZezudIdVect::SelectInRect(Integer, Integer, Integer, Integer, Integer) {}
void TZezudIdVect::MoveObject(Integer, Integer, Integer) {}
void TZezudIdVect::ResizeObject(Integer, Integer, Integer, Integer, bool) {}
Integer TZezudIdVect::FindPolylineVertex(Integer, Integer) {
  return -1;
}
Integer TZezudIdVect::FindPolylineSegment(Integer, Integer) {
  return -1;
}
void TZezudIdVect::UpdatePolylineBox(Integer) {}
void TZezudIdVect::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TZezudIdView::MouseDown(Button, Shift, X, Y);
}
void TZezudIdVect::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TZezudIdView::MouseMove(Shift, X, Y);
}
void TZezudIdVect::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TZezudIdView::MouseUp(Button, Shift, X, Y);
}
void TZezudIdVect::DrawRubberLine(bool) {}
void TZezudIdVect::DrawRubberBox(bool) {}
void TZezudIdVect::DrawRubberEllipse(bool) {}

