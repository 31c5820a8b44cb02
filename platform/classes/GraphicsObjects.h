#pragma once
// Fonts, pens and brushes of the class library: descriptions whose GDI handle is made on first
// use and made again after any change. Each object owns its handle (a handle given through
// SetHandle becomes the object's, too). Setters that change a value fire OnChange; a canvas
// listens there to select the new handle.
#include <string>

#include "platform/classes/Colors.h"
#include "platform/gdi/GdiObject.h"
#include "platform/system/Delegates.h"
#include "platform/system/Persistent.h"
#include "platform/system/Sets.h"

class TBitmap;

class TGraphicsObject : public TPersistent {
 public:
  ~TGraphicsObject() override;
  TNotifyEvent OnChange;
  // True once the handle exists.
  bool HandleAllocated() const { return FHandle != nullptr; }

 protected:
  virtual void Changed();
  // Frees the handle (DeleteObject; a DC holding it keeps it alive until it lets go).
  void FreeHandle();
  HGDIOBJ FHandle = nullptr;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, 4>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = Byte;

// The screen's logical resolution, which font sizes in points convert through.
constexpr Integer ScreenPixelsPerInch = 96;

// Name "MS Sans Serif", Size 8 (Height -11), no style, Color clWindowText, DEFAULT_CHARSET.
// Size and Height: Height = -MulDiv(Size, PixelsPerInch, 72), Size = -MulDiv(Height, 72,
// PixelsPerInch); a positive Height is a cell height and gives a negative Size.
class TFont : public TGraphicsObject {
 public:
  TFont();
  void Assign(TPersistent* Source) override;

  HFONT GetHandle();
  // Takes the font over (it is deleted with this object) and reads its description.
  void SetHandle(HFONT Value);

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  Integer GetHeight() const { return FHeight; }
  void SetHeight(Integer Value);
  Integer GetSize() const;
  void SetSize(Integer Value);
  const std::string& GetName() const { return FName; }
  // An empty name is ignored.
  void SetName(const std::string& Value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TFontCharset GetCharset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  // Tenths of a degree, counter-clockwise (escapement and orientation of the logical font).
  Integer GetOrientation() const { return FOrientation; }
  void SetOrientation(Integer Value);
  Integer GetPixelsPerInch() const { return FPixelsPerInch; }
  // Keeps Height; Size is read through the new resolution.
  void SetPixelsPerInch(Integer Value) { FPixelsPerInch = Value; }

 private:
  TColor FColor;
  Integer FHeight;
  Integer FPixelsPerInch = ScreenPixelsPerInch;
  std::string FName;
  TFontStyles FStyle;
  TFontCharset FCharset;
  TFontPitch FPitch = fpDefault;
  Integer FOrientation = 0;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
// The mix mode (R2_*) a pen mode draws with.
Integer PenModeToRop2(TPenMode Mode);

// Color clBlack, Width 1, psSolid, pmCopy. The mode is no part of the handle: the canvas sets
// it as the DC's mix mode.
class TPen : public TGraphicsObject {
 public:
  TPen();
  void Assign(TPersistent* Source) override;

  HPEN GetHandle();
  void SetHandle(HPEN Value);

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  Integer GetWidth() const { return FWidth; }
  // Negative widths are ignored.
  void SetWidth(Integer Value);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);

 private:
  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

// Color clWhite, bsSolid, no bitmap. Setting a colour turns bsClear into bsSolid; setting
// bsClear sets the colour to clWhite. A pattern bitmap (not owned, read when the handle is
// made) takes precedence over the style.
class TBrush : public TGraphicsObject {
 public:
  TBrush();
  void Assign(TPersistent* Source) override;

  HBRUSH GetHandle();
  void SetHandle(HBRUSH Value);

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  TBitmap* GetBitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
};
