// The drawing square of the kaleidoscope and free drawing.
#include "app/Main.h"
#include "app/Patterns.h"

void ResetDrawingArea() {}
