#pragma once
// One layer of a PSD file as the PSD reader and writer exchange it with the image view: the
// layer's picture, where and how it is shown, and its user mask. The view library turns these
// into its own layers and back; the formats and I/O libraries below it never see a view layer.
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "platform/system/Types.h"

struct TIEPsdLayer {
  Integer PosX = 0;  // left and top in picture coordinates
  Integer PosY = 0;
  Integer Transparency = 255;  // the layer's opacity, 0 .. 255
  bool Visible = true;
  bool ClipToBackground = false;  // drawn only inside the background picture
  std::string Name;
  std::unique_ptr<TIEBitmap> Bitmap;  // owned; its alpha channel is the layer's transparency
  std::unique_ptr<TIEBitmap> Mask;    // ie8g user mask, nil without one
  Integer MaskX = 0;                  // the mask's left and top in picture coordinates
  Integer MaskY = 0;
};

using TIEPsdLayerList = std::vector<TIEPsdLayer>;
