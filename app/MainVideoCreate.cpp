// Making a movie: the script's pattern is chosen, the source frame loaded, and every frame of
// the script is built in video mode and appended to the movie file.
#include "app/Languages.h"
#include "app/Main.h"
#include "app/VideoPlayer.h"
#include "imaging/io/zezudidio.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {
constexpr Integer MovieFrameRate = 25;

std::string CodecRefusedText(const std::string& Codec) {
  return Format("The movie could not be made with the codec \"%s\".", {Codec});
}

bool DrawnByMouse(Integer Type) {
  return Type == ptKaleidoscope || Type == ptFreeDrawing;
}
}  // namespace

void TForm1::StartVideoCreation(TObject*) {
  // The drawn types build only from their own button: a script cannot make frames of them.
  if (VideoMode != 1 && DrawnByMouse(ScriptPattern)) {
    ShowWarning("A movie cannot be made of \"" + PatternBox->GetItems()->GetStrings(ScriptPattern) +
                "\": its pictures are drawn by hand. Please choose another pattern in the script.");
    return;
  }
  PatternType = static_cast<Byte>(ScriptPattern);
  PatternBox->SetItemIndex(PatternType);
  SelectType(PatternBox);
  // Pressed again while a movie is made (the button then reads "Cancel"): the frame loop ends
  // after the frame in progress.
  if (VideoMode != 1) {
    VideoMode = 1;
    const auto Done = ScopeExit([] { VideoMode = 0; });
    CreateVideo();
  }
  VideoMode = 0;
  PumpMessages();
}

void TForm1::AppendVideoFrame() {
  if (FRecordingFrames != 1 || ResultBitmap->GetWidth() < 1 || ResultBitmap->GetHeight() < 1) return;
  ImgVid->SetAttachedBitmap(ResultBitmap.get());
  ImgVid->SaveToAVI();
  // A frame the movie refused ends the recording; CreateVideo says so.
  if (ImgVid->GetAborting()) {
    FRecordingFrames = 0;
    VideoMode = 0;
  }
}

void TForm1::CreateVideo() {
  if (FrameTable.LastFrame == 0 || VideoScript.DatasetCount == 0) return;
  const Integer Codec = CodecBox->GetItemIndex();
  if (Codec < 0 || Codec >= static_cast<Integer>(FourCCList.size())) {
    ShowWarning("No video codec is available to make the movie.");
    return;
  }
  // The player lets the old movie go, so that its file can be replaced.
  if (Form4 != nullptr) Form4->ReleaseMovie();
  DeleteFile(TempMovieName);
  const Byte Created = ImgVid->CreateAVIFile(Utf8ToUtf16(TempMovieName), MovieFrameRate, FourCCList[Codec]);
  if (Created != 0) {
    ImgVid->CloseAVIFile();
    ShowWarning(CodecRefusedText(CodecBox->GetText()));
    return;
  }
  const auto Finish = ScopeExit([this] {
    FRecordingFrames = 0;
    ImgVid->CloseAVIFile();
    SetStatusText(VariableTexts[vtReady]);
    CreateVideoBtn->SetCaption(VariableTexts[vtCreateVideo]);
    ProgressBar1->SetValue(0);
  });

  PatternType = static_cast<Byte>(PatternBox->GetItemIndex());
  Automatic->SetChecked(true);
  SelectType(PatternBox);
  PrepareVideoFrameSize();
  CreateVideoBtn->SetCaption(VariableTexts[vtCancel]);
  SetStatusText(VariableTexts[vtCreatingVideo]);
  LoadPicture(this);
  SetStatusText(VariableTexts[vtCreatingVideo]);
  // Setting the option builds once with the parameters the pattern switch left. That build
  // is no frame of the script: it only gives the next builds the result size they measure
  // the pattern's centre by, so the movie holds exactly the script's frames.
  FrameOnly->SetChecked(TrialRun->GetChecked());

  ProgressBar1->SetMaxValue(FrameTable.LastFrame);
  FRecordingFrames = 1;
  for (Integer F = 0; F <= FrameTable.LastFrame && VideoMode == 1; ++F) {
    FrameNr->SetCaption(IntToStr(F));
    for (Integer M = 0; M < 6; ++M) {
      const Integer Value = FrameTable.Values[M][F];
      TrackBarP[M]->SetValue(Value);
      AutomP[M]->SetCaption(IntToStr(Value));
    }
    CreateMosaic(this);
    ProgressBar1->SetValue(F);
    PumpMessages();
  }
  FRecordingFrames = 0;
  const bool FrameRefused = ImgVid->GetAborting();
  ImgVid->CloseAVIFile();
  if (FrameRefused) {
    ShowWarning(CodecRefusedText(CodecBox->GetText()));
    return;
  }
  if (Form4 != nullptr) {
    Form4->LoadVideoFile(TempMovieName);
    if (CBOpenPlayer->GetChecked()) Form4->Show();
  }
}
