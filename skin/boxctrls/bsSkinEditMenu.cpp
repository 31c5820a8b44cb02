// The edits' built-in context menu model.
#include "skin/boxctrls/bsSkinEditMenu.h"

#include "skin/boxctrls/bsSkinBoxCtrlsEdits.h"

namespace {

TbsEditMenuShow EditMenuShow = nullptr;

}  // namespace

void SetEditMenuShow(TbsEditMenuShow Show) {
  EditMenuShow = Show;
}

TbsEditMenuShow GetEditMenuShow() {
  return EditMenuShow;
}

std::vector<TbsEditMenuEntry> EditMenuEntries(TbsCustomEdit* Edit) {
  const Integer Start = Edit->GetSelStart();
  const Integer End = Start + Edit->GetSelLength();
  const bool Selected = Start < End;
  // An empty edit counts as all selected.
  const bool AllSelected = Start == 0 && End == static_cast<Integer>(Edit->GetText().size());
  const bool Writable = !Edit->GetReadOnly();
  return {
      {"EDIT_UNDO", "Undo", Edit->GetCanUndo(), [](TbsCustomEdit* E) { E->Undo(); }},
      {"-", "-", true, nullptr},
      {"EDIT_CUT", "Cut", Selected && Writable, [](TbsCustomEdit* E) { E->CutToClipboard(); }},
      {"EDIT_COPY", "Copy", Selected, [](TbsCustomEdit* E) { E->CopyToClipboard(); }},
      {"EDIT_PASTE", "Paste", !Edit->ClipboardText().empty() && Writable,
       [](TbsCustomEdit* E) { E->PasteFromClipboard(); }},
      {"EDIT_DELETE", "Delete", Selected && Writable, [](TbsCustomEdit* E) { E->ClearSelection(); }},
      {"-", "-", true, nullptr},
      {"EDIT_SELECTALL", "Select All", !AllSelected, [](TbsCustomEdit* E) { E->SelectAll(); }},
  };
}

TPoint EditMenuPoint(TbsCustomEdit* Edit, LPARAM MessagePoint) {
  const Integer X = static_cast<SHORT>(LOWORD(MessagePoint));
  const Integer Y = static_cast<SHORT>(HIWORD(MessagePoint));
  if (X >= 0 && Y >= 0) return {X, Y};
  const TPoint Origin = Edit->ClientToScreen({0, 0});
  return {Origin.X + Edit->GetWidth() / 2, Origin.Y + Edit->GetHeight() / 2};
}
