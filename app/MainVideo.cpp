// Video scripts: reading a script, the movie's size and codec, its source frame, saving the
// movie and showing it in the player.
#include <cstring>

#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "app/VideoPlayer.h"
#include "imaging/io/ieds.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/system/Files.h"
#include "platform/system/Math.h"
#include "platform/system/Streams.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

TVideoScript VideoScript;
Integer ScriptPattern = 0;
TFrameTable FrameTable;
Byte VideoSizeIndex = 2;
Integer VideoWidth = 0, VideoHeight = 0;
std::vector<std::string> FourCCList;

namespace {
// A script is a few lines; a larger file is read no further than this.
constexpr Int64 MaxScriptBytes = 1 << 20;
// The preview of the source frame is at most this high.
constexpr Integer MaxPreviewHeight = 68;

std::string ReadScriptText(const std::string& FileName) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyNone);
  const Int64 Size = Min(File.GetSize(), MaxScriptBytes);
  std::string Text(static_cast<std::size_t>(Size), '\0');
  if (Size > 0) File.ReadBuffer(Text.data(), static_cast<Integer>(Size));
  return Text;
}

void Warn(const std::string& Text) {
  MessageDlg(Text, mtWarning, TMsgDlgButtons{mbOK}, 0);
}
}  // namespace

void TForm1::ReloadScript(TObject* Sender) {
  // The frame loop reads the script's table: it stays as it is until the movie is made.
  if (VideoMode == 1) return;
  if (Sender == ReloadBtn) {
    if (VideoScript.DatasetCount < 1 || FScriptFileName.empty()) return;
  } else {
    OpenScriptDialog->SetInitialDir(ScriptsDir);
    if (!OpenScriptDialog->Execute()) return;
    FScriptFileName = OpenScriptDialog->GetFileName();
  }
  LoadScriptFile(FScriptFileName);
}

void TForm1::LoadScriptFile(const std::string& FileName) {
  const TVideoScript S = ReadScript(ReadScriptText(FileName));
  VideoScript = S;
  ScriptPattern = S.PatternType();
  // The list shows the script's pattern; the type in use changes when the movie is made.
  PatternBox->SetItemIndex(ScriptPattern);
  Label2->SetCaption(VariableTexts[vtTypePattern] + ": " + PatternBox->GetItems()->GetStrings(ScriptPattern));

  auto* Items = FXList->GetItems();
  Items->Clear();
  for (Integer R = 0; R < S.DatasetCount; ++R) {
    auto* Row = Items->Add();
    Row->SetCaption(IntToStr(S.ScriptData[0][R]));
    // From the first invalid key frame on, the rows show their frame numbers only.
    if (S.FirstInvalidRow >= 0 && R >= S.FirstInvalidRow) continue;
    for (Integer M = 1; M <= 6; ++M) Row->GetSubItems()->Add(IntToStr(S.ScriptData[M][R]));
  }

  if (S.DataInvalid()) Warn("Warning: script data not valid. Please check data.");
  if (S.DatasetCount > 0 && S.ScriptData[0][0] != 0)
    Warn("Warning: FX data not valid. The first dataset must start with Frame 0.");
  FrameTable = InterpolateFrames(S);
}

void TForm1::PrepareVideoFrameSize() {
  const Integer E = VideoSizeBox->GetItemIndex();
  if (E >= 1) {
    const TVideoSize Size = VideoSizeEntry(E - 1);
    VideoWidth = Size.Width;
    VideoHeight = Size.Height;
  } else {
    TBitmap* Own = SourceLoaded == 1 ? SourceBitmap.get() : ResultBitmap.get();
    VideoWidth = Own->GetWidth();
    VideoHeight = Own->GetHeight();
  }
  // Without any picture the movie takes the size offered first.
  if (VideoWidth < 1 || VideoHeight < 1) {
    const TVideoSize Size = VideoSizeEntry(1);
    VideoWidth = Size.Width;
    VideoHeight = Size.Height;
  }
  if (SourceLoaded == 1) return;
  // A blank background for the movie.
  TBitmap Blank;
  Blank.SetPixelFormat(pf24bit);
  Blank.SetSize(VideoWidth, VideoHeight);
  Blank.GetCanvas()->GetBrush()->SetColor(clWhite);
  Blank.GetCanvas()->FillRect(TRect{0, 0, VideoWidth, VideoHeight});
  Blank.SaveToFile(ResultsDir + "/VideoSource.bmp");
}

