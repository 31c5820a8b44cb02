#include "platform/classes/IconBridge.h"

#include "platform/classes/Icon.h"
#include "platform/system/Resources.h"
#include "platform/user/Cursors.h"

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

bool LoadProgramIcon(TIcon* Icon) {
  HICON Program = LoadIcon(HInstance, "MAINICON");
  if (Icon == nullptr || Program == nullptr) return false;
  // The loaded icon is shared; the TIcon owns what it holds.
  Icon->SetHandle(CopyIcon(Program));
  return true;
}

HICON IconHandleOf(TIcon* Icon) {
  return Icon != nullptr ? Icon->GetHandle() : nullptr;
}
