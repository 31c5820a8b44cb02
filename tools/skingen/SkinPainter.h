#pragma once
// Drawing the skins' pictures: a picture with its region mask (black = inside) and alpha mask
// (white = opaque) kept in step, rounded bevelled faces with gradients, and a packer that hands
// out places for the parts' images in one shared picture.
#include <memory>

#include "platform/classes/Bitmap.h"
#include "platform/system/Types.h"
#include "tools/skingen/SkinStyle.h"

// The colour of everything no part covers; transparent wherever a part takes it as its key.
constexpr TColor SkinKeyColor = 0x7F007F;

class TSkinPicture {
 public:
  TSkinPicture(Integer Width, Integer Height, TColor Background = SkinKeyColor);
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  TBitmap* Image() { return FImage.get(); }
  TBitmap* Mask() { return FMask.get(); }
  TBitmap* Alpha() { return FAlpha.get(); }
  // Writes the colour and marks the pixel inside with the given opacity.
  void Put(Integer X, Integer Y, TColor Color, Byte Opacity = 255);
  TColor Get(Integer X, Integer Y) const;
  void Fill(const TRect& R, TColor Color);
  // Keeps only the top Height rows.
  void Crop(Integer Height);

 private:
  static void PutRaw(TBitmap* B, Integer X, Integer Y, TColor Color);
  Integer FWidth, FHeight;
  std::unique_ptr<TBitmap> FImage, FMask, FAlpha;
};

// How a face is drawn: its gradient, outline, bevel and shape.
struct TFaceLook {
  TColor From, To;
  TColor Outline, Light, Shadow;
  Integer Radius = 0;
  Integer Bevel = 1;
  bool Vertical = true;
  bool Brushed = false;
  bool Glass = false;
  bool Sunken = false;      // light and shadow swapped
  bool NoOutline = false;   // the face runs to the edge
  bool OpenBottom = false;  // square at the bottom, with no frame there (tabs)
  Byte Opacity = 255;       // of the inside, for alpha masks
};

// The look of a style's faces in one state: 0 normal, 1 hot, 2 pressed, 3 disabled.
TFaceLook StyleFace(const TSkinStyle& S, Integer State);
// A sunken field (edits, lists, tracks) in the style's window colour.
TFaceLook StyleField(const TSkinStyle& S);
// A flat panel area with a soft bevel.
TFaceLook StylePanel(const TSkinStyle& S);

void PaintFace(TSkinPicture& P, const TRect& R, const TFaceLook& Look);
// The colour a step T of Count along a gradient takes (Count 1 gives the start colour).
TColor GradientColor(TColor From, TColor To, Integer T, Integer Count);
// Halfway (Percent 50) or any part of the way from A to B.
TColor BlendColor(TColor A, TColor B, Integer Percent);

// Places rectangles left to right in rows of a fixed width; one free pixel between places.
class TSkinPacker {
 public:
  explicit TSkinPacker(Integer Width) : FWidth(Width) {}
  TRect Reserve(Integer W, Integer H);
  // The rows used so far and one more, so that the bottom-left pixel stays background.
  Integer UsedHeight() const { return FY + FRowHeight + 1; }

 private:
  Integer FWidth;
  Integer FX = 0, FY = 0, FRowHeight = 0;
};
