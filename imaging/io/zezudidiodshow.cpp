// TZezudIdIO's playback object.
#include "imaging/io/ieds.h"
#include "imaging/io/zezudidio.h"

TIEDirectShow* TZezudIdIO::GetDShowParams() {
  if (!FDShowParams) {
    FDShowParams = std::make_unique<TIEDirectShow>();
    if (FAttachedZezudId)
      FDShowParams->SetNotifyWindow(FAttachedZezudId->GetHandle(), IEM_NEWFRAME, IEM_EVENT);
  }
  return FDShowParams.get();
}

void TZezudIdIO::UpdateDShowNotifyWindow() {
  if (!FAttachedZezudId || !FDShowParams) return;
  const HWND Window = FAttachedZezudId->GetHandle();
  if (Window != FDShowParams->GetNotifyWindow())
    FDShowParams->SetNotifyWindow(Window, IEM_NEWFRAME, IEM_EVENT);
}
