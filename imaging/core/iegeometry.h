#pragma once
// Plane geometry of the interactive parts: hit distances for picking objects, line snapping,
// point-in-shape tests, rotation, angles and fitting a size into a box. Coordinates are view
// pixels with y growing downward; angles are radians. Nothing here raises.
#include <span>

#include "platform/system/Types.h"

// What the segment and polyline tests answer for a point too far away to matter.
constexpr double IEFarDistance = 1000000.0;
// Start value of the ellipse and box tests, and their answer when no pen offset is tried.
constexpr double IENoDistance = 2147483647.0;

double IEDistance(Integer X1, Integer Y1, Integer X2, Integer Y2);
// The two points must differ.
double IEDistPointToLine(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2);
// Beyond an end the point must lie within 45000 pixels of it on both axes, else IEFarDistance.
double IEDistPointToSegment(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2);
// Points are mapped to view pixels as Round((p - Origin) * Scale + Offset) before measuring.
double IEDistPointToPolyline(Integer X, Integer Y, const TPoint* Points, Integer Count, Integer OriginX,
                             Integer OriginY, Integer OffsetX, Integer OffsetY, double ScaleX, double ScaleY,
                             Integer PenWidth, bool Closed);
// The ellipse inscribed in the box X1, Y1, X2, Y2.
double IEDistPointToEllipse(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2, bool Filled,
                            Integer PenWidth);
double IEDistPointToBox(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2, bool Filled,
                        Integer PenWidth);

// Snaps the end point to horizontal, vertical or 45 degrees from (X0, Y0).
void IEAdjustLineTo45(Integer X0, Integer Y0, Integer& X1, Integer& Y1);

// Whether the bounding box of the segment touches the ordered rectangle.
bool IESegmentBoxIntersectsRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer RX1, Integer RY1,
                                Integer RX2, Integer RY2);
// Edges count as inside; an unordered rectangle contains nothing.
bool IEPointInRect(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2);
bool IEPointInRectNormalized(Integer X, Integer Y, Integer X1, Integer Y1, Integer X2, Integer Y2);
void IEExpandRect(TRect& Rect, Integer X, Integer Y);

// Even-odd rule.
bool IEPointInPolygon(Integer X, Integer Y, std::span<const TPoint> Points);
bool IEPointInScaledPolygon(Integer X, Integer Y, const TPoint* Points, Integer Count, Integer OriginX,
                            Integer OriginY, Integer OffsetX, Integer OffsetY, double ScaleX, double ScaleY);

// Positive degrees turn counter-clockwise as seen on screen; results are truncated.
void IERotatePoints(std::span<TPoint> Points, Integer CX, Integer CY, double Degrees);

Extended IEArcTan2(Extended Y, Extended X);
// Exactly 1 and exactly -1 both give 0.
Extended IEArcCos(Extended X);
// The change of direction going P1 -> P2 -> P3 (0 straight on).
double IEAngleAtVertex(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3);
// Direction from P1 to P2, counter-clockwise as seen on screen, in [0, 2 pi).
double IELineAngle(Integer X1, Integer Y1, Integer X2, Integer Y2);
// The sense of the turn P1 -> P2 -> P3 as 1 or -1; for collinear points -1 when P1 lies between
// the others, 1 when P2 does, else 0.
Integer IETurnDirection(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3);
// Angle at P2, 0 .. 2 pi.
double IEAngle3Points(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3);

// Scales up as well as down; neither result comes out below 1. A zero size leaves the results.
void IEScaleToFit(Integer Width, Integer Height, Integer MaxWidth, Integer MaxHeight, Integer& ResultWidth,
                  Integer& ResultHeight);
