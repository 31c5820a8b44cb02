// The effects of the main window: the background blend and the tube shading.
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/BackgroundBlend.h"
#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "app/PostProcessing.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"
#include "skin/controls/bsSkinCtrls.h"

TBackgroundBlend TBackgroundBlend::Of(TForm1& Form, TBitmap* Bitmap) {
  TBackgroundBlend Blend;
  Blend.Margin =
      Form.Edges->GetChecked()
          ? static_cast<Integer>(Round(static_cast<Extended>(Form.ClipBar->GetValue()) / 100 * Rim))
          : 0;
  Blend.Amount = static_cast<Integer>(Round(255 - Form.BlendBar->GetValue() * 2.55L));
  Blend.LastRow = Min(SourceBitmap->GetHeight(), Bitmap->GetHeight()) - 1 - Blend.Margin;
  Blend.LastCol = Min(SourceBitmap->GetWidth(), Bitmap->GetWidth()) - 1 - Blend.Margin;
  return Blend;
}

void TBackgroundBlend::BlendRow(Integer Y, Byte* P, const Byte* F) const {
  if (Y < Margin || Y > LastRow) return;
  Integer X = Margin;
  // Four pixels none of whose twelve bytes is 255 hold no white pixel.
  for (; X + 4 <= LastCol + 1; X += 4) {
    std::uint32_t W[3];
    std::memcpy(W, P + 3 * X, sizeof(W));
    if (!HasZeroByte(~W[0]) && !HasZeroByte(~W[1]) && !HasZeroByte(~W[2])) continue;
    for (Integer K = X; K < X + 4; ++K)
      if ((P[3 * K] & P[3 * K + 1] & P[3 * K + 2]) == 255) std::memcpy(P + 3 * K, F + 3 * K, 3);
  }
  for (; X <= LastCol; ++X)
    if ((P[3 * X] & P[3 * X + 1] & P[3 * X + 2]) == 255) std::memcpy(P + 3 * X, F + 3 * X, 3);
}

void TForm1::BlendBackground(TBitmap* Bitmap) {
  if (VideoMode == 0) ShowStatus(VariableTexts[vtBlendingBackground]);
  const TBackgroundBlend Blend = TBackgroundBlend::Of(*this, Bitmap);
  const TBitmapRows To(Bitmap);
  // Each row of the background is used as soon as it is blurred.
  TBlurredRows Background(SourceBitmap.get(), 2, Blend.Amount);
  for (Integer Y = 0; Y <= Blend.LastRow; ++Y) Blend.BlendRow(Y, To[Y], Background.Next());
}

void TForm1::TubeShading(TBitmap* Bitmap) {
  // Only the tubes have a shade; other patterns are left as they are.
  if (PatternType != ptVerCylinder && PatternType != ptHorCylinder) return;
  if (VideoMode == 0) ShowStatus(VariableTexts[vtCreatingShade]);
  const Single G = static_cast<Single>(ParamValue(2)) / 100;
  const Single F = static_cast<Single>(ParamValue(1)) / static_cast<Single>(Max(ParamRange(1), 1)) + 0.5f;
  const Single E = static_cast<Single>(ParamValue(3)) / 100;
  const Integer Kind = PatternType == ptHorCylinder ? 1 : 2;
  Bitmap->SetPixelFormat(pf24bit);
  const TBitmapRows Rows(Bitmap);
  const Integer W = Rows.Width, H = Rows.Height;
  SetProgressMax(H);
  SetProgress(0);
  // Each channel becomes Round(channel * factor): one table per factor, which depends on the
  // column across the width or on the row across the height.
  auto MakeTable = [&](Integer X, Integer Y, Byte* Table) {
    const Extended Factor = TubeShadeFactor(W, H, X, Kind, Y, E, F, G);
    for (Integer V = 0; V < 256; ++V)
      Table[V] = static_cast<Byte>(ClampByte(static_cast<Integer>(Round(V * Factor))));
  };
  std::vector<Byte> ColumnTables;
  if (Kind == 1) {
    ColumnTables.resize(static_cast<std::size_t>(W) * 256);
    for (Integer X = 0; X < W; ++X) MakeTable(X, 0, &ColumnTables[static_cast<std::size_t>(X) * 256]);
  }
  Byte RowTable[256];
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* P = Rows[Y];
    if (Kind == 2) {
      MakeTable(0, Y, RowTable);
      for (Integer I = 0, End = 3 * W; I < End; ++I) P[I] = RowTable[P[I]];
    } else {
      for (Integer X = 0; X < W; ++X, P += 3) {
        const Byte* Table = &ColumnTables[static_cast<std::size_t>(X) * 256];
        P[0] = Table[P[0]], P[1] = Table[P[1]], P[2] = Table[P[2]];
      }
    }
    SetProgress(Y);
    PumpMessages();
  }
  SetProgress(0);
  if (VideoMode == 0) SetStatusText(VariableTexts[vtReady]);
}
