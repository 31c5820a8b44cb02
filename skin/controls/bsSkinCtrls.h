#pragma once
// The skinned controls: the windowed and windowless bases that bind a control to one part of
// a TbsSkinData by name and paint it through an off-screen bitmap, and the buttons, panels,
// check and radio boxes, gauges, track bars, scroll bars, labels and list view built on them.
//
// Every control has two looks: the part of the current skin (PartIndex >= 0) or, when the
// skin is missing, empty or has no part of that name, a default look of its own drawn with
// the system colours. The part is looked up afresh by name at every paint, every SetBounds and
// every skin change, so a control always shows the skin that is current.
//
// Ownership: controls refer to their TbsSkinData and never free it; a removed skin data
// component is forgotten through Notification. Timers, glyphs and default fonts are owned.
#include "skin/controls/bsSkinCtrlsBars.h"
#include "skin/controls/bsSkinCtrlsBase.h"
#include "skin/controls/bsSkinCtrlsBevel.h"
#include "skin/controls/bsSkinCtrlsButtons.h"
#include "skin/controls/bsSkinCtrlsCheckRadio.h"
#include "skin/controls/bsSkinCtrlsGauge.h"
#include "skin/controls/bsSkinCtrlsLabels.h"
#include "skin/controls/bsSkinCtrlsListView.h"
#include "skin/controls/bsSkinCtrlsMenuButtons.h"
#include "skin/controls/bsSkinCtrlsPanels.h"
#include "skin/controls/bsSkinCtrlsScrollBar.h"
#include "skin/controls/bsSkinCtrlsSplitter.h"
#include "skin/controls/bsSkinCtrlsTrackBar.h"
#include "skin/controls/bsSkinCtrlsTreeView.h"
