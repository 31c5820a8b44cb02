// TZezudIdIO's scanner and camera object.
#include "imaging/io/iewia.h"
#include "imaging/io/zezudidio.h"

TIEWia* TZezudIdIO::GetWIAParams() {
  if (!FWIAParams) {
    FWIAParams = std::make_unique<TIEWia>(this);
    FWIAParams->SetOnProgress(TIEWiaProgress(this, &TZezudIdIO::WiaProgress));
  }
  return FWIAParams.get();
}

bool TZezudIdIO::WiaProgress(Integer Percent) {
  DoProgress(this, Percent);
  return !GetAborting();
}
