#include "tools/skingen/SkinPainter.h"

#include <algorithm>
#include <cmath>

#include "platform/system/Exceptions.h"

namespace {

std::unique_ptr<TBitmap> NewPicture(Integer W, Integer H, TColor Fill) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  const Byte R = static_cast<Byte>(Fill), G = static_cast<Byte>(Fill >> 8),
             Bl = static_cast<Byte>(Fill >> 16);
  for (Integer Y = 0; Y < H; ++Y) {
    auto* Row = static_cast<Byte*>(B->GetScanLine(Y));
    for (Integer X = 0; X < W; ++X) {
      Row[X * 3] = Bl;
      Row[X * 3 + 1] = G;
      Row[X * 3 + 2] = R;
    }
  }
  return B;
}

Byte Channel(TColor C, Integer Shift) {
  return static_cast<Byte>(C >> Shift);
}

TColor MakeColor(Integer R, Integer G, Integer B) {
  auto Clamp = [](Integer V) { return std::clamp(V, 0, 255); };
  return Clamp(R) | (Clamp(G) << 8) | (Clamp(B) << 16);
}

// Distance from the pixel centre to the outside of a rounded rectangle W x H (negative outside),
// and whether the nearest edge is the top or left one.
double EdgeDistance(Integer X, Integer Y, Integer W, Integer H, Integer Radius, bool OpenBottom,
                    bool& TopLeft) {
  const double Cx = X + 0.5, Cy = Y + 0.5;
  const double Left = Cx, Top = Cy, Right = W - Cx, Bottom = OpenBottom ? H + Radius + 8.0 : H - Cy;
  TopLeft = std::min(Left, Top) <= std::min(Right, Bottom);
  if (Radius > 0) {
    const double Dx = Left < Radius ? Radius - Left : (Right < Radius ? Radius - Right : 0);
    const double Dy = Top < Radius ? Radius - Top : (Bottom < Radius ? Radius - Bottom : 0);
    if (Dx > 0 && Dy > 0) return Radius - std::sqrt(Dx * Dx + Dy * Dy);
  }
  return std::min(std::min(Left, Top), std::min(Right, Bottom));
}

// Fine streaks that repeat every 64 rows, the same on every run.
Integer BrushNoise(Integer X, Integer Y) {
  Cardinal H = static_cast<Cardinal>(Y * 2654435761u) ^ static_cast<Cardinal>((X / 9) * 40503u);
  H ^= H >> 13;
  H *= 0x5bd1e995u;
  H ^= H >> 15;
  return static_cast<Integer>(H % 11) - 5;
}

}  // namespace

TSkinPicture::TSkinPicture(Integer Width, Integer Height, TColor Background)
    : FWidth(Width),
      FHeight(Height),
      FImage(NewPicture(Width, Height, Background)),
      FMask(NewPicture(Width, Height, 0xFFFFFF)),
      FAlpha(NewPicture(Width, Height, 0)) {}

void TSkinPicture::PutRaw(TBitmap* B, Integer X, Integer Y, TColor Color) {
  auto* P = static_cast<Byte*>(B->GetScanLine(Y)) + X * 3;
  P[0] = Channel(Color, 16);
  P[1] = Channel(Color, 8);
  P[2] = Channel(Color, 0);
}

void TSkinPicture::Put(Integer X, Integer Y, TColor Color, Byte Opacity) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  PutRaw(FImage.get(), X, Y, Color);
  PutRaw(FMask.get(), X, Y, 0);
  PutRaw(FAlpha.get(), X, Y, Opacity | (Opacity << 8) | (Opacity << 16));
}

TColor TSkinPicture::Get(Integer X, Integer Y) const {
  const auto* P = static_cast<const Byte*>(FImage->GetScanLine(Y)) + X * 3;
  return P[2] | (P[1] << 8) | (P[0] << 16);
}

void TSkinPicture::Fill(const TRect& R, TColor Color) {
  for (Integer Y = R.Top; Y < R.Bottom; ++Y)
    for (Integer X = R.Left; X < R.Right; ++X) Put(X, Y, Color);
}

void TSkinPicture::Crop(Integer Height) {
  Height = std::clamp(Height, 1, FHeight);
  for (std::unique_ptr<TBitmap>* B : {&FImage, &FMask, &FAlpha}) {
    auto Cut = std::make_unique<TBitmap>();
    Cut->SetPixelFormat(pf24bit);
    Cut->SetSize(FWidth, Height);
    for (Integer Y = 0; Y < Height; ++Y)
      std::copy_n(static_cast<const Byte*>((*B)->GetScanLine(Y)), FWidth * 3,
                  static_cast<Byte*>(Cut->GetScanLine(Y)));
    *B = std::move(Cut);
  }
  FHeight = Height;
}

