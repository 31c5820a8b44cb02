// The built-in CMYK profile, built with the colour-management library at first use rather than
// shipped: a plain subtractive printer (each ink takes away its share of sRGB, black darkens
// all three) with full grey-component replacement on the way back, so that every colour the
// screen shows has one ink mix and white is no ink.
#include <algorithm>
#include <cmath>

#include "imaging/core/iecmykprofile.h"

// Last: it defines TRUE and FALSE as macros, which the platform headers declare.
#include <lcms2.h>

namespace {

// Grid points of the tables: 11^4 for inks to Lab; 33^3 for Lab to inks, whose clipped gamut
// edge needs the finer grid.
constexpr cmsUInt32Number InkGrid = 11;
constexpr cmsUInt32Number LabGrid = 33;

// sRGB (0..1) and Lab (D50) both ways, for the samplers.
struct TLabModel {
  cmsHTRANSFORM ToLab = nullptr;
  cmsHTRANSFORM FromLab = nullptr;
};

double Unit(cmsUInt16Number V) {
  return V / 65535.0;
}
cmsUInt16Number Encoded(double V) {
  return static_cast<cmsUInt16Number>(std::lround(std::clamp(V, 0.0, 1.0) * 65535.0));
}

// C, M, Y, K ink amounts to Lab in the 16-bit encoding of 2.x profiles.
cmsInt32Number InksToLab(const cmsUInt16Number In[], cmsUInt16Number Out[], void* Cargo) {
  const auto* Model = static_cast<const TLabModel*>(Cargo);
  const double Paper = 1.0 - Unit(In[3]);
  const double RGB[3] = {(1.0 - Unit(In[0])) * Paper, (1.0 - Unit(In[1])) * Paper,
                         (1.0 - Unit(In[2])) * Paper};
  cmsCIELab Lab;
  cmsDoTransform(Model->ToLab, RGB, &Lab, 1);
  cmsFloat2LabEncodedV2(Out, &Lab);
  return TRUE;
}

// Lab to the ink mix with the most black: K takes all the grey, C, M and Y what colour remains.
cmsInt32Number LabToInks(const cmsUInt16Number In[], cmsUInt16Number Out[], void* Cargo) {
  const auto* Model = static_cast<const TLabModel*>(Cargo);
  cmsCIELab Lab;
  cmsLabEncoded2FloatV2(&Lab, In);
  double RGB[3];
  cmsDoTransform(Model->FromLab, &Lab, RGB, 1);
  for (double& V : RGB) V = std::clamp(V, 0.0, 1.0);
  const double Lightest = std::max({RGB[0], RGB[1], RGB[2]});
  for (int C = 0; C < 3; ++C) Out[C] = Encoded(Lightest > 0 ? 1.0 - RGB[C] / Lightest : 0.0);
  Out[3] = Encoded(1.0 - Lightest);
  return TRUE;
}

// A pipeline of one table of Grid points per input channel, filled by Sampler.
cmsPipeline* SampledTable(cmsUInt32Number Inputs, cmsUInt32Number Outputs, cmsUInt32Number Grid,
                          cmsSAMPLER16 Sampler, TLabModel* Model) {
  cmsPipeline* Pipeline = cmsPipelineAlloc(nullptr, Inputs, Outputs);
  cmsStage* Table = cmsStageAllocCLut16bit(nullptr, Grid, Inputs, Outputs, nullptr);
  if (!Pipeline || !Table || !cmsStageSampleCLut16bit(Table, Sampler, Model, 0) ||
      !cmsPipelineInsertStage(Pipeline, cmsAT_END, Table)) {
    if (Table) cmsStageFree(Table);
    if (Pipeline) cmsPipelineFree(Pipeline);
    return nullptr;
  }
  return Pipeline;
}

void WriteText(cmsHPROFILE Profile, cmsTagSignature Tag, const char* Text) {
  cmsMLU* Mlu = cmsMLUalloc(nullptr, 1);
  cmsMLUsetASCII(Mlu, "en", "US", Text);
  cmsWriteTag(Profile, Tag, Mlu);
  cmsMLUfree(Mlu);
}

// Writes Table under the first tag and links the other two intents' tags to it.
bool WriteForAllIntents(cmsHPROFILE Profile, cmsPipeline* Table, const cmsTagSignature (&Tags)[3]) {
  if (!Table) return false;
  const bool Written = cmsWriteTag(Profile, Tags[0], Table) && cmsLinkTag(Profile, Tags[1], Tags[0]) &&
                       cmsLinkTag(Profile, Tags[2], Tags[0]);
  cmsPipelineFree(Table);
  return Written;
}

std::vector<Byte> BuildProfile() {
  cmsHPROFILE SRGB = cmsCreate_sRGBProfile();
  cmsHPROFILE Lab = cmsCreateLab4Profile(nullptr);
  TLabModel Model;
  Model.ToLab = cmsCreateTransform(SRGB, TYPE_RGB_DBL, Lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC,
                                   cmsFLAGS_NOCACHE);
  Model.FromLab = cmsCreateTransform(Lab, TYPE_Lab_DBL, SRGB, TYPE_RGB_DBL, INTENT_RELATIVE_COLORIMETRIC,
                                     cmsFLAGS_NOCACHE);
  cmsCloseProfile(SRGB);
  cmsCloseProfile(Lab);

  std::vector<Byte> Data;
  cmsHPROFILE Profile = cmsCreateProfilePlaceholder(nullptr);
  if (Profile && Model.ToLab && Model.FromLab) {
    cmsSetProfileVersion(Profile, 2.2);
    cmsSetDeviceClass(Profile, cmsSigOutputClass);
    cmsSetColorSpace(Profile, cmsSigCmykData);
    cmsSetPCS(Profile, cmsSigLabData);
    cmsSetHeaderRenderingIntent(Profile, INTENT_PERCEPTUAL);
    WriteText(Profile, cmsSigProfileDescriptionTag, "Built-in CMYK");
    WriteText(Profile, cmsSigCopyrightTag, "No copyright, use freely");
    cmsWriteTag(Profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    const bool Tables = WriteForAllIntents(Profile, SampledTable(4, 3, InkGrid, InksToLab, &Model),
                                           {cmsSigAToB0Tag, cmsSigAToB1Tag, cmsSigAToB2Tag}) &&
                        WriteForAllIntents(Profile, SampledTable(3, 4, LabGrid, LabToInks, &Model),
                                           {cmsSigBToA0Tag, cmsSigBToA1Tag, cmsSigBToA2Tag});
    cmsUInt32Number Size = 0;
    if (Tables && cmsSaveProfileToMem(Profile, nullptr, &Size) && Size > 0) {
      Data.resize(Size);
      if (!cmsSaveProfileToMem(Profile, Data.data(), &Size)) Data.clear();
    }
  }
  if (Profile) cmsCloseProfile(Profile);
  if (Model.ToLab) cmsDeleteTransform(Model.ToLab);
  if (Model.FromLab) cmsDeleteTransform(Model.FromLab);
  return Data;
}

}  // namespace

const std::vector<Byte>& IEBuiltinCMYKProfileData() {
  static const std::vector<Byte> Data = BuildProfile();
  return Data;
}
