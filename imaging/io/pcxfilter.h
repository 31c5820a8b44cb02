#pragma once
// The PCX filter (a 128-byte header, run-length coded lines of one to four colour planes, an
// optional 256-colour palette at the end) and the DCX container (a table of page offsets in
// front of PCX pages).
//
// All entry points take the stream at the data, report failure through Progress.Aborting and
// raise nothing. Reads never go past the StreamSize bytes of a picture nor past the stream's
// end; a picture whose data ends early keeps its remaining rows as allocated.
//
// Files: pcxfilter.cpp (reading and the line codecs), pcxfilterwrite.cpp, pcxfilterdcx.cpp.
#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;

constexpr Integer PcxHeaderSize = 128;
constexpr Cardinal DcxMagic = 0x3ADE68B1;
constexpr Integer DcxMaxPages = 1024;

// One picture whose StreamSize bytes (header included) start at the stream position; a
// StreamSize beyond the stream's end is cut to it. With Preview only the parameters are filled.
// The picture becomes ie1g (one plane of 1 bit) or ie24RGB (everything else).
void PcxReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, Int64 StreamSize,
                   TIEIOProgress& Progress, bool Preview);

// Writes Bitmap as one picture at the stream position: 1 bit when the parameters' bits per
// sample is 1, else 4, 8 (a quantized palette) or 24 bits by bits per sample x samples per pixel
// (at most 3 samples); run-length coded unless PcxCompression is 0.
void PcxWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress);

// True when the stream holds a DCX container whose page offsets all lie inside the stream; the
// position is restored.
bool DcxIsFile(TStream* Stream);

// Page DcxImageIndex (clamped to the pages there are and stored back with SetImageIndex) of a
// DCX container.
void DcxReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool Preview);

// Rebuilds the whole stream as a DCX container with Bitmap inserted as page DcxImageIndex (before
// the old page of that index; appended when it equals the page count). A non-empty stream that
// is not a DCX container, an index outside 0 .. pages, or a page that fails to write leave the
// stream alone and fail the write.
void DcxWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress);

// Run-length codes Count samples of Source taken from index Start at Stride apart into
// Destination (room for 2 x Count + 1 bytes); an odd Count gets a literal zero byte appended.
// Returns the bytes produced.
Integer PcxEncodeLine(Byte* Destination, const Byte* Source, Integer Count, Integer Stride, Integer Start);
