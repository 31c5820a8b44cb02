#pragma once
// The built-in context menu of the edits: its eight entries with their resource keys, built-in
// captions and enabled states, where it opens, and the hook through which the skinned menus
// (a library above this one) show it.
#include <string>
#include <vector>

#include "platform/classes/ControlTypes.h"
#include "platform/system/WinTypes.h"

class TbsCustomEdit;
class TComponent;

struct TbsEditMenuEntry {
  std::string Key;      // "EDIT_UNDO" ...; "-" for a separator
  std::string Caption;  // the built-in English text
  bool Enabled = false;
  void (*Command)(TbsCustomEdit* Edit) = nullptr;
};

// Undo, -, Cut, Copy, Paste, Delete, -, Select All, enabled by the edit's state.
std::vector<TbsEditMenuEntry> EditMenuEntries(TbsCustomEdit* Edit);
// The message's screen point; a keyboard request (-1, -1) opens at the edit's centre.
TPoint EditMenuPoint(TbsCustomEdit* Edit, LPARAM MessagePoint);

// Shows the entries at the screen point; returns the menu it made, which the edit owns and
// frees at message 1229 (sent by the menu after a command) or at the next request.
using TbsEditMenuShow = TComponent* (*)(TbsCustomEdit* Edit, const std::vector<TbsEditMenuEntry>& Entries,
                                        TPoint At);
// Installed by the skinned menus; without it an edit shows no built-in menu.
void SetEditMenuShow(TbsEditMenuShow Show);
TbsEditMenuShow GetEditMenuShow();

// Sent to the edit after a command of its menu has run.
constexpr UINT WM_EDITMENUDONE = 1229;
