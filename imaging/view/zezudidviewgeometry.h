#pragma once
// The image view's geometry arithmetic, free of the control: one axis of the zoom lookup
// tables, scroll-position snapping, the arithmetic client <-> picture conversions the tables
// stand in for, the fit zoom, scroll-bar scaling and the wheel's steps. Products are taken
// in Extended from factors held as doubles, so a zoom whose inverse is no exact double may
// move a column boundary by one client pixel.
#include <vector>

#include "imaging/core/ieviewparams.h"
#include "platform/system/Types.h"

// One axis of the zoom tables. ScrToBmp: the picture column of every client offset counted
// from the unscrolled picture origin; BmpToScr: the first client offset of every column.
// Builds them for a picture of Zoomed client pixels (Layered picture pixels) of which Drawn
// are on screen; Drawn must be above 0.
void IEBuildZoomAxis(std::vector<Integer>& ScrToBmp, std::vector<Integer>& BmpToScr, Integer Zoomed,
                     Integer Drawn, Integer Layered, double Zoom, double Factor, double InvZoom);

// The first client offset of the column that holds the scroll position Value; Value itself
// where the tables (covering TableExtent client pixels, 0 when unbuilt) do not reach. Negative
// positions become 0.
Integer IESnapView(const std::vector<Integer>& ScrToBmp, const std::vector<Integer>& BmpToScr,
                   Integer TableExtent, Integer Value, Integer Zoomed);

// The scroll position at which client offset Pointer (less the centring offset) shows picture
// column Column, so that after snapping the pointer is still on it; false when the tables do
// not hold the column.
bool IEViewPositionFor(const std::vector<Integer>& ScrToBmp, const std::vector<Integer>& BmpToScr,
                       Integer Column, Integer Pointer, Integer& Position);

// Client offset A (already less the centring offset) to a picture column, and back, when the
// tables do not cover the point. First is the first visible column, Snapped the snapped scroll
// position.
Integer IEScreenToBitmapArith(Integer A, double InvZoom, Integer First);
Integer IEBitmapToScreenArith(Integer B, Integer Snapped, double InvZoom, double Factor, Integer Offset);

// The automatic zoom: 100 when any size is 0; else, judged on the dominant axis, the optimal
// zoom when the picture is too large and Shrink is allowed, or when it fits and Stretch is.
double IEGetFitZoom(Integer Width, Integer Height, Integer AreaWidth, Integer AreaHeight, bool Shrink,
                    bool Stretch, double OptimalZoom);
// The zoom at which Length picture pixels fill Room client pixels, unrounded.
double IEFitAxisZoom(Integer Room, Integer Length);

// Scroll bars show the scroll range on 0..65535.
constexpr Integer IEScrollBarUnits = 65536;
// Zoomed pixels per scroll-bar unit for a client extent and the largest scroll position.
double IEScrollScale(Integer ViewExtent, Integer MaxView);
// Client pixels of one line and of one page of a scroll bar at zoom factor Factor.
Integer IEScrollLineStep(const TIEScrollBarParams& Params, double Factor);
Integer IEScrollPageStep(const TIEScrollBarParams& Params, double Factor, Integer ViewExtent);

// The wheel's direction: -1 for a positive delta (away from the user), else +1; inverted on
// request.
Integer IEWheelDirection(const TIEMouseWheelParams& Params, Integer Delta);
// The wheel acts only with an absolute or a percent variation.
bool IEWheelVariationKnown(const TIEMouseWheelParams& Params);
// The zoom one notch asks for from Zoom in direction Direction.
double IEWheelZoom(const TIEMouseWheelParams& Params, double Zoom, Integer Direction);
// The scroll distance of one notch along an axis of that client extent and zoom factor.
Integer IEWheelScrollStep(const TIEMouseWheelParams& Params, Integer ViewExtent, double Factor);