TColor GradientColor(TColor From, TColor To, Integer T, Integer Count) {
  if (Count <= 1) return From;
  auto Mix = [&](Integer Shift) {
    const Integer A = Channel(From, Shift), B = Channel(To, Shift);
    return A + (B - A) * T / (Count - 1);
  };
  return MakeColor(Mix(0), Mix(8), Mix(16));
}

TColor BlendColor(TColor A, TColor B, Integer Percent) {
  return GradientColor(A, B, Percent, 101);
}

TFaceLook StyleFace(const TSkinStyle& S, Integer State) {
  TFaceLook L;
  switch (State) {
    case 1:
      L.From = S.Hot1, L.To = S.Hot2;
      break;
    case 2:
      L.From = S.Down1, L.To = S.Down2;
      break;
    case 3:
      L.From = BlendColor(S.Face1, S.Panel, 60), L.To = BlendColor(S.Face2, S.Panel, 60);
      break;
    default:
      L.From = S.Face1, L.To = S.Face2;
  }
  L.Outline = State == 3 ? BlendColor(S.Outline, S.Panel, 50) : S.Outline;
  L.Light = State == 1 && S.ButtonGlow ? S.Accent : S.Light;
  L.Shadow = S.Shadow;
  L.Radius = S.Radius;
  L.Bevel = S.Hairline ? 0 : S.BevelDepth;
  L.Vertical = S.Vertical;
  L.Brushed = S.Brushed;
  L.Glass = S.Glass;
  L.Sunken = State == 2 && !S.Hairline;
  L.Opacity = S.PerPixelAlpha ? 224 : 255;
  return L;
}

TFaceLook StyleField(const TSkinStyle& S) {
  TFaceLook L;
  L.From = L.To = S.Window;
  L.Outline = S.Outline;
  L.Light = S.Light;
  L.Shadow = BlendColor(S.Shadow, S.Window, 40);
  L.Radius = std::min(S.Radius, 3);
  L.Bevel = S.Hairline ? 0 : 1;
  L.Sunken = true;
  return L;
}

TFaceLook StylePanel(const TSkinStyle& S) {
  TFaceLook L;
  L.From = L.To = S.Panel;
  L.Outline = BlendColor(S.Outline, S.Panel, 40);
  L.Light = S.Light;
  L.Shadow = BlendColor(S.Shadow, S.Panel, 30);
  L.Bevel = S.Hairline ? 0 : 1;
  L.Brushed = S.Brushed;
  return L;
}

void PaintFace(TSkinPicture& P, const TRect& R, const TFaceLook& Look) {
  const Integer W = R.Right - R.Left, H = R.Bottom - R.Top;
  if (W <= 0 || H <= 0) return;
  const Integer Span = Look.Vertical ? H : W;
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      bool TopLeft = false;
      const double D = EdgeDistance(X, Y, W, H, Look.Radius, Look.OpenBottom, TopLeft);
      if (D <= 0) continue;
      TColor C = GradientColor(Look.From, Look.To, Look.Vertical ? Y : X, Span);
      if (Look.Glass && Y < H / 2) C = BlendColor(C, 0xFFFFFF, 22 - 20 * Y / std::max(1, H / 2));
      if (Look.Brushed) {
        const Integer N = BrushNoise(X, Y);
        C = MakeColor(Channel(C, 0) + N, Channel(C, 8) + N, Channel(C, 16) + N);
      }
      Byte Opacity = Look.Opacity;
      const Integer Ring = static_cast<Integer>(D);  // 0 on the outline
      if (Ring == 0 && !Look.NoOutline) {
        C = Look.Outline;
        Opacity = 255;
      } else if (Ring - (Look.NoOutline ? 0 : 1) < Look.Bevel) {
        const bool Lit = TopLeft != Look.Sunken;
        C = BlendColor(C, Lit ? Look.Light : Look.Shadow, 70);
      }
      P.Put(R.Left + X, R.Top + Y, C, Opacity);
    }
}

TRect TSkinPacker::Reserve(Integer W, Integer H) {
  if (W > FWidth) throw Exception("a part wider than its picture");
  if (FX + W > FWidth) {
    FY += FRowHeight + 1;
    FX = 0;
    FRowHeight = 0;
  }
  const TRect R = Rect(FX, FY, FX + W, FY + H);
  FX += W + 1;
  FRowHeight = std::max(FRowHeight, H);
  return R;
}
