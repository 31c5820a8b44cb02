#pragma once
// The PDF writer: a PDF 1.4 document whose pages each show one picture as an image XObject at
// the top left of the paper, scaled to fit it. The document is assembled in memory (the PDF
// object model of the imaging core) and written whole at the end; stream failures raise the
// stream's exceptions. There is no reader.
//
// Pictures are written as ie1g or ie24RGB; any other pixel format is written from a 24-bit copy
// (the caller's picture is never changed).
#include <memory>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;
struct PdfDocumentState;

// A complete one-page document at the stream's position.
void PdfAddPage(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress);

// A new document holding the catalog (object 1) and the shared resources (object 2).
std::unique_ptr<PdfDocumentState> PdfCreateDocument();
// Adds the picture as an image, its content stream and its page on the parameters' paper; the
// image is compressed by PdfCompression (0 none, 1 run-length, 2 fax G4, 3 fax G3 2-D, 4 JPEG,
// 5 LZW; a 1-bit picture takes G3 for JPEG, and the parameter says so afterwards; values above 5
// store the rows unpacked).
void PdfAddImagePage(PdfDocumentState& State, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                     TIEIOProgress& Progress);
// Adds the page tree and the information dictionary, writes the whole document at the stream's
// position and frees the state; nothing for a nil state.
void PdfWriteDocument(std::unique_ptr<PdfDocumentState> State, TStream* Stream, TIOParamsVals& IOParams);
