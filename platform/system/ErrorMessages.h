#pragma once
// The platform's message texts for its error codes, as SysErrorMessage gives them.
#include <string>

#include "platform/system/Types.h"

// The text for ErrorCode, without a trailing line break; empty for a code without a text.
std::string SysErrorMessage(DWORD ErrorCode);
