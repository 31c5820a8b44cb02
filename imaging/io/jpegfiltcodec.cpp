// The managers the codec calls back (stream source, stream destination, errors) and the steps
// that call the codec, each behind its own setjmp.
#include "imaging/io/jpegfiltcodec.h"

#include <atomic>
#include <cstring>

#include "platform/system/Streams.h"

// After the platform headers: libjpeg defines TRUE and FALSE.
#include <jerror.h>

namespace {

constexpr Integer ClassicTooFewScanlines = 67;

JpegErrorManager* ErrorsOf(j_common_ptr Info) {
  return reinterpret_cast<JpegErrorManager*>(Info->err);
}

void JpegErrorExit(j_common_ptr Info) {
  JpegErrorManager* Errors = ErrorsOf(Info);
  if (Errors->Aborting != nullptr)
    std::atomic_ref<bool>(*Errors->Aborting).store(true, std::memory_order_relaxed);
  Errors->ErrorCode = JpegClassicCode(Errors->Pub.msg_code);
  // Finishing a read that stopped early is no error worth a jump: the codec goes on.
  if (Errors->ErrorCode == ClassicTooFewScanlines) return;
  std::longjmp(Errors->Jump, 1);
}

void JpegEmitMessage(j_common_ptr Info, int Level) {
  if (Level != -1) return;
  JpegErrorManager* Errors = ErrorsOf(Info);
  ++Errors->Pub.num_warnings;
  Errors->WarningCode = JpegClassicCode(Errors->Pub.msg_code);
}

void JpegOutputMessage(j_common_ptr) {}

void JpegFormatMessage(j_common_ptr, char* Buffer) {
  Buffer[0] = 0;
}

void JpegResetErrorManager(j_common_ptr Info) {
  JpegErrorManager* Errors = ErrorsOf(Info);
  Errors->Pub.num_warnings = 0;
  Errors->Pub.msg_code = 0;
  Errors->WarningCode = 0;
}

// Stream calls from inside the codec must not raise: a failing stream counts as one that ends.
Integer ReadQuietly(TStream* Stream, void* Buffer, Integer Count) {
  try {
    return Stream->Read(Buffer, Count);
  } catch (...) {
    return 0;
  }
}

Integer WriteQuietly(TStream* Stream, const void* Buffer, Integer Count) {
  try {
    return Stream->Write(Buffer, Count);
  } catch (...) {
    return 0;
  }
}

JpegSourceManager* SourceOf(j_decompress_ptr Info) {
  return reinterpret_cast<JpegSourceManager*>(Info->src);
}

void JpegInitSource(j_decompress_ptr Info) {
  SourceOf(Info)->StartOfFile = true;
}

void SupplyEndOfImage(JpegSourceManager* Source) {
  Source->Buffer[0] = 0xFF;
  Source->Buffer[1] = JPEG_EOI;
  Source->Pub.next_input_byte = Source->Buffer;
  Source->Pub.bytes_in_buffer = 2;
}

// Always succeeds: when the stream has nothing more, an end-of-image marker stands in, so the
// codec finishes a truncated image with grey rows and a warning. A caller's fill procedure
// may suspend instead; one that raises counts as the end of the data.
boolean JpegFillInputBuffer(j_decompress_ptr Info) {
  JpegSourceManager* Source = SourceOf(Info);
  if (Source->CallerFill != nullptr) {
    try {
      return Source->CallerFill(Info) ? TRUE : FALSE;
    } catch (...) {
      SupplyEndOfImage(Source);
      return TRUE;
    }
  }
  const Integer Count = ReadQuietly(Source->Stream, Source->Buffer, JpegBufferSize);
  if (Count <= 0) {
    if (Source->StartOfFile && Source->Aborting != nullptr)
      std::atomic_ref<bool>(*Source->Aborting).store(true, std::memory_order_relaxed);
    SupplyEndOfImage(Source);
  } else {
    Source->Pub.next_input_byte = Source->Buffer;
    Source->Pub.bytes_in_buffer = static_cast<size_t>(Count);
  }
  Source->StartOfFile = false;
  return TRUE;
}

void JpegSkipInputData(j_decompress_ptr Info, long Count) {
  if (Count < 1) return;
  JpegSourceManager* Source = SourceOf(Info);
  while (Count > static_cast<long>(Source->Pub.bytes_in_buffer)) {
    Count -= static_cast<long>(Source->Pub.bytes_in_buffer);
    Source->Pub.bytes_in_buffer = 0;
    // A suspending caller's procedure leaves the rest to skip for later: nothing came.
    if (!JpegFillInputBuffer(Info) || Source->Pub.bytes_in_buffer == 0) return;
  }
  Source->Pub.next_input_byte += Count;
  Source->Pub.bytes_in_buffer -= static_cast<size_t>(Count);
}

// Data read ahead stays consumed: callers that need the end of the data measure it themselves.
void JpegTermSource(j_decompress_ptr) {}

JpegDestinationManager* DestinationOf(j_compress_ptr Info) {
  return reinterpret_cast<JpegDestinationManager*>(Info->dest);
}

void WriteOut(JpegDestinationManager* Destination, Integer Count) {
  if (WriteQuietly(Destination->Stream, Destination->Buffer, Count) < Count &&
      Destination->Aborting != nullptr)
    std::atomic_ref<bool>(*Destination->Aborting).store(true, std::memory_order_relaxed);
}

// The buffer comes from the codec's image pool, so it goes with the compressor.
void JpegInitDestination(j_compress_ptr Info) {
  JpegDestinationManager* Destination = DestinationOf(Info);
  Destination->Buffer = static_cast<JOCTET*>(
      (*Info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(Info), JPOOL_IMAGE, JpegBufferSize));
  Destination->Pub.next_output_byte = Destination->Buffer;
  Destination->Pub.free_in_buffer = JpegBufferSize;
}

boolean JpegEmptyOutputBuffer(j_compress_ptr Info) {
  JpegDestinationManager* Destination = DestinationOf(Info);
  WriteOut(Destination, JpegBufferSize);
  Destination->Pub.next_output_byte = Destination->Buffer;
  Destination->Pub.free_in_buffer = JpegBufferSize;
  return TRUE;
}

void JpegTermDestination(j_compress_ptr Info) {
  JpegDestinationManager* Destination = DestinationOf(Info);
  const auto Count = JpegBufferSize - static_cast<Integer>(Destination->Pub.free_in_buffer);
  if (Count > 0) WriteOut(Destination, Count);
}

j_common_ptr Common(j_decompress_ptr Info) {
  return reinterpret_cast<j_common_ptr>(Info);
}

j_common_ptr Common(j_compress_ptr Info) {
  return reinterpret_cast<j_common_ptr>(Info);
}

}  // namespace

