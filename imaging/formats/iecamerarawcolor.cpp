// Camera raw development, first half: the camera colour matrices, white balance with the black
// level, and the conversion of every developed cell to RGB with its brightness histogram.
#include <algorithm>
#include <cmath>

#include "imaging/formats/iecameraraw.h"

namespace {

void SetCoefficients(TCameraRawContext& Context, const double (&Matrix)[3][4]) {
  for (Integer Row = 0; Row < 3; ++Row)
    for (Integer Column = 0; Column < 4; ++Column)
      Context.Coefficients[Row][Column] = static_cast<Single>(Matrix[Row][Column]);
  Context.UseCoefficients = 1;
}

// The average of a channel, 0 when it had no samples.
double Average(double Sum, Int64 Count) {
  return Count > 0 ? Sum / static_cast<double>(Count) : 0.0;
}

// Automatic white balance: every channel is brought to the brightest channel's average, over
// values that are set and not near saturation.
void AutoWhiteBalance(TCameraRawContext& Context) {
  double Sum[4] = {};
  Int64 Count[4] = {};
  const Integer Cells = Context.ImageHeight * Context.ImageWidth;
  for (Integer Cell = 0; Cell < Cells; ++Cell)
    for (Integer C = 0; C < Context.Colors; ++C) {
      const Integer Raw = Context.Image[Cell][C];
      if (Raw == 0) continue;
      const Integer Value = std::max(Raw - Context.Black, 0);
      if (Value > Context.Maximum - 100) continue;
      Sum[C] += Value;
      ++Count[C];
    }
  double Avg[4] = {};
  double DMax = 0;
  for (Integer C = 0; C < Context.Colors; ++C) {
    Avg[C] = Average(Sum[C], Count[C]);
    DMax = std::max(DMax, Avg[C]);
  }
  // A channel without usable samples keeps its multiplier rather than becoming infinite.
  for (Integer C = 0; C < Context.Colors; ++C)
    if (Avg[C] > 0) Context.PreMul[C] = static_cast<Single>(DMax / Avg[C]);
}

// The camera's own balance: its 8 x 8 white sample, or else its red and blue multipliers.
void CameraWhiteBalance(TCameraRawContext& Context) {
  double Sum[4] = {};
  Int64 Count[4] = {};
  for (Integer Row = 0; Row < 8; ++Row)
    for (Integer Col = 0; Col < 8; ++Col) {
      const Integer C = RawFilterColor(Context.Filters, Row, Col);
      const Integer Value = Context.WhiteSample[Row][Col] - Context.Black;
      if (Value > 0) Sum[C] += Value;
      ++Count[C];
    }
  double Avg[4] = {};
  double DMin = 1.7e308;
  double DMax = 0;
  for (Integer C = 0; C < Context.Colors; ++C) {
    Avg[C] = Average(Sum[C], Count[C]);
    DMin = std::min(DMin, Avg[C]);
    DMax = std::max(DMax, Avg[C]);
  }
  if (DMin > 0) {
    for (Integer C = 0; C < Context.Colors; ++C) Context.PreMul[C] = static_cast<Single>(DMax / Avg[C]);
  } else if (Context.CameraRed != 0 && Context.CameraBlue != 0) {
    Context.PreMul[0] = Context.CameraRed;
    Context.PreMul[1] = 1;
    Context.PreMul[2] = Context.CameraBlue;
    Context.PreMul[3] = 1;
  }
}

void Invert3x3(const double (&Source)[3][3], double (&Dest)[3][3]) {
  const double(&M)[3][3] = Source;
  const double Det = M[0][0] * (M[1][1] * M[2][2] - M[1][2] * M[2][1]) -
                     M[0][1] * (M[1][0] * M[2][2] - M[1][2] * M[2][0]) +
                     M[0][2] * (M[1][0] * M[2][1] - M[1][1] * M[2][0]);
  Dest[0][0] = (M[1][1] * M[2][2] - M[1][2] * M[2][1]) / Det;
  Dest[0][1] = (M[0][2] * M[2][1] - M[0][1] * M[2][2]) / Det;
  Dest[0][2] = (M[0][1] * M[1][2] - M[0][2] * M[1][1]) / Det;
  Dest[1][0] = (M[1][2] * M[2][0] - M[1][0] * M[2][2]) / Det;
  Dest[1][1] = (M[0][0] * M[2][2] - M[0][2] * M[2][0]) / Det;
  Dest[1][2] = (M[0][2] * M[1][0] - M[0][0] * M[1][2]) / Det;
  Dest[2][0] = (M[1][0] * M[2][1] - M[1][1] * M[2][0]) / Det;
  Dest[2][1] = (M[0][1] * M[2][0] - M[0][0] * M[2][1]) / Det;
  Dest[2][2] = (M[0][0] * M[1][1] - M[0][1] * M[1][0]) / Det;
}

}  // namespace

