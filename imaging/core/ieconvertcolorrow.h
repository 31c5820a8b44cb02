#pragma once
// The row colour conversion of the JPEG and TIFF filters: Count pixels from one colour layout
// (the pixel codes of ieicc.h) to another, through the picture's profiles when colour
// management is on, otherwise by a table of layout pairs.
#include <memory>

#include "imaging/core/ieicc.h"
#include "platform/system/Types.h"

// Off: the readers never apply a picture's own profile. Nothing in the program switches it on.
extern bool ColorManagementEnabled;

// The three colour profiles of the input/output parameters, each owned and created on first
// use through its getter; TIEMetaParams carries them.
class TIOParamsICC {
 public:
  std::unique_ptr<TIEICC> InputICC;    // the profile embedded in the file read
  std::unique_ptr<TIEICC> OutputICC;   // the profile to convert to
  std::unique_ptr<TIEICC> DefaultICC;  // the input profile when the file has none
  TIEICC* GetInputICC();
  // Created holding the sRGB profile.
  TIEICC* GetOutputICC();
  TIEICC* GetDefaultICC();
};

// Converts Count pixels of Source in SourceLayout to Dest in TargetLayout. With colour
// management on and IOParams given, the input profile (InputICC, or DefaultICC when the file's
// is missing or closed) goes to the output profile when it is open and not yet applied. Else
// by the layout pair; pairs without a conversion leave Dest untouched. Layout 3 leaves its
// source bytes inverted.
void IEConvertColorRow(void* Source, Byte SourceLayout, void* Dest, Byte TargetLayout, Integer Count,
                       TIOParamsICC* IOParams);
