#include "platform/system/Exceptions.h"

void Abort() {
  throw EAbort("Operation aborted");
}
