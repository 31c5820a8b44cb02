#pragma once
// The picture data both document writers (PostScript and PDF) carry: the picture in one of the
// two forms they write, its 1-bit rows joined, fax-coded or as red, green, blue rows, and its
// JPEG form (written by the I/O library's JPEG writer). Rows run top first; every row loop reports progress
// through the record.
#include <memory>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;

// Bitmap itself when it is ie1g or ie24RGB, else a 24-bit copy kept in Converted.
TIEBitmap* IEDocumentPicture(TIEBitmap* Bitmap, std::unique_ptr<TIEBitmap>& Converted);

// An empty picture makes no page: the abort flag is set and the answer is true.
bool IERefuseEmptyPicture(TIEBitmap* Bitmap, TIEIOProgress& Progress);

// Bits and samples of the picture as the writers record them: 1 and 1 for ie1g, else 8 and 3.
void IESetDocumentSampleLayout(TIEBitmap* Bitmap, TIOParamsVals& IOParams);

// Bytes of one 1-bit row without padding.
inline Integer IEPackedRowBytes(Integer Width) {
  return (Width + 7) / 8;
}

// Every row of an ie1g picture, (Width + 7) div 8 bytes each, one after the other.
std::vector<Byte> IEJoined1BitRows(TIEBitmap* Bitmap, TIEIOProgress& Progress);

// The rows of an ie1g picture as one CCITT strip into Stream: Group 4 when G4, else Group 3
// two-dimensional. The encoders stop coding on the record's abort flag but the strip is closed.
void IEFaxEncodeRows(TIEBitmap* Bitmap, bool G4, TStream* Stream, TIEIOProgress& Progress);

// Width pixels of an ie24RGB row (blue, green, red) in red, green, blue order.
void IEBGRToRGB(const Byte* Row, Integer Width, Byte* RGB);
