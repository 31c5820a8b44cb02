// The skinned page control in its unskinned look: pages, tab height, switching by mouse and
// the colours of the active tab and the page frame.
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/controls/bsSkinCtrls.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TPageControlTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = NewForm("Form", 100, 100, 400, 300);
    Pages = new TbsSkinPageControl(Form);
    Pages->SetName("Pages");
    Pages->SetParent(Form);
    Pages->SetAlign(alClient);
    for (const char* Caption : {"Load && settings ", "Pattern control ", "Video scripts "}) {
      auto* Sheet = new TbsSkinTabSheet(Form);
      Sheet->SetPageControl(Pages);
      Sheet->SetCaption(Caption);
      Sheets.push_back(Sheet);
    }
    Pages->OnChange = TNotifyEvent(&Log, &TEventLog::Change);
    Form->Show();
    Pump();
  }
  TForm* Form = nullptr;
  TbsSkinPageControl* Pages = nullptr;
  std::vector<TbsSkinTabSheet*> Sheets;
  TEventLog Log;
};

TEST_F(TPageControlTest, PagesAndTabs) {
  EXPECT_EQ(Pages->GetPageCount(), 3);
  EXPECT_EQ(Pages->GetSkinDataName(), "tab");
  EXPECT_EQ(Pages->TabHeightInUse(), 20);
  EXPECT_EQ(Pages->TabRect(0).Height(), 20);
  Pages->SetActivePageIndex(2);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
  EXPECT_TRUE(Log.Take().empty());
  // A click on a tab switches pages and reports it.
  const TRect R = Pages->TabRect(1);
  ClickAt(Pages, R.Left + R.Width() / 2, R.Top + R.Height() / 2);
  EXPECT_EQ(Pages->GetActivePageIndex(), 1);
  EXPECT_EQ(Log.Take(), TLines{"Change Pages"});
}

TEST_F(TPageControlTest, UnskinnedLook) {
  Pages->SetActivePageIndex(0);
  Pump();
  const TRect Active = Pages->GetTabRect(0);
  const TRect Other = Pages->GetTabRect(2);
  EXPECT_EQ(PixelAt(Pages, Active.Left, Active.Top), ScreenColor(bsHotFrameColor));
  EXPECT_EQ(PixelAt(Pages, Other.Left + 2, Other.Top + 2), ScreenColor(clBtnFace));
  const TRect D = Pages->GetDisplayRect();
  EXPECT_EQ(PixelAt(Pages, D.Left - 1, D.Top + 20), ScreenColor(clBtnShadow));
  // The page shows the page colour.
  EXPECT_EQ(PixelAt(Sheets[0], 10, 10), ScreenColor(clBtnFace));
}

}  // namespace
