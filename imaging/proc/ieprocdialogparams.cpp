#include "imaging/proc/ieprocdialogparams.h"

#include "platform/system/Streams.h"

TIPDialogParams::TIPDialogParams() : FCache(std::make_unique<TMemoryStream>()) {
  Reset();
}

TIPDialogParams::~TIPDialogParams() = default;

void TIPDialogParams::Reset() {
  SetParamA(-1);
  SetParamB(-1);
  SetParamC(-1);
  SetParamD(-1);
  Values = {};
  UserFilter = TIEFilterKernel{{0, 0, 0, 0, 1, 0, 0, 0, 0}, 0};
  const TIERGBTriple Black{0, 0, 0}, White{255, 255, 255};
  ColorPairs = {Black, White, Black, White};
  Values2 = {0, 0, 0};
  Size1 = {150, 150};
  Color = White;
  Values3 = {0, 1, 0, 0};
  Size2 = {150, 150};
  Factor1 = 1.7;
  Values4 = {1, 10, 10, 0, 0};
  Value5 = 0;
  Flag1 = 1;
  Value6 = 0;
  Factor2 = 1.0;
  Values7 = {1, 4};
  Flag2 = 1;
  FCache->Clear();
}

void TIPDialogParams::SetParamA(Integer Value) {
  FParamA = Value;
  FCache->Clear();
}

void TIPDialogParams::SetParamB(Integer Value) {
  FParamB = Value;
  FCache->Clear();
}

void TIPDialogParams::SetParamC(Integer Value) {
  FParamC = Value;
  FCache->Clear();
}

void TIPDialogParams::SetParamD(Integer Value) {
  FParamD = Value;
  FCache->Clear();
}
