// The frame every load and save of TZezudIdIO follows: the background rule, the abort flag
// around opening files, the progress record, the picture prepared for readers and writers,
// and the resolution steps after a load.
#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/io/ieiothread.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Strings.h"

bool TZezudIdIO::MustRunNow() {
  return GetOwnsIEBitmap() || !FAsyncMode || FKeepOnCallerThread || InWorkerThread();
}

bool TZezudIdIO::HandToThread(TIEIOThread::TFileProc Operation, const std::u16string& FileName) {
  if (MustRunNow()) return false;
  TThread::Create<TIEIOThread>(this, Operation, FileName);
  return true;
}

bool TZezudIdIO::HandToThread(TIEIOThread::TStreamProc Operation, TStream* Stream) {
  if (MustRunNow()) return false;
  TThread::Create<TIEIOThread>(this, Operation, Stream);
  return true;
}

bool TZezudIdIO::HandToThread(TIEIOThread::TFileFunc Operation, const std::u16string& FileName) {
  if (MustRunNow()) return false;
  TThread::Create<TIEIOThread>(this, Operation, FileName);
  return true;
}

bool TZezudIdIO::HandToThread(TIEIOThread::TStreamFunc Operation, TStream* Stream) {
  if (MustRunNow()) return false;
  TThread::Create<TIEIOThread>(this, Operation, Stream);
  return true;
}

bool TZezudIdIO::HandToThread(TIEIOThread::TFileFormatProc Operation, const std::u16string& FileName,
                              TIEFileType FileType) {
  if (MustRunNow()) return false;
  TThread::Create<TIEIOThread>(this, Operation, FileName, FileType);
  return true;
}

bool TZezudIdIO::HandToThread(TIEIOThread::TStreamFormatProc Operation, TStream* Stream,
                              TIEFileType FileType) {
  if (MustRunNow()) return false;
  TThread::Create<TIEIOThread>(this, Operation, Stream, FileType);
  return true;
}

bool TZezudIdIO::HandToThread(TIEIOThread::TFrameProc Operation, Integer FrameIndex) {
  if (MustRunNow()) return false;
  TThread::Create<TIEIOThread>(this, Operation, FrameIndex);
  return true;
}

TIEIOProgress TZezudIdIO::MakeProgress() {
  TIEIOProgress Progress;
  Progress.OnProgress = TIEProgressEvent(this, &TZezudIdIO::DoProgress);
  Progress.Sender = this;
  Progress.Aborting = &FAborting;
  return Progress;
}

TIEIOProgress TZezudIdIO::MakeSilentProgress() {
  TIEIOProgress Progress;
  Progress.Aborting = &FAborting;
  return Progress;
}

std::unique_ptr<TStream> TZezudIdIO::OpenFileForLoad(const std::u16string& FileName) {
  SetAborting(true);
  auto Stream = std::make_unique<TIEWideFileStream>(FileName, fmOpenRead | fmShareDenyWrite);
  SetAborting(false);
  return Stream;
}

void TZezudIdIO::WriteReplacingFile(const std::u16string& FileName,
                                    const std::function<void(TStream*)>& Writer) {
  SetAborting(true);
  TReplacingFileStream Stream(Utf16ToUtf8(FileName));
  SetAborting(false);
  Writer(&Stream);
  if (!GetAborting()) Stream.Commit();
}

void TZezudIdIO::ConvertForWriter() {
  const TIEPixelFormat Format = FIEBitmap->GetPixelFormat();
  if (Format != ie24RGB && Format != ie1g) FIEBitmap->ConvertToPixelFormat(ie24RGB);
}

bool TZezudIdIO::PictureReady() {
  if (MakeConsistentBitmap({})) return true;
  SetAborting(true);
  return false;
}

bool TZezudIdIO::BeginLoad() {
  if (!PictureReady()) return false;
  FParams->ResetInfo();
  FIEBitmap->RemoveAlphaChannel(false, 0);
  return true;
}

void TZezudIdIO::EndLoad(const std::u16string& FileName, TIEFileType FileType) {
  ApplyDefaultDPI();
  AdjustAndShowDPI();
  FParams->FileName = FileName;
  FParams->FileType = FileType;
  UpdateAttachedView();
}

void TZezudIdIO::ApplyDefaultDPI() {
  if (FParams->DpiX < 2) FParams->SetDpiX(DefaultDpiX);
  if (FParams->DpiY < 2) FParams->SetDpiY(DefaultDpiY);
}

void TZezudIdIO::AdjustAndShowDPI() {
  if (FAutoAdjustDPI) AdjustDPI();
  UpdateViewDPI();
}

std::string TZezudIdIO::LowerExtension(const std::u16string& FileName) {
  return Utf16ToUtf8(IEExtractFileExtW(FileName));
}
