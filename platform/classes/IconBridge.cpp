#include "platform/classes/IconBridge.h"

#include "platform/classes/Icon.h"

TIcon* NewIcon() {
  return new TIcon();
}

void DeleteIcon(TIcon* Icon) {
  delete Icon;
}

void AssignIcon(TIcon* Dest, TIcon* Source) {
  if (Dest != nullptr) Dest->Assign(Source);
}

void SetIconOnChange(TIcon* Icon, TNotifyEvent Handler) {
  if (Icon != nullptr) Icon->OnChange = Handler;
}

bool IconEmpty(TIcon* Icon) {
  return Icon == nullptr || Icon->Empty();
}

HICON IconHandleOf(TIcon* Icon) {
  return Icon != nullptr ? Icon->GetHandle() : nullptr;
}
