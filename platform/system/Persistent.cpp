#include "platform/system/Persistent.h"

#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"

void TPersistent::Assign(TPersistent* Source) {
  if (Source != nullptr)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source) {
  const std::string SourceName = Source != nullptr ? Source->ClassName() : std::string("nil");
  throw EConvertError(Format("Cannot assign a %s to a %s", {SourceName, ClassName()}));
}
