#pragma once
// A skin built in memory whose slices are coloured uniquely, so that a pixel tells which piece
// of which state picture a control drew there.
//
// Picture 0 (200 x 60):
//   (0, 0)-(50, 50)   "panel": 10-pixel frame in PanelFrame around a 30 x 30 client piece in
//                     PanelClient whose first column is PanelClientEdge.
//   (60 + 20 k, 0)    the five 20 x 20 button states (normal, active, down, disabled, focused):
//                     a 3-pixel frame in ButtonFrame around the state's own colour.
//   (60, 20)-(120, 40) three 20 x 20 animation frames in FrameColors.
// Picture 1 (20 x 20): the buttons' mask, black except a white 3 x 3 top-left corner.
#include <memory>
#include <string>

#include "platform/classes/Bitmap.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataSections.h"

namespace SyntheticSkin {

constexpr TColor PanelFrame = 0x0000C0, PanelClient = 0x00C000, PanelClientEdge = 0xC0C000;
constexpr TColor ButtonFrame = 0x202020;
// Normal, active, down, disabled and focused.
constexpr TColor StateColors[5] = {0x0000F0, 0x00F000, 0xF00000, 0x808000, 0x00F0F0};
constexpr TColor TextColor = 0x000001;
constexpr TColor FrameColors[3] = {0x101080, 0x108010, 0x801010};
constexpr TRect AnimationStrip = Rect(60, 20, 120, 40);

inline void Fill(TBitmap* B, const TRect& R, TColor Color) {
  B->GetCanvas()->GetBrush()->SetStyle(bsSolid);
  B->GetCanvas()->GetBrush()->SetColor(Color);
  B->GetCanvas()->FillRect(R);
}

inline TRect StateRect(Integer K) {
  return Rect(60 + 20 * K, 0, 80 + 20 * K, 20);
}

inline std::unique_ptr<TBitmap> NewPicture() {
  auto P = std::make_unique<TBitmap>();
  P->SetPixelFormat(pf24bit);
  P->SetSize(200, 60);
  Fill(P.get(), Rect(0, 0, 200, 60), 0);
  Fill(P.get(), Rect(0, 0, 50, 50), PanelFrame);
  Fill(P.get(), Rect(10, 10, 40, 40), PanelClient);
  Fill(P.get(), Rect(10, 10, 11, 40), PanelClientEdge);
  for (Integer K = 0; K < 5; ++K) {
    const TRect R = StateRect(K);
    Fill(P.get(), R, ButtonFrame);
    Fill(P.get(), Rect(R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3), StateColors[K]);
  }
  for (Integer K = 0; K < 3; ++K) Fill(P.get(), Rect(60 + 20 * K, 20, 80 + 20 * K, 40), FrameColors[K]);
  return P;
}

inline std::unique_ptr<TBitmap> NewMask() {
  auto M = std::make_unique<TBitmap>();
  M->SetPixelFormat(pf24bit);
  M->SetSize(20, 20);
  Fill(M.get(), Rect(0, 0, 20, 20), clBlack);
  Fill(M.get(), Rect(0, 0, 3, 3), clWhite);
  return M;
}

// A 9-slice geometry with corners of Corner pixels in a part of W x H.
template <class TRecord>
void NineSlice(TRecord* R, Integer W, Integer H, Integer Corner) {
  R->LeftTopPoint = {Corner, Corner};
  R->RightTopPoint = {W - Corner, Corner};
  R->LeftBottomPoint = {Corner, H - Corner};
  R->RightBottomPoint = {W - Corner, H - Corner};
  R->ClientRect = Rect(Corner, Corner, W - Corner, H - Corner);
}

inline std::unique_ptr<TbsDataSkinButtonControl> NewButtonPart(const std::string& Name) {
  auto B = std::make_unique<TbsDataSkinButtonControl>(Name);
  B->PictureIndex = 0;
  B->SkinRect = StateRect(0);
  B->ActiveSkinRect = StateRect(1);
  B->DownSkinRect = StateRect(2);
  B->DisabledSkinRect = StateRect(3);
  B->FocusedSkinRect = StateRect(4);
  NineSlice(B.get(), 20, 20, 3);
  B->FontColor = TextColor;
  B->ActiveFontColor = TextColor;
  B->DownFontColor = TextColor;
  // Equal to the normal colour: the control greys it.
  B->DisabledFontColor = TextColor;
  return B;
}

// The skin, owned by Owner; not empty.
inline TbsSkinData* NewSkin(TComponent* Owner) {
  auto* D = new TbsSkinData(Owner);
  D->ActivePictures.push_back(NewPicture());
  D->ActivePictures.push_back(NewMask());
  auto Panel = std::make_unique<TbsDataSkinPanelControl>("panel");
  Panel->PictureIndex = 0;
  Panel->SkinRect = Rect(0, 0, 50, 50);
  NineSlice(Panel.get(), 50, 50, 10);
  D->SkinControls.push_back(std::move(Panel));
  D->SkinControls.push_back(NewButtonPart("button"));
  D->SkinControls.push_back(NewButtonPart("toolbutton"));
  auto Bevel = std::make_unique<TbsDataSkinBevel>("bevel");
  Bevel->LightColor = 0x11AA11;
  Bevel->DarkColor = 0xAA1111;
  D->SkinControls.push_back(std::move(Bevel));
  D->SkinColors->CBtnFace = 0x707070;
  D->Empty = false;
  return D;
}

// The record of a part of the skin, by name.
template <class TRecord>
TRecord* PartOf(TbsSkinData* D, const std::string& Name) {
  const Integer I = D->FindControlPart(Name);
  return I < 0 ? nullptr : dynamic_cast<TRecord*>(D->SkinControls[static_cast<std::size_t>(I)].get());
}

}  // namespace SyntheticSkin
