#include "platform/user/CommonControls.h"
void RegisterListViewClass() {}
