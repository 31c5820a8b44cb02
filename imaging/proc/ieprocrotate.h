#pragma once
// Rotation by any angle with smoothing: three shears with fixed-point blending (24-bit and
// 8-bit pictures), the exact-or-nearest rotation of 1-bit and 8-bit pictures, and rotation by
// bilinear or bicubic sampling. Degrees, positive counter-clockwise on screen. The pictures are
// read into row copies, so file-backed pictures are safe.
#include "imaging/core/hyiedefs.h"
#include "imaging/proc/zezudidproc.h"
#include "platform/classes/Colors.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TObject;

// ie24RGB by three shears, ie1g through IERotateBitmap1 (outside white when every channel of
// Background is non-zero); other formats are left alone. Without AntiAlias the shears move
// whole pixels.
void IERotateBitmap(TIEBitmap* Bitmap, bool AntiAlias, TObject* Sender, const TIEProgressEvent& OnProgress,
                    const TIERGBTriple& Background, double Angle);
// The three-shear rotation of ie8g and ie8p pictures.
void IERotateBitmap8(TIEBitmap* Bitmap, bool AntiAlias, Byte Background, TObject* Sender,
                     const TIEProgressEvent& OnProgress, double Angle);
// Exact for +-90 and 180, else the nearest pixel with sine and cosine cut to four decimals.
void IERotateBitmap1(TIEBitmap* Bitmap, bool FillWhite, TObject* Sender, const TIEProgressEvent& OnProgress,
                     double Angle);
void IERotateBitmapNearest8(TIEBitmap* Bitmap, Byte Background, double Angle);

// Rotation by sampling, bilinear or bicubic (Mode), of ie24RGB and 8-bit pictures.
void IERotateInterpolated24(TIEBitmap* Bitmap, TColor Background, TIERotateAntialias Mode, TObject* Sender,
                            const TIEProgressEvent& OnProgress, double Angle);
void IERotateInterpolated8(TIEBitmap* Bitmap, Byte Background, TIERotateAntialias Mode, double Angle);
