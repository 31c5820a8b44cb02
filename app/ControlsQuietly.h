#pragma once
// A control set from code without running its handler: for putting back a change that was
// refused, so that the control shows the state in use again.
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

inline void SetCheckedQuietly(TbsSkinCheckRadioBox* Box, bool Checked) {
  const TNotifyEvent Handler = Box->OnClick;
  Box->OnClick = TNotifyEvent();
  Box->SetChecked(Checked);
  Box->OnClick = Handler;
}

inline void SetValueQuietly(TbsSkinSpinEdit* Edit, double Value) {
  const TNotifyEvent Handler = Edit->OnChange;
  Edit->OnChange = TNotifyEvent();
  Edit->SetValue(Value);
  Edit->OnChange = Handler;
}
