#pragma once
// The skin library's small drawing vocabulary: rectangle arithmetic, colour mixing, caption
// drawing, the glyph-and-caption layout of button faces, painting what lies behind a control,
// and the default glyphs an unskinned control draws (arrows, check and radio marks, focus
// frames). The pixel geometry of the defaults decides how unskinned controls look.
//
// All coordinates are canvas pixels. Nothing here owns the canvases, bitmaps or image lists
// it is given.
#include <string>

#include "platform/classes/Canvas.h"
#include "platform/classes/Colors.h"
#include "platform/system/Types.h"
#include "platform/user/WinUser.h"

class TBitmap;
class TControl;
class TCustomImageList;

// ---- Rectangles, points, numbers ------------------------------------------------------------
inline Integer GetRectWidth(const TRect& R) {
  return R.Right - R.Left;
}
inline Integer GetRectHeight(const TRect& R) {
  return R.Bottom - R.Top;
}
inline bool IsEmptyRect(const TRect& R) {
  return GetRectWidth(R) <= 0 || GetRectHeight(R) <= 0;
}
inline bool IsSameRect(const TRect& A, const TRect& B) {
  return A == B;
}
inline void ClearRect(TRect& R) {
  R = TRect{};
}
// Either coordinate zero.
inline bool IsNullPoint(const TPoint& P) {
  return P.X == 0 || P.Y == 0;
}
// All four edges count as inside.
inline bool IsPointInRect(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}
// Both corners of Inner inside Outer, right and bottom edges outside (so a rectangle is not
// inside itself).
bool IsRectInRect(const TRect& Inner, const TRect& Outer);
inline Integer IntMax(Integer A, Integer B) {
  return A > B ? A : B;
}
inline Integer IntMin(Integer A, Integer B) {
  return A < B ? A : B;
}
// Halfway between two colours, channel by channel (system colours resolved first).
TColor MixColors(TColor C1, TColor C2);
// Each channel loses Percent per cent of itself.
TColor DarkerColor(TColor Color, Integer Percent);

// ---- Text -----------------------------------------------------------------------------------
// Shortens Text until it fits Width followed by "..."; a text that fits stays as it is.
void FitTextToWidth(TCanvas* Cnvs, std::string& Text, Integer Width);
// One line centred both ways; a text starting with "W" gets 2 more pixels on the right.
void DrawCaptionCentered(TCanvas* Cnvs, const std::string& Text, TRect R);
// One line, left aligned, vertically centred.
void DrawCaptionLeft(TCanvas* Cnvs, const std::string& Text, TRect R);
// One line, vertically centred; Alignment 0 left, 1 right, 2 centred, others draw nothing.
void DrawCaptionAligned(TCanvas* Cnvs, const std::string& Text, TRect R, Integer Alignment);
// TextRect clipped to R, the text at Left + 2, centred vertically.
void DrawTextRectVCenter(TCanvas* Cnvs, const std::string& Text, TRect R);
void DrawTextRectVCenterOffset(TCanvas* Cnvs, const std::string& Text, TRect R, Integer Offset);

// ---- Button faces ---------------------------------------------------------------------------
// Layout: 0 glyph left of the caption, 1 right, 2 above, 3 below. Margin -1 centres glyph and
// caption as a block. Other layouts leave the outputs as they were.
void CalcButtonLayout(Integer Layout, const TRect& R, Integer GlyphWidth, Integer GlyphHeight,
                      Integer TextWidth, Integer TextHeight, Integer Spacing, Integer Margin, Integer& TX,
                      Integer& TY, Integer& GX, Integer& GY);
void DrawImageAndText(TCanvas* Cnvs, const TRect& R, Integer Margin, Integer Spacing, Integer Layout,
                      const std::string& Caption, Integer ImageIndex, TCustomImageList* IL, bool ADown,
                      bool AEnabled, bool ADrawColorMarker, TColor AColorMarkerValue);
// Cell is 1-based.
void DrawGlyphAndText(TCanvas* Cnvs, const TRect& R, Integer Margin, Integer Spacing, Integer Layout,
                      const std::string& Caption, TBitmap* Glyph, Integer NumGlyphs, Integer GlyphNum,
                      bool ADown, bool ADrawColorMarker, TColor AColorMarkerValue);
