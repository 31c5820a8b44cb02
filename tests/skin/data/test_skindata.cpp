// The skin data model: part lookup, skin selection from a skin list, the colour set and the
// skin messages every form hears.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Screen.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataResStr.h"
#include "tests/platform/system/TempFolder.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/data/SkinPayload.h"

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

TEST_F(TSkinDataTest, ResourceStringsAreAnnouncedEvenWhenUnchanged) {
  NewListener("A");
  TbsSkinData Data(nullptr);
  auto Res = std::make_unique<TbsResourceStrData>(nullptr);
  Data.SetResourceStrData(Res.get());
  Data.SetResourceStrData(Res.get());
  EXPECT_EQ(Heard, (std::vector<std::string>{"A 1274", "A 1274"}));
  Res.reset();
  EXPECT_EQ(Data.GetResourceStrData(), nullptr);
}

// ---- Loading stored skins -------------------------------------------------------------------

using namespace SkinPayload;

class TSkinLoadTest : public TSkinDataTest {
 protected:
  void SetUp() override {
    TSkinDataTest::SetUp();
    NewListener("A");
  }
  // Loads the payload and gives the skin messages heard, with "raised" when the load raised.
  std::vector<std::string> Load(const std::string& PayloadBytes) {
    return LoadCompressed(Compressed(PayloadBytes));
  }
  std::vector<std::string> LoadCompressed(const std::string& Bytes) {
    Fill(Stored, Bytes);
    Heard.clear();
    try {
      Data.LoadStoredSkin(&Stored);
    } catch (const Exception&) {
      Heard.push_back("raised");
    }
    return Heard;
  }
  TbsSkinData Data{nullptr};
  TbsCompressedStoredSkin Stored{nullptr};
};

const std::vector<std::string> LoadedMessages{"A 1225", "A 1226", "A 1227"};
const std::vector<std::string> FailedMessages{"A 1225", "A 1226", "A 1227", "raised"};

TEST_F(TSkinLoadTest, TheMinimalSkinLoads) {
  bool SeenLoading = false;
  struct THandler {
    TbsSkinData* Data;
    bool* Seen;
    void OnLoad(TObject*) { *Seen = Data->SkinLoading && !Data->Empty; }
  } Handler{&Data, &SeenLoading};
  Data.OnLoadData = TNotifyEvent(&Handler, &THandler::OnLoad);
  const std::string Minimal =
      std::string("\x03\x00\x00\x00\x01\x01\x01\x00\x00\x00\x00", 11) + MinimalSkinText();
  EXPECT_EQ(Load(Minimal), LoadedMessages);
  EXPECT_TRUE(SeenLoading);
  EXPECT_FALSE(Data.Empty);
  EXPECT_FALSE(Data.SkinLoading);
  EXPECT_EQ(Data.SkinName, "minimal");
  EXPECT_TRUE(Data.SkinControls.empty());
  EXPECT_TRUE(Data.Picture->Empty());
  EXPECT_EQ(Data.SkinColors->CBtnFace, clBtnFace);
}

TEST_F(TSkinLoadTest, VersionsUpToThreeReadAlikeAndTwoSkipsItsExtraPictures) {
  const std::string Red = BmpImage(2, 1, clRed);
  for (Integer Version : {0, 1, 3}) {
    ASSERT_EQ(Load(Payload(Version, {Red}, MinimalSkinText())), LoadedMessages) << Version;
    ASSERT_EQ(Data.ActivePictures.size(), 1u);
    EXPECT_EQ(Data.ActivePictures[0]->GetCanvas()->GetPixels(1, 0), clRed);
  }
  std::string Two;
  Append(Two, 2);
  Two += "\x01\x01\x01";
  Two += '\0' + BmpImage(3, 3, clBlue) + '\0' + BmpImage(1, 1, clLime);
  Append(Two, 1);
  Two += Red + MinimalSkinText();
  EXPECT_EQ(Load(Two), LoadedMessages);
  ASSERT_EQ(Data.ActivePictures.size(), 1u);
  EXPECT_EQ(Data.ActivePictures[0]->GetWidth(), 2);
  EXPECT_EQ(Data.ActivePictures[0]->GetCanvas()->GetPixels(0, 0), clRed);
}

