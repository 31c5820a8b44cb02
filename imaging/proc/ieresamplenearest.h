#pragma once
// Resamplers without weights: nearest neighbour for every pixel format, and the projections to
// 1 bit that keep thin dark (mode 0) or bright (mode 1) details of a reduced picture.
#include "imaging/core/hyiedefs.h"

class TIEBitmap;

// Dest is allocated at the target size in the source's pixel format; returns Dest.
TIEBitmap* IEResampleNearest(TIEBitmap* Source, TIEBitmap* Dest, TIEProgressEvent OnProgress,
                             TObject* Sender);
// Source ie24RGB; Dest becomes ie1g at its size. Returns Dest.
TIEBitmap* IEProjectRGBTo1Bit(TIEBitmap* Source, TIEBitmap* Dest, Integer Mode, TIEProgressEvent OnProgress,
                              TObject* Sender);
// Source ie1g; Dest becomes ie1g at its size. Returns Dest.
TIEBitmap* IEProject1Bit(TIEBitmap* Source, TIEBitmap* Dest, Integer Mode, TIEProgressEvent OnProgress,
                         TObject* Sender);
