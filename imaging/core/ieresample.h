#pragma once
// Resampling that drawing needs: the filtered resamplers belong to the processing library,
// which puts them into IEResampleHooks at its start-up; until then (and in programs without
// it) a plain box resampler stands in: each destination pixel averages the source pixels its
// box covers, or repeats the nearest one when enlarging. The 1-bit-to-grey reduction is the
// core's own.
#include <memory>

#include "imaging/core/hyiedefs.h"

class TIEBitmap;

// Fills the allocated Dest (its size is the target size) from the whole Source.
using TIEResampleProc = void (*)(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter);
using TIEResampleProgressProc = void (*)(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter,
                                         TIEProgressEvent OnProgress, TObject* Sender);
struct TIEResampleHooks {
  TIEResampleProgressProc Filtered = nullptr;  // any format but ie1g; Dest may become ie24RGB
  TIEResampleProc Gray8 = nullptr;             // ie8g to ie8g (alpha channels)
  TIEResampleProc OneBit = nullptr;            // ie1g to ie1g (rfProjectBW, rfProjectWB) or ie24RGB
};
extern TIEResampleHooks IEResampleHooks;

// OnProgress is called only by the hooked resampler.
void IEResampleFiltered(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter,
                        TIEProgressEvent OnProgress = {}, TObject* Sender = nullptr);
void IEResampleGray8(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter);
// Dest ie1g keeps the black (rfProjectBW) or the white (rfProjectWB) pixels; an ie24RGB Dest
// gets grey levels.
void IEResample1Bit(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter);

// The rectangle X1..X2, Y1..Y2 (inclusive) of a 1-bit Source into the whole allocated ie24RGB
// Dest, each pixel grey by the share of set bits it covers. Nothing when either has no size.
void IEResample1BitToGray24(TIEBitmap* Source, Integer X1, Integer Y1, Integer X2, Integer Y2,
                            TIEBitmap* Dest);

// The source rectangle (inside the source) of an ie1g or ie24RGB bitmap resampled to Width x
// Height for drawing it: filtered (with the alpha channel when WithAlpha) when enlarging, for
// ie24RGB, with alpha or for the projecting filters; an ie1g reduction without alpha becomes
// grey levels. Nil when a picture cannot be allocated.
std::unique_ptr<TIEBitmap> IEResampleRectForDrawing(TIEBitmap* Source, Integer SX, Integer SY, Integer SW,
                                                    Integer SH, Integer Width, Integer Height,
                                                    TResampleFilter Filter, bool WithAlpha);
