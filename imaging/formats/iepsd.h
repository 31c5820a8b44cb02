#pragma once
// The Photoshop PSD filter (version 1 files): the merged picture and the layers with their
// user masks, resolution, IPTC, ICC profile, XMP and the JPEG thumbnail from the image
// resources. Reading never raises for bad data: it sets the abort flag or stops where the data
// ends; every resource length, layer count, channel length and PackBits row is bounded by the
// data before use, and a claimed size is weighed against the bytes left before allocation.
#include "imaging/core/hyiedefs.h"
#include "imaging/io/iepsdlayer.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;

// True for a 26-byte "8BPS" version 1 header with 1 .. 24 channels, a depth of 1 .. 16 and a
// colour mode below 10; the stream position is restored.
bool PsdIsFile(TStream* Stream);

// Reads the file at the stream position. Bitmap (may be nil: parameters only) receives the
// merged picture unless layers are loaded. Layers (may be nil) receives the layers when
// LoadLayers is set, or the only layer of a one-layer file; the merged picture is read only
// when the list stays empty. Pictures become ie24RGB (ie1g stays) unless NativePixelFormat.
void PsdReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool LoadLayers, TIEPsdLayerList* Layers);

// Writes Bitmap as the merged picture and Layers as the layer records, every channel
// PackBits-packed. The colour mode follows Bitmap's pixel format; ieNull and ie32f, and
// pictures wider or higher than 30000 pixels, set the abort flag and write nothing. Layer
// bitmaps of another pixel format are written through converted copies. A short write sets
// the abort flag.
void PsdWriteStream(TStream* Stream, TIOParamsVals& IOParams, TIEIOProgress& Progress, TIEBitmap* Bitmap,
                    const TIEPsdLayerList& Layers);

// One row of Count bytes as PackBits runs and literals; returns the bytes written to Out, which
// must hold Count + Count / 128 + 1 bytes.
Integer PsdPackRow(const Byte* Row, Integer Count, Byte* Out);
