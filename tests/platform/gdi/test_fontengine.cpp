#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/FontEngine.h"

namespace {

constexpr DWORD GdiError = 0xFFFFFFFFu;

LOGFONTA Font(const char* Face, LONG Height, LONG Weight = FW_NORMAL, BYTE Quality = DEFAULT_QUALITY) {
  LOGFONTA F;
  F.lfFaceName = Face;
  F.lfHeight = Height;
  F.lfWeight = Weight;
  F.lfQuality = Quality;
  return F;
}

std::string FileName(const std::string& Path) {
  return Path.substr(Path.find_last_of('/') + 1);
}

TEST(FontEngine, FaceNamesResolveThroughTheSubstitutionTable) {
  struct TCase {
    const char* Face;
    bool Bold;
    bool Italic;
    const char* File;
  };
  const TCase Cases[] = {
      {"Arial", false, false, "LiberationSans-Regular.ttf"},
      {"arial", true, false, "LiberationSans-Bold.ttf"},
      {"MS Sans Serif", false, true, "LiberationSans-Italic.ttf"},
      {"Times New Roman", false, false, "LiberationSerif-Regular.ttf"},
      {"Courier New", false, false, "LiberationMono-Regular.ttf"},
      {"Tahoma", false, false, "DejaVuSans.ttf"},
      {"Verdana", true, false, "DejaVuSans-Bold.ttf"},
  };
  for (const TCase& C : Cases) {
    const TFaceMatch M = MatchFontFace(C.Face, C.Bold, C.Italic, DEFAULT_PITCH);
    EXPECT_EQ(FileName(M.File), C.File) << C.Face;
    EXPECT_TRUE(M.Substituted) << C.Face;
    EXPECT_EQ(M.Bold, C.Bold);
  }
  EXPECT_EQ(SubstituteFaceName("SEGOE UI"), "Liberation Sans");
  EXPECT_TRUE(SubstituteFaceName("Liberation Sans").empty());
  // Unknown and empty names fall back to a default face, never to nothing.
  EXPECT_FALSE(MatchFontFace("No Such Face 123", false, false, DEFAULT_PITCH).File.empty());
  EXPECT_FALSE(MatchFontFace("No Such Face 123", false, false, DEFAULT_PITCH).Substituted);
  EXPECT_FALSE(MatchFontFace("", false, false, DEFAULT_PITCH).File.empty());
}

TEST(FontEngine, HeightRules) {
  auto Em = RealizeFont(Font("Arial", -12));
  auto Cell = RealizeFont(Font("Arial", 12));
  auto Default = RealizeFont(Font("Arial", 0));
  ASSERT_TRUE(Em && Cell && Default);
  const TEXTMETRICW& E = Em->Metrics();
  const TEXTMETRICW& C = Cell->Metrics();
  // Negative: the character height is 12, the cell is taller by the internal leading.
  EXPECT_EQ(E.tmHeight - E.tmInternalLeading, 12);
  EXPECT_GT(E.tmHeight, 12);
  // Positive: the cell is 12, the character smaller.
  EXPECT_EQ(C.tmHeight, 12);
  EXPECT_LT(C.tmHeight - C.tmInternalLeading, 12);
  EXPECT_EQ(Default->Metrics().tmHeight, DefaultFontCellHeight);
  for (const TEXTMETRICW* T : {&E, &C}) {
    EXPECT_EQ(T->tmHeight, T->tmAscent + T->tmDescent);
    EXPECT_GT(T->tmAveCharWidth, 0);
    EXPECT_GE(T->tmMaxCharWidth, T->tmAveCharWidth);
  }
  // Liberation Sans at 12 pixels, as its metric twin gives: ascent 11, descent 3.
  EXPECT_EQ(E.tmAscent, 11);
  EXPECT_EQ(E.tmDescent, 3);
  EXPECT_EQ(E.tmAveCharWidth, 5);
  EXPECT_EQ(E.tmPitchAndFamily & 0xF0, FF_SWISS);
  EXPECT_TRUE(E.tmPitchAndFamily & TMPF_FIXED_PITCH);  // set for variable pitch
  EXPECT_FALSE(RealizeFont(Font("Courier New", -12))->Metrics().tmPitchAndFamily & TMPF_FIXED_PITCH);
  EXPECT_EQ(RealizeFont(Font("Arial", -12, FW_BOLD))->Metrics().tmWeight, FW_BOLD);
}

TEST(FontEngine, FacesAreCachedPerLogicalFont) {
  auto A = RealizeFont(Font("Arial", -13));
  EXPECT_EQ(A, RealizeFont(Font("Arial", -13)));
  EXPECT_NE(A, RealizeFont(Font("Arial", -13, FW_NORMAL, NONANTIALIASED_QUALITY)));
  EXPECT_NE(A, RealizeFont(Font("Arial", -14)));
}

TEST(FontEngine, AdvancesAreIntegersThatAdd) {
  auto F = RealizeFont(Font("Arial", -13));
  const std::u32string S = U"Hello, World";
  std::vector<Integer> Adv(S.size());
  const Integer Sum = F->Advances(S.data(), S.size(), Adv.data());
  Integer Check = 0;
  for (std::size_t I = 0; I < S.size(); ++I) {
    EXPECT_EQ(Adv[I], F->Advance(S[I]));
    Check += Adv[I];
  }
  EXPECT_EQ(Sum, Check);
  EXPECT_GT(F->Advance(U'W'), F->Advance(U'i'));
  // A wider lfWidth widens the characters.
  LOGFONTA Wide = Font("Arial", -13);
  Wide.lfWidth = F->Metrics().tmAveCharWidth * 2;
  EXPECT_GT(RealizeFont(Wide)->Advance(U'x'), F->Advance(U'x') * 3 / 2);
}

TEST(FontEngine, GlyphImagesFollowTheQuality) {
  for (BYTE Quality : {DEFAULT_QUALITY, NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY}) {
    auto F = RealizeFont(Font("Arial", -13, FW_NORMAL, Quality));
    const char32_t C = U'H';
    const TGlyphImage* G = nullptr;
    F->Glyphs(&C, 1, &G);
    ASSERT_NE(G, nullptr);
    EXPECT_EQ(G->Mono, Quality == NONANTIALIASED_QUALITY);
    EXPECT_GT(G->Width, 0);
    EXPECT_LE(G->Top, F->Metrics().tmAscent);
    EXPECT_GE(G->Top - G->Height, -F->Metrics().tmDescent);
    bool Any = false;
    for (Integer I = 0; I < G->Pitch * G->Height; ++I) Any |= G->Bits[I] != 0;
    EXPECT_TRUE(Any);
    const TGlyphImage* Again = nullptr;
    F->Glyphs(&C, 1, &Again);
    EXPECT_EQ(G, Again);
  }
}

TEST(FontEngine, MissingStylesAreSynthesized) {
  // This family has one upright light face only: italic shears it, bold widens every advance.
  const char* Face = "DejaVu Sans Light";
  ASSERT_FALSE(MatchFontFace(Face, true, true, DEFAULT_PITCH).Italic);
  auto Plain = RealizeFont(Font(Face, -20));
  LOGFONTA L = Font(Face, -20);
  L.lfItalic = 1;
  auto Italic = RealizeFont(L);
  EXPECT_EQ(Italic->Metrics().tmItalic, 255);
  const char32_t C = U'l';
  const TGlyphImage *Up = nullptr, *Slanted = nullptr;
  Plain->Glyphs(&C, 1, &Up);
  Italic->Glyphs(&C, 1, &Slanted);
  EXPECT_GE(Slanted->Width, Up->Width + 2);
  EXPECT_EQ(Italic->Advance(U'l'), Plain->Advance(U'l'));
  auto Bold = RealizeFont(Font(Face, -20, FW_BOLD));
  EXPECT_EQ(Bold->Metrics().tmWeight, FW_BOLD);
  EXPECT_EQ(Bold->Advance(U'l'), Plain->Advance(U'l') + 1);
}

TEST(FontEngine, EscapementRotatesGlyphsAndDirection) {
  LOGFONTA L = Font("Arial", -20);
  L.lfEscapement = 900;
  auto F = RealizeFont(L);
  EXPECT_NEAR(F->DirX(), 0, 1e-9);
  EXPECT_NEAR(F->DirY(), -1, 1e-9);  // up the screen
  const char32_t C = U'l';
  const TGlyphImage* G = nullptr;
  F->Glyphs(&C, 1, &G);
  EXPECT_GT(G->Width, G->Height * 2);  // a tall letter lies on its side
}

// Walks a GGO_NATIVE/GGO_BEZIER buffer; returns the number of contours, -1 if malformed.
Integer WalkOutline(const std::vector<Byte>& B, bool Bezier) {
  std::size_t At = 0;
  Integer Contours = 0;
  while (At < B.size()) {
    TTPOLYGONHEADER H;
    std::memcpy(&H, B.data() + At, sizeof(H));
    if (H.dwType != TT_POLYGON_TYPE || H.cb < sizeof(H) || At + H.cb > B.size()) return -1;
    std::size_t C = At + sizeof(H);
    while (C < At + H.cb) {
      WORD Head[2];
      std::memcpy(Head, B.data() + C, sizeof(Head));
      if (Head[1] == 0) return -1;
      if (Bezier && Head[0] != TT_PRIM_LINE && (Head[0] != TT_PRIM_CSPLINE || Head[1] % 3 != 0)) return -1;
      if (!Bezier && Head[0] != TT_PRIM_LINE && Head[0] != TT_PRIM_QSPLINE) return -1;
      C += sizeof(Head) + Head[1] * sizeof(POINTFX);
    }
    if (C != At + H.cb) return -1;
    At = C;
    ++Contours;
  }
  return Contours;
}

TEST(FontEngine, GlyphOutline) {
  auto F = RealizeFont(Font("Arial", -13));
  const MAT2 Identity;
  GLYPHMETRICS Gm;
  ASSERT_NE(F->GlyphOutline('A', GGO_METRICS, &Gm, 0, nullptr, &Identity), GdiError);
  EXPECT_EQ(Gm.gmCellIncX, F->Advance(U'A'));
  EXPECT_EQ(Gm.gmCellIncY, 0);
  EXPECT_GT(Gm.gmBlackBoxX, 0u);
  EXPECT_LE(Gm.gmBlackBoxY, static_cast<UINT>(F->Metrics().tmHeight));
  EXPECT_LE(Gm.gmptGlyphOrigin.Y, F->Metrics().tmAscent);
  EXPECT_EQ(F->GlyphOutline('A', GGO_METRICS, &Gm, 0, nullptr, nullptr), GdiError);

  // Size queries, then the buffers themselves.
  for (UINT Format : {GGO_NATIVE, GGO_BEZIER}) {
    const DWORD Size = F->GlyphOutline('O', Format, &Gm, 0, nullptr, &Identity);
    ASSERT_NE(Size, GdiError);
    ASSERT_GT(Size, sizeof(TTPOLYGONHEADER));
    std::vector<Byte> B(Size);
    EXPECT_EQ(F->GlyphOutline('O', Format, &Gm, Size, B.data(), &Identity), Size);
    EXPECT_EQ(WalkOutline(B, Format == GGO_BEZIER), 2) << Format;  // 'O' has two contours
    EXPECT_EQ(F->GlyphOutline('O', Format, &Gm, Size - 1, B.data(), &Identity), GdiError);
  }
  const DWORD Bits = F->GlyphOutline('A', GGO_BITMAP, &Gm, 0, nullptr, &Identity);
  EXPECT_EQ(Bits, (Gm.gmBlackBoxX + 31) / 32 * 4 * Gm.gmBlackBoxY);
  const DWORD GraySize = F->GlyphOutline('A', GGO_GRAY8_BITMAP, &Gm, 0, nullptr, &Identity);
  EXPECT_EQ(GraySize, ((Gm.gmBlackBoxX + 3) & ~3u) * Gm.gmBlackBoxY);
  std::vector<Byte> Gray(GraySize);
  F->GlyphOutline('A', GGO_GRAY8_BITMAP, &Gm, GraySize, Gray.data(), &Identity);
  Byte Max = 0;
  for (Byte V : Gray) Max = std::max(Max, V);
  EXPECT_EQ(Max, 64);
  // A space has a one-pixel black box and no bitmap.
  EXPECT_EQ(F->GlyphOutline(' ', GGO_BITMAP, &Gm, 0, nullptr, &Identity), 0u);
  EXPECT_EQ(Gm.gmBlackBoxX, 1u);
  EXPECT_EQ(Gm.gmCellIncX, F->Advance(U' '));

  // General matrices: doubled, and turned a quarter counter-clockwise.
  MAT2 Twice;
  Twice.eM11 = FIXEDFromInt(2);
  Twice.eM22 = FIXEDFromInt(2);
  GLYPHMETRICS G1, G2;
  F->GlyphOutline('H', GGO_METRICS, &G1, 0, nullptr, &Identity);
  F->GlyphOutline('H', GGO_METRICS, &G2, 0, nullptr, &Twice);
  EXPECT_EQ(G2.gmCellIncX, G1.gmCellIncX * 2);
  EXPECT_NEAR(static_cast<double>(G2.gmBlackBoxY), G1.gmBlackBoxY * 2.0, 2.0);
  MAT2 Turn;
  Turn.eM11 = FIXEDFromInt(0);
  Turn.eM12 = FIXEDFromInt(1);
  Turn.eM21 = FIXEDFromInt(-1);
  Turn.eM22 = FIXEDFromInt(0);
  F->GlyphOutline('H', GGO_METRICS, &G2, 0, nullptr, &Turn);
  EXPECT_EQ(G2.gmCellIncX, 0);
  EXPECT_EQ(G2.gmCellIncY, G1.gmCellIncX);
  EXPECT_EQ(G2.gmBlackBoxX, G1.gmBlackBoxY);
}

}  // namespace
