#pragma once
// The PostScript writer: a Level 2 document whose pages print a picture fitted to the paper,
// its data run-length packed, fax coded or JPEG, carried as ASCII85 text so that the document
// stays 7-bit clean. Every line ends with CR LF. A document is a header, pages and a trailer
// around a PsDocumentState; stream failures raise the stream's exceptions. There is no reader.
//
// Pictures are written as ie1g or ie24RGB; any other pixel format is written from a 24-bit copy
// (the caller's picture is never changed).
#include <memory>
#include <string>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TMemoryStream;
class TIEBitmap;
class TIOParamsVals;
struct PsDocumentState;

// A complete one-page document at the stream's position.
void PostScriptAddPage(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress);

// Writes the header (title, paper bounding box, a page count of 0) and returns the new document.
std::unique_ptr<PsDocumentState> PostScriptBeginFile(TStream* Stream, TIOParamsVals& IOParams);
// Adds one page at the document's end on the parameters' paper and counts it in the header.
void PostScriptAppendPage(PsDocumentState& State, TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                          TIEIOProgress& Progress);
// Writes the trailer at the document's end and frees the state; nothing for a nil state.
void PostScriptEndFile(std::unique_ptr<PsDocumentState> State, TStream* Stream);

// One page: the picture fitted to PaperWidth x PaperHeight points from the top left corner.
void PostScriptWritePage(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                         Integer PageNumber, Integer PaperWidth, Integer PaperHeight);
// The page's encoded data (ie1g or ie24RGB) by PsCompression; returns the ASCII85 characters
// of data, without line breaks and end marks.
Integer PostScriptWriteImageData(TMemoryStream* MemoryStream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                                 TIEIOProgress& Progress);

// Value in decimal followed by blanks up to Width characters.
std::string PsPaddedInt(Integer Value, Integer Width);
