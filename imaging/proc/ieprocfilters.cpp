#include "imaging/proc/ieprocfilters.h"

#include "imaging/core/hyieutils.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/ieexiforient.h"
#include "imaging/formats/ieico.h"
#include "imaging/proc/ieprocgeometry.h"
#include "imaging/proc/ieresamplebitmap.h"
#include "platform/user/Clipboard.h"

std::array<std::array<Byte, 24>, 256> IE1BitExpandTable{};
std::vector<TIEFilterKernel*> IEPredefinedFilters;
std::vector<std::string> IEPredefinedFilterNames;
UINT IERawClipboardFormat = 0;

namespace {

struct TNamedKernel {
  const char* Name;
  TIEFilterKernel Kernel;
};

// The built-in kernels in list order; their names exist before the library starts.
const std::array<TNamedKernel, 9> BuiltInFilters = {{
    {"None", {{0, 0, 0, 0, 1, 0, 0, 0, 0}, 0}},
    {"Blur", {{1, 1, 1, 1, 1, 1, 1, 1, 1}, 9}},
    {"Edges", {{1, 1, 1, 1, -8, 1, 1, 1, 1}, 1}},
    {"Emboss", {{-1, 0, 1, -1, 1, 1, -1, 0, 1}, 1}},
    {"High Pass 1", {{0, -1, 0, -1, 5, -1, 0, -1, 0}, 1}},
    {"High Pass 2", {{-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1}},
    {"High Pass 3", {{1, -2, 1, -2, 5, -2, 1, -2, 1}, 1}},
    {"Low Pass 1", {{1, 1, 1, 1, 1, 1, 1, 1, 1}, 10}},
    {"Low Pass 2", {{1, 2, 1, 2, 4, 2, 1, 2, 1}, 16}},
}};

}  // namespace

void IEBuild1BitExpandTable() {
  for (Integer B = 0; B < 256; ++B)
    for (Integer Bit = 0; Bit < 8; ++Bit) {
      const Byte Value = (B & (0x80 >> Bit)) != 0 ? 255 : 0;
      for (Integer C = 0; C < 3; ++C) IE1BitExpandTable[B][Bit * 3 + C] = Value;
    }
}

void IEBuildPredefinedFilters() {
  IEFreePredefinedFilters();
  for (const TNamedKernel& Filter : BuiltInFilters) IEAddPredefinedFilter(Filter.Kernel, Filter.Name);
}

Integer IEAddPredefinedFilter(const TIEFilterKernel& Kernel, const std::string& Name) {
  IEPredefinedFilters.push_back(new TIEFilterKernel(Kernel));
  IEPredefinedFilterNames.push_back(Name);
  return static_cast<Integer>(IEPredefinedFilters.size()) - 1;
}

void IEFreePredefinedFilters() {
  for (TIEFilterKernel* Kernel : IEPredefinedFilters) delete Kernel;
  IEPredefinedFilters.clear();
  IEPredefinedFilterNames.clear();
}

void TZezudIdProcInitialize() {
  IEBuild1BitExpandTable();
  IEBuildPredefinedFilters();
  IERawClipboardFormat = RegisterClipboardFormat("ZEZUDID RAW FORMAT");
  // The core renders and converts through these resamplers, and turns EXIF orientation with
  // this flip (the alpha channel follows), from now on.
  IEInstallResampleHooks();
  IEExifProcs.FlipBitmap = IEFlipBitmap;
  // The icon writer brings the picture to each icon size with this resampler.
  IEIcoProcs.ResampleBitmap = ResampleBitmap;
}

void TZezudIdProcFinalize() {
  IERemoveResampleHooks();
  IEIcoProcs = {};
  IEExifProcs.FlipBitmap = IEExactFlipBitmap;
  IEFreePredefinedFilters();
}

void ProcRegisterLibraryHooks() {
  IERegisterLibraryHooks(iluProc, {TZezudIdProcInitialize, TZezudIdProcFinalize});
}
