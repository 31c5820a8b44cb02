// The HD Photo filter procedures over the imaging component's reader and writer.
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iewic.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

void ReportStart(TIEIOProgress& Progress) {
  if (Progress.OnProgress) Progress.OnProgress(Progress.Sender, 0);
}

}  // namespace

void HdpReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                   bool /*Preview: the frame is decoded either way*/) {
  ReportStart(Progress);
  {
    TIEWICReader Reader;
    Reader.OpenStream(Stream, ioHDP);
    Reader.ReadFrame(IOParams.ImageIndex, Bitmap, &IOParams, Progress.Aborting);
  }
  ReportStart(Progress);
}

void HdpWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress) {
  if (!WicAvailable()) return IESetAborting(Progress);
  ReportStart(Progress);
  const Int64 Start = Stream->GetPosition();
  bool Written = false;
  {
    TIEWICWriter Writer;
    if (Writer.OpenStream(Stream, ioHDP) && Writer.WriteFrame(Bitmap, &IOParams)) Written = Writer.Close();
  }
  if (!Written) return IESetAborting(Progress);
  Stream->Seek(Start, soBeginning);
  // The file's tags are those of a TIFF first page, so the parameters' tags join them there.
  TiffInjectExif(Stream, Stream, {}, {}, 0, IOParams);
  ReportStart(Progress);
}