void TForm1::MakeVideoSourceFrame(TBitmap* Picture) {
  if (SourceLoaded != 1) return;
  TBitmap Loaded;
  if (Picture == nullptr) {
    LoadPictureFile(SourceFileName, &Loaded);
    Picture = &Loaded;
  }
  if (Picture->GetWidth() < 1 || Picture->GetHeight() < 1) return;
  const Integer E = VideoSizeBox->GetItemIndex();
  if (E >= 1) {
    const TVideoSize Size = VideoSizeEntry(E - 1);
    VideoWidth = Size.Width;
    VideoHeight = Size.Height;
  } else {
    VideoWidth = Picture->GetWidth();
    VideoHeight = Picture->GetHeight();
  }
  TBitmap Crop;
  CropToAspect(Picture, &Crop);
  Panel7->SetHeight(
      Min(static_cast<Integer>(Trunc(static_cast<Extended>(Panel7->GetWidth()) * VideoHeight / VideoWidth)),
          MaxPreviewHeight));
  Image5->GetPicture()->Assign(&Crop);
  TBitmap Frame;
  Frame.SetPixelFormat(pf24bit);
  Frame.SetSize(VideoWidth, VideoHeight);
  Frame.GetCanvas()->StretchDraw(TRect{0, 0, VideoWidth, VideoHeight}, &Crop);
  Frame.SaveToFile(ResultsDir + "/VideoSource.bmp");
}

void TForm1::CropToAspect(TBitmap* Source, TBitmap* Target) {
  const TCropArea A = VideoCropArea(Source->GetWidth(), Source->GetHeight(), VideoWidth, VideoHeight);
  Target->SetPixelFormat(pf24bit);
  Target->SetSize(A.Width, A.Height);
  if (A.Width < 1 || A.Height < 1) return;
  TBitmap Copy;
  CopyBitmap(Source, &Copy);
  const TBitmapRows From(&Copy), To(Target);
  for (Integer Y = 0; Y < A.Height; ++Y)
    std::memcpy(To[Y], From[A.Top + Y] + 3 * A.Left, 3 * static_cast<std::size_t>(A.Width));
}

void TForm1::ChangeVideoSize(TObject* Sender) {
  CodecIndex = static_cast<Byte>(Max(CodecBox->GetItemIndex(), 0));
  WriteSetting(this, "Settings", "Codec", IntToStr(Max(CodecBox->GetItemIndex(), 0)), true);
  // The movie being made keeps its size to the end.
  if (VideoMode == 1) {
    VideoSizeBox->SetItemIndex(VideoSizeIndex);
    return;
  }
  const Integer E = VideoSizeBox->GetItemIndex();
  if (SourceLoaded == 1 || E != 0) {
    VideoSizeIndex = static_cast<Byte>(Max(E, 0));
    if (SourceLoaded == 1) MakeVideoSourceFrame();
    ChangeControl(Sender);
  } else {
    Warn(VariableTexts[vtNoSourcePicture] + "\r\n" + VariableTexts[vtSelectOtherSize]);
    VideoSizeBox->SetItemIndex(VideoSizeIndex);
  }
}

void TForm1::SaveVideoFile(TObject*) {
  SaveVideoDialog->SetInitialDir(ResultsDir);
  if (!SaveVideoDialog->Execute()) return;
  const std::string Name = MovieSaveName(SaveVideoDialog->GetFileName());
  if (!FileExists(TempMovieName)) {
    ShowWarning("There is no movie to save yet.");
    return;
  }
  // The copy replaces an existing file only once it is complete.
  TFileStream From(TempMovieName, fmOpenRead | fmShareDenyNone);
  TReplacingFileStream To(Name);
  To.CopyFrom(&From, 0);
  To.Commit();
}

void TForm1::LoadMovie(TObject*) {
  if (Form4 == nullptr || !FileExists(TempMovieName)) return;
  Form4->Show();
  Form4->LoadVideoFile(TempMovieName);
  Form4->Source()->SetPosition(0);
}
