#pragma once
// A skin built in memory for the check box, gauge, track bar, scroll bar, labels, splitter and
// the views, each slice in a colour of its own so that a pixel tells which piece was drawn.
//
// Picture 0 (200 x 100), rectangles in picture coordinates:
//   checkbox    (0, 0)-(60, 20) face, (0, 20)-(60, 40) active face; state pictures of 10 x 10
//               at (60 + 10 k, 0), each with its bottom-left pixel in the key colour.
//   gauge       (0, 40)-(100, 60) track; progress picture (100, 40)-(120, 56): caps of 2, a
//               middle of two 8-pixel halves.
//   htrackbar   (0, 60)-(100, 80) track, (0, 80)-(100, 100) filled; thumbs (100, 60) and
//               (110, 60), 10 x 20.
//   hscrollbar  (120, 20)-(180, 36): down button, track, up button (16, 28, 16 wide); thumbs
//               10 x 16 at (120 + 10 k, 40); hot arrows at (180, 20) and (180, 40).
//   vsplitter   (160, 60)-(166, 80): 4-pixel ends; gripper (170, 60)-(174, 64).
//   label       (120, 60)-(160, 80) with 5-pixel ends.
//   listbox     active item (180, 60)-(200, 80), focused item (180, 80)-(200, 100).
//   header      (120, 80)-(140, 100) normal, (140, 80)-(160, 100) down.
#include <memory>
#include <string>

#include "platform/classes/Bitmap.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataEditParts.h"
#include "skin/data/bsSkinDataSections.h"

