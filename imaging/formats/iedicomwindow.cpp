// Grey DICOM pictures for display: the modality rescale, the linear VOI window, a contrast
// stretch of what results to the full range, and the MONOCHROME1 inversion.
#include <algorithm>
#include <cmath>
#include <limits>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/formats/iedicom.h"

namespace {

// Stored sample to display value before the stretch: rescale, then the window when there is one.
class TWindowFunction {
 public:
  TWindowFunction(const TDicomWindow& W, Double Top) : FW(W), FTop(Top) {
    FWindowed = W.Center != -1 && W.Width != -1;
    FLow = std::trunc(W.Center - 0.5 - (W.Width - 1) / 2);
    FHigh = std::trunc(W.Center - 0.5 + (W.Width - 1) / 2);
  }
  Double operator()(Double Stored) const {
    const Double V = Stored * FW.Slope + FW.Intercept;
    if (!FWindowed) return V;
    if (V <= FLow) return 0;
    if (V >= FHigh) return FTop;
    return ((V - (FW.Center - 0.5)) / (FW.Width - 1) + 0.5) * FTop;
  }

 private:
  TDicomWindow FW;
  Double FTop;
  bool FWindowed = false;
  Double FLow = 0;
  Double FHigh = 0;
};

// TStored reads a sample (signed or not); TOut is the bitmap's sample type. Two passes: the
// smallest and largest display values, then every sample offset above 0 and stretched from
// that range to 0..Top. The whole picture is offset alike, whatever the order of its samples.
template <typename TStored, typename TOut>
void ApplyWindow(TIEBitmap* Bitmap, const TDicomWindow& W, Integer SamplesPerRow) {
  constexpr Double Top = std::numeric_limits<TOut>::max();
  const TWindowFunction Window(W, Top);
  const Integer Rows = Bitmap->GetHeight();
  Double Smallest = std::numeric_limits<Double>::max();
  Double Largest = std::numeric_limits<Double>::lowest();
  for (Integer Y = 0; Y < Rows; ++Y) {
    const TStored* Row = static_cast<const TStored*>(Bitmap->GetScanline(Y));
    for (Integer X = 0; X < SamplesPerRow; ++X) {
      const Double V = Window(Row[X]);
      Smallest = std::min(Smallest, V);
      Largest = std::max(Largest, V);
    }
  }
  if (Rows == 0 || SamplesPerRow == 0) return;
  const Double Offset = std::max(0.0, -Smallest);
  const Double Low = std::trunc(Smallest + Offset);
  const Double Range = std::trunc(Largest + Offset) - Low;
  for (Integer Y = 0; Y < Rows; ++Y) {
    TStored* Row = static_cast<TStored*>(Bitmap->GetScanline(Y));
    TOut* Out = reinterpret_cast<TOut*>(Row);
    for (Integer X = 0; X < SamplesPerRow; ++X) {
      const Double S = std::trunc(Window(Row[X]) + Offset);
      // All samples equal: nothing to stretch, the value is kept within range.
      Out[X] = static_cast<TOut>(Range > 0 ? std::trunc((S - Low) / Range * Top) : std::clamp(S, 0.0, Top));
    }
  }
}

}  // namespace

void DicomApplyWindow16(TIEBitmap* Bitmap, const TDicomWindow& Window) {
  const Integer Samples = Bitmap->GetWidth();
  if (Window.Signed)
    ApplyWindow<int16_t, Word>(Bitmap, Window, Samples);
  else
    ApplyWindow<Word, Word>(Bitmap, Window, Samples);
}

void DicomApplyWindow8(TIEBitmap* Bitmap, const TDicomWindow& Window, Integer SamplesPerPixel) {
  const Integer Samples = Bitmap->GetWidth() * SamplesPerPixel;
  if (Window.Signed)
    ApplyWindow<int8_t, Byte>(Bitmap, Window, Samples);
  else
    ApplyWindow<Byte, Byte>(Bitmap, Window, Samples);
}

void DicomInvertMonochrome1(TIEBitmap* Bitmap, std::string_view Photometric, Integer SamplesPerPixel) {
  if (IEUpperCase(IETrim(Photometric)) != "MONOCHROME1") return;
  const Integer Bytes =
      Bitmap->GetPixelFormat() == ie16g ? Bitmap->GetWidth() * 2 : Bitmap->GetWidth() * SamplesPerPixel;
  for (Integer Y = 0; Y < Bitmap->GetHeight(); ++Y) {
    Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
    for (Integer X = 0; X < Bytes; ++X) Row[X] = static_cast<Byte>(~Row[X]);
  }
}
