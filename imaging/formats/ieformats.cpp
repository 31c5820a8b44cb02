#include "imaging/formats/ieformats.h"

#include "imaging/core/hyieutils.h"
#include "imaging/formats/giffilter.h"
#include "imaging/formats/giflzw.h"
#include "imaging/formats/iebmp.h"
#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iedicom.h"
#include "imaging/formats/ieico.h"
#include "imaging/formats/iejpeg2000.h"
#include "imaging/formats/iemetafile.h"
#include "imaging/formats/iepdfwriter.h"
#include "imaging/formats/iepngwrite.h"
#include "imaging/formats/iepnm.h"
#include "imaging/formats/iepostscript.h"
#include "imaging/formats/iepsd.h"
#include "imaging/formats/ierawbitmap.h"
#include "imaging/formats/ietgafil.h"
#include "imaging/formats/iewbmp.h"
#include "imaging/formats/iewic.h"
#include "imaging/formats/iewritework.h"
#include "imaging/formats/tiflzw.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieiolibrary.h"

namespace {

void RegisterFormatProcs() {
  IEFormatProcs.BmpReadStream = BmpReadStream;
  IEFormatProcs.BmpWriteStream = BmpWriteStream;
  IEFormatProcs.PngWriteStream = PngWriteStream;
  IEFormatProcs.TwoColorsTo1Bit = IETwoColorsTo1Bit;
  IEFormatProcs.PnmReadStream = PnmReadStream;
  IEFormatProcs.PnmWriteStream = PnmWriteStream;
  IEFormatProcs.PnmIsFile = PnmIsFile;
  IEFormatProcs.WbmpReadStream = WbmpReadStream;
  IEFormatProcs.WbmpWriteStream = WbmpWriteStream;
  IEFormatProcs.HdpReadStream = HdpReadStream;
  IEFormatProcs.HdpWriteStream = HdpWriteStream;
  IEFormatProcs.WicAvailable = WicAvailable;
  IEFormatProcs.PostScriptAddPage = PostScriptAddPage;
  IEFormatProcs.PostScriptEndFile = PostScriptEndFile;
  IEFormatProcs.PdfAddPage = PdfAddPage;
  IEFormatProcs.PdfWriteDocument = PdfWriteDocument;
  IEFormatProcs.GifReadStream = GifReadStream;
  IEFormatProcs.GifWriteStream = GifWriteStream;
  IEFormatProcs.TgaReadStream = TgaReadStream;
  IEFormatProcs.TgaWriteStream = TgaWriteStream;
  IEFormatProcs.TgaIsFile = TgaIsFile;
  IEFormatProcs.PsdReadStream = PsdReadStream;
  IEFormatProcs.PsdWriteStream = PsdWriteStream;
  IEFormatProcs.PsdIsFile = PsdIsFile;
  IEFormatProcs.Jpeg2000ReadStream = Jpeg2000ReadStream;
  IEFormatProcs.Jpeg2000WriteStream = Jpeg2000WriteStream;
  IEFormatProcs.Jpeg2000IsJp2File = Jpeg2000IsJp2File;
  IEFormatProcs.Jpeg2000IsCodeStream = Jpeg2000IsCodeStream;
  IEFormatProcs.HeaderlessRawReadStream = HeaderlessRawReadStream;
  IEFormatProcs.DicomReadStream = DicomReadStream;
  IEFormatProcs.DicomIsFile = DicomIsFile;
  IEFormatProcs.WmfIsFile = WmfIsFile;
  IEFormatProcs.EmfIsFile = EmfIsFile;
  IEFormatProcs.IcoReadStream = IcoReadStream;
  IEFormatProcs.CurReadStream = CurReadStream;
  IEFormatProcs.IcoWriteStream = IcoWriteStream;
  IEFormatProcs.IcoIsFile = IcoIsFile;
  IEFormatProcs.CurIsFile = CurIsFile;
  IEFormatProcs.CameraRawReadStream = CameraRawReadStream;
  IEFormatProcs.CameraRawIsFile = CameraRawIsFile;
}

}  // namespace

void IEFormatsInstall() {
  IEFormatsRegistration = RegisterFormatProcs;
  IERegisterLibraryHooks(iluJpeg2000, {Jpeg2000InitTables, Jpeg2000FreeTables});
  IESetLzwCodecs({GifLzwDecompress, GifLzwCompress, TiffLzwDecompress, TiffLzwCompress});
}