TEST_F(TSkinLoadTest, EveryFailureEndsTheChangeWithNoSkin) {
  const std::string Good = Payload(3, {BmpImage(2, 2, clRed)}, MinimalSkinText());
  std::string BadBmp = Payload(3, {}, "");
  BadBmp[BadBmp.size() - 4] = 1;  // one list picture, which is no BMP
  BadBmp += "XY not a bitmap at all, but long enough to be read as one" + MinimalSkinText();
  struct TCase {
    const char* Name;
    std::string Compressed;
  };
  const std::vector<TCase> Cases{
      {"version 4", Compressed(Payload(4, {}, MinimalSkinText()))},
      {"zlib data cut short", Compressed(Good).substr(0, Compressed(Good).size() / 2)},
      {"not zlib data", "not zlib data"},
      {"bad BMP", Compressed(BadBmp)},
      {"cut inside the picture count", Compressed(Good.substr(0, 9))},
      {"cut before a list picture",
       Compressed(Payload(3, {}, "").substr(0, 7) + std::string("\x01\x00\x00\x00", 4))},
      {"cut inside a list picture", Compressed(Good.substr(0, 30))},
      {"rectangle without digits",
       Compressed(Payload(3, {}, MinimalSkinText("[POPUPWINDOW]\nitemsrect=\n")))},
      {"point with one number",
       Compressed(Payload(3, {}, MinimalSkinText("[HINTWINDOW]\nlefttoppoint=7\n")))},
  };
  for (const TCase& C : Cases) {
    ASSERT_EQ(Load(Good), LoadedMessages);
    ASSERT_FALSE(Data.ActivePictures.empty());
    EXPECT_EQ(LoadCompressed(C.Compressed), FailedMessages) << C.Name;
    EXPECT_TRUE(Data.Empty) << C.Name;
    EXPECT_FALSE(Data.SkinLoading) << C.Name;
    EXPECT_TRUE(Data.ActivePictures.empty()) << C.Name;
  }
}

TEST_F(TSkinLoadTest, PartListsTakeKnownTypeWordsOnly) {
  const std::string Text =
      "[VERSION]\n[PICTURES]\n[FORMINFO]\n"
      "[SKINOBJECTS]\ncount=3\n0=c:caption\n1=b:button\n2=t:mainmenubarbutton\n"
      "[SKINCONTROLS]\ncount=7\n0=x:button\n1=y:Button\n2=z:button:extra\n3=nocolon\n5=m:memo\n6=:panel\n"
      "[x]\nskinrect=1,2,3,4\n[m]\nfontheight=9\n[c]\nfontheight=11\n";
  ASSERT_EQ(Load(Payload(3, {}, Text)), LoadedMessages);
  ASSERT_EQ(Data.SkinControls.size(), 3u);
  EXPECT_EQ(Data.SkinControls[0]->IDName, "x");
  EXPECT_NE(dynamic_cast<TbsDataSkinButtonControl*>(Data.SkinControls[0].get()), nullptr);
  EXPECT_EQ(Data.SkinControls[0]->SkinRect, (TRect{1, 2, 3, 4}));
  auto* Memo = dynamic_cast<TbsDataSkinMemoControl*>(Data.SkinControls[1].get());
  ASSERT_NE(Memo, nullptr);
  EXPECT_EQ(Memo->FontHeight, 9);
  EXPECT_EQ(Data.SkinControls[2]->IDName, "");
  EXPECT_NE(dynamic_cast<TbsDataSkinPanelControl*>(Data.SkinControls[2].get()), nullptr);
  ASSERT_EQ(Data.SkinObjects.size(), 3u);
  EXPECT_EQ(dynamic_cast<TbsDataSkinCaption&>(*Data.SkinObjects[0]).FontHeight, 11);
  EXPECT_EQ(typeid(*Data.SkinObjects[1]), typeid(TbsDataSkinButton));
  EXPECT_EQ(typeid(*Data.SkinObjects[2]), typeid(TbsDataSkinMainMenuBarButton));
  EXPECT_EQ(Data.FindObjectPart("t"), 2);
  EXPECT_EQ(Data.FindControlPart("m"), 1);

  std::string Name = "?", Type = "?";
  TbsSkinData::SplitNameType("a:b:c", Name, Type);
  EXPECT_EQ(Name + "|" + Type, "a|b:c");
  TbsSkinData::SplitNameType("abc", Name, Type);
  EXPECT_EQ(Name + "|" + Type, "|");
}

