#pragma once
// The entry every resize of the imaging library goes through, and the filtered resamplers the
// core reaches through IEResampleHooks once IEInstallResampleHooks has run.
#include "imaging/core/hyiedefs.h"

class TIEBitmap;

// Dest is allocated at the target size; its pixel format may change here. The alpha channel
// follows the picture.
void ResampleBitmap(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter, TIEProgressEvent OnProgress,
                    TObject* Sender);

// The full resamplers behind the core's IEResampleFiltered, IEResampleGray8 and IEResample1Bit.
void IEResampleFilteredFull(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter,
                            TIEProgressEvent OnProgress, TObject* Sender);
void IEResampleGray8Full(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter);
void IEResample1BitFull(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter);

// Puts the resamplers above into the core's hooks, and takes them out again.
void IEInstallResampleHooks();
void IERemoveResampleHooks();
