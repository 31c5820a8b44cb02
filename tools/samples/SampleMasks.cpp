// Four masks: a heart, a disc and a star in which the mosaic shows, and a frame of mosaic round a
// white middle.
#include <cmath>
#include <numbers>

#include "SamplePictures.h"

namespace {
TRgb ShownWhere(bool Shown) {
  return Shown ? White : Black;
}

// The heart curve (x² + y² - 1)³ = x² y³, y upwards, with room round it.
TRgb Heart(double U, double V) {
  const double X = 1.3 * U, Y = 0.12 - 1.3 * V;
  const double A = X * X + Y * Y - 1;
  return ShownWhere(A * A * A - X * X * Y * Y * Y <= 0);
}

TRgb Circle(double U, double V) {
  return ShownWhere(U * U + V * V <= 0.9 * 0.9);
}

// A five-pointed star, one point up; inside by the even-odd rule over its ten corners.
TRgb Star(double U, double V) {
  constexpr int Corners = 10;
  constexpr double Outer = 0.95, Inner = Outer * 0.382;
  double Px[Corners], Py[Corners];
  for (int I = 0; I < Corners; ++I) {
    const double Angle = -std::numbers::pi / 2 + I * std::numbers::pi / 5;
    const double R = I % 2 == 0 ? Outer : Inner;
    Px[I] = R * std::cos(Angle);
    Py[I] = 0.09 + R * std::sin(Angle);  // lowered to centre the points top and bottom
  }
  bool Inside = false;
  for (int I = 0, J = Corners - 1; I < Corners; J = I++) {
    if ((Py[I] > V) != (Py[J] > V) && U < Px[J] + (V - Py[J]) * (Px[I] - Px[J]) / (Py[I] - Py[J]))
      Inside = !Inside;
  }
  return ShownWhere(Inside);
}

TRgb Frame(double U, double V) {
  return ShownWhere(std::fabs(U) >= 0.7 || std::fabs(V) >= 0.7);
}

constexpr TSamplePicture Masks[] = {
    {"Heart.bmp", 1, Heart}, {"Circle.bmp", 1, Circle}, {"Star.bmp", 1, Star}, {"Frame.bmp", 1, Frame}};
}  // namespace

std::span<const TSamplePicture> SampleMasks() {
  return Masks;
}
