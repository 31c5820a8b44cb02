// The auto-repeat of a held button.
#include "skin/controls/bsSkinAutoRepeat.h"

#include "platform/classes/Timer.h"

TbsAutoRepeat::TbsAutoRepeat() = default;
TbsAutoRepeat::~TbsAutoRepeat() = default;

void TbsAutoRepeat::Start(TNotifyEvent OnRepeat, const Integer* Interval) {
  FOnRepeat = OnRepeat;
  FInterval = Interval;
  FTimer = std::make_unique<TTimer>(nullptr);
  FTimer->SetInterval(500);
  FFirstTick = true;
  FTimer->SetOnTimer(TNotifyEvent(this, &TbsAutoRepeat::Tick));
}

void TbsAutoRepeat::Stop() {
  FTimer.reset();
}

void TbsAutoRepeat::Tick(TObject* Sender) {
  // The first tick only ends the delay.
  if (FFirstTick) {
    FFirstTick = false;
    FTimer->SetInterval(static_cast<Cardinal>(*FInterval));
    return;
  }
  if (FOnRepeat) FOnRepeat(Sender);
}