void JpegInitErrorManager(JpegErrorManager& Manager, bool* Aborting) {
  std::memset(&Manager.Pub, 0, sizeof Manager.Pub);
  Manager.Pub.error_exit = JpegErrorExit;
  Manager.Pub.emit_message = JpegEmitMessage;
  Manager.Pub.output_message = JpegOutputMessage;
  Manager.Pub.format_message = JpegFormatMessage;
  Manager.Pub.reset_error_mgr = JpegResetErrorManager;
  Manager.Pub.trace_level = 0;
  Manager.Pub.jpeg_message_table = nullptr;
  Manager.Pub.last_jpeg_message = 0;
  Manager.Aborting = Aborting;
  Manager.WarningCode = 0;
  Manager.ErrorCode = 0;
}

void JpegStreamSource(j_decompress_ptr Info, TStream* Stream, bool* Aborting) {
  if (Info->src == nullptr) Info->src = reinterpret_cast<jpeg_source_mgr*>(new JpegSourceManager);
  JpegSourceManager* Source = SourceOf(Info);
  Source->Pub.init_source = JpegInitSource;
  Source->Pub.fill_input_buffer = JpegFillInputBuffer;
  Source->Pub.skip_input_data = JpegSkipInputData;
  Source->Pub.resync_to_restart = jpeg_resync_to_restart;
  Source->Pub.term_source = JpegTermSource;
  Source->Pub.next_input_byte = nullptr;
  Source->Pub.bytes_in_buffer = 0;
  Source->Stream = Stream;
  Source->Aborting = Aborting;
  Source->CallerFill = nullptr;
  Source->StartOfFile = true;
}

