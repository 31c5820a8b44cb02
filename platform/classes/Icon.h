#pragma once
// TIcon: an icon file (.ico) as a graphic, and the GDI-style icon drawing calls.
//
// Loading reads the whole icon file and picks one image: a 32x32 one if there is any (the
// deepest of those), else the first. Images are BMP data (1, 4, 8, 16, 24 or 32 bits with
// their AND mask); PNG images are not supported and are passed over. Saving writes the file
// as it was loaded; an icon made from a handle is written as a one-image file.
#include <vector>

#include "platform/classes/Graphic.h"
#include "platform/classes/IconHandle.h"

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;
constexpr UINT DI_NOMIRROR = 0x0010;

// The size DI_DEFAULTSIZE and DrawIcon use (the system's icon size).
constexpr Integer DefaultIconSize = 32;

// Draws Icon at (X, Y) stretched to Width x Height (0: the icon's own size, or the system's
// with DI_DEFAULTSIZE). DI_MASK ANDs the mask onto the destination, DI_IMAGE puts the image
// (XORed over the mask, or copied alone); icons with alpha blend instead when both are asked.
// FlickerFreeBrush, when given, fills the area first.
BOOL DrawIconEx(HDC DC, Integer X, Integer Y, HICON Icon, Integer Width, Integer Height, UINT StepIfAniCur,
                HBRUSH FlickerFreeBrush, UINT Flags);
BOOL DrawIcon(HDC DC, Integer X, Integer Y, HICON Icon);

class TIcon : public TGraphic {
 public:
  TIcon();
  ~TIcon() override;

  void Assign(TPersistent* Source) override;
  // Raises EInvalidGraphic "Icon image is not valid" for anything but a usable icon file.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

  HICON GetHandle() const { return FHandle; }
  // Takes Value over (destroyed with the icon); the loaded file is forgotten.
  void SetHandle(HICON Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Gives the handle to the caller and empties the icon.
  HICON ReleaseHandle();

  Integer GetWidth() override { return FHandle ? FHandle->Width : 0; }
  Integer GetHeight() override { return FHandle ? FHandle->Height : 0; }
  // An icon keeps its size: EInvalidGraphicOperation "Cannot change the size of an icon".
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool GetEmpty() override { return FHandle == nullptr; }

 private:
  void Clear();
  std::vector<Byte> FData;  // the file as loaded
  HICON FHandle = nullptr;
};
