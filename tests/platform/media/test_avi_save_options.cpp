// The compression dialog: the installed compressors listed, the choice confirmed or cancelled.
#include <gtest/gtest.h>

#include "platform/classes/Forms.h"
#include "platform/classes/Screen.h"
#include "platform/classes/StdCtrls.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/media/AviFile.h"
#include "platform/media/VideoCompressors.h"
#include "platform/user/WindowMessages.h"

namespace {

class TAviSaveOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { Headless(); }
  void TearDown() override {
    SetModalHook(nullptr);
    ICSetInstalledCompressorsForTesting(std::nullopt);
  }
  // Shows the dialog; the hook picks the item Choice (or none) and ends it with Result.
  BOOL Run(AVICOMPRESSOPTIONS& Options, const std::string& Choice, TModalResult Result,
           std::vector<std::string>* Listed = nullptr) {
    SetModalHook([&] {
      TForm* Form = Screen->GetActiveForm();
      if (!Form) return;
      auto* Box = dynamic_cast<TComboBox*>(Form->FindComponent("CompressorBox"));
      if (Listed)
        for (Integer I = 0; I < Box->GetItems()->GetCount(); ++I)
          Listed->push_back(Box->GetItems()->GetStrings(I));
      if (!Choice.empty()) Box->SetItemIndex(Box->GetItems()->IndexOf(Choice));
      Form->SetModalResult(Result);
    });
    AVICOMPRESSOPTIONS* List[1] = {&Options};
    return AVISaveOptions(nullptr, 0, 1, nullptr, List);
  }
};

}  // namespace

TEST_F(TAviSaveOptionsTest, TheChosenCompressorFillsTheOptions) {
  ICSetInstalledCompressorsForTesting(std::vector<FOURCC>{comptypeDIB, mmioFOURCC('M', 'J', 'P', 'G')});
  AVICOMPRESSOPTIONS Options;
  std::vector<std::string> Listed;
  ASSERT_TRUE(Run(Options, "Motion JPEG", mrOk, &Listed));
  EXPECT_EQ(Listed, (std::vector<std::string>{"Full Frames (Uncompressed)", "Motion JPEG"}));
  EXPECT_EQ(Options.fccType, streamtypeVIDEO);
  EXPECT_EQ(Options.fccHandler, mmioFOURCC('M', 'J', 'P', 'G'));
  EXPECT_EQ(Options.dwQuality, 0xFFFFFFFFu);
  // The compressor in the options is the one shown first.
  ASSERT_TRUE(Run(Options, "", mrOk));
  EXPECT_EQ(Options.fccHandler, mmioFOURCC('M', 'J', 'P', 'G'));
}

TEST_F(TAviSaveOptionsTest, CancelledOrWithoutCompressorsNothingIsChosen) {
  AVICOMPRESSOPTIONS Options;
  EXPECT_FALSE(Run(Options, "Motion JPEG", mrCancel));
  EXPECT_EQ(Options.fccHandler, 0u);
  ICSetInstalledCompressorsForTesting(std::vector<FOURCC>{});
  EXPECT_FALSE(Run(Options, "", mrOk));
  EXPECT_EQ(Options.fccHandler, 0u);
}
