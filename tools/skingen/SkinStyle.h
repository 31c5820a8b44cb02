#pragma once
// The look of one of the program's skins: its palette and the shape of its parts. The
// generator draws every skin from one of these descriptions with the same routines.
#include <span>

#include "platform/classes/Colors.h"

struct TSkinStyle {
  const char* Name;      // the skin's name, as the program lists it
  const char* FileName;  // lower-case file and resource stem
  // Faces of buttons and bars: gradient from the first to the second colour.
  TColor Face1, Face2;
  TColor Hot1, Hot2;     // under the mouse
  TColor Down1, Down2;   // pressed
  TColor Outline;        // outer frame line
  TColor Light, Shadow;  // bevel
  TColor Panel;          // flat backgrounds of panels, forms and labels
  TColor Window, WindowText;
  TColor Highlight, HighlightText;
  TColor Text, HotText, DisabledText;
  TColor Caption1, Caption2, CaptionText, InactiveCaptionText;
  TColor Accent;       // progress, check marks, glyphs
  Integer Radius;      // corner radius of faces (0: square)
  Integer BevelDepth;  // rows of light and shadow inside the outline
  bool Vertical;       // gradients run top to bottom (else left to right)
  bool Brushed;        // fine horizontal streaks over the faces
  bool Glass;          // a lighter upper half over the faces
  bool Hairline;       // flat faces with a one-pixel frame, no bevel
  bool MorphingButtons;
  bool AnimatedCaptionButtons;
  bool PerPixelAlpha;  // caption buttons with alpha masks
  bool ButtonGlow;     // glow layers behind hot buttons
  bool LayeredFrame;   // a layered border around the forms
};

// The eight skins, in the order the program lists them.
std::span<const TSkinStyle> SkinStyles();

// 0xRRGGBB as a colour.
constexpr TColor Rgb(unsigned Hex) {
  return static_cast<TColor>(((Hex & 0xFF) << 16) | (Hex & 0xFF00) | ((Hex >> 16) & 0xFF));
}