TEST_F(TSkinLoadTest, EveryTypeWordMakesItsClass) {
  const std::vector<std::pair<std::string, const std::type_info*>> Controls{
      {"panel", &typeid(TbsDataSkinPanelControl)},
      {"expanel", &typeid(TbsDataSkinExPanelControl)},
      {"menubutton", &typeid(TbsDataSkinMenuButtonControl)},
      {"button", &typeid(TbsDataSkinButtonControl)},
      {"checkradio", &typeid(TbsDataSkinCheckRadioControl)},
      {"gauge", &typeid(TbsDataSkinGaugeControl)},
      {"splitter", &typeid(TbsDataSkinSplitterControl)},
      {"trackbar", &typeid(TbsDataSkinTrackBarControl)},
      {"label", &typeid(TbsDataSkinLabelControl)},
      {"stdlabel", &typeid(TbsDataSkinStdLabelControl)},
      {"updown", &typeid(TbsDataSkinUpDownControl)},
      {"grid", &typeid(TbsDataSkinGridControl)},
      {"tab", &typeid(TbsDataSkinTabControl)},
      {"mainmenubar", &typeid(TbsDataSkinMainMenuBar)},
      {"controlbar", &typeid(TbsDataSkinControlBar)},
      {"appmenu", &typeid(TbsDataSkinAppMenu)},
      {"memo", &typeid(TbsDataSkinMemoControl)},
      {"edit", &typeid(TbsDataSkinEditControl)},
      {"checklistbox", &typeid(TbsDataSkinCheckListBox)},
      {"listbox", &typeid(TbsDataSkinListBox)},
      {"combobox", &typeid(TbsDataSkinComboBox)},
      {"scrollbar", &typeid(TbsDataSkinScrollBarControl)},
      {"spinedit", &typeid(TbsDataSkinSpinEditControl)},
      {"scrollbox", &typeid(TbsDataSkinScrollBoxControl)},
      {"treeview", &typeid(TbsDataSkinTreeView)},
      {"bevel", &typeid(TbsDataSkinBevel)},
      {"slider", &typeid(TbsDataSkinSlider)},
      {"listview", &typeid(TbsDataSkinListView)},
      {"richedit", &typeid(TbsDataSkinRichEdit)},
  };
  const std::vector<std::pair<std::string, const std::type_info*>> Objects{
      {"menuitem", &typeid(TbsDataSkinMenuItem)},
      {"mainmenubaritem", &typeid(TbsDataSkinMainMenuBarItem)},
      {"stdbutton", &typeid(TbsDataSkinStdButton)},
      {"mainmenubarbutton", &typeid(TbsDataSkinMainMenuBarButton)},
      {"button", &typeid(TbsDataSkinButton)},
      {"caption", &typeid(TbsDataSkinCaption)},
      {"animate", &typeid(TbsDataSkinAnimate)},
      {"userobject", &typeid(TbsDataUserObject)},
  };
  const auto List = [](const std::string& Section, const auto& Rows) {
    std::string Text = "[" + Section + "]\ncount=" + std::to_string(Rows.size()) + "\n";
    for (std::size_t I = 0; I < Rows.size(); ++I)
      Text += std::to_string(I) + "=p" + std::to_string(I) + ":" + Rows[I].first + "\n";
    return Text;
  };
  ASSERT_EQ(Load(Payload(3, {},
                         "[VERSION]\n[PICTURES]\n[FORMINFO]\n" + List("SKINOBJECTS", Objects) +
                             List("SKINCONTROLS", Controls))),
            LoadedMessages);
  ASSERT_EQ(Data.SkinControls.size(), Controls.size());
  for (std::size_t I = 0; I < Controls.size(); ++I)
    EXPECT_EQ(typeid(*Data.SkinControls[I]), *Controls[I].second) << Controls[I].first;
  ASSERT_EQ(Data.SkinObjects.size(), Objects.size());
  for (std::size_t I = 0; I < Objects.size(); ++I)
    EXPECT_EQ(typeid(*Data.SkinObjects[I]), *Objects[I].second) << Objects[I].first;
}

