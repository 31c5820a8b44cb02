// The page "Video scripts" on the running window: its controls and menus, the codec list and
// its default, a script read through the menu, the movie's size and source frame, and movies
// made from a script (frame count, 40 ms per frame, frames read back by FFmpeg equal to the
// frames built), saved under the extension rule and opened in the player.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "VideoTestSupport.h"
#include "imaging/io/ieds.h"
#include "imaging/io/ieiolibrary.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Menus.h"
#include "platform/media/VideoCompressors.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Math.h"
#include "platform/system/StringList.h"
#include "skin/boxctrls/bsSkinTabs.h"

namespace {
// A smooth picture with an edge, as a photograph has.
std::unique_ptr<TBitmap> Photo(Integer W, Integer H) {
  return MakeBitmap(W, H, [W, H](Integer X, Integer Y) {
    return Rgb(40 + 180 * X / W, 200 - 150 * Y / H, Y > H / 2 + X / 4 ? 60 : 170);
  });
}

std::string ReadFileBytes(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The output of Command.
std::string CommandOutput(const std::string& Command) {
  std::string Out;
  if (FILE* P = popen(Command.c_str(), "r")) {
    char Buffer[256];
    while (fgets(Buffer, sizeof Buffer, P) != nullptr) Out += Buffer;
    pclose(P);
  }
  return Out;
}

class TVideoPageTest : public TVideoTest {
 protected:
  void SetUp() override {
    TVideoTest::SetUp();
    ForceDirectories(ScriptsDir);
  }
  TComponent* Find(const char* Name) const { return Form->FindComponent(Name); }
  void Click(const char* Item) { static_cast<TMenuItem*>(Find(Item))->Click(); }
  // Writes the script and reads it through the menu; the messages shown.
  std::vector<std::string> LoadScript(const std::string& Text) {
    const std::string Name = ScriptsDir + "/script.txt";
    std::ofstream(Name, std::ios::binary) << Text;
    TDialogAnswers Answers;
    Answers.FileName = Name;
    Click("Script1");
    EXPECT_EQ(Answers.FileDialogs, 1);
    return Answers.Messages;
  }
  void ChooseCodec(const std::string& FourCC) {
    for (std::size_t I = 0; I < FourCCList.size(); ++I)
      if (FourCCList[I] == FourCC) Form->CodecBox->SetItemIndex(static_cast<Integer>(I));
    ASSERT_EQ(FourCCList.at(Form->CodecBox->GetItemIndex()), FourCC);
  }
  void ChooseSize(Integer Item) {
    Form->VideoSizeBox->SetItemIndex(Item);
    Form->ChangeVideoSize(Form->VideoSizeBox);
  }
};

TEST_F(TVideoPageTest, TheVideoPageHasItsControlsAndTheMenusTheirItems) {
  for (const char* Name : {"GroupBox10", "LoadScriptBtn", "ReloadBtn", "Label37", "FXList", "GroupBox11",
                           "VideoSizeBox", "CodecBox", "Panel7", "Image5", "TrialRun", "ShowPreview",
                           "CBOpenPlayer", "FrameNr", "AutomP1", "AutomP6", "CreateVideoBtn"}) {
    auto* C = dynamic_cast<TControl*>(Find(Name));
    ASSERT_NE(C, nullptr) << Name;
    bool OnPage = false;
    for (TControl* P = C; P != nullptr; P = P->GetParent()) OnPage = OnPage || P == Form->TabSheet3;
    EXPECT_TRUE(OnPage) << Name;
    EXPECT_GT(C->GetWidth(), 0) << Name;
  }
  EXPECT_EQ(Form->TabSheet3->GetCaption(), "Video scripts");
  EXPECT_EQ(Form->LoadScriptBtn->GetCaption(), "Load script file");
  EXPECT_EQ(Form->ReloadBtn->GetCaption(), "Reload script");
  EXPECT_EQ(Form->CreateVideoBtn->GetCaption(), "Create video");
  EXPECT_EQ(Form->TrialRun->GetCaption(), "Trial run (wire-frame only)");
  EXPECT_EQ(Form->CBOpenPlayer->GetCaption(), " Open player at completion");
  EXPECT_EQ(Form->Label37->GetCaption(), "Frame     P1        P2        P3         P4        P5        P6");
  // "Same as source", then the 20 sizes; the third item is in use at start.
  TStrings* Sizes = Form->VideoSizeBox->GetItems();
  ASSERT_EQ(Sizes->GetCount(), 21);
  EXPECT_EQ(Sizes->GetStrings(0), "Same as source");
  EXPECT_EQ(Sizes->GetStrings(1), "240 x 180 (4:3)");
  EXPECT_EQ(Sizes->GetStrings(20), "1920 x 1080 (16:9)");
  EXPECT_EQ(Form->VideoSizeBox->GetItemIndex(), 2);
  EXPECT_EQ(static_cast<TMenuItem*>(Find("Script1"))->GetParent(), Form->Load1);
  EXPECT_EQ(Form->Script1->GetCaption(), "Script");
  EXPECT_EQ(Form->Savevideo1->GetCaption(), "Save video");
  EXPECT_EQ(Form->Windows1->GetCaption(), "Windows");
  EXPECT_EQ(Form->Showvideoplayer1->GetParent(), Form->Windows1);
  EXPECT_EQ(Form->Showvideoplayer1->GetCaption(), "Show video player");
}

TEST_F(TVideoPageTest, CodecListFollowsTheInstalledCodecsAndPrefersMicrosoftVideo1) {
  const std::unique_ptr<TStringList> Names = GetVideoCodecNames();
  TStrings* Items = Form->CodecBox->GetItems();
  ASSERT_EQ(Items->GetCount(), Names->GetCount());
  ASSERT_EQ(static_cast<Integer>(FourCCList.size()), Names->GetCount());
  Integer Msvc = -1;
  for (Integer I = 0; I < Items->GetCount(); ++I)
    if (Items->GetStrings(I) == "Microsoft Video 1" && Msvc < 0) Msvc = I;
  ASSERT_GT(Msvc, 0);
  EXPECT_NE(std::find(FourCCList.begin(), FourCCList.end(), "MJPG"), FourCCList.end());
  EXPECT_NE(std::find(FourCCList.begin(), FourCCList.end(), "DIB "), FourCCList.end());
  // No stored codec: Microsoft Video 1; a stored one is kept; one past the list gives the first.
  EXPECT_EQ(Form->CodecBox->GetItemIndex(), Msvc);
  CodecIndex = 1;
  Player->InitiateCodecs();
  EXPECT_EQ(Form->CodecBox->GetItemIndex(), 1);
  CodecIndex = 250;
  Player->InitiateCodecs();
  EXPECT_EQ(Form->CodecBox->GetItemIndex(), 0);
  // Choosing a codec stores it.
  Form->CodecBox->SetItemIndex(2);
  Form->ChangeVideoSize(Form->CodecBox);
  EXPECT_EQ(SettingsFile->ReadInteger("Settings", "Codec", -1), 2);
  CodecIndex = 0;
}

TEST_F(TVideoPageTest, WithoutCodecsTheListIsEmptyAndNoMovieIsMade) {
  ICSetInstalledCompressorsForTesting(std::vector<FOURCC>{});
  Player->InitiateCodecs();
  ICSetInstalledCompressorsForTesting(std::nullopt);
  EXPECT_EQ(Form->CodecBox->GetItems()->GetCount(), 0);
  EXPECT_EQ(Form->CodecBox->GetItemIndex(), -1);
  LoadScript("p=1\nn=2\nk=0,0,0,0,0,0,0\nk=3,50,0,0,0,0,0\n");
  TDialogAnswers Answers;
  Form->StartVideoCreation(Form->CreateVideoBtn);
  EXPECT_EQ(Answers.Messages, std::vector<std::string>{"No video codec is available to make the movie."});
  EXPECT_FALSE(FileExists(TempMovieName));
  EXPECT_EQ(VideoMode, 0);
}

TEST_F(TVideoPageTest, AScriptReadThroughTheMenuFillsTheTableAndShowsItsPattern) {
  EXPECT_TRUE(LoadScript("Pattern=3\r\nKey frames=2\r\nA=0,10,20,0,0,0,0\r\nB=10,20,20,0,0,0,0\r\n").empty());
  EXPECT_EQ(ScriptPattern, 2);
  EXPECT_EQ(Form->PatternBox->GetItemIndex(), 2);
  // Shown only: the pattern in use changes when the movie is made.
  EXPECT_EQ(PatternType, ptPinch);
  EXPECT_EQ(Form->Label2->GetCaption(), "Type pattern: Twirling spiral");
  auto* Rows = Form->FXList->GetItems();
  ASSERT_EQ(Rows->GetCount(), 2);
  EXPECT_EQ(Rows->GetItem(1)->GetCaption(), "10");
  EXPECT_EQ(Rows->GetItem(1)->GetSubItems()->GetCommaText(), "20,20,0,0,0,0");
  EXPECT_EQ(FrameTable.LastFrame, 10);
  EXPECT_EQ(FrameTable.Values[0][5], 15);

  // A letter in a key frame: that row and the later ones show no parameters; one warning.
  // A first key frame after frame 0 is a second warning; reading goes on.
  const std::vector<std::string> Messages =
      LoadScript("P=2\nN=3\nA=2,1,1,1,1,1,1\nB=4,x,1,1,1,1,1\nC=6,1,1,1,1,1,1\n");
  EXPECT_EQ(Messages, (std::vector<std::string>{
                          "Warning: script data not valid. Please check data.",
                          "Warning: FX data not valid. The first dataset must start with Frame 0."}));
  ASSERT_EQ(Rows->GetCount(), 3);
  EXPECT_EQ(Rows->GetItem(0)->GetSubItems()->GetCount(), 6);
  EXPECT_EQ(Rows->GetItem(1)->GetSubItems()->GetCount(), 0);
  EXPECT_EQ(Rows->GetItem(2)->GetSubItems()->GetCount(), 0);
  EXPECT_EQ(Rows->GetItem(2)->GetCaption(), "6");

  // "Reload script" reads the file chosen last, without a dialog.
  std::ofstream(ScriptsDir + "/script.txt", std::ios::binary) << "P=5\nN=1\nA=0,1,2,3,4,5,6\n";
  TDialogAnswers Answers;
  Form->ReloadBtn->Click();
  EXPECT_EQ(Answers.FileDialogs, 0);
  EXPECT_EQ(ScriptPattern, 4);
  EXPECT_EQ(Rows->GetCount(), 1);
}

TEST_F(TVideoPageTest, TheSourceFrameKeepsThePicturesMiddleAtTheChosenSize) {
  // A 400 x 400 picture: a red band over exactly its middle 225 rows, blue above and below.
  auto Picture = MakeBitmap(
      400, 400, [](Integer, Integer Y) { return Y >= 87 && Y < 312 ? Rgb(255, 0, 0) : Rgb(0, 0, 255); });
  LoadSource(Picture.get());
  ChooseSize(20);  // 1920 x 1080 (16:9)
  EXPECT_EQ(VideoSizeIndex, 20);
  TBitmap Frame;
  Frame.LoadFromFile(ResultsDir + "/VideoSource.bmp");
  ASSERT_EQ(Frame.GetWidth(), 1920);
  ASSERT_EQ(Frame.GetHeight(), 1080);
  // The crop is the picture's middle 225 rows: red from top to bottom.
  for (Integer Y : {0, 540, 1079}) EXPECT_EQ(PixelAt(&Frame, 960, Y), Rgb(255, 0, 0)) << Y;
  EXPECT_EQ(Form->Panel7->GetHeight(), Min(Form->Panel7->GetWidth() * 1080 / 1920, 68));
  EXPECT_EQ(Form->Image5->GetPicture()->GetWidth(), 400);
  EXPECT_EQ(Form->Image5->GetPicture()->GetHeight(), 225);
}

TEST_F(TVideoPageTest, SameAsSourceWithoutASourceIsRefused) {
  TDialogAnswers Answers;
  ChooseSize(0);
  EXPECT_EQ(Answers.Messages,
            std::vector<std::string>{"Warning: No source picture available.\r\nPlease select other size."});
  EXPECT_EQ(Form->VideoSizeBox->GetItemIndex(), 2);
  EXPECT_EQ(VideoSizeIndex, 2);
}

TEST_F(TVideoPageTest, DrawnPatternsAreRefusedWithAMessage) {
  LoadScript("P=10\nN=2\nA=0,1,1,1,1,1,1\nB=5,1,1,1,1,1,1\n");
  TDialogAnswers Answers;
  Form->CreateVideoBtn->Click();
  ASSERT_EQ(Answers.Messages.size(), 1u);
  EXPECT_NE(Answers.Messages[0].find("Free drawing"), std::string::npos) << Answers.Messages[0];
  EXPECT_FALSE(FileExists(TempMovieName));
}

// ---- Movies ---------------------------------------------------------------------------------

// Keeps a copy of every finished build.
struct TBuildFrames {
  std::vector<std::unique_ptr<TBitmap>> Frames;
  void Changed(TObject*) {
    Frames.push_back(std::make_unique<TBitmap>());
    CopyBitmap(ResultBitmap.get(), Frames.back().get());
  }
  void Attach() { ResultJpeg->OnChange = TNotifyEvent(this, &TBuildFrames::Changed); }
};

class TMovieTest : public TVideoPageTest {
 protected:
  void SetUp() override {
    TVideoPageTest::SetUp();
    auto Picture = Photo(200, 150);
    LoadSource(Picture.get());
    ChooseSize(1);  // 240 x 180
  }
  void TearDown() override {
    DeleteFile(TempMovieName);
    TVideoPageTest::TearDown();
  }
  // Makes the movie of the twirl script (frames 0..10) and gives the builds of its frames.
  std::vector<std::unique_ptr<TBitmap>> MakeTwirlMovie() {
    LoadScript("Pattern=3\nKey frames=2\nA=0,10,20,0,0,0,0\nB=10,20,20,0,0,0,0\n");
    TBuildFrames Built;
    Built.Attach();
    Form->CreateVideoBtn->Click();
    ResultJpeg->OnChange = TNotifyEvent();
    EXPECT_EQ(VideoMode, 0);
    EXPECT_EQ(PatternType, ptTwirls);
    EXPECT_EQ(Form->CreateVideoBtn->GetCaption(), "Create video");
    // The movie's frames are the last builds.
    EXPECT_GE(Built.Frames.size(), 11u);
    Built.Frames.erase(Built.Frames.begin(), Built.Frames.end() - Min<std::size_t>(11, Built.Frames.size()));
    return std::move(Built.Frames);
  }
  // The movie's frames as FFmpeg decodes them, blue, green, red, top row first.
  std::vector<std::string> DecodedFrames(Integer Width, Integer Height) {
    const std::string Raw = ResultsDir + "/frames.raw";
    EXPECT_TRUE(RunCommand("ffmpeg -loglevel error -y -i '" + TempMovieName +
                           "' -f rawvideo -pix_fmt bgr24 '" + Raw + "'"));
    const std::string Bytes = ReadFileBytes(Raw);
    DeleteFile(Raw);
    const std::size_t Size = static_cast<std::size_t>(Width) * Height * 3;
    std::vector<std::string> Frames;
    for (std::size_t At = 0; Size > 0 && At + Size <= Bytes.size(); At += Size)
      Frames.push_back(Bytes.substr(At, Size));
    return Frames;
  }
  // What ffprobe says of the movie's video stream.
  std::string Probe() {
    return CommandOutput(
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=codec_name,width,height,r_frame_rate,nb_read_frames -of default=nw=1 '" +
        TempMovieName + "'");
  }
};

std::string Rows(TBitmap* B) {
  std::string S;
  for (Integer Y = 0; Y < B->GetHeight(); ++Y)
    S.append(static_cast<const char*>(B->GetScanLine(Y)), 3 * static_cast<std::size_t>(B->GetWidth()));
  return S;
}

TEST_F(TMovieTest, AnUncompressedMovieHoldsExactlyTheScriptsFramesAsBuilt) {
  ChooseCodec("DIB ");
  const auto Built = MakeTwirlMovie();
  ASSERT_EQ(Built.size(), 11u);
  const Integer W = Built[0]->GetWidth(), H = Built[0]->GetHeight();
  const std::string Probed = Probe();
  EXPECT_NE(Probed.find("nb_read_frames=11\n"), std::string::npos) << Probed;
  EXPECT_NE(Probed.find("r_frame_rate=25/1\n"), std::string::npos) << Probed;
  EXPECT_NE(Probed.find("width=" + std::to_string(W) + "\n"), std::string::npos) << Probed;
  // The main header's microseconds per frame.
  const std::string File = ReadFileBytes(TempMovieName);
  ASSERT_GT(File.size(), 36u);
  ASSERT_EQ(File.substr(24, 4), "avih");
  const auto* P = reinterpret_cast<const unsigned char*>(File.data()) + 32;
  EXPECT_EQ(P[0] | P[1] << 8 | P[2] << 16 | P[3] << 24, 40000);

  const std::vector<std::string> Decoded = DecodedFrames(W, H);
  ASSERT_EQ(Decoded.size(), 11u);
  for (std::size_t F = 0; F < 11; ++F) EXPECT_TRUE(Decoded[F] == Rows(Built[F].get())) << "frame " << F;
  // Frame k has P1 = 10 + k: neighbouring frames differ.
  EXPECT_NE(Decoded[0], Decoded[10]);
  EXPECT_EQ(Form->AutomP[0]->GetCaption(), "20");
  EXPECT_EQ(Form->FrameNr->GetCaption(), "10");

  // The player has the movie and shows itself.
  EXPECT_EQ(Player->GetFrameTotal(), 11);
  EXPECT_TRUE(Player->GetVisible());

  // Saved under the extension rule: ".AVI" is not ".avi".
  {
    TDialogAnswers Answers;
    Answers.FileName = ResultsDir + "/saved.AVI";
    Click("Savevideo1");
  }
  EXPECT_EQ(ReadFileBytes(ResultsDir + "/saved.AVI.avi"), File);
  EXPECT_FALSE(FileExists(ResultsDir + "/saved.AVI"));
}

TEST_F(TMovieTest, AMotionJpegMovieIsCloseToTheFramesBuilt) {
  ChooseCodec("MJPG");
  const auto Built = MakeTwirlMovie();
  ASSERT_EQ(Built.size(), 11u);
  const Integer W = Built[0]->GetWidth(), H = Built[0]->GetHeight();
  const std::string Probed = Probe();
  EXPECT_NE(Probed.find("codec_name=mjpeg\n"), std::string::npos) << Probed;
  EXPECT_NE(Probed.find("nb_read_frames=11\n"), std::string::npos) << Probed;
  const std::vector<std::string> Decoded = DecodedFrames(W, H);
  ASSERT_EQ(Decoded.size(), 11u);
  for (std::size_t F = 0; F < 11; ++F) {
    const std::string Want = Rows(Built[F].get());
    ASSERT_EQ(Decoded[F].size(), Want.size());
    double Sum = 0;
    for (std::size_t I = 0; I < Want.size(); ++I)
      Sum += std::abs(static_cast<int>(static_cast<Byte>(Decoded[F][I])) - static_cast<Byte>(Want[I]));
    EXPECT_LT(Sum / static_cast<double>(Want.size()), 8.0) << "frame " << F;
  }
}

TEST_F(TMovieTest, ATrialRunShowsWireFramesOnly) {
  ChooseCodec("DIB ");
  Form->TrialRun->SetChecked(true);
  const auto Built = MakeTwirlMovie();
  ASSERT_EQ(Built.size(), 11u);
  const std::vector<std::string> Decoded = DecodedFrames(Built[0]->GetWidth(), Built[0]->GetHeight());
  ASSERT_EQ(Decoded.size(), 11u);
  for (const std::string& Frame : Decoded)
    for (char Byte : Frame) ASSERT_TRUE(Byte == 0 || Byte == static_cast<char>(255));
}

TEST_F(TMovieTest, ShowVideoPlayerOpensTheMovieAtItsStart) {
  ChooseCodec("DIB ");
  MakeTwirlMovie();
  Player->Hide();
  Click("Showvideoplayer1");
  EXPECT_TRUE(Player->GetVisible());
  EXPECT_EQ(Player->Source()->GetPosition(), 0);
  EXPECT_TRUE(PumpUntil([&] { return Player->LabelIndex->GetCaption() == "Frame: 0/11"; }));
}
}  // namespace
