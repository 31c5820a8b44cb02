// The main window's controls draw from the window's skin data, and from the new skin once
// another one is chosen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "platform/classes/Canvas.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/data/bsSkinData.h"

namespace {
// What binding tells of one control: its skin data and whether a part of the skin is bound.
struct TBinding {
  std::string Name;
  TbsSkinData* SkinData;
  bool HasPart;
};

bool Bound(TControl* C, TBinding& B) {
  B.Name = C->GetName();
  if (auto* W = dynamic_cast<TbsSkinPartMixin<TCustomControl>*>(C)) {
    B.SkinData = W->GetSkinData();
    B.HasPart = W->PartIndex != -1;
    return true;
  }
  if (auto* G = dynamic_cast<TbsSkinPartMixin<TGraphicControl>*>(C)) {
    B.SkinData = G->GetSkinData();
    B.HasPart = G->PartIndex != -1;
    return true;
  }
  if (auto* L = dynamic_cast<TbsSkinStdLabel*>(C)) {
    B.SkinData = L->GetSkinData();
    B.HasPart = true;
    return true;
  }
  return false;
}

void CollectBindings(TWinControl* Parent, std::vector<TBinding>& Bindings) {
  for (Integer I = 0; I < Parent->GetControlCount(); ++I) {
    TControl* C = Parent->GetControl(I);
    TBinding B{};
    if (Bound(C, B)) Bindings.push_back(B);
    if (auto* W = dynamic_cast<TWinControl*>(C)) CollectBindings(W, Bindings);
  }
}

// The controls' names that are not drawn from the window's skin data.
std::vector<std::string> Unbound(TForm1* Form) {
  std::vector<TBinding> Bindings;
  CollectBindings(Form->ControlPanel, Bindings);
  CollectBindings(Form->StatusBar1, Bindings);
  EXPECT_GT(Bindings.size(), 100u);
  std::vector<std::string> Names;
  for (const TBinding& B : Bindings)
    if (B.SkinData != Form->bsSkinData1 || !B.HasPart) Names.push_back(B.Name);
  return Names;
}

std::vector<Byte> Pixels(TBitmap& B) {
  std::vector<Byte> P;
  B.SetPixelFormat(pf24bit);
  for (Integer Y = 0; Y < B.GetHeight(); ++Y) {
    const Byte* Row = static_cast<const Byte*>(B.GetScanLine(Y));
    P.insert(P.end(), Row, Row + B.GetWidth() * 3);
  }
  return P;
}

template <class T>
std::vector<Byte> SkinImage(T* Control) {
  TBitmap B;
  B.SetSize(Control->GetWidth(), Control->GetHeight());
  Control->DrawSkinImage(&B);
  return Pixels(B);
}
}  // namespace

TEST_F(TMosaicTest, TheWindowsControlsDrawFromTheSkinAndFollowAChangeOfSkin) {
  ASSERT_FALSE(Form->bsSkinData1->Empty);
  EXPECT_EQ(Unbound(Form.get()), std::vector<std::string>{});
  // The column is laid out for the controls' own font, whatever a skin's parts carry.
  EXPECT_FALSE(Form->LoadPicBtn->GetUseSkinFont());
  const std::vector<Byte> Before = SkinImage(Form->LoadPicBtn);

  Form->SkinItems[6]->Click();
  RunUntilIdle();
  ASSERT_EQ(Form->bsSkinData1->SkinName, "VisionEx");
  EXPECT_EQ(Unbound(Form.get()), std::vector<std::string>{});
  EXPECT_NE(SkinImage(Form->LoadPicBtn), Before);
}

TEST_F(TMosaicTest, TheSkinnedStatusFieldsShowTheirText) {
  ASSERT_FALSE(Form->bsSkinData1->Empty);
  for (TbsSkinStatusPanel* Field : {Form->StatusPanel, Form->RAMPanel, Form->DatePanel}) {
    SCOPED_TRACE(Field->GetName());
    ASSERT_NE(Field->PartIndex, -1);
    Field->SetCaption(" Ready");
    const std::vector<Byte> WithText = SkinImage(Field);
    Field->SetCaption("");
    EXPECT_NE(SkinImage(Field), WithText);
  }
}