TEST_F(TSkinLoadTest, FormInfoCorrections) {
  const std::string Frame =
      "lefttoppoint=10,20\nrighttoppoint=90,20\nleftbottompoint=10,80\nrightbottompoint=90,80\n"
      "clientrect=15,25,85,75\nmaskrectarea=5,30,50,70\nhittestlefttoppoint=0,7\nhittestrighttoppoint=3,4\n"
      "inactiveeffect=ienoise\nbgpictureindex=0\n";
  const auto Text = [&](const std::string& Mask) {
    return "[VERSION]\n[PICTURES]\nmask=" + Mask + "\n[FORMINFO]\n" + Frame +
           "[SKINOBJECTS]\n[SKINCONTROLS]\n";
  };
  ASSERT_EQ(Load(Payload(3, {}, Text(""))), LoadedMessages);
  EXPECT_EQ(Data.MaskRectArea, (TRect{5, 30, 50, 70}));
  EXPECT_EQ(Data.HitTestLeftTopPoint, (TPoint{0, 7}));
  // The corners move into the client rectangle.
  EXPECT_EQ((std::vector<TPoint>{Data.LeftTopPoint, Data.RightTopPoint, Data.LeftBottomPoint,
                                 Data.RightBottomPoint}),
            (std::vector<TPoint>{{15, 25}, {85, 25}, {15, 75}, {85, 75}}));
  EXPECT_EQ(Data.InActiveEffect, ieNoise);
  EXPECT_EQ(Data.BGPictureIndex, 0);
  EXPECT_EQ(Data.MDIBGPictureIndex, -1);

  ASSERT_EQ(Load(Payload(3, {}, Text("mask.bmp"))), LoadedMessages);
  EXPECT_EQ(Data.MaskRectArea, (TRect{5, 25, 85, 75}));
  // Hit-test points with a zero take the corner as read, before the corners were moved.
  EXPECT_EQ(Data.HitTestLeftTopPoint, (TPoint{10, 20}));
  EXPECT_EQ(Data.HitTestRightTopPoint, (TPoint{3, 4}));
  EXPECT_EQ(Data.HitTestRightBottomPoint, (TPoint{90, 80}));

  ASSERT_EQ(Load(Payload(3, {}, MinimalSkinText("[FORMINFO]\nclientrect=5,5,9,9\nmaskrectarea=1,1,1,9\n"))),
            LoadedMessages);
  EXPECT_EQ(Data.LeftTopPoint, TPoint{});
  EXPECT_EQ(Data.RightBottomPoint, TPoint{});
}

// ---- The envelope of stored skins ---------------------------------------------------------------

std::string Envelope(Integer Version, Integer Length, const std::string& Bytes) {
  std::string E;
  Append(E, Version);
  Append(E, Length);
  return E + Bytes;
}

TEST(StoredSkinEnvelopeTest, ReadAndWrite) {
  const std::string Packed = Compressed(Payload(3, {}, MinimalSkinText()));
  const auto Read = [](const std::string& Bytes) {
    TbsCompressedStoredSkin Stored(nullptr);
    Fill(Stored, "old");
    TStringStream Source(Bytes);
    Source.SetPosition(3);  // the reader starts at the beginning whatever the position
    try {
      Stored.ReadCompressedSkinStream(&Source);
    } catch (const EReadError&) {
      return std::string("raised, ") + (Stored.IsEmpty() ? "empty" : "kept");
    }
    TStringStream Out;
    Stored.CompressedStream->SaveToStream(&Out);
    return Out.GetDataString();
  };
  const Integer Size = static_cast<Integer>(Packed.size());
  EXPECT_EQ(Read(Envelope(3, Size, Packed)), Packed);
  EXPECT_EQ(Read(Envelope(2, Size, Packed)), Packed);
  EXPECT_EQ(Read(Envelope(3, Size, Packed + "more")), Packed);
  EXPECT_EQ(Read(Envelope(4, Size, Packed)), "");
  EXPECT_EQ(Read(Envelope(3, 0, Packed)), "");
  EXPECT_EQ(Read(Envelope(3, Size + 1, Packed)), "raised, empty");
  EXPECT_EQ(Read(Envelope(3, -1, Packed)), "raised, empty");
  EXPECT_EQ(Read(std::string("\x03\x00", 2)), "raised, empty");

  TbsCompressedStoredSkin Stored(nullptr);
  Fill(Stored, Packed);
  TStringStream Out;
  Stored.WriteCompressedSkinStream(&Out);
  EXPECT_EQ(Out.GetDataString(), Envelope(3, Size, Packed));
  TMemoryStream Inflated;
  Stored.DecompressToStream(&Inflated);
  EXPECT_EQ(std::string(static_cast<const char*>(Inflated.GetMemory()),
                        static_cast<std::size_t>(Inflated.GetSize())),
            Payload(3, {}, MinimalSkinText()));
}

