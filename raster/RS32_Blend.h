#pragma once
// Mixing, blending and merging of TColor32 values, and per-channel colour arithmetic.
//
// Each routine is reached through a procedure variable chosen once by SelectBlendRoutines:
// the plain form, or the multimedia form when the processor reports MMX (extended MMX for
// MaxOfColors, MinOfColors and AverageOfColors). The forms are exported under their own names
// as well, so that tests can hold them side by side. Where the two differ, the difference is
// part of their contract:
// - plain mixes weight X by W and Y by 255 - W, rounding each half on its own; W = 0 gives Y
//   and W = 255 gives X exactly;
// - multimedia mixes weight X by W and Y by 256 - W and round once, with no shortcuts.
// Weights W and master alphas M are 0..255; Count is a number of pixels.
#include "platform/system/Types.h"
#include "raster/RS32_Types.h"

using TBlendReg = TColor32 (*)(TColor32 F, TColor32 B);
using TBlendMem = void (*)(TColor32 F, TColor32& B);
using TBlendRegEx = TColor32 (*)(TColor32 F, TColor32 B, TColor32 M);
using TBlendMemEx = void (*)(TColor32 F, TColor32& B, TColor32 M);
using TBlendLine = void (*)(const TColor32* Src, TColor32* Dst, Integer Count);
using TBlendLineEx = void (*)(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M);
using TCombineReg = TColor32 (*)(TColor32 X, TColor32 Y, TColor32 W);
using TCombineMem = void (*)(TColor32 F, TColor32& B, TColor32 W);
using TCombineLine = void (*)(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 W);
using TColorArithmetic = TColor32 (*)(TColor32 C1, TColor32 C2);
using TColorScale = TColor32 (*)(TColor32 C, TColor32 W);

// [a][b] = Round(a * b / 255).
extern Byte AlphaProductTable[256][256];
// [a][b] = Round(b * 255 / a) kept in a byte (entries with b > a wrap around); 0 for a = 0.
extern Byte AlphaDivisionTable[256][256];
extern bool MmxActive;

extern TCombineReg MixColors;
extern TCombineMem MixColorInto;
extern TCombineLine MixRow;
extern TBlendReg BlendColor;
extern TBlendMem BlendColorInto;
extern TBlendLine BlendRow;
extern TBlendRegEx BlendColorMaster;
extern TBlendMemEx BlendColorIntoMaster;
extern TBlendLineEx BlendRowMaster;
extern TBlendReg MergeColor;
extern TBlendMem MergeColorInto;
extern TBlendLine MergeRow;
extern TBlendRegEx MergeColorMaster;
extern TBlendMemEx MergeColorIntoMaster;
extern TBlendLineEx MergeRowMaster;

// Indexed by TCombineMode: cmBlend gives the chosen blend routine, cmMerge the merge routine.
extern TBlendReg BlendColorByMode[2];
extern TBlendMem BlendColorIntoByMode[2];
extern TBlendRegEx BlendColorMasterByMode[2];
extern TBlendMemEx BlendColorIntoMasterByMode[2];
extern TBlendLine BlendRowByMode[2];
extern TBlendLineEx BlendRowMasterByMode[2];

extern TColorArithmetic AddColors;
extern TColorArithmetic SubtractColors;
extern TColorArithmetic DivideColors;
extern TColorArithmetic ModulateColors;
extern TColorArithmetic MaxOfColors;
extern TColorArithmetic MinOfColors;
extern TColorArithmetic DifferenceOfColors;
extern TColorArithmetic AverageOfColors;
extern TColorArithmetic ExclusionOfColors;
extern TColorScale ScaleColor;

// Returns the floating-point unit from multimedia use. Nothing is left to undo here; callers
// keep the call where the pixel code hands over to floating-point work.
void ClearMultimediaState();

// Builds the two tables.
void BuildAlphaTables();
// Chooses every procedure variable above from the reported processor features.
void SelectBlendRoutines();

// The forms.
TColor32 MixColorsPlain(TColor32 X, TColor32 Y, TColor32 W);
TColor32 MixColorsMmx(TColor32 X, TColor32 Y, TColor32 W);
void MixColorIntoPlain(TColor32 F, TColor32& B, TColor32 W);
void MixColorIntoMmx(TColor32 F, TColor32& B, TColor32 W);
void MixRowPlain(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 W);
void MixRowMmx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 W);
TColor32 BlendColorPlain(TColor32 F, TColor32 B);
TColor32 BlendColorMmx(TColor32 F, TColor32 B);
void BlendColorIntoPlain(TColor32 F, TColor32& B);
void BlendColorIntoMmx(TColor32 F, TColor32& B);
void BlendRowPlain(const TColor32* Src, TColor32* Dst, Integer Count);
// The plain row blend in SSE2 (the plain routine where SSE2 is missing); the plain form's
// choice whenever the processor reports no MMX.
void BlendRowPlainSse2(const TColor32* Src, TColor32* Dst, Integer Count);
void BlendRowMmx(const TColor32* Src, TColor32* Dst, Integer Count);
TColor32 BlendColorMasterPlain(TColor32 F, TColor32 B, TColor32 M);
TColor32 BlendColorMasterMmx(TColor32 F, TColor32 B, TColor32 M);
void BlendColorIntoMasterPlain(TColor32 F, TColor32& B, TColor32 M);
void BlendColorIntoMasterMmx(TColor32 F, TColor32& B, TColor32 M);
void BlendRowMasterPlain(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M);
void BlendRowMasterMmx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M);
TColor32 MergeColorPlain(TColor32 F, TColor32 B);
void MergeColorIntoPlain(TColor32 F, TColor32& B);
void MergeRowPlain(const TColor32* Src, TColor32* Dst, Integer Count);
TColor32 MergeColorMasterPlain(TColor32 F, TColor32 B, TColor32 M);
void MergeColorIntoMasterPlain(TColor32 F, TColor32& B, TColor32 M);
void MergeRowMasterPlain(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M);
TColor32 AddColorsPlain(TColor32 C1, TColor32 C2);
TColor32 SubtractColorsPlain(TColor32 C1, TColor32 C2);
TColor32 DivideColorsPlain(TColor32 C1, TColor32 C2);
TColor32 ModulateColorsPlain(TColor32 C1, TColor32 C2);
TColor32 MaxOfColorsPlain(TColor32 C1, TColor32 C2);
TColor32 MinOfColorsPlain(TColor32 C1, TColor32 C2);
TColor32 DifferenceOfColorsPlain(TColor32 C1, TColor32 C2);
TColor32 AverageOfColorsPlain(TColor32 C1, TColor32 C2);
TColor32 AverageOfColorsEmmx(TColor32 C1, TColor32 C2);
TColor32 ExclusionOfColorsPlain(TColor32 C1, TColor32 C2);
TColor32 ScaleColorPlain(TColor32 C, TColor32 W);
