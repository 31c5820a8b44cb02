#pragma once
// What the DICOM element parser learns about the picture, shared with the pixel readers.
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/formats/iedicom.h"
#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;

struct TDICOMContext {
  TIOParamsVals* IOParams = nullptr;
  TIEBitmap* Bitmap = nullptr;  // the work bitmap; nil for a parameters-only read
  TIEIOProgress Progress;       // a copy whose abort flag is the caller's
  TStream* Stream = nullptr;    // the buffered stream, positions from the file's start
  Int64 StreamSize = 0;
  bool LittleEndian = true;
  std::string TransferSyntax;
  Integer SamplesPerPixel = 1;
  std::string Photometric;
  Integer PlanarConfiguration = 0;
  Integer NumberOfFrames = 1;
  Integer PixelRepresentation = 0;  // 1: signed
  Integer Columns = 0;
  Integer Rows = 0;
  Integer BitsAllocated = 0;
  Integer BitsStored = 0;
  Integer BytesPerSample = 0;
  // Palette tables of 65536 entries (the largest sample indexes them), empty when absent.
  std::vector<Word> LutRed;
  std::vector<Word> LutGreen;
  std::vector<Word> LutBlue;
  Double WindowCenter = -1;
  Double WindowWidth = -1;
  Double RescaleIntercept = 0;
  Double RescaleSlope = 1;
  Int64 PixelDataLength = -1;  // the pixel data element's length; -1 undefined
};

// The frame of the parameters' image index from the stream position (the first byte of the
// pixel data element's value) into the work bitmap; failures set the abort flag.
void DicomReadPixels(TDICOMContext& C);

// Helpers of the pixel readers.
bool DicomIsPaletteColor(const TDICOMContext& C);
TDicomWindow DicomWindowOf(const TDICOMContext& C);
// Grey pictures: rescale, window and stretch, then the MONOCHROME1 inversion.
void DicomFinishGrey16(TDICOMContext& C);
void DicomFinishGrey8(TDICOMContext& C);
// Progress after Row of Rows rows, reported when the percent changes.
void DicomRowProgress(TDICOMContext& C, Integer Row);
// RLE fragment of Length bytes at the stream position.
void DicomReadRLE(TDICOMContext& C, Int64 Length);
