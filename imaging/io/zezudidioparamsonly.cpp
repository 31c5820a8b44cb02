// Parameters-only reads of TZezudIdIO: the readers fill the parameters and leave the picture
// alone. Failure shows as FileType 0. They always run on the caller's thread.
#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/pcxfilter.h"
#include "imaging/io/pngfilt.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

namespace {

constexpr Integer ParamsReadBufferSize = 8192;

}  // namespace

void TZezudIdIO::ReadParamsOnly(TStream* Stream, TIEFileType FileType) {
  TIEIOProgress Progress = MakeSilentProgress();
  switch (FileType) {
    case ioTIFF: {
      Integer PageCount = 0;
      std::unique_ptr<TIEMask> AlphaMask;
      TiffReadStream(FIEBitmap, Stream, PageCount, *FParams, Progress, true, AlphaMask, true, true, false);
      return;
    }
    case ioJPEG:
      JpegReadStream(Stream, nullptr, FIEBitmap, *FParams, Progress, true, false, true, false, true, true, -1,
                     FParams->NativePixelFormat);
      return;
    case ioPNG:
      PngReadStream(Stream, FIEBitmap, *FParams, Progress, true);
      return;
    case ioPCX:
      PcxReadStream(Stream, FIEBitmap, *FParams, Stream->GetSize(), Progress, true);
      return;
    case ioDCX:
      DcxReadStream(Stream, FIEBitmap, *FParams, Progress, true);
      return;
    case ioGIF:
      if (IEFormatProcs.GifReadStream) {
        Integer FrameCount = 0;
        std::unique_ptr<TIEMask> AlphaMask;
        IEFormatProcs.GifReadStream(Stream, FIEBitmap, FrameCount, *FParams, Progress, true, AlphaMask, true);
        return;
      }
      break;
    case ioBMP:
      if (IEFormatProcs.BmpReadStream) {
        std::unique_ptr<TIEMask> AlphaMask;
        IEFormatProcs.BmpReadStream(Stream, FIEBitmap, Stream->GetSize(), *FParams, Progress, true, false,
                                    AlphaMask, !FParams->BmpHandleAlpha);
        return;
      }
      break;
    case ioDICOM:
      if (IEFormatProcs.DicomReadStream) {
        IEFormatProcs.DicomReadStream(Stream, *FParams, FIEBitmap, Progress, true);
        return;
      }
      break;
    case ioRAW:
      if (IEFormatProcs.CameraRawReadStream) {
        IEFormatProcs.CameraRawReadStream(Stream, FIEBitmap, *FParams, Progress, true);
        return;
      }
      break;
    case ioJP2:
    case ioJ2K:
      if (IEFormatProcs.Jpeg2000ReadStream) {
        IEFormatProcs.Jpeg2000ReadStream(Stream, FIEBitmap, *FParams, true, Progress);
        return;
      }
      break;
    case ioPSD:
      if (IEFormatProcs.PsdReadStream) {
        IEFormatProcs.PsdReadStream(Stream, nullptr, *FParams, Progress, false, nullptr);
        return;
      }
      break;
    case ioTGA:
      if (IEFormatProcs.TgaReadStream) {
        std::unique_ptr<TIEMask> AlphaMask;
        IEFormatProcs.TgaReadStream(Stream, FIEBitmap, *FParams, Progress, true, AlphaMask, true);
        return;
      }
      break;
    case ioHDP:
      // The reader always decodes the frame: into a scratch picture, as these reads keep the
      // current one.
      if (IEFormatProcs.HdpReadStream) {
        TIEBitmap Scratch;
        IEFormatProcs.HdpReadStream(Stream, &Scratch, *FParams, Progress, true);
        return;
      }
      break;
    case ioWMF:
    case ioEMF:
      ParamsFromMetafile(Stream);
      return;
    case ioICO:
    case ioCUR:
      if (const auto Read = FileType == ioICO ? IEFormatProcs.IcoReadStream : IEFormatProcs.CurReadStream) {
        std::unique_ptr<TIEMask> AlphaMask;
        Read(Stream, FIEBitmap, *FParams, true, Progress, AlphaMask, true, false);
        return;
      }
      break;
    case ioPXM:
    case ioWBMP:
      if (const TIEReadFunction Read =
              FileType == ioPXM ? IEFormatProcs.PnmReadStream : IEFormatProcs.WbmpReadStream) {
        Read(Stream, FIEBitmap, *FParams, Progress, true);
        return;
      }
      break;
    default:
      // A built-in row's procedures are placeholders: only the other rows read through them.
      if (const TIEFileFormatInfo* Info = FindFileFormatInfo(FileType);
          Info && !Info->InternalFormat && Info->ReadFunction) {
        Info->ReadFunction(Stream, FIEBitmap, *FParams, Progress, true);
        return;
      }
      break;
  }
  // No reader for the code: a parameters read that found nothing must not look like success.
  SetAborting(true);
}

void TZezudIdIO::ParamsFromStreamFormat(TStream* Stream, TIEFileType FileType) {
  FParams->FileType = FileType;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  try {
    FParams->ResetInfo();
    FParams->FileType = FileType;
    TIEBufferedReadStream Buffered(Stream, ParamsReadBufferSize, false);
    SetAborting(false);
    ReadParamsOnly(&Buffered, FileType);
  } catch (...) {
    FParams->FileType = ioUnknown;
  }
  if (GetAborting()) FParams->FileType = ioUnknown;
}

void TZezudIdIO::ParamsFromFileFormat(const std::u16string& FileName, TIEFileType FileType) {
  FParams->FileType = FileType;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  try {
    FParams->ResetInfo();
    FParams->FileType = FileType;
    const std::unique_ptr<TStream> File = OpenFileForLoad(FileName);
    TIEBufferedReadStream Buffered(File.get(), ParamsReadBufferSize, false);
    ReadParamsOnly(&Buffered, FileType);
  } catch (...) {
    FParams->FileType = ioUnknown;
  }
  if (GetAborting()) FParams->FileType = ioUnknown;
  FParams->FileName = FileName;
}

void TZezudIdIO::ParamsFromFile(const std::u16string& FileName) {
  TIEFileType FileType = ioUnknown;
  try {
    FileType = FindFileFormat(FileName, true);
  } catch (...) {
    FParams->FileType = ioUnknown;
  }
  ParamsFromFileFormat(FileName, FileType);
}

void TZezudIdIO::ParamsFromStream(TStream* Stream) {
  TIEFileType FileType = ioUnknown;
  try {
    FileType = DetectStreamFormat(Stream);
  } catch (...) {
    FParams->FileType = ioUnknown;
  }
  ParamsFromStreamFormat(Stream, FileType);
}

void TZezudIdIO::ParamsFromBuffer(const void* Buffer, Integer BufferSize, TIEFileType FileType) {
  if (!Buffer || BufferSize <= 0) {
    SetAborting(true);
    return;
  }
  TIEMemStream Stream(Buffer, BufferSize);
  if (FileType != ioUnknown)
    ParamsFromStreamFormat(&Stream, FileType);
  else
    ParamsFromStream(&Stream);
}
