#pragma once
// The DICOM reader: one frame of a DICOM file into a TIEBitmap and every data element into the
// parameters' DICOM tag list. Native pixel data (8, 12 packed, 16 bits; grey, palette or RGB),
// RLE and lossless JPEG are decoded here; baseline JPEG frames go to the JPEG filter and
// JPEG 2000 frames to the JPEG 2000 filter. Grey pictures pass through the file's rescale and
// linear VOI window, a contrast stretch to the full range, and the MONOCHROME1 inversion.
//
// Reading never raises for bad data: element lengths, fragments, segments, frame counts and
// compressed sizes are checked against the stream before anything is allocated, and a picture
// that cannot be read sets the abort flag. Files: iedicomread.cpp (elements), iedicompixels.cpp
// (frames and native data), iedicomrle.cpp, iedicomlossless.cpp, iedicomwindow.cpp, iedicomvr.cpp.
#include <string_view>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;

// True when "DICM" follows a 128-byte preamble at the stream's position; the position is
// restored.
bool DicomIsFile(TStream* Stream);

// Reads the file at the stream's position: the frame of IOParams' image index (clamped to the
// last frame, and the index changed to it) into Bitmap, every element into IOParams.DicomTags.
// Bitmap nil or Preview reads the parameters only. A file without preamble is parsed from its
// first byte.
void DicomReadStream(TStream* Stream, TIOParamsVals& IOParams, TIEBitmap* Bitmap, TIEIOProgress& Progress,
                     bool Preview);

// The value representation of an element in the standard's data dictionary: "xs" for an
// unknown element or one whose VR varies, "!!" for items and delimiters.
std::string_view DicomLookupVR(Word Group, Word Element);

// One PackBits segment of DICOM RLE into Out (Expected bytes at most); returns the bytes of
// Data consumed. Stops when Expected bytes are written or Data ends.
Integer DicomUnpackRLE(const Byte* Data, Integer DataLength, Byte* Out, Integer Expected);

// A decoded lossless JPEG frame: Components interleaved samples per pixel, rows top to bottom.
struct TLosslessJpegImage {
  Integer Width = 0;
  Integer Height = 0;
  Integer Components = 0;
  Integer Precision = 0;
  std::vector<Word> Samples;
};

// Decodes a lossless (SOF3) JPEG stream of Length bytes; false for anything it cannot decode,
// including a frame that claims more samples than its data could code. Reports the bytes
// consumed as percent through Progress.
bool LosslessJpegDecode(const Byte* Data, Integer Length, TLosslessJpegImage& Image, TIEIOProgress& Progress);

// The rescale and VOI window of a grey picture; a Center or Width of -1 means no window.
struct TDicomWindow {
  Double Center = -1;
  Double Width = -1;
  Double Intercept = 0;
  Double Slope = 1;
  bool Signed = false;  // stored samples are two's complement
};

// Rescale, window and contrast stretch to 0..65535 of an ie16g picture.
void DicomApplyWindow16(TIEBitmap* Bitmap, const TDicomWindow& Window);
// The same to 0..255 over SamplesPerPixel bytes a pixel of an 8-bit picture (ie8g, ie24RGB).
void DicomApplyWindow8(TIEBitmap* Bitmap, const TDicomWindow& Window, Integer SamplesPerPixel);
// Every sample inverted bitwise when Photometric is MONOCHROME1 (in any case, blanks trimmed).
void DicomInvertMonochrome1(TIEBitmap* Bitmap, std::string_view Photometric, Integer SamplesPerPixel);
