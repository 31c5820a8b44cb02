// The panel over an inactive form's client area: no image without a client area, a blurred
// snapshot, and the content veiled by the background.
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/user/WindowPaint.h"
#include "skin/form/bsSkinInactivePanel.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TInactivePanelTest : public TSkinTest {
 protected:
  // A white form with a black 10 x 10 square at (20, 20) of its client area.
  TForm* NewMarkedForm() {
    TForm* Form = NewForm("Form", 100, 100, 200, 120);
    Form->SetColor(clWhite);
    Form->Show();
    Pump();
    const HDC DC = GetDC(Form->GetHandle());
    const HBRUSH Black = CreateSolidBrush(0);
    const RECT Square{20, 20, 30, 30};
    FillRect(DC, &Square, Black);
    DeleteObject(Black);
    ReleaseDC(Form->GetHandle(), DC);
    return Form;
  }
  static Byte Red(TbsBitmap* B, Integer X, Integer Y) { return static_cast<Byte>(B->GetPixel(X, Y) >> 16); }
};

TEST_F(TInactivePanelTest, AnEmptyClientAreaGetsNoImage) {
  TForm* Form = NewForm("Form", 100, 100, 200, 0);
  Form->Show();
  Pump();
  TbsClientInActivePanel Panel(nullptr);
  Panel.ShowOver(Form, bsieBlur);
  EXPECT_EQ(Panel.Snapshot, nullptr);
  EXPECT_FALSE(Panel.GetVisible());
}

TEST_F(TInactivePanelTest, BlurSoftensTheEdgesOfTheContent) {
  TForm* Form = NewMarkedForm();
  auto* Panel = new TbsClientInActivePanel(Form);
  Panel->ShowOver(Form, bsieBlur);
  ASSERT_NE(Panel->Snapshot, nullptr);
  EXPECT_TRUE(Panel->GetVisible());
  EXPECT_EQ(Panel->GetBoundsRect(), Rect(0, 0, 200, 120));
  // Just outside the square the blur mixes black into white; far away white stays.
  const Byte Edge = Red(Panel->Snapshot.get(), 18, 25);
  EXPECT_GT(Edge, 0);
  EXPECT_LT(Edge, 255);
  EXPECT_EQ(Red(Panel->Snapshot.get(), 100, 80), 255);
  Panel->HideSnapshot();
  EXPECT_EQ(Panel->Snapshot, nullptr);
  EXPECT_FALSE(Panel->GetVisible());
}

TEST_F(TInactivePanelTest, TheVeilShowsTheContentAtAboutAThird) {
  TForm* Form = NewMarkedForm();
  auto* Panel = new TbsClientInActivePanel(Form);
  Panel->ShowOver(Form, bsieSemiTransparent);
  ASSERT_NE(Panel->Snapshot, nullptr);
  // Black under a white veil of 170: about 170; the blur would leave the centre black.
  const Byte Veiled = Red(Panel->Snapshot.get(), 25, 25);
  EXPECT_GE(Veiled, 160);
  EXPECT_LE(Veiled, 180);
  EXPECT_GE(Red(Panel->Snapshot.get(), 100, 80), 250);
}

}  // namespace
