#pragma once
// The selection outline of the image view, kept apart from the view so that its arithmetic can be
// tested alone: the polygon record (points in picture coordinates), the shapes of rectangle,
// ellipse and grip selections, the marching-ants pattern, and the selection stream that undo and
// the view's selection stack keep. The view owns its records; a record owns its point array and
// borrows the view's canvas and ants bitmap.
#include <memory>
#include <vector>

#include "imaging/core/iemask.h"
#include "platform/classes/Colors.h"
#include "platform/system/Types.h"

class TBitmap;
class TCanvas;
class TStream;

// An entry with this x (and y) ends one polygon of a record and starts the next; the mask's
// polygon fill splits at the same value.
constexpr Integer IESelBreak = IEPolygonSeparator;

// One selection outline: several polygons separated by breaks. X2 and Y2 of the box are
// exclusive. A record of four entries whose edges alternate vertical and horizontal is a
// rectangle; only rectangles have grips.
struct TIESelPolygon {
  std::unique_ptr<TPoint[]> Points;
  Integer Count = 0;
  Integer Capacity = 0;
  TColor Color1 = clBlack;
  TColor Color2 = clWhite;
  bool Animated = true;
  Integer AntsTick = 0;   // 0..9, the first ants phase of the next drawing
  Integer AntsPhase = 0;  // runs along the lines while they are drawn
  TCanvas* Canvas = nullptr;
  Integer X1 = 0;
  Integer Y1 = 0;
  Integer X2 = 0;
  Integer Y2 = 0;
  bool Visible = true;
  bool Sizeable = true;
  Byte* AntsScanline = nullptr;   // the view's
  TBitmap* AntsBitmap = nullptr;  // the view's

  // Frees the points; count and capacity 0. The box is left as it was.
  void Clear();
  // Replaces the points by NewCount zeroed entries, capacity NewCount (a loaded selection).
  void Allocate(Integer NewCount);
  // The second point sets the box to the two points ordered; later points widen it.
  void AddPoint(Integer X, Integer Y);
  // Never doubles a break; a break may start the record.
  void AddBreak();
  // Appends an entry, growing the array to max(2 x capacity, count + 1).
  void Append(Integer X, Integer Y);
  // Drops what follows the last break, the break too. False (nothing dropped) without a break.
  bool RemoveLastPolygon();
  // Drops the last entry and then every break left at the end.
  void RemoveLastPoint();
  bool IsBreak(Integer Index) const { return Points[Index].X == IESelBreak; }
  bool LastIsBreak() const { return Count > 0 && IsBreak(Count - 1); }
  bool IsRect() const;
  // Moves box and points by (DX, DY) inside a Width x Height picture; false when nothing moved.
  bool Offset(Integer DX, Integer DY, bool CutBorders, Integer Width, Integer Height);
};

// Exactly four entries, the closing edge included alternating vertical and horizontal, none of
// zero length.
bool IEIsRectPolygon(const TPoint* Points, Integer Count);

// Moves the rectangle into the picture keeping its size: a negative X1 moves both right to 0, an
// X2 at or past Width moves both left to Width - 1; the same vertically.
void IEShiftRectInside(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, Integer Width, Integer Height);

// Applies the first rule that fits of the fixed height/width ratio C to a box that reaches out
// of the picture: the bottom, the top, the right, the left edge.
void IEFitRectAspect(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, double C, Integer Width,
                     Integer Height);

// The rectangle a drag selects between the anchor (X1, Y1) and the point (X2, Y2), in picture
// pixels: constrained to a square (free ratio) or to AspectRatio (> 0, height = ratio x width),
// with KeepInside shifted into the picture, ordered and clamped. X2, Y2 exclusive.
TRect IESelectionRect(Integer X1, Integer Y1, Integer X2, Integer Y2, bool KeepInside, bool Constrain,
                      double AspectRatio, Integer Width, Integer Height);

// The ellipse outline around (CX, CY) with radii EX, EY in picture pixels: at least 50 points,
// each clamped to 0..Width, 0..Height.
std::vector<TPoint> IESelectionEllipse(Integer CX, Integer CY, Integer EX, Integer EY, Integer Width,
                                       Integer Height);

// The state of a grip drag.
struct TIEGripDrag {
  TRect Start;         // the box when the drag began (right and bottom exclusive)
  double AspectRatio;  // the view's: > 0 a fixed height/width ratio
  bool Constrain;
  Integer Width;  // the picture's
  Integer Height;
};

// Moves the grip Grip of the box Box to the picture point (PX, PY). Returns false (nothing to do)
// when a constrained drag starts from a box of no height. Otherwise Box is the new box, ordered,
// fitted and clamped, and Grip the grip now being dragged (corners and sides swap when the box
// turns over). Grips are TIEGrip values.
bool IEResizeSelectionRect(Integer& Grip, Integer PX, Integer PY, const TIEGripDrag& Drag, TRect& Box);

// The grip of the rectangle with client corners TopLeft, TopRight, BottomRight, BottomLeft under
// (X, Y): a corner when the point lies within GripSize of it (edges included), else a side when
// it is nearer than 3 pixels to it; 0 for none.
Integer IEGripAtCorners(const TPoint (&Corners)[4], Integer X, Integer Y, Integer GripSize);

// The marching ants: eight-pixel period, four pixels of Color1 then four of Color2.
inline bool IEAntsFirstColor(Integer Phase) {
  return Phase < 4;
}
inline Integer IEAntsNextPhase(Integer Phase) {
  return Phase >= 7 ? 0 : Phase + 1;
}
// The record's tick after a timer step: 0..9.
inline Integer IEAntsNextTick(Integer Tick) {
  return Tick >= 9 ? 0 : Tick + 1;
}

// What the selection stream holds besides the points and the mask.
struct TIESelectionStreamInfo {
  bool Active = false;    // the view's selection-present flag
  Integer LayerPosX = 0;  // the current layer's position when saved
  Integer LayerPosY = 0;
  TRect MaskBox{};  // the mask's box as stored (read only)
};

// Little-endian, no padding: mask width, height (4 each); point count n (4); n points as x, y
// (4 each, only when the point array exists); the record's box X1, Y1, X2, Y2 (16); active (1);
// layer position x, y (4 each); mask bits per pixel (4); mask box X1, Y1, X2, Y2 (16); mask full
// flag (1); the mask rows as stored (height x row length).
void IEWriteSelection(TStream* Stream, const TIESelPolygon& Polygon, const TIEMask& Mask,
                      const TIESelectionStreamInfo& Info);
// Reads a selection written by IEWriteSelection: the points are replaced (capacity = count), the
// mask reallocated and filled, its box recomputed from the bits and its full flag taken. Every
// count and size is checked against what the stream still holds before anything changes: a
// truncated or malformed stream answers false and leaves Polygon and Mask as they were (short of
// memory for the mask, which is then left without bits).
bool IEReadSelection(TStream* Stream, TIESelPolygon& Polygon, TIEMask& Mask, TIESelectionStreamInfo& Info);
