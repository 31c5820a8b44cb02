// Colours, fonts, pens and brushes.
#include "ClassesTestUtil.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"

namespace {

struct TChangeCounter {
  Integer Count = 0;
  void Changed(TObject*) { ++Count; }
};

}  // namespace

TEST(Colors, NamesAndSystemColours) {
  EXPECT_EQ(ColorToString(clRed), "clRed");
  EXPECT_EQ(ColorToString(clSilver), "clSilver");  // not clLtGray
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(StringToColor("CLLIME"), clLime);
  EXPECT_EQ(StringToColor("clLtGray"), clSilver);
  EXPECT_EQ(StringToColor("$80000005"), clWindow);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_THROW(StringToColor("clNothing"), EConvertError);
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToRGB(clWindow), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(ColorToRGB(clHighlight), GetSysColor(COLOR_HIGHLIGHT));
}

TEST(Font, DefaultsAndSizeHeightRelation) {
  TFont F;
  EXPECT_EQ(F.GetName(), "MS Sans Serif");
  EXPECT_EQ(F.GetSize(), 8);
  EXPECT_EQ(F.GetHeight(), -11);
  EXPECT_EQ(F.GetColor(), clWindowText);
  EXPECT_EQ(F.GetCharset(), DEFAULT_CHARSET);
  EXPECT_TRUE(F.GetStyle().IsEmpty());
  EXPECT_EQ(F.GetPixelsPerInch(), 96);
  // Height = -MulDiv(Size, 96, 72) (halves away from zero); Size = -MulDiv(Height, 72, 96).
  const struct {
    Integer Size, Height;
  } Sizes[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {14, -19}, {72, -96}, {-15, 20}};
  for (const auto& S : Sizes) {
    F.SetSize(S.Size);
    EXPECT_EQ(F.GetHeight(), S.Height) << S.Size;
    F.SetHeight(S.Height);
    EXPECT_EQ(F.GetSize(), S.Size) << S.Height;
  }
  F.SetHeight(-15);
  EXPECT_EQ(F.GetSize(), 11);  // 11.25 rounds down
}

TEST(Font, SettersFireOnlyOnChangeAndRemakeTheHandle) {
  TFont F;
  TChangeCounter C;
  F.OnChange = TNotifyEvent(&C, &TChangeCounter::Changed);
  HFONT H1 = F.GetHandle();
  ASSERT_NE(H1, nullptr);
  EXPECT_EQ(F.GetHandle(), H1);
  F.SetSize(8);
  F.SetName("");
  EXPECT_EQ(C.Count, 0);
  F.SetStyle({fsBold, fsItalic});
  EXPECT_EQ(C.Count, 1);
  LOGFONTA Log;
  ASSERT_NE(GetObject(F.GetHandle(), sizeof(Log), &Log), 0);
  EXPECT_EQ(Log.lfWeight, FW_BOLD);
  EXPECT_EQ(Log.lfItalic, 1);
  EXPECT_EQ(Log.lfHeight, -11);
  EXPECT_EQ(Log.lfFaceName, "MS Sans Serif");
  F.SetColor(clRed);  // no part of the handle
  F.SetName("Arial");
  F.SetPitch(fpFixed);
  F.SetOrientation(900);
  EXPECT_EQ(C.Count, 5);
  ASSERT_NE(GetObject(F.GetHandle(), sizeof(Log), &Log), 0);
  EXPECT_EQ(Log.lfPitchAndFamily & 3, FIXED_PITCH);
  EXPECT_EQ(Log.lfEscapement, 900);
}

TEST(Font, AssignKeepsThePointSizeAcrossResolutions) {
  TFont A, B;
  A.SetSize(12);
  A.SetName("Arial");
  A.SetColor(clBlue);
  A.SetStyle({fsUnderline});
  B.SetPixelsPerInch(120);
  TChangeCounter C;
  B.OnChange = TNotifyEvent(&C, &TChangeCounter::Changed);
  B.Assign(&A);
  EXPECT_EQ(B.GetSize(), 12);
  EXPECT_EQ(B.GetHeight(), -20);
  EXPECT_EQ(B.GetName(), "Arial");
  EXPECT_EQ(B.GetColor(), clBlue);
  EXPECT_TRUE(B.GetStyle().Contains(fsUnderline));
  EXPECT_EQ(C.Count, 1);
  B.Assign(&A);
  EXPECT_EQ(C.Count, 1);
  TPen P;
  EXPECT_THROW(B.Assign(&P), EConvertError);
}

TEST(Pen, ModesMapToMixModes) {
  const Integer Expect[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                            R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                            R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                            R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  for (Integer M = pmBlack; M <= pmNotXor; ++M)
    EXPECT_EQ(PenModeToRop2(static_cast<TPenMode>(M)), Expect[M]) << M;
}

TEST(Pen, HandleFollowsTheDescription) {
  TPen P;
  EXPECT_EQ(P.GetColor(), clBlack);
  EXPECT_EQ(P.GetWidth(), 1);
  EXPECT_EQ(P.GetMode(), pmCopy);
  const struct {
    TPenStyle Style;
    UINT Ps;
  } Styles[] = {{psSolid, PS_SOLID},
                {psDash, PS_DASH},
                {psDot, PS_DOT},
                {psDashDot, PS_DASHDOT},
                {psDashDotDot, PS_DASHDOTDOT},
                {psClear, PS_NULL},
                {psInsideFrame, PS_INSIDEFRAME}};
  P.SetColor(clBtnShadow);
  for (const auto& S : Styles) {
    P.SetStyle(S.Style);
    LOGPEN Log;
    ASSERT_NE(GetObject(P.GetHandle(), sizeof(Log), &Log), 0);
    EXPECT_EQ(Log.lopnStyle, S.Ps);
    EXPECT_EQ(Log.lopnWidth.X, 1);
    EXPECT_EQ(Log.lopnColor, GetSysColor(COLOR_BTNSHADOW));
  }
  P.SetStyle(psSolid);
  P.SetWidth(3);
  LOGPEN Log;
  ASSERT_NE(GetObject(P.GetHandle(), sizeof(Log), &Log), 0);
  EXPECT_EQ(Log.lopnWidth.X, 3);
  P.SetWidth(-1);
  EXPECT_EQ(P.GetWidth(), 3);
}

TEST(Brush, ColourAndStyleRules) {
  TBrush B;
  EXPECT_EQ(B.GetColor(), clWhite);
  EXPECT_EQ(B.GetStyle(), bsSolid);
  B.SetColor(clRed);
  B.SetStyle(bsClear);
  EXPECT_EQ(B.GetColor(), clWhite);  // a clear brush is white
  B.SetColor(clBlue);
  EXPECT_EQ(B.GetStyle(), bsSolid);  // a colour makes it solid again
  B.SetStyle(bsDiagCross);
  LOGBRUSH Log;
  ASSERT_NE(GetObject(B.GetHandle(), sizeof(Log), &Log), 0);
  EXPECT_EQ(Log.lbStyle, BS_HATCHED);
  EXPECT_EQ(Log.lbHatch, static_cast<ULONG_PTR>(HS_DIAGCROSS));
  EXPECT_EQ(Log.lbColor, 0xFF0000u);
  // A pattern bitmap wins over the style.
  TBitmap Pattern;
  Pattern.SetSize(8, 8);
  B.SetBitmap(&Pattern);
  ASSERT_NE(GetObject(B.GetHandle(), sizeof(Log), &Log), 0);
  EXPECT_EQ(Log.lbStyle, BS_PATTERN);
  B.SetBitmap(nullptr);
}
