#pragma once
// The JPEG 2000 filter: JP2 files and bare code streams, coded by OpenJPEG working directly on
// the caller's TStream. Reading keeps the top 8 bits of every sample and gives ie1g (one 1-bit
// component) or ie24RGB; writing takes ie24RGB or ie1g. Failures set the abort flag; nothing
// here raises for bad data, and the caller's stream is never closed.
#include <array>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;

// True when a JP2 signature box (12, "jP  ", 0x0D0A870A) starts at the stream's position; the
// position is restored.
bool Jpeg2000IsJp2File(TStream* Stream);
// True when the stream's position holds SOC followed by SIZ; the position is restored.
bool Jpeg2000IsCodeStream(TStream* Stream);

// Decodes the JP2 file or code stream at the stream's position into Bitmap and fills the
// parameters (ImageCount, BitsPerSample, SamplesPerPixel, sizes, default resolution). Preview
// fills the parameters only. Grey (1 or 2 components), RGB and YCbCr pictures are read; any
// other colour space, undecodable data or a picture over the reader's size limit sets the
// abort flag and leaves the bitmap unallocated.
void Jpeg2000ReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, bool Preview,
                        TIEIOProgress& Progress);

// Writes Bitmap (ie24RGB or ie1g) at the stream's position: Format 0 a JP2 file, 1 a code
// stream. J2000ColorSpace 0 writes grey, 1 and 2 RGB (with the alpha channel as a fourth
// component when it is not fully opaque); samples have BitsPerSample bits (1 for ie1g).
// J2000Rate is the coded size as a fraction of the uncompressed size (1 or more: lossless);
// J2000ProgressionOrder 0 is LRCP, 1 RLCP.
void Jpeg2000WriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, Integer Format,
                         TIEIOProgress& Progress);

// The YCbCr-to-RGB tables, indexed by the chroma byte.
struct TJpeg2000YCbCrTables {
  std::array<Integer, 256> CrR{};
  std::array<Integer, 256> CbB{};
  std::array<Integer, 256> CrG{};
  std::array<Integer, 256> CbG{};
};
const TJpeg2000YCbCrTables& Jpeg2000YCbCr();

// The library start-up and shut-down hooks of the filter.
void Jpeg2000InitTables();
void Jpeg2000FreeTables();
