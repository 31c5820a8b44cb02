#include "imaging/io/ietwainparams.h"

#include "imaging/io/ietwain.h"

TIETWainParams::TIETWainParams(TZezudIdIO* Owner) : FOwner(Owner) {
  SetDefaultParams();
}

TIETWainParams::~TIETWainParams() {
  // The owner has no window of its own.
  TWainRelease(FTWainState, nullptr);
}

void TIETWainParams::SetDefaultParams() {
  CapabilityBlocks.clear();
  static_cast<TIETWainValues&>(*this) = TIETWainValues{};
  for (TIEList* List : std::initializer_list<TIEList*>{&XResolution, &YResolution, &XScaling, &YScaling,
                                                       &PixelType, &BitDepth, &Orientation, &Contrast,
                                                       &Brightness, &Threshold, &Rotation, &StandardSize})
    List->Clear();
  Data.Clear();
}
