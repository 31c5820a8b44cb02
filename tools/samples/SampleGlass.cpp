// Three glass pictures, each a surface lit from the upper left: a bubble, ripples round the
// middle and a cut crystal seen from above.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "SamplePictures.h"

namespace {
struct TVector {
  double X, Y, Z;
};

TVector Normalized(TVector A) {
  const double L = std::sqrt(A.X * A.X + A.Y * A.Y + A.Z * A.Z);
  return {A.X / L, A.Y / L, A.Z / L};
}

double Dot(TVector A, TVector B) {
  return A.X * B.X + A.Y * B.Y + A.Z * B.Z;
}

// Light from the upper left and in front; the viewer looks straight down the Z axis.
const TVector Light = Normalized({-1, -1, 1.6});
const TVector Halfway = Normalized({Light.X, Light.Y, Light.Z + 1});

// The tint in the light the surface normal N catches, with a white highlight.
TRgb Lit(TVector N, TRgb Tint, double Shininess) {
  N = Normalized(N);
  const double Level = 0.35 + 0.65 * std::max(0.0, Dot(N, Light));
  const double Highlight = 255 * std::pow(std::max(0.0, Dot(N, Halfway)), Shininess);
  const auto Channel = [&](std::uint8_t T) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(T * Level + Highlight), 0L, 255L));
  };
  return {Channel(Tint.R), Channel(Tint.G), Channel(Tint.B)};
}

// A half sphere filling the square; its edge continues into the corners.
TRgb Bubble(double U, double V) {
  const double R = std::min(std::hypot(U, V), 0.999);
  const double Scale = R / std::max(std::hypot(U, V), 1e-9);
  return Lit({U * Scale, V * Scale, std::sqrt(1 - R * R)}, {190, 215, 240}, 40);
}

// Waves round the middle that flatten towards the edge.
TRgb Ripples(double U, double V) {
  constexpr double Waves = 5 * std::numbers::pi;
  const double R = std::max(std::hypot(U, V), 1e-9);
  const double Slope = -0.25 * Waves * std::sin(Waves * R) * (1 - 0.45 * R);
  return Lit({-Slope * U / R, -Slope * V / R, 1}, {170, 215, 235}, 25);
}

// A flat octagonal table, a ring of eight facets round it and a steeper ring at the rim, the
// outer facets turned by half a facet.
TRgb Crystal(double U, double V) {
  constexpr double Sector = std::numbers::pi / 4;
  const double Angle = std::atan2(V, U);
  const double Inner = (std::floor(Angle / Sector) + 0.5) * Sector;
  const double Distance = std::hypot(U, V) * std::cos(Angle - Inner);  // to the octagon's centre
  if (Distance < 0.35) return Lit({0, 0, 1}, {215, 200, 245}, 60);
  const bool Rim = Distance >= 0.75;
  const double Facet = Rim ? std::round(Angle / Sector) * Sector : Inner;
  const double Tilt = Rim ? 1.6 : 0.7;
  return Lit({Tilt * std::cos(Facet), Tilt * std::sin(Facet), 1}, {215, 200, 245}, 60);
}

constexpr TSamplePicture GlassPictures[] = {
    {"Bubble.bmp", 24, Bubble}, {"Ripples.bmp", 24, Ripples}, {"Crystal.bmp", 24, Crystal}};
}  // namespace

std::span<const TSamplePicture> SampleGlassPictures() {
  return GlassPictures;
}