void JpegFreeStreamSource(j_decompress_ptr Info) {
  delete SourceOf(Info);
  Info->src = nullptr;
}

void JpegStreamDestination(j_compress_ptr Info, TStream* Stream, bool* Aborting) {
  auto* Destination = new JpegDestinationManager;
  Destination->Pub.init_destination = JpegInitDestination;
  Destination->Pub.empty_output_buffer = JpegEmptyOutputBuffer;
  Destination->Pub.term_destination = JpegTermDestination;
  Destination->Pub.next_output_byte = nullptr;
  Destination->Pub.free_in_buffer = 0;
  Destination->Stream = Stream;
  Destination->Aborting = Aborting;
  Destination->Buffer = nullptr;
  Info->dest = reinterpret_cast<jpeg_destination_mgr*>(Destination);
}

void JpegFreeStreamDestination(j_compress_ptr Info) {
  delete DestinationOf(Info);
  Info->dest = nullptr;
}

// ---- Steps: each owns no C++ object, so the codec's jump back skips nothing ----

bool JpegStepCreateDecompress(j_decompress_ptr Info) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_CreateDecompress(Info, JpegCodecVersion, sizeof(*Info));
  return true;
}

bool JpegStepReadHeader(j_decompress_ptr Info, bool RequireImage, bool SaveMarkers, Integer* Result) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  if (SaveMarkers) {
    jpeg_save_markers(Info, JPEG_COM, 0xFFFF);
    for (int Marker = JPEG_APP0; Marker <= JPEG_APP0 + 15; ++Marker) jpeg_save_markers(Info, Marker, 0xFFFF);
  }
  const int Answer = jpeg_read_header(Info, RequireImage ? TRUE : FALSE);
  if (Result != nullptr) *Result = Answer;
  return true;
}

bool JpegStepStartDecompress(j_decompress_ptr Info) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_start_decompress(Info);
  return true;
}

bool JpegStepReadRows(j_decompress_ptr Info, JSAMPARRAY Rows, JDIMENSION Count, JDIMENSION* Read) {
  *Read = 0;
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  *Read = jpeg_read_scanlines(Info, Rows, Count);
  return true;
}

bool JpegStepFinishDecompress(j_decompress_ptr Info) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_finish_decompress(Info);
  return true;
}

bool JpegStepAllocSampleArray(j_decompress_ptr Info, Integer Pool, JDIMENSION SamplesPerRow, JDIMENSION Rows,
                              JSAMPARRAY* Array) {
  *Array = nullptr;
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  *Array = (*Info->mem->alloc_sarray)(Common(Info), Pool, SamplesPerRow, Rows);
  return true;
}

bool JpegStepCreateCompress(j_compress_ptr Info) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_CreateCompress(Info, JpegCodecVersion, sizeof(*Info));
  return true;
}

bool JpegStepSetDefaults(j_compress_ptr Info, J_COLOR_SPACE OutputSpace) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_set_defaults(Info);
  jpeg_set_colorspace(Info, OutputSpace);
  return true;
}

bool JpegStepSetQuality(j_compress_ptr Info, Integer Quality) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_set_quality(Info, Quality, TRUE);
  return true;
}

bool JpegStepSimpleProgression(j_compress_ptr Info) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_simple_progression(Info);
  return true;
}

bool JpegStepStartCompress(j_compress_ptr Info) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_start_compress(Info, TRUE);
  return true;
}

bool JpegStepWriteMarker(j_compress_ptr Info, Integer Marker, const JOCTET* Data, unsigned int Length) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_write_marker(Info, Marker, Data, Length);
  return true;
}

bool JpegStepWriteRows(j_compress_ptr Info, JSAMPARRAY Rows, JDIMENSION Count) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_write_scanlines(Info, Rows, Count);
  return true;
}

bool JpegStepFinishCompress(j_compress_ptr Info) {
  if (setjmp(ErrorsOf(Common(Info))->Jump)) return false;
  jpeg_finish_compress(Info);
  return true;
}
