// The load dispatchers of TZezudIdIO: by extension, by content, by format code, from memory;
// and loading through a registry row's read procedure.
#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"

bool TZezudIdIO::LoadOwnFormatFile(const std::u16string& FileName, TIEFileType FileType) {
  switch (FileType) {
    case ioTIFF:
      LoadFromFileTIFF(FileName);
      return true;
    case ioJPEG:
      LoadFromFileJpeg(FileName);
      return true;
    case ioBMP:
      LoadFromFileBMP(FileName);
      return true;
    case ioPXM:
      LoadFromFilePXM(FileName);
      return true;
    case ioWBMP:
      LoadFromFileWBMP(FileName);
      return true;
    case ioTGA:
      LoadFromFileTGA(FileName);
      return true;
    case ioICO:
      LoadFromFileICO(FileName);
      return true;
    case ioWMF:
    case ioEMF:
      LoadFromFileMetafile(FileName, -1, -1, true);
      return true;
    case ioCUR:
      LoadFromFileCUR(FileName);
      return true;
    case ioBMPRAW:
      LoadFromFileRawBitmap(FileName);
      return true;
    case ioPSD:
      LoadFromFilePSD(FileName);
      return true;
    case ioJP2:
      LoadFromFileJP2(FileName);
      return true;
    case ioJ2K:
      LoadFromFileJ2K(FileName);
      return true;
    case ioHDP:
      LoadFromFileHDP(FileName);
      return true;
    case ioPNG:
      LoadFromFilePNG(FileName);
      return true;
    case ioPCX:
      LoadFromFilePCX(FileName);
      return true;
    case ioDCX:
      LoadFromFileDCX(FileName);
      return true;
    case ioDICOM:
      LoadFromFileDICOM(FileName);
      return true;
    case ioRAW:
      LoadFromFileCameraRaw(FileName);
      return true;
    case ioGIF:
      LoadFromFileGIF(FileName);
      return true;
    case ioIEV:
    case ioLYR:
    case ioALL:
      LoadViewDataFromFile(FileName, FileType);
      return true;
    default:
      return false;
  }
}

bool TZezudIdIO::LoadOwnFormatStream(TStream* Stream, TIEFileType FileType) {
  switch (FileType) {
    case ioTIFF:
      LoadFromStreamTIFF(Stream);
      return true;
    case ioJPEG:
      LoadFromStreamJpeg(Stream);
      return true;
    case ioBMP:
      LoadFromStreamBMP(Stream);
      return true;
    case ioPXM:
      LoadFromStreamPXM(Stream);
      return true;
    case ioWBMP:
      LoadFromStreamWBMP(Stream);
      return true;
    case ioTGA:
      LoadFromStreamTGA(Stream);
      return true;
    case ioICO:
      LoadFromStreamICO(Stream);
      return true;
    case ioWMF:
    case ioEMF:
      LoadFromStreamMetafile(Stream, -1, -1, true);
      return true;
    case ioCUR:
      LoadFromStreamCUR(Stream);
      return true;
    case ioBMPRAW:
      LoadFromStreamRawBitmap(Stream);
      return true;
    case ioPSD:
      LoadFromStreamPSD(Stream);
      return true;
    case ioJP2:
      LoadFromStreamJP2(Stream);
      return true;
    case ioJ2K:
      LoadFromStreamJ2K(Stream);
      return true;
    case ioHDP:
      LoadFromStreamHDP(Stream);
      return true;
    case ioPNG:
      LoadFromStreamPNG(Stream);
      return true;
    case ioPCX:
      LoadFromStreamPCX(Stream);
      return true;
    case ioDCX:
      LoadFromStreamDCX(Stream);
      return true;
    case ioDICOM:
      LoadFromStreamDICOM(Stream);
      return true;
    case ioRAW:
      LoadFromStreamCameraRaw(Stream);
      return true;
    case ioGIF:
      LoadFromStreamGIF(Stream);
      return true;
    case ioIEV:
    case ioLYR:
    case ioALL:
      LoadViewDataFromStream(Stream, FileType);
      return true;
    default:
      return false;
  }
}

bool TZezudIdIO::BeginExternalLoad(const TIEFileFormatInfo& Info) {
  FParams->FileName.clear();
  FParams->FileType = ioUnknown;
  FParams->ResetInfo();
  // A built-in row's placeholder reads nothing: a load through it would be a silent success.
  if (Info.ReadFunction && Info.ReadFunction != IEPlaceholderRead) return true;
  FailWork();
  return false;
}

void TZezudIdIO::LoadExternalFile(const std::u16string& FileName, const TIEFileFormatInfo& Info,
                                  bool CatchReader) {
  SetAborting(true);
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!MakeConsistentBitmap({})) return;
  const std::unique_ptr<TStream> File = OpenFileForLoad(FileName);
  TIEIOProgress Progress = MakeProgress();
  FParams->FileName = FileName;
  FParams->FileType = Info.FileType;
  try {
    Info.ReadFunction(File.get(), FIEBitmap, *FParams, Progress, false);
  } catch (...) {
    if (!CatchReader) throw;
    SetAborting(true);
  }
  if (!GetAborting()) AdjustAndShowDPI();
  UpdateAttachedView();
}

