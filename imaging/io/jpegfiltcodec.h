#pragma once
// The JPEG filter's side of libjpeg: the stream source and destination managers, the error
// manager, and the steps that call into the codec.
//
// An error inside the codec longjmps back to the step that made the call; the step returns
// false. Steps own no C++ objects, so the jump skips no destructor; whoever called the step
// raises or sets the abort flag afterwards. Variables a step changes after its setjmp and reads
// after a jump live behind pointers, never in the step's own registers.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

// After the platform headers (WinTypes.h above all): libjpeg defines TRUE and FALSE.
#include <jpeglib.h>

class TStream;

// Input and output pass through buffers of this size.
constexpr Integer JpegBufferSize = 65536;
// The codec interface version the filter was written for.
constexpr Integer JpegCodecVersion = 62;

// The codec's error record, extended by the abort flag to set and the jump back to the step.
struct JpegErrorManager {
  jpeg_error_mgr Pub;
  bool* Aborting;       // nullptr when errors are only raised
  Integer WarningCode;  // classic code of the last warning
  Integer ErrorCode;    // classic code of the error that ended a step
  std::jmp_buf Jump;
};

// A fresh error manager from the template, with its abort pointer.
void JpegInitErrorManager(JpegErrorManager& Manager, bool* Aborting);
// The classic message code (that of the codec's original list) of a codec message code.
Integer JpegClassicCode(Integer CodecCode);

// The stream source: one per decompressor, made on first installation and kept (its buffer
// emptied) when another stream is installed on the same decompressor.
struct JpegSourceManager {
  jpeg_source_mgr Pub;
  TStream* Stream;
  bool StartOfFile;
  bool* Aborting;
  bool (*CallerFill)(j_decompress_ptr Info);  // a caller's fill procedure instead of the stream
  JOCTET Buffer[JpegBufferSize];
};

void JpegStreamSource(j_decompress_ptr Info, TStream* Stream, bool* Aborting);
// After the decompressor is destroyed.
void JpegFreeStreamSource(j_decompress_ptr Info);

// The stream destination; its buffer is made when compression starts.
struct JpegDestinationManager {
  jpeg_destination_mgr Pub;
  TStream* Stream;
  bool* Aborting;
  JOCTET* Buffer;
};

void JpegStreamDestination(j_compress_ptr Info, TStream* Stream, bool* Aborting);
// After the compressor is destroyed.
void JpegFreeStreamDestination(j_compress_ptr Info);

// Decompression steps. Info->err must be a JpegErrorManager.
bool JpegStepCreateDecompress(j_decompress_ptr Info);
// Saves COM and APP0..APP15 markers first when SaveMarkers; *Result (when given) receives the
// codec's answer.
bool JpegStepReadHeader(j_decompress_ptr Info, bool RequireImage, bool SaveMarkers,
                        Integer* Result = nullptr);
bool JpegStepStartDecompress(j_decompress_ptr Info);
// Reads up to Count rows; *Read receives how many came.
bool JpegStepReadRows(j_decompress_ptr Info, JSAMPARRAY Rows, JDIMENSION Count, JDIMENSION* Read);
bool JpegStepFinishDecompress(j_decompress_ptr Info);
bool JpegStepAllocSampleArray(j_decompress_ptr Info, Integer Pool, JDIMENSION SamplesPerRow, JDIMENSION Rows,
                              JSAMPARRAY* Array);

// Compression steps. Info->err must be a JpegErrorManager.
bool JpegStepCreateCompress(j_compress_ptr Info);
// Set defaults and the output colour space; the caller sets the input fields first.
bool JpegStepSetDefaults(j_compress_ptr Info, J_COLOR_SPACE OutputSpace);
// Baseline forced.
bool JpegStepSetQuality(j_compress_ptr Info, Integer Quality);
bool JpegStepSimpleProgression(j_compress_ptr Info);
bool JpegStepStartCompress(j_compress_ptr Info);
bool JpegStepWriteMarker(j_compress_ptr Info, Integer Marker, const JOCTET* Data, unsigned int Length);
bool JpegStepWriteRows(j_compress_ptr Info, JSAMPARRAY Rows, JDIMENSION Count);
bool JpegStepFinishCompress(j_compress_ptr Info);