namespace SyntheticParts {

constexpr TColor Key = 0xFF00FF;
constexpr TColor CheckFace = 0x3030C0, CheckActiveFace = 0x30C030;
// Checked, unchecked, active checked, active unchecked, disabled checked, disabled unchecked.
constexpr TColor CheckPictures[6] = {0xC00010, 0xC00020, 0xC00030, 0xC00040, 0xC00050, 0xC00060};
constexpr TColor GaugeTrack = 0x404040, CapBegin = 0x0000A0, MidA = 0x00A000, MidB = 0x00A0A0,
                 CapEnd = 0xA00000;
constexpr TColor TrackFace = 0x606000, TrackFilled = 0x009090, Thumb = 0x900090, ThumbActive = 0x905090;
constexpr TColor SBDown = 0x101060, SBTrack = 0x106010, SBUp = 0x601010;
constexpr TColor SBThumbs[3] = {0x707010, 0x107070, 0x701070};  // normal, hot, down
constexpr TColor SBUpHot = 0x2020E0, SBDownHot = 0x20E020;
constexpr TColor SplitEnd = 0x336699, SplitMid = 0x996633, Gripper = 0x10F0F0;
constexpr TColor LabelFace = 0x405060;
constexpr TColor ItemActive = 0x206080, ItemFocus = 0x802060;
constexpr TColor HeaderFace = 0x6080A0, HeaderDown = 0xA08060;
constexpr TColor ViewFont = 0x000080, ViewBack = 0xE0F0E0;

constexpr TRect CheckPicture(Integer K) {
  return Rect(60 + 10 * K, 0, 70 + 10 * K, 10);
}
constexpr TRect ScrollThumb(Integer K) {
  return Rect(120 + 10 * K, 40, 130 + 10 * K, 56);
}

inline void Fill(TBitmap* B, const TRect& R, TColor Color) {
  B->GetCanvas()->GetBrush()->SetStyle(bsSolid);
  B->GetCanvas()->GetBrush()->SetColor(Color);
  B->GetCanvas()->FillRect(R);
}

inline std::unique_ptr<TBitmap> NewPicture() {
  auto P = std::make_unique<TBitmap>();
  P->SetPixelFormat(pf24bit);
  P->SetSize(200, 100);
  Fill(P.get(), Rect(0, 0, 200, 100), 0);
  Fill(P.get(), Rect(0, 0, 60, 20), CheckFace);
  Fill(P.get(), Rect(0, 20, 60, 40), CheckActiveFace);
  for (Integer K = 0; K < 6; ++K) {
    const TRect R = CheckPicture(K);
    Fill(P.get(), R, CheckPictures[K]);
    Fill(P.get(), Rect(R.Left, R.Bottom - 1, R.Left + 1, R.Bottom), Key);
  }
  Fill(P.get(), Rect(0, 40, 100, 60), GaugeTrack);
  Fill(P.get(), Rect(100, 40, 102, 56), CapBegin);
  Fill(P.get(), Rect(102, 40, 110, 56), MidA);
  Fill(P.get(), Rect(110, 40, 118, 56), MidB);
  Fill(P.get(), Rect(118, 40, 120, 56), CapEnd);
  Fill(P.get(), Rect(0, 60, 100, 80), TrackFace);
  Fill(P.get(), Rect(0, 80, 100, 100), TrackFilled);
  Fill(P.get(), Rect(100, 60, 110, 80), Thumb);
  Fill(P.get(), Rect(110, 60, 120, 80), ThumbActive);
  Fill(P.get(), Rect(120, 20, 136, 36), SBDown);
  Fill(P.get(), Rect(136, 20, 164, 36), SBTrack);
  Fill(P.get(), Rect(164, 20, 180, 36), SBUp);
  for (Integer K = 0; K < 3; ++K) Fill(P.get(), ScrollThumb(K), SBThumbs[K]);
  Fill(P.get(), Rect(180, 20, 196, 36), SBUpHot);
  Fill(P.get(), Rect(180, 40, 196, 56), SBDownHot);
  Fill(P.get(), Rect(160, 60, 166, 80), SplitEnd);
  Fill(P.get(), Rect(160, 64, 166, 76), SplitMid);
  Fill(P.get(), Rect(170, 60, 174, 64), Gripper);
  Fill(P.get(), Rect(120, 60, 160, 80), LabelFace);
  Fill(P.get(), Rect(180, 60, 200, 80), ItemActive);
  Fill(P.get(), Rect(180, 80, 200, 100), ItemFocus);
  Fill(P.get(), Rect(120, 80, 140, 100), HeaderFace);
  Fill(P.get(), Rect(140, 80, 160, 100), HeaderDown);
  return P;
}

template <class TRecord>
TRecord* AddPart(TbsSkinData* D, const std::string& Name) {
  auto Part = std::make_unique<TRecord>(Name);
  TRecord* Result = Part.get();
  D->SkinControls.push_back(std::move(Part));
  return Result;
}

inline void AddCheckBox(TbsSkinData* D) {
  auto* C = AddPart<TbsDataSkinCheckRadioControl>(D, "checkbox");
  C->PictureIndex = 0;
  C->SkinRect = Rect(0, 0, 60, 20);
  C->ActiveSkinRect = Rect(0, 20, 60, 40);
  C->CheckImageArea = Rect(2, 2, 18, 18);
  C->TextArea = Rect(20, 0, 60, 20);
  C->CheckImageRect = CheckPicture(0);
  C->UncheckImageRect = CheckPicture(1);
  C->ActiveCheckImageRect = CheckPicture(2);
  C->ActiveUncheckImageRect = CheckPicture(3);
  C->UnEnabledCheckImageRect = CheckPicture(4);
  C->UnEnabledUncheckImageRect = CheckPicture(5);
}

inline void AddGaugeAndTrackBar(TbsSkinData* D) {
  auto* G = AddPart<TbsDataSkinGaugeControl>(D, "gauge");
  G->PictureIndex = 0;
  G->SkinRect = Rect(0, 40, 100, 60);
  G->ProgressArea = Rect(2, 2, 98, 18);
  G->ProgressRect = Rect(100, 40, 120, 56);
  G->BeginOffset = 2;
  G->EndOffset = 2;
  auto* T = AddPart<TbsDataSkinTrackBarControl>(D, "htrackbar");
  T->PictureIndex = 0;
  T->SkinRect = Rect(0, 60, 100, 80);
  T->ActiveSkinRect = Rect(0, 80, 100, 100);
  T->TrackArea = Rect(5, 0, 95, 20);
  T->ButtonRect = Rect(100, 60, 110, 80);
  T->ActiveButtonRect = Rect(110, 60, 120, 80);
}

inline void AddScrollBar(TbsSkinData* D) {
  auto* S = AddPart<TbsDataSkinScrollBarControl>(D, "hscrollbar");
  S->PictureIndex = 0;
  S->SkinRect = Rect(120, 20, 180, 36);
  S->LeftTopPoint = {16, 0};
  // The right piece starts a pixel before the up button, which therefore moves with the end.
  S->RightTopPoint = {43, 0};
  S->ClientRect = Rect(16, 0, 43, 16);
  S->TrackArea = Rect(16, 0, 44, 16);
  S->DownButtonRect = Rect(0, 0, 16, 16);
  S->UpButtonRect = Rect(44, 0, 60, 16);
  S->ActiveUpButtonRect = Rect(180, 20, 196, 36);
  S->ActiveDownButtonRect = Rect(180, 40, 196, 56);
  S->ThumbRect = ScrollThumb(0);
  S->ActiveThumbRect = ScrollThumb(1);
  S->DownThumbRect = ScrollThumb(2);
}

inline void AddLabelsAndSplitter(TbsSkinData* D) {
  auto* L = AddPart<TbsDataSkinLabelControl>(D, "label");
  L->PictureIndex = 0;
  L->SkinRect = Rect(120, 60, 160, 80);
  L->LeftTopPoint = {5, 0};
  L->RightTopPoint = {35, 0};
  L->ClientRect = Rect(5, 2, 35, 18);
  L->FontColor = 0x000001;
  auto* S = AddPart<TbsDataSkinSplitterControl>(D, "vsplitter");
  S->PictureIndex = 0;
  S->SkinRect = Rect(160, 60, 166, 80);
  S->LeftTopPoint = {0, 4};
  S->LeftBottomPoint = {0, 16};
  S->GripperRect = Rect(170, 60, 174, 64);
}

inline void AddViews(TbsSkinData* D) {
  auto* T = AddPart<TbsDataSkinTreeView>(D, "treeview");
  T->FontColor = ViewFont;
  T->BGColor = ViewBack;
  auto* V = AddPart<TbsDataSkinListView>(D, "listview");
  V->FontColor = ViewFont;
  V->BGColor = ViewBack;
  auto* I = AddPart<TbsDataSkinListBox>(D, "listbox");
  I->PictureIndex = 0;
  I->ActiveItemRect = Rect(180, 60, 200, 80);
  I->FocusItemRect = Rect(180, 80, 200, 100);
  I->ItemTextRect = Rect(2, 2, 18, 18);
  auto* H = AddPart<TbsDataSkinButtonControl>(D, "resizetoolbutton");
  H->PictureIndex = 0;
  H->SkinRect = Rect(120, 80, 140, 100);
  H->DownSkinRect = Rect(140, 80, 160, 100);
  H->LeftTopPoint = {2, 2};
  H->RightTopPoint = {18, 2};
}

// The record of a part of the skin, by name.
template <class TRecord = TbsDataSkinCheckRadioControl>
TRecord* PartOf(TbsSkinData* D, const std::string& Name) {
  const Integer I = D->FindControlPart(Name);
  return I < 0 ? nullptr : dynamic_cast<TRecord*>(D->SkinControls[static_cast<std::size_t>(I)].get());
}

// The skin with all the parts above, owned by Owner; not empty.
inline TbsSkinData* NewPartsSkin(TComponent* Owner) {
  auto* D = new TbsSkinData(Owner);
  D->ActivePictures.push_back(NewPicture());
  AddCheckBox(D);
  AddGaugeAndTrackBar(D);
  AddScrollBar(D);
  AddLabelsAndSplitter(D);
  AddViews(D);
  D->SkinColors->CBtnFace = 0x707070;
  D->Empty = false;
  return D;
}

}  // namespace SyntheticParts