void TZezudIdIO::LoadExternalStream(TStream* Stream, const TIEFileFormatInfo& Info) {
  FParams->ResetInfo();
  FParams->FileName.clear();
  FParams->FileType = ioUnknown;
  if (!Info.ReadFunction || Info.ReadFunction == IEPlaceholderRead) {
    FailWork();
    return;
  }
  SetAborting(false);
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!MakeConsistentBitmap({})) return;
  TIEIOProgress Progress = MakeProgress();
  FParams->FileType = Info.FileType;
  Info.ReadFunction(Stream, FIEBitmap, *FParams, Progress, false);
  AdjustAndShowDPI();
  UpdateAttachedView();
}

void TZezudIdIO::LoadFromFile(const std::u16string& FileName) {
  if (!FIEBitmap) return;
  if (IEGetURLTypeW(FileName) != 0) {
    LoadFromURL(FileName);
    return;
  }
  if (LowerExtension(FileName) == ".avi") {
    OpenAVIFile(FileName);
    if (!GetAborting()) {
      // The frame is read here also in asynchronous mode: the movie is closed right after.
      const bool Kept = FKeepOnCallerThread;
      FKeepOnCallerThread = true;
      auto Restore = ScopeExit([&] { FKeepOnCallerThread = Kept; });
      LoadFromAVI(FParams->ImageIndex);
    } else {
      DoFinishWork();
    }
    CloseAVIFile();
    FParams->FileName = FileName;
    FParams->FileType = ioAVI;
    return;
  }
  const TIEFileFormatInfo* Info =
      FileName.empty() ? nullptr : FindFileFormatInfoByExtension(LowerExtension(FileName));
  if (!Info) {
    FailWork();
    return;
  }
  if (Info->InternalFormat && LoadOwnFormatFile(FileName, Info->FileType)) return;
  if (!BeginExternalLoad(*Info) || HandToThread(&TZezudIdIO::LoadFromFile, FileName)) return;
  LoadExternalFile(FileName, *Info, true);
}

void TZezudIdIO::LoadFromFileAuto(const std::u16string& FileName) {
  const TIEFileType FileType = FindFileFormat(FileName, false);
  if (FileType != ioUnknown)
    LoadFromFileFormat(FileName, FileType);
  else
    LoadFromFile(FileName);
}

void TZezudIdIO::LoadFromFileFormat(const std::u16string& FileName, TIEFileType FileType) {
  const TIEFileFormatInfo* Info = FindFileFormatInfo(FileType);
  if (!Info) {
    FailWork();  // no filter for this format yet
    return;
  }
  if (Info->InternalFormat) {
    if (!LoadOwnFormatFile(FileName, FileType)) LoadFromFile(FileName);
    return;
  }
  if (!BeginExternalLoad(*Info) || HandToThread(&TZezudIdIO::LoadFromFileFormat, FileName, FileType)) return;
  LoadExternalFile(FileName, *Info, false);
}

void TZezudIdIO::LoadFromStream(TStream* Stream) {
  const Int64 Start = Stream->GetPosition();
  const TIEFileFormatInfo* Info = FindFileFormatInfo(DetectStreamFormat(Stream));
  Stream->SetPosition(Start);
  if (!Info) {
    FailWork();  // not recognised, or no filter for it yet: the picture stays
    return;
  }
  if (Info->InternalFormat) {
    LoadOwnFormatStream(Stream, Info->FileType);
    return;
  }
  if (HandToThread(&TZezudIdIO::LoadFromStream, Stream)) return;
  LoadExternalStream(Stream, *Info);
}

void TZezudIdIO::LoadFromStreamFormat(TStream* Stream, TIEFileType FileType) {
  if (FileType == ioUnknown) {
    LoadFromStream(Stream);
    return;
  }
  const TIEFileFormatInfo* Info = FindFileFormatInfo(FileType);
  if (!Info) {
    FailWork();  // no filter for this format yet
    return;
  }
  if (Info->InternalFormat) {
    LoadOwnFormatStream(Stream, FileType);
    return;
  }
  if (HandToThread(&TZezudIdIO::LoadFromStreamFormat, Stream, FileType)) return;
  LoadExternalStream(Stream, *Info);
}

void TZezudIdIO::LoadFromBuffer(const void* Buffer, Integer BufferSize, TIEFileType FileType) {
  if (!Buffer || BufferSize <= 0) {
    SetAborting(true);
    return;
  }
  TIEMemStream Stream(Buffer, BufferSize);
  // The stream lives on this frame, so no worker may read it later.
  const bool Kept = FKeepOnCallerThread;
  FKeepOnCallerThread = true;
  auto Restore = ScopeExit([&] { FKeepOnCallerThread = Kept; });
  if (FileType != ioUnknown)
    LoadFromStreamFormat(&Stream, FileType);
  else
    LoadFromStream(&Stream);
}
