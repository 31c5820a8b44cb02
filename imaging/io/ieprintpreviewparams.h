#pragma once
// The print-preview settings a TZezudIdIO owns; nothing in the program reads them yet.
#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TIOPrintPreviewParams : public TObject {
 public:
  Double MarginLeft = 1.0;
  Double MarginTop = 1.0;
  Double MarginRight = 1.0;
  Double MarginBottom = 1.0;
  Byte Position = 4;
  Byte Size = 1;
  Double Width = -1.0;
  Double Height = -1.0;
  Double Gamma = 1.0;
};
