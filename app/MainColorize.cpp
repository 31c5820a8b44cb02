// The regions of a line drawing become cells.
#include "app/Main.h"

void TForm1::Colorize(TBitmap*) {
  SeedCount = 0;
}