void RawNikonE950Coefficients(TCameraRawContext& Context) {
  static constexpr double Matrix[3][4] = {{-1.936280, 1.800443, -1.448486, 2.584324},
                                          {1.405365, -0.524955, -0.289090, 0.408680},
                                          {-1.204965, 1.082304, 2.941367, -1.818705}};
  SetCoefficients(Context, Matrix);
}

void RawSonyCoefficients(TCameraRawContext& Context) {
  static constexpr double Matrix[3][4] = {{1.321918, 0, 0.149829, -0.471747},
                                          {-0.288764, 1.129213, -0.486517, 0.646067},
                                          {0.061336, -0.199343, 1.138007, 0}};
  SetCoefficients(Context, Matrix);
}

void RawFoveonCoefficients(TCameraRawContext& Context) {
  static constexpr double Base[3][3] = {
      {2.034395, -0.727533, -0.306746}, {-0.228719, 1.231793, -0.002829}, {-0.008615, -0.153336, 1.161781}};
  double Matrix[3][4] = {};
  for (Integer Row = 0; Row < 3; ++Row)
    for (Integer Column = 0; Column < 3; ++Column)
      Matrix[Row][Column] = Base[Row][Column] * Context.PreMul[Row];
  SetCoefficients(Context, Matrix);
}

void RawBlendCoefficients(TCameraRawContext& Context, Single Weight) {
  static constexpr double A[3][4] = {
      {2.25, 0.75, -1.75, -0.25}, {-0.25, 0.75, 0.75, -0.25}, {-0.25, -1.75, 0.75, 2.25}};
  static constexpr double B[3][4] = {{1, 0, 0, 0}, {0, 0.5, 0.5, 0}, {0, 0, 0, 1}};
  double Matrix[3][4] = {};
  for (Integer Row = 0; Row < 3; ++Row)
    for (Integer Column = 0; Column < 4; ++Column)
      Matrix[Row][Column] = Weight * A[Row][Column] + (1 - Weight) * B[Row][Column];
  SetCoefficients(Context, Matrix);
}

// The filters' red, green and blue responses (rows: the four camera channels) are inverted by
// least squares, so that a grey seen through the filters comes back as the same grey.
void RawGmcyCoefficients(TCameraRawContext& Context) {
  static constexpr double Response[4][3] = {
      {0.11, 0.86, 0.08}, {0.50, 0.29, 0.51}, {0.11, 0.92, 0.75}, {0.81, 0.98, 0.08}};
  double Normal[3][3] = {};  // Response^T x Response
  for (Integer I = 0; I < 3; ++I)
    for (Integer J = 0; J < 3; ++J)
      for (Integer K = 0; K < 4; ++K) Normal[I][J] += Response[K][I] * Response[K][J];
  double Inverse[3][3] = {};
  Invert3x3(Normal, Inverse);
  double Matrix[3][4] = {};
  for (Integer Row = 0; Row < 3; ++Row)
    for (Integer Column = 0; Column < 4; ++Column)
      for (Integer K = 0; K < 3; ++K) Matrix[Row][Column] += Inverse[Row][K] * Response[Column][K];
  SetCoefficients(Context, Matrix);
}

