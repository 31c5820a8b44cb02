#include "platform/classes/IconBridge.h"

#include "platform/classes/Icon.h"

TIcon* NewIcon() { return new TIcon(); }

void DeleteIcon(TIcon* Icon) { delete Icon; }

void AssignIcon(TIcon* Dest, TIcon* Source) {
  if (Dest != nullptr) Dest->Assign(Source);
}

void SetIconOnChange(TIcon* Icon, TNotifyEvent Handler) {
  if (Icon != nullptr) Icon->OnChange = Handler;
}

bool IconEmpty(TIcon* Icon) { return Icon == nullptr || Icon->Empty(); }

void* IconHandleOf(TIcon* Icon) { return Icon != nullptr ? static_cast<void*>(Icon->GetHandle()) : nullptr; }

bool DrawIconHandle(HDC DC, Integer X, Integer Y, void* Icon, Integer Width, Integer Height) {
  if (Icon == nullptr) return false;
  return DrawIconEx(DC, X, Y, static_cast<HICON>(Icon), Width, Height, 0, nullptr, DI_NORMAL) != FALSE;
}
