#pragma once
// The built-in CMYK printer profile and the sRGB profile through which CMYK pixels are
// converted when profile conversion is on, and the one-colour conversions over them that
// IECMYK2RGB and IERGB2CMYK take before their plain arithmetic.
#include <memory>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/ieicc.h"

struct TCMYK;

// CMYK pixels go through the built-in profile when true. The input/output library's start-up
// sets it true; before that (the bitmap core on its own) CMYK is plain arithmetic.
extern bool IECMYKProfileConversion;

// Made by the first conversion that takes the profile path; freed by IEFreeCMYKProfiles (the
// input/output library's shut-down).
extern std::unique_ptr<TIEICC> IECMYKProfile;
extern std::unique_ptr<TIEICC> IESRGBProfile;

// The bytes of the built-in profile: an ICC 2.2 output (printer) profile for CMYK with the
// CIE L*a*b* connection space and tables for all three intents both ways, built once in code.
const std::vector<Byte>& IEBuiltinCMYKProfileData();

// Makes both profiles and their two transforms ready; true when the CMYK profile is open.
bool IELoadCMYKProfile();
void IEFreeCMYKProfiles();

// The profile paths, whatever IECMYKProfileConversion says (the callers ask it first): false,
// with nothing written, when no transform can be had, so that the caller takes the arithmetic.
bool IECMYK2RGBByProfile(const TCMYK& CMYK, TIERGBTriple& RGB);
bool IERGB2CMYKByProfile(const TIERGBTriple& RGB, TCMYK& CMYK);
