#pragma once
// A message as the class library's message methods see it.
#include "platform/system/WinTypes.h"

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};