// Cell (1-based) of a strip of NumGlyphs equal cells, drawn with the bitmap's automatic
// transparent colour.
void DrawGlyphCell(TCanvas* Cnvs, Integer X, Integer Y, TBitmap* Glyph, Integer NumGlyphs, Integer Cell);

// ---- Background and default glyphs ----------------------------------------------------------
// Paints the parent (and the windowless siblings below Control) into Cnvs as they lie behind
// Control.
void DrawParentBackground(TControl* Control, TCanvas* Cnvs);
void DrawParentBackgroundOffset(TControl* Control, const TRect& R, TCanvas* Cnvs);
// One pixel in two along the edges of R less its right and bottom pixel, in the font colour.
void DrawDottedFocusRect(TCanvas* Cnvs, TRect R);
void DrawComboArrow(TCanvas* Cnvs, const TRect& R, TColor Color);
// Kind: 1 left, 2 right, 3 up, 4 down.
void DrawArrowGlyph(TCanvas* Cnvs, const TRect& R, TColor Color, Integer Kind);
void DrawSmallArrowGlyph(TCanvas* Cnvs, const TRect& R, TColor Color, Integer Kind);
void DrawCheckMark(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
void DrawRadioMark(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
// The cross of a close button, 11 x 10 pixels from (X, Y).
void DrawCloseGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
// Top-left lines in TopLeftColor, bottom-right lines in BottomRightColor, inside R.
void DrawBevelFrame(TCanvas* Cnvs, TRect R, TColor TopLeftColor, TColor BottomRightColor);
// The platform's one-pixel 3-D frame: top and left in TopColor, right and bottom in
// BottomColor, just inside R; R shrinks by that pixel on every side.
void DrawFrame3D(TCanvas* Cnvs, TRect& R, TColor TopColor, TColor BottomColor);

// ---- Skin image builders --------------------------------------------------------------------
// A skin part (rectangle R of SB) laid out into B at another size. LT, RT, LB, RB and C are
// relative to R's top-left; NLT .. NC are the caller's new anchors in B. Corner pieces are
// copied, edge pieces stretched or tiled, the client stretched (StretchType 0 whole, 1 in
// columns, 2 in rows) or tiled. A tiled piece of zero length is skipped.
void CreateSkinImage(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB, const TRect& C,
                     const TPoint& NLT, const TPoint& NRT, const TPoint& NLB, const TPoint& NRB,
                     const TRect& NC, TBitmap* B, TBitmap* SB, const TRect& R, Integer W, Integer H,
                     bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, Integer StretchType);
void CreateSkinImage2(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB, const TRect& C,
                      const TPoint& NLT, const TPoint& NRT, const TPoint& NLB, const TPoint& NRB,
                      const TRect& NC, TBitmap* B, TBitmap* SB, const TRect& R, Integer W, Integer H,
                      bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                      bool BottomStretch, bool StretchEffect, Integer StretchType);
// No right border: the top, bottom and client run to B's right edge.
void CreateSkinImageNoRight(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB,
                            const TRect& C, const TPoint& NLT, const TPoint& NRT, const TPoint& NLB,
                            const TPoint& NRB, const TRect& NC, TBitmap* B, TBitmap* SB, const TRect& R,
                            Integer W, Integer H, bool DrawClient, bool LeftStretch, bool TopStretch,
                            bool RightStretch, bool BottomStretch, bool StretchEffect, Integer StretchType);
// Stretches every piece to B's current size.
void CreateStretchSkinImage(TBitmap* B, TBitmap* SB, const TRect& R, const TRect& C, bool DrawClient);
// Three pieces across: left end, middle (stretched or tiled), right end; B is W x R's height.
void CreateHSkinImage(Integer LeftOffset, Integer RightOffset, TBitmap* B, TBitmap* SB, const TRect& R,
                      Integer W, Integer H, bool Stretch);
void CreateHSkinImageNoRight(Integer LeftOffset, Integer RightOffset, TBitmap* B, TBitmap* SB, const TRect& R,
                             Integer W, Integer H, bool Stretch);
// Only the middle piece, over all of B's width.
void CreateHSkinImageMiddle(Integer LeftOffset, Integer RightOffset, TBitmap* B, TBitmap* SB, const TRect& R,
                            Integer W, Integer H, bool Stretch);
// Three pieces down; B is R's width x H.
void CreateVSkinImage(Integer TopOffset, Integer BottomOffset, TBitmap* B, TBitmap* SB, const TRect& R,
                      Integer W, Integer H, bool Stretch);
// The resized frame as four separate border bitmaps; each is sized and drawn only when it has
// a positive size.
void CreateSkinBorderImages(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB,
                            const TRect& C, const TPoint& NLT, const TPoint& NRT, const TPoint& NLB,
                            const TPoint& NRB, const TRect& NC, TBitmap* LeftImage, TBitmap* TopImage,
                            TBitmap* RightImage, TBitmap* BottomImage, TBitmap* SB, const TRect& R, Integer W,
                            Integer H, bool LeftStretch, bool TopStretch, bool RightStretch,
                            bool BottomStretch);

// ---- Platform queries -----------------------------------------------------------------------
// The version this library answers with is fixed (6.1), so every predicate below agrees with
// the others and with the facilities this platform has: layered windows, several monitors and
// scroll-bar information, but no desktop compositor.
void GetWindowsVersion(Integer& Major, Integer& Minor);
bool IsLayeredWindowAvailable();
bool IsWindowsXPOrLater();
bool IsWindowsVistaOrLater();
bool IsWindows7();
bool IsMultiMonitor();
void GetScreenWorkArea(bool WorkArea, TRect& R);
// The nearest monitor's work area or full rectangle; one monitor: GetScreenWorkArea.
void GetMonitorRect(HWND Wnd, bool WorkArea, TRect& R);
bool IsDwmCompositionEnabled();
// Desktop-composition calls: nothing without a compositor.
void SetDwmTransitions(HWND Wnd, Integer Flag);
void EnableDwmBlurBehind(HWND Wnd, bool Enable, HRGN Region);
Integer GetScrollBarInfoSafe(HWND Wnd, LONG ObjectId, SCROLLBARINFO& Info);

// ---- Wide text, wrapped captions ------------------------------------------------------------
// DrawText of a UTF-16 text with the canvas's font and brush; returns DrawText's result.
Integer DrawWideText(TCanvas* Cnvs, const std::u16string& Text, TRect& R, UINT Flags);
Integer GetWideTextWidth(TCanvas* Cnvs, const std::u16string& Text);
Integer GetWideTextHeight(TCanvas* Cnvs, const std::u16string& Text);
void FitWideTextToWidth(TCanvas* Cnvs, std::u16string& Text, Integer Width);
// Word-wrapped and centred. BreakWords splits a word too wide for R; otherwise such a word
// ends in "..." and the rest of it is left out.
void DrawWrapCaption(TCanvas* Cnvs, const std::string& Text, TRect R, bool BreakWords);

// ---- Caption button glyphs (from X, Y) ------------------------------------------------------
void DrawSysMenuGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
void DrawMinimizeGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
void DrawMaximizeGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
void DrawRestoreGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
void DrawRollDownGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
void DrawRollUpGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
void DrawMinimizeToTrayGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);

// ---- Glowing and mirrored texts -------------------------------------------------------------
// The text over a halo of GlowSize pixels in GlowColor, moved by Offset; returns the result of
// drawing the text itself.
Integer DrawGlowText(TCanvas* Cnvs, const TRect& R, const std::string& Text, UINT Flags, Integer Offset,
                     TColor GlowColor, Integer GlowSize);
Integer DrawGlowTextW(TCanvas* Cnvs, const TRect& R, const std::u16string& Text, UINT Flags, Integer Offset,
                      TColor GlowColor, Integer GlowSize);
// The text over a soft block halo 10 pixels wide.
Integer DrawVistaGlowText(TCanvas* Cnvs, const TRect& R, const std::u16string& Text, UINT Flags,
                          TColor GlowColor);
Integer DrawVistaGlowText2(TCanvas* Cnvs, const TRect& R, const std::u16string& Text, UINT Flags,
                           TColor GlowColor);
// The text with a mirrored copy below it fading out.
Integer DrawReflectionText(TCanvas* Cnvs, const TRect& R, const std::string& Text, UINT Flags, Integer Offset,
                           TColor ReflectionColor);
void DrawReflectionTextW(TCanvas* Cnvs, const TRect& R, const std::string& Text, UINT Flags, Integer Offset,
                         TColor ReflectionColor);
