#include "imaging/core/iecmykprofile.h"

#include "imaging/core/iecolorspace.h"

bool IECMYKProfileConversion = false;
std::unique_ptr<TIEICC> IECMYKProfile;
std::unique_ptr<TIEICC> IESRGBProfile;

bool IELoadCMYKProfile() {
  if (IECMYKProfile) return IECMYKProfile->IsValid();
  const std::vector<Byte>& Data = IEBuiltinCMYKProfileData();
  IECMYKProfile = std::make_unique<TIEICC>();
  IECMYKProfile->LoadFromBuffer(Data.data(), static_cast<Integer>(Data.size()));
  if (!IECMYKProfile->IsValid()) return false;
  IESRGBProfile = std::make_unique<TIEICC>();
  IESRGBProfile->OpenSRGB();
  // One pixel each way, so the two transforms are made here and reused for every pixel.
  TCMYK CMYK;
  TIERGBTriple RGB;
  IECMYKProfile->Transform(IESRGBProfile.get(), iecCMYK, iecBGR, 0, 0, &CMYK, &RGB, 1);
  IESRGBProfile->Transform(IECMYKProfile.get(), iecBGR, iecCMYK, 0, 0, &RGB, &CMYK, 1);
  return true;
}

void IEFreeCMYKProfiles() {
  IECMYKProfile.reset();
  IESRGBProfile.reset();
}

bool IECMYK2RGBByProfile(const TCMYK& CMYK, TIERGBTriple& RGB) {
  return IELoadCMYKProfile() &&
         IECMYKProfile->Transform(IESRGBProfile.get(), iecCMYK, iecBGR, 0, 0, &CMYK, &RGB, 1);
}

bool IERGB2CMYKByProfile(const TIERGBTriple& RGB, TCMYK& CMYK) {
  return IELoadCMYKProfile() &&
         IESRGBProfile->Transform(IECMYKProfile.get(), iecBGR, iecCMYK, 0, 0, &RGB, &CMYK, 1);
}
