#pragma once
// The background blend of the main window: inside the clip margin, the white pixels of a result
// show the source, blurred and lightened as the blend slider says.
#include "platform/system/Types.h"

class TBitmap;
class TForm1;

struct TBackgroundBlend {
  // The rows and columns blended: Margin .. LastRow and Margin .. LastCol.
  Integer Margin = 0, LastRow = -1, LastCol = -1;
  // The lightening of the background (LightenBitmap's amount).
  Integer Amount = 0;

  // The blend Form's controls ask for on Bitmap over the source.
  static TBackgroundBlend Of(TForm1& Form, TBitmap* Bitmap);
  // Row Y of the result (Row) takes the background row's pixel wherever it is white.
  void BlendRow(Integer Y, Byte* Row, const Byte* Background) const;
};
