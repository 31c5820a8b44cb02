#pragma once
// The drawing square of the kaleidoscope and free drawing: the images a stroke is repeated
// into and the frame of the picture area. ResetDrawingArea (Patterns.h) makes the square.
#include <vector>

#include "platform/classes/Colors.h"
#include "platform/system/Types.h"

// The images of a drawn point, in drawing order: the point itself, its point reflection, the
// horizontal and the vertical mirror, the two quarter turns and the two diagonal mirrors.
constexpr Integer DrawingImageCount = 8;
// The dot colour of each image on the drawing canvas.
extern const TColor DrawingImageColors[DrawingImageCount];

// The images the current pattern type and symmetry choice repeat a stroke into, about the
// centre of the drawing square: free drawing the point alone, the kaleidoscope 2, 4 or 8.
class TDrawingSymmetry {
 public:
  // From PatternType, PatternSize and the host's choice of 2, 4 or 8 images.
  static TDrawingSymmetry Current();
  Integer Count() const { return FCount; }
  // The image number (0..7) of the K-th image drawn.
  Integer Which(Integer K) const { return FWhich[K]; }
  // Image number I of the point P.
  TPoint Image(Integer I, TPoint P) const;

 private:
  Integer FCx = 0, FCy = 0;
  Integer FCount = 0;
  Integer FWhich[DrawingImageCount] = {};
};

// The frame of the part of the square that the crop to the source keeps, 10 pixels inside it,
// drawn on DrawingBitmap in PenColor over a white brush (so the inside is cleared); the pen is
// white afterwards. Only with a source loaded.
void DrawPictureArea(TColor PenColor);

// The stroke DrawHistory draws becomes Points (a reopened project); SeedCount says how many
// of them it draws.
void SetDrawingStroke(std::vector<TPoint> Points);
