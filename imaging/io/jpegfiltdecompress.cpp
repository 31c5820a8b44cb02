// The step-by-step decompression other filters drive: each call one codec call, a codec error
// raised as EIEJpegException once the codec's jump has come back.
#include "imaging/io/jpegfilt.h"
#include "imaging/io/jpegfiltcodec.h"

namespace {

[[noreturn]] void RaiseCodecError(TIEJpegDecompress* Info) {
  throw EIEJpegException(JpegMessageText(reinterpret_cast<JpegErrorManager*>(Info->err)->ErrorCode));
}

void Check(TIEJpegDecompress* Info, bool Succeeded) {
  if (!Succeeded) RaiseCodecError(Info);
}

}  // namespace

TIEJpegDecompress* IEJpegNewDecompress() {
  return new jpeg_decompress_struct{};
}

void IEJpegNewErrorManager(TIEJpegDecompress* Info) {
  auto* Errors = new JpegErrorManager;
  JpegInitErrorManager(*Errors, nullptr);
  Info->err = &Errors->Pub;
}

void IEJpegCreateDecompress(TIEJpegDecompress* Info) {
  Check(Info, JpegStepCreateDecompress(Info));
}

void IEJpegStreamSource(TIEJpegDecompress* Info, TStream* Stream) {
  JpegStreamSource(Info, Stream, nullptr);
}

void IEJpegSetFillInputBuffer(TIEJpegDecompress* Info, TIEJpegFillInputBuffer Fill) {
  reinterpret_cast<JpegSourceManager*>(Info->src)->CallerFill = Fill;
}

void IEJpegSetSourceBuffer(TIEJpegDecompress* Info, const Byte* Data, Integer Count) {
  Info->src->next_input_byte = Data;
  Info->src->bytes_in_buffer = Count > 0 ? static_cast<size_t>(Count) : 0;
}

Integer IEJpegReadHeader(TIEJpegDecompress* Info, bool RequireImage) {
  Integer Result = 0;
  Check(Info, JpegStepReadHeader(Info, RequireImage, false, &Result));
  return Result;
}

void IEJpegStartDecompress(TIEJpegDecompress* Info) {
  Check(Info, JpegStepStartDecompress(Info));
}

Integer IEJpegOutputWidth(const TIEJpegDecompress* Info) {
  return static_cast<Integer>(Info->output_width);
}

Integer IEJpegOutputHeight(const TIEJpegDecompress* Info) {
  return static_cast<Integer>(Info->output_height);
}

Integer IEJpegOutputComponents(const TIEJpegDecompress* Info) {
  return Info->output_components;
}

Integer IEJpegOutputScanline(const TIEJpegDecompress* Info) {
  return static_cast<Integer>(Info->output_scanline);
}

Byte** IEJpegAllocSampleArray(TIEJpegDecompress* Info, Integer Pool, Integer SamplesPerRow, Integer Rows) {
  JSAMPARRAY Array = nullptr;
  Check(Info, JpegStepAllocSampleArray(Info, Pool, static_cast<JDIMENSION>(SamplesPerRow),
                                       static_cast<JDIMENSION>(Rows), &Array));
  return Array;
}

Integer IEJpegReadScanlines(TIEJpegDecompress* Info, Byte** Rows, Integer MaxLines) {
  JDIMENSION Read = 0;
  Check(Info, JpegStepReadRows(Info, Rows, static_cast<JDIMENSION>(MaxLines > 0 ? MaxLines : 0), &Read));
  return static_cast<Integer>(Read);
}

void IEJpegFinishDecompress(TIEJpegDecompress* Info) {
  Check(Info, JpegStepFinishDecompress(Info));
}

void IEJpegDestroyDecompress(TIEJpegDecompress* Info) {
  jpeg_destroy_decompress(Info);
  JpegFreeStreamSource(Info);
}

void IEJpegFreeDecompress(TIEJpegDecompress* Info) {
  delete Info;
}

void IEJpegFreeErrorManager(TIEJpegDecompress* Info) {
  delete reinterpret_cast<JpegErrorManager*>(Info->err);
  Info->err = nullptr;
}