// ---- Packing a skin text with its pictures ----------------------------------------------------

void WriteFile(const std::string& Name, const std::string& Bytes) {
  TFileStream F(Name, fmCreate);
  F.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
}

std::string Bytes(TMemoryStream& S) {
  return std::string(static_cast<const char*>(S.GetMemory()), static_cast<std::size_t>(S.GetSize()));
}

TEST(StoredSkinBuildTest, PacksTheTextAndThePicturesItNames) {
  TTempFolder Folder;
  const std::string Text =
      "[VERSION]\nskinname=packed\n[PICTURES]\nmask=m.bmp\nactivepicturescount=2\n0=a.bmp\n1=b.bmp\n"
      "[FORMINFO]\n[SKINOBJECTS]\n[SKINCONTROLS]\ncount=0\n";
  WriteFile(Folder / "skin.ini", Text);
  WriteFile(Folder / "m.bmp", BmpImage(1, 1, clWhite));
  WriteFile(Folder / "a.bmp", BmpImage(2, 1, clRed));
  WriteFile(Folder / "b.bmp", BmpImage(1, 2, clBlue));
  TbsCompressedStoredSkin Stored(nullptr);
  Stored.BuildStoredSkinFromIni(Folder / "skin.ini");
  TMemoryStream Payload;
  Stored.DecompressToStream(&Payload);
  std::string Expected;
  Append(Expected, 3);
  Expected += "\x01\x01";
  Expected += '\0' + BmpImage(1, 1, clWhite);
  Append(Expected, 2);
  Expected += BmpImage(2, 1, clRed) + BmpImage(1, 2, clBlue);
  Expected +=
      "[VERSION]\r\nskinname=packed\r\n[PICTURES]\r\nmask=m.bmp\r\nactivepicturescount=2\r\n0=a.bmp\r\n1=b."
      "bmp\r\n"
      "[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\ncount=0\r\n";
  EXPECT_EQ(Bytes(Payload), Expected);
  TStringStream Out;
  Stored.CompressedStream->SaveToStream(&Out);
  EXPECT_EQ(Out.GetDataString().substr(0, 2), "\x78\xDA");

  TbsSkinData Data(nullptr);
  Data.LoadStoredSkin(&Stored);
  EXPECT_EQ(Data.SkinName, "packed");
  ASSERT_EQ(Data.ActivePictures.size(), 2u);
  EXPECT_EQ(Data.ActivePictures[1]->GetCanvas()->GetPixels(0, 1), clBlue);
  EXPECT_EQ(Data.Mask->GetWidth(), 1);
  EXPECT_EQ(Data.ActivePictureNames->GetStrings(1), "b.bmp");

  // A text without its five sections, or a picture that cannot be read, changes nothing.
  const std::string Before = Out.GetDataString();
  WriteFile(Folder / "partial.ini", "[VERSION]\n[PICTURES]\n");
  Stored.BuildStoredSkinFromIni(Folder / "partial.ini");
  WriteFile(Folder / "missing.ini", Text + "[PICTURES]\npicture=nowhere.bmp\n");
  EXPECT_THROW(Stored.BuildStoredSkinFromIni(Folder / "missing.ini"), Exception);
  TStringStream After;
  Stored.CompressedStream->SaveToStream(&After);
  EXPECT_EQ(After.GetDataString(), Before);
}

}  // namespace
