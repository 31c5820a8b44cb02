#pragma once
// Small routines of the mosaic program: pattern and probe colours, colour conversion, the tube
// shade factor, the memory text of the status bar, row access to 24-bit bitmaps and the cell
// fill that the generators and the colour fill share.
#include <cstdint>
#include <string>

#include "platform/classes/Colors.h"
#include "platform/system/Types.h"

class TBitmap;

// The rows of a 24-bit bitmap (bytes blue, green, red), taken once for a loop. The bitmap must
// not change its size or handle while this is used.
struct TBitmapRows {
  explicit TBitmapRows(TBitmap* Bitmap);
  Byte* operator[](Integer Y) const { return First + static_cast<NativeInt>(Y) * Stride; }
  Byte* First = nullptr;
  NativeInt Stride = 0;
  Integer Width = 0;
  Integer Height = 0;
};

// Dest becomes a 24-bit copy of Source; a Dest of the same size keeps its pixel memory.
void CopyBitmap(TBitmap* Source, TBitmap* Dest);

// True when one of the four bytes of V is zero.
constexpr bool HasZeroByte(std::uint32_t V) {
  return ((V - 0x01010101u) & ~V & 0x80808080u) != 0;
}

// Large pictures are made and freed several times a build: the heap keeps their memory
// instead of mapping fresh pages for each. Called once at start.
void KeepPictureMemory();

// A colour value R + 256 G + 65536 B from 24-bit pixel bytes, and back.
inline TColor PixelColor(const Byte* P) {
  return static_cast<TColor>(P[2] | (P[1] << 8) | (P[0] << 16));
}
inline void SetPixelColor(Byte* P, TColor C) {
  P[0] = static_cast<Byte>(C >> 16);
  P[1] = static_cast<Byte>(C >> 8);
  P[2] = static_cast<Byte>(C);
}

// Counts the call in ColorCounter and gives the colour of mode Round(Mode): 0 white, 1 random,
// 2 random dark, 3 random light, 4 one colour per count, 5 a hue per count. Modes 1 to 5 never
// give pure black or pure white (a probe in those colours would merge with the grid or with
// unfilled cells): such a colour is drawn again.
TColor NextPatternColor(Single Mode);
// H in degrees 0..360, S and V in 0..1; R, G, B in 0..255.
void HsvToRgb(Single H, Single S, Single V, Integer& R, Integer& G, Integer& B);
// The tube shade of a pixel: Kind 1 shades across the width W (by X), kind 2 across the height
// H (by Y); E is the shade, F the deformation, G the boost. Between 1 - E and 1.
Single TubeShadeFactor(Integer W, Integer H, Integer X, Integer Kind, Integer Y, Single E, Single F,
                       Single G);
// The version the build stamps into the program ("1.5.0.29").
extern const char* const ProgramFileVersion;
// Its parts: the first character, the characters just before the second and the third point,
// and up to three characters after the third point; VersionText is major.minor.build.
extern std::string VersionMajor, VersionMinor, VersionRelease, VersionBuild, VersionText;
// Sets the parts from a version text; false (nothing set) without three points.
bool ParseFileVersion(const std::string& Text);
// The parts of the program's own version.
void ReadFileVersion();

// "<working set> Mb / <free physical memory> Mb".
std::string MemoryStatusText();
// The working set of the program in bytes; 0 when unknown.
Int64 ProcessWorkingSetSize();

// Flood fills the cell around (X, Y) of Bitmap with its canvas brush, bounded by black: the
// pixels of one border fill over the whole bitmap, at the cost of the cell's own area. A seed
// outside or on a black pixel fills nothing.
void FillCell(TBitmap* Bitmap, Integer X, Integer Y);
