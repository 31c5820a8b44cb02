#pragma once
// The skinned edit, spin edit, list box and combo box.
//
// TbsCustomEdit is the one-line native edit inside every skinned edit-like control: it lets a
// skinned background show through (transparent mode), blocks editing on its own ReadOnly, and
// hands Enter and Escape to its form. TbsSkinNumEdit only takes keys that can form a number.
// TbsSkinEdit draws its frame and background itself around the native text. TbsSkinSpinEdit
// holds a double Value stepped by two buttons of its own. TbsSkinComboBox shows a chosen item
// and drops a list below itself.
//
// Ownership: inner editors and drop-down lists belong to their control; skin data, image lists
// and fonts given to a control are only referred to (fonts are copied).
#include "skin/boxctrls/bsSkinBoxCtrlsComboBox.h"
#include "skin/boxctrls/bsSkinBoxCtrlsEdits.h"
#include "skin/boxctrls/bsSkinBoxCtrlsListBox.h"
#include "skin/boxctrls/bsSkinBoxCtrlsScrollBox.h"
#include "skin/boxctrls/bsSkinBoxCtrlsSpinEdit.h"
#include "skin/boxctrls/bsSkinBoxCtrlsUpDown.h"
