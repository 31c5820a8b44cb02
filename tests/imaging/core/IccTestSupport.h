#pragma once
// Profiles made with the colour-management library itself, and its own transforms as the
// reference the library's conversions are held to.
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/ieicc.h"
#include "platform/system/Types.h"

// Last: it defines TRUE and FALSE as macros, which the platform headers declare.
#include <lcms2.h>

namespace icctest {

struct TProfileClose {
  void operator()(void* Profile) const { cmsCloseProfile(Profile); }
};
struct TTransformDelete {
  void operator()(void* Transform) const { cmsDeleteTransform(Transform); }
};
using TProfileHandle = std::unique_ptr<void, TProfileClose>;
using TTransformHandle = std::unique_ptr<void, TTransformDelete>;

// The profile's bytes as a file holds them; the handle is closed.
inline std::vector<Byte> SavedBytes(cmsHPROFILE Profile) {
  TProfileHandle Owner(Profile);
  cmsUInt32Number Size = 0;
  cmsSaveProfileToMem(Profile, nullptr, &Size);
  std::vector<Byte> Bytes(Size);
  cmsSaveProfileToMem(Profile, Bytes.data(), &Size);
  return Bytes;
}

inline void SetText(cmsHPROFILE Profile, cmsTagSignature Tag, const char* Text) {
  cmsMLU* Mlu = cmsMLUalloc(nullptr, 1);
  cmsMLUsetASCII(Mlu, "en", "US", Text);
  cmsWriteTag(Profile, Tag, Mlu);
  cmsMLUfree(Mlu);
}

// An sRGB profile of ICC version 2.1 (plain text tags) with the given texts.
inline cmsHPROFILE SRGBProfileV2(const char* Description, const char* Copyright) {
  cmsHPROFILE Profile = cmsCreate_sRGBProfile();
  cmsSetProfileVersion(Profile, 2.1);
  SetText(Profile, cmsSigProfileDescriptionTag, Description);
  SetText(Profile, cmsSigCopyrightTag, Copyright);
  return Profile;
}

inline std::vector<Byte> SRGBBytes(const char* Description = "Test sRGB",
                                   const char* Copyright = "Test notice") {
  return SavedBytes(SRGBProfileV2(Description, Copyright));
}

// RGB with linear channels (gamma 1): mid-grey bytes differ visibly from sRGB's.
inline std::vector<Byte> LinearRGBBytes() {
  cmsCIExyY White;
  cmsWhitePointFromTemp(&White, 6504);
  const cmsCIExyYTRIPLE Primaries = {{0.64, 0.33, 1}, {0.30, 0.60, 1}, {0.15, 0.06, 1}};
  cmsToneCurve* Linear = cmsBuildGamma(nullptr, 1.0);
  cmsToneCurve* Curves[3] = {Linear, Linear, Linear};
  cmsHPROFILE Profile = cmsCreateRGBProfile(&White, &Primaries, Curves);
  cmsFreeToneCurve(Linear);
  return SavedBytes(Profile);
}

inline TProfileHandle OpenBytes(const TIEICC& ICC) {
  return TProfileHandle(
      cmsOpenProfileFromMem(ICC.GetRaw(), static_cast<cmsUInt32Number>(ICC.GetRawLength())));
}

// The library's own 16-bit transform, as the profile conversions are made.
inline TTransformHandle Reference(cmsHPROFILE From, cmsUInt32Number InFormat, cmsHPROFILE To,
                                  cmsUInt32Number OutFormat) {
  return TTransformHandle(cmsCreateTransform(From, InFormat, To, OutFormat, INTENT_PERCEPTUAL,
                                             cmsFLAGS_HIGHRESPRECALC | cmsFLAGS_NOCACHE));
}

}  // namespace icctest
