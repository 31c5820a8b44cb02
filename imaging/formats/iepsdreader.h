#pragma once
// What the parts of the PSD reader share: the header fields with the palette and transparent
// index from the sections before the layers, picture allocation, and the layer section reader.
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/formats/iepsdcursor.h"
#include "imaging/io/iepsdlayer.h"

constexpr Integer PsdHeaderSize = 26;

struct TPsdImageInfo {
  Integer Channels = 0;
  Integer Rows = 0;
  Integer Columns = 0;
  Integer Depth = 0;
  Integer Mode = 0;
  std::vector<TIERGBTriple> Palette;  // 256 entries from the colour mode data; empty when none
  Integer TransparentIndex = -1;      // -1: none
};

// Fills Info from a 26-byte header; false when it is not a PSD header this reader takes.
bool PsdParseHeader(const Byte* Header, TPsdImageInfo& Info);

// Bitmap allocated at Width x Height in the pixel format of the file's mode and depth, with the
// palette for indexed files; false (Bitmap left empty) when the mode has no pixel format here.
bool PsdAllocatePicture(const TPsdImageInfo& Info, Integer Width, Integer Height, TIEBitmap* Bitmap);

// For indexed files with a transparent index: the alpha channel is 0 at that index, else 255.
void PsdApplyTransparentIndex(const TPsdImageInfo& Info, TIEBitmap* Bitmap);

// The layer and mask section at the cursor, which is left at the section's end. Layers are
// appended when LoadLayers is set or the file has one layer; a nil list skips the section.
void PsdReadLayers(TPsdCursor& Cursor, const TPsdImageInfo& Info, TIEIOProgress& Progress, bool LoadLayers,
                   TIEPsdLayerList* Layers);
