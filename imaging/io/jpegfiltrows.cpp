#include "imaging/io/jpegfiltrows.h"

#include "imaging/core/ieconvertcolorrow.h"
#include "imaging/core/ieicc.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidioparams.h"

namespace {

void ConvertRow(Byte* Source, Integer SourceLayout, Byte* Dest, Integer TargetLayout, Integer Count,
                TIOParamsVals& IOParams) {
  const TIEConvertColorRowProc Convert =
      IEConvertColorRowProc != nullptr ? IEConvertColorRowProc : IEConvertColorRow;
  Convert(Source, static_cast<Byte>(SourceLayout), Dest, static_cast<Byte>(TargetLayout), Count, &IOParams);
}

}  // namespace

void JpegCMYKRowToBGR(Byte* CMYK, Byte* BGR, Integer Count, bool Invert, TIOParamsVals& IOParams) {
  if (Invert)
    for (Byte *P = CMYK, *End = CMYK + static_cast<size_t>(Count) * 4; P != End; ++P)
      *P = static_cast<Byte>(255 - *P);
  ConvertRow(CMYK, iecCMYK, BGR, iecBGR, Count, IOParams);
}

void JpegManagedRowToBGR(Byte* Source, Byte* BGR, Integer Count, TIOParamsVals& IOParams) {
  ConvertRow(Source, iecBGR, BGR, iecBGR, Count, IOParams);
}

void JpegBGRRowToCMYK(Byte* BGR, Byte* CMYK, Integer Count, TIOParamsVals& IOParams) {
  ConvertRow(BGR, iecBGR, CMYK, iecCMYK, Count, IOParams);
}
