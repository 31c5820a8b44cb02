#pragma once
// TPersistent: objects that can copy themselves from one another. Assign asks the source's
// AssignTo when this class does not know the source; failing both raises EConvertError
// "Cannot assign a <source class> to a <destination class>" ("nil" for a null source).
#include "platform/system/Object.h"

class TPersistent : public TObject {
 public:
  virtual void Assign(TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest);
  virtual TPersistent* GetOwner() { return nullptr; }

 private:
  [[noreturn]] void AssignError(TPersistent* Source);
};
