#pragma once
// One layer of the image view: its picture, where and how it is shown over the background
// layer, and its undo record. The view owns its layers; a layer owns its bitmap while
// OwnsBitmap is set (and the platform bitmap that bitmap wraps), its MaskAlphaCache and, when
// UserDataLen is above 0, its UserData block.
#include <string>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/ieutilstext.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TStream;
class TZezudIdView;

// The magnifying glass of a layer; 24 bytes on disk, padding bytes written as zeros.
struct TIEMagnifier {
  bool Enabled = false;
  double Rate = 2.0;  // below 1 turns the effect off
  Byte Style = 0;     // 0 rectangular glass, 1 elliptical glass
  Byte Source = 1;    // 0 background layer's pixels, 1 what the back buffer already shows
};
constexpr Integer IEMagnifierStreamSize = 24;

// Where the painter last drew a layer: destination and source rectangles as origin and
// size, and the four control-pixel corners of a rotated layer (top-left, top-right,
// bottom-right, bottom-left of the unrotated rectangle). 64 bytes.
struct TIELayerDrawGeometry {
  Integer DestX = 0;
  Integer DestY = 0;
  Integer DestWidth = 0;
  Integer DestHeight = 0;
  Integer SrcX = 0;
  Integer SrcY = 0;
  Integer SrcWidth = 0;
  Integer SrcHeight = 0;
  TPoint Corners[4] = {};
};
static_assert(sizeof(TIELayerDrawGeometry) == 64);

class TIELayer {
 public:
  // With ShareBitmap the layer takes Bitmap itself; otherwise it makes its own empty bitmap,
  // shaped after Bitmap (size, pixel format, storage; no pixels) when one is given.
  TIELayer(TZezudIdView* View, bool ShareBitmap, TIEBitmap* Bitmap);
  virtual ~TIELayer();
  TIELayer(const TIELayer&) = delete;
  TIELayer& operator=(const TIELayer&) = delete;

  // Gives the fields their defaults; View, Bitmap, OwnsBitmap, MaskAlphaCache, GUID,
  // ResampleFilter, UseResampleFilter and Name keep their values.
  void Reset();
  // Copies what the user sees and edits; never Rotate, the rotation centre, GUID, View,
  // OwnsBitmap, MaskAlphaCache or DrawGeometry. UserData is shared, not copied.
  void CopyProperties(const TIELayer* Source);
  // A whole multiple of 360 becomes exactly 0; anything else is kept as given.
  void SetRotate(double Value);

  // The displayed size: the explicit one when set, else the bitmap's.
  Integer GetWidth() const;
  Integer GetHeight() const;

  // Control pixels <-> pixels of this layer's own bitmap, through the view's zoom tables.
  Integer ScreenToBitmapX(Integer X) const;
  Integer ScreenToBitmapY(Integer Y) const;
  Integer BitmapToScreenX(Integer X) const;
  Integer BitmapToScreenY(Integer Y) const;

  // The undo record: its 32-bit length first, then the fields, then the raw bitmap when
  // SaveBitmap is set.
  void SaveToStream(TStream* Stream, bool SaveBitmap);
  void LoadFromStream(TStream* Stream);

  Integer Width = 0;                    // 0: the bitmap's width
  Integer Height = 0;                   // 0: the bitmap's height
  double Rotate = 0;                    // degrees about the rotation centre
  TIEBitmap* MaskAlphaCache = nullptr;  // owned; the alpha combined with the mask layer above
  TZezudIdView* View = nullptr;
  TIEBitmap* Bitmap = nullptr;
  bool Visible = true;
  bool VisibleBox = true;
  Integer Transparency = 255;
  Integer PosX = 0;
  Integer PosY = 0;
  TRect ScreenRect{};
  bool ClipToBackground = false;
  bool Locked = false;
  bool Selectable = true;
  TIEMagnifier Magnifier{};
  Byte BlendOperation = 0;
  void* UserData = nullptr;
  Integer UserDataLen = 0;  // above 0: the layer frees UserData (with std::free)
  bool OwnsBitmap = true;
  TResampleFilter ResampleFilter = rfNone;
  bool UseResampleFilter = false;
  std::string Name;
  bool IsMask = false;  // the mask of the layer below it in the list
  TIELayerDrawGeometry DrawGeometry{};
  bool ShadeOutside = false;
  TGUID GUID{};
  double RotateCenterX = 0.5;
  double RotateCenterY = 0.5;
};
