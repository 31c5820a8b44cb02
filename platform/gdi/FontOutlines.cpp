// Glyph outlines and bitmaps for GetGlyphOutline.
#include <algorithm>
#include <cstring>
#include <numbers>

#include "platform/gdi/FontEngineInternal.h"

using namespace FontInternals;

// ---------------------------------------------------------------------------------------------
// Glyph outlines

namespace {

POINTFX ToPointFx(FT_Vector V) {
  // 26.6 to 16.16.
  return POINTFX{FixedFromRaw(static_cast<Integer>(V.x * 1024)),
                 FixedFromRaw(static_cast<Integer>(V.y * 1024))};
}

// Writes contours as TTPOLYGONHEADER/TTPOLYCURVE records. Native keeps quadratic splines (runs of
// off-curve points with implied on-curve midpoints) and lines; Bezier turns them into cubics.
class TOutlineWriter {
 public:
  explicit TOutlineWriter(bool Bezier) : FBezier(Bezier) {}
  std::vector<Byte> Out;

  void Contour(const FT_Vector* P, const char* Tags, Integer N) {
    if (N <= 0) return;
    // Start at an on-curve point, or at the midpoint of two off-curve points.
    Integer Start = -1;
    for (Integer I = 0; I < N; ++I)
      if (Kind(Tags[I]) == 0) {
        Start = I;
        break;
      }
    std::vector<FT_Vector> Pts;
    std::vector<char> Kinds;
    if (Start < 0) {
      FT_Vector Mid{(P[0].x + P[N - 1].x) / 2, (P[0].y + P[N - 1].y) / 2};
      Pts.push_back(Mid);
      Kinds.push_back(0);
      for (Integer I = 0; I < N; ++I) Pts.push_back(P[I]), Kinds.push_back(Kind(Tags[I]));
    } else {
      for (Integer I = 0; I < N; ++I) {
        const Integer J = (Start + I) % N;
        Pts.push_back(P[J]);
        Kinds.push_back(Kind(Tags[J]));
      }
    }
    Pts.push_back(Pts[0]);  // the contour closes on its start
    Kinds.push_back(0);

    const std::size_t HeaderAt = Out.size();
    TTPOLYGONHEADER H;
    H.pfxStart = ToPointFx(Pts[0]);
    Append(&H, sizeof(H));
    const std::size_t Count = Pts.size();
    std::size_t I = 1;
    while (I < Count) {
      if (Kinds[I] == 0) {
        // A run of lines; the closing line back to the start is implied.
        std::vector<FT_Vector> Run;
        while (I < Count && Kinds[I] == 0) {
          if (I + 1 < Count || !Same(Pts[I], Pts[I - 1])) Run.push_back(Pts[I]);
          ++I;
        }
        if (I == Count && !Run.empty() && Same(Run.back(), Pts[0])) Run.pop_back();
        if (!Run.empty()) Curve(TT_PRIM_LINE, Run);
      } else if (Kinds[I] == 1) {
        // Quadratic: off-curve points up to the next on-curve point.
        std::vector<FT_Vector> Run;
        FT_Vector From = Pts[I - 1];
        std::vector<FT_Vector> Cubic;
        while (I < Count && Kinds[I] == 1) {
          const FT_Vector C = Pts[I];
          const bool NextOff = I + 1 < Count && Kinds[I + 1] == 1;
          const FT_Vector To =
              NextOff ? FT_Vector{(C.x + Pts[I + 1].x) / 2, (C.y + Pts[I + 1].y) / 2} : Pts[I + 1];
          Run.push_back(C);
          if (FBezier) {
            Cubic.push_back({From.x + (C.x - From.x) * 2 / 3, From.y + (C.y - From.y) * 2 / 3});
            Cubic.push_back({To.x + (C.x - To.x) * 2 / 3, To.y + (C.y - To.y) * 2 / 3});
            Cubic.push_back(To);
          }
          From = To;
          ++I;
        }
        Run.push_back(Pts[I]);  // the on-curve end point
        ++I;
        Curve(FBezier ? TT_PRIM_CSPLINE : TT_PRIM_QSPLINE, FBezier ? Cubic : Run);
      } else {
        // Cubic segments (two control points and an end point each).
        std::vector<FT_Vector> Run;
        while (I + 2 < Count && Kinds[I] == 2) {
          Run.push_back(Pts[I]);
          Run.push_back(Pts[I + 1]);
          Run.push_back(Pts[I + 2]);
          I += 3;
        }
        if (Run.empty()) break;  // malformed contour
        Curve(TT_PRIM_CSPLINE, Run);
      }
    }
    const DWORD Cb = static_cast<DWORD>(Out.size() - HeaderAt);
    std::memcpy(Out.data() + HeaderAt, &Cb, sizeof(Cb));
  }

 private:
  bool FBezier;
  static char Kind(char Tag) {
    switch (FT_CURVE_TAG(Tag)) {
      case FT_CURVE_TAG_ON:
        return 0;
      case FT_CURVE_TAG_CONIC:
        return 1;
      default:
        return 2;
    }
  }
  static bool Same(FT_Vector A, FT_Vector B) { return A.x == B.x && A.y == B.y; }
  void Append(const void* P, std::size_t N) {
    const Byte* B = static_cast<const Byte*>(P);
    Out.insert(Out.end(), B, B + N);
  }
  void Curve(WORD Type, const std::vector<FT_Vector>& Points) {
    const WORD Head[2] = {Type, static_cast<WORD>(Points.size())};
    Append(Head, sizeof(Head));
    for (const FT_Vector& V : Points) {
      const POINTFX F = ToPointFx(V);
      Append(&F, sizeof(F));
    }
  }
};

}  // namespace

