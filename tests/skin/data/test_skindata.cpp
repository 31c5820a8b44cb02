// The skin data model: part lookup, skin selection from a skin list, the colour set and the
// skin messages every form hears.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Screen.h"
#include "skin/data/bsSkinData.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

// A form that writes down the skin messages it receives.
class TListeningForm : public TForm {
 public:
  TListeningForm(TComponent* AOwner, std::vector<std::string>* Log) : TForm(AOwner), FLog(Log) {}
  void Dispatch(TMessage& Message) override {
    if (Message.Msg >= WM_BEFORECHANGESKINDATA && Message.Msg <= WM_AEROBLURENABLED &&
        Message.LParam == SkinMessageParam)
      FLog->push_back(GetName() + " " + std::to_string(Message.Msg));
    TForm::Dispatch(Message);
  }

 private:
  std::vector<std::string>* FLog;
};

class TSkinDataTest : public TSkinTest {
 protected:
  TListeningForm* NewListener(const std::string& Name) {
    auto* F = new TListeningForm(nullptr, &Heard);
    F->SetName(Name);
    Forms.emplace_back(F);
    return F;
  }
  // The names given, in the order of the screen's form list.
  static std::vector<std::string> ScreenOrder(const std::vector<std::string>& Names) {
    std::vector<std::string> Result;
    for (Integer I = 0; I < Screen->GetFormCount(); ++I) {
      const std::string& N = Screen->GetForm(I)->GetName();
      for (const std::string& M : Names)
        if (N == M) Result.push_back(N);
    }
    return Result;
  }
  static std::vector<std::string> Tagged(const std::vector<std::string>& Names, const std::string& Msg) {
    std::vector<std::string> R;
    for (const std::string& N : Names) R.push_back(N + " " + Msg);
    return R;
  }
  // Only the messages of the forms this test made (other tests' forms may still exist).
  std::vector<std::string> Heard;
};

TEST(SkinDataModelTest, FindPartIsExactAndTakesTheFirst) {
  TbsSkinData Data(nullptr);
  Data.SkinControls.push_back(std::make_unique<TbsDataSkinCustomControl>("panel"));
  Data.SkinControls.push_back(std::make_unique<TbsDataSkinControl>("button"));
  Data.SkinControls.push_back(std::make_unique<TbsDataSkinControl>("button"));
  Data.SkinObjects.push_back(std::make_unique<TbsDataSkinObject>("caption"));
  EXPECT_EQ(Data.FindControlPart("button"), 1);
  EXPECT_EQ(Data.FindControlPart("Button"), -1);
  EXPECT_EQ(Data.FindControlPart("panel"), 0);
  EXPECT_EQ(Data.FindControlPart(""), -1);
  EXPECT_EQ(Data.FindObjectPart("caption"), 0);
  EXPECT_EQ(Data.FindObjectPart("button"), -1);
  // Clearing forgets every record and gives the colours of the system.
  Data.ClearSkinLists();
  EXPECT_EQ(Data.FindControlPart("panel"), -1);
  EXPECT_EQ(Data.SkinColors->CBtnFace, clBtnFace);
}

TEST(SkinDataModelTest, ColoursAreZeroUntilTheFirstClear) {
  TbsSkinData Data(nullptr);
  const TbsSkinColors& C = *Data.SkinColors;
  EXPECT_EQ((std::vector<TColor>{C.CBtnFace, C.CBtnText, C.CWindow, C.CWindowText, C.CHighlight,
                                 C.CHighlightText, C.CBtnHighlight, C.CBtnShadow}),
            std::vector<TColor>(8, 0));
  EXPECT_TRUE(Data.Empty);
  EXPECT_FALSE(Data.SkinLoading);
  Data.ClearSkin();
  EXPECT_EQ((std::vector<TColor>{C.CBtnFace, C.CBtnText, C.CWindow, C.CWindowText, C.CHighlight,
                                 C.CHighlightText, C.CBtnHighlight, C.CBtnShadow}),
            (std::vector<TColor>{clBtnFace, clBtnText, clWindow, clWindowText, clHighlight, clHighlightText,
                                 clBtnHighlight, clBtnShadow}));
  EXPECT_EQ(Data.LayerFrame->PictureIndex, -1);
  EXPECT_EQ(Data.LayerFrame->AlphaBlendValue, 255);
  EXPECT_EQ(Data.HintWindow->FontHeight, 12);
}

