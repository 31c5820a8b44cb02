#pragma once
// The visible top-level windows as told to a back end with a desktop window per top-level
// window (TDisplayBackend::PresentTopLevels).
#include <utility>
#include <vector>

#include "platform/user/DisplayBackend.h"

// Surface damage of one top-level window, in its window coordinates.
using TWindowDamage = std::pair<HWND, TRect>;

// The views, the top one first. A window's Damaged are the parts of ScreenDamage over it and
// its entries of WindowDamage. The views point into the windows: use them before the window
// layer runs again.
std::vector<TTopLevelView> TopLevelViews(const std::vector<TRect>& ScreenDamage,
                                         const std::vector<TWindowDamage>& WindowDamage);
