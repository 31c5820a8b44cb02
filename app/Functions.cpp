#include "app/Functions.h"

#include <malloc.h>

#include <cmath>
#include <cstring>

#include "app/CellFill.h"
#include "app/Main.h"
#include "platform/classes/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/system/Environment.h"
#include "platform/system/Math.h"
#include "platform/system/Random.h"
#include "platform/system/Strings.h"

TBitmapRows::TBitmapRows(TBitmap* Bitmap) : Width(Bitmap->GetWidth()), Height(Bitmap->GetHeight()) {
  if (Width <= 0 || Height <= 0) return;
  First = static_cast<Byte*>(Bitmap->GetScanLine(0));
  if (Height > 1) Stride = static_cast<Byte*>(Bitmap->GetScanLine(1)) - First;
}

void CopyBitmap(TBitmap* Source, TBitmap* Dest) {
  if (Source->GetPixelFormat() != pf24bit) {
    Dest->Assign(Source);
    Dest->SetPixelFormat(pf24bit);
    return;
  }
  Dest->SetPixelFormat(pf24bit);
  Dest->SetSize(Source->GetWidth(), Source->GetHeight());
  const TBitmapRows From(Source), To(Dest);
  for (Integer Y = 0; Y < From.Height; ++Y)
    std::memcpy(To[Y], From[Y], 3 * static_cast<std::size_t>(From.Width));
}

void KeepPictureMemory() {
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

namespace {
TColor RGBColor(Integer R, Integer G, Integer B) {
  return static_cast<TColor>(static_cast<Byte>(R) | (static_cast<Byte>(G) << 8) |
                             (static_cast<Byte>(B) << 16));
}

TColor CounterColor(Integer C) {
  const Integer R = C % 255;
  const Integer G = C > 255 ? C / 255 : 1;
  const Integer B = C > 65025 ? static_cast<Integer>(Trunc(C / 255.0L)) / 255 : 1;
  return RGBColor(R, G, B);
}

TColor ModeColor(Integer Mode) {
  Integer R = 0, G = 0, B = 0;
  switch (Mode) {
    case 0:
      return clWhite;
    case 1:
      R = Random(255), G = Random(255), B = Random(255);
      return RGBColor(R, G, B);
    case 2:
      R = Random(128), G = Random(128), B = Random(128);
      return RGBColor(R, G, B);
    case 3:
      R = Random(128) + 128, G = Random(128) + 128, B = Random(128) + 128;
      return RGBColor(R, G, B);
    case 4:
      return CounterColor(ColorCounter);
    case 5:
      HsvToRgb(static_cast<Single>(ColorCounter % 360), 1.0f, 0.5f, R, G, B);
      return RGBColor(R, G, B);
    default:
      return clWhite;
  }
}
}  // namespace

TColor NextPatternColor(Single Mode) {
  ++ColorCounter;
  const Integer M = static_cast<Integer>(Round(Mode));
  TColor C = ModeColor(M);
  if (M < 1 || M > 5) return C;
  while (C == clBlack || C == clWhite) {
    // The counting modes move on to the next count for another colour.
    if (M >= 4) ++ColorCounter;
    C = ModeColor(M);
  }
  return C;
}

void HsvToRgb(Single H, Single S, Single V, Integer& R, Integer& G, Integer& B) {
  if (S == 0 && std::isnan(H)) {
    R = G = B = static_cast<Integer>(Trunc(255 * V));
    return;
  }
  if (H == 360) H = 0;
  const Single Hs = H / 60;
  const Integer I = static_cast<Integer>(Trunc(Hs));
  const Single F = Hs - I;
  const Single P = (1 - S) * V;
  const Single Q = (1 - S * F) * V;
  const Single T = (1 - (1 - F) * S) * V;
  Single Rf, Gf, Bf;
  switch (I) {
    case 0:
      Rf = V, Gf = T, Bf = P;
      break;
    case 1:
      Rf = Q, Gf = V, Bf = P;
      break;
    case 2:
      Rf = P, Gf = V, Bf = T;
      break;
    case 3:
      Rf = P, Gf = Q, Bf = V;
      break;
    case 4:
      Rf = T, Gf = P, Bf = V;
      break;
    default:
      Rf = V, Gf = P, Bf = Q;
      break;
  }
  R = static_cast<Integer>(Trunc(255 * Rf));
  G = static_cast<Integer>(Trunc(255 * Gf));
  B = static_cast<Integer>(Trunc(255 * Bf));
}

Single TubeShadeFactor(Integer W, Integer H, Integer X, Integer Kind, Integer Y, Single E, Single F,
                       Single G) {
  const Single L = static_cast<Single>(Kind == 1 ? W : H);
  const Single P = static_cast<Single>(Kind == 1 ? X : Y);
  Single A;
  if (F < 0.5f) {
    const Single D = P <= L / 2 ? P : L - P;
    A = static_cast<Single>(1 - std::exp(-(1 - F) * G * 5 * D / L));
  } else {
    A = static_cast<Single>(1 - std::exp(-F * G * 10 * std::fabs(L / 2 - P) / L));
  }
  return E * A + (1 - E);
}

Int64 ProcessWorkingSetSize() {
  PROCESS_MEMORY_COUNTERS Counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &Counters, sizeof(Counters))) return 0;
  return static_cast<Int64>(Counters.WorkingSetSize);
}

std::string MemoryStatusText() {
  MEMORYSTATUS Status;
  GlobalMemoryStatus(&Status);
  return IntToStr(ProcessWorkingSetSize() / 1024 / 1024) + " Mb / " +
         IntToStr(Status.dwAvailPhys / 1024 / 1024) + " Mb";
}

void FillCell(TBitmap* Bitmap, Integer X, Integer Y) {
  TCellFill& Fill = SharedCellFill();
  Fill.Bind(Bitmap);
  Fill.Fill(X, Y, static_cast<TColor>(ColorToRGB(Bitmap->GetCanvas()->GetBrush()->GetColor())));
}
