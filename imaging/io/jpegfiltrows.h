#pragma once
// Row conversions between the codec's samples and the bitmap's rows, through the library's row
// colour conversion (IEConvertColorRowProc, or the core's own before the start-up set it).
#include "platform/system/Types.h"

class TIOParamsVals;

// Stored CMYK samples to a B-G-R row; Invert first turns ink amounts into the stored form
// (the samples are changed in place).
void JpegCMYKRowToBGR(Byte* CMYK, Byte* BGR, Integer Count, bool Invert, TIOParamsVals& IOParams);
// A B-G-R row through the picture's colour profiles.
void JpegManagedRowToBGR(Byte* Source, Byte* BGR, Integer Count, TIOParamsVals& IOParams);
// A B-G-R row to stored CMYK samples.
void JpegBGRRowToCMYK(Byte* BGR, Byte* CMYK, Integer Count, TIOParamsVals& IOParams);
