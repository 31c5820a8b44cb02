#include "platform/user/CommonControls.h"
void RegisterTreeViewClass() {}
