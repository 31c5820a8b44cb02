#pragma once
// The row kernels of AlphaBlend, for callers that blend raw 0xAARRGGBB rows themselves (the
// window manager composing layered windows). All four bytes of each pixel are blended; D and S
// hold N pixels.
#include "platform/system/Types.h"

// d := (s * a + d * (255 - a) + 127) div 255 on all four bytes.
void BlendConstantRow(DWORD* D, const DWORD* S, Integer N, DWORD A);
// Premultiplied source over destination, the source first scaled by the constant alpha A;
// lanes that overflow (a source that was not premultiplied) saturate at 255.
void BlendPremultipliedRow(DWORD* D, const DWORD* S, Integer N, DWORD A);
