#include "platform/user/CommonControls.h"
void RegisterHeaderClass() {}