DWORD TFontFace::GlyphOutline(UINT Char, UINT Format, GLYPHMETRICS* Metrics, DWORD Size, void* Buffer,
                              const MAT2* Matrix) {
  if (!Metrics || !Matrix) return GdiError;
  const UINT Kind = Format & 0x0F;
  if (Kind > GGO_GRAY8_BITMAP) return GdiError;
  TEngine& E = Engine();
  std::lock_guard<std::mutex> Guard(E.Lock);
  const FT_UInt Index = (Format & GGO_GLYPH_INDEX) ? Char : FData->GlyphIndex(Char);
  if ((Format & GGO_GLYPH_INDEX) && Index >= static_cast<FT_UInt>(FData->Face->num_glyphs)) return GdiError;
  if (!FData->Load(Index, (Format & GGO_UNHINTED) == 0)) return GdiError;
  FT_GlyphSlot S = FData->Face->glyph;
  if (S->format != FT_GLYPH_FORMAT_OUTLINE) return GdiError;
  FT_Outline& O = S->outline;

  FT_Matrix M{FixedToRaw(Matrix->eM11), FixedToRaw(Matrix->eM21), FixedToRaw(Matrix->eM12),
              FixedToRaw(Matrix->eM22)};
  FT_Matrix Total = M;
  if (FData->Rotated) {
    Total = FData->Rotation;
    FT_Matrix_Multiply(&M, &Total);  // the font's rotation first, then the caller's matrix
  }
  const bool Identity = Total.xx == 0x10000 && Total.yy == 0x10000 && Total.xy == 0 && Total.yx == 0;
  if (!Identity) FT_Outline_Transform(&O, &Total);
  FT_Vector Adv{static_cast<FT_Pos>(FData->LoadedAdvance()) * 64, 0};
  if (!Identity) FT_Vector_Transform(&Adv, &Total);

  FT_BBox Box{0, 0, 0, 0};
  const bool Empty = O.n_points == 0;
  if (!Empty) FT_Outline_Get_CBox(&O, &Box);
  const Integer X0 = Floor64(Box.xMin), Y0 = Floor64(Box.yMin);
  const Integer X1 = Ceil64(Box.xMax), Y1 = Ceil64(Box.yMax);
  GLYPHMETRICS G;
  G.gmBlackBoxX = Empty || X1 <= X0 ? 1u : static_cast<UINT>(X1 - X0);
  G.gmBlackBoxY = Empty || Y1 <= Y0 ? 1u : static_cast<UINT>(Y1 - Y0);
  G.gmptGlyphOrigin = Empty ? POINT{0, 0} : POINT{X0, Y1};
  G.gmCellIncX = static_cast<SHORT>(RoundHalfUp(Adv.x / 64.0));
  G.gmCellIncY = static_cast<SHORT>(RoundHalfUp(Adv.y / 64.0));
  *Metrics = G;
  if (Kind == GGO_METRICS) return 1;

  std::vector<Byte> Data;
  if (Kind == GGO_NATIVE || Kind == GGO_BEZIER) {
    TOutlineWriter W(Kind == GGO_BEZIER);
    Integer First = 0;
    for (Integer C = 0; C < O.n_contours; ++C) {
      const Integer Last = O.contours[C];
      W.Contour(O.points + First, O.tags + First, Last - First + 1);
      First = Last + 1;
    }
    Data = std::move(W.Out);
  } else if (!Empty) {
    const Integer Wd = static_cast<Integer>(G.gmBlackBoxX), Ht = static_cast<Integer>(G.gmBlackBoxY);
    const bool Mono = Kind == GGO_BITMAP;
    const Integer Pitch = Mono ? ((Wd + 31) / 32) * 4 : (Wd + 3) & ~3;
    Data.assign(static_cast<std::size_t>(Pitch) * Ht, 0);
    FT_Outline_Translate(&O, -static_cast<FT_Pos>(X0) * 64, -static_cast<FT_Pos>(Y0) * 64);
    FT_Bitmap B{};
    B.rows = static_cast<unsigned>(Ht);
    B.width = static_cast<unsigned>(Wd);
    B.pitch = Pitch;
    B.buffer = Data.data();
    B.pixel_mode = Mono ? FT_PIXEL_MODE_MONO : FT_PIXEL_MODE_GRAY;
    B.num_grays = 256;
    if (FT_Outline_Get_Bitmap(E.Library, &O, &B) != 0) return GdiError;
    if (!Mono) {
      const Integer Levels = Kind == GGO_GRAY2_BITMAP ? 4 : Kind == GGO_GRAY4_BITMAP ? 16 : 64;
      for (Byte& V : Data) V = static_cast<Byte>((V * Levels + 127) / 255);
    }
  }
  if (!Buffer || Size == 0) return static_cast<DWORD>(Data.size());
  if (Size < Data.size()) return GdiError;
  if (!Data.empty()) std::memcpy(Buffer, Data.data(), Data.size());
  return static_cast<DWORD>(Data.size());
}
