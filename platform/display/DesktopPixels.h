#pragma once
// Pixels and shapes of a top-level window as a desktop window shows them.
#include <optional>
#include <vector>

#include "platform/user/DisplayBackend.h"

// How a window's pixels reach its desktop window.
enum class TDesktopPixels : Byte {
  Opaque,    // colour as it is, alpha 255
  Straight,  // premultiplied colour turned straight (its picture without the alpha), alpha 255
};

// Copies Rect (window coordinates, inside Src) of Src to Dst (32-bit 0xAARRGGBB rows of the
// desktop window, DstPitch bytes apart).
void CopyDesktopPixels(const TSurface& Src, const TRect& Rect, Byte* Dst, Integer DstPitch,
                       TDesktopPixels Mode);

// The rectangles (window coordinates) of the pixels a desktop window shows: inside the window region, not of
// the colour key and, when AlphaThreshold > 0 on a per-pixel alpha window, of at least that alpha. Nothing
// when the whole window shows.
std::optional<std::vector<TRect>> DesktopShape(const TTopLevelView& View, BYTE AlphaThreshold);
