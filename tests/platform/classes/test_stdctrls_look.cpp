// The standard controls in the classic look: exact colours at chosen pixels.
#include "StdCtrlsTestSupport.h"

namespace {

struct TPixel {
  Integer X, Y;
  TColor Color;
};

class TLookTest : public TStdCtrlsTest {
 protected:
  static void ExpectPixels(TControl* C, std::initializer_list<TPixel> Pixels) {
    const TControlShot P = ShotOf(C);
    for (const TPixel& Px : Pixels)
      EXPECT_EQ(P(Px.X, Px.Y), ScreenColor(Px.Color)) << C->GetName() << " at " << Px.X << "," << Px.Y;
  }
};

}  // namespace

TEST_F(TLookTest, PushButtons) {
  auto* Plain = Add<TButton>("Plain", Bounds(10, 10, 75, 25));
  auto* Default = Add<TButton>("Default", Bounds(100, 10, 75, 25));
  Default->SetDefault(true);
  Pump();
  // A soft raised edge: highlight and light at the top-left, dark shadow and shadow at the
  // bottom-right, the face inside.
  ExpectPixels(Plain, {{0, 0, clBtnHighlight},
                       {1, 1, cl3DLight},
                       {74, 24, cl3DDkShadow},
                       {73, 23, clBtnShadow},
                       {4, 4, clBtnFace}});
  // The default button has the window frame around it.
  ExpectPixels(Default,
               {{0, 0, clWindowFrame}, {74, 24, clWindowFrame}, {1, 1, clBtnHighlight}, {2, 2, cl3DLight}});
}

TEST_F(TLookTest, EditsListsAndCombos) {
  auto* Edit = Add<TEdit>("Edit", Bounds(10, 10, 100, 21));
  Edit->Clear();
  auto* List = Add<TListBox>("List", Bounds(10, 40, 100, 60));
  for (const char* S : {"a", "b", "c"}) List->GetItems()->Add(S);
  List->SetItemIndex(1);
  auto* Combo = Add<TComboBox>("Combo", Bounds(10, 110, 100, 21));
  Combo->SetStyle(csDropDownList);
  Pump();
  // The sunken client edge: shadow and dark shadow outside, highlight and light inside out.
  ExpectPixels(Edit, {{0, 0, clBtnShadow},
                      {1, 1, cl3DDkShadow},
                      {99, 20, clBtnHighlight},
                      {98, 19, cl3DLight},
                      {50, 10, clWindow}});
  // The selected item in the highlight colour across the list (the edge is 2 pixels).
  const Integer H = List->GetItemHeight();
  ExpectPixels(List, {{0, 0, clBtnShadow},
                      {60, 2 + H / 2, clWindow},
                      {60, 2 + H + H / 2, clHighlight},
                      {60, 2 + 2 * H + H / 2, clWindow}});
  // The combo: the field in the window colour, the drop button raised inside the edge.
  const Integer CH = Combo->GetHeight();
  ExpectPixels(
      Combo,
      {{0, 0, clBtnShadow}, {6, CH / 2, clWindow}, {97, CH - 3, cl3DDkShadow}, {98, CH / 2, cl3DLight}});
}

TEST_F(TLookTest, ChecksGroupsAndLabels) {
  auto* Box = Add<TCheckBox>("Box", Bounds(10, 10, 100, 17));
  Box->SetCaption("");
  auto* Group = Add<TGroupBox>("Group", Bounds(10, 40, 120, 60));
  Group->SetCaption("");
  auto* Label = Add<TLabel>("Label", Bounds(150, 10, 60, 20));
  Label->SetAutoSize(false);
  Label->SetCaption("");
  Label->SetBounds(150, 10, 60, 20);
  Label->SetColor(clRed);
  Pump();
  // The 13 x 13 box centred vertically at the left: sunken edge, window colour inside; the
  // rest in the parent's colour.
  ExpectPixels(Box, {{0, 2, clBtnShadow},
                     {1, 3, cl3DDkShadow},
                     {6, 8, clWindow},
                     {12, 14, clBtnHighlight},
                     {50, 8, clBtnFace}});
  // The etched frame from half the caption's height.
  const Integer Top = FontTextHeight(Group->GetFont()) / 2 - 1;
  ExpectPixels(Group, {{0, Top + 10, clBtnShadow},
                       {1, Top + 10, clBtnHighlight},
                       {118, Top + 10, clBtnShadow},
                       {119, Top + 10, clBtnHighlight},
                       {60, Top, clBtnShadow},
                       {60, Top + 1, clBtnHighlight},
                       {60, 30, clBtnFace}});
  // An opaque label fills its colour; a transparent one shows its parent.
  ExpectPixels(Label, {{0, 0, clRed}, {59, 19, clRed}});
  Label->SetTransparent(true);
  Pump();
  ExpectPixels(Label, {{0, 0, clBtnFace}});
}

TEST_F(TLookTest, DisabledLabelIsEmbossed) {
  auto* Label = Add<TLabel>("Label", Bounds(10, 10, 40, 20));
  Label->GetFont()->SetHeight(-20);
  Label->SetCaption("|");
  Label->SetEnabled(false);
  Pump();
  // Glyph pixels darker than the face (the shadow-coloured text) and, one pixel right and
  // down, lighter ones (the highlight copy under it); glyph edges are smoothed.
  const TControlShot P = ShotOf(Label);
  const DWORD Face = ScreenColor(clBtnFace) & 0xFF;
  bool Shadow = false, Highlight = false;
  for (Integer Y = 0; Y < Label->GetHeight(); ++Y)
    for (Integer X = 0; X < Label->GetWidth(); ++X) {
      Shadow |= P(X, Y) == ScreenColor(clBtnShadow);
      Highlight |= (P(X, Y) & 0xFF) > Face;
    }
  EXPECT_TRUE(Shadow);
  EXPECT_TRUE(Highlight);
}
