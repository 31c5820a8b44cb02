#pragma once
// What the pattern generators and the drawing square ask of the window they serve: the
// parameters and options they read, the message queue and what they report. The main window
// is the host; tests and benchmarks install their own and run the generators without one.
#include <string>

#include "platform/classes/Colors.h"
#include "platform/system/Types.h"

class TBitmap;

class TPatternHost {
 public:
  // Slider P1..P6 (Index 1..6): its position and the ends of its range.
  virtual Integer ParamPosition(Integer Index) const = 0;
  virtual Integer ParamMinimum(Integer Index) const = 0;
  virtual Integer ParamMaximum(Integer Index) const = 0;
  // The pen width of the wire frame, in pixels.
  virtual Integer PenWidth() const = 0;
  // The colour mode NextPatternColor takes.
  virtual Single PatternColorMode() const = 0;
  // The options: each cell flooded with a pattern colour, the glass picture laid over the
  // cells, ring segments kept square, the source multiplier.
  virtual bool PatternColorsOn() const = 0;
  virtual bool GlassOn() const = 0;
  virtual bool KeepShapeOn() const = 0;
  virtual Integer Multiplier() const = 0;
  // How many images the kaleidoscope repeats a stroke into: 2, 4 or 8.
  virtual Integer KaleidoImages() const = 0;
  // Whether the drawing square shows the frame of the picture area.
  virtual bool PictureAreaOn() const = 0;

  // Lets the message queue run once; a cancel arrives through it.
  virtual void LetMessagesRun() = 0;
  // The status panel shows " " + Text.
  virtual void ShowStatusText(const std::string& Text) = 0;
  // The progress gauge: its maximum, then positions up to it.
  virtual void SetProgressLimit(Integer Value) = 0;
  virtual void ShowProgress(Integer Value) = 0;
  // The coverage the spheres reached, in the label of P2.
  virtual void ShowCoverage(const std::string& Text) = 0;
  // Lays the glass picture over the pixels of Color in the square of half size R around
  // (X, Y) of Bitmap.
  virtual void GlassCell(TBitmap* Bitmap, Integer X, Integer Y, Integer R, TColor Color) = 0;
  // The drawing panel is back at its start: the drawing is chosen for the view, and the
  // coloured regions are offered only once a drawing is submitted.
  virtual void ResetDrawingPanel() = 0;
  // The result view shows a copy of Picture.
  virtual void ShowPicture(TBitmap* Picture) = 0;

 protected:
  ~TPatternHost() = default;
};

// A host without a window: the sliders and options are plain fields, the message queue never
// runs, reports go nowhere and there is no glass. Tests and benchmarks run the generators on it.
class TSilentPatternHost : public TPatternHost {
 public:
  Integer Position[6] = {};
  Integer Minimum[6] = {-100, -100, -100, -100, -100, -100};
  Integer Maximum[6] = {100, 100, 100, 100, 100, 100};
  Integer Pen = 1;
  Single ColorMode = 1;
  bool Colors = false;
  bool KeepShape = false;
  Integer Mult = 1;

  TSilentPatternHost() = default;
  // The parameters and options of From, taken once.
  explicit TSilentPatternHost(const TPatternHost& From)
      : Pen(From.PenWidth()),
        ColorMode(From.PatternColorMode()),
        Colors(From.PatternColorsOn()),
        KeepShape(From.KeepShapeOn()),
        Mult(From.Multiplier()) {
    for (Integer I = 0; I < 6; ++I) {
      Position[I] = From.ParamPosition(I + 1);
      Minimum[I] = From.ParamMinimum(I + 1);
      Maximum[I] = From.ParamMaximum(I + 1);
    }
  }
  virtual ~TSilentPatternHost() = default;

  Integer ParamPosition(Integer Index) const override { return Position[Index - 1]; }
  Integer ParamMinimum(Integer Index) const override { return Minimum[Index - 1]; }
  Integer ParamMaximum(Integer Index) const override { return Maximum[Index - 1]; }
  Integer PenWidth() const override { return Pen; }
  Single PatternColorMode() const override { return ColorMode; }
  bool PatternColorsOn() const override { return Colors; }
  bool GlassOn() const override { return false; }
  bool KeepShapeOn() const override { return KeepShape; }
  Integer Multiplier() const override { return Mult; }
  Integer KaleidoImages() const override { return 8; }
  bool PictureAreaOn() const override { return false; }
  void LetMessagesRun() override {}
  void ShowStatusText(const std::string&) override {}
  void SetProgressLimit(Integer) override {}
  void ShowProgress(Integer) override {}
  void ShowCoverage(const std::string&) override {}
  void GlassCell(TBitmap*, Integer, Integer, Integer, TColor) override {}
  void ResetDrawingPanel() override {}
  void ShowPicture(TBitmap*) override {}
};

// The host installed by SetPatternHost, else the main window. There must be one.
TPatternHost& PatternHost();
// Host serves in place of the main window until it is replaced; nullptr gives the main window
// back. The caller keeps Host alive while it is installed.
void SetPatternHost(TPatternHost* Host);
