// The text pattern, the mask and the glass picture.
#include "app/Main.h"

void TForm1::UseTextPattern(TObject*) {}
void TForm1::SelectFont(TObject*) {}
void TForm1::CreateTextBitmap() {}
void TForm1::LoadMask(TObject*) {}
void TForm1::LoadGlassFX(TObject*) {}