void RawScaleColors(TCameraRawContext& Context) {
  Context.Maximum -= Context.Black;
  const bool CameraAsksAuto = Context.UseCameraWhiteBalance && Context.CameraRed == -1;
  if (Context.UseAutoWhiteBalance || CameraAsksAuto) AutoWhiteBalance(Context);
  if (Context.UseCameraWhiteBalance && Context.CameraRed != -1) CameraWhiteBalance(Context);
  if (!Context.UseCoefficients) {
    Context.PreMul[0] *= Context.RedScale;
    Context.PreMul[2] *= Context.BlueScale;
  }
  const Integer Cells = Context.ImageHeight * Context.ImageWidth;
  const Integer Colors = std::min<Integer>(Context.Colors, 4);
  for (Integer Cell = 0; Cell < Cells; ++Cell)
    for (Integer C = 0; C < Colors; ++C) {
      Word& Value = Context.Image[Cell][C];
      if (Value == 0) continue;
      const double Scaled = std::nearbyint((Value - Context.Black) * static_cast<double>(Context.PreMul[C]));
      Value = static_cast<Word>(std::clamp<double>(Scaled, 0, std::clamp(Context.Maximum, 0, 0xFFFF)));
    }
}

void RawConvertToRgb(TCameraRawContext& Context) {
  if (Context.DocumentMode) Context.Colors = 1;
  std::fill(std::begin(Context.Histogram), std::end(Context.Histogram), 0);
  const double Maximum = std::clamp(Context.Maximum, 0, 0xFFFF);
  const Integer Colors = std::min<Integer>(Context.Colors, 4);
  for (Integer Row = Context.Trim; Row < Context.ImageHeight - Context.Trim; ++Row) {
    Word(*Cell)[4] = Context.Image + static_cast<std::size_t>(Row) * Context.ImageWidth;
    for (Integer Col = Context.Trim; Col < Context.ImageWidth - Context.Trim; ++Col) {
      Word* Pixel = Cell[Col];
      if (Colors == 4 && !Context.UseCoefficients) Pixel[1] = static_cast<Word>((Pixel[1] + Pixel[3]) >> 1);
      double Rgb[3] = {static_cast<double>(Pixel[0]), static_cast<double>(Pixel[1]),
                       static_cast<double>(Pixel[2])};
      bool Converted = true;
      if (Colors == 1) {
        const Integer Channel = Context.DocumentMode ? RawFilterColor(Context.Filters, Row, Col) : 0;
        Rgb[0] = Rgb[1] = Rgb[2] = Pixel[Channel];
      } else if (Context.UseCoefficients) {
        for (Integer R = 0; R < 3; ++R) {
          Rgb[R] = 0;
          for (Integer G = 0; G < Colors; ++G)
            Rgb[R] += Pixel[G] * static_cast<double>(Context.Coefficients[R][G]);
        }
      } else if (Context.IsCmy) {
        Rgb[0] = Pixel[0] + Pixel[1] - Pixel[2];
        Rgb[1] = Pixel[1] + Pixel[2] - Pixel[0];
        Rgb[2] = Pixel[2] + Pixel[0] - Pixel[1];
      } else {
        Converted = false;
      }
      if (Converted)
        for (Integer C = 0; C < 3; ++C)
          Pixel[C] = static_cast<Word>(std::nearbyint(std::clamp(Rgb[C], 0.0, Maximum)));
      const double Magnitude = std::min(
          std::sqrt(double(Pixel[0]) * Pixel[0] + double(Pixel[1]) * Pixel[1] + double(Pixel[2]) * Pixel[2]) /
              2,
          65535.0);
      Pixel[3] = static_cast<Word>(std::nearbyint(Magnitude));
      ++Context.Histogram[Pixel[3] >> 3];
    }
  }
}
