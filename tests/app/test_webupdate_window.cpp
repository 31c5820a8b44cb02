// The web-update window: its layout from the caption table, the status and offer lines, the
// gauge, and what its two buttons do.
#include <gtest/gtest.h>

#include <string>

#include "app/Languages.h"
#include "app/WebUpdateWindow.h"
#include "platform/classes/Forms.h"
#include "platform/display/HeadlessDisplay.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {

class TUpdateWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { Saved = UpdateCaptions; }
  void TearDown() override {
    UpdateCaptions = Saved;
    SetUpdateCallback(nullptr, nullptr);
    delete UpdateWindow;
    RunUntilIdle();
  }
  decltype(UpdateCaptions) Saved;
};

TForm1* Called = nullptr;
Integer Calls = 0;
void StartDownload(TForm1* Form) {
  Called = Form;
  ++Calls;
}

TEST_F(TUpdateWindowTest, WithoutTextsTheCaptionsAreBare) {
  UpdateCaptions.fill("");
  ShowUpdateWindow(" Tilvarok web-update ", nullptr);
  RunUntilIdle();
  ASSERT_NE(UpdateWindow, nullptr);
  EXPECT_TRUE(UpdateWindow->GetVisible());
  EXPECT_EQ(UpdateWindow->GetCaption(), " Tilvarok web-update ");
  EXPECT_EQ(UpdateWindow->GetFormStyle(), fsStayOnTop);
  EXPECT_EQ(UpdateWindow->GetClientWidth(), 360);
  EXPECT_EQ(UpdateWindow->GetClientHeight(), 290);
  EXPECT_EQ(UpdateHeading->GetCaption(), "  ");
  for (TbsSkinStdLabel* Label : UpdateInfoCaptions) EXPECT_EQ(Label->GetCaption(), ":");
  EXPECT_EQ(UpdateDownloadButton->GetCaption(), "");
  EXPECT_EQ(UpdateCancelButton->GetCaption(), "");
}

TEST_F(TUpdateWindowTest, LayoutTextsAndLines) {
  for (std::size_t I = 0; I < UpdateCaptions.size(); ++I) UpdateCaptions[I] = "T" + std::to_string(I);
  ShowUpdateWindow("Update", nullptr);
  RunUntilIdle();
  EXPECT_EQ(UpdateHeading->GetCaption(), " T17 ");
  EXPECT_EQ(UpdateHeading->GetFont()->GetName(), "Tahoma");
  EXPECT_EQ(UpdateHeading->GetFont()->GetSize(), 10);
  EXPECT_EQ(UpdateHeading->GetFont()->GetColor(), static_cast<TColor>(0x454545));
  EXPECT_EQ(UpdateStatus1->GetFont()->GetColor(), static_cast<TColor>(0x454545));
  EXPECT_TRUE(UpdateStatus1->GetFont()->GetStyle().Contains(fsBold));
  EXPECT_FALSE(UpdateStatus2->GetFont()->GetStyle().Contains(fsBold));
  const Integer Tops[4] = {24, 40, 78, 94};
  for (std::size_t I = 0; I < 4; ++I) {
    EXPECT_EQ(UpdateInfoCaptions[I]->GetCaption(), "T" + std::to_string(10 + I) + ":");
    EXPECT_EQ(UpdateInfoCaptions[I]->GetLeft(), 15);
    EXPECT_EQ(UpdateInfoCaptions[I]->GetTop(), Tops[I]);
    EXPECT_EQ(UpdateInfoValues[I]->GetLeft(), 180);
    EXPECT_EQ(UpdateInfoValues[I]->GetTop(), Tops[I]);
    EXPECT_EQ(UpdateInfoValues[I]->GetCaption(), "");
  }
  EXPECT_EQ(UpdateStatus1->GetTop(), 124);
  EXPECT_EQ(UpdateStatus2->GetTop(), 144);
  EXPECT_EQ(UpdateGroupBox->GetBoundsRect(), TRect(8, 8, 341, 203));
  EXPECT_EQ(UpdateGauge->GetBoundsRect(), TRect(8, 165, 324, 181));
  EXPECT_EQ(UpdateGauge->GetMaxValue(), 100);
  EXPECT_EQ(UpdateDownloadButton->GetBoundsRect(), TRect(83, 212, 173, 237));
  EXPECT_EQ(UpdateCancelButton->GetBoundsRect(), TRect(183, 212, 273, 237));
  EXPECT_EQ(UpdateDownloadButton->GetCaption(), "T15");
  EXPECT_EQ(UpdateCancelButton->GetCaption(), "T16");
  EXPECT_EQ(UpdateDownloadButton->GetCursor(), crHandPoint);

  SetUpdateStatus("first", "second");
  SetUpdateInfo("Tilvarok", "Setup.bin", "1.5.0.29", "1.5.0.30");
  EXPECT_EQ(UpdateStatus1->GetCaption(), "first");
  EXPECT_EQ(UpdateStatus2->GetCaption(), "second");
  const char* Values[4] = {"Tilvarok", "Setup.bin", "1.5.0.29", "1.5.0.30"};
  for (std::size_t I = 0; I < 4; ++I) EXPECT_EQ(UpdateInfoValues[I]->GetCaption(), Values[I]);
}

TEST_F(TUpdateWindowTest, GaugeShowsTheProgress) {
  ShowUpdateWindow("Update", nullptr);
  RunUntilIdle();
  const TScreenshot Empty = Screenshot(UpdateGauge->GetHandle());
  UpdateGauge->SetMaxValue(5000);
  UpdateGauge->SetValue(2500);
  RunUntilIdle();
  const TScreenshot Half = Screenshot(UpdateGauge->GetHandle());
  ASSERT_EQ(Empty.Pixels.size(), Half.Pixels.size());
  // The left half fills, the right end stays as it was.
  const Integer Y = Half.Height / 2;
  EXPECT_NE(Half.Pixel(Half.Width / 4, Y), Empty.Pixel(Empty.Width / 4, Y));
  EXPECT_EQ(Half.Pixel(Half.Width * 7 / 8, Y), Empty.Pixel(Empty.Width * 7 / 8, Y));
}

TEST_F(TUpdateWindowTest, ButtonsStartTheDownloadAndHide) {
  ShowUpdateWindow("Update", nullptr);
  auto* MainForm = reinterpret_cast<TForm1*>(UpdateWindow);  // any pointer: it is handed on only
  SetUpdateCallback(StartDownload, MainForm);
  Calls = 0;
  UpdateDownloadButton->Click();
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(Called, MainForm);
  UpdateCancelButton->Click();
  RunUntilIdle();
  EXPECT_FALSE(UpdateWindow->GetVisible());
}

TEST_F(TUpdateWindowTest, SecondWindowLeavesTheFirstAlone) {
  ShowUpdateWindow("Update", nullptr);
  TForm* First = UpdateWindow;
  TbsSkinStdLabel* FirstStatus = UpdateStatus1;
  ShowUpdateWindow("Update", nullptr);
  ASSERT_NE(UpdateWindow, First);
  SetUpdateStatus("only the second", "");
  EXPECT_EQ(FirstStatus->GetCaption(), "");
  EXPECT_EQ(UpdateStatus1->GetCaption(), "only the second");
  EXPECT_TRUE(First->GetVisible());
  delete First;
  EXPECT_NE(UpdateWindow, nullptr);  // only the window built last is forgotten when it goes
  delete UpdateWindow;
  EXPECT_EQ(UpdateWindow, nullptr);
  SetUpdateStatus("no window", "");  // does nothing
}

}  // namespace
