#include "platform/media/AviFile.h"

void AVIFileInit() {}
void AVIFileExit() {}

HRESULT AVIFileOpenW(PAVIFILE* File, const std::u16string&, UINT, const void*) {
  if (File) *File = nullptr;
  return AVIERR_FILEOPEN;
}
ULONG AVIFileRelease(PAVIFILE) {
  return 0;
}
ULONG AVIFileAddRef(PAVIFILE) {
  return 0;
}
HRESULT AVIFileInfoW(PAVIFILE, AVIFILEINFOW*, LONG) {
  return AVIERR_BADHANDLE;
}
HRESULT AVIFileGetStream(PAVIFILE, PAVISTREAM* Stream, DWORD, LONG) {
  if (Stream) *Stream = nullptr;
  return AVIERR_NODATA;
}
HRESULT AVIFileCreateStreamW(PAVIFILE, PAVISTREAM* Stream, const AVISTREAMINFOW*) {
  if (Stream) *Stream = nullptr;
  return AVIERR_BADHANDLE;
}
ULONG AVIStreamRelease(PAVISTREAM) {
  return 0;
}
ULONG AVIStreamAddRef(PAVISTREAM) {
  return 0;
}
HRESULT AVIStreamInfoW(PAVISTREAM, AVISTREAMINFOW*, LONG) {
  return AVIERR_BADHANDLE;
}
LONG AVIStreamStart(PAVISTREAM) {
  return -1;
}
LONG AVIStreamLength(PAVISTREAM) {
  return -1;
}
LONG AVIStreamSampleToTime(PAVISTREAM, LONG) {
  return -1;
}
LONG AVIStreamTimeToSample(PAVISTREAM, LONG) {
  return -1;
}
HRESULT AVIStreamReadFormat(PAVISTREAM, LONG, void*, LONG*) {
  return AVIERR_BADHANDLE;
}
HRESULT AVIStreamSetFormat(PAVISTREAM, LONG, const void*, LONG) {
  return AVIERR_BADHANDLE;
}
HRESULT AVIStreamWrite(PAVISTREAM, LONG, LONG, const void*, LONG, DWORD, LONG*, LONG*) {
  return AVIERR_BADHANDLE;
}
PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM, const BITMAPINFOHEADER*) {
  return nullptr;
}
void* AVIStreamGetFrame(PGETFRAME, LONG) {
  return nullptr;
}
HRESULT AVIStreamGetFrameClose(PGETFRAME) {
  return AVIERR_BADHANDLE;
}
HRESULT AVIMakeCompressedStream(PAVISTREAM* Compressed, PAVISTREAM, const AVICOMPRESSOPTIONS*, const void*) {
  if (Compressed) *Compressed = nullptr;
  return AVIERR_NOCOMPRESSOR;
}
BOOL AVISaveOptions(HWND, UINT, Integer, PAVISTREAM*, AVICOMPRESSOPTIONS**) {
  return FALSE;
}
HRESULT AVISaveOptionsFree(Integer, AVICOMPRESSOPTIONS**) {
  return AVIERR_OK;
}
