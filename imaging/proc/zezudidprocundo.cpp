// TZezudIdProc: the undo and redo lists. Both keep at most UndoLimit entries, oldest first;
// an entry is restored without being removed.
#include "imaging/core/iebitmap.h"
#include "imaging/proc/zezudidproc.h"
#include "imaging/proc/zezudidprocundoentry.h"

namespace {

using TEntries = std::vector<TZezudIdProc::TIEUndoEntry>;

}  // namespace

bool TZezudIdProc::PictureTooSmall() {
  return FIEBitmap->GetWidth() < 2 || FIEBitmap->GetHeight() < 2;
}

// Selections, layers and vector objects live in the full view, which this library does not
// see: only picture copies are saved here.
bool TZezudIdProc::AddEntry(TIEUndoList& List, TIEUndoSource Source) {
  FEntryAdded = false;
  if (Source != ieuImage || PictureTooSmall()) return false;
  while (!List.empty() && static_cast<Integer>(List.size()) >= FUndoLimit) List.erase(List.begin());
  auto Image = std::make_unique<TIEUndoImage>();
  Image->Picture = std::make_unique<TIEBitmap>();
  // A threshold of 0 sends a file-located copy to its own temporary file whatever its size; a
  // memory copy keeps the usual threshold, since one of 0 would send it to a file as well.
  if (FUndoLocation == ieFile) Image->Picture->SetMinFileSize(0);
  Image->Picture->SetLocation(FUndoLocation);
  Image->Picture->Assign(FIEBitmap);
  List.push_back(TIEUndoEntry{std::move(Image), Source, std::string()});
  FEntryAdded = true;
  return true;
}

void TZezudIdProc::SaveUndo(TIEUndoSource Source) {
  FEntryAdded = false;
  if (FUndoLimit == 0) return;
  if (Source == ieuImage && !PrepareBitmap({})) return;
  AddEntry(*FUndo, Source);
  if (FOnSaveUndo) FOnSaveUndo(this, Source);
}

void TZezudIdProc::SaveRedo(TIEUndoSource Source) {
  FEntryAdded = false;
  if (FUndoLimit == 0) return;
  if (Source == ieuImage && !PrepareBitmap({})) return;
  AddEntry(*FRedo, Source);
}

void TZezudIdProc::SaveUndoCaptioned(const std::string& Caption, TIEUndoSource Source) {
  if (!PrepareBitmap({}) || PictureTooSmall()) return;
  SaveUndo(Source);
  if (FEntryAdded) FUndo->back().Caption = Caption;
}

void TZezudIdProc::SaveRedoCaptioned(const std::string& Caption, TIEUndoSource Source) {
  if (!PrepareBitmap({}) || PictureTooSmall()) return;
  SaveRedo(Source);
  if (FEntryAdded) FRedo->back().Caption = Caption;
}

bool TZezudIdProc::CanUndo() const {
  return !FUndo->empty();
}

bool TZezudIdProc::CanRedo() const {
  return !FRedo->empty();
}

Integer TZezudIdProc::UndoCount() const {
  return static_cast<Integer>(FUndo->size());
}

Integer TZezudIdProc::RedoCount() const {
  return static_cast<Integer>(FRedo->size());
}

namespace {

// Position 0 is the newest entry; nullptr outside the list.
const TZezudIdProc::TIEUndoEntry* EntryAt(const TEntries& List, Integer Position) {
  if (Position < 0 || Position >= static_cast<Integer>(List.size())) return nullptr;
  return &List[List.size() - 1 - static_cast<size_t>(Position)];
}

std::string CaptionAt(const TEntries& List, Integer Position) {
  const TZezudIdProc::TIEUndoEntry* Entry = EntryAt(List, Position);
  return Entry ? Entry->Caption : std::string();
}

}  // namespace

std::string TZezudIdProc::GetUndoCaption(Integer Position) const {
  return CaptionAt(*FUndo, Position);
}

std::string TZezudIdProc::GetRedoCaption(Integer Position) const {
  return CaptionAt(*FRedo, Position);
}

TIEUndoSource TZezudIdProc::GetUndoSource(Integer Index) const {
  if (Index < 0 || Index >= UndoCount()) return ieuUnknown;
  return (*FUndo)[static_cast<size_t>(Index)].Source;
}

void TZezudIdProc::ClearUndo() {
  if (!FUndo->empty()) FUndo->pop_back();
}

void TZezudIdProc::ClearRedo() {
  if (!FRedo->empty()) FRedo->pop_back();
}

void TZezudIdProc::ClearUndoAt(Integer Position) {
  if (Position < 0 || Position >= UndoCount()) return;
  FUndo->erase(FUndo->end() - 1 - Position);
}

void TZezudIdProc::ClearAllUndo() {
  FUndo->clear();
}

void TZezudIdProc::ClearAllRedo() {
  FRedo->clear();
}

void TZezudIdProc::Restore(const TIEUndoEntry& Entry) {
  if (Entry.Source != ieuImage || !Entry.Image) return;
  FIEBitmap->Assign(Entry.Image->Picture.get());
  Refresh();
}

void TZezudIdProc::Undo(bool SaveRedo) {
  UndoAt(0, SaveRedo);
}

void TZezudIdProc::UndoAt(Integer Position, bool SaveRedo) {
  if (!PrepareBitmap({})) return;
  const TIEUndoEntry* Entry = EntryAt(*FUndo, Position);
  if (!Entry) return;
  if (SaveRedo) this->SaveRedo(Entry->Source);
  Restore(*Entry);
}

void TZezudIdProc::Redo() {
  RedoAt(0);
}

void TZezudIdProc::RedoAt(Integer Position) {
  if (!PrepareBitmap({})) return;
  if (const TIEUndoEntry* Entry = EntryAt(*FRedo, Position)) Restore(*Entry);
}