TEST(SkinDataModelTest, SkinIndexWithoutAndWithAList) {
  TbsSkinData Data(nullptr);
  EXPECT_EQ(Data.GetSkinIndex(), 0);
  // Without a list any value is stored.
  Data.SetSkinIndex(5);
  EXPECT_EQ(Data.GetSkinIndex(), 5);
  Data.SetSkinIndex(-3);
  EXPECT_EQ(Data.GetSkinIndex(), -3);

  TbsCompressedSkinList List(nullptr);
  Data.SetSkinList(&List);
  for (Integer V : {0, 1, -1, 7}) {
    Data.SetSkinIndex(V);
    EXPECT_EQ(Data.GetSkinIndex(), -3) << V;
  }
  // Stored skins of the list that hold nothing select nothing either.
  List.GetSkins()->Add();
  List.GetSkins()->Add();
  EXPECT_EQ(List.GetSkins()->GetItem(0)->GetName(), "bsSkin0");
  EXPECT_EQ(List.GetSkins()->GetItem(1)->GetDisplayName(), "bsSkin1");
  Data.SetSkinIndex(1);
  EXPECT_EQ(Data.GetSkinIndex(), 1);
  EXPECT_TRUE(Data.Empty);
  Data.SetSkinIndex(2);
  EXPECT_EQ(Data.GetSkinIndex(), 1);
}

TEST(SkinDataModelTest, RemovedComponentsAreForgotten) {
  auto Data = std::make_unique<TbsSkinData>(nullptr);
  auto List = std::make_unique<TbsCompressedSkinList>(nullptr);
  auto Stored = std::make_unique<TbsCompressedStoredSkin>(nullptr);
  Data->SetSkinList(List.get());
  Data->SetCompressedStoredSkin(Stored.get());
  List.reset();
  Stored.reset();
  EXPECT_EQ(Data->GetSkinList(), nullptr);
  EXPECT_EQ(Data->GetCompressedStoredSkin(), nullptr);
}

TEST_F(TSkinDataTest, SwitchesBroadcastOnlyWhenTheyChange) {
  NewListener("A");
  NewListener("B");
  TbsSkinData Data(nullptr);
  Data.SetSkinnableForm(true);
  Data.SetShowLayeredBorders(true);
  Data.SetAeroBlurEnabled(true);
  EXPECT_TRUE(Heard.empty());
  Data.SetSkinnableForm(false);
  Data.SetAeroBlurEnabled(false);
  const std::vector<std::string> Order = ScreenOrder({"A", "B"});
  std::vector<std::string> Expected = Tagged(Order, "1294");
  for (const std::string& L : Tagged(Order, "1428")) Expected.push_back(L);
  EXPECT_EQ(Heard, Expected);
}

TEST_F(TSkinDataTest, BroadcastOrder) {
  TListeningForm* A = NewListener("A");
  NewListener("B");
  NewListener("C");
  const std::vector<std::string> Order = ScreenOrder({"A", "B", "C"});
  ASSERT_EQ(Order.size(), 3u);

  auto* Data = new TbsSkinData(A);
  // The owner form first when there is no layered border, then the others without it.
  Data->SetShowLayeredBorders(false);
  Heard.clear();
  Data->BroadcastSkinMessage(WM_CHANGESKINDATA);
  std::vector<std::string> Expected{"A 1226"};
  for (const std::string& N : Order)
    if (N != "A") Expected.push_back(N + " 1226");
  EXPECT_EQ(Heard, Expected);

  // With layered borders in the skin the forms hear it in reverse order, the owner among them.
  Data->SetShowLayeredBorders(true);
  Data->LayerFrame->PictureIndex = 0;
  Heard.clear();
  Data->BroadcastSkinMessage(WM_AFTERCHANGESKINDATA);
  Expected.clear();
  for (auto I = Order.rbegin(); I != Order.rend(); ++I) Expected.push_back(*I + " 1227");
  EXPECT_EQ(Heard, Expected);
}

TEST_F(TSkinDataTest, AnEmptyStoredSkinLoadsNothing) {
  NewListener("A");
  TbsSkinData Data(nullptr);
  TbsCompressedStoredSkin Stored(nullptr);
  Data.SetCompressedStoredSkin(&Stored);
  Data.LoadStoredSkin(&Stored);
  EXPECT_TRUE(Heard.empty());
  EXPECT_TRUE(Data.Empty);
}

}  // namespace
