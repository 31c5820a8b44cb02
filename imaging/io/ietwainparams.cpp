#include "imaging/io/ietwainparams.h"

namespace {

// No scanner source manager exists on this platform, so nothing was ever loaded into the
// state; releasing it only forgets it.
void ReleaseTWain(TIETWainState& State) {
  State = {};
}

}  // namespace

TIETWainParams::TIETWainParams(TZezudIdIO* Owner) : FOwner(Owner) {
  SetDefaultParams();
}

TIETWainParams::~TIETWainParams() {
  ReleaseTWain(FTWainState);
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
