#pragma once
// Icon and cursor handles for the class library's files: the window layer's HICON and its calls
// (CreateIconIndirect, GetIconInfo, CopyIcon, DestroyIcon, AdoptIconBitmaps, LoadCursor, ...).
// TIconObject is the handle's object.
#include "platform/user/Cursors.h"
