// The save dispatchers of TZezudIdIO: by extension and by format code, and saving through a
// registry row's write procedure.
#include <array>
#include <string_view>

#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

namespace {

// The extensions the component saves with its own operations, first match wins; the others
// go through the registry.
struct TOwnSaver {
  std::string_view Extensions;  // each with its dot and a trailing ';'
  void (TZezudIdIO::*Save)(const std::u16string&);
};
constexpr std::array<TOwnSaver, 17> OwnSavers = {{
    {".tif;.tiff;.fax;.g3f;.g3n;", &TZezudIdIO::SaveToFileTIFF},
    {".jpg;.jpeg;.jpe;.jif;", &TZezudIdIO::SaveToFileJpeg},
    {".pcx;", &TZezudIdIO::SaveToFilePCX},
    {".dcx;", &TZezudIdIO::SaveToFileDCX},
    {".gif;", &TZezudIdIO::SaveToFileGIF},
    {".png;", &TZezudIdIO::SaveToFilePNG},
    {".bmp;.dib;.rle;", &TZezudIdIO::SaveToFileBMP},
    {".pxm;.ppm;.pgm;.pbm;", &TZezudIdIO::SaveToFilePXM},
    {".wbmp;", &TZezudIdIO::SaveToFileWBMP},
    {".ps;.eps;", &TZezudIdIO::SaveToFilePS},
    {".pdf;", &TZezudIdIO::SaveToFilePDF},
    {".tga;.targa;.vda;.icb;.vst;.pix;", &TZezudIdIO::SaveToFileTGA},
    {".ico;", &TZezudIdIO::SaveToFileICO},
    {".psd;", &TZezudIdIO::SaveToFilePSD},
    {".jp2;", &TZezudIdIO::SaveToFileJP2},
    {".j2k;.jpc;.j2c;", &TZezudIdIO::SaveToFileJ2K},
    {".hdp;.wdp;", &TZezudIdIO::SaveToFileHDP},
}};

bool ListsExtension(std::string_view Extensions, const std::string& Ext) {
  for (size_t Start = 0; Start < Extensions.size();) {
    const size_t End = Extensions.find(';', Start);
    if (Extensions.substr(Start, End - Start) == Ext) return true;
    Start = End + 1;
  }
  return false;
}

// A built-in row's placeholder writes nothing: saving through it would leave an empty file
// under a success.
bool HasWriter(const TIEFileFormatInfo* Info) {
  return Info && Info->WriteFunction && Info->WriteFunction != IEPlaceholderWrite;
}

}  // namespace

void TZezudIdIO::SaveToFile(const std::u16string& FileName) {
  if (FileName.empty()) return;
  const std::string Ext = LowerExtension(FileName);
  for (const TOwnSaver& Saver : OwnSavers) {
    if (ListsExtension(Saver.Extensions, Ext)) {
      (this->*Saver.Save)(FileName);
      return;
    }
  }
  const TIEFileFormatInfo* Info = FindFileFormatInfoByExtension(Ext);
  if (!HasWriter(Info)) {
    SetAborting(true);
    return;
  }
  if (HandToThread(&TZezudIdIO::SaveToFile, FileName)) return;
  SaveExternalFile(FileName, *Info);
}

void TZezudIdIO::SaveExternalFile(const std::u16string& FileName, const TIEFileFormatInfo& Info) {
  SetAborting(true);
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!MakeConsistentBitmap({})) return;
  ConvertForWriter();
  WriteReplacingFile(FileName, [&](TStream* Stream) {
    TIEIOProgress Progress = MakeProgress();
    FParams->FileName = FileName;
    FParams->FileType = Info.FileType;
    Info.WriteFunction(Stream, FIEBitmap, *FParams, Progress);
  });
  FParams->FileName = FileName;
  FParams->FileType = Info.FileType;
}

void TZezudIdIO::SaveToStream(TStream* Stream, TIEFileType FileType) {
  switch (FileType) {
    case ioTIFF:
      SaveToStreamTIFF(Stream);
      return;
    case ioJPEG:
      SaveToStreamJpeg(Stream);
      return;
    case ioBMP:
      SaveToStreamBMP(Stream);
      return;
    case ioPXM:
      SaveToStreamPXM(Stream);
      return;
    case ioWBMP:
      SaveToStreamWBMP(Stream);
      return;
    case ioPS:
      SaveToStreamPS(Stream);
      return;
    case ioPDF:
      SaveToStreamPDF(Stream);
      return;
    case ioTGA:
      SaveToStreamTGA(Stream);
      return;
    case ioICO:
      SaveToStreamICO(Stream);
      return;
    case ioPSD:
      SaveToStreamPSD(Stream);
      return;
    case ioJP2:
      SaveToStreamJP2(Stream);
      return;
    case ioJ2K:
      SaveToStreamJ2K(Stream);
      return;
    case ioHDP:
      SaveToStreamHDP(Stream);
      return;
    case ioPNG:
      SaveToStreamPNG(Stream);
      return;
    case ioPCX:
      SaveToStreamPCX(Stream);
      return;
    case ioDCX:
      SaveToStreamDCX(Stream);
      return;
    case ioGIF:
      SaveToStreamGIF(Stream);
      return;
    default:
      break;
  }
  const TIEFileFormatInfo* Info = FindFileFormatInfo(FileType);
  if (!HasWriter(Info)) {
    SetAborting(true);
    return;
  }
  if (HandToThread(&TZezudIdIO::SaveToStream, Stream, FileType)) return;
  SaveExternalStream(Stream, *Info);
}

void TZezudIdIO::SaveExternalStream(TStream* Stream, const TIEFileFormatInfo& Info) {
  SetAborting(false);
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!MakeConsistentBitmap({})) return;
  ConvertForWriter();
  TIEIOProgress Progress = MakeProgress();
  FParams->FileType = Info.FileType;
  Info.WriteFunction(Stream, FIEBitmap, *FParams, Progress);
}
