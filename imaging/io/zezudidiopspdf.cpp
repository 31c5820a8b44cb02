// TZezudIdIO's PostScript and PDF operations over the further-formats library's document
// writers, and the closers of a multi-page document left open.
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/iedocumentstates.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

void TZezudIdIO::WriteDocumentStream(TStream* Stream, TIEWriteFunction Write) {
  SetAborting(false);
  if (!PictureReady()) return;
  // Without the further-formats library there is no writer: the save fails.
  if (!Write) {
    SetAborting(true);
    return;
  }
  ConvertForWriter();
  TIEIOProgress Progress = MakeProgress();
  // The writers raise the stream's exception on a failed write; it passes on, but the outcome
  // must not read as a success.
  try {
    Write(Stream, FIEBitmap, *FParams, Progress);
  } catch (...) {
    SetAborting(true);
    throw;
  }
}

void TZezudIdIO::SaveToFilePS(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFilePS, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(
      FileName, [this](TStream* Stream) { WriteDocumentStream(Stream, IEFormatProcs.PostScriptAddPage); });
  FParams->FileName = FileName;
  FParams->FileType = ioPS;
}

void TZezudIdIO::SaveToStreamPS(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamPS, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteDocumentStream(Stream, IEFormatProcs.PostScriptAddPage);
}

void TZezudIdIO::SaveToFilePDF(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFilePDF, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName,
                     [this](TStream* Stream) { WriteDocumentStream(Stream, IEFormatProcs.PdfAddPage); });
  FParams->FileName = FileName;
  FParams->FileType = ioPDF;
}

void TZezudIdIO::SaveToStreamPDF(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamPDF, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteDocumentStream(Stream, IEFormatProcs.PdfAddPage);
}

void TZezudIdIO::ClosePSDocument() {
  if (FPSDocument && IEFormatProcs.PostScriptEndFile)
    IEFormatProcs.PostScriptEndFile(std::move(FPSDocument), FPSDocumentStream.get());
  FPSDocument.reset();
  FPSDocumentStream.reset();
}

void TZezudIdIO::ClosePDFDocument() {
  if (FPDFDocument && IEFormatProcs.PdfWriteDocument)
    IEFormatProcs.PdfWriteDocument(std::move(FPDFDocument), FPDFDocumentStream.get(), *FParams);
  FPDFDocument.reset();
  FPDFDocumentStream.reset();
}
