// The headless display behind the scripted input of this test program.
#include "tests/skin/SkinDisplayImpl.h"
