// Kaleidoscope and free drawing: strokes drawn with the mouse on the result, repeated with the
// chosen symmetry, become the pattern when submitted.
#include "app/Main.h"

void TForm1::ImageMouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer, TCustomLayer*) {}
void TForm1::ImageMouseMove(TObject*, TShiftState, Integer, Integer, TCustomLayer*) {}
void TForm1::ImageMouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer, TCustomLayer*) {}
void TForm1::DrawHistory() {}
void TForm1::CreatePictureArea(TObject*) {}
void TForm1::EraseKaleidoscope(TObject*) {}
void TForm1::SubmitBitmap(TObject*) {}
void TForm1::SelectView(TObject*) {}
