// TZezudIdVect: object snapshots for undo (the control's own list or the processing
// component's), copying objects through the clipboard, and the unit's start-up.
#include <memory>

#include "imaging/core/iewinutils.h"
#include "imaging/proc/zezudidproc.h"
#include "imaging/view/ievect.h"
#include "platform/classes/Menus.h"
#include "platform/system/Streams.h"
#include "platform/user/Clipboard.h"
#include "platform/user/GlobalMemory.h"

namespace {
UINT VectClipboardFormat = 0;
}  // namespace

void IEVectInitialize() {
  VectClipboardFormat = RegisterClipboardFormat("ZEZUDID VECT");
  const char Letters[] = {'L', 'E', 'R', 'J', 'C', 'X', 'V', 'F', 'B', 'I', 'U', 'G'};
  for (std::size_t I = 0; I < IETextShortCuts.size(); ++I)
    IETextShortCuts[I] = ShortCut(Letters[I], {ssCtrl});
  IEVClearExtensions();
}

void IEVectFinalize() {
  IEVClearExtensions();
}

UINT IEVectClipboardFormat() {
  return VectClipboardFormat;
}

// ---- Snapshots ----

void TZezudIdVect::SaveObjUndo() {
  if (FObjUndoLimit == 0) return;
  auto Snapshot = std::make_unique<TMemoryStream>();
  SaveToStreamIEV(Snapshot.get());  // a failure leaves the list as it was
  while (!FObjUndoList.empty() && static_cast<Integer>(FObjUndoList.size()) >= FObjUndoLimit)
    FObjUndoList.erase(FObjUndoList.begin());
  FObjUndoList.push_back(std::move(Snapshot));
  if (FOnSaveUndo) FOnSaveUndo(this, ieuObject);
}

void TZezudIdVect::SaveAutoUndo() {
  FPressTookUndo = FObjAutoUndo;
  if (!FPressTookUndo) return;
  if (FObjUndoMode == ieumSeparated)
    SaveObjUndo();
  else
    GetProc()->SaveUndo(ieuObject);
}

void TZezudIdVect::DropLastObjUndo() {
  if (!FObjUndoList.empty()) FObjUndoList.pop_back();
}

void TZezudIdVect::ClearObjUndo() {
  FObjUndoList.clear();
}

// Withdraws the snapshot of a press that changed nothing.
void TZezudIdVect::WithdrawAutoUndo() {
  if (FObjChanged || !FObjAutoUndo || !FPressTookUndo) return;
  FPressTookUndo = false;
  if (FObjUndoMode == ieumSeparated) {
    DropLastObjUndo();
    return;
  }
  TZezudIdProc* Proc = GetProc();
  const Integer Count = Proc->UndoCount();
  for (Integer Position = 0; Position < Count; ++Position)
    if (Proc->GetUndoSource(Count - 1 - Position) == ieuObject) {
      Proc->ClearUndoAt(Position);
      break;
    }
}

bool TZezudIdVect::UndoObjects() {
  if (FObjUndoList.empty()) return false;
  std::unique_ptr<TMemoryStream> Snapshot = std::move(FObjUndoList.back());
  FObjUndoList.pop_back();
  Snapshot->SetPosition(0);
  const bool Done = LoadFromStreamIEV(Snapshot.get());
  DoVectorialChanged();
  Update();
  return Done;
}

// ---- Clipboard ----

void TZezudIdVect::CopySelectedObjectsToClipboard() {
  if (FSelected.empty()) return;
  TZezudIdVect Copy(nullptr);
  for (Integer hobj : FDrawOrder) {
    if (!IsSelected(hobj)) continue;
    const Integer Added = Copy.AddObjectRecord(*FObjects[hobj]);
    const TIEVObject& Source = *FObjects[hobj];
    if ((Source.Kind == ievoBitmap || (Source.Kind == ievoMemo && Source.MemoHasBitmap)) &&
        Source.BitmapIndex >= 0)
      Copy.SetObjBitmap(Added, ObjBitmap(Source.BitmapIndex));
  }
  TMemoryStream Stream;
  Copy.SaveToStreamIEV(&Stream);
  if (!IEOpenClipboard()) return;
  EmptyClipboard();
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, static_cast<std::size_t>(Stream.GetSize()));
  if (Mem != nullptr) {
    std::memcpy(GlobalLock(Mem), Stream.GetMemory(), static_cast<std::size_t>(Stream.GetSize()));
    GlobalUnlock(Mem);
    if (SetClipboardData(VectClipboardFormat, Mem) == nullptr) GlobalFree(Mem);
  }
  CloseClipboard();
}

bool TZezudIdVect::PasteObjectsFromClipboard() {
  if (VectClipboardFormat == 0 || !IEOpenClipboard()) return false;
  TMemoryStream Stream;
  if (HANDLE Mem = GetClipboardData(VectClipboardFormat)) {
    const std::size_t Size = GlobalSize(Mem);
    if (const void* P = GlobalLock(Mem)) Stream.WriteBuffer(P, static_cast<Integer>(Size));
    GlobalUnlock(Mem);
  }
  CloseClipboard();
  if (Stream.GetSize() == 0) return false;
  Stream.SetPosition(0);
  TZezudIdVect Pasted(nullptr);
  if (!Pasted.LoadFromStreamIEV(&Stream)) return false;
  const Integer First = static_cast<Integer>(FObjects.size());
  Pasted.CopyObjectsTo(this);
  ClearSelection();
  for (Integer hobj = First; hobj < static_cast<Integer>(FObjects.size()); ++hobj)
    if (FObjects[hobj]) SelObject(hobj);
  DoVectorialChanged();
  Update();
  return true;
}
