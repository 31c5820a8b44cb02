#pragma once
// What the view's mouse files share: the numbers of the view's cursor table that mouse work
// shows, and the groups of interaction items.
#include "imaging/view/zezudidview.h"

constexpr TCursor crViewHand = 1782;
constexpr TCursor crViewCross = IEViewDefaultCursor;
constexpr TCursor crViewSizeNWSE = 1786;
constexpr TCursor crViewSizeNS = 1787;
constexpr TCursor crViewSizeNESW = 1788;
constexpr TCursor crViewSizeWE = 1789;
constexpr TCursor crViewMove = 1790;
constexpr TCursor crViewCrossAdd = 1791;
constexpr TCursor crViewCross2 = 1793;
constexpr TCursor crViewCross2Add = 1794;
// Rotation by the pointer's quarter around the layer's rotation centre.
constexpr TCursor crViewRotateLeftBelow = 1811;
constexpr TCursor crViewRotateRightAbove = 1812;
constexpr TCursor crViewRotateRightBelow = 1813;
constexpr TCursor crViewRotateLeftAbove = 1814;

inline constexpr TIEMouseInteract IESelectionInteractItems{miSelect,     miSelectPolygon,   miSelectCircle,
                                                           miSelectZoom, miSelectMagicWand, miSelectLasso};
inline constexpr TIEMouseInteract IELayerInteractItems{miMoveLayers, miResizeLayers, miRotateLayers};
