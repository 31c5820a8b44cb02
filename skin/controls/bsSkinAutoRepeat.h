#pragma once
#include <memory>

#include "platform/classes/Controls.h"

class TTimer;

// The auto-repeat of a held button: after half a second OnRepeat fires every Interval
// milliseconds (read when the delay ends) until Stop.
class TbsAutoRepeat {
 public:
  TbsAutoRepeat();
  ~TbsAutoRepeat();
  void Start(TNotifyEvent OnRepeat, const Integer* Interval);
  void Stop();
  bool Running() const { return FTimer != nullptr; }

 private:
  void Tick(TObject* Sender);

  std::unique_ptr<TTimer> FTimer;
  TNotifyEvent FOnRepeat;
  const Integer* FInterval = nullptr;
  bool FFirstTick = false;
};
